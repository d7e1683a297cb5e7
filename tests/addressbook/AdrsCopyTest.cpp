// Address copy: number and customer-code rules, date options, the row limit, failed writes, the summary
// text, the settings and the window.
#include "addressbook/AdrsCopy.h"
#include "addressbook/AdrsListRows.h"
#include "core/AdrsFolderList.h"
#include "core/DBInfo.h"
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "platform/IniFile.h"
#include "support/FakeListRows.h"
#include "support/MessageRecorder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>

namespace {

void CopyAndDie(const QByteArray& dataRoot);

// Helper mode of this executable: copies every row of the book "Src" under ADRSCOPY_CRASH_ROOT into "Dst"
// and ends the process abruptly while the 750th row is being written.
const int g_crashHelper = [] {
    const QByteArray root = qgetenv("ADRSCOPY_CRASH_ROOT");
    if (root.isEmpty())
        return 0;
    CopyAndDie(root);
    std::_Exit(3);
}();

using Fields = QList<std::pair<const char*, QVariant>>;

using FakeRows = FakeListRows;

void CopyAndDie(const QByteArray& dataRoot)
{
    MsgSeam::SetHandler([](const MsgSeam::Request&) { return int(MsgSeam::IdOk); });
    DataRootFolder = QString::fromLocal8Bit(dataRoot);
    DataFolder = DataRootFolder + QStringLiteral("Data/");
    SetDataSubFolders();
    TDMQuenrid215 dm;
    dm.CreateAdrsTable(QStringLiteral("Src"));
    if (!dm.OpenAdrs() || !dm.OpenAdrsExclusive(QStringLiteral("Dst")))
        return;
    FakeRows rows;
    Table& source = *dm.AdrsTable();
    for (source.first(); !source.eof(); source.next())
        rows.recNos.append(int(source.currentKey()));
    TAddressCopySettings settings;
    settings.DataSelect = 2;
    TAddressCopyJob job(source, *dm.AdrsExclusiveTable(), settings);
    job.BatchSize = 500;
    int posts = 0;
    job.BeforePost = [&] {
        if (++posts == 750)
            std::_Exit(0);
    };
    job.CopyRecords(rows);
}

QByteArray S(const char* utf8)
{
    return ToAnsi(QString::fromUtf8(utf8));
}

// Every field of the current record by name, RecNo left out.
QHash<QString, QVariant> RowValues(Table& table)
{
    QHash<QString, QVariant> values;
    for (int i = 0; i < table.fieldCount(); ++i) {
        const TableField f = table.field(i);
        if (f.name() != QLatin1String("RecNo"))
            values.insert(f.name(), f.value());
    }
    return values;
}

class AdrsCopyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        DataRootFolder = m_dir.path() + QStringLiteral("/root/");
        DataFolder = DataRootFolder + QStringLiteral("Data/");
        SetDataSubFolders();
        for (const char* book : {"Src", "Dst", "Other"}) {
            QDir().mkpath(AdrsFolder + QLatin1String(book));
            Table::createTable(AdrsFolder + QLatin1String(book) + QStringLiteral("/Adrs.DB"), AdrsTableDef(),
                               TablePassword);
        }
        m_dm = std::make_unique<TDMQuenrid215>();
        m_dm->CreateAdrsTable(QStringLiteral("Src"));
        ASSERT_TRUE(m_dm->OpenAdrs());
        AdrsFolderList = {{QStringLiteral("元の帳"), QStringLiteral("Src"), 0},
                          {QStringLiteral("先の帳"), QStringLiteral("Dst"), 0},
                          {QString(), QStringLiteral("Other"), 1}};
        CurrentAdrsName = QStringLiteral("元の帳");
    }
    void TearDown() override
    {
        delete AddressCopy.data();
        m_dm.reset();
        AdrsFolderList.clear();
    }

    Table& Source() { return *m_dm->AdrsTable(); }
    // Adds a source row and shows it in the list.
    int AddSource(const Fields& fields)
    {
        const int recNo = AppendRow(Source(), fields);
        m_rows.recNos.append(recNo);
        return recNo;
    }
    Table& OpenTarget()
    {
        EXPECT_TRUE(m_dm->OpenAdrsExclusive(QStringLiteral("Dst")));
        return *m_dm->AdrsExclusiveTable();
    }
    void AddTargets(const QList<Fields>& rows)
    {
        Table& target = OpenTarget();
        for (const Fields& row : rows)
            AppendRow(target, row);
        m_dm->CloseAdrsExclusive();
    }
    static void Clear(Table& table)
    {
        while (!table.isEmpty()) {
            table.first();
            table.deleteRecord();
        }
    }
    // Both books empty, nothing shown.
    void Reset()
    {
        Clear(Source());
        Clear(OpenTarget());
        m_dm->CloseAdrsExclusive();
        m_rows = {};
    }
    // Runs a copy of every shown row into Dst.
    TAddressCopyCounts Run(TAddressCopySettings settings,
                           const std::function<void(TAddressCopyJob&)>& prepare = {})
    {
        settings.DataSelect = 2;
        TAddressCopyJob job(Source(), OpenTarget(), settings);
        if (prepare)
            prepare(job);
        job.CopyRecords(m_rows);
        m_dm->CloseAdrsExclusive();
        return job.Counts();
    }
    // The target's rows in RecNo order.
    QList<QHash<QString, QVariant>> TargetRows()
    {
        Table& target = OpenTarget();
        QList<QHash<QString, QVariant>> rows;
        for (target.first(); !target.eof(); target.next())
            rows.append(RowValues(target));
        m_dm->CloseAdrsExclusive();
        return rows;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TDMQuenrid215> m_dm;
    FakeRows m_rows;
};

