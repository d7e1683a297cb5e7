// The update check against a loopback server: answer codes, request failures, the bad-answer record, newer
// files, downloads with their refusals, the hand-over file and the updater's start.
#include "maintenance/UpdDlg.h"

#include "core/MainSettings.h"
#include "core/ShellSub.h"
#include "maintenance/UpdInfo.h"
#include "platform/IniFile.h"
#include "support/LoopbackServer.h"
#include "support/RecordingOpener.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QByteArray answerWith(const QList<QByteArray>& files, const QByteArray& head = "<count>%n</count>")
{
    QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<update>\r\n<app>Quenrid215</app>\r\n";
    xml += QByteArray(head).replace("%n", QByteArray::number(files.size())) + "\r\n";
    for (const QByteArray& f : files)
        xml += "<file>" + f + "</file>\r\n";
    xml += "<dlpath>/dl/</dlpath>\r\n</update>\r\n";
    return xml;
}

QByteArray fileElement(const QByteArray& name, const QByteArray& size, const QByteArray& more = {})
{
    return "<name>" + name + "</name><size>" + size +
           "</size><datetime>2030/01/02 03:04:05</datetime><dlfile>" + name + ".new</dlfile><dlparam>" +
           name + "</dlparam>" + more;
}

class UpdDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_root = m_dir.path() + "/";
        ProgramFolder = m_root + "program/";
        DataRootFolder = m_root + "dataroot/";
        QDir().mkpath(ProgramFolder);
        QDir().mkpath(DataRootFolder + "update");
        UpdateDomain = m_server.host();
        UpdatePath = DefaultUpdatePath;
        UpdateAppPath = DefaultUpdateAppPath;
        SetNetworkCheck([] { return true; });
    }
    void TearDown() override
    {
        SetNetworkCheck({});
        UpdateDomain = DefaultUpdateDomain;
        SetShellOpener(nullptr);
    }

    QString updateFolder() const { return DataRootFolder + "update/"; }
    // Every file below the temporary root, relative to it.
    QStringList allFiles() const
    {
        QStringList files;
        QDirIterator it(m_root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next().mid(m_root.size()));
        files.sort();
        return files;
    }

    QTemporaryDir m_dir;
    QString m_root;
    LoopbackServer m_server;
};

TEST_F(UpdDlgTest, AnswerCodesAreRecordedAndReadAsNothingToUpdate)
{
    const QByteArray good = fileElement("a.dll", "3");
    const QByteArray decl = "<?xml version=\"1.0\"?>\r\n";
    struct Case
    {
        QByteArray answer;
        int code; // what the reader found; 1000 and 0 leave no record
    };
    const QList<Case> cases = {
        {answerWith({good}), 0},
        {answerWith({}, "<count>0</count>"), 1000},
        {answerWith({}, ""), 1000},
        {"<html><body>Server Error</body></html>", 2000},
        {decl + "<other><app>Quenrid215</app></other>", 2001},
        {decl + "<update><count>1</count></update>", 2002},
        {decl + "<update><app>Another99</app></update>", 2003},
        {answerWith({good}, "<count>one</count>"), 2005},
        {answerWith({good}, "<count>2</count>"), 2006},
        {decl + "<update><app>quenrid215</app><count>1</count><FILE>" + good + "</FILE></update>", 2007},
        {decl + "<update><app>QUENRID215</app><count>1</count><file>" + good + "</file><dlpath/></update>",
         2008},
        {answerWith({"<size>1</size><datetime>2030/01/02 "
                     "03:04:05</datetime><dlfile>a</dlfile><dlparam>a</dlparam>"}),
         2101},
        {answerWith({"<name>a</name><datetime>2030/01/02 "
                     "03:04:05</datetime><dlfile>a</dlfile><dlparam>a</dlparam>"}),
         2102},
        {answerWith({fileElement("a", "12x")}), 2103},
        {answerWith({"<name>a</name><size>1</size><dlfile>a</dlfile><dlparam>a</dlparam>"}), 2104},
        {answerWith({"<name>a</name><size>1</size><datetime>2030/02/30 03:04:05</datetime><dlfile>a</dlfile>"
                     "<dlparam>a</dlparam>"}),
         2105},
        {answerWith(
             {"<name>a</name><size>1</size><datetime>2030/01/02 03:04:05</datetime><dlparam>a</dlparam>"}),
         2106},
        {answerWith(
             {"<name>a</name><size>1</size><datetime>2030/01/02 03:04:05</datetime><dlfile>a</dlfile>"}),
         2107},
        {decl + "<update><app>Quenrid215</app>", 9999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer.toStdString());
        QFile::remove(updateFolder() + "upderr.dat");
        m_server.route("/check/quenrid215/", c.answer);
        TUpdateInfo info;
        EXPECT_EQ(ParseUpdateInfo(c.answer, info), c.code);

        TUpdateDialog update;
        ASSERT_TRUE(update.ConnectAndCheck());
        EXPECT_EQ(update.LastCode(), c.code == 0 ? 0 : 1000);
        const QByteArray record = ReadFileBytes(updateFolder() + "upderr.dat");
        if (c.code == 0 || c.code == 1000)
            EXPECT_TRUE(record.isEmpty());
        else
            EXPECT_EQ(record,
                      "----------\r\n" + QByteArray::number(c.code) + "\r\n----------\r\n\r\n" + c.answer);
    }
    EXPECT_EQ(m_server.requests().last().userAgent, "Quenrid215");
}

