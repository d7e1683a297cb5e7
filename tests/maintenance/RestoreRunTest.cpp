// The restore: each book's folder, the pending renames, and runs into the live folder and another one.
#include "maintenance/RestoreRun.h"

#include "core/DBInfo.h"
#include "maintenance/DataFolderFixture.h"
#include "support/MessageRecorder.h"

namespace {

struct ChoiceCase
{
    const char* what;
    bool currentAffected;
    QStringList existing;          // folders under the destination's "Adrs/"
    QList<TPendingRename> renames; // in the file
    QStringList deletions;
    const char* name;
    const char* folder; // the chosen folder
    QList<TPendingRename> added;
};

TPendingRename R(const char* from, const char* to)
{
    return {QString::fromUtf8(from), QString::fromUtf8(to)};
}

TEST(RestoreTargets, EachBookFindsItsFolder)
{
    const QList<TAdrsFolderInfo> live = {{QStringLiteral("アドレス"), QStringLiteral("アドレス"), 0},
                                         {QStringLiteral("新名"), QStringLiteral("旧名"), 2},
                                         {QString(), QStringLiteral("消す"), 1}};
    const QList<ChoiceCase> cases = {
        {"A: the name of a book", true, {}, {}, {}, "アドレス", "アドレス", {}},
        {"A: the name, other case", true, {}, {}, {}, "新名", "旧名", {}},
        {"A: only another book's folder",
         true,
         {"旧名"},
         {},
         {},
         "旧名",
         "旧名（1）",
         {R("旧名（1）", "旧名")}},
        {"A: a new book", true, {}, {}, {}, "別", "別", {}},
        {"B: a new folder", false, {}, {}, {}, "アドレス", "アドレス", {}},
        {"B: an existing folder", false, {"アドレス"}, {}, {}, "アドレス", "アドレス", {}},
        {"B: pending deletion",
         false,
         {"アドレス", "アドレス（1）"},
         {R("x", "アドレス（2）")},
         {"アドレス"},
         "アドレス",
         "アドレス（3）",
         {R("アドレス（3）", "アドレス")}},
        {"B: renamed into the name", false, {"old"}, {R("old", "ADDR")}, {}, "addr", "old", {}},
        {"B: renamed, the old one pending deletion",
         false,
         {"old", "addr"},
         {R("old", "addr")},
         {"old"},
         "addr",
         "addr（1）",
         {R("addr（1）", "addr")}},
        {"B: renamed, deleted, name free", false, {"old"}, {R("old", "addr")}, {"old"}, "addr", "addr", {}},
        {"B: the folder will be renamed away",
         false,
         {"addr"},
         {R("addr", "other")},
         {},
         "addr",
         "addr（1）",
         {R("addr（1）", "addr")}},
    };
    for (const ChoiceCase& c : cases) {
        TPendingOps ops;
        ops.fileRenames = c.renames;
        ops.deletions = c.deletions;
        TRestoreTargetContext context;
        context.currentAffected = c.currentAffected;
        context.books = live;
        context.folderExists = [&](const QString& f) { return c.existing.contains(f); };
        EXPECT_EQ(ChooseRestoreFolder(QString::fromUtf8(c.name), context, ops), QString::fromUtf8(c.folder))
            << c.what;
        EXPECT_EQ(ops.addedRenames, c.added) << c.what;
    }
}

TEST(RestoreTargets, RenamesOfThisRestoreCountForTheNextBook)
{
    TPendingOps ops;
    TRestoreTargetContext context;
    context.folderExists = [](const QString& f) { return f == QStringLiteral("a"); };
    ops.deletions = {QStringLiteral("a")};
    EXPECT_EQ(ChooseRestoreFolder(QStringLiteral("a"), context, ops), QStringLiteral("a（1）"));
    // The next book of the same name follows the new rename back to the spare folder.
    EXPECT_EQ(ChooseRestoreFolder(QStringLiteral("A"), context, ops), QStringLiteral("a（1）"));
    EXPECT_EQ(ops.addedRenames.size(), 1);
}

class RestoreRunTest : public DataFolderFixture
{
protected:
    QString backup() const { return m_root + QStringLiteral("backup/"); }
    void makeBackup()
    {
        CopyData(TDataParts::OfDataFolder(DataFolder, CategoryFolder), TDataParts::OfBackup(backup()),
                 BackupBooks(), labels(), TCopyDirection::Backup);
    }
    static QStringList labels() { return HistoryLabels(QStringList(8, QStringLiteral("K"))); }

