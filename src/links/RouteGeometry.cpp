// Distance and bearing of the route front ends; also built into the stand-in station library.
#include "links/RouteGeometry.h"

#include <cmath>

namespace RouteGeometry {

int DistanceMetres(int32_t latitude1, int32_t longitude1, int32_t latitude2, int32_t longitude2)
{
    const double dLat = std::fabs(double(int64_t(latitude2) - latitude1)) * MetresPerMs;
    const double dLon = std::fabs(double(int64_t(longitude2) - longitude1)) * MetresPerMs;
    return int(std::llround(std::sqrt(dLat * dLat + dLon * dLon)));
}

int GetBearing(uint32_t fromLatitude, uint32_t fromLongitude, uint32_t toLatitude, uint32_t toLongitude)
{
    const long double dLat = static_cast<long double>(toLatitude) - fromLatitude;
    const long double dLon = static_cast<long double>(toLongitude) - fromLongitude;
    const long double d = std::sqrt(dLon * dLon + dLat * dLat);
    // Equal points have no direction.
    if (d == 0)
        return 0;
    const long double angle = std::acos(dLat / d) * 180 / 3.14159265358979323846L;
    const bool east = std::asin(dLon / d) > 0;
    if (angle >= 0 && angle <= 22.5L)
        return 1;
    if (angle <= 67.5L)
        return east ? 2 : 8;
    if (angle <= 112.5L)
        return east ? 3 : 7;
    if (angle <= 157.5L)
        return east ? 4 : 6;
    if (angle <= 180)
        return 5;
    return 0;
}

} // namespace RouteGeometry