TEST_F(AdrsCopyTest, NumberAndCustomerCodeRules)
{
    struct Case
    {
        const char* name;
        bool tel, fax;
        int bothType, sameNum, sameCustom;
        Fields target;
        Fields source;
        TCopyResult expected;
    };
    const Case cases[] = {
        {"no number in the source: no check applies",
         true,
         false,
         0,
         1,
         1,
         {{"Fax", "0399990000"}},
         {{"Fax", "0399990000"}},
         TCopyResult::Added},
        {"all: an empty source fax takes no part",
         true,
         true,
         0,
         1,
         1,
         {{"Tel", "0311112222"}, {"Fax", "0355556666"}},
         {{"Tel", "0311112222"}},
         TCopyResult::Skipped},
        {"all: a different fax is no match",
         true,
         true,
         0,
         1,
         1,
         {{"Tel", "0311112222"}, {"Fax", "0355556666"}},
         {{"Tel", "0311112222"}, {"Fax", "0377778888"}},
         TCopyResult::Added},
        {"any: the fax alone matches",
         true,
         true,
         1,
         1,
         1,
         {{"Tel", "0300000000"}, {"Fax", "0355556666"}},
         {{"Tel", "0311112222"}, {"Fax", "0355556666"}},
         TCopyResult::Skipped},
        {"numbers compare as stored",
         true,
         false,
         0,
         1,
         1,
         {{"Tel", "03-111-2222"}},
         {{"Tel", "031112222"}},
         TCopyResult::Added},
        {"add as new: a duplicate number is added",
         true,
         false,
         0,
         0,
         1,
         {{"Tel", "0311112222"}},
         {{"Tel", "0311112222"}},
         TCopyResult::Added},
        {"add as new: the customer code still applies",
         true,
         false,
         0,
         0,
         1,
         {{"Tel", "0311112222"}, {"CustomCode", "C1"}},
         {{"Tel", "0311112222"}, {"CustomCode", "C1"}},
         TCopyResult::Skipped},
        {"same customer code overwrites",
         false,
         false,
         0,
         0,
         0,
         {{"CustomCode", "C1"}, {"Tel", "0300000000"}},
         {{"CustomCode", "C1"}, {"Tel", "0311112222"}},
         TCopyResult::Overwritten},
        {"an empty customer code never overwrites",
         false,
         false,
         0,
         0,
         0,
         {{"Tel", "0300000000"}},
         {{"Tel", "0311112222"}},
         TCopyResult::Added},
        {"customer codes compare with case",
         false,
         false,
         0,
         0,
         1,
         {{"CustomCode", "c1"}},
         {{"CustomCode", "C1"}},
         TCopyResult::Added},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        AddTargets({{{"Tel", "0322223333"}}, c.target});
        AddSource(c.source);
        TAddressCopySettings s;
        s.Tel = c.tel;
        s.Fax = c.fax;
        s.BothType = c.bothType;
        s.SameNumCheck = c.sameNum;
        s.SameCustomCheck = c.sameCustom;
        const TAddressCopyCounts counts = Run(s);
        EXPECT_EQ(counts.Added, c.expected == TCopyResult::Added ? 1 : 0);
        EXPECT_EQ(counts.Skipped, c.expected == TCopyResult::Skipped ? 1 : 0);
        EXPECT_EQ(counts.Overwritten, c.expected == TCopyResult::Overwritten ? 1 : 0);
        const auto rows = TargetRows();
        ASSERT_EQ(rows.size(), c.expected == TCopyResult::Added ? 3 : 2);
        if (c.expected == TCopyResult::Overwritten) {
            EXPECT_EQ(rows[1].value("Tel").toByteArray(), "0311112222");
        }
    }
}

