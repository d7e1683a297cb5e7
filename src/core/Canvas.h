// Text drawing with the rules the designers' layouts are written for: rectangles with exclusive right and
// bottom edges, fonts sized by character height in device pixels, text placed by the top of its cell, whole
// pixel advances, escapement and width factor as painter transforms, vertical writing glyph by glyph.
#pragma once

#include "core/FontSub.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QRect>
#include <QString>

#include <algorithm>
#include <optional>

class QPainter;

// Left, top, right, bottom; right and bottom are outside the rectangle.
struct TRect
{
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;

    // Saturated, so that a rectangle read from a damaged file cannot overflow.
    qint32 Width() const { return saturate(qint64(right) - left); }
    qint32 Height() const { return saturate(qint64(bottom) - top); }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    TRect Moved(int dx, int dy) const
    {
        return {saturate(qint64(left) + dx), saturate(qint64(top) + dy), saturate(qint64(right) + dx),
                saturate(qint64(bottom) + dy)};
    }
    QRect ToQRect() const { return QRect(left, top, Width(), Height()); }
    bool operator==(const TRect&) const = default;

private:
    static qint32 saturate(qint64 v) { return qint32(std::clamp<qint64>(v, INT32_MIN, INT32_MAX)); }
};

// A stored colour value: 0x00BBGGRR, or a system colour when the high byte is 0x80.
QColor ColorRefToQColor(quint32 colorRef);
quint32 QColorToColorRef(const QColor& color);

// The characters of a text, a surrogate pair kept whole.
QStringList SplitCharacters(const QString& text);
// True for a character that takes two bytes in CP932 (or, without a CP932 form, a wide East Asian one).
bool IsFullWidthCharacter(const QString& ch);

// A painter together with the current font the way the layouts see it. The painter may be null: the canvas
// then measures only.
class TCanvas
{
public:
    TCanvas(QPainter* painter, int dpiX, int dpiY);

    QPainter* Painter() const { return m_painter; }
    int DpiX() const { return m_dpiX; }
    int DpiY() const { return m_dpiY; }

    // Takes the font; its point size gives the height at the canvas's vertical resolution.
    void SetFont(const TFontSpec& font);
    // Takes the font and keeps the current height.
    void SetFontKeepHeight(const TFontSpec& font);
    const TFontSpec& Font() const { return m_font; }
    // Negative: character height in pixels; positive: cell height (ascent + descent); 0: the default size.
    int FontHeight() const { return m_height; }
    void SetFontHeight(int height);
    void SetColor(const QColor& color) { m_color = color; }
    QColor Color() const { return m_color; }
    // A face name that begins with "@" lays text out downwards.
    bool IsVertical() const { return m_font.name.startsWith(u'@'); }

    // The Qt font drawn with: pixel size from the height, no hinting so measures do not depend on the device.
    const QFont& QtFont() const;
    int Ascent() const;
    // Cell height: ascent + descent.
    int TextHeight() const;
    // Whole-pixel advance of one character along the writing direction.
    int Advance(const QString& ch) const;
    // Length of the text along the writing direction (down the column for a vertical font).
    int TextWidth(const QString& text) const;
    // Number of leading characters whose total advance fits in maxExtent.
    int CharactersThatFit(const QString& text, int maxExtent) const;

    // Draws text whose cell's top-left corner (the column's top right for a vertical font) lies at (x, y),
    // turned by the font's escapement about that point.
    void TextOut(int x, int y, const QString& text);
    // Draws character i at the sum of advances[0..i-1] from (x, y) along the escapement; characters without
    // an entry advance by 0. A clip rectangle limits the drawing.
    void ExtTextOut(int x, int y, const QString& text, const QList<int>& advances,
                    const std::optional<QRect>& clip = std::nullopt);

private:
    void drawRun(int x, int y, const QStringList& chars, const QList<int>& positions);
    void drawUpright(const QString& ch, int top);
    double widthScale() const;
    void refresh() const;

    QPainter* m_painter;
    int m_dpiX;
    int m_dpiY;
    TFontSpec m_font;
    int m_height = 0;
    QColor m_color = Qt::black;

    mutable bool m_dirty = true;
    mutable QFont m_qfont;
    mutable std::optional<QFontMetricsF> m_metrics;
    mutable double m_widthScale = 1.0;
    mutable QHash<QString, int> m_advances;
};

// ExtTextOutCompat options.
constexpr int EtoOpaque = 2;
constexpr int EtoClipped = 4;

// Text output with a per-character advance array; false when nothing could be drawn.
bool ExtTextOutCompat(TCanvas& canvas, int x, int y, int options, const QRect* clip, const QString& text,
                      int count, const int* advances);
