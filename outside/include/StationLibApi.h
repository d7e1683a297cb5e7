// Boundary of the station library "Dlstinf.dll": its 112-byte station record, entry points and result codes.
#pragma once

#include <cstddef>
#include <cstdint>

// Texts are CP932, zero-padded inside their field (a text may fill its field without a zero); numbers are
// little-endian.
#pragma pack(push, 1)
struct TStationRec
{
    uint32_t Latitude;  // 1/256 second of arc, Tokyo datum; 0 marks an empty record
    uint32_t Longitude;
    char Code[6];       // the code handed to the route launcher
    char Name[54];
    char Kana[32];      // reading, half-width katakana
    int32_t Distance;   // metres from the searched point (nearest-station search only)
    int32_t Bearing;    // 1 north to 8 north-west, clockwise (nearest-station search only)
    int32_t Serial;     // key of the line list
};
#pragma pack(pop)

static_assert(sizeof(TStationRec) == 112);
static_assert(offsetof(TStationRec, Code) == 8);
static_assert(offsetof(TStationRec, Name) == 14);
static_assert(offsetof(TStationRec, Kana) == 68);
static_assert(offsetof(TStationRec, Distance) == 100);
static_assert(offsetof(TStationRec, Bearing) == 104);
static_assert(offsetof(TStationRec, Serial) == 108);

// One entry of a line list.
constexpr int StationLineNameSize = 54;
// StationSearchFromPoint fills at most this many records (the caller hands in four).
constexpr int StationNearestCount = 3;
constexpr int StationSearchBufferCount = 4;
// Radius of the nearest-station search in metres.
constexpr int StationSearchRadius = 10000;

enum DlstinfCode : int {
    DlstinfOk = 0,
    DlstinfNotFound = 8,
    DlstinfBadArgument = 1, // a null pointer or a negative count
    DlstinfNoData = 2,      // the station data file is missing or damaged
};

extern "C" {
// Null buffer: *count = the number of stations whose reading begins with kana; with a buffer of *count
// records: fills up to that many and sets *count to the number filled.
using StationListExProc = int (*)(const char* kana, int32_t* count, TStationRec* buffer, const char* dicFolder);
// Fills buffer (StationSearchBufferCount records, zeroed by the caller) with the nearest stations within
// StationSearchRadius, nearest first; DlstinfNotFound when none.
using StationSearchFromPointProc = int (*)(uint32_t latitude, uint32_t longitude, TStationRec* buffer,
                                           const char* dicFolder);
// The lines of the station with that serial, as StationLineNameSize-byte names; counting as StationListEx.
using LineListProc = int (*)(int32_t serial, int32_t* count, char* buffer, const char* dicFolder);
}

// The station data file in the dictionary folder.
constexpr const char* StationDataFile = "Station.dic";
