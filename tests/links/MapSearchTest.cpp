// Tests of the map request's search decision, coordinate units, presence checks and dispatch.
#include "links/MapSearch.h"

#include "core/ShellSub.h"
#include "links/LinkFixtures.h"
#include "support/MessageRecorder.h"
#include "support/RecordingOpener.h"

#include <QWidget>

namespace {

TEST(MapSearchDecision, FollowsTheTable)
{
    struct Case
    {
        int kind;
        bool coordinates, key;
        int decision, used;
    };
    const Case cases[] = {
        {0, true, true, 0, 0}, {0, true, false, 0, 0}, {0, false, true, 1, 1}, {0, false, false, 2, 0},
        {1, true, true, 1, 1}, {1, false, true, 1, 1}, {1, true, false, 0, 0}, {1, false, false, 3, 1},
    };
    for (const Case& c : cases) {
        const TMapSearchDecision d = DecideMapSearch(c.kind, c.coordinates, c.key);
        EXPECT_EQ(d.decision, c.decision) << c.kind << c.coordinates << c.key;
        EXPECT_EQ(d.kind, c.used) << c.kind << c.coordinates << c.key;
    }
}

TEST(MapSearchDecision, AdaptorsWithoutAddressAtOldVersions)
{
    struct Case
    {
        TMapSoft soft;
        int version, kind;
        quint32 latitude, longitude;
        const char* address;
        int decision, used;
        bool addressKept;
    };
    const Case cases[] = {
        // Program 2 version 1 takes no address: kind 1 falls back to the coordinates, or to 4 without them.
        {msProAtlasW, 1, 1, 126000000, 500400000, "東京都", 0, 0, false},
        {msProAtlasW, 1, 1, 0, 0, "東京都", 4, 1, false},
        {msProAtlasW, 2, 1, 0, 0, "東京都", 1, 1, true},
        // Program 8 below version 4 clears the address too, but only version 1 answers 4.
        {msMapple, 3, 1, 0, 0, "東京都", 3, 1, false},
        {msMapple, 1, 1, 0, 0, "東京都", 4, 1, false},
        {msMapple, 4, 1, 0, 0, "東京都", 1, 1, true},
        // Kind 0 keeps the address; one coordinate alone is none.
        {msMapple, 1, 0, 126000000, 0, "東京都", 1, 1, true},
        // Program 0's key is the telephone.
        {msAtlasMate, 0, 1, 0, 0, "東京都", 3, 1, true},
    };
    for (const Case& c : cases) {
        TMapSearchParams p;
        p.SearchKind = c.kind;
        p.Latitude = c.latitude;
        p.Longitude = c.longitude;
        p.Address = QString::fromUtf8(c.address);
        EXPECT_EQ(DecideAdaptorSearch(c.soft, c.version, p), c.decision) << c.soft << " v" << c.version;
        EXPECT_EQ(p.SearchKind, c.used) << c.soft << " v" << c.version;
        EXPECT_EQ(!p.Address.isEmpty(), c.addressKept) << c.soft << " v" << c.version;
    }
}

TEST(MapSearchDecision, LauncherKindRules)
{
    // Programs 3 and 9: kind switched by what is given.
    EXPECT_EQ(AdjustLaunchKind(0, false, true), 1);
    EXPECT_EQ(AdjustLaunchKind(0, true, true), 0);
    EXPECT_EQ(AdjustLaunchKind(1, true, false), 0);
    EXPECT_EQ(AdjustLaunchKind(1, false, false), 1);
    EXPECT_EQ(AdjustLaunchKind(2, true, false), 2);
    // Programs 4 and 10.
    EXPECT_TRUE(SearchesByCoordinates(0, true, true));
    EXPECT_TRUE(SearchesByCoordinates(0, false, false));
    EXPECT_FALSE(SearchesByCoordinates(0, false, true));
    EXPECT_TRUE(SearchesByCoordinates(1, true, false));
    EXPECT_FALSE(SearchesByCoordinates(1, true, true));
    EXPECT_FALSE(SearchesByCoordinates(1, false, false));
}

TEST(MapUnits, EveryConversion)
{
    // 35°40'12.345" = 128412345 ms.
    const quint32 ms = 128412345;
    const TDmsWords dms = MillisecondsToDms(ms);
    EXPECT_EQ(dms.degrees, 35);
    EXPECT_EQ(dms.minutes, 40);
    EXPECT_EQ(dms.seconds, 12);
    EXPECT_EQ(dms.milliseconds, 345);
    EXPECT_EQ(DmsToMilliseconds(dms), ms);
    EXPECT_EQ(MillisecondsToDmText(ms), QStringLiteral("35/40/12345"));
    EXPECT_EQ(MillisecondsToDmText(126300500), QStringLiteral("35/05/00500"));
    EXPECT_EQ(MillisecondsToDmText(0), QString());
    EXPECT_EQ(MillisecondsToTenthSeconds(ms), 1284123u);
    EXPECT_EQ(MillisecondsToSecondsText(ms), QStringLiteral("128412.35"));
    EXPECT_EQ(MillisecondsToSecondsText(1234567890), QStringLiteral("1234567.89"));
    EXPECT_EQ(MillisecondsToDegreesText(126000000), QStringLiteral("35.000000"));
    EXPECT_EQ(MillisecondsToDegreesText(ms), QStringLiteral("35.670096"));
    // 1/256 second, rounded half away both ways.
    EXPECT_EQ(MillisecondsTo256ths(1000), 256u);
    EXPECT_EQ(MillisecondsTo256ths(2), 1u); // 0.512
    EXPECT_EQ(MillisecondsTo256ths(125), 32u);
    EXPECT_EQ(From256thsToMilliseconds(1), 4u);                // 3.906
    EXPECT_EQ(MillisecondsTo256ths(ms), 32873560u);            // 32873560.32
    EXPECT_EQ(From256thsToMilliseconds(32873560), 128412344u); // 128412343.75
    EXPECT_EQ(From256thsToMilliseconds(32), 125u);
}

TEST(MapPresence, NothingIsInstalledWithoutKeys)
{
    RegistryFile registry("");
    const QString none = QDir::tempPath() + QStringLiteral("/no-such-program-folder/");
    EXPECT_FALSE(IsProAtlasInstalled());
    EXPECT_FALSE(IsProAtlasWInstalled());
    EXPECT_FALSE(IsMapFanInstalled());
    EXPECT_FALSE(IsMapFanNetInstalled());
    EXPECT_FALSE(IsMapFanPlannerInstalled());
    EXPECT_FALSE(IsMappleInstalled(none));
}

TEST(MapPresence, MapFanNeedsVersionFourOrLater)
{
    {
        RegistryFile registry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Increment P Corporation\\MapFan\\3.0]\n");
        EXPECT_FALSE(IsMapFanInstalled());
    }
    {
        RegistryFile registry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Increment P Corporation\\MapFan\\3.0]\n"
                              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Increment P Corporation\\MapFan\\5.0]\n");
        EXPECT_TRUE(IsMapFanInstalled());
    }
    {
        RegistryFile registry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Increment P Corporation\\MapFan\\Common]\n");
        EXPECT_FALSE(IsMapFanInstalled());
    }
}

