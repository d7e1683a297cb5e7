// Address list engine over real tables: orders, group filter, narrowing, duplicate view, selection,
// notifications, senders and the cell texts.
#include "addressbook/AdrsListEngine.h"
#include "core/AppSub.h"
#include "core/Dlhyp.h"
#include "support/AdrsTableFixture.h"
#include "support/AnsiText.h"
#include "support/FakeAdrsRow.h"
#include "support/HolderProcess.h"
#include "support/MessageRecorder.h"
#include "support/NarrowDownItems.h"
#include "support/TableFaults.h"

#include <QFile>
#include <gtest/gtest.h>

#include <iostream>

namespace {

// Helper mode of this executable: deletes rows of a table and ends. Environment: ADRS_DELETE_PATH (the
// table file), ADRS_DELETE_RECNOS (RecNo values separated by ","). Prints "deleted".
const int g_deleteHelper = [] {
    const QByteArray path = qgetenv("ADRS_DELETE_PATH");
    if (path.isEmpty())
        return 0;
    Table t;
    t.setTableName(QString::fromLocal8Bit(path));
    t.open();
    for (const QByteArray& recNo : qgetenv("ADRS_DELETE_RECNOS").split(','))
        if (t.findKey({recNo.toInt()}))
            t.deleteRecord();
    t.close();
    std::cout << "deleted" << std::endl;
    std::_Exit(0);
}();

std::vector<qint32> Shown(const TAdrsListEngine& engine)
{
    return engine.RecNoList();
}

struct CountingObserver : TAdrsListObserver
{
    int refreshData = 0, afterEdit = 0, afterDelete = 0, dataRange = 0;
    void RefreshData() override { ++refreshData; }
    void RefreshDataAfterEdit() override { ++afterEdit; }
    void RefreshDataAfterDelete() override { ++afterDelete; }
    void UpdateDataRange() override { ++dataRange; }
};

struct RecordingHost : TAdrsListHost
{
    int selected = -1, shown = -1;
    bool actions = true;
    bool card = false;
    qint32 cardRecNo = -1;
    int navigationUpdates = 0;
    qint32 cardSender = -1;
    void ShowCounts(int s, int n) override { selected = s, shown = n; }
    void EnableRecordActions(bool on) override { actions = on; }
    bool CardExists() const override { return card; }
    bool CardWalksList() const override { return card; }
    qint32 CardLoadedRecNo() const override { return cardRecNo; }
    void CardUpdateNavigation() override { ++navigationUpdates; }
    void CardSetRecordSender(qint32 s) override { cardSender = s; }
};

} // namespace

TEST(AdrsListEngine, SortOrdersBothWaysWithRecNoTies)
{
    AdrsTableFixture db;
    // NameKana compares without regard to ASCII case, so "a" and "A" tie and RecNo breaks the tie.
    const qint32 r1 = db.add({{"NameKana", QByteArray("B")}, {"Tel", QByteArray("0300000002")}});
    const qint32 r2 = db.add({{"NameKana", QByteArray("A")}, {"Tel", QByteArray("0300000001")}});
    const qint32 r3 = db.add({{"NameKana", QByteArray("B")}, {"Tel", QByteArray("0300000001")}});
    const qint32 r4 = db.add({{"NameKana", QByteArray("a")}});
    struct Case
    {
        int sortType;
        bool ascending;
        std::vector<qint32> expected;
    } cases[] = {
        {0, true, {r1, r2, r3, r4}},  {0, false, {r4, r3, r2, r1}}, {7, true, {r2, r4, r1, r3}},
        {7, false, {r3, r1, r4, r2}}, {2, true, {r4, r2, r3, r1}},  {2, false, {r1, r3, r2, r4}},
    };
    TAdrsListEngine engine(db.adrs());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "sort " << c.sortType << (c.ascending ? " up" : " down"));
        engine.SetViewState(0, c.sortType, c.ascending);
        engine.RefreshList(true, true, false);
        EXPECT_EQ(Shown(engine), c.expected);
    }
}