TEST_F(AdrsCopyTest, AllNumbersMatchWithinTheRunOfEqualLeadNumbers)
{
    AddTargets({{{"Tel", "0311112222"}, {"Fax", "0300000001"}},
                {{"Tel", "0311112222"}, {"Fax", "0355556666"}, {"Portable1", "09012345678"}}});
    AddSource({{"Tel", "0311112222"}, {"Fax", "0355556666"}, {"Portable1", "09012345678"}});
    AddSource({{"Tel", "0311112222"}, {"Fax", "0355556666"}, {"Portable1", "09000000000"}});
    TAddressCopySettings s;
    s.Tel = s.Fax = s.Portable1 = true;
    s.SameNumCheck = 1;
    const TAddressCopyCounts counts = Run(s);
    EXPECT_EQ(counts.Skipped, 1);
    EXPECT_EQ(counts.Added, 1);
}

TEST_F(AdrsCopyTest, EveryFieldIsCopiedAsStoredAndRecNoIsTheTargets)
{
    AddTargets({{{"Tel", "0300000000"}}, {{"Tel", "0300000001"}}});
    const Fields fields = {
        {"Group", 3},
        {"CustomCode", "K-001"},
        {"Tel", "0311112222"},
        {"TelDiv", 2},
        {"Adrs2", S("千代田区丸の内")},
        {"Latitude", 12793600},
        {"PrivCorp", true},
        {"MyNumber", "0C1A2B3C4D5E6F708192A3B4C5D6E7F80"},
        {"NameKanji", "FEFF5C7167514E0E90CE"},
        {"JointPrint3", true},
        {"Keyword8", S("キーワード")},
        {"Note", S("一行目\r\n二行目")},
        {"ProtectMemo10", "05A1B2C3D4E5F60718293A4B5C6D7E8F90"},
        {"ProtectNote", S("秘密")},
        {"ExtLink", "https://example.invalid/"},
        {"SymbolMark", S("★")},
        {"SymbolColor", 255},
        {"AddDateTime", QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5, 678))},
        {"UpdDateTime", QDateTime(QDate(2021, 6, 7), QTime(8, 9, 10, 111))},
        {"CodeGenre", 42},
    };
    const int recNo = AddSource(fields);
    ASSERT_TRUE(Source().findKey({recNo}));
    QHash<QString, QVariant> expected = RowValues(Source());
    // Numbers and flags go across as numbers and flags: an empty one arrives as 0 or false.
    for (const FieldDef& f : AdrsTableDef().fields) {
        if (f.type == FieldType::LongInt && !expected.value(f.name).isValid())
            expected.insert(f.name, qint64(0));
        if (f.type == FieldType::Logical && !expected.value(f.name).isValid())
            expected.insert(f.name, false);
    }

    const TAddressCopyCounts counts = Run({});
    EXPECT_EQ(counts.Added, 1);
    const auto rows = TargetRows();
    ASSERT_EQ(rows.size(), 3);
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        EXPECT_EQ(rows[2].value(it.key()), it.value());
    }
    Table& target = OpenTarget();
    target.last();
    EXPECT_EQ(target.fieldByName("RecNo").asInteger(), 3);
}

TEST_F(AdrsCopyTest, DateOptions)
{
    const QDateTime added(QDate(2020, 1, 2), QTime(3, 4, 5, 678));
    const QDateTime updated(QDate(2021, 6, 7), QTime(8, 9, 10, 111));
    const QDateTime now(QDate(2026, 12, 10), QTime(12, 34, 56, 789));
    const QDateTime nowSeconds(QDate(2026, 12, 10), QTime(12, 34, 56));
    struct Case
    {
        bool sameAdd, sameUpd;
        QDateTime add, upd;
    };
    const Case cases[] = {
        {true, true, added, updated},
        {true, false, added, now},
        {false, true, nowSeconds, now},
        {false, false, nowSeconds, now},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sameAdd << c.sameUpd);
        Reset();
        AddSource({{"AddDateTime", added}, {"UpdDateTime", updated}});
        TAddressCopySettings s;
        s.SameAddDateTime = c.sameAdd;
        s.SameUpdDateTime = c.sameUpd;
        Run(s, [&](TAddressCopyJob& job) { job.Now = [&] { return now; }; });
        const auto rows = TargetRows();
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows[0].value("AddDateTime").toDateTime(), c.add);
        EXPECT_EQ(rows[0].value("UpdDateTime").toDateTime(), c.upd);
    }
}

