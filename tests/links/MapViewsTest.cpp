// Tests of the embedded map windows over the offline map: positioning, copy, print, pictures.
#include "links/MapViews.h"

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
