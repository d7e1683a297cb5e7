// A hyphenation library for tests whose answers fill the whole result buffer, with no terminating zero; it
// remembers the data folder and time of the last call.
#include "DlhypApi.h"

#include <cstring>
#include <mutex>
#include <string>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
std::mutex lastMutex;
std::string lastFolder;
TSystemTime lastTime{};
} // namespace

FAKE_EXPORT int GetHyphen(const char* number, char* result, const char* dataFolder, const TSystemTime* time)
{
    {
        std::lock_guard lock(lastMutex);
        lastFolder = dataFolder;
        std::memcpy(&lastTime, time, sizeof lastTime);
    }
    static const char full[HyphenResultSize + 1] = "0120-3456-7890";
    std::memcpy(result, full, HyphenResultSize);
    return 0;
}

FAKE_EXPORT void FakeLastCall(char* folder, int folderSize, TSystemTime* time)
{
    std::lock_guard lock(lastMutex);
    std::strncpy(folder, lastFolder.c_str(), size_t(folderSize) - 1);
    folder[folderSize - 1] = 0;
    std::memcpy(time, &lastTime, sizeof lastTime);
}
