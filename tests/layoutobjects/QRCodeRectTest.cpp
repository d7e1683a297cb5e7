// QR code frame: the composed texts of every content kind, the pictures (read back with zbarimg), their
// sizes at screen and printer resolution, the stale marks of the setters and the stream records.
#include "layoutobjects/QRCodeRect.h"

#include "support/DrawingFixture.h"
#include "support/ToolRun.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct VersionScope
{
    explicit VersionScope(int version) { LoadedFileVersion = version; }
    ~VersionScope() { LoadedFileVersion = CurrentFileVersion; }
};

AnsiString A(const char* utf8)
{
    return ToAnsi(QString::fromUtf8(utf8));
}

// What zbarimg reads from the picture, in UTF-8 without its final line break.
QString scanned(const QImage& image)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("qr.png");
    EXPECT_TRUE(image.save(file));
    const ToolRun run = RunTool("zbarimg", {"--raw", "-q", file});
    QString text = QString::fromUtf8(run.out);
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

TEST(QRCodeFrame, ComposedTextOfEveryKind)
{
    const struct
    {
        quint8 kind;
        std::function<void(TQRCodeRect&)> fill;
        const char* text;
    } cases[] = {
        {QRFreeText, [](TQRCodeRect& f) { f.SetText("a;b:\\"); }, "a;b:\\"},
        {QRContactCard, [](TQRCodeRect& f) { f.SetName("A;B"); }, "MECARD:N:A\\;B;;"},
        {QRContactCard,
         [](TQRCodeRect& f) {
             f.SetName("Yamada,Taro");
             f.SetNameReading(A("ﾔﾏﾀﾞ"));
             f.SetTel(1, "0312345678");
             f.SetMail(0, "a:b@example.jp");
             f.SetMemo("x,y");
         },
         "MECARD:N:Yamada\\,Taro;SOUND:ﾔﾏﾀﾞ;TEL:0312345678;EMAIL:a\\:b@example.jp;NOTE:x,y;;"},
        {QRContactCard, [](TQRCodeRect&) {}, ""},
        {QRPhoneBook,
         [](TQRCodeRect& f) {
             f.SetName("N;1");
             f.SetTel(1, "090");
             f.SetMail(0, "m@x");
             f.SetMail(1, "n@x");
             f.SetMemo("memo");
         },
         "MEMORY:memo\r\nNAME1:N;1\r\nTEL1:090\r\nMAIL1:m@x\r\nMAIL2:n@x\r\n"},
        {QRPhoneBook, [](TQRCodeRect& f) { f.SetMemo("memo"); }, ""},
        {QRMailMessage,
         [](TQRCodeRect& f) {
             f.SetMailTo("to@x");
             f.SetBody("a,b;c");
         },
         "MATMSG:TO:to@x;BODY:a,b\\;c;;"},
        {QRMailLink,
         [](TQRCodeRect& f) {
             f.SetMailTo("to@x");
             f.SetSubject("s");
             f.SetBody("b");
         },
         "MAILTO:to@x\r\nBODY:b\r\nSUBJECT:s\r\n"},
        {QRMailLink,
         [](TQRCodeRect& f) {
             f.SetSubject("s");
             f.SetBody("b");
         },
         ""},
    };
    for (const auto& c : cases) {
        TQRCodeRect frame;
        frame.SetContentKind(c.kind);
        c.fill(frame);
        EXPECT_EQ(frame.ComposedText(), A(c.text)) << c.text;
        EXPECT_EQ(frame.ComposeText(96), c.text[0] != 0);
    }
}

TEST(QRCodeFrame, EscapingWalksCharacters)
{
    // ソ is 83 5C in CP932: its trail byte is no backslash.
    EXPECT_EQ(EscapeMeCardField(A("ソ\\:;,"), true), A("ソ\\\\\\:\\;\\,"));
    EXPECT_EQ(EscapeMeCardField(A("ソ,"), false), A("ソ,"));
}

