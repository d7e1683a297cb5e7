// Tests of the mesh-based map program's adaptor with its stand-in libraries.
#include "links/AtlasMateView.h"

#include "links/LinkFixtures.h"
#include "platform/LibraryLoader.h"
#include "support/MessageRecorder.h"

#include <QTemporaryDir>
#include <QWidget>

#include <cstring>

namespace {

const QString Programs = QStringLiteral(TOVAREL_PROGRAM_DIR);

// The map window's move for the fixture's life.
class AtlasMove
{
public:
    explicit AtlasMove(const QByteArray& value) { qputenv(AtlasWindowMoveVariable, value); }
    ~AtlasMove() { qunsetenv(AtlasWindowMoveVariable); }
};

struct LoaderFailures
{
    ~LoaderFailures() { LibraryLoader::ClearFailures(); }
};

std::pair<quint32, quint32> runMap(TAtlasMateView& view, quint32 latitude, quint32 longitude,
                                   const QString& tel = QString(), int kind = 0)
{
    TMapSearchParams p;
    p.SearchKind = kind;
    p.Latitude = latitude;
    p.Longitude = longitude;
    p.Tel = tel;
    view.SetProgramFolder(Programs);
    view.SetSearchParams(p);
    view.RunMap();
    return *view.Position();
}

TEST(AtlasMateView, MapRoundTripsPositionsAcrossJapan)
{
    MessageRecorder messages;
    // Sapporo, Tokyo (35°40'12.345"), Naha, the corners of the grid.
    const std::pair<quint32, quint32> places[] = {
        {155185000, 508068000}, {128412345, 503315678}, {94392000, 459666000},
        {72000000, 439200000},  {167999999, 553999999},
    };
    for (const auto& [lat, lon] : places) {
        TAtlasMateView view;
        EXPECT_EQ(runMap(view, lat, lon), std::make_pair(lat, lon)) << lat << "," << lon;
    }
    // The map moved by the user hands back where it ended.
    AtlasMove move("-60000,1500");
    TAtlasMateView view;
    EXPECT_EQ(runMap(view, 128412345, 503315678), std::make_pair(128352345u, 503317178u));
    EXPECT_EQ(messages.count(), 0);

    const TDmsWords words = MillisecondsToDms(128412345);
    EXPECT_EQ(std::vector<int>({words.degrees, words.minutes, words.seconds, words.milliseconds}),
              std::vector<int>({35, 40, 12, 345}));
}

TEST(AtlasMateView, PositionBackStaysTheGivenOneWithoutAMapPosition)
{
    MessageRecorder messages;
    {
        // Outside Japan there is no mesh: no map, no message.
        TAtlasMateView view;
        EXPECT_EQ(runMap(view, 36000000, 36000000), std::make_pair(36000000u, 36000000u));
    }
    {
        // A map closed where the longitude degrees come back 0.
        AtlasMove move("0,-400000000");
        TAtlasMateView view;
        EXPECT_EQ(runMap(view, 128412345, 503315678), std::make_pair(128412345u, 503315678u));
    }
    EXPECT_EQ(messages.count(), 0);
    messages.allowUnexpected();
    {
        AtlasMove move("FAIL");
        TAtlasMateView view;
        EXPECT_EQ(runMap(view, 128412345, 503315678), std::make_pair(128412345u, 503315678u));
        ASSERT_EQ(messages.count(), 1);
        EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("AtlasMateがインストールされていないか")));
    }
}

TEST(AtlasMateView, TelephoneResultsAndTheirMessages)
{
    struct Case
    {
        const char* tel;
        const char* message;
        bool mapShown;
    };
    const Case cases[] = {
        {"0312345678", "電話番号で該当する座標が求められませんでした\r\n付近の地図を表示します", true},
        {"03123", "電話番号に誤りがあります", false},
        {"0120123456", "該当するデータが見つかりません", false},
    };
    for (const Case& c : cases) {
        MessageRecorder messages;
        messages.allowUnexpected();
        // A map that ends moved shows that it was opened.
        AtlasMove move("1000,1000");
        TAtlasMateView view;
        const auto back = runMap(view, 0, 0, QString::fromLatin1(c.tel), 1);
        ASSERT_EQ(messages.count(), 1) << c.tel;
        EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(back.first != 0, c.mapShown) << c.tel;
        if (c.mapShown) {
            // Tokyo's exchange area lies in Tokyo.
            EXPECT_NEAR(back.first / 3600000.0, 35.69, 0.2);
            EXPECT_NEAR(back.second / 3600000.0, 139.75, 0.2);
        }
    }
}

