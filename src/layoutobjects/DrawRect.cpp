// Frame base: coordinates, handle zones, the base record and the shared text routines.
#include "layoutobjects/DrawRect.h"

#include "core/AppSub.h"
#include "platform/Printers.h"

int LoadedFileVersion = CurrentFileVersion;
int PaperLongSide = PostcardLongSide;

namespace {

qint32 round32(double value)
{
    return qint32(RoundHalfAway(value));
}

qint32 saturated(qint64 value)
{
    return qint32(std::clamp<qint64>(value, INT32_MIN, INT32_MAX));
}

} // namespace

Qt::CursorShape CursorShapeFor(qint16 cursor)
{
    switch (cursor) {
    case CursorSizeNESW:
        return Qt::SizeBDiagCursor;
    case CursorSizeNS:
        return Qt::SizeVerCursor;
    case CursorSizeNWSE:
        return Qt::SizeFDiagCursor;
    case CursorSizeWE:
        return Qt::SizeHorCursor;
    case CursorSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

void TDrawRect::Assign(const TDrawRect& source)
{
    SetDesignRect(source.m_designRect);
    m_visible = source.m_visible;
}

void TDrawRect::SetZoom(double zoom)
{
    m_zoom = zoom;
    if (zoom != 0)
        TDrawRect::SetDesignRect(m_designRect);
}

void TDrawRect::SetDesignRect(const TRect& rect)
{
    m_designRect = rect;
    m_screenRect = {round32(rect.left * m_zoom), round32(rect.top * m_zoom), round32(rect.right * m_zoom),
                    round32(rect.bottom * m_zoom)};
}

void TDrawRect::SetScreenRect(const TRect& rect)
{
    m_screenRect = rect;
    if (m_zoom == 0)
        return;
    m_designRect = {round32(rect.left / m_zoom), round32(rect.top / m_zoom), round32(rect.right / m_zoom),
                    round32(rect.bottom / m_zoom)};
}

void TDrawRect::MoveWithScreenRect(const TRect& rect)
{
    if (m_zoom == 0)
        return;
    const qint64 dx = RoundHalfAway((qint64(rect.left) - m_screenRect.left) / m_zoom);
    const qint64 dy = RoundHalfAway((qint64(rect.top) - m_screenRect.top) / m_zoom);
    const TRect& d = m_designRect;
    TDrawRect::SetDesignRect(SizedRect(saturated(d.left + dx), saturated(d.top + dy), d.Width(), d.Height()));
}

void TDrawRect::SetClipSide(quint8 side)
{
    if (side != m_clipSide)
        m_clipSide = side;
}

void TDrawRect::SetClipPos(qint32 pos)
{
    if (pos != m_clipPos)
        m_clipPos = pos;
}

void TDrawRect::CalcPrintRect(QPoint offset, bool keepPhysicalOffset)
{
    const QPoint dpi = CurrentPrinterDpi();
    const double dx = dpi.x();
    const double dy = dpi.y();
    const qint32 px = round32(offset.x() / 254.0 * dx);
    const qint32 py = round32(offset.y() / 254.0 * dy);
    const TRect& d = m_designRect;
    const qint32 left = round32(d.left * dx / 96) + px;
    const qint32 top = round32(d.top * dy / 96) + py;
    m_printerRect = {left, top, left + round32(d.Width() * dx / 96), top + round32(d.Height() * dy / 96)};
    if (!keepPhysicalOffset) {
        const QPoint physical = CurrentPrinterOffset();
        m_printerRect = m_printerRect.Moved(-physical.x(), -physical.y());
    }
}

void TDrawRect::LoadFromStream(TFrameReader& stream)
{
    // Read into a copy so that a damaged record leaves this frame untouched.
    std::unique_ptr<TDrawRect> loaded = Clone();
    loaded->ReadFields(stream);
    CopyAllFrom(*loaded);
}

void TDrawRect::ReadFields(TFrameReader& stream)
{
    TRect rect;
    rect.left = stream.ReadInt32();
    rect.top = stream.ReadInt32();
    rect.right = stream.ReadInt32();
    rect.bottom = stream.ReadInt32();
    m_visible = LoadedFileVersion > 200 ? stream.ReadByte() : 1;
    SetDesignRect(rect);
}

void TDrawRect::SaveToStream(TFrameWriter& stream) const
{
    stream.WriteInt32(m_designRect.left);
    stream.WriteInt32(m_designRect.top);
    stream.WriteInt32(m_designRect.right);
    stream.WriteInt32(m_designRect.bottom);
    stream.WriteByte(m_visible);
}

bool TDrawRect::ContainsPoint(int x, int y) const
{
    return m_screenRect.Contains(x, y);
}

quint16 HandleZoneOf(const TRect& r, int x, int y)
{
    const int c = r.left + (r.right - r.left) / 2;
    const int m = r.top + (r.bottom - r.top) / 2;
    quint8 h = ZoneNone;
    if (x >= r.left - 3 && x <= r.left + 3)
        h = ZoneLeft;
    else if (x >= c - 3 && x <= c + 3)
        h = ZoneCentre;
    else if (x >= r.right - 4 && x <= r.right + 2)
        h = ZoneRight;
    quint8 v = ZoneNone;
    if (y >= r.top - 3 && y <= r.top + 3)
        v = ZoneTop;
    else if (y >= m - 3 && y <= m + 3)
        v = ZoneCentre;
    else if (y >= r.bottom - 4 && y <= r.bottom + 2)
        v = ZoneBottom;
    return quint16(h | (v << 8));
}

qint16 CursorOfZone(quint16 zone, bool inside)
{
    const quint8 h = zone & 0xFF;
    const quint8 v = zone >> 8;
    if (h == ZoneLeft || h == ZoneRight) {
        if (v == ZoneTop)
            return h == ZoneLeft ? CursorSizeNWSE : CursorSizeNESW;
        if (v == ZoneBottom)
            return h == ZoneLeft ? CursorSizeNESW : CursorSizeNWSE;
        if (v == ZoneCentre)
            return CursorSizeWE;
    } else if (h == ZoneCentre && (v == ZoneTop || v == ZoneBottom)) {
        return CursorSizeNS;
    }
    return inside ? CursorSizeAll : CursorDefault;
}

quint16 TDrawRect::GetHandleZone(int x, int y) const
{
    return HandleZoneOf(m_screenRect, x, y);
}

qint16 TDrawRect::GetCursorAt(int x, int y) const
{
    return CursorOfZone(GetHandleZone(x, y), ContainsPoint(x, y));
}

QString NormalizeNameSpacing(const QString& text)
{
    if (text.isEmpty())
        return text;
    QString t = text;
    const qsizetype wide = t.indexOf(QChar(0x3000));
    if (wide >= 0)
        t[wide] = u' ';
    const qsizetype space = t.indexOf(u' ');
    const qsizetype p = qMax<qsizetype>(0, space);
    qsizetype rest = space < 0 ? 0 : space + 1;
    while (rest < t.size() && (t[rest] == u' ' || t[rest] == QChar(0x3000)))
        ++rest;
    return t.left(p) + u' ' + t.mid(rest);
}

QString FitTextToWidth(const TCanvas& canvas, QString& text, int width)
{
    if (text.isEmpty())
        return {};
    const int fit = canvas.CharactersThatFit(text, width);
    QString rest = text.mid(fit);
    text.truncate(fit);
    return rest;
}

int GetTextWidthW(const TCanvas& canvas, const QString& text)
{
    return canvas.TextWidth(text);
}

TRect SizedRect(qint32 left, qint32 top, qint32 width, qint32 height)
{
    return {left, top, saturated(qint64(left) + width), saturated(qint64(top) + height)};
}

TRect CentredRect(const TRect& around, qint32 width, qint32 height)
{
    return SizedRect(saturated(around.left + (qint64(around.Width()) - width) / 2),
                     saturated(around.top + (qint64(around.Height()) - height) / 2), width, height);
}
