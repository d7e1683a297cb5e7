// The text export writer: the value rules, the line building and a golden CP932 file from a fixture book.
#include "dataexchange/ExportWriter.h"

#include "addressbook/AdrsTableRow.h"
#include "core/AppSub.h"
#include "support/FakeListRows.h"
#include "platform/IniFile.h"
#include "support/AdrsTableFixture.h"
#include "support/FakeAdrsRow.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TExportContext TestContext()
{
    TExportContext c;
    c.GroupNames = {"指定なし", "得意先", "仕入先", "社内", "", "", "", "", "", "", "その他"};
    c.Hyphenate = [](const AnsiString& digits) {
        return digits == "0312345678" ? AnsiString("03-1234-5678") : digits;
    };
    c.SenderTitle = [](qint32 recNo) { return recNo == 2 ? QStringLiteral("本社") : QString(); };
    c.MajorCategoryName = [](int major) { return major == 5 ? QStringLiteral(" 建設業 ") : QString(); };
    c.MinorCategoryName = [](int, int minor) { return minor == 1 ? QStringLiteral("総合工事") : QString(); };
    return c;
}

TExportLayout LayoutOf(const QString& keys)
{
    QTemporaryDir dir;
    TMemIniFile ini(dir.filePath("x.ini"));
    int column = 0;
    for (const QString& value : keys.split(QLatin1Char(' ')))
        ini.WriteString("S", QStringLiteral("Layout%1").arg(++column), value);
    TExportLayout layout;
    layout.Load(ini, "S");
    return layout;
}

} // namespace

TEST(ExportWriterTest, ValueRules)
{
    const AnsiString myNumber = EncryptFieldText("123456789018", FieldCipherKey);
    FakeAdrsRow row;
    row.setValue("RecNo", 42)
        .setValue("Group", 3)
        .set("Tel", "0312345678 ")
        .set("Fax", "0312345678")
        .set("Pos", "12345")
        .set("PubDate", "200504")
        .setValue("PrivCorp", true)
        .setValue("IgnoreName", false)
        .set("NameKanji", WideToHexText(QStringLiteral(" 山田 太郎 ")))
        .set("Joint2", WideToHexText(QStringLiteral("花子")))
        .setValue("JointOwner", 2)
        .setValue("JointPrint3", true)
        .setValue("PrintTarget", 2)
        .setValue("Sender", 2)
        .set("MyNumber", myNumber)
        .set("ExtLink", "http://a/\r\nhttp://b/\r\n")
        .setValue("SymbolColor", 255)
        .setValue("CodeMain", 5)
        .setValue("CodeSub", 1)
        .setValue("UpdDateTime", QDateTime(QDate(2024, 4, 1), QTime(21, 5, 7)));
    TExportContext c = TestContext();
    c.Options.EditFax = false; // its own box off: the digits stay
    const std::pair<int, const char*> cases[] = {
        {0, "42"},
        {1, "社内"},
        {3, "03-1234-5678"},
        {4, ""},
        {5, "0312345678"},
        {6, "2005/04"},
        {9, "123-45"},
        {16, "個人"},
        {17, "123456789018"},
        {23, "山田 太郎"},
        {26, "印刷する"},
        {45, "花子"},
        {46, ""},
        {49, "印刷"},
        {52, "印刷除外"},
        {53, "本社"},
        {74, "http://a/\thttp://b/\t"},
        {76, "000000FF"},
        {79, "2024/04/01"},
        {80, "21:05:07"},
        {81, "建設業"},
        {82, "05"},
        {83, "総合工事"},
        {84, "01"},
        {40, ""}, // an empty protected field
    };
    for (const auto& [item, want] : cases)
        EXPECT_EQ(ExportValue(item, row, c), QString::fromUtf8(want)) << item;

    // Values that name nothing stay empty: no read past the group table.
    for (const auto& [field, value, item] : {std::tuple{"Group", 11, 1},
                                             {"Group", 0, 1},
                                             {"JointOwner", 7, 45},
                                             {"PrintTarget", 3, 52},
                                             {"Sender", 9, 53}}) {
        FakeAdrsRow other;
        other.setValue(field, value);
        EXPECT_EQ(ExportValue(item, other, c), "") << field << "=" << value;
    }
}

TEST(ExportWriterTest, AProtectedValueThatDoesNotDecipherNamesItsRecord)
{
    FakeAdrsRow row;
    row.setValue("RecNo", 17).set("ProtectMemo3", "05" + QByteArray(32, '0'));
    try {
        ExportValue(65, row, TestContext());
        FAIL() << "no error";
    } catch (const EExportDecipherError& e) {
        EXPECT_EQ(e.RecNo, 17);
    }
}

