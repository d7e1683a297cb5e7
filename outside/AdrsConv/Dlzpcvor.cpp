// "Dlzpcvor.dll": the address code, reading and postal code of an address, from the municipality and town
// names of "Adrs.dic" that start it (width, numerals and dashes normalised). An address that names no town
// gets the municipality's general postal code. The library's other entry points exist for binding only.
#include "AdrsConvApi.h"
#include "AddressMaster.h"

#include <cstring>

using namespace AddressMaster;

namespace {

int32_t lookup(const TYAdrsToRequest* request, TYAdrsToResult* result)
{
    if (!request || !result)
        return AdrsConvBadArgument;
    const std::string folder(FieldText(request->Folder, sizeof request->Folder));
    std::shared_ptr<const Dictionary> dic;
    if (Load(folder.c_str(), dic) != DIC_OK)
        return AdrsConvNoData;
    std::u32string text;
    const std::string address(FieldText(request->Address, sizeof request->Address));
    if (!NormalisedInput(address.c_str(), text))
        return AdrsConvNotFound;
    size_t head = 0;
    const int city = BestCity(*dic, text, &head);
    if (city < 0)
        return AdrsConvNotFound;
    const City& c = dic->cities[size_t(city)];
    const int town = BestTown(*dic, city, std::u32string_view(text).substr(head));
    const std::string_view postal = town >= 0 ? dic->towns[size_t(town)].postal : c.postal;
    if (postal.empty())
        return AdrsConvNotFound;
    TYAdrsToResult r;
    std::memset(&r, 0, sizeof r);
    Put(r.JisCode, c.jis);
    Put(r.PrefReading, dic->prefectures[size_t(c.pref)].reading);
    Put(r.CityReading, c.reading);
    if (town >= 0)
        Put(r.RestReading, dic->towns[size_t(town)].reading);
    Put(r.PostalCode, postal);
    std::memcpy(result, &r, sizeof r);
    return AdrsConvOk;
}

uint8_t answer(int32_t code, int32_t* rc)
{
    if (rc)
        *rc = code;
    return code == AdrsConvOk;
}

} // namespace

DIC_EXPORT uint8_t YAdrsTo(const TYAdrsToRequest* request, TYAdrsToResult* result, int32_t* rc)
{
    const int32_t code = Guard([&] { return lookup(request, result); });
    return answer(code == DIC_INTERNAL ? AdrsConvInternal : code, rc);
}

static_assert(std::is_same_v<decltype(&YAdrsTo), YAdrsToProc>);

#define NOT_SUPPORTED(name)                                                                                  \
    DIC_EXPORT uint8_t name(const void*, void*, int32_t* rc)                                                 \
    {                                                                                                        \
        return answer(AdrsConvNotSupported, rc);                                                             \
    }                                                                                                        \
    static_assert(std::is_same_v<decltype(&name), YOtherProc>);

NOT_SUPPORTED(YZipTo)
NOT_SUPPORTED(YJis2To)
NOT_SUPPORTED(YJis5To)
NOT_SUPPORTED(YJgZipTo)
NOT_SUPPORTED(YJgNameTo)
NOT_SUPPORTED(YJgJis5To)
NOT_SUPPORTED(YJgZipToEx)
