// The directory search worker: job hand-over, paged search, export and count.
#include "search/SearchWorker.h"

#include "core/MainSettings.h"
#include "search/DicWrapper.h"
#include "search/DirExportLine.h"
#include "search/Dlkelvor17.h"

#include <QMetaObject>

#include <algorithm>
#include <cstring>

namespace {

// The cursor of a job's first condition: zero but for -1 at offsets 36 and 40.
TDirCursorRec FirstCursor()
{
    TDirCursorRec c;
    std::memset(&c, 0, sizeof c);
    const int32_t minusOne = -1;
    std::memcpy(c.State + 36, &minusOne, 4);
    c.Finished = -1;
    return c;
}

TDirCursorRec ZeroCursor()
{
    TDirCursorRec c;
    std::memset(&c, 0, sizeof c);
    return c;
}

QList<TDirHitRec> ZeroHits(int n)
{
    TDirHitRec blank;
    std::memset(&blank, 0, sizeof blank);
    return QList<TDirHitRec>(n, blank);
}

} // namespace

EDirSearchError::EDirSearchError() : std::runtime_error("検索結果の取得に失敗しました") {}

TDirSearchWorker::TDirSearchWorker(const Unit& unit, ISearchOwner* owner) : m_unit(unit)
{
    LoadDirSearchLibrary(ProgramFolder);
    SetOwner(owner);
    m_pageCache.reserve(100);
    start();
}

TDirSearchWorker::~TDirSearchWorker()
{
    bool inJob = false;
    {
        QMutexLocker lock(&m_mutex);
        m_terminate = true;
        inJob = m_inJob;
        m_wake.wakeAll();
    }
    // A job still running (the owner never ends one so) stops after its call and reports to no one. The
    // stop flag is shared by the workers of the class: an idle one leaves it alone, or another's job stops.
    if (inJob)
        RequestStop();
    wait();
    if (m_unit.progressOwner->load() == m_owner)
        m_unit.progressOwner->store(nullptr);
    CloseExportFile();
    ReleaseNameLists();
    FreeDirSearchLibrary();
}

void TDirSearchWorker::SetOwner(ISearchOwner* owner)
{
    m_owner = owner;
    m_unit.progressOwner->store(owner);
}

void TDirSearchWorker::ReleaseNameLists()
{
    CloseDirNameLists(m_nameLists);
    m_nameLists = 0;
}

void TDirSearchWorker::SetConditions(const QList<TDirSearchCondRec>& records, const AnsiString& include,
                                     const AnsiString& exclude)
{
    ReleaseNameLists();
    m_conditions = records;
    m_include = include;
    m_exclude = exclude;
    m_nameLists = OpenDirNameLists(m_include, m_exclude, &m_nameListsResult);
    for (TDirSearchCondRec& c : m_conditions)
        c.NameLists = m_nameLists;
}

void TDirSearchWorker::SetExportFile(bool append, const QString& fileName, bool writeHeader)
{
    m_append = append;
    m_exportFileName = fileName;
    m_writeHeader = writeHeader;
}

void TDirSearchWorker::PrepareJob()
{
    m_hitTotal = 0;
    m_unit.stopRequested->store(false);
    if (m_mode != SearchModeExport)
        return;
    m_linesWritten = 0;
    m_exportError.clear();
    CloseExportFile();
    m_exportFile.setFileName(m_exportFileName);
    const QIODevice::OpenMode mode =
        m_append ? QIODevice::WriteOnly | QIODevice::Append : QIODevice::WriteOnly | QIODevice::Truncate;
    if (m_exportFileName.isEmpty() || !m_exportFile.open(mode))
        m_exportError = m_exportFileName + QStringLiteral("\r\n") + m_exportFile.errorString();
}

void TDirSearchWorker::Start()
{
    QMutexLocker lock(&m_mutex);
    m_startFlag = true;
    m_wake.wakeAll();
}

void TDirSearchWorker::RequestStop()
{
    m_unit.stopRequested->store(true);
}

void TDirSearchWorker::CloseExportFile()
{
    if (m_exportFile.isOpen())
        m_exportFile.close();
}

TDirHitRec TDirSearchWorker::GetHit(int i) const
{
    if (i < 0 || i >= m_hits.size())
        throw EDirSearchError();
    return m_hits[i];
}

void TDirSearchWorker::run()
{
    for (;;) {
        {
            QMutexLocker lock(&m_mutex);
            while (!m_startFlag && !m_terminate)
                m_wake.wait(&m_mutex);
            if (m_terminate)
                return;
            m_startFlag = false;
            m_inJob = true;
        }
        RunJob();
        Report();
        QMutexLocker lock(&m_mutex);
        m_inJob = false;
    }
}

