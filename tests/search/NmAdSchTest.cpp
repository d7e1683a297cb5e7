// Tests of the name and address search: its condition rules, the history file and its operations, the
// included and excluded names over the shipped tables, counts over the directory fixture, and the two
// windows' job buttons.
#include "search/NmAdSch.h"

#include "search/CtgrySch.h"
#include "search/DirSearchFixture.h"
#include "search/NmAdCond.h"
#include "search/NmAdHistory.h"
#include "search/SearchWindows.h"
#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/MainSettings.h"
#include "platform/IniFile.h"
#include "support/MessageRecorder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

// The globals the window reads, set to a private data folder with copies of the shipped name tables.
class NameSearchTest : public DirSearchTest
{
protected:
    void SetUp() override
    {
        DirSearchTest::SetUp();
        m_saved = {DataRootFolder, DataFolder, CategoryFolder, OtherFolder, DiscFolder};
        m_hisCount = MainSettings.HisCount;
        HddInstalled = false;
        DiscFolder = DirFixtureFolder.chopped(QStringLiteral("Quenrid215/").size());
        DataRootFolder = TempFolder();
        DataFolder = DataRootFolder + QStringLiteral("Data/");
        CategoryFolder = DataRootFolder + QStringLiteral("Category/");
        OtherFolder = DataRootFolder + QStringLiteral("Other/");
        for (const QString& f : {DataFolder, CategoryFolder, OtherFolder})
            QDir().mkpath(f);
        for (const char* table : {"Category.DB", "Target.DB", "Exception.DB"})
            ASSERT_TRUE(QFile::copy(ProgramFolder + QStringLiteral("Category/") + QString::fromLatin1(table),
                                    CategoryFolder + QString::fromLatin1(table)));
        MainSettings.HisCount = 10;
        DMQuenrid215 = new TDMQuenrid215;
        DMQuenrid215->CreateCategoryTables();
    }
    void TearDown() override
    {
        delete window.data();
        delete DMQuenrid215;
        DMQuenrid215 = nullptr;
        MainSettings.HisCount = m_hisCount;
        DataRootFolder = m_saved[0];
        DataFolder = m_saved[1];
        CategoryFolder = m_saved[2];
        OtherFolder = m_saved[3];
        DiscFolder = m_saved[4];
        DirSearchTest::TearDown();
    }

    TNameAdrsSearch* Open()
    {
        window = new TNameAdrsSearch(nullptr, nullptr);
        return window;
    }
    // Runs the event loop until the window's job has reported.
    static void Wait(TDirSearchForm* form)
    {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!form->IsSearching())
                loop.quit();
        });
        QTimer::singleShot(60000, &loop, [&] {
            ADD_FAILURE() << "no report";
            loop.quit();
        });
        poll.start(0);
        if (form->IsSearching())
            loop.exec();
    }
    // Counts with the window's conditions; the hit total.
    int Count()
    {
        messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
        window->findChild<QPushButton*>("bbtnCount")->click();
        Wait(window);
        return window->Worker() ? window->Worker()->HitTotal() : -1;
    }
    // The library's own count of the first condition with these name lists.
    int LibraryCount(const AnsiString& include, const AnsiString& exclude)
    {
        TDirSearchCondRec c = window->Conditions().first();
        int rc = 0;
        c.NameLists = OpenDirNameLists(include, exclude, &rc);
        int32_t count = 0;
        EXPECT_EQ(DirSearchAreaCount(&c, &count, 0, nullptr), 0);
        CloseDirNameLists(c.NameLists);
        return count;
    }
    // Tokyo with one city chosen.
    void ChooseCity(const QByteArray& code)
    {
        window->Areas().SelectRegion(3);
        QListWidget* cities = window->Areas().lbxCity;
        for (int i = 0; i < cities->count(); ++i)
            if (cities->item(i)->data(Qt::UserRole).toByteArray() == code)
                window->Areas().ClickAreaList(TAreaChoice::alCity, {i});
    }
    QStringList Listed(const char* name)
    {
        QListWidget* list = window->findChild<QListWidget*>(name);
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    MessageRecorder messages;
    QPointer<TNameAdrsSearch> window;
    QStringList m_saved;
    int m_hisCount = 10;
};

