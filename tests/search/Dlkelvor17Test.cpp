// Tests of the directory search library's loading and wrappers, and of the stand-in over the fixture data.
#include "search/DirSearchFixture.h"

#include "support/MessageRecorder.h"

#include <QFile>

#include <vector>

namespace {

struct Paged
{
    int rc = 0;
    int32_t count = 0;
    std::vector<TDirHitRec> hits;
    TDirCursorRec cursor{};
};

// One call with a fresh first-condition cursor unless one is given.
Paged SearchOnce(TDirSearchCondRec cond, const TDirCursorRec* cursor = nullptr,
                 int32_t interval = DirSearchInterval, TSearchProgressCallback callback = nullptr)
{
    Paged p;
    p.hits.resize(size_t(cond.PageSize));
    std::memset(&p.cursor, 0, sizeof p.cursor);
    if (cursor)
        p.cursor = *cursor;
    p.rc = DirSearchArea(&cond, p.hits.data(), &p.count, &p.cursor, interval, callback);
    return p;
}

int Count(TDirSearchCondRec cond, int* rc = nullptr)
{
    int32_t n = -1;
    const int code = DirSearchAreaCount(&cond, &n, DirSearchInterval, nullptr);
    if (rc)
        *rc = code;
    return n;
}

TDirTelRequestRec TelRequest(const char* number, const QString& folder = DirFixtureFolder)
{
    TDirTelRequestRec r;
    std::memset(&r, 0, sizeof r);
    std::strncpy(r.Tel, number, sizeof r.Tel - 1);
    r.Fixed1 = 1;
    SetDirFolderField(r.DataFolder, folder);
    SetDirFolderField(r.DicFolder, DicLibraryFolder + QStringLiteral("Dic/"));
    return r;
}

} // namespace

TEST_F(DicTest, DirSearchLibraryCountsItsReferences)
{
    ProgramFolder = DicLibraryFolder;
    TDirSearchCondRec cond = DirCond("13101");
    int rc = 0;
    ASSERT_EQ(LoadDirSearchLibrary(ProgramFolder), 0);
    ASSERT_EQ(LoadDirSearchLibrary(ProgramFolder), 0);
    FreeDirSearchLibrary();
    EXPECT_EQ(Count(cond, &rc), 7) << "one reference still holds the library";
    FreeDirSearchLibrary();
    Count(cond, &rc);
    EXPECT_EQ(rc, DirSearchNotLoaded);
    FreeDirSearchLibrary(); // no reference: nothing happens, and the count does not go below zero
    ASSERT_EQ(LoadDirSearchLibrary(ProgramFolder), 0);
    EXPECT_EQ(Count(cond, &rc), 7);
    FreeDirSearchLibrary();
    Count(cond, &rc);
    EXPECT_EQ(rc, DirSearchNotLoaded);
}

TEST_F(DicTest, DirSearchWrappersTouchNothingWhileNotLoaded)
{
    TDirSearchCondRec cond = DirCond("13101");
    std::memset(cond.DataFolder, 0, sizeof cond.DataFolder);
    std::memcpy(cond.DataFolder, " /x ", 4);
    const TDirSearchCondRec before = cond;
    TDirHitRec hits[20];
    std::memset(hits, 0xAB, sizeof hits);
    int32_t count = 77;
    TDirCursorRec cursor;
    std::memset(&cursor, 0xCD, sizeof cursor);
    EXPECT_EQ(DirSearchArea(&cond, hits, &count, &cursor, DirSearchInterval, nullptr), DirSearchNotLoaded);
    EXPECT_EQ(DirSearchAreaCount(&cond, &count, DirSearchInterval, nullptr), DirSearchNotLoaded);
    TDirTelRequestRec request = TelRequest("03-3211-0001");
    TDirDetailRec details[DirTelBlockSize];
    std::memset(details, 0xEF, sizeof details);
    EXPECT_EQ(DirSearchTel(&request, details, &count), DirSearchNotLoaded);
    EXPECT_EQ(DirSearchTelOne(&request, details, 0), DirSearchNotLoaded);
    EXPECT_EQ(count, 77);
    EXPECT_EQ(std::memcmp(&cond, &before, sizeof cond), 0);
    EXPECT_EQ(uint8_t(reinterpret_cast<const char*>(hits)[sizeof hits - 1]), 0xAB);
    EXPECT_EQ(uint8_t(reinterpret_cast<const char*>(hits)[0]), 0xAB);
    EXPECT_EQ(uint8_t(reinterpret_cast<const char*>(details)[0]), 0xEF);
    EXPECT_EQ(uint8_t(cursor.State[0]), 0xCD);
}

