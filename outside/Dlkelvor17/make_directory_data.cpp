// Builds the directory data file "Kelvor.dat": from a hand-made fixture table, or synthesised from a seed
// over the address dictionary, the name list and the trade-word table. Synthetic data, not a directory.
//
//   make_directory_data fixture TABLE.tsv OUTDIR
//   make_directory_data generate COUNT SEED DICFOLDER NAMES.tsv TRADEWORDS.tsv OUTDIR
//
// The fixture table is UTF-8, one entry a line after a header line, TAB-separated: area code, phone kind,
// legal form, person (0/1), not shown (0/1), category (major * 100 + minor), first listing (yyyymm or 0),
// number, then the texts in heap order (name, name reading, prefecture, city, address parts 3 to 5, their
// readings, postal code), latitude, longitude.
#include "KelvorData.h"

#include "AddressMaster.h"

#include <phonenumbers/phonenumber.pb.h>
#include <phonenumbers/phonenumberutil.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <stdexcept>

using namespace Kelvor;

namespace {

std::u32string FromUtf8(std::string_view s)
{
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        const auto b = uint8_t(s[i]);
        const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
        for (int k = 1; k < n && i + size_t(k) < s.size(); ++k)
            c = (c << 6) | (uint8_t(s[i + size_t(k)]) & 0x3F);
        out += c;
        i += size_t(n);
    }
    return out;
}

std::string Sj(std::string_view utf8)
{
    const std::u32string wide = FromUtf8(utf8);
    std::string out = AddressMaster::Encode(wide);
    if (out.empty() && !wide.empty())
        throw std::runtime_error("not CP932 text: " + std::string(utf8));
    return out;
}

// Katakana in half-width forms, as the dictionaries keep readings.
std::u32string HalfWidth(const std::u32string& text)
{
    static const std::u32string table = U"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチ"
                                        U"ツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
    std::u32string out;
    for (char32_t c : text) {
        if (const size_t k = table.find(c); k != std::u32string::npos && c != U'゛' && c != U'゜') {
            out += char32_t(0xFF61 + k);
        } else if (c == U'ヴ') {
            out += U"ｳﾞ";
        } else if (const size_t v = table.find(char32_t(c - 1));
                   c >= U'ガ' && c <= U'ボ' && v != std::u32string::npos) {
            out += char32_t(0xFF61 + v);
            out += U'ﾞ';
        } else if (const size_t p = table.find(char32_t(c - 2));
                   c >= U'パ' && c <= U'ポ' && p != std::u32string::npos) {
            out += char32_t(0xFF61 + p);
            out += U'ﾟ';
        } else if (c == U'　') {
            out += U' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::string SjKana(std::string_view utf8)
{
    return AddressMaster::Encode(HalfWidth(FromUtf8(utf8)));
}

std::vector<std::vector<std::string>> ReadTsv(const std::string& path, bool skipHeader)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#' || (first && skipHeader)) {
            first = false;
            continue;
        }
        first = false;
        std::vector<std::string> f;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, '\t'))
            f.push_back(cell);
        if (!line.empty() && line.back() == '\t')
            f.emplace_back();
        rows.push_back(std::move(f));
    }
    return rows;
}

std::vector<SourceEntry> FixtureEntries(const std::string& path)
{
    std::vector<SourceEntry> out;
    for (const auto& f : ReadTsv(path, true)) {
        if (f.size() != 8 + HeapTextCount + 2)
            throw std::runtime_error(path + ": a row without " + std::to_string(10 + HeapTextCount) +
                                     " fields");
        SourceEntry e;
        e.area = f[0];
        e.kind = std::stoi(f[1]);
        e.legalForm = std::stoi(f[2]);
        e.person = f[3] == "1";
        e.notShown = f[4] == "1";
        e.category = std::stoi(f[5]);
        e.firstListing = uint32_t(std::stoul(f[6]));
        e.tel = f[7];
        std::string texts[HeapTextCount];
        for (int k = 0; k < HeapTextCount; ++k)
            texts[k] = Sj(f[size_t(8 + k)]);
        if (!SetTexts(e, texts))
            throw std::runtime_error(path + ": a text over 255 bytes");
        e.lat = std::stoi(f[8 + HeapTextCount]);
        e.lon = std::stoi(f[9 + HeapTextCount]);
        out.push_back(std::move(e));
    }
    return out;
}

struct Word
{
    std::string name, reading;
    int category = 0;
};

class Generator
{
public:
    Generator(uint64_t seed, const AddressMaster::Dictionary& dic) : m_rng(seed), m_dic(dic) {}