TEST_F(UpdDlgTest, AnswerFieldsAreRead)
{
    TUpdateInfo info;
    const QByteArray answer = answerWith(
        {fileElement("a.dll", "3", "<path>sub\\</path><version>3.2.0.3</version><restart>1</restart>"),
         fileElement("b.dat", "-2",
                     "<restart>yes</restart><jpname>" + QByteArray("\x83\x66\x81\x5B\x83\x5E") +
                         "</jpname>")},
        "<count>%n</count><info><date>2026/04/01 extra</date></info>");
    ASSERT_EQ(ParseUpdateInfo(answer, info), 0);
    EXPECT_EQ(info.noticeDate, "2026/04/01");
    EXPECT_EQ(info.downloadPath, "/dl/");
    ASSERT_EQ(info.files.size(), 2);
    const TUpdateFileRec& a = info.files[0];
    EXPECT_EQ(a.path, "sub\\");
    EXPECT_EQ(a.version, "3.2.0.3");
    EXPECT_EQ(a.size, 3);
    EXPECT_EQ(a.datetime, QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5)));
    EXPECT_TRUE(a.restart);
    EXPECT_EQ(a.dlfile, "a.dll.new");
    EXPECT_FALSE(info.files[1].restart) << "only \"1\" asks for a restart";
    EXPECT_EQ(info.files[1].jpname, QStringLiteral("データ"));
    EXPECT_EQ(info.files[1].size, -2);
}

TEST_F(UpdDlgTest, ABadAnswerWithoutTheUpdateFolderFailsTheCheck)
{
    QDir(updateFolder()).removeRecursively();
    const QByteArray page(100 * 1024, 'x');
    m_server.route("/check/quenrid215/", page);
    TUpdateDialog update;
    EXPECT_FALSE(update.ConnectAndCheck());
    EXPECT_EQ(update.LastCode(), 2000);
    EXPECT_EQ(update.LastMessage(), QStringLiteral("接続できませんでした  "));

    // With the folder the record keeps the first 64 KB.
    QDir().mkpath(updateFolder());
    EXPECT_TRUE(update.ConnectAndCheck());
    EXPECT_EQ(ReadFileBytes(updateFolder() + "upderr.dat").size(), 32 + 64 * 1024);
}

TEST_F(UpdDlgTest, RequestFailuresMapToTheirCodes)
{
    LoopbackServer::Route slow;
    slow.delayMs = 5000;
    slow.body = answerWith({});
    m_server.route("/check/quenrid215/", slow);
    LoopbackServer::Route dropped;
    dropped.drop = true;
    m_server.route("/drop/quenrid215/", dropped);
    LoopbackServer::Route missing;
    missing.status = 404;
    missing.body = "<?xml version=\"1.0\"?><update><app>Quenrid215</app></update>";
    m_server.route("/gone/quenrid215/", missing);
    struct Case
    {
        QString domain;
        QString path;
        int code;
        int timeoutMs = TUpdateDialog::DefaultTimeoutMs; // short only where the wait is the point
    };
    const QList<Case> cases = {
        {m_server.host(), "/check/", 1501, 200},
        {"update.invalid", "/check/", 1502},
        {QStringLiteral("127.0.0.1:%1").arg(LoopbackServer::closedPort()), "/check/", 1503},
        {m_server.host(), "/gone/", 404},
        {m_server.host(), "/drop/", ueConnectionAborted},
        {"bad host/name", "/check/", ueInvalidUrl},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.domain.toStdString() + c.path.toStdString());
        UpdateDomain = c.domain;
        UpdatePath = c.path;
        TUpdateDialog update;
        update.SetTimeoutMs(c.timeoutMs);
        EXPECT_FALSE(update.ConnectAndCheck());
        EXPECT_EQ(update.LastCode(), c.code);
        EXPECT_EQ(update.LastMessage(), QStringLiteral("接続できませんでした  "));
        EXPECT_FALSE(update.Connected());
        EXPECT_FALSE(update.FetchNotice()) << "nothing goes on without a check";
    }
    EXPECT_FALSE(QFileInfo::exists(updateFolder() + "upderr.dat")) << "an error page is not an answer";
}

