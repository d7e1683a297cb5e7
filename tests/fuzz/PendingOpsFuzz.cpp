// Fuzz target: a destination's "AdrsOp.ini" as the restore reads it; every book lands in a plain folder under
// "Adrs/", and the renames it adds are written back.
#include "FuzzSupport.h"

#include "maintenance/RestoreRun.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString adrs = Fuzz::ScratchFolder() + QStringLiteral("Adrs/");
    for (const char* folder : {"a", "b", "アドレス", "アドレス（1）"})
        QDir().mkpath(adrs + QString::fromUtf8(folder));
    Fuzz::WriteFile(adrs + AdrsOpFileName, Fuzz::Bytes(data, size));

    TPendingOps ops = ReadPendingOps(adrs);
    TRestoreTargetContext context;
    context.folderExists = [&adrs](const QString& folder) { return QFileInfo::exists(adrs + folder); };
    for (const char* name : {"a", "A", "b", "アドレス", "new"}) {
        const QString folder = ChooseRestoreFolder(QString::fromUtf8(name), context, ops);
        Fuzz::Check(IsPlainFolderName(folder));
    }
    Fuzz::Check(WritePendingRenames(adrs, ops));
    const TPendingOps again = ReadPendingOps(adrs);
    Fuzz::Check(again.fileRenames.size() <= ops.fileRenames.size() + ops.addedRenames.size());
    return 0;
}
