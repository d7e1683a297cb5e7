// Fuzz target: the print-file listing and the stored preview. Any file of the kind's extension is listed only
// with its signature, and the preview read never runs past the file or allocates from its stored length.
#include "FuzzSupport.h"

#include "core/MainSettings.h"
#include "designers/PrintDataFile.h"
#include "layoutobjects/ImageFiles.h"
#include "layoutobjects/PrintDataDlg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    LayoutFolder = Fuzz::ScratchFolder();
    const QString path = LayoutFolder + QStringLiteral("fuzz.gpl");
    Fuzz::WriteFile(path, bytes);
    const TPrintFileKind kind = PrintFileKind(0);
    const std::vector<TPrintFileEntry> entries = ListPrintFiles(kind);
    bool listed = false;
    for (const TPrintFileEntry& entry : entries)
        listed = listed || entry.Title == QStringLiteral("fuzz");
    Fuzz::Check(listed == (bytes.size() >= kind.Signature.size() &&
                           bytes.left(kind.Signature.size()) == ComplementBytes(kind.Signature)));
    const QByteArray jpeg = ReadPrintFilePreview(path, int(kind.Signature.size()), kind.HeaderLength);
    Fuzz::Check(jpeg.size() <= qMax<qsizetype>(0, bytes.size() - 54));
    DecodeJpeg(jpeg);
    return 0;
}
