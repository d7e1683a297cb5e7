// The name-reading dictionary library: prefix lookups of surname and given-name readings in Dic/.
//
// Dictionary files ("NmSei.dic" surnames, "NmMei.dic" given names, built by make_name_dictionary): CP932
// text, one entry per line, "reading<TAB>written form<LF>". The reading is half-width katakana, the written
// form any CP932 text; each takes 1 to 11 bytes (a candidate record keeps a zero after it) and holds no TAB,
// LF or zero byte. Lines are sorted by the reading's bytes, unsigned; the written forms of one reading keep
// the order of the source list (most common first). An empty file is an empty dictionary.
#include "DictionaryFileCache.h"
#include "DlName99a.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#define DLNM_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Entry
{
    std::string_view reading;
    std::string_view word;
};

// A loaded file; immutable once built, so any number of threads may read it.
struct Dictionary
{
    std::string bytes;
    std::vector<Entry> entries;
};

bool validField(std::string_view field)
{
    return !field.empty() && field.size() <= size_t(NameCandidateTextMax) &&
           field.find('\0') == std::string_view::npos;
}

// Parses and checks the file; false when it breaks the format.
bool parse(Dictionary& dic)
{
    std::string_view rest(dic.bytes);
    while (!rest.empty()) {
        const size_t eol = rest.find('\n');
        if (eol == std::string_view::npos)
            return false;
        const std::string_view line = rest.substr(0, eol);
        rest.remove_prefix(eol + 1);
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            return false;
        Entry e{line.substr(0, tab), line.substr(tab + 1)};
        if (!validField(e.reading) || !validField(e.word) || e.word.find('\t') != std::string_view::npos)
            return false;
        if (!dic.entries.empty() && e.reading < dic.entries.back().reading)
            return false;
        dic.entries.push_back(e);
    }
    return true;
}

// The dictionary of one file, loaded once and reloaded when the file changes.
int32_t load(const std::string& path, std::shared_ptr<const Dictionary>& out)
{
    switch (LoadDictionaryFile(path, out, [](Dictionary& dic) { return parse(dic); })) {
    case DictionaryFileState::Loaded:
        return DLNM_OK;
    case DictionaryFileState::Missing:
        return DLNM_NO_DICTIONARY;
    default:
        return DLNM_BAD_DICTIONARY;
    }
}

struct Range
{
    std::vector<Entry>::const_iterator first, last;
};

int32_t lookup(const char* reading, int32_t reserved, const char* dicFolder, const char* file,
               std::shared_ptr<const Dictionary>& dic, Range& range)
{
    if (!reading || !dicFolder || reserved != 0)
        return DLNM_BAD_ARGUMENT;
    std::string path(dicFolder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += file;
    if (const int32_t rc = load(path, dic); rc != DLNM_OK)
        return rc;
    const std::string_view prefix(reading);
    // No stored reading is longer than a record field can carry, so neither can a prefix of one be.
    if (prefix.empty() || prefix.size() > size_t(NameCandidateTextMax))
        return DLNM_NOT_FOUND;
    const auto& entries = dic->entries;
    range.first = std::lower_bound(entries.begin(), entries.end(), prefix,
                                   [](const Entry& e, std::string_view p) { return e.reading < p; });
    range.last = range.first;
    while (range.last != entries.end() && range.last->reading.substr(0, prefix.size()) == prefix)
        ++range.last;
    return range.first == range.last ? DLNM_NOT_FOUND : DLNM_OK;
}

int32_t count(const char* reading, int32_t reserved, int32_t* n, const char* dicFolder, const char* file)
{
    if (!n)
        return DLNM_BAD_ARGUMENT;
    *n = 0;
    std::shared_ptr<const Dictionary> dic;
    Range range;
    const int32_t rc = lookup(reading, reserved, dicFolder, file, dic, range);
    if (rc == DLNM_OK)
        *n = int32_t(std::distance(range.first, range.last));
    return rc;
}

int32_t list(const char* reading, int32_t reserved, TNameCandidateRec* out, int32_t n, const char* dicFolder,
             const char* file)
{
    if (!out || n < 0)
        return DLNM_BAD_ARGUMENT;
    std::shared_ptr<const Dictionary> dic;
    Range range;
    const int32_t rc = lookup(reading, reserved, dicFolder, file, dic, range);
    if (rc != DLNM_OK)
        return rc;
    for (auto it = range.first; it != range.last && n > 0; ++it, ++out, --n) {
        TNameCandidateRec rec;
        std::memset(&rec, 0, sizeof rec);
        std::memcpy(rec.Reading, it->reading.data(), it->reading.size());
        std::memcpy(rec.Word, it->word.data(), it->word.size());
        std::memcpy(out, &rec, sizeof rec);
    }
    return DLNM_OK;
}

} // namespace

DLNM_EXPORT int32_t DLNMSeiCount(const char* reading, int32_t reserved, int32_t* n, const char* dicFolder)
{
    return count(reading, reserved, n, dicFolder, NameDicSeiFile);
}

DLNM_EXPORT int32_t DLNMMeiCount(const char* reading, int32_t reserved, int32_t* n, const char* dicFolder)
{
    return count(reading, reserved, n, dicFolder, NameDicMeiFile);
}

DLNM_EXPORT int32_t DLNMSeiList(const char* reading, int32_t reserved, TNameCandidateRec* out, int32_t n,
                                const char* dicFolder)
{
    return list(reading, reserved, out, n, dicFolder, NameDicSeiFile);
}

DLNM_EXPORT int32_t DLNMMeiList(const char* reading, int32_t reserved, TNameCandidateRec* out, int32_t n,
                                const char* dicFolder)
{
    return list(reading, reserved, out, n, dicFolder, NameDicMeiFile);
}
