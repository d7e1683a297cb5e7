// The restore's choice of folders, its pending renames and its run with the data module's tables closed.
#include "maintenance/RestoreRun.h"

#include "core/DBInfo.h"
#include "core/MainSettings.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString RenameSection = QStringLiteral("RENAME");
const QString DeleteSection = QStringLiteral("DELETE");
const QString CountKey = QStringLiteral("Count");

bool same(const QString& a, const QString& b)
{
    return TMemIniFile::SameName(a, b);
}

bool contains(const QStringList& list, const QString& name)
{
    return std::any_of(list.begin(), list.end(), [&](const QString& s) { return same(s, name); });
}

QStringList sectionValues(const TMemIniFile& ini, const QString& section)
{
    QStringList values;
    const int count = ini.ReadInteger(section, CountKey, 0);
    for (int i = 1; i <= count; ++i) {
        const QString value = ini.ReadString(section, QString::number(i), QString());
        if (!value.isEmpty())
            values.append(value);
    }
    return values;
}

// Every table object of the data module closed while its files are replaced, and opened again after.
class TTablesClosed
{
public:
    TTablesClosed()
    {
        if (!DMQuenrid215)
            return;
        for (int kind = 0; kind < TDMQuenrid215::TableKindCount; ++kind)
            closeTable(DMQuenrid215->SharedTable(TDMQuenrid215::TTableKind(kind)));
        closeTable(DMQuenrid215->AdrsExclusiveTable());
        closeTable(DMQuenrid215->SenderExclusiveTable());
    }
    ~TTablesClosed()
    {
        for (Table* table : m_closed) {
            try {
                table->setIndexName(QString());
                table->open();
            } catch (const std::exception&) {
                // The caller reconnects and reports a table it cannot open.
            }
        }
    }
    TTablesClosed(const TTablesClosed&) = delete;
    TTablesClosed& operator=(const TTablesClosed&) = delete;

private:
    void closeTable(Table* table)
    {
        if (table && table->active()) {
            table->close();
            m_closed.append(table);
        }
    }
    QList<Table*> m_closed;
};

} // namespace

TPendingOps ReadPendingOps(const QString& adrsFolder)
{
    const TMemIniFile ini(adrsFolder + AdrsOpFileName);
    TPendingOps ops;
    for (const QString& value : sectionValues(ini, RenameSection)) {
        const qsizetype at = value.indexOf(u'/');
        // A rename that names anything but one folder under "Adrs/" is never followed (nor carried out).
        const TPendingRename rename{value.left(at), value.mid(at + 1)};
        if (at >= 0 && IsPlainFolderName(rename.oldName) && IsPlainFolderName(rename.newName))
            ops.fileRenames.append(rename);
    }
    for (const QString& value : sectionValues(ini, DeleteSection))
        if (IsPlainFolderName(value) && QFileInfo(adrsFolder + value).isDir())
            ops.deletions.append(value);
    return ops;
}

bool WritePendingRenames(const QString& adrsFolder, const TPendingOps& ops, QString* error)
{
    TMemIniFile ini(adrsFolder + AdrsOpFileName);
    ini.EraseSection(RenameSection);
    const QList<TPendingRename> renames = ops.fileRenames + ops.addedRenames;
    ini.WriteInteger(RenameSection, CountKey, int(renames.size()));
    for (int i = 0; i < renames.size(); ++i)
        ini.WriteString(RenameSection, QString::number(i + 1),
                        renames[i].oldName + u'/' + renames[i].newName);
    return ini.UpdateFile(error);
}

QString ChooseRestoreFolder(const QString& name, const TRestoreTargetContext& context, TPendingOps& ops)
{
    const auto exists = [&](const QString& folder) {
        return context.folderExists && context.folderExists(folder);
    };
    QString target = name;
    if (context.currentAffected) {
        for (const TAdrsFolderInfo& book : context.books)
            if (book.State != 1 && same(book.Name, name))
                return book.Folder;
        const bool folderTaken = std::any_of(context.books.begin(), context.books.end(),
                                             [&](const TAdrsFolderInfo& b) { return same(b.Folder, name); });
        if (!folderTaken)
            return name;
    } else {
        // Which folder will carry the name once the pending renames are done: the latest rename first.
        QList<TPendingRename> latestFirst = ops.addedRenames;
        std::reverse(latestFirst.begin(), latestFirst.end());
        for (qsizetype i = ops.fileRenames.size() - 1; i >= 0; --i)
            latestFirst.append(ops.fileRenames[i]);
        bool renamed = false;
        for (const TPendingRename& r : latestFirst) {
            if (same(r.newName, target)) {
                target = r.oldName;
                renamed = true;
            }
        }
        if (renamed) {
            if (!contains(ops.deletions, target))
                return target;
            target = name;
            if (!exists(target))
                return target;
        } else if (exists(target)) {
            // Where the folder's name ends once the renames are carried out in their order.
            QString reached = target;
            for (const TPendingRename& r : ops.fileRenames + ops.addedRenames)
                if (same(r.oldName, reached))
                    reached = r.newName;
            if (!contains(ops.deletions, target) && same(reached, target))
                return target;
        } else {
            return target;
        }
    }
    const QList<TPendingRename> renames = ops.fileRenames + ops.addedRenames;
    for (int n = 1;; ++n) {
        const QString candidate = QStringLiteral("%1（%2）").arg(target).arg(n);
        const bool named = std::any_of(renames.begin(), renames.end(),
                                       [&](const TPendingRename& r) { return same(r.newName, candidate); });
        if (!exists(candidate) && !named) {
            ops.addedRenames.append({candidate, target});
            return candidate;
        }
    }
}

QStringList RestoreBookNames(const QString& backupFolder)
{
    const QString adrs = backupFolder + QLatin1String("Adrs/");
    QStringList books;
    for (const QString& entry : QDir(adrs).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QStringList files = QDir(adrs + entry).entryList(QDir::Files | QDir::Hidden | QDir::System);
        if (contains(files, QStringLiteral("Adrs.db")))
            books.append(entry);
    }
    std::sort(books.begin(), books.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return books;
}

bool RestoreAffectsCurrentBook(const QString& dest, const QStringList& books)
{
    return SameFolder(dest, DataFolder) && contains(books, CurrentAdrsName);
}

TCopyReport RunRestore(const QString& source, const QString& dest, const QStringList& books,
                       const QStringList& historyLabels)
{
    const TDataParts to = TDataParts::OfDataFolder(dest, CategoryFolder);
    TRestoreTargetContext context;
    context.currentAffected = RestoreAffectsCurrentBook(dest, books);
    context.books = AdrsFolderList;
    context.folderExists = [&to](const QString& folder) {
        const QFileInfo info(to.adrs + folder);
        return info.exists() || info.isSymLink();
    };

    TTablesClosed closed;
    TPendingOps ops = ReadPendingOps(to.adrs);
    // The renames go back to the file also when the copy is interrupted.
    struct TWriteBack
    {
        const QString& folder;
        const TPendingOps& ops;
        ~TWriteBack() { WritePendingRenames(folder, ops); }
    } writeBack{to.adrs, ops};
    QList<TBookCopy> copies;
    for (const QString& name : books) {
        const QString target = IsPlainFolderName(name) ? ChooseRestoreFolder(name, context, ops) : name;
        copies.append({name, name, target});
    }
    QDir().mkpath(to.adrs);
    return CopyData(TDataParts::OfBackup(source), to, copies, historyLabels, TCopyDirection::Restore);
}
