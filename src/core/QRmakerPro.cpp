// QR symbols through libqrencode.
#include "core/QRmakerPro.h"

#include "core/AppSub.h"

#include <qrencode.h>

#include <memory>

namespace {

constexpr int QuietZone = 4;
constexpr int SmallestSymbol = 21;

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
    if (!m_data.isEmpty() && !code)
        return;
    QImage image(side, side, QImage::Format_Mono);
    image.setColorTable({m_light.rgb(), m_dark.rgb()});
    image.fill(0);
    if (code) {
        for (int y = 0; y < symbol; ++y) {
            const unsigned char* row = code->data + size_t(y) * size_t(symbol);
            for (int x = 0; x < symbol; ++x) {
                if (!(row[x] & 1))
                    continue;
                for (int py = 0; py < pixels; ++py)
                    for (int px = 0; px < pixels; ++px)
                        image.setPixel((x + QuietZone) * pixels + px, (y + QuietZone) * pixels + py, 1);
            }
        }
    }
    const int dpm = int(RoundHalfAway(m_cellUnit / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    m_image = image;
}
