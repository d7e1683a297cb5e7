// The record card's map, route, browser and mail buttons over fixture registries, scripted map adaptors and
// automation objects, and a recording shell.
#include "links/LinkServices.h"

#include "addressbook/DtInqiry.h"
#include "links/AutomationFakes.h"
#include "links/ExpertRoute.h"
#include "links/LinkFixtures.h"
#include "links/MapLaunch.h"
#include "links/MapSearch.h"
#include "links/MapAdaptors.h"
#include "links/MapViews.h"
#include "links/NorikaeRoute.h"
#include "platform/Cp932.h"
#include "support/CardFixtures.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/RecordingOpener.h"
#include "support/TableFaults.h"
#include "support/XvfbShot.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

constexpr qint32 CardLat = 128440080; // near Tokyo station, Tokyo datum
constexpr qint32 CardLon = 503167200;
constexpr quint32 MapLat = 128450000; // where the map ends
constexpr quint32 MapLon = 503170000;

const QDateTime Stored(QDate(2021, 6, 7), QTime(8, 9, 10));
const QDateTime Now(QDate(2026, 12, 11), QTime(9, 10, 11));

// What the adaptors of one test were handed and how often they showed.
struct AdaptorLog
{
    TMapSearchParams params;
    int shown = 0;
    std::function<int()> messages; // the messages so far
    int messagesWhenShown = -1;
};

// A map adaptor that ends on a given position.
class EndingAdaptor : public TMapAdaptor
{
public:
    EndingAdaptor(AdaptorLog& log, TMapSoft soft, std::pair<quint32, quint32> end)
        : m_log(log), m_soft(soft), m_end(end)
    {
    }
    int SetSearchParams(const TMapSearchParams& params) override
    {
        m_log.params = params;
        return DecideAdaptorSearch(m_soft, 5, m_log.params);
    }
    void Show() override
    {
        ++m_log.shown;
        m_log.messagesWhenShown = m_log.messages();
    }
    std::optional<std::pair<quint32, quint32>> Position() const override { return m_end; }

private:
    AdaptorLog& m_log;
    TMapSoft m_soft;
    std::pair<quint32, quint32> m_end;
};

class FailingOpener : public TShellOpener
{
public:
    int Open(const TShellOpenRequest&) override { return ENOEXEC; }
};

QByteArray Key(const char* key, const QByteArray& values = {})
{
    return QByteArray("[") + key + "]\n" + values;
}

class CardLinksTest : public CardFixture
{
protected:
    void SetUp() override
    {
        CardFixture::SetUp();
        m_savedProgram = ProgramFolder;
        ProgramFolder = programs.folder();
        RegisterLinkServices();
        for (TMapSoft soft :
             {msAtlasMate, msProAtlas, msProAtlasW, msMapFan, msMapFanNet, msMapFanPlanner, msMapple})
            RegisterMapAdaptor(soft, [this, soft](QWidget*) {
                return std::make_unique<EndingAdaptor>(adaptors, soft, mapEnd);
            });
        RegisterMapCooperation(msMapFanNet, [] { return true; });
        RegisterMapCooperation(msMapFanPlanner, [] { return true; });
        adaptors.messages = [this] { return boxes.count(); };
        m_previousOpener = SetShellOpener(std::make_unique<RecordingOpener>(&opened));
        card = new TDataInquiry(&book, data);
        card->SetClock([] { return Now; });
    }
    void TearDown() override
    {
        delete card.data();
        SetShellOpener(std::move(m_previousOpener));
        for (int soft = 0; soft < MapSoftCount; ++soft) {
            RegisterMapAdaptor(TMapSoft(soft), {});
            RegisterMapCooperation(TMapSoft(soft), {});
        }
        for (int service = 0; service < CardServiceCount; ++service)
            RegisterCardService(TCardService(service), {});
        ProgramFolder = m_savedProgram;
        CardFixture::TearDown();
    }