TEST_F(AdrsCopyTest, TheDataChoiceDecidesTheVisitedRowsInListOrder)
{
    for (int i = 1; i <= 10; ++i)
        AddSource({{"CustomCode", QByteArray("C") + QByteArray::number(i)}});
    std::reverse(m_rows.recNos.begin(), m_rows.recNos.end()); // the list shows C10 first
    m_rows.selected = {8, 2, 6};
    struct Case
    {
        int dataSelect, begin, end;
        QList<QByteArray> codes;
    };
    const Case cases[] = {
        {0, 0, 0, {"C8", "C4", "C2"}},
        {1, 2, 4, {"C9", "C8", "C7"}},
        {1, 0, 0, {}},
        {2, 0, 0, {"C10", "C9", "C8", "C7", "C6", "C5", "C4", "C3", "C2", "C1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dataSelect);
        TAddressCopySettings s;
        s.DataSelect = c.dataSelect;
        s.BeginPos = c.begin;
        s.EndPos = c.end;
        EXPECT_EQ(AddressCopyDataCount(s, m_rows), c.codes.size());
        TAddressCopyJob job(Source(), OpenTarget(), s);
        job.CopyRecords(m_rows);
        m_dm->CloseAdrsExclusive();
        EXPECT_EQ(job.Counts().DataCount, c.codes.size());
        QList<QByteArray> codes;
        for (const auto& row : TargetRows())
            codes.append(row.value("CustomCode").toByteArray());
        EXPECT_EQ(codes, c.codes);
        Clear(OpenTarget());
        m_dm->CloseAdrsExclusive();
    }
}

TEST_F(AdrsCopyTest, TheListKeepsItsOrderOfTheSourceTable)
{
    AddSource({{"NameKana", "B"}});
    AddSource({{"NameKana", "A"}});
    Source().setIndexName(QStringLiteral("NameKana"));
    Run({});
    EXPECT_EQ(Source().indexName(), QStringLiteral("NameKana"));
    EXPECT_EQ(TargetRows().size(), 2);
}

TEST_F(AdrsCopyTest, TheRowLimitStopsAtOneHundredThousand)
{
    {
        Table& target = OpenTarget();
        target.startTransaction();
        for (int i = 0; i < MaxAdrsRecordCount - 1; ++i) {
            target.append();
            if (i == 0)
                target.fieldByName("CustomCode").setAnsi("C1");
            target.post();
        }
        target.commit();
        m_dm->CloseAdrsExclusive();
    }
    AddSource({{"Tel", "0311112222"}});
    AddSource({{"CustomCode", "C1"}}); // would overwrite
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    TAddressCopySettings s;
    s.SameCustomCheck = 0;
    const TAddressCopyCounts counts = Run(s);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("最大登録件数10万件に達しました  \r\nこれ以上登録できません  "));
    EXPECT_EQ(messages.last().flags, unsigned(MsgSeam::MbIconInformation));
    EXPECT_EQ(counts.Added, 1);
    EXPECT_EQ(counts.Overwritten, 0); // an overwrite stops at the limit too
    EXPECT_TRUE(counts.LimitReached);
    EXPECT_EQ(AddressCopySummary(counts),
              QStringLiteral(
                  "アドレス帳のコピーが完了しました  \r\n\r\n対象件数 : \t2 件  \r\n登録件数 : \t1 件  "));
    EXPECT_EQ(OpenTarget().recordCount(), MaxAdrsRecordCount);
}

TEST_F(AdrsCopyTest, RowsThatCannotBeWrittenAreCountedAndTheRestGoesOn)
{
    for (int i = 1; i <= 5; ++i)
        AddSource({{"CustomCode", QByteArray("C") + QByteArray::number(i)}});
    m_rows.recNos.append(9999); // a record deleted since the list was read
    struct Case
    {
        const char* name;
        int batchSize;
        bool dropTransaction; // the engine gives up the whole batch, as on a full disc
        bool failAgain;       // the row fails again when written once more
        int added, failed;
    };
    const Case cases[] = {
        {"one row fails, committed per row", 1, false, true, 4, 2},
        {"one row fails inside a batch", 10, false, true, 4, 2},
        {"a lost batch is written again", 10, true, false, 5, 1},
        {"a lost batch is written again, the bad row stays out", 10, true, true, 4, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clear(OpenTarget());
        m_dm->CloseAdrsExclusive();

        int failures = 0;
        const TAddressCopyCounts counts = Run({}, [&](TAddressCopyJob& job) {
            job.BatchSize = c.batchSize;
            job.BeforePost = [&] {
                if (Source().fieldByName("CustomCode").asAnsi() != "C3" || (failures > 0 && !c.failAgain))
                    return;
                ++failures;
                if (c.dropTransaction && m_dm->AdrsExclusiveTable()->inTransaction())
                    m_dm->AdrsExclusiveTable()->rollback();
                throw TableError(TableErrorCode::General, QStringLiteral("disc full"));
            };
        });
        EXPECT_EQ(counts.Added, c.added);
        EXPECT_EQ(counts.Failed, c.failed);
        QList<QByteArray> codes;
        for (const auto& row : TargetRows())
            codes.append(row.value("CustomCode").toByteArray());
        EXPECT_EQ(codes.size(), c.added);
        EXPECT_EQ(QSet<QByteArray>(codes.begin(), codes.end()).size(), c.added); // nothing written twice
        EXPECT_TRUE(AddressCopySummary(counts).endsWith(
            QStringLiteral("\r\nコピー失敗件数 : \t%1 件  ").arg(c.failed)));
    }
}

TEST_F(AdrsCopyTest, AnInterruptedCopyLeavesWholeRowsOnly)
{
    Source().startTransaction();
    for (int i = 0; i < 1000; ++i)
        AddSource({{"CustomCode", QByteArray("C") + QByteArray::number(i)},
                   {"Adrs3", S("丸の内一丁目") + QByteArray::number(i)},
                   {"Note", QByteArray(300, 'n')}});
    Source().commit();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ADRSCOPY_CRASH_ROOT", DataRootFolder);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();

    // The committed batch is there, whole; the unfinished one and the row in hand are not.
    Table& target = OpenTarget();
    EXPECT_TRUE(target.integrityCheck().isEmpty());
    ASSERT_EQ(target.recordCount(), 500);
    int i = 0;
    for (target.first(); !target.eof(); target.next(), ++i) {
        ASSERT_EQ(target.fieldByName("CustomCode").asAnsi(), QByteArray("C") + QByteArray::number(i));
        ASSERT_EQ(target.fieldByName("Adrs3").asAnsi(), S("丸の内一丁目") + QByteArray::number(i));
        ASSERT_EQ(target.fieldByName("Note").asAnsi().size(), 300);
    }
}

TEST(AdrsCopySummaryTest, LinesAppearOnlyForCountsAboveZero)
{
    const QString head = QStringLiteral("アドレス帳のコピーが完了しました  \r\n\r\n対象件数 : \t");
    struct Case
    {
        TAddressCopyCounts counts;
        QString text;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, false}, head + QStringLiteral("0 件  \r\n登録件数 : \t0 件  ")},
        {{12345, 10000, 2, 0, 0, false},
         head + QStringLiteral("12345 件  \r\n登録件数 : \t10000 件  \r\n上書き件数 : \t2 件  ")},
        {{7, 1, 0, 5, 0, false},
         head + QStringLiteral("7 件  \r\n登録件数 : \t1 件  \r\n未処理件数 : \t5 件  ")},
        {{9, 1, 2, 3, 3, false},
         head +
             QStringLiteral("9 件  \r\n登録件数 : \t1 件  \r\n上書き件数 : \t2 件  \r\n未処理件数 : \t3 件  "
                            "\r\nコピー失敗件数 : \t3 件  ")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AddressCopySummary(c.counts), c.text);
}

TEST(AdrsCopySettingsTest, ValuesOutsideTheirRangeReadAsDefaults)
{
    QTemporaryDir dir;
    TMemIniFile ini(dir.filePath("Quenrid215.ini"));
    ini.WriteInteger("ADRS COPY", "DataSelect", 3);
    ini.WriteInteger("ADRS COPY", "BothType", 2);
    ini.WriteInteger("ADRS COPY", "SameNumCheck", -1);
    ini.WriteInteger("ADRS COPY", "SameCustomCheck", 5);
    ini.WriteInteger("ADRS COPY", "SameUpdDateTime", 0);
    TAddressCopySettings s;
    s.Read(ini);
    EXPECT_EQ(s.DataSelect, 0);
    EXPECT_EQ(s.BothType, 0);
    EXPECT_EQ(s.SameNumCheck, 0);
    EXPECT_EQ(s.SameCustomCheck, 1);
    EXPECT_TRUE(s.SameAddDateTime);
    EXPECT_FALSE(s.SameUpdDateTime);

    s.DataSelect = 1;
    s.BeginPos = 4;
    s.Portable2 = true;
    s.SameCustomCheck = 0;
    s.Write(ini);
    TAddressCopySettings back;
    back.Read(ini);
    EXPECT_EQ(back.DataSelect, 1);
    EXPECT_EQ(back.BeginPos, 4);
    EXPECT_TRUE(back.Portable2);
    EXPECT_EQ(back.SameCustomCheck, 0);
}

// ---- the window -----------------------------------------------------------------------------------------

class AdrsCopyWindowTest : public AdrsCopyTest
{
protected:
    template <class W> W* Find(const char* name)
    {
        W* w = AddressCopy->findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void Key(QWidget* w, int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }
    static void Type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        QFocusEvent in(QEvent::FocusIn);
        QApplication::sendEvent(edit, &in);
        edit->setText(text);
    }
    static void Leave(QLineEdit* edit)
    {
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(edit, &out);
    }
    void WriteSettings(const QList<std::pair<const char*, int>>& values)
    {
        QDir().mkpath(DataRootFolder);
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        for (const auto& [key, value] : values)
            ini.WriteInteger("ADRS COPY", key, value);
        ASSERT_TRUE(ini.UpdateFile());
    }
    static void DeleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QWidget m_owner;
};

TEST_F(AdrsCopyWindowTest, OneWindowAtATimeFreedByItsClose)
{
    m_rows.recNos = {1, 2};
    TAddressCopy* first = ShowAddressCopy(&m_owner, m_rows);
    ASSERT_EQ(AddressCopy, first);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("他のアドレス帳にコピー"));
    EXPECT_TRUE(first->isWindow());
    first->showMinimized();
    EXPECT_EQ(ShowAddressCopy(&m_owner, m_rows), first);
    EXPECT_FALSE(first->isMinimized());
    first->move(144, 96);
    first->close();
    DeleteClosed();
    EXPECT_TRUE(AddressCopy.isNull());
    // Its position stays in 96-dpi units; nothing else is written without a copy.
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_TRUE(ini.ValueExists("ADRS COPY", "Left"));
    EXPECT_FALSE(ini.ValueExists("ADRS COPY", "DataSelect"));
    EXPECT_EQ(ShowAddressCopy(&m_owner, m_rows)->pos(), QPoint(144, 96));
}

