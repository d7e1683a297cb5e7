// The parts of a data folder in a backup folder, their sizes and their copy group by group.
#include "maintenance/BackupLayout.h"

#include "core/AdrsFolderList.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString GroupFileName = QStringLiteral("Group.dat");

QString slash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

struct TTableGroup
{
    QStringList (*names)();
    bool inCategory; // the category folder, else "Other/"
    const char* label;
};

const TTableGroup TableGroups[] = {
    {SenderTableFiles, false, "差出人ファイル"},
    {CategoryTableFiles, true, "カテゴリファイル"},
    {TargetTableFiles, true, "対象ファイル"},
    {ExceptionTableFiles, true, "除外ファイル"},
    {OriginalTableFiles, false, "対象除外用追加項目ファイル"},
};

bool isJournal(const QString& name)
{
    return name.endsWith(QLatin1String("-journal"), Qt::CaseInsensitive);
}

// The copy routines of one direction.
struct TCopier
{
    TCopyDirection direction;

    int files(const QString& from, const QString& to, const QStringList& names) const
    {
        const int last = int(names.size()) - 1;
        return direction == TCopyDirection::Backup ? CopyFiles(from, to, last, names)
                                                   : RestoreFiles(from, to, last, names);
    }
    int matching(const QString& from, const QString& to, const QString& pattern) const
    {
        return direction == TCopyDirection::Backup ? CopyMatchingFiles(from, to, pattern)
                                                   : RestoreMatchingFiles(from, to, pattern);
    }
    // One file known to exist: 0 or 8 (9 when its folder cannot be made).
    int single(const QString& from, const QString& to, const QString& name) const
    {
        return files(from, to, {name});
    }
    // A restore lists only what the backup held.
    bool listed(int code) const { return direction == TCopyDirection::Backup || code != crNoFiles; }
};

class TSizeSum
{
public:
    explicit TSizeSum(qint64 clusterSize) : m_cluster(clusterSize) {}
    void add(const QString& folder, const QStringList& names)
    {
        for (const QString& name : names) {
            const QFileInfo info(folder + name);
            if (!isJournal(name) && info.isFile())
                m_total += RoundToCluster(info.size(), m_cluster);
        }
    }
    void addMatching(const QString& folder, const QString& pattern)
    {
        add(folder, QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System));
    }
    qint64 total() const { return m_total; }

private:
    qint64 m_cluster;
    qint64 m_total = 0;
};

} // namespace

TDataParts TDataParts::OfDataFolder(const QString& dataFolder, const QString& categoryFolder)
{
    const QString root = slash(dataFolder);
    return {root, root + QLatin1String("Adrs/"), root + QLatin1String("Other/"),
            root + QLatin1String("History/"), slash(categoryFolder)};
}

TDataParts TDataParts::OfBackup(const QString& folder)
{
    TDataParts parts = OfDataFolder(folder, QString());
    parts.category = parts.root + QLatin1String("Category/");
    return parts;
}

QList<TBookCopy> BackupBooks()
{
    QList<TBookCopy> books;
    for (const TAdrsFolderInfo& info : AdrsFolderList)
        if (info.State != 1)
            books.append({info.Name, info.Folder, info.Name});
    return books;
}

QStringList HistoryLabels(const QStringList& keywordNames)
{
    QStringList labels = {QStringLiteral("部署ファイル"), QStringLiteral("役職ファイル"),
                          QStringLiteral("敬称ファイル")};
    for (int i = 5; i < 8; ++i)
        labels.append(keywordNames.value(i) + QStringLiteral("ファイル"));
    return labels;
}

qint64 MeasureData(const TDataParts& from, const QList<TBookCopy>& books, qint64 clusterSize)
{
    TSizeSum sum(clusterSize);
    for (const TBookCopy& book : books) {
        const QString folder = from.adrs + book.source + QLatin1Char('/');
        sum.add(folder, AdrsTableFiles());
        sum.add(folder, {GroupFileName});
    }
    sum.add(from.adrs, {AdrsMngFileName});
    for (const TTableGroup& group : TableGroups)
        sum.add(group.inCategory ? from.category : from.other, group.names());
    for (const TPrintFilePattern& p : PrintFilePatterns())
        sum.addMatching(from.root + p.folder, p.pattern);
    sum.add(from.history, BackupHistoryFileNames());
    sum.add(from.root, DataFolderFiles());
    return sum.total();
}

TCopyReport CopyData(const TDataParts& from, const TDataParts& to, const QList<TBookCopy>& books,
                     const QStringList& historyLabels, TCopyDirection direction)
{
    const TCopier copier{direction};
    TCopyReport report;

    // Tables, with each book's group file.
    for (const TBookCopy& book : books) {
        const QString tableLabel = QStringLiteral("アドレス帳： ") + book.label;
        const QString groupLabel = QStringLiteral("グループ名： ") + book.label;
        if (!IsPlainFolderName(book.source) || !IsPlainFolderName(book.target)) {
            report.tables.append({tableLabel, crFailed});
            continue;
        }
        const QString source = from.adrs + book.source + QLatin1Char('/');
        const QString target = to.adrs + book.target + QLatin1Char('/');
        const int code = copier.files(source, target, AdrsTableFiles());
        if (copier.listed(code))
            report.tables.append({tableLabel, code});
        if (code == crNoFolder)
            report.others.append({groupLabel, crNoFolder});
        else if (QFileInfo(source + GroupFileName).isFile())
            report.others.append({groupLabel, copier.single(source, target, GroupFileName)});
    }
    const QString mngLabel = QStringLiteral("アドレス帳管理ファイル");
    if (!QDir().mkpath(to.adrs))
        report.others.append({mngLabel, crNoFolder});
    else if (QFileInfo(from.adrs + AdrsMngFileName).isFile())
        report.others.append({mngLabel, copier.single(from.adrs, to.adrs, AdrsMngFileName)});
    for (const TTableGroup& group : TableGroups) {
        const int code = group.inCategory ? copier.files(from.category, to.category, group.names())
                                          : copier.files(from.other, to.other, group.names());
        if (copier.listed(code))
            report.tables.append({QString::fromUtf8(group.label), code});
    }

    // Print files: a pattern nothing matches gets no line.
    for (const TPrintFilePattern& p : PrintFilePatterns()) {
        const int code = copier.matching(from.root + p.folder, to.root + p.folder, p.pattern);
        if (code != crNoFiles)
            report.printFiles.append({p.label, code});
    }

    // History files and the single files of the data folder.
    const bool historyFolder = QDir().mkpath(to.history);
    const QStringList& histories = BackupHistoryFileNames();
    for (int i = 0; i < histories.size(); ++i) {
        if (!QFileInfo(from.history + histories[i]).isFile())
            continue;
        report.others.append(
            {historyLabels.value(i),
             historyFolder ? copier.single(from.history, to.history, histories[i]) : int(crNoFolder)});
    }
    for (int i = 0; i < DataFolderFiles().size(); ++i) {
        const QString& name = DataFolderFiles()[i];
        if (QFileInfo(from.root + name).isFile())
            report.others.append({DataFolderFileLabels()[i], copier.single(from.root, to.root, name)});
    }
    return report;
}