void TDirSearchWorker::RunJob()
{
    if (m_conditions.isEmpty()) {
        m_result = SearchNoConditions;
        return;
    }
    // Name lists the library did not take: searching without them would answer too much.
    if (m_nameListsResult != KELVOR_OK && (!m_include.isEmpty() || !m_exclude.isEmpty())) {
        m_result = m_nameListsResult;
        return;
    }
    switch (m_mode) {
    case SearchModeSearch:
        RunSearch();
        break;
    case SearchModeExport:
        RunExport();
        break;
    case SearchModeCount:
        RunCount();
        break;
    default:
        break;
    }
}

void TDirSearchWorker::Report()
{
    ISearchOwner* owner = m_owner;
    {
        QMutexLocker lock(&m_mutex);
        if (!owner || m_terminate)
            return;
    }
    auto call = [this, owner] {
        switch (m_mode) {
        case SearchModeSearch:
            owner->SearchDone(*this);
            break;
        case SearchModeExport:
            owner->ExportDone(*this);
            break;
        case SearchModeCount:
            owner->CountDone(*this);
            break;
        default:
            break;
        }
    };
    QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
}

int TDirSearchWorker::FetchCall(int32_t& count)
{
    count = 0;
    if (m_pos.condIndex < 0 || m_pos.condIndex >= m_conditions.size())
        return SearchNoConditions;
    ++m_libraryCalls;
    int rc = DirSearchArea(&m_conditions[m_pos.condIndex], m_hits.data(), &count, &m_pos.cursor,
                           DirSearchInterval, m_unit.callback);
    count = std::clamp<int32_t>(count, 0, int32_t(m_hits.size()));
    if (m_unit.stopRequested->load())
        rc = KELVOR_STOPPED;
    return rc;
}

void TDirSearchWorker::NextCondition()
{
    ++m_pos.condIndex;
    m_pos.cursor = ZeroCursor();
}

void TDirSearchWorker::CachePage(const QList<TDirHitRec>& rows)
{
    m_pageCache.append(Page{rows});
}

void TDirSearchWorker::ShowRows(const QList<TDirHitRec>& rows)
{
    m_hits = ZeroHits(int(m_hits.size()));
    const int n = std::min(int(rows.size()), int(m_hits.size()));
    for (int i = 0; i < n; ++i)
        m_hits[i] = rows[i];
    m_hitTotal = n;
}

void TDirSearchWorker::ShowPage(int index)
{
    ShowRows(m_pageCache[index].rows);
}

// The search keeps one invariant between calls: every row fetched so far lies in the cached pages or the
// carry, and the position is where the library goes on after them. A stopped or failed call leaves both as
// they were before it, so that running the page again neither loses nor repeats rows.
void TDirSearchWorker::RunSearch()
{
    const int pageSize = m_conditions.first().PageSize;
    if (pageSize < 1 || pageSize > DirMaxPageSize) {
        m_result = KELVOR_BAD_ARGUMENT;
        return;
    }
    switch (m_pageMove) {
    case PageMoveNew:
        m_pageNumber = 1;
        m_firstPage = m_lastPage = true;
        m_pos = Position{0, FirstCursor()};
        m_hits = ZeroHits(pageSize);
        m_carry.clear();
        m_pageCache.clear();
        m_pageCache.reserve(100);
        for (TDirSearchCondRec& c : m_conditions)
            c.Continuation = 0;
        break;
    case PageMoveNext:
        ++m_pageNumber;
        break;
    case PageMovePrior:
        m_pageNumber = std::max(1, m_pageNumber - 1);
        break;
    default:
        break;
    }
    if (m_hits.size() != pageSize)
        m_hits = ZeroHits(pageSize);
    m_result = KELVOR_OK;

    // Fetch until the page is cached and a row beyond it is known, or the conditions are done.
    auto pageAndMore = [&] {
        return m_pageCache.size() > m_pageNumber ||
               (m_pageCache.size() == m_pageNumber && !m_carry.isEmpty());
    };
    while (!PastLastCondition() && !pageAndMore()) {
        const Position before = m_pos;
        int32_t count = 0;
        const int rc = FetchCall(count);
        if (rc == KELVOR_OK) {
            m_hitTotal += count;
            m_carry.append(m_hits.mid(0, count));
            while (m_carry.size() >= pageSize) {
                CachePage(m_carry.mid(0, pageSize));
                m_carry.remove(0, pageSize);
            }
            if (m_owner)
                m_owner->SearchProgress(1, m_hitTotal);
            if (m_pos.cursor.Finished != 0)
                NextCondition();
            else
                m_conditions[m_pos.condIndex].Continuation = 1;
        } else if (rc == KELVOR_NONE) {
            NextCondition();
        } else {
            const QList<TDirHitRec> interrupted = m_hits.mid(0, count);
            m_pos = before;
            m_result = rc;
            if (rc != KELVOR_STOPPED) {
                ShowRows({});
                return;
            }
            // Stopped: the page when it is cached already, else what came in of it so far.
            if (m_pageCache.size() >= m_pageNumber)
                ShowPage(m_pageNumber - 1);
            else
                ShowRows(m_carry + interrupted);
            m_firstPage = m_pageNumber == 1;
            return;
        }
    }
    if (PastLastCondition() && !m_carry.isEmpty()) {
        CachePage(m_carry);
        m_carry.clear();
    }
    if (m_pageCache.size() >= m_pageNumber) {
        ShowPage(m_pageNumber - 1);
    } else {
        m_result = KELVOR_NONE;
        ShowRows({});
    }
    m_firstPage = m_pageNumber == 1;
    m_lastPage = PastLastCondition() && m_carry.isEmpty() && m_pageNumber >= m_pageCache.size();
}

