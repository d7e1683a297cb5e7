// Address numbers: where the number starts, and the folding of its characters.
#include "AddressNumber.h"

#include <algorithm>

namespace Barcode {

namespace {

constexpr int SymbolCharacters = 20;

int kanjiDigit(char32_t c)
{
    static const std::u32string digits = U"〇一二三四五六七八九";
    const size_t i = digits.find(c);
    return i == std::u32string::npos ? -1 : int(i);
}

bool isKanjiNumeral(char32_t c)
{
    return kanjiDigit(c) >= 0 || c == U'十' || c == U'百';
}

bool isDigit(char32_t c)
{
    return (c >= U'0' && c <= U'9') || (c >= U'０' && c <= U'９');
}

// The length of the block suffix at text[i], 0 when none starts there.
size_t suffixAt(const std::u32string& text, size_t i)
{
    static const std::u32string suffixes[] = {U"丁目", U"番地", U"地割", U"丁", U"番",
                                              U"号",   U"線",   U"の",   U"ノ"};
    for (const std::u32string& s : suffixes)
        if (text.compare(i, s.size(), s) == 0)
            return s.size();
    return 0;
}

// The end of the run of digits (numerals when kanji) starting at i.
size_t runEnd(const std::u32string& text, size_t i, bool kanji)
{
    while (i < text.size() && (kanji ? isKanjiNumeral(text[i]) : isDigit(text[i])))
        ++i;
    return i;
}

// Where the number starts: after the town of the postal code, else at the first numeral run followed by a
// block suffix, else at the start.
size_t numberStart(const AddressMaster::Dictionary* dic, std::string_view postal, const std::u32string& text)
{
    if (dic) {
        auto range = std::equal_range(
            dic->postals.begin(), dic->postals.end(), AddressMaster::PostalEntry{postal, 0, 0, false},
            [](const AddressMaster::PostalEntry& a, const AddressMaster::PostalEntry& b) {
                return a.postal < b.postal;
            });
        size_t best = std::u32string::npos;
        size_t bestEnd = 0;
        for (auto it = range.first; it != range.second; ++it) {
            const std::string_view name =
                it->office ? dic->offices[size_t(it->index)].townName : dic->towns[size_t(it->index)].name;
            std::u32string wide, city;
            if (name.empty() || !AddressMaster::Decode(name, wide) || wide.empty())
                continue;
            // After the municipality when the text names it ("中央区中央" holds the town twice).
            size_t from = 0;
            if (AddressMaster::Decode(dic->cities[size_t(it->city)].name, city) && !city.empty()) {
                const size_t c = text.find(city);
                if (c != std::u32string::npos)
                    from = c + city.size();
            }
            const size_t at = text.find(wide, from);
            // The earliest, then the longest name wins.
            if (at != std::u32string::npos && (at < best || (at == best && at + wide.size() > bestEnd))) {
                best = at;
                bestEnd = at + wide.size();
            }
        }
        if (best != std::u32string::npos)
            return bestEnd;
    }
    for (size_t i = 0; i < text.size();) {
        const bool kanji = isKanjiNumeral(text[i]);
        if (!kanji && !isDigit(text[i])) {
            ++i;
            continue;
        }
        const size_t end = runEnd(text, i, kanji);
        if (suffixAt(text, end) > 0)
            return i;
        i = end;
    }
    return 0;
}

char32_t halfWidth(char32_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        c -= 0xFEE0;
    else if (c == 0x3000)
        c = U' ';
    else if ((c >= 0x2010 && c <= 0x2015) || c == 0x2212 || c == 0x30FC || c == 0xFF70)
        c = U'-';
    if (c >= U'a' && c <= U'z')
        c -= 0x20;
    return c;
}

// 十一 -> 11, 二十一 -> 21, 一〇 -> 10.
std::u32string kanjiNumber(std::u32string_view run)
{
    if (run.find_first_of(U"十百") == std::u32string_view::npos) {
        std::u32string digits;
        for (char32_t c : run)
            digits += char32_t(U'0' + kanjiDigit(c));
        return digits;
    }
    int total = 0;
    int digit = -1;
    for (char32_t c : run) {
        if (c == U'十' || c == U'百') {
            total += (digit < 0 ? 1 : digit) * (c == U'十' ? 10 : 100);
            digit = -1;
        } else {
            digit = kanjiDigit(c);
        }
    }
    if (digit >= 0)
        total += digit;
    std::u32string out;
    for (char c : std::to_string(total))
        out += char32_t(c);
    return out;
}

bool isLetter(char32_t c)
{
    return c >= U'A' && c <= U'Z';
}

} // namespace

std::string AddressNumber(const AddressMaster::Dictionary* dic, std::string_view postal,
                          const std::u32string& address)
{
    std::u32string text;
    for (char32_t c : address.substr(numberStart(dic, postal, address))) {
        c = halfWidth(c);
        if (c != U'&' && c != U'/' && c != U'・' && c != 0xFF65 && c != U'.')
            text += c;
    }
    // Kanji numerals before a block suffix become digits.
    std::u32string folded;
    for (size_t i = 0; i < text.size();) {
        if (isKanjiNumeral(text[i])) {
            const size_t end = runEnd(text, i, true);
            if (suffixAt(text, end) > 0)
                folded += kanjiNumber(std::u32string_view(text).substr(i, end - i));
            else
                folded.append(text, i, end - i);
            i = end;
        } else {
            folded += text[i++];
        }
    }
    // Digits, "-" and single letters stay; every other run is one "-".
    std::string raw;
    for (size_t i = 0; i < folded.size();) {
        const char32_t c = folded[i];
        if (isDigit(c) || c == U'-') {
            raw += char(c);
            ++i;
        } else if (isLetter(c)) {
            size_t end = i;
            while (end < folded.size() && isLetter(folded[end]))
                ++end;
            const bool floor = c == U'F' && i > 0 && isDigit(folded[i - 1]);
            raw += end - i == 1 && !floor ? char(c) : '-';
            i = end;
        } else {
            raw += '-';
            ++i;
        }
    }
    std::string merged;
    for (char c : raw)
        if (c != '-' || merged.empty() || merged.back() != '-')
            merged += c;
    std::string out;
    for (size_t i = 0; i < merged.size(); ++i) {
        const bool dropped =
            merged[i] == '-' && (i == 0 || i + 1 == merged.size() || isLetter(char32_t(merged[i - 1])) ||
                                 isLetter(char32_t(merged[i + 1])));
        if (!dropped)
            out += merged[i];
    }
    return out;
}

std::string SymbolData(std::string_view postal, std::string_view number)
{
    std::string data;
    int used = 0;
    for (char c : std::string(postal) + std::string(number)) {
        const int width = isLetter(char32_t(c)) ? 2 : 1;
        if (used + width > SymbolCharacters)
            break;
        data += c;
        used += width;
    }
    return data;
}

} // namespace Barcode
