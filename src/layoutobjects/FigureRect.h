// The figure frame: lines, rectangles, rounded rectangles, ellipses, quarter-ellipse sectors and diamonds
// with a solid or patterned outline and a single-colour or gradient fill, rendered once at printer
// resolution.
#pragma once

#include "layoutobjects/DrawRect.h"
#include "platform/DisplayList.h"

#include <QImage>
#include <QPainterPath>

#include <array>
#include <memory>

constexpr quint8 KindFigure = 12;

// Figure kinds.
constexpr quint8 FigureLines = 0;
constexpr quint8 FigureRectangle = 1;
constexpr quint8 FigureRoundRect = 2;
constexpr quint8 FigureEllipse = 3;
constexpr quint8 FigureSector = 4;
constexpr quint8 FigureDiamond = 5;

// Line-direction bits of the line kind.
constexpr quint8 LineHorizontal = 1;
constexpr quint8 LineVertical = 2;
constexpr quint8 LineFalling = 4; // top-left to bottom-right
constexpr quint8 LineRising = 8;  // top-right to bottom-left

class TFigureRect : public TFrameClass<TFigureRect, TDrawRect>
{
public:
    TFigureRect();

    quint8 GetKind() const override { return KindFigure; }
    void Assign(const TDrawRect& source) override;
    void SetZoom(double zoom) override;
    void SetDesignRect(const TRect& rect) override;
    void SetScreenRect(const TRect& rect) override;
    void SetClipSide(quint8 side) override;
    void SetClipPos(qint32 pos) override;
    void Draw(QPainter& painter, int dx, int dy) override;
    void Print(QPainter& painter, int dx, int dy) override;
    void CalcPrintRect(QPoint offset, bool keepPhysicalOffset) override;
    void UpdateImage(bool force) override;
    void SaveToStream(TFrameWriter& stream) const override;

    // Renders the figure into the picture at the current printer's resolution.
    void RenderFigure();
    void FreePrintCache();

    quint8 FigureKind() const { return m_kind; }
    void SetFigureKind(quint8 kind);
    quint8 LineDirections() const { return m_directions; }
    void SetLineDirections(quint8 directions);
    quint8 GetCornerSize(int index) const { return m_corners[size_t(index & 3)]; }
    void SetCornerSize(int index, quint8 size);
    quint8 SectorDirection() const { return m_sector; }
    void SetSectorDirection(quint8 direction);
    bool FrameVisible() const { return m_outline; }
    void SetFrameVisible(bool visible);
    bool FillVisible() const { return m_fill; }
    void SetFillVisible(bool visible);
    bool Gradient() const { return m_gradient; }
    void SetGradient(bool gradient);
    quint8 LineType() const { return m_lineType; }
    void SetLineType(quint8 type);
    qint32 LineWidth() const { return m_lineWidth; }
    void SetLineWidth(qint32 width);
    quint32 LineColor() const { return m_lineColor; }
    void SetLineColor(quint32 color);
    quint32 FillColor() const { return m_fillColor; }
    void SetFillColor(quint32 color);
    quint32 FillColor2() const { return m_fillColor2; }
    void SetFillColor2(quint32 color);
    qint32 GradientAngle() const { return m_angle; }
    void SetGradientAngle(qint32 angle);

    bool GradientFill() const { return m_fill && m_gradient; }
    // The corner ellipse's side (index 0 width, 1 height) for a rectangle of this size.
    int CornerSize(int index, int width, int height) const;
    // The shape's outline in a rectangle (round rect, ellipse, sector's ellipse, diamond); empty for lines
    // and rectangles.
    QPainterPath ShapeRegion(const TRect& rect) const;

    const TDisplayList& Picture() const { return *m_picture; }
    bool PictureCurrent() const { return m_pictureCurrent; }
    const QImage& ScreenGradient() const { return m_screenGradient; }
    const QPainterPath& ScreenRegion() const { return m_screenRegion; }
    const QImage& PrintGradient() const { return m_printGradient; }
    const QPainterPath& PrintRegion() const { return m_printRegion; }

protected:
    void ReadFields(TFrameReader& stream) override;

private:
    // The figure's shape as a path in a W x H picture (sector and diamond by the figure's own rules).
    QPainterPath outlinePath(int w, int h) const;
    void markStale(bool picture, bool gradient, bool region);
    template <class T> bool change(T& field, T value);

    std::shared_ptr<TDisplayList> m_picture;
    bool m_pictureCurrent = false;
    bool m_gradientCurrent = false;
    bool m_regionCurrent = false;
    QPainterPath m_screenRegion;
    QImage m_screenGradient;
    bool m_fill = false;
    bool m_gradient = false;
    bool m_outline = true;
    qint32 m_lineWidth = 5;
    qint32 m_angle = 0;
    quint32 m_lineColor = 0;
    quint32 m_fillColor2 = 0;
    quint32 m_fillColor = 0;
    quint8 m_kind = FigureLines;
    quint8 m_directions = LineHorizontal;
    quint8 m_lineType = 0;
    std::array<quint8, 4> m_corners{};
    QImage m_printGradient;
    QPainterPath m_printRegion;
    quint8 m_sector = 0;
};
