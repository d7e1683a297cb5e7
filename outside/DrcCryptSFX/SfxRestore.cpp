// The restorer at the front of every self-restoring archive: asks for the password, checks the archive
// appended to its own image and writes the restored text beside itself as <name>.txt.
#include "CryptSfxArchive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

enum Exit { ExitOk = 0, ExitWrongPassword = 1, ExitDamaged = 2, ExitRefused = 3, ExitWriteError = 4 };

std::string SelfPath()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    return n > 0 ? std::string(buffer, size_t(n)) : std::string();
}

// One line without its line end; false at the end of the input.
bool ReadLine(std::string& line)
{
    if (!std::getline(std::cin, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

// From the terminal without echo, or one line of standard input when that is no terminal.
bool ReadPassword(std::string& password)
{
    if (!::isatty(STDIN_FILENO))
        return ReadLine(password);
    std::cerr << "パスワード: " << std::flush;
    termios saved{};
    const bool quiet = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= tcflag_t(~ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    const bool ok = ReadLine(password);
    if (quiet)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << std::endl;
    return ok;
}

// An existing text is replaced only after a yes typed on the terminal.
bool MayReplace(const std::string& target)
{
    if (!::isatty(STDIN_FILENO)) {
        std::cerr << target << " は既にあります。置き換えるには端末から実行してください。" << std::endl;
        return false;
    }
    std::cerr << target << " は既にあります。上書きしますか？ (y/N): " << std::flush;
    std::string answer;
    return ReadLine(answer) && (answer == "y" || answer == "Y" || answer == "yes");
}

bool WriteAtomically(const std::string& target, const std::vector<uint8_t>& bytes)
{
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data()); // mode 0600: the text may hold protected items
    if (fd < 0)
        return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += size_t(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

} // namespace

int main()
{
    const std::string self = SelfPath();
    std::vector<uint8_t> image;
    CryptSfx::Archive archive;
    if (self.empty() || !CryptSfx::ReadWholeFile(self, image) ||
        !CryptSfx::ParseArchive(image.data(), image.size(), CryptSfx::ElfImageEnd(image.data(), image.size()),
                                archive)) {
        std::cerr << "復元するデータが見つからないか、ファイルが壊れています。" << std::endl;
        return ExitDamaged;
    }

    std::string target = self;
    const size_t slash = target.rfind('/');
    const size_t dot = target.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        target.resize(dot);
    target += ".txt";
    struct stat st
    {
    };
    if (::lstat(target.c_str(), &st) == 0 && !MayReplace(target))
        return ExitRefused;

    std::string password;
    if (!ReadPassword(password) || password.empty()) {
        std::cerr << "パスワードが入力されませんでした。" << std::endl;
        return ExitWrongPassword;
    }
    std::vector<uint8_t> plain;
    const bool opened = CryptSfx::Open(archive, password, plain);
    OPENSSL_cleanse(password.data(), password.size());
    if (!opened) {
        std::cerr << "パスワードが違うか、ファイルが壊れています。" << std::endl;
        return ExitWrongPassword;
    }
    if (!WriteAtomically(target, plain)) {
        std::cerr << target << " を書き込めませんでした: " << std::strerror(errno) << std::endl;
        return ExitWriteError;
    }
    std::cerr << target << " を復元しました。" << std::endl;
    return ExitOk;
}
