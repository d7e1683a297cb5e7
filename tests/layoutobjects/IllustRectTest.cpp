// Illustration frame: the picture's JPEG bytes and their mirror and turn bytes through save and load, older
// records, cut-out versus transparent colour, the cut-out through resizes, the print copy, the shipped
// cut-out shapes and the masked draws.
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/ImageFiles.h"

#include "support/DrawingFixture.h"

#include <QPainter>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

struct VersionScope
{
    explicit VersionScope(int version) { LoadedFileVersion = version; }
    ~VersionScope() { LoadedFileVersion = CurrentFileVersion; }
};

// A picture whose every pixel differs from its mirror images and turns.
QImage asymmetric(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           qRgb(x * 255 / qMax(1, w - 1), y * 255 / qMax(1, h - 1), x < w / 3 ? 200 : 20));
    return image;
}

TGraphic jpegGraphic(int w, int h)
{
    TGraphic g;
    g.Jpeg = EncodeJpeg(asymmetric(w, h));
    g.Bitmap = DecodeJpeg(g.Jpeg);
    return g;
}

QByteArray saved(const TDrawRect& frame)
{
    QByteArray bytes;
    TFrameWriter writer(bytes);
    frame.SaveToStream(writer);
    return bytes;
}

void load(TDrawRect& frame, const QByteArray& bytes)
{
    TFrameReader reader(bytes);
    frame.LoadFromStream(reader);
    EXPECT_EQ(reader.Remaining(), 0);
}

// A record with no picture in the form of an older version.
QByteArray oldRecord(int version, const TRect& design, qint32 frameIndex, quint32 color)
{
    QByteArray bytes;
    TFrameWriter w(bytes);
    for (qint32 v : {design.left, design.top, design.right, design.bottom})
        w.WriteInt32(v);
    if (version > 200)
        w.WriteByte(1);
    WriteInvertedString({}, w);
    w.WriteInt32(0);
    w.WriteInt32(frameIndex);
    if (version > 200)
        for (qint32 v : {1, 2, 3, 4})
            w.WriteInt32(v);
    w.WriteUInt32(color);
    TRectFrame().SaveToStream(w);
    if (version > 300)
        w.WriteByte(0);
    return bytes;
}

class ShippedMasks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearFrameMetafileNames();
        AddStandardFrameMetafileNames(TOVAREL_PROGRAM_DIR);
    }
    void TearDown() override { ClearFrameMetafileNames(); }
};

} // namespace

TEST(IllustFrame, JpegBytesAndTheirTransformSurviveSaveAndLoad)
{
    const TGraphic graphic = jpegGraphic(12, 7);
    TIllustRect frame;
    frame.SetDesignRect({10, 10, 110, 70});
    frame.SetGraphic(&graphic);
    EXPECT_EQ(frame.Extension(), "jpg");
    frame.Flip(1);
    frame.Rotate(1);
    EXPECT_EQ(frame.Transform().flipVertical, 0);
    EXPECT_EQ(frame.Transform().flipHorizontal, 1);
    EXPECT_EQ(frame.Transform().turn, TurnRight);
    const QImage shown = frame.GetBitmap();
    EXPECT_EQ(shown.size(), QSize(7, 12));

    TIllustRect again;
    load(again, saved(frame));
    EXPECT_EQ(again.JpegSource(), graphic.Jpeg);
    EXPECT_EQ(again.GetBitmap(), shown);
    EXPECT_EQ(again.Transform().flipHorizontal, 1);
    EXPECT_EQ(again.Transform().turn, TurnRight);
}