TEST(MapPresence, ProAtlasAndAtlasMateKeys)
{
    {
        RegistryFile registry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ALPS\\Rdw50]\n");
        EXPECT_FALSE(IsProAtlasInstalled()); // a key without sub-keys
    }
    {
        RegistryFile registry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ALPS\\Rdw30\\Data]\n");
        EXPECT_TRUE(IsProAtlasInstalled());
    }
    {
        RegistryFile registry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\SSY\\AtlasMate95\\5.0\\program]\nexe=  \n"
                              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SSY\\AtlasMate95\\4.0\\program]\n"
                              "exe=/opt/atlasmate/am.exe\n");
        EXPECT_TRUE(IsAtlasMateInstalled());
        EXPECT_EQ(MapPresence.atlasMateWorkFolder, QStringLiteral("/opt/atlasmate/dtmp/"));
    }
    const QStringList drives = {QStringLiteral("/media/a"), QStringLiteral("/media/b")};
    const auto label = [](const QString& d) {
        return d.endsWith(u'b') ? QStringLiteral(" AtlasMate ") : QStringLiteral("DATA");
    };
    EXPECT_EQ(FindLabelledDrive(drives, label, QStringLiteral("atlasmate")), QStringLiteral("/media/b"));
    EXPECT_FALSE(FindLabelledDrive(drives.mid(0, 1), label, QStringLiteral("atlasmate")));
}

