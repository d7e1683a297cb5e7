// The layout of a backup folder, its result lines and needed size, and the copy back.
#include "maintenance/BackupLayout.h"

#include "maintenance/DataFolderFixture.h"

namespace {

class BackupLayoutTest : public DataFolderFixture
{
protected:
    QString backup() const { return m_root + QStringLiteral("backup/20261210 231500/"); }
    TCopyReport runBackup() const
    {
        return CopyData(TDataParts::OfDataFolder(DataFolder, CategoryFolder), TDataParts::OfBackup(backup()),
                        BackupBooks(), keywordLabels(), TCopyDirection::Backup);
    }
    static QStringList keywordLabels()
    {
        return HistoryLabels(
            {"", "", "", "", "", QStringLiteral("趣味"), QStringLiteral("好物"), QStringLiteral("記念")});
    }
};

QList<TCopyLine> lines(std::initializer_list<std::pair<const char*, int>> list)
{
    QList<TCopyLine> out;
    for (const auto& [label, code] : list)
        out.append({QString::fromUtf8(label), code});
    return out;
}

TEST_F(BackupLayoutTest, BackupGivesTheFolderLayoutAndResultLines)
{
    const TCopyReport report = runBackup();
    QStringList expected({QStringLiteral("Adrs/AdrsMng.ini"),
                          QStringLiteral("Adrs/アドレス/Adrs.DB"),
                          QStringLiteral("Adrs/アドレス/Group.dat"),
                          QStringLiteral("Adrs/仕事/Adrs.DB"),
                          QStringLiteral("CstmL.fmt"),
                          QStringLiteral("Card/c.gpc"),
                          QStringLiteral("Category/Category.DB"),
                          QStringLiteral("Category/Exception.DB"),
                          QStringLiteral("Category/Target.DB"),
                          QStringLiteral("History/Dptmnt.mtd"),
                          QStringLiteral("History/Keyword1.mtd"),
                          QStringLiteral("History/Post.mtd"),
                          QStringLiteral("LPCustom.tpl"),
                          QStringLiteral("Label/l.gpa"),
                          QStringLiteral("Layout/b.gpl"),
                          QStringLiteral("Layout/宛名.gpl"),
                          QStringLiteral("Other/Original.DB"),
                          QStringLiteral("Other/Sender.DB"),
                          QStringLiteral("Search.ptn"),
                          QStringLiteral("Sender.ini")});
    expected.sort();
    EXPECT_EQ(tree(backup()).keys(), expected);
    EXPECT_FALSE(QFileInfo::exists(backup() + QStringLiteral("Design")));
    EXPECT_EQ(report.tables, lines({{"アドレス帳： アドレス", 0},
                                    {"アドレス帳： 仕事", 0},
                                    {"差出人ファイル", 0},
                                    {"カテゴリファイル", 0},
                                    {"対象ファイル", 0},
                                    {"除外ファイル", 0},
                                    {"対象除外用追加項目ファイル", 0}}));
    EXPECT_EQ(report.printFiles, lines({{"宛名ファイル", 0}, {"ラベルファイル", 0}, {"名刺ファイル", 0}}));
    EXPECT_EQ(report.others, lines({{"グループ名： アドレス", 0},
                                    {"アドレス帳管理ファイル", 0},
                                    {"部署ファイル", 0},
                                    {"役職ファイル", 0},
                                    {"趣味ファイル", 0},
                                    {"絞り込み条件パターンファイル", 0},
                                    {"一覧表カスタムテンプレートファイル", 0},
                                    {"印刷系カスタム用紙ファイル", 0},
                                    {"差出人情報ファイル", 0}}));
    EXPECT_EQ(ReadFileBytes(backup() + QStringLiteral("Sender.ini")), "Sender.ini");
    EXPECT_EQ(bookNames(backup() + QStringLiteral("Adrs/アドレス/Adrs.DB")),
              QStringList({QStringLiteral("山田"), QStringLiteral("佐藤")}));
}

TEST_F(BackupLayoutTest, NeededSizeCountsWhatTheBackupCopies)
{
    const TDataParts parts = TDataParts::OfDataFolder(DataFolder, CategoryFolder);
    runBackup();
    qint64 copied = 0;
    for (const QByteArray& bytes : tree(backup()))
        copied += bytes.size();
    // The table copies are page for page the size of their tables.
    EXPECT_EQ(MeasureData(parts, BackupBooks(), 0), copied);
    EXPECT_EQ(MeasureData(parts, BackupBooks(), 1 << 20), qint64(tree(backup()).size()) << 20);
}

TEST_F(BackupLayoutTest, FailedGroupIsMarkedAndASecondBackupOverwrites)
{
    SetCopyFaultHook(
        [](TCopyStep, const QString& target) { return target.endsWith(QLatin1String("Other/Sender.DB")); });
    TCopyReport report = runBackup();
    EXPECT_EQ(report.tables[2], (TCopyLine{QStringLiteral("差出人ファイル"), crFailed}));
    EXPECT_EQ(CopyResultMark(report.tables[2].code), QStringLiteral("×"));
    EXPECT_EQ(CopyResultReason(report.tables[2].code), QStringLiteral("コピー失敗"));
    QStringList other = QDir(backup() + QStringLiteral("Other")).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(other, QStringList{QStringLiteral("Original.DB")});

    SetCopyFaultHook({});
    WriteFileBytes(LayoutFolder + QStringLiteral("b.gpl"), "changed since");
    report = runBackup();
    for (const TCopyLine& line : report.all())
        EXPECT_EQ(line.code, crOk) << line.label.toStdString();
    EXPECT_EQ(ReadFileBytes(backup() + QStringLiteral("Layout/b.gpl")), "changed since");
    EXPECT_TRUE(QFileInfo::exists(backup() + QStringLiteral("Other/Sender.DB")));
}

TEST_F(BackupLayoutTest, BooksThatCannotBeFoldersAreNotCopied)
{
    const QList<TBookCopy> books = {{QStringLiteral("a/b"), QStringLiteral("仕事"), QStringLiteral("a/b")},
                                    {QStringLiteral(".."), QStringLiteral("仕事"), QStringLiteral("..")}};
    const TCopyReport report =
        CopyData(TDataParts::OfDataFolder(DataFolder, CategoryFolder), TDataParts::OfBackup(backup()), books,
                 keywordLabels(), TCopyDirection::Backup);
    EXPECT_EQ(report.tables.mid(0, 2), lines({{"アドレス帳： a/b", 8}, {"アドレス帳： ..", 8}}));
    EXPECT_EQ(QDir(backup() + QStringLiteral("Adrs")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList());
}

} // namespace
