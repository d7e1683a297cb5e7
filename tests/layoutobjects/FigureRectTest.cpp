// Figure frame: the new line figure, corner sizes, the diamond's fill, the gradient at screen and printer
// sizes, the setters' rules and the stream records of every version.
#include "layoutobjects/FigureRect.h"

#include "support/DrawingFixture.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

struct VersionScope
{
    explicit VersionScope(int version) { LoadedFileVersion = version; }
    ~VersionScope() { LoadedFileVersion = CurrentFileVersion; }
};

QByteArray saved(const TDrawRect& frame)
{
    QByteArray bytes;
    TFrameWriter writer(bytes);
    frame.SaveToStream(writer);
    return bytes;
}

// The frame as drawn on a white screen at zoom 1.
QImage drawn(TFigureRect& frame, QSize size)
{
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    frame.Draw(painter, 0, 0);
    return canvas;
}

} // namespace

TEST(FigureFrame, ANewFigureIsAHorizontalBlackLine)
{
    TScopedPrinter noPrinter(0);
    TFigureRect frame;
    EXPECT_EQ(frame.FigureKind(), FigureLines);
    EXPECT_TRUE(frame.FrameVisible());
    EXPECT_EQ(frame.LineWidth(), 5);
    EXPECT_EQ(frame.LineDirections(), LineHorizontal);
    frame.SetDesignRect({0, 0, 100, 40});
    const QImage canvas = drawn(frame, {100, 40});
    EXPECT_EQ(canvas.pixelColor(50, 20), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(50, 16), QColor(Qt::white));
    EXPECT_EQ(canvas.pixelColor(50, 5), QColor(Qt::white));

    // The outline of lines cannot be turned off; choosing lines turns it on.
    frame.SetFrameVisible(false);
    EXPECT_TRUE(frame.FrameVisible());
    frame.SetFigureKind(FigureEllipse);
    frame.SetFrameVisible(false);
    EXPECT_FALSE(frame.FrameVisible());
    frame.SetFigureKind(FigureLines);
    EXPECT_TRUE(frame.FrameVisible());
}

TEST(FigureFrame, CornerSizes)
{
    TFigureRect frame;
    frame.SetCornerSize(0, 1);
    frame.SetCornerSize(1, 1);
    EXPECT_EQ(frame.CornerSize(0, 300, 100), 33);
    EXPECT_EQ(frame.CornerSize(1, 300, 100), 33);
    frame.SetCornerSize(0, 0);
    frame.SetCornerSize(1, 2);
    EXPECT_EQ(frame.CornerSize(0, 300, 100), 20);
    EXPECT_EQ(frame.CornerSize(1, 300, 100), 50);
    frame.SetCornerSize(1, 3); // out of range: ignored
    EXPECT_EQ(frame.GetCornerSize(1), 2);
}

TEST(FigureFrame, AWideDiamondIsFilledInside)
{
    TScopedPrinter noPrinter(0);
    TFigureRect frame;
    frame.SetDesignRect({0, 0, 300, 100});
    frame.SetFigureKind(FigureDiamond);
    frame.SetLineWidth(2);
    frame.SetFillVisible(true);
    frame.SetFillColor(0x0000FF); // red
    for (const quint8 lineType : {0, 1}) {
        frame.SetLineType(lineType);
        const QImage canvas = drawn(frame, {300, 300});
        EXPECT_EQ(canvas.pixelColor(150, 50), QColor(Qt::red)) << int(lineType);
        EXPECT_EQ(canvas.pixelColor(60, 50), QColor(Qt::red)) << int(lineType);
        EXPECT_EQ(canvas.pixelColor(10, 10), QColor(Qt::white)) << int(lineType);
        EXPECT_EQ(canvas.pixelColor(290, 90), QColor(Qt::white)) << int(lineType);
    }
}

TEST(FigureFrame, SectorCentreCorners)
{
    TScopedPrinter noPrinter(0);
    TFigureRect frame;
    frame.SetDesignRect({0, 0, 100, 100});
    frame.SetFigureKind(FigureSector);
    frame.SetFillVisible(true);
    frame.SetFillColor(0x00FF00);
    // The filled corner is the one where the centre lies; the opposite corner stays white.
    const QPoint near[4] = {{95, 95}, {5, 95}, {95, 5}, {5, 5}};
    const QPoint far[4] = {{3, 3}, {97, 3}, {3, 97}, {97, 97}};
    for (quint8 s = 0; s < 4; ++s) {
        frame.SetSectorDirection(s);
        const QImage canvas = drawn(frame, {100, 100});
        EXPECT_EQ(canvas.pixelColor(near[s]), QColor(Qt::green)) << int(s);
        EXPECT_EQ(canvas.pixelColor(far[s]), QColor(Qt::white)) << int(s);
    }
}

