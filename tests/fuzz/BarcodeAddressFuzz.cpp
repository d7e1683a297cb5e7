// Fuzz target: the address number of the barcode library over any address text, with the input also read
// as a dictionary whose first postal code names the town.
#include "../../outside/AddressDic/AddressMaster.cpp"
#include "../../outside/Dlbarckj/AddressNumber.cpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace AddressMaster;
    Dictionary dic;
    dic.bytes.assign(reinterpret_cast<const char*>(data), size);
    std::u32string text;
    if (!Decode(std::string_view(dic.bytes).substr(0, 256), text))
        return 0;
    const bool parsed = dic.parse();
    const std::string postal =
        parsed && !dic.postals.empty() ? std::string(dic.postals[0].postal) : "1000013";
    const std::string number = Barcode::AddressNumber(parsed ? &dic : nullptr, postal, text);
    // Only digits, "-" and capitals, no "-" at either end or beside a letter, none doubled.
    for (size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        const bool letter = c >= 'A' && c <= 'Z';
        if (!letter && c != '-' && !(c >= '0' && c <= '9'))
            std::abort();
        if (c == '-' && (i == 0 || i + 1 == number.size() || number[i + 1] == '-' ||
                         (number[i - 1] >= 'A' && number[i - 1] <= 'Z') ||
                         (number[i + 1] >= 'A' && number[i + 1] <= 'Z')))
            std::abort();
    }
    const std::string symbol = Barcode::SymbolData(postal, number);
    int units = 0;
    for (char c : symbol)
        units += c >= 'A' && c <= 'Z' ? 2 : 1;
    if (units > 20 || (postal + number).compare(0, symbol.size(), symbol) != 0)
        std::abort();
    return 0;
}
