// Reader, name normalisation and builder of the directory data file.
#include "KelvorData.h"

#include "AddressMaster.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <stdexcept>

namespace Kelvor {

namespace {

constexpr size_t HeaderSize = sizeof(FileHeader);

std::string_view trimZero(const char* p, size_t n)
{
    return std::string_view(p, strnlen(p, n));
}

} // namespace

uint32_t View::u32(const char* p) const
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

bool View::open(const char* data, size_t size)
{
    *this = View();
    if (!data || size < HeaderSize)
        return false;
    FileHeader h;
    std::memcpy(&h, data, HeaderSize);
    if (std::memcmp(h.magic, Magic, sizeof Magic) != 0 || h.version != FormatVersion)
        return false;
    // Section sizes in 64 bits so that no count can wrap.
    const uint64_t n = h.entryCount;
    const uint64_t sizes[] = {n * sizeof(Entry),
                              (n + 1) * 4,
                              h.namesSize,
                              h.heapSize,
                              uint64_t(h.postingCount) * sizeof(Posting),
                              uint64_t(h.postingTotal) * 4,
                              n * 4};
    uint64_t offsets[std::size(sizes)];
    uint64_t at = HeaderSize;
    for (size_t i = 0; i < std::size(sizes); ++i) {
        offsets[i] = at;
        at += sizes[i];
    }
    if (at != size || n >= 0x7FFFFFFF)
        return false;
    m_count = uint32_t(n);
    m_entries = data + offsets[0];
    m_nameStarts = data + offsets[1];
    m_names = std::string_view(data + offsets[2], h.namesSize);
    m_heap = std::string_view(data + offsets[3], h.heapSize);
    m_postingTable = data + offsets[4];
    m_postingCount = h.postingCount;
    m_postings = data + offsets[5];
    m_telIndex = data + offsets[6];

    // Names: ascending starts, each name ended by its own '\n'.
    if (u32(m_nameStarts) != 0 || u32(m_nameStarts + 4 * n) != h.namesSize)
        return false;
    for (uint32_t i = 0; i < m_count; ++i) {
        const uint32_t a = nameStart(i), b = nameStart(i + 1);
        if (b <= a || b > h.namesSize || m_names[b - 1] != '\n')
            return false;
    }
    // Entries: sorted areas, known kinds and forms, texts inside the heap.
    for (uint32_t i = 0; i < m_count; ++i) {
        const Entry e = entry(i);
        if (e.kind > 3 || e.legalForm > 7 ||
            (i > 0 && std::memcmp(m_entries + (i - 1) * sizeof(Entry), e.area, sizeof e.area) > 0))
            return false;
        uint64_t p = e.heap;
        for (int t = 0; t < HeapTextCount; ++t) {
            if (p >= m_heap.size())
                return false;
            p += 1 + uint8_t(m_heap[p]);
        }
        if (p > m_heap.size())
            return false;
    }
    // Postings: ascending codes, lists inside the index array, ascending valid entries.
    for (uint32_t k = 0; k < m_postingCount; ++k) {
        Posting ps;
        std::memcpy(&ps, m_postingTable + k * sizeof(Posting), sizeof ps);
        if (k > 0 && u32(m_postingTable + (k - 1) * sizeof(Posting)) >= ps.code)
            return false;
        if (uint64_t(ps.first) + ps.count > h.postingTotal)
            return false;
        for (uint32_t j = 0; j < ps.count; ++j) {
            const uint32_t e = u32(m_postings + 4 * (uint64_t(ps.first) + j));
            if (e >= m_count || (j > 0 && u32(m_postings + 4 * (uint64_t(ps.first) + j - 1)) >= e))
                return false;
        }
    }
    // Telephone index: valid entries in digit order.
    for (uint32_t k = 0; k < m_count; ++k) {
        if (telEntry(k) >= m_count)
            return false;
        if (k > 0 && digitsOf(telEntry(k - 1)) > digitsOf(telEntry(k)))
            return false;
    }
    return true;
}

Entry View::entry(uint32_t i) const
{
    Entry e;
    std::memcpy(&e, m_entries + uint64_t(i) * sizeof(Entry), sizeof e);
    return e;
}

std::string_view View::area(uint32_t i) const
{
    return std::string_view(m_entries + uint64_t(i) * sizeof(Entry) + offsetof(Entry, area),
                            sizeof(Entry::area));
}

std::string_view View::digitsOf(uint32_t i) const
{
    return trimZero(m_entries + uint64_t(i) * sizeof(Entry) + offsetof(Entry, digits), sizeof(Entry::digits));
}

uint32_t View::nameStart(uint32_t i) const
{
    return u32(m_nameStarts + 4 * uint64_t(i));
}

std::string_view View::name(uint32_t i) const
{
    const uint32_t a = nameStart(i);
    return m_names.substr(a, nameStart(i + 1) - a - 1);
}

uint32_t View::entryAtNameOffset(uint32_t pos) const
{
    uint32_t lo = 0, hi = m_count;
    while (hi - lo > 1) {
        const uint32_t mid = lo + (hi - lo) / 2;
        if (nameStart(mid) <= pos)
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

void View::texts(uint32_t i, std::string_view (&out)[HeapTextCount]) const
{
    size_t p = entry(i).heap;
    for (auto& t : out) {
        const size_t len = uint8_t(m_heap[p]);
        t = m_heap.substr(p + 1, len);
        p += 1 + len;
    }
}

void View::areaRange(std::string_view prefix, uint32_t& first, uint32_t& last) const
{
    const size_t n = std::min(prefix.size(), sizeof(Entry::area));
    auto cmp = [&](uint32_t i) { return area(i).substr(0, n).compare(prefix.substr(0, n)); };
    uint32_t lo = 0, hi = m_count;
    while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        if (cmp(mid) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    first = lo;
    hi = m_count;
    while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        if (cmp(mid) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    last = lo;
}

bool View::postings(uint32_t code, uint32_t& first, uint32_t& n) const
{
    uint32_t lo = 0, hi = m_postingCount;
    while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        if (u32(m_postingTable + uint64_t(mid) * sizeof(Posting)) < code)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == m_postingCount)
        return false;
    Posting ps;
    std::memcpy(&ps, m_postingTable + uint64_t(lo) * sizeof(Posting), sizeof ps);
    if (ps.code != code)
        return false;
    first = ps.first;
    n = ps.count;
    return true;
}

uint32_t View::posting(uint32_t k) const
{
    return u32(m_postings + 4 * uint64_t(k));
}

void View::telRange(std::string_view digits, uint32_t& first, uint32_t& last) const
{
    uint32_t lo = 0, hi = m_count;
    while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        if (digitsOf(telEntry(mid)) < digits)
            lo = mid + 1;
        else
            hi = mid;
    }
    first = lo;
    while (lo < m_count && digitsOf(telEntry(lo)) == digits)
        ++lo;
    last = lo;
}

uint32_t View::telEntry(uint32_t k) const
{
    return u32(m_telIndex + 4 * uint64_t(k));
}

bool DecodeCp932(std::string_view cp932, std::u32string& out)
{
    return AddressMaster::Decode(cp932, out);
}

std::string ToUtf8(const std::u32string& text)
{
    return AddressMaster::EncodeUtf8(text);
}

namespace {

// Full-width forms of U+FF61..U+FF9F.
constexpr char32_t HalfKana[] = U"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナ"
                                U"ニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

std::u32string unifyWidths(const std::u32string& text)
{
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c >= 0xFF01 && c <= 0xFF5E) {
            out += char32_t(c - 0xFEE0);
        } else if (c == 0x3000) {
            out += U' ';
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            char32_t f = HalfKana[c - 0xFF61];
            const char32_t next = i + 1 < text.size() ? text[i + 1] : 0;
            const bool ha = f >= U'ハ' && f <= U'ホ' && (f - U'ハ') % 3 == 0;
            const bool voiceable = (f >= U'カ' && f <= U'ト' && (f - U'カ') % 2 == 0) ||
                                   (f >= U'ツ' && f <= U'ト' && (f - U'ツ') % 2 == 0) || ha || f == U'ウ';
            if (next == 0xFF9E && voiceable) {
                f = f == U'ウ' ? U'ヴ' : f + 1;
                ++i;
            } else if (next == 0xFF9F && ha) {
                f += 2;
                ++i;
            }
            out += f;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::u32string NormaliseName(const std::u32string& text)
{
    static const std::u32string forms[] = {
        U"一般社団法人", U"一般財団法人", U"公益社団法人", U"公益財団法人", U"株式会社",
        U"有限会社",     U"合資会社",     U"合名会社",     U"合同会社",     U"相互会社",
        U"財団法人",     U"社団法人",     U"(株)",         U"(有)",         U"(資)",
        U"(名)",         U"(同)",         U"(財)",         U"(社)",         U"㈱",
        U"㈲",           U"㈾",           U"㈴",           U"㈶",           U"㈳"};
    std::u32string s = unifyWidths(text);
    for (const auto& f : forms)
        for (size_t p; (p = s.find(f)) != std::u32string::npos;)
            s.erase(p, f.size());
    std::erase_if(s, [](char32_t c) { return c == U' ' || c == U'\t'; });
    return s;
}

std::string MatchForm(std::string_view cp932)
{
    std::u32string wide;
    if (!DecodeCp932(cp932, wide))
        return {};
    return ToUtf8(NormaliseName(wide));
}

namespace {

void append(std::string& out, const void* p, size_t n)
{
    out.append(static_cast<const char*>(p), n);
}

void appendU32(std::string& out, uint32_t v)
{
    append(out, &v, 4);
}

} // namespace

bool SetTexts(SourceEntry& entry, const std::string (&texts)[HeapTextCount])
{
    entry.texts.clear();
    for (const std::string& t : texts) {
        if (t.size() > 255)
            return false;
        entry.texts += char(uint8_t(t.size()));
        entry.texts += t;
    }
    return true;
}

std::string BuildDataFile(std::vector<SourceEntry> entries)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const SourceEntry& a, const SourceEntry& b) { return a.area < b.area; });
    const uint32_t n = uint32_t(entries.size());
    std::string entryBytes, nameStarts, names, heap;
    std::vector<std::vector<uint32_t>> lists(1800); // codes up to 17 * 100 + 99
    std::vector<std::string> digits(n);
    for (uint32_t i = 0; i < n; ++i) {
        const SourceEntry& s = entries[i];
        auto fail = [&](const char* why) {
            throw std::runtime_error("entry " + std::to_string(i) + " (" + s.area + "): " + why);
        };
        if (s.area.size() != sizeof(Entry::area))
            fail("area code not 11 characters");
        if (s.kind < 0 || s.kind > 3 || s.legalForm < 0 || s.legalForm > 7)
            fail("kind or legal form out of range");
        if (s.category < 0 || s.category >= int(lists.size()) || (s.category && s.category < 101))
            fail("category out of range");
        if (s.tel.size() >= sizeof(Entry::tel))
            fail("number too long");
        Entry e;
        std::memset(&e, 0, sizeof e);
        std::memcpy(e.area, s.area.data(), sizeof e.area);
        e.kind = uint8_t(s.kind);
        e.legalForm = uint8_t(s.legalForm);
        e.flags = uint8_t((s.person ? FlagPerson : 0) | (s.notShown ? FlagNotShown : 0));
        e.category = uint16_t(s.category);
        e.firstListing = s.firstListing;
        std::memcpy(e.tel, s.tel.data(), s.tel.size());
        for (char c : s.tel)
            if (c >= '0' && c <= '9')
                digits[i] += c;
        if (digits[i].size() >= sizeof(e.digits))
            fail("number too long");
        std::memcpy(e.digits, digits[i].data(), digits[i].size());
        e.heap = uint32_t(heap.size());
        e.lat = s.lat;
        e.lon = s.lon;
        if (s.texts.empty() || uint8_t(s.texts[0]) + 1u > s.texts.size())
            fail("texts missing");
        heap += s.texts;
        append(entryBytes, &e, sizeof e);
        appendU32(nameStarts, uint32_t(names.size()));
        names += MatchForm(std::string_view(s.texts).substr(1, uint8_t(s.texts[0])));
        names += '\n';
        if (s.category) {
            lists[size_t(s.category / 100)].push_back(i);
            lists[size_t(s.category)].push_back(i);
        }
    }
    appendU32(nameStarts, uint32_t(names.size()));
    if (names.size() > 0xFFFFFFFFu || heap.size() > 0xFFFFFFFFu)
        throw std::runtime_error("more text than one data file holds");

    std::string postingTable, postingBytes;
    uint32_t postingCount = 0, postingTotal = 0;
    for (size_t code = 0; code < lists.size(); ++code) {
        if (lists[code].empty())
            continue;
        const Posting p{uint32_t(code), postingTotal, uint32_t(lists[code].size())};
        append(postingTable, &p, sizeof p);
        for (uint32_t e : lists[code])
            appendU32(postingBytes, e);
        postingTotal += p.count;
        ++postingCount;
    }
    std::vector<uint32_t> tel(n);
    std::iota(tel.begin(), tel.end(), 0u);
    std::stable_sort(tel.begin(), tel.end(), [&](uint32_t a, uint32_t b) { return digits[a] < digits[b]; });

    FileHeader h;
    std::memset(&h, 0, sizeof h);
    std::memcpy(h.magic, Magic, sizeof Magic);
    h.version = FormatVersion;
    h.entryCount = n;
    h.namesSize = uint32_t(names.size());
    h.heapSize = uint32_t(heap.size());
    h.postingCount = postingCount;
    h.postingTotal = postingTotal;
    std::string out;
    append(out, &h, sizeof h);
    out += entryBytes;
    out += nameStarts;
    out += names;
    out += heap;
    out += postingTable;
    out += postingBytes;
    for (uint32_t e : tel)
        appendU32(out, e);
    return out;
}

} // namespace Kelvor
