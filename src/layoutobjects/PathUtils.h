// Path shapes built from moves, lines and cubic curves, and patterned outlines stroked dash by dash.
#pragma once

#include <QColor>
#include <QList>
#include <QPainterPath>
#include <QPoint>
#include <QPolygon>

#include <stdexcept>
#include <vector>

class QPainter;

class EPathError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Dash patterns in units of the pen width: dash, gap, dash, ...
using TDashPattern = std::vector<int>;
// The pattern of a figure's line type 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot; empty for others.
TDashPattern DashPatternOfLineType(int lineType);

// A flattened path as points with their kinds.
class TPath
{
public:
    enum TKind { Move = 0, Line = 1, Bezier = 2 };
    struct TPoint
    {
        QPoint Point;
        TKind Kind = Move;
        bool Closed = false;
    };

    // Flattens the path and reads its points; a closed figure ends with the close flag instead of its first
    // point repeated.
    void ReadPath(const QPainterPath& path);
    int Count() const { return int(m_points.size()); }
    // Throws EPathError for an index outside 0 ... Count() - 1.
    TPoint GetPoint(int index) const;
    void Assign(const TPath& source) { m_points = source.m_points; }
    // Strokes every figure of the path along the pattern.
    void DrawDashed(QPainter& painter, const QColor& color, bool flatEnds, const TDashPattern& pattern,
                    int penWidth) const;
    // The dashes DrawDashed strokes, one polyline each.
    QList<QPolygon> Dashes(const TDashPattern& pattern, int penWidth) const;

private:
    std::vector<TPoint> m_points;
};

// Path builders. Angles are in radians, counter-clockwise on the page.
void AddArcBezier(QPainterPath& path, bool moveFirst, double sweep, double start, double ry, double rx, double cy,
                  double cx);
QPoint AddEllipticArc(QPainterPath& path, double sweep, double start, double ry, double rx, double cy, double cx);
QPoint ArcToPath(QPainterPath& path, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
void PiePath(QPainterPath& path, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
void RectanglePath(QPainterPath& path, int x1, int y1, int x2, int y2);
void RoundRectPath(QPainterPath& path, int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
void EllipsePath(QPainterPath& path, int x1, int y1, int x2, int y2);

// The dashes of one polyline along the pattern; a pen width below 1 counts as 1.
QList<QPolygon> DashPolyline(const QPolygon& points, const TDashPattern& pattern, int penWidth);
// Strokes the dashes of one polyline with a pen of the width, flat or round ends, round joins.
void DrawDashedPolyline(const QPolygon& points, QPainter& painter, bool flatEnds, const TDashPattern& pattern,
                        int penWidth, const QColor& color);
