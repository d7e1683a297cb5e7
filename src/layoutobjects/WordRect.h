// The free text frame (lines aligned in a 3 x 3 grid, fitted or at a fixed size, wrapped, spaced, widened)
// and the decorative border and background that free texts, illustrations and sender blocks carry.
#pragma once

#include "layoutobjects/MetaRect.h"

#include <QStringList>

#include <functional>

class QPainter;

constexpr quint8 KindWord = 11;
constexpr int RectFrameRecordSize = 13;

class TRectFrame
{
public:
    using TCallback = std::function<void()>;

    TRectFrame() = default;
    // Copies take the settings only: callbacks belong to the owner.
    TRectFrame(const TRectFrame& other);
    TRectFrame& operator=(const TRectFrame& other);

    void SetCallbacks(TCallback frameChanged, TCallback fillChanged);

    bool FrameVisible() const { return m_frameOn; }
    void SetFrameVisible(bool on);
    bool DoubleLine() const { return m_doubleLine; }
    void SetDoubleLine(bool on);
    bool RoundCorner() const { return m_roundCorner; }
    void SetRoundCorner(bool on);
    quint8 WidthIndex() const { return m_widthIndex; }
    void SetWidthIndex(quint8 index);
    quint32 LineColor() const { return m_lineColor; }
    void SetLineColor(quint32 color);
    bool FillVisible() const { return m_fillOn; }
    void SetFillVisible(bool on);
    quint32 FillColor() const { return m_fillColor; }
    void SetFillColor(quint32 color);

    void Assign(const TRectFrame& source);
    void Reset();

    // Draws the border and background into rect (pixels) with line widths scaled by scale; returns the
    // rectangle left for the contents.
    TRect Draw(QPainter& painter, const TRect& rect, double scale) const;
    TRect GetInnerRect(const TRect& rect, double scale) const;
    // The rectangle (design pixels) whose border leaves rect inside.
    TRect GetOuterRect(const TRect& rect) const;

    void LoadFromStream(TFrameReader& stream);
    void SaveToStream(TFrameWriter& stream) const;

private:
    int lineWidth() const;
    void frameChanged() const;
    void fillChanged() const;

    bool m_frameOn = false;
    bool m_doubleLine = false;
    bool m_roundCorner = false;
    quint8 m_widthIndex = 0;
    quint32 m_lineColor = 0;
    bool m_fillOn = false;
    quint32 m_fillColor = 0;
    TCallback m_frameChanged;
    TCallback m_fillChanged;
};

// The width factor of the aspect ratio (percent) in a writing direction.
double AspectWidthFactor(int aspect, bool horizontal);

class TWordRect : public TFrameClass<TWordRect, TMetaRect>
{
public:
    TWordRect();
    TWordRect(const TWordRect& other);
    TWordRect& operator=(const TWordRect& other) = default;

    quint8 GetKind() const override { return KindWord; }
    void RenderContent(TCanvas& canvas, int width, int height) override;
    void Clear() override;
    void Assign(const TDrawRect& source) override;
    void SaveToStream(TFrameWriter& stream) const override;

    int GetLineCount() const { return int(m_lines.size()); }
    void SetLineCount(int count);
    QString GetLine(int index) const { return m_lines.value(index); }
    void SetLine(int index, const QString& text);
    int Alignment() const { return m_alignment; }
    void SetAlignment(int alignment);
    bool AutoWrap() const { return m_wrap; }
    void SetAutoWrap(bool wrap);
    int AspectRatio() const { return m_aspect; }
    void SetAspectRatio(int aspect);
    quint8 LineSpacing() const { return m_spacing; }
    void SetLineSpacing(quint8 spacing);
    TRectFrame& Frame() { return m_frame; }
    const TRectFrame& Frame() const { return m_frame; }

protected:
    void ReadFields(TFrameReader& stream) override;

private:
    void installCallbacks();
    // The lines laid out to fit, or empty when nothing can be drawn.
    QStringList layoutLines(TCanvas& canvas, int s, int l) const;

    QStringList m_lines;
    int m_alignment = 0;
    bool m_wrap = false;
    TRectFrame m_frame;
    quint8 m_spacing = 0;
    int m_aspect = 100;
};
