// The copy service: group codes, consistent table copies, staged restores that put everything back.
#include "maintenance/BackupCopy.h"

#include "maintenance/DataFolderFixture.h"

#include <QTemporaryDir>

namespace {

class BackupCopyTest : public DataFolderFixture
{
protected:
    QString dest() const { return m_root + QStringLiteral("dest/"); }
};

TEST_F(BackupCopyTest, GroupCodesFollowEachCopy)
{
    WriteFileBytes(m_root + QStringLiteral("blocker"), "a file where a folder should go");
    const QStringList names = {QStringLiteral("a.gpl"), QStringLiteral("b.gpl"), QStringLiteral("missing")};
    WriteFileBytes(m_root + QStringLiteral("src/a.gpl"), "a");
    WriteFileBytes(m_root + QStringLiteral("src/b.gpl"), "b");
    struct Case
    {
        const char* what;
        QStringList failing;
        QString destFolder;
        int code;
    };
    const QList<Case> cases = {
        {"all found copied, the missing one passed over", {}, dest(), crOk},
        {"one of two fails", {QStringLiteral("b.gpl")}, dest(), crPartial},
        {"both fail", {QStringLiteral("a.gpl"), QStringLiteral("b.gpl")}, dest(), crFailed},
        {"folder cannot be made", {}, m_root + QStringLiteral("blocker/sub/"), crNoFolder},
    };
    for (const Case& c : cases) {
        QDir(dest()).removeRecursively();
        SetCopyFaultHook([&](TCopyStep, const QString& target) {
            return c.failing.contains(QFileInfo(target).fileName());
        });
        EXPECT_EQ(CopyFiles(m_root + QStringLiteral("src/"), c.destFolder, 2, names), c.code) << c.what;
        EXPECT_EQ(CopyMatchingFiles(m_root + QStringLiteral("src/"), c.destFolder, QStringLiteral("*.GPL")),
                  c.code)
            << c.what;
        // Nothing half-written or staged is left.
        for (const QString& name : tree(dest()).keys())
            EXPECT_FALSE(c.failing.contains(name) || name.startsWith(u'.'))
                << c.what << " " << name.toStdString();
    }
    SetCopyFaultHook({});
    EXPECT_EQ(CopyMatchingFiles(m_root + QStringLiteral("src/"), dest(), QStringLiteral("*.gpd")), crNoFiles);
    // The last index limits the names.
    QDir(dest()).removeRecursively();
    EXPECT_EQ(CopyFiles(m_root + QStringLiteral("src/"), dest(), 0, names), crOk);
    EXPECT_EQ(tree(dest()).keys(), QStringList{QStringLiteral("a.gpl")});
}

TEST_F(BackupCopyTest, TableCopyHoldsTheCommittedStateOfAnOpenTable)
{
    const QString live = AdrsFolder + QStringLiteral("アドレス/");
    Table open;
    open.setTableName(live + QStringLiteral("Adrs.DB"));
    open.open();
    open.startTransaction();
    open.append();
    open.fieldByName(QStringLiteral("NameKanji")).setString(QStringLiteral("未確定"));
    open.post();
    // A journal from an earlier interrupted write at the destination must not be played onto the copy.
    WriteFileBytes(dest() + QStringLiteral("Adrs.DB-journal"), QByteArray(4096, 'j'));
    EXPECT_EQ(CopyFiles(live, dest(), 1, AdrsTableFiles()), crOk);
    open.rollback();
    EXPECT_FALSE(QFileInfo::exists(dest() + QStringLiteral("Adrs.DB-journal")));
    EXPECT_EQ(bookNames(dest() + QStringLiteral("Adrs.DB")),
              QStringList({QStringLiteral("山田"), QStringLiteral("佐藤")}));

    // A file that is no table is refused whole.
    WriteFileBytes(m_root + QStringLiteral("bad/Sender.DB"), "not a table");
    EXPECT_EQ(CopyFiles(m_root + QStringLiteral("bad/"), dest(), 1, SenderTableFiles()), crFailed);
    EXPECT_EQ(tree(dest()).keys(), QStringList{QStringLiteral("Adrs.DB")});
    EXPECT_THROW(Table::copyTableFile(live + QStringLiteral("Adrs.DB"), dest() + QStringLiteral("Adrs.DB")),
                 TableError);
}

TEST_F(BackupCopyTest, RestoreFaultsLeaveTheTargetsAsTheyWere)
{
    const QString source = m_root + QStringLiteral("backup/");
    const QStringList names = {QStringLiteral("Adrs.DB"), QStringLiteral("Adrs.DB-journal"),
                               QStringLiteral("Group.dat"), QStringLiteral("new.dat")};
    ASSERT_EQ(CopyFiles(AdrsFolder + QStringLiteral("仕事/"), source, 1, AdrsTableFiles()), crOk);
    WriteFileBytes(source + QStringLiteral("Group.dat"), "restored groups");
    WriteFileBytes(source + QStringLiteral("new.dat"), "a file the target lacks");
    QFile::setPermissions(source + QStringLiteral("Group.dat"), QFile::ReadOwner);
    const QString target = AdrsFolder + QStringLiteral("アドレス/");
    WriteFileBytes(target + QStringLiteral("Adrs.DB-journal"), "");
    const QMap<QString, QByteArray> before = tree(target);

    struct Fault
    {
        TCopyStep step;
        int at; // the n-th file of the step fails
    };
    for (const Fault fault :
         {Fault{TCopyStep::Stage, 3}, Fault{TCopyStep::Replace, 2}, Fault{TCopyStep::Replace, 3}}) {
        int seen = 0;
        SetCopyFaultHook(
            [&](TCopyStep step, const QString&) { return step == fault.step && ++seen == fault.at; });
        EXPECT_EQ(RestoreFiles(source, target, 3, names), crFailed);
        EXPECT_EQ(tree(target), before) << "step " << int(fault.step) << " file " << fault.at;
    }
    SetCopyFaultHook({});
    EXPECT_EQ(RestoreFiles(source, target, 3, names), crOk);
    EXPECT_EQ(bookNames(target + QStringLiteral("Adrs.DB")), QStringList{QStringLiteral("鈴木")});
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("Adrs.DB-journal")));
    EXPECT_EQ(ReadFileBytes(target + QStringLiteral("Group.dat")), "restored groups");
    EXPECT_TRUE(QFileInfo(target + QStringLiteral("Group.dat")).permissions() & QFile::WriteOwner);
    EXPECT_EQ(tree(target).size(), 3) << "no staged or replaced file left";

    EXPECT_EQ(RestoreFiles(m_root + QStringLiteral("nothing/"), target, 3, names), crNoFiles);
    EXPECT_EQ(RestoreMatchingFiles(source, m_root + QStringLiteral("x/"), QStringLiteral("*.gpd")),
              crNoFiles);
}

