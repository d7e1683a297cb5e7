// Text drawing by cell tops, whole-pixel advances and transforms; vertical writing glyph by glyph.
#include "core/Canvas.h"

#include "core/AppSub.h"
#include "platform/Cp932.h"

#include <QPainter>

#include <cmath>

namespace {

// Characters that turn a quarter clockwise in a column about the middle of their cell (brackets keep their
// side: an opening bracket ends up above the text it opens).
const QString TurnInCell = QStringLiteral("（）「」『』【】〔〕［］｛｝〈〉《》＜＞｢｣");
// Lines and dots that turn a quarter clockwise about their ink and then sit in the middle of the cell.
const QString TurnAboutInk = QStringLiteral("ー－―‐—～〜…‥＝｜＿→←↑↓");
// Marks that move from the lower left of the cell to its upper right.
const QString MoveUpRight = QStringLiteral("、。，．");
// Small kana sit a little higher and further right in a column.
const QString SmallKana = QStringLiteral("ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ");

constexpr int SystemColorFlag = 0x80000000;

} // namespace

QColor ColorRefToQColor(quint32 colorRef)
{
    if (colorRef & SystemColorFlag) {
        // System colours: the window background and the highlight are light; everything else draws as text.
        switch (colorRef & 0xFF) {
        case 5:  // window
        case 15: // button face
            return Qt::white;
        default:
            return Qt::black;
        }
    }
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

quint32 QColorToColorRef(const QColor& color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

QStringList SplitCharacters(const QString& text)
{
    QStringList chars;
    chars.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            chars << text.mid(i, 2);
            ++i;
        } else {
            chars << QString(text[i]);
        }
    }
    return chars;
}

bool IsFullWidthCharacter(const QString& ch)
{
    bool ok = true;
    const QByteArray bytes = Cp932::fromUnicode(ch, &ok);
    if (ok)
        return bytes.size() >= 2;
    const char32_t c = ch.toUcs4().value(0);
    return c >= 0x1100 && !(c >= 0xFF61 && c <= 0xFF9F);
}

TCanvas::TCanvas(QPainter* painter, int dpiX, int dpiY) : m_painter(painter), m_dpiX(dpiX), m_dpiY(dpiY)
{
    SetFont(m_font);
}

void TCanvas::SetFont(const TFontSpec& font)
{
    m_font = font;
    m_height = -int(RoundHalfAway(font.size * double(m_dpiY) / 72.0));
    m_dirty = true;
}

void TCanvas::SetFontKeepHeight(const TFontSpec& font)
{
    m_font = font;
    m_dirty = true;
}

void TCanvas::SetFontHeight(int height)
{
    if (height != m_height) {
        m_height = height;
        m_dirty = true;
    }
}

void TCanvas::refresh() const
{
    if (!m_dirty)
        return;
    TFontSpec spec = m_font;
    spec.width = 0;
    m_qfont = ToQFont(spec);
    m_qfont.setHintingPreference(QFont::PreferNoHinting);
    m_qfont.setKerning(false);
    int pixels;
    if (m_height < 0) {
        pixels = -m_height;
    } else if (m_height > 0) {
        m_qfont.setPixelSize(1000);
        const QFontMetricsF unit(m_qfont);
        const double cell = unit.ascent() + unit.descent();
        pixels = int(RoundHalfAway(m_height * 1000.0 / (cell > 0 ? cell : 1000.0)));
    } else {
        pixels = int(RoundHalfAway(12 * double(m_dpiY) / 72.0));
    }
    m_qfont.setPixelSize(qBound(1, pixels, 32767));
    m_metrics.emplace(m_qfont);
    m_advances.clear();
    m_widthScale = 1.0;
    m_dirty = false;
    if (m_font.width > 0) {
        const double natural = m_metrics->averageCharWidth();
        if (natural > 0)
            m_widthScale = m_font.width / natural;
    }
}

const QFont& TCanvas::QtFont() const
{
    refresh();
    return m_qfont;
}

double TCanvas::widthScale() const
{
    refresh();
    return m_widthScale;
}

int TCanvas::Ascent() const
{
    refresh();
    return int(RoundHalfAway(m_metrics->ascent()));
}

int TCanvas::TextHeight() const
{
    refresh();
    return int(RoundHalfAway(m_metrics->ascent())) + int(RoundHalfAway(m_metrics->descent()));
}

int TCanvas::Advance(const QString& ch) const
{
    refresh();
    // A width factor stretches the run along its baseline, down the column in vertical writing.
    const bool vertical = IsVertical();
    if (vertical && IsFullWidthCharacter(ch))
        return m_widthScale == 1.0 ? TextHeight() : int(RoundHalfAway(TextHeight() * m_widthScale));
    const auto it = m_advances.constFind(ch);
    if (it != m_advances.cend())
        return *it;
    const int advance = int(RoundHalfAway(m_metrics->horizontalAdvance(ch) * m_widthScale));
    m_advances.insert(ch, advance);
    return advance;
}

int TCanvas::TextWidth(const QString& text) const
{
    int width = 0;
    for (const QString& ch : SplitCharacters(text))
        width += Advance(ch);
    return width;
}

