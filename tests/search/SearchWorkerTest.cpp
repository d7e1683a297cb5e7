// Tests of the search worker threads over the fixture data: paging and its cache, stops, counts, exports.
#include "search/DirSearchFixture.h"

#include "search/DirExportLine.h"
#include "search/SchCtgryThred.h"
#include "search/SchThred.h"

#include <QEventLoop>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// Records the end of each job. A stop can be asked before the job starts (the first call is stopped) or
// when the n-th page of the job came in (the call after it is stopped).
class Owner : public ISearchOwner
{
public:
    void SearchDone(TDirSearchWorker& w) override { done(w, SearchModeSearch); }
    void ExportDone(TDirSearchWorker& w) override { done(w, SearchModeExport); }
    void CountDone(TDirSearchWorker& w) override { done(w, SearchModeCount); }
    void SearchProgress(int kind, int) override
    {
        if (kind == 1 && stopAfterPages > 0 && ++pages == stopAfterPages && worker)
            worker->RequestStop();
    }

    // Arms the job, starts it and runs the event loop until its report came.
    void run(TDirSearchWorker& w)
    {
        worker = &w;
        pages = 0;
        reported = -1;
        w.PrepareJob();
        if (stopAfterPages == 0)
            w.RequestStop();
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(60000, &loop, [&] {
            ADD_FAILURE() << "no report";
            loop.quit();
        });
        w.Start();
        if (reported < 0)
            loop.exec();
        m_loop = nullptr;
    }

    int reported = -1; // mode of the last report
    int reports = 0;
    int stopAfterPages = -1; // -1 never
    std::atomic<int> pages{0};
    TDirSearchWorker* worker = nullptr;
    bool onOwnerThread = false;

private:
    void done(TDirSearchWorker& w, int mode)
    {
        onOwnerThread = QThread::currentThread() == w.thread();
        reported = mode;
        ++reports;
        if (m_loop)
            m_loop->quit();
    }
    QEventLoop* m_loop = nullptr;
};

QStringList Tels(const TDirSearchWorker& w)
{
    QStringList out;
    for (int i = 0; i < w.HitTotal(); ++i)
        out << Text(w.GetHit(i).Tel);
    return out;
}

QStringList Range(const char* prefix, int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QString::asprintf("%s%04d", prefix, i);
    return out;
}

QList<TDirSearchCondRec> Conds(std::initializer_list<const char*> areas, int pageSize = 20)
{
    QList<TDirSearchCondRec> out;
    for (const char* a : areas)
        out << DirCond(a, pageSize);
    return out;
}

class SearchWorkerTest : public DirSearchTest
{
protected:
    void TearDown() override
    {
        worker.reset();
        DirSearchTest::TearDown();
    }

    TDirSearchWorker& Make(QList<TDirSearchCondRec> conds, int mode = SearchModeSearch)
    {
        worker = std::make_unique<TSearchCategoryThread>(&owner);
        worker->SetConditions(conds, "", "");
        worker->SetMode(mode);
        worker->SetNavigation(PageMoveNew);
        return *worker;
    }
    void Move(int move)
    {
        worker->SetNavigation(move);
        owner.run(*worker);
    }

    Owner owner;
    std::unique_ptr<TDirSearchWorker> worker;
};

} // namespace