    void readNames(const std::string& path)
    {
        for (const auto& f : ReadTsv(path, false)) {
            if (f.size() < 3)
                continue;
            (f[0] == "sei" ? m_sei : m_mei).push_back({Sj(f[2]), SjKana(f[1]), 0});
        }
        if (m_sei.empty() || m_mei.empty())
            throw std::runtime_error(path + ": no family or given names");
    }

    void readWords(const std::string& path)
    {
        for (const auto& f : ReadTsv(path, false))
            if (f.size() >= 3)
                m_words.push_back({Sj(f[0]), SjKana(f[1]), std::stoi(f[2])});
        if (m_words.empty())
            throw std::runtime_error(path + ": no trade words");
    }

    // Municipalities weighted by their town count; only those an exchange serves get entries.
    void prepare()
    {
        m_prefixes.assign(m_dic.cities.size(), {});
        for (const auto& x : m_dic.exchanges)
            for (int c : x.cities)
                m_prefixes[size_t(c)].push_back(std::string(x.prefix));
        uint64_t total = 0;
        for (size_t c = 0; c < m_dic.cities.size(); ++c) {
            if (m_prefixes[c].empty())
                continue;
            for (int t : m_dic.cities[c].towns)
                if (!m_dic.towns[size_t(t)].name.empty())
                    m_named[c].push_back(t);
            total += std::max<size_t>(1, m_named[c].size());
            m_cumulative.emplace_back(total, int(c));
        }
        if (m_cumulative.empty())
            throw std::runtime_error("the address dictionary has no exchange areas");
    }

    SourceEntry next()
    {
        const uint64_t at = pick(m_cumulative.back().first);
        const int city =
            std::upper_bound(m_cumulative.begin(), m_cumulative.end(), std::make_pair(at, INT32_MAX))->second;
        const AddressMaster::City& c = m_dic.cities[size_t(city)];
        const AddressMaster::Prefecture& p = m_dic.prefectures[size_t(c.pref)];
        std::string t[HeapTextCount];
        SourceEntry e;
        t[TxtPref] = std::string(p.name);
        t[TxtPrefKana] = std::string(p.reading);
        t[TxtCity] = std::string(c.name);
        t[TxtCityKana] = std::string(c.reading);
        std::string unit = "000";
        int chome = 0;
        uint32_t lat = c.lat, lon = c.lon;
        t[TxtPostal] = std::string(c.postal);
        const auto& named = m_named[size_t(city)];
        if (!named.empty()) {
            const AddressMaster::Town& town = m_dic.towns[size_t(named[pick(named.size())])];
            unit = std::string(town.unit);
            t[TxtAddr3] = std::string(town.name);
            t[TxtAddr3Kana] = std::string(town.reading);
            t[TxtPostal] = std::string(town.postal);
            lat = town.lat;
            lon = town.lon;
            if (town.chome > 0) {
                chome = 1 + int(pick(uint64_t(town.chome)));
                t[TxtAddr4] = AddressMaster::ChomeText(chome);
                t[TxtAddr4Kana] = std::to_string(chome) + SjKana("チョウメ");
            }
        }
        const int ban = 1 + int(pick(40));
        if (pick(2)) {
            t[TxtAddr5] = AddressMaster::FullWidth(FromUtf8(std::to_string(ban))) + Sj("番地");
            t[TxtAddr5Kana] = std::to_string(ban) + SjKana("バンチ");
        } else {
            const int go = 1 + int(pick(20));
            t[TxtAddr5] = AddressMaster::FullWidth(FromUtf8(std::to_string(ban) + "-" + std::to_string(go)));
            t[TxtAddr5Kana] = std::to_string(ban) + "-" + std::to_string(go);
        }
        e.area = std::string(c.jis) + AddressMaster::BlockCode(unit, chome);
        e.lat = int32_t(lat + uint32_t(pick(512)) - 256);
        e.lon = int32_t(lon + uint32_t(pick(512)) - 256);

        if (pick(100) < 15) {
            const Word& sei = m_sei[pick(m_sei.size())];
            const Word& mei = m_mei[pick(m_mei.size())];
            e.person = true;
            t[TxtName] = sei.name + Sj("　") + mei.name;
            t[TxtNameKana] = sei.reading + " " + mei.reading;
        } else {
            const Word& w = m_words[pick(m_words.size())];
            std::string base, baseReading;
            if (pick(10) < 7 || t[TxtAddr3].empty()) {
                const Word& sei = m_sei[pick(m_sei.size())];
                base = sei.name;
                baseReading = sei.reading;
            } else {
                base = t[TxtAddr3];
                baseReading = t[TxtAddr3Kana];
            }
            t[TxtName] = base + w.name;
            t[TxtNameKana] = baseReading + w.reading;
            e.category = w.category;
            e.legalForm = legalForm();
            addLegalForm(e.legalForm, t[TxtName]);
        }
        const uint64_t k = pick(10);
        e.kind = k < 7 ? 0 : int(k) - 6;
        const uint64_t month = pick(22 * 12);
        e.firstListing = uint32_t((1995 + month / 12) * 100 + month % 12 + 1);
        e.tel = number(city);
        e.notShown = pick(1000) < 5;
        if (!SetTexts(e, t))
            throw std::runtime_error("a generated text over 255 bytes");
        return e;
    }

private:
    uint64_t pick(uint64_t n) { return n ? m_rng() % n : 0; }

