// Stand-in hyphenation library: Japanese telephone numbers in national format through libphonenumber.
#include "DlhypApi.h"

#include <phonenumbers/phonenumber.pb.h>
#include <phonenumbers/phonenumberutil.h>

#include <cstring>
#include <type_traits>
#include <string>

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

namespace {

constexpr int JapanCountryCode = 81;
// Longer inputs are no telephone numbers; the bound also keeps strnlen cheap on unterminated input.
constexpr size_t MaxNumberLength = 32;

std::string DigitsOf(const std::string& text)
{
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

int Hyphenate(const char* number, char* result)
{
    if (!number || !result)
        return DlhypBadArgument;
    const size_t length = strnlen(number, MaxNumberLength + 1);
    if (length == 0 || length > MaxNumberLength)
        return DlhypBadArgument;
    const std::string digits(number, length);
    if (DigitsOf(digits) != digits)
        return DlhypBadArgument;

    // GetInstance is a pthread_once singleton and Parse/Format are const: safe from any thread.
    const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
    PhoneNumber parsed;
    if (util->Parse(digits, "JP", &parsed) != PhoneNumberUtil::NO_PARSING_ERROR)
        return DlhypNotParsed;
    // "010" is the international prefix: such input parses as a foreign number, which is not ours to format.
    if (parsed.country_code() != JapanCountryCode || !util->IsValidNumber(parsed))
        return DlhypNotValid;
    std::string formatted;
    util->Format(parsed, PhoneNumberUtil::NATIONAL, &formatted);
    // Only hyphens may be added; anything else (dropped prefix, brackets, blanks) is refused.
    if (DigitsOf(formatted) != digits || formatted.size() > size_t(HyphenResultSize))
        return DlhypNotFormatted;
    for (char c : formatted)
        if (c != '-' && (c < '0' || c > '9'))
            return DlhypNotFormatted;

    std::memcpy(result, formatted.data(), formatted.size());
    return DlhypOk;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int
GetHyphen(const char* number, char* result, const char* dataFolder, const TSystemTime* time)
{
    // The data folder and the time are part of the boundary; this library keeps no data of its own.
    (void)dataFolder;
    (void)time;
    try {
        return Hyphenate(number, result);
    } catch (...) {
        return DlhypInternal;
    }
}

// Keeps the entry point's type in step with the boundary header.
static_assert(std::is_same_v<decltype(&GetHyphen), GetHyphenProc>);
