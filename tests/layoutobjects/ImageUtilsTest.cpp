// Image toolbox: file types and resolutions, the BMP and JPEG codecs on damaged data, mirrors and turns,
// gradients, the fixed-point resampler, transparent draws and mask regions.
#include "layoutobjects/ImageFiles.h"
#include "layoutobjects/ImageUtils.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

// A byte literal with its embedded zeros, without the terminating one.
template <size_t N>
QByteArray bytesOf(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

QImage rgbImage(int w, int h, std::initializer_list<int> greys)
{
    QImage image(w, h, QImage::Format_RGB888);
    auto it = greys.begin();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x, ++it)
            image.setPixel(x, y, qRgb(*it, *it, *it));
    return image;
}

std::vector<int> greysOf(const QImage& image)
{
    std::vector<int> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            out.push_back(qRed(image.pixel(x, y)));
    return out;
}

QImage pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 40 % 256, y * 70 % 256, (x * 13 + y * 29) % 256));
    return image;
}

// A 1 × 1 BMP with a 12-byte core header.
QByteArray coreHeaderBmp()
{
    QByteArray b(14 + 12 + 4, '\0');
    b[0] = 'B';
    b[1] = 'M';
    qToLittleEndian<quint32>(quint32(b.size()), b.data() + 2);
    qToLittleEndian<quint32>(26, b.data() + 10);
    qToLittleEndian<quint32>(12, b.data() + 14);
    qToLittleEndian<quint16>(1, b.data() + 18);
    qToLittleEndian<quint16>(1, b.data() + 20);
    qToLittleEndian<quint16>(1, b.data() + 22);
    qToLittleEndian<quint16>(24, b.data() + 24);
    b[26] = char(0x30); // blue
    b[27] = char(0x20);
    b[28] = char(0x10);
    return b;
}

// A JPEG whose JFIF segment says the density and unit.
QByteArray jfifJpeg(int density, int unit)
{
    QByteArray jpeg = EncodeJpeg(pattern(16, 8));
    EXPECT_EQ(jpeg.mid(6, 5), bytesOf("JFIF\0"));
    jpeg[13] = char(unit);
    qToBigEndian<quint16>(quint16(density), jpeg.data() + 14);
    return jpeg;
}

class ImageFolder : public ::testing::Test
{
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST(ImageUtils, FileTypeByExtensionInAnyCase)
{
    const std::pair<const char*, int> cases[] = {{"a.jpeg", 2}, {"a.JPG", 2}, {"a.Jpeg", 2}, {"a.Bmp", 1},
                                                 {"a.bmp", 1},  {"a.gif", -1}, {"a.jpe", -1}, {"bmp", -1}};
    for (const auto& [name, type] : cases)
        EXPECT_EQ(GetImageFileType(QString::fromLatin1(name)), type) << name;
}

TEST_F(ImageFolder, LoadImageWithDpi)
{
    QByteArray bmp96 = WriteBmp(pattern(3, 2), 96);
    ASSERT_EQ(qFromLittleEndian<quint32>(bmp96.constData() + 38), 3780u);
    const QByteArray jfif300 = jfifJpeg(300, 2);
    // A first segment whose length is 0 or 1 ends the scan; the image itself then fails to decode.
    const QByteArray badLength0 = bytesOf("\xFF\xD8\xFF\xE1\x00\x00\xFF\xE0"), badLength1 = bytesOf("\xFF\xD8\xFF\xE1\x00\x01");
    struct Case
    {
        const char* name;
        QByteArray bytes;
        bool loads;
        int dpi;
        bool jpeg;
    };
    const Case cases[] = {
        {"core.bmp", coreHeaderBmp(), true, 72, false},
        {"info.BMP", bmp96, true, 96, false},
        {"dens.jpeg", jfif300, true, 300, true},
        {"bmp-inside.jpg", bmp96, true, 96, false},
        {"length0.jpg", badLength0, false, 72, false},
        {"length1.jpg", badLength1, false, 72, false},
        {"truncated.jpg", jfif300.left(jfif300.size() - 40), false, 300, false},
        {"text.bmp", QByteArray("hello"), false, 72, false},
    };
    for (const Case& c : cases) {
        int dpi = -5;
        const auto graphic = LoadImageWithDpi(write(QString::fromLatin1(c.name), c.bytes), dpi);
        EXPECT_EQ(graphic.has_value(), c.loads) << c.name;
        EXPECT_EQ(dpi, c.dpi) << c.name;
        if (graphic) {
            EXPECT_EQ(graphic->IsJpeg(), c.jpeg) << c.name;
            EXPECT_EQ(graphic->Bitmap.format(), QImage::Format_RGB888) << c.name;
        }
    }
    int dpi = -5;
    const auto jpeg = LoadImageWithDpi(write("keep.jpg", jfif300), dpi);
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->Jpeg, jfif300); // the source bytes as they were
    EXPECT_EQ(jpeg->Bitmap.size(), QSize(16, 8));
    int core = 0;
    EXPECT_EQ(LoadImageWithDpi(write("c.bmp", coreHeaderBmp()), core)->Bitmap.pixel(0, 0), qRgb(0x10, 0x20, 0x30));

