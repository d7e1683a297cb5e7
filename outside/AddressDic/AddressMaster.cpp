// The address master: parsing and caching "Adrs.dic", the record helpers and the address normalisation.
#include "AddressMaster.h"

#include "DictionaryFileCache.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace AddressMaster {

namespace {

constexpr std::string_view Header = "TOVAREL ADRS 1";

bool isDigits(std::string_view s, size_t n)
{
    return s.size() == n && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool parseNumber(std::string_view s, uint32_t& out)
{
    if (s.empty() || s.size() > 10)
        return false;
    uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + uint64_t(c - '0');
    }
    if (v > UINT32_MAX)
        return false;
    out = uint32_t(v);
    return true;
}

bool validUnit(std::string_view s)
{
    return s.size() == 3 && ((s[0] >= '0' && s[0] <= '9') || (s[0] >= 'A' && s[0] <= 'Z')) && s[1] >= '0' &&
           s[1] <= '9' && s[2] >= '0' && s[2] <= '9';
}

std::vector<std::string_view> split(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

bool isLead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

class Converter
{
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != iconv_t(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts in into out; false on an invalid or incomplete sequence.
    bool run(const char* in, size_t inLength, std::string& out)
    {
        out.clear();
        if (m_cd == iconv_t(-1))
            return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        size_t left = inLength;
        char buffer[1024];
        while (left > 0) {
            char* dst = buffer;
            size_t room = sizeof buffer;
            const size_t rc = iconv(m_cd, &src, &left, &dst, &room);
            out.append(buffer, size_t(dst - buffer));
            if (rc == size_t(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t m_cd;
};

bool decodeWith(Converter& conv, std::string_view cp932, std::u32string& out)
{
    std::string bytes;
    out.clear();
    if (!conv.run(cp932.data(), cp932.size(), bytes))
        return false;
    out.resize(bytes.size() / 4);
    std::memcpy(out.data(), bytes.data(), out.size() * 4);
    return true;
}

int kanjiDigit(char32_t c)
{
    switch (c) {
    case U'〇':
        return 0;
    case U'一':
        return 1;
    case U'二':
        return 2;
    case U'三':
        return 3;
    case U'四':
        return 4;
    case U'五':
        return 5;
    case U'六':
        return 6;
    case U'七':
        return 7;
    case U'八':
        return 8;
    case U'九':
        return 9;
    default:
        return -1;
    }
}

int kanjiUnit(char32_t c)
{
    return c == U'十' ? 10 : c == U'百' ? 100 : c == U'千' ? 1000 : 0;
}

bool isDash(char32_t c)
{
    return (c >= 0x2010 && c <= 0x2015) || c == 0x2212 || c == U'-';
}

} // namespace

bool Dictionary::parse()
{
    std::string_view rest(bytes);
    const size_t first = rest.find('\n');
    if (first == std::string_view::npos || rest.substr(0, first) != Header)
        return false;
    rest.remove_prefix(first + 1);
    int currentCity = -1;
    while (!rest.empty()) {
        const size_t eol = rest.find('\n');
        if (eol == std::string_view::npos)
            return false;
        const std::vector<std::string_view> f = split(rest.substr(0, eol));
        rest.remove_prefix(eol + 1);
        const std::string_view kind = f[0];
        if (kind == "P") {
            Prefecture p;
            if (f.size() != 6 || !isDigits(f[1], 2) || !parseNumber(f[4], p.lat) ||
                !parseNumber(f[5], p.lon) || !cities.empty())
                return false;
            p.code = (f[1][0] - '0') * 10 + (f[1][1] - '0');
            if (p.code != int(prefectures.size()) + 1 || p.code > 47)
                return false;
            p.name = f[2];
            p.reading = f[3];
            prefectures.push_back(p);
        } else if (kind == "C") {
            City c;
            if (f.size() != 7 || !isDigits(f[1], 5) || !parseNumber(f[4], c.lat) ||
                !parseNumber(f[5], c.lon) || !(f[6].empty() || isDigits(f[6], 7)) ||
                (!cities.empty() && cities.back().jis >= f[1]))
                return false;
            c.jis = f[1];
            c.pref = (f[1][0] - '0') * 10 + (f[1][1] - '0') - 1;
            if (c.pref < 0 || c.pref >= int(prefectures.size()))
                return false;
            c.name = f[2];
            c.reading = f[3];
            c.postal = f[6];
            currentCity = int(cities.size());
            prefectures[size_t(c.pref)].cities.push_back(currentCity);
            cities.push_back(std::move(c));
        } else if (kind == "T") {
            Town t;
            uint32_t chome = 0;
            if (f.size() != 9 || currentCity < 0 || f[1] != cities[size_t(currentCity)].jis ||
                !validUnit(f[2]) || !isDigits(f[3], 7) || !parseNumber(f[6], chome) || chome > 99 ||
                !parseNumber(f[7], t.lat) || !parseNumber(f[8], t.lon))
                return false;
            t.city = currentCity;
            t.unit = f[2];
            t.postal = f[3];
            t.name = f[4];
            t.reading = f[5];
            t.chome = int(chome);
            cities[size_t(currentCity)].towns.push_back(int(towns.size()));
            towns.push_back(t);
        } else if (kind == "O") {
            Office o;
            if (f.size() != 10 || currentCity < 0 || f[1] != cities[size_t(currentCity)].jis ||
                !validUnit(f[2]) || !isDigits(f[3], 7) || !parseNumber(f[8], o.lat) ||
                !parseNumber(f[9], o.lon))
                return false;
            o.city = currentCity;
            o.unit = f[2];
            o.postal = f[3];
            o.townName = f[4];
            o.townReading = f[5];
            o.name = f[6];
            o.reading = f[7];
            cities[size_t(currentCity)].offices.push_back(int(offices.size()));
            offices.push_back(o);
        } else if (kind == "X") {
            Exchange x;
            if (f.size() != 3 || f[1].empty() || f[1].size() > 9 || !isDigits(f[1], f[1].size()) ||
                (!exchanges.empty() && exchanges.back().prefix >= f[1]))
                return false;
            x.prefix = f[1];
            std::string_view list = f[2];
            while (!list.empty()) {
                const size_t comma = list.find(',');
                const int city = findCity(list.substr(0, comma));
                if (city < 0 || list.substr(0, comma).size() != 5)
                    return false;
                x.cities.push_back(city);
                if (comma == std::string_view::npos)
                    break;
                list.remove_prefix(comma + 1);
            }
            if (x.cities.empty())
                return false;
            exchanges.push_back(std::move(x));
        } else {
            return false;
        }
    }
    for (size_t c = 0; c < cities.size(); ++c) {
        City& city = cities[c];
        for (int t : city.towns) {
            const Town& town = towns[size_t(t)];
            postals.push_back({town.postal, int(c), t, false});
            if (town.unit != "000")
                city.oazas.push_back(t);
        }
        // One entry per oaza unit (its first town), in unit order, which is reading order.
        std::stable_sort(city.oazas.begin(), city.oazas.end(),
                         [this](int a, int b) { return towns[size_t(a)].unit < towns[size_t(b)].unit; });
        city.oazas.erase(
            std::unique(city.oazas.begin(), city.oazas.end(),
                        [this](int a, int b) { return towns[size_t(a)].unit == towns[size_t(b)].unit; }),
            city.oazas.end());
        for (int o : city.offices)
            postals.push_back({offices[size_t(o)].postal, int(c), o, true});
    }
    std::stable_sort(postals.begin(), postals.end(),
                     [](const PostalEntry& a, const PostalEntry& b) { return a.postal < b.postal; });
    return true;
}

int Dictionary::findCity(std::string_view jis) const
{
    jis = jis.substr(0, 5);
    auto it = std::lower_bound(cities.begin(), cities.end(), jis,
                               [](const City& c, std::string_view j) { return c.jis < j; });
    return it != cities.end() && it->jis == jis ? int(it - cities.begin()) : -1;
}

int Dictionary::findOaza(int city, std::string_view unit) const
{
    if (city < 0 || city >= int(cities.size()))
        return -1;
    const std::vector<int>& oazas = cities[size_t(city)].oazas;
    auto it = std::lower_bound(oazas.begin(), oazas.end(), unit,
                               [this](int t, std::string_view u) { return towns[size_t(t)].unit < u; });
    return it != oazas.end() && towns[size_t(*it)].unit == unit ? *it : -1;
}

const MatchKeys& Dictionary::keys() const
{
    std::call_once(m_keysOnce, [this] {
        Converter conv("UTF-32LE", "CP932");
        auto norm = [&conv](std::string_view text) {
            std::u32string wide;
            decodeWith(conv, text, wide);
            return Normalise(wide);
        };
        for (const Prefecture& p : prefectures)
            m_keys.prefNames.push_back(norm(p.name));
        for (const City& c : cities) {
            const std::u32string pref = m_keys.prefNames[size_t(c.pref)];
            const std::u32string name = norm(c.name);
            std::vector<std::u32string> keys{pref + name, name};
            // Addresses often leave out the county: 北群馬郡榛東村 is also 榛東村 (郡山市 has none).
            const size_t gun = name.find(U'郡');
            if (gun != std::u32string::npos && gun >= 1 && gun + 1 < name.size() &&
                (name.back() == U'町' || name.back() == U'村')) {
                keys.push_back(pref + name.substr(gun + 1));
                keys.push_back(name.substr(gun + 1));
            }
            std::stable_sort(keys.begin(), keys.end(), [](const std::u32string& a, const std::u32string& b) {
                return a.size() > b.size();
            });
            for (const std::u32string& key : keys) {
                if (key.empty())
                    continue;
                std::vector<int>& list = m_keys.citiesByFirst[key.front()];
                if (list.empty() || list.back() != int(m_keys.cityKeys.size()))
                    list.push_back(int(m_keys.cityKeys.size()));
            }
            m_keys.cityKeys.push_back(std::move(keys));
            m_keys.cityNames.push_back(name);
        }
        for (const Town& t : towns)
            m_keys.townNames.push_back(norm(t.name));
    });
    return m_keys;
}

int32_t Load(const char* folder, std::shared_ptr<const Dictionary>& out)
{
    if (!folder)
        return DIC_BAD_ARGUMENT;
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += AddressDicFile;
    switch (LoadDictionaryFile(path, out, [](Dictionary& dic) { return dic.parse(); })) {
    case DictionaryFileState::Loaded:
        return DIC_OK;
    case DictionaryFileState::Missing:
        return DIC_NO_DICTIONARY;
    default:
        return DIC_BAD_DICTIONARY;
    }
}

std::string_view FieldText(const char* field, size_t n)
{
    return std::string_view(field, strnlen(field, n));
}

void Put(char* field, size_t width, std::string_view text)
{
    std::memset(field, 0, width);
    if (width == 0)
        return;
    size_t end = 0;
    while (end < text.size()) {
        const size_t step = isLead(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + step > width)
            break;
        end += step;
    }
    std::memcpy(field, text.data(), end);
}

std::string ChomeText(int n)
{
    std::u32string text;
    for (char c : std::to_string(n))
        text += char32_t(0xFF10 + (c - '0'));
    return Encode(text + U"丁目");
}

std::string FullWidth(const std::u32string& text)
{
    std::u32string wide;
    for (char32_t c : text)
        wide += c > 0x20 && c < 0x7F ? c + 0xFEE0 : c;
    return Encode(wide);
}

void PutOffice(TLargeOfficeRec* out, const Office& office)
{
    TLargeOfficeRec r;
    std::memset(&r, 0, sizeof r);
    Put(r.Reading, office.reading);
    Put(r.Name, office.name);
    std::memcpy(out, &r, sizeof r);
}

std::string_view Head(std::string_view reading)
{
    if (reading.empty())
        return reading;
    return reading.substr(0, isLead(static_cast<unsigned char>(reading[0])) && reading.size() > 1 ? 2 : 1);
}

bool Decode(std::string_view cp932, std::u32string& out)
{
    Converter conv("UTF-32LE", "CP932");
    return decodeWith(conv, cp932, out);
}

std::string Encode(const std::u32string& text)
{
    Converter conv("CP932", "UTF-32LE");
    std::string out;
    if (!conv.run(reinterpret_cast<const char*>(text.data()), text.size() * 4, out))
        out.clear();
    return out;
}

std::string EncodeUtf8(const std::u32string& text)
{
    Converter conv("UTF-8", "UTF-32LE");
    std::string out;
    if (!conv.run(reinterpret_cast<const char*>(text.data()), text.size() * 4, out))
        out.clear();
    return out;
}

std::u32string Normalise(const std::u32string& text)
{
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        char32_t c = text[i];
        if (kanjiDigit(c) >= 0 || kanjiUnit(c)) {
            // A run of kanji numerals becomes its value: 二十九 29, 百二 102, 一〇 10.
            uint64_t total = 0, current = 0;
            for (; i < text.size() && (kanjiDigit(text[i]) >= 0 || kanjiUnit(text[i])); ++i) {
                if (const int unit = kanjiUnit(text[i])) {
                    total += (current ? current : 1) * uint64_t(unit);
                    current = 0;
                } else {
                    current = current * 10 + uint64_t(kanjiDigit(text[i]));
                }
                if (total + current > 99999999)
                    break;
            }
            for (char ch : std::to_string(total + current))
                out += char32_t(ch);
            continue;
        }
        ++i;
        if (c >= 0xFF01 && c <= 0xFF5E)
            c -= 0xFEE0;
        if (c == U' ' || c == 0x3000 || c == U'\t')
            continue;
        if (c == U'ヶ' || c == U'ヵ')
            c = c == U'ヶ' ? U'ケ' : U'カ';
        const bool afterDigit = !out.empty() && out.back() >= U'0' && out.back() <= U'9';
        if (isDash(c) || ((c == U'ー' || c == 0xFF70) && afterDigit))
            c = U'-';
        out += c;
    }
    return out;
}

std::u32string_view StripPrefecture(const Dictionary& dic, std::u32string_view text, int* pref)
{
    const MatchKeys& keys = dic.keys();
    for (size_t p = 0; p < keys.prefNames.size(); ++p) {
        const std::u32string& name = keys.prefNames[p];
        if (!name.empty() && text.substr(0, name.size()) == name) {
            if (pref)
                *pref = int(p);
            return text.substr(name.size());
        }
    }
    if (pref)
        *pref = -1;
    return text;
}

bool NormalisedInput(const char* text, std::u32string& out)
{
    out.clear();
    if (!text)
        return false;
    std::u32string wide;
    if (!Decode(FieldText(text, 1024), wide))
        return false;
    out = Normalise(wide);
    return !out.empty();
}

size_t CityHead(const Dictionary& dic, int city, std::u32string_view text)
{
    for (const std::u32string& key : dic.keys().cityKeys[size_t(city)])
        if (!key.empty() && text.substr(0, key.size()) == key)
            return key.size();
    return 0;
}

const std::vector<int>& CitiesStartingLike(const Dictionary& dic, std::u32string_view text)
{
    static const std::vector<int> none;
    if (text.empty())
        return none;
    const auto& index = dic.keys().citiesByFirst;
    const auto it = index.find(text.front());
    return it == index.end() ? none : it->second;
}

int BestCity(const Dictionary& dic, std::u32string_view text, size_t* head)
{
    int best = -1;
    *head = 0;
    for (int c : CitiesStartingLike(dic, text)) {
        const size_t h = CityHead(dic, c, text);
        if (h > *head) {
            *head = h;
            best = c;
        }
    }
    return best;
}

int BestTown(const Dictionary& dic, int city, std::u32string_view rest)
{
    const MatchKeys& keys = dic.keys();
    int town = -1;
    for (int t : dic.cities[size_t(city)].towns) {
        const std::u32string& name = keys.townNames[size_t(t)];
        if (!name.empty() && rest.substr(0, name.size()) == name &&
            (town < 0 || name.size() > keys.townNames[size_t(town)].size()))
            town = t;
    }
    return town;
}

std::vector<CityMatch> MatchCities(const Dictionary& dic, std::u32string_view text)
{
    std::vector<CityMatch> out;
    for (size_t c = 0; c < dic.cities.size(); ++c)
        if (const size_t head = CityHead(dic, int(c), text))
            out.push_back({int(c), head});
    if (!out.empty())
        return out;
    int pref = -1;
    const std::u32string_view rest = StripPrefecture(dic, text, &pref);
    const MatchKeys& keys = dic.keys();
    for (size_t c = 0; c < dic.cities.size(); ++c) {
        if (pref >= 0 && dic.cities[c].pref != pref)
            continue;
        const std::u32string& name = keys.cityNames[c];
        const size_t gun = name.find(U'郡');
        const bool county =
            gun != std::u32string::npos && gun >= 1 && (name.back() == U'町' || name.back() == U'村');
        const std::u32string_view plain =
            county ? std::u32string_view(name).substr(gun + 1) : std::u32string_view(name);
        if (rest.empty() || name.substr(0, rest.size()) == rest || plain.substr(0, rest.size()) == rest)
            out.push_back({int(c), text.size()});
    }
    return out;
}

std::vector<int> MatchTowns(const Dictionary& dic, int city, std::u32string_view rest)
{
    std::vector<int> out;
    const MatchKeys& keys = dic.keys();
    for (int t : dic.cities[size_t(city)].towns) {
        const std::u32string& name = keys.townNames[size_t(t)];
        if (name.empty())
            continue;
        if (rest.empty() || rest.substr(0, name.size()) == name || name.substr(0, rest.size()) == rest)
            out.push_back(t);
    }
    return out;
}

} // namespace AddressMaster
