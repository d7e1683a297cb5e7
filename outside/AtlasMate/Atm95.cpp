// "Atm95.dll": the map window and the conversions between mesh positions and bearings. The map window
// returns at once, moved by what AtlasWindowMoveVariable says.
#include "AtlasMesh.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

uint32_t toMs(uint16_t d, uint16_t m, uint16_t s, uint16_t ms)
{
    return uint32_t(d) * 3600000 + uint32_t(m) * 60000 + uint32_t(s) * 1000 + ms;
}

void toWords(uint32_t v, uint16_t& d, uint16_t& m, uint16_t& s, uint16_t& ms)
{
    d = uint16_t(v / 3600000);
    m = uint16_t(v / 60000 % 60);
    s = uint16_t(v / 1000 % 60);
    ms = uint16_t(v % 1000);
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) int AtlasMeshToBearings(const TAtlasMeshPos* mesh, TAtlasBearings* out,
                                                              int32_t)
{
    if (!mesh || !out)
        return 1;
    std::memset(out, 0, sizeof *out);
    const auto p = AtlasMesh::ToPosition(*mesh);
    if (!p)
        return 1;
    toWords(p->lon, out->lonDegrees, out->lonMinutes, out->lonSeconds, out->lonMilliseconds);
    toWords(p->lat, out->latDegrees, out->latMinutes, out->latSeconds, out->latMilliseconds);
    return 0;
}

__attribute__((visibility("default"))) int AtlasBearingsToMesh(TAtlasMeshPos* mesh, const TAtlasBearings* in,
                                                              int32_t)
{
    if (!mesh || !in)
        return 1;
    std::memset(mesh, 0, sizeof *mesh);
    if (in->lonMinutes >= 60 || in->lonSeconds >= 60 || in->lonMilliseconds >= 1000 || in->latMinutes >= 60 ||
        in->latSeconds >= 60 || in->latMilliseconds >= 1000)
        return 1;
    const auto m = AtlasMesh::FromPosition(
        {toMs(in->latDegrees, in->latMinutes, in->latSeconds, in->latMilliseconds),
         toMs(in->lonDegrees, in->lonMinutes, in->lonSeconds, in->lonMilliseconds)});
    if (!m)
        return 1;
    *mesh = *m;
    return 0;
}

__attribute__((visibility("default"))) int AtlasCreateWindow2(void*, int32_t, TAtlasWindowRec* rec, int32_t)
{
    if (!rec)
        return 1;
    const char* move = std::getenv(AtlasWindowMoveVariable);
    if (move && std::strcmp(move, "FAIL") == 0)
        return 2;
    const auto p = AtlasMesh::ToPosition(rec->pos);
    if (!p)
        return 3;
    long dLat = 0, dLon = 0;
    if (move)
        std::sscanf(move, "%ld,%ld", &dLat, &dLon);
    const auto moved = AtlasMesh::FromPosition({uint32_t(long(p->lat) + dLat), uint32_t(long(p->lon) + dLon)});
    // A map moved out of Japan ends on an empty position.
    rec->pos = moved.value_or(TAtlasMeshPos{});
    return 0;
}

} // extern "C"