    // Every row of a table with every field, in key order.
    static QList<QVariantList> rows(Table& t)
    {
        QList<QVariantList> out;
        t.refresh();
        for (t.first(); !t.eof(); t.next()) {
            QVariantList row;
            for (int i = 0; i < t.fieldCount(); ++i)
                row.append(t.field(i).value());
            out.append(row);
        }
        return out;
    }

    QMap<QString, QByteArray> liveFiles() const
    {
        QMap<QString, QByteArray> files = tree(DataFolder);
        files.remove(QStringLiteral("Adrs/") + AdrsOpFileName);
        const QMap<QString, QByteArray> category = tree(CategoryFolder);
        for (auto it = category.begin(); it != category.end(); ++it)
            files.insert(QStringLiteral("category:") + it.key(), it.value());
        return files;
    }
};

TEST_F(RestoreRunTest, IntoTheLiveFolderTheBookComesBackRowForRow)
{
    MessageRecorder messages;
    TDMQuenrid215 dm;
    dm.CreateAdrsTable(QStringLiteral("アドレス"));
    dm.CreateSenderTable();
    ASSERT_TRUE(dm.OpenAdrs());
    ASSERT_TRUE(dm.OpenSender());
    Table& adrs = *dm.AdrsTable();
    const QList<QVariantList> before = rows(adrs);
    makeBackup();
    while (!adrs.isEmpty()) {
        adrs.first();
        adrs.deleteRecord();
    }
    ASSERT_TRUE(rows(adrs).isEmpty());

    const QStringList books = RestoreBookNames(backup());
    EXPECT_EQ(books, QStringList({QStringLiteral("アドレス"), QStringLiteral("仕事")}));
    EXPECT_TRUE(RestoreAffectsCurrentBook(DataFolder, books));
    const TCopyReport report = RunRestore(backup(), DataFolder, books, labels());
    for (const TCopyLine& line : report.all())
        EXPECT_EQ(line.code, crOk) << line.label.toStdString();
    EXPECT_EQ(report.tables.size(), 7);
    EXPECT_TRUE(adrs.active());
    EXPECT_TRUE(dm.SenderTable()->active());
    EXPECT_EQ(rows(adrs), before);
    EXPECT_TRUE(QFileInfo(DataFolder + QStringLiteral("Sender.ini")).permissions() & QFile::WriteOwner);
    const TMemIniFile op(AdrsFolder + AdrsOpFileName);
    EXPECT_EQ(op.ReadString(QStringLiteral("RENAME"), QStringLiteral("Count"), QString()),
              QStringLiteral("0"));
    EXPECT_EQ(op.ReadString(QStringLiteral("DELETE"), QStringLiteral("1"), QString()), QStringLiteral("old"));
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(RestoreRunTest, IntoAnotherFolderPendingOperationsGiveASpareFolder)
{
    makeBackup();
    const QString dest = m_root + QStringLiteral("other/");
    WriteFileBytes(dest + QStringLiteral("Adrs/アドレス/Adrs.DB"), "to be deleted");
    WriteFileBytes(
        dest + QStringLiteral("Adrs/AdrsOp.ini"),
        ToAnsi(QStringLiteral("[RENAME]\r\nCount=1\r\n1=a/b\r\n[DELETE]\r\nCount=1\r\n1=アドレス\r\n")));
    const QStringList books = RestoreBookNames(backup());
    EXPECT_FALSE(RestoreAffectsCurrentBook(dest, books));
    const TCopyReport report = RunRestore(backup(), dest, books, labels());
    EXPECT_EQ(report.tables.first(), (TCopyLine{QStringLiteral("アドレス帳： アドレス"), crOk}));
    EXPECT_EQ(bookNames(dest + QStringLiteral("Adrs/アドレス（1）/Adrs.DB")),
              QStringList({QStringLiteral("山田"), QStringLiteral("佐藤")}));
    EXPECT_EQ(ReadFileBytes(dest + QStringLiteral("Adrs/アドレス/Adrs.DB")), "to be deleted");
    EXPECT_TRUE(QFileInfo::exists(dest + QStringLiteral("Adrs/仕事/Adrs.DB")));
    EXPECT_TRUE(QFileInfo::exists(dest + QStringLiteral("Layout/宛名.gpl")));
    // Category tables go to this machine's category folder whatever the destination.
    EXPECT_FALSE(QFileInfo::exists(dest + QStringLiteral("Category")));
    const TMemIniFile op(dest + QStringLiteral("Adrs/AdrsOp.ini"));
    EXPECT_EQ(op.ReadInteger(QStringLiteral("RENAME"), QStringLiteral("Count"), -1), 2);
    EXPECT_EQ(op.ReadString(QStringLiteral("RENAME"), QStringLiteral("1"), QString()), QStringLiteral("a/b"));
    EXPECT_EQ(op.ReadString(QStringLiteral("RENAME"), QStringLiteral("2"), QString()),
              QStringLiteral("アドレス（1）/アドレス"));
    EXPECT_EQ(op.ReadString(QStringLiteral("DELETE"), QStringLiteral("1"), QString()),
              QStringLiteral("アドレス"));
}

TEST_F(RestoreRunTest, FaultsMidRestoreLeaveTheLiveFilesAndReopenTheTables)
{
    MessageRecorder messages;
    makeBackup();
    // The live folder moves on after the backup, so that a restored file would show.
    WriteFileBytes(LayoutFolder + QStringLiteral("b.gpl"), "newer b");
    WriteFileBytes(LayoutFolder + QStringLiteral("宛名.gpl"), "newer one");
    WriteFileBytes(HistoryFolder + QStringLiteral("Post.mtd"), "newer post");
    {
        Table t;
        t.setTableName(AdrsFolder + QStringLiteral("アドレス/Adrs.DB"));
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("NameKanji")).setString(QStringLiteral("後から"));
        t.post();
    }
    TDMQuenrid215 dm;
    dm.CreateAdrsTable(QStringLiteral("アドレス"));
    dm.CreateCategoryTables();
    ASSERT_TRUE(dm.OpenAdrs());
    ASSERT_TRUE(dm.OpenCategory());
    const QMap<QString, QByteArray> before = liveFiles();

    // The print group holds two files: one is staged (or already renamed) when the other fails; every
    // other group fails on its only file.
    for (const TCopyStep failing : {TCopyStep::Stage, TCopyStep::Replace}) {
        SetCopyFaultHook([&](TCopyStep step, const QString& target) {
            return step == failing && !target.endsWith(QLatin1String("/b.gpl"));
        });
        const TCopyReport report = RunRestore(backup(), DataFolder, RestoreBookNames(backup()), labels());
        for (const TCopyLine& line : report.all())
            EXPECT_EQ(line.code, crFailed) << line.label.toStdString();
        EXPECT_EQ(liveFiles(), before) << int(failing);
        EXPECT_TRUE(dm.AdrsTable()->active());
        EXPECT_TRUE(dm.CategoryTable()->active());
        EXPECT_EQ(rows(*dm.AdrsTable()).size(), 3);
    }
    EXPECT_EQ(messages.count(), 0);
}

} // namespace
