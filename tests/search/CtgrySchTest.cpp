// Tests of the category and area search: its condition rules, the area lists over the nationwide
// dictionary, and counts, pages and stops over the directory fixture.
#include "search/CtgrySch.h"

#include "search/DirSearchFixture.h"
#include "core/AppSub.h"
#include "platform/IniFile.h"
#include "support/MessageRecorder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace {

// The window with a stop that can be armed: the next library call of a job is stopped.
class StoppableSearch : public TCategorySearch
{
public:
    StoppableSearch() : TCategorySearch(nullptr, nullptr) {}
    void SearchProgress(int kind, int) override
    {
        if (kind == 0 && stopArmed.exchange(false))
            Worker()->RequestStop();
    }
    std::atomic<bool> stopArmed{false};
};

class CtgrySchTest : public DirSearchTest
{
protected:
    void SetUp() override
    {
        DirSearchTest::SetUp();
        HddInstalled = false;
        DiscFolder = DirFixtureFolder.chopped(QStringLiteral("Quenrid215/").size());
        m_dataRoot = DataRootFolder;
        m_dataFolder = DataFolder;
        m_hisCount = MainSettings.HisCount;
        DataRootFolder = TempFolder();
        DataFolder = TempFolder() + QStringLiteral("Data/");
        QDir().mkpath(DataFolder);
        MainSettings.HisCount = 10;
        window = new StoppableSearch;
    }
    void TearDown() override
    {
        delete window.data();
        DataRootFolder = m_dataRoot;
        DataFolder = m_dataFolder;
        MainSettings.HisCount = m_hisCount;
        DirSearchTest::TearDown();
    }

    // Runs the event loop until the job started by start has reported.
    void Job(const std::function<void()>& start)
    {
        start();
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!window->IsSearching())
                loop.quit();
        });
        QTimer::singleShot(60000, &loop, [&] {
            ADD_FAILURE() << "no report";
            loop.quit();
        });
        poll.start(0);
        if (window->IsSearching())
            loop.exec();
    }
    QPushButton* Button(const char* name) { return window->findChild<QPushButton*>(name); }
    QTableView* Results() { return window->findChild<QTableView*>("lvResult"); }
    QString Cell(int row, int column) { return window->RowText(row, column); }

    // The rows of the city list with these codes.
    QList<int> CityRows(const QList<QByteArray>& codes)
    {
        QListWidget* cities = window->AreaListWidget(TCategorySearch::alCity);
        QList<int> rows;
        for (int i = 0; i < cities->count(); ++i)
            if (codes.contains(cities->item(i)->data(Qt::UserRole).toByteArray()))
                rows << i;
        return rows;
    }
    // Tokyo with the given cities chosen.
    void ChooseCities(const QList<QByteArray>& codes)
    {
        window->SelectRegion(3);
        window->ClickAreaList(TCategorySearch::alCity, CityRows(codes));
    }
    QStringList Codes()
    {
        QStringList out;
        for (const TAreaCode& a : window->AreaCodeList())
            out << QString::fromLatin1(a.code) + u'/' + QString::number(a.kind);
        return out;
    }

    MessageRecorder messages;
    QPointer<StoppableSearch> window;
    QString m_dataRoot, m_dataFolder;
    int m_hisCount = 10;
};

} // namespace

TEST(CtgryCondTest, NameCutsPeriodsCategoriesAndPhoneKinds)
{
    const AnsiString a49(49, 'a');
    EXPECT_EQ(CutListedName(a49 + ToAnsi(QStringLiteral("亜"))), a49) << "byte 50 starts a character";
    EXPECT_EQ(CutListedName(a49 + "bc"), a49 + "b");
    EXPECT_EQ(CutListedName("abc"), "abc");

    AnsiString from, to;
    PeriodFields(2010, 5, 2001, 12, from, to);
    EXPECT_EQ(from, "200112");
    EXPECT_EQ(to, "201005");
    PeriodFields(0, 5, 2001, 12, from, to);
    EXPECT_TRUE(from.isEmpty() && to.isEmpty());

    EXPECT_EQ(CategoryCodeText(0, 0), "");
    EXPECT_EQ(CategoryCodeText(4, 0), "04");
    EXPECT_EQ(CategoryCodeText(4, 401), "0401");

    EXPECT_EQ(ToggledPhoneKinds(15, 2, false), 13);
    EXPECT_EQ(ToggledPhoneKinds(4, 4, false), 4) << "the last kind stays";
    EXPECT_EQ(ToggledPhoneKinds(4, 8, true), 12);
}

