// The address master shared by the dictionary libraries: the reader of "Adrs.dic", its indexes, the
// normalised matching of address text and the helpers that fill the fixed-layout records.
//
// "Adrs.dic" (built by make_address_dictionary) is CP932 text, one record per line ending in LF, fields
// separated by TAB; the first line is "TOVAREL ADRS 1". Records, in this order of kinds:
//   P  prefecture code (2 digits)  name  reading  latitude  longitude
//   C  JIS code (5 digits)  name  reading  latitude  longitude  general postal code (7 digits or empty)
//   T  JIS code  oaza unit  postal code  name  reading  丁目 count  latitude  longitude
//   O  JIS code  oaza unit  postal code  town name  town reading  office name  office reading  lat.  long.
//   X  exchange prefix (digits without the leading 0)  JIS codes separated by ","
// A municipality follows its prefecture; towns and offices follow their municipality. The oaza unit is
// "000" (no oaza), "001" to "999", then "A00" to "Z99". Coordinates are unsigned decimals in 1/256
// arc-second. Names are the municipality without its prefecture; readings are half-width katakana.
#pragma once

#include "DicRecords.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace AddressMaster {

struct Prefecture
{
    int code = 0;
    std::string_view name, reading;
    uint32_t lat = 0, lon = 0;
    std::vector<int> cities;
};

struct City
{
    std::string_view jis; // 5 digits
    int pref = 0;         // index into prefectures
    std::string_view name, reading, postal;
    uint32_t lat = 0, lon = 0;
    std::vector<int> towns;   // indexes into towns, in reading order
    std::vector<int> offices; // indexes into offices
    std::vector<int> oazas;   // the first town of each named oaza unit, in reading order
};

struct Town
{
    int city = 0;
    std::string_view unit, postal, name, reading;
    int chome = 0;
    uint32_t lat = 0, lon = 0;
};

struct Office
{
    int city = 0;
    std::string_view unit, postal, townName, townReading, name, reading;
    uint32_t lat = 0, lon = 0;
};

struct Exchange
{
    std::string_view prefix;
    std::vector<int> cities;
};

// One postal code of the postal index: a town or an office.
struct PostalEntry
{
    std::string_view postal;
    int city = 0;
    int index = 0; // into towns or offices
    bool office = false;
};

// Normalised keys of the address matching, built on first use.
struct MatchKeys
{
    std::vector<std::vector<std::u32string>> cityKeys; // per city: longest first
    std::vector<std::u32string> cityNames;             // per city: the name alone
    std::vector<std::u32string> prefNames;             // per prefecture
    std::vector<std::u32string> townNames;             // per town
    std::unordered_map<char32_t, std::vector<int>>
        citiesByFirst; // cities with a key starting with the letter
};

// A loaded dictionary; immutable once built, so any number of threads may read it.
class Dictionary
{
public:
    std::string bytes;
    std::vector<Prefecture> prefectures; // index = code - 1
    std::vector<City> cities;            // by JIS code
    std::vector<Town> towns;
    std::vector<Office> offices;
    std::vector<Exchange> exchanges;  // by prefix
    std::vector<PostalEntry> postals; // by postal code, then municipality, then file order

    // Parses bytes; false when they break the format.
    bool parse();
    // The municipality of a JIS code (the first 5 characters of code), -1 when none.
    int findCity(std::string_view jis) const;
    // The first town of an oaza unit of a municipality, -1 when none.
    int findOaza(int city, std::string_view unit) const;
    const MatchKeys& keys() const;

private:
    mutable std::once_flag m_keysOnce;
    mutable MatchKeys m_keys;
};

// The dictionary of folder + "Adrs.dic", loaded once per process and reloaded when the file changes.
int32_t Load(const char* folder, std::shared_ptr<const Dictionary>& out);

// Text of at most n bytes from the start of a possibly unterminated field.
std::string_view FieldText(const char* field, size_t n);
// Copies text into a field of width bytes: zero-padded, cut on a character boundary (a text may fill it).
void Put(char* field, size_t width, std::string_view text);
template <size_t N> void Put(char (&field)[N], std::string_view text)
{
    Put(field, N, text);
}
// The first character of a reading (one half-width kana byte, or the two bytes of a double-byte one).
std::string_view Head(std::string_view reading);

// CP932 <-> UTF-32; false when the text does not convert.
bool Decode(std::string_view cp932, std::u32string& out);
std::string Encode(const std::u32string& text);
// UTF-32 -> UTF-8; empty when the text holds no valid code points.
std::string EncodeUtf8(const std::u32string& text);
// Width, numerals, hyphens and blanks folded so that written variants of one address compare equal:
// full-width ASCII to ASCII, kanji numerals to Arabic, dash-like marks to "-", blanks dropped, ヶ to ケ.
std::u32string Normalise(const std::u32string& text);
// "１丁目" and kin, CP932.
std::string ChomeText(int n);
// ASCII made full-width, then CP932.
std::string FullWidth(const std::u32string& text);
// The normalised form of a zero-terminated CP932 address (at most 1,024 bytes read); false when it is null,
// does not decode or normalises to nothing.
bool NormalisedInput(const char* text, std::u32string& out);

