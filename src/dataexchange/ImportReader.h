// Reading the import file: CP932 lines, the field count of the first line, and one data line's item texts.
#pragma once

#include "dataexchange/ImportItems.h"

#include <QIODevice>

#include <stdexcept>

// The file could not be read.
class EImportReadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Line by line over a device; CR LF, LF or CR ends a line. Holds one buffer, never the whole file.
class TImportLineReader
{
public:
    explicit TImportLineReader(QIODevice& device) : m_device(device) {}
    // False at the end of the file; throws EImportReadError when the device fails.
    bool ReadLine(AnsiString& line);

private:
    bool fill();

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_end = false;
};

// Commas outside double quotes, double-byte characters passed over.
int CountFieldSeparators(const AnsiString& line);
// The first line's fields with enclosing quotes kept (the preview).
QList<AnsiString> ImportPreviewFields(const AnsiString& firstLine);
// Lines of the file, less one when the first is skipped (never below 0).
qint64 CountImportLines(QIODevice& device, bool skipFirst);

inline constexpr int ImportColumnCountError = 1;

// One data line prepared for storing.
struct TImportLine
{
    int errorCode = 0;          // 0, or ImportColumnCountError
    AnsiString line;            // as read, completed with commas when it was short
    AnsiString matchKey;        // the matching column's field
    std::array<AnsiString, ImportItemCount> itemTexts; // item n at index n - 1
    const AnsiString& Item(int item) const { return itemTexts[std::size_t(item - 1)]; }
};

// Splits the line into columnCount fields and joins every item's parts.
void PrepareImportLine(const AnsiString& line, int columnCount, int matchColumn, const TImportMapping& mapping,
                       TImportLine& out);
