// The settings dialog: its memory, the data folder checks, the history count, the map search kinds, the own
// number and what "設定" writes.
#include "maintenance/Env.h"

#include "addressbook/AdrsListServices.h"
#include "maintenance/SettingsCommands.h"
#include "maintenance/UpdDlg.h"
#include "maintenance/UpdInfo.h"

#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "core/ShellSub.h"
#include "platform/DiskSpace.h"
#include "platform/IniFile.h"
#include "support/LoopbackServer.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/StartupFixture.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

namespace {

class EnvTest : public StartupFixture
{
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        MainSettings = TMainSettings();
        DataFolder = m_root + QStringLiteral("data/");
        QDir().mkpath(DataFolder);
        SetDataSubFolders();
        DiscFolder.clear();
        AdminPassword.clear();
        AdminMode = false;
        MyNumberData.clear();
        CurrentAdrsName = QStringLiteral("家族");
        CollectDrives(dfCdRom);
        writeSettings({{{QStringLiteral("OTHERWINDOW"), QStringLiteral("Kept"), QStringLiteral("yes")}}});
    }
    void TearDown() override
    {
        DiskSpace::SetTypeSource({});
        StartupFixture::TearDown();
    }
    QString settings(const QString& section, const QString& key) const
    {
        return TMemIniFile(DataRootFolder + MainSettingsFileName).ReadString(section, key, QStringLiteral("<none>"));
    }
    template <class W> static W* child(QWidget& dialog, const char* name)
    {
        W* w = dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void leave(QWidget* edit, const QString& text)
    {
        QFocusEvent in(QEvent::FocusIn);
        QApplication::sendEvent(edit, &in);
        static_cast<QLineEdit*>(edit)->setText(text);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(edit, &out);
    }
};

TEST_F(EnvTest, MemoryReadsPageAndFoldersSkippingBadEntries)
{
    struct Case
    {
        const char* initTab;
        int expected;
    } cases[] = {{"3", 3}, {"-1", 0}, {"7", 0}, {"x", 0}, {"6", 6}};
    for (const Case& c : cases) {
        writeSettings({{QStringLiteral("ENVIRONMENT"), QStringLiteral("InitTab"), QLatin1String(c.initTab)}});
        EXPECT_EQ(ReadEnvironmentMemory(DataRootFolder + MainSettingsFileName).initTab, c.expected) << c.initTab;
    }
    writeSettings({{QStringLiteral("ENVIRONMENT"), QStringLiteral("DataPath1"), QStringLiteral("/a/")},
                   {QStringLiteral("ENVIRONMENT"), QStringLiteral("DataPath2"), QString()},
                   {QStringLiteral("ENVIRONMENT"), QStringLiteral("DataPath3"), QStringLiteral("/a")},
                   {QStringLiteral("ENVIRONMENT"), QStringLiteral("DataPath4"), QStringLiteral("/b/")}});
    EXPECT_EQ(ReadEnvironmentMemory(DataRootFolder + MainSettingsFileName).dataPaths,
              QStringList({QStringLiteral("/a/"), QStringLiteral("/b/")}));
    EXPECT_EQ(PushDataPath({QStringLiteral("/a/"), QStringLiteral("/b/")}, QStringLiteral("/b/")),
              QStringList({QStringLiteral("/b/"), QStringLiteral("/a/")}));
}

TEST_F(EnvTest, DataFolderTextsAreChecked)
{
    DiskSpace::SetTypeSource([this](const QString& folder) {
        return folder.startsWith(m_root + QStringLiteral("net")) ? QByteArray("nfs4") : QByteArray("ext4");
    });
    QDir().mkpath(m_root + QStringLiteral("net"));
    const QString invalid = QStringLiteral("指定したフォルダーは無効です  ");
    const struct
    {
        QString text;
        QString message;
    } cases[] = {
        {QString(), QStringLiteral("フォルダーを指定してください  ")},
        {QStringLiteral("data"), invalid},
        {QStringLiteral("\\\\server\\share"), invalid},
        {QStringLiteral("/") + QString(DataPathMax, u'a'), invalid},
        {m_root + QStringLiteral("net/not/yet"),
         QStringLiteral("ハードディスクドライブか  \r\nリムーバブルドライブを指定してください  ")},
        {m_root + QStringLiteral("local/not/yet"), QString()},
        {DataFolder, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckDataFolderText(c.text), c.message) << c.text.toStdString();
}

TEST_F(EnvTest, HistoryCountTextsAndKinds)
{
    for (const auto& [text, value] : std::initializer_list<std::pair<const char*, int>>{
             {"0", 0}, {"30", 30}, {"07", 7}, {"31", -1}, {"45", -1}, {"", -1}, {"-1", -1}, {"1a", -1}})
        EXPECT_EQ(ParseHisCount(QString::fromUtf8(text)).value_or(-1), value) << text;
    EXPECT_EQ(ParseHisCount(QStringLiteral("１")), std::nullopt); // full-width digit
    EXPECT_EQ(MapSearchKinds(0).value(1), QStringLiteral("電話番号を優先"));
    EXPECT_EQ(MapSearchKinds(MapSoftGoogle), QStringList{QStringLiteral("住所から検索")});
    EXPECT_EQ(MapSearchKinds(5).value(1), QStringLiteral("住所を優先"));
}

TEST_F(EnvTest, TheAddressListGetsBothOpeners)
{
    RegisterSettingsCommands();
    EXPECT_TRUE(HasListCommand(TListCommand::Environment));
    EXPECT_TRUE(HasListCommand(TListCommand::SwitchAdminMode));
    RegisterListCommand(TListCommand::Environment, {});
    RegisterListCommand(TListCommand::SwitchAdminMode, {});
}

TEST_F(EnvTest, ReopensOnTheLastPageAlsoAfterCancel)
{
    {
        TEnvironment env(nullptr);
        EXPECT_EQ(env.CurrentPage(), 0);
        RunModal(env, [&](QDialog&) {
            env.ShowPage(4);
            env.reject();
        });
    }
    TEnvironment again(nullptr);
    EXPECT_EQ(again.CurrentPage(), 4);
    RunModal(again, [&](QDialog&) {
        EXPECT_EQ(again.CurrentPage(), 4);
        again.reject();
    });
    EXPECT_EQ(child<QStackedWidget>(again, "pgcEnv")->currentWidget()->objectName(), QStringLiteral("tabstCooperate"));
    EXPECT_EQ(settings(QStringLiteral("OTHERWINDOW"), QStringLiteral("Kept")), QStringLiteral("yes"));
}

TEST_F(EnvTest, HistoryCountOutOfRangeRestoresAndZeroIsAccepted)
{
    MainSettings.HisCount = 12;
    MessageRecorder messages;
    TEnvironment env(nullptr);
    auto* edit = child<QLineEdit>(env, "edtHisCount");
    leave(edit, QStringLiteral("45"));
    EXPECT_EQ(edit->text(), QStringLiteral("12"));
    leave(edit, QStringLiteral("0"));
    EXPECT_EQ(edit->text(), QStringLiteral("0"));
    env.btnSetClick();
    EXPECT_EQ(MainSettings.HisCount, 0);
    EXPECT_TRUE(env.HisCountChanged);
    EXPECT_EQ(settings(QStringLiteral("OPERATION"), QStringLiteral("HisCount")), QStringLiteral("0"));
}

TEST_F(EnvTest, MapSearchKindFollowsTheMapProgram)
{
    MessageRecorder messages;
    {
        MainSettings.Map = 3;
        MainSettings.MapSearchKind = 1;
        TEnvironment env(nullptr);
        auto* map = child<QComboBox>(env, "cbxMapSoft");
        map->setCurrentIndex(MapSoftGoogle);
        emit map->activated(MapSoftGoogle);
        EXPECT_EQ(child<QComboBox>(env, "cbxMapSearchKind")->count(), 1);
        env.btnSetClick();
        EXPECT_EQ(settings(QStringLiteral("COOPERATE"), QStringLiteral("MapSearchKind")), QStringLiteral("0"));
        EXPECT_TRUE(env.LinkSoftChanged);
    }
    {
        MainSettings.Map = MapSoftGoogle;
        MainSettings.MapSearchKind = 1;
        TEnvironment env(nullptr);
        EXPECT_EQ(child<QComboBox>(env, "cbxMapSearchKind")->currentIndex(), -1);
        env.btnSetClick();
        EXPECT_EQ(settings(QStringLiteral("COOPERATE"), QStringLiteral("MapSearchKind")), QStringLiteral("-1"));
    }
}

TEST_F(EnvTest, OnlyTheSearchKindChangedSetsNoFlagYetIsSaved)
{
    MessageRecorder messages;
    MainSettings.Map = 3;
    MainSettings.MapSearchKind = 0;
    TEnvironment env(nullptr);
    child<QComboBox>(env, "cbxMapSearchKind")->setCurrentIndex(1);
    env.btnSetClick();
    EXPECT_EQ(env.result(), QDialog::Accepted);
    EXPECT_FALSE(env.DataFolderChanged || env.HisCountChanged || env.ListColorChanged || env.LinkSoftChanged ||
                 env.MyNumberChanged);
    EXPECT_EQ(MainSettings.MapSearchKind, 1);
    EXPECT_EQ(settings(QStringLiteral("COOPERATE"), QStringLiteral("MapSearchKind")), QStringLiteral("1"));
    // Everything else of the file is written as well, and other windows' sections stay.
    EXPECT_EQ(settings(QStringLiteral("BASE"), QStringLiteral("AdrsName")), QStringLiteral("家族"));
    EXPECT_EQ(settings(QStringLiteral("VIEW"), QStringLiteral("BGColor")), QStringLiteral("14680047"));
    EXPECT_EQ(settings(QStringLiteral("OTHERWINDOW"), QStringLiteral("Kept")), QStringLiteral("yes"));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(EnvTest, SettingsWrittenOverOtherWindowsChangesMadeWhileOpen)
{
    MessageRecorder messages;
    TEnvironment env(nullptr);
    // Another window writes its section while the dialog is open.
    writeSettings({{QStringLiteral("LATER"), QStringLiteral("Key"), QStringLiteral("1")}});
    child<QCheckBox>(env, "chkViewSplash")->setChecked(false);
    env.btnSetClick();
    EXPECT_EQ(settings(QStringLiteral("LATER"), QStringLiteral("Key")), QStringLiteral("1"));
    EXPECT_EQ(settings(QStringLiteral("OPERATION"), QStringLiteral("ViewSplash")), QStringLiteral("0"));
}

TEST_F(EnvTest, OwnNumberIsWrittenScrambledAndDeletedWhenCleared)
{
    MessageRecorder messages;
    const QString file = DataRootFolder + MyNumberFileName;
    {
        TEnvironment env(nullptr);
        auto* edit = child<QLineEdit>(env, "edtMyNumber");
        EXPECT_FALSE(edit->isReadOnly());
        edit->setText(QStringLiteral("123456789018"));
        EXPECT_TRUE(child<QLabel>(env, "lblMyNumberCount")->isHidden());
        EXPECT_EQ(child<QLabel>(env, "imgMyNumberStatus")->property("picture").toString(),
                  QStringLiteral("MYNUMBERPRIV"));
        env.btnSetClick();
        EXPECT_TRUE(env.MyNumberChanged);
    }
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(QFile::permissions(file) & QFileDevice::Permissions(0x7077), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(DecryptFieldText(UnscrambleText(ReadFileBytes(file)), FieldCipherKey), "123456789018");
    {
        TEnvironment env(nullptr);
        auto* edit = child<QLineEdit>(env, "edtMyNumber");
        EXPECT_EQ(edit->text(), QStringLiteral("123456789018"));
        edit->clear();
        env.btnSetClick();
        EXPECT_TRUE(env.MyNumberChanged);
    }
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_TRUE(MyNumberData.isEmpty());
}

TEST_F(EnvTest, OwnNumberIsMaskedOutsideAdministratorMode)
{
    MyNumberData = EncryptFieldText("123456789018", FieldCipherKey);
    AdminPassword = ToWide(EncryptFieldText("pw", AdminPasswordKey));
    for (const bool admin : {false, true}) {
        AdminMode = admin;
        TEnvironment env(nullptr);
        auto* edit = child<QLineEdit>(env, "edtMyNumber");
        EXPECT_EQ(edit->isReadOnly(), !admin);
        EXPECT_EQ(edit->echoMode(), admin ? QLineEdit::Normal : QLineEdit::Password);
        EXPECT_EQ(child<QLabel>(env, "lblMyNumberNotice")->isHidden(), admin);
    }
}

TEST_F(EnvTest, InvalidDataFoldersAreRefusedOnPageZero)
{
    DiskSpace::SetTypeSource([](const QString&) { return QByteArray("cifs"); });
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
    TEnvironment env(nullptr);
    env.ShowPage(3);
    auto* path = child<QComboBox>(env, "cbxDataPath");
    path->setEditText(QStringLiteral("relative/folder"));
    env.btnSetClick();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("指定したフォルダーは無効です  "));
    EXPECT_EQ(env.CurrentPage(), 0);
    path->setEditText(m_root + QStringLiteral("mounted"));
    env.btnSetClick();
    ASSERT_EQ(messages.count(), 2);
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("ハードディスクドライブか")));
    EXPECT_EQ(env.result(), 0);
    EXPECT_EQ(settings(QStringLiteral("BASE"), QStringLiteral("DataPath")), QStringLiteral("<none>"));
}

TEST_F(EnvTest, MissingDataFolderIsCreatedAfterTheQuestion)
{
    MessageRecorder messages;
    const QString folder = m_root + QStringLiteral("new/data");
    int hookCalls = 0;
    bool allowChange = false;
    TEnvironment env(nullptr);
    env.SetDataFolderChangeHook([&] {
        ++hookCalls;
        return allowChange;
    });
    child<QComboBox>(env, "cbxDataPath")->setEditText(folder);
    messages.answer(MsgSeam::IdNo);
    env.btnSetClick();
    EXPECT_FALSE(QFileInfo::exists(folder));
    // A window of the owner that stays open keeps everything as it was.
    messages.answer(MsgSeam::IdYes);
    env.btnSetClick();
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(env.result(), 0);
    EXPECT_EQ(DataFolder, m_root + QStringLiteral("data/"));
    allowChange = true;
    env.btnSetClick();
    EXPECT_EQ(env.result(), QDialog::Accepted);
    EXPECT_TRUE(env.DataFolderChanged);
    EXPECT_EQ(DataFolder, folder + u'/');
    EXPECT_EQ(AdrsFolder, folder + QStringLiteral("/Adrs/"));
    EXPECT_EQ(CurrentAdrsName, DefaultAdrsName);
    EXPECT_EQ(settings(QStringLiteral("BASE"), QStringLiteral("DataPath")), folder + u'/');
    for (const auto& m : messages.messages())
        EXPECT_EQ(m.text, QStringLiteral("指定したフォルダーが見つかりません  \r\n作成してもよろしいですか？  "));
}

TEST_F(EnvTest, UpdateCheckReportsEachOutcome)
{
    LoopbackServer server;
    server.route(QStringLiteral("/check/quenrid215/"),
                 QByteArray("<?xml version=\"1.0\"?>\r\n<update><app>Quenrid215</app></update>\r\n"));
    const struct
    {
        const char* what;
        bool online;
        QString domain;
        QString message;
        unsigned icon;
    } cases[] = {
        {"offline", false, server.host(), QStringLiteral("インターネットに接続できない環境です  "),
         MsgSeam::MbIconExclamation},
        {"no server", true, QStringLiteral("127.0.0.1:%1").arg(LoopbackServer::closedPort()),
         QStringLiteral("アップデートの確認がおこなえません  "), MsgSeam::MbIconInformation},
        {"up to date", true, server.host(), QStringLiteral("最新のプログラムを使用しています  "),
         MsgSeam::MbIconInformation},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetNetworkCheck([online = c.online] { return online; });
        UpdateDomain = c.domain;
        MessageRecorder messages;
        messages.answer(MsgSeam::IdOk);
        TEnvironment env(nullptr);
        child<QPushButton>(env, "bbtnUpdate")->click();
        ASSERT_EQ(messages.count(), 1);
        EXPECT_TRUE(messages.last().text.startsWith(c.message)) << messages.last().text.toStdString();
        EXPECT_EQ(messages.last().flags & 0xF0, c.icon);
        EXPECT_FALSE(env.RestartRequested);
    }
    SetNetworkCheck({});
    UpdateDomain = DefaultUpdateDomain;
}

} // namespace
