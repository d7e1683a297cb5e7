// "Dlk1ad.dll": the area lists, top-down: prefectures (all or one region), the municipalities of a
// prefecture in reading order, the oazas of a municipality (optionally split into their 丁目).
#include "AddressMaster.h"

#include <algorithm>
#include <cstring>

using namespace AddressMaster;

namespace {

// First and last prefecture code of each region: 北海道・東北, 関東, 中部, 近畿, 中国・四国, 九州・沖縄.
constexpr int RegionRange[6][2] = {{1, 7}, {8, 14}, {15, 23}, {24, 30}, {31, 39}, {40, 47}};

void putPref(const Prefecture& p, TKanaPrefRec* out)
{
    TKanaPrefRec r;
    std::memset(&r, 0, sizeof r);
    r.Code = int16_t(p.code);
    Put(r.Name, p.name);
    r.CityCount = uint16_t(std::min<size_t>(p.cities.size(), UINT16_MAX));
    std::memcpy(out, &r, sizeof r);
}

int32_t prefectures(int first, int last, TKanaPrefRec* out, const char* folder)
{
    if (!out || !folder)
        return DIC_BAD_ARGUMENT;
    std::shared_ptr<const Dictionary> dic;
    if (const int32_t rc = Load(folder, dic); rc != DIC_OK)
        return rc;
    int slot = 0;
    for (int code = first; code <= last; ++code)
        if (code <= int(dic->prefectures.size()))
            putPref(dic->prefectures[size_t(code - 1)], &out[slot++]);
    return slot ? DIC_OK : DIC_NOT_FOUND;
}

int32_t oazas(const char* cityCode, TKanaOazaRec* out, int32_t n, const char* folder, bool chome)
{
    if (!cityCode || !out || !folder || n < 0)
        return DIC_BAD_ARGUMENT;
    const std::string_view code = FieldText(cityCode, 6);
    if (code.size() != 5 || code.find_first_not_of("0123456789") != std::string_view::npos)
        return DIC_BAD_INPUT;
    std::shared_ptr<const Dictionary> dic;
    if (const int32_t rc = Load(folder, dic); rc != DIC_OK)
        return rc;
    const int c = dic->findCity(code);
    if (c < 0 || dic->cities[size_t(c)].oazas.empty())
        return DIC_NOT_FOUND;
    const City& city = dic->cities[size_t(c)];
    int32_t slot = 0;
    auto put = [&](const Town& t, int sub, std::string_view name) {
        if (slot >= n)
            return;
        TKanaOazaRec r;
        std::memset(&r, 0, sizeof r);
        // The 8-character oaza code; the 丁目 of a split entry follows in the bytes after it.
        const std::string block = std::string(city.jis) + BlockCode(t.unit, sub);
        std::memcpy(r.AreaCode, block.data(), sizeof r.AreaCode);
        if (sub)
            std::memcpy(r.Reserved, block.data() + sizeof r.AreaCode, 3);
        Put(r.Head, Head(t.reading));
        Put(r.Name, name);
        r.AreaCount = sub || chome ? 0 : uint16_t(t.chome);
        std::memcpy(&out[slot++], &r, sizeof r);
    };
    for (int o : city.oazas) {
        const Town& t = dic->towns[size_t(o)];
        if (!chome || t.chome == 0) {
            put(t, 0, t.name);
            continue;
        }
        for (int sub = 1; sub <= t.chome; ++sub)
            put(t, sub, std::string(t.name) + ChomeText(sub));
    }
    return DIC_OK;
}

} // namespace

DIC_EXPORT int32_t DLK1ADTdfkn(TKanaPrefRec* out, const char* folder)
{
    return Guard([&] { return prefectures(1, 47, out, folder); });
}

DIC_EXPORT int32_t DLK1ADTdfknPart(int32_t region, TKanaPrefRec* out, const char* folder)
{
    return Guard([&] {
        if (region < 0 || region > 5)
            return out && folder ? DIC_BAD_INPUT : DIC_BAD_ARGUMENT;
        return prefectures(RegionRange[region][0], RegionRange[region][1], out, folder);
    });
}

DIC_EXPORT int32_t DLK1ADCityAll(int32_t prefecture, TKanaCityRec* out, int32_t n, const char* folder)
{
    return Guard([&] {
        if (!out || !folder || n < 0)
            return DIC_BAD_ARGUMENT;
        if (prefecture < 1 || prefecture > 47)
            return DIC_BAD_INPUT;
        std::shared_ptr<const Dictionary> dic;
        if (const int32_t rc = Load(folder, dic); rc != DIC_OK)
            return rc;
        if (prefecture > int(dic->prefectures.size()))
            return DIC_NOT_FOUND;
        std::vector<int> cities = dic->prefectures[size_t(prefecture - 1)].cities;
        if (cities.empty())
            return DIC_NOT_FOUND;
        std::stable_sort(cities.begin(), cities.end(), [&](int a, int b) {
            return dic->cities[size_t(a)].reading < dic->cities[size_t(b)].reading;
        });
        for (size_t i = 0; i < cities.size() && i < size_t(n); ++i) {
            const City& c = dic->cities[size_t(cities[i])];
            TKanaCityRec r;
            std::memset(&r, 0, sizeof r);
            Put(r.Code, c.jis);
            Put(r.Head, Head(c.reading));
            Put(r.Name, c.name);
            r.OazaCount = uint16_t(std::min<size_t>(c.oazas.size(), UINT16_MAX));
            std::memcpy(&out[i], &r, sizeof r);
        }
        return DIC_OK;
    });
}

DIC_EXPORT int32_t DLK1ADOhazaAll(const char* cityCode, TKanaOazaRec* out, int32_t n, const char* folder)
{
    return Guard([&] { return oazas(cityCode, out, n, folder, false); });
}

DIC_EXPORT int32_t DLK1ADOhazaAll_Chome(const char* cityCode, TKanaOazaRec* out, int32_t n,
                                        const char* folder)
{
    return Guard([&] { return oazas(cityCode, out, n, folder, true); });
}

// Bound by the callers, never called; answers that it is not supported.
DIC_EXPORT int32_t DLK1ADAzaAll(const char* oazaCode, TKanaOazaRec* out, int32_t n, const char* folder)
{
    return DIC_NOT_SUPPORTED;
}

static_assert(std::is_same_v<decltype(&DLK1ADTdfkn), TDLK1ADTdfkn>);
static_assert(std::is_same_v<decltype(&DLK1ADTdfknPart), TDLK1ADTdfknPart>);
static_assert(std::is_same_v<decltype(&DLK1ADCityAll), TDLK1ADCityAll>);
static_assert(std::is_same_v<decltype(&DLK1ADOhazaAll), TDLK1ADOhazaAll>);
static_assert(std::is_same_v<decltype(&DLK1ADOhazaAll_Chome), TDLK1ADOhazaAll>);
static_assert(std::is_same_v<decltype(&DLK1ADAzaAll), TDLK1ADAzaAll>);