TEST(MapPresence, ProAtlasWTriesVersionFiveDown)
{
    Standin programs;
    const QString appV5 = programs.install(QStringLiteral("v5/pa.exe"));
    const QString appV3 = programs.install(QStringLiteral("v3/pa.exe"));
    const QByteArray v5 = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Alps_Mapping_K.K.\\PROATLASSV]\ninstallpath=" +
                          QFile::encodeName(programs.folder() + "v5") +
                          "\nAppPath=" + QFile::encodeName(appV5) + "\n";
    const QByteArray v3 = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ALPS\\PROATLASW3]\ninstallpath=" +
                          QFile::encodeName(programs.folder() + "v3") +
                          "\nAppPath=" + QFile::encodeName(appV3) + "\n";
    // Version 5 whose application is missing gives way to version 3.
    const QByteArray v5Broken =
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Alps_Mapping_K.K.\\PROATLASSV]\ninstallpath=" +
        QFile::encodeName(programs.folder() + "v5") +
        "\nAppPath=" + QFile::encodeName(programs.folder() + "v5/none.exe") + "\n";
    {
        RegistryFile registry(v3 + v5);
        ASSERT_TRUE(IsProAtlasWInstalled());
        EXPECT_EQ(MapPresence.proAtlasWVersion, 5);
        EXPECT_EQ(MapPresence.proAtlasWAppPath, appV5);
    }
    {
        RegistryFile registry(v5Broken + v3);
        ASSERT_TRUE(IsProAtlasWInstalled());
        EXPECT_EQ(MapPresence.proAtlasWVersion, 3);
    }
    {
        RegistryFile registry(v5Broken);
        EXPECT_FALSE(IsProAtlasWInstalled());
    }
}

TEST(MapPresence, MappleByItsKickProgramOrItsKey)
{
    RegistryFile registry("");
    Standin programs;
    programs.install(QStringLiteral("MappleKick.exe"));
    programs.setExitCode(0);
    programs.setOutput("1700");
    ASSERT_TRUE(IsMappleInstalled(programs.folder()));
    EXPECT_EQ(MapPresence.mappleVersion, 17);
    const QList<StandinStart> starts = programs.starts();
    ASSERT_EQ(starts.size(), 2);
    EXPECT_EQ(starts[0].arguments, QStringList{QStringLiteral("-I")});
    EXPECT_EQ(starts[1].arguments, QStringList{QStringLiteral("-V")});
    EXPECT_EQ(QDir(starts[0].folder).canonicalPath(), QDir(programs.folder()).canonicalPath());

    // The kick program answering otherwise: version 1 by its key, when its folder holds the program.
    programs.setExitCode(1);
    EXPECT_FALSE(IsMappleInstalled(programs.folder()));
    programs.install(QStringLiteral("Mapple1/Mapple.exe"));
    RegistryFile withKey("[HKEY_CURRENT_USER\\Software\\Super Mapple\\Version 1.0.1R\\Mapple\\App]\nPath=" +
                         QFile::encodeName(programs.folder() + "Mapple1") + "\n");
    ASSERT_TRUE(IsMappleInstalled(programs.folder()));
    EXPECT_EQ(MapPresence.mappleVersion, 1);
}

// An adaptor that records what the dispatch handed it.
struct FakeAdaptorLog
{
    QString folder;
    QWidget* owner = nullptr;
    int helpContext = 0;
    TMapSearchParams params;
    int shown = 0;
};

class FakeAdaptor : public TMapAdaptor
{
public:
    FakeAdaptor(FakeAdaptorLog& log, TMapSoft soft, std::optional<std::pair<quint32, quint32>> position)
        : m_log(log), m_soft(soft), m_position(position)
    {
    }
    void SetProgramFolder(const QString& folder) override { m_log.folder = folder; }
    void SetOwnerWindow(QWidget* owner) override { m_log.owner = owner; }
    void SetHelpContext(int context) override { m_log.helpContext = context; }
    int SetSearchParams(const TMapSearchParams& params) override
    {
        m_log.params = params;
        return DecideAdaptorSearch(m_soft, 5, m_log.params);
    }
    void Show() override { ++m_log.shown; }
    std::optional<std::pair<quint32, quint32>> Position() const override { return m_position; }

private:
    FakeAdaptorLog& m_log;
    TMapSoft m_soft;
    std::optional<std::pair<quint32, quint32>> m_position;
};

class MapDispatchTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (int soft = 0; soft < MapSoftCount; ++soft) {
            RegisterMapAdaptor(TMapSoft(soft), {});
            RegisterMapCooperation(TMapSoft(soft), {});
        }
    }
    void registerFake(TMapSoft soft, std::optional<std::pair<quint32, quint32>> position = std::nullopt)
    {
        RegisterMapAdaptor(soft, [this, soft, position](QWidget*) {
            return std::make_unique<FakeAdaptor>(log, soft, position);
        });
    }
    FakeAdaptorLog log;
    QWidget owner;
};