int TCanvas::CharactersThatFit(const QString& text, int maxExtent) const
{
    int width = 0;
    int count = 0;
    for (const QString& ch : SplitCharacters(text)) {
        width += Advance(ch);
        if (width > maxExtent)
            break;
        count += ch.size();
    }
    return count;
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    const QStringList chars = SplitCharacters(text);
    QList<int> positions;
    positions.reserve(chars.size());
    int pos = 0;
    for (const QString& ch : chars) {
        positions << pos;
        pos += Advance(ch);
    }
    drawRun(x, y, chars, positions);
}

void TCanvas::ExtTextOut(int x, int y, const QString& text, const QList<int>& advances,
                         const std::optional<QRect>& clip)
{
    if (!m_painter)
        return;
    const QStringList chars = SplitCharacters(text);
    QList<int> positions;
    positions.reserve(chars.size());
    int pos = 0;
    for (qsizetype i = 0; i < chars.size(); ++i) {
        positions << pos;
        pos += advances.value(i);
    }
    if (clip) {
        m_painter->save();
        m_painter->setClipRect(*clip, Qt::IntersectClip);
    }
    drawRun(x, y, chars, positions);
    if (clip)
        m_painter->restore();
}

void TCanvas::drawRun(int x, int y, const QStringList& chars, const QList<int>& positions)
{
    if (!m_painter || chars.isEmpty())
        return;
    refresh();
    QPainter& p = *m_painter;
    p.save();
    p.setFont(m_qfont);
    p.setPen(m_color);
    p.setBrush(Qt::NoBrush);
    const int escapement = IsVertical() ? m_font.escapement - 2700 : m_font.escapement;
    p.translate(x, y);
    if (escapement % 3600 != 0)
        p.rotate(-escapement / 10.0);
    const QTransform origin = p.transform();
    const double ascent = Ascent();
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const QString& ch = chars[i];
        const int pos = positions[i];
        if (!IsVertical()) {
            QTransform t = QTransform::fromTranslate(pos, 0);
            if (m_widthScale != 1.0)
                t = QTransform::fromScale(m_widthScale, 1.0) * t;
            p.setTransform(t * origin);
            p.drawText(QPointF(0, ascent), ch);
        } else if (IsFullWidthCharacter(ch)) {
            // Stretched down the column from the top of its cell.
            p.setTransform(QTransform(1, 0, 0, m_widthScale, 0, pos * (1 - m_widthScale)) * origin);
            drawUpright(ch, pos);
        } else {
            // A half-width character lies on its side, its top towards the right edge of the column.
            p.setTransform(QTransform::fromScale(m_widthScale, 1.0) * QTransform().rotate(90) *
                           QTransform::fromTranslate(0, pos) * origin);
            p.drawText(QPointF(0, ascent), ch);
        }
    }
    p.restore();
}

// One full-width character in its cell of a column whose right edge is at x = 0.
void TCanvas::drawUpright(const QString& ch, int top)
{
    QPainter& p = *m_painter;
    const double cell = TextHeight();
    const double ascent = Ascent();
    const double advance = m_metrics->horizontalAdvance(ch);
    const QPointF glyphOrigin(-cell + (cell - advance) / 2.0, top + ascent);
    const QPointF cellCentre(-cell / 2.0, top + cell / 2.0);
    if (TurnInCell.contains(ch)) {
        p.translate(cellCentre);
        p.rotate(90);
        p.translate(-cellCentre);
        p.drawText(glyphOrigin, ch);
    } else if (TurnAboutInk.contains(ch)) {
        const QPointF ink = glyphOrigin + m_metrics->tightBoundingRect(ch).center();
        p.translate(cellCentre);
        p.rotate(90);
        p.translate(-ink);
        p.drawText(glyphOrigin, ch);
    } else if (MoveUpRight.contains(ch)) {
        // Mirror the ink box through the middle of the cell, without turning the mark.
        const QRectF ink = m_metrics->tightBoundingRect(ch).translated(glyphOrigin);
        const double dx = (-cell - ink.right()) - ink.left();
        const double dy = (2.0 * top + cell - ink.bottom()) - ink.top();
        p.drawText(glyphOrigin + QPointF(dx, dy), ch);
    } else if (SmallKana.contains(ch)) {
        p.drawText(glyphOrigin + QPointF(cell / 10.0, -cell / 10.0), ch);
    } else {
        p.drawText(glyphOrigin, ch);
    }
}

bool ExtTextOutCompat(TCanvas& canvas, int x, int y, int options, const QRect* clip, const QString& text,
                      int count, const int* advances)
{
    if (!canvas.Painter() || count < 0 || count > text.size())
        return false;
    QList<int> list;
    list.reserve(count);
    for (int i = 0; i < count; ++i)
        list << (advances ? advances[i] : 0);
    std::optional<QRect> clipRect;
    if (clip && (options & EtoClipped))
        clipRect = *clip;
    canvas.ExtTextOut(x, y, text.left(count), list, clipRect);
    return true;
}