TNameSearchHistoryRec Entry(const char* name, int region = 0, TAreaCodeList codes = {TAreaCode{}})
{
    TNameSearchHistoryRec r;
    r.Name = name;
    r.MatchKind = 1;
    r.PhoneKinds = 15;
    r.Region = region;
    r.AreaCodes = codes;
    r.AreaCount = qint32(codes.size());
    r.AreaKind = codes.first().kind;
    return r;
}

} // namespace

TEST(NmAdCondTest, NameCheckOfEachJob)
{
    const AnsiString blanks = ToAnsi(QStringLiteral(" 　 "));
    const struct
    {
        const char* what;
        int job, region, prefs, kinds;
        AnsiString name;
        bool city, oaza;
        QString refusal;
    } cases[] = {
        {"prefix, normal, no name, prefecture", 2, 3, 1, 1, "", false, false,
         "この条件で検索を行うために  \r\n名称が入力されている必要があります  "},
        {"the same over a city", 2, 3, 1, 1, "", true, false, ""},
        {"fax only counts a prefecture", 0, 3, 1, 2, "", false, false, ""},
        {"blanks are no name", 0, 3, 1, 15, blanks, false, false,
         "この条件で件数確認を行うために  \r\n名称が入力されている必要があります  "},
        {"main line needs a name", 0, 3, 1, 8, "\x01", false, false,
         "この条件で件数確認を行うために  \r\n名称が入力されている必要があります  "},
        {"export over the whole country", 1, 0, 1, 15, "abc", true, true,
         "全国を指定したファイル出力はできません  "},
        {"export over two prefectures", 1, 2, 2, 15, "abc", true, true,
         "複数都道府県を指定したファイル出力はできません  "},
        {"export without a name needs an oaza", 1, 3, 1, 15, "", true, false,
         "この条件でファイル出力を行うために  \r\n名称が入力されている必要があります  "},
        {"export with an oaza", 1, 3, 1, 15, "", true, true, ""},
    };
    for (const auto& c : cases) {
        TNameCheckInput in;
        in.job = c.job;
        in.region = c.region;
        in.prefectureCount = c.prefs;
        in.phoneKinds = c.kinds;
        in.name = c.name;
        in.citySpecific = c.city;
        in.oazaSpecific = c.oaza;
        const TNameCheckResult r = CheckNameConditions(in);
        EXPECT_EQ(r.refusal, c.refusal) << c.what;
        EXPECT_EQ(r.focusName, r.refusal.contains(QStringLiteral("名称が"))) << c.what;
    }
}

TEST(NmAdCondTest, ControlCharactersAndTheNameTexts)
{
    // ア = 83 41: its trail byte is no letter to drop; a lone 0x80 and 0xFD go, half-width kana stay.
    const AnsiString a = ToAnsi(QStringLiteral("ア"));
    EXPECT_EQ(StripControlChars("\x01" + a + "\x80x\t\xB1\xFD"), a + "x\xB1");
    EXPECT_EQ(StripControlChars(ToAnsi(QStringLiteral("歯科"))), ToAnsi(QStringLiteral("歯科")));

    const AnsiString name = ToAnsi(QStringLiteral("歯科"));
    const AnsiString one = IncludeNamesText(name, {});
    EXPECT_EQ(one, name + ",\0"_qba);
    const AnsiString two = IncludeNamesText(name, {QStringLiteral("歯科医院"), QStringLiteral("デンタル")});
    EXPECT_EQ(two, name + "," + ToAnsi(QStringLiteral("歯科医院")) + "," +
                       ToAnsi(QStringLiteral("デンタル")) + ",\0"_qba);
    EXPECT_EQ(ExcludeNamesText({}), "\0"_qba) << "an empty list is its zero byte (and the terminator)";
    EXPECT_EQ(IncludeNamesText(" ", {}), " ,\0"_qba) << "blanks are sent unchanged";
}

