#include "AtlasMesh.h"

namespace AtlasMesh {

namespace {

constexpr uint32_t BandLat = 2400000; // 40'
constexpr uint32_t BandLon = 3600000; // 1°
constexpr uint32_t CellLat = 300000;  // 5'
constexpr uint32_t CellLon = 450000;  // 7.5'
// Japan: 20° to 46°40' north, 122° to 154° east.
constexpr uint32_t LatCodeMin = 30, LatCodeMax = 69;
constexpr uint32_t LonCodeMin = 22, LonCodeMax = 53;

} // namespace

bool IsEmpty(const TAtlasMeshPos& m)
{
    return m.mesh == 0 && m.sub1 == 0 && m.sub2 == 0 && m.value1 == 0 && m.value2 == 0;
}

std::optional<TAtlasMeshPos> FromPosition(Position p)
{
    const uint32_t latCode = p.lat / BandLat;
    const uint32_t lonDegrees = p.lon / BandLon;
    if (latCode < LatCodeMin || latCode > LatCodeMax || lonDegrees < 100 + LonCodeMin ||
        lonDegrees > 100 + LonCodeMax)
        return std::nullopt;
    const uint32_t latRest = p.lat % BandLat;
    const uint32_t lonRest = p.lon % BandLon;
    TAtlasMeshPos m{};
    m.mesh = uint16_t(latCode * 100 + (lonDegrees - 100));
    m.sub1 = uint8_t(latRest / CellLat);
    m.sub2 = uint8_t(lonRest / CellLon);
    m.value1 = int32_t(latRest % CellLat);
    m.value2 = int32_t(lonRest % CellLon);
    return m;
}

std::optional<Position> ToPosition(const TAtlasMeshPos& m)
{
    const uint32_t latCode = m.mesh / 100;
    const uint32_t lonCode = m.mesh % 100;
    if (latCode < LatCodeMin || latCode > LatCodeMax || lonCode < LonCodeMin || lonCode > LonCodeMax ||
        m.sub1 > 7 || m.sub2 > 7 || m.value1 < 0 || uint32_t(m.value1) >= CellLat || m.value2 < 0 ||
        uint32_t(m.value2) >= CellLon)
        return std::nullopt;
    return Position{latCode * BandLat + m.sub1 * CellLat + uint32_t(m.value1),
                    (100 + lonCode) * BandLon + m.sub2 * CellLon + uint32_t(m.value2)};
}

} // namespace AtlasMesh