TEST_F(MapDispatchTest, MissingProgramsReportTheirMessage)
{
    RegistryFile registry("");
    MessageRecorder messages;
    registerFake(msMapFan);
    for (const int soft : {int(msProAtlas), int(msMapFan), int(msMapFanNet), int(msEmapZ), int(msGrandMap)}) {
        TMapSearchParams p;
        messages.answer(MsgSeam::IdOk);
        EXPECT_EQ(DispatchMap(soft, &owner, QStringLiteral("/nowhere/"), 61, p, TMapCaller::Card),
                  TMapDispatchResult::Missing);
        EXPECT_EQ(messages.last().text, MapMissingMessage(soft));
        EXPECT_EQ(messages.last().owner, &owner);
        EXPECT_EQ(messages.last().flags, unsigned(MsgSeam::MbIconInformation));
    }
    EXPECT_EQ(log.shown, 0);
}

TEST_F(MapDispatchTest, CardTakesThePositionBackRouteDoesNot)
{
    RegistryFile registry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Increment P Corporation\\MapFan\\5.0]\n");
    registerFake(msMapFan, std::make_pair(quint32(1), quint32(2)));
    TMapSearchParams p;
    p.Latitude = 126000000;
    p.Longitude = 500400000;
    EXPECT_EQ(DispatchMap(msMapFan, &owner, QString(), 61, p, TMapCaller::Route), TMapDispatchResult::Shown);
    EXPECT_EQ(p.Latitude, 126000000u);
    EXPECT_EQ(log.helpContext, 61);
    EXPECT_EQ(DispatchMap(msMapFan, &owner, QString(), 61, p, TMapCaller::Card), TMapDispatchResult::Shown);
    EXPECT_EQ(p.Latitude, 1u);
    EXPECT_EQ(p.Longitude, 2u);
    EXPECT_EQ(log.shown, 2);
}

TEST_F(MapDispatchTest, CooperationProgramsAndTheirFields)
{
    registerFake(msMapFanNet, std::make_pair(quint32(1), quint32(2)));
    RegisterMapCooperation(msMapFanNet, [] { return true; });
    TMapSearchParams p;
    p.Latitude = 7;
    p.Longitude = 8;
    EXPECT_EQ(DispatchMap(msMapFanNet, &owner, QString(), 61, p, TMapCaller::Card),
              TMapDispatchResult::Shown);
    EXPECT_EQ(log.owner, &owner);
    EXPECT_EQ(p.Latitude, 7u); // program 6 hands nothing back

    RegisterMapCooperation(msMapFanNet, [] { return false; });
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    EXPECT_EQ(DispatchMap(msMapFanNet, &owner, QString(), 61, p, TMapCaller::Card),
              TMapDispatchResult::Missing);
    EXPECT_EQ(messages.count(), 1);
}

TEST_F(MapDispatchTest, AtlasMateFromTheCardNeedsSomethingToSearch)
{
    RegistryFile registry(
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SSY\\AtlasMate95\\5.0\\program]\nexe=/opt/am/am.exe\n");
    registerFake(msAtlasMate);
    TMapSearchParams p;
    p.SearchKind = 1;
    p.Address = QStringLiteral("東京都"); // program 0 reads the telephone only
    EXPECT_EQ(DispatchMap(msAtlasMate, &owner, QStringLiteral("/prog/"), 61, p, TMapCaller::Card),
              TMapDispatchResult::NothingToSearch);
    EXPECT_EQ(log.shown, 0);
    EXPECT_EQ(log.folder, QStringLiteral("/prog/"));
    // The route windows run it whatever it decided.
    EXPECT_EQ(DispatchMap(msAtlasMate, &owner, QStringLiteral("/prog/"), 61, p, TMapCaller::Route),
              TMapDispatchResult::Shown);
    EXPECT_EQ(log.shown, 1);
}

TEST_F(MapDispatchTest, WebMapFromTheCardAsksByAddress)
{
    QList<TShellOpenRequest> opened;
    auto previous = SetShellOpener(std::make_unique<RecordingOpener>(&opened));
    TMapSearchParams p;
    p.Latitude = 126000000;
    p.Longitude = 500400000;
    p.Address = QStringLiteral("abc");
    EXPECT_EQ(DispatchMap(msGoogle, &owner, QString(), 61, p, TMapCaller::Card), TMapDispatchResult::Shown);
    EXPECT_EQ(DispatchMap(msGoogle, &owner, QString(), 61, p, TMapCaller::Route), TMapDispatchResult::Shown);
    SetShellOpener(std::move(previous));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_TRUE(opened[0].file.endsWith(QStringLiteral("/maps?q=%61%62%63")));
    EXPECT_TRUE(opened[1].file.endsWith(QStringLiteral("/maps?q=35.003286,138.996886")));
    EXPECT_EQ(p.Latitude, 126000000u);
}

} // namespace