TEST_F(UpdDlgTest, NoNetworkIsToldBeforeAnyRequest)
{
    SetNetworkCheck([] { return false; });
    TUpdateDialog update;
    EXPECT_FALSE(update.CheckInternet());
    EXPECT_EQ(update.LastMessage(), QStringLiteral("インターネットに接続できない環境です  "));
    EXPECT_TRUE(m_server.requests().isEmpty());
}

TEST_F(UpdDlgTest, TheEnvironmentsProxyCarriesTheRequests)
{
    LoopbackServer proxy;
    proxy.route("http://update.invalid/check/quenrid215/", answerWith({}, ""));
    qputenv("http_proxy", QStringLiteral("http://127.0.0.1:%1").arg(proxy.port()).toLatin1());
    UpdateDomain = "update.invalid";
    TUpdateDialog update;
    const bool ok = update.ConnectAndCheck();
    qunsetenv("http_proxy");
    EXPECT_TRUE(ok);
    EXPECT_EQ(update.LastCode(), 1000);
    EXPECT_EQ(proxy.paths(), QStringList{"http://update.invalid/check/quenrid215/"});
}

TEST(UpdDlgVersions, PartsCompareAsNumbers)
{
    struct Case
    {
        const char* a;
        const char* b;
        bool greater;
    };
    for (const Case& c : std::initializer_list<Case>{{"3.2.0.10", "3.2.0.3", true},
                                                     {"3.2.0.3", "3.2.0.10", false},
                                                     {"3.2", "3.2.0.0", false},
                                                     {"3.2.0.0.9", "3.2", false},
                                                     {"3.10", "3.9.9.9", true},
                                                     {"1", "", true},
                                                     {"x.1", "0.1", false},
                                                     {"", "", false}})
        EXPECT_EQ(VersionGreater(c.a, c.b), c.greater) << c.a << " > " << c.b;
}

TEST(UpdDlgDateTime, FixedCharacterPositions)
{
    EXPECT_EQ(ParseUpdateDateTime("2030-01-02T03:04:05"), QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5)));
    for (const char* bad : {"2030/01/02 03:04", "2030/13/02 03:04:05", "2030/01/02 24:00:00",
                            "2030/0a/02 03:04:05", "0000/01/01 00:00:00"})
        EXPECT_FALSE(ParseUpdateDateTime(bad).isValid()) << bad;
}

class UpdDlgDownloadTest : public UpdDlgTest
{
protected:
    void SetUp() override
    {
        UpdDlgTest::SetUp();
        // Installed: sub/a.dll at 3.2.0.10, two days before the listed date; b.dat newer than its listing.
        WriteFileBytes(ProgramFolder + "Versions.ini", "[FILES]\r\nsub/a.dll=3.2.0.10\r\nb.dat=1.0\r\n");
        install("sub/a.dll", QDateTime(QDate(2030, 1, 1), QTime(0, 0)));
        install("b.dat", QDateTime(QDate(2031, 1, 1), QTime(0, 0)));
        m_updater = ReadFileBytes(TOVAREL_PROGRAM_DIR "updateapp.exe");
        ASSERT_FALSE(m_updater.isEmpty());
        m_server.route("/app/", m_updater);
        m_server.route("/dl/pa/", "AAA");
        m_server.route("/dl/pc/", "CCCCC");
    }

    void install(const QString& relative, const QDateTime& time)
    {
        const QString path = ProgramFolder + relative;
        WriteFileBytes(path, "old");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
    }

