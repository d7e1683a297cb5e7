// Tests of the lookup dialog and its result: the sources of each result kind, the input checks, the town
// lists, the saved area code, and the telephone lookup over an address book, the directory fixture and the
// exchange codes.
#include "search/DicSch.h"

#include "core/PDFHelp.h"

#include "search/DirSearchFixture.h"
#include "support/CardFixtures.h"
#include "support/MessageRecorder.h"

#include "search/KykbnDicClass.h"
#include "search/PosDicClass.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>

namespace {

// Texts of a directory entry written into a zeroed record.
struct DetailSpec
{
    const char* name;
    int person; // 99 a person
    const char* category;
    int phoneKind;
};

TDirDetailRec Detail(const DetailSpec& s)
{
    TDirDetailRec d;
    std::memset(&d, 0, sizeof d);
    SetField(d.Tel, A("06-6123-0001"));
    SetField(d.Name, A(s.name));
    SetField(d.NameKana, A("ｳﾒﾀﾞ"));
    SetField(d.PostalCode, A("5300001"));
    SetField(d.Tdfkn, A("大阪府"));
    SetField(d.City, A("大阪市北区"));
    SetField(d.Address3, A("梅田"));
    SetField(d.Address4, A("１丁目"));
    SetField(d.TdfknKana, A("ｵｵｻｶﾌ"));
    SetField(d.CityKana, A("ｵｵｻｶｼｷﾀｸ"));
    SetField(d.AreaCode, A("27127001002"));
    SetField(d.FirstListing, A("200104"));
    SetField(d.Category, A(s.category));
    const qint32 ints[] = {s.phoneKind, s.person, 9000000, 35000000};
    std::memcpy(reinterpret_cast<char*>(&d) + offsetof(TDirDetailRec, PhoneKind), &ints[0], 4);
    std::memcpy(reinterpret_cast<char*>(&d) + offsetof(TDirDetailRec, PersonFlag), &ints[1], 4);
    std::memcpy(reinterpret_cast<char*>(&d) + offsetof(TDirDetailRec, Latitude), &ints[2], 4);
    std::memcpy(reinterpret_cast<char*>(&d) + offsetof(TDirDetailRec, Longitude), &ints[3], 4);
    return d;
}

QStringList Column(const QTreeWidget* list, int column)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(column);
    return out;
}

} // namespace

TEST(DicResultTest, DirectoryEntriesOfPersonAndCompany)
{
    const TDicResultRec company = DicResultFromDirectory(Detail({"（株）梅田商会", 0, "1115", 3}));
    EXPECT_EQ(company.IsPerson, 0);
    EXPECT_EQ(ToWide(company.Name), QStringLiteral("株式会社梅田商会"));
    EXPECT_EQ(company.PhoneKind, 3);
    EXPECT_EQ(company.PostalCode, "530-0001");
    EXPECT_EQ(ToWide(company.Address1), QStringLiteral("大阪市北区"));
    EXPECT_EQ(ToWide(company.Address2), QStringLiteral("梅田１丁目"));
    EXPECT_EQ(ToWide(company.AddressKana), QStringLiteral("ｵｵｻｶﾌｵｵｻｶｼｷﾀｸ"));
    EXPECT_EQ(company.JisCode, "27127");
    EXPECT_EQ(company.BlockCode, "001002");
    EXPECT_EQ(company.FirstListing, "200104");
    EXPECT_EQ(company.Latitude, 35156250); // 9000000 * 1000 / 256
    EXPECT_EQ(company.Longitude, 136718750);
    EXPECT_EQ(company.CodeMain, 11);
    EXPECT_EQ(company.CodeSub, 15);

    const TDicResultRec person = DicResultFromDirectory(Detail({"（株）花子", 99, "", 0}));
    EXPECT_EQ(person.IsPerson, 1);
    EXPECT_EQ(ToWide(person.Name), QStringLiteral("（株）花子")) << "a person's name stays as it is";
    EXPECT_EQ(person.CodeMain, 0);
    EXPECT_EQ(person.CodeSub, 0);
}

TEST(DicResultTest, TextsAreCutOnCharacterBoundaries)
{
    TDirDetailRec d = Detail({"x", 0, "", 0});
    // 37 + 36 + 40 bytes: the cap of 100 falls inside a double-byte character.
    SetField(d.Address3, "a" + A("あああああああああああああああああ"));
    SetField(d.Address4, A("いいいいいいいいいいいいいいいいいい"));
    SetField(d.Address5, A("うううううううううううううううううううう"));
    const TDicResultRec r = DicResultFromDirectory(d);
    EXPECT_EQ(r.Address2.size(), 99);
    EXPECT_FALSE(ToWide(r.Address2).contains(QChar::ReplacementCharacter));
}

