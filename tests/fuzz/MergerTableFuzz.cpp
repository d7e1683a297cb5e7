// Fuzz target: the reader of the address conversion's mergers file "Merger.dic".
#include "../../outside/AddressDic/AddressMaster.cpp"
#include "../../outside/AdrsConv/MergerTable.cpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AdrsConv::MergerTable table;
    table.bytes.assign(reinterpret_cast<const char*>(data), size);
    if (table.parse())
        for (const AdrsConv::Merger& m : table.mergers)
            if (m.today.empty() || m.pref.empty() || m.former.empty())
                __builtin_trap();
    return 0;
}