TEST(AdrsListEngine, GroupChoiceAndUserChoices)
{
    AdrsTableFixture db;
    const qint32 g0 = db.add({{"Group", 0}});
    const qint32 g2 = db.add({{"Group", 2}});
    const qint32 g1 = db.add({{"Group", 1}});
    const qint32 g2b = db.add({{"Group", 2}});
    TAdrsListEngine engine(db.adrs());
    struct Case
    {
        int viewGroup;
        std::vector<qint32> expected;
    } cases[] = {{0, {g0, g2, g1, g2b}}, {1, {g0}}, {2, {g1}}, {3, {g2, g2b}}, {11, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.viewGroup);
        engine.SetViewState(c.viewGroup, 0, true);
        engine.RefreshList(true, true, false);
        EXPECT_EQ(Shown(engine), c.expected);
    }

    // Choosing a group keeps the current record selected and tells the designers.
    CountingObserver designers;
    engine.AddObserver(&designers);
    engine.SetViewState(0, 0, true);
    engine.RefreshList(true, true, false);
    engine.SetCurrentIndex(engine.IndexOfRecNo(g2b));
    engine.ChooseGroup(3);
    EXPECT_EQ(Shown(engine), (std::vector<qint32>{g2, g2b}));
    EXPECT_EQ(engine.CurrentIndex(), 1);
    EXPECT_EQ(engine.GetFirstSelectedIndex(), 1);
    EXPECT_GE(designers.refreshData, 1);
    const int before = designers.refreshData;
    engine.ChooseGroup(3); // the same group: nothing
    EXPECT_EQ(designers.refreshData, before);

    engine.ChooseSortType(7);
    EXPECT_TRUE(engine.SortDir());
    engine.FlipSortDir();
    EXPECT_FALSE(engine.SortDir());
    EXPECT_EQ(Shown(engine), (std::vector<qint32>{g2b, g2}));
}

