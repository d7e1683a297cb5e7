// The address-book list: user order, pending deletions and renames, and unsafe names in the pending file.
#include "support/StartupFixture.h"
#include "support/TestFiles.h"

#include "core/AdrsFolderList.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

class AdrsFolderListTest : public StartupFixture
{
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        AdrsFolder = m_root + "Adrs/";
        QDir().mkpath(AdrsFolder);
    }

    void makeBook(const QString& folder, const QString& tableName = QStringLiteral("Adrs.DB"))
    {
        ASSERT_TRUE(QDir().mkpath(AdrsFolder + folder));
        QFile f(AdrsFolder + folder + "/" + tableName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("table");
    }

    void writeIni(const QString& name, const QList<std::array<QString, 3>>& keys)
    {
        TMemIniFile ini(AdrsFolder + name);
        for (const auto& k : keys)
            ini.WriteString(k[0], k[1], k[2]);
        ASSERT_TRUE(ini.UpdateFile());
    }

    static QStringList shown()
    {
        QStringList out;
        for (const TAdrsFolderInfo& info : AdrsFolderList)
            out << QStringLiteral("%1|%2|%3").arg(info.Folder, info.Name).arg(info.State);
        return out;
    }

    QByteArray opFile() const { return ReadFileBytes(AdrsFolder + AdrsOpFileName); }
};

TEST_F(AdrsFolderListTest, OrderStopsAtFirstMissingKeyAndUnlistedBooksFollowSorted)
{
    for (const char* b : {"delta", "Alpha", "charlie", "bravo"})
        makeBook(b);
    QDir().mkpath(AdrsFolder + "notabook");
    makeBook("lower", "adrs.db");
    writeIni(
        AdrsMngFileName,
        {{"SORT", "1", "charlie"}, {"SORT", "2", "GONE"}, {"SORT", "3", "DELTA"}, {"SORT", "5", "bravo"}});
    CurrentAdrsIndex = 4;
    LoadAddressBookList(false);
    EXPECT_EQ(CurrentAdrsIndex, -1);
    // "GONE" is dropped, "DELTA" matches without regard to case but keeps the folder's own spelling,
    // key 5 is never read.
    EXPECT_EQ(shown(), QStringList({"charlie|charlie|0", "delta|delta|0", "Alpha|Alpha|0", "bravo|bravo|0",
                                    "lower|lower|0"}));
}

TEST_F(AdrsFolderListTest, ChainedRenamesWithAndWithoutExecute)
{
    makeBook("A");
    makeBook("X");
    writeIni(AdrsMngFileName, {{"SORT", "1", "X"}, {"SORT", "2", "A"}});
    writeIni(AdrsOpFileName, {{"RENAME", "Count", "2"}, {"RENAME", "1", "A/B"}, {"RENAME", "2", "B/C"}});
    const QByteArray before = opFile();

    LoadAddressBookList(false);
    EXPECT_EQ(shown(), QStringList({"X|X|0", "A|C|2"}));
    EXPECT_EQ(opFile(), before);

    LoadAddressBookList(true);
    EXPECT_EQ(shown(), QStringList({"X|X|0", "C|C|0"}));
    EXPECT_TRUE(QFileInfo(AdrsFolder + "C/Adrs.DB").isFile());
    EXPECT_FALSE(QFileInfo::exists(AdrsFolder + "A"));
    EXPECT_FALSE(QFileInfo::exists(AdrsFolder + AdrsOpFileName));

    // The next build keeps the order: the SORT entry of A now names C.
    writeIni(AdrsMngFileName, {{"SORT", "1", "X"}, {"SORT", "2", "C"}});
    LoadAddressBookList(false);
    EXPECT_EQ(shown(), QStringList({"X|X|0", "C|C|0"}));
}

TEST_F(AdrsFolderListTest, RenameNeverReplacesAnExistingBook)
{
    makeBook("old");
    makeBook("Taken");
    writeIni(AdrsOpFileName, {{"RENAME", "Count", "1"}, {"RENAME", "1", "old/taken"}});
    LoadAddressBookList(true);
    // Both books are untouched and the rename stays pending.
    EXPECT_TRUE(QFileInfo(AdrsFolder + "old/Adrs.DB").isFile());
    EXPECT_TRUE(QFileInfo(AdrsFolder + "Taken/Adrs.DB").isFile());
    EXPECT_EQ(shown(), QStringList({"old|taken|2", "Taken|Taken|0"}));
    const TMemIniFile op(AdrsFolder + AdrsOpFileName);
    EXPECT_EQ(op.ReadInteger("RENAME", "Count", 0), 1);
    EXPECT_EQ(op.ReadString("RENAME", "1", ""), QStringLiteral("old/taken"));
}

