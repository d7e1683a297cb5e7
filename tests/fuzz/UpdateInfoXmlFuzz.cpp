// Fuzz target: the update server's answer read into its file list.
#include "maintenance/UpdDlg.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TUpdateInfo info;
    const int code = ParseUpdateInfo(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), info);
    for (const TUpdateFileRec& f : info.files)
        (void)IsUnsafeUpdateFile(f);
    return code < 0 ? -1 : 0;
}
