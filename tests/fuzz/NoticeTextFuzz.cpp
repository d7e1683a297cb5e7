// Fuzz target: the notice text answer split into lines in the program's code page.
#include "maintenance/UpdDlg.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines =
        NoticeLinesFromBody(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return lines.size() < 0 ? -1 : 0;
}
