// Fixed-layout records, entry points and result codes of the directory search library "Dlkelvor17.dll".
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// Texts are CP932, zero-terminated inside their field unless they fill it; readers trim blanks.

// One search condition: one area of a job.
struct TDirSearchCondRec
{
    char Category[8];     // "" all, "%.2d" major, "%.4d" major * 100 + minor
    int32_t NameLists;    // handle of the include/exclude name-list pair (kelvor_name_lists_open); 0 none
    char AreaCode[56];    // 2-digit prefecture, 5-digit city or 8-digit oaza code; "" whole country
    int32_t Fixed1;       // always 1
    int32_t PhoneKinds;   // bits: 1 normal, 2 fax, 4 shared phone and fax, 8 main line
    char PeriodFrom[8];   // "yyyymm" or ""
    char PeriodTo[8];     // "yyyymm" or ""
    int32_t LegalForm;    // 0 any, 1..7 one legal form
    int32_t Continuation; // set by the caller once a page of the condition came back unfinished
    int32_t Fixed2;       // always 1
    int32_t MatchKind;    // 0 prefix, 1 contains, 2 suffix, 3 exact
    int32_t PageSize;     // rows per call, 1..200
    char DataFolder[256];
    char DicFolder[256];
};

// One result row.
struct TDirHitRec
{
    char Tel[14];
    char Unused1[2];
    int32_t PhoneKind; // 0 normal, 1 fax, 2 shared phone and fax, 3 main line
    int32_t DetailKey; // handed back to kelvor_search_tel_one
    char Name[126];
    char Address[106];
    char FirstListing[8]; // "yyyymm"
    char Category[6];     // 2-digit major then 2-digit minor; "0000" or "" none
    char Unused2[2];
};

// The library's position inside one condition. Callers read only Finished.
struct TDirCursorRec
{
    uint8_t State[40];
    int32_t Finished; // after a 0: non-zero when the page just returned ended the condition
};

// A telephone lookup.
struct TDirTelRequestRec
{
    char Tel[16];
    int32_t Fixed1; // always 1
    char DataFolder[256];
    char DicFolder[256];
};

// Texts are CP932, zero-terminated inside their field unless they fill it; readers trim blanks.
struct TDirDetailRec
{
    char Tel[14];
    char Unused1[6];
    int32_t PhoneKind; // 0 normal, 1 fax, 2 shared phone and fax, 3 main line
    char PostalCode[8];
    char Name[120];
    char NameKana[62];
    char Tdfkn[10];
    char City[26];
    char Address3[38];
    char Address4[38];
    char Address5[82];
    char TdfknKana[10];
    char CityKana[26];
    char Address3Kana[38];
    char Address4Kana[34];
    char Address5Kana[34];
    char AreaCode[16]; // characters 1-5 municipality code, 6-11 block code
    char Unused2[2];
    int32_t PersonFlag;   // 99 a private person
    char FirstListing[8]; // "yyyymm"
    int32_t Latitude;     // library units; the card stores value * 1000 / 256
    int32_t Longitude;
    char Category[6]; // 2-digit major then 2-digit minor code
    char Unused3[2];
};
#pragma pack(pop)

static_assert(sizeof(TDirSearchCondRec) == 624);
static_assert(offsetof(TDirSearchCondRec, NameLists) == 8);
static_assert(offsetof(TDirSearchCondRec, AreaCode) == 12);
static_assert(offsetof(TDirSearchCondRec, Fixed1) == 68);
static_assert(offsetof(TDirSearchCondRec, PhoneKinds) == 72);
static_assert(offsetof(TDirSearchCondRec, PeriodFrom) == 76);
static_assert(offsetof(TDirSearchCondRec, PeriodTo) == 84);
static_assert(offsetof(TDirSearchCondRec, LegalForm) == 92);
static_assert(offsetof(TDirSearchCondRec, Continuation) == 96);
static_assert(offsetof(TDirSearchCondRec, Fixed2) == 100);
static_assert(offsetof(TDirSearchCondRec, MatchKind) == 104);
static_assert(offsetof(TDirSearchCondRec, PageSize) == 108);
static_assert(offsetof(TDirSearchCondRec, DataFolder) == 112);
static_assert(offsetof(TDirSearchCondRec, DicFolder) == 368);

static_assert(sizeof(TDirHitRec) == 272);
static_assert(offsetof(TDirHitRec, PhoneKind) == 16);
static_assert(offsetof(TDirHitRec, DetailKey) == 20);
static_assert(offsetof(TDirHitRec, Name) == 24);
static_assert(offsetof(TDirHitRec, Address) == 150);
static_assert(offsetof(TDirHitRec, FirstListing) == 256);
static_assert(offsetof(TDirHitRec, Category) == 264);
static_assert(offsetof(TDirHitRec, Unused2) == 270);