    // Every map program present: keys of the registry stand-in, the logging stand-in as their programs.
    std::unique_ptr<RegistryFile> installEveryProgram()
    {
        const QString folder = programs.folder();
        const QString proAtlasW = programs.install(QStringLiteral("v3/pa.exe"));
        const QString emapZ = programs.install(QStringLiteral("emapz/emapz.exe"));
        programs.install(QStringLiteral("ZmapNet/bin/its-moNavi.exe"));
        programs.install(QStringLiteral("Grand Map/GrandMap.exe"));
        programs.install(QStringLiteral("MappleKick.exe"));
        programs.setExitCode(0);
        programs.setOutput("1700");
        const QByteArray text =
            Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\SSY\\AtlasMate95\\5.0\\program", "exe=/opt/am/am.exe\n") +
            Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\ALPS\\Rdw30\\Data") +
            Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\ALPS\\PROATLASW3",
                "installpath=" + QFile::encodeName(folder + "v3") +
                    "\nAppPath=" + QFile::encodeName(proAtlasW) + "\n") +
            Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Increment P Corporation\\MapFan\\5.0") +
            Key("HKEY_CURRENT_USER\\Software\\ZENRIN\\EmapZ\\InstallInfo",
                "Directory=\"" + QFile::encodeName(emapZ) + "\"\n") +
            Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\ZENRIN\\ZmapNet\\PC",
                "InstallPath=" + QFile::encodeName(folder + "ZmapNet") + "\n") +
            Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\MapNet\\GrandMap",
                "Install Directory=" + QFile::encodeName(folder + "Grand Map") + "\n");
        return std::make_unique<RegistryFile>(text);
    }

    qint32 addPlace()
    {
        return addPerson(QStringLiteral("山田太郎"),
                         {{"Latitude", CardLat},
                          {"Longitude", CardLon},
                          {"Tel", QByteArray("0312345678")},
                          {"Tdfkn", Cp932::fromUnicode(QStringLiteral("東京都"))},
                          {"Adrs1", Cp932::fromUnicode(QStringLiteral("千代田区"))},
                          {"Adrs2", Cp932::fromUnicode(QStringLiteral("丸の内1-9"))},
                          {"UpdDateTime", Stored}});
    }
    TAdrsDataRec row(qint32 recNo)
    {
        TAdrsDataRec rec;
        EXPECT_TRUE(data.readRow(recNo, rec));
        return rec;
    }

    static const QString& SaveQuestion()
    {
        static const QString text =
            QStringLiteral("地図で指定した座標の緯度経度を保存してもよろしいですか？  ");
        return text;
    }

    Standin programs;
    MessageRecorder boxes;
    AdaptorLog adaptors;
    std::pair<quint32, quint32> mapEnd{MapLat, MapLon};
    QList<TShellOpenRequest> opened;

private:
    QString m_savedProgram;
    std::unique_ptr<TShellOpener> m_previousOpener;
};

} // namespace

TEST_F(CardLinksTest, EveryMapProgramFromALoadedRecord)
{
    const auto registry = installEveryProgram();
    struct Case
    {
        TMapSoft soft;
        bool asks;  // the save question comes before the map
        bool takes; // the position the map ended on is saved
    };
    const Case cases[] = {
        {msAtlasMate, true, true},   {msProAtlas, true, true},        {msProAtlasW, true, true},
        {msEmapZ, false, false},     {msItsmoNavi, false, false},     {msMapFan, true, true},
        {msMapFanNet, false, false}, {msMapFanPlanner, false, false}, {msMapple, false, false},
        {msGrandMap, false, false},  {msGoogle, false, false},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.soft));
        const qint32 recNo = addPlace(); // a row of its own for each program
        showRow(index++);
        ASSERT_EQ(card->GetLoadedRecNo(), recNo);
        MainSettings.Map = c.soft;
        const int before = boxes.count();
        if (c.asks)
            boxes.answer(MsgSeam::IdYes);
        card->bbtnMap->click();
        EXPECT_EQ(boxes.count() - before, c.asks ? 1 : 0);
        if (c.asks) {
            EXPECT_EQ(boxes.last().text, SaveQuestion());
            EXPECT_EQ(adaptors.messagesWhenShown, boxes.count()); // asked before the map opened
        }
        const TAdrsDataRec stored = row(recNo);
        EXPECT_EQ(card->Latitude(), c.takes ? qint32(MapLat) : CardLat);
        EXPECT_EQ(card->LoadedRecord()->Latitude, c.takes ? qint32(MapLat) : CardLat);
        EXPECT_EQ(stored.Latitude, c.takes ? qint32(MapLat) : CardLat);
        EXPECT_EQ(stored.Longitude, c.takes ? qint32(MapLon) : CardLon);
        EXPECT_EQ(FromTDateTime(stored.UpdDateTime), c.takes ? Now : Stored);
        EXPECT_FALSE(card->HasUnsavedInput());
    }
    // The request as the card filled it; the adaptors showed once each.
    EXPECT_EQ(adaptors.shown, 7);
    EXPECT_EQ(adaptors.params.Tel, QStringLiteral("0312345678"));
    EXPECT_EQ(adaptors.params.Address, QStringLiteral("東京都千代田区丸の内1-9"));
    // The web map searches the address although the card has a position.
    TMapSearchParams byAddress;
    byAddress.SearchKind = 1;
    byAddress.Address = adaptors.params.Address;
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].file, GoogleMapsUrl(byAddress).value());
    // The three command-line programs were started (after the two starts of the kick program's check).
    ASSERT_TRUE(QTest::qWaitFor([&] { return programs.starts().size() >= 5; }, 10000));
    EXPECT_EQ(boxes.count(), 4);
}