TEST(NmAdHistoryTest, FileRoundTripsDamageAndTheListRules)
{
    TNameSearchHistory h;
    h.current = Entry("abc", 3, {{"13101", AreaKindCity}, {"13103", AreaKindCity}});
    h.entries = {h.current, Entry("x"), Entry("y", 3, {{"13101001", AreaKindOaza}})};
    const QByteArray bytes = TNameHistoryFile::Encode(h);
    EXPECT_EQ(bytes.size(), 4 + (85 + 2 * 6) + 85 + (85 + 9));
    const TNameSearchHistory back = TNameHistoryFile::Decode(bytes, 10);
    EXPECT_EQ(back.current, h.current);
    EXPECT_EQ(back.entries, h.entries);

    // The whole country: count 1, kind 0, no code bytes; back as the single empty code.
    const TNameSearchHistory country =
        TNameHistoryFile::Decode(TNameHistoryFile::Encode({Entry("c"), {}}), 0);
    EXPECT_EQ(country.current.AreaCodes, TAreaCodeList{TAreaCode{}});
    EXPECT_TRUE(country.entries.isEmpty()) << "no history with HisCount 0";

    // A cut first entry gives the defaults; a cut later entry keeps the ones before.
    const TNameSearchHistory cutFirst = TNameHistoryFile::Decode(bytes.left(60), 10);
    EXPECT_EQ(cutFirst.current, TNameSearchHistoryRec{});
    EXPECT_EQ(cutFirst.current.PageSize, 20);
    EXPECT_TRUE(cutFirst.entries.isEmpty());
    EXPECT_EQ(TNameHistoryFile::Decode(bytes.chopped(3), 10).entries.size(), 2);
    // The count is capped by HisCount.
    EXPECT_EQ(TNameHistoryFile::Decode(bytes, 2).entries.size(), 2);

    // Case-blind match moves the entry to the head; a new one drops the last at HisCount.
    QList<TNameSearchHistoryRec> list = {Entry("a"), Entry("b"), Entry("Abc")};
    RecordHistoryEntry(list, Entry("aBC"), 3);
    EXPECT_EQ(list.first().Name, "Abc");
    EXPECT_EQ(list.size(), 3);
    RecordHistoryEntry(list, Entry("new"), 3);
    EXPECT_EQ(list.size(), 3);
    EXPECT_EQ(list.first().Name, "new");
    EXPECT_EQ(list.last().Name, "a");
}

TEST_F(NameSearchTest, FuzzyCountsFollowTheIncludedAndExcludedNames)
{
    Open();
    ChooseCity("13101");
    window->SetName(QStringLiteral("歯科"));
    window->ClickMatchKind(1);
    EXPECT_EQ(Listed("lbxTarget"),
              (QStringList{"歯科医院", "歯科クリニック", "デンタルクリニック", "デンタルオフィス"}));
    EXPECT_EQ(Listed("lbxException"), (QStringList{"歯科技工所", "歯科材料"}));
    const int withLists = Count();
    EXPECT_EQ(withLists, LibraryCount(window->IncludeNames(), window->ExcludeNames()));
    const int nameOnly = LibraryCount(ToAnsi(QStringLiteral("歯科,")), {});
    EXPECT_GT(withLists, nameOnly) << "デンタルクリニック adds hits";

    // An own exclude name lowers the count.
    Table* original = DMQuenrid215->OriginalTable();
    original->append();
    original->fieldByName("RecNo").setInteger(0);
    original->fieldByName("Name").setString(QStringLiteral("デンタル"));
    original->fieldByName("Category").setString(QStringLiteral("歯科"));
    original->fieldByName("Flag").setInteger(1);
    original->fieldByName("Show").setBoolean(true);
    original->post();
    window->LoadNameLists();
    EXPECT_EQ(Listed("lbxException").last(), "デンタル");
    const int excluded = Count();
    EXPECT_LT(excluded, withLists);
    EXPECT_EQ(excluded, LibraryCount(window->IncludeNames(), window->ExcludeNames()));
    EXPECT_EQ(window->StatusText(1), "あいまい");
    EXPECT_EQ(window->StatusText(7), "確認完了");

    // Exact match empties and disables the lists; only the name goes.
    window->ClickMatchKind(3);
    EXPECT_TRUE(Listed("lbxTarget").isEmpty());
    EXPECT_FALSE(window->findChild<QListWidget*>("lbxTarget")->isEnabled());
    EXPECT_FALSE(window->findChild<QPushButton*>("bbtnTargetException")->isEnabled());
    window->BuildConditions();
    EXPECT_EQ(window->IncludeNames(), ToAnsi(QStringLiteral("歯科,")) + '\0');
    EXPECT_EQ(window->Conditions().first().MatchKind, 3);
}

