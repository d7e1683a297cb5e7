// Free text layout (fit and wrap rounds, fixed sizes, alignment grid) and the decorative frame's drawing,
// geometry and record.
#include "layoutobjects/WordRect.h"

#include "core/AppSub.h"
#include "layoutobjects/NameRect.h"

#include <QPainter>

#include <cmath>

namespace {

const QString One = QStringLiteral("一");

int rnd(double value)
{
    return int(RoundHalfAway(value));
}

TRect shrunk(const TRect& r, int by)
{
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

// A GDI figure drawn with an inside-frame pen of width pen: the pen lies within rect; corner is the diameter
// of the corner ellipse (0 square).
void drawFigure(QPainter& painter, const TRect& rect, int pen, int corner)
{
    const double half = pen / 2.0;
    const QRectF path(rect.left + half, rect.top + half, rect.Width() - pen, rect.Height() - pen);
    if (corner > 0) {
        const double radius = qMax(0.0, corner / 2.0 - half);
        painter.drawRoundedRect(path, radius, radius);
    } else {
        painter.drawRect(path);
    }
}

// Gap between lines by line spacing: none, none, a quarter, a third, a half, a whole line.
int lineGap(int textHeight, quint8 spacing)
{
    static const double factors[] = {0, 0, 0.25, 1.0 / 3, 0.5, 1.0};
    return int(textHeight * factors[spacing <= 5 ? spacing : 0]);
}

constexpr int MaxWrapRounds = 4096;

} // namespace

// ---- decorative frame ----

TRectFrame::TRectFrame(const TRectFrame& other)
    : m_frameOn(other.m_frameOn), m_doubleLine(other.m_doubleLine), m_roundCorner(other.m_roundCorner),
      m_widthIndex(other.m_widthIndex), m_lineColor(other.m_lineColor), m_fillOn(other.m_fillOn),
      m_fillColor(other.m_fillColor)
{
}

TRectFrame& TRectFrame::operator=(const TRectFrame& other)
{
    m_frameOn = other.m_frameOn;
    m_doubleLine = other.m_doubleLine;
    m_roundCorner = other.m_roundCorner;
    m_widthIndex = other.m_widthIndex;
    m_lineColor = other.m_lineColor;
    m_fillOn = other.m_fillOn;
    m_fillColor = other.m_fillColor;
    return *this;
}

void TRectFrame::SetCallbacks(TCallback frameChanged, TCallback fillChanged)
{
    m_frameChanged = std::move(frameChanged);
    m_fillChanged = std::move(fillChanged);
}

void TRectFrame::frameChanged() const
{
    if (m_frameChanged)
        m_frameChanged();
}

void TRectFrame::fillChanged() const
{
    if (m_fillChanged)
        m_fillChanged();
}

void TRectFrame::SetFrameVisible(bool on)
{
    if (on != m_frameOn) {
        m_frameOn = on;
        frameChanged();
    }
}

void TRectFrame::SetDoubleLine(bool on)
{
    if (on != m_doubleLine) {
        m_doubleLine = on;
        frameChanged();
    }
}

void TRectFrame::SetRoundCorner(bool on)
{
    if (on != m_roundCorner) {
        m_roundCorner = on;
        frameChanged();
    }
}

void TRectFrame::SetWidthIndex(quint8 index)
{
    if (index != m_widthIndex) {
        m_widthIndex = index;
        frameChanged();
    }
}

void TRectFrame::SetLineColor(quint32 color)
{
    if (color != m_lineColor) {
        m_lineColor = color;
        frameChanged();
    }
}

void TRectFrame::SetFillVisible(bool on)
{
    if (on != m_fillOn) {
        m_fillOn = on;
        fillChanged();
    }
}

void TRectFrame::SetFillColor(quint32 color)
{
    if (color != m_fillColor) {
        m_fillColor = color;
        fillChanged();
    }
}

void TRectFrame::Assign(const TRectFrame& source)
{
    const bool frameDiffers = m_frameOn != source.m_frameOn || m_doubleLine != source.m_doubleLine ||
                              m_roundCorner != source.m_roundCorner || m_widthIndex != source.m_widthIndex ||
                              m_lineColor != source.m_lineColor;
    const bool fillDiffers = m_fillOn != source.m_fillOn || m_fillColor != source.m_fillColor;
    *this = source;
    if (frameDiffers)
        frameChanged();
    if (fillDiffers)
        fillChanged();
}

void TRectFrame::Reset()
{
    *this = TRectFrame();
}

int TRectFrame::lineWidth() const
{
    // A damaged record may hold any index: take the nearest width.
    return FontHeightTable.frameLineWidths[qMin<size_t>(m_widthIndex, 2)];
}

TRect TRectFrame::Draw(QPainter& painter, const TRect& rect, double scale) const
{
    if (!m_frameOn) {
        if (m_fillOn)
            painter.fillRect(rect.ToQRect(), ColorRefToQColor(m_fillColor));
        return rect;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(m_fillOn ? QBrush(ColorRefToQColor(m_fillColor)) : QBrush(Qt::NoBrush));
    int a = qMax(1, rnd(lineWidth() * scale));
    QPen pen(ColorRefToQColor(m_lineColor));
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setWidth(a);
    painter.setPen(pen);
    TRect r = rect;
    int corner = m_roundCorner ? rnd(qMin(r.Width(), r.Height()) / 5.0) : 0;
    drawFigure(painter, r, a, corner);
    if (m_doubleLine) {
        const int b = qMax(1, a / 2);
        pen.setWidth(b);
        painter.setPen(pen);
        r = shrunk(r, m_widthIndex != 0 ? a + b : 2 * a);
        if (!r.IsEmpty()) {
            if (m_roundCorner)
                corner = rnd(qMin(r.Width(), r.Height()) / (m_widthIndex != 0 ? 6.0 : 5.0));
            drawFigure(painter, r, b, corner);
        }
        a = b;
    }
    painter.restore();
    const int k = m_roundCorner ? rnd(std::abs(corner / 2.0 - a) / 2) : 0;
    return shrunk(r, a + k);
}

TRect TRectFrame::GetInnerRect(const TRect& rect, double scale) const
{
    const int a = rnd(lineWidth() * scale);
    int uw = rect.Width();
    int uh = rect.Height();
    int d = a;
    int q = 10;
    if (m_doubleLine) {
        if (m_widthIndex != 0) {
            uw -= 3 * (a / 2);
            uh -= 3 * (a / 2);
            d = 2 * a;
            q = 12;
        } else {
            uw -= 2 * a;
            uh -= 2 * a;
            d = 5 * (a / 2);
        }
    }
    const int k = m_roundCorner ? qMax(0, rnd((double(qMin(uw, uh)) / q - a) / 2)) : 0;
    return shrunk(rect, d + k);
}

TRect TRectFrame::GetOuterRect(const TRect& rect) const
{
    const int width = lineWidth();
    int a = width;
    int q = 16;
    if (m_doubleLine) {
        a = m_widthIndex != 0 ? 2 * width : 5 * (width / 2);
        q = m_widthIndex != 0 ? 20 : 16;
    }
    const int k =
        m_roundCorner ? rnd(double(qMin(rect.Width(), rect.Height()) + width) / q - width / 2.0) : 0;
    return shrunk(rect, -(a + k));
}

void TRectFrame::LoadFromStream(TFrameReader& stream)
{
    const QByteArray b = stream.ReadBytes(RectFrameRecordSize);
    TFrameReader record(b);
    m_frameOn = record.ReadByte() != 0;
    m_fillOn = record.ReadByte() != 0;
    m_doubleLine = record.ReadByte() != 0;
    m_roundCorner = record.ReadByte() != 0;
    m_widthIndex = record.ReadByte();
    m_lineColor = record.ReadUInt32();
    m_fillColor = record.ReadUInt32();
}

void TRectFrame::SaveToStream(TFrameWriter& stream) const
{
    stream.WriteByte(m_frameOn ? 1 : 0);
    stream.WriteByte(m_fillOn ? 1 : 0);
    stream.WriteByte(m_doubleLine ? 1 : 0);
    stream.WriteByte(m_roundCorner ? 1 : 0);
    stream.WriteByte(m_widthIndex);
    stream.WriteUInt32(m_lineColor);
    stream.WriteUInt32(m_fillColor);
}

// ---- free text ----

double AspectWidthFactor(int aspect, bool horizontal)
{
    if (aspect <= 0)
        return 1.0;
    return horizontal ? aspect / 100.0 : 100.0 / aspect;
}

TWordRect::TWordRect()
{
    installCallbacks();
}

TWordRect::TWordRect(const TWordRect& other)
    : TFrameClass(other), m_lines(other.m_lines), m_alignment(other.m_alignment), m_wrap(other.m_wrap),
      m_frame(other.m_frame), m_spacing(other.m_spacing), m_aspect(other.m_aspect)
{
    installCallbacks();
}

void TWordRect::installCallbacks()
{
    m_frame.SetCallbacks([this] { MarkStale(); }, [this] { MarkStale(); });
}

void TWordRect::SetLineCount(int count)
{
    count = qMax(0, count);
    if (count == m_lines.size())
        return;
    m_lines.resize(count);
    MarkStale();
}

void TWordRect::SetLine(int index, const QString& text)
{
    if (index < 0 || index >= m_lines.size())
        return;
    m_lines[index] = text;
    MarkStale();
}

void TWordRect::SetAlignment(int alignment)
{
    if (alignment != m_alignment) {
        m_alignment = alignment;
        MarkStale();
    }
}

void TWordRect::SetAutoWrap(bool wrap)
{
    if (wrap != m_wrap) {
        m_wrap = wrap;
        MarkStale();
    }
}

void TWordRect::SetAspectRatio(int aspect)
{
    if (aspect != m_aspect) {
        m_aspect = aspect;
        MarkStale();
    }
}

void TWordRect::SetLineSpacing(quint8 spacing)
{
    if (spacing != m_spacing) {
        m_spacing = spacing;
        MarkStale();
    }
}

void TWordRect::Clear()
{
    TMetaRect::Clear();
    m_lines.clear();
}

void TWordRect::Assign(const TDrawRect& source)
{
    TMetaRect::Assign(source);
    if (const auto* word = dynamic_cast<const TWordRect*>(&source)) {
        m_lines = word->m_lines;
        SetFixedFontSize(word->FixedSizeIndex());
        m_aspect = word->m_aspect;
        m_alignment = word->m_alignment;
        m_spacing = word->m_spacing;
        m_wrap = word->m_wrap;
        m_frame.Assign(word->m_frame);
    }
}

void TWordRect::ReadFields(TFrameReader& stream)
{
    TMetaRect::ReadFields(stream);
    const qint32 count = stream.ReadInt32();
    // Every line takes at least its 4-byte length.
    if (count < 0 || count > stream.Remaining() / 4)
        throw EFrameStreamError("free text line count exceeds the record");
    m_lines.clear();
    for (qint32 i = 0; i < count; ++i)
        m_lines << (LoadedFileVersion <= 500 ? ToWide(ReadInvertedString(stream))
                                             : ReadInvertedWideString(stream));
    if (LoadedFileVersion >= 200 && LoadedFileVersion < 600) {
        const qint32 fixed = stream.ReadInt32();
        SetFixedFontSize(fixed >= 0 && fixed <= MaxFixedSizeIndex ? fixed : 0);
    } else if (LoadedFileVersion < 200) {
        SetFixedFontSize(0);
    }
    m_aspect = LoadedFileVersion >= 400 ? stream.ReadInt32() : 100;
    m_alignment = stream.ReadInt32();
    m_wrap = stream.ReadByte() != 0;
    m_spacing = LoadedFileVersion >= 200 ? stream.ReadByte() : 3;
    m_frame.LoadFromStream(stream);
}

void TWordRect::SaveToStream(TFrameWriter& stream) const
{
    TMetaRect::SaveToStream(stream);
    stream.WriteInt32(qint32(m_lines.size()));
    for (const QString& line : m_lines)
        WriteInvertedWideString(line, stream);
    stream.WriteInt32(m_aspect);
    stream.WriteInt32(m_alignment);
    stream.WriteByte(m_wrap ? 1 : 0);
    stream.WriteByte(m_spacing);
    m_frame.SaveToStream(stream);
}

QStringList TWordRect::layoutLines(TCanvas& canvas, int s, int l) const
{
    const bool horizontal = Horizontal();
    const int n = int(m_lines.size());
    // A damaged aspect ratio draws at the natural width.
    const int aspect = m_aspect > 0 ? m_aspect : 100;
    auto applyAspect = [&] {
        if (aspect != 100)
            SetCanvasWidthFactor(canvas, AspectWidthFactor(aspect, horizontal));
    };
    // The head of text that fits s; at least one character, so that cutting always moves on.
    auto cut = [&](QString& text) {
        QString rest = FitTextToWidth(canvas, text, s);
        if (text.isEmpty() && !rest.isEmpty()) {
            const qsizetype one = rest[0].isHighSurrogate() && rest.size() > 1 ? 2 : 1;
            text = rest.left(one);
            rest = rest.mid(one);
        }
        return rest;
    };
    QStringList out;

    if (FixedSizeIndex() > 0) {
        canvas.SetFontHeight(RenderHeight(canvas));
        const int TH = canvas.TextHeight();
        const int gap = lineGap(TH, m_spacing);
        int m = TH < l ? 1 : 0;
        while (m > 0 && qint64(TH) * (m + 1) + qint64(gap) * m < l)
            ++m;
        if (m == 0)
            return {};
        applyAspect();
        for (const QString& line : m_lines) {
            if (out.size() >= m)
                break;
            QString text = line;
            if (!m_wrap) {
                FitTextToWidth(canvas, text, s);
                out << text;
                continue;
            }
            if (text.isEmpty()) {
                out << text;
                continue;
            }
            while (!text.isEmpty() && out.size() < m) {
                QString head = text;
                text = FitTextToWidth(canvas, head, s);
                if (head.isEmpty())
                    break; // not even one character fits: the rest is dropped
                out << head;
            }
        }
        return out.mid(0, m);
    }

    auto fitLines = [&](int k) {
        const int TH = canvas.TextHeight();
        return FitFontHeight(canvas, l, TH * k + lineGap(TH, m_spacing) * (k - 1), true);
    };
    if (!fitLines(n))
        return {};

    if (!m_wrap) {
        int d = 0;
        for (const QString& line : m_lines)
            d = qMax(d, GetTextWidthW(canvas, line));
        if (d > 0) {
            const double needed = horizontal ? std::ceil(d * aspect / 100.0) : std::ceil(100.0 / aspect * d);
            if (!FitFontHeight(canvas, s, needed, false))
                return {};
        }
        applyAspect();
        return m_lines;
    }

    std::vector<int> breaks(size_t(n), 0);
    for (int round = 0; round < MaxWrapRounds; ++round) {
        applyAspect();
        out.clear();
        int worst = -1;
        int d = 0;
        bool worstCanBreak = false;
        for (int i = 0; i < n; ++i) {
            out << m_lines[i];
            for (int b = 0; b < breaks[size_t(i)] && !out.back().isEmpty(); ++b) {
                QString head = out.back();
                const QString rest = cut(head);
                if (rest.isEmpty())
                    break;
                out.back() = head;
                out << rest;
            }
            const int excess = GetTextWidthW(canvas, out.back()) - s;
            if (excess > d) {
                d = excess;
                worst = i;
                worstCanBreak = SplitCharacters(out.back()).size() > 1;
            }
        }
        if (d <= 0)
            return out;
        const int k = int(out.size());
        const int TH = canvas.TextHeight();
        const int more = TH * (k + 1) + k * lineGap(TH, m_spacing);
        const double shrinkRatio = double(s) / (s + d);
        const double moreRatio = double(l) / more;
        if (shrinkRatio >= moreRatio || !worstCanBreak) {
            if (!FitFontHeight(canvas, s, s + d, false))
                return {};
        } else {
            if (!FitFontHeight(canvas, l, more, false))
                return {};
            ++breaks[size_t(worst)];
        }
    }
    return {};
}

void TWordRect::RenderContent(TCanvas& canvas, int w, int h)
{
    const TRect inner = m_frame.Draw(*canvas.Painter(), {0, 0, w, h}, canvas.DpiY() / 96.0);
    const int mx = qMax(rnd(4 * canvas.DpiX() / 96.0), inner.left);
    const int my = qMax(rnd(4 * canvas.DpiY() / 96.0), inner.top);
    if (m_lines.isEmpty())
        return;
    const bool vertical = !Horizontal();
    const int s = vertical ? h - 2 * my : w - 2 * mx;
    const int l = vertical ? w - 2 * mx : h - 2 * my;
    if (s <= 0 || l <= 0)
        return;
    canvas.SetFontKeepHeight(FontForm(vertical));
    canvas.SetFontHeight(-4096);
    const QStringList lines = layoutLines(canvas, s, l);
    const int k = int(lines.size());
    if (k == 0)
        return;

    const int TH = canvas.TextHeight();
    int c = 0;
    if (m_spacing != 0)
        c = lineGap(TH, m_spacing);
    else if (k > 1)
        c = (l - TH * k) / (k - 1);
    const int alignment = m_alignment >= 0 && m_alignment <= 8 ? m_alignment : 0;
    const int hIndex = alignment % 3;
    const int vIndex = alignment / 3;
    const int block = TH * k + (k - 1) * c;

    for (int i = 0; i < k; ++i) {
        const QString& text = lines[i];
        const int width = canvas.TextWidth(text);
        int x;
        int y;
        if (!vertical) {
            x = hIndex == 0 ? mx + s - width : hIndex == 1 ? mx + s / 2 - width / 2 : mx;
            if (vIndex == 0)
                y = my + i * (TH + c);
            else if (vIndex == 1)
                y = l / 2 + my - block / 2 + i * (TH + c);
            else
                y = my + l - TH - (k - 1 - i) * (TH + c);
        } else {
            if (hIndex == 0)
                x = mx + l - i * (TH + c);
            else if (hIndex == 1)
                x = block / 2 + l / 2 + mx - i * (TH + c);
            else
                x = mx + TH + (k - 1 - i) * (TH + c);
            y = vIndex == 0 ? my : vIndex == 1 ? s / 2 + my - width / 2 : my + s - width;
        }
        PlaceText(canvas, x, y, text);
    }
}