void TDirSearchWorker::RunExport()
{
    if (!m_exportFile.isOpen()) {
        m_result = SearchExportFileError;
        return;
    }
    const int pageSize = m_conditions.first().PageSize;
    if (pageSize < 1 || pageSize > DirMaxPageSize) {
        m_result = KELVOR_BAD_ARGUMENT;
        return;
    }
    m_pos = Position{0, FirstCursor()};
    m_hits = ZeroHits(pageSize);
    int rc = KELVOR_NONE;
    while (!PastLastCondition()) {
        int32_t count = 0;
        rc = FetchCall(count);
        m_hitTotal += count;
        if (rc == KELVOR_OK) {
            if (m_owner)
                m_owner->SearchProgress(1, m_hitTotal);
            if (!WriteExportLines(count)) {
                rc = SearchExportFileError;
                break;
            }
            if (m_pos.cursor.Finished != 0)
                NextCondition();
            else
                m_conditions[m_pos.condIndex].Continuation = 1;
        } else if (rc == KELVOR_NONE) {
            NextCondition();
        } else {
            if (rc == KELVOR_STOPPED && !WriteExportLines(count))
                rc = SearchExportFileError;
            break;
        }
    }
    m_result = rc == KELVOR_NONE && m_hitTotal > 0 ? KELVOR_OK : rc;
}

void TDirSearchWorker::RunCount()
{
    int rc = KELVOR_NONE;
    for (int i = 0; i < m_conditions.size(); ++i) {
        int32_t count = 0;
        rc = DirSearchAreaCount(&m_conditions[i], &count, DirSearchInterval, m_unit.callback);
        if (m_unit.stopRequested->load())
            rc = KELVOR_STOPPED;
        if (rc != KELVOR_OK && rc != KELVOR_NONE)
            break;
        m_hitTotal += std::max<int32_t>(count, 0);
    }
    if (rc == KELVOR_OK || rc == KELVOR_NONE)
        rc = m_hitTotal > 0 ? KELVOR_OK : KELVOR_NONE;
    m_result = rc;
}

int TDirSearchWorker::ReadHitDetail(const AnsiString& number, int32_t key, TDirDetailRec& detail) const
{
    if (m_conditions.isEmpty())
        return KELVOR_BAD_ARGUMENT;
    return ReadDirHitDetail(m_conditions.first(), number, key, detail);
}

AnsiString TDirSearchWorker::BuildExportHeader() const
{
    return DirExportHeader(m_exportItems);
}

AnsiString TDirSearchWorker::BuildExportLine(int i) const
{
    const TDirHitRec hit = GetHit(i);
    if (DirExportNeedsDetail(m_exportItems)) {
        TDirDetailRec detail;
        if (ReadHitDetail(FieldText(hit.Tel), hit.DetailKey, detail) == KELVOR_OK)
            return DirExportLine(hit, &detail, m_exportItems);
    }
    return DirExportLine(hit, nullptr, m_exportItems);
}

bool TDirSearchWorker::WriteExportLines(int n)
{
    int lines = 0;
    const AnsiString text = DirExportText(
        m_exportItems, m_writeHeader, n, [this](int i) { return BuildExportLine(i); }, lines);
    if (!text.isEmpty() && m_exportFile.write(text) != text.size()) {
        m_exportError = m_exportFileName + QStringLiteral("\r\n") + m_exportFile.errorString();
        return false;
    }
    m_linesWritten += lines;
    return true;
}
