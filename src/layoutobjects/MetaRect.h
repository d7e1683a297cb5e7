// Text frames: the frame renders its text once, at the current printer's resolution, into a display list
// that the screen stretches and the printer replays; the tables of text heights and point sizes.
#pragma once

#include "layoutobjects/DrawRect.h"
#include "platform/DisplayList.h"

#include <array>
#include <memory>

// Text heights (negative: character height in design pixels) by frame kind, side and size level 1-5, the
// line widths of decorative frames and the postal-code box geometry (0.1 mm).
struct TFontHeightTable
{
    int postalRecipient;
    int postalSender;
    std::array<int, 5> addressRecipient;
    std::array<int, 5> addressSender;
    std::array<int, 5> nameRecipient;
    std::array<int, 5> nameSender;
    std::array<int, 5> addition;
    std::array<int, 3> frameLineWidths;
    std::array<int, 7> postalPitchRecipient;
    std::array<int, 7> postalPitchSender;
    std::array<int, 2> postalBoxWidth; // recipient, sender
};

extern const TFontHeightTable FontHeightTable;

constexpr int DefaultSizeLevel = 3;
constexpr int MaxFixedSizeIndex = 27;
// Points of a fixed size index: 0 is 0 (fit the frame), 1-24 are 7-30, 25 36, 26 48, 27 72.
int FixedPointSize(int index);
// The level's entry of a five-level row; levels outside 1-5 take the nearest.
int LevelHeight(const std::array<int, 5>& row, int level);

class TMetaRect : public TDrawRect
{
public:
    TMetaRect();

    virtual void RenderContent(TCanvas& canvas, int width, int height) = 0;
    virtual void SetFont(const TFontSpec& font, quint32 color);
    virtual void SetHorizontal(bool horizontal);
    virtual void SetPageSize(int paperLongSide);
    virtual void Clear();
    virtual void UpdateFontHeight();

    void Assign(const TDrawRect& source) override;
    void SetDesignRect(const TRect& rect) override;
    void SetScreenRect(const TRect& rect) override;
    void SetClipSide(quint8 side) override;
    void SetClipPos(qint32 pos) override;
    void Draw(QPainter& painter, int dx, int dy) override;
    void Print(QPainter& painter, int dx, int dy) override;
    void UpdateImage(bool force) override;
    void SaveToStream(TFrameWriter& stream) const override;

    void SetFixedFontSize(int index);
    void SetUpsideDown(bool upsideDown);
    void RenderMetafile();
    // Scales the canvas font height by available / needed; see the layouts for when it may grow.
    static bool FitFontHeight(TCanvas& canvas, double available, double needed, bool mayGrow);

    bool IsValid() const { return m_valid; }
    const TDisplayList& Metafile() const { return *m_metafile; }
    const TFontSpec& Font() const { return m_font; }
    quint32 FontColor() const { return m_color; }
    int BaseHeight() const { return m_baseHeight; }
    int ScaledHeight() const { return m_scaledHeight; }
    bool Horizontal() const { return m_horizontal; }
    bool UpsideDown() const { return m_upsideDown; }
    int FixedSizeIndex() const { return m_fixedSizeIndex; }

protected:
    TMetaRect(const TMetaRect&) = default;
    TMetaRect& operator=(const TMetaRect&) = default;

    void ReadFields(TFrameReader& stream) override;
    void MarkStale() { m_valid = false; }
    void SetBaseHeight(int height) { m_baseHeight = height; }

    // The frame's font in the vertical or horizontal form, turned when the frame is upside down.
    TFontSpec FontForm(bool vertical) const;
    // Gives the canvas the frame's font in a form at the rendering height.
    void PrepareFont(TCanvas& canvas, bool vertical) const;
    // The rendering height of the frame's font on the canvas.
    int RenderHeight(const TCanvas& canvas) const;
    // Draws text placed for the upright frame, mirrored in the render area when the frame is upside down.
    void PlaceText(TCanvas& canvas, int x, int y, const QString& text) const;
    void PlaceTextWithAdvances(TCanvas& canvas, int x, int y, const QString& text,
                               const QList<int>& advances) const;

private:
    std::shared_ptr<TDisplayList> m_metafile;
    bool m_valid = false;
    TFontSpec m_font;
    quint32 m_color = 0;
    int m_baseHeight = 0;
    int m_scaledHeight = 0;
    bool m_horizontal = false;
    bool m_upsideDown = false;
    int m_fixedSizeIndex = 0;
    // The render area of the rendering in progress, for mirroring.
    mutable QSize m_renderArea;
};

// A text as the layouts measure and draw it: through CP932, so characters without a CP932 form show as "?".
QString ShiftJisForm(const QString& text);