TEST(QRCodeFrame, PictureReadsBackAndSizesTheFrame)
{
    TQRCodeRect frame;
    frame.SetDesignRect({100, 100, 100, 100});
    frame.SetText(A("山田太郎 TEL:03-1234-5678"));
    frame.UpdateImage(false);
    ASSERT_FALSE(frame.Image().isNull());
    EXPECT_EQ(scanned(frame.Image()), QStringLiteral("山田太郎 TEL:03-1234-5678"));
    // Whole modules of 3 pixels, 4 of them quiet on each side; the corner stays when there was no size.
    const int side = frame.Image().width();
    EXPECT_EQ(side % 3, 0);
    EXPECT_EQ((side / 3 - 8 - 17) % 4, 0);
    EXPECT_EQ(frame.GetDesignRect(), (TRect{100, 100, 100 + side, 100 + side}));
    EXPECT_TRUE(frame.ImageCurrent());

    // A new size is centred on the old rectangle.
    frame.SetModuleSize(2);
    EXPECT_FALSE(frame.ImageCurrent());
    frame.UpdateImage(false);
    const int small = side / 3 * 2;
    const int left = 100 + (side - small) / 2;
    EXPECT_EQ(frame.GetDesignRect(), (TRect{left, left, left + small, left + small}));

    // Colours: palette 0 light, 1 dark; upside down turns the picture.
    frame.SetForeColor(0x0000FF);
    frame.SetBackColor(0xFFFF00);
    frame.UpdateImage(false);
    EXPECT_EQ(frame.Image().color(0), qRgb(0, 0xFF, 0xFF));
    EXPECT_EQ(frame.Image().color(1), qRgb(0xFF, 0, 0));
    const QImage upright = frame.Image();
    frame.SetUpsideDown(true);
    frame.UpdateImage(false);
    EXPECT_EQ(frame.Image(), upright.transformed(QTransform().rotate(180)));
    EXPECT_EQ(scanned(frame.Image()), QStringLiteral("山田太郎 TEL:03-1234-5678"));
}

TEST(QRCodeFrame, EmptyTextGivesALightSquare)
{
    TQRCodeRect frame;
    frame.SetContentKind(QRMailLink);
    frame.SetBody("b");
    frame.SetUpsideDown(true);
    frame.UpdateImage(true);
    ASSERT_FALSE(frame.Image().isNull());
    const QImage rgb = frame.Image().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); y += 7)
        for (int x = 0; x < rgb.width(); x += 7)
            ASSERT_EQ(rgb.pixel(x, y), qRgb(255, 255, 255));
    EXPECT_EQ(frame.GetDesignRect().Width(), (21 + 8) * 3);
}

TEST(QRCodeFrame, SettersMarkStaleOnlyWhereTheKindUsesThem)
{
    TQRCodeRect frame;
    frame.UpdateImage(false);
    const auto stale = [&](const std::function<void()>& change) {
        frame.UpdateImage(false);
        change();
        return !frame.ImageCurrent();
    };
    EXPECT_TRUE(stale([&] { frame.SetText("x"); }));
    EXPECT_FALSE(stale([&] { frame.SetText("x"); })); // unchanged
    EXPECT_FALSE(stale([&] { frame.SetName("n"); }));
    EXPECT_FALSE(stale([&] { frame.SetMailTo("m"); }));
    EXPECT_TRUE(stale([&] { frame.SetContentKind(QRPhoneBook); }));
    EXPECT_TRUE(stale([&] { frame.SetTel(1, "1"); }));
    EXPECT_FALSE(stale([&] { frame.SetText("y"); }));
    EXPECT_FALSE(stale([&] { frame.SetBody("b"); }));
    EXPECT_TRUE(stale([&] { frame.SetContentKind(QRMailLink); }));
    EXPECT_TRUE(stale([&] { frame.SetSubject("s"); }));
    EXPECT_FALSE(stale([&] { frame.SetMemo("m"); }));
    EXPECT_TRUE(stale([&] { frame.SetUpsideDown(true); }));
    EXPECT_EQ(frame.GetTel(1), AnsiString("1"));
}

class QRCodePrint : public DrawingTest
{
};

TEST_F(QRCodePrint, PrinterResolutionWhilePrinting)
{
    TScopedPrinter printer(600);
    TQRCodeRect frame;
    frame.SetText("ABC");
    frame.UpdateImage(false);
    const TRect screen = frame.GetDesignRect();
    frame.CalcPrintRect(QPoint(0, 0), true);
    // 3 pixels at 96 dpi are round(18.75) = 19 at 600.
    EXPECT_EQ(frame.Image().width(), 29 * 19);
    frame.EndPrinting();
    EXPECT_EQ(frame.Image().width(), 29 * 3);
    EXPECT_EQ(frame.GetDesignRect(), screen);
}

