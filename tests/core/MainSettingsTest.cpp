// Reading the main settings at start: ranges, the data path, the disc folder, registry values and the data
// root.
#include "support/StartupFixture.h"

#include "core/ShellSub.h"
#include "maintenance/UpdInfo.h"
#include "support/MessageRecorder.h"

namespace {

using MainSettingsTest = StartupFixture;

TEST_F(MainSettingsTest, MissingFileGivesDefaultsAndFirstRun)
{
    MessageRecorder rec;
    ReadMainSettings(nullptr);
    EXPECT_TRUE(FirstRun);
    EXPECT_TRUE(DataPathReset);
    EXPECT_TRUE(AdrsNameDefaulted);
    EXPECT_EQ(CurrentAdrsName, QStringLiteral("アドレス"));
    EXPECT_EQ(DataFolder, DataRootFolder + "Data/");
    EXPECT_TRUE(QFileInfo(DataFolder).isDir());
    EXPECT_EQ(AdrsFolder, DataFolder + "Adrs/");
    EXPECT_EQ(DesignFolder, DataFolder + "Design/");
    EXPECT_EQ(MainSettings.HisCount, 10);
    EXPECT_EQ(MainSettings.BGColor, 14680047);
    EXPECT_EQ(MainSettings.Map, 8);
    EXPECT_TRUE(MainSettings.ViewSplash);
    EXPECT_TRUE(MainSettings.SameNum);
    EXPECT_EQ(MainSettings.MyNumberLabel, QStringLiteral("共通マイナンバー"));
    EXPECT_EQ(UpdatePath, QStringLiteral("/check/"));
    EXPECT_EQ(UpdateAppPath, QStringLiteral("/app/"));
    EXPECT_EQ(UpdateDomain, DefaultUpdateDomain);
    EXPECT_EQ(DiscFolder, m_root + "cd");
    EXPECT_EQ(rec.count(), 0);
}

TEST_F(MainSettingsTest, IntegerKeysOutsideTheirRangeFallBack)
{
    struct Case
    {
        const char* section;
        const char* key;
        const char* value;
        int TMainSettings::*field;
        int expected;
    } cases[] = {
        {"OPERATION", "HisCount", "31", &TMainSettings::HisCount, 10},
        {"OPERATION", "HisCount", "-1", &TMainSettings::HisCount, 10},
        {"OPERATION", "HisCount", "0", &TMainSettings::HisCount, 0},
        {"OPERATION", "HisCount", "30", &TMainSettings::HisCount, 30},
        {"OPERATION", "HisCount", "x", &TMainSettings::HisCount, 10},
        {"COOPERATE", "Map", "11", &TMainSettings::Map, 8},
        {"COOPERATE", "Map", "10", &TMainSettings::Map, 10},
        {"COOPERATE", "Map", "-3", &TMainSettings::Map, 8},
        {"COOPERATE", "MapSearchKind", "2", &TMainSettings::MapSearchKind, 0},
        {"COOPERATE", "MapSearchKind", "1", &TMainSettings::MapSearchKind, 1},
        {"COOPERATE", "Root", "2", &TMainSettings::Root, 0},
        {"COOPERATE", "Root", "1", &TMainSettings::Root, 1},
        {"VIEW", "BGColor", "255", &TMainSettings::BGColor, 255},
    };
    MessageRecorder rec;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        QFile::remove(DataRootFolder + MainSettingsFileName);
        writeSettings({{c.section, c.key, c.value}});
        ReadMainSettings(nullptr);
        EXPECT_EQ(MainSettings.*c.field, c.expected);
        EXPECT_FALSE(FirstRun);
    }
}