TEST_F(SearchWorkerTest, PagesGatherRowsAcrossConditions)
{
    // 7, 0 and 30 rows: page 1 holds the 7 and the first 13 of the third area, page 2 the other 17.
    TDirSearchWorker& w = Make(Conds({"13101", "13102", "13103"}));
    owner.run(w);
    EXPECT_EQ(owner.reported, SearchModeSearch);
    EXPECT_TRUE(owner.onOwnerThread);
    EXPECT_EQ(w.Result(), 0);
    EXPECT_EQ(w.PageNumber(), 1);
    EXPECT_TRUE(w.FirstPage());
    EXPECT_FALSE(w.LastPage());
    const QStringList page1 = Tels(w);
    ASSERT_EQ(page1.size(), 20);
    EXPECT_EQ(page1.mid(7), Range("03-3431-", 1, 13));
    EXPECT_EQ(page1.first(), QStringLiteral("03-3211-0001"));

    Move(PageMoveNext);
    EXPECT_EQ(w.Result(), 0);
    EXPECT_EQ(Tels(w), Range("03-3431-", 14, 30));
    EXPECT_FALSE(w.FirstPage());
    EXPECT_TRUE(w.LastPage());

    // Prior and next again come from the cache.
    const int calls = w.LibraryCalls();
    Move(PageMovePrior);
    EXPECT_EQ(Tels(w), page1);
    EXPECT_TRUE(w.FirstPage());
    EXPECT_FALSE(w.LastPage());
    Move(PageMoveNext);
    EXPECT_EQ(Tels(w), Range("03-3431-", 14, 30));
    EXPECT_TRUE(w.LastPage());
    EXPECT_EQ(w.LibraryCalls(), calls);
    EXPECT_THROW(w.GetHit(20), EDirSearchError);
    EXPECT_THROW(w.GetHit(-1), EDirSearchError);
    EXPECT_EQ(Text(w.GetHit(17).Tel), QString()) << "the rest of the page is blank";
}

TEST_F(SearchWorkerTest, ExactlyOnePageIsTheLast)
{
    TDirSearchWorker& w = Make(Conds({"13104"}));
    owner.run(w);
    EXPECT_EQ(w.Result(), 0);
    EXPECT_EQ(Tels(w), Range("03-3341-", 1, 20));
    EXPECT_TRUE(w.LastPage());
    EXPECT_EQ(w.CachedPageCount(), 1);

    // Nothing at all: result 1.
    w.SetConditions(Conds({"13102"}), "", "");
    w.SetNavigation(PageMoveNew);
    owner.run(w);
    EXPECT_EQ(w.Result(), 1);
    EXPECT_EQ(w.HitTotal(), 0);
    EXPECT_TRUE(w.LastPage());
}

TEST_F(SearchWorkerTest, AStopInTheFirstFetchShowsWhatCameAndRunAgainCompletesIt)
{
    TDirSearchWorker& w = Make(Conds({"13101", "13102", "13103"}));
    owner.stopAfterPages = 0;
    owner.run(w);
    EXPECT_EQ(w.Result(), 100);
    EXPECT_EQ(Tels(w).size(), 7);
    EXPECT_TRUE(w.FirstPage());
    EXPECT_TRUE(w.LastPage()) << "unchanged";

    owner.stopAfterPages = -1;
    Move(PageMoveAgain);
    EXPECT_EQ(w.Result(), 0);
    const QStringList page1 = Tels(w);
    EXPECT_EQ(page1.size(), 20);
    EXPECT_EQ(page1.mid(7), Range("03-3431-", 1, 13));
    Move(PageMoveNext);
    EXPECT_EQ(Tels(w), Range("03-3431-", 14, 30)) << "no row lost or repeated";
}

TEST_F(SearchWorkerTest, AStopInTheLookAheadShowsTheCachedPage)
{
    // Pages of 10 over 20 rows: the first call caches page 1, the stop comes in the look-ahead call.
    TDirSearchWorker& w = Make(Conds({"13104"}, 10));
    owner.stopAfterPages = 1;
    owner.run(w);
    EXPECT_EQ(w.Result(), 100);
    EXPECT_EQ(Tels(w), Range("03-3341-", 1, 10)) << "page 1, not the rows of page 2";

    owner.stopAfterPages = -1;
    Move(PageMoveAgain);
    EXPECT_EQ(w.Result(), 0);
    EXPECT_EQ(Tels(w), Range("03-3341-", 1, 10));
    EXPECT_FALSE(w.LastPage());
    Move(PageMoveNext);
    EXPECT_EQ(Tels(w), Range("03-3341-", 11, 20));
    EXPECT_TRUE(w.LastPage());
}