TEST_F(AdrsCopyWindowTest, TargetsLeaveOutTheOpenBookAndPendingDeletions)
{
    ShowAddressCopy(&m_owner, m_rows);
    auto* list = Find<QListWidget>("lvAdrs");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("先の帳"));
    EXPECT_TRUE(list->item(0)->isSelected());
}

TEST_F(AdrsCopyWindowTest, SavedRangeIsCorrectedOnOpening)
{
    struct Case
    {
        int count, begin, end;
        int wantBegin, wantEnd;
    };
    const Case cases[] = {
        {10, 3, 7, 3, 7}, {10, 0, 0, 1, 10}, {10, 11, 12, 1, 10}, {10, 8, 5, 1, 5}, {0, 3, 7, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " " << c.begin << "-" << c.end);
        WriteSettings({{"DataSelect", 1}, {"BeginPos", c.begin}, {"EndPos", c.end}});
        m_rows.recNos.clear();
        for (int i = 0; i < c.count; ++i)
            m_rows.recNos.append(i + 1);
        ShowAddressCopy(&m_owner, m_rows);
        EXPECT_EQ(AddressCopy->BeginPos(), c.wantBegin);
        EXPECT_EQ(AddressCopy->EndPos(), c.wantEnd);
        EXPECT_EQ(Find<QLineEdit>("edtBeginPos")->text(), QString::number(c.wantBegin));
        EXPECT_EQ(Find<QLabel>("lblDataCount")->text(),
                  QString::number(c.wantBegin == 0 ? 0 : c.wantEnd - c.wantBegin + 1) +
                      QStringLiteral(" 件"));
        EXPECT_EQ(Find<QPushButton>("btnCopy")->isEnabled(), c.wantBegin > 0);
        delete AddressCopy.data();
    }
}

