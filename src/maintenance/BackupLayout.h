// The layout of a backup folder: which parts of a data folder go where, their result lines, the needed size,
// and the copy of the whole in either direction.
#pragma once

#include "maintenance/BackupCopy.h"

#include <QList>
#include <QString>
#include <QStringList>

// Where the parts of one data folder lie, each with a final "/": a data folder in use (its category tables
// in the machine's category folder) or a backup folder (all inside it).
struct TDataParts
{
    QString root; // the four single files; the print folders lie below it
    QString adrs;
    QString other;
    QString history;
    QString category;

    static TDataParts OfDataFolder(const QString& dataFolder, const QString& categoryFolder);
    static TDataParts OfBackup(const QString& folder);
};

// One address book to copy: the label of its result lines and its folder names under the two "Adrs/".
struct TBookCopy
{
    QString label;
    QString source;
    QString target;
};

// The books a backup copies: those of AdrsFolderList not pending deletion, each stored under its name.
QList<TBookCopy> BackupBooks();
// The labels of the six history files; keywordNames are the user's names of the eight keyword items.
QStringList HistoryLabels(const QStringList& keywordNames);

// The bytes the copy of these parts takes, each file rounded up to whole clusters.
qint64 MeasureData(const TDataParts& from, const QList<TBookCopy>& books, qint64 clusterSize);

enum class TCopyDirection { Backup, Restore };
// Copies the parts group by group and answers the result lines. A restore stages each group and leaves
// out the groups the source does not hold; a book whose target is no plain folder name is not copied.
TCopyReport CopyData(const TDataParts& from, const TDataParts& to, const QList<TBookCopy>& books,
                     const QStringList& historyLabels, TCopyDirection direction);
