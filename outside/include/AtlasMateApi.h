// Boundary of the map program's libraries "Atm95.dll", "DTMap32.dll" and "MarkDll.dll": the records they
// exchange (little-endian, no padding) and their entry points.
#pragma once

#include <cstdint>

#pragma pack(push, 1)

// A position in the map program's mesh system; all five fields zero is the empty position.
struct TAtlasMeshPos
{
    uint16_t mesh;
    uint8_t sub1;
    uint8_t sub2;
    int32_t value1;
    int32_t value2;
};
static_assert(sizeof(TAtlasMeshPos) == 12);

// Longitude then latitude, each as degrees, minutes, seconds and milliseconds.
struct TAtlasBearings
{
    uint16_t lonDegrees, lonMinutes, lonSeconds, lonMilliseconds;
    uint16_t latDegrees, latMinutes, latSeconds, latMilliseconds;
};
static_assert(sizeof(TAtlasBearings) == 16);

// The map window's position: where it opens, and after the call where the user left it.
struct TAtlasWindowRec
{
    TAtlasMeshPos pos;
    int16_t scale; // 10
    int16_t reserved;
};
static_assert(sizeof(TAtlasWindowRec) == 16);

constexpr int AtlasMarkNameSize = 512;

// One mark of a mark file, appended as it is.
struct TAtlasMarkRec
{
    int16_t head1; // 1
    int16_t head2; // 0
    TAtlasMeshPos pos;
    char name[AtlasMarkNameSize]; // CP932, zero-terminated
    int16_t tail1; // 0
    int16_t tail2; // 1
};
static_assert(sizeof(TAtlasMarkRec) == 532);

#pragma pack(pop)

// The result buffer of DTMapAdrs: 0-3 mesh (4 hex digits), 4-5 and 6-7 the two sub values (2 hex digits
// each), 10-17 and 18-25 the two values (8 decimal digits each).
constexpr int AtlasAddressBufferSize = 124;

// Results of DTMapAdrs.
enum DTMapAdrsResult : int {
    DTMapFound = 0,
    DTMapNearby = 1, // only the exchange area's point
    DTMapWrongDisc = 3,
    DTMapBadNumber = 4,
    DTMapNoData = 8,
};

extern "C" {
// window, 400, rec, 1 → 0 once the map window was shown; rec holds where the map ended.
using AtlasCreateWindow2Proc = int (*)(void* window, int32_t mode, TAtlasWindowRec* rec, int32_t flags);
using AtlasMeshToBearingsProc = int (*)(const TAtlasMeshPos* mesh, TAtlasBearings* bearings, int32_t flags);
using AtlasBearingsToMeshProc = int (*)(TAtlasMeshPos* mesh, const TAtlasBearings* bearings, int32_t flags);
// digits, the zeroed result buffer, the program's work folder.
using DTMapAdrsProc = int (*)(const char* tel, char* result, const char* workFolder);
// file, 1, rec, 1, 2 → 0 when the mark was appended.
using AtlasSaveMarkFileProc = int16_t (*)(const char* file, int32_t kind, const TAtlasMarkRec* rec, int32_t count,
                                          int32_t mode);
}

// The stand-in map window returns at once, moved by the latitude and longitude (milliseconds of arc) that
// this variable holds as "LAT,LON"; "FAIL" makes it refuse to open.
constexpr const char* AtlasWindowMoveVariable = "TOVAREL_ATLAS_MOVE";