    // A .gif is never opened, so a missing one is no error; a missing .bmp is.
    dpi = -5;
    EXPECT_FALSE(LoadImageWithDpi(m_dir.filePath("missing.gif"), dpi));
    EXPECT_EQ(dpi, -5);
    write("real.gif", bmp96);
    EXPECT_FALSE(LoadImageWithDpi(m_dir.filePath("real.gif"), dpi));
    EXPECT_THROW(LoadImageWithDpi(m_dir.filePath("missing.bmp"), dpi), EImageFileError);
}

TEST(ImageFiles, JfifScanStopsOnBadLengths)
{
    const std::pair<QByteArray, int> cases[] = {
        {bytesOf("\xFF\xD8\xFF\xE1\x00\x00\xFF\xE0\x00\x10JFIF\x00\x01\x01\x01\x01\x2C"), 72},
        {bytesOf("\xFF\xD8\xFF\xE1\x00\x01"), 72},
        {bytesOf("\xFF\xD8\xFF\xDA\x00\x04\x00\x00\xFF\xE0"), 72},
        {bytesOf("\xFF\xD8\xFF\xE1\x00\x04\x00\x00\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x96"), 150},
        {bytesOf("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x01\x00\x00"), 72}, // density 0
        {bytesOf("\xFF\xD8\xFF"), 72},
    };
    for (const auto& [bytes, dpi] : cases)
        EXPECT_EQ(JfifDpi(bytes), dpi) << bytes.toHex().constData();
}

TEST(ImageFiles, BmpRoundTripAndDamage)
{
    const QImage picture = pattern(5, 3);
    const QByteArray bmp = WriteBmp(picture, 300);
    EXPECT_EQ(ReadBmp(bmp), picture);
    EXPECT_EQ(BmpDpi(bmp), 300);
    EXPECT_EQ(BmpFileLength(bmp + "trailing"), bmp.size());

    // Stored top-down: the same picture.
    QByteArray topDown = bmp;
    qToLittleEndian<qint32>(-3, topDown.data() + 22);
    EXPECT_EQ(ReadBmp(topDown), picture.mirrored(false, true));

    const auto damaged = [&](auto change) {
        QByteArray b = bmp;
        change(b);
        return ReadBmp(b).isNull();
    };
    EXPECT_TRUE(damaged([](QByteArray& b) { b.chop(1); }));                                       // claims more
    EXPECT_TRUE(damaged([](QByteArray& b) { qToLittleEndian<qint32>(0x7FFF, b.data() + 18); })); // width × bits
    EXPECT_TRUE(damaged([](QByteArray& b) { qToLittleEndian<qint32>(0, b.data() + 22); }));
    EXPECT_TRUE(damaged([](QByteArray& b) { qToLittleEndian<quint16>(7, b.data() + 28); }));  // bits
    EXPECT_TRUE(damaged([](QByteArray& b) { qToLittleEndian<quint32>(1, b.data() + 30); }));  // run lengths
    EXPECT_TRUE(damaged([](QByteArray& b) { qToLittleEndian<quint32>(99, b.data() + 14); })); // header size
    EXPECT_EQ(BmpFileLength(bmp.left(bmp.size() - 1)), -1);

    // A 1-bit picture with its two-colour table.
    QByteArray mono(14 + 40 + 8 + 4, '\0');
    mono[0] = 'B';
    mono[1] = 'M';
    qToLittleEndian<quint32>(quint32(mono.size()), mono.data() + 2);
    qToLittleEndian<quint32>(62, mono.data() + 10);
    qToLittleEndian<quint32>(40, mono.data() + 14);
    qToLittleEndian<qint32>(3, mono.data() + 18);
    qToLittleEndian<qint32>(1, mono.data() + 22);
    qToLittleEndian<quint16>(1, mono.data() + 28);
    mono[58] = mono[59] = mono[60] = char(0xFF); // colour 1 white
    mono[62] = char(0xA0);                       // 1 0 1
    EXPECT_EQ(greysOf(ReadBmp(mono)), (std::vector<int>{255, 0, 255}));
}

