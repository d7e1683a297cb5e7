// Writer and reader of the station data file.
#include "StationData.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace Dlstinf {
namespace {

constexpr char Magic[8] = {'T', 'V', 'S', 'T', 'N', '0', '0', '1'};
constexpr size_t HeaderSize = 16;
constexpr size_t StationSize = sizeof(TStationRec) + 2 + 2 * MaxLinesPerStation;

uint32_t ReadU32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

uint16_t ReadU16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint16_t(b[0] | b[1] << 8);
}

void PutU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(char(v >> (8 * i)));
}

void PutU16(std::string& out, uint16_t v)
{
    out.push_back(char(v));
    out.push_back(char(v >> 8));
}

} // namespace

bool StationData::parse(const std::string& bytes)
{
    lineNames.clear();
    stations.clear();
    if (bytes.size() < HeaderSize || std::memcmp(bytes.data(), Magic, sizeof Magic) != 0)
        return false;
    const uint32_t stationCount = ReadU32(bytes.data() + 8);
    const uint32_t lineCount = ReadU32(bytes.data() + 12);
    // Counts bounded by the file's size before anything is reserved.
    const uint64_t expected = HeaderSize + uint64_t(lineCount) * StationLineNameSize + uint64_t(stationCount) * StationSize;
    if (expected != bytes.size())
        return false;
    const char* p = bytes.data() + HeaderSize;
    lineNames.reserve(lineCount);
    for (uint32_t i = 0; i < lineCount; ++i, p += StationLineNameSize)
        lineNames.emplace_back(p, StationLineNameSize);
    stations.reserve(stationCount);
    for (uint32_t i = 0; i < stationCount; ++i, p += StationSize) {
        Station s;
        std::memcpy(&s.rec, p, sizeof s.rec);
        const uint16_t count = ReadU16(p + sizeof s.rec);
        const bool valid = s.rec.Latitude != 0 && s.rec.Longitude != 0 && s.rec.Distance == 0 &&
                           s.rec.Bearing == 0 && s.rec.Serial == int32_t(i + 1) && count <= MaxLinesPerStation;
        if (!valid) {
            lineNames.clear();
            stations.clear();
            return false;
        }
        for (uint16_t k = 0; k < MaxLinesPerStation; ++k) {
            const uint16_t line = ReadU16(p + sizeof s.rec + 2 + 2 * k);
            // Unused slots hold zero.
            if (k >= count ? line != 0 : line >= lineCount) {
                lineNames.clear();
                stations.clear();
                return false;
            }
            if (k < count)
                s.lines.push_back(line);
        }
        stations.push_back(std::move(s));
    }
    return true;
}

std::string StationData::serialize() const
{
    std::string out(Magic, sizeof Magic);
    PutU32(out, uint32_t(stations.size()));
    PutU32(out, uint32_t(lineNames.size()));
    for (const std::string& name : lineNames) {
        std::string field = name.substr(0, StationLineNameSize);
        field.resize(StationLineNameSize, '\0');
        out += field;
    }
    for (const Station& s : stations) {
        out.append(reinterpret_cast<const char*>(&s.rec), sizeof s.rec);
        PutU16(out, uint16_t(s.lines.size()));
        for (int k = 0; k < MaxLinesPerStation; ++k)
            PutU16(out, k < int(s.lines.size()) ? s.lines[size_t(k)] : 0);
    }
    return out;
}

bool LoadStationData(const char* folder, StationData& out)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path.push_back('/');
    std::ifstream file(path + StationDataFile, std::ios::binary);
    if (!file)
        return false;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return out.parse(bytes);
}

} // namespace Dlstinf