TEST(QRCodeFrame, StreamRecords)
{
    TQRCodeRect frame;
    frame.SetExplicitRect();
    frame.SetDesignRect({1, 2, 3, 4});
    frame.SetContentKind(QRContactCard);
    frame.SetModuleSize(4);
    frame.SetForeColor(0x123456);
    frame.SetName(A("名前"));
    frame.SetTel(1, "0312");
    frame.SetBody("body");
    frame.SetUpsideDown(true);
    QByteArray bytes;
    TFrameWriter writer(bytes);
    frame.SaveToStream(writer);

    const auto load = [](const QByteArray& record) {
        TQRCodeRect f;
        TFrameReader reader(record);
        f.LoadFromStream(reader);
        return f;
    };
    const TQRCodeRect back = load(bytes);
    EXPECT_EQ(back.ContentKind(), QRContactCard);
    EXPECT_EQ(back.ModuleSize(), 4);
    EXPECT_EQ(back.ForeColor(), 0x123456u);
    EXPECT_EQ(back.BackColor(), 0xFFFFFFu);
    EXPECT_EQ(back.Name(), A("名前"));
    EXPECT_EQ(back.GetTel(1), AnsiString("0312"));
    EXPECT_EQ(back.Body(), AnsiString("body"));
    EXPECT_TRUE(back.UpsideDown());
    EXPECT_FALSE(back.ImageCurrent());
    EXPECT_EQ(back.GetDesignRect(), (TRect{1, 2, 3, 4}));

    {
        // Version 300: no upside-down byte.
        VersionScope scope(300);
        const TQRCodeRect f = load(bytes.left(bytes.size() - 1));
        EXPECT_FALSE(f.UpsideDown());
        EXPECT_EQ(f.Body(), AnsiString("body"));
    }
    {
        // Version 150: no base visible byte either.
        VersionScope scope(150);
        const TQRCodeRect f = load(bytes.left(16) + bytes.mid(17, bytes.size() - 18));
        EXPECT_FALSE(f.UpsideDown());
        EXPECT_EQ(f.ModuleSize(), 4);
        EXPECT_EQ(f.Body(), AnsiString("body"));
    }
    // Damaged: a kind beyond 4, a module size of 0, a short record.
    QByteArray bad = bytes;
    bad[17 + 12] = 5;
    EXPECT_THROW(load(bad), EFrameStreamError);
    bad = bytes;
    bad[17] = 0;
    EXPECT_THROW(load(bad), EFrameStreamError);
    EXPECT_THROW(load(bytes.left(bytes.size() - 1)), EFrameStreamError);
}

TEST(QRCodeFrame, AssignTakesContentNotTurnOrPicture)
{
    TQRCodeRect source;
    source.SetContentKind(QRMailMessage);
    source.SetMailTo("a@b");
    source.SetModuleSize(5);
    source.SetUpsideDown(true);
    source.UpdateImage(false);
    TQRCodeRect copy;
    copy.Assign(source);
    EXPECT_EQ(copy.ComposedText(), source.ComposedText());
    EXPECT_EQ(copy.ModuleSize(), 5);
    EXPECT_FALSE(copy.UpsideDown());
    EXPECT_TRUE(copy.Image().isNull());
    EXPECT_FALSE(copy.ImageCurrent());
}

} // namespace

namespace {

TEST(QRMaker, OversizedOrOverlongSymbolsGiveNoPicture)
{
    TQRmakerPro maker;
    maker.SetCellUnit(2400);
    maker.SetCellPitch(100); // 2500 pixels a module: no version fits in 32767
    maker.SetData("ABC");
    maker.Refresh();
    EXPECT_TRUE(maker.Image().isNull());
    EXPECT_NEAR(maker.ImageWidth(), 29 * 2500 / 2400.0 * 25.4, 0.01);
    maker.SetCellPitch(3);
    maker.SetData(AnsiString(8000, '1')); // beyond version 40
    maker.Refresh();
    EXPECT_TRUE(maker.Image().isNull());
    EXPECT_GT(maker.ImageHeight(), 0);
}

} // namespace
