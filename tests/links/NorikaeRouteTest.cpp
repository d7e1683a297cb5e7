// The route front end over scripted automation objects of the route program.
#include "links/NorikaeRoute.h"

#include "core/MainSettings.h"
#include "core/ShellSub.h"
#include "links/AutomationFakes.h"
#include "links/LinkFixtures.h"
#include "platform/IniFile.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/RecordingOpener.h"
#include "support/XvfbShot.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <map>

using namespace Norikae;

namespace {

constexpr int32_t RecordLat = 126000000;
constexpr int32_t RecordLon = 500400000;

// A name of 20 double-byte characters (40 bytes).
const QString LongName = QString(20, QChar(0x99C5)); // 駅

struct Node
{
    QString name;
    int32_t latitude, longitude;
};

QStringList Rows(const QTreeWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells << list->topLevelItem(i)->text(c);
        out << cells.join(u'|');
    }
    return out;
}

int Selected(const QTreeWidget* list)
{
    QTreeWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? list->indexOfTopLevelItem(item) : -1;
}

// The route program's three objects, scripted; the main settings file in a temporary data root.
class NorikaeRouteTest : public ::testing::Test
{
protected:
    NorikaeRouteTest() : m_saved(MainSettings) {}
    ~NorikaeRouteTest() override { MainSettings = m_saved; }

    std::vector<Node> nodes{{QStringLiteral("神田"), RecordLat + 100, RecordLon + 100},
                            {LongName, RecordLat + 100, RecordLon - 100},
                            {QStringLiteral("東京"), RecordLat, RecordLon}};
    QVariant jrailPath = QStringLiteral("/opt/norikae");
    int initResult = 0;
    bool searchFails = false;
    std::map<QString, QStringList> candidates{
        {QStringLiteral("しぶや"), {QStringLiteral(" 渋谷 "), QStringLiteral("渋谷（東急）")}},
        {QStringLiteral("しんじゅく"), {QStringLiteral("新宿"), QStringLiteral("新宿三丁目")}}};
    QStringList candidateLog;
    QString searched;

    ScriptedClass server{RouteServerProgId, [this](ScriptedObject& o) {
                             o.answers["JrailPath"] = [this](const QVariantList&) { return jrailPath; };
                             o.answers["DoKensaku"] = [this](const QVariantList&) {
                                 return searchFails ? raise() : QVariant();
                             };
                         }};
    ScriptedClass detector{NodeDetectorProgId, [this](ScriptedObject& o) {
                               o.answers["NodeCount"] = [this](const QVariantList&) {
                                   return QVariant(int(nodes.size()));
                               };
                               o.byRef["GetNodeInfo"] = [this](QVariantList& a) {
                                   const Node& n = nodes.at(size_t(a.at(0).toInt()));
                                   a[1] = n.name;
                                   a[2] = QStringLiteral("unused");
                                   a[3] = n.latitude;
                                   a[4] = n.longitude;
                                   return QVariant();
                               };
                           }};
    ScriptedClass sdk{SdkProgId, [this](ScriptedObject& o) {
                          o.answers["Init"] = [this](const QVariantList&) { return QVariant(initResult); };
                          o.answers["EkiKouho"] = [this](const QVariantList&) {
                              auto kouho = std::make_shared<ScriptedObject>(candidateLog);
                              kouho->answers["EkiHenkan"] = [this](const QVariantList&) {
                                  auto list = std::make_shared<ScriptedObject>(candidateLog);
                                  list->answers["GetEkiKouho"] = [this](const QVariantList& a) {
                                      searched = a.at(0).toString();
                                      return QVariant();
                                  };
                                  list->answers["EkiKouhoCount"] = [this](const QVariantList&) {
                                      return QVariant(int(candidates[searched].size()));
                                  };
                                  list->answers["EkiKouhoList"] = [this](const QVariantList& a) {
                                      return QVariant(candidates[searched].value(a.at(0).toInt()));
                                  };
                                  return AutomationValue(list);
                              };
                              return AutomationValue(kouho);
                          };
                      }};

