// QR symbols through libqrencode.
#include "core/QRmakerPro.h"

#include "core/AppSub.h"

#include <qrencode.h>

#include <cstring>
#include <memory>

namespace {

constexpr int QuietZone = 4;
constexpr int SmallestSymbol = 21;
// Larger pictures are not made (a module size at a printer resolution beyond any paper).
constexpr int MaxSide = 32767;

} // namespace

int TQRmakerPro::ModulePixels() const
{
    return qMax<int>(1, int(RoundHalfAway(double(m_cellPitch) * m_cellUnit / 96.0)));
}

void TQRmakerPro::Refresh()
{
    m_image = QImage();
    std::unique_ptr<QRcode, void (*)(QRcode*)> code(nullptr, QRcode_free);
    if (!m_data.isEmpty()) {
        // A NUL inside the text would end it for the Kanji-aware encoder: such data goes as bytes.
        if (m_data.contains('\0'))
            code.reset(QRcode_encodeData(int(m_data.size()),
                                         reinterpret_cast<const unsigned char*>(m_data.constData()), 0,
                                         QR_ECLEVEL_M));
        else
            code.reset(QRcode_encodeString(m_data.constData(), 0, QR_ECLEVEL_M, QR_MODE_KANJI, 1));
    }
    const int symbol = code ? code->width : SmallestSymbol;
    const int modules = symbol + 2 * QuietZone;
    const int pixels = ModulePixels();
    const int side = modules * pixels;
    const float mm = float(side) / float(qMax<qint16>(1, m_cellUnit)) * 25.4f;
    m_heightMm = mm;
    m_widthMm = mm;
    if ((!m_data.isEmpty() && !code) || side > MaxSide)
        return;
    QImage image(side, side, QImage::Format_Mono);
    if (image.isNull())
        return;
    image.setColorTable({m_light.rgb(), m_dark.rgb()});
    image.fill(0);
    if (code) {
        // One scan line per symbol row, copied to the rows of its modules.
        for (int y = 0; y < symbol; ++y) {
            uchar* first = image.scanLine((y + QuietZone) * pixels);
            const unsigned char* row = code->data + size_t(y) * size_t(symbol);
            for (int x = 0; x < symbol; ++x) {
                if (!(row[x] & 1))
                    continue;
                for (int px = (x + QuietZone) * pixels; px < (x + QuietZone + 1) * pixels; ++px)
                    first[px >> 3] |= uchar(0x80 >> (px & 7));
            }
            for (int py = 1; py < pixels; ++py)
                std::memcpy(image.scanLine((y + QuietZone) * pixels + py), first,
                            size_t(image.bytesPerLine()));
        }
    }
    const int dpm = int(RoundHalfAway(m_cellUnit / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    m_image = image;
}