TEST(ImageFiles, JpegRefusesDamage)
{
    const QByteArray jpeg = EncodeJpeg(pattern(32, 16));
    EXPECT_EQ(DecodeJpeg(jpeg).size(), QSize(32, 16));
    EXPECT_TRUE(DecodeJpeg(jpeg.left(jpeg.size() / 2)).isNull()); // decodes only with a warning
    EXPECT_TRUE(DecodeJpeg(bytesOf("\xFF\xD8garbage")).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
}

TEST(ImageUtils, FlipAndRotate)
{
    const QImage image = pattern(3, 2);
    EXPECT_TRUE(RotateBitmap(image, 3).isNull());
    for (int kind : {0, 1})
        EXPECT_EQ(RotateBitmap(image, kind).size(), QSize(2, 3));
    EXPECT_EQ(RotateBitmap(RotateBitmap(image, 0), 1), image);
    // Kind 0 turns counter-clockwise: the top-right pixel goes to the top-left.
    EXPECT_EQ(RotateBitmap(image, 0).pixel(0, 0), image.pixel(2, 0));
    EXPECT_EQ(RotateBitmap(image, 1).pixel(1, 0), image.pixel(0, 0));
    EXPECT_EQ(RotateBitmap(image, 2), image.mirrored(true, true));
    EXPECT_EQ(FlipBitmap(image, 1), image.mirrored(true, false));
    EXPECT_EQ(FlipBitmap(image, 0), image.mirrored(false, true));

    // Each pixel format moves whole pixels.
    for (QImage::Format format : {QImage::Format_Mono, QImage::Format_Indexed8, QImage::Format_RGB16,
                                  QImage::Format_RGB32}) {
        const QImage converted = pattern(5, 3).convertToFormat(format);
        const auto rgb = [](const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); };
        const QImage turned = RotateBitmap(converted, 1);
        EXPECT_EQ(turned.format(), format);
        EXPECT_EQ(rgb(turned), rgb(converted.transformed(QTransform().rotate(90)))) << format;
        EXPECT_EQ(rgb(FlipBitmap(converted, 1)), rgb(converted.mirrored(true, false))) << format;
    }
    EXPECT_TRUE(FlipBitmap(QImage(2, 2, QImage::Format_RGBA64), 1).isNull());
}

TEST(ImageUtils, GradientRows)
{
    QImage plain(4, 3, QImage::Format_RGB888);
    GradientFillBitmap(plain, 45, 0x00332211, 0x00332211);
    EXPECT_EQ(plain.pixel(3, 2), qRgb(0x11, 0x22, 0x33));

    QImage grey(2, 256, QImage::Format_RGB888);
    GradientFillBitmap(grey, 0, 0xFFFFFF, 0);
    for (int d = 0; d < 256; ++d)
        ASSERT_EQ(grey.pixel(1, d), qRgb(255 - d, 255 - d, 255 - d)) << d;

    QImage one(5, 1, QImage::Format_RGB32);
    GradientFillBitmap(one, 0, 0x0000FF, 0xFF0000);
    EXPECT_EQ(one.pixel(4, 0), qRgb(255, 0, 0));

    QImage upside(1, 3, QImage::Format_RGB888);
    GradientFillBitmap(upside, 180, 0x0000FF, 0);
    EXPECT_EQ(greysOf(upside), (std::vector<int>{0, 127, 255}));

    QImage right(3, 2, QImage::Format_RGB888);
    GradientFillBitmap(right, 270, 0xC8C8C8, 0);
    EXPECT_EQ(greysOf(right), (std::vector<int>{0, 100, 200, 0, 100, 200}));

    // 45°: tan is just below 1, so D = 3 + 3 - 1 but E = 2 + 3 - 1.
    QImage diagonal(3, 3, QImage::Format_RGB888);
    GradientFillBitmap(diagonal, 45, 0xFFFFFF, 0);
    EXPECT_EQ(greysOf(diagonal), (std::vector<int>{255, 204, 153, 191, 140, 89, 127, 76, 25}));
}

TEST(ImageUtils, BicubicWeightsRoundTowardZero)
{
    EXPECT_EQ(BicubicWeights(65536, 1.0), (std::array<qint32, 4>{0, 65536, 0, 0}));
    EXPECT_EQ(BicubicWeights(65536, 1.5), (std::array<qint32, 4>{-8191, 40960, 40960, -8191}));
}