    void Open(TNorikaeMain& window, bool withPosition)
    {
        ASSERT_TRUE(window.ConnectRouteServer());
        if (withPosition)
            window.SetPosition(uint32_t(RecordLat), uint32_t(RecordLon));
        window.Prepare();
    }
    void StoreDeparture(const TSelectStInfo& info)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        SaveStartStation(ini, info);
        ASSERT_TRUE(ini.UpdateFile());
    }
    TSelectStInfo StoredDeparture() const
    {
        return LoadStartStation(TMemIniFile(DataRootFolder + MainSettingsFileName));
    }

    TempDataRoot root;
    MessageRecorder boxes;

private:
    TMainSettings m_saved;
};

} // namespace

TEST(NorikaeGeometry, DistancesBearingsAndCutNames)
{
    struct Case
    {
        int32_t dLat, dLon;
        int distance, bearing;
    };
    const Case cases[] = {
        {100, 100, 4, 2},     // north-east, 45 degrees
        {100, -100, 4, 8},    // north-west
        {0, 0, 0, 0},         // the same point
        {-1000, 0, 31, 5},    // south: 30.86 m
        {0, 2000, 62, 3},     // east
        {-200, -1000, 31, 7}, // west by south-west
    };
    for (const Case& c : cases) {
        const TNearStationRec s = MakeNearStation(QStringLiteral("x"), RecordLat + c.dLat, RecordLon + c.dLon,
                                                  RecordLat, RecordLon);
        EXPECT_EQ(s.distance, c.distance) << c.dLat << ',' << c.dLon;
        EXPECT_EQ(s.bearing, c.bearing) << c.dLat << ',' << c.dLon;
    }
    // 40 bytes are kept to 34 (a character boundary below 35) and shown to 32 (below 33).
    const TNearStationRec wide = MakeNearStation(LongName, 1, 1, 1, 1);
    EXPECT_EQ(wide.name.size(), 34);
    EXPECT_EQ(ShownName(wide.name), LongName.left(16));
    EXPECT_EQ(ShownName(MakeNearStation(QString(40, u'a'), 1, 1, 1, 1).name), QString(33, u'a'));
}

TEST_F(NorikaeRouteTest, OpensWithTheNearestStationsAndTheStoredDeparture)
{
    StoreDeparture({QStringLiteral("しんじゅく"), 0, QStringLiteral(" 新宿 ")});
    TNorikaeMain window(nullptr);
    Open(window, true);
    EXPECT_EQ(detector.log.mid(0, 3), QStringList({"DetectNearNodes(3,126000000,500400000,10000)",
                                                   "NodeCount()", "GetNodeInfo(0,,,0,0)"}));
    EXPECT_EQ(Rows(window.NearList()), QStringList({QStringLiteral("神田|4       |北東"),
                                                    LongName.left(16) + QStringLiteral("|4       |北西"),
                                                    QStringLiteral("東京|0       |")}));
    EXPECT_EQ(Selected(window.NearList()), 0);
    EXPECT_EQ(Rows(window.StartList()), QStringList{QStringLiteral("新宿")});
    EXPECT_EQ(Selected(window.StartList()), 0);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(NorikaeRouteTest, WithoutPositionOrStationsTheListStaysEmpty)
{
    {
        TNorikaeMain window(nullptr);
        ASSERT_TRUE(window.ConnectRouteServer());
        window.show();
        EXPECT_FALSE(detector.log.join(u' ').contains(QStringLiteral("DetectNearNodes")));
        EXPECT_EQ(window.NearList()->topLevelItemCount(), 0);
        EXPECT_EQ(window.StartList()->topLevelItemCount(), 0);
        EXPECT_EQ(window.focusWidget(), window.CancelButton());
    }
    nodes.clear();
    boxes.answer(MsgSeam::IdOk);
    TNorikaeMain window(nullptr);
    Open(window, true);
    EXPECT_EQ(boxes.last().text, QStringLiteral("半径10km以内に駅は見つかりませんでした  "));
    EXPECT_EQ(window.NearList()->topLevelItemCount(), 0);
}

TEST_F(NorikaeRouteTest, OnePickedRowAndTheMapOnlyForDetectedRows)
{
    MainSettings.Map = 10;
    QList<TShellOpenRequest> opened;
    auto previous = SetShellOpener(std::make_unique<RecordingOpener>(&opened));
    TNorikaeMain window(nullptr);
    Open(window, true);
    window.TakeNearPick({QStringLiteral("しぶや"), 0, QStringLiteral("渋谷")});
    window.TakeNearPick({QStringLiteral("しんじゅく"), 1, QStringLiteral(" 新宿三丁目 ")});
    ASSERT_EQ(window.NearList()->topLevelItemCount(), 4);
    EXPECT_EQ(Rows(window.NearList()).last(), QStringLiteral("新宿三丁目||"));
    EXPECT_EQ(Selected(window.NearList()), 3);

    window.MapButton()->click();
    EXPECT_TRUE(opened.isEmpty());
    window.NearList()->setCurrentItem(window.NearList()->topLevelItem(0));
    window.MapButton()->click();
    SetShellOpener(std::move(previous));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].file.contains(QStringLiteral("maps?q=35.0")));
}

