// The import run: each data line appended or matched and updated, refused lines written to "InError.txt".
#pragma once

#include "dataexchange/ImportConvert.h"
#include "dataexchange/ImportReader.h"

#include <QCoreApplication>

class THistoryData;

namespace ImportError {
inline constexpr int Stored = 0;
inline constexpr int Stop = 9;
inline constexpr int ColumnCount = 1;
inline constexpr int AppendBadCode = 11;
inline constexpr int AppendCodeUsed = 12;
inline constexpr int AppendRefused = 19;
inline constexpr int UpdateSame = 21;
inline constexpr int UpdateNoMatch = 22;
inline constexpr int UpdateBadCode = 23;
inline constexpr int UpdateCodeUsed = 24;
inline constexpr int UpdateRefused = 29;
inline constexpr int Other = 99;
} // namespace ImportError

// The reason text of an error line.
QString ImportErrorReason(int code);

inline constexpr qint64 ImportRecordLimit = 100000;

// The Adrs.DB operations of a run.
class TImportTable
{
public:
    virtual ~TImportTable() = default;
    virtual qint64 RecordCount() = 0;
    // RecNo of the first record with the code in index order.
    virtual std::optional<qint32> FindCustomCode(const AnsiString& code) = 0;
    virtual std::optional<TAdrsDataRec> ReadRecord(qint32 recNo) = 0;
    // False when the table refuses the row; nothing of it is stored then.
    virtual bool Append(const TAdrsDataRec& rec) = 0;
    virtual bool Update(const TAdrsDataRec& rec) = 0;
    virtual void Begin() = 0;
    virtual void Commit() = 0;
};

// The input histories fed by stored lines: changed in memory, each changed list saved once at the end.
class TImportHistories
{
public:
    // Department, post, honorific and keyword 6..8 lists; a null list is passed over.
    explicit TImportHistories(std::array<THistoryData*, 6> lists) : m_lists(lists) {}
    void Add(const TImportLine& line);
    // Saves the changed lists; false when one could not be written.
    bool Save();

private:
    void put(int list, const AnsiString& text);

    std::array<THistoryData*, 6> m_lists;
    std::array<bool, 6> m_changed{};
};

// "InError.txt": emptied by the first error of a run, owner-only since it holds protected columns.
class TImportErrorFile
{
public:
    explicit TImportErrorFile(QString path) : m_path(std::move(path)) {}
    // Throws EImportReadError when the file cannot be written.
    void Write(qint64 lineNumber, int code, const AnsiString& line);
    bool Written() const { return m_written; }

private:
    QString m_path;
    bool m_written = false;
};

struct TImportRunSettings
{
    bool update = false;
    bool matchByRecNo = true; // update: "レコード番号"; otherwise "顧客コード"
    bool skipFirst = false;
    int columnCount = 1;
    int matchColumn = 0;
    TImportOptions options;
};

struct TImportRunResult
{
    qint64 readCount = 0;
    qint64 doneCount = 0;
    bool limitReached = false;
    QString failure; // why the run stopped early; empty when it read the whole file
};

// 0, -1 (a character not allowed) or -2 (another record holds the code).
int CheckCustomCode(const AnsiString& item2, std::optional<qint32> ownRecNo, TImportTable& table);

class TImportRun
{
    Q_DECLARE_TR_FUNCTIONS(TImportRun)

public:
    TImportRun(const TImportRunSettings& settings, const TImportMapping& mapping, const TImportLookups& lookups,
               TImportTable& table, TImportErrorFile& errors, TImportHistories& histories)
        : m_settings(settings), m_mapping(mapping), m_lookups(lookups), m_table(table), m_errors(errors),
          m_histories(histories)
    {
    }

    // Reads the file to its end or to the limit; stored lines are committed every 1,000 lines and at the end,
    // also when a failure ends the run early. progress gets the lines read so far.
    TImportRunResult Run(QIODevice& file, const std::function<void(qint64)>& progress = {});

    int AppendRecord(const TImportLine& line);
    int UpdateRecord(const TImportLine& line);

private:
    const TImportRunSettings& m_settings;
    const TImportMapping& m_mapping;
    const TImportLookups& m_lookups;
    TImportTable& m_table;
    TImportErrorFile& m_errors;
    TImportHistories& m_histories;
    qint64 m_tableCount = 0;
};
