// Stand-in of the updater: appends one line "<working folder>\t<arg1>\t<arg2>..." to the file that
// TOVAREL_STANDIN_LOG names (nothing without it), then ends with exit code 0.
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv)
{
    const char* logPath = std::getenv("TOVAREL_STANDIN_LOG");
    if (!logPath || !*logPath)
        return 0;
    FILE* log = std::fopen(logPath, "a");
    if (!log)
        return 0;
    char folder[4096];
    std::fputs(getcwd(folder, sizeof folder) ? folder : "", log);
    for (int i = 1; i < argc; ++i) {
        std::fputc('\t', log);
        std::fputs(argv[i], log);
    }
    std::fputc('\n', log);
    std::fclose(log);
    return 0;
}