TEST(CtgryCondTest, AreaCaptionsAndTheirOmission)
{
    const TAreaCodeList city{{"13101", AreaKindCity}};
    const TAreaCodeList cities{{"13101", AreaKindCity}, {"13103", AreaKindCity}};
    const TAreaCodeList prefs{{"13", AreaKindPrefecture}, {"14", AreaKindPrefecture}};
    const TAreaCodeList oaza{{"13101001", AreaKindOaza}};
    EXPECT_EQ(AreaCaptionOf({TAreaCode{}}, "東京都", "", ""), "");
    EXPECT_EQ(AreaCaptionOf(prefs, "東京都", "", ""), "");
    EXPECT_EQ(AreaCaptionOf({{"13", AreaKindPrefecture}}, "東京都", "", ""), "東京都");
    EXPECT_EQ(AreaCaptionOf(city, "東京都", "千代田区", ""), "東京都千代田区");
    EXPECT_EQ(AreaCaptionOf(cities, "東京都", "千代田区", ""), "東京都");
    EXPECT_EQ(AreaCaptionOf(oaza, "東京都", "千代田区", "丸の内"), "東京都千代田区丸の内");

    const struct
    {
        const char *address, *caption, *shown;
    } cases[] = {{"東京都千代田区丸の内１丁目", "東京都千代田区", "丸の内１丁目"},
                 {"神奈川県横浜市", "東京都千代田区", "神奈川県横浜市"},
                 {"東京都千代田区神田３丁目", "東京都千代田区神田（丁目）", "３丁目"},
                 {"東京都港区芝", "", "東京都港区芝"}};
    for (const auto& c : cases)
        EXPECT_EQ(OmitAreaCaption(QString::fromUtf8(c.address), QString::fromUtf8(c.caption)),
                  QString::fromUtf8(c.shown))
            << c.address;

    const char head[2] = {char(0xB6), 0};
    EXPECT_EQ(GroupHeadText(head), "か");
    const char latin[2] = {'A', 0};
    EXPECT_EQ(GroupHeadText(latin), "A");
}

TEST_F(CtgrySchTest, RegionsListTheirPrefecturesAndTheWholeCountryOneEmptyCode)
{
    EXPECT_EQ(Codes(), QStringList{"/0"});
    EXPECT_FALSE(window->AreaListWidget(TCategorySearch::alPrefecture)->isEnabled());
    window->SelectRegion(2);
    QListWidget* prefs = window->AreaListWidget(TCategorySearch::alPrefecture);
    QStringList listed;
    for (int i = 0; i < prefs->count(); ++i)
        listed << QString::fromLatin1(prefs->item(i)->data(Qt::UserRole).toByteArray());
    EXPECT_EQ(listed, (QStringList{"08", "09", "10", "11", "12", "14"})) << "関東 without 東京都";
    EXPECT_EQ(Codes(), QStringList{"08/2"});
    window->SelectRegion(3);
    EXPECT_EQ(prefs->count(), 1);
    EXPECT_EQ(Codes(), QStringList{"13/2"});
    EXPECT_GT(window->AreaListWidget(TCategorySearch::alCity)->count(), 20);
}

