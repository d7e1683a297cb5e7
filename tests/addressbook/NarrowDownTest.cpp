// Narrowing conditions: item tests, AND/OR joining, protection, and the "Search.lst" file.
#include "addressbook/NarrowDown.h"
#include "support/AnsiText.h"
#include "support/FakeAdrsRow.h"
#include "support/MessageRecorder.h"
#include "support/NarrowDownItems.h"
#include "support/TestFiles.h"

#include <QDataStream>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(NarrowDown, TextTests)
{
    using M = TNarrowDownItem;
    struct Case
    {
        const char* name;
        int row;
        AnsiString text;
        int condition;
        const char* field;
        AnsiString value;
        bool expected;
    } cases[] = {
        {"begins with", 0, "AB", M::BeginsWith, "CustomCode", "ABC", true},
        {"begins with, elsewhere only", 0, "BC", M::BeginsWith, "CustomCode", "ABC", false},
        {"contains", 11, A("商事"), M::Contains, "CorpKanji", A("山田商事株式会社"), true},
        {"ends with", 11, A("会社"), M::EndsWith, "CorpKanji", A("山田商事株式会社"), true},
        {"ends with, row text shorter", 11, A("株式会社"), M::EndsWith, "CorpKanji", A("会社"), false},
        {"case counts", 16, "EXAMPLE", M::Contains, "URL", "http://example.jp", false},
        {"field trimmed", 0, "K1", M::EndsWith, "CustomCode", " K1 \t", true},
        {"empty text matches empty field", 12, "", M::NotUsed, "Dptmnt", "  ", true},
        {"empty text refuses a filled field", 12, "", M::NotUsed, "Dptmnt", A("営業"), false},
        {"contains skips a trail byte that looks like ASCII", 13, "AB", M::Contains, "Post", A("ア") + "B",
         false},
        {"ends with refuses a trail half", 13, "A", M::EndsWith, "Post", A("ア"), false},
        {"contains skips a trail byte that looks like a lead", 13, "\x9F\x88", M::Contains, "Post", A("亜亜"),
         false},
        {"contains a half character only at the end", 13, "\x88", M::Contains, "Post", A("亜亜"), false},
        {"phone as stored digits", 1, "0312", M::BeginsWith, "Tel", "0312345678", true},
        {"name in the stored form", 15, "@6771", M::BeginsWith, "NameKanji", "@6771@5B50", true},
        {"joint name 5", 23, "@5B50", M::EndsWith, "Joint5", "@6771@5B50", true},
        {"keyword 8", 31, A("趣味"), M::Contains, "Keyword8", A("趣味は釣り"), true},
        {"note whole memo", 32, "b\r\nc", M::Contains, "Note", "a\r\nb\r\nc\r\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeAdrsRow row;
        row.set(c.field, c.value);
        EXPECT_EQ(NarrowDownItemMatches(TextItem(c.row, c.text, c.condition), row, {}), c.expected);
    }
}

TEST(NarrowDown, AddressJoinsTrimmedParts)
{
    FakeAdrsRow row;
    row.set("Tdfkn", A("東京都 ")).set("Adrs1", A(" 千代田区")).set("Adrs2", A("丸の内１")).set("Adrs3", "");
    EXPECT_TRUE(NarrowDownItemMatches(TextItem(8, A("東京都千代田区丸の内"), 0), row, {}));
    EXPECT_TRUE(NarrowDownItemMatches(TextItem(8, A("区丸の内１"), 2), row, {}));
}

TEST(NarrowDown, FixedChoiceYearMonthAndCategory)
{
    using M = TNarrowDownItem;
    struct Case
    {
        const char* name;
        TNarrowDownItem item;
        FakeAdrsRow::Fields fields;
        bool expected;
    } cases[] = {
        {"main line", ValueItem(2, M::FixedChoice, 0), {{"TelDiv", 3}}, true},
        {"main line, other row", ValueItem(2, M::FixedChoice, 0), {{"TelDiv", 0}}, false},
        {"main line NOT", ValueItem(2, M::FixedChoice, 0, 0, true), {{"TelDiv", 0}}, true},
        {"main line NOT on a main line", ValueItem(2, M::FixedChoice, 0, 0, true), {{"TelDiv", 3}}, false},
        {"private person", ValueItem(9, M::FixedChoice, 0), {{"PrivCorp", true}}, true},
        {"company", ValueItem(9, M::FixedChoice, 1), {{"PrivCorp", false}}, true},
        {"company NOT", ValueItem(9, M::FixedChoice, 1, 0, true), {{"PrivCorp", false}}, false},
        {"symbol mark", ValueItem(33, M::FixedChoice, 5), {{"SymbolMark", A("★")}}, true},
        {"symbol mark untrimmed", ValueItem(33, M::FixedChoice, 5), {{"SymbolMark", " " + A("★")}}, false},
        {"symbol mark out of range", ValueItem(33, M::FixedChoice, 6), {{"SymbolMark", A("★")}}, false},
        {"symbol mark out of range NOT", ValueItem(33, M::FixedChoice, -1, 0, true), {}, true},
        {"year-month inside", ValueItem(4, M::YearMonthRange, 200001, 200512), {{"PubDate", "200303"}}, true},
        {"year-month bounds",
         ValueItem(4, M::YearMonthRange, 200001, 200512),
         {{"PubDate", " 200512"}},
         true},
        {"year-month after", ValueItem(4, M::YearMonthRange, 200001, 200512), {{"PubDate", "200601"}}, false},
        {"year-month empty", ValueItem(4, M::YearMonthRange, 200001, 200512), {{"PubDate", ""}}, false},
        {"year-month not a number", ValueItem(4, M::YearMonthRange, 0, 999999), {{"PubDate", "20x3"}}, false},
        {"year-month ignores NOT",
         ValueItem(4, M::YearMonthRange, 200001, 200512, true),
         {{"PubDate", "200303"}},
         true},
        {"major only", ValueItem(34, M::Category, 1200), {{"CodeMain", 12}, {"CodeSub", 7}}, true},
        {"major only, other major", ValueItem(34, M::Category, 1200), {{"CodeMain", 13}}, false},
        {"major and minor", ValueItem(34, M::Category, 1203), {{"CodeMain", 12}, {"CodeSub", 3}}, true},
        {"major and other minor",
         ValueItem(34, M::Category, 1203),
         {{"CodeMain", 12}, {"CodeSub", 4}},
         false},
        {"major NOT", ValueItem(34, M::Category, 1200, 0, true), {{"CodeMain", 12}}, false},
        {"major NOT, other major", ValueItem(34, M::Category, 1200, 0, true), {{"CodeMain", 11}}, true},
        {"kind that does not fit the row", ValueItem(0, M::Category, 1200), {{"CodeMain", 12}}, false},
        {"NOT of an unknown item", ValueItem(40, M::Category, 1200, 0, true), {{"CodeMain", 11}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeAdrsRow row(c.fields);
        EXPECT_EQ(NarrowDownItemMatches(c.item, row, {}), c.expected);
    }
}

TEST(NarrowDown, NumberItemUnderProtection)
{
    FakeAdrsRow row;
    row.set("MyNumber", "CIPHER");
    QByteArrayList deciphered;
    const auto decipher = [&deciphered](const AnsiString& cipher) {
        deciphered.append(cipher);
        return cipher == "CIPHER" ? AnsiString("123456789012") : AnsiString();
    };
    struct Case
    {
        const char* name;
        bool passwordSet;
        bool adminMode;
        AnsiString text;
        bool expected;
    } cases[] = {
        {"no password", false, false, "1234", true},
        {"administrator mode", true, true, "1234", true},
        {"protected", true, false, "1234", false},
        {"protected, empty test", true, false, "", false},
        {"administrator mode, other number", true, true, "9999", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TNarrowDownContext context;
        context.adminPasswordSet = c.passwordSet;
        context.adminMode = c.adminMode;
        context.decipher = decipher;
        EXPECT_EQ(NarrowDownItemMatches(TextItem(10, c.text, 0), row, context), c.expected);
    }
    EXPECT_EQ(deciphered, (QByteArrayList{"CIPHER", "CIPHER", "CIPHER"})); // never while protected
}

TEST(NarrowDown, AndStopsAtFirstFailureOrAtFirstMatch)
{
    FakeAdrsRow row;
    row.set("CustomCode", "K100").set("CorpKanji", A("山田商事"));
    TNarrowDownCondition condition;
    condition.items = {TextItem(0, "K1", TNarrowDownItem::BeginsWith),
                       TextItem(11, A("鈴木"), TNarrowDownItem::Contains)};

    condition.andFlag = false;
    EXPECT_TRUE(MatchesNarrowDown(condition, row, {}));
    EXPECT_EQ(row.reads(), QByteArrayList{"CustomCode"});

    row.clearReads();
    condition.andFlag = true;
    EXPECT_FALSE(MatchesNarrowDown(condition, row, {}));
    EXPECT_EQ(row.reads(), (QByteArrayList{"CustomCode", "CorpKanji"}));

    row.clearReads();
    condition.items.first().text = "K2";
    EXPECT_FALSE(MatchesNarrowDown(condition, row, {}));
    EXPECT_EQ(row.reads(), QByteArrayList{"CustomCode"});

    condition.andFlag = false;
    EXPECT_FALSE(MatchesNarrowDown(condition, row, {}));
    condition.items.last().text = A("商事");
    EXPECT_TRUE(MatchesNarrowDown(condition, row, {}));

    TNarrowDownContext suspended;
    suspended.disabled = true;
    condition.items.last().text = A("鈴木");
    EXPECT_TRUE(MatchesNarrowDown(condition, row, suspended));
    EXPECT_TRUE(MatchesNarrowDown(TNarrowDownCondition(), row, {}));
}

// The condition the golden file holds.
TNarrowDownCondition GoldenCondition()
{
    TNarrowDownCondition condition;
    condition.items = {
        TextItem(11, A("株式会社"), TNarrowDownItem::Contains),
        TextItem(15, "@6771@5B50", TNarrowDownItem::BeginsWith),
        TextItem(7, "", TNarrowDownItem::NotUsed),
        ValueItem(9, TNarrowDownItem::FixedChoice, 1, 0, true),
        ValueItem(4, TNarrowDownItem::YearMonthRange, 200001, 200512),
        ValueItem(34, TNarrowDownItem::Category, 1203),
    };
    condition.andFlag = false;
    return condition;
}

QByteArray GoldenBytes()
{
    QFile file(QStringLiteral(TOVAREL_TEST_DATA_DIR "addressbook/Search.lst"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The golden file with bytes replaced from offset on.
QByteArray patched(int offset, const QByteArray& bytes)
{
    QByteArray b = GoldenBytes();
    b.replace(offset, bytes.size(), bytes);
    return b;
}

TEST(SearchLst, GoldenRoundTrip)
{
    const QByteArray golden = GoldenBytes();
    ASSERT_EQ(golden.size(), 72);

    QByteArray written;
    {
        QDataStream out(&written, QIODevice::WriteOnly);
        ASSERT_TRUE(WriteNarrowDownCondition(out, GoldenCondition()));
    }
    EXPECT_EQ(written.toHex(' '), golden.toHex(' '));

    QTemporaryDir dir;
    const QString path = dir.filePath(NarrowDownFileName);
    QFile::copy(QStringLiteral(TOVAREL_TEST_DATA_DIR "addressbook/Search.lst"), path);
    TNarrowDownCondition loaded;
    ASSERT_TRUE(LoadNarrowDownFile(path, loaded));
    EXPECT_EQ(loaded, GoldenCondition());

    MessageRecorder messages;
    QFile::remove(path);
    ASSERT_TRUE(SaveNarrowDownFile(path, loaded, nullptr));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), golden);
    EXPECT_EQ(messages.count(), 0);
}

TEST(SearchLst, ZeroItemsAndMissingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(NarrowDownFileName);
    TNarrowDownCondition condition = GoldenCondition();
    EXPECT_FALSE(LoadNarrowDownFile(path, condition)); // missing: no narrowing
    EXPECT_EQ(condition, TNarrowDownCondition());

    // A file holding zero items loads (the actions are enabled) but is never written: saving deletes it.
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\x00\x01", 2));
    }
    EXPECT_TRUE(LoadNarrowDownFile(path, condition));
    EXPECT_TRUE(condition.items.isEmpty());
    EXPECT_TRUE(SaveNarrowDownFile(path, condition, nullptr));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(SaveNarrowDownFile(path, condition, nullptr));
}

TEST(SearchLst, DamagedFilesLoadAsNoNarrowing)
{
    const QByteArray golden = GoldenBytes();
    // Golden layout: count, item blocks at 1 (text of 8, condition at 15), 17 (text of 10), 35 (empty text),
    // 43 (kind 1), 51 (kind 11), 63 (kind 12), AND flag at 71.
    struct Case
    {
        std::string name;
        QByteArray bytes;
    };
    std::vector<Case> cases = {
        {"count larger than the blocks", patched(0, "\x07")},
        {"negative text length", patched(3, QByteArray("\xFF\xFF\xFF\xFF", 4))},
        {"text length beyond the data", patched(3, QByteArray("\xFF\xFF\xFF\x7F", 4))},
        {"text length one past the data", patched(3, QByteArray("\x42\x00\x00\x00", 4))},
        {"empty file", {}},
    };
    for (int size = 1; size < golden.size(); ++size)
        cases.push_back({"truncated to " + std::to_string(size), golden.left(size)});

    QTemporaryDir dir;
    const QString path = dir.filePath(NarrowDownFileName);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(path, c.bytes);
        TNarrowDownCondition condition = GoldenCondition();
        EXPECT_FALSE(LoadNarrowDownFile(path, condition));
        EXPECT_EQ(condition, TNarrowDownCondition());
    }
}

// Makes a folder refuse new files for the test's span, also for root (immutable flag); false when neither
// works here.
class LockedFolder
{
public:
    explicit LockedFolder(const QString& path) : m_path(path)
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        if (!canCreateFile() && (m_locked = true))
            return;
        m_immutable = QProcess::execute("chattr", {"+i", path}) == 0;
        m_locked = m_immutable && !canCreateFile();
    }
    ~LockedFolder()
    {
        if (m_immutable)
            QProcess::execute("chattr", {"-i", m_path});
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool locked() const { return m_locked; }

private:
    bool canCreateFile() const
    {
        QFile probe(m_path + "/probe");
        const bool created = probe.open(QIODevice::WriteOnly);
        if (created)
            probe.remove();
        return created;
    }

    QString m_path;
    bool m_locked = false;
    bool m_immutable = false;
};

TEST(SearchLst, FailedSaveShowsTheMessageAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(NarrowDownFileName);
    ASSERT_TRUE(QFile::copy(QStringLiteral(TOVAREL_TEST_DATA_DIR "addressbook/Search.lst"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    TNarrowDownCondition other;
    other.items = {TextItem(0, "X", TNarrowDownItem::BeginsWith)};
    {
        LockedFolder lock(dir.path());
        if (!lock.locked())
            GTEST_SKIP() << "cannot make a folder refuse writes here";
        MessageRecorder messages;
        messages.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
        EXPECT_FALSE(SaveNarrowDownFile(path, other, nullptr));
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().text, QString::fromUtf8("絞り込み条件が保存できませんでした  "));
        EXPECT_EQ(messages.last().caption, "Tovarel");
        EXPECT_EQ(messages.last().flags, unsigned(MsgSeam::MbIconStop));
        // Deleting the file for an empty condition fails the same way.
        EXPECT_FALSE(SaveNarrowDownFile(path, TNarrowDownCondition(), nullptr));
        EXPECT_EQ(messages.count(), 2);
    }
    TNarrowDownCondition loaded;
    EXPECT_TRUE(LoadNarrowDownFile(path, loaded));
    EXPECT_EQ(loaded, GoldenCondition());
}

// Only a short read is damage: items this program cannot evaluate are kept (they never match) and written
// back byte for byte, and bytes after the AND flag are left alone.
TEST(SearchLst, LayoutsTheFormatAllowsAreKept)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        int odd; // the item the row test cannot evaluate
    } cases[] = {
        {"item number beyond the table", patched(1, "\x23"), 0},
        {"kind that does not fit the item", patched(44, "\x0C"), 3},
        {"condition out of range", patched(15, "\x03"), 0},
        {"text without a condition", patched(15, "\xFF"), 0},
        {"unknown kind without payload", QByteArray("\x01\x00\x05\xFF\x00\x01", 6), 0},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(NarrowDownFileName);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(path, c.bytes + "trailing");
        TNarrowDownCondition loaded;
        ASSERT_TRUE(LoadNarrowDownFile(path, loaded));
        QByteArray written;
        {
            QDataStream out(&written, QIODevice::WriteOnly);
            ASSERT_TRUE(WriteNarrowDownCondition(out, loaded));
        }
        EXPECT_EQ(written.toHex(' '), c.bytes.toHex(' '));
        const FakeAdrsRow row;
        EXPECT_FALSE(NarrowDownItemMatches(loaded.items[c.odd], row, {}));
        loaded.andFlag = true;
        EXPECT_FALSE(MatchesNarrowDown(loaded, row, {}));
    }

    // A count below the blocks reads that many items; the rest is trailing bytes.
    WriteFileBytes(path, patched(0, "\x05"));
    TNarrowDownCondition loaded;
    ASSERT_TRUE(LoadNarrowDownFile(path, loaded));
    EXPECT_EQ(loaded.items, GoldenCondition().items.mid(0, 5));
}

TEST(SearchLst, ConditionsTheLayoutCannotHoldAreNotWritten)
{
    TNarrowDownCondition condition;
    condition.items = {ValueItem(256, TNarrowDownItem::Category, 1)};
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    EXPECT_FALSE(WriteNarrowDownCondition(out, condition));
    condition.items = QList<TNarrowDownItem>(256, TextItem(0, "", TNarrowDownItem::NotUsed));
    EXPECT_FALSE(WriteNarrowDownCondition(out, condition));
    EXPECT_TRUE(bytes.isEmpty());

    QTemporaryDir dir;
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    EXPECT_FALSE(SaveNarrowDownFile(dir.filePath(NarrowDownFileName), condition, nullptr));
    EXPECT_EQ(messages.count(), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(NarrowDownFileName)));
}

} // namespace
