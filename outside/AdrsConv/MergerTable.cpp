// Reader of the mergers file.
#include "MergerTable.h"

#include "AddressMaster.h"
#include "DictionaryFileCache.h"

namespace AdrsConv {

namespace {

constexpr std::string_view Header = "TOVAREL MERGER 1";
constexpr size_t MaxField = 64;

bool validField(std::string_view field)
{
    std::u32string wide;
    return !field.empty() && field.size() <= MaxField && AddressMaster::Decode(field, wide) && !wide.empty();
}

} // namespace

bool MergerTable::parse()
{
    mergers.clear();
    std::string_view rest(bytes);
    const size_t first = rest.find('\n');
    if (first == std::string_view::npos || rest.substr(0, first) != Header)
        return false;
    rest.remove_prefix(first + 1);
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        if (end == std::string_view::npos)
            return false; // every line ends in LF
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        std::vector<std::string_view> fields;
        for (;;) {
            const size_t tab = line.find('\t');
            fields.push_back(line.substr(0, tab));
            if (tab == std::string_view::npos)
                break;
            line.remove_prefix(tab + 1);
        }
        if (fields.size() < 3)
            return false;
        for (std::string_view f : fields)
            if (!validField(f))
                return false;
        mergers.push_back({fields[0], fields[1], {fields.begin() + 2, fields.end()}});
    }
    return true;
}

bool LoadMergers(const char* folder, std::shared_ptr<const MergerTable>& out)
{
    if (!folder)
        return false;
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += MergerDicFile;
    return LoadDictionaryFile(path, out, [](MergerTable& t) { return t.parse(); }) ==
           DictionaryFileState::Loaded;
}

} // namespace AdrsConv