TEST(DicResultTest, DictionaryResults)
{
    TKykbnResultRec tel{};
    std::memcpy(tel.Tel, "045-971-0000", 12);
    std::memcpy(tel.JisCode, "141171", 6); // no terminator: six characters
    std::memcpy(tel.BlockCode, "0450001", 7);
    const TDicResultRec k = DicResultFromKykbn(tel);
    EXPECT_EQ(k.Tel, "045-971-0000");
    EXPECT_EQ(k.JisCode, "14117");
    EXPECT_EQ(k.BlockCode, "045000");
    EXPECT_TRUE(k.Name.isEmpty());

    TDicAdrsResultRec office{};
    SetField(office.OfficeName, A(" （株）丸の内ビル "));
    SetField(office.OfficeKana, A("ﾏﾙﾉｳﾁﾋﾞﾙ"));
    const TDicResultRec o = DicResultFromDicAdrs(office);
    EXPECT_EQ(ToWide(o.Name), QStringLiteral("株式会社丸の内ビル"));
    EXPECT_EQ(ToWide(o.NameKana), QStringLiteral("ﾏﾙﾉｳﾁﾋﾞﾙ"));
    EXPECT_EQ(o.IsPerson, 0);
}

TEST_F(DicTest, PostalResultWithoutTownRow)
{
    TPosSearch pos(DicLibraryFolder, FixtureDicFolder);
    ASSERT_EQ(pos.Search("1000001"), 0);
    ASSERT_EQ(pos.ListTowns(0, 0), 0);
    const TDicResultRec r = DicResultFromDicAdrs(pos.GetResult(-1, true));
    EXPECT_EQ(ToWide(r.Prefecture), QStringLiteral("東京都"));
    EXPECT_EQ(ToWide(r.Address1), QStringLiteral("千代田区"));
    EXPECT_EQ(r.JisCode, "13101");
    EXPECT_TRUE(r.PostalCode.isEmpty());
    EXPECT_TRUE(r.Address2.isEmpty());
    EXPECT_EQ(r.Latitude, 0);
}

TEST(DicSchLogicTest, InputChecksFiltersAndHeads)
{
    const struct
    {
        const char* text;
        TDicInputCheck check;
    } cases[] = {{"", dicInputEmpty},       {"  ", dicInputEmpty},        {"03-1234-5678", dicInputOk},
                 {" 0312 ", dicInputOk},    {"03 1234", dicInputBadChar}, {"03-12a4", dicInputBadChar},
                 {"０３", dicInputBadChar}, {"---", dicInputHyphensOnly}};
    for (const auto& c : cases)
        EXPECT_EQ(CheckDicNumberInput(QString::fromUtf8(c.text)), c.check) << c.text;
    EXPECT_EQ(DicStartText(QStringLiteral("(03) 1234-5678")), QStringLiteral("031234-5678"));
    EXPECT_EQ(DicStartText(QStringLiteral("--a")), QString());

    const struct
    {
        int filter;
        const char* reading;
        bool passes;
    } filters[] = {{0, "", true},    {0, "abc", true}, {8, "ﾔﾏﾀﾞ", true}, {8, "ﾕｷ", true}, {8, "ﾖｳﾀﾞ", true},
                   {8, "ﾗｲ", false}, {8, "ﾓﾘ", false}, {1, "ｱ", true},    {1, "ｵ", true},  {1, "ｶ", false},
                   {10, "ﾜｶ", true}, {10, "ｦ", false}, {10, "ﾝ", false},  {9, "ﾛ", true},  {8, "", false}};
    for (const auto& f : filters)
        EXPECT_EQ(DicKanaFilterPasses(f.filter, A(f.reading)), f.passes) << f.filter << " " << f.reading;
    EXPECT_EQ(DicGroupHead(A("ﾔﾏﾀﾞ")), QStringLiteral("や"));
    EXPECT_EQ(DicGroupHead(A("ﾝ")), QStringLiteral("ん"));
    EXPECT_EQ(DicGroupHead(A("ab")), QStringLiteral("a"));
}

TEST_F(DirSearchTest, SavedAreaCodeFile)
{
    const QString folder = TempFolder();
    EXPECT_FALSE(LoadSavedAreaCode(folder).save);
    SaveSavedAreaCode(folder, {true, QStringLiteral("0466")});
    const TSavedAreaCode back = LoadSavedAreaCode(folder);
    EXPECT_TRUE(back.save);
    EXPECT_EQ(back.tel, QStringLiteral("0466"));
    SaveSavedAreaCode(folder, {false, QStringLiteral("0466")});
    EXPECT_EQ(LoadSavedAreaCode(folder).tel, QString()) << "an unchecked box keeps no number";
    EXPECT_EQ(AreaCodeToSave(QStringLiteral("0466221234")), QStringLiteral("0466"));
}

