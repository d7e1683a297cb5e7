// Tests of the automation-driven map adaptors with scripted objects and windows.
#include "links/AutomationViews.h"

#include "links/AutomationFakes.h"
#include "links/LinkFixtures.h"
#include "support/MessageRecorder.h"

#include <QCoreApplication>

#include <dlfcn.h>

#include <map>

namespace {

// The program's window exists for a number of polls.
class ScriptedWindows : public TOutsideWindows
{
public:
    explicit ScriptedWindows(int polls) : m_polls(polls) {}
    bool Exists(qint64 handle) const override { return handle == 7 && m_polls-- > 0; }
    void BringToFront(qint64 handle) override { fronts << handle; }
    qint64 FindByTitle(const QString& text) const override { return text == "Super Mapple Digital" ? 9 : 0; }
    QList<qint64> fronts;

private:
    mutable int m_polls;
};

TMapSearchParams request(int kind, quint32 lat, quint32 lon, const char* address, quint8 exitHook = 1)
{
    TMapSearchParams p;
    p.SearchKind = kind;
    p.Latitude = lat;
    p.Longitude = lon;
    p.Address = QString::fromUtf8(address);
    p.ExitHook = exitHook;
    p.MapClass = -1;
    p.Zoom = 300;
    return p;
}

// The hook library's call counts, read through a handle of the test's own.
class HookCounts
{
public:
    HookCounts()
    {
        m_handle = dlopen(TOVAREL_PROGRAM_DIR "PAExtMsg.dll", RTLD_NOW);
        EXPECT_TRUE(m_handle);
        m_calls = reinterpret_cast<ExitMsgHookCallsProc>(dlsym(m_handle, "ExitMsgHookCalls"));
        m_calls(&m_begins, &m_ends);
    }
    ~HookCounts() { dlclose(m_handle); }
    std::pair<int, int> since() const
    {
        int32_t b = 0, e = 0;
        m_calls(&b, &e);
        return {b - m_begins, e - m_ends};
    }

private:
    void* m_handle = nullptr;
    ExitMsgHookCallsProc m_calls = nullptr;
    int32_t m_begins = 0, m_ends = 0;
};

class ProAtlasWTest : public ::testing::Test
{
protected:
    void SetUp() override { m_previous = SetOutsideWindows(std::make_unique<ScriptedWindows>(3)); }
    void TearDown() override
    {
        SetOutsideWindows(std::move(m_previous));
        TAutomationView::StartWait = 10000;
    }
    // Runs program 2 at version on p with the object script; answers the position handed back.
    std::pair<quint32, quint32> run(int version, const TMapSearchParams& p,
                                    const std::function<void(ScriptedObject&)>& script, QStringList& log)
    {
        MapPresence.proAtlasWVersion = version;
        ScriptedClass cls(ProAtlasWProgId(version), [&](ScriptedObject& o) {
            o.answers["hwndMain"] = [](const QVariantList&) { return QVariant(7); };
            script(o);
        });
        TProAtlasWView view;
        view.SetProgramFolder(QStringLiteral(TOVAREL_PROGRAM_DIR));
        view.SetSearchParams(p);
        view.Show();
        log = cls.log;
        return view.GetLocation();
    }
    std::unique_ptr<TOutsideWindows> m_previous;
};

TEST_F(ProAtlasWTest, VersionOneWalksTheLayersAndNeverSearchesTheAddress)
{
    MessageRecorder messages;
    HookCounts hooks;
    QStringList log;
    run(1, request(1, 128412345, 503315678, "東京都千代田区"),
        [](ScriptedObject& o) {
            o.answers["NumLayer"] = [](const QVariantList&) { return QVariant(4); };
            o.answers["LayerName"] = [](const QVariantList& a) { return QVariant("L" + a[0].toString()); };
            o.answers["ChangeLayer"] = [](const QVariantList& a) { return QVariant(a[0] == "L1"); };
        },
        log);
    EXPECT_EQ(log.mid(0, 10), QStringList({"hwndMain()", "MoveTo(35/40/12345,139/48/35678)", "NumLayer()",
                                           "LayerName(3)", "ChangeLayer(L3)", "LayerName(2)", "ChangeLayer(L2)",
                                           "LayerName(1)", "ChangeLayer(L1)", "hwndMain()"}));
    EXPECT_EQ(log.mid(10), QStringList({"EnableAddedText=false", "EnableMark=true", "SetEventWindow(window,2048)"}));
    // Version 1 takes no exit hook.
    EXPECT_EQ(hooks.since(), std::make_pair(0, 0));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(ProAtlasWTest, VersionTwoHandsBackTheMarkAndHooksTheExitOnce)
{
    MessageRecorder messages;
    HookCounts hooks;
    QStringList log;
    const auto marked = [](ScriptedObject& o) {
        o.answers["SetEventWindow"] = [](const QVariantList& a) {
            QCoreApplication::postEvent(a[0].value<QObject*>(), new TWindowMessageEvent(a[1].toInt()));
            return QVariant();
        };
        o.answers["MarkLatitude"] = [](const QVariantList&) { return QVariant("36/01/00002"); };
        o.answers["MarkLongitude"] = [](const QVariantList&) { return QVariant("140/00/59999"); };
    };
    EXPECT_EQ(run(2, request(0, 128412345, 503315678, ""), marked, log),
              std::make_pair(129660002u, 504059999u));
    EXPECT_TRUE(log.contains("ChangeLayer()")); // the layer of LayerName(6)
    EXPECT_EQ(hooks.since(), std::make_pair(1, 1));
    // Without a mark, the given position.
    EXPECT_EQ(run(2, request(0, 128412345, 503315678, ""), [](ScriptedObject&) {}, log),
              std::make_pair(128412345u, 503315678u));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(ProAtlasWTest, LaterVersionsHandBackThePolledPosition)
{
    MessageRecorder messages;
    QStringList log;
    int polls = 0;
    const auto moving = [&polls](ScriptedObject& o) {
        o.answers["LatitudeOfMap"] = [&polls](const QVariantList&) { return QVariant(130000000 + ++polls); };
        o.answers["LongitudeOfMap"] = [](const QVariantList&) { return QVariant(500000000); };
        // The address is found, so the coordinates are not used.
        o.answers["AddressSearch"] = [](const QVariantList&) { return QVariant(true); };
    };
    const auto back = run(4, request(1, 128412345, 503315678, "東京都"), moving, log);
    EXPECT_EQ(back, std::make_pair(130000000u + quint32(polls), 500000000u));
    EXPECT_GE(polls, 1);
    EXPECT_FALSE(log.join(u' ').contains("MoveTo"));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(ProAtlasWTest, AProgramThatNeverAnswersIsGivenUpAndTheHookEnded)
{
    TAutomationView::StartWait = 50;
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    HookCounts hooks;
    QStringList log;
    int tries = 0;
    run(3, request(0, 128412345, 503315678, ""),
        [&tries](ScriptedObject& o) {
            o.answers["hwndMain"] = [&tries](const QVariantList&) -> QVariant {
                ++tries;
                raise();
            };
        },
        log);
    EXPECT_GT(tries, 1);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.last().text.startsWith("プロアトラスＷ または プロアトラスSV が表示できませんでした"));
    EXPECT_EQ(hooks.since(), std::make_pair(1, 1));

    // A program that answers after a few tries is waited for.
    TAutomationView::StartWait = 10000;
    tries = 0;
    run(3, request(0, 128412345, 503315678, ""),
        [&tries](ScriptedObject& o) {
            o.answers["hwndMain"] = [&tries](const QVariantList&) -> QVariant {
                if (++tries < 3)
                    raise();
                return 7;
            };
        },
        log);
    EXPECT_TRUE(log.contains("MoveTo(35/40/12345,139/48/35678)"));

    // No class: the message of the missing class.
    MapPresence.proAtlasWVersion = 5;
    MessageRecorder none;
    none.answer(MsgSeam::IdOk);
    TProAtlasWView view;
    view.SetSearchParams(request(0, 128412345, 503315678, ""));
    view.Show();
    ASSERT_EQ(none.count(), 1);
    EXPECT_TRUE(none.last().text.contains("クラスが生成できませんでした"));
}

TEST(MapFanNetView, CallOrderPerKind)
{
    struct Case
    {
        TMapSoft soft;
        int kind;
        quint32 lat;
        const char* address;
        int showStatus, searchStatus;
        QStringList calls;
    };
    const QString show = "ShowMap(128848814,32256000,1562)";
    const QString search = "SearchAddress(東京都)";
    const Case cases[] = {
        {msMapFanNet, 0, 126000000, "東京都", 1, 0, {show, search}},
        {msMapFanNet, 0, 126000000, "東京都", 0, 0, {show}},
        {msMapFanNet, 0, 0, "東京都", 0, 0, {search}},
        {msMapFanPlanner, 1, 126000000, "東京都", 0, 0, {search}},
        {msMapFanPlanner, 1, 126000000, "東京都", 0, 3, {search, show}},
        {msMapFanPlanner, 1, 126000000, "", 0, 0, {show}},
    };
    for (const Case& c : cases) {
        MessageRecorder messages;
        const QString id = c.soft == msMapFanNet ? MapFanNetClassId : MapFanPlannerClassId;
        ScriptedClass cls(id, [&](ScriptedObject& o) {
            o.answers[MapFanMember::ShowMap] = [&](const QVariantList&) { return QVariant(c.showStatus); };
            o.answers[MapFanMember::SearchAddress] = [&](const QVariantList&) { return QVariant(c.searchStatus); };
        });
        TMapFanNetView view(nullptr, c.soft);
        view.SetSearchParams(request(c.kind, c.lat, c.lat ? 503315678 : 0, c.address));
        view.Show();
        EXPECT_EQ(cls.log, c.calls) << c.soft << " kind " << c.kind;
    }
}

TEST(MapFanNetView, FailuresAndAvailability)
{
    {
        MessageRecorder messages;
        messages.answer(MsgSeam::IdOk);
        ScriptedClass cls(MapFanPlannerClassId, [](ScriptedObject& o) {
            o.answers[MapFanMember::SearchAddress] = [](const QVariantList&) -> QVariant { raise(); };
        });
        TMapFanNetView view(nullptr, msMapFanPlanner);
        view.SetSearchParams(request(1, 0, 0, "東京都"));
        view.Show();
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().text, "MapFan PLANNER が表示できませんでした\r\nMapFan PLANNER "
                                        "のインストール状況を確認してください");
    }
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    TMapFanNetView view(nullptr, msMapFanNet);
    view.SetSearchParams(request(1, 0, 0, "東京都"));
    view.Show();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text,
              "MapFan.net の連携オブジェクトが生成できませんでした\r\n一度 MapFan.net を単体起動させてください");

    EXPECT_FALSE(CooperationAvailable(MapFanNetClassId));
    for (const auto& c : {std::pair{QVariantList{0, 1}, true}, {QVariantList{0, 0}, false},
                          {QVariantList{5, 1}, false}}) {
        const QVariantList answer = c.first;
        const bool available = c.second;
        ScriptedClass cls(MapFanNetClassId.toLower(), [answer](ScriptedObject& o) {
            o.answers[MapFanMember::Available] = [answer](const QVariantList&) { return QVariant(answer); };
        });
        EXPECT_EQ(CooperationAvailable(MapFanNetClassId), available);
    }
}

TEST(MappleView, KickCommandLines)
{
    MapPresence.mappleVersion = 17;
    struct Case
    {
        int kind;
        quint32 lat, lon;
        const char* address;
        QStringList arguments;
    };
    const char* address = "東京都千代田区 \"丸の内\" 1-1";
    const Case cases[] = {
        {0, 0, 0, address, {QStringLiteral("/ADDRESS=") + QString::fromUtf8(address)}},
        {0, 0, 0, "", {}},
        {0, 128412345, 503315678, address, {"/LAT=128412345", "/LON=503315678"}},
        {1, 128412345, 503315678, "", {"/LAT=128412345", "/LON=503315678"}},
    };
    for (const Case& c : cases) {
        Standin programs;
        programs.install(QStringLiteral("MappleKick.exe"));
        MessageRecorder messages;
        TMappleView view;
        view.SetProgramFolder(programs.folder());
        view.SetSearchParams(request(c.kind, c.lat, c.lon, c.address));
        view.Show();
        const QList<StandinStart> starts = programs.starts();
        ASSERT_EQ(starts.size(), 1);
        EXPECT_EQ(starts[0].arguments, c.arguments);
        EXPECT_EQ(QDir(starts[0].folder).canonicalPath(), QDir(programs.folder()).canonicalPath());
    }
    // A kick program that fails says so.
    Standin programs;
    programs.install(QStringLiteral("MappleKick.exe"));
    programs.setExitCode(3);
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    TMappleView view;
    view.SetProgramFolder(programs.folder());
    view.SetSearchParams(request(0, 128412345, 503315678, ""));
    view.Show();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.last().text.startsWith("スーパーマップル・デジタルが表示できませんでした"));
}