TEST(IllustFrame, MirrorAndTurnBytes)
{
    struct Step
    {
        char op; // 'f' flip, 'r' rotate
        int arg;
        quint8 v, h, turn;
    };
    const std::vector<Step> steps = {
        {'f', 0, 1, 0, 3}, {'f', 1, 0, 0, 2}, {'f', 0, 1, 0, 2}, {'f', 1, 0, 0, 3}, // both ways twice
        {'r', 0, 0, 0, 0}, {'r', 0, 0, 0, 2}, {'r', 1, 0, 0, 0}, {'r', 2, 0, 0, 1},
        {'f', 1, 0, 1, 0}, {'r', 1, 0, 1, 3}, {'f', 0, 0, 0, 2}, // a quarter turn swaps
    };
    const TGraphic graphic = jpegGraphic(6, 4);
    TIllustRect frame;
    frame.SetGraphic(&graphic);
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        if (s.op == 'f')
            frame.Flip(quint8(s.arg));
        else
            frame.Rotate(s.arg);
        const TPictureTransform& t = frame.Transform();
        EXPECT_EQ(std::tuple(t.flipVertical, t.flipHorizontal, t.turn), std::tuple(s.v, s.h, s.turn)) << i;
    }
    // Whatever the steps, the bytes replayed on the JPEG give the picture shown.
    TIllustRect again;
    load(again, saved(frame));
    EXPECT_EQ(again.GetBitmap(), frame.GetBitmap());

    TIllustRect empty;
    empty.Flip(0);
    empty.Rotate(1);
    EXPECT_TRUE(empty.GetBitmap().isNull());
    EXPECT_EQ(empty.Transform().turn, TurnNone);
}

TEST(IllustFrame, OlderRecords)
{
    const TRect design{20, 30, 220, 130};
    {
        VersionScope v(200);
        TIllustRect frame;
        load(frame, oldRecord(200, design, 2, NoTransparentColor));
        EXPECT_EQ(frame.ImageRect(), design);
        EXPECT_FALSE(frame.UpsideDown());
        EXPECT_EQ(frame.FrameIndex(), 3);
    }
    {
        VersionScope v(250);
        TIllustRect frame;
        load(frame, oldRecord(250, design, 3, NoTransparentColor));
        EXPECT_EQ(frame.FrameIndex(), 4);
        EXPECT_EQ(frame.ImageRect(), (TRect{1, 2, 3, 4}));
    }
    {
        VersionScope v(300);
        TIllustRect frame;
        load(frame, oldRecord(300, design, 3, NoTransparentColor));
        EXPECT_EQ(frame.FrameIndex(), 3);
    }
    // A stored colour wins over a stored cut-out.
    TIllustRect frame;
    load(frame, oldRecord(600, design, 5, 0x00FF00));
    EXPECT_EQ(frame.FrameIndex(), -1);
    EXPECT_EQ(frame.TransparentColor(), 0x00FF00u);
}

TEST(IllustFrame, DamagedPictureIsRefusedAndTheFrameKept)
{
    const TGraphic graphic = jpegGraphic(8, 8);
    TIllustRect frame;
    frame.SetDesignRect({0, 0, 50, 50});
    frame.SetGraphic(&graphic);
    const QByteArray good = saved(frame);
    const qsizetype jpegAt = good.indexOf(graphic.Jpeg);
    ASSERT_GT(jpegAt, 0);

    QByteArray truncated = good.left(jpegAt + graphic.Jpeg.size() / 2);
    QByteArray garbled = good;
    garbled.replace(jpegAt, 16, QByteArray(16, '\x55'));
    // A BMP whose header claims more than the record holds.
    TIllustRect bmpFrame;
    TGraphic bmp;
    bmp.Bitmap = asymmetric(5, 3);
    bmpFrame.SetGraphic(&bmp);
    QByteArray longBmp = saved(bmpFrame);
    const qsizetype bmAt = longBmp.indexOf("BM");
    qToLittleEndian<quint32>(0x7FFFFFF0, longBmp.data() + bmAt + 2);

    for (const QByteArray& bad : {truncated, garbled, longBmp}) {
        TIllustRect target;
        target.SetGraphic(&bmp);
        const QByteArray before = saved(target);
        TFrameReader reader(bad);
        try {
            target.LoadFromStream(reader);
            ADD_FAILURE() << "loaded a damaged picture";
        } catch (const EFrameStreamError& e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), QString::fromUtf8(ImageLoadErrorText));
        }
        EXPECT_EQ(saved(target), before);
    }
}

TEST(IllustFrame, PixelsUnderAJpegNameWithoutBytesStillReadBack)
{
    TGraphic bmp;
    bmp.Bitmap = asymmetric(9, 9);
    TIllustRect frame;
    frame.SetGraphic(&bmp);
    frame.SetExtension("JPEG");
    EXPECT_EQ(frame.Extension(), "jpeg");
    TIllustRect again;
    load(again, saved(frame));
    EXPECT_EQ(again.GetBitmap().size(), QSize(9, 9));
    EXPECT_FALSE(again.JpegSource().isEmpty());

    // A picture mode without pixels saves no extension.
    TIllustRect named;
    named.SetExtension("bmp");
    TIllustRect back;
    load(back, saved(named));
    EXPECT_TRUE(back.Extension().isEmpty());
}

