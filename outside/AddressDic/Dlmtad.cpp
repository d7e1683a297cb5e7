// "Dlmtad.dll": the details and position of an 11-character area code (municipality, oaza, 丁目), falling
// back to the oaza and then to the municipality when the finer part is unknown.
#include "AddressMaster.h"

#include <cstring>

using namespace AddressMaster;

namespace {

// Synthetic positions of 丁目: a few arc-seconds north of their oaza, one step per 丁目.
constexpr uint32_t ChomeStep = 5 * 256;

bool digits(std::string_view s)
{
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

int32_t lookup(const char* code, TMtAdrsAnswerRec* answer, const char* folder)
{
    if (!code || !answer || !folder)
        return DIC_BAD_ARGUMENT;
    std::memset(answer, 0, sizeof *answer);
    std::shared_ptr<const Dictionary> dic;
    if (const int32_t rc = Load(folder, dic); rc != DIC_OK)
        return rc;
    const std::string_view text = FieldText(code, 11);
    if (text.size() < 5 || !digits(text.substr(0, 5)))
        return DIC_BAD_INPUT;
    const int c = dic->findCity(text);
    if (c < 0)
        return DIC_NOT_FOUND;
    const City& city = dic->cities[size_t(c)];
    const Prefecture& pref = dic->prefectures[size_t(city.pref)];
    TMtAdrsAnswerRec a;
    std::memset(&a, 0, sizeof a);
    a.Latitude = city.lat;
    a.Longitude = city.lon;
    Put(a.PostalCode, city.postal);
    PutCityParts(a, pref, city);
    const int t = text.size() >= 8 ? dic->findOaza(c, text.substr(5, 3)) : -1;
    if (t >= 0) {
        const Town& town = dic->towns[size_t(t)];
        a.Latitude = town.lat;
        a.Longitude = town.lon;
        Put(a.PostalCode, town.postal);
        Put(a.OazaReading, town.reading);
        Put(a.OazaName, town.name);
        const std::string_view sub = text.size() == 11 ? text.substr(8, 3) : std::string_view();
        const int n = digits(sub) ? std::stoi(std::string(sub)) : 0;
        if (n >= 1 && n <= town.chome) {
            Put(a.AzaReading, std::to_string(n) + "\xc1\xae\xb3\xd2"); // ﾁｮｳﾒ
            Put(a.AzaName, ChomeText(n));
            a.Latitude = town.lat + uint32_t(n) * ChomeStep;
        }
    }
    std::memcpy(answer, &a, sizeof a);
    return DIC_OK;
}

} // namespace

DIC_EXPORT int32_t DLMTAdrs(const char* code, TMtAdrsAnswerRec* answer, const char* folder)
{
    return Guard([&] { return lookup(code, answer, folder); });
}

static_assert(std::is_same_v<decltype(&DLMTAdrs), TDLMTAdrs>);