TEST(ImageUtils, ResamplerOnTinyImages)
{
    // Own size: unchanged, whatever the mode.
    const QImage picture = pattern(4, 3);
    for (int mode : {0, 1, 2}) {
        QImage copy = picture;
        StretchBitmap(copy, nullptr, 4, 3, mode);
        EXPECT_EQ(copy, picture) << mode;
    }
    // 1 × 1 and 2 × 2 enlargements: every tap outside falls on the edge pixels.
    for (int mode : {0, 1, 2}) {
        QImage dot = rgbImage(1, 1, {77});
        StretchBitmap(dot, nullptr, 3, 3, mode);
        EXPECT_EQ(greysOf(dot), std::vector<int>(9, 77)) << mode;
    }
    QImage linear = rgbImage(2, 1, {0, 255});
    StretchBitmap(linear, nullptr, 4, 1, 0);
    EXPECT_EQ(greysOf(linear), (std::vector<int>{0, 64, 191, 255}));

    QImage square = rgbImage(2, 2, {10, 20, 30, 40});
    QImage bicubic = square, area = square;
    StretchBitmap(bicubic, nullptr, 4, 4, 1);
    StretchBitmap(area, nullptr, 4, 4, 2); // an enlargement in mode 2 is bicubic
    EXPECT_EQ(area, bicubic);
    const std::vector<int> big = greysOf(bicubic);
    EXPECT_EQ(big[0], 10);
    EXPECT_EQ(big[3], 20);
    EXPECT_EQ(big[12], 30);
    EXPECT_EQ(big[15], 40);

    // A hard edge overshoots: the filter clamps instead of wrapping.
    QImage edge = rgbImage(4, 1, {0, 0, 255, 255});
    StretchBitmap(edge, nullptr, 16, 1, 1);
    const std::vector<int> row = greysOf(edge);
    EXPECT_EQ(row.front(), 0);
    EXPECT_EQ(row.back(), 255);
    EXPECT_TRUE(std::is_sorted(row.begin(), row.end()));

    // Area average of 2 × 2 blocks.
    QImage blocks = rgbImage(4, 2, {10, 20, 100, 100, 30, 40, 100, 100});
    StretchBitmap(blocks, nullptr, 2, 1, 2);
    EXPECT_EQ(greysOf(blocks), (std::vector<int>{25, 100}));
}

TEST(ImageUtils, StretchIntoTargetRectangle)
{
    QImage source = rgbImage(2, 2, {50, 50, 50, 50});
    QImage target(5, 5, QImage::Format_RGB888);
    target.fill(Qt::white);
    // The right half of a 4 × 4 scaling, written from (1, 2) on.
    StretchBitmapRect(source, &target, 4, 4, TRect{2, 0, 4, 3}, QPoint(1, 2), 0);
    EXPECT_EQ(qRed(target.pixel(1, 2)), 50);
    EXPECT_EQ(qRed(target.pixel(2, 4)), 50);
    EXPECT_EQ(qRed(target.pixel(0, 2)), 255);
    EXPECT_EQ(qRed(target.pixel(3, 2)), 255);
    // Arguments that do not fit change nothing.
    const QImage before = target;
    StretchBitmapRect(source, &target, 4, 4, TRect{0, 0, 5, 4}, QPoint(0, 0), 0);
    StretchBitmapRect(source, &target, 4, 4, TRect{0, 0, 4, 4}, QPoint(2, 0), 0);
    StretchBitmapRect(source, &target, 4, 4, TRect{-1, 0, 4, 4}, QPoint(0, 0), 0);
    EXPECT_EQ(target, before);
}

TEST(ImageUtils, TransparentDrawsAndRegions)
{
    QImage mask(5, 2, QImage::Format_Mono);
    mask.fill(1);
    mask.setPixel(1, 0, 0);
    mask.setPixel(2, 0, 0);
    mask.setPixel(4, 1, 0);
    const QRegion region = BitmapToRegion(mask);
    EXPECT_EQ(region, QRegion(1, 0, 2, 1) + QRegion(4, 1, 1, 1));

    const QImage image = rgbImage(2, 1, {255, 0});
    for (bool clipped : {false, true}) {
        QImage canvas(4, 2, QImage::Format_RGB32);
        canvas.fill(qRgb(9, 9, 9));
        {
            QPainter painter(&canvas);
            if (clipped)
                DrawTransparentClipped(painter, image, 0xFFFFFF, TRect{0, 0, 4, 2});
            else
                DrawTransparent(painter, image, 0xFFFFFF, TRect{0, 0, 4, 2});
        }
        EXPECT_EQ(canvas.pixel(1, 1), qRgb(9, 9, 9)) << clipped; // white is transparent
        EXPECT_EQ(canvas.pixel(3, 0), qRgb(0, 0, 0)) << clipped;
    }
    // A 4000 × 3000 picture over an A4 page width at 600 dpi keeps to 8 MB of rows.
    EXPECT_LE(TransparentStripBytes(4800, 3600), 8388608);
    EXPECT_LE(MaskedStripBytes(4800, 3600), 8388608);
}