TEST_F(ShippedMasks, CutOutAndTransparentColourExcludeEachOther)
{
    TIllustRect frame;
    frame.SetFrameIndex(3);
    EXPECT_FALSE(frame.FramePicture().IsNull());
    EXPECT_TRUE(frame.HasScreenMask());
    frame.SetTransparentColor(0xFFFFFF);
    EXPECT_EQ(frame.FrameIndex(), -1);
    EXPECT_TRUE(frame.FramePicture().IsNull());
    EXPECT_TRUE(frame.HasScreenMask());
    frame.SetFrameIndex(0);
    EXPECT_EQ(frame.TransparentColor(), NoTransparentColor);
    frame.SetFrameIndex(-1);
    EXPECT_FALSE(frame.HasScreenMask());
    // An index the list does not hold keeps the index without a picture.
    frame.SetFrameIndex(40);
    EXPECT_EQ(frame.FrameIndex(), 40);
    EXPECT_TRUE(frame.FramePicture().IsNull());
}

TEST_F(ShippedMasks, ThirteenShapesInTheirSlots)
{
    ASSERT_EQ(FrameMetafileNames().size(), FrameMetafileCount);
    for (int i = 0; i < FrameMetafileCount; ++i) {
        EXPECT_TRUE(FrameMetafileNames()[i].endsWith(
            QStringLiteral("Common/Mask/Itm%1.svg").arg(i + 1, 2, 10, QChar(u'0'))));
        const TMaskPicture mask = TMaskPicture::FromFile(FrameMetafileNames()[i]);
        ASSERT_FALSE(mask.IsNull()) << i;
        // Every shape covers the centre and leaves a corner out.
        const QImage c = mask.Coverage(100, 100, 0, QRectF(0, 0, 100, 100), true);
        EXPECT_EQ(c.pixelColor(50, 55).alpha(), 255) << i;
        EXPECT_EQ(c.pixelColor(1, 1).alpha(), 0) << i;
    }
}

TEST(IllustFrame, ResizeKeepsTheCutOutsPlace)
{
    TIllustRect frame;
    frame.SetDesignRect({100, 100, 300, 200});
    EXPECT_EQ(frame.ImageRect(), (TRect{100, 100, 300, 200}));
    frame.SetImageScreenRect({150, 120, 250, 180});
    frame.SetDesignRect({100, 100, 500, 200});
    EXPECT_EQ(frame.ImageRect(), (TRect{200, 120, 400, 180}));
    frame.SetDesignRect({0, 0, 400, 100});
    EXPECT_EQ(frame.ImageRect(), (TRect{100, 20, 300, 80}));
    // Through the screen at zoom 2.
    frame.SetZoom(2);
    EXPECT_EQ(frame.ImageScreenRect(), (TRect{200, 40, 600, 160}));
    frame.SetScreenRect({0, 0, 400, 400});
    EXPECT_EQ(frame.ImageRect(), (TRect{50, 40, 150, 160}));
}

TEST(IllustFrame, WhenAPrintCopyIsMade)
{
    TScopedPrinter printer(96);
    TGraphic bmp;
    bmp.Bitmap = asymmetric(200, 100);
    struct Case
    {
        TRect design;
        quint32 transparent;
        bool copy;
    };
    const Case cases[] = {{{0, 0, 150, 80}, NoTransparentColor, true},
                          {{0, 0, 200, 80}, NoTransparentColor, false},
                          {{0, 0, 150, 100}, NoTransparentColor, false},
                          {{0, 0, 150, 80}, 0xFFFFFF, false}};
    for (const Case& c : cases) {
        TIllustRect frame;
        frame.SetDesignRect(c.design);
        frame.SetGraphic(&bmp);
        frame.SetTransparentColor(c.transparent);
        frame.CalcPrintRect({}, true);
        EXPECT_EQ(!frame.PrintCopy().isNull(), c.copy) << c.design.right << " " << c.design.bottom;
        if (c.copy)
            EXPECT_EQ(frame.PrintCopy().size(), QSize(c.design.Width(), c.design.Height()));
        frame.FreePrintCache();
        EXPECT_TRUE(frame.PrintCopy().isNull());
    }
}