TEST_F(NorikaeRouteTest, RouteSearchFillsTheSlotsThenSearchesAndSavesTheDeparture)
{
    TNorikaeMain window(nullptr);
    Open(window, true);
    window.TakeStartStation({QStringLiteral(" しんじゅく "), 1, QStringLiteral(" 新宿 ")});
    window.NearList()->setCurrentItem(window.NearList()->topLevelItem(1));
    server.log.clear();
    ASSERT_TRUE(window.Launch());
    QStringList expected;
    for (int i = 0; i < 6; ++i)
        expected << QStringLiteral("KensakuEki[%1]=").arg(i) << QStringLiteral("KensakuRosen[%1]=").arg(i);
    expected << QStringLiteral("KensakuEki[0]=新宿") << QStringLiteral("KensakuEki[1]=") + LongName.left(16)
             << QStringLiteral("DoKensaku()");
    EXPECT_EQ(server.log, expected);
    const TSelectStInfo saved = StoredDeparture();
    EXPECT_EQ(saved.Name, QStringLiteral("しんじゅく"));
    EXPECT_EQ(saved.Index, 1);
    EXPECT_EQ(saved.Station, QStringLiteral("新宿"));

    // A picked destination goes by its station; a failing search saves nothing.
    window.TakeNearPick({QStringLiteral("しぶや"), 0, QStringLiteral("渋谷")});
    window.TakeStartStation({QStringLiteral("とうきょう"), 0, QStringLiteral("東京")});
    server.log.clear();
    searchFails = true;
    boxes.answer(MsgSeam::IdOk);
    EXPECT_FALSE(window.Launch());
    EXPECT_TRUE(server.log.contains(QStringLiteral("KensakuEki[1]=渋谷")));
    EXPECT_EQ(boxes.last().text, QStringLiteral("乗換案内が起動できませんでした  "));
    EXPECT_EQ(boxes.last().flags, unsigned(MsgSeam::MbIconStop));
    EXPECT_EQ(StoredDeparture().Station, QStringLiteral("新宿"));
}

