// The notices window against a loopback server: the cache, the start-up flow, the notice command and the
// update offer.
#include "maintenance/Info.h"

#include "addressbook/AdrsListServices.h"
#include "core/MainSettings.h"
#include "core/ShellSub.h"
#include "maintenance/UpdInfo.h"
#include "platform/Cp932.h"
#include "support/LoopbackServer.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/RecordingOpener.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>

namespace {

const QString Check = QStringLiteral("/check/quenrid215/");
const QString Notice = QStringLiteral("/info/quenrid215/");

// An answer with a notice date (none when empty) and, when asked, one file that is not installed.
QByteArray answer(const QByteArray& date, bool withFile = false, bool restart = false)
{
    QByteArray xml = "<?xml version=\"1.0\"?>\r\n<update><app>Quenrid215</app>";
    if (!date.isEmpty())
        xml += "<info><date>" + date + "</date></info>";
    if (withFile)
        xml += QByteArray(
                   "<count>1</count><dlpath>/dl/</dlpath><file><name>new.dat</name><size>3</size>"
                   "<datetime>2030/01/01 00:00:00</datetime><dlfile>new.dat</dlfile><dlparam>n</dlparam>") +
               (restart ? "<restart>1</restart>" : "") + "</file>";
    return xml + "</update>\r\n";
}

class InfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ProgramFolder = m_dir.path() + "/program/";
        DataRootFolder = m_dir.path() + "/dataroot/";
        QDir().mkpath(ProgramFolder);
        QDir().mkpath(DataRootFolder);
        UpdateDomain = m_server.host();
        SetNetworkCheck([] { return true; });
        FirstRun = false;
        MainSettings.Info = true;
        MainSettings.UpdateCheck = true;
        m_server.route("/dl/n/", "new");
        m_server.route("/app/", "#!/bin/sh\n");
    }
    void TearDown() override
    {
        SetNetworkCheck({});
        SetShellOpener(nullptr);
        UpdateDomain = DefaultUpdateDomain;
        FirstRun = false;
        MainSettings = TMainSettings();
    }

    QByteArray cache() const { return ReadFileBytes(NoticeCachePath()); }

    QTemporaryDir m_dir;
    LoopbackServer m_server;
    QWidget m_list;
};

TEST_F(InfoTest, CachedAndFetchedNotices)
{
    const QString oldText = QStringLiteral("前回のお知らせ\n二行目");
    struct Case
    {
        const char* what;
        QByteArray cached; // info.dat before (none when empty)
        QByteArray serverDate;
        QByteArray notice; // the server's notice text (UTF-8)
        QString shown;
        bool fetched;
        QByteArray cachedAfter; // info.dat afterwards (none when empty)
    };
    const QByteArray oldCache =
        "2026/05/01\r\n" + Cp932::fromUnicode(QStringLiteral("前回のお知らせ\r\n二行目"));
    const QList<Case> cases = {
        {"equal date: the cache without a fetch", oldCache, "2026/05/01", "unused", oldText, false, oldCache},
        {"older server date", oldCache, "2026/04/30", "unused", oldText, false, oldCache},
        {"newer date: fetched and cached", oldCache, "2026/06/01", QStringLiteral("新着\n").toUtf8(),
         QStringLiteral("新着"), true, "2026/06/01\r\n" + Cp932::fromUnicode(QStringLiteral("新着"))},
        {"an empty notice shows the greeting and caches the date line",
         {},
         "2026/06/01",
         "",
         NoticeGreeting,
         true,
         "2026/06/01\r\n"},
        {"nothing cached, no date: the greeting, no cache", {}, "", "unused", NoticeGreeting, false, {}},
        {"a cached empty notice shows the greeting", "2026/06/01\r\n", "2026/06/01", "unused", NoticeGreeting,
         false, "2026/06/01\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(NoticeCachePath());
        if (!c.cached.isEmpty())
            WriteFileBytes(NoticeCachePath(), c.cached);
        m_server.route(Check, answer(c.serverDate));
        m_server.route(Notice, c.notice);
        const qsizetype before = m_server.requests().size();
        {
            TInfoDialog dialog(&m_list);
            ASSERT_TRUE(dialog.FetchUpdateInfo(true));
            dialog.ShowNotice(false);
            EXPECT_EQ(dialog.NoticeText(), c.shown);
        }
        EXPECT_EQ(m_server.paths().mid(before).contains(Notice), c.fetched);
        EXPECT_EQ(cache(), c.cachedAfter);
    }
}

TEST_F(InfoTest, FirstRunShowsTheGreetingOnlyThenOffersTheUpdate)
{
    FirstRun = true;
    m_server.route(Check, answer("2026/06/01", true));
    MessageRecorder messages;
    messages.answer(7); // no update now
    ModalDriver driver;
    driver.on("InfoDialog", [](QWidget* w) {
        auto* dialog = static_cast<TInfoDialog*>(w);
        EXPECT_EQ(dialog->NoticeText(), NoticeGreeting);
        dialog->accept();
    });
    const TListCommandResult result = RunStartupNotices(&m_list);
    EXPECT_EQ(driver.handled(), 1) << "the notice is not shown again at the first start";
    EXPECT_FALSE(result.updaterStarted);
    EXPECT_EQ(result.noticeAtStart, true);
    EXPECT_EQ(m_server.paths(), QStringList{Check});
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().flags, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion);
    EXPECT_EQ(messages.last().owner, &m_list);
    EXPECT_FALSE(messages.last().text.contains(QStringLiteral("再起動")));
    EXPECT_FALSE(QFile::exists(NoticeCachePath()));
}

