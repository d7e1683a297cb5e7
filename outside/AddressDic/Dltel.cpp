// "Dltel.dll": the exchange-code dictionary. The digits of a telephone number select the exchange prefixes
// they start (five digits after the trunk 0 at most); their municipalities are the exchange areas, whose
// named towns are fetched in blocks of 20.
#include "AddressMaster.h"

#include <algorithm>
#include <cstring>

using namespace AddressMaster;

namespace {

struct Fetch
{
    std::shared_ptr<const Dictionary> dic;
    std::vector<int> towns;
    size_t next = 0;
};

HandleTable<Fetch>& fetches()
{
    static HandleTable<Fetch> table;
    return table;
}

// The exchange areas of the digits, by JIS code.
int32_t areas(const char* digits, const char* folder, std::shared_ptr<const Dictionary>& dic,
              std::vector<int>& out)
{
    if (!digits || !folder)
        return DIC_BAD_ARGUMENT;
    const std::string_view text = FieldText(digits, 32);
    if (text.size() < 2 || text[0] != '0' || text.find_first_not_of("0123456789") != std::string_view::npos)
        return DIC_BAD_INPUT;
    if (const int32_t rc = Load(folder, dic); rc != DIC_OK)
        return rc;
    const std::string_view key = text.substr(1, 5);
    const auto& ex = dic->exchanges;
    auto it = std::lower_bound(ex.begin(), ex.end(), key,
                               [](const Exchange& e, std::string_view k) { return e.prefix < k; });
    for (; it != ex.end() && it->prefix.substr(0, key.size()) == key; ++it)
        out.insert(out.end(), it->cities.begin(), it->cities.end());
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out.empty() ? DIC_NOT_FOUND : DIC_OK;
}

std::vector<int> namedTowns(const Dictionary& dic, int city)
{
    std::vector<int> out;
    for (int t : dic.cities[size_t(city)].towns)
        if (!dic.towns[size_t(t)].name.empty())
            out.push_back(t);
    return out;
}

// Fills the next block; the status says whether more follow.
int32_t fillBlock(Fetch& f, TKykbnTownRec* block)
{
    std::memset(block, 0, sizeof(TKykbnTownRec) * KykbnBlockSize);
    if (f.next >= f.towns.size())
        return DIC_NOT_FOUND;
    for (int i = 0; i < KykbnBlockSize && f.next < f.towns.size(); ++i, ++f.next) {
        const Town& t = f.dic->towns[size_t(f.towns[f.next])];
        TKykbnTownRec r;
        std::memset(&r, 0, sizeof r);
        Put(r.Head, Head(t.reading).substr(0, 1));
        Put(r.PostalCode, t.postal);
        Put(r.AreaCode, std::string(f.dic->cities[size_t(t.city)].jis) + BlockCode(t.unit));
        Put(r.Name, t.name);
        std::memcpy(&block[i], &r, sizeof r);
    }
    return f.next < f.towns.size() ? DLTL_MORE_BLOCKS : DLTL_LAST_BLOCK;
}

} // namespace

DIC_EXPORT int32_t DLTLPrefix(const char* digits, char* areaCode, int16_t* n, const char* folder)
{
    return Guard([&] {
        if (!areaCode || !n)
            return DIC_BAD_ARGUMENT;
        *n = 0;
        std::shared_ptr<const Dictionary> dic;
        std::vector<int> found;
        const int32_t rc = areas(digits, folder, dic, found);
        if (rc != DIC_OK)
            return rc;
        *n = int16_t(std::min<size_t>(found.size(), INT16_MAX));
        Put(areaCode, 14, FieldText(digits, 6));
        return DIC_OK;
    });
}

DIC_EXPORT int32_t DLTLCity2(const char* digits, TKykbnCityRec* out, const char* folder)
{
    return Guard([&] {
        if (!out)
            return DIC_BAD_ARGUMENT;
        std::memset(out, 0, sizeof(TKykbnCityRec) * KykbnBlockSize);
        std::shared_ptr<const Dictionary> dic;
        std::vector<int> found;
        if (const int32_t rc = areas(digits, folder, dic, found); rc != DIC_OK)
            return rc;
        for (size_t i = 0; i < found.size() && i < size_t(KykbnBlockSize); ++i) {
            const City& c = dic->cities[size_t(found[i])];
            TKykbnCityRec r;
            std::memset(&r, 0, sizeof r);
            Put(r.JisCode, c.jis);
            Put(r.Name, FullName(*dic, c));
            r.TownCount = int32_t(namedTowns(*dic, found[i]).size());
            std::memcpy(&out[i], &r, sizeof r);
        }
        return DIC_OK;
    });
}

DIC_EXPORT int32_t DLTLTown2First(const char* digits, const TKykbnCityRec* area, TKykbnTownRec* block,
                                  int32_t* status, const char* folder)
{
    if (!status)
        return 0;
    int32_t handle = 0;
    *status = Guard([&] {
        if (!area || !block || !folder)
            return DIC_BAD_ARGUMENT;
        auto f = std::make_shared<Fetch>();
        if (const int32_t rc = Load(folder, f->dic); rc != DIC_OK)
            return rc;
        const int c = f->dic->findCity(FieldText(area->JisCode, sizeof area->JisCode));
        if (c < 0)
            return DIC_NOT_FOUND;
        f->towns = namedTowns(*f->dic, c);
        const int32_t st = fillBlock(*f, block);
        if (st != DIC_NOT_FOUND)
            handle = fetches().add(std::move(f));
        return st;
    });
    return handle;
}

DIC_EXPORT int32_t DLTLTown2Next(int32_t handle, TKykbnTownRec* block)
{
    return Guard([&] {
        const auto f = fetches().get(handle);
        if (!f)
            return DIC_BAD_HANDLE;
        if (!block)
            return DIC_BAD_ARGUMENT;
        return fillBlock(*f, block);
    });
}

DIC_EXPORT int32_t DLTLTown2Close(int32_t handle)
{
    return Guard([&] { return fetches().remove(handle) ? DIC_OK : DIC_BAD_HANDLE; });
}

// Bound by the callers, never called; answers that it is not supported.
DIC_EXPORT int32_t DLTLTown2Prev(int32_t handle, TKykbnTownRec* block)
{
    return DIC_NOT_SUPPORTED;
}

static_assert(std::is_same_v<decltype(&DLTLPrefix), TDLTLPrefix>);
static_assert(std::is_same_v<decltype(&DLTLCity2), TDLTLCity2>);
static_assert(std::is_same_v<decltype(&DLTLTown2First), TDLTLTown2First>);
static_assert(std::is_same_v<decltype(&DLTLTown2Next), TDLTLTown2Next>);
static_assert(std::is_same_v<decltype(&DLTLTown2Close), TDLTLTown2Close>);
static_assert(std::is_same_v<decltype(&DLTLTown2Prev), TDLTLTown2Prev>);
