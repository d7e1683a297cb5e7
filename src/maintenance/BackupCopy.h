// The copy service of the backup and the restore: file groups copied whole and checked, the fixed lists of a
// data folder's parts, the safety-copy folders of the tools, and the free space of a destination.
#pragma once

#include "platform/DiskSpace.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The outcome of one file group.
enum TCopyCode {
    crOk = 0,       // everything found was copied
    crNoFiles = 1,  // nothing to copy: the group gets no result line
    crPartial = 2,  // some copied, some not
    crFailed = 8,   // nothing could be copied
    crNoFolder = 9, // the destination folder could not be created
};

// The mark and the reason shown for a result code ("○"/"△"/"×" and the text of the column "要因").
QString CopyResultMark(int code);
QString CopyResultReason(int code);

// One line of a result list: the group's label and its code.
struct TCopyLine
{
    QString label;
    int code = crOk;
    bool operator==(const TCopyLine&) const = default;
};

// The result lines of one backup or restore, in their three lists.
struct TCopyReport
{
    QList<TCopyLine> tables;
    QList<TCopyLine> printFiles;
    QList<TCopyLine> others;
    QList<TCopyLine> all() const { return tables + printFiles + others; }
};

// The table file families of the copies: each table's file and its journal.
QStringList AdrsTableFiles();
QStringList SenderTableFiles();
QStringList CategoryTableFiles();
QStringList TargetTableFiles();
QStringList ExceptionTableFiles();
QStringList OriginalTableFiles();

// The print files of the four designers: pattern and folder.
struct TPrintFilePattern
{
    QString pattern;
    QString folder; // "Layout/"
    QString label;
};
const QList<TPrintFilePattern>& PrintFilePatterns();
// The six input-history files of "History/" and the four single files directly in the data folder.
const QStringList& BackupHistoryFileNames();
const QStringList& DataFolderFiles();
const QStringList& DataFolderFileLabels();

// Copies names[0..lastIndex] from sourceFolder to destFolder (both with a final "/"), creating destFolder
// with its parents when missing (crNoFolder when that fails). Names missing in the source are passed over.
// Each file is written under a temporary name, checked and renamed over its target: a table through the
// engine's consistent copy, any other file as bytes. crOk when every file found was copied (also when none
// was found), crPartial when some were, crFailed when none were. A failed copy leaves no file behind.
int CopyFiles(const QString& sourceFolder, const QString& destFolder, int lastIndex,
              const QStringList& names);
// Copies the files of sourceFolder that match pattern the same way; crNoFiles when none matches.
int CopyMatchingFiles(const QString& sourceFolder, const QString& destFolder, const QString& pattern);
// Restores names[0..lastIndex] from sourceFolder into destFolder as one group: crNoFiles when the source
// holds none of them, crNoFolder as above; otherwise every file is staged beside its target and checked
// first, then renamed over it, each replaced file kept aside until the group is complete. Any failure puts
// back every replaced file and removes what was staged (crFailed). Restored files are plain writable files.
int RestoreFiles(const QString& sourceFolder, const QString& destFolder, int lastIndex,
                 const QStringList& names);
// The same for the files matching pattern (crNoFiles when none matches).
int RestoreMatchingFiles(const QString& sourceFolder, const QString& destFolder, const QString& pattern);

// Test hook: asked before each step of a single file; true makes the step fail. Staging writes the file
// beside its target; replacing renames it over the target.
enum class TCopyStep { Stage, Replace };
using TCopyFaultHook = std::function<bool(TCopyStep step, const QString& target)>;
void SetCopyFaultHook(TCopyFaultHook hook);

// The safety-copy folders of the tools that change tables, each directly in the data folder.
enum class TBackupWork { Import, Optimize, ConvertKykbn, ConvertAdrsPos, RepairIndex };
// DataFolder + "backup.imp/" and so on.
QString BackupWorkFolder(TBackupWork work);
// Copies the tables a tool is about to change into its folder: the Adrs tables of the given books
// (indexes of AdrsFolderList) into "Adrs/" + the book's name + "/", and with withSender the sender table into
// "Other/". Files of the same names from an earlier run are overwritten, other files stay. Answers the worst
// group result (callers may ignore it).
int BackupWorkFolders(TBackupWork work, const QList<int>& books, bool withSender);
// The tool's usual copy: the current book, and the sender table for the pack and the prefix conversion.
int BackupWorkFolders(TBackupWork work);

// The file system of a destination: its allocation unit and the bytes free to the user.
using TDiskSpace = DiskSpace::TVolumeSpace;
// Asked of the nearest existing folder of path; nothing for a path that is not absolute or when the file
// system cannot be asked.
std::optional<TDiskSpace> DiskSpaceOf(const QString& path);
// Test hook: answers in place of the file system (empty restores it).
void SetDiskSpaceOverride(std::function<std::optional<TDiskSpace>(const QString& path)> hook);

// size rounded up to whole clusters (the size itself when the cluster size is 0).
qint64 RoundToCluster(qint64 size, qint64 clusterSize);
// A size in kilobytes, rounded up, with thousands separators and one blank after it ("1,234 ").
QString KilobyteText(qint64 bytes);

// True when both name the same folder: symbolic links resolved, a missing folder compared by its clean path.
bool SameFolder(const QString& a, const QString& b);