static_assert(sizeof(TDirCursorRec) == 44);
static_assert(offsetof(TDirCursorRec, Finished) == 40);

static_assert(sizeof(TDirTelRequestRec) == 532);
static_assert(offsetof(TDirTelRequestRec, Fixed1) == 16);
static_assert(offsetof(TDirTelRequestRec, DataFolder) == 20);
static_assert(offsetof(TDirTelRequestRec, DicFolder) == 276);

static_assert(sizeof(TDirDetailRec) == 596);
static_assert(offsetof(TDirDetailRec, Tel) == 0);
static_assert(offsetof(TDirDetailRec, Unused1) == 14);
static_assert(offsetof(TDirDetailRec, PhoneKind) == 20);
static_assert(offsetof(TDirDetailRec, PostalCode) == 24);
static_assert(offsetof(TDirDetailRec, Name) == 32);
static_assert(offsetof(TDirDetailRec, NameKana) == 152);
static_assert(offsetof(TDirDetailRec, Tdfkn) == 214);
static_assert(offsetof(TDirDetailRec, City) == 224);
static_assert(offsetof(TDirDetailRec, Address3) == 250);
static_assert(offsetof(TDirDetailRec, Address4) == 288);
static_assert(offsetof(TDirDetailRec, Address5) == 326);
static_assert(offsetof(TDirDetailRec, TdfknKana) == 408);
static_assert(offsetof(TDirDetailRec, CityKana) == 418);
static_assert(offsetof(TDirDetailRec, Address3Kana) == 444);
static_assert(offsetof(TDirDetailRec, Address4Kana) == 482);
static_assert(offsetof(TDirDetailRec, Address5Kana) == 516);
static_assert(offsetof(TDirDetailRec, AreaCode) == 550);
static_assert(offsetof(TDirDetailRec, Unused2) == 566);
static_assert(offsetof(TDirDetailRec, PersonFlag) == 568);
static_assert(offsetof(TDirDetailRec, FirstListing) == 572);
static_assert(offsetof(TDirDetailRec, Latitude) == 580);
static_assert(offsetof(TDirDetailRec, Longitude) == 584);
static_assert(offsetof(TDirDetailRec, Category) == 588);
static_assert(offsetof(TDirDetailRec, Unused3) == 594);

// Rows a telephone lookup answers at most.
inline constexpr int DirTelBlockSize = 8;
// Rows per call a condition may ask for.
inline constexpr int DirMaxPageSize = 200;

// Result codes of the library.
inline constexpr int32_t KELVOR_OK = 0;        // rows or a count came back
inline constexpr int32_t KELVOR_NONE = 1;      // nothing (more) for this condition or number
inline constexpr int32_t KELVOR_NOT_SHOWN = 2; // the number's entries may not be shown
inline constexpr int32_t KELVOR_NO_DATA = 90;  // the data folder holds no directory data
inline constexpr int32_t KELVOR_DAMAGED = 91;  // the directory data is damaged
// A null pointer, a bad match kind or page size, an unknown handle, a cursor of another condition.
inline constexpr int32_t KELVOR_BAD_ARGUMENT = 92;
inline constexpr int32_t KELVOR_BOUND_ONLY = 99; // an entry point provided for binding only
inline constexpr int32_t KELVOR_STOPPED = 100;   // the progress callback asked to stop

// The progress callback: (entries examined, rows found so far); answers -1 to go on, 0 to stop.
typedef int32_t (*TSearchProgressCallback)(int32_t examined, int32_t found);

typedef int32_t (*TKelvorSearchArea)(TDirSearchCondRec* cond, TDirHitRec* hits, int32_t* count,
                                     TDirCursorRec* cursor, int32_t interval,
                                     TSearchProgressCallback callback);
typedef int32_t (*TKelvorSearchAreaCount)(TDirSearchCondRec* cond, int32_t* count, int32_t interval,
                                          TSearchProgressCallback callback);
typedef int32_t (*TKelvorSearchTel)(TDirTelRequestRec* request, TDirDetailRec* details, int32_t* count);
typedef int32_t (*TKelvorSearchTelOne)(TDirTelRequestRec* request, TDirDetailRec* detail, int32_t key);
// The name-list pair of a condition: two zero-terminated CP932 texts of names each followed by ","
// (include, then exclude); answers a handle for offset 8 of the condition, or 0 when there is nothing
// to keep (both empty) or on failure (*rc then says why).
typedef int32_t (*TKelvorNameListsOpen)(const char* include, const char* exclude, int32_t* rc);
typedef int32_t (*TKelvorNameListsClose)(int32_t handle);
