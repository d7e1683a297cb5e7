// Fuzz target: the place name file of the offline map.
#include "FuzzSupport.h"

#include "links/MapPlaces.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const TMapPlace& place : ReadMapPlaces(Fuzz::Bytes(data, size)))
        if (place.Name.isEmpty() || place.Position.lat > 90u * 3600000 || place.Position.lon > 180u * 3600000)
            __builtin_trap();
    return 0;
}
