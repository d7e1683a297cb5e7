// Frame base: coordinate conversions, printer rectangles, handle zones and cursors, the stream records of
// every format version, damaged records, and the shared text routines.
#include "layoutobjects/PosRect.h"

#include "support/DrawingFixture.h"

#include <gtest/gtest.h>

namespace {

// Restores the loaded version after a test changes it.
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

TEST(DrawRect, ScreenAndDesignRects)
{
    TAddressRect frame;
    frame.SetZoom(0.5);
    frame.SetDesignRect({11, 11, 31, 31});
    EXPECT_EQ(frame.GetScreenRect(), (TRect{6, 6, 16, 16})); // halves away from zero
    frame.SetZoom(0);
    EXPECT_EQ(frame.GetScreenRect(), (TRect{6, 6, 16, 16})); // zoom 0 keeps the screen rect
    frame.SetZoom(1.5);
    frame.SetScreenRect({15, 16, 45, -3});
    EXPECT_EQ(frame.GetDesignRect(), (TRect{10, 11, 30, -2}));
    frame.SetDesignRect({-3, 1, 7, 9});
    EXPECT_EQ(frame.GetScreenRect(), (TRect{-5, 2, 11, 14})); // -4.5 rounds to -5
}

TEST(DrawRect, PrinterRects)
{
    struct Case
    {
        int dpi;
        QPoint physicalOffset;
        TRect design;
        QPoint offset; // 0.1 mm
        bool keep;
        TRect expected;
    };
    const Case cases[] = {
        {600, {}, {96, 48, 192, 96}, {10, 0}, true, {624, 300, 1224, 600}},
        {600, {50, 40}, {96, 48, 192, 96}, {10, 0}, true, {624, 300, 1224, 600}},
        {600, {50, 40}, {96, 48, 192, 96}, {10, 0}, false, {574, 260, 1174, 560}},
        // Width and height come from the design size: 3.125 and 3.125 round down although the corners
        // 3.125 and 6.25 would give 3.
        {300, {}, {1, 1, 2, 2}, {}, true, {3, 3, 6, 6}},
        {300, {}, {1, 1, 3, 3}, {}, true, {3, 3, 9, 9}},
        {600, {}, {-1, 0, 1, 1}, {-1, -1}, true, {-8, -2, 5, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        TScopedPrinter printer(c.dpi, c.physicalOffset);
        TPosRect frame;
        frame.SetDesignRect(c.design);
        frame.CalcPrintRect(c.offset, c.keep);
        EXPECT_EQ(frame.GetPrinterRect(), c.expected);
    }
}

TEST(DrawRect, HandleZonesAndCursors)
{
    struct Case
    {
        TRect screen;
        int x;
        int y;
        quint8 h;
        quint8 v;
        qint16 cursor;
    };
    const Case cases[] = {
        {{100, 100, 200, 160}, 97, 131, ZoneLeft, ZoneCentre, CursorSizeWE},
        {{100, 100, 200, 160}, 150, 130, ZoneCentre, ZoneCentre, CursorSizeAll},
        {{100, 100, 200, 160}, 103, 97, ZoneLeft, ZoneTop, CursorSizeNWSE},
        {{100, 100, 200, 160}, 96, 130, ZoneNone, ZoneCentre, CursorDefault},
        {{100, 100, 200, 160}, 196, 156, ZoneRight, ZoneBottom, CursorSizeNWSE},
        {{100, 100, 200, 160}, 202, 100, ZoneRight, ZoneTop, CursorSizeNESW},
        {{100, 100, 200, 160}, 203, 100, ZoneNone, ZoneTop, CursorDefault},
        {{100, 100, 200, 160}, 100, 162, ZoneLeft, ZoneBottom, CursorSizeNESW},
        {{100, 100, 200, 160}, 148, 159, ZoneCentre, ZoneBottom, CursorSizeNS},
        {{100, 100, 200, 160}, 120, 120, ZoneNone, ZoneNone, CursorSizeAll},
        // A narrow frame: left wins over centre, centre over right; top over middle over bottom.
        {{100, 100, 104, 104}, 103, 103, ZoneLeft, ZoneTop, CursorSizeNWSE},
        {{100, 100, 110, 110}, 108, 108, ZoneCentre, ZoneCentre, CursorSizeAll},
        {{100, 100, 110, 110}, 110, 110, ZoneRight, ZoneBottom, CursorSizeNWSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        TPosRect frame;
        frame.SetDesignRect(c.screen);
        const quint16 zone = frame.GetHandleZone(c.x, c.y);
        EXPECT_EQ(zone & 0xFF, c.h);
        EXPECT_EQ(zone >> 8, c.v);
        EXPECT_EQ(frame.GetCursorAt(c.x, c.y), c.cursor);
    }
    EXPECT_EQ(CursorShapeFor(CursorSizeWE), Qt::SizeHorCursor);
    EXPECT_EQ(CursorShapeFor(CursorSizeAll), Qt::SizeAllCursor);
    EXPECT_EQ(CursorShapeFor(CursorDefault), Qt::ArrowCursor);
}

// An address frame record: rect (1, 2, 31, 42), font "ＭＳ 明朝" 12 pt bold red, fixed size 5, horizontal,
// upside down, level 4; each version holds the fields of its gates.
struct VersionCase
{
    int version;
    const char* hex;
    bool visibleStored;
    bool upsideDown;
    int level;
};

const VersionCase VersionCases[] = {
    {103,
     "01000000 02000000 1f000000 2a000000"
     " 80000000 09000000 7d937d8ddf69416d56 0c000000 01000000 ff000000 01",
     false, false, 3},
    {200,
     "01000000 02000000 1f000000 2a000000"
     " 80000000 09000000 7d937d8ddf69416d56 0c000000 01000000 ff000000 01 01",
     false, true, 3},
    {300,
     "01000000 02000000 1f000000 2a000000 00"
     " 80000000 09000000 7d937d8ddf69416d56 0c000000 01000000 ff000000 01 01",
     true, true, 3},
    {500,
     "01000000 02000000 1f000000 2a000000 00"
     " 80000000 09000000 7d937d8ddf69416d56 0c000000 01000000 ff000000 01 01 04000000",
     true, true, 4},
    {600,
     "01000000 02000000 1f000000 2a000000 00"
     " 80000000 09000000 7d937d8ddf69416d56 0c000000 01000000 ff000000 05000000 01 01 04000000",
     true, true, 4},
};

QByteArray hexBytes(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

TEST(DrawRect, StreamRecordsOfEveryVersion)
{
    const QByteArray newest = hexBytes(VersionCases[4].hex);
    for (const VersionCase& c : VersionCases) {
        SCOPED_TRACE(c.version);
        const QByteArray bytes = hexBytes(c.hex);
        TAddressRect frame;
        {
            VersionScope scope(c.version);
            TFrameReader reader(bytes);
            frame.LoadFromStream(reader);
            EXPECT_EQ(reader.Remaining(), 0);
        }
        EXPECT_EQ(frame.GetDesignRect(), (TRect{1, 2, 31, 42}));
        EXPECT_EQ(frame.Visible(), !c.visibleStored); // the stored byte says hidden; absent means shown
        EXPECT_EQ(frame.Font().name, QStringLiteral("ＭＳ 明朝"));
        EXPECT_EQ(frame.Font().size, 12);
        EXPECT_EQ(frame.Font().charset, 128);
        EXPECT_EQ(GetFontStyleBits(frame.Font()), FontStyleBold);
        EXPECT_EQ(frame.FontColor(), 0xFFu);
        EXPECT_TRUE(frame.Horizontal());
        EXPECT_EQ(frame.UpsideDown(), c.upsideDown);
        EXPECT_EQ(frame.FixedSizeIndex(), 0); // an address frame is always fitted
        EXPECT_EQ(frame.Level(), c.level);
        EXPECT_FALSE(frame.IsValid());

        // Writers always write the newest form.
        frame.SetVisible(false);
        frame.SetUpsideDown(true);
        frame.SetLevel(4);
        QByteArray expected = newest;
        expected.replace(46, 4, QByteArray(4, '\0')); // the fixed size index reads back as 0
        EXPECT_EQ(saved(frame), expected);
    }
    // The postal frame stores its fixed size index.
    TPosRect postal;
    TFrameReader reader(newest);
    postal.LoadFromStream(reader);
    EXPECT_EQ(postal.FixedSizeIndex(), 5);
    EXPECT_EQ(reader.Remaining(), 4); // the level belongs to address frames only
}

TEST(DrawRect, DamagedRecordsThrowAndKeepTheFrame)
{
    const QByteArray good = hexBytes(VersionCases[4].hex);
    TAddressRect frame;
    frame.SetDesignRect({5, 6, 7, 8});
    frame.SetLevel(2);
    const QByteArray before = saved(frame);

    for (qsizetype cut = 0; cut < good.size(); ++cut) {
        TFrameReader reader(good.left(cut));
        EXPECT_THROW(frame.LoadFromStream(reader), EFrameStreamError) << cut;
    }
    // Stored name lengths that are negative or longer than what remains.
    for (const char* length : {"ffffffff", "0a000000", "ffffff7f", "00000080"}) {
        QByteArray bad = good;
        bad.replace(21, 4, QByteArray::fromHex(length));
        TFrameReader reader(bad);
        EXPECT_THROW(frame.LoadFromStream(reader), EFrameStreamError) << length;
    }
    EXPECT_EQ(saved(frame), before);
}

TEST(DrawRect, InvertedStrings)
{
    QByteArray bytes;
    TFrameWriter writer(bytes);
    WriteInvertedString("abc", writer);
    EXPECT_EQ(bytes.toHex(' '), "03 00 00 00 9e 9d 9c");
    bytes.clear();
    WriteInvertedString({}, writer);
    EXPECT_EQ(bytes.toHex(' '), "00 00 00 00");

    bytes.clear();
    WriteInvertedWideString(QStringLiteral("a漢"), writer);
    EXPECT_EQ(bytes.toHex(' '), "02 00 00 00 9e ff dd 90");
    TFrameReader reader(bytes);
    EXPECT_EQ(ReadInvertedWideString(reader), QStringLiteral("a漢"));

    // Negative, short and huge lengths.
    for (const char* hex : {"ffffffff", "04000000 9eff22", "ffffff7f 00", "000000"}) {
        const QByteArray bad = hexBytes(hex);
        TFrameReader wide(bad);
        EXPECT_THROW(ReadInvertedWideString(wide), EFrameStreamError) << hex;
        TFrameReader narrow(bad);
        EXPECT_THROW(ReadInvertedString(narrow), EFrameStreamError) << hex;
    }
    const QByteArray halfUnit = hexBytes("02000000 9eff22");
    TFrameReader wide(halfUnit);
    EXPECT_THROW(ReadInvertedWideString(wide), EFrameStreamError);
}

TEST(DrawRect, NormalizeNameSpacing)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"山田　太郎", "山田 太郎"},
        {"山田   太郎", "山田 太郎"},
        {"山田　 太郎", "山田 太郎"},
        {"山田 　　太郎", "山田 太郎"},
        {"太郎", " 太郎"},
        {" 太郎", " 太郎"},
        {"山田 太郎 次郎", "山田 太郎 次郎"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(NormalizeNameSpacing(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

class TextRoutines : public DrawingTest
{
};

TEST_F(TextRoutines, FitTextToWidthCutsAtWholeCharacters)
{
    TCanvas canvas(nullptr, 96, 96);
    canvas.SetFont(TFontSpec{});
    canvas.SetFontHeight(-20);
    const int one = GetTextWidthW(canvas, QStringLiteral("漢"));
    ASSERT_GT(one, 0);
    QString text = QStringLiteral("漢字かな");
    EXPECT_EQ(FitTextToWidth(canvas, text, 2 * one + one / 2), QStringLiteral("かな"));
    EXPECT_EQ(text, QStringLiteral("漢字"));
    QString empty;
    EXPECT_EQ(FitTextToWidth(canvas, empty, 100), QString());
    QString all = QStringLiteral("漢字");
    EXPECT_EQ(FitTextToWidth(canvas, all, 1000), QString());
    EXPECT_EQ(all, QStringLiteral("漢字"));
}

} // namespace
