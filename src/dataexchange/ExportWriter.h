// The text export writer: the header line, one comma-separated line per record of the range, the value rule
// of every item, and the file the lines go to (CP932, CR LF, replacing its target only when complete).
#pragma once

#include "addressbook/Inquiry.h"
#include "dataexchange/ExportItems.h"
#include "dataexchange/RecordRange.h"

#include <QSaveFile>

#include <functional>
#include <stdexcept>

struct TExportOptions
{
    bool OutHeader = true;
    bool BindDblQuote = false;
    bool EditHyphen = true;
    bool EditTel = true;
    bool EditFax = true;
    bool EditPos = true;
    bool EditPortable1 = true;
    bool EditPortable2 = true;
};

// What the values need besides the row.
struct TExportContext
{
    TExportOptions Options;
    QStringList GroupNames; // entry 0 "指定なし", entries 1..10 the groups
    QStringList KeywordNames;
    QStringList ProtectMemoNames;
    THyphenateFunc Hyphenate;                      // trimmed digits → hyphenated (or unchanged)
    std::function<QString(qint32)> SenderTitle;    // by Sender.DB RecNo; empty when unknown
    std::function<QString(int)> MajorCategoryName; // empty when it has none
    std::function<QString(int, int)> MinorCategoryName;
};

// A protected value that does not decipher to its stored length.
class EExportDecipherError : public std::runtime_error
{
public:
    explicit EExportDecipherError(qint32 recNo)
        : std::runtime_error("protected value does not decipher"), RecNo(recNo)
    {
    }
    qint32 RecNo;
};

// The output text file could not be written.
class EExportWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The text of one item of the positioned row.
QString ExportValue(int item, const TAdrsRow& row, const TExportContext& context);
// The captions without blanks, "," before a column, "＋" before a joined entry.
AnsiString BuildHeaderLine(const TExportLayout& layout, const TExportContext& context);
// The line of the row, without line end, as CP932 ("?" for characters CP932 lacks).
AnsiString BuildRecordLine(const TExportLayout& layout, const TAdrsRow& row, const TExportContext& context);

// Writes the header line when asked and one line per record of the range; step runs after each record
// line. Answers the record lines written.
int WriteRecords(const TExportLayout& layout, const TExportContext& context, const TRecordRange& range,
                 const TAddressListRows& rows, TAdrsTableCursor& cursor,
                 const std::function<void(const AnsiString&)>& writeLine, const std::function<void()>& step);

// The output file: lines go into a temporary file beside the target that replaces it only on Commit.
// Appending starts the temporary file with the target's bytes.
class TExportTextFile
{
public:
    explicit TExportTextFile(const QString& target) : m_file(target) {}
    bool Open(bool append, QString* error);
    // Throws EExportWriteError.
    void WriteLine(const AnsiString& line);
    bool Commit(QString* error);
    void Discard() { m_file.cancelWriting(); }

private:
    QSaveFile m_file;
};
