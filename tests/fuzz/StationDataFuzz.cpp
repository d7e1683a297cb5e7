// Fuzz target: the reader of the station library's data file "Station.dic".
#include "../../outside/Dlstinf/StationData.cpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Dlstinf::StationData table;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!table.parse(bytes))
        return 0;
    for (const Dlstinf::Station& s : table.stations)
        for (uint16_t line : s.lines)
            if (line >= table.lineNames.size())
                __builtin_trap();
    // What was read writes back to the same bytes.
    if (table.serialize() != bytes)
        __builtin_trap();
    return 0;
}
