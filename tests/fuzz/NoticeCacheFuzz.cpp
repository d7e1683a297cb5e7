// Fuzz target: the notice cache "info.dat" read back, and written again from what was read.
#include "maintenance/Info.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const TNoticeCache cache =
        ReadNoticeCache(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QByteArray again = NoticeCacheBytes(cache.date, cache.text);
    return again.size() < 2 ? -1 : 0;
}