// A municipality that an address text names, and the length of the text's head that names it (the whole
// text when the text is only the start of the municipality's name).
struct CityMatch
{
    int city = 0;
    size_t head = 0;
};
// Municipalities whose prefecture+name or name starts the text; else, when the text is a prefecture alone,
// its municipalities; else those whose name starts with the text (after an optional prefecture).
std::vector<CityMatch> MatchCities(const Dictionary& dic, std::u32string_view text);
// The length of the longest name of the municipality that starts the text; 0 when none does.
size_t CityHead(const Dictionary& dic, int city, std::u32string_view text);
// The towns of a municipality whose name starts the rest of the address or starts with it; every named
// town when the rest is empty.
std::vector<int> MatchTowns(const Dictionary& dic, int city, std::u32string_view rest);

// The municipality with the longest name that starts the normalised text (the first of equals), -1 when
// none; *head gets the length of that name.
int BestCity(const Dictionary& dic, std::u32string_view text, size_t* head);
// The municipalities that have a name starting with the first letter of text.
const std::vector<int>& CitiesStartingLike(const Dictionary& dic, std::u32string_view text);
// The town of a municipality whose normalised name is the longest to start rest; -1 when none.
int BestTown(const Dictionary& dic, int city, std::u32string_view rest);

// Strips the leading prefecture (index into prefectures, or -1) from a normalised text.
std::u32string_view StripPrefecture(const Dictionary& dic, std::u32string_view text, int* pref);

// Open search states of a library, addressed by small positive handles.
template <typename State> class HandleTable
{
public:
    int32_t add(std::shared_ptr<State> state)
    {
        std::lock_guard lock(m_mutex);
        int32_t h = m_next++;
        if (m_next <= 0)
            m_next = 1;
        m_states[h] = std::move(state);
        return h;
    }
    std::shared_ptr<State> get(int32_t h)
    {
        std::lock_guard lock(m_mutex);
        auto it = m_states.find(h);
        return it == m_states.end() ? nullptr : it->second;
    }
    bool remove(int32_t h)
    {
        std::lock_guard lock(m_mutex);
        return m_states.erase(h) > 0;
    }

private:
    std::mutex m_mutex;
    std::map<int32_t, std::shared_ptr<State>> m_states;
    int32_t m_next = 1;
};

// One town record of either postal or address answer (the two share their field names).
template <typename TownRec>
void PutTown(TownRec* out, std::string_view postal, std::string_view reading, std::string_view name,
             std::string_view unit);
// One large-office record.
void PutOffice(TLargeOfficeRec* out, const Office& office);

} // namespace AddressMaster

#define DIC_EXPORT extern "C" __attribute__((visibility("default")))

namespace AddressMaster {

// Runs an entry point's body; an exception inside the library becomes an error code.
template <typename F> int32_t Guard(F body)
{
    try {
        return body();
    } catch (...) {
        return DIC_INTERNAL;
    }
}

// Prefecture and municipality as one text.
inline std::string FullName(const Dictionary& dic, const City& c)
{
    return std::string(dic.prefectures[size_t(c.pref)].name) + std::string(c.name);
}
inline std::string FullReading(const Dictionary& dic, const City& c)
{
    return std::string(dic.prefectures[size_t(c.pref)].reading) + std::string(c.reading);
}
inline std::string BlockCode(std::string_view unit, int sub = 0);

template <typename TownRec>
void PutTown(TownRec* out, std::string_view postal, std::string_view reading, std::string_view name,
             std::string_view unit)
{
    TownRec r;
    std::memset(&r, 0, sizeof r);
    Put(r.PostalCode, postal);
    Put(r.Reading, reading);
    Put(r.Name, name);
    Put(r.BlockCode, BlockCode(unit));
    std::memcpy(out, &r, sizeof r);
}

// The prefecture and municipality parts that several answers share.
template <typename Rec> void PutCityParts(Rec& r, const Prefecture& p, const City& c)
{
    Put(r.PrefReading, p.reading);
    Put(r.PrefName, p.name);
    Put(r.CityReading, c.reading);
    Put(r.CityName, c.name);
}

inline std::string BlockCode(std::string_view unit, int sub)
{
    char digits[8];
    std::snprintf(digits, sizeof digits, "%03d", sub % 1000);
    return std::string(unit) + digits;
}

} // namespace AddressMaster