TEST_F(NorikaeRouteTest, MissingObjectsGiveTheMessage)
{
    const auto refused = [this] {
        boxes.answer(MsgSeam::IdOk);
        TNorikaeMain window(nullptr);
        const bool connected = window.ConnectRouteServer();
        return !connected && boxes.last().text == QStringLiteral("乗換案内がインストールされていません  ");
    };
    jrailPath = QStringLiteral("  ");
    EXPECT_TRUE(refused());
    jrailPath = QStringLiteral("/opt/norikae");
    RegisterAutomationClass(NodeDetectorProgId, {});
    EXPECT_TRUE(refused());
    RegisterAutomationClass(RouteServerProgId, {});
    EXPECT_TRUE(refused());
    EXPECT_EQ(boxes.count(), 3);
}

TEST_F(NorikaeRouteTest, PickerSearchesAndHandsBackTheChoice)
{
    {
        TNorikaeSelectStation picker(nullptr);
        ASSERT_TRUE(picker.ConnectSdk());
        EXPECT_EQ(sdk.log.first(), QStringLiteral("Init(,9.99,)"));
        picker.SetInfo({QStringLiteral("しぶや"), 1, QStringLiteral("渋谷（東急）")});
        EXPECT_EQ(Rows(picker.List()), QStringList({QStringLiteral("渋谷"), QStringLiteral("渋谷（東急）")}));
        EXPECT_EQ(Selected(picker.List()), 1);
        picker.List()->setCurrentItem(picker.List()->topLevelItem(0));
        picker.accept();
        EXPECT_EQ(picker.result(), QDialog::Accepted);
        EXPECT_EQ(picker.Info().Station, QStringLiteral("渋谷"));
        EXPECT_EQ(picker.Info().Index, 0);
    }
    {
        // An index outside the list selects the first row; an empty name searches nothing.
        TNorikaeSelectStation picker(nullptr);
        ASSERT_TRUE(picker.ConnectSdk());
        picker.SetInfo({QStringLiteral("しんじゅく"), 7, QString()});
        EXPECT_EQ(Selected(picker.List()), 0);
        picker.SetInfo({});
        EXPECT_EQ(picker.List()->topLevelItemCount(), 2);
        picker.show();
        picker.SearchBox()->clear();
        picker.SearchBox()->setFocus();
        QTest::keyClick(picker.SearchBox(), Qt::Key_Return);
        EXPECT_EQ(picker.focusWidget(), picker.CancelButton());
    }
    initResult = -1;
    boxes.answer(MsgSeam::IdOk);
    TNorikaeSelectStation picker(nullptr);
    EXPECT_FALSE(picker.ConnectSdk());
    EXPECT_EQ(boxes.last().text, QStringLiteral("乗換案内が起動できませんでした  "));
}

TEST_F(NorikaeRouteTest, PickButtonsRunThePicker)
{
    TNorikaeMain window(nullptr);
    Open(window, true);
    window.show();
    ModalDriver driver;
    driver.on<TNorikaeSelectStation>([](TNorikaeSelectStation* picker) {
        picker->SearchBox()->setText(QStringLiteral("しぶや"));
        QTest::keyClick(picker->SearchBox(), Qt::Key_Return);
        EXPECT_EQ(picker->focusWidget(), picker->List());
        KeepXvfbScreen(QStringLiteral("norikae-picker.xwd"));
        picker->OkButton()->click();
    });
    driver.on<TNorikaeSelectStation>([](TNorikaeSelectStation* picker) {
        picker->SearchBox()->setText(QStringLiteral("しんじゅく"));
        picker->SearchCandidates();
        picker->OkButton()->click();
    });
    window.NearPickButton()->click();
    window.StartPickButton()->click();
    EXPECT_EQ(Rows(window.NearList()).last(), QStringLiteral("渋谷||"));
    EXPECT_EQ(Rows(window.StartList()), QStringList{QStringLiteral("新宿")});
    EXPECT_EQ(window.focusWidget(), window.StartList());
    QTest::keyClick(window.StartList(), Qt::Key_Return);
    EXPECT_EQ(window.focusWidget(), window.StartButton());
    KeepXvfbScreen(QStringLiteral("norikae-main.xwd"));
}