TEST_F(CtgrySchTest, CitySelectionsGiveOneConditionEachOrThePrefecture)
{
    // In list order: the dictionary's reading order.
    ChooseCities({"13101", "13103", "13104"});
    EXPECT_EQ(Codes(), (QStringList{"13104/5", "13101/5", "13103/5"}));
    window->BuildConditions();
    ASSERT_EQ(window->Conditions().size(), 3);
    EXPECT_STREQ(window->Conditions()[1].AreaCode, "13101");
    EXPECT_EQ(window->Conditions()[1].PageSize, 20);
    EXPECT_EQ(window->Conditions()[1].MatchKind, 1);

    // Adding 指定しない leaves the prefecture.
    window->ClickAreaList(TCategorySearch::alCity, CityRows({"13101", "13103", "13104"}) << 0);
    EXPECT_EQ(Codes(), QStringList{"13/2"});
    window->BuildConditions();
    ASSERT_EQ(window->Conditions().size(), 1);
    EXPECT_STREQ(window->Conditions()[0].AreaCode, "13");

    // One city fills its oazas; an oaza gives an 8-digit code, its 指定しない the city again.
    ChooseCities({"13101"});
    QListWidget* oazas = window->AreaListWidget(TCategorySearch::alOaza);
    ASSERT_GT(oazas->count(), 1);
    window->ClickAreaList(TCategorySearch::alOaza, {1});
    ASSERT_EQ(window->AreaCodeList().size(), 1);
    EXPECT_EQ(window->AreaCodeList()[0].kind, AreaKindOaza);
    EXPECT_TRUE(window->AreaCodeList()[0].code.startsWith("13101"));
    window->ClickAreaList(TCategorySearch::alOaza, {0});
    EXPECT_EQ(Codes(), QStringList{"13101/5"});
}

TEST_F(CtgrySchTest, SeveralPrefecturesLeaveTheCityListEmptyAndDeaf)
{
    window->SelectRegion(2);
    window->ClickAreaList(TCategorySearch::alPrefecture, {0, 2});
    EXPECT_EQ(Codes(), (QStringList{"08/2", "10/2"}));
    QListWidget* cities = window->AreaListWidget(TCategorySearch::alCity);
    EXPECT_EQ(cities->count(), 1);
    window->ClickAreaList(TCategorySearch::alCity, {0});
    EXPECT_EQ(Codes(), (QStringList{"08/2", "10/2"}));
    // No selection left: the focused item is selected again.
    window->ClickAreaList(TCategorySearch::alPrefecture, {});
    EXPECT_FALSE(window->AreaListWidget(TCategorySearch::alPrefecture)->selectedItems().isEmpty());
}

TEST_F(CtgrySchTest, TheLastPhoneKindStaysCheckedAndTheNameIsCut)
{
    const char* boxes[] = {"chkNormal", "chkFax", "chkFaxCombi", "chkMainNumber"};
    for (const char* name : boxes)
        window->findChild<QCheckBox*>(name)->click();
    EXPECT_EQ(window->PhoneKinds(), 8);
    EXPECT_TRUE(window->findChild<QCheckBox*>("chkMainNumber")->isChecked());

    auto* name = window->findChild<QLineEdit*>("nmedtName");
    name->setText(QString(49, u'a') + QStringLiteral("亜"));
    emit name->editingFinished();
    EXPECT_EQ(name->text(), QString(49, u'a'));
    window->BuildConditions();
    EXPECT_EQ(window->Conditions()[0].PhoneKinds, 8);
}

TEST_F(CtgrySchTest, CountsReportEachResult)
{
    ChooseCities({"13101"});
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    Job([&] { Button("bbtnCount")->click(); });
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.last().text, QStringLiteral("7 件のデータが見つかりました  "));
    EXPECT_EQ(window->StatusText(6), QStringLiteral("確認完了"));
    EXPECT_TRUE(window->Conditions().isEmpty());

    ChooseCities({"13102"});
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    Job([&] { Button("bbtnCount")->click(); });
    EXPECT_EQ(messages.last().text, QStringLiteral("該当するデータが見つかりませんでした  "));
    EXPECT_EQ(window->StatusText(6), QStringLiteral("該当無し"));

    ChooseCities({"13103"});
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    window->stopArmed = true;
    Job([&] { Button("bbtnCount")->click(); });
    EXPECT_EQ(messages.last().text, QStringLiteral("中断しました  "));
    EXPECT_EQ(window->StatusText(6), QStringLiteral("検索中断"));

    messages.answer(MsgSeam::IdNo);
    Button("bbtnCount")->click();
    EXPECT_FALSE(window->IsSearching()) << "No ends it";
}

