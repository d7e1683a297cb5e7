// Fuzz target: the system's memory text read for the about box, and its lines formatted.
#include "maintenance/VerInfo.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto memory = ParseMemInfo(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (memory) {
        (void)MemoryAvailableText(*memory);
        (void)MemoryPercentText(*memory);
    }
    return 0;
}
