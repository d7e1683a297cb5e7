// Fuzz target: the reader of the directory data file "Kelvor.dat" and the name normalisation.
#include "../../outside/AddressDic/AddressMaster.cpp"
#include "../../outside/Dlkelvor17/KelvorData.cpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace Kelvor;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MatchForm(std::string_view(bytes).substr(0, 128));
    View v;
    if (!v.open(bytes.data(), bytes.size()))
        return 0;
    std::string_view texts[HeapTextCount];
    for (uint32_t i = 0; i < v.count(); ++i) {
        v.texts(i, texts);
        v.name(i);
        v.entryAtNameOffset(v.nameStart(i));
        uint32_t first = 0, last = 0;
        v.areaRange(v.area(i).substr(0, 5), first, last);
        const Entry e = v.entry(i);
        v.telRange(std::string_view(e.digits, strnlen(e.digits, sizeof e.digits)), first, last);
        uint32_t n = 0;
        if (v.postings(e.category, first, n))
            for (uint32_t k = 0; k < n; ++k)
                v.posting(first + k);
    }
    return 0;
}
