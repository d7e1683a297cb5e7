// Table engine: creation, order of the indexes, keys and ranges, passwords, locks, edits, packing and damage.
#include "core/TableDefs.h"
#include "platform/TableEngine.h"
#include "support/HolderProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <iostream>
#include <string>

namespace {

// Helper mode of this executable: holds a table open until its standard input closes.
// Environment: TABLE_HOLD_PATH, TABLE_HOLD_MODE ("shared" or "exclusive"), TABLE_HOLD_DELETE (RecNo values
// separated by "," that the helper deletes once open). Prints "open" or "locked".
const int g_holdHelper = [] {
    const QByteArray path = qgetenv("TABLE_HOLD_PATH");
    if (path.isEmpty())
        return 0;
    TableSession session;
    session.addPassword(TablePassword);
    Table t(session);
    t.setTableName(QString::fromLocal8Bit(path));
    t.setExclusive(qgetenv("TABLE_HOLD_MODE") == "exclusive");
    try {
        t.open();
        for (const QByteArray& recNo : qgetenv("TABLE_HOLD_DELETE").split(','))
            if (!recNo.isEmpty() && t.findKey({recNo.toInt()}))
                t.deleteRecord();
        std::cout << "open" << std::endl;
    } catch (const TableLockedError&) {
        std::cout << "locked" << std::endl;
        std::_Exit(0);
    }
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    t.close();
    std::_Exit(0);
}();

QByteArray sj(const char16_t* text)
{
    return ToAnsi(QString::fromUtf16(text));
}

class TableEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_session.addPassword(TablePassword);
    }

    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

    std::unique_ptr<Table> openNew(const TableDef& def, bool exclusive = false)
    {
        Table::createTable(path(def.fileName), def, TablePassword);
        return openExisting(def.fileName, exclusive);
    }

    std::unique_ptr<Table> openExisting(const QString& name, bool exclusive = false)
    {
        auto t = std::make_unique<Table>(m_session);
        t->setDatabaseName(m_dir.path() + QLatin1Char('/'));
        t->setTableName(name);
        t->setExclusive(exclusive);
        t->open();
        return t;
    }

    static QList<qint64> walk(Table& t, bool forward)
    {
        QList<qint64> keys;
        if (forward)
            for (t.first(); !t.eof(); t.next())
                keys.append(t.fieldByName(QStringLiteral("RecNo")).asInteger());
        else
            for (t.last(); !t.bof(); t.prior())
                keys.append(t.fieldByName(QStringLiteral("RecNo")).asInteger());
        return keys;
    }

    static QList<qint64> reversed(QList<qint64> v)
    {
        std::reverse(v.begin(), v.end());
        return v;
    }

    QTemporaryDir m_dir;
    TableSession m_session;
};