TEST_F(SearchWorkerTest, AStopWhileFetchingACachedPageShowsItAndGoesOnAfterIt)
{
    // Pages of 5 over 30 rows; page 3 is cached by the call that fetched it, the stop hits the next call.
    TDirSearchWorker& w = Make(Conds({"13103"}, 5));
    owner.run(w);
    Move(PageMoveNext);
    owner.stopAfterPages = 0;
    Move(PageMoveNext);
    EXPECT_EQ(w.Result(), 100);
    EXPECT_EQ(Tels(w), Range("03-3431-", 11, 15));
    owner.stopAfterPages = -1;
    Move(PageMoveAgain);
    EXPECT_EQ(Tels(w), Range("03-3431-", 11, 15));
    for (int page = 4; page <= 6; ++page) {
        Move(PageMoveNext);
        EXPECT_EQ(Tels(w), Range("03-3431-", page * 5 - 4, page * 5));
    }
    EXPECT_TRUE(w.LastPage());
}

TEST_F(SearchWorkerTest, CountsSumTheAreasAndFailWithAFailingOne)
{
    TDirSearchWorker& w = Make(Conds({"13101", "13102", "13103"}), SearchModeCount);
    owner.run(w);
    EXPECT_EQ(owner.reported, SearchModeCount);
    EXPECT_EQ(w.Result(), 0);
    EXPECT_EQ(w.HitTotal(), 37);

    QList<TDirSearchCondRec> conds = Conds({"13101", "13103"});
    conds.insert(1, DirCond("1x"));
    w.SetConditions(conds, "", "");
    owner.run(w);
    EXPECT_EQ(w.Result(), KELVOR_BAD_ARGUMENT) << "not a smaller sum";

    w.SetConditions(Conds({"13101", "13103"}), "", "");
    owner.stopAfterPages = 0;
    owner.run(w);
    EXPECT_EQ(w.Result(), 100);

    owner.stopAfterPages = -1;
    w.SetConditions(Conds({"13102"}), "", "");
    owner.run(w);
    EXPECT_EQ(w.Result(), 1);
}

TEST_F(SearchWorkerTest, NameListsReachEveryCondition)
{
    TDirSearchWorker& w = Make({});
    w.SetConditions(Conds({"13101", "13103"}), A("歯科,"), A("港歯科第1,"));
    w.SetMode(SearchModeCount);
    owner.run(w);
    // 13101: 千代田歯科; 13103: the 15 dental entries but 1 and 10 to 19 (港歯科第1…).
    EXPECT_EQ(w.HitTotal(), 1 + 15 - 6);

    // A list the library cannot read fails the job instead of being left out.
    w.SetConditions(Conds({"13101"}), AnsiString("\x81,"), "");
    owner.run(w);
    EXPECT_EQ(w.Result(), KELVOR_BAD_ARGUMENT);
}

TEST_F(SearchWorkerTest, AJobWithoutConditionsIsRefused)
{
    TDirSearchWorker& w = Make({});
    for (int mode : {SearchModeSearch, SearchModeExport, SearchModeCount}) {
        w.SetMode(mode);
        owner.run(w);
        EXPECT_EQ(owner.reported, mode);
        EXPECT_EQ(w.Result(), SearchNoConditions);
    }
    EXPECT_EQ(w.LibraryCalls(), 0);
}

TEST_F(SearchWorkerTest, AnIdleWorkerEndsWithoutAReport)
{
    Make(Conds({"13101"}));
    worker.reset();
    EXPECT_EQ(owner.reports, 0);
}

namespace {

QStringList ReadLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString text = ToWide(f.readAll());
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

} // namespace