TEST_F(AdrsCopyWindowTest, RangeEditsKeepBeginNotAboveEnd)
{
    m_rows.recNos = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    WriteSettings({{"DataSelect", 1}, {"BeginPos", 5}, {"EndPos", 8}});
    ShowAddressCopy(&m_owner, m_rows);
    auto* begin = Find<QLineEdit>("edtBeginPos");
    auto* end = Find<QLineEdit>("edtEndPos");

    Type(end, "3"); // an end below the begin lowers the begin
    Leave(end);
    EXPECT_EQ(AddressCopy->BeginPos(), 3);
    EXPECT_EQ(AddressCopy->EndPos(), 3);

    for (const char* bad : {"", "x1", "0", "13", "1.5"}) {
        SCOPED_TRACE(bad);
        Type(begin, QString::fromLatin1(bad));
        Leave(begin);
        EXPECT_EQ(begin->text(), "3");
        EXPECT_EQ(AddressCopy->BeginPos(), 3);
    }
    Type(begin, " 6 "); // a begin above the end raises the end
    Leave(begin);
    EXPECT_EQ(AddressCopy->EndPos(), 6);
    EXPECT_EQ(Find<QLabel>("lblDataCount")->text(), QStringLiteral("1 件"));

    Type(end, "6");
    Key(end, Qt::Key_PageUp);
    EXPECT_EQ(AddressCopy->EndPos(), 12); // clamped to the shown count
    Key(end, Qt::Key_Down);
    EXPECT_EQ(AddressCopy->EndPos(), 11);
    Key(begin, Qt::Key_PageDown);
    EXPECT_EQ(AddressCopy->BeginPos(), 1);

    // Enter keeps the focus on a changed value and moves on otherwise.
    QApplication::setActiveWindow(AddressCopy);
    end->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), end);
    end->setText("10");
    Key(end, Qt::Key_Return);
    EXPECT_EQ(AddressCopy->EndPos(), 10);
    EXPECT_EQ(QApplication::focusWidget(), end);
    Key(end, Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), end);

    // The list changing its count resets the range to the whole list.
    m_rows.recNos.removeLast();
    AddressCopy->UpdateDataRange();
    EXPECT_EQ(AddressCopy->BeginPos(), 1);
    EXPECT_EQ(AddressCopy->EndPos(), 11);
    EXPECT_EQ(end->text(), "11");
}