TEST(ExportWriterTest, JoinedValuesTouchAndOnlyRecordLinesAreQuoted)
{
    FakeAdrsRow row;
    row.set("NameKanji", WideToHexText(QStringLiteral("山田")))
        .set("Honor", ToAnsi(QStringLiteral("様")))
        .set("Tel", "0312345678");
    TExportContext c = TestContext();
    const TExportLayout layout = LayoutOf("23,25 3");
    EXPECT_EQ(ToWide(BuildHeaderLine(layout, c)), "名前＋敬称,電話番号");
    EXPECT_EQ(ToWide(BuildRecordLine(layout, row, c)), "山田様,03-1234-5678");
    c.Options.BindDblQuote = true;
    EXPECT_EQ(ToWide(BuildRecordLine(layout, row, c)), "\"山田様\",\"03-1234-5678\"");
    EXPECT_EQ(ToWide(BuildRecordLine(LayoutOf("25"), row, c)), "\"様\"");
    c.Options.EditHyphen = false;
    EXPECT_EQ(ToWide(BuildRecordLine(LayoutOf("3"), row, c)), "\"0312345678\"");
}

// A fixture book written out with quotes and hyphens on, compared byte for byte with the golden file.
TEST(ExportWriterTest, FixtureBookMatchesTheGoldenFile)
{
    AdrsTableFixture book;
    QList<int> recNos;
    recNos << book.add({{"NameKanji", QVariant(WideToHexText(QStringLiteral("山田 太郎")))},
                        {"Honor", QStringLiteral("様")},
                        {"Tel", QByteArray("0312345678")},
                        {"CorpKanji", QStringLiteral("東都\"商事\",本社")},
                        {"PubDate", QByteArray("200504")},
                        {"Pos", QByteArray("1000001")},
                        {"SymbolColor", 0x00FF8000},
                        {"Note", QStringLiteral("一行目\r\n二行目")}});
    recNos << book.add({{"NameKanji", QVariant(WideToHexText(QStringLiteral("𠮷田 花子")))},
                        {"Honor", QStringLiteral("殿")},
                        {"TelDiv", 3},
                        {"PubDate", QByteArray("2005")},
                        {"Pos", QByteArray("123456")},
                        {"AddDateTime", QDateTime(QDate(2024, 4, 1), QTime(9, 5, 7))}});
    FakeListRows rows;
    rows.recNos = {recNos[1], recNos[0]}; // the list's order, not the table's
    TRecordRange range;
    range.DataSelect = dsAll;
    TExportContext c = TestContext();
    c.Options.BindDblQuote = true;
    const TExportLayout layout = LayoutOf("23,25 3 18 6 9 76 62 77 78 4");

    QTemporaryDir dir;
    const QString path = dir.filePath("out.csv");
    TExportTextFile file(path);
    ASSERT_TRUE(file.Open(false, nullptr));
    TAdrsTableRow cursor(book.adrs());
    int steps = 0;
    const int written = WriteRecords(
        layout, c, range, rows, cursor, [&](const AnsiString& line) { file.WriteLine(line); },
        [&] { ++steps; });
    ASSERT_TRUE(file.Commit(nullptr));
    EXPECT_EQ(written, 2);
    EXPECT_EQ(steps, 2);
    const QByteArray golden =
        ReadFileBytes(QStringLiteral(TOVAREL_TEST_DATA_DIR) + "dataexchange/export-golden.csv");
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(ReadFileBytes(path), golden) << ToWide(ReadFileBytes(path)).toStdString();
}

TEST(ExportWriterTest, AnUncommittedFileLeavesTheTargetAsItWasAndAppendingKeepsItsLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    WriteFileBytes(path, "old\r\n");
    {
        TExportTextFile file(path);
        ASSERT_TRUE(file.Open(false, nullptr));
        file.WriteLine("new");
        file.Discard();
    }
    EXPECT_EQ(ReadFileBytes(path), "old\r\n");
    TExportTextFile file(path);
    ASSERT_TRUE(file.Open(true, nullptr));
    file.WriteLine("new");
    ASSERT_TRUE(file.Commit(nullptr));
    EXPECT_EQ(ReadFileBytes(path), "old\r\nnew\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.txt"});
}

// Every record line equals the line built for its row alone, in list order.
TEST(ExportWriterTest, ManyRecordsComeOutInListOrderWithTheirOwnNumbers)
{
    FakeListRows rows;
    FakeAdrsRow cursor;
    for (int i = 0; i < 2500; ++i) {
        rows.recNos.append(i + 1);
        cursor.addRow(i + 1, {{"RecNo", i + 1},
                              {"Tel", QByteArray("03") + QByteArray::number(10000000 + i)},
                              {"Portable1", i % 3 ? QByteArray("090") + QByteArray::number(i) : QByteArray()}});
    }
    TRecordRange range;
    range.DataSelect = dsAll;
    TExportContext c = TestContext();
    c.Options.OutHeader = false;
    c.Hyphenate = [](const AnsiString& digits) { return digits.left(2) + "-" + digits.mid(2); };
    const TExportLayout layout = LayoutOf("0 3 7");
    QList<AnsiString> lines;
    WriteRecords(layout, c, range, rows, cursor, [&](const AnsiString& line) { lines.append(line); }, {});
    ASSERT_EQ(lines.size(), 2500);
    for (int i : {0, 1, 1023, 1024, 2499}) {
        ASSERT_TRUE(cursor.FindRecNo(i + 1));
        EXPECT_EQ(lines[i], BuildRecordLine(layout, cursor, c)) << i;
    }
    EXPECT_EQ(lines[2], "3,03-10000002,09-02");
    EXPECT_EQ(lines[3], "4,03-10000003,");
}
