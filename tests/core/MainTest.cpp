// Start-up and shut-down: the install state, the order of the start, the password gate and a second start.
#include "support/StartupFixture.h"

#include "core/AdrsFolderList.h"
#include "core/Main.h"
#include "core/MsgBoxPos.h"
#include "core/Splash.h"
#include "core/StartupServices.h"
#include "maintenance/HdiRW.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>

namespace {

class FakeServices : public TStartupServices
{
public:
    explicit FakeServices(QStringList* log) : m_log(log) {}
    void LoadHyphenLibrary() override { m_log->append("hyphen"); }
    void CreateDataModule(QWidget*) override { m_log->append("datamodule"); }
    void CopyCategoryTables() override { m_log->append("categorytables"); }
    void LoadCategoryNames() override { m_log->append("categorynames"); }
    void CopyDefaultHistories() override { m_log->append("histories"); }
    void RunAddressList(QWidget*) override { m_log->append("session:" + CurrentAdrsName); }
    void FreeAll() override { m_log->append("free"); }

private:
    QStringList* m_log;
};

class MainTest : public StartupFixture
{
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        auto fake = std::make_unique<FakeServices>(&m_log);
        m_fake = fake.get();
        m_previous = SetStartupServices(std::move(fake));
        StartupPassword.clear();
    }
    void TearDown() override
    {
        SetStartupServices(std::move(m_previous));
        StartupFixture::TearDown();
    }

    void writeRecord(const QByteArray& bytes)
    {
        QFile f(DataRootFolder + "Quenrid215.hdi");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray record(const QByteArray& tag, int length, const QByteArray& path = {})
    {
        QByteArray b = char(tag.size()) + ScrambleInstallText(tag) + char(1) + char(0);
        b += char(length & 0xFF);
        b += char((length >> 8) & 0xFF);
        return b + ScrambleInstallText(path);
    }

    // Runs the start from the main form's create step to the end of the session.
    void runStart()
    {
        TMainForm form;
        form.FormCreate();
        QCoreApplication::sendPostedEvents(&form);
    }

    QStringList m_log;
    FakeServices* m_fake = nullptr;
    std::unique_ptr<TStartupServices> m_previous;
};

TEST_F(MainTest, InstallStateFromTheRecord)
{
    const QString elsewhere = m_root + "hdd/";
    QDir().mkpath(elsewhere + "Dt00");
    struct Case
    {
        const char* name;
        std::optional<QByteArray> file;
        bool makeDt00;
        bool installed;
        QString folder;
        QString message; // start of the message, empty for none
    } cases[] = {
        {"no record", std::nullopt, false, false, "", ""},
        {"in the data root", record("Quenrid215", 0), true, true, DataRootFolder, ""},
        {"in its own folder", record("Quenrid215", int(elsewhere.size()), elsewhere.toUtf8()), false, true,
         elsewhere, ""},
        {"folder gone, root has the data", record("Quenrid215", 9, "/gone/abc"), true, true, DataRootFolder,
         ""},
        {"data gone", record("Quenrid215", 0), false, false, DataRootFolder,
         "HDDインストールしたSelvane Specialの電話帳データが"},
        {"another program", record("Quenrid999", 0), false, false, "",
         "別のソフトウェアのHDDインストール情報"},
        {"damaged", record("Quenrid215", 0).left(4), false, false, "",
         "HDDインストール情報が正しくありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(DataRootFolder + "Quenrid215.hdi");
        QDir(DataRootFolder + "Dt00").removeRecursively();
        if (c.file)
            writeRecord(*c.file);
        if (c.makeDt00)
            QDir().mkpath(DataRootFolder + "Dt00");
        MessageRecorder rec;
        if (!c.message.isEmpty())
            rec.answer(MsgSeam::IdOk);
        LoadInstallState();
        EXPECT_EQ(HddInstalled, c.installed);
        EXPECT_EQ(HddInstallFolder, c.folder);
        if (!c.message.isEmpty()) {
            ASSERT_EQ(rec.count(), 1);
            EXPECT_TRUE(rec.last().text.startsWith(c.message)) << rec.last().text.toStdString();
            EXPECT_EQ(rec.last().source, MsgSeam::Source::Application);
            EXPECT_EQ(rec.last().flags, 64u);
        }
    }
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk);
    writeRecord(record("Quenrid215", 0).left(4));
    LoadInstallState();
    EXPECT_TRUE(rec.last().text.endsWith(QStringLiteral("RC = 3  ")));
}

TEST_F(MainTest, StartRunsInOrderAndCarriesOutPendingOperations)
{
    writeSettings({{"BASE", "AdrsName", "Other"}});
    QDir().mkpath(DataRootFolder + "Data/Adrs/old");
    QFile table(DataRootFolder + "Data/Adrs/old/Adrs.DB");
    ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    table.close();
    TMemIniFile op(DataRootFolder + "Data/Adrs/AdrsOp.ini");
    op.WriteString("RENAME", "Count", "1");
    op.WriteString("RENAME", "1", "old/new");
    ASSERT_TRUE(op.UpdateFile());

    MessageRecorder rec;
    runStart();
    EXPECT_EQ(m_log, QStringList({"hyphen", "datamodule", "categorytables", "categorynames", "histories",
                                  "session:アドレス", "free"}));
    EXPECT_TRUE(DataPathReset);
    EXPECT_TRUE(AdrsNameDefaulted);
    ASSERT_EQ(AdrsFolderList.size(), 0); // cleared at the end
    EXPECT_TRUE(QFileInfo(DataRootFolder + "Data/Adrs/new/Adrs.DB").isFile());
    // The reset data path was written back.
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_EQ(ini.ReadString("BASE", "DataPath", ""), DataRootFolder + "Data/");
}

TEST_F(MainTest, SplashHoldsTheStartUntilItCloses)
{
    MessageRecorder rec;
    auto* splash = new TSplashForm;
    splash->show();
    EXPECT_FALSE(splash->windowFlags() & Qt::WindowStaysOnTopHint) << "other programs may cover it";
    EXPECT_TRUE(splash->tmrSplash()->isActive());
    EXPECT_EQ(splash->tmrSplash()->interval(), 2500);
    {
        TMainForm form;
        form.FormCreate();
        QCoreApplication::sendPostedEvents(&form);
        EXPECT_FALSE(m_log.contains("histories"));
        // The splash's timer ends it; only then does the start go on.
        splash->tmrSplash()->start(1);
        EXPECT_TRUE(QTest::qWaitFor([] { return SplashForm.isNull(); }, 5000));
        QCoreApplication::sendPostedEvents(&form);
        EXPECT_TRUE(m_log.contains("histories"));
    }
}

TEST(InitApplication, JapaneseStandardButtonsTheProgramsFontAndName)
{
    InitApplication(); // the test main has run it; once more changes nothing
    EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("Tovarel"));
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), QStringLiteral("IPAPGothic"));

    // A real question box: Qt's standard buttons speak Japanese whatever the locale.
    QStringList buttons;
    ModalDriver driver;
    driver.on<QMessageBox>([&](QMessageBox* box) {
        for (QAbstractButton* b : box->buttons())
            buttons << b->text().remove(u'&');
        box->button(QMessageBox::Cancel)->click();
    });
    MsgSeam::Request question;
    question.text = QStringLiteral("保存しますか？  ");
    question.caption = ProductTitle;
    question.flags = MsgSeam::MbYesNoCancel | MsgSeam::MbIconQuestion;
    EXPECT_EQ(MsgSeam::Show(question), MsgSeam::IdCancel);
    buttons.sort();
    QStringList expected{QStringLiteral("はい(Y)"), QStringLiteral("いいえ(N)"),
                         QStringLiteral("キャンセル")};
    expected.sort();
    EXPECT_EQ(buttons, expected);
}

