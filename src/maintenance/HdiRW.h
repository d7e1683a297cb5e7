// The hard-disk install record "Quenrid215.hdi": its in-memory form, its reader and its writer.
#pragma once

#include "platform/Cp932.h"

#include <QString>
#include <array>
#include <cstdint>

// Entries a record holds, and the longest path an entry may carry.
constexpr int InstallEntryCount = 7;
constexpr int InstallPathMax = 260;
constexpr int InstallTagMax = 22;

struct TInstallEntry
{
    int32_t Length = -1; // -1 unused, 0 installed in DataRootFolder, above 0 the byte length of Path
    AnsiString Path;     // folder holding "Dt00/" (CP932 bytes)
};

struct TInstallRecord
{
    QString FilePath; // the record file
    AnsiString Tag;   // the program's identity; a file with another tag is refused
    uint8_t Count = 0;
    std::array<TInstallEntry, InstallEntryCount> Entries;
};

// Results of ReadInstallRecord.
enum TInstallReadResult {
    irOk = 0,
    irNoFile = 1,
    irTagLength = 2,    // the tag length cannot be read
    irTagShort = 3,     // the tag is cut short
    irOtherProgram = 4, // the stored tag differs from the record's tag
    irCount = 5,        // the entry count cannot be read
    irEntryNumber = 6,  // an entry number cannot be read
    irOutOfRange = 7,   // an entry number above 6 or a path length outside -1..260: a damaged record
    irPathLength = 8,   // a path length cannot be read
    irPathShort = 9,    // a path is cut short
};

// Reads the file named in record.FilePath into the record and checks its tag against record.Tag. All entries
// are set unused before anything is read. The file is only read.
int ReadInstallRecord(TInstallRecord& record);

// Results of WriteInstallRecord.
enum TInstallWriteResult {
    iwOk = 0,
    iwNoFile = 1,    // the file must exist and does not; nothing written
    iwTagLength = 2, // the file could not be written (its first byte, the tag length, did not reach it)
};

// Writes the record whole and atomically into record.FilePath: the tag, then one entry for each entry in use
// (length 0 or more), in entry order. With mustExist the file is only replaced, never created.
int WriteInstallRecord(const TInstallRecord& record, bool mustExist);
// WriteInstallRecord without the must-exist check.
inline int SaveInstallRecord(const TInstallRecord& record)
{
    return WriteInstallRecord(record, false);
}
// The bytes WriteInstallRecord writes.
QByteArray InstallRecordBytes(const TInstallRecord& record);

// The byte scramble of the record's texts: each byte becomes the complement of itself with its halves
// swapped. The rule is its own inverse.
QByteArray ScrambleInstallText(const QByteArray& bytes);
inline QByteArray UnscrambleInstallText(const QByteArray& bytes)
{
    return ScrambleInstallText(bytes);
}
