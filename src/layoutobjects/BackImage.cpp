// Page background: rendering for the screen, preparing and printing through a clip, the stream record.
#include "layoutobjects/BackImage.h"

#include "core/AppSub.h"
#include "platform/Printers.h"

#include <QPainter>

#include <cmath>

namespace {

qint32 round32(double value)
{
    return qint32(std::clamp<double>(RoundHalfAway(value), INT32_MIN, INT32_MAX));
}

// The backgrounds this large are not rendered (a damaged paper size).
constexpr qint64 MaxRenderPixels = qint64(1) << 28;

QSize fitted(const QImage& picture, int w, int h)
{
    const double ratio = qMin(double(h) / qMax(1, picture.height()), double(w) / qMax(1, picture.width()));
    return QSize(round32(picture.width() * ratio), round32(picture.height() * ratio));
}

// The printable page of the current printer in its pixels.
QSize printablePage(int pw, int ph)
{
    const TPrinter* printer = TPrinterList::Instance().Current();
    if (!printer)
        return QSize(pw, ph);
    const QSize sheet = printer->PhysicalSize();
    const QPoint offset = printer->PhysicalOffset();
    return QSize(sheet.width() - 2 * offset.x(), sheet.height() - 2 * offset.y());
}

} // namespace

void TBackImage::Clear()
{
    m_picture = {};
    m_render = QImage();
    m_mode = BackNone;
    stale();
}

void TBackImage::Assign(const TBackImage& other)
{
    m_paper = other.m_paper;
    m_zoom = other.m_zoom;
    m_visible = other.m_visible;
    m_mode = other.m_mode;
    if (hasPictureMode()) {
        m_picture.SetExtension(other.m_picture.extension);
        m_picture.bitmap = other.m_picture.bitmap;
        if (other.m_picture.IsJpegExtension())
            m_picture.jpeg = other.m_picture.jpeg;
        m_picture.transform = other.m_picture.transform;
        m_dpi = other.m_dpi;
    } else {
        m_picture = {};
        m_color = other.m_color;
        if (m_mode == BackGradient) {
            m_color2 = other.m_color2;
            m_angle = other.m_angle;
        }
    }
    m_upsideDown = other.m_upsideDown;
    stale();
}

void TBackImage::SetPaperSize(QSize paper)
{
    m_paper = paper;
    stale();
}

void TBackImage::SetVisibleRect(const TRect& rect)
{
    m_visible = rect;
    stale();
}

void TBackImage::SetZoom(double zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    stale();
}

void TBackImage::SetMode(quint8 mode)
{
    if (mode == m_mode || mode > BackGradient)
        return;
    m_mode = mode;
    stale();
}

void TBackImage::SetDpi(qint32 dpi)
{
    if (dpi == m_dpi)
        return;
    m_dpi = dpi;
    stale();
}

void TBackImage::SetColor(quint32 color)
{
    if (color == m_color)
        return;
    m_color = color;
    stale();
}

void TBackImage::SetColor2(quint32 color)
{
    if (color == m_color2)
        return;
    m_color2 = color;
    stale();
}

void TBackImage::SetGradientAngle(qint32 angle)
{
    if (angle == m_angle)
        return;
    m_angle = angle;
    stale();
}

void TBackImage::SetExtension(const QString& text)
{
    m_picture.SetExtension(text);
    stale();
}

void TBackImage::SetGraphic(const TGraphic* graphic)
{
    m_picture.SetGraphic(graphic);
    if (m_upsideDown && !m_picture.bitmap.isNull()) {
        const QImage turned = RotateBitmap(m_picture.bitmap, 2);
        if (!turned.isNull())
            m_picture.bitmap = turned;
    }
    m_dpi = 72;
    if (!hasPictureMode())
        m_mode = BackFitted;
    m_picture.transform = {};
    m_render = QImage();
    stale();
}

void TBackImage::Flip(quint8 horizontal)
{
    if (m_picture.Flip(horizontal))
        stale();
}

void TBackImage::Rotate(int kind)
{
    if (m_picture.Rotate(kind))
        stale();
}

