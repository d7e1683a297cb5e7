// The directory search library "Dlkelvor17.dll": reference-counted loading, one wrapper per entry point the
// program calls, the name-list handles of the conditions and the folder fields of the records.
#pragma once

#include "DirRecords.h"
#include "platform/Cp932.h"

#include <QString>

// Codes of the unit besides the library's own (DirRecords.h).
enum : int {
    DirSearchLoadError = 101,
    DirSearchEntryPointError = 102,
    DirSearchNotLoaded = 103,
};

// Entries examined between two progress callbacks.
inline constexpr int32_t DirSearchInterval = 10000;

// Takes one reference first; the first loads folder + "Dlkelvor17.dll" and binds its entry points. Answers
// 0, 101 (a box says so; the reference stays counted) or 102 (a box names the first missing entry point;
// the reference is dropped). Every load is paired with FreeDirSearchLibrary whatever it answered. GUI thread.
int LoadDirSearchLibrary(const QString& folder);
// Drops one reference; the last frees the module. Nothing when none is held.
void FreeDirSearchLibrary();

// Each answers 103 at once while the library is not loaded (nothing touched); else normalises the folder
// fields of the record it is given (trimmed, one final "/"; 92 when one does not fit its 256 bytes), zeroes
// the outputs (the hits over the condition's page size; 92 when that is not 1..200) and answers the
// library's code. Any thread.
int DirSearchArea(TDirSearchCondRec* cond, TDirHitRec* hits, int32_t* count, TDirCursorRec* cursor,
                  int32_t interval, TSearchProgressCallback callback);
int DirSearchAreaCount(TDirSearchCondRec* cond, int32_t* count, int32_t interval,
                       TSearchProgressCallback callback);
// details holds DirTelBlockSize records.
int DirSearchTel(TDirTelRequestRec* request, TDirDetailRec* details, int32_t* count);
int DirSearchTelOne(TDirTelRequestRec* request, TDirDetailRec* detail, int32_t key);

// The handle of an include/exclude name-list pair (CP932, names each followed by ","), for offset 8 of
// the conditions; 0 when both are empty. On failure 0 with *rc the library's code (103 when not loaded).
int32_t OpenDirNameLists(const AnsiString& include, const AnsiString& exclude, int* rc = nullptr);
// Releases a handle of OpenDirNameLists; nothing for 0 or when the library is not loaded.
void CloseDirNameLists(int32_t handle);

// Writes a folder into a 256-byte folder field: CP932, one final "/", zero-terminated. False (field left
// empty) when the folder is not CP932 text or does not fit.
bool SetDirFolderField(char (&field)[256], const QString& folder);
// In place: the text of the field trimmed, one final "/" added when missing; false when that does not fit.
bool NormaliseDirFolderField(char (&field)[256]);

// The data folder of the directory: the installed copy ("Dt00/") or the disc's "Quenrid215/".
QString DirDataFolder(bool hddInstalled, const QString& hddInstallFolder, const QString& discFolder);

// The detail of a hit, with the folders of a condition: the request as the windows and the worker build it,
// and on 0 the number reduced to digits and hyphenated. Answers the library's code.
int ReadDirHitDetail(const TDirSearchCondRec& folders, const AnsiString& number, int32_t key,
                     TDirDetailRec& detail);
