// Fuzz target: the name and address search history reader; whatever it reads must write back to the same
// entries.
#include "FuzzSupport.h"

#include "search/NmAdHistory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    for (int hisCount : {0, 30}) {
        const TNameSearchHistory read = TNameHistoryFile::Decode(bytes, hisCount);
        Fuzz::Check(read.entries.size() <= std::max(1, hisCount));
        Fuzz::Check(read.current.Name.size() <= HistoryNameBytes);
        if (read.current.AreaCount == 0)
            continue; // nothing was read; the defaults do not survive a write (count 0 ends the reading)
        const TNameSearchHistory again = TNameHistoryFile::Decode(TNameHistoryFile::Encode(read), hisCount);
        Fuzz::Check(again.current == read.current);
        Fuzz::Check(again.entries == read.entries);
    }
    return 0;
}
