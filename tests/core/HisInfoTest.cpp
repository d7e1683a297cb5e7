// History lists: the file format against a golden file, item-size cuts, list editing and damaged files.
#include "core/HisInfo.h"
#include "platform/Cp932.h"
#include "support/MessageRecorder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString GoldenFile = QStringLiteral(TOVAREL_TEST_DATA_DIR "history/Golden.mtd");

AnsiString Sjis(const char* utf8)
{
    return Cp932::fromUnicode(QString::fromUtf8(utf8));
}

// Expects one message about fileName's damage and the damaged bytes kept in movedTo.
void ExpectMovedAside(const MessageRecorder& recorder, const QString& fileName, const QString& movedTo,
                      const QByteArray& bytes)
{
    ASSERT_EQ(recorder.count(), 1);
    const MsgSeam::Request& msg = recorder.last();
    EXPECT_EQ(msg.source, MsgSeam::Source::Application);
    EXPECT_EQ(msg.caption, QStringLiteral("Tovarel"));
    EXPECT_TRUE(msg.text.startsWith(fileName + QStringLiteral("\r\nデータが読み込めませんでした")))
        << msg.text.toStdString();
    EXPECT_TRUE(msg.text.contains(movedTo)) << msg.text.toStdString();
    EXPECT_FALSE(QFile::exists(fileName));
    EXPECT_EQ(ReadFileBytes(movedTo), bytes);
}

TEST(HisInfo, GoldenFileReadsAndWritesBackByteForByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Keyword1.mtd");
    const QByteArray golden = ReadFileBytes(GoldenFile);
    ASSERT_EQ(golden.size(), 310);
    WriteFileBytes(path, golden);

    THistoryData history(path, false, 255);
    EXPECT_FALSE(history.IsLoaded());
    ASSERT_TRUE(history.Load());
    struct Entry
    {
        AnsiString text;
        double date;
    } expected[] = {
        {"abc", 45000.5},
        {"", 45001.25},
        {Sjis("部長"), 45002.0},
        {Sjis("表示"), 44927.75},              // 表 ends in 0x5C
        {Sjis("ア").repeated(125), 45100.125}, // 250 bytes: the length byte wraps to 2
    };
    ASSERT_EQ(history.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(history.GetText(i), expected[i].text);
        EXPECT_EQ(history.GetDate(i), expected[i].date);
    }

    QFile::remove(path);
    ASSERT_TRUE(history.Save());
    EXPECT_EQ(ReadFileBytes(path), golden);
}

TEST(HisInfo, MissingAndEmptyFilesAreEmptyListsAndCreateChecksItsArguments)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Dptmnt.mtd");
    THistoryData missing(path, true, 100);
    ASSERT_TRUE(missing.Load());
    EXPECT_TRUE(missing.IsLoaded());
    EXPECT_EQ(missing.Count(), 0);

    WriteFileBytes(path, QByteArray());
    THistoryData empty(path, false, 100);
    ASSERT_TRUE(empty.Load());
    EXPECT_EQ(empty.Count(), 0);

    const QString absent = dir.filePath("Keyword9.mtd");
    try {
        THistoryData h(absent, false, 100);
        FAIL() << "a missing file was accepted";
    } catch (const EHistoryDataError& e) {
        EXPECT_EQ(e.Message(), absent + QStringLiteral("\r\nファイルが見つかりません"));
    }
    for (int size : {0, 256, -1}) {
        SCOPED_TRACE(size);
        try {
            THistoryData h(path, true, size);
            FAIL() << "item size accepted";
        } catch (const EHistoryDataError& e) {
            EXPECT_EQ(e.Message(), path + QStringLiteral("\r\n項目サイズには1～255の値を指定してください"));
        }
    }
    THistoryData smallest(path, true, 1);
    THistoryData largest(path, true, 255);
}

