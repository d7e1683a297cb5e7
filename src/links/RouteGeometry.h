// Distance and compass bearing between two positions, as the route front ends show them.
#pragma once

#include <cstdint>

namespace RouteGeometry {

// Metres per millisecond of arc, the same on both axes.
constexpr double MetresPerMs = 0.03086419753;

// Metres between two positions in milliseconds of arc, rounded half away from zero.
int DistanceMetres(int32_t latitude1, int32_t longitude1, int32_t latitude2, int32_t longitude2);

// The bearing of the second position seen from the first: 1 north, 2 north-east, ... 8 north-west; 0 when
// both are the same. Any unit, as long as both points use it.
int GetBearing(uint32_t fromLatitude, uint32_t fromLongitude, uint32_t toLatitude, uint32_t toLongitude);

} // namespace RouteGeometry