TEST_F(DicTest, DirSearchLoadFailuresSayWhichAndDropTheReferenceOnAMissingEntry)
{
    MessageRecorder boxes;
    boxes.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
    LibraryLoader::SetFailingLoad(QStringLiteral("Dlkelvor17.dll"));
    EXPECT_EQ(LoadDirSearchLibrary(DicLibraryFolder), DirSearchLoadError);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Tovarel"));
    EXPECT_EQ(boxes.last().text,
              QStringLiteral("Dlkelvor17.dll LoadLibrary Error  \r\nDLLのロードに失敗しました  "));
    EXPECT_EQ(boxes.last().flags, unsigned(MsgSeam::MbIconStop));
    FreeDirSearchLibrary(); // the failed load's reference

    LibraryLoader::ClearFailures();
    LibraryLoader::SetFailingSymbol(QStringLiteral("Dlkelvor17.dll"), QStringLiteral("kelvor_search_area"));
    EXPECT_EQ(LoadDirSearchLibrary(DicLibraryFolder), DirSearchEntryPointError);
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_EQ(boxes.last().text,
              QStringLiteral("kelvor_search_area (Dlkelvor17.dll) GetProcAddress Error  \r\n"
                             "関数の割り当てに失敗しました  "));
    // The reference is gone already: a fresh load is the first again.
    LibraryLoader::ClearFailures();
    ASSERT_EQ(LoadDirSearchLibrary(DicLibraryFolder), 0);
    TDirSearchCondRec cond = DirCond("13101");
    EXPECT_EQ(Count(cond), 7);
    FreeDirSearchLibrary();
}

TEST_F(DirSearchTest, FolderFieldsAreTrimmedAndEndInOneSlash)
{
    TDirSearchCondRec cond = DirCond("13101");
    const AnsiString folder = ToAnsi(DirFixtureFolder);
    std::memset(cond.DataFolder, 0, sizeof cond.DataFolder);
    const AnsiString padded = "  " + folder.left(folder.size() - 1) + "   ";
    std::memcpy(cond.DataFolder, padded.constData(), size_t(padded.size()));
    int32_t n = 0;
    EXPECT_EQ(DirSearchAreaCount(&cond, &n, DirSearchInterval, nullptr), 0);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(FieldText(cond.DataFolder), folder);
    EXPECT_EQ(qstrnlen(cond.DataFolder, 256), size_t(folder.size()));

    // 255 bytes without the slash no longer fit; 254 do.
    char field[256];
    std::memset(field, 0, sizeof field);
    std::memset(field, 'a', 254);
    EXPECT_TRUE(NormaliseDirFolderField(field));
    EXPECT_EQ(field[254], '/');
    std::memset(field, 'a', 255);
    EXPECT_FALSE(NormaliseDirFolderField(field));
    std::memcpy(cond.DataFolder, field, sizeof field);
    int rc = 0;
    Count(cond, &rc);
    EXPECT_EQ(rc, KELVOR_BAD_ARGUMENT);

    EXPECT_FALSE(SetDirFolderField(cond.DataFolder, QString(255, u'a')));
    EXPECT_FALSE(SetDirFolderField(cond.DataFolder, QStringLiteral("/tmp/한국/"))) << "not CP932";
    EXPECT_TRUE(SetDirFolderField(cond.DataFolder, QStringLiteral("/tmp/データ")));
    EXPECT_EQ(FieldText(cond.DataFolder), A("/tmp/データ/"));
}