TEST(HisInfo, InsertCutsToTheItemSizeAtACharacterBoundary)
{
    // Item size 100; what stands at bytes 99 and 100 (1-based) decides the cut.
    struct Case
    {
        const char* name;
        AnsiString text;
        int expectedSize;
    } cases[] = {
        {"lead byte at the limit", AnsiString(99, 'a') + Sjis("漢").repeated(10) + "b", 99},
        {"trail 9F that looks like a lead byte", AnsiString(98, 'a') + Sjis("亜").repeated(11), 100},
        {"trail 41 that looks like a letter", AnsiString(98, 'a') + Sjis("ア").repeated(11), 100},
        {"double-byte text ending on the limit", Sjis("亜").repeated(60), 100},
        {"odd offset into double-byte text", "x" + Sjis("亜").repeated(60), 99},
        {"fits", AnsiString(100, 'z'), 100},
    };
    THistoryData history(QString(), true, 100);
    history.Load();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        history.Insert(0, c.text, 1);
        EXPECT_EQ(history.GetText(0), c.text.left(c.expectedSize));
    }
}

TEST(HisInfo, IndexRulesAndDates)
{
    THistoryData history(QString(), true, 10);
    EXPECT_THROW(history.Count(), EHistoryDataError);
    history.Load();
    EXPECT_EQ(history.Add("a", 1), 0);
    EXPECT_EQ(history.Add("b", 2), 1);
    history.Insert(history.Count(), "c", 3); // appends
    const auto expectIndexError = [&](const std::function<void()>& call) {
        try {
            call();
            ADD_FAILURE() << "index accepted";
        } catch (const EHistoryDataError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Indexが範囲外です"));
        }
    };
    expectIndexError([&] { history.Insert(history.Count() + 1, "x", 1); });
    expectIndexError([&] { history.Insert(-1, "x", 1); });
    expectIndexError([&] { history.Delete(history.Count()); });
    expectIndexError([&] { history.GetText(-1); });
    ASSERT_EQ(history.Count(), 3);
    EXPECT_EQ(history.GetText(2), "c");
    EXPECT_EQ(history.IndexOf("b"), 1);
    EXPECT_EQ(history.IndexOf("B"), -1);

    const double before = HistoryNow();
    history.Insert(0, "now", 0);
    const double after = HistoryNow();
    EXPECT_GE(history.GetDate(0), before);
    EXPECT_LE(history.GetDate(0), after);
    EXPECT_EQ(history.GetDate(1), 1.0);

    history.Delete(0);
    EXPECT_EQ(history.GetText(0), "a");
    history.Clear();
    EXPECT_EQ(history.Count(), 0);
    history.Unload();
    EXPECT_FALSE(history.IsLoaded());
}

TEST(HisInfo, PutFirstMovesTheTextToTheTopAndTrimsTheList)
{
    THistoryData history(QString(), true, 4);
    history.Load();
    for (const char* text : {"a", "b", "c"})
        history.Add(text, 1);
    history.PutFirst("b", 3);              // present: moves up, no copy
    history.PutFirst("d", 3);              // new: the oldest falls off the end
    history.PutFirst(Sjis("課長補佐"), 3); // cut to 課長, stored once however often it comes
    history.PutFirst(Sjis("課長補佐"), 3);
    ASSERT_EQ(history.Count(), 3);
    EXPECT_EQ(history.GetText(0), Sjis("課長"));
    EXPECT_EQ(history.GetText(1), "d");
    EXPECT_EQ(history.GetText(2), "b");
    EXPECT_GT(history.GetDate(0), 1.0);
}

TEST(HisInfo, SavedBlanksAroundATextAreTrimmedOnLoad)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sub/dir/Post.mtd"); // Save makes the folders
    {
        THistoryData history(path, true, 50);
        history.Load();
        history.Add("  abc\t", 1);
        history.Add(Sjis("　部長 "), 1); // a full-width blank is a character, not trimmed
        ASSERT_TRUE(history.Save());
    }
    THistoryData history(path, false, 50);
    ASSERT_TRUE(history.Load());
    EXPECT_EQ(history.GetText(0), "abc");
    EXPECT_EQ(history.GetText(1), Sjis("　部長"));
}

