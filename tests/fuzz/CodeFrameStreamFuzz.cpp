// Fuzz target: barcode and QR code frame records of every format version. The first byte chooses the version
// and the frame class.
#include "FrameStreamLoad.h"
#include "layoutobjects/BarcodeRect.h"
#include "layoutobjects/QRCodeRect.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int versions[] = {150, 200, 300, 600};
    if (size < 1)
        return 0;
    LoadedFileVersion = versions[(data[0] & 0x7F) % std::size(versions)];
    const QByteArray record(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (data[0] & 0x80)
        load<TQRCodeRect>(record);
    else
        load<TBarcodeRect>(record);
    LoadedFileVersion = CurrentFileVersion;
    return 0;
}
