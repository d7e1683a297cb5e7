// Fuzz target: the system's release text read for the about box.
#include "maintenance/VerInfo.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    (void)ParseOsPrettyName(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