TEST_F(TableEngineTest, AdrsHasItsEightyFiveFieldsAndTwentyTwoIndexes)
{
    auto t = openNew(AdrsTableDef());
    const TableDef& def = t->definition();
    ASSERT_EQ(def.fields.size(), 85);
    const struct
    {
        int number;
        const char* name;
        FieldType type;
        int size;
    } spots[] = {
        {1, "RecNo", FieldType::AutoInc, 0},       {4, "Tel", FieldType::Alpha, 11},
        {14, "Adrs3", FieldType::Alpha, 116},      {20, "PrivCorp", FieldType::Logical, 0},
        {28, "NameKana", FieldType::Alpha, 25},    {33, "EMail2", FieldType::Alpha, 64},
        {38, "Joint5", FieldType::Alpha, 55},      {48, "JointMyNumber5", FieldType::Alpha, 34},
        {49, "JointOwner", FieldType::LongInt, 0}, {55, "JointPrint5", FieldType::Logical, 0},
        {57, "Sender", FieldType::LongInt, 0},     {65, "Keyword8", FieldType::Alpha, 100},
        {66, "Note", FieldType::Memo, 100},        {76, "ProtectMemo10", FieldType::Alpha, 130},
        {78, "ExtLink", FieldType::Memo, 100},     {81, "AddDateTime", FieldType::Timestamp, 0},
        {85, "CodeGenre", FieldType::LongInt, 0},
    };
    for (const auto& s : spots) {
        SCOPED_TRACE(s.name);
        const TableField f = t->field(s.number - 1);
        EXPECT_EQ(f.name(), QLatin1String(s.name));
        EXPECT_EQ(f.type(), s.type);
        EXPECT_EQ(f.size(), s.size);
    }

    QStringList names;
    for (const IndexDef& idx : def.indexes)
        names.append(idx.primary ? QStringLiteral("(primary)")
                                 : idx.name + (idx.caseInsensitive ? QStringLiteral("/i") : QString()));
    EXPECT_EQ(
        names.join(' '),
        "(primary) Group CustomCode Tel Fax Portable1 Portable2 Pos Adrs/i MyNumber CorpKana/i EmployeeNo "
        "NameKana/i Keyword1/i Keyword2/i Keyword3/i Keyword4/i Keyword5/i Keyword6/i Keyword7/i Keyword8/i "
        "Category/i");
    EXPECT_EQ(def.findIndex(QStringLiteral("Adrs"))->fields.join(';'), "JisCode;Adrs2;Adrs3");
    EXPECT_EQ(def.findIndex(QStringLiteral("Category"))->fields.join(';'), "CodeMain;CodeSub;CodeGenre");

    // Every secondary index exists in the file, so the walks below are index scans.
    t->close();
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(QFile::encodeName(path("Adrs.DB")).constData(), &db, SQLITE_OPEN_READONLY, nullptr),
        SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(
        db, "SELECT count(*) FROM sqlite_master WHERE type='index' AND tbl_name='Adrs' AND sql IS NOT NULL",
        -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 21);
    sqlite3_finalize(st);
    sqlite3_close(db);

    for (const TableDef& other :
         {SenderTableDef(), CategoryTableDef(), TargetTableDef(), ExceptionTableDef(), OriginalTableDef()}) {
        SCOPED_TRACE(other.fileName.toStdString());
        auto o = openNew(other);
        EXPECT_EQ(o->fieldCount(), other.fields.size());
    }
    EXPECT_EQ(SenderTableDef().fields.size(), 42);
    EXPECT_EQ(OriginalTableDef().fields.size(), 6);
}

