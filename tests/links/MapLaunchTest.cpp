// Tests of the command-line map programs and the web map: their presence, argument lists and URL.
#include "links/MapLaunch.h"

#include "core/ShellSub.h"
#include "links/LinkFixtures.h"
#include "links/WebLinks.h"
#include "support/RecordingOpener.h"

#include <QTest>

namespace {

TMapSearchParams Params(int kind, quint32 latitude, quint32 longitude, const QString& address)
{
    TMapSearchParams p;
    p.SearchKind = kind;
    p.Latitude = latitude;
    p.Longitude = longitude;
    p.Address = address;
    return p;
}

QByteArray Value(const char* key, const char* name, const QString& value)
{
    return QByteArray("[") + key + "]\n" + name + "=" + value.toUtf8() + "\n";
}

const char* const EmapZKey = "HKEY_CURRENT_USER\\Software\\ZENRIN\\EmapZ\\InstallInfo";
const char* const ItsmoKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\ZENRIN\\ZmapNet\\PC";
const char* const GrandMapKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\MapNet\\GrandMap";

TEST(MapLaunch, EmapZKindSwitchesAndUnits)
{
    RegistryFile registry(Value(EmapZKey, "Directory", QStringLiteral(" \"/opt/emapz/emapz.exe\" ")));
    const QString address = QStringLiteral("東京都 千代田区");
    struct Case
    {
        TMapSearchParams params;
        QStringList arguments;
    };
    const Case cases[] = {
        // Longitude first, in tenths of a second; the kind as given.
        {Params(0, 126000123, 500400999, address),
         {"5004009", "1260001", "0", "0", "0", "0", "2", "0", address}},
        // No longitude: the address is searched.
        {Params(0, 126000123, 0, address), {"0", "1260001", "0", "0", "0", "0", "2", "1", address}},
        // No address: the coordinates are searched.
        {Params(1, 126000123, 500400999, QString()),
         {"5004009", "1260001", "0", "0", "0", "0", "2", "0", ""}},
    };
    for (const Case& c : cases) {
        const auto command = EmapZCommand(c.params);
        ASSERT_TRUE(command);
        EXPECT_EQ(command->program, QStringLiteral("/opt/emapz/emapz.exe"));
        EXPECT_EQ(command->arguments, c.arguments);
    }
    RegistryFile empty(Value(EmapZKey, "Directory", QStringLiteral("  ")));
    EXPECT_FALSE(LaunchEmapZ(Params(0, 1, 1, address)));
}

TEST(MapLaunch, ItsmoNaviSecondsAndTheEmptyAddressToken)
{
    Standin programs;
    const QString program = programs.install(QStringLiteral("ZmapNet/bin/its-moNavi.exe"));
    RegistryFile registry(Value(ItsmoKey, "InstallPath", programs.folder() + QStringLiteral("ZmapNet")));

    const auto byCoordinates = ItsmoNaviCommand(Params(0, 123456789, 500400000, QStringLiteral("東京都")));
    ASSERT_TRUE(byCoordinates);
    EXPECT_EQ(byCoordinates->program, program);
    EXPECT_EQ(byCoordinates->arguments,
              QStringList({"1", "tokyo", "second", "500400.00/123456.79", "g", "1", "0"}));

    // Kind 1 without address or coordinates: the address form with an empty address, handed over as it is.
    const auto empty = ItsmoNaviCommand(Params(1, 0, 0, QString()));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->arguments, QStringList({"3", "", "g", "1", "0"}));
    ASSERT_EQ(RunProgram(empty->program, empty->arguments, QString(), false), 0);
    const QList<StandinStart> starts = programs.starts();
    ASSERT_EQ(starts.size(), 1);
    EXPECT_EQ(starts[0].arguments, QStringList({"3", "", "g", "1", "0"}));

    EXPECT_FALSE(ItsmoNaviCommand(Params(2, 0, 0, QString())));
    QFile::remove(program);
    EXPECT_FALSE(LaunchItsmoNavi(Params(0, 1, 1, QString())));
}

