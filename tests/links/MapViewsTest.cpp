// Tests of the embedded map windows over the offline map: positioning, copy, print, pictures.
#include "links/MapViews.h"

#include "links/MapPlaces.h"

#include "core/MainSettings.h"
#include "platform/Printers.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// Tokyo station on the Tokyo datum.
const TMapPoint Tokyo{128452000 - 11650, 503437000 + 11650};

TMapSearchParams request(int kind, TMapPoint p, const char* address)
{
    TMapSearchParams params;
    params.SearchKind = kind;
    params.Latitude = p.lat;
    params.Longitude = p.lon;
    params.Address = QString::fromUtf8(address);
    return params;
}

// Saves a picture of widget where TOVAREL_SHOT_DIR names a folder (for looking at it).
void shot(QWidget& widget, const char* name)
{
    const QByteArray dir = qgetenv("TOVAREL_SHOT_DIR");
    if (!dir.isEmpty())
        widget.grab().save(QString::fromLocal8Bit(dir) + u'/' + QLatin1String(name));
}

class MapViewsTest : public ::testing::Test
{
protected:
    void SetUp() override { ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR); }
};

TEST_F(MapViewsTest, ProAtlasOpensOnTheSmallestAreaHoldingTheRecord)
{
    ASSERT_FALSE(LandRings().isEmpty());
    TProAtlasView view;
    view.resize(720, 560);
    view.SetSearchParams(request(0, Tokyo, ""));
    view.PositionMap();
    // Tokyo lies in both 関東 and 中部; 関東 shows it at the smaller scale.
    EXPECT_EQ(view.AreaBox()->currentText(), QStringLiteral("関東"));
    EXPECT_EQ(view.Current(), Tokyo);
    const QPoint marker = view.Map()->PositionToPixel(Tokyo);
    EXPECT_EQ(marker, view.Map()->rect().center() + QPoint(1, 1)) << marker.x() << "," << marker.y();
    EXPECT_EQ(*static_cast<TMapAdaptor&>(view).Position(), std::make_pair(Tokyo.lat, Tokyo.lon));
    view.show();
    shot(view, "proatlas-tokyo.png");

    // Nothing to find: the first area at its own centre.
    TProAtlasView none;
    none.SetSearchParams(request(1, {}, ""));
    none.PositionMap();
    EXPECT_EQ(none.AreaBox()->currentIndex(), 0);
    EXPECT_EQ(none.Current(), none.Map()->Centre());
}

TEST_F(MapViewsTest, PlaceNamesFollowTheLayerWithoutOverlapping)
{
    TMapControl map;
    map.resize(640, 480);
    map.CentreOn(Tokyo);
    const auto texts = [&] {
        QStringList out;
        for (const TMapLabel& l : map.PlaceLabels())
            out << l.Text;
        return out;
    };
    const auto apart = [&] {
        const QList<TMapLabel> labels = map.PlaceLabels();
        for (qsizetype i = 0; i < labels.size(); ++i) {
            EXPECT_TRUE(map.rect().adjusted(0, 0, 0, -36).contains(labels[i].Box)) << labels[i].Text.toStdString();
            for (qsizetype j = 0; j < i; ++j)
                EXPECT_FALSE(labels[i].Box.intersects(labels[j].Box))
                    << labels[i].Text.toStdString() << " / " << labels[j].Text.toStdString();
        }
    };

    // Wide: prefectures only, Tokyo's among them.
    map.SetLayer(1600000);
    EXPECT_TRUE(texts().contains(QStringLiteral("東京都")));
    EXPECT_TRUE(texts().contains(QStringLiteral("神奈川県")));
    EXPECT_FALSE(texts().contains(QStringLiteral("千代田区")));
    apart();

    // Detailed: municipalities, the wards around the centre among them, thinned where they would overlap.
    map.SetLayer(100000);
    const QStringList detailed = texts();
    EXPECT_FALSE(detailed.contains(QStringLiteral("東京都")));
    const QStringList wards = {"千代田区", "中央区", "港区", "新宿区", "文京区", "台東区", "墨田区", "江東区",
                               "品川区", "目黒区", "大田区", "世田谷区", "渋谷区", "中野区", "杉並区", "豊島区",
                               "北区", "荒川区", "板橋区", "練馬区", "足立区", "葛飾区", "江戸川区"};
    EXPECT_TRUE(std::any_of(wards.cbegin(), wards.cend(), [&](const QString& w) { return detailed.contains(w); }))
        << detailed.join(u' ').toStdString();
    shot(map, "map-names-100000.png");
    apart();

    // Between them both kinds, crowded: thinned so that no name covers another.
    map.SetLayer(400000);
    const QStringList middle = texts();
    EXPECT_TRUE(middle.contains(QStringLiteral("東京都")));
    qsizetype inView = 0;
    for (const TMapPlace& place : MapPlaces())
        inView += map.rect().contains(map.PositionToPixel(place.Position));
    EXPECT_GT(middle.size(), 10);
    EXPECT_LT(middle.size(), inView);
    apart();
    shot(map, "map-names-400000.png");

    // A label sits at its place's pixel.
    for (const TMapPlace& place : MapPlaces())
        if (place.Name == middle.value(0))
            EXPECT_EQ(map.PlaceLabels().constFirst().Anchor, map.PositionToPixel(place.Position));
}

