// The list of address books under AdrsFolder, their user order ("AdrsMng.ini") and the deletions and renames
// left pending ("AdrsOp.ini").
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

struct TAdrsFolderInfo
{
    QString Name;   // shown name; empty while a deletion is pending, the new name while a rename is pending
    QString Folder; // the book's folder under AdrsFolder
    uint8_t State = 0; // 0 normal, 1 deletion pending, 2 rename pending
};

extern QList<TAdrsFolderInfo> AdrsFolderList;
extern int CurrentAdrsIndex;

inline const QString AdrsMngFileName = QStringLiteral("AdrsMng.ini");
inline const QString AdrsOpFileName = QStringLiteral("AdrsOp.ini");

// True for a single plain folder name: not empty, no "/" or "\", not "." or "..", no control characters.
bool IsPlainFolderName(const QString& name);

// Rebuilds AdrsFolderList from AdrsFolder. With execute, pending deletions and renames are carried out first
// and "AdrsOp.ini" is rewritten to hold exactly those still pending.
void LoadAddressBookList(bool execute);
// Rewrites "AdrsMng.ini" [SORT] with the folders of AdrsFolderList in its order (nothing when the list is
// empty); false with the reason in *error when the file cannot be written.
bool SaveAddressBookOrder(QString* error = nullptr);