TEST_F(NameSearchTest, JobsAreRecordedAndEntriesApplied)
{
    Open();
    ChooseCity("13101");
    window->SetName(QString(40, u'a'));
    window->ClickMatchKind(1);
    Count();
    ASSERT_EQ(window->History().entries.size(), 1);
    EXPECT_EQ(window->History().current.Name, QByteArray(34, 'a'));
    EXPECT_EQ(window->ChosenHistoryEntry(), 0);
    const QString file = DataFolder + TNameHistoryFile::FileName;
    EXPECT_EQ(TNameHistoryFile::Load(file, 10).entries.size(), 1);

    // Ten entries, then a new one drops the oldest; the file holds 10.
    for (int i = 0; i < 10; ++i) {
        window->SetName(QStringLiteral("n%1").arg(i));
        Count();
    }
    EXPECT_EQ(window->History().entries.size(), 10);
    EXPECT_EQ(TNameHistoryFile::Load(file, 10).entries.size(), 10);
    // The same conditions but the letter case: moved to the head.
    window->SetName(QStringLiteral("N5"));
    Count();
    EXPECT_EQ(window->History().entries.first().Name, "n5");
    EXPECT_EQ(window->History().entries.size(), 10);

    // Lowering the count to 3 keeps the newest three and rewrites the file.
    MainSettings.HisCount = 3;
    window->ApplyHistoryCount();
    EXPECT_EQ(window->History().entries.size(), 3);
    EXPECT_EQ(TNameHistoryFile::Load(file, 10).entries.size(), 3);
    window->DeleteHistoryEntry(0);
    EXPECT_EQ(TNameHistoryFile::Load(file, 10).entries.size(), 2);
    EXPECT_EQ(window->findChild<QComboBox*>("nmcbxName")->count(), 2);

    // With only 通常 checked, an entry of kind 8 leaves only 代表; the match kind follows the entry.
    window->ClickPhoneKind(2, false);
    window->ClickPhoneKind(4, false);
    window->ClickPhoneKind(8, false);
    ASSERT_EQ(window->PhoneKinds(), 1);
    TNameSearchHistoryRec main = Entry("m", 3, {{"13101", AreaKindCity}});
    main.PhoneKinds = 8;
    main.MatchKind = 7;
    window->ApplyHistoryEntry(main);
    EXPECT_EQ(window->PhoneKinds(), 8);
    EXPECT_TRUE(window->findChild<QCheckBox*>("chkMainNumber")->isChecked());
    EXPECT_FALSE(window->findChild<QCheckBox*>("chkNormal")->isChecked());
    EXPECT_EQ(window->MatchKind(), 0) << "a kind outside 0-3 is prefix";
    EXPECT_TRUE(window->findChild<QRadioButton*>("rbFront")->isChecked());
    EXPECT_EQ(window->Areas().AreaCodeList(), (TAreaCodeList{{"13101", AreaKindCity}}));
    EXPECT_EQ(window->TypedName(), "m");
}

TEST_F(NameSearchTest, WithoutHistoryTheFileHoldsTheLastConditionsAndThePlainEditShows)
{
    MainSettings.HisCount = 0;
    Open();
    window->show();
    EXPECT_TRUE(window->findChild<QLineEdit*>("nmedtName")->isVisible());
    EXPECT_FALSE(window->findChild<QComboBox*>("nmcbxName")->isVisible());
    ChooseCity("13101");
    window->SetName(QStringLiteral("歯科"));
    Count();
    QFile file(DataFolder + TNameHistoryFile::FileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.left(4), QByteArray("\x01\0\0\0", 4));
    EXPECT_EQ(TNameHistoryFile::Decode(bytes, 0).current.Name, ToAnsi(QStringLiteral("歯科")));
}