void TBackImage::render()
{
    m_current = true;
    m_render = QImage();
    const int pw = qMax(0, round32(round32(m_paper.width() / 254.0 * 96) * m_zoom));
    const int ph = qMax(0, round32(round32(m_paper.height() / 254.0 * 96) * m_zoom));
    TRect part{round32(std::ceil(m_visible.left * m_zoom)), round32(std::ceil(m_visible.top * m_zoom)),
               round32(std::trunc(m_visible.right * m_zoom)), round32(std::trunc(m_visible.bottom * m_zoom))};
    if (part.IsEmpty())
        part = {};
    part.left = qMax(0, part.left);
    part.top = qMax(0, part.top);
    part.right = qMin<qint64>(part.right, qint64(part.left) + pw);
    part.bottom = qMin<qint64>(part.bottom, qint64(part.top) + ph);
    m_origin = QPoint(part.left, part.top);
    const int w = part.Width(), h = part.Height();
    if (w <= 0 || h <= 0 || qint64(w) * h > MaxRenderPixels)
        return;
    const QImage& picture = m_picture.bitmap;
    if (m_mode == BackNone || (hasPictureMode() && picture.isNull()))
        return;
    if (m_mode == BackColor && m_color == 0xFFFFFF)
        return;
    if (m_mode == BackGradient && m_color == 0xFFFFFF && m_color2 == 0xFFFFFF)
        return;
    QImage bitmap(w, h, QImage::Format_RGB888);
    if (bitmap.isNull())
        return;
    bitmap.fill(Qt::white);
    switch (m_mode) {
    case BackFitted: {
        const QSize size = fitted(picture, w, h);
        QPainter painter(&bitmap);
        StretchDrawDIB(painter, picture,
                       QRect((w - size.width()) / 2, (h - size.height()) / 2, size.width(), size.height()));
        break;
    }
    case BackCentred:
        CenterBitmap(picture, m_dpi, bitmap, m_zoom);
        break;
    case BackTiled:
        TileBitmap(picture, m_dpi, bitmap, m_upsideDown ? 1 : 0, m_zoom);
        break;
    case BackColor:
        bitmap.fill(ColorRefToQColor(m_color));
        break;
    default:
        GradientFillBitmap(bitmap, m_angle, m_color, m_color2);
        break;
    }
    m_render = bitmap;
}

void TBackImage::UpdateImage(bool force)
{
    if (force || !m_current)
        render();
}

void TBackImage::Draw(QPainter& painter, int x, int y)
{
    if (m_mode == BackNone)
        return;
    UpdateImage(false);
    if (!m_render.isNull())
        painter.drawImage(QPoint(x + m_origin.x(), y + m_origin.y()), m_render);
}

void TBackImage::PreparePrint(QPoint offset)
{
    FreePrintCache();
    const QPoint dpi = CurrentPrinterDpi();
    const int pw = round32(m_paper.width() / 254.0 * dpi.x());
    const int ph = round32(m_paper.height() / 254.0 * dpi.y());
    const QPoint physical = CurrentPrinterOffset();
    const QSize page = printablePage(pw, ph);
    m_printRect = {0, 0, qMin(pw - physical.x(), page.width()), qMin(ph - physical.y(), page.height())};
    m_printPictureSize = {};
    m_tiles = {};
    if (m_printRect.IsEmpty()) {
        m_printRect = {};
        return;
    }
    m_printRect =
        m_printRect.Moved(round32(offset.x() / 254.0 * dpi.x()), round32(offset.y() / 254.0 * dpi.y()));
    const QImage& picture = m_picture.bitmap;
    const int w = m_printRect.Width(), h = m_printRect.Height();
    if (hasPictureMode() && !picture.isNull()) {
        if (m_mode == BackFitted) {
            m_printPictureSize = fitted(picture, w, h);
        } else {
            const int dpiPicture = m_dpi > 0 ? m_dpi : 72;
            m_printPictureSize = QSize(qMax(1, round32(double(picture.width()) / dpiPicture * dpi.x())),
                                       qMax(1, round32(double(picture.height()) / dpiPicture * dpi.y())));
            if (m_mode == BackTiled)
                m_tiles = QSize(int(std::ceil(double(w) / m_printPictureSize.width())),
                                int(std::ceil(double(h) / m_printPictureSize.height())));
        }
    }
    if (m_mode == BackGradient && !(m_color == 0xFFFFFF && m_color2 == 0xFFFFFF)) {
        const int gw = round32(96.0 / dpi.x() * w), gh = round32(96.0 / dpi.y() * h);
        if (gw > 0 && gh > 0 && qint64(gw) * gh <= MaxRenderPixels) {
            m_printGradient = QImage(gw, gh, QImage::Format_RGB888);
            if (!m_printGradient.isNull())
                GradientFillBitmap(m_printGradient, m_angle, m_color, m_color2);
        }
    }
}

