// Fuzz target: the BMP and JPEG readers and the header scans; a BMP that reads must write back to the same
// pixels, and every scaled picture keeps its size.
#include "FuzzSupport.h"

#include "layoutobjects/ImageFiles.h"
#include "layoutobjects/ImageUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    const int dpi = BmpDpi(bytes);
    Fuzz::Check(dpi > 0);
    Fuzz::Check(JfifDpi(bytes) >= 0);
    const qint64 length = BmpFileLength(bytes);
    Fuzz::Check(length == -1 || (length >= 18 && length <= bytes.size()));
    QImage image = ReadBmp(bytes);
    if (!image.isNull()) {
        Fuzz::Check(ReadBmp(WriteBmp(image, dpi)) == image);
    } else {
        image = DecodeJpeg(bytes);
    }
    if (!image.isNull() && qint64(image.width()) * image.height() < 4096) {
        for (int mode : {0, 1, 2}) {
            QImage scaled = image;
            StretchBitmap(scaled, nullptr, qMax(1, image.width() / 2), image.height() + 1, mode);
            Fuzz::Check(scaled.size() == QSize(qMax(1, image.width() / 2), image.height() + 1));
        }
        Fuzz::Check(RotateBitmap(RotateBitmap(image, 0), 1) == image);
    }
    return 0;
}
