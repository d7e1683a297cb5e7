// Figure frame: rendering the figure, the gradient fill clipped to the shape, setters and the stream record.
#include "layoutobjects/FigureRect.h"

#include "core/AppSub.h"
#include "layoutobjects/ImageUtils.h"
#include "layoutobjects/PathUtils.h"
#include "platform/Printers.h"

#include <QPainter>

namespace {

constexpr double CornerRatios[3] = {0.2, 1.0 / 3, 0.5};
// Gradient bitmaps above this many pixels are not made (a damaged or absurd rectangle).
constexpr qint64 MaxGradientPixels = qint64(1) << 26;

qint32 round32(double value)
{
    return qint32(std::clamp<double>(RoundHalfAway(value), INT32_MIN, INT32_MAX));
}

QImage gradientBitmap(int w, int h, int angle, quint32 color1, quint32 color2)
{
    if (w <= 0 || h <= 0 || qint64(w) * h > MaxGradientPixels)
        return {};
    QImage bitmap(w, h, QImage::Format_RGB888);
    if (!bitmap.isNull())
        GradientFillBitmap(bitmap, angle, color1, color2);
    return bitmap;
}

QPainterPath diamond(const TRect& r)
{
    const int w = r.Width(), h = r.Height();
    QPainterPath path;
    path.addPolygon(QPolygon({QPoint(r.left + w / 2, r.top), QPoint(r.right, r.top + h / 2),
                              QPoint(r.left + w / 2, r.bottom), QPoint(r.left, r.top + h / 2)}));
    path.closeSubpath();
    return path;
}

} // namespace

TFigureRect::TFigureRect() : m_picture(std::make_shared<TDisplayList>()) {}