TEST(MapPlacesTest, BrokenFilesGiveNoPlaces)
{
    const QByteArray good = "TOVAREL PLACES 1\nP\t東京都\t128441628\t503428248\nC\t港区\t1\t2\n";
    const QList<TMapPlace> places = ReadMapPlaces(good);
    ASSERT_EQ(places.size(), 2);
    EXPECT_EQ(places[0].PlaceKind, TMapPlace::Prefecture);
    EXPECT_EQ(places[0].Name, QStringLiteral("東京都"));
    EXPECT_EQ(places[0].Position, (TMapPoint{128441628, 503428248}));
    EXPECT_EQ(places[1].PlaceKind, TMapPlace::Municipality);
    for (const char* bad : {"", "TOVAREL PLACES 2\n", "TOVAREL PLACES 1\nX\ta\t1\t2\n",
                            "TOVAREL PLACES 1\nC\t\t1\t2\n", "TOVAREL PLACES 1\nC\ta\t1\n",
                            "TOVAREL PLACES 1\nC\ta\t-1\t2\n", "TOVAREL PLACES 1\nC\ta\t1\t700000000\n",
                            "TOVAREL PLACES 1\nC\ta\t1\t2\n\n"})
        EXPECT_TRUE(ReadMapPlaces(bad).isEmpty()) << bad;
}

TEST_F(MapViewsTest, CopyTakesTheRangeWhicheverWayItWasDragged)
{
    TProAtlasView view;
    view.resize(720, 560);
    view.SetSearchParams(request(0, Tokyo, ""));
    view.PositionMap();
    view.show();
    TMapControl* map = view.Map();
    const auto drag = [&](QPoint from, QPoint to) {
        view.ClipButton()->setChecked(true);
        emit map->mousePressedAt(from, Qt::LeftButton);
        emit map->mouseMovedTo(to);
        emit map->mouseReleasedAt(to);
    };
    drag({300, 200}, {100, 80});
    ASSERT_TRUE(view.RangeShown());
    EXPECT_FALSE(view.ClipButton()->isChecked());
    EXPECT_EQ(view.CopyRegion(), QRect(100, 80, 200, 120));
    view.actCopyExecute();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(200, 120));
    const QString text = data->text();
    EXPECT_EQ(text, MapCornerText(map->PixelToPosition({100, 80}), map->PixelToPosition({299, 199})));
    EXPECT_TRUE(text.startsWith(QStringLiteral("左上 北緯 : 37度"))) << text.toStdString();
    shot(view, "proatlas-range.png");

    drag({100, 80}, {300, 200});
    EXPECT_EQ(view.CopyRegion(), QRect(100, 80, 200, 120));
    // A click without the range button removes the range.
    emit map->mousePressedAt({5, 5}, Qt::LeftButton);
    EXPECT_FALSE(view.RangeShown());
    EXPECT_EQ(view.CopyRegion(), map->rect());
}

TEST_F(MapViewsTest, MapFanScaleFollowsWhatThePlaceOffers)
{
    TMapFanView land;
    land.resize(720, 560);
    land.SetSearchParams(request(0, Tokyo, ""));
    land.PositionMap();
    EXPECT_EQ(land.ScaleIndex(), 11);
    land.show();
    shot(land, "mapfan-tokyo.png");
    // Handed back through the control's unit of 1/256 second.
    EXPECT_EQ(*static_cast<TMapAdaptor&>(land).Position(),
              std::make_pair(From256thsToMilliseconds(MillisecondsTo256ths(Tokyo.lat)),
                             From256thsToMilliseconds(MillisecondsTo256ths(Tokyo.lon))));

    // At sea only the first eight scales: the most detailed of them.
    TMapFanView sea;
    sea.SetSearchParams(request(0, {118800000, 511200000}, ""));
    sea.PositionMap();
    EXPECT_EQ(sea.ScaleIndex(), 7);
    // Kind 0 without coordinates and an address that is not found: the map stays where it was.
    TMapFanView stays;
    const TMapPoint before = stays.Map()->Centre();
    stays.SetSearchParams(request(0, {}, "どこにもない場所"));
    stays.PositionMap();
    EXPECT_EQ(stays.Map()->Centre(), before);
}

TEST_F(MapViewsTest, PrintGoesThroughTheChosenPrinter)
{
    QTemporaryDir out;
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TPdfPrinter>(QStringLiteral("PDF"), out.path(), true, 300));
    TPrinterList::Instance().SetPrinters(std::move(printers), 0);
    TProAtlasView view;
    view.resize(720, 560);
    view.SetSearchParams(request(0, Tokyo, ""));
    view.PositionMap();
    view.show();
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    ModalDriver driver;
    driver.on("PrinterSetupDialog", [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    view.sbtnPrintClick();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("印刷しました"));
    const QStringList pdfs = QDir(out.path()).entryList({"*.pdf"});
    ASSERT_EQ(pdfs.size(), 1);
    const QByteArray dir = qgetenv("TOVAREL_SHOT_DIR");
    if (!dir.isEmpty())
        QFile::copy(out.filePath(pdfs[0]), QString::fromLocal8Bit(dir) + QStringLiteral("/proatlas-print.pdf"));

    TPrinterList::Instance().SetPrinters({}, -1);
    MessageRecorder none;
    none.answer(MsgSeam::IdOk);
    view.sbtnPrintClick();
    EXPECT_EQ(none.last().text, QStringLiteral("プリンターがインストールされていません"));
}

} // namespace