TEST_F(MainSettingsTest, BooleansAndMyNumberLabel)
{
    // "a" then 15 kanji: byte 22 is a lead byte, so the label keeps 21 bytes.
    writeSettings({{"ADDRESS", "SameNum", "0"},
                   {"VIEW", "BGPaint", "0"},
                   {"OPERATION", "ViewSplash", "0"},
                   {"HIDDEN PARAMETER", "SearchDriveExtend", "1"},
                   {"MYNUMBER", "MyNumberLabel", "a" + QString(15, QChar(0x756A))},
                   {"UPDATE PARAMETER", "Domain", "updates.test"}});
    ReadMainSettings(nullptr);
    EXPECT_FALSE(MainSettings.SameNum);
    EXPECT_FALSE(MainSettings.BGPaint);
    EXPECT_FALSE(MainSettings.ViewSplash);
    EXPECT_FALSE(ReadViewSplash());
    EXPECT_TRUE(MainSettings.SearchDriveExtend);
    EXPECT_TRUE(MainSettings.ChangeData);
    EXPECT_EQ(MainSettings.MyNumberLabel, "a" + QString(10, QChar(0x756A)));
    EXPECT_EQ(UpdateDomain, QStringLiteral("updates.test"));
}

TEST_F(MainSettingsTest, DataPathLengthLimitCountsTheFinalSlash)
{
    MessageRecorder rec;
    const QString base = m_root + "p/";
    for (int total : {200, 201}) {
        SCOPED_TRACE(total);
        // A folder whose path with its final "/" is exactly `total` bytes, written without the final "/".
        const QString folder =
            base + QString(total - int(base.size()) - 1 - 3, u'x') + QString::number(total);
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_EQ(folder.size() + 1, total);
        writeSettings({{"BASE", "DataPath", folder}, {"BASE", "AdrsName", "顧客"}});
        ReadMainSettings(nullptr);
        if (total == 200) {
            EXPECT_FALSE(DataPathReset);
            EXPECT_EQ(DataFolder, folder + "/");
            EXPECT_EQ(CurrentAdrsName, QStringLiteral("顧客"));
            EXPECT_FALSE(AdrsNameDefaulted);
        } else {
            EXPECT_TRUE(DataPathReset);
            EXPECT_EQ(DataFolder, DataRootFolder + "Data/");
            EXPECT_EQ(CurrentAdrsName, QStringLiteral("アドレス"));
            EXPECT_TRUE(AdrsNameDefaulted);
        }
    }
}

TEST_F(MainSettingsTest, DataPathThatIsNoFolderOrRelativeIsReset)
{
    for (const QString& stored : {m_root + "missing", QStringLiteral("relative"), QStringLiteral("@00")}) {
        SCOPED_TRACE(stored.toStdString());
        QDir(m_root).mkpath("relative");
        writeSettings({{"BASE", "DataPath", stored}});
        ReadMainSettings(nullptr);
        EXPECT_TRUE(DataPathReset);
    }
}

TEST_F(MainSettingsTest, DataPathOutsideCp932IsWrittenInUnicodeFormAndReadBack)
{
    const QString folder = m_root + QStringLiteral("한국/데이터/");
    ASSERT_TRUE(QDir().mkpath(folder));
    DataFolder = folder;
    ASSERT_TRUE(WriteBackDataPath());
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const QString stored = ini.ReadString("BASE", "DataPath", QString());
    EXPECT_TRUE(stored.startsWith(u'@')) << stored.toStdString();
    EXPECT_FALSE(stored.contains(u'?'));

    DataFolder.clear();
    ReadMainSettings(nullptr);
    EXPECT_FALSE(DataPathReset);
    EXPECT_EQ(DataFolder, folder);

    // A plain CP932 path is stored as it is.
    DataFolder = m_root + QStringLiteral("データ/");
    EXPECT_EQ(EncodeDataPath(DataFolder), DataFolder);
}