void TBackImage::Print(QPainter& painter, int x, int y)
{
    if (m_mode == BackNone || m_printRect.IsEmpty())
        return;
    const TRect r = m_printRect.Moved(x, y);
    painter.save();
    painter.setClipRect(r.ToQRect(), painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    const QImage& picture = m_picture.bitmap;
    const QSize size = m_printPictureSize;
    switch (m_mode) {
    case BackFitted:
    case BackCentred:
        if (!picture.isNull())
            StretchDrawDIB(painter, picture,
                           QRect(r.left + (r.Width() - size.width()) / 2,
                                 r.top + (r.Height() - size.height()) / 2, size.width(), size.height()));
        break;
    case BackTiled:
        if (picture.isNull())
            break;
        for (int row = 0; row < m_tiles.height(); ++row)
            for (int column = 0; column < m_tiles.width(); ++column) {
                const QPoint at =
                    m_upsideDown
                        ? QPoint(r.right - (column + 1) * size.width(), r.bottom - (row + 1) * size.height())
                        : QPoint(r.left + column * size.width(), r.top + row * size.height());
                StretchDrawDIB(painter, picture, QRect(at, size));
            }
        break;
    case BackColor:
        if (m_color != 0xFFFFFF)
            painter.fillRect(r.ToQRect(), ColorRefToQColor(m_color));
        break;
    default:
        if (!m_printGradient.isNull())
            StretchDrawDIB(painter, m_printGradient, r.ToQRect());
        break;
    }
    painter.restore();
}

void TBackImage::FreePrintCache()
{
    m_printGradient = QImage();
}

void TBackImage::LoadFromStream(TFrameReader& stream)
{
    TBackImage loaded(*this);
    loaded.readFields(stream);
    *this = loaded;
}

void TBackImage::readFields(TFrameReader& stream)
{
    const quint8 mode = stream.ReadByte();
    if (mode > BackGradient)
        throw EFrameStreamError("background mode out of range");
    m_mode = mode;
    if (hasPictureMode()) {
        m_picture.Read(stream);
        m_dpi = stream.ReadInt32();
        if (m_dpi <= 0)
            m_dpi = 72;
        if (m_picture.extension.isEmpty()) {
            m_picture = {};
            m_mode = BackNone;
        }
    } else {
        m_picture = {};
        if (mode == BackColor) {
            m_color = stream.ReadUInt32();
        } else if (mode == BackGradient) {
            m_color = stream.ReadUInt32();
            m_color2 = stream.ReadUInt32();
            m_angle = stream.ReadInt32();
        }
    }
    m_upsideDown = LoadedFileVersion > 300 ? stream.ReadByte() != 0 : false;
    if (m_upsideDown && !m_picture.bitmap.isNull()) {
        const QImage turned = RotateBitmap(m_picture.bitmap, 2);
        if (!turned.isNull())
            m_picture.bitmap = turned;
    }
    m_render = QImage();
    stale();
}

void TBackImage::SaveToStream(TFrameWriter& stream) const
{
    stream.WriteByte(m_mode);
    if (hasPictureMode()) {
        // The picture is stored unturned: a JPEG as it came, a BMP of an upside-down page turned back.
        TStoredPicture stored = m_picture;
        if (m_upsideDown && !stored.IsJpegExtension() && !stored.bitmap.isNull())
            stored.bitmap = RotateBitmap(stored.bitmap, 2);
        stored.Write(stream, m_dpi);
        stream.WriteInt32(m_dpi);
    } else if (m_mode == BackColor) {
        stream.WriteUInt32(m_color);
    } else if (m_mode == BackGradient) {
        stream.WriteUInt32(m_color);
        stream.WriteUInt32(m_color2);
        stream.WriteInt32(m_angle);
    }
    stream.WriteByte(m_upsideDown ? 1 : 0);
}
