// Fuzz target: the saved password file "FExport.pwd" of the enciphered export.
#include "dataexchange/FExportPwd.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const std::optional<QByteArray> password = ParsePasswordFile(bytes)) {
        IsPasswordChars(QString::fromLatin1(*password));
        // What is written back reads back the same.
        if (ParsePasswordFile(PasswordFileBytes(*password)) != password)
            __builtin_trap();
    }
    return 0;
}
