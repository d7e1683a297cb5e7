// Fuzz target: the input-history file reader; whatever it accepts must write back to the same entries.
#include "FuzzSupport.h"

#include "core/AppSub.h"
#include "core/HisInfo.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<THistoryStruct> entries;
    if (!MtdHistoryFile::Decode(Fuzz::Bytes(data, size), &entries))
        return 0;
    std::vector<THistoryStruct> again;
    Fuzz::Check(MtdHistoryFile::Decode(MtdHistoryFile::Encode(entries), &again));
    Fuzz::Check(again.size() == entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        // Bitwise, so that a NaN date compares too.
        Fuzz::Check(std::memcmp(&again[i].Date, &entries[i].Date, sizeof(double)) == 0);
        Fuzz::Check(again[i].Text == entries[i].Text);
        // What the list keeps of an entry after reading.
        TrimAnsiText(entries[i].Text);
    }
    return 0;
}