TEST_F(AdrsCopyWindowTest, ControlsFollowTheChoices)
{
    m_rows.recNos = {1, 2, 3};
    ShowAddressCopy(&m_owner, m_rows);
    auto* begin = Find<QLineEdit>("edtBeginPos");
    auto* bothAll = Find<QRadioButton>("rbtnBothAll");
    auto* sameAdd = Find<QRadioButton>("rbtnSameNumAdd");
    auto* count = Find<QLabel>("lblDataCount");
    // Defaults: selected rows, none selected.
    EXPECT_TRUE(Find<QRadioButton>("rbtnSelectData")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("rbtnCustomSkip")->isChecked());
    EXPECT_FALSE(begin->isEnabled());
    EXPECT_EQ(count->text(), QStringLiteral("0 件"));
    EXPECT_FALSE(Find<QPushButton>("btnCopy")->isEnabled());
    m_rows.selected = {0, 2};
    AddressCopy->UpdateDataRange();
    EXPECT_EQ(count->text(), QStringLiteral("2 件"));
    Find<QRadioButton>("rbtnAllData")->setChecked(true);
    EXPECT_EQ(count->text(), QStringLiteral("3 件"));
    Find<QRadioButton>("rbtnRangeData")->setChecked(true);
    EXPECT_TRUE(begin->isEnabled());

    EXPECT_FALSE(bothAll->isEnabled());
    EXPECT_FALSE(sameAdd->isEnabled());
    Find<QCheckBox>("chkFax")->setChecked(true);
    EXPECT_FALSE(bothAll->isEnabled());
    EXPECT_TRUE(sameAdd->isEnabled());
    Find<QCheckBox>("chkPortable2")->setChecked(true);
    EXPECT_TRUE(bothAll->isEnabled());

    auto* sameUpd = Find<QCheckBox>("chkSameUpdDateTime");
    EXPECT_TRUE(sameUpd->isEnabled());
    Find<QCheckBox>("chkSameAddDateTime")->setChecked(false);
    EXPECT_FALSE(sameUpd->isEnabled());
}