TEST_F(CtgrySchTest, PagesAreNumberedAndCountedAndPageDownMovesOn)
{
    ChooseCities({"13101", "13103", "13104"});
    Job([&] { Button("bbtnSearch")->click(); });
    ASSERT_EQ(window->GetHitCount(), 20);
    EXPECT_EQ(window->StatusText(6), QStringLiteral("検索完了"));
    EXPECT_FALSE(Button("bbtnPrior")->isEnabled());
    ASSERT_TRUE(Button("bbtnNext")->isEnabled());

    // Page Down on row 19 only moves; on row 20 it fetches the next page.
    QTableView* list = Results();
    list->setCurrentIndex(list->model()->index(18, 0));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(list, &down);
    EXPECT_FALSE(window->IsSearching());
    EXPECT_EQ(window->ShownPage(), 1);
    list->setCurrentIndex(list->model()->index(19, 0));
    Job([&] { QApplication::sendEvent(list, &down); });
    EXPECT_EQ(window->ShownPage(), 2);

    Job([&] { Button("bbtnNext")->click(); });
    EXPECT_EQ(window->ShownPage(), 3);
    ASSERT_EQ(window->GetHitCount(), 17);
    EXPECT_EQ(Cell(0, TDirSearchForm::ColNo), "41");
    EXPECT_EQ(Cell(16, TDirSearchForm::ColNo), "57");
    EXPECT_EQ(window->StatusText(9), QStringLiteral(" 検索総件数： 57"));
    EXPECT_EQ(window->StatusText(8), QStringLiteral(" 表示ページ： 3"));
    EXPECT_FALSE(Button("bbtnNext")->isEnabled());

    Job([&] { Button("bbtnPrior")->click(); });
    EXPECT_EQ(window->ShownPage(), 2);
    EXPECT_EQ(Cell(0, TDirSearchForm::ColNo), "21");
}

TEST_F(CtgrySchTest, AStopOnPageTwoTurnsNextIntoRunAgain)
{
    // 7 rows then 30: the stop hits the call that ends a condition (a call that fills its page has no
    // progress report to stop in).
    ChooseCities({"13101", "13103"});
    window->stopArmed = true;
    Job([&] { Button("bbtnSearch")->click(); });
    EXPECT_EQ(window->StatusText(6), QStringLiteral("検索中断"));
    EXPECT_EQ(window->GetHitCount(), 7);
    EXPECT_EQ(Button("bbtnNext")->property("tag").toInt(), PageMoveNext) << "a stop on page 1";

    Job([&] { Button("bbtnSearch")->click(); });
    ASSERT_EQ(window->GetHitCount(), 20);
    window->stopArmed = true;
    Job([&] { Button("bbtnNext")->click(); });
    EXPECT_EQ(window->LastOutcome(), 2);
    EXPECT_EQ(window->ShownPage(), 2);
    EXPECT_EQ(Button("bbtnNext")->property("tag").toInt(), PageMoveAgain);
    EXPECT_EQ(Button("bbtnNext")->toolTip(), QStringLiteral("中断した検索を再度行います"));
    ASSERT_TRUE(Button("bbtnNext")->isEnabled());
    Job([&] { Button("bbtnNext")->click(); });
    EXPECT_EQ(window->LastOutcome(), 0);
    EXPECT_EQ(window->ShownPage(), 2);
    EXPECT_EQ(window->GetHitCount(), 17);
    EXPECT_EQ(Cell(16, TDirSearchForm::ColNo), "37");
    EXPECT_EQ(Button("bbtnNext")->property("tag").toInt(), PageMoveNext);
}

