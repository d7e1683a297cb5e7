// The mergers file "Merger.dic" of the address conversion (format in AdrsConvApi.h): its reader and cache.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace AdrsConv {

inline constexpr const char* MergerDicFile = "Merger.dic";

struct Merger
{
    std::string_view pref, former;
    std::vector<std::string_view> today; // at least one
};

// A loaded table; immutable once parsed.
struct MergerTable
{
    std::string bytes;
    std::vector<Merger> mergers;

    // Parses bytes; false when they break the format (every field non-empty CP932 of at most 64 bytes).
    bool parse();
};

// folder + "Merger.dic", loaded once per process and again when the file changes; false when it is missing
// or damaged.
bool LoadMergers(const char* folder, std::shared_ptr<const MergerTable>& out);

} // namespace AdrsConv