namespace {

// The dialog over an address book, the directory fixture and the nationwide dictionaries.
class DicSearchDialogTest : public DirSearchTest
{
protected:
    void SetUp() override
    {
        DirSearchTest::SetUp();
        m_savedDisc = DiscFolder;
        m_savedRoot = DataRootFolder;
        m_savedHdd = HddInstalled;
        DiscFolder = DirFixtureFolder.chopped(QStringLiteral("Quenrid215/").size());
        HddInstalled = false;
        DataRootFolder = TempFolder();
        dialog.SetAddressBook(data.table.get());
        dialog.Configure(15, true, false);
    }
    void TearDown() override
    {
        DiscFolder = m_savedDisc;
        DataRootFolder = m_savedRoot;
        HddInstalled = m_savedHdd;
        DirSearchTest::TearDown();
    }
    qint32 addRow(const char* field, const char* digits, bool person, const QString& name)
    {
        return qint32(data.addRow(
            {{field, QByteArray(digits)},
             {"PrivCorp", person},
             {person ? "NameKanji" : "CorpKanji", person ? WideToHexText(name) : QVariant(name)}}));
    }

    FakeCardData data;
    TDicSearch dialog;
    MessageRecorder messages;

private:
    QString m_savedDisc, m_savedRoot;
    bool m_savedHdd = false;
};

} // namespace

TEST_F(DicSearchDialogTest, OneAddressBookMatchIsDecidedWithoutShowing)
{
    const qint32 recNo = addRow("Tel", "0312345678", true, QStringLiteral("山田太郎"));
    addRow("Tel", "0399999999", true, QStringLiteral("鈴木一郎"));
    Table& shared = *data.table;
    shared.setIndexName(QStringLiteral("NameKana"));
    shared.last();
    const qint64 key = shared.currentKey();
    messages.answer(MsgSeam::IdYes);
    EXPECT_EQ(dialog.StartSearch(0, QStringLiteral("03-1234-5678")), 1);
    EXPECT_EQ(messages.last().flags, 35u);
    EXPECT_EQ(dialog.ResultKind, TDicSearch::rkAddressBook);
    EXPECT_EQ(dialog.GetChosenRecNo(), recNo);
    EXPECT_EQ(dialog.GetResult(), TDicResultRec());
    EXPECT_EQ(shared.indexName(), QStringLiteral("NameKana")) << "the shared cursor keeps its index";
    EXPECT_EQ(shared.currentKey(), key) << "and its position";
}

TEST_F(DicSearchDialogTest, SeveralFaxMatchesListThemAndAnswersSteerTheSearch)
{
    addRow("Fax", "0311112222", true, QStringLiteral("山田太郎"));
    const qint32 second = addRow("Fax", "0311112222", false, QStringLiteral("山田商店"));
    messages.answer(MsgSeam::IdYes);
    ASSERT_EQ(dialog.StartSearch(0, QStringLiteral("03-1111-2222")), 0);
    EXPECT_EQ(dialog.pgctlDicSch->currentWidget(), dialog.tabstTelList);
    EXPECT_EQ(dialog.pnlSchKey->text(), QStringLiteral("FAX"));
    EXPECT_FALSE(dialog.pnlSchKey->isHidden());
    EXPECT_EQ(dialog.lblTelList1->text(), QStringLiteral("アドレス帳に複数のデータが見つかりました。"));
    EXPECT_EQ(Column(dialog.lvTelList, 0), (QStringList{QStringLiteral("個人"), QStringLiteral("会社")}));
    EXPECT_EQ(Column(dialog.lvTelList, 1),
              (QStringList{QStringLiteral("山田太郎"), QStringLiteral("山田商店")}));
    dialog.lvTelList->clearSelection();
    dialog.btnDecisionClick();
    EXPECT_FALSE(dialog.Decided()) << "決定 needs a chosen row";
    dialog.lvTelList->topLevelItem(1)->setSelected(true);
    dialog.btnDecisionClick();
    EXPECT_TRUE(dialog.Decided());
    EXPECT_EQ(dialog.GetChosenRecNo(), second);

    TDicSearch no;
    no.SetAddressBook(data.table.get());
    messages.answer(MsgSeam::IdNo);
    ASSERT_EQ(no.StartSearch(0, QStringLiteral("0311112222")), 0);
    EXPECT_EQ(no.ResultKind, 0) << "not in the directory: on to the exchange codes";
    EXPECT_GT(no.lvTelCity->topLevelItemCount(), 0);

    TDicSearch cancel;
    cancel.SetAddressBook(data.table.get());
    messages.answer(MsgSeam::IdCancel);
    EXPECT_EQ(cancel.StartSearch(0, QStringLiteral("0311112222")), 9);
}

