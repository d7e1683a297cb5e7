// The dictionary files of the stand-in libraries: read once per process and path, parsed, kept immutable
// so that any thread may read them, and read again when the file changes (size or modification time).
#pragma once

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <string>

enum class DictionaryFileState { Loaded, Missing, Damaged };

// Dic has a std::string member bytes; parse(Dic&) says whether the bytes keep the file's format.
template <typename Dic, typename Parse>
DictionaryFileState LoadDictionaryFile(const std::string& path, std::shared_ptr<const Dic>& out, Parse parse)
{
    struct Slot
    {
        timespec mtime{};
        off_t size = -1;
        std::shared_ptr<const Dic> dictionary;
    };
    static std::mutex mutex;
    static std::map<std::string, Slot> cache;

    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return DictionaryFileState::Missing;
    {
        std::lock_guard lock(mutex);
        auto it = cache.find(path);
        if (it != cache.end() && it->second.size == st.st_size &&
            it->second.mtime.tv_sec == st.st_mtim.tv_sec && it->second.mtime.tv_nsec == st.st_mtim.tv_nsec) {
            out = it->second.dictionary;
            return out ? DictionaryFileState::Loaded : DictionaryFileState::Damaged;
        }
    }
    auto dic = std::make_shared<Dic>();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return DictionaryFileState::Missing;
    dic->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad())
        return DictionaryFileState::Missing;
    const bool ok = parse(*dic);
    std::lock_guard lock(mutex);
    Slot& slot = cache[path];
    slot.mtime = st.st_mtim;
    slot.size = st.st_size;
    slot.dictionary = ok ? std::shared_ptr<const Dic>(std::move(dic)) : nullptr;
    out = slot.dictionary;
    return ok ? DictionaryFileState::Loaded : DictionaryFileState::Damaged;
}
