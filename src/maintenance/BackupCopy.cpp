// File groups copied whole and checked: staged beside their targets, renamed into place, put back on failure.
#include "maintenance/BackupCopy.h"

#include "core/AdrsFolderList.h"
#include "core/DBInfo.h"
#include "core/MainSettings.h"
#include "platform/TableEngine.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

TCopyFaultHook& faultHook()
{
    static TCopyFaultHook hook;
    return hook;
}

std::function<std::optional<TDiskSpace>(const QString&)>& diskSpaceHook()
{
    static std::function<std::optional<TDiskSpace>(const QString&)> hook;
    return hook;
}

bool injectedFault(TCopyStep step, const QString& target)
{
    return faultHook() && faultHook()(step, target);
}

const QString JournalSuffix = QStringLiteral("-journal");

bool isJournal(const QString& name)
{
    return name.endsWith(JournalSuffix, Qt::CaseInsensitive);
}

// A table file of the data module: copied through the engine, never as bytes.
bool isTableFile(const QString& name)
{
    return !isJournal(name) && !TableFileFamily(name).isEmpty();
}

QStringList familyOf(const char* tableFile)
{
    return TableFileFamily(QLatin1String(tableFile));
}

// A hidden name beside target that no other file has.
QString temporaryBeside(const QString& target, const char* kind)
{
    const QFileInfo info(target);
    static const char chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (;;) {
        QString suffix;
        for (int i = 0; i < 6; ++i)
            suffix += QLatin1Char(chars[QRandomGenerator::global()->bounded(int(sizeof chars - 1))]);
        const QString path = info.absolutePath() + QLatin1String("/.") + info.fileName() + QLatin1Char('.') +
                             QLatin1String(kind) + QLatin1Char('-') + suffix;
        if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
            return path;
    }
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QByteArray hashOf(QFile& file)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return hash.addData(&file) ? hash.result() : QByteArray();
}

// Writes source's bytes to the new file staged, synced and read back; false (nothing left) on any failure.
bool copyBytes(const QString& source, const QString& staged)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray path = QFile::encodeName(staged);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = true;
    QCryptographicHash written(QCryptographicHash::Sha256);
    QByteArray chunk;
    while (ok && !(chunk = in.read(1 << 20)).isEmpty()) {
        written.addData(chunk);
        for (qsizetype done = 0; ok && done < chunk.size();) {
            const ssize_t n = ::write(fd, chunk.constData() + done, size_t(chunk.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            ok = n > 0;
            done += n;
        }
    }
    ok = ok && in.error() == QFile::NoError && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok) {
        QFile back(staged);
        ok = back.open(QIODevice::ReadOnly) && hashOf(back) == written.result();
    }
    if (!ok)
        ::unlink(path.constData());
    return ok;
}