TEST_F(DicSearchDialogTest, SeveralDirectoryHitsGoToTheListPage)
{
    ASSERT_EQ(dialog.StartSearch(0, QStringLiteral("0661230001")), 0);
    EXPECT_EQ(dialog.ResultKind, TDicSearch::rkDirectory);
    EXPECT_EQ(dialog.pgctlDicSch->currentWidget(), dialog.tabstTelList);
    EXPECT_EQ(dialog.lblTelList1->text(), QStringLiteral("電話帳データに複数のデータが見つかりました。"));
    EXPECT_EQ(dialog.pnlSchTel->text(), QStringLiteral("06-6123-0001"));
    EXPECT_TRUE(dialog.pnlSchKey->isHidden());
    EXPECT_FALSE(dialog.btnPrior->isHidden());
    ASSERT_EQ(dialog.lvTelList->topLevelItemCount(), 2);
    EXPECT_EQ(Column(dialog.lvTelList, 0), (QStringList{QStringLiteral("会社"), QStringLiteral("個人")}));
    dialog.lvTelList->setCurrentItem(dialog.lvTelList->topLevelItem(1));
    dialog.btnDecisionClick();
    ASSERT_TRUE(dialog.Decided());
    const TDicResultRec r = dialog.GetResult();
    EXPECT_EQ(r.IsPerson, 1);
    EXPECT_EQ(ToWide(r.Name), QStringLiteral("梅田　花子"));
    EXPECT_EQ(r.PhoneKind, 2);
    EXPECT_EQ(r.Tel, "06-6123-0001");

    TDicSearch back;
    ASSERT_EQ(back.StartSearch(0, QStringLiteral("0661230001")), 0);
    back.btnPriorClick();
    EXPECT_EQ(back.pgctlDicSch->currentWidget(), back.tabstSearch);
    EXPECT_EQ(back.ResultKind, 0);
    EXPECT_TRUE(back.btnPrior->isHidden());
}

TEST_F(DicSearchDialogTest, NotDisplayableNumberFallsThroughToTheExchangeCodes)
{
    ASSERT_EQ(dialog.StartSearch(0, QStringLiteral("03-3211-0008")), 0);
    EXPECT_EQ(dialog.ResultKind, 0);
    ASSERT_GT(dialog.lvTelCity->topLevelItemCount(), 0);
    ASSERT_GT(dialog.lvTelTown->topLevelItemCount(), 0) << "the first area's towns are listed";
    EXPECT_EQ(dialog.lblTelSch->text(),
              QStringLiteral("該当するデータは表示できません。局番検索結果から住所を選択してください。"));
    dialog.btnDecisionClick();
    ASSERT_TRUE(dialog.Decided());
    EXPECT_EQ(dialog.GetResult().Tel, "03-3211-0008");
    EXPECT_FALSE(dialog.GetResult().JisCode.isEmpty());
}