TEST(FigureFrame, GradientAtScreenAndPrinterSizes)
{
    TFigureRect frame;
    frame.SetDesignRect({0, 0, 200, 100});
    frame.SetFigureKind(FigureEllipse);
    frame.SetFillVisible(true);
    frame.SetGradient(true);
    frame.SetFillColor(0x0000FF);
    frame.SetFillColor2(0xFF0000);
    frame.UpdateImage(false);
    EXPECT_EQ(frame.ScreenGradient().size(), QSize(200, 100));
    EXPECT_FALSE(frame.ScreenRegion().isEmpty());
    {
        TScopedPrinter printer(200);
        frame.CalcPrintRect({}, true);
        EXPECT_EQ(frame.PrintGradient().size(), QSize(200, 100));
    }
    {
        TScopedPrinter printer(600);
        frame.CalcPrintRect({}, true);
        EXPECT_EQ(frame.GetPrinterRect().Width(), 1250);
        EXPECT_EQ(frame.PrintGradient().size(), QSize(600, 300));
        EXPECT_TRUE(frame.PrintRegion().contains(QPointF(625, 312)));
        EXPECT_FALSE(frame.PrintRegion().contains(QPointF(5, 5)));
        frame.FreePrintCache();
        EXPECT_TRUE(frame.PrintGradient().isNull());
    }
    // The gradient shows inside the ellipse only.
    const QImage canvas = drawn(frame, {200, 100});
    EXPECT_EQ(canvas.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_NE(canvas.pixelColor(100, 50), QColor(Qt::white));
    frame.SetGradient(false);
    frame.UpdateImage(false);
    EXPECT_TRUE(frame.ScreenGradient().isNull());
}

TEST(FigureFrame, PictureRenderedAtPrinterResolution)
{
    TScopedPrinter printer(600);
    TFigureRect frame;
    frame.SetDesignRect({0, 0, 96, 48});
    frame.UpdateImage(false);
    EXPECT_EQ(frame.Picture().Size(), QSize(600, 600));
    EXPECT_TRUE(frame.PictureCurrent());
    frame.SetLineColor(0x0000FF);
    EXPECT_FALSE(frame.PictureCurrent());
    frame.SetDesignRect({0, 0, 0, 48});
    frame.UpdateImage(false);
    EXPECT_TRUE(frame.Picture().IsEmpty());
}

TEST(FigureFrame, StreamRecords)
{
    TFigureRect frame;
    frame.SetDesignRect({1, 2, 301, 102});
    frame.SetFigureKind(FigureSector);
    frame.SetSectorDirection(3);
    frame.SetCornerSize(0, 2);
    frame.SetLineType(4);
    frame.SetLineWidth(9);
    frame.SetLineColor(0x123456);
    frame.SetFillVisible(true);
    frame.SetGradient(true);
    frame.SetFillColor(0x010203);
    frame.SetFillColor2(0x040506);
    frame.SetGradientAngle(-200);
    const QByteArray bytes = saved(frame);
    TFigureRect again;
    TFrameReader reader(bytes);
    again.LoadFromStream(reader);
    EXPECT_EQ(reader.Remaining(), 0);
    EXPECT_EQ(saved(again), bytes);
    EXPECT_FALSE(again.PictureCurrent());

    // Version 200: no visible byte, no sector byte.
    QByteArray old;
    TFrameWriter w(old);
    for (qint32 v : {0, 0, 50, 50})
        w.WriteInt32(v);
    for (quint8 b : {1, 0, 0, 4, 1, 1, 1, 0, 0, 2})
        w.WriteByte(b);
    for (qint32 v : {3, 0, 0, 0, 45})
        w.WriteInt32(v);
    {
        VersionScope v(200);
        TFigureRect figure;
        TFrameReader r(old);
        figure.LoadFromStream(r);
        EXPECT_EQ(r.Remaining(), 0);
        EXPECT_EQ(figure.FigureKind(), FigureSector);
        EXPECT_EQ(figure.SectorDirection(), 0);
        EXPECT_EQ(figure.LineType(), 2);
        EXPECT_EQ(figure.GradientAngle(), 45);
    }
    // Values no figure has are refused.
    QByteArray bad = bytes;
    bad[17 + 3] = 9; // kind
    TFigureRect target;
    TFrameReader r(bad);
    EXPECT_THROW(target.LoadFromStream(r), EFrameStreamError);
    EXPECT_EQ(target.FigureKind(), FigureLines);
}