TEST(MapLaunch, GrandMapKindsAndItsPath)
{
    const QString address = QStringLiteral("東京都新宿区");
    {
        RegistryFile registry(Value(GrandMapKey, "Install Directory", QStringLiteral("/opt/grandmap")));
        const auto byAddress = GrandMapCommand(Params(0, 126000000, 0, address));
        ASSERT_TRUE(byAddress);
        EXPECT_EQ(byAddress->program, QStringLiteral("/opt/grandmap/GrandMap.exe"));
        EXPECT_EQ(byAddress->folder, QStringLiteral("/opt/grandmap/"));
        EXPECT_EQ(byAddress->arguments, QStringList({"/A", address, "2500"}));
        const auto byCoordinates = GrandMapCommand(Params(1, 126000000, 500400000, QString()));
        ASSERT_TRUE(byCoordinates);
        EXPECT_EQ(byCoordinates->arguments, QStringList({"/M", "35.000000", "139.000000", "2500"}));
    }
    {
        // An empty value names the program in the root folder; its existence is not looked for.
        RegistryFile registry(Value(GrandMapKey, "Install Directory", QString()));
        const auto command = GrandMapCommand(Params(0, 0, 0, QString()));
        ASSERT_TRUE(command);
        EXPECT_EQ(command->program, QStringLiteral("/GrandMap.exe"));
        EXPECT_EQ(command->arguments, QStringList({"/M", "0.000000", "0.000000", "2500"}));
    }
    RegistryFile none("");
    EXPECT_FALSE(LaunchGrandMap(Params(0, 1, 1, address)));
}

TEST(MapLaunch, GrandMapStartsInItsFolderWithoutMovingOurs)
{
    Standin programs;
    programs.install(QStringLiteral("Grand Map/GrandMap.exe"));
    RegistryFile registry(
        Value(GrandMapKey, "Install Directory", programs.folder() + QStringLiteral("Grand Map")));
    const QString ours = QDir::currentPath();
    ASSERT_TRUE(LaunchGrandMap(Params(1, 0, 0, QStringLiteral("東京都 新宿区"))));
    EXPECT_EQ(QDir::currentPath(), ours);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !programs.starts().isEmpty(); }, 10000));
    const StandinStart start = programs.starts().first();
    EXPECT_EQ(QDir(start.folder).canonicalPath(), QDir(programs.folder() + "Grand Map").canonicalPath());
    EXPECT_EQ(start.arguments, QStringList({"/A", QStringLiteral("東京都 新宿区"), "2500"}));
}

TEST(MapLaunch, WebMapUrl)
{
    const auto tokyo = GoogleMapsUrl(Params(0, 126000000, 500400000, QStringLiteral("abc")));
    ASSERT_TRUE(tokyo);
    EXPECT_EQ(*tokyo, WebLinks::MapEndpoint + QStringLiteral("/maps?q=35.003286,138.996886"));
    EXPECT_EQ(*GoogleMapsUrl(Params(0, 126000000, 0, QStringLiteral("abc"))),
              WebLinks::MapEndpoint + QStringLiteral("/maps?q=%61%62%63"));
    EXPECT_FALSE(GoogleMapsUrl(Params(2, 0, 0, QString())));

    QList<TShellOpenRequest> opened;
    auto previous = SetShellOpener(std::make_unique<RecordingOpener>(&opened));
    EXPECT_TRUE(OpenGoogleMaps(Params(1, 0, 0, QStringLiteral("東"))));
    EXPECT_FALSE(OpenGoogleMaps(Params(-1, 0, 0, QString())));
    SetShellOpener(std::move(previous));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].file, WebLinks::MapEndpoint + QStringLiteral("/maps?q=%E6%9D%B1"));
    EXPECT_TRUE(opened[0].noWait);
}

TEST(MapLaunch, DatumAndUtf8Encoding)
{
    long double latitude = 35, longitude = 139;
    TokyoToWgs84(latitude, longitude);
    EXPECT_NEAR(double(latitude), 35.003285946, 1e-9);
    EXPECT_NEAR(double(longitude), 138.996885693, 1e-9);
    EXPECT_EQ(EncodeUrlUtf8(QStringLiteral("abc")), QStringLiteral("%61%62%63"));
    EXPECT_EQ(EncodeUrlUtf8(QStringLiteral("a b~")), QStringLiteral("%61%20%62%7E"));
    EXPECT_EQ(EncodeUrlUtf8(QString()), QString());
}

} // namespace
