// Page background: white colour backgrounds, pictures at their physical size on the printer, tiles, the
// mode a new picture takes, upside-down pictures through save and load, and the records of older versions.
#include "layoutobjects/BackImage.h"

#include "support/DrawingFixture.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

struct VersionScope
{
    explicit VersionScope(int version) { LoadedFileVersion = version; }
    ~VersionScope() { LoadedFileVersion = CurrentFileVersion; }
};

QByteArray saved(const TBackImage& back)
{
    QByteArray bytes;
    TFrameWriter writer(bytes);
    back.SaveToStream(writer);
    return bytes;
}

TGraphic bitmapGraphic(int w, int h)
{
    TGraphic g;
    g.Bitmap = QImage(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            g.Bitmap.setPixel(x, y, qRgb(x * 255 / qMax(1, w - 1), y * 255 / qMax(1, h - 1), 90));
    return g;
}

// A postcard whose whole paper is printable.
TBackImage postcard()
{
    TBackImage back;
    back.SetPaperSize({1000, 1480});
    back.SetVisibleRect({0, 0, 378, 559});
    return back;
}

} // namespace

TEST(PageBackground, WhiteColourDrawsAndPrintsNothing)
{
    TScopedPrinter printer(600);
    TBackImage back = postcard();
    back.SetMode(BackColor);
    back.SetColor(0xFFFFFF);
    back.UpdateImage(false);
    EXPECT_TRUE(back.IsEmpty());
    back.PreparePrint({});
    {
        std::unique_ptr<TPrintJob> job = printer.Printer()->BeginJob("back");
        back.Print(job->Painter(), 0, 0);
        ASSERT_TRUE(job->Finish());
    }
    EXPECT_TRUE(printer.Printer()->Pages().back()->IsEmpty());

    back.SetColor(0x00FF00);
    back.UpdateImage(false);
    ASSERT_FALSE(back.IsEmpty());
    EXPECT_EQ(back.RenderBitmap().size(), QSize(378, 559));
    EXPECT_EQ(back.RenderBitmap().pixelColor(10, 10), QColor(Qt::green));
}

TEST(PageBackground, CentredPictureAtItsPhysicalSizeOnThePrinter)
{
    TScopedPrinter printer(600);
    TBackImage back;
    back.SetPaperSize({2540, 1700}); // 6000 x 4016 printer pixels
    printer.Printer()->SetPaper(QPageSize(QSizeF(170, 254), QPageSize::Millimeter), QPageLayout::Landscape);
    const TGraphic graphic = bitmapGraphic(720, 480);
    back.SetGraphic(&graphic);
    back.SetMode(BackCentred);
    back.SetDpi(72);
    back.PreparePrint({});
    EXPECT_EQ(back.PrintRect(), (TRect{0, 0, 6000, 4016}));
    EXPECT_EQ(back.PrintPictureSize(), QSize(6000, 4000));
    std::unique_ptr<TPrintJob> job = printer.Printer()->BeginJob("back");
    back.Print(job->Painter(), 0, 0);
    ASSERT_TRUE(job->Finish());
    const auto& items = printer.Printer()->Pages().back()->Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].kind, TDisplayItem::Image);
    EXPECT_EQ(items[0].target, QRectF(0, 8, 6000, 4000));

    // Tiled, the columns and rows cover the rectangle.
    back.SetMode(BackTiled);
    back.SetDpi(300);
    back.PreparePrint({});
    EXPECT_EQ(back.PrintPictureSize(), QSize(1440, 960));
    EXPECT_EQ(back.TileCount(), QSize(5, 5));
}

TEST(PageBackground, ANewPictureChoosesItsMode)
{
    const TGraphic graphic = bitmapGraphic(4, 4);
    struct Case
    {
        quint8 before, after;
    };
    for (const Case c :
         {Case{BackNone, BackFitted}, Case{BackColor, BackFitted}, Case{BackGradient, BackFitted},
          Case{BackTiled, BackTiled}, Case{BackCentred, BackCentred}}) {
        TBackImage back;
        back.SetMode(c.before);
        back.SetDpi(300);
        back.SetGraphic(&graphic);
        EXPECT_EQ(back.Mode(), c.after) << int(c.before);
        EXPECT_EQ(back.Dpi(), 72);
    }
}

TEST(PageBackground, UpsideDownBmpThroughSaveAndLoad)
{
    const TGraphic graphic = bitmapGraphic(6, 4);
    TBackImage back = postcard();
    back.SetUpsideDown(true);
    back.SetGraphic(&graphic);
    const QImage shown = back.Picture();
    EXPECT_EQ(shown, RotateBitmap(graphic.Bitmap.convertToFormat(QImage::Format_RGB888), 2));
    TBackImage again;
    TFrameReader reader(saved(back));
    again.LoadFromStream(reader);
    EXPECT_EQ(reader.Remaining(), 0);
    EXPECT_TRUE(again.UpsideDown());
    EXPECT_EQ(again.Picture(), shown);
}

TEST(PageBackground, RecordsOfEveryMode)
{
    TBackImage gradient;
    gradient.SetMode(BackGradient);
    gradient.SetColor(0x112233);
    gradient.SetColor2(0x445566);
    gradient.SetGradientAngle(135);
    TBackImage again;
    TFrameReader reader(saved(gradient));
    again.LoadFromStream(reader);
    EXPECT_EQ(again.Mode(), BackGradient);
    EXPECT_EQ(again.Color2(), 0x445566u);
    EXPECT_EQ(again.GradientAngle(), 135);

    // After Clear a picture's extension leaves only the mode byte and the upside-down byte.
    TBackImage cleared;
    const TGraphic graphic = bitmapGraphic(3, 3);
    cleared.SetGraphic(&graphic);
    cleared.Clear();
    EXPECT_EQ(saved(cleared), QByteArray("\0\0", 2));

    // Version 300 has no upside-down byte.
    QByteArray old;
    TFrameWriter w(old);
    w.WriteByte(BackColor);
    w.WriteUInt32(0x0000FF);
    VersionScope v(300);
    TBackImage colour;
    TFrameReader r(old);
    colour.LoadFromStream(r);
    EXPECT_EQ(r.Remaining(), 0);
    EXPECT_EQ(colour.Color(), 0x0000FFu);

    // A damaged picture keeps the background as it was.
    QByteArray damaged;
    TFrameWriter d(damaged);
    d.WriteByte(BackFitted);
    WriteInvertedString("jpg", d);
    d.WriteInt32(4);
    d.WriteBytes("\xFF\xD8\xFF\xE0");
    TFrameReader bad(damaged);
    EXPECT_THROW(colour.LoadFromStream(bad), EFrameStreamError);
    EXPECT_EQ(colour.Mode(), BackColor);
}
