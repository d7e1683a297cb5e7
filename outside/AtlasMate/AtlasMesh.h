// The stand-in map program's mesh: the regional grid of Japan. The mesh code is the 40' latitude band times
// 100 plus the degree of longitude above 100; the two sub values are the 5' by 7.5' cell inside it, and the
// two values the offset inside that cell in milliseconds of arc. Positions outside Japan have no mesh.
#pragma once

#include "AtlasMateApi.h"

#include <optional>

namespace AtlasMesh {

struct Position
{
    uint32_t lat = 0, lon = 0; // milliseconds of arc
};

// The mesh of a position; none outside Japan.
std::optional<TAtlasMeshPos> FromPosition(Position p);
// The position of a mesh; none for an empty or malformed one.
std::optional<Position> ToPosition(const TAtlasMeshPos& mesh);
bool IsEmpty(const TAtlasMeshPos& mesh);

} // namespace AtlasMesh