// NameKana folds ASCII only; CustomCode is plain byte order. Ties go by RecNo, nulls first.
TEST_F(TableEngineTest, WalksFollowIndexOrderBothWaysWithTiesByRecNo)
{
    auto t = openNew(AdrsTableDef());
    const QByteArray values[] = {
        "b",  "A",
        "",   sj(u"ヂ") /* 83 61 */,
        "a",  sj(u"ア") /* 83 41: trail byte looks like 'A' */,
        "B",  sj(u"ｱ"),
        "_x", "a",
    };
    for (const QByteArray& v : values)
        AppendRow(*t, {{"NameKana", v}, {"CustomCode", v}});

    const struct
    {
        const char* index;
        QList<qint64> order;
    } cases[] = {
        {"", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"NameKana", {3, 9, 2, 5, 10, 1, 7, 6, 4, 8}},
        {"CustomCode", {3, 2, 7, 9, 5, 10, 1, 6, 4, 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        t->setIndexName(QLatin1String(c.index));
        EXPECT_EQ(walk(*t, true), c.order);
        EXPECT_EQ(walk(*t, false), reversed(c.order));
        // The order kept after each post matches the order read afresh.
        t->refresh();
        EXPECT_EQ(walk(*t, true), c.order);
    }

    // An edit moves the record to its new place; a new record lands after its equals.
    t->setIndexName(QStringLiteral("NameKana"));
    ASSERT_TRUE(t->findKey({QByteArray("b")}));
    t->edit();
    t->fieldByName(QStringLiteral("NameKana")).setAnsi("0");
    EXPECT_EQ(t->post(), 1);
    EXPECT_EQ(t->recNo(), 2);
    EXPECT_EQ(AppendRow(*t, {{"NameKana", QByteArray("A")}}), 11);
    EXPECT_EQ(walk(*t, true), (QList<qint64>{3, 1, 9, 2, 5, 10, 11, 7, 6, 4, 8}));
    EXPECT_TRUE(t->fieldByName(QStringLiteral("Tel")).isNull());
}

// Walks read rows in blocks with only the fields asked for so far; a field asked for late must still be
// right.
TEST_F(TableEngineTest, FieldsAskedForLateInAWalkReadTrue)
{
    auto t = openNew(AdrsTableDef());
    t->startTransaction();
    for (int i = 1; i <= 300; ++i)
        AppendRow(*t, {{"Group", i % 7},
                       {"Tel", QByteArray::number(5000 + i)},
                       {"NameKana", QByteArray::number(i % 10)}});
    t->commit();
    for (const bool forward : {true, false}) {
        SCOPED_TRACE(forward);
        int seen = 0;
        int bad = 0;
        forward ? t->first() : t->last();
        while (!(forward ? t->eof() : t->bof())) {
            const qint64 recNo = t->fieldByName(QStringLiteral("RecNo")).asInteger();
            bad += t->fieldByName(QStringLiteral("Group")).asInteger() != recNo % 7;
            if (++seen > 100)
                bad += t->fieldByName(QStringLiteral("Tel")).asAnsi() != QByteArray::number(5000 + recNo);
            forward ? t->next() : t->prior();
        }
        EXPECT_EQ(seen, 300);
        EXPECT_EQ(bad, 0);
    }

    // A change by another object shows once the order is read again.
    auto other = openExisting(QStringLiteral("Adrs.DB"));
    ASSERT_TRUE(other->findKey({150}));
    other->edit();
    other->fieldByName(QStringLiteral("Tel")).setAnsi("999");
    other->post();
    t->first();
    ASSERT_TRUE(t->findKey({150}));
    EXPECT_EQ(t->fieldByName(QStringLiteral("Tel")).asAnsi(), "999");
}

TEST_F(TableEngineTest, FindKeyNearestKeyAndRanges)
{
    auto t = openNew(AdrsTableDef());
    const int codes[][3] = {{1, 2, 3}, {1, 1, 5}, {2, 0, 0}, {1, 2, 1}, {3, 1, 1}};
    for (const auto& c : codes)
        AppendRow(*t, {{"CodeMain", c[0]},
                       {"CodeSub", c[1]},
                       {"CodeGenre", c[2]},
                       {"Tel", QByteArray::number(c[0] * 100 + c[1])}});

    t->setIndexName(QStringLiteral("Category"));
    EXPECT_TRUE(t->findKey({1, 2}));
    EXPECT_EQ(t->currentKey(), 4);
    EXPECT_FALSE(t->findKey({1, 3}));
    EXPECT_EQ(t->currentKey(), 4) << "a failed find leaves the cursor";
    t->findNearest({1, 3});
    EXPECT_EQ(t->currentKey(), 3);
    t->findNearest({9});
    EXPECT_TRUE(t->eof());
    EXPECT_EQ(t->currentKey(), 5);

    t->setRange({1}, {1});
    EXPECT_EQ(t->recordCount(), 3);
    EXPECT_EQ(walk(*t, true), (QList<qint64>{2, 4, 1}));
    EXPECT_EQ(walk(*t, false), (QList<qint64>{1, 4, 2}));
    EXPECT_FALSE(t->findKey({2})) << "finds stay within the range";
    t->setRange({1, 2}, {2});
    EXPECT_EQ(walk(*t, true), (QList<qint64>{4, 1, 3}));
    t->setRange({}, {1, 1});
    EXPECT_EQ(walk(*t, true), (QList<qint64>{2}));
    t->setRange({4}, {});
    EXPECT_TRUE(t->isEmpty());
    EXPECT_TRUE(t->eof() && t->bof());
    t->cancelRange();
    EXPECT_EQ(t->recordCount(), 5);

    // Primary key and alpha keys; a key longer than the index is refused.
    t->setIndexName(QString());
    EXPECT_TRUE(t->findKey({3}));
    EXPECT_EQ(t->fieldByName(QStringLiteral("Tel")).asAnsi(), "200");
    t->setIndexName(QStringLiteral("Tel"));
    EXPECT_TRUE(t->findKey({QByteArray("102")}));
    EXPECT_EQ(t->currentKey(), 1) << "ties go by RecNo";
    EXPECT_THROW(t->findKey({QByteArray("1"), 2}), TableError);
}

TEST_F(TableEngineTest, LocateMatchesExactlyOrIgnoringCaseOrByPrefix)
{
    auto t = openNew(CategoryTableDef());
    int key = 1;
    for (const QByteArray& kana :
         {QByteArray("abc"), QByteArray("ABD"), sj(u"ｶﾌﾞｼｷｶﾞｲｼｬ"), QByteArray("Abc")})
        AppendRow(*t, {{"RecNo", key++}, {"Kana", kana}});
    const struct
    {
        QByteArray value;
        LocateOptions options;
        qint64 found; // 0: none
    } cases[] = {
        {"Abc", {}, 4},
        {"ABC", {}, 0},
        {"ABC", {true, false}, 1},
        {"ab", {false, true}, 1},
        {"AB", {true, true}, 1},
        {"AB", {false, true}, 2},
        {sj(u"ｶﾌﾞ"), {false, true}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        t->first();
        EXPECT_EQ(t->locate({QStringLiteral("Kana")}, {c.value}, c.options), c.found != 0);
        if (c.found) {
            EXPECT_EQ(t->currentKey(), c.found);
        }
    }
}

TEST_F(TableEngineTest, FieldValuesKeepTheirTypes)
{
    auto t = openNew(AdrsTableDef());
    const QDateTime stamp(QDate(2024, 2, 29), QTime(23, 59, 58, 123));
    t->append();
    t->fieldByName(QStringLiteral("NameKanji")).setString(QStringLiteral("山田太郎"));
    t->fieldByName(QStringLiteral("Note")).setAnsi(QByteArray(5000, 'n')); // memos are not bounded
    t->fieldByName(QStringLiteral("PrivCorp")).setBoolean(true);
    t->fieldByName(QStringLiteral("Latitude")).setInteger(-128000);
    t->fieldByName(QStringLiteral("AddDateTime")).setDateTime(stamp);
    t->fieldByName(QStringLiteral("Tel")).setAnsi("");
    EXPECT_EQ(t->post(), 1);

    EXPECT_EQ(t->fieldByName(QStringLiteral("NameKanji")).asString(), QStringLiteral("山田太郎"));
    EXPECT_EQ(t->fieldByName(QStringLiteral("Note")).asAnsi().size(), 5000);
    EXPECT_TRUE(t->fieldByName(QStringLiteral("PrivCorp")).asBoolean());
    EXPECT_EQ(t->fieldByName(QStringLiteral("PrivCorp")).asAnsi(), "True");
    EXPECT_EQ(t->fieldByName(QStringLiteral("Latitude")).asInteger(), -128000);
    EXPECT_EQ(t->fieldByName(QStringLiteral("AddDateTime")).asDateTime(), stamp);
    EXPECT_TRUE(t->fieldByName(QStringLiteral("Tel")).isNull()) << "an empty alpha value reads as null";
    EXPECT_TRUE(t->fieldByName(QStringLiteral("UpdDateTime")).isNull());
    EXPECT_FALSE(t->fieldByName(QStringLiteral("UpdDateTime")).asDateTime().isValid());
    EXPECT_FALSE(t->fieldByName(QStringLiteral("IgnoreName")).asBoolean());

    EXPECT_THROW(t->fieldByName(QStringLiteral("Tel")).setAnsi("1"), TableError) << "not in edit state";
    EXPECT_THROW(t->fieldByName(QStringLiteral("NoSuchField")), TableError);
    t->edit();
    EXPECT_THROW(t->fieldByName(QStringLiteral("RecNo")).setInteger(7), TableError)
        << "auto-increment is read-only";
    EXPECT_THROW(t->fieldByName(QStringLiteral("Group")).setAnsi("x1"), TableError);
    t->cancel();
}

TEST_F(TableEngineTest, ValueTooLongForItsFieldIsRefusedNotCut)
{
    auto t = openNew(AdrsTableDef());
    const struct
    {
        const char* field;
        QByteArray value;
        bool fits;
    } cases[] = {
        {"Tel", "03123456789", true},
        {"Tel", "031234567890", false},
        {"Tdfkn", sj(u"神奈川県"), true},
        {"Tdfkn", sj(u"鹿児島県X"), false},
        {"NameKana", QByteArray(25, 'k'), true},
        {"NameKana", QByteArray(26, 'k'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        t->append();
        if (c.fits) {
            t->fieldByName(QLatin1String(c.field)).setAnsi(c.value);
            t->post();
            EXPECT_EQ(t->fieldByName(QLatin1String(c.field)).asAnsi(), c.value);
        } else {
            EXPECT_THROW(t->fieldByName(QLatin1String(c.field)).setAnsi(c.value), FieldTooLongError);
            EXPECT_TRUE(t->fieldByName(QLatin1String(c.field)).isNull());
            t->cancel();
        }
    }
    EXPECT_EQ(t->recordCount(), 3);

    // A row written past the engine is still held to the size by the file itself.
    t->close();
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path("Adrs.DB")).constData(), &db);
    EXPECT_NE(sqlite3_exec(db, "INSERT INTO Adrs (Tel) VALUES (x'303132333435363738393031')", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
}

TEST_F(TableEngineTest, OpenNeedsTheTablePasswordInTheSession)
{
    Table::createTable(path("Sender.DB"), SenderTableDef(), TablePassword);
    Table::createTable(path("Category.DB"), CategoryTableDef());

    TableSession bare;
    Table t(bare);
    t.setDatabaseName(m_dir.path());
    t.setTableName(QStringLiteral("Sender.DB"));
    EXPECT_THROW(t.open(), TableNoPasswordError);
    bare.addPassword(QStringLiteral("tolvemq584"));
    EXPECT_THROW(t.open(), TableNoPasswordError);
    bare.addPassword(TablePassword);
    EXPECT_NO_THROW(t.open());
    t.close();
    bare.removePassword(TablePassword);
    EXPECT_THROW(t.open(), TableNoPasswordError);

    t.setTableName(QStringLiteral("Category.DB"));
    EXPECT_NO_THROW(t.open()) << "a table made without a password opens freely";
}

TEST_F(TableEngineTest, SharedAndExclusiveOpensConflictBetweenProcesses)
{
    Table::createTable(path("Adrs.DB"), AdrsTableDef(), TablePassword);
    auto startHolder = [&](QProcess& p, const char* mode) {
        return StartHolder(p,
                           {{"TABLE_HOLD_PATH", path("Adrs.DB")}, {"TABLE_HOLD_MODE", QLatin1String(mode)}});
    };
    auto opens = [&](bool exclusive) {
        try {
            openExisting(QStringLiteral("Adrs.DB"), exclusive);
            return true;
        } catch (const TableLockedError&) {
            return false;
        }
    };

    {
        QProcess holder;
        ASSERT_EQ(startHolder(holder, "exclusive"), "open");
        EXPECT_FALSE(opens(false));
        EXPECT_FALSE(opens(true));
        StopHolder(holder);
    }
    {
        QProcess holder;
        ASSERT_EQ(startHolder(holder, "shared"), "open");
        EXPECT_TRUE(opens(false));
        EXPECT_FALSE(opens(true));
        StopHolder(holder);
    }
    EXPECT_TRUE(opens(true)) << "the lock goes with the process";
    {
        auto mine = openExisting(QStringLiteral("Adrs.DB"), true);
        QProcess holder;
        EXPECT_EQ(startHolder(holder, "shared"), "locked");
        holder.waitForFinished(20000);
        // Two objects of one process conflict in the same way.
        EXPECT_FALSE(opens(false));
    }
}

TEST_F(TableEngineTest, ChangesOfAnotherObjectAppearAfterRefresh)
{
    auto a = openNew(AdrsTableDef());
    auto b = openExisting(QStringLiteral("Adrs.DB"));
    AppendRow(*a, {{"Tel", QByteArray("1")}});
    AppendRow(*a, {{"Tel", QByteArray("2")}});
    EXPECT_EQ(b->recordCount(), 2);
    b->setIndexName(QStringLiteral("Tel"));
    EXPECT_EQ(walk(*b, true), (QList<qint64>{1, 2}));

    // b stands on record 2; a deletes it and b cannot edit what is gone.
    a->first();
    a->next();
    a->deleteRecord();
    EXPECT_EQ(a->recordCount(), 1);
    EXPECT_TRUE(b->findKey({QByteArray("1")}));
    b->refresh();
    EXPECT_EQ(b->recordCount(), 1);
    EXPECT_TRUE(b->findKey({QByteArray("1")}));
    b->edit();
    b->fieldByName(QStringLiteral("Tel")).setAnsi("3");
    a->first();
    a->deleteRecord();
    EXPECT_THROW(b->post(), TableError);
    b->cancel();
    EXPECT_EQ(b->recordCount(), 0);
}

// A record deleted under the cursor by another table object or process is a typed error, never a crash;
// the cursor walks on past it, and without any current record the fields read null.
TEST_F(TableEngineTest, ReadingARecordDeletedElsewhereRaisesRecordGone)
{
    const auto tel = [](Table& t) { return t.fieldByName(QStringLiteral("Tel")).asAnsi(); };
    for (const bool otherProcess : {false, true}) {
        SCOPED_TRACE(otherProcess ? "another process" : "another table object");
        auto t = openNew(AdrsTableDef());
        for (int i = 1; i <= 6; ++i)
            AppendRow(*t, {{"Tel", QByteArray::number(i)}});
        const auto deleteElsewhere = [&](const char* recNos) {
            if (otherProcess) {
                QProcess holder;
                ASSERT_EQ(StartHolder(holder, {{"TABLE_HOLD_PATH", path("Adrs.DB")},
                                               {"TABLE_HOLD_DELETE", QLatin1String(recNos)}}),
                          "open");
                StopHolder(holder);
            } else {
                auto other = openExisting(QStringLiteral("Adrs.DB"));
                for (const QByteArray& recNo : QByteArray(recNos).split(','))
                    if (other->findKey({recNo.toInt()}))
                        other->deleteRecord();
            }
        };

        // A walk: rows 3 and 4 go after the walk has begun.
        t->first();
        EXPECT_EQ(tel(*t), "1");
        deleteElsewhere("3,4");
        QByteArrayList seen;
        int gone = 0;
        for (t->next(); !t->eof(); t->next()) {
            try {
                seen.append(tel(*t));
            } catch (const RecordGoneError&) {
                ++gone;
            }
        }
        EXPECT_EQ(seen, (QByteArrayList{"2", "5", "6"}));
        EXPECT_EQ(gone, 2);

        // Found, then deleted before it is read; every kind of read says so.
        ASSERT_TRUE(t->findKey({5}));
        deleteElsewhere("5");
        EXPECT_THROW(tel(*t), RecordGoneError);
        EXPECT_THROW(t->fieldByName(QStringLiteral("Group")).isNull(), RecordGoneError);
        EXPECT_THROW(t->fieldByName(QStringLiteral("AddDateTime")).asDateTime(), RecordGoneError);
        EXPECT_THROW(t->edit(), RecordGoneError);
        EXPECT_FALSE(t->findKey({5}));
        ASSERT_TRUE(t->findKey({6}));
        EXPECT_EQ(tel(*t), "6");

        // No current record: null fields.
        deleteElsewhere("1,2,6");
        t->refresh();
        EXPECT_TRUE(t->isEmpty());
        EXPECT_TRUE(t->fieldByName(QStringLiteral("Tel")).isNull());
        EXPECT_EQ(t->fieldByName(QStringLiteral("Group")).asInteger(), 0);
        t.reset();
        QFile::remove(path("Adrs.DB"));
    }
}

TEST_F(TableEngineTest, DeleteMovesToTheNextRecord)
{
    auto t = openNew(AdrsTableDef());
    for (int i = 0; i < 4; ++i)
        AppendRow(*t, {{"Group", i}});
    t->findKey({2});
    t->deleteRecord();
    EXPECT_EQ(t->currentKey(), 3);
    t->last();
    t->deleteRecord();
    EXPECT_EQ(t->currentKey(), 3);
    t->edit(); // deleting from edit state drops the edit
    t->deleteRecord();
    EXPECT_EQ(walk(*t, true), (QList<qint64>{1}));
}

TEST_F(TableEngineTest, FieldsReadNullWithoutACurrentRecord)
{
    auto t = openNew(AdrsTableDef());
    t->first();
    ASSERT_TRUE(t->eof());
    EXPECT_TRUE(t->fieldByName(QStringLiteral("CorpKanji")).isNull());
    EXPECT_TRUE(t->fieldByName(QStringLiteral("Note")).asAnsi().isEmpty());
    EXPECT_EQ(t->fieldByName(QStringLiteral("Group")).asInteger(), 0);
}

TEST_F(TableEngineTest, PackKeepsAutoIncrementNumbersAndNeedsAnExclusiveOpen)
{
    {
        auto shared = openNew(AdrsTableDef());
        EXPECT_THROW(shared->pack(), TableLockedError);
    }
    auto t = openExisting(QStringLiteral("Adrs.DB"), true);
    for (int i = 0; i < 5; ++i)
        AppendRow(*t, {{"NameKana", QByteArray(20, char('a' + i))}});
    t->last();
    t->deleteRecord();
    t->first();
    t->deleteRecord();
    t->pack();
    EXPECT_EQ(walk(*t, true), (QList<qint64>{2, 3, 4}));
    EXPECT_EQ(AppendRow(*t, {}), 6) << "numbers of deleted records are never given again";
    t->regenerateIndexes();
    t->setIndexName(QStringLiteral("NameKana"));
    EXPECT_EQ(walk(*t, true), (QList<qint64>{6, 2, 3, 4}));
    EXPECT_TRUE(t->integrityCheck().isEmpty());

    // A primary key given by the caller must be new.
    auto s = openNew(SenderTableDef());
    AppendRow(*s, {{"RecNo", 7}});
    EXPECT_THROW(AppendRow(*s, {{"RecNo", 7}}), KeyViolationError);
    s->cancel();
    EXPECT_EQ(s->recordCount(), 1);
}

TEST_F(TableEngineTest, CreationLeavesEitherTheWholeTableOrNothing)
{
    const QString adrs = path("Adrs.DB");
    for (int step = 1; step <= 4; ++step) {
        SCOPED_TRACE(step);
        TableEngine::setCreateFailureStep(step);
        EXPECT_THROW(Table::createTable(adrs, AdrsTableDef(), TablePassword), TableError);
        TableEngine::setCreateFailureStep(0);
        EXPECT_TRUE(
            QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    }

    TableDef broken = CategoryTableDef();
    broken.indexes.append({QStringLiteral("Missing"), {QStringLiteral("NoSuchField")}, false, false});
    try {
        Table::createTable(path("Category.DB"), broken);
        FAIL() << "a bad definition was accepted";
    } catch (const TableError& e) {
        EXPECT_EQ(e.code(), TableErrorCode::BadDefinition);
    }
    EXPECT_FALSE(QFile::exists(path("Category.DB")));

    Table::createTable(adrs, AdrsTableDef(), TablePassword);
    {
        auto t = openExisting(QStringLiteral("Adrs.DB"));
        AppendRow(*t, {{"Tel", QByteArray("0312345678")}});
    }
    try {
        Table::createTable(adrs, AdrsTableDef(), TablePassword);
        FAIL() << "an existing table was replaced";
    } catch (const TableError& e) {
        EXPECT_EQ(e.code(), TableErrorCode::Exists);
    }
    EXPECT_EQ(openExisting(QStringLiteral("Adrs.DB"))->recordCount(), 1);
    EXPECT_THROW(Table::createTable(path("nofolder/Adrs.DB"), AdrsTableDef()), TableMissingError);
}

// The password record, the lock file and the creation's temporaries cannot be turned against the engine.
TEST_F(TableEngineTest, PasswordRecordLockFileAndTemporariesAreChecked)
{
    // A huge iteration count is damage, told at once instead of deriving for many minutes.
    Table::createTable(path("Adrs.DB"), AdrsTableDef(), TablePassword);
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(path("Adrs.DB")).constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db,
                               "UPDATE TableInfo SET value = '2147483647' WHERE key = 'password.iterations'",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        EXPECT_EQ(sqlite3_changes(db), 1);
        sqlite3_close(db);
    }
    EXPECT_THROW(openExisting(QStringLiteral("Adrs.DB")), TableDamagedError);

    // A lock file that is a link or a folder refuses the open; nothing is made where a link points.
    Table::createTable(path("Sender.DB"), SenderTableDef());
    const QString target = path("elsewhere");
    ASSERT_TRUE(QFile::link(target, path("Sender.DB.lck")));
    EXPECT_THROW(openExisting(QStringLiteral("Sender.DB")), TableError);
    EXPECT_FALSE(QFileInfo::exists(target));
    QFile::remove(path("Sender.DB.lck"));
    ASSERT_TRUE(QDir().mkdir(path("Sender.DB.lck")));
    EXPECT_THROW(openExisting(QStringLiteral("Sender.DB")), TableError);
    QDir().rmdir(path("Sender.DB.lck"));
    EXPECT_NO_THROW(openExisting(QStringLiteral("Sender.DB")));

    // A new table gets the mode the umask leaves, and the umask stays as it was.
    const mode_t old = ::umask(027);
    Table::createTable(path("Category.DB"), CategoryTableDef());
    EXPECT_EQ(::umask(old), mode_t(027));
    EXPECT_EQ(QFileInfo(path("Category.DB")).permissions() & 0x7777,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);

    // What killed creations left goes with the next creation in the folder; a creation still running
    // (its temporary locked) keeps its file.
    WriteFileBytes(path(".Target.DB.aB3dE6"), "left by a killed run");
    WriteFileBytes(path(".Target.DB.aB3dE6-journal"), "journal");
    WriteFileBytes(path(".Exception.DB.Zz9yX8-journal"), "orphan journal");
    WriteFileBytes(path(".Original.DB.live01"), "being built");
    const int live = ::open(QFile::encodeName(path(".Original.DB.live01")).constData(), O_RDONLY);
    ASSERT_GE(live, 0);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    Table::createTable(path("Target.DB"), TargetTableDef());
    EXPECT_EQ(QDir(m_dir.path()).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral(".Original.DB.live01")});
    ::close(live);
}

TEST_F(TableEngineTest, DamagedAndMissingFilesAreTold)
{
    EXPECT_THROW(openExisting(QStringLiteral("Adrs.DB")), TableMissingError);

    WriteFileBytes(path(QStringLiteral("Adrs.DB")), QByteArray(8192, 'x'));
    EXPECT_THROW(openExisting(QStringLiteral("Adrs.DB")), TableDamagedError);
    WriteFileBytes(path(QStringLiteral("Adrs.DB")), QByteArray());
    EXPECT_THROW(openExisting(QStringLiteral("Adrs.DB")), TableDamagedError);

    // Sound header, broken pages: the check finds it and reading says so.
    QFile::remove(path("Adrs.DB"));
    {
        auto t = openNew(AdrsTableDef());
        t->startTransaction();
        for (int i = 0; i < 400; ++i)
            AppendRow(*t,
                      {{"Adrs3", QByteArray(110, char('a' + i % 26))}, {"NameKana", QByteArray::number(i)}});
        t->commit();
    }
    QFile f(path("Adrs.DB"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 size = f.size();
    f.seek(size / 2);
    f.write(QByteArray(int(size / 4), '\xA5'));
    f.close();
    try {
        auto t = openExisting(QStringLiteral("Adrs.DB"));
        EXPECT_FALSE(t->integrityCheck().isEmpty());
        t->setIndexName(QStringLiteral("NameKana"));
        FAIL() << "the damaged order was read";
    } catch (const TableDamagedError&) {
    }
}

TEST_F(TableEngineTest, BatchPostsCommitTogetherOrNotAtAll)
{
    auto t = openNew(CategoryTableDef());
    t->startTransaction();
    AppendRow(*t, {{"RecNo", 1}});
    AppendRow(*t, {{"RecNo", 2}});
    t->rollback();
    EXPECT_EQ(t->recordCount(), 0);
    t->startTransaction();
    AppendRow(*t, {{"RecNo", 3}});
    t->commit();
    EXPECT_EQ(openExisting(QStringLiteral("Category.DB"))->recordCount(), 1);
}

TEST(TableEngineCompare, IgnoringCaseFoldsSingleByteLettersOnly)
{
    const struct
    {
        QByteArray a;
        QByteArray b;
        int sign;
    } cases[] = {
        {"ABC", "abc", 0},
        {"abc", "ABD", -1},
        {"_", "a", -1}, // letters fold down, so '_' (5F) sorts before them
        {"ab", "abc", -1},
        {sj(u"ア"), sj(u"ヂ"), -1}, // 83 41 vs 83 61: the trail byte is not a letter
        {sj(u"ｱ"), sj(u"ア"), 1},
        {"a" + sj(u"ア"), "A" + sj(u"ア"), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a.toHex().toStdString() + " " + c.b.toHex().toStdString());
        const int r = TableEngine::compareIgnoringCase(c.a.constData(), int(c.a.size()), c.b.constData(),
                                                       int(c.b.size()));
        EXPECT_EQ((r > 0) - (r < 0), c.sign);
    }
}

} // namespace