TEST_F(DicSearchDialogTest, InputErrorsShowTheirMessages)
{
    const struct
    {
        const char* text;
        QString status;
    } cases[] = {{"03-12a4", DicBadCharText},
                 {"03 1234", DicBadCharText},
                 {"---", DicHyphensOnlyText},
                 {" ", QStringLiteral("検索する電話番号を入力してください。")}};
    for (const auto& c : cases) {
        dialog.edtTelSch->setText(QString::fromUtf8(c.text));
        EXPECT_EQ(dialog.RunPhoneSearch(), 9) << c.text;
        EXPECT_EQ(dialog.lblTelSch->text(), c.status) << c.text;
    }
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(DicSearchDialogTest, KanaFilterHeadsAndViewKinds)
{
    ASSERT_EQ(dialog.StartSearch(2, QStringLiteral("神奈川県藤沢市")), 0);
    ASSERT_GT(dialog.lvAdrsTown->topLevelItemCount(), 20);
    dialog.cbxAdrsViewKana->setCurrentIndex(8); // や行
    const int rows = dialog.lvAdrsTown->topLevelItemCount();
    ASSERT_GT(rows, 0);
    QStringList heads = Column(dialog.lvAdrsTown, 1);
    heads.removeAll(QString());
    for (const QString& h : heads)
        EXPECT_TRUE(QStringLiteral("やゆよ").contains(h)) << qPrintable(h);
    EXPECT_EQ(heads.size(), QSet<QString>(heads.begin(), heads.end()).size()) << "one head per run";
    EXPECT_EQ(dialog.lblAdrsSch->text(), QStringLiteral("住所検索結果から住所を選択してください。"));

    dialog.rbAdrsViewOhguchi->setChecked(true);
    dialog.rbViewTypeClick(2);
    EXPECT_EQ(dialog.lvAdrsTown->columnCount(), 4);
    EXPECT_EQ(dialog.lvAdrsTown->columnWidth(2), 190);
    EXPECT_EQ(dialog.lvAdrsTown->columnWidth(3), 190);
    dialog.rbAdrsViewTown->setChecked(true);
    dialog.rbViewTypeClick(2);
    EXPECT_EQ(dialog.lvAdrsTown->columnCount(), 3);
    EXPECT_EQ(dialog.lvAdrsTown->columnWidth(2), 380);
}

TEST_F(DicSearchDialogTest, SavedAreaCodeIsLoadedAndSaved)
{
    SaveSavedAreaCode(DataRootFolder, {true, QStringLiteral("045")});
    dialog.Configure(15, true, true);
    ASSERT_EQ(dialog.StartSearch(0, QString()), 0);
    EXPECT_TRUE(dialog.chkSaveTel->isChecked());
    EXPECT_EQ(dialog.edtTelSch->text(), QStringLiteral("045"));
    EXPECT_EQ(dialog.edtTelSch->cursorPosition(), 3);

    dialog.edtTelSch->setText(QStringLiteral("0466221234"));
    EXPECT_EQ(dialog.RunPhoneSearch(), 0);
    EXPECT_EQ(LoadSavedAreaCode(DataRootFolder).tel, QStringLiteral("0466"));
}

TEST_F(DicSearchDialogTest, PostalLookupDecidesATown)
{
    ASSERT_EQ(dialog.StartSearch(1, QStringLiteral("〒100-0001")), 0);
    EXPECT_EQ(dialog.edtPosSch->text(), QStringLiteral("100-0001"));
    ASSERT_GT(dialog.lvPosTown->topLevelItemCount(), 0);
    dialog.btnDecisionClick();
    ASSERT_TRUE(dialog.Decided());
    EXPECT_EQ(dialog.ResultKind, 1);
    EXPECT_EQ(dialog.GetResult().PostalCode, "100-0001");
    EXPECT_EQ(dialog.GetChosenRecNo(), -1);

    TDicSearch empty;
    empty.pgctlDicType->setCurrentIndex(1);
    empty.btnDecisionClick();
    EXPECT_FALSE(empty.Decided()) << "決定 before any search does nothing";
}

TEST_F(DicSearchDialogTest, WheelTurnsTheTabsRoundAndEnterInTheTownListDecides)
{
    const auto wheel = [this](int dy) {
        QWidget* bar = dialog.pgctlDicType->tabBar();
        QWheelEvent e(QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, dy), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &e);
    };
    dialog.pgctlDicType->setCurrentIndex(2);
    wheel(-120); // towards the user: the next tab, wrapping to the first
    EXPECT_EQ(dialog.pgctlDicType->currentIndex(), 0);
    EXPECT_EQ(dialog.ResultKind, 0);
    EXPECT_EQ(HelpContextOf(&dialog), 35);
    wheel(120);
    EXPECT_EQ(dialog.pgctlDicType->currentIndex(), 2);
    EXPECT_EQ(HelpContextOf(&dialog), 38);
    dialog.Configure(TDicSearch::dsPostal | TDicSearch::dsAddress, false, false);
    wheel(-120);
    EXPECT_EQ(dialog.pgctlDicType->currentIndex(), 1) << "the hidden telephone tab is passed over";

    ASSERT_EQ(dialog.StartSearch(2, QStringLiteral("東京都千代田区")), 0);
    ASSERT_GT(dialog.lvAdrsTown->topLevelItemCount(), 1);
    dialog.lvAdrsTown->setCurrentItem(dialog.lvAdrsTown->topLevelItem(1));
    QTest::keyClick(dialog.lvAdrsTown, Qt::Key_Return);
    ASSERT_TRUE(dialog.Decided());
    EXPECT_EQ(dialog.ResultKind, 2);
    EXPECT_EQ(ToWide(dialog.GetResult().Address2), dialog.lvAdrsTown->topLevelItem(1)->text(2));
}