bool renameOver(const QString& from, const QString& to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// One group of files: each staged beside its target, then all renamed into place. With keepReplaced the
// files replaced are kept aside until the whole group is in place, so that a failure puts them all back.
class TStagedGroup
{
public:
    explicit TStagedGroup(bool keepReplaced) : m_keepReplaced(keepReplaced) {}
    ~TStagedGroup()
    {
        for (const Item& item : m_items)
            if (!item.placed)
                QFile::remove(item.staged);
    }
    TStagedGroup(const TStagedGroup&) = delete;
    TStagedGroup& operator=(const TStagedGroup&) = delete;

    bool stage(const QString& source, const QString& target)
    {
        if (injectedFault(TCopyStep::Stage, target))
            return false;
        Item item{target, temporaryBeside(target, "stage")};
        if (isTableFile(QFileInfo(target).fileName())) {
            item.journal = target + JournalSuffix;
            try {
                Table::copyTableFile(source, item.staged);
            } catch (const std::exception&) {
                return false;
            }
        } else if (!copyBytes(source, item.staged)) {
            return false;
        }
        m_items.append(item);
        return true;
    }

    bool commit()
    {
        bool ok = true;
        for (Item& item : m_items) {
            if (!place(item)) {
                ok = false;
                break;
            }
        }
        if (!ok)
            putBack();
        for (const Item& item : m_items) {
            for (const QString& aside : {item.aside, item.journalAside})
                if (ok && !aside.isEmpty())
                    QFile::remove(aside);
        }
        if (!m_items.isEmpty())
            syncFolder(QFileInfo(m_items.first().target).absolutePath());
        return ok;
    }

private:
    struct Item
    {
        QString target;
        QString staged;
        QString journal; // the journal a table's target may have beside it
        QString aside;
        QString journalAside;
        bool placed = false;
    };

    bool place(Item& item)
    {
        if (injectedFault(TCopyStep::Replace, item.target))
            return false;
        // A journal left beside the old table would be played onto the new one: it goes first.
        if (!item.journal.isEmpty() && exists(item.journal)) {
            if (m_keepReplaced) {
                item.journalAside = temporaryBeside(item.journal, "aside");
                if (!renameOver(item.journal, item.journalAside)) {
                    item.journalAside.clear();
                    return false;
                }
            } else if (!QFile::remove(item.journal)) {
                return false;
            }
        }
        if (m_keepReplaced && exists(item.target)) {
            item.aside = temporaryBeside(item.target, "aside");
            if (!renameOver(item.target, item.aside)) {
                item.aside.clear();
                return false;
            }
        }
        if (!renameOver(item.staged, item.target))
            return false;
        item.placed = true;
        return true;
    }

    // Every replaced file back where it was; what this group put in place and had no predecessor goes.
    void putBack()
    {
        for (qsizetype i = m_items.size() - 1; i >= 0; --i) {
            Item& item = m_items[i];
            if (!item.aside.isEmpty()) {
                renameOver(item.aside, item.target);
                item.aside.clear();
            } else if (item.placed) {
                QFile::remove(item.target);
            }
            item.placed = false;
            if (!item.journalAside.isEmpty()) {
                renameOver(item.journalAside, item.journal);
                item.journalAside.clear();
            }
        }
    }

    bool m_keepReplaced;
    QList<Item> m_items;
};

// The names of the list that exist in the folder; journals never count: the engine's copy holds their
// committed state.
QStringList presentNames(const QString& folder, const QStringList& names)
{
    QStringList present;
    for (const QString& name : names)
        if (!isJournal(name) && QFileInfo(folder + name).isFile())
            present.append(name);
    return present;
}

QStringList matchingNames(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Backup: each file on its own, counted.
int copyEach(const QString& sourceFolder, const QString& destFolder, const QStringList& names)
{
    int copied = 0;
    for (const QString& name : names) {
        TStagedGroup one(false);
        if (one.stage(sourceFolder + name, destFolder + name) && one.commit())
            ++copied;
    }
    if (copied == names.size())
        return crOk;
    return copied > 0 ? crPartial : crFailed;
}

// Restore: all files or none.
int restoreAll(const QString& sourceFolder, const QString& destFolder, const QStringList& names)
{
    TStagedGroup group(true);
    for (const QString& name : names)
        if (!group.stage(sourceFolder + name, destFolder + name))
            return crFailed;
    return group.commit() ? crOk : crFailed;
}

QStringList firstNames(const QStringList& names, int lastIndex)
{
    return names.mid(0, std::max(0, std::min(lastIndex + 1, int(names.size()))));
}

int worse(int a, int b)
{
    return std::max(a, b);
}

} // namespace

QString CopyResultMark(int code)
{
    switch (code) {
    case crOk:
        return QStringLiteral("○");
    case crPartial:
        return QStringLiteral("△");
    default:
        return QStringLiteral("×");
    }
}

QString CopyResultReason(int code)
{
    switch (code) {
    case crPartial:
        return QStringLiteral("一部失敗");
    case crFailed:
        return QStringLiteral("コピー失敗");
    case crNoFolder:
        return QStringLiteral("フォルダーの作成に失敗");
    default:
        return QString();
    }
}

QStringList AdrsTableFiles()
{
    return familyOf("Adrs.DB");
}
QStringList SenderTableFiles()
{
    return familyOf("Sender.DB");
}
QStringList CategoryTableFiles()
{
    return familyOf("Category.DB");
}
QStringList TargetTableFiles()
{
    return familyOf("Target.DB");
}
QStringList ExceptionTableFiles()
{
    return familyOf("Exception.DB");
}
QStringList OriginalTableFiles()
{
    return familyOf("Original.DB");
}

const QList<TPrintFilePattern>& PrintFilePatterns()
{
    static const QList<TPrintFilePattern> patterns = {
        {QStringLiteral("*.gpl"), QStringLiteral("Layout/"), QStringLiteral("宛名ファイル")},
        {QStringLiteral("*.gpa"), QStringLiteral("Label/"), QStringLiteral("ラベルファイル")},
        {QStringLiteral("*.gpc"), QStringLiteral("Card/"), QStringLiteral("名刺ファイル")},
        {QStringLiteral("*.gpd"), QStringLiteral("Design/"), QStringLiteral("文面ファイル")},
    };
    return patterns;
}

const QStringList& BackupHistoryFileNames()
{
    static const QStringList names = {QStringLiteral("Dptmnt.mtd"),   QStringLiteral("Post.mtd"),
                                      QStringLiteral("Honor.mtd"),    QStringLiteral("Keyword1.mtd"),
                                      QStringLiteral("Keyword2.mtd"), QStringLiteral("Keyword3.mtd")};
    return names;
}

const QStringList& DataFolderFiles()
{
    static const QStringList names = {QStringLiteral("Search.ptn"), QStringLiteral("LPCustom.tpl"),
                                      QStringLiteral("CstmL.fmt"), QStringLiteral("Sender.ini")};
    return names;
}

const QStringList& DataFolderFileLabels()
{
    static const QStringList labels = {
        QStringLiteral("絞り込み条件パターンファイル"), QStringLiteral("一覧表カスタムテンプレートファイル"),
        QStringLiteral("印刷系カスタム用紙ファイル"), QStringLiteral("差出人情報ファイル")};
    return labels;
}

int CopyFiles(const QString& sourceFolder, const QString& destFolder, int lastIndex, const QStringList& names)
{
    if (!QDir().mkpath(destFolder))
        return crNoFolder;
    return copyEach(sourceFolder, destFolder, presentNames(sourceFolder, firstNames(names, lastIndex)));
}

int CopyMatchingFiles(const QString& sourceFolder, const QString& destFolder, const QString& pattern)
{
    const QStringList names = matchingNames(sourceFolder, pattern);
    if (names.isEmpty())
        return crNoFiles;
    if (!QDir().mkpath(destFolder))
        return crNoFolder;
    return copyEach(sourceFolder, destFolder, names);
}

int RestoreFiles(const QString& sourceFolder, const QString& destFolder, int lastIndex,
                 const QStringList& names)
{
    const QStringList present = presentNames(sourceFolder, firstNames(names, lastIndex));
    if (present.isEmpty())
        return crNoFiles;
    if (!QDir().mkpath(destFolder))
        return crNoFolder;
    return restoreAll(sourceFolder, destFolder, present);
}

int RestoreMatchingFiles(const QString& sourceFolder, const QString& destFolder, const QString& pattern)
{
    const QStringList names = matchingNames(sourceFolder, pattern);
    if (names.isEmpty())
        return crNoFiles;
    if (!QDir().mkpath(destFolder))
        return crNoFolder;
    return restoreAll(sourceFolder, destFolder, names);
}

void SetCopyFaultHook(TCopyFaultHook hook)
{
    faultHook() = std::move(hook);
}

QString BackupWorkFolder(TBackupWork work)
{
    static const char* const names[] = {"backup.imp/", "backup.opt/", "backup.kyk/", "backup.cap/",
                                        "backup.rep/"};
    return DataFolder + QLatin1String(names[int(work)]);
}

int BackupWorkFolders(TBackupWork work, const QList<int>& books, bool withSender)
{
    const QString folder = BackupWorkFolder(work);
    int result = crOk;
    for (const int index : books) {
        if (index < 0 || index >= AdrsFolderList.size())
            continue;
        const TAdrsFolderInfo& book = AdrsFolderList[index];
        if (!IsPlainFolderName(book.Name) || !IsPlainFolderName(book.Folder)) {
            result = worse(result, crFailed);
            continue;
        }
        const QStringList names = AdrsTableFiles();
        result = worse(result, CopyFiles(AdrsFolder + book.Folder + QLatin1Char('/'),
                                         folder + QLatin1String("Adrs/") + book.Name + QLatin1Char('/'),
                                         int(names.size()) - 1, names));
    }
    if (withSender) {
        const QStringList names = SenderTableFiles();
        result = worse(
            result, CopyFiles(OtherFolder, folder + QLatin1String("Other/"), int(names.size()) - 1, names));
    }
    return result;
}

int BackupWorkFolders(TBackupWork work)
{
    const bool withSender = work == TBackupWork::Optimize || work == TBackupWork::ConvertKykbn;
    return BackupWorkFolders(work, {CurrentAdrsIndex}, withSender);
}

std::optional<TDiskSpace> DiskSpaceOf(const QString& path)
{
    if (diskSpaceHook())
        return diskSpaceHook()(path);
    const QString folder = DiskSpace::NearestExistingFolder(path);
    if (folder.isEmpty())
        return std::nullopt;
    const TDiskSpace space = DiskSpace::Query(folder);
    if (space.clusterSize == 0)
        return std::nullopt;
    return space;
}

void SetDiskSpaceOverride(std::function<std::optional<TDiskSpace>(const QString& path)> hook)
{
    diskSpaceHook() = std::move(hook);
}

qint64 RoundToCluster(qint64 size, qint64 clusterSize)
{
    if (clusterSize <= 0)
        return size;
    return (size + clusterSize - 1) / clusterSize * clusterSize;
}

QString KilobyteText(qint64 bytes)
{
    return QLocale(QLocale::English).toString((bytes + 1023) / 1024) + QLatin1Char(' ');
}

namespace {

// The folder's real path: the nearest existing folder resolved, the rest cleaned.
QString realFolder(const QString& path)
{
    QString existing = QDir::cleanPath(QDir(path).absolutePath());
    QString rest;
    while (!QFileInfo(existing).exists()) {
        const QFileInfo info(existing);
        const QString parent = info.absolutePath();
        if (parent == existing)
            break;
        rest = info.fileName() + (rest.isEmpty() ? QString() : QLatin1Char('/') + rest);
        existing = parent;
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    const QString base = canonical.isEmpty() ? existing : canonical;
    return QDir::cleanPath(rest.isEmpty() ? base : base + QLatin1Char('/') + rest);
}

} // namespace

bool SameFolder(const QString& a, const QString& b)
{
    return realFolder(a) == realFolder(b);
}
