// "Dlzs.dll": the address dictionary. The address text names municipalities by its head (prefecture and
// municipality, or municipality alone); the rest of the text narrows their towns and large offices.
#include "AddressMaster.h"

#include <algorithm>
#include <cstring>

using namespace AddressMaster;

namespace {

struct Query
{
    std::shared_ptr<const Dictionary> dic;
    std::u32string text;
};

int32_t prepare(const char* address, const char* folder, Query& q)
{
    if (!address || !folder)
        return DIC_BAD_ARGUMENT;
    if (const int32_t rc = Load(folder, q.dic); rc != DIC_OK)
        return rc;
    return NormalisedInput(address, q.text) ? DIC_OK : DIC_BAD_INPUT;
}

// The query, the chosen municipality and the rest of the text after its name.
int32_t chosen(const char* address, const TAdrsCityRec* city, const char* folder, Query& q, int& c,
               std::u32string_view& rest)
{
    if (!city)
        return DIC_BAD_ARGUMENT;
    if (const int32_t rc = prepare(address, folder, q); rc != DIC_OK)
        return rc;
    c = q.dic->findCity(FieldText(city->JisCode, sizeof city->JisCode));
    if (c < 0)
        return DIC_NOT_FOUND;
    rest = std::u32string_view(q.text).substr(std::min(CityHead(*q.dic, c, q.text), q.text.size()));
    return DIC_OK;
}

std::vector<int> matchOffices(const Dictionary& dic, int c, std::u32string_view rest)
{
    std::vector<int> out;
    for (int o : dic.cities[size_t(c)].offices) {
        std::u32string name;
        Decode(dic.offices[size_t(o)].townName, name);
        name = Normalise(name);
        if (rest.empty() ||
            (!name.empty() && (rest.substr(0, name.size()) == name || name.substr(0, rest.size()) == rest)))
            out.push_back(o);
    }
    return out;
}

int32_t townCount(const char* address, const TAdrsCityRec* city, int32_t* n, const char* folder, bool offices)
{
    if (!n)
        return DIC_BAD_ARGUMENT;
    *n = 0;
    Query q;
    int c = 0;
    std::u32string_view rest;
    if (const int32_t rc = chosen(address, city, folder, q, c, rest); rc != DIC_OK)
        return rc;
    const size_t count = offices ? matchOffices(*q.dic, c, rest).size() : MatchTowns(*q.dic, c, rest).size();
    *n = int32_t(count);
    return count ? DIC_OK : DIC_NOT_FOUND;
}

} // namespace

DIC_EXPORT int32_t DLZsJisCount(const char* address, int32_t* n, const char* folder)
{
    return Guard([&] {
        if (!n)
            return DIC_BAD_ARGUMENT;
        *n = 0;
        Query q;
        if (const int32_t rc = prepare(address, folder, q); rc != DIC_OK)
            return rc;
        *n = int32_t(MatchCities(*q.dic, q.text).size());
        return *n ? DIC_OK : DIC_NOT_FOUND;
    });
}

DIC_EXPORT int32_t DLZsJisList(const char* address, TAdrsCityRec* cities, int32_t n, const char* folder)
{
    return Guard([&] {
        if (!cities || n < 0)
            return DIC_BAD_ARGUMENT;
        Query q;
        if (const int32_t rc = prepare(address, folder, q); rc != DIC_OK)
            return rc;
        const std::vector<CityMatch> matches = MatchCities(*q.dic, q.text);
        if (matches.empty())
            return DIC_NOT_FOUND;
        for (size_t i = 0; i < matches.size() && i < size_t(n); ++i) {
            const City& c = q.dic->cities[size_t(matches[i].city)];
            const Prefecture& p = q.dic->prefectures[size_t(c.pref)];
            TAdrsCityRec r;
            std::memset(&r, 0, sizeof r);
            Put(r.JisCode, c.jis);
            PutCityParts(r, p, c);
            std::memcpy(&cities[i], &r, sizeof r);
        }
        return DIC_OK;
    });
}

DIC_EXPORT int32_t DLZsTownCount(const char* address, const TAdrsCityRec* city, int32_t* n,
                                 const char* folder)
{
    return Guard([&] { return townCount(address, city, n, folder, false); });
}

DIC_EXPORT int32_t DLZsLargeCount(const char* address, const TAdrsCityRec* city, int32_t* n,
                                  const char* folder)
{
    return Guard([&] { return townCount(address, city, n, folder, true); });
}

DIC_EXPORT int32_t DLZsTownList(const char* address, const TAdrsCityRec* city, TAdrsTownRec* towns, int32_t n,
                                const char* folder)
{
    return Guard([&] {
        if (!towns || n < 0)
            return DIC_BAD_ARGUMENT;
        Query q;
        int c = 0;
        std::u32string_view rest;
        if (const int32_t rc = chosen(address, city, folder, q, c, rest); rc != DIC_OK)
            return rc;
        const std::vector<int> matches = MatchTowns(*q.dic, c, rest);
        if (matches.empty())
            return DIC_NOT_FOUND;
        for (size_t i = 0; i < matches.size() && i < size_t(n); ++i) {
            const Town& t = q.dic->towns[size_t(matches[i])];
            PutTown(&towns[i], t.postal, t.reading, t.name, t.unit);
        }
        return DIC_OK;
    });
}

DIC_EXPORT int32_t DLZsLargeList(const char* address, const TAdrsCityRec* city, TAdrsTownRec* towns,
                                 TLargeOfficeRec* offices, int32_t n, const char* folder)
{
    return Guard([&] {
        if (!towns || !offices || n < 0)
            return DIC_BAD_ARGUMENT;
        Query q;
        int c = 0;
        std::u32string_view rest;
        if (const int32_t rc = chosen(address, city, folder, q, c, rest); rc != DIC_OK)
            return rc;
        const std::vector<int> matches = matchOffices(*q.dic, c, rest);
        if (matches.empty())
            return DIC_NOT_FOUND;
        for (size_t i = 0; i < matches.size() && i < size_t(n); ++i) {
            const Office& o = q.dic->offices[size_t(matches[i])];
            PutTown(&towns[i], o.postal, o.townReading, o.townName, o.unit);
            PutOffice(&offices[i], o);
        }
        return DIC_OK;
    });
}

static_assert(std::is_same_v<decltype(&DLZsJisCount), TDLZsJisCount>);
static_assert(std::is_same_v<decltype(&DLZsJisList), TDLZsJisList>);
static_assert(std::is_same_v<decltype(&DLZsTownCount), TDLZsTownCount>);
static_assert(std::is_same_v<decltype(&DLZsLargeCount), TDLZsTownCount>);
static_assert(std::is_same_v<decltype(&DLZsTownList), TDLZsTownList>);
static_assert(std::is_same_v<decltype(&DLZsLargeList), TDLZsLargeList>);