TEST_F(AdrsCopyWindowTest, CopyAsksCopiesReportsAndCloses)
{
    AddTargets({{{"CustomCode", "C1"}}});
    AddSource({{"CustomCode", "C1"}, {"Tel", "0311112222"}});
    AddSource({{"CustomCode", "C2"}});
    WriteSettings({{"DataSelect", 2}, {"SameCustomCheck", 0}});
    ShowAddressCopy(&m_owner, m_rows);
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    Find<QPushButton>("btnCopy")->click();
    ASSERT_EQ(messages.count(), 3);
    EXPECT_EQ(
        messages.messages()[0].text,
        QStringLiteral("アドレス帳のデータを、指定した他のアドレス帳にコピーします  \r\nよろしいですか？  "));
    EXPECT_EQ(messages.messages()[0].flags, unsigned(MsgSeam::MbYesNo | MsgSeam::MbIconQuestion));
    EXPECT_EQ(messages.messages()[1].flags,
              unsigned(MsgSeam::MbYesNo | MsgSeam::MbIconExclamation | MsgSeam::MbDefButton2));
    EXPECT_EQ(
        messages.messages()[2].text,
        QStringLiteral("アドレス帳のコピーが完了しました  \r\n\r\n対象件数 : \t2 件  \r\n登録件数 : \t1 件  "
                       "\r\n上書き件数 : \t1 件  "));
    EXPECT_EQ(messages.messages()[2].caption, QStringLiteral("Tovarel"));
    DeleteClosed();
    EXPECT_TRUE(AddressCopy.isNull());
    EXPECT_EQ(TargetRows().size(), 2);
    EXPECT_EQ(m_dm->AdrsExclusiveTable(), nullptr);
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_EQ(ini.ReadInteger("ADRS COPY", "SameCustomCheck", 1), 0);
    EXPECT_EQ(ini.ReadInteger("ADRS COPY", "DataSelect", 0), 2);
}

TEST_F(AdrsCopyWindowTest, CopyStopsWithoutTargetOnNoOrWhenTheTargetIsInUse)
{
    AddSource({{"CustomCode", "C1"}});
    WriteSettings({{"DataSelect", 2}});
    ShowAddressCopy(&m_owner, m_rows);
    MessageRecorder messages;

    Find<QListWidget>("lvAdrs")->clearSelection();
    messages.answer(MsgSeam::IdOk);
    Find<QPushButton>("btnCopy")->click();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("コピー先のアドレス帳を選択してください  "));
    EXPECT_EQ(messages.last().flags, unsigned(MsgSeam::MbIconInformation));

    Find<QListWidget>("lvAdrs")->setCurrentRow(0);
    messages.answer(MsgSeam::IdNo);
    Find<QPushButton>("btnCopy")->click();
    EXPECT_EQ(messages.count(), 2);

    // Another user holds the target: the data module tells so and the window stays.
    Table holder;
    holder.setDatabaseName(AdrsFolder + "Dst");
    holder.setTableName("Adrs.DB");
    holder.open();
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    Find<QPushButton>("btnCopy")->click();
    ASSERT_EQ(messages.count(), 4);
    EXPECT_EQ(messages.last().source, MsgSeam::Source::Application);
    DeleteClosed();
    EXPECT_FALSE(AddressCopy.isNull());
    holder.close();
    EXPECT_TRUE(TargetRows().isEmpty());
}

TEST_F(AdrsCopyWindowTest, FollowsTheListEngineAndCopiesItsSelection)
{
    for (int i = 1; i <= 6; ++i)
        AppendRow(Source(), {{"CustomCode", QByteArray("C") + QByteArray::number(i)}});
    TAdrsListEngine engine(Source());
    TAddressCopyObserver observer;
    engine.AddObserver(&observer);
    engine.RefreshList(true, true, false);
    TAdrsListEngineRows rows(engine);
    ShowAddressCopy(&m_owner, rows);
    auto* count = Find<QLabel>("lblDataCount");
    EXPECT_EQ(count->text(), QStringLiteral("0 件"));

    engine.SelectIndex(4, true, false);
    engine.SetItemSelected(1, true);
    EXPECT_EQ(count->text(), QStringLiteral("2 件"));

    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    Find<QPushButton>("btnCopy")->click();
    ASSERT_EQ(messages.count(), 2);
    QList<QByteArray> codes;
    for (const auto& row : TargetRows())
        codes.append(row.value("CustomCode").toByteArray());
    EXPECT_EQ(codes, (QList<QByteArray>{"C2", "C5"}));
    engine.RemoveObserver(&observer);
}

TEST_F(AdrsCopyWindowTest, Screenshot)
{
    const QString folder = qEnvironmentVariable("TOVAREL_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "TOVAREL_SCREENSHOT_DIR not set";
    AdrsFolderList.append({QStringLiteral("取引先"), QStringLiteral("Other"), 0});
    m_rows.recNos = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    WriteSettings({{"DataSelect", 1}, {"BeginPos", 3}, {"EndPos", 8}, {"Tel", 1}, {"Fax", 1}});
    TAddressCopy* window = ShowAddressCopy(nullptr, m_rows);
    EXPECT_TRUE(window->grab().save(QDir(folder).filePath("AdrsCopy.png")));
    delete window;
}

} // namespace