TEST(AdrsListEngine, NarrowingAndOrWithProtectedNumber)
{
    AdrsTableFixture db;
    auto add = [&](const char* note, const char* tel, const AnsiString& myNumber) {
        return db.add({{"Note", A(note)}, {"Tel", QByteArray(tel)}, {"MyNumber", myNumber}});
    };
    const AnsiString number = EncryptFieldText("123456789012", FieldCipherKey);
    const qint32 all = add("取引先です", "0312345678", number);
    const qint32 noNumber = add("取引先", "0398765432", {});
    const qint32 otherTel = add("取引先", "0612345678", number);
    const qint32 damaged = add("取引先", "0311111111", "ZZ-not-a-cipher");
    const qint32 none = add("", "", {});

    TAdrsListEngine engine(db.adrs());
    TNarrowDownCondition cond;
    cond.items = {TextItem(32, A("取引"), TNarrowDownItem::Contains),
                  TextItem(1, "03", TNarrowDownItem::BeginsWith),
                  TextItem(10, "3456", TNarrowDownItem::Contains)};
    struct Case
    {
        const char* name;
        bool andFlag;
        bool passwordSet;
        bool adminMode;
        bool disabled;
        std::vector<qint32> expected;
    } cases[] = {
        {"AND, no administrator password", true, false, false, false, {all}},
        {"AND, administrator mode", true, true, true, false, {all}},
        {"AND, protected number hidden", true, true, false, false, {}},
        {"OR, protected number hidden", false, true, false, false, {all, noNumber, otherTel, damaged}},
        {"OR, administrator mode", false, true, true, false, {all, noNumber, otherTel, damaged}},
        {"suspended", true, true, false, true, {all, noNumber, otherTel, damaged, none}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cond.andFlag = c.andFlag;
        engine.SetNarrowCondition(cond);
        engine.CellContext().AdminPasswordSet = c.passwordSet;
        engine.CellContext().AdminMode = c.adminMode;
        engine.SetDisableSearch(c.disabled);
        engine.RefreshList(true, true, false);
        EXPECT_EQ(Shown(engine), c.expected);
    }

    // Only the number item, over a damaged cipher text: the row fails, the load goes on.
    cond.items = {TextItem(10, "", TNarrowDownItem::NotUsed)};
    engine.SetNarrowCondition(cond);
    engine.SetDisableSearch(false);
    engine.CellContext().AdminPasswordSet = false;
    engine.RefreshList(true, true, false);
    EXPECT_EQ(Shown(engine), (std::vector<qint32>{noNumber, damaged, none}));
}

TEST(AdrsListEngine, DuplicateRunsWithAndWithoutGroup)
{
    AdrsTableFixture db;
    const qint32 t1 = db.add({{"Tel", QByteArray("0311112222")}, {"Group", 1}});
    const qint32 u = db.add({{"Tel", QByteArray("0399999999")}, {"Group", 1}});
    const qint32 t2 = db.add({{"Tel", QByteArray("0311112222")}, {"Group", 2}});
    const qint32 e1 = db.add({{"Group", 1}});
    const qint32 e2 = db.add({{"Group", 1}});
    const qint32 t3 = db.add({{"Tel", QByteArray("0311112222")}, {"Group", 1}});
    const qint32 s1 = db.add({{"Tel", QByteArray("0200000000")}, {"Group", 2}});
    const qint32 s2 = db.add({{"Tel", QByteArray("0200000000")}, {"Group", 2}});
    (void)u, (void)e1, (void)e2;

    TAdrsListEngine engine(db.adrs());
    engine.SetDuplicateItems(1, 0);
    struct Case
    {
        int viewGroup;
        std::vector<qint32> expected;
    } cases[] = {
        {0, {s1, s2, t1, t2, t3}}, // runs in key order, each in registration order
        {2, {t1, t3}},             // group 1 only: t2 is in group 2
        {3, {s1, s2}},             // group 2: t2 has no partner there
        {1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.viewGroup);
        engine.SetViewState(c.viewGroup, 7, false); // the sort has no say in the duplicate view
        engine.RefreshList(true, true, false);
        EXPECT_EQ(Shown(engine), c.expected);
    }

    // Suspended: the normal list.
    engine.SetViewState(0, 0, true);
    engine.SetDisableSearch(true);
    engine.RefreshList(true, true, false);
    EXPECT_EQ(engine.GetRecordCount(), 8);
    EXPECT_EQ(engine.NarrowPanelState(), TNarrowPanelState::DuplicatesSuspended);
}

TEST(AdrsListEngine, DuplicateViewOnAddressAndName)
{
    AdrsTableFixture db;
    auto add = [&](const char* tdfkn, const char* adrs1, const char* name) {
        return db.add({{"Tdfkn", A(tdfkn)}, {"Adrs1", A(adrs1)}, {"NameKanji", A(name)}});
    };
    const qint32 a = add("東京都", "千代田区", "佐藤");
    const qint32 b = add("東京都", "千代田区", "鈴木");
    const qint32 c = add("", "東京都千代田区", "佐藤"); // the joined address is what counts
    const qint32 d = add("", "", "鈴木");               // empty address, name alone is enough
    const qint32 e = add("", "", "鈴木");
    (void)b;
    TAdrsListEngine engine(db.adrs());
    engine.SetDuplicateItems(2, 4);
    engine.RefreshList(true, true, false);
    EXPECT_EQ(Shown(engine), (std::vector<qint32>{d, e, a, c}));
    EXPECT_EQ(engine.NarrowPanelState(), TNarrowPanelState::Duplicates);
}

TEST(AdrsListEngine, SelectionAccessorsAndClamping)
{
    AdrsTableFixture db;
    TAdrsListEngine engine(db.adrs());
    RecordingHost host;
    CountingObserver others;
    engine.SetHost(&host);
    engine.AddObserver(&others);

    // Empty book.
    engine.RefreshList(true, true, false);
    EXPECT_EQ(engine.GetRecordCount(), 0);
    EXPECT_EQ(host.selected, 0);
    EXPECT_EQ(host.shown, 0);
    EXPECT_FALSE(host.actions);
    EXPECT_EQ(others.dataRange, 1); // told that the list is empty
    engine.SelectIndex(3, true, true);
    EXPECT_EQ(engine.GetSelectedCount(), 0);
    EXPECT_TRUE(engine.IsAtFirst());
    EXPECT_TRUE(engine.IsAtLast());

    for (int i = 0; i < 10; ++i)
        db.add({{"Group", 0}});
    engine.RefreshList(true, true, false);
    EXPECT_TRUE(host.actions);
    EXPECT_EQ(host.shown, 10);

    struct Case
    {
        int index;
        int expected;
    } cases[] = {{-5, 0}, {4, 4}, {10, 9}, {1000, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        engine.SelectIndex(c.index, true, false);
        EXPECT_EQ(engine.GetSelectedCount(), 1);
        EXPECT_EQ(engine.GetFirstSelectedIndex(), c.expected);
        EXPECT_EQ(engine.GetFocusedIndex(), c.expected);
    }
    engine.SelectIndex(2, false, false);
    EXPECT_EQ(engine.GetFirstSelectedIndex(), 2);
    EXPECT_EQ(engine.GetLastSelectedIndex(), 9);
    EXPECT_EQ(host.selected, 2);

    EXPECT_EQ(engine.GetRecNo(-1), -1);
    EXPECT_EQ(engine.GetRecNo(10), -1);
    EXPECT_EQ(engine.IndexOfRecNo(-3), -1);
    EXPECT_EQ(engine.IndexOfRecNo(engine.GetRecNo(7)), 7);
    EXPECT_FALSE(engine.IsSelected(-1));
    EXPECT_FALSE(engine.IsSelected(10));

    engine.SetCurrentIndex(10); // out of range: unchanged
    EXPECT_EQ(engine.CurrentIndex(), -1);
    TAdrsDataRec rec;
    ASSERT_TRUE(engine.ReadLastRecord(rec));
    EXPECT_EQ(rec.RecNo, engine.GetRecNo(9));
    EXPECT_TRUE(engine.IsAtLast());
    EXPECT_FALSE(engine.ReadNextRecord(rec));
    ASSERT_TRUE(engine.ReadPriorRecord(rec));
    EXPECT_EQ(engine.CurrentIndex(), 8);
    EXPECT_EQ(engine.GetSelectedCount(), 1);
    EXPECT_EQ(engine.GetFirstSelectedIndex(), 8);
    ASSERT_TRUE(engine.ReadFirstRecord(rec));
    EXPECT_FALSE(engine.ReadPriorRecord(rec));

    // A reload keeps the current record where it went.
    engine.SetViewState(0, 0, false);
    engine.RefreshList(false, true, false);
    EXPECT_EQ(engine.CurrentIndex(), 9);
    EXPECT_EQ(engine.GetSelectedCount(), 0);
}

TEST(AdrsListEngine, RangeReportsMirrorTheNewState)
{
    AdrsTableFixture db;
    for (int i = 0; i < 8; ++i)
        db.add({{"Group", 0}});
    TAdrsListEngine engine(db.adrs());
    CountingObserver copy;
    engine.AddObserver(&copy);
    engine.RefreshList(true, true, false);

    engine.RangeSelectionChanged(1, 6, true);
    EXPECT_EQ(engine.GetSelectedCount(), 6);
    // Deselecting a range clears it: copy, batch edit and export must not act on those rows.
    engine.RangeSelectionChanged(5, 2, false);
    EXPECT_EQ(engine.GetSelectedCount(), 2);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(engine.IsSelected(i), i == 1 || i == 6) << i;

    // A drag adds to what is selected.
    engine.SelectRange(3, 4, 4);
    EXPECT_EQ(engine.GetSelectedCount(), 4);
    EXPECT_EQ(engine.GetFocusedIndex(), 4);
    const int ranges = copy.dataRange;
    engine.AllSelectionCleared();
    EXPECT_EQ(engine.GetSelectedCount(), 0);
    EXPECT_EQ(copy.dataRange, ranges); // nothing selected: nothing to tell

    engine.SetNextWordIndex(5);
    engine.ItemSelectionChanged(2, true);
    EXPECT_EQ(engine.NextWordIndex(), -1);
}

TEST(AdrsListEngine, RefreshTailRunsWhenTheLoadFails)
{
    AdrsTableFixture db;
    db.add({{"Group", 0}});
    TAdrsListEngine engine(db.adrs());
    RecordingHost host;
    CountingObserver copy;
    engine.SetHost(&host);
    engine.AddObserver(&copy);
    engine.RefreshList(true, true, false);
    ASSERT_EQ(host.shown, 1);
    ASSERT_TRUE(host.actions);

    ASSERT_TRUE(QFile::rename(db.folder() + "Adrs.DB", db.folder() + "Adrs.moved"));
    EXPECT_THROW(engine.RefreshList(false, true, false), TableMissingError);
    EXPECT_EQ(engine.GetRecordCount(), 0);
    EXPECT_EQ(host.shown, 0);
    EXPECT_FALSE(host.actions);
    EXPECT_EQ(copy.dataRange, 1);
    EXPECT_EQ(engine.GetSelectedCount(), 0);
}

TEST(AdrsListEngine, NarrowPanel)
{
    AdrsTableFixture db;
    TAdrsListEngine engine(db.adrs());
    EXPECT_EQ(engine.NarrowPanelState(), TNarrowPanelState::None);
    EXPECT_EQ(NarrowPanelText(TNarrowPanelState::None), QString());
    TNarrowDownCondition cond;
    cond.items = {TextItem(0, "A", TNarrowDownItem::BeginsWith)};
    engine.SetNarrowCondition(cond);
    EXPECT_EQ(engine.NarrowPanelState(), TNarrowPanelState::Narrowing);
    EXPECT_EQ(NarrowPanelText(engine.NarrowPanelState()), QStringLiteral("絞り込み中"));
    engine.SetDisableSearch(true);
    EXPECT_EQ(engine.NarrowPanelState(), TNarrowPanelState::NarrowingSuspended);
    EXPECT_EQ(NarrowPanelColor(engine.NarrowPanelState()), QColor(143, 191, 143));
}

TEST(AdrsListEngine, NotificationsAndCard)
{
    AdrsTableFixture db;
    const qint32 r1 = db.add({{"Group", 0}});
    const qint32 r2 = db.add({{"Group", 0}});
    TAdrsListEngine engine(db.adrs());
    RecordingHost host;
    host.card = true;
    host.cardRecNo = r2;
    CountingObserver designer;
    engine.SetHost(&host);
    engine.AddObserver(&designer);
    engine.RefreshList(true, true, false);
    EXPECT_EQ(engine.CurrentIndex(), 1); // the card's record
    EXPECT_EQ(host.navigationUpdates, 1);

    engine.SelectIndex(0, true, false);
    engine.SelectIndex(0, true, false);
    EXPECT_EQ(designer.refreshData, 1); // only when the first selected row changes
    engine.NotifyRecordsEdited({r1});
    engine.NotifyRecordsDeleted({r1, r2});
    EXPECT_EQ(designer.afterEdit, 1);
    EXPECT_EQ(designer.afterDelete, 1);

    // The card's current row takes the new sender too.
    ASSERT_TRUE(engine.SetRecordSender(r2, 7));
    EXPECT_EQ(host.cardSender, 7);
    TAdrsDataRec rec;
    ASSERT_TRUE(engine.ReadAddressRecord(r2, rec));
    EXPECT_EQ(rec.Sender, 7);
    EXPECT_FALSE(engine.SetRecordSender(999, 1));
}

TEST(AdrsListEngine, SenderList)
{
    AdrsTableFixture db;
    Table& sender = db.sender();
    sender.open();
    AdrsTableFixture::add(sender, {{"RecNo", 5}, {"Title", A("  本社 ")}});
    AdrsTableFixture::add(sender, {{"RecNo", 2}, {"Title", A("支店")}});
    sender.close();

    struct Source : TSenderTableSource
    {
        Table* table = nullptr;
        int opens = 0, closes = 0;
        Table* OpenSender() override
        {
            ++opens;
            table->open();
            return table;
        }
        void CloseSender() override
        {
            ++closes;
            table->close();
        }
    } source;
    source.table = &sender;
    TAdrsListEngine engine(db.adrs());
    engine.SetSenderSource(&source);
    engine.LoadSenderList();
    ASSERT_EQ(engine.GetSenderCount(), 2);
    EXPECT_EQ(engine.GetSenderTitle(0), QStringLiteral("支店"));
    EXPECT_EQ(engine.GetSenderRecNo(0), 2);
    EXPECT_EQ(engine.GetSenderTitle(1), QStringLiteral("本社"));
    EXPECT_EQ(engine.GetSenderTitle(2), QString());
    EXPECT_EQ(engine.GetSenderRecNo(-1), -1);
    EXPECT_EQ(source.closes, source.opens);
}

TEST(AdrsListEngine, RowTextsAreMadeOnceAndVanishedRowsStayEmpty)
{
    AdrsTableFixture db;
    const qint32 r1 = db.add({{"CorpKanji", A("山田商事")}});
    const qint32 r2 = db.add({{"CorpKanji", A("鈴木工業")}});
    (void)r1;
    TAdrsListEngine engine(db.adrs());
    engine.RefreshList(true, true, false);
    int corp = -1;
    for (int c = 0; c < engine.GetVisibleColumnCount(); ++c)
        if (engine.GetVisibleColumnItem(c) == 14)
            corp = c;
    ASSERT_GE(corp, 0);
    EXPECT_FALSE(engine.HasRowTexts(0));
    EXPECT_EQ(engine.CellText(1, corp), QStringLiteral("鈴木工業"));
    EXPECT_EQ(engine.CellText(1, 0), QStringLiteral("2"));
    EXPECT_TRUE(engine.HasRowTexts(1));
    EXPECT_FALSE(engine.HasRowTexts(0));
    EXPECT_GT(engine.ColumnFitWidth(corp), 0);

    // Another writer deletes a shown row.
    Table other;
    other.setDatabaseName(db.folder());
    other.setTableName(QStringLiteral("Adrs.DB"));
    other.open();
    ASSERT_TRUE(other.findKey({r2}));
    other.deleteRecord();
    other.close();
    engine.RefreshList(false, false, false); // texts dropped, rows kept
    EXPECT_EQ(engine.GetRecordCount(), 2);
    EXPECT_EQ(engine.RowTexts(1), nullptr);
    EXPECT_FALSE(engine.WordSearchTexts(1).has_value());
    MessageRecorder messages;
    messages.allowUnexpected();
    TAdrsDataRec rec;
    EXPECT_FALSE(engine.ReadRecordAt(1, rec));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("アドレス帳が読み出せませんでした  "));
}

// Rows deleted by another table object or process: the list's walk passes over them, the card's moves
// skip them and reading one of them reloads the list.
TEST(AdrsListEngine, RowsDeletedElsewhereAreSkippedByTheWalkAndTheCard)
{
    for (const bool otherProcess : {false, true}) {
        SCOPED_TRACE(otherProcess ? "another process" : "another table object");
        AdrsTableFixture db;
        for (int i = 0; i < 7; ++i)
            db.add({{"Group", 0}});
        const auto deleteElsewhere = [&](const char* recNos) {
            if (otherProcess) {
                QProcess helper;
                EXPECT_EQ(StartHolder(helper, {{"ADRS_DELETE_PATH", db.folder() + "Adrs.DB"},
                                               {"ADRS_DELETE_RECNOS", QLatin1String(recNos)}}),
                          "deleted");
                EXPECT_TRUE(helper.waitForFinished(20000));
                return;
            }
            Table other;
            other.setDatabaseName(db.folder());
            other.setTableName(QStringLiteral("Adrs.DB"));
            other.open();
            for (const QByteArray& recNo : QByteArray(recNos).split(','))
                if (other.findKey({recNo.toInt()}))
                    other.deleteRecord();
        };

        // The narrowing's number test calls back while the list walks; rows 3 and 4 go meanwhile.
        TAdrsListEngine engine(db.adrs());
        bool deleted = false;
        engine.CellContext().Decipher = [&](const AnsiString& text) {
            if (!std::exchange(deleted, true))
                deleteElsewhere("3,4");
            return text;
        };
        TNarrowDownCondition cond;
        cond.items = {TextItem(10, "", TNarrowDownItem::NotUsed)};
        engine.SetNarrowCondition(cond);
        engine.RefreshList(true, true, false);
        EXPECT_EQ(Shown(engine), (std::vector<qint32>{1, 2, 5, 6, 7}));

        MessageRecorder messages;
        TAdrsDataRec rec;
        ASSERT_TRUE(engine.ReadRecordAt(1, rec));
        deleteElsewhere("5");
        ASSERT_TRUE(engine.ReadNextRecord(rec));
        EXPECT_EQ(rec.RecNo, 6);
        EXPECT_EQ(engine.CurrentIndex(), 2);
        deleteElsewhere("2");
        ASSERT_TRUE(engine.ReadPriorRecord(rec));
        EXPECT_EQ(rec.RecNo, 1);
        deleteElsewhere("1");
        ASSERT_TRUE(engine.ReadFirstRecord(rec));
        EXPECT_EQ(rec.RecNo, 6);
        deleteElsewhere("7");
        EXPECT_FALSE(engine.ReadNextRecord(rec));
        EXPECT_EQ(messages.count(), 0);
        EXPECT_EQ(Shown(engine), (std::vector<qint32>{6}));

        // Reading a vanished row directly says so; the list no longer shows it.
        deleteElsewhere("6");
        messages.allowUnexpected();
        EXPECT_FALSE(engine.ReadRecordAt(0, rec));
        EXPECT_EQ(messages.count(), 1);
        EXPECT_EQ(engine.GetRecordCount(), 0);
    }
}

// Deleting many rows goes in batches with a progress report; rows whose deletion fails are counted and
// stay, the rest go.
TEST(AdrsListEngine, DeletingRowsInBatchesCountsTheFailures)
{
    AdrsTableFixture db;
    Table& t = db.adrs();
    const int rows = 2 * TAdrsListEngine::DeleteBatchSize + 200;
    t.startTransaction();
    for (int i = 0; i < rows; ++i)
        db.add({{"Group", 0}});
    t.commit();
    RefuseDeleting(db.folder() + "Adrs.DB", {7, rows - 1});
    TAdrsListEngine engine(t);
    engine.RefreshList(true, true, false);
    QList<qint32> all(engine.RecNoList().begin(), engine.RecNoList().end());
    ASSERT_EQ(all.size(), rows);
    all.append(rows + 50); // never there: neither deleted nor failed

    QList<int> progress;
    const TAdrsListEngine::TDeleteResult result =
        engine.DeleteRecords(all, [&progress](int done) { progress.append(done); });
    EXPECT_EQ(result.failed, 2);
    EXPECT_EQ(result.deleted.size(), rows - 2);
    EXPECT_FALSE(result.deleted.contains(7));
    EXPECT_EQ(progress,
              (QList<int>{TAdrsListEngine::DeleteBatchSize, 2 * TAdrsListEngine::DeleteBatchSize, rows + 1}));
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_FALSE(t.inTransaction());
}

TEST(AdrsListEngine, ByteCutsKeepDoubleByteCharacters)
{
    AdrsTableFixture db;
    // 111 single bytes then a double-byte character across the record's 112-byte limit.
    const AnsiString corp = AnsiString(111, 'A') + A("社") + "BCDEFG";
    ASSERT_EQ(corp.size(), 119);
    const qint32 r = db.add({{"CorpKanji", corp}});
    TAdrsListEngine engine(db.adrs());
    engine.RefreshList(true, true, false);
    TAdrsDataRec rec;
    ASSERT_TRUE(engine.ReadRecordAt(engine.IndexOfRecNo(r), rec));
    EXPECT_EQ(rec.CorpKanji.text(), AnsiString(111, 'A'));
}

TEST(AdrsTableRow, HyphenationAndDecipherWired)
{
    AdrsTableFixture db;
    const qint32 r = db.add({{"Tel", QByteArray("0312345678")},
                             {"MyNumber", EncryptFieldText("123456789012", FieldCipherKey)},
                             {"JointMyNumber1", QByteArray("0Fnot-hex")}});
    TAdrsTableRow row(db.adrs());
    ASSERT_TRUE(row.FindRecNo(r));
    EXPECT_EQ(AdrsDecipherFunc()(row.FieldBytes("MyNumber")), AnsiString("123456789012"));
    EXPECT_EQ(AdrsDecipherFunc()(row.FieldBytes("JointMyNumber1")), AnsiString());
    EXPECT_FALSE(row.FindRecNo(r + 1));

    TAdrsListEngine engine(db.adrs());
    engine.RefreshList(true, true, false);
    TAdrsDataRec rec;
    ASSERT_TRUE(engine.ReadRecordAt(0, rec));
    EXPECT_EQ(rec.Tel.text(), AnsiString("0312345678")); // library not loaded: the digits
    ASSERT_EQ(
        LoadHyphenLibrary(QStringLiteral(TOVAREL_PROGRAM_DIR), QStringLiteral(TOVAREL_PROGRAM_DIR "Dic/")),
        0);
    ASSERT_TRUE(engine.ReadRecordAt(0, rec));
    EXPECT_EQ(rec.Tel.text(), AnsiString("03-1234-5678"));
    FreeHyphenLibrary();
}

TEST(AddressListCellText, Items)
{
    FakeAdrsRow row;
    row.setValue("Group", 2)
        .set("CustomCode", " C-01 ")
        .set("Tel", "0312345678")
        .setValue("TelDiv", 3)
        .set("PubDate", "200305")
        .set("Pos", "1000001")
        .set("Tdfkn", A("東京都 "))
        .set("Adrs1", A(" 千代田区"))
        .set("Adrs2", A("千代田１－１"))
        .set("MyNumber", EncryptFieldText("123456789012", FieldCipherKey))
        .set("JointMyNumber2", "not hex")
        .set("NameKanji", "@9AD8@6A4B")
        .set("Joint1", "@4F50@85E4@3000")
        .set("Keyword3", A("趣味"))
        .set("Note", "a\r\nb\r\n")
        .set("SymbolMark", A("★"))
        .setValue("SymbolColor", 0x0000FF)
        .setValue("AddDateTime", QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)))
        .setValue("CodeMain", 12)
        .setValue("CodeSub", 3);
    TAdrsCellContext context;
    context.GroupNames = {QStringLiteral("家族"), QStringLiteral("友人")};
    context.Hyphenate = [](const AnsiString& d) { return d.left(2) + "-" + d.mid(2, 4) + "-" + d.mid(6); };
    context.Decipher = AdrsDecipherFunc();
    context.MajorCategoryName = [](int major) { return QStringLiteral(" 製造業%1 ").arg(major); };
    context.MinorCategoryName = [](int major, int minor) {
        return QStringLiteral("小%1-%2").arg(major).arg(minor);
    };
    const auto P = TCellPurpose::Display;
    const auto W = TCellPurpose::WordSearch;
    struct Case
    {
        int item;
        bool adminProtected;
        TCellPurpose purpose;
        const char* expected;
    } cases[] = {
        {0, false, P, "6"},
        {1, false, P, "友人"},
        {2, false, P, "C-01"},
        {3, false, P, "03-1234-5678"},
        {4, false, P, "代表"},
        {5, false, P, ""},
        {6, false, P, "2003年05月"},
        {9, false, P, "100-0001"},
        {10, false, P, "東京都千代田区千代田１－１"},
        {12, false, P, "会社"},
        {13, false, P, "123456789012"},
        {13, true, P, "************"},
        {13, true, W, ""},
        {30, false, P, ""}, // damaged cipher text: empty
        {19, false, P, "高橋"},
        {24, false, P, "佐藤　"}, // an ideographic space is not trimmed
        {36, false, P, "趣味"},
        {42, false, P, "a\r\nb"},
        {43, false, P, "★,$000000FF"},
        {43, false, W, ""},
        {44, false, P, "2024/01/02 03:04:05"},
        {45, false, P, "2024/01/02"},
        {46, false, P, "03:04:05"},
        {47, false, P, ""},
        {50, false, P, "製造業12"},
        {51, false, P, "小12-3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        context.AdminPasswordSet = c.adminProtected;
        EXPECT_EQ(AddressListCellText(c.item, row, 5, context, c.purpose), QString::fromUtf8(c.expected));
    }

    FakeAdrsRow other;
    other.set("Pos", "123456").set("PubDate", "");
    EXPECT_EQ(AddressListCellText(9, other, 0, context), QStringLiteral("123456"));
    EXPECT_EQ(AddressListCellText(6, other, 0, context), QString());

    QString mark;
    QColor color;
    ASSERT_TRUE(SplitSymbolCellText(QString::fromUtf8("★,$000000FF"), mark, color));
    EXPECT_EQ(mark, QStringLiteral("★"));
    EXPECT_EQ(color, QColor(255, 0, 0));
}

TEST(AddressSortTable, KeywordCaptions)
{
    EXPECT_EQ(AddressSortCaption(0, {}), QStringLiteral("登録順"));
    EXPECT_EQ(AddressSortCaption(9, {QStringLiteral("a"), QStringLiteral("趣味")}), QStringLiteral("趣味順"));
    EXPECT_EQ(AddressSortCaption(10, {}), QStringLiteral("キーワード３順"));
    EXPECT_EQ(AddressSortCaption(17, {}), QString());
}