TEST(MappleView, DocumentIsPolledUntilItIsGone)
{
    MapPresence.mappleVersion = 1;
    auto previous = SetOutsideWindows(std::make_unique<ScriptedWindows>(0));
    auto* windows = static_cast<ScriptedWindows*>(&OutsideWindows());
    MessageRecorder messages;
    int polls = 0;
    ScriptedClass cls(QStringLiteral("Mapple.Document"), [&polls](ScriptedObject& o) {
        o.answers["Move"] = [](const QVariantList&) { return QVariant(false); };
        o.answers["MoveAddress"] = [](const QVariantList&) { return QVariant(1); };
        o.answers["GetLat"] = [&polls](const QVariantList&) -> QVariant {
            if (++polls > 3)
                raise();
            return 130000000 + polls;
        };
        o.answers["GetLon"] = [](const QVariantList&) { return QVariant(500000000); };
    });
    TMappleView view;
    // Version 1 takes no address for kind 1; kind 0 keeps it as the fallback.
    view.SetSearchParams(request(0, 128412345, 503315678, "東京都"));
    view.Show();
    EXPECT_EQ(cls.log.mid(0, 4), QStringList({"Visible=1", "Move(503315678,128412345)", "MoveAddress(東京都)",
                                              "SetMapClass(-1)"}));
    EXPECT_EQ(cls.log.at(4), "SetZoom(300)");
    EXPECT_EQ(windows->fronts, QList<qint64>{9});
    EXPECT_EQ(*view.Position(), std::make_pair(130000003u, 500000000u));
    EXPECT_EQ(messages.count(), 0);
    SetOutsideWindows(std::move(previous));
}

TEST(ProAtlasWText, BothWays)
{
    EXPECT_EQ(ProAtlasTextToMs("35/40/12345"), 128412345u);
    EXPECT_EQ(ProAtlasTextToMs(MillisecondsToDmText(128412345)), 128412345u);
    EXPECT_EQ(ProAtlasTextToMs("35/40"), 0u);
    EXPECT_EQ(ProAtlasTextToMs("3540"), 0u);
}

} // namespace
