// The restore without its window: the books of a backup folder, the pending operations of the destination's
// "AdrsOp.ini", the choice of each book's folder, and the run with the tables closed.
#pragma once

#include "core/AdrsFolderList.h"
#include "maintenance/BackupLayout.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct TPendingRename
{
    QString oldName;
    QString newName;
    bool operator==(const TPendingRename&) const = default;
};

// The pending operations of a destination's address books.
struct TPendingOps
{
    QList<TPendingRename> fileRenames;  // read from the file, in its order
    QList<TPendingRename> addedRenames; // made by this restore, in the order they were made
    QStringList deletions;              // those naming an existing folder
};

// Reads adrsFolder + "AdrsOp.ini" (adrsFolder with a final "/"); entries that name anything but a folder
// directly under it are dropped.
TPendingOps ReadPendingOps(const QString& adrsFolder);
// Writes [RENAME] back (the file's pairs, then the added ones; "Count" 0 when there are none); [DELETE]
// stays.
bool WritePendingRenames(const QString& adrsFolder, const TPendingOps& ops, QString* error = nullptr);

// What the choice of a book's folder looks at.
struct TRestoreTargetContext
{
    bool currentAffected = false; // restoring into the data folder in use over the open book
    QList<TAdrsFolderInfo> books; // the books of the data folder in use
    std::function<bool(const QString& folderName)> folderExists; // under the destination's "Adrs/"
};

// The folder under the destination's "Adrs/" that the backup's book name goes into. A spare folder
// ("name（n）") gets a pending rename to its name, added to ops.
QString ChooseRestoreFolder(const QString& name, const TRestoreTargetContext& context, TPendingOps& ops);

// The books of a backup folder: the sub-folders of its "Adrs/" that hold "Adrs.db", sorted without regard to
// case.
QStringList RestoreBookNames(const QString& backupFolder);

// True when restoring books into dest replaces the open book's tables.
bool RestoreAffectsCurrentBook(const QString& dest, const QStringList& books);

// The restore of backup folder source into data folder dest: every table of the data module closed, the
// pending operations read, each book's folder chosen, the parts copied group by group, the renames written
// back and the tables opened again, whatever happens on the way.
TCopyReport RunRestore(const QString& source, const QString& dest, const QStringList& books,
                       const QStringList& historyLabels);