TEST_F(AdrsFolderListTest, DeletionThatCannotBeDoneIsRenumberedAndKept)
{
    makeBook("one");
    makeBook("two");
    makeBook("three");
    // A sub-folder keeps "three" from being removed; its files go.
    QDir().mkpath(AdrsFolder + "three/sub");
    writeIni(AdrsMngFileName, {{"SORT", "1", "two"}, {"SORT", "2", "one"}, {"SORT", "3", "three"}});
    writeIni(AdrsOpFileName, {{"DELETE", "Count", "3"},
                              {"DELETE", "1", "one"},
                              {"DELETE", "2", "never-was"},
                              {"DELETE", "3", "three"}});
    LoadAddressBookList(true);
    EXPECT_FALSE(QFileInfo::exists(AdrsFolder + "one"));
    EXPECT_TRUE(QFileInfo(AdrsFolder + "three/sub").isDir());
    EXPECT_EQ(shown(), QStringList({"two|two|0"}));
    const TMemIniFile op(AdrsFolder + AdrsOpFileName);
    EXPECT_EQ(op.ReadInteger("DELETE", "Count", 0), 1);
    EXPECT_EQ(op.ReadString("DELETE", "1", ""), QStringLiteral("three"));
    EXPECT_FALSE(op.SectionExists("RENAME"));
}

TEST_F(AdrsFolderListTest, PendingDeletionShowsWithoutName)
{
    makeBook("keep");
    makeBook("doomed");
    writeIni(AdrsOpFileName, {{"DELETE", "Count", "1"}, {"DELETE", "1", "doomed"}});
    LoadAddressBookList(false);
    EXPECT_EQ(shown(), QStringList({"doomed||1", "keep|keep|0"}));
}

TEST_F(AdrsFolderListTest, UnsafeNamesInPendingFileAreNeverActedOn)
{
    makeBook("book");
    const QString outside = m_root + "outside";
    QDir().mkpath(outside + "/victim");
    QFile victim(outside + "/victim/file.txt");
    ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
    victim.close();
    writeIni(AdrsOpFileName, {{"DELETE", "Count", "4"},
                              {"DELETE", "1", "../outside/victim"},
                              {"DELETE", "2", outside + "/victim"},
                              {"DELETE", "3", ".."},
                              {"DELETE", "4", "sub\\dir"},
                              {"RENAME", "Count", "3"},
                              {"RENAME", "1", "book/../../outside/moved"},
                              {"RENAME", "2", "../outside/victim/x"},
                              {"RENAME", "3", "book/."}});
    LoadAddressBookList(true);
    EXPECT_TRUE(QFileInfo(outside + "/victim/file.txt").isFile());
    EXPECT_TRUE(QFileInfo(AdrsFolder + "book/Adrs.DB").isFile());
    EXPECT_FALSE(QFileInfo::exists(outside + "/moved"));
    EXPECT_EQ(shown(), QStringList({"book|book|0"}));
    EXPECT_FALSE(QFileInfo::exists(AdrsFolder + AdrsOpFileName));

    for (const char* name : {"", ".", "..", "a/b", "a\\b", "/abs"})
        EXPECT_FALSE(IsPlainFolderName(QString::fromUtf8(name))) << name;
    EXPECT_TRUE(IsPlainFolderName(QStringLiteral("得意先 2024")));
    EXPECT_TRUE(IsPlainFolderName(QStringLiteral("..hidden")));
}

TEST_F(AdrsFolderListTest, BookInUseStaysPendingUntilItsHolderLetsGo)
{
    makeBook("open");
    makeBook("renamed");
    writeIni(AdrsOpFileName, {{"DELETE", "Count", "1"},
                              {"DELETE", "1", "open"},
                              {"RENAME", "Count", "1"},
                              {"RENAME", "1", "renamed/new"}});
    // Another open of each book, as another process's shared open holds it.
    QList<int> holders;
    for (const char* book : {"open", "renamed"}) {
        const QByteArray lock = QFile::encodeName(AdrsFolder + book + "/Adrs.DB.lck");
        const int fd = ::open(lock.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::flock(fd, LOCK_SH | LOCK_NB), 0);
        holders.append(fd);
    }
    const QByteArray before = opFile();
    LoadAddressBookList(true);
    EXPECT_TRUE(QFileInfo(AdrsFolder + "open/Adrs.DB").isFile());
    EXPECT_TRUE(QFileInfo(AdrsFolder + "renamed/Adrs.DB").isFile());
    EXPECT_EQ(shown(), QStringList({"open||1", "renamed|new|2"}));
    EXPECT_EQ(opFile(), before);

    for (const int fd : holders)
        ::close(fd);
    LoadAddressBookList(true);
    EXPECT_EQ(shown(), QStringList({"new|new|0"}));
    EXPECT_FALSE(QFileInfo::exists(AdrsFolder + AdrsOpFileName));
}

TEST_F(AdrsFolderListTest, HugeCountsReadOnlyTheKeysPresent)
{
    makeBook("three");
    QDir().mkpath(AdrsFolder + "three/sub");
    writeIni(AdrsOpFileName, {{"DELETE", "Count", "2147483647"},
                              {"DELETE", "1", "three"},
                              {"RENAME", "Count", "2147483647"},
                              {"RENAME", "1", "gone/other"}});
    LoadAddressBookList(true);
    EXPECT_TRUE(QFileInfo(AdrsFolder + "three/sub").isDir());
    const TMemIniFile op(AdrsFolder + AdrsOpFileName);
    EXPECT_EQ(op.ReadSection("DELETE"), QStringList({"Count", "1"}));
    EXPECT_EQ(op.ReadInteger("DELETE", "Count", 0), 1);
    EXPECT_FALSE(op.SectionExists("RENAME"));
}

} // namespace
