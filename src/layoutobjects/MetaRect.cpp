// Text frame rendering into display lists, font heights and the text frame record.
#include "layoutobjects/MetaRect.h"

#include "core/AppSub.h"
#include "platform/Printers.h"

#include <QPainter>

#include <cmath>

const TFontHeightTable FontHeightTable = {
    -24,
    -19,
    {-18, -23, -28, -34, -40},
    {-15, -18, -21, -25, -30},
    {-20, -30, -40, -47, -55},
    {-18, -23, -29, -35, -40},
    {-14, -17, -21, -25, -28},
    {2, 6, 10},
    {70, 70, 76, 68, 68, 68, 57},
    {70, 70, 76, 68, 68, 68, 57},
    {57, 57},
};

int FixedPointSize(int index)
{
    if (index >= 1 && index <= 24)
        return index + 6;
    switch (index) {
    case 25:
        return 36;
    case 26:
        return 48;
    case 27:
        return 72;
    default:
        return 0;
    }
}

int LevelHeight(const std::array<int, 5>& row, int level)
{
    return row[size_t(qBound(1, level, 5) - 1)];
}

QString ShiftJisForm(const QString& text)
{
    return ToWide(ToAnsi(text));
}

TMetaRect::TMetaRect() : m_metafile(std::make_shared<TDisplayList>())
{
    m_font.size = 12;
}

void TMetaRect::SetFont(const TFontSpec& font, quint32 color)
{
    m_font = font;
    m_color = color;
    MarkStale();
}

void TMetaRect::SetHorizontal(bool horizontal)
{
    if (horizontal != m_horizontal) {
        m_horizontal = horizontal;
        MarkStale();
    }
}

void TMetaRect::SetPageSize(int paperLongSide)
{
    m_scaledHeight = qint32(qint64(m_baseHeight) * paperLongSide / PostcardLongSide);
    MarkStale();
}

void TMetaRect::Clear()
{
    m_metafile = std::make_shared<TDisplayList>();
    MarkStale();
}

void TMetaRect::UpdateFontHeight()
{
    m_scaledHeight = qint32(qint64(m_baseHeight) * PaperLongSide / PostcardLongSide);
    MarkStale();
}

void TMetaRect::Assign(const TDrawRect& source)
{
    TDrawRect::Assign(source);
    if (const auto* meta = dynamic_cast<const TMetaRect*>(&source)) {
        m_font = meta->m_font;
        m_color = meta->m_color;
        m_baseHeight = meta->m_baseHeight;
        m_scaledHeight = meta->m_scaledHeight;
        m_horizontal = meta->m_horizontal;
        m_upsideDown = meta->m_upsideDown;
    }
    MarkStale();
}

void TMetaRect::SetDesignRect(const TRect& rect)
{
    TDrawRect::SetDesignRect(rect);
    MarkStale();
}

void TMetaRect::SetScreenRect(const TRect& rect)
{
    const TRect before = GetDesignRect();
    TDrawRect::SetScreenRect(rect);
    const TRect after = GetDesignRect();
    // A move keeps the rendering.
    if (after.Width() != before.Width() || after.Height() != before.Height())
        MarkStale();
}

void TMetaRect::SetClipSide(quint8 side)
{
    TDrawRect::SetClipSide(side);
    MarkStale();
}

void TMetaRect::SetClipPos(qint32 pos)
{
    TDrawRect::SetClipPos(pos);
    if (ClipSide() != ClipNone)
        MarkStale();
}

void TMetaRect::SetFixedFontSize(int index)
{
    if (index != m_fixedSizeIndex) {
        m_fixedSizeIndex = index;
        MarkStale();
    }
}

void TMetaRect::SetUpsideDown(bool upsideDown)
{
    if (upsideDown != m_upsideDown) {
        m_upsideDown = upsideDown;
        MarkStale();
    }
}

void TMetaRect::UpdateImage(bool force)
{
    if (force || !m_valid)
        RenderMetafile();
}

void TMetaRect::RenderMetafile()
{
    m_metafile = std::make_shared<TDisplayList>();
    const TRect design = GetDesignRect();
    if (design.IsEmpty())
        return;
    const QPoint dpi = CurrentPrinterDpi();
    const int w = int(RoundHalfAway(design.Width() * double(dpi.x()) / 96));
    const int h = int(RoundHalfAway(design.Height() * double(dpi.y()) / 96));
    const int side = qMax(w, h);
    auto list = std::make_shared<TDisplayList>(QSize(side, side), dpi.x(), dpi.y());
    {
        QPainter painter(list.get());
        if (ClipSide() != ClipNone) {
            const int cx = int(RoundHalfAway((ClipPos() - design.left) * double(dpi.x()) / 96));
            const int cy = int(RoundHalfAway((ClipPos() - design.top) * double(dpi.y()) / 96));
            TRect clip;
            switch (ClipSide()) {
            case ClipLeftOf:
                clip = {0, 0, cx, side};
                break;
            case ClipAbove:
                clip = {0, 0, side, cy};
                break;
            case ClipRightOf:
                clip = {cx, 0, side, side};
                break;
            default:
                clip = {0, cy, side, side};
                break;
            }
            painter.setClipRect(clip.IsEmpty() ? QRect() : clip.ToQRect());
        }
        TCanvas canvas(&painter, dpi.x(), dpi.y());
        canvas.SetColor(ColorRefToQColor(m_color));
        m_renderArea = QSize(w, h);
        RenderContent(canvas, w, h);
    }
    m_metafile = std::move(list);
    m_valid = true;
}

