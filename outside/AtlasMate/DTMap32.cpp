// "DTMap32.dll": the position of a telephone number. The stand-in knows the exchange areas of the address
// dictionary beside it (Dic/): a number gives the point of its exchange area's first municipality, always as
// a nearby position.
#include "AddressMaster.h"
#include "AtlasMesh.h"

#include <dlfcn.h>

#include <algorithm>

#include <cstdio>
#include <cstring>
#include <string>

using namespace AddressMaster;

namespace {

std::string dictionaryFolder()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&dictionaryFolder), &info) || !info.dli_fname)
        return std::string();
    std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1)) + "Dic/";
}

// The exchange with the longest prefix that starts digits (after the trunk 0).
const Exchange* findExchange(const Dictionary& dic, std::string_view digits)
{
    for (size_t n = std::min<size_t>(5, digits.size()); n > 0; --n) {
        const std::string_view key = digits.substr(0, n);
        const auto& ex = dic.exchanges;
        auto it = std::lower_bound(ex.begin(), ex.end(), key,
                                   [](const Exchange& e, std::string_view k) { return e.prefix < k; });
        if (it != ex.end() && it->prefix == key && !it->cities.empty())
            return &*it;
    }
    return nullptr;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int DTMapAdrs(const char* tel, char* result, const char*)
{
    if (!tel || !result)
        return DTMapBadNumber;
    const std::string_view digits(tel, strnlen(tel, 32));
    if (digits.size() < 10 || digits.size() > 11 || digits[0] != '0' ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return DTMapBadNumber;
    std::shared_ptr<const Dictionary> dic;
    if (Load(dictionaryFolder().c_str(), dic) != DIC_OK)
        return DTMapNoData;
    const Exchange* exchange = findExchange(*dic, digits.substr(1));
    if (!exchange)
        return DTMapNoData;
    const City& city = dic->cities[size_t(exchange->cities.front())];
    // The dictionary's 1/256 seconds to milliseconds.
    const auto ms = [](uint32_t v) { return uint32_t((uint64_t(v) * 1000 + 128) / 256); };
    const auto mesh = AtlasMesh::FromPosition({ms(city.lat), ms(city.lon)});
    if (!mesh)
        return DTMapNoData;
    char text[27];
    std::snprintf(text, sizeof text, "%04X%02X%02X  %08d%08d", unsigned(mesh->mesh), unsigned(mesh->sub1),
                  unsigned(mesh->sub2), int(mesh->value1), int(mesh->value2));
    std::memcpy(result, text, 26);
    return DTMapNearby;
}
