// Fuzz target: the name dictionary reader of "DlName99a.dll" on a dictionary file of the input's bytes, then
// prefix look-ups of readings the file itself holds.
#include "FuzzSupport.h"

// The stand-in library's reader is compiled in, so that the fuzzer sees its branches.
#include "../../outside/DlName99a/DlName99a.cpp"

#include <fcntl.h>
#include <sys/stat.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray folder = QFile::encodeName(Fuzz::ScratchFolder());
    const QByteArray bytes = Fuzz::Bytes(data, size);
    const QString path = Fuzz::ScratchFolder() + QLatin1String(NameDicSeiFile);
    Fuzz::WriteFile(path, bytes);
    // The library reloads a file whose size or time changed; a new time on every run forces the reload.
    static long runs = 0;
    const timespec times[2] = {{0, UTIME_OMIT}, {++runs, 0}};
    Fuzz::Check(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);

    // Readings to look up: the start of the file and of its second line, and one that no line holds.
    QList<QByteArray> readings{bytes.left(bytes.indexOf('\t')).left(4), QByteArray("\xB1")};
    if (const qsizetype eol = bytes.indexOf('\n'); eol >= 0)
        readings.append(bytes.mid(eol + 1, 2));
    for (const QByteArray& candidate : readings) {
        const QByteArray reading(candidate.constData()); // as the caller passes it: up to the first zero
        int32_t n = -1;
        const int32_t rc = DLNMSeiCount(reading.constData(), 0, &n, folder.constData());
        Fuzz::Check(rc == DLNM_OK ? n > 0 : n == 0);
        if (rc != DLNM_OK)
            continue;
        std::vector<TNameCandidateRec> list(size_t(n) + 1);
        std::memset(list.data(), 0, list.size() * sizeof(TNameCandidateRec));
        Fuzz::Check(DLNMSeiList(reading.constData(), 0, list.data(), n, folder.constData()) == DLNM_OK);
        for (int32_t i = 0; i < n; ++i) {
            // Every candidate starts with the reading and keeps its terminating zero.
            Fuzz::Check(std::memchr(list[size_t(i)].Reading, 0, sizeof list[0].Reading) != nullptr);
            Fuzz::Check(std::memchr(list[size_t(i)].Word, 0, sizeof list[0].Word) != nullptr);
            Fuzz::Check(std::strncmp(list[size_t(i)].Reading, reading.constData(), size_t(reading.size())) ==
                        0);
        }
        // The list stops at n records.
        Fuzz::Check(list[size_t(n)].Reading[0] == 0);
    }
    return 0;
}
