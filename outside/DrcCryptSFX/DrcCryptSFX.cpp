// Stand-in of "DrcCryptSFX.dll": wraps a text file into a self-restoring program (the restorer beside the
// library, followed by the text enciphered under the password).
#include "CryptSfxArchive.h"
#include "DrcCryptSFX.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// The text of a zero-terminated field; false when it fills the field without a terminator.
bool FieldText(const char* field, size_t size, std::string& out)
{
    const void* zero = std::memchr(field, 0, size);
    if (!zero)
        return false;
    out.assign(field, size_t(static_cast<const char*>(zero) - field));
    return true;
}

std::string LibraryFolder()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&LibraryFolder), &info) || !info.dli_fname)
        return {};
    const std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

bool WriteAll(int fd, const uint8_t* data, size_t size, int& error)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

int32_t Create(const TCryptSfxOptions* options, const TCryptSfxFileName* fileName)
{
    if (const char* forced = std::getenv(CryptSfxForceResultVariable); forced && *forced)
        return int32_t(std::atoi(forced));
    if (!options || !fileName)
        return DCSX_BAD_ARGUMENT;
    std::string password, folder, name;
    if (!FieldText(options->Password, sizeof(options->Password), password) || password.empty() ||
        !FieldText(options->WorkFolder, sizeof(options->WorkFolder), folder) || folder.empty() ||
        folder.back() != '/' || !FieldText(fileName->Name, sizeof(fileName->Name), name) || name.empty() ||
        name.find('/') != std::string::npos || name == "." || name == "..")
        return DCSX_BAD_ARGUMENT;

    std::vector<uint8_t> plain;
    if (!CryptSfx::ReadWholeFile(folder + name, plain))
        return DCSX_NO_INPUT;
    std::vector<uint8_t> restorer;
    if (!CryptSfx::ReadWholeFile(LibraryFolder() + CryptSfxRestorerFile, restorer) ||
        CryptSfx::ElfImageEnd(restorer.data(), restorer.size()) != restorer.size())
        return DCSX_NO_RESTORER;

    const std::vector<uint8_t> archive = CryptSfx::Seal(plain, password);
    std::fill(plain.begin(), plain.end(), 0);
    if (archive.empty())
        return DCSX_CIPHER_ERROR;

    struct statvfs fs
    {
    };
    const uint64_t needed = uint64_t(restorer.size()) + archive.size();
    if (::statvfs(folder.c_str(), &fs) == 0 && uint64_t(fs.f_bavail) * fs.f_frsize < needed)
        return DCSX_DISK_FULL;

    const size_t dot = name.rfind('.');
    const std::string product = folder + (dot == std::string::npos ? name : name.substr(0, dot)) + ".exe";
    const int fd = ::open(product.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755);
    if (fd < 0)
        return errno == ENOSPC || errno == EDQUOT ? DCSX_DISK_FULL : DCSX_WRITE_ERROR;
    int error = 0;
    bool ok = WriteAll(fd, restorer.data(), restorer.size(), error) &&
              WriteAll(fd, archive.data(), archive.size(), error);
    if (ok && ::fsync(fd) != 0) {
        error = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        error = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(product.c_str());
        return error == ENOSPC || error == EDQUOT ? DCSX_DISK_FULL : DCSX_WRITE_ERROR;
    }
    ::chmod(product.c_str(), 0755); // the umask may have taken the execute bits
    return DCSX_OK;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int32_t
DCSXCreate(const TCryptSfxOptions* options, const TCryptSfxFileName* fileName, void* owner)
{
    (void)owner;
    try {
        return Create(options, fileName);
    } catch (...) {
        return DCSX_CIPHER_ERROR;
    }
}

// The program never calls this entry; it answers like DCSXCreate.
extern "C" __attribute__((visibility("default"))) int32_t
DCSXCreate_TC(const TCryptSfxOptions* options, const TCryptSfxFileName* fileName, void* owner)
{
    return DCSXCreate(options, fileName, owner);
}

static_assert(std::is_same_v<decltype(&DCSXCreate), TDCSXCreate>);
static_assert(std::is_same_v<decltype(&DCSXCreate_TC), TDCSXCreateTC>);