TEST_F(InfoTest, UntickingTheUpdateBoxSkipsThatStartsCheck)
{
    m_server.route(Check, answer("2026/06/01", true));
    m_server.route(Notice, QStringLiteral("お知らせ").toUtf8());
    MessageRecorder messages; // no update question may come
    ModalDriver driver;
    driver.on("InfoDialog", [](QWidget* w) {
        auto* dialog = static_cast<TInfoDialog*>(w);
        EXPECT_EQ(dialog->NoticeText(), QStringLiteral("お知らせ"));
        dialog->findChild<QCheckBox*>("chkUpdate")->setChecked(false);
        dialog->accept();
    });
    const TListCommandResult result = RunStartupNotices(&m_list);
    EXPECT_EQ(driver.handled(), 1);
    EXPECT_FALSE(MainSettings.UpdateCheck);
    EXPECT_EQ(result.updateCheckAtStart, false);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_FALSE(m_server.paths().contains("/app/"));
}

TEST_F(InfoTest, BothOptionsOffOrAQuietFailureOpenNothing)
{
    MessageRecorder messages;
    MainSettings.Info = false;
    MainSettings.UpdateCheck = false;
    RunStartupNotices(&m_list);
    EXPECT_TRUE(m_server.requests().isEmpty());
    MainSettings.Info = true;
    UpdateDomain = QStringLiteral("127.0.0.1:%1").arg(LoopbackServer::closedPort());
    const TListCommandResult result = RunStartupNotices(&m_list);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(messages.count(), 0) << "the start-up fails silently";
}

TEST_F(InfoTest, NoticeCommandTellsWhyItCannotOpen)
{
    MessageRecorder messages;
    messages.answer(1).answer(1);
    ModalDriver driver; // no notices window may come up
    SetNetworkCheck([] { return false; });
    EXPECT_FALSE(RunInfoCommand(&m_list).ok);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("インターネットに接続できない環境です  "));
    EXPECT_EQ(messages.last().flags, unsigned(MsgSeam::MbIconExclamation));

    SetNetworkCheck([] { return true; });
    UpdateDomain = QStringLiteral("127.0.0.1:%1").arg(LoopbackServer::closedPort());
    EXPECT_FALSE(RunInfoCommand(&m_list).ok);
    ASSERT_EQ(messages.count(), 2);
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral(
        "お知らせ情報の取得がおこなえません  \r\n\r\n接続できませんでした  (1503)  \r\n\r\n")));
    EXPECT_EQ(messages.last().flags, unsigned(MsgSeam::MbIconInformation));
    EXPECT_EQ(driver.handled(), 0);
}