TEST_F(NameSearchTest, AJobInOneWindowDisablesTheOthersJobButtons)
{
    RegisterSearchWindows();
    Open();
    NameAdrsSearch = window;
    QPointer<TCategorySearch> other = new TCategorySearch(nullptr, nullptr);
    CategorySearch = other;
    ChooseCity("13101");
    window->SetName(QStringLiteral("歯科"));
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    window->findChild<QPushButton*>("bbtnCount")->click();
    if (window->IsSearching()) {
        EXPECT_FALSE(other->findChild<QPushButton*>("bbtnSearch")->isEnabled());
        EXPECT_FALSE(other->findChild<QPushButton*>("bbtnCount")->isEnabled());
    }
    Wait(window);
    EXPECT_TRUE(other->findChild<QPushButton*>("bbtnSearch")->isEnabled());

    // The other way round, held by the stop of the job's first call.
    other->EnableSearchButtons(true);
    window->EnableSearchButtons(false);
    EXPECT_FALSE(window->findChild<QPushButton*>("bbtnSearch")->isEnabled());
    EXPECT_FALSE(window->findChild<QPushButton*>("bbtnFileExport")->isEnabled());
    window->EnableSearchButtons(true);
    EXPECT_TRUE(window->findChild<QPushButton*>("bbtnSearch")->isEnabled());
    delete other.data();
    NameAdrsSearch = nullptr;
}

// Asks for pages of 1 and stops its job once the first has come.
class TStoppingNameSearch : public TNameAdrsSearch
{
public:
    using TNameAdrsSearch::TNameAdrsSearch;
    void BuildConditions() override
    {
        TNameAdrsSearch::BuildConditions();
        for (TDirSearchCondRec& c : m_conditions)
            c.PageSize = 1;
    }
    void SearchProgress(int kind, int) override
    {
        if (kind == 1 && Worker())
            Worker()->RequestStop();
    }
};

TEST_F(NameSearchTest, AWholeDataExportWritesALinePerHitAndAStopKeepsTheLinesWritten)
{
    const QString file = DataFolder + QStringLiteral("out.csv");
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        ini.WriteString(QStringLiteral("NAMEADRS SEARCH"), QStringLiteral("ExportFile"), file);
        ASSERT_TRUE(ini.UpdateFile());
    }
    auto lines = [&file] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? int(f.readAll().count("\r\n")) : -1;
    };
    // Export, keep the remembered file, then the report.
    auto exportAll = [this] {
        messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdNo).answer(MsgSeam::IdOk);
        window->findChild<QPushButton*>("bbtnFileExport")->click();
        Wait(window);
    };
    Open();
    ChooseCity("13101");
    window->SetName(QStringLiteral("歯科"));
    window->ClickMatchKind(1);
    const int count = Count();
    ASSERT_GT(count, 1);
    exportAll();
    EXPECT_EQ(window->LastOutcome(), 0);
    EXPECT_EQ(window->LinesWritten(), count);
    EXPECT_EQ(lines(), count + 1) << "a header and a line per hit";
    EXPECT_EQ(messages.last().text, QString::number(count) + QStringLiteral(" 件のデータを出力しました  "));

    delete window.data();
    QFile::remove(file);
    window = new TStoppingNameSearch(nullptr, nullptr);
    ChooseCity("13101");
    window->SetName(QStringLiteral("歯科"));
    window->ClickMatchKind(1);
    exportAll();
    EXPECT_EQ(messages.last().text, QStringLiteral("中断しました  "));
    EXPECT_EQ(window->LastOutcome(), 2);
    EXPECT_GT(window->LinesWritten(), 0);
    EXPECT_EQ(lines(), window->LinesWritten() + 1) << "the lines written stay in the file";
}

TEST_F(NameSearchTest, EnterMovesAlongTheConditions)
{
    Open();
    window->show();
    QApplication::setActiveWindow(window);
    window->ClickMatchKind(2);
    auto enter = [this](QWidget* from) {
        from->setFocus();
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(window, &key);
        return QApplication::focusWidget();
    };
    EXPECT_EQ(enter(window->NameField()), window->findChild<QRadioButton*>("rbRear"));
    EXPECT_EQ(enter(window->findChild<QRadioButton*>("rbRear")), window->findChild<QCheckBox*>("chkNormal"));
    EXPECT_EQ(enter(window->findChild<QComboBox*>("cbxGetCount")), window->Areas().cbxArea);
    EXPECT_EQ(enter(window->Areas().cbxArea), window->findChild<QPushButton*>("bbtnSearch"))
        << "the whole country: no area list to go to";
}