// Answers the password prompt with text, clicking OK; a wrong text is followed by the cancel and Yes.
void drivePrompt(ModalDriver& driver, const QString& text, bool* seen)
{
    driver.on("InputPassword", [=](QWidget* dlg) {
        *seen = true;
        dlg->findChild<QLineEdit*>("medtPassword")->setText(text);
        dlg->findChild<QPushButton*>("btnOk")->click();
        if (dlg->isVisible())
            dlg->findChild<QPushButton*>("btnCancel")->click();
    });
}

TEST_F(MainTest, StartupPasswordGatesTheSession)
{
    // "8182" is one slot holding the full-width "ａ", which stands for "a".
    struct Case
    {
        const char* name;
        QString stored;
        QString typed;
        bool prompt;
        bool session;
        int messages;
    } cases[] = {
        {"right password", "8182", "a", true, true, 0},
        {"wrong password, given up", "8182", "A", true, false, 2},
        {"too short to hold one", "818", "", false, true, 0},
        // A value that does not decode keeps the gate shut: no typed text is right.
        {"malformed, given up", "    ", "a", true, false, 2},
        {"malformed, blank typed", "0082", " ", true, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_log.clear();
        MessageRecorder rec;
        rec.allowUnexpected();
        bool seen = false;
        ModalDriver driver;
        if (c.prompt)
            drivePrompt(driver, c.typed, &seen);
        // The registry file is empty here; the stored value comes from the test.
        TMainForm form;
        form.FormCreate();
        StartupPassword = c.stored;
        QCoreApplication::sendPostedEvents(&form);
        EXPECT_EQ(seen, c.prompt);
        EXPECT_EQ(m_log.contains("session:アドレス"), c.session);
        EXPECT_EQ(rec.count(), c.messages);
        if (c.messages == 2) {
            EXPECT_TRUE(rec.messages()[0].text.startsWith(QStringLiteral("パスワードが違います")));
            EXPECT_TRUE(rec.messages()[1].text.startsWith(QStringLiteral("Tovarel の起動を中止します")));
        }
    }
}

TEST_F(MainTest, SingleInstanceLockAndActivation)
{
    const QString folder = m_root;
    TSingleInstance first(InstanceIdentity, folder);
    ASSERT_EQ(first.Acquire(), TSingleInstance::siStarted);
    ASSERT_TRUE(first.Listen());
    QSignalSpy activated(&first, &TSingleInstance::ActivateRequested);

    TSingleInstance second(InstanceIdentity, folder);
    EXPECT_EQ(second.Acquire(), TSingleInstance::siRunning);
    EXPECT_TRUE(second.ActivateRunning());
    EXPECT_TRUE(activated.wait(5000));

    // A lock that cannot be taken for another reason is no running instance.
    QFile file(m_root + "afile");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TSingleInstance broken(InstanceIdentity, m_root + "afile/");
    QString error;
    EXPECT_EQ(broken.Acquire(&error), TSingleInstance::siFailed);
    EXPECT_FALSE(error.isEmpty());

    // The administrator tool announces itself with its own lock.
    EXPECT_FALSE(IsAdminToolRunning(folder));
    QLockFile tool(folder + AdminToolIdentity + ".lock");
    ASSERT_TRUE(tool.tryLock(0));
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk);
    EXPECT_TRUE(IsAdminToolRunning(folder));
    ASSERT_EQ(rec.count(), 1);
    EXPECT_EQ(rec.last().flags, 48u);
    EXPECT_TRUE(rec.last().text.startsWith(QStringLiteral("「管理者モード設定ツール」が動作中です")));
}