TEST_F(CardLinksTest, MapWindowHandsBackADoubleClickedPlace)
{
    // The embedded MapFan window of the program's own adaptors.
    RegistryFile registry(Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Increment P Corporation\\MapFan\\5.0"));
    ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
    RegisterMapAdaptors();
    const qint32 recNo = addPlace();
    showRow(0);
    card->show();
    MainSettings.Map = msMapFan;
    boxes.answer(MsgSeam::IdYes);
    TMapPoint chosen;
    ModalDriver driver;
    driver.on<TMapFanView>([&](TMapFanView* view) {
        view->resize(720, 560);
        const QPoint at = view->Map()->rect().center() + QPoint(80, -60);
        chosen = view->Map()->PixelToPosition(at);
        emit view->Map()->doubleClicked(at);
        KeepXvfbScreen(QStringLiteral("card-map-mapfan.xwd"));
        view->reject();
    });
    card->bbtnMap->click();
    const qint32 lat = qint32(From256thsToMilliseconds(MillisecondsTo256ths(chosen.lat)));
    const qint32 lon = qint32(From256thsToMilliseconds(MillisecondsTo256ths(chosen.lon)));
    ASSERT_NE(lat, CardLat);
    EXPECT_EQ(card->Latitude(), lat);
    EXPECT_EQ(card->Longitude(), lon);
    EXPECT_EQ(row(recNo).Latitude, lat);
    EXPECT_EQ(FromTDateTime(row(recNo).UpdDateTime), Now);
    KeepXvfbScreen(QStringLiteral("card-map-after.xwd"));
}

TEST_F(CardLinksTest, AnswerNoStillOpensTheMapAndSavesNothing)
{
    RegistryFile registry(Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Increment P Corporation\\MapFan\\5.0"));
    const qint32 recNo = addPlace();
    showRow(0);
    MainSettings.Map = msMapFan;
    boxes.answer(MsgSeam::IdNo);
    card->bbtnMap->click();
    EXPECT_EQ(adaptors.shown, 1);
    EXPECT_EQ(card->Latitude(), CardLat);
    EXPECT_EQ(FromTDateTime(row(recNo).UpdDateTime), Stored);
}

TEST_F(CardLinksTest, BlankCardTakesThePositionWithoutAskingOrWriting)
{
    const auto registry = installEveryProgram();
    const qint32 recNo = addPlace();
    card->NewRecord();
    for (TMapSoft soft : {msMapFan, msMapple}) {
        mapEnd = {MapLat + soft, MapLon};
        MainSettings.Map = soft;
        card->bbtnMap->click();
        EXPECT_EQ(card->Latitude(), qint32(MapLat + soft));
    }
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(row(recNo).Latitude, CardLat);
    EXPECT_EQ(data.table->recordCount(), 1);
}

TEST_F(CardLinksTest, EqualPositionWritesNothingAndAFailedWriteIsReported)
{
    RegistryFile registry(Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\Increment P Corporation\\MapFan\\5.0"));
    const qint32 recNo = addPlace();
    showRow(0);
    MainSettings.Map = msMapFan;
    mapEnd = {quint32(CardLat), quint32(CardLon)};
    boxes.answer(MsgSeam::IdYes);
    card->bbtnMap->click();
    EXPECT_EQ(FromTDateTime(row(recNo).UpdDateTime), Stored);

    // The row refuses the update: the update error shows, the card keeps the new position.
    RefuseChanging(data.path(QStringLiteral("Adrs.DB")), "UPDATE", {recNo});
    mapEnd = {MapLat, MapLon};
    boxes.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    card->bbtnMap->click();
    EXPECT_EQ(boxes.last().text, QStringLiteral("update error"));
    EXPECT_EQ(card->Latitude(), qint32(MapLat));
    EXPECT_EQ(card->LoadedRecord()->Longitude, qint32(MapLon));
    EXPECT_EQ(row(recNo).Latitude, CardLat);
    EXPECT_EQ(data.table->state(), TableState::Browse);
}

TEST_F(CardLinksTest, AtlasMateWithNothingToSearchAsksForTheTelephone)
{
    RegistryFile registry(
        Key("HKEY_LOCAL_MACHINE\\SOFTWARE\\SSY\\AtlasMate95\\5.0\\program", "exe=/opt/am/am.exe\n"));
    card->show();
    MainSettings.Map = msAtlasMate;
    for (int kind : {0, 1}) {
        MainSettings.MapSearchKind = kind;
        boxes.answer(MsgSeam::IdOk);
        card->bbtnMap->click();
        EXPECT_EQ(boxes.last().text, QStringLiteral("電話番号を入力してください  "));
        EXPECT_EQ(card->focusWidget(), card->edtTel);
    }
    EXPECT_EQ(adaptors.shown, 0);
}

TEST_F(CardLinksTest, RouteButtonOpensTheChosenFrontEnd)
{
    addPlace();
    showRow(0);
    // The second front end without its program: the message, no window.
    MainSettings.Root = 1;
    boxes.answer(MsgSeam::IdOk);
    card->bbtnRoot->click();
    EXPECT_EQ(boxes.last().text, QStringLiteral("乗換案内がインストールされていません  "));

    // With its objects the window opens on the card's position in milliseconds.
    ScriptedClass server(Norikae::RouteServerProgId, [](ScriptedObject& o) {
        o.answers["JrailPath"] = [](const QVariantList&) { return QVariant(QStringLiteral("/opt/norikae")); };
    });
    ScriptedClass detector(Norikae::NodeDetectorProgId, [](ScriptedObject&) {});
    {
        ModalDriver driver;
        driver.on<TNorikaeMain>([](TNorikaeMain* window) { window->reject(); });
        boxes.answer(MsgSeam::IdOk); // no station near
        card->bbtnRoot->click();
    }
    EXPECT_EQ(detector.log.value(0), QStringLiteral("DetectNearNodes(3,128440080,503167200,10000)"));

    // The first front end: the position in 1/256 second finds the stations around Tokyo station.
    ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
    MainSettings.Root = 0;
    int nearRows = -1;
    {
        ModalDriver driver;
        driver.on<TExpertMain>([&](TExpertMain* window) {
            nearRows = window->NearList()->topLevelItemCount();
            KeepXvfbScreen(QStringLiteral("card-route-expert.xwd"));
            window->reject();
        });
        card->bbtnRoot->click();
    }
    EXPECT_EQ(nearRows, 3);
}

TEST_F(CardLinksTest, BrowserAndMailThroughTheShell)
{
    struct UrlCase
    {
        const char* typed;
        const char* opened;
    };
    const UrlCase urls[] = {
        {" www.example.jp ", "http://www.example.jp"},
        {"HTTP://EXAMPLE.JP/", "http://HTTP://EXAMPLE.JP/"},
        {"http://example.jp/", "http://example.jp/"},
        {"https://example.jp/", "https://example.jp/"},
    };
    for (const UrlCase& c : urls) {
        card->edtURL->setText(QString::fromUtf8(c.typed));
        card->bbtnOpenURL->click();
        EXPECT_EQ(opened.last().file, QString::fromUtf8(c.opened));
    }
    card->edtEMail1->setText(QStringLiteral("taro@example.jp"));
    card->edtEMail2->setText(QStringLiteral(" mailto:hanako@example.jp "));
    card->bbtnEMail1->click();
    card->bbtnEMail2->click();
    EXPECT_EQ(opened.value(4).file, QStringLiteral("mailto:taro@example.jp"));
    EXPECT_EQ(opened.value(5).file, QStringLiteral("mailto:hanako@example.jp"));
    EXPECT_EQ(boxes.count(), 0);

    // Empty fields ask for their text; a mail client that does not start is reported.
    card->show();
    card->edtURL->clear();
    card->edtEMail1->clear();
    boxes.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
    card->bbtnOpenURL->click();
    EXPECT_EQ(boxes.last().text, QStringLiteral("ホームページURLを入力してください  "));
    EXPECT_EQ(card->focusWidget(), card->edtURL);
    card->bbtnEMail1->click();
    EXPECT_EQ(boxes.last().text, QStringLiteral("メールアドレスを入力してください  "));
    EXPECT_EQ(card->focusWidget(), card->edtEMail1);
    EXPECT_EQ(opened.size(), 6);

    auto recording = SetShellOpener(std::make_unique<FailingOpener>());
    boxes.answer(MsgSeam::IdOk);
    card->bbtnEMail2->click();
    SetShellOpener(std::move(recording));
    EXPECT_EQ(boxes.last().text,
              QStringLiteral("メールソフトが起動できませんでした  \r\nResult = %1  ").arg(ENOEXEC));

    // No window of another program can be read here: the URL capture stays disabled.
    EXPECT_FALSE(card->bbtnGetURL->isEnabled());
    EXPECT_TRUE(card->bbtnMap->isEnabled());
    EXPECT_TRUE(card->bbtnRoot->isEnabled());
}
