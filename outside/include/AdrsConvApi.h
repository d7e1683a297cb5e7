// Boundary of the address conversion libraries "Dladcvor.dll" (CvtAdrs: old municipality names to today's)
// and "Dlzpcvor.dll" (YAdrsTo: address code, reading and postal code of an address): their records and
// entry points. Texts are CP932, zero-terminated inside their width unless they fill it; callers zero-fill
// every record before they fill or pass it.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

struct TCvtAdrsRequest
{
    char Address[186]; // at most 184 bytes
    char Folder[260];  // the dictionary folder, with a final separator
};

struct TCvtAdrsResult
{
    char Address[186]; // the whole converted address
    char Prefecture[10];
    char City[26]; // 市区郡町村
    char Rest[152];
};

struct TYAdrsToRequest
{
    char Reserved[194];
    char Address[186];
    char Folder[256];
};

struct TYAdrsToResult
{
    char JisCode[6];
    char Unused[188];
    char PrefReading[10];
    char CityReading[26];
    char RestReading[152];
    char PostalCode[8];
};

#pragma pack(pop)

static_assert(sizeof(TCvtAdrsRequest) == 446);
static_assert(offsetof(TCvtAdrsRequest, Folder) == 186);
static_assert(sizeof(TCvtAdrsResult) == 374);
static_assert(offsetof(TCvtAdrsResult, Prefecture) == 186);
static_assert(offsetof(TCvtAdrsResult, City) == 196);
static_assert(offsetof(TCvtAdrsResult, Rest) == 222);
static_assert(sizeof(TYAdrsToRequest) == 636);
static_assert(offsetof(TYAdrsToRequest, Address) == 194);
static_assert(offsetof(TYAdrsToRequest, Folder) == 380);
static_assert(sizeof(TYAdrsToResult) == 390);
static_assert(offsetof(TYAdrsToResult, Unused) == 6);
static_assert(offsetof(TYAdrsToResult, PrefReading) == 194);
static_assert(offsetof(TYAdrsToResult, CityReading) == 204);
static_assert(offsetof(TYAdrsToResult, RestReading) == 230);
static_assert(offsetof(TYAdrsToResult, PostalCode) == 382);

// The longest address text a request carries.
constexpr int CvtAdrsMaxAddress = 184;

extern "C" {
// Each answers true (1) with the result filled, else false (0); *rc gets 0, or a code of the library's own.
using CvtAdrsProc = uint8_t (*)(const TCvtAdrsRequest* request, TCvtAdrsResult* result, int32_t* rc);
using YAdrsToProc = uint8_t (*)(const TYAdrsToRequest* request, TYAdrsToResult* result, int32_t* rc);
// The other entry points of "Dlzpcvor.dll": looked up when it loads, never called; the stand-in answers
// false.
using YOtherProc = uint8_t (*)(const void* request, void* result, int32_t* rc);
}

// Codes in *rc besides 0.
enum AdrsConvCode : int32_t {
    AdrsConvOk = 0,
    AdrsConvBadArgument = 1, // a null pointer
    AdrsConvNoData = 2,      // the folder lacks its dictionary, or it is damaged
    AdrsConvNotFound = 3,    // no municipality starts the address
    AdrsConvTooLong = 4,     // the converted parts do not fit their fields
    AdrsConvNotSupported = 5,
    AdrsConvInternal = 9,
};

// The mergers file "Merger.dic" in the dictionary folder (built by make_conversion_data): CP932 text, lines
// ending in LF, fields separated by TAB, the first line "TOVAREL MERGER 1"; then one line per former
// municipality: prefecture, former name (with its district where it had one), today's municipalities
// (the first is the default when the rest of an address names no town of any).
