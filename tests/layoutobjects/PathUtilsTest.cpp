// Path shapes and patterned outlines: the builders' points, the flattened path and the dash walk.
#include "layoutobjects/PathUtils.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

TEST(PathUtils, DottedRectangleRunsAroundTheCorners)
{
    QPainterPath path;
    RectanglePath(path, 100, 50, 0, 0);
    TPath outline;
    outline.ReadPath(path);
    ASSERT_EQ(outline.Count(), 4);
    EXPECT_EQ(outline.GetPoint(0).Kind, TPath::Move);
    EXPECT_EQ(outline.GetPoint(2).Point, QPoint(99, 49));
    EXPECT_TRUE(outline.GetPoint(3).Closed);
    EXPECT_FALSE(outline.GetPoint(2).Closed);

    const QList<QPolygon> dashes = outline.Dashes(DashPatternOfLineType(2), 1);
    // 296 units of outline, a dash every 6.
    ASSERT_EQ(dashes.size(), 50);
    EXPECT_EQ(dashes[0], QPolygon({QPoint(0, 0), QPoint(3, 0)}));
    EXPECT_EQ(dashes[1], QPolygon({QPoint(6, 0), QPoint(9, 0)}));
    EXPECT_EQ(dashes[41], QPolygon({QPoint(1, 49), QPoint(0, 49), QPoint(0, 47)})); // round the corner
    EXPECT_EQ(dashes.back(), QPolygon({QPoint(0, 2), QPoint(0, 0)}));               // closes at the start

    TPath copy;
    copy.Assign(outline);
    EXPECT_EQ(copy.Dashes({3, 3}, 1), dashes);
}

TEST(PathUtils, DashWalk)
{
    const QPolygon line({QPoint(0, 0), QPoint(10, 0)});
    // A dash running past the last vertex ends there; the pattern scales with the pen width.
    EXPECT_EQ(DashPolyline(line, {3, 1}, 2), (QList<QPolygon>{QPolygon({QPoint(0, 0), QPoint(6, 0)}),
                                                             QPolygon({QPoint(8, 0), QPoint(10, 0)})}));
    EXPECT_EQ(DashPolyline(line, {9, 3, 3, 3}, 1).size(), 1); // the next dash would start past the end
    EXPECT_TRUE(DashPolyline(QPolygon(), {3, 3}, 1).isEmpty());
    EXPECT_TRUE(DashPolyline(line, {0, 0}, 1).isEmpty());
    EXPECT_EQ(DashPolyline(line, {3, 3}, 0), DashPolyline(line, {3, 3}, 1)); // no endless walk at width 0
    EXPECT_TRUE(DashPatternOfLineType(0).empty());
    EXPECT_EQ(DashPatternOfLineType(4), (TDashPattern{9, 3, 3, 3, 3, 3}));
}

TEST(PathUtils, EllipticArcPieces)
{
    QPainterPath path;
    const QPoint start = AddEllipticArc(path, -200 * M_PI / 180, 0, 50, 100, 200, 300);
    EXPECT_EQ(start, QPoint(400, 200));
    // A move and three curves of three elements: -90°, -90° and -20°.
    ASSERT_EQ(path.elementCount(), 10);
    EXPECT_EQ(QPointF(path.elementAt(3)), QPointF(300, 250)); // a quarter turn clockwise: straight down
    EXPECT_EQ(QPointF(path.elementAt(6)), QPointF(200, 200));
    const double end = -200 * M_PI / 180;
    EXPECT_EQ(QPointF(path.elementAt(9)),
              QPointF(std::nearbyint(300 + 100 * std::cos(end)), std::nearbyint(200 - 50 * std::sin(end))));

    QPainterPath flat;
    AddArcBezier(flat, true, 0, M_PI / 2, 10, 10, 0, 0);
    EXPECT_EQ(flat.currentPosition(), QPointF(0, -10));
}

TEST(PathUtils, ShapesAndRanges)
{
    // A corner wider than the box is clamped to it: the straight top edge vanishes.
    QPainterPath clamped, full;
    RoundRectPath(clamped, 0, 0, 20, 10, 500, 4);
    RoundRectPath(full, 0, 0, 20, 10, 20, 4);
    EXPECT_EQ(clamped, full);

    QPainterPath ellipse;
    EllipsePath(ellipse, 0, 0, 21, 11);
    const QRectF box = ellipse.boundingRect();
    EXPECT_TRUE(QRectF(0, 0, 21, 11).contains(box));
    EXPECT_GE(box.width(), 19);
    EXPECT_GE(box.height(), 9);

    QPainterPath pie;
    PiePath(pie, 0, 0, 101, 101, 100, 50, 50, 0); // from 0° to 90°
    TPath sector;
    sector.ReadPath(pie);
    EXPECT_EQ(sector.GetPoint(0).Point, QPoint(100, 50));
    EXPECT_TRUE(sector.GetPoint(sector.Count() - 1).Closed);
    EXPECT_EQ(sector.GetPoint(sector.Count() - 1).Point, QPoint(50, 50)); // the centre, then back to the start

    try {
        sector.GetPoint(sector.Count());
        FAIL();
    } catch (const EPathError& e) {
        EXPECT_STREQ(e.what(), "TPath.GetPoint: Index is Out of Range");
    }
    EXPECT_THROW(sector.GetPoint(-1), EPathError);

    // Dashes are stroked in the colour, leaving the gaps.
    QImage canvas(20, 5, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        DrawDashedPolyline(QPolygon({QPoint(0, 2), QPoint(19, 2)}), painter, true, {3, 3}, 1, Qt::red);
    }
    EXPECT_EQ(canvas.pixel(1, 2), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(4, 2), qRgb(255, 255, 255));
}
