// "Dlzplst.dll": the postal-code dictionary. A search takes 3 to 7 digits as a prefix of the postal codes
// and keeps, behind a handle, the municipalities they lie in with their towns and large offices.
#include "AddressMaster.h"

#include <algorithm>
#include <cstring>

using namespace AddressMaster;

namespace {

struct Hit
{
    int city = 0;
    std::vector<int> towns, offices;
};

struct Search
{
    std::shared_ptr<const Dictionary> dic;
    std::vector<Hit> hits; // by JIS code
};

HandleTable<Search>& searches()
{
    static HandleTable<Search> table;
    return table;
}

const Hit* findHit(const Search& s, const TPosCityRec* city)
{
    const std::string_view jis = FieldText(city->JisCode, sizeof city->JisCode);
    for (const Hit& h : s.hits)
        if (s.dic->cities[size_t(h.city)].jis == jis)
            return &h;
    return nullptr;
}

int32_t first(const char* digits, int32_t* cityCount, int16_t* code, const char* folder)
{
    *cityCount = 0;
    const std::string_view text = digits ? FieldText(digits, 8) : std::string_view();
    if (text.size() < 3 || text.size() > 7 ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        *code = DIC_BAD_INPUT;
        return 0;
    }
    auto s = std::make_shared<Search>();
    if (const int32_t rc = Load(folder, s->dic); rc != DIC_OK) {
        *code = int16_t(rc);
        return 0;
    }
    const auto& postals = s->dic->postals;
    auto it = std::lower_bound(postals.begin(), postals.end(), text,
                               [](const PostalEntry& e, std::string_view p) { return e.postal < p; });
    for (; it != postals.end() && it->postal.substr(0, text.size()) == text; ++it) {
        auto hit =
            std::find_if(s->hits.begin(), s->hits.end(), [&](const Hit& h) { return h.city == it->city; });
        if (hit == s->hits.end())
            hit = s->hits.insert(s->hits.end(), Hit{it->city, {}, {}});
        (it->office ? hit->offices : hit->towns).push_back(it->index);
    }
    if (s->hits.empty()) {
        *code = DIC_NOT_FOUND;
        return 0;
    }
    std::sort(s->hits.begin(), s->hits.end(), [](const Hit& a, const Hit& b) { return a.city < b.city; });
    *cityCount = int32_t(s->hits.size());
    *code = DIC_OK;
    return searches().add(std::move(s));
}

} // namespace

DIC_EXPORT int32_t DLZPLSTFirst(const char* digits, int32_t* cityCount, int16_t* code, const char* folder)
{
    if (!cityCount || !code)
        return 0;
    int32_t handle = 0;
    const int32_t rc = Guard([&] {
        handle = first(digits, cityCount, code, folder);
        return DIC_OK;
    });
    if (rc != DIC_OK) {
        *code = int16_t(rc);
        return 0;
    }
    return handle;
}

DIC_EXPORT int32_t DLZPLSTCityList(int32_t handle, TPosCityRec* cities, int32_t reserved, int32_t n)
{
    return Guard([&] {
        const auto s = searches().get(handle);
        if (!s)
            return DIC_BAD_HANDLE;
        if (!cities || n < 0)
            return DIC_BAD_ARGUMENT;
        for (size_t i = 0; i < s->hits.size() && i < size_t(n); ++i) {
            const Hit& h = s->hits[i];
            const City& c = s->dic->cities[size_t(h.city)];
            TPosCityRec r;
            std::memset(&r, 0, sizeof r);
            Put(r.JisCode, c.jis);
            Put(r.Reading, FullReading(*s->dic, c));
            Put(r.Name, FullName(*s->dic, c));
            r.TownCount = int16_t(std::min<size_t>(h.towns.size(), INT16_MAX));
            r.OfficeCount = int16_t(std::min<size_t>(h.offices.size(), INT16_MAX));
            std::memcpy(&cities[i], &r, sizeof r);
        }
        return DIC_OK;
    });
}

DIC_EXPORT int32_t DLZPLSTTownList(int32_t handle, const TPosCityRec* city, TPosTownRec* towns,
                                   int32_t reserved, int32_t n)
{
    return Guard([&] {
        const auto s = searches().get(handle);
        if (!s)
            return DIC_BAD_HANDLE;
        if (!city || !towns || n < 0)
            return DIC_BAD_ARGUMENT;
        const Hit* h = findHit(*s, city);
        if (!h || h->towns.empty())
            return DIC_NOT_FOUND;
        for (size_t i = 0; i < h->towns.size() && i < size_t(n); ++i) {
            const Town& t = s->dic->towns[size_t(h->towns[i])];
            PutTown(&towns[i], t.postal, t.reading, t.name, t.unit);
        }
        return DIC_OK;
    });
}

DIC_EXPORT int32_t DLZPLSTLgTownList(int32_t handle, const TPosCityRec* city, TPosTownRec* towns,
                                     TLargeOfficeRec* offices, int32_t reserved, int32_t n)
{
    return Guard([&] {
        const auto s = searches().get(handle);
        if (!s)
            return DIC_BAD_HANDLE;
        if (!city || !towns || !offices || n < 0)
            return DIC_BAD_ARGUMENT;
        const Hit* h = findHit(*s, city);
        if (!h || h->offices.empty())
            return DIC_NOT_FOUND;
        for (size_t i = 0; i < h->offices.size() && i < size_t(n); ++i) {
            const Office& o = s->dic->offices[size_t(h->offices[i])];
            PutTown(&towns[i], o.postal, o.townReading, o.townName, o.unit);
            PutOffice(&offices[i], o);
        }
        return DIC_OK;
    });
}

DIC_EXPORT int32_t DLZPLSTClose(int32_t handle)
{
    return Guard([&] { return searches().remove(handle) ? DIC_OK : DIC_BAD_HANDLE; });
}

// Bound by the callers, never called; answers that it is not supported.
DIC_EXPORT int32_t DLZPLSTPost(int32_t handle)
{
    return DIC_NOT_SUPPORTED;
}

static_assert(std::is_same_v<decltype(&DLZPLSTFirst), TDLZPLSTFirst>);
static_assert(std::is_same_v<decltype(&DLZPLSTCityList), TDLZPLSTCityList>);
static_assert(std::is_same_v<decltype(&DLZPLSTTownList), TDLZPLSTTownList>);
static_assert(std::is_same_v<decltype(&DLZPLSTLgTownList), TDLZPLSTLgTownList>);
static_assert(std::is_same_v<decltype(&DLZPLSTClose), TDLZPLSTClose>);
static_assert(std::is_same_v<decltype(&DLZPLSTPost), TDLZPLSTPost>);
