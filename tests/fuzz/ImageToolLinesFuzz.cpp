// Fuzz target: the picture picker's protocol lines, split at every chunk size the input's first byte picks.
#include "ImageToolProtocol.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const qsizetype chunk = 1 + data[0] % 64;
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    ImageTool::TLineReader reader;
    for (qsizetype at = 0; at < bytes.size(); at += chunk)
        reader.Append(bytes.mid(at, chunk));
    int taken = 0;
    for (const QByteArray& line : reader.TakeLines()) {
        QString path;
        taken += ImageTool::ParseCommand(line).kind + ImageTool::ParsePath(line, path);
    }
    return taken < 0 ? -1 : 0;
}