TEST_F(MainSettingsTest, DiscFolderChoiceAndDriveMessage)
{
    const QString hidden = m_root + "hidden";
    QDir().mkpath(hidden);
    setEnv("TOVAREL_DRIVES", QString());
    {
        // The hidden path wins over [BASE] CD, and no drive message shows.
        MessageRecorder rec;
        writeSettings({{"HIDDEN PARAMETER", "Path", hidden + "/"}, {"BASE", "CD", "/media/cd/"}});
        ReadMainSettings(nullptr);
        EXPECT_EQ(DiscFolder, hidden);
        EXPECT_EQ(rec.count(), 0);
    }
    {
        // No drive, no disc folder, no hard-disk data: told once, then [BASE] CD is used.
        MessageRecorder rec;
        rec.answer(MsgSeam::IdOk);
        writeSettings({{"HIDDEN PARAMETER", "Path", m_root + "gone"}});
        ReadMainSettings(nullptr);
        ASSERT_EQ(rec.count(), 1);
        EXPECT_EQ(rec.last().flags, 64u);
        EXPECT_EQ(rec.last().mode, 2);
        EXPECT_EQ(rec.last().caption, QStringLiteral("Tovarel"));
        EXPECT_TRUE(rec.last().text.startsWith(QStringLiteral("使用可能な CD-ROM/DVD-ROM ドライブ")));
        EXPECT_EQ(DiscFolder, QStringLiteral("/media/cd"));
        EXPECT_EQ(DriveCount, 0);
    }
    {
        // With the data installed on the hard disk nothing is said.
        MessageRecorder rec;
        HddInstalled = true;
        ReadMainSettings(nullptr);
        EXPECT_EQ(rec.count(), 0);
    }
}

TEST_F(MainSettingsTest, RegistryValuesAndOwnNumberFile)
{
    QFile reg(m_root + "registry.ini");
    ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
    reg.write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zantor\\Quenrid\\21.5]\r\nType=12345678\r\nPoint=ABCDEF\r\n");
    reg.close();
    QFile mnb(DataRootFolder + MyNumberFileName);
    ASSERT_TRUE(mnb.open(QIODevice::WriteOnly));
    mnb.write(QByteArray::fromHex("E9D9C9")); // "abc" scrambled
    mnb.close();
    MessageRecorder rec;
    ReadMainSettings(nullptr);
    EXPECT_EQ(StartupPassword, QStringLiteral("12345678"));
    EXPECT_EQ(AdminPassword, QStringLiteral("ABCDEF"));
    EXPECT_FALSE(AdminMode);
    EXPECT_EQ(MyNumberData, QByteArray("abc"));

    QFile::remove(m_root + "registry.ini");
    ReadMainSettings(nullptr);
    EXPECT_TRUE(StartupPassword.isEmpty());
    EXPECT_TRUE(AdminPassword.isEmpty());
}

TEST_F(MainSettingsTest, DataRootFallsBackToUserFolderThenProgramFolder)
{
    EXPECT_EQ(GetDataRootFolder(), m_root + "common/Morvane/Quenrid215/");
    EXPECT_TRUE(QFileInfo(m_root + "common/Morvane/Quenrid215").isDir());

    setEnv("TOVAREL_COMMON_APPDATA", QString());
    EXPECT_EQ(GetDataRootFolder(), m_root + "user/Morvane/Quenrid215/");

    // A maker folder that cannot be created: the settings lie beside the program.
    QFile blocker(m_root + "file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    setEnv("TOVAREL_USER_APPDATA", m_root + "file/below");
    EXPECT_EQ(GetDataRootFolder(), ProgramFolder);
}

TEST_F(MainSettingsTest, WriteBackKeepsOtherKeysAndRefusesUnreadableFile)
{
    writeSettings({{"OPERATION", "HisCount", "5"}});
    DataFolder = m_root + "d/";
    ASSERT_TRUE(WriteBackDataPath());
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_EQ(ini.ReadString("BASE", "DataPath", ""), m_root + "d/");
    EXPECT_EQ(ini.ReadInteger("OPERATION", "HisCount", 0), 5);

    // Something in the file's place that cannot be read is left alone.
    ASSERT_TRUE(QFile::remove(DataRootFolder + MainSettingsFileName));
    ASSERT_TRUE(QDir().mkpath(DataRootFolder + MainSettingsFileName));
    EXPECT_FALSE(WriteBackDataPath());
    EXPECT_TRUE(QFileInfo(DataRootFolder + MainSettingsFileName).isDir());
}

} // namespace
