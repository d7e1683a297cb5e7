// "DLZsCnv.dll": converts one free address text into its municipality, town, 丁目 and postal code. Width,
// numerals and dashes are normalised; the longest municipality name and then the longest town name that
// start the text win.
#include "AddressMaster.h"

#include <cstring>

using namespace AddressMaster;

namespace {

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

// Block numbers after the town: 番地 and 番 become "-", 号 is dropped, a final "-" goes.
std::u32string blockNumbers(std::u32string_view rest)
{
    std::u32string out;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest.substr(i, 2) == U"番地") {
            out += U'-';
            ++i;
        } else if (rest[i] == U'番') {
            out += U'-';
        } else if (rest[i] != U'号') {
            out += rest[i];
        }
    }
    while (!out.empty() && out.back() == U'-')
        out.pop_back();
    return out;
}

int32_t convert(const char* address, TAdrsConvAnswerRec* answer, const char* folder)
{
    if (!address || !answer || !folder)
        return DIC_BAD_ARGUMENT;
    std::memset(answer, 0, sizeof *answer);
    std::shared_ptr<const Dictionary> dic;
    if (const int32_t rc = Load(folder, dic); rc != DIC_OK)
        return rc;
    std::u32string text;
    if (!NormalisedInput(address, text))
        return DIC_BAD_INPUT;
    size_t head = 0;
    const int best = BestCity(*dic, text, &head);
    if (best < 0)
        return DIC_NOT_FOUND;
    const City& city = dic->cities[size_t(best)];
    const Prefecture& pref = dic->prefectures[size_t(city.pref)];
    TAdrsConvAnswerRec a;
    std::memset(&a, 0, sizeof a);
    Put(a.JisCode, city.jis);
    Put(a.PostalCode, city.postal);
    PutCityParts(a, pref, city);
    std::u32string_view rest = std::u32string_view(text).substr(head);
    const int town = BestTown(*dic, best, rest);
    if (town < 0) {
        Put(a.Rest, FullWidth(blockNumbers(rest)));
        std::memcpy(answer, &a, sizeof a);
        return DIC_PARTIAL;
    }
    const Town& t = dic->towns[size_t(town)];
    rest.remove_prefix(dic->keys().townNames[size_t(town)].size());
    int sub = 0;
    size_t digits = 0;
    while (digits < rest.size() && digits < 3 && isDigit(rest[digits]))
        ++digits;
    if (t.chome > 0 && digits > 0) {
        const int n = std::stoi(Encode(std::u32string(rest.substr(0, digits))));
        std::u32string_view after = rest.substr(digits);
        const bool marked = after.substr(0, 2) == U"丁目" || after.substr(0, 1) == U"-" || after.empty();
        if (n >= 1 && n <= t.chome && marked) {
            sub = n;
            after.remove_prefix(after.substr(0, 2) == U"丁目" ? 2 : after.empty() ? 0 : 1);
            rest = after;
        }
    }
    Put(a.PostalCode, t.postal);
    Put(a.RestReading, t.reading);
    Put(a.Rest, std::string(t.name) + (sub ? ChomeText(sub) : std::string()) + FullWidth(blockNumbers(rest)));
    Put(a.BlockCode, BlockCode(t.unit, sub));
    std::memcpy(answer, &a, sizeof a);
    return DIC_OK;
}

} // namespace

DIC_EXPORT int32_t DLZSCAdrs(const char* address, TAdrsConvAnswerRec* answer, const char* folder)
{
    return Guard([&] { return convert(address, answer, folder); });
}

static_assert(std::is_same_v<decltype(&DLZSCAdrs), TDLZSCAdrs>);