TEST_F(MainTest, AdminToolProbeNeverTakesOrRemovesTheToolsLock)
{
    // A tool that writes its lock without holding a flock on it, an hour ago.
    const QString lock = m_root + AdminToolIdentity + ".lock";
    struct Case
    {
        const char* name;
        qint64 pid;
        bool running;
    } cases[] = {
        {"live holder, old lock", QCoreApplication::applicationPid(), true},
        {"holder gone", 2147483000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(lock);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray::number(c.pid) + "\nadmintool\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        file.close();
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        file.close();
        const QByteArray before = ReadFileBytes(lock);

        MessageRecorder rec;
        rec.answer(MsgSeam::IdOk);
        EXPECT_EQ(IsAdminToolRunning(m_root), c.running);
        EXPECT_EQ(rec.count(), c.running ? 1 : 0);
        EXPECT_EQ(ReadFileBytes(lock), before) << "the tool's lock stays as the tool wrote it";
    }
    QFile::remove(lock);
    EXPECT_FALSE(IsAdminToolRunning(m_root));
    EXPECT_FALSE(QFileInfo::exists(lock));
}

TEST_F(MainTest, SecondStartOfTheProgramEndsWithZero)
{
    const QString runtime = m_root + "run";
    ASSERT_TRUE(QDir().mkpath(runtime));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(m_root + "common/Morvane/Quenrid215");
    TMemIniFile ini(m_root + "common/Morvane/Quenrid215/Quenrid215.ini");
    ini.WriteString("OPERATION", "ViewSplash", "0");
    ASSERT_TRUE(ini.UpdateFile());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("TOVAREL_COMMON_APPDATA", m_root + "common");
    env.insert("TOVAREL_USER_APPDATA", m_root + "user");
    env.insert("TOVAREL_REGISTRY", m_root + "none.ini");
    env.insert("TOVAREL_DRIVES", m_root + "cd");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString program = QStringLiteral(TOVAREL_PROGRAM_DIR) + "quenrid215";
    const QString socket = runtime + "/" + InstanceIdentity + ".socket";

    auto startFirst = [&](QProcess& p) {
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(program, {});
        EXPECT_TRUE(p.waitForStarted(10000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(socket); }, 20000));
    };
    QProcess first;
    startFirst(first);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program, {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    // A lock left by an instance that died does not keep the next start out.
    first.kill();
    first.waitForFinished(10000);
    QFile::remove(socket);
    QProcess third;
    startFirst(third);
    EXPECT_EQ(third.state(), QProcess::Running);
    third.kill();
    third.waitForFinished(10000);
}

} // namespace