TEST_F(BackupCopyTest, SafetyCopiesGoIntoTheToolsFolders)
{
    EXPECT_EQ(BackupWorkFolder(TBackupWork::ConvertKykbn), DataFolder + QStringLiteral("backup.kyk/"));
    WriteFileBytes(DataFolder + QStringLiteral("backup.opt/Adrs/アドレス/other.txt"), "stays");
    EXPECT_EQ(BackupWorkFolders(TBackupWork::Optimize), crOk);
    EXPECT_EQ(BackupWorkFolders(TBackupWork::Optimize), crOk);
    EXPECT_EQ(tree(BackupWorkFolder(TBackupWork::Optimize)).keys(),
              QStringList({QStringLiteral("Adrs/アドレス/Adrs.DB"), QStringLiteral("Adrs/アドレス/other.txt"),
                           QStringLiteral("Other/Sender.DB")}));
    EXPECT_EQ(BackupWorkFolders(TBackupWork::RepairIndex, {1}, false), crOk);
    EXPECT_EQ(tree(BackupWorkFolder(TBackupWork::RepairIndex)).keys(),
              QStringList{QStringLiteral("Adrs/仕事/Adrs.DB")});
}

TEST_F(BackupCopyTest, FreeSpaceComesFromTheNearestExistingFolder)
{
    EXPECT_FALSE(DiskSpaceOf(QStringLiteral("relative/folder/")));
    EXPECT_FALSE(DiskSpaceOf(QString()));
    const auto space = DiskSpaceOf(m_root + QStringLiteral("not/yet/there/"));
    ASSERT_TRUE(space);
    EXPECT_GT(space->clusterSize, 0);
    EXPECT_EQ(RoundToCluster(1, 4096), 4096);
    EXPECT_EQ(RoundToCluster(8192, 4096), 8192);
    EXPECT_EQ(RoundToCluster(5, 0), 5);
    EXPECT_EQ(KilobyteText(1025 * 1024 + 1), QStringLiteral("1,026 "));
    EXPECT_EQ(KilobyteText(0), QStringLiteral("0 "));

    ASSERT_TRUE(QFile::link(DataFolder, m_root + QStringLiteral("link")));
    EXPECT_TRUE(SameFolder(m_root + QStringLiteral("link/"), DataFolder));
    EXPECT_TRUE(SameFolder(m_root + QStringLiteral("link/new/"), DataFolder + QStringLiteral("new")));
    EXPECT_FALSE(SameFolder(DataFolder + QStringLiteral("Adrs/"), DataFolder));
}

} // namespace
