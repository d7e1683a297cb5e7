// The station data file "Station.dic" of the stand-in station library: its writer and reader.
//
// Layout (little-endian): the 8 bytes "TVSTN001", uint32 station count, uint32 line count; the line names,
// StationLineNameSize bytes each; then per station a TStationRec (distance and bearing 0, serial = its
// position from 1) followed by uint16 line count and MaxLinesPerStation uint16 line indexes.
#pragma once

#include "StationLibApi.h"

#include <string>
#include <vector>

namespace Dlstinf {

constexpr int MaxLinesPerStation = 16;

struct Station
{
    TStationRec rec{};
    std::vector<uint16_t> lines;
};

struct StationData
{
    std::vector<std::string> lineNames; // each exactly StationLineNameSize bytes
    std::vector<Station> stations;

    // Parses the file's bytes; false (and the data left empty) when they break the layout.
    bool parse(const std::string& bytes);
    std::string serialize() const;
};

// Reads folder + StationDataFile; false when it is missing or damaged.
bool LoadStationData(const char* folder, StationData& out);

} // namespace Dlstinf