    int legalForm()
    {
        const uint64_t r = pick(1000);
        const std::pair<uint64_t, int> table[] = {{350, 1}, {500, 2}, {510, 3}, {515, 4},
                                                  {518, 5}, {530, 6}, {545, 7}};
        for (const auto& [bound, form] : table)
            if (r < bound)
                return form;
        return 0;
    }

    void addLegalForm(int form, std::string& name)
    {
        static const char* const words[] = {"",         "株式会社", "有限会社", "合資会社",
                                            "合名会社", "相互会社", "財団法人", "社団法人"};
        if (form == 0)
            return;
        if (form == 1 && pick(10) < 3)
            name = Sj("（株）") + name;
        else if (form <= 2 && pick(2))
            name += Sj(words[form]);
        else
            name = Sj(words[form]) + name;
    }

    // A number of one of the municipality's exchanges, hyphenated; the digits when it will not hyphenate.
    std::string number(int city)
    {
        using namespace i18n::phonenumbers;
        const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
        const auto& prefixes = m_prefixes[size_t(city)];
        std::string digits;
        for (int attempt = 0; attempt < 8; ++attempt) {
            digits = "0" + prefixes[pick(prefixes.size())];
            while (digits.size() < 10)
                digits += char('0' + (digits.size() == 6 ? 2 + pick(8) : pick(10)));
            PhoneNumber n;
            if (util->Parse(digits, "JP", &n) != PhoneNumberUtil::NO_PARSING_ERROR || !util->IsValidNumber(n))
                continue;
            std::string formatted;
            util->Format(n, PhoneNumberUtil::NATIONAL, &formatted);
            if (formatted.size() <= 13)
                return formatted;
            return digits;
        }
        return digits;
    }

    std::mt19937_64 m_rng;
    const AddressMaster::Dictionary& m_dic;
    std::vector<Word> m_sei, m_mei, m_words;
    std::vector<std::vector<std::string>> m_prefixes;
    std::map<size_t, std::vector<int>> m_named;
    std::vector<std::pair<uint64_t, int>> m_cumulative;
};

void WriteFile(const std::string& folder, const std::string& bytes)
{
    std::filesystem::create_directories(folder);
    const std::filesystem::path target = std::filesystem::path(folder) / DataFileName;
    const std::filesystem::path temp = target.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out.flush())
            throw std::runtime_error("cannot write " + temp.string());
    }
    std::filesystem::rename(temp, target);
}

int Usage()
{
    std::cerr << "usage: make_directory_data fixture TABLE.tsv OUTDIR\n"
                 "       make_directory_data generate COUNT SEED DICFOLDER NAMES.tsv TRADEWORDS.tsv OUTDIR\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        if (args.size() == 3 && args[0] == "fixture") {
            WriteFile(args[2], BuildDataFile(FixtureEntries(args[1])));
            return 0;
        }
        if (args.size() != 7 || args[0] != "generate")
            return Usage();
        const uint64_t count = std::stoull(args[1]);
        std::shared_ptr<const AddressMaster::Dictionary> dic;
        if (AddressMaster::Load(args[3].c_str(), dic) != DIC_OK)
            throw std::runtime_error("cannot read the address dictionary in " + args[3]);
        Generator g(std::stoull(args[2]), *dic);
        g.readNames(args[4]);
        g.readWords(args[5]);
        g.prepare();
        std::vector<SourceEntry> entries;
        entries.reserve(count);
        for (uint64_t i = 0; i < count; ++i)
            entries.push_back(g.next());
        WriteFile(args[6], BuildDataFile(std::move(entries)));
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "make_directory_data: " << e.what() << '\n';
        return 1;
    }
}
