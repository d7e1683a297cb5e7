// The worker thread of a directory search window: paged search with its page cache, export of every hit to
// a text file, and count, run off the GUI thread through the directory search library. The two windows'
// threads (TSearchCategoryThread, TSearchThread) are this one body, each with its own stop flag and
// progress callback.
//
// Hand-over: while the worker is idle (or blocked in a report) the owner sets the job (SetConditions,
// SetMode, SetNavigation, SetExportFile, SetExportItems), calls PrepareJob and Start; at the end of the job
// the worker calls the owner's handler of the mode on the owner's thread and waits until it returns.
#pragma once

#include "DirRecords.h"
#include "addressbook/Inquiry.h"
#include "platform/Cp932.h"

#include <QFile>
#include <QList>
#include <QMutex>
#include <QThread>
#include <QWaitCondition>

#include <atomic>
#include <stdexcept>

class TDirSearchWorker;

// Job modes and page moves.
enum : int { SearchModeSearch = 0, SearchModeExport = 1, SearchModeCount = 2 };
enum : int { PageMoveNew = 0, PageMoveNext = 1, PageMovePrior = 2, PageMoveAgain = 3 };

// Results of a job besides the library's codes (0 found, 1 nothing, 100 stopped, others the library's).
enum : int {
    SearchExportFileError = 104, // the export file could not be opened or written (ExportFileError says why)
    SearchNoConditions = 105,    // the job has no condition records
};

// What a worker reports to; the window implements it (tests do now).
class ISearchOwner
{
public:
    virtual ~ISearchOwner() = default;
    // The end of a job, on the thread that owns the worker, while the worker waits.
    virtual void SearchDone(TDirSearchWorker& worker) = 0;
    virtual void ExportDone(TDirSearchWorker& worker) = 0;
    virtual void CountDone(TDirSearchWorker& worker) = 0;
    // On the worker thread: kind 0 from inside a library call (rows found so far), kind 1 after a page came
    // in (the hit total). Must not touch widgets.
    virtual void SearchProgress(int kind, int value) {}
};

// "検索結果の取得に失敗しました": a hit asked for outside the page.
class EDirSearchError : public std::runtime_error
{
public:
    EDirSearchError();
};

class TDirSearchWorker : public QThread
{
public:
    // What belongs to one thread class: its stop flag, its callback and the owner its callback reports to.
    struct Unit
    {
        std::atomic<bool>* stopRequested;
        TSearchProgressCallback callback;
        std::atomic<ISearchOwner*>* progressOwner;
    };

    ~TDirSearchWorker() override;

    // ---- owner's thread, worker idle
    void SetOwner(ISearchOwner* owner);
    void SetMode(int mode) { m_mode = mode; }
    void SetNavigation(int move) { m_pageMove = move; }
    // Copies the records and keeps the name lists (CP932, names each followed by ","); every record gets the
    // handle of the pair at offset 8.
    void SetConditions(const QList<TDirSearchCondRec>& records, const AnsiString& include,
                       const AnsiString& exclude);
    void SetExportFile(bool append, const QString& fileName, bool writeHeader);
    void SetExportItems(const QList<TExportItemRec>& items) { m_exportItems = items; }
    // Arms a job: clears the hit total and the stop flag; an export opens its file (ExportFileError says why
    // when it cannot, and the job then ends with SearchExportFileError before any library call).
    void PrepareJob();
    // Wakes the worker for the armed job.
    void Start();
    // Any thread: the running job stops after the library call in progress.
    void RequestStop();
    void CloseExportFile();

    // ---- results, read in a report or while idle
    int Result() const { return m_result; }
    int HitTotal() const { return m_hitTotal; }
    int PageNumber() const { return m_pageNumber; }
    bool FirstPage() const { return m_firstPage; }
    bool LastPage() const { return m_lastPage; }
    int PageSize() const { return int(m_hits.size()); }
    int CachedPageCount() const { return int(m_pageCache.size()); }
    // Row i of the page (0 .. page size - 1); throws EDirSearchError outside it.
    TDirHitRec GetHit(int i) const;
    const QList<TDirSearchCondRec>& Conditions() const { return m_conditions; }
    int LinesWritten() const { return m_linesWritten; }
    const QString& ExportFileError() const { return m_exportError; }
    // Library calls made by searches and exports since the worker was made (counts and lookups excluded).
    int LibraryCalls() const { return m_libraryCalls; }

    // The detail of a hit with the folders of the first condition; the library's code.
    int ReadHitDetail(const AnsiString& number, int32_t key, TDirDetailRec& detail) const;
    AnsiString BuildExportHeader() const;
    AnsiString BuildExportLine(int i) const;
    // The header when still due, then the lines of the first n hits; false when the file cannot be written.
    bool WriteExportLines(int n);

protected:
    TDirSearchWorker(const Unit& unit, ISearchOwner* owner);
    void run() override;

private:
    // Where the search stands: the condition in progress and the library's cursor in it.
    struct Position
    {
        int condIndex = 0;
        TDirCursorRec cursor{};
    };
    struct Page
    {
        QList<TDirHitRec> rows;
    };

    void RunJob();
    void RunSearch();
    void RunExport();
    void RunCount();
    void Report();
    // One library call for the condition in progress; the rows land in m_hits.
    int FetchCall(int32_t& count);
    void NextCondition();
    void CachePage(const QList<TDirHitRec>& rows);
    void ShowPage(int index);
    void ShowRows(const QList<TDirHitRec>& rows);
    bool PastLastCondition() const { return m_pos.condIndex >= m_conditions.size(); }
    void ReleaseNameLists();

    Unit m_unit;
    ISearchOwner* m_owner = nullptr;

    QMutex m_mutex;
    QWaitCondition m_wake;
    bool m_startFlag = false;
    bool m_terminate = false;
    bool m_inJob = false;

    int m_pageNumber = 0;
    bool m_firstPage = true, m_lastPage = true;
    QList<TDirSearchCondRec> m_conditions;
    AnsiString m_include, m_exclude;
    int32_t m_nameLists = 0;
    int m_nameListsResult = 0;
    int m_mode = SearchModeSearch;
    int m_pageMove = PageMoveNew;
    int m_result = 0;
    QList<TDirHitRec> m_hits;
    int m_hitTotal = 0;
    Position m_pos;
    QList<TDirHitRec> m_carry;
    QList<Page> m_pageCache;

    QList<TExportItemRec> m_exportItems;
    bool m_append = false;
    QString m_exportFileName;
    QFile m_exportFile;
    QString m_exportError;
    int m_linesWritten = 0;
    bool m_writeHeader = false;
    int m_libraryCalls = 0;
};

// One thread class: its own stop flag, callback and progress owner.
template <typename Derived> class TSearchWorkerOf : public TDirSearchWorker
{
public:
    static inline std::atomic<bool> SearchStopRequested{false};

    // The library's progress callback of this class: the found count to the owner's progress hook; 0 (stop)
    // once a stop is requested, else -1.
    static int32_t ProgressCallback(int32_t, int32_t found)
    {
        if (ISearchOwner* owner = s_progressOwner.load())
            owner->SearchProgress(0, found);
        return SearchStopRequested.load() ? 0 : -1;
    }

protected:
    explicit TSearchWorkerOf(ISearchOwner* owner)
        : TDirSearchWorker(Unit{&SearchStopRequested, &ProgressCallback, &s_progressOwner}, owner)
    {
    }

private:
    static inline std::atomic<ISearchOwner*> s_progressOwner{nullptr};
};