TEST_F(SearchWorkerTest, ExportsWriteAHeaderOnceAndQuoteCommas)
{
    const QString file = TempFolder() + QStringLiteral("out.csv");
    TDirSearchWorker& w = Make(Conds({"13101", "13102"}), SearchModeExport);
    w.SetExportFile(false, file, true);
    w.SetExportItems(DefaultDirExportItems());
    owner.run(w);
    EXPECT_EQ(owner.reported, SearchModeExport);
    EXPECT_EQ(w.Result(), 0);
    EXPECT_EQ(w.LinesWritten(), 7);
    w.CloseExportFile();
    QStringList lines = ReadLines(file);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("電話番号,代表電話,FAX番号,郵便番号,住所カナ,")));
    EXPECT_EQ(lines[1], QStringLiteral("03-3211-0001,,,100-0005,ﾄｳｷｮｳﾄﾁﾖﾀﾞｸﾏﾙﾉｳﾁ1ﾁｮｳﾒ1ﾊﾞﾝﾁ,東京都,千代田区,"
                                       "丸の内１丁目１番地,13101,ﾁﾖﾀﾞｼｶ,株式会社千代田歯科,,,会社,2001年04月,"
                                       "医療・福祉,11,歯科,15"));
    EXPECT_TRUE(lines[5].contains(QStringLiteral(",\"日比谷商店,本店\",")));

    // Appending writes no second header; only the number chosen: the fax-only entry gives no line.
    w.SetExportFile(true, file, false);
    w.SetExportItems({{0, 0, true}});
    owner.run(w);
    EXPECT_EQ(w.LinesWritten(), 6);
    w.CloseExportFile();
    lines = ReadLines(file);
    ASSERT_EQ(lines.size(), 8 + 6);
    EXPECT_EQ(lines[8], QStringLiteral("03-3211-0001"));
    EXPECT_EQ(lines.count(lines[0]), 1);
}

TEST_F(SearchWorkerTest, AnExportFileThatCannotBeOpenedEndsTheJobBeforeAnyCall)
{
    const QString file = TempFolder() + QStringLiteral("no such folder/out.csv");
    TDirSearchWorker& w = Make(Conds({"13101"}), SearchModeExport);
    w.SetExportFile(false, file, true);
    w.SetExportItems(DefaultDirExportItems());
    owner.run(w);
    EXPECT_EQ(owner.reported, SearchModeExport);
    EXPECT_EQ(w.Result(), SearchExportFileError);
    EXPECT_TRUE(w.ExportFileError().contains(file));
    EXPECT_EQ(w.LibraryCalls(), 0);
}

TEST_F(SearchWorkerTest, AnExportStoppedWritesTheRowsOfTheInterruptedCall)
{
    const QString file = TempFolder() + QStringLiteral("stopped.csv");
    TDirSearchWorker& w = Make(Conds({"13103"}, 5), SearchModeExport);
    w.SetExportFile(false, file, true);
    w.SetExportItems({{0, 0, true}});
    owner.stopAfterPages = 1;
    owner.run(w);
    EXPECT_EQ(w.Result(), 100);
    EXPECT_EQ(w.LinesWritten(), 10);
    w.CloseExportFile();
    EXPECT_EQ(ReadLines(file).size(), 11);
}

TEST_F(SearchWorkerTest, TwoWorkersAndADetailLookupAnswerAlike)
{
    // Both thread classes run the same searches while the GUI thread looks details up.
    Owner otherOwner;
    TSearchCategoryThread a(&owner);
    TSearchThread b(&otherOwner);
    const QList<TDirSearchCondRec> conds = Conds({"13101", "13102", "13103", "13104"}, 7);
    for (TDirSearchWorker* w : {static_cast<TDirSearchWorker*>(&a), static_cast<TDirSearchWorker*>(&b)}) {
        w->SetConditions(conds, "", "");
        w->SetMode(SearchModeCount);
        w->SetNavigation(PageMoveNew);
    }
    for (int round = 0; round < 20; ++round) {
        owner.worker = &a;
        otherOwner.worker = &b;
        owner.reported = otherOwner.reported = -1;
        a.PrepareJob();
        b.PrepareJob();
        a.Start();
        b.Start();
        TDirDetailRec detail;
        EXPECT_EQ(ReadDirHitDetail(conds.first(), "03-3211-0006", 5, detail), 0);
        EXPECT_EQ(Text(detail.Name), QStringLiteral("有限会社神田そば"));
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (owner.reported >= 0 && otherOwner.reported >= 0)
                loop.quit();
        });
        poll.start(0);
        loop.exec();
        EXPECT_EQ(a.HitTotal(), 57);
        EXPECT_EQ(b.HitTotal(), 57);
    }
}
