// Fuzz target: the install record reader on a file of the input's bytes; what it reads is written back and
// read again unchanged.
#include "FuzzSupport.h"

#include "maintenance/HdiRW.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TInstallRecord record;
    record.FilePath = Fuzz::ScratchFolder() + QStringLiteral("Quenrid215.hdi");
    record.Tag = "Quenrid215";
    Fuzz::WriteFile(record.FilePath, Fuzz::Bytes(data, size));
    const int result = ReadInstallRecord(record);
    Fuzz::Check(result >= irOk && result <= irPathShort);
    for (const TInstallEntry& entry : record.Entries) {
        Fuzz::Check(entry.Length >= -1 && entry.Length <= InstallPathMax);
        if (result == irOk)
            Fuzz::Check(entry.Path.size() == (entry.Length > 0 ? entry.Length : 0));
    }
    if (result == irOk) {
        TInstallRecord again;
        again.FilePath = record.FilePath;
        again.Tag = record.Tag;
        Fuzz::Check(WriteInstallRecord(record, true) == iwOk);
        Fuzz::Check(ReadInstallRecord(again) == irOk);
        for (int i = 0; i < InstallEntryCount; ++i) {
            Fuzz::Check(again.Entries[size_t(i)].Length == record.Entries[size_t(i)].Length);
            Fuzz::Check(again.Entries[size_t(i)].Path == record.Entries[size_t(i)].Path);
        }
    }
    return 0;
}