TEST(AtlasMateView, LibraryFailuresStopTheRun)
{
    LoaderFailures restore;
    {
        // A missing file says nothing.
        MessageRecorder messages;
        QTemporaryDir empty;
        TAtlasMateView view;
        view.SetProgramFolder(empty.path() + u'/');
        TMapSearchParams p;
        p.Latitude = 128412345;
        p.Longitude = 503315678;
        view.SetSearchParams(p);
        view.RunMap();
        EXPECT_EQ(messages.count(), 0);
    }
    struct Case
    {
        const char* file;
        const char* symbol;
        const char* message;
    };
    const Case cases[] = {
        {"DTMap32.dll", "", "DTMap32.dll LoadLibrary Error\r\nDLLのロードに失敗しました"},
        {"Atm95.dll", "AtlasBearingsToMesh",
         "AtlasBearingsToMesh (Atm95.dll) GetProcAddress Error\r\n関数の割り当てに失敗しました"},
    };
    for (const Case& c : cases) {
        LibraryLoader::ClearFailures();
        if (*c.symbol)
            LibraryLoader::SetFailingSymbol(QString::fromLatin1(c.file), QString::fromLatin1(c.symbol));
        else
            LibraryLoader::SetFailingLoad(QString::fromLatin1(c.file));
        MessageRecorder messages;
        messages.allowUnexpected();
        AtlasMove move("1000,1000");
        TAtlasMateView view;
        EXPECT_EQ(runMap(view, 128412345, 503315678), std::make_pair(128412345u, 503315678u));
        ASSERT_EQ(messages.count(), 1) << c.file;
        EXPECT_EQ(messages.last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconStop));
    }
}

TEST(AtlasMateView, SaveMarkAppendsRecords)
{
    LoaderFailures restore;
    MessageRecorder messages;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Mark01.mri"));
    TAtlasMateView view;
    view.SetProgramFolder(Programs);
    const AnsiString name = Cp932::fromUnicode(QStringLiteral("山田太郎"));
    EXPECT_TRUE(view.SaveMark(file, 128412345, 503315678, name));
    EXPECT_TRUE(view.SaveMark(file, 155185000, 508068000, "B"));
    // No position, or no mesh: nothing written.
    EXPECT_FALSE(view.SaveMark(file, 0, 503315678, "C"));
    EXPECT_FALSE(view.SaveMark(file, 36000000, 36000000, "D"));

    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size(), 2 * 532);
    TAtlasMarkRec first;
    std::memcpy(&first, bytes.constData(), sizeof first);
    EXPECT_EQ(first.head1, 1);
    EXPECT_EQ(first.tail2, 1);
    EXPECT_EQ(QByteArray(first.name), name);
    EXPECT_EQ(first.pos.mesh, 5339); // the grid square of central Tokyo
    EXPECT_EQ(messages.count(), 0);

    // Latitude 0 never touches a library: a failing load would show a message.
    LibraryLoader::SetFailingLoad(QStringLiteral("Atm95.dll"));
    LibraryLoader::SetFailingLoad(QStringLiteral("MarkDll.dll"));
    TAtlasMateView untouched;
    untouched.SetProgramFolder(Programs);
    EXPECT_FALSE(untouched.SaveMark(file, 0, 503315678, "E"));
    EXPECT_EQ(messages.count(), 0);
}

TEST(AtlasMateView, MarkNamesFitTheRecord)
{
    const TAtlasMeshPos mesh{5339, 1, 2, 3, 4};
    const TAtlasMarkRec exact = TAtlasMateView::MarkRecord(mesh, AnsiString(511, 'x'));
    const auto* bytes = reinterpret_cast<const unsigned char*>(&exact);
    EXPECT_EQ(bytes[526], 'x');
    EXPECT_EQ(bytes[527], 0);
    EXPECT_EQ(std::memcmp(bytes + 4, &mesh, 12), 0);
    // Longer names are cut at a character boundary: 300 double-byte characters keep 255.
    const AnsiString wide = Cp932::fromUnicode(QString(300, QChar(0x3042)));
    const TAtlasMarkRec cut = TAtlasMateView::MarkRecord(mesh, wide);
    EXPECT_EQ(QByteArray(cut.name), wide.left(510));
    EXPECT_EQ(cut.tail1, 0);
    EXPECT_EQ(cut.tail2, 1);
}

TEST(AtlasMateView, AddressBufferFields)
{
    char buffer[AtlasAddressBufferSize] = {};
    std::memcpy(buffer, "14DB0307xx0029999900449999", 26);
    const TAtlasMeshPos m = TAtlasMateView::MeshFromAddressBuffer(buffer);
    EXPECT_EQ(m.mesh, 0x14DB);
    EXPECT_EQ(m.sub1, 3);
    EXPECT_EQ(m.sub2, 7);
    EXPECT_EQ(m.value1, 299999);
    EXPECT_EQ(m.value2, 449999);
}

} // namespace
