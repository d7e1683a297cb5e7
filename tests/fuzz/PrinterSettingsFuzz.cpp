// Fuzz target: the device-settings block of ".pi" files. Whatever decodes encodes and decodes to the same
// settings.
#include "FuzzSupport.h"

#include "layoutobjects/PrinterInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    TPrinterSettings settings;
    if (!DecodePrinterSettings(bytes, settings))
        return 0;
    TPrinterSettings again;
    Fuzz::Check(DecodePrinterSettings(EncodePrinterSettings(settings), again));
    Fuzz::Check(again.DeviceName == settings.DeviceName && again.Copies == settings.Copies &&
                again.Orientation == settings.Orientation && again.Paper.isEquivalentTo(settings.Paper));
    return 0;
}
