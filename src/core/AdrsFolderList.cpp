// Building the address-book list and carrying out pending deletions and renames of address books.
#include "core/AdrsFolderList.h"

#include "core/MainSettings.h"
#include "platform/IniFile.h"
#include "platform/TableEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QList<TAdrsFolderInfo> AdrsFolderList;
int CurrentAdrsIndex = -1;

namespace {

struct TPendingRename
{
    QString oldName;
    QString newName;
};

int indexOfName(const QStringList& list, const QString& name)
{
    for (int i = 0; i < list.size(); ++i)
        if (TMemIniFile::SameName(list[i], name))
            return i;
    return -1;
}

bool entryExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The book's table, whatever the case of its file name.
bool holdsAdrsTable(const QString& folder)
{
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    return indexOfName(files, QStringLiteral("Adrs.db")) >= 0;
}

// The lock of the book's table: held while its folder is deleted or moved, so that a book another process
// has open stays pending (its files would vanish under it).
TableFileLock bookLock(const QString& path)
{
    return TableFileLock(path + QStringLiteral("/Adrs.DB"));
}

// Deletes the files directly inside the book's folder, then the folder; true when the folder is gone.
bool deleteBookFolder(const QString& path)
{
    if (QFileInfo(path).isSymLink())
        return QFile::remove(path);
    TableFileLock lock = bookLock(path);
    if (!lock.tryLock())
        return false;
    const QFileInfoList files =
        QDir(path).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& file : files)
        QFile::remove(file.absoluteFilePath());
    QDir().rmdir(path);
    return !entryExists(path);
}

// Another entry of AdrsFolder already answers to the new name (compared without regard to case).
bool renameClashes(const TPendingRename& rename)
{
    const QStringList entries =
        QDir(AdrsFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry != rename.oldName && TMemIniFile::SameName(entry, rename.newName))
            return true;
    return false;
}

// One step: the whole folder is renamed, or nothing changes. True when the rename is done.
bool carryOutRename(const TPendingRename& rename)
{
    const QString oldPath = AdrsFolder + rename.oldName;
    if (!entryExists(oldPath))
        return true;
    if (renameClashes(rename))
        return false;
    TableFileLock lock = bookLock(oldPath);
    if (!lock.tryLock())
        return false;
    return QDir().rename(oldPath, AdrsFolder + rename.newName);
}

} // namespace

bool IsPlainFolderName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name)
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return true;
}

void LoadAddressBookList(bool execute)
{
    AdrsFolderList.clear();
    CurrentAdrsIndex = -1;

    const QString sort = QStringLiteral("SORT");
    const TMemIniFile mng(AdrsFolder + AdrsMngFileName);
    QStringList order;
    for (int i = 1; mng.ValueExists(sort, QString::number(i)); ++i) {
        const QString name = mng.ReadString(sort, QString::number(i), QString());
        if (indexOfName(order, name) < 0)
            order.append(name);
    }

    // Entries naming anything but one folder directly under AdrsFolder are never acted on.
    const QString opPath = AdrsFolder + AdrsOpFileName;
    const TMemIniFile op(opPath);
    const QString del = QStringLiteral("DELETE");
    const QString ren = QStringLiteral("RENAME");
    const QString count = QStringLiteral("Count");
    // A count is believed only as far as the section has keys.
    const auto entries = [&op, &count](const QString& section) {
        return std::min(op.ReadInteger(section, count, 0), int(op.ReadSection(section).size()));
    };
    QStringList deletions;
    for (int i = 1, n = entries(del); i <= n; ++i) {
        const QString name = op.ReadString(del, QString::number(i), QString());
        if (IsPlainFolderName(name) && entryExists(AdrsFolder + name))
            deletions.append(name);
    }
    QList<TPendingRename> renames;
    for (int i = 1, n = entries(ren); i <= n; ++i) {
        const QString value = op.ReadString(ren, QString::number(i), QString());
        const qsizetype slash = value.indexOf(u'/');
        if (slash < 0)
            continue;
        const TPendingRename r{value.left(slash), value.mid(slash + 1)};
        if (IsPlainFolderName(r.oldName) && IsPlainFolderName(r.newName))
            renames.append(r);
    }

    if (execute) {
        QStringList stillDeleting;
        for (const QString& name : deletions) {
            if (deleteBookFolder(AdrsFolder + name)) {
                const int at = indexOfName(order, name);
                if (at >= 0)
                    order.removeAt(at);
            } else {
                stillDeleting.append(name);
            }
        }
        QList<TPendingRename> stillRenaming;
        for (const TPendingRename& r : renames) {
            if (carryOutRename(r)) {
                const int at = indexOfName(order, r.oldName);
                if (at >= 0)
                    order[at] = r.newName;
            } else {
                stillRenaming.append(r);
            }
        }
        deletions = stillDeleting;
        renames = stillRenaming;

        // Replaced whole, never deleted first: a failed write keeps the operations it held.
        if (deletions.isEmpty() && renames.isEmpty()) {
            QFile::remove(opPath);
        } else {
            TMemIniFile pending(opPath);
            pending.Clear();
            if (!deletions.isEmpty()) {
                pending.WriteInteger(del, count, int(deletions.size()));
                for (int i = 0; i < deletions.size(); ++i)
                    pending.WriteString(del, QString::number(i + 1), deletions[i]);
            }
            if (!renames.isEmpty()) {
                pending.WriteInteger(ren, count, int(renames.size()));
                for (int i = 0; i < renames.size(); ++i)
                    pending.WriteString(ren, QString::number(i + 1),
                                        renames[i].oldName + u'/' + renames[i].newName);
            }
            pending.UpdateFile();
        }
    }

    QStringList books;
    for (const QString& entry : QDir(AdrsFolder).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        if (holdsAdrsTable(AdrsFolder + entry))
            books.append(entry);
    std::sort(books.begin(), books.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });

    for (int i = int(order.size()) - 1; i >= 0; --i)
        if (indexOfName(books, order[i]) < 0)
            order.removeAt(i);
    for (int j = 0; j < order.size(); ++j) {
        // The folder's own spelling: names compare without regard to case, the file system does not.
        const int at = indexOfName(books, order[j]);
        const QString folder = at >= 0 ? books.takeAt(at) : order[j];
        books.insert(j, folder);
    }

    for (const QString& book : books) {
        TAdrsFolderInfo info{book, book, 0};
        if (indexOfName(deletions, book) >= 0) {
            info.Name.clear();
            info.State = 1;
        } else {
            QString name = book;
            bool renamed = false;
            for (const TPendingRename& r : renames)
                if (TMemIniFile::SameName(r.oldName, name)) {
                    name = r.newName;
                    renamed = true;
                }
            if (renamed) {
                info.Name = name;
                info.State = 2;
            }
        }
        AdrsFolderList.append(info);
    }
}

bool SaveAddressBookOrder(QString* error)
{
    if (AdrsFolderList.isEmpty())
        return true;
    const QString sort = QStringLiteral("SORT");
    TMemIniFile mng(AdrsFolder + AdrsMngFileName);
    mng.EraseSection(sort);
    for (int i = 0; i < AdrsFolderList.size(); ++i)
        mng.WriteString(sort, QString::number(i + 1), AdrsFolderList[i].Folder);
    return mng.UpdateFile(error);
}
