// The directory data file "Kelvor.dat" of the directory search library: its layout, the reader that checks
// every offset before it trusts one, the name normalisation shared by the builder and the searches, and
// the builder that writes the file.
//
// Layout (little-endian), each section directly after the one before:
//   FileHeader (64 bytes)
//   Entry[entryCount]             sorted by area code (5-digit JIS code + 6-character block code)
//   uint32 nameStart[entryCount+1] offsets into the name text; nameStart[0] = 0, the last = namesSize
//   names (namesSize bytes)       normalised UTF-8 names in entry order, each ended by '\n'
//   heap (heapSize bytes)         per entry: HeapTextCount texts, each one length byte and CP932 bytes
//   Posting[postingCount]         category lists, ascending code (major 1..17, major * 100 + minor)
//   uint32 postings[postingTotal] entry indexes, ascending within each list
//   uint32 telIndex[entryCount]   entry indexes ordered by telephone digits, then index
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Kelvor {

inline constexpr char DataFileName[] = "Kelvor.dat";
inline constexpr char Magic[8] = {'T', 'V', 'K', 'E', 'L', 'V', 'O', 'R'};
inline constexpr uint32_t FormatVersion = 1;

enum EntryFlags : uint8_t { FlagPerson = 1, FlagNotShown = 2 };

// The texts of an entry in the heap, in this order.
enum HeapText {
    TxtName,
    TxtNameKana,
    TxtPref,
    TxtCity,
    TxtAddr3,
    TxtAddr4,
    TxtAddr5,
    TxtPrefKana,
    TxtCityKana,
    TxtAddr3Kana,
    TxtAddr4Kana,
    TxtAddr5Kana,
    TxtPostal,
    HeapTextCount
};

#pragma pack(push, 1)
struct FileHeader
{
    char magic[8];
    uint32_t version;
    uint32_t entryCount;
    uint32_t namesSize;
    uint32_t heapSize;
    uint32_t postingCount;
    uint32_t postingTotal;
    uint8_t reserved[32];
};

struct Entry
{
    char area[11];
    uint8_t kind;          // phone kind 0..3
    uint8_t legalForm;     // 0..7
    uint8_t flags;         // EntryFlags
    uint16_t category;     // major * 100 + minor; 0 none
    uint32_t firstListing; // yyyymm; 0 none
    char tel[14];          // as the library answers it
    char digits[12];       // the number's digits, zero-padded
    uint32_t heap;         // offset of the entry's texts
    int32_t lat, lon;
};

struct Posting
{
    uint32_t code;
    uint32_t first; // index into postings
    uint32_t count;
};
#pragma pack(pop)

static_assert(sizeof(FileHeader) == 64);
static_assert(sizeof(Entry) == 58);
static_assert(sizeof(Posting) == 12);

// A checked view of the bytes of a data file; the bytes must outlive it.
class View
{
public:
    // False when the bytes break the layout anywhere (every offset, order and length is checked).
    bool open(const char* data, size_t size);

    uint32_t count() const { return m_count; }
    // Entry i, copied out (the records are packed and may be unaligned).
    Entry entry(uint32_t i) const;
    std::string_view area(uint32_t i) const;
    // The normalised name of entry i without its '\n'.
    std::string_view name(uint32_t i) const;
    uint32_t nameStart(uint32_t i) const;
    std::string_view names() const { return m_names; }
    // The entry whose name holds byte offset pos of the name text.
    uint32_t entryAtNameOffset(uint32_t pos) const;
    // The heap texts of entry i.
    void texts(uint32_t i, std::string_view (&out)[HeapTextCount]) const;

    // [first, last) of the entries whose area code starts with prefix.
    void areaRange(std::string_view prefix, uint32_t& first, uint32_t& last) const;
    // The posting list of a category code: postings [first, first + n); false when there is none.
    bool postings(uint32_t code, uint32_t& first, uint32_t& n) const;
    uint32_t posting(uint32_t k) const;
    // [first, last) of telIndex whose entries have these digits.
    void telRange(std::string_view digits, uint32_t& first, uint32_t& last) const;
    uint32_t telEntry(uint32_t k) const;

private:
    uint32_t u32(const char* p) const;
    std::string_view digitsOf(uint32_t i) const;

    uint32_t m_count = 0;
    const char* m_entries = nullptr;
    const char* m_nameStarts = nullptr;
    std::string_view m_names, m_heap;
    const char* m_postingTable = nullptr;
    uint32_t m_postingCount = 0;
    const char* m_postings = nullptr;
    const char* m_telIndex = nullptr;
};

// UTF-32 of CP932 text and back; false / empty when it does not convert.
bool DecodeCp932(std::string_view cp932, std::u32string& out);
std::string ToUtf8(const std::u32string& text);
// The form in which names are matched: widths unified (full-width ASCII to ASCII, half-width katakana to
// full-width), legal forms and blanks dropped.
std::u32string NormaliseName(const std::u32string& text);
// CP932 name text to its matching form in UTF-8; empty when it does not decode.
std::string MatchForm(std::string_view cp932);

// One entry as the builder takes it; texts are CP932.
struct SourceEntry
{
    std::string area; // 11 characters
    int kind = 0, legalForm = 0, category = 0;
    bool person = false, notShown = false;
    uint32_t firstListing = 0;
    std::string tel; // as answered; at most 13 bytes
    int32_t lat = 0, lon = 0;
    std::string texts; // the HeapTextCount texts as the heap keeps them (SetTexts)
};
// Packs the texts of an entry; false when one is over 255 bytes.
bool SetTexts(SourceEntry& entry, const std::string (&texts)[HeapTextCount]);

// The bytes of a data file holding the entries (sorted by area, input order kept within an area); throws
// std::runtime_error naming the first entry that cannot be stored.
std::string BuildDataFile(std::vector<SourceEntry> entries);

} // namespace Kelvor
