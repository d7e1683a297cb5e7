// Path shapes built from moves, lines and cubic curves, and patterned outlines stroked dash by dash.
#include "layoutobjects/PathUtils.h"

#include <QPainter>

#include <cmath>
#include <numeric>

namespace {

constexpr double Quarter = M_PI / 2;

int roundEven(double v)
{
    return int(std::nearbyint(v));
}

QPointF ellipsePoint(double angle, double ry, double rx, double cy, double cx)
{
    return QPointF(roundEven(cx + rx * std::cos(angle)), roundEven(cy - ry * std::sin(angle)));
}

QPen dashPen(const QColor& color, bool flatEnds, int penWidth)
{
    return QPen(QBrush(color), qMax(penWidth, 1), Qt::SolidLine, flatEnds ? Qt::FlatCap : Qt::RoundCap,
                Qt::RoundJoin);
}

void lineTo(QPainterPath& path, const QPointF& p)
{
    path.lineTo(p);
}

} // namespace

TDashPattern DashPatternOfLineType(int lineType)
{
    switch (lineType) {
    case 1:
        return {18, 6};
    case 2:
        return {3, 3};
    case 3:
        return {9, 6, 3, 6};
    case 4:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}

void AddArcBezier(QPainterPath& path, bool moveFirst, double sweep, double start, double ry, double rx, double cy,
                  double cx)
{
    if (sweep == 0) {
        const QPointF p = ellipsePoint(start, ry, rx, cy, cx);
        if (moveFirst)
            path.moveTo(p);
        lineTo(path, p);
        return;
    }
    const double t = sweep / 2, s = std::sin(t), c = std::cos(t), k = 4.0 / 3.0 * (1 - c);
    const double theta = t + start, ct = std::cos(theta), st = std::sin(theta);
    const double inner = s - c * k / s;
    const double frame[4][2] = {{c, s}, {c + k, inner}, {c + k, -inner}, {c, -s}};
    QPointF p[4];
    for (int i = 0; i < 4; ++i) {
        const double x = cx + rx * (frame[i][0] * ct + frame[i][1] * st);
        const double y = cy + ry * (-frame[i][0] * st + frame[i][1] * ct);
        const double bias = i == 1 || i == 2 ? 0.0001 : 0;
        p[i] = QPointF(roundEven(x - bias), roundEven(y - bias));
    }
    if (moveFirst)
        path.moveTo(p[0]);
    path.cubicTo(p[1], p[2], p[3]);
}

QPoint AddEllipticArc(QPainterPath& path, double sweep, double start, double ry, double rx, double cy, double cx)
{
    const QPoint first = ellipsePoint(start, ry, rx, cy, cx).toPoint();
    bool move = true;
    while (sweep > Quarter) {
        AddArcBezier(path, move, Quarter, start, ry, rx, cy, cx);
        move = false;
        start += Quarter;
        sweep -= Quarter;
    }
    while (sweep < -Quarter) {
        AddArcBezier(path, move, -Quarter, start, ry, rx, cy, cx);
        move = false;
        start -= Quarter;
        sweep += Quarter;
    }
    AddArcBezier(path, move, sweep, start, ry, rx, cy, cx);
    return first;
}

QPoint ArcToPath(QPainterPath& path, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const double rx = std::max(0.0, (std::abs(x1 - x2) - 1) / 2.0);
    const double ry = std::max(0.0, (std::abs(y1 - y2) - 1) / 2.0);
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const double start = std::atan2(-(y3 - cy) * rx, (x3 - cx) * ry);
    const double end = std::atan2(-(y4 - cy) * rx, (x4 - cx) * ry);
    double sweep = end - start;
    if (sweep < 0)
        sweep += 2 * M_PI;
    return AddEllipticArc(path, sweep, start, ry, rx, cy, cx);
}

void PiePath(QPainterPath& path, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const QPoint start = ArcToPath(path, x1, y1, x2, y2, x3, y3, x4, y4);
    lineTo(path, QPointF(roundEven((x1 + x2) / 2.0), roundEven((y1 + y2) / 2.0)));
    lineTo(path, start);
    path.closeSubpath();
}

void RectanglePath(QPainterPath& path, int x1, int y1, int x2, int y2)
{
    const int left = std::min(x1, x2), right = std::max(x1, x2), top = std::min(y1, y2), bottom = std::max(y1, y2);
    path.moveTo(left, top);
    path.lineTo(right - 1, top);
    path.lineTo(right - 1, bottom - 1);
    path.lineTo(left, bottom - 1);
    path.closeSubpath();
}

void RoundRectPath(QPainterPath& path, int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight)
{
    const int left = std::min(x1, x2), right = std::max(x1, x2), top = std::min(y1, y2), bottom = std::max(y1, y2);
    const int cw = std::clamp(cornerWidth, 0, right - left), ch = std::clamp(cornerHeight, 0, bottom - top);
    const double rx = (cw - 1) / 2.0, ry = (ch - 1) / 2.0, w2 = cw / 2.0, h2 = ch / 2.0;
    AddArcBezier(path, true, Quarter, Quarter, ry, rx, top + h2, left + w2);
    path.lineTo(left, bottom - ch / 2);
    AddArcBezier(path, false, Quarter, 2 * Quarter, ry, rx, bottom - h2, left + w2);
    path.lineTo(right - cw / 2, bottom - 1);
    AddArcBezier(path, false, Quarter, 3 * Quarter, ry, rx, bottom - h2, right - w2);
    path.lineTo(right - 1, top + ch / 2);
    AddArcBezier(path, false, Quarter, 0, ry, rx, top + h2, right - w2);
    path.closeSubpath();
}

void EllipsePath(QPainterPath& path, int x1, int y1, int x2, int y2)
{
    const double rx = std::max(0.0, (std::abs(x1 - x2) - 1) / 2.0);
    const double ry = std::max(0.0, (std::abs(y1 - y2) - 1) / 2.0);
    AddEllipticArc(path, 2 * M_PI, 0, ry, rx, (y1 + y2) / 2.0, (x1 + x2) / 2.0);
    path.closeSubpath();
}

void TPath::ReadPath(const QPainterPath& path)
{
    m_points.clear();
    for (const QPolygonF& polygon : path.toSubpathPolygons()) {
        QPolygon points;
        for (const QPointF& p : polygon) {
            const QPoint q(roundEven(p.x()), roundEven(p.y()));
            if (points.isEmpty() || points.back() != q)
                points.append(q);
        }
        const bool closed = points.size() > 2 && points.front() == points.back();
        if (closed)
            points.removeLast();
        for (int i = 0; i < points.size(); ++i)
            m_points.push_back({points[i], i == 0 ? Move : Line, closed && i == points.size() - 1});
    }
}

TPath::TPoint TPath::GetPoint(int index) const
{
    if (index < 0 || index >= Count())
        throw EPathError("TPath.GetPoint: Index is Out of Range");
    return m_points[size_t(index)];
}

QList<QPolygon> TPath::Dashes(const TDashPattern& pattern, int penWidth) const
{
    QList<QPolygon> dashes;
    size_t i = 0;
    while (i + 1 < m_points.size()) {
        QPolygon run{m_points[i].Point};
        size_t j = i + 1;
        for (; j < m_points.size() && m_points[j].Kind != Move; ++j)
            run.append(m_points[j].Point);
        if (m_points[j - 1].Closed)
            run.append(m_points[i].Point);
        if (run.size() > 1)
            dashes += DashPolyline(run, pattern, penWidth);
        i = j;
    }
    return dashes;
}

void TPath::DrawDashed(QPainter& painter, const QColor& color, bool flatEnds, const TDashPattern& pattern,
                       int penWidth) const
{
    painter.save();
    painter.setPen(dashPen(color, flatEnds, penWidth));
    for (const QPolygon& dash : Dashes(pattern, penWidth))
        painter.drawPolyline(dash);
    painter.restore();
}

QList<QPolygon> DashPolyline(const QPolygon& points, const TDashPattern& pattern, int penWidth)
{
    QList<QPolygon> dashes;
    const int total = std::accumulate(pattern.begin(), pattern.end(), 0);
    if (points.isEmpty() || total <= 0 || std::any_of(pattern.begin(), pattern.end(), [](int v) { return v < 0; }))
        return dashes;
    // A zero width would make every dash empty and the walk endless.
    const double unit = qMax(penWidth, 1);
    const int n = int(points.size());
    const auto segment = [&](int j) { return std::hypot(points[j].x() - points[j - 1].x(), points[j].y() - points[j - 1].y()); };
    // The point at distance d back from vertex j towards vertex j - 1.
    const auto back = [&](int j, double length, double d) {
        const double f = d / length;
        return QPoint(roundEven(points[j].x() + (points[j - 1].x() - points[j].x()) * f),
                      roundEven(points[j].y() + (points[j - 1].y() - points[j].y()) * f));
    };
    int j = 0;
    double at = 0, segLength = 0;
    size_t entry = 0;
    double a = 0, b = unit * pattern[0];
    for (;;) {
        while (at < a) {
            if (j == n - 1)
                return dashes;
            ++j;
            segLength = segment(j);
            at += segLength;
        }
        QPolygon dash;
        if (at > a)
            dash.append(back(j, segLength, at - a));
        while (at <= b) {
            dash.append(points[j]);
            if (j == n - 1)
                break;
            ++j;
            segLength = segment(j);
            at += segLength;
        }
        if (at > b)
            dash.append(back(j, segLength, at - b));
        dashes.append(dash);
        if (j == n - 1 && at <= b)
            return dashes;
        entry = (entry + 1) % pattern.size();
        a = b + unit * pattern[entry];
        entry = (entry + 1) % pattern.size();
        b = a + unit * pattern[entry];
    }
}

void DrawDashedPolyline(const QPolygon& points, QPainter& painter, bool flatEnds, const TDashPattern& pattern,
                        int penWidth, const QColor& color)
{
    painter.save();
    painter.setPen(dashPen(color, flatEnds, penWidth));
    for (const QPolygon& dash : DashPolyline(points, pattern, penWidth))
        painter.drawPolyline(dash);
    painter.restore();
}