TEST(IllustFrame, AssignCopiesAllButSmoothingAndPrintCopy)
{
    const TGraphic graphic = jpegGraphic(10, 10);
    TIllustRect source;
    source.SetDesignRect({0, 0, 90, 90});
    source.SetGraphic(&graphic);
    source.Rotate(2);
    source.SetResolution(300);
    source.SetFrameIndex(2);
    source.SetSmoothScaling(true);
    source.SetLimitedPrinter(true);
    source.Frame().SetFrameVisible(true);
    TIllustRect copy;
    copy.Assign(source);
    EXPECT_EQ(copy.JpegSource(), graphic.Jpeg);
    EXPECT_EQ(copy.GetBitmap(), source.GetBitmap());
    EXPECT_EQ(copy.Transform().turn, TurnHalf);
    EXPECT_EQ(copy.Resolution(), 300);
    EXPECT_EQ(copy.FrameIndex(), 2);
    EXPECT_TRUE(copy.LimitedPrinter());
    EXPECT_TRUE(copy.Frame().FrameVisible());
    EXPECT_FALSE(copy.SmoothScaling());
}

TEST(IllustFrame, MaskHandleZonesAndCursors)
{
    TIllustRect frame;
    frame.SetDesignRect({0, 0, 200, 200});
    frame.SetImageScreenRect({10, 10, 110, 60});
    EXPECT_EQ(frame.GetMaskHandleZone(10, 10), quint16(ZoneLeft | ZoneTop << 8));
    EXPECT_EQ(frame.GetMaskCursorAt(10, 10), CursorSizeNWSE);
    EXPECT_EQ(frame.GetMaskCursorAt(109, 10), CursorSizeNESW);
    EXPECT_EQ(frame.GetMaskCursorAt(60, 59), CursorSizeNS);
    EXPECT_EQ(frame.GetMaskCursorAt(10, 35), CursorSizeWE);
    EXPECT_EQ(frame.GetMaskCursorAt(40, 25), CursorSizeAll);
    EXPECT_EQ(frame.GetMaskCursorAt(150, 150), CursorDefault);
}

TEST_F(ShippedMasks, MaskedDrawsShowThePictureInsideTheShapeOnly)
{
    const TMaskPicture circle = TMaskPicture::FromFile(FrameMetafileNames()[0]);
    QImage red(40, 40, QImage::Format_RGB888);
    red.fill(Qt::red);
    const TRect target{10, 10, 110, 110};
    const TRect maskRect{0, 0, 100, 100};
    for (const bool clipped : {false, true}) {
        QImage canvas(120, 120, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            if (clipped)
                DrawClippedByMetafile(painter, red, circle, maskRect, target);
            else
                DrawMaskedByMetafile(painter, red, circle, maskRect, target);
        }
        EXPECT_EQ(canvas.pixelColor(60, 60), QColor(Qt::red)) << clipped;
        EXPECT_EQ(canvas.pixelColor(14, 14), QColor(Qt::white)) << clipped;
        EXPECT_EQ(canvas.pixelColor(5, 60), QColor(Qt::white)) << clipped;
    }
    // A missing cut-out picture hides the whole picture.
    QImage canvas(120, 120, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        DrawMaskedByMetafile(painter, red, TMaskPicture(), maskRect, target);
    }
    EXPECT_EQ(canvas.pixelColor(60, 60), QColor(Qt::white));
}

TEST_F(ShippedMasks, ScreenDrawOfACutOut)
{
    TGraphic bmp;
    bmp.Bitmap = QImage(20, 20, QImage::Format_RGB888);
    bmp.Bitmap.fill(Qt::blue);
    TIllustRect frame;
    frame.SetDesignRect({0, 0, 100, 100});
    frame.SetGraphic(&bmp);
    frame.SetFrameIndex(0);
    QImage canvas(100, 100, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        frame.Draw(painter, 0, 0);
    }
    EXPECT_EQ(canvas.pixelColor(50, 50), QColor(Qt::blue));
    EXPECT_EQ(canvas.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_FALSE(frame.ScreenCache().isNull());
    frame.SetTransparentColor(0xFF0000); // blue as a stored colour value
    EXPECT_TRUE(frame.ScreenCache().isNull());
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        frame.Draw(painter, 0, 0);
    }
    EXPECT_EQ(canvas.pixelColor(50, 50), QColor(Qt::white));
}