    // a.dll (older version listed, later date), b.dat (installed is newer), c.exe (not installed).
    QByteArray answer(const QByteArray& cRestart = "0", const QByteArray& aExtra = {})
    {
        return answerWith(
            {"<name>a.dll</name><path>sub\\</path><version>3.2.0.3</version><size>3</size>"
             "<datetime>2030/01/03 00:00:00</datetime><dlfile>a.dll</dlfile><dlparam>pa</dlparam>" +
                 aExtra,
             "<name>b.dat</name><version>1.0</version><size>2</size>"
             "<datetime>2030/06/01 00:00:00</datetime><dlfile>b.dat</dlfile><dlparam>pb</dlparam>",
             "<name>c.exe</name><size>5</size><datetime>2020/01/01 00:00:00</datetime>"
             "<restart>" +
                 cRestart + "</restart><dlfile>c.exe</dlfile><dlparam>pc</dlparam>"});
    }

    bool check(TUpdateDialog& update, const QByteArray& body)
    {
        m_server.route("/check/quenrid215/", body);
        return update.ConnectAndCheck() && update.LastCode() == 0;
    }

    QByteArray m_updater;
};

TEST_F(UpdDlgDownloadTest, NewerFilesAreDownloadedAndHandedOver)
{
    TUpdateDialog update;
    ASSERT_TRUE(check(update, answer("1")));
    ASSERT_TRUE(update.FindUpdates());
    QList<bool> marked;
    for (const TUpdateFileRec& f : update.Files())
        marked.append(f.toUpdate);
    EXPECT_EQ(marked, (QList<bool>{true, false, true}))
        << "3.2.0.3 is not newer than 3.2.0.10, but its later date marks it";
    EXPECT_TRUE(update.RestartNeeded());

    ASSERT_TRUE(update.DownloadUpdates());
    EXPECT_EQ(ReadFileBytes(updateFolder() + "a.dll"), "AAA");
    EXPECT_EQ(ReadFileBytes(updateFolder() + "c.exe"), "CCCCC");
    EXPECT_EQ(ReadFileBytes(updateFolder() + "updateapp.exe"), m_updater);
    EXPECT_FALSE(m_server.paths().contains("/dl/pb/"));

    TMemIniFile info(updateFolder() + "updateinfo.dat");
    EXPECT_EQ(info.ReadSections(), (QStringList{"APP", "FILE1", "FILE2"}));
    EXPECT_EQ(info.ReadString("APP", "Name", ""), "Tovarel");
    EXPECT_EQ(info.ReadString("APP", "Ident", ""), "quenrid215");
    EXPECT_EQ(info.ReadString("APP", "Exe", ""),
              QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    EXPECT_EQ(info.ReadString("APP", "Run", ""), "1");
    EXPECT_EQ(info.ReadSectionValues("FILE1"),
              (QStringList{"Name=a.dll", "Size=3", "DateTime=2030/01/03 00:00:00", "DLFile=a.dll"}));
    EXPECT_EQ(info.ReadString("FILE2", "Name", ""), "c.exe");

    // A restart is needed: the updater is started and not waited for.
    QList<TShellOpenRequest> starts;
    SetShellOpener(std::make_unique<RecordingOpener>(&starts));
    EXPECT_EQ(update.RunUpdater(), 0);
    ASSERT_EQ(starts.size(), 1);
    EXPECT_EQ(starts[0].file, updateFolder() + "updateapp.exe");
    EXPECT_EQ(starts[0].parameters, "-auto");
    EXPECT_EQ(starts[0].folder, updateFolder());
    EXPECT_TRUE(starts[0].noWait);
    EXPECT_EQ(QFile::permissions(updateFolder() + "updateapp.exe") & QFile::Permissions(0x7077),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(QFileInfo::exists(updateFolder() + "runapp.log"));
}

TEST_F(UpdDlgDownloadTest, WithoutRestartTheUpdaterRunsToItsEnd)
{
    const QString log = m_root + "updater.log";
    qputenv("TOVAREL_STANDIN_LOG", QFile::encodeName(log));
    TUpdateDialog update;
    ASSERT_TRUE(check(update, answer()));
    ASSERT_TRUE(update.FindUpdates());
    EXPECT_FALSE(update.RestartNeeded());
    ASSERT_TRUE(update.DownloadUpdates());
    EXPECT_EQ(TMemIniFile(updateFolder() + "updateinfo.dat").ReadString("APP", "Run", ""), "0");
    EXPECT_EQ(update.RunUpdater(), 0);
    qunsetenv("TOVAREL_STANDIN_LOG");
    // It has already ended, started in its own folder with "-auto".
    QString folder = updateFolder();
    folder.chop(1);
    EXPECT_EQ(ReadFileBytes(log), QFile::encodeName(folder) + "\t-auto\n");
}

TEST_F(UpdDlgDownloadTest, RefusedStartsAreLogged)
{
    class Refusing : public TShellOpener
    {
    public:
        explicit Refusing(int code) : m_code(code) {}
        int Open(const TShellOpenRequest&) override { return m_code; }
        int m_code;
    };
    for (const auto& [error, result] : {std::pair{UpdaterStartRefused, 9}, std::pair{2, 1}}) {
        SetShellOpener(std::make_unique<Refusing>(error));
        TUpdateDialog update;
        EXPECT_EQ(update.RunUpdater(), result);
        EXPECT_EQ(ReadFileBytes(updateFolder() + "runapp.log"), QByteArray::number(error) + "\r\n");
    }
}

TEST_F(UpdDlgDownloadTest, BadDownloadsAndUnsafeNamesAreRefused)
{
    LoopbackServer::Route notFound;
    notFound.status = 404;
    notFound.body = "AAA";
    LoopbackServer::Route shortBody;
    shortBody.body = "AAA";
    shortBody.sendOnly = 2;
    LoopbackServer::Route longBody;
    longBody.body = "AAAA";
    LoopbackServer::Route endless;
    endless.body = "AA";
    endless.noLength = true;
    struct Case
    {
        const char* what;
        LoopbackServer::Route route; // of /dl/pa/
        QByteArray aExtra;           // overriding elements of a.dll
        bool fetched;                // whether any download was asked for
    };
    const QList<Case> cases = {
        {"error page", notFound, {}, true},
        {"body cut short", shortBody, {}, true},
        {"longer than listed", longBody, {}, true},
        {"shorter than listed", endless, {}, true},
        {"separator in dlfile", {}, "<dlfile>sub/a.dll</dlfile>", false},
        {"backslash in dlfile", {}, "<dlfile>..\\a.dll</dlfile>", false},
        {"dot-dot dlfile", {}, "<dlfile>..</dlfile>", false},
        {"drive in dlfile", {}, "<dlfile>C:a.dll</dlfile>", false},
        {"dot-dot path", {}, "<path>..\\..\\</path>", false},
        {"absolute path", {}, "<path>/etc/</path>", false},
        {"drive path", {}, "<path>C:\\Windows\\</path>", false},
    };
    const QStringList before = allFiles();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The first element of a kind is the one read: overrides go in front.
        QByteArray body = answer();
        if (!c.aExtra.isEmpty())
            body.replace("<name>a.dll</name>", "<name>a.dll</name>" + c.aExtra);
        if (c.fetched)
            m_server.route("/dl/pa/", c.route);
        m_server.settle();
        const qsizetype requests = m_server.requests().size();
        TUpdateDialog update;
        ASSERT_TRUE(check(update, body));
        update.FindUpdates();
        EXPECT_FALSE(update.DownloadUpdates());
        EXPECT_EQ(allFiles(), before) << "no download, no hand-over file, nothing outside the update folder";
        // Paths, not counts: the network layer may send a request again on a fresh connection.
        const QStringList asked = m_server.paths().mid(requests);
        EXPECT_FALSE(asked.isEmpty()) << "the check itself";
        EXPECT_EQ(asked.contains("/dl/pa/"), c.fetched);
        EXPECT_FALSE(m_server.paths().contains("/app/"));
    }
}

TEST_F(UpdDlgDownloadTest, NoticeTextIsReadAsUtf8)
{
    m_server.route("/info/quenrid215/",
                   "\xEF\xBB\xBF" + QStringLiteral("新製品のお知らせ\r\n\r\n第二行 ☃\n").toUtf8());
    TUpdateDialog update;
    EXPECT_FALSE(update.FetchNotice()) << "not before a check";
    ASSERT_TRUE(check(update, answer()));
    ASSERT_TRUE(update.FetchNotice());
    EXPECT_EQ(update.NoticeLines(),
              (QStringList{QStringLiteral("新製品のお知らせ"), "", QStringLiteral("第二行 ?")}));
}

} // namespace
