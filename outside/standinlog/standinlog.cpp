// Logging stand-in for outside programs that are only started: appends how it was started to the file that
// TOVAREL_STANDIN_LOG names and ends with the exit code TOVAREL_STANDIN_EXIT gives (0 without it). Tests copy
// it under the names of the programs; it is never installed beside the program. It prints the text of
// TOVAREL_STANDIN_OUTPUT, when set, on its standard output (the kick program's version answer).
//
// One block per start: "PROG <argv[0]>", "CWD <working folder>", one "ARG <argument>" per argument, "END".
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv)
{
    const char* exitText = std::getenv("TOVAREL_STANDIN_EXIT");
    const int exitCode = exitText ? std::atoi(exitText) : 0;
    if (const char* output = std::getenv("TOVAREL_STANDIN_OUTPUT"))
        std::printf("%s\n", output);
    const char* logPath = std::getenv("TOVAREL_STANDIN_LOG");
    if (!logPath || !*logPath)
        return exitCode;
    FILE* log = std::fopen(logPath, "a");
    if (!log)
        return exitCode;
    char folder[4096];
    std::fprintf(log, "PROG %s\nCWD %s\n", argv[0], getcwd(folder, sizeof folder) ? folder : "");
    for (int i = 1; i < argc; ++i)
        std::fprintf(log, "ARG %s\n", argv[i]);
    std::fputs("END\n", log);
    std::fclose(log);
    return exitCode;
}