template <class T> bool TFigureRect::change(T& field, T value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

void TFigureRect::markStale(bool picture, bool gradient, bool region)
{
    if (picture)
        m_pictureCurrent = false;
    if (gradient)
        m_gradientCurrent = false;
    if (region)
        m_regionCurrent = false;
}

void TFigureRect::Assign(const TDrawRect& source)
{
    TDrawRect::Assign(source);
    const auto* other = dynamic_cast<const TFigureRect*>(&source);
    if (!other)
        return;
    m_fill = other->m_fill;
    m_gradient = other->m_gradient;
    m_outline = other->m_outline;
    m_lineWidth = other->m_lineWidth;
    m_angle = other->m_angle;
    m_lineColor = other->m_lineColor;
    m_fillColor2 = other->m_fillColor2;
    m_fillColor = other->m_fillColor;
    m_kind = other->m_kind;
    m_directions = other->m_directions;
    m_lineType = other->m_lineType;
    m_corners[0] = other->m_corners[0];
    m_corners[1] = other->m_corners[1];
    m_sector = other->m_sector;
    markStale(true, true, true);
}

void TFigureRect::SetZoom(double zoom)
{
    TDrawRect::SetZoom(zoom);
    markStale(false, GradientFill(), GradientFill());
}

void TFigureRect::SetDesignRect(const TRect& rect)
{
    TDrawRect::SetDesignRect(rect);
    markStale(true, GradientFill(), GradientFill());
}

void TFigureRect::SetScreenRect(const TRect& rect)
{
    TDrawRect::SetScreenRect(rect);
    markStale(true, GradientFill(), GradientFill());
}

void TFigureRect::SetClipSide(quint8 side)
{
    if (side != ClipSide())
        markStale(true, false, false);
    TDrawRect::SetClipSide(side);
}

void TFigureRect::SetClipPos(qint32 pos)
{
    if (pos != ClipPos())
        markStale(true, false, false);
    TDrawRect::SetClipPos(pos);
}

void TFigureRect::SetFigureKind(quint8 kind)
{
    if (kind > FigureDiamond || !change(m_kind, kind))
        return;
    if (kind == FigureLines)
        m_outline = true;
    markStale(true, false, true);
}

void TFigureRect::SetLineDirections(quint8 directions)
{
    if (change(m_directions, directions))
        markStale(true, false, false);
}

void TFigureRect::SetCornerSize(int index, quint8 size)
{
    if (index < 0 || index > 1 || size > 2 || !change(m_corners[size_t(index)], size))
        return;
    markStale(true, false, GradientFill());
}

void TFigureRect::SetSectorDirection(quint8 direction)
{
    if (direction > 3 || !change(m_sector, direction))
        return;
    markStale(true, false, GradientFill());
}

void TFigureRect::SetFrameVisible(bool visible)
{
    if (m_kind == FigureLines)
        return;
    if (change(m_outline, visible))
        markStale(true, false, false);
}

void TFigureRect::SetFillVisible(bool visible)
{
    if (change(m_fill, visible))
        markStale(true, m_gradient, m_gradient);
}

void TFigureRect::SetGradient(bool gradient)
{
    if (change(m_gradient, gradient))
        markStale(true, m_fill, m_fill);
}

void TFigureRect::SetLineType(quint8 type)
{
    if (type < 5 && change(m_lineType, type))
        markStale(true, false, false);
}

void TFigureRect::SetLineWidth(qint32 width)
{
    if (change(m_lineWidth, width))
        markStale(true, false, false);
}

void TFigureRect::SetLineColor(quint32 color)
{
    if (change(m_lineColor, color))
        markStale(true, false, false);
}

void TFigureRect::SetFillColor(quint32 color)
{
    if (change(m_fillColor, color))
        markStale(true, GradientFill(), false);
}

void TFigureRect::SetFillColor2(quint32 color)
{
    if (change(m_fillColor2, color))
        markStale(true, GradientFill(), false);
}

void TFigureRect::SetGradientAngle(qint32 angle)
{
    if (change(m_angle, angle))
        markStale(true, GradientFill(), false);
}

int TFigureRect::CornerSize(int index, int width, int height) const
{
    const quint8 size = qMin<quint8>(m_corners[size_t(index & 1)], 2);
    return round32(qMin(width, height) * CornerRatios[size]);
}

QPainterPath TFigureRect::ShapeRegion(const TRect& r) const
{
    QPainterPath path;
    const int w = r.Width(), h = r.Height();
    switch (m_kind) {
    case FigureRoundRect:
        path.addRoundedRect(r.ToQRect(), CornerSize(0, w, h) / 2.0, CornerSize(1, w, h) / 2.0);
        break;
    case FigureEllipse:
        path.addEllipse(r.ToQRect());
        break;
    case FigureSector: {
        const int sx = (m_sector & 1) ? -w : 0, sy = (m_sector & 2) ? -h : 0;
        path.addEllipse(QRect(r.left + sx, r.top + sy, 2 * w, 2 * h));
        break;
    }
    case FigureDiamond:
        path = diamond(r);
        break;
    default:
        break;
    }
    return path;
}

QPainterPath TFigureRect::outlinePath(int w, int h) const
{
    QPainterPath path;
    switch (m_kind) {
    case FigureLines:
        if (m_directions & LineHorizontal) {
            path.moveTo(0, h / 2);
            path.lineTo(w, h / 2);
        }
        if (m_directions & LineVertical) {
            path.moveTo(w / 2, 0);
            path.lineTo(w / 2, h);
        }
        if (m_directions & LineFalling) {
            path.moveTo(0, 0);
            path.lineTo(w, h);
        }
        if (m_directions & LineRising) {
            path.moveTo(w, 0);
            path.lineTo(0, h);
        }
        break;
    case FigureRectangle:
        RectanglePath(path, 0, 0, w, h);
        break;
    case FigureRoundRect:
        RoundRectPath(path, 0, 0, w, h, CornerSize(0, w, h), CornerSize(1, w, h));
        break;
    case FigureEllipse:
        EllipsePath(path, 0, 0, w, h);
        break;
    case FigureSector:
        switch (m_sector) {
        case 0:
            PiePath(path, 0, 0, 2 * w, 2 * h, w - 1, 0, 0, h - 1);
            break;
        case 1:
            PiePath(path, -w, 0, w, 2 * h, w, h - 1, 0, 0);
            break;
        case 2:
            PiePath(path, 0, -h, 2 * w, h, 0, 0, w - 1, h);
            break;
        default:
            PiePath(path, -w, -h, w, h, 0, h, w, 0);
            break;
        }
        break;
    default:
        path = diamond({0, 0, w, h});
        break;
    }
    return path;
}

void TFigureRect::RenderFigure()
{
    auto picture = std::make_shared<TDisplayList>();
    m_picture = picture;
    m_pictureCurrent = true;
    const TRect d = GetDesignRect();
    if (d.IsEmpty())
        return;
    const QPoint dpi = CurrentPrinterDpi();
    const int w = round32(d.Width() * dpi.x() / 96.0);
    const int h = round32(d.Height() * dpi.y() / 96.0);
    const int side = qMax(w, h);
    picture->Reset(QSize(side, side), dpi.x(), dpi.y());
    QPainter painter(picture.get());
    switch (ClipSide()) {
    case ClipLeftOf:
        painter.setClipRect(
            QRect(-side, -side, side + round32((qint64(ClipPos()) - d.left) * dpi.x() / 96.0), 3 * side));
        break;
    case ClipAbove:
        painter.setClipRect(
            QRect(-side, -side, 3 * side, side + round32((qint64(ClipPos()) - d.top) * dpi.y() / 96.0)));
        break;
    case ClipRightOf: {
        const int x = round32((qint64(ClipPos()) - d.left) * dpi.x() / 96.0);
        painter.setClipRect(QRect(x, -side, 2 * side - x, 3 * side));
        break;
    }
    case ClipBelow: {
        const int y = round32((qint64(ClipPos()) - d.top) * dpi.y() / 96.0);
        painter.setClipRect(QRect(-side, y, 3 * side, 2 * side - y));
        break;
    }
    default:
        break;
    }
    const bool singleFill = m_fill && !m_gradient;
    const QBrush brush = singleFill ? QBrush(ColorRefToQColor(m_fillColor)) : QBrush(Qt::NoBrush);
    const int penWidth = round32(qBound(0, m_lineWidth, 100000) * dpi.y() / 96.0);
    const QColor lineColor = ColorRefToQColor(m_lineColor);
    const QPainterPath shape = outlinePath(w, h);
    if (m_lineType == 0) {
        QPen pen(lineColor, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(m_outline ? pen : QPen(Qt::NoPen));
        if (m_kind == FigureLines) {
            if (singleFill)
                painter.fillRect(QRect(0, 0, w, h), brush);
            painter.setBrush(Qt::NoBrush);
        } else {
            painter.setBrush(brush);
        }
        painter.drawPath(shape);
        return;
    }
    if (singleFill) {
        if (m_kind == FigureLines || m_kind == FigureRectangle)
            painter.fillRect(QRect(0, 0, w, h), brush);
        else
            painter.fillPath(shape, brush);
    }
    if (m_outline) {
        TPath path;
        path.ReadPath(shape);
        path.DrawDashed(painter, lineColor, true, DashPatternOfLineType(m_lineType), penWidth);
    }
}

void TFigureRect::UpdateImage(bool force)
{
    if (force || !m_pictureCurrent)
        RenderFigure();
    const TRect screen = GetScreenRect();
    if (!m_gradientCurrent) {
        m_screenGradient = GradientFill() ? gradientBitmap(screen.Width(), screen.Height(), m_angle,
                                                           m_fillColor, m_fillColor2)
                                          : QImage();
        m_gradientCurrent = true;
    }
    if (!m_regionCurrent) {
        m_screenRegion = GradientFill() ? ShapeRegion(screen) : QPainterPath();
        m_regionCurrent = true;
    }
}

void TFigureRect::Draw(QPainter& painter, int dx, int dy)
{
    UpdateImage(false);
    const TRect screen = GetScreenRect().Moved(dx, dy);
    if (GradientFill() && !m_screenGradient.isNull()) {
        painter.save();
        if (!m_screenRegion.isEmpty())
            painter.setClipPath(m_screenRegion.translated(dx, dy),
                                painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        painter.drawImage(QPoint(screen.left, screen.top), m_screenGradient);
        painter.restore();
    }
    const int side = qMax(screen.Width(), screen.Height());
    if (!m_picture->IsEmpty())
        m_picture->ReplayInto(painter, QRectF(screen.left, screen.top, side, side));
}

void TFigureRect::CalcPrintRect(QPoint offset, bool keepPhysicalOffset)
{
    TDrawRect::CalcPrintRect(offset, keepPhysicalOffset);
    if (!GradientFill())
        return;
    const QPoint dpi = CurrentPrinterDpi();
    const TRect printer = GetPrinterRect();
    const bool reduced = dpi.y() > 200;
    const int w = reduced ? round32(printer.Width() * 0.48) : round32(96.0 / dpi.x() * printer.Width());
    const int h = reduced ? round32(printer.Height() * 0.48) : round32(96.0 / dpi.y() * printer.Height());
    m_printGradient = gradientBitmap(w, h, m_angle, m_fillColor, m_fillColor2);
    m_printRegion = ShapeRegion(printer);
}

void TFigureRect::FreePrintCache()
{
    if (!GradientFill())
        return;
    m_printGradient = QImage();
    m_printRegion = QPainterPath();
}

void TFigureRect::Print(QPainter& painter, int dx, int dy)
{
    UpdateImage(false);
    const TRect printer = GetPrinterRect().Moved(dx, dy);
    if (GradientFill() && !m_printGradient.isNull()) {
        painter.save();
        if (!m_printRegion.isEmpty())
            painter.setClipPath(m_printRegion.translated(dx, dy),
                                painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        StretchDrawDIB(painter, m_printGradient, printer.ToQRect());
        painter.restore();
    }
    if (m_picture->IsEmpty())
        return;
    painter.save();
    painter.translate(printer.left, printer.top);
    m_picture->Replay(painter);
    painter.restore();
}

void TFigureRect::ReadFields(TFrameReader& stream)
{
    TDrawRect::ReadFields(stream);
    const auto flag = [&stream] {
        const quint8 b = stream.ReadByte();
        if (b > 1)
            throw EFrameStreamError("figure flag out of range");
        return b != 0;
    };
    m_outline = flag();
    m_fill = flag();
    m_gradient = flag();
    const quint8 kind = stream.ReadByte();
    if (kind > FigureDiamond)
        throw EFrameStreamError("figure kind out of range");
    m_kind = kind;
    m_directions = stream.ReadByte();
    for (quint8& corner : m_corners)
        corner = stream.ReadByte();
    if (m_corners[0] > 2 || m_corners[1] > 2)
        throw EFrameStreamError("figure corner size out of range");
    if (LoadedFileVersion >= 300) {
        m_sector = stream.ReadByte();
        if (m_sector > 3)
            throw EFrameStreamError("figure sector out of range");
    }
    m_lineType = stream.ReadByte();
    if (m_lineType > 4)
        throw EFrameStreamError("figure line type out of range");
    m_lineWidth = stream.ReadInt32();
    m_lineColor = stream.ReadUInt32();
    m_fillColor = stream.ReadUInt32();
    m_fillColor2 = stream.ReadUInt32();
    m_angle = stream.ReadInt32();
    markStale(true, true, true);
}

void TFigureRect::SaveToStream(TFrameWriter& stream) const
{
    TDrawRect::SaveToStream(stream);
    stream.WriteByte(m_outline);
    stream.WriteByte(m_fill);
    stream.WriteByte(m_gradient);
    stream.WriteByte(m_kind);
    stream.WriteByte(m_directions);
    for (const quint8 corner : m_corners)
        stream.WriteByte(corner);
    stream.WriteByte(m_sector);
    stream.WriteByte(m_lineType);
    stream.WriteInt32(m_lineWidth);
    stream.WriteUInt32(m_lineColor);
    stream.WriteUInt32(m_fillColor);
    stream.WriteUInt32(m_fillColor2);
    stream.WriteInt32(m_angle);
}