TEST_F(CtgrySchTest, RowsShowTheirCellsAndTheCardReadsDetails)
{
    ChooseCities({"13101"});
    Job([&] { Button("bbtnSearch")->click(); });
    ASSERT_EQ(window->GetHitCount(), 7);
    EXPECT_EQ(window->AreaCaption(), QStringLiteral("東京都千代田区"));
    int person = -1;
    for (int i = 0; i < 7; ++i) {
        EXPECT_FALSE(Cell(i, TDirSearchForm::ColAddress).startsWith(QStringLiteral("東京都"))) << i;
        if (Cell(i, TDirSearchForm::ColName) == QStringLiteral("山田　太郎"))
            person = i;
    }
    ASSERT_GE(person, 0);
    EXPECT_EQ(Cell(person, TDirSearchForm::ColMajor), "");
    EXPECT_EQ(Cell(person, TDirSearchForm::ColMinor), "");
    EXPECT_EQ(Cell(0, TDirSearchForm::ColTel), "03-3211-0001");
    EXPECT_EQ(Cell(0, TDirSearchForm::ColListing), QStringLiteral("2001年04月"));
    EXPECT_EQ(Cell(0, TDirSearchForm::ColMajor), GetMajorCategoryName(11));
    window->findChild<QCheckBox*>("chkOmissionAdrs")->setChecked(false);
    EXPECT_TRUE(Cell(0, TDirSearchForm::ColAddress).startsWith(QStringLiteral("東京都千代田区")));

    // The card's walk over the page.
    EXPECT_EQ(CardListWindow(lsCategorySearch), window.data());
    TCardItem item;
    EXPECT_FALSE(window->MoveAndRead(cmPrior, item));
    ASSERT_TRUE(window->MoveAndRead(cmFirst, item));
    EXPECT_TRUE(item.isDirectory);
    EXPECT_EQ(window->GetCurrentIndex(), 0);
    ASSERT_TRUE(window->MoveAndRead(cmNext, item));
    EXPECT_EQ(Text(item.directory.Tel), "03-3211-0002");
    ASSERT_TRUE(window->MoveAndRead(cmLast, item));
    EXPECT_TRUE(window->IsAtLast());
    EXPECT_FALSE(window->MoveAndRead(cmNext, item));
    EXPECT_EQ(Results()->selectionModel()->selectedRows().size(), 1);
}

TEST_F(CtgrySchTest, ClosingIsRefusedWhileAJobRuns)
{
    ChooseCities({"13103"});
    window->show();
    bool refused = false;
    Job([&] {
        Button("bbtnSearch")->click();
        refused = !window->close();
    });
    EXPECT_TRUE(refused);
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window) << "deleted on close";
}

TEST_F(CtgrySchTest, SettingsAreWrittenAtTheEndAndReadBackWithDefaults)
{
    window->findChild<QCheckBox*>("chkOmissionAdrs")->setChecked(false);
    Results()->setColumnWidth(TDirSearchForm::ColName, ScaleByDpi(222, 1));
    delete window.data();
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_EQ(ini.ReadInteger("CATEGORY SEARCH", "HeaderWidth4", 0), 222);
    EXPECT_FALSE(ini.ReadBool("CATEGORY SEARCH", "OmissionAdrs", true));
    EXPECT_EQ(ini.ReadInteger("CATEGORY SEARCH", "Width", 0), 960);
    ini.WriteInteger("CATEGORY SEARCH", "HeaderWidth1", 0);
    ASSERT_TRUE(ini.UpdateFile());

    window = new StoppableSearch;
    EXPECT_EQ(Results()->columnWidth(TDirSearchForm::ColNo), ScaleByDpi(48, 1)) << "below 1: the default";
    EXPECT_EQ(Results()->columnWidth(TDirSearchForm::ColName), ScaleByDpi(222, 1));
    EXPECT_FALSE(window->findChild<QCheckBox*>("chkOmissionAdrs")->isChecked());
}
