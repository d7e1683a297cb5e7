// Fuzz target: the land ring file of the offline map, and the result buffer of the telephone position.
//
// The first byte chooses the reader; the rest is its input.
#include "FuzzSupport.h"

#include "AtlasMateApi.h"
#include "links/AtlasMateView.h"
#include "links/MapControl.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray bytes = Fuzz::Bytes(data + 1, size - 1);
    if (data[0] % 2 == 0) {
        for (const QPolygonF& ring : ReadLandRings(bytes))
            for (const QPointF& p : ring)
                if (!(p.x() >= -1e9 && p.x() <= 1e9))
                    __builtin_trap();
    } else {
        char buffer[AtlasAddressBufferSize] = {};
        std::memcpy(buffer, bytes.constData(), std::min<size_t>(size - 1, sizeof buffer));
        (void)TAtlasMateView::MeshFromAddressBuffer(buffer);
    }
    return 0;
}