bool TMetaRect::FitFontHeight(TCanvas& canvas, double available, double needed, bool mayGrow)
{
    if (needed <= 0)
        return true;
    const double r = available / needed;
    if (r < 0)
        return true;
    if (r >= 1 && !mayGrow)
        return true;
    const double scaled = std::trunc(canvas.FontHeight() * r);
    if (scaled >= 0)
        return false;
    canvas.SetFontHeight(int(qMax(scaled, double(INT_MIN / 2))));
    return true;
}

void TMetaRect::Draw(QPainter& painter, int dx, int dy)
{
    const QFont font = painter.font();
    UpdateImage(false);
    const TRect screen = GetScreenRect();
    const int side = qMax(screen.Width(), screen.Height());
    if (side > 0)
        m_metafile->ReplayInto(painter, QRectF(screen.left + dx, screen.top + dy, side, side));
    painter.setFont(font);
}

void TMetaRect::Print(QPainter& painter, int dx, int dy)
{
    UpdateImage(false);
    const TRect printer = GetPrinterRect();
    painter.save();
    painter.translate(printer.left + dx, printer.top + dy);
    m_metafile->Replay(painter);
    painter.restore();
}

TFontSpec TMetaRect::FontForm(bool vertical) const
{
    TFontSpec form = m_font;
    if (vertical)
        MakeVerticalFont(form);
    else
        MakeHorizontalFont(form);
    if (m_upsideDown)
        RotateFont180(form);
    return form;
}

int TMetaRect::RenderHeight(const TCanvas& canvas) const
{
    if (m_fixedSizeIndex > 0)
        return -int(RoundHalfAway(FixedPointSize(m_fixedSizeIndex) * double(canvas.DpiY()) / 72));
    return int(std::trunc(double(canvas.DpiY()) * m_scaledHeight / 96));
}

void TMetaRect::PrepareFont(TCanvas& canvas, bool vertical) const
{
    canvas.SetFontKeepHeight(FontForm(vertical));
    canvas.SetFontHeight(RenderHeight(canvas));
}

void TMetaRect::PlaceText(TCanvas& canvas, int x, int y, const QString& text) const
{
    if (m_upsideDown)
        canvas.TextOut(m_renderArea.width() - x, m_renderArea.height() - y, text);
    else
        canvas.TextOut(x, y, text);
}

void TMetaRect::PlaceTextWithAdvances(TCanvas& canvas, int x, int y, const QString& text,
                                      const QList<int>& advances) const
{
    if (m_upsideDown)
        canvas.ExtTextOut(m_renderArea.width() - x, m_renderArea.height() - y, text, advances);
    else
        canvas.ExtTextOut(x, y, text, advances);
}

void TMetaRect::ReadFields(TFrameReader& stream)
{
    TDrawRect::ReadFields(stream);
    const qint32 charset = stream.ReadInt32();
    const AnsiString name = ReadInvertedString(stream);
    const qint32 size = stream.ReadInt32();
    const qint32 style = stream.ReadInt32();
    m_color = stream.ReadUInt32();
    SetFontAttributes(&m_font, charset & 0xFF, ToWide(name), size, style);
    const int fixed = LoadedFileVersion >= 600 ? stream.ReadInt32() : 0;
    // An index outside the table means the record was damaged: fit the frame instead.
    m_fixedSizeIndex = fixed >= 0 && fixed <= MaxFixedSizeIndex ? fixed : 0;
    m_horizontal = stream.ReadByte() != 0;
    m_upsideDown = LoadedFileVersion >= 200 ? stream.ReadByte() != 0 : false;
    m_valid = false;
}

void TMetaRect::SaveToStream(TFrameWriter& stream) const
{
    TDrawRect::SaveToStream(stream);
    stream.WriteInt32(m_font.charset);
    WriteInvertedString(ToAnsi(m_font.name), stream);
    stream.WriteInt32(m_font.size);
    stream.WriteInt32(GetFontStyleBits(m_font));
    stream.WriteUInt32(m_color);
    stream.WriteInt32(m_fixedSizeIndex);
    stream.WriteByte(m_horizontal ? 1 : 0);
    stream.WriteByte(m_upsideDown ? 1 : 0);
}
