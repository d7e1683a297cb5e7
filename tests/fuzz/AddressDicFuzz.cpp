// Fuzz target: the reader of the dictionary file "Adrs.dic" and the address matching over what it read.
#include "../../outside/AddressDic/AddressMaster.cpp"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace AddressMaster;
    Dictionary dic;
    dic.bytes.assign(reinterpret_cast<const char*>(data), size);
    // The text as an address too: decoding and normalising arbitrary bytes.
    std::u32string text;
    if (Decode(std::string_view(dic.bytes).substr(0, 256), text))
        text = Normalise(text);
    if (!dic.parse())
        return 0;
    for (const City& c : dic.cities) {
        dic.findCity(c.jis);
        for (int t : c.towns)
            dic.findOaza(int(&c - dic.cities.data()), dic.towns[size_t(t)].unit);
    }
    const std::vector<CityMatch> matches = MatchCities(dic, text);
    for (const CityMatch& m : matches)
        MatchTowns(dic, m.city, std::u32string_view(text).substr(std::min(m.head, text.size())));
    char field[8];
    for (const Town& t : dic.towns) {
        Put(field, t.name);
        Head(t.reading);
    }
    return 0;
}
