// "MarkDll.dll": appends mark records to a mark file as they are handed over.
#include "AtlasMateApi.h"

#include <cstdio>

extern "C" __attribute__((visibility("default"))) int16_t AtlasSaveMarkFile(const char* file, int32_t kind,
                                                                           const TAtlasMarkRec* rec, int32_t count,
                                                                           int32_t)
{
    if (!file || !*file || !rec || kind != 1 || count < 1)
        return 1;
    FILE* f = std::fopen(file, "ab");
    if (!f)
        return 2;
    const bool written = std::fwrite(rec, sizeof *rec, size_t(count), f) == size_t(count);
    return std::fclose(f) == 0 && written ? 0 : 3;
}