TEST(HisInfo, DamagedFileIsReportedMovedAsideAndLoadedEmpty)
{
    const QByteArray golden = ReadFileBytes(GoldenFile);
    QByteArray hugeCount = golden;
    hugeCount[3] = 0x7F;
    QByteArray negativeCount = golden;
    negativeCount[3] = char(0x80);
    struct Case
    {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"count cut short", golden.left(2)},
        {"entry header cut short", golden.left(4 + 9 + 3 + 5)},
        {"entry text cut short", golden.left(golden.size() - 1)},
        {"count beyond the data", hugeCount},
        {"negative count", negativeCount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("Honor.mtd");
        WriteFileBytes(path, c.bytes);
        MessageRecorder recorder;
        recorder.answer(MsgSeam::IdOk);
        THistoryData history(path, false, 10);
        EXPECT_TRUE(history.Load());
        ExpectMovedAside(recorder, path, path + ".bad", c.bytes);
        EXPECT_TRUE(history.IsLoaded());
        EXPECT_EQ(history.Count(), 0);

        // The list goes on and writes a sound file of its own.
        history.Add(Sjis("様"), 1);
        ASSERT_TRUE(history.Save());
        THistoryData reread(path, false, 10);
        ASSERT_TRUE(reread.Load());
        EXPECT_EQ(reread.Count(), 1);
    }
}

TEST(HisInfo, EarlierDamagedCopiesAreKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Post.mtd");
    WriteFileBytes(path + ".bad", "first");
    WriteFileBytes(path, QByteArray("\x01\x00", 2));
    MessageRecorder recorder;
    recorder.answer(MsgSeam::IdOk);
    THistoryData history(path, true, 50);
    EXPECT_TRUE(history.Load());
    ExpectMovedAside(recorder, path, path + ".bad.1", QByteArray("\x01\x00", 2));
    EXPECT_EQ(ReadFileBytes(path + ".bad"), "first");
}

TEST(HisInfo, UnreadableFileIsMovedAsideToo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Keyword2.mtd");
    ASSERT_TRUE(QDir(dir.path()).mkdir("Keyword2.mtd")); // exists, cannot be read as a file
    MessageRecorder recorder;
    recorder.answer(MsgSeam::IdOk);
    THistoryData history(path, false, 100);
    EXPECT_TRUE(history.Load());
    ASSERT_EQ(recorder.count(), 1);
    EXPECT_TRUE(QFileInfo(path + ".bad").isDir());
    EXPECT_EQ(history.Count(), 0);
}

TEST(HisInfo, SaveThatCannotCreateTheFileAnswersFalseAndKeepsTheList)
{
    QTemporaryDir dir;
    WriteFileBytes(dir.filePath("plain"), "x");
    THistoryData history(dir.filePath("plain/Post.mtd"), true, 50); // its folder would be a file
    history.Load();
    history.Add("a", 1);
    EXPECT_FALSE(history.Save());
    EXPECT_EQ(history.Count(), 1);
}

TEST(HisInfo, ShippedDefaultsHoldPostsAndHonorifics)
{
    struct Case
    {
        const char* file;
        int itemSize;
        const char* firstExpected;
    } cases[] = {{"Post.mtd", 50, "代表取締役"}, {"Honor.mtd", 10, "様"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        THistoryData history(QStringLiteral(TOVAREL_PROGRAM_DIR "Common/History/") + c.file, false,
                             c.itemSize);
        ASSERT_TRUE(history.Load());
        ASSERT_GT(history.Count(), 3);
        EXPECT_EQ(history.GetText(0), Sjis(c.firstExpected));
        for (int i = 0; i < history.Count(); ++i)
            EXPECT_LE(history.GetText(i).size(), c.itemSize);
    }
}

} // namespace