TEST_F(DirSearchTest, AreaSearchClearsThePageBeforeTheCall)
{
    // 50 rows are cleared over 50 x 272 bytes, and nothing behind them.
    TDirSearchCondRec cond = DirCond("13102", 50);
    std::vector<TDirHitRec> hits(51);
    std::memset(hits.data(), 0x5A, hits.size() * sizeof(TDirHitRec));
    int32_t count = 9;
    TDirCursorRec cursor{};
    EXPECT_EQ(DirSearchArea(&cond, hits.data(), &count, &cursor, DirSearchInterval, nullptr), KELVOR_NONE);
    EXPECT_EQ(count, 0);
    const auto* bytes = reinterpret_cast<const uint8_t*>(hits.data());
    EXPECT_TRUE(std::all_of(bytes, bytes + 50 * 272, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(bytes[50 * 272], 0x5A);

    // A page size the library does not take is refused before anything is touched.
    for (int size : {0, 201}) {
        cond.PageSize = size;
        std::memset(hits.data(), 0x5A, hits.size() * sizeof(TDirHitRec));
        EXPECT_EQ(DirSearchArea(&cond, hits.data(), &count, &cursor, DirSearchInterval, nullptr),
                  KELVOR_BAD_ARGUMENT);
        EXPECT_EQ(bytes[0], 0x5A);
    }
}

TEST_F(DirSearchTest, ConditionsSelectTheFixtureEntries)
{
    struct Case
    {
        const char* what;
        const char* area;
        const char* category;
        int kinds, legalForm;
        const char* from;
        const char* to;
        const char* include;
        const char* exclude;
        int matchKind;
        int expected; // 0: nothing found
    };
    const Case cases[] = {
        {"a city, the entry not shown left out", "13101", "", 15, 0, "", "", "", "", 1, 7},
        {"a city without entries", "13102", "", 15, 0, "", "", "", "", 1, 0},
        {"a city of 30", "13103", "", 15, 0, "", "", "", "", 1, 30},
        {"the prefecture", "13", "", 15, 0, "", "", "", "", 1, 57},
        {"the whole country", "", "", 15, 0, "", "", "", "", 1, 60},
        {"an oaza", "13101001", "", 15, 0, "", "", "", "", 1, 3},
        {"another prefecture", "14", "", 15, 0, "", "", "", "", 1, 0},
        {"a major category", "13101", "11", 15, 0, "", "", "", "", 1, 2},
        {"a minor category", "", "1302", 15, 0, "", "", "", "", 1, 21},
        {"a category without entries", "", "0101", 15, 0, "", "", "", "", 1, 0},
        {"fax only", "13101", "", 2, 0, "", "", "", "", 1, 1},
        {"main line only", "13101", "", 8, 0, "", "", "", "", 1, 1},
        {"a legal form", "13101", "", 15, 2, "", "", "", "", 1, 1},
        {"a listing period", "13101", "", 15, 0, "200101", "201012", "", "", 1, 3},
        {"contains, legal form dropped", "13101", "", 15, 0, "", "", "歯科,", "", 1, 1},
        {"prefix after the legal form", "13101", "", 15, 0, "", "", "千代田,", "", 0, 2},
        {"suffix", "13101", "", 15, 0, "", "", "歯科,", "", 2, 1},
        {"exact", "13101", "", 15, 0, "", "", "神田美容室,", "", 3, 1},
        {"exact needs the whole name", "13101", "", 15, 0, "", "", "神田美容,", "", 3, 0},
        {"an excluded name", "13101", "", 15, 0, "", "", "千代田,", "デンタル,", 0, 1},
        {"exclusion alone", "13101", "", 15, 0, "", "", "", "神田,", 1, 5},
        {"two names", "13101", "", 15, 0, "", "", "歯科,美容,", "", 1, 2},
        {"half-width and blanks unified", "13101", "", 15, 0, "", "", "ﾃﾞﾝﾀﾙ ｸﾘﾆｯｸ,", "", 1, 1},
        {"a person's name without its blank", "13101", "", 15, 0, "", "", "山田太郎,", "", 3, 1},
        {"names and category", "", "1115", 15, 0, "", "", "港,", "", 0, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDirSearchCondRec cond = DirCond(c.area, 200, c.category);
        cond.PhoneKinds = c.kinds;
        cond.LegalForm = c.legalForm;
        std::strncpy(cond.PeriodFrom, c.from, 7);
        std::strncpy(cond.PeriodTo, c.to, 7);
        cond.MatchKind = c.matchKind;
        int rc = 0;
        cond.NameLists = OpenDirNameLists(A(c.include), A(c.exclude), &rc);
        ASSERT_EQ(rc, 0);
        const int n = Count(cond, &rc);
        EXPECT_EQ(rc, c.expected ? KELVOR_OK : KELVOR_NONE);
        EXPECT_EQ(n, c.expected);
        const Paged p = SearchOnce(cond);
        EXPECT_EQ(p.count, c.expected) << "a page of 200 holds them all";
        EXPECT_EQ(p.rc, c.expected ? KELVOR_OK : KELVOR_NONE);
        if (c.expected)
            EXPECT_EQ(p.cursor.Finished, 1);
        CloseDirNameLists(cond.NameLists);
    }
}

TEST_F(DirSearchTest, PagesContinueFromTheCursorAndTellTheEnd)
{
    const TDirSearchCondRec cond = DirCond("13103", 20);
    TDirCursorRec first{};
    const int32_t minusOne = -1;
    std::memcpy(first.State + 36, &minusOne, 4);
    first.Finished = -1;
    const Paged p1 = SearchOnce(cond, &first);
    ASSERT_EQ(p1.rc, KELVOR_OK);
    EXPECT_EQ(p1.count, 20);
    EXPECT_EQ(p1.cursor.Finished, 0);
    EXPECT_EQ(FieldText(p1.hits[0].Tel), "03-3431-0001");
    const Paged p2 = SearchOnce(cond, &p1.cursor);
    ASSERT_EQ(p2.rc, KELVOR_OK);
    EXPECT_EQ(p2.count, 10);
    EXPECT_EQ(p2.cursor.Finished, 1);
    EXPECT_EQ(FieldText(p2.hits[0].Tel), "03-3431-0021");
    EXPECT_EQ(SearchOnce(cond, &p2.cursor).rc, KELVOR_NONE);

    // Exactly a page: the first call says it ended the condition.
    const Paged whole = SearchOnce(DirCond("13104", 20));
    EXPECT_EQ(whole.count, 20);
    EXPECT_EQ(whole.cursor.Finished, 1);

    // The cursor of one condition is refused by another.
    EXPECT_EQ(SearchOnce(DirCond("13101", 20), &p1.cursor).rc, KELVOR_BAD_ARGUMENT);
}

TEST_F(DirSearchTest, HitRowsCarryTheEntry)
{
    const Paged p = SearchOnce(DirCond("13101", 20));
    ASSERT_EQ(p.count, 7);
    const TDirHitRec& h = p.hits[0];
    EXPECT_EQ(Text(h.Name), QStringLiteral("株式会社千代田歯科"));
    EXPECT_EQ(Text(h.Address), QStringLiteral("東京都千代田区丸の内１丁目１番地"));
    EXPECT_EQ(FieldText(h.FirstListing), "200104");
    EXPECT_EQ(FieldText(h.Category), "1115");
    auto person = std::find_if(p.hits.begin(), p.hits.end(), [](const TDirHitRec& r) {
        return r.PhoneKind == 0 && Text(r.Name).contains(u'　');
    });
    ASSERT_NE(person, p.hits.end());
    EXPECT_EQ(FieldText(person->Category), "0000");
    EXPECT_EQ(FieldText(person->FirstListing), "");
}

TEST_F(DirSearchTest, ArgumentsTheLibraryRefuses)
{
    TDirSearchCondRec cond = DirCond("13101");
    cond.MatchKind = 4;
    EXPECT_EQ(SearchOnce(cond).rc, KELVOR_BAD_ARGUMENT);
    cond = DirCond("13101");
    cond.NameLists = 987654; // never handed out
    EXPECT_EQ(SearchOnce(cond).rc, KELVOR_BAD_ARGUMENT);
    cond = DirCond("1x");
    EXPECT_EQ(SearchOnce(cond).rc, KELVOR_BAD_ARGUMENT);
    cond = DirCond("13101", 20, "123");
    EXPECT_EQ(SearchOnce(cond).rc, KELVOR_BAD_ARGUMENT);
    int32_t count = 0;
    EXPECT_EQ(DirSearchAreaCount(nullptr, &count, DirSearchInterval, nullptr), KELVOR_BAD_ARGUMENT);
    int rc = -1;
    EXPECT_EQ(OpenDirNameLists("", "", &rc), 0) << "no names, no handle";
    EXPECT_EQ(rc, 0);
}

TEST_F(DirSearchTest, MissingOrDamagedDataIsAnError)
{
    EXPECT_EQ(SearchOnce(DirCond("13101", 20, "", TempFolder())).rc, KELVOR_NO_DATA);
    QFile source(DirFixtureFolder + QStringLiteral("Kelvor.dat"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    for (const QByteArray& damaged :
         {bytes.left(bytes.size() - 1), bytes.left(100), QByteArray("TVKELVOR")}) {
        QFile out(TempFolder() + QStringLiteral("Kelvor.dat"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(damaged);
        out.close();
        EXPECT_EQ(SearchOnce(DirCond("13101", 20, "", TempFolder())).rc, KELVOR_DAMAGED);
        int rc = 0;
        Count(DirCond("13101", 20, "", TempFolder()), &rc);
        EXPECT_EQ(rc, KELVOR_DAMAGED);
    }
}

TEST_F(DirSearchTest, TheCallbackStopsACall)
{
    static int calls = 0;
    calls = 0;
    const TSearchProgressCallback stopAtSecond = [](int32_t, int32_t) { return ++calls >= 2 ? 0 : -1; };
    const Paged p = SearchOnce(DirCond("13", 200), nullptr, 5, stopAtSecond);
    EXPECT_EQ(p.rc, KELVOR_STOPPED);
    EXPECT_EQ(calls, 2);
    EXPECT_GT(p.count, 0) << "the rows found before the stop come back";
    EXPECT_LT(p.count, 57);
    TDirSearchCondRec cond = DirCond("13");
    int32_t count = 0;
    calls = 0;
    EXPECT_EQ(DirSearchAreaCount(&cond, &count, 5, stopAtSecond), KELVOR_STOPPED);
}

TEST_F(DirSearchTest, TelephoneLookups)
{
    TDirTelRequestRec request = TelRequest("03-3211-0001");
    TDirDetailRec details[DirTelBlockSize];
    int32_t count = 0;
    ASSERT_EQ(DirSearchTel(&request, details, &count), KELVOR_OK);
    ASSERT_EQ(count, 1);
    const TDirDetailRec& d = details[0];
    EXPECT_EQ(Text(d.Name), QStringLiteral("株式会社千代田歯科"));
    EXPECT_EQ(Text(d.NameKana), QStringLiteral("ﾁﾖﾀﾞｼｶ"));
    EXPECT_EQ(Text(d.Tdfkn), QStringLiteral("東京都"));
    EXPECT_EQ(Text(d.City), QStringLiteral("千代田区"));
    EXPECT_EQ(Text(d.Address3) + Text(d.Address4) + Text(d.Address5), QStringLiteral("丸の内１丁目１番地"));
    EXPECT_EQ(FieldText(d.PostalCode), "1000005");
    EXPECT_EQ(FieldText(d.AreaCode), "13101001001");
    EXPECT_EQ(d.PersonFlag, 0);
    EXPECT_EQ(d.Latitude, 9000000);

    request = TelRequest("0332110008"); // digits only; its only entry is not shown
    EXPECT_EQ(DirSearchTel(&request, details, &count), KELVOR_NOT_SHOWN);
    EXPECT_EQ(count, 0);
    request = TelRequest("03-9999-9999");
    EXPECT_EQ(DirSearchTel(&request, details, &count), KELVOR_NONE);

    // The single lookup takes the key of a hit and checks it against the number.
    const Paged p = SearchOnce(DirCond("13101", 20));
    const TDirHitRec& person = p.hits[3];
    TDirDetailRec one;
    request = TelRequest(person.Tel);
    ASSERT_EQ(DirSearchTelOne(&request, &one, person.DetailKey), KELVOR_OK);
    EXPECT_EQ(one.PersonFlag, 99);
    EXPECT_EQ(DirSearchTelOne(&request, &one, person.DetailKey + 1), KELVOR_NONE);
    EXPECT_EQ(DirSearchTelOne(&request, &one, -1), KELVOR_NONE);
}

TEST_F(DirSearchTest, BoundOnlyEntryPointsAnswer99)
{
    LibraryLoader::Handle h = LibraryLoader::Load(DicLibraryFolder, QStringLiteral("Dlkelvor17.dll"));
    ASSERT_TRUE(h);
    using Fax = int32_t (*)(void*, void*, void*, void*, int32_t, void*);
    using CountFax = int32_t (*)(void*, void*, int32_t, void*);
    using Mask = int32_t (*)(void*, void*);
    EXPECT_EQ(reinterpret_cast<Fax>(LibraryLoader::Symbol(h, "kelvor_search_area_fax"))(0, 0, 0, 0, 0, 0),
              99);
    EXPECT_EQ(
        reinterpret_cast<CountFax>(LibraryLoader::Symbol(h, "kelvor_search_area_count_fax"))(0, 0, 0, 0), 99);
    EXPECT_EQ(reinterpret_cast<Mask>(LibraryLoader::Symbol(h, "qem_tel_mask"))(0, 0), 99);
    LibraryLoader::Free(h);
}