TEST_F(InfoTest, NoticeCommandShowsTheNoticeAndAnswersTheBoxes)
{
    m_server.route(Check, answer("2026/06/01"));
    m_server.route(Notice, QStringLiteral("お知らせ").toUtf8());
    ModalDriver driver;
    driver.on("InfoDialog", [](QWidget* w) {
        auto* dialog = static_cast<TInfoDialog*>(w);
        EXPECT_EQ(dialog->NoticeText(), QStringLiteral("お知らせ"));
        dialog->findChild<QCheckBox*>("chkInfo")->setChecked(false);
        dialog->accept();
    });
    const TListCommandResult result = RunInfoCommand(&m_list);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.noticeAtStart, false);
    EXPECT_EQ(result.updateCheckAtStart, true);
    EXPECT_FALSE(m_server.paths().contains("/app/")) << "the command offers no update";
}

TEST_F(InfoTest, UpdateOfferOutcomes)
{
    class Refusing : public TShellOpener
    {
    public:
        int Open(const TShellOpenRequest&) override { return UpdaterStartRefused; }
    };
    struct Case
    {
        const char* what;
        bool restart;
        bool updaterMissing;
        bool refuse;
        QString message; // the last message's start after the question (empty: none)
        bool restartRequested;
    };
    const QList<Case> cases = {
        {"restart: the program ends", true, false, false, {}, true},
        {"no restart: the program goes on", false, false, false, {}, false},
        {"download fails", true, true, false,
         QStringLiteral("アップデートファイルがダウンロードできませんでした"), false},
        {"start refused", true, false, true, QStringLiteral("アップデートを中止しました  "), false},
    };
    MainSettings.Info = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_server.route(Check, answer("", true, c.restart));
        LoopbackServer::Route updater;
        updater.status = c.updaterMissing ? 404 : 200;
        updater.body = "#!/bin/sh\n";
        m_server.route("/app/", updater);
        QList<TShellOpenRequest> starts;
        if (c.refuse)
            SetShellOpener(std::make_unique<Refusing>());
        else
            SetShellOpener(std::make_unique<RecordingOpener>(&starts));
        MessageRecorder messages;
        messages.answer(6);
        if (!c.message.isEmpty())
            messages.answer(1);
        const TListCommandResult result = RunStartupNotices(&m_list);
        EXPECT_EQ(result.updaterStarted, c.restartRequested);
        ASSERT_EQ(messages.count(), c.message.isEmpty() ? 1 : 2);
        EXPECT_EQ(
            messages.messages()[0].text.contains(QStringLiteral("※自動的にアプリケーションが再起動されます")),
            c.restart);
        if (!c.message.isEmpty()) {
            EXPECT_TRUE(messages.last().text.startsWith(c.message));
        }
        EXPECT_EQ(starts.size(), c.refuse || c.updaterMissing ? 0 : 1);
        EXPECT_TRUE(m_list.isEnabled());
    }
}

TEST(NoticeCache, ReadsDamagedFilesSafely)
{
    struct Case
    {
        QByteArray bytes;
        QString date;
        QString text;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"2026/05/01\r\nline 1\r\nline 2\r\n", "2026/05/01", "line 1\nline 2"},
             {"2026/05/0", "", ""},
             {"2026/05/01", "2026/05/01", ""},
             {"2026/5/1\r\nabc", "2026/5/1", "abc"},
             {"2026/05/0\x88", "2026/05/0", ""},
         }) {
        const TNoticeCache cache = ReadNoticeCache(c.bytes);
        EXPECT_EQ(cache.date, c.date) << c.bytes.toStdString();
        EXPECT_EQ(cache.text, c.text) << c.bytes.toStdString();
    }
    EXPECT_EQ(NoticeCacheBytes("2026/05/01", QStringLiteral("a\nb")), "2026/05/01\r\na\r\nb");
}

} // namespace
