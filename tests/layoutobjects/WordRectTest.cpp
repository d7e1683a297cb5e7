// Free text frames and decorative frames: spread and centred lines, the wrap rounds, fixed sizes, the aspect
// ratio, borders drawn and their inner and outer rectangles, and the free text record of every version.
#include "layoutobjects/WordRect.h"

#include "support/DrawingFixture.h"

#include <QPainter>

#include <map>

namespace {

struct VersionScope
{
    explicit VersionScope(int version) { LoadedFileVersion = version; }
    ~VersionScope() { LoadedFileVersion = CurrentFileVersion; }
};

class FreeText : public DrawingTest
{
protected:
    void SetUp() override { PaperLongSide = PostcardLongSide; }
    TScopedPrinter m_printer{600};
};

std::vector<const TDisplayItem*> items(const TDisplayList& list, TDisplayItem::Kind kind)
{
    std::vector<const TDisplayItem*> out;
    for (const TDisplayItem& item : list.Items()) {
        if (item.kind == kind)
            out.push_back(&item);
    }
    return out;
}

struct Row
{
    QString text;
    double top;    // cell top
    double bottom; // cell bottom
    double left;
    double right;
};

// Horizontal rows of drawn characters, top to bottom.
std::vector<Row> rows(const TMetaRect& frame)
{
    std::map<int, std::map<double, const TDisplayItem*>> byY;
    for (const TDisplayItem* item : items(frame.Metafile(), TDisplayItem::Text))
        byY[qRound(item->DevicePosition().y())][item->DevicePosition().x()] = item;
    std::vector<Row> out;
    for (const auto& [y, line] : byY) {
        Row row;
        const TDisplayItem* first = line.begin()->second;
        const QFontMetricsF metrics(first->font);
        row.top = y - metrics.ascent();
        row.bottom = row.top + qRound(metrics.ascent()) + qRound(metrics.descent());
        row.left = line.begin()->first;
        const TDisplayItem* last = line.rbegin()->second;
        row.right = line.rbegin()->first +
                    QFontMetricsF(last->font).horizontalAdvance(last->text) * last->transform.m11();
        for (const auto& [x, item] : line)
            row.text += item->text;
        out.push_back(row);
    }
    return out;
}

int textHeightOf(const TDisplayItem& item)
{
    const QFontMetricsF metrics(item.font);
    return qRound(metrics.ascent()) + qRound(metrics.descent());
}

TWordRect text(const TRect& rect, const QStringList& lines)
{
    TWordRect frame;
    frame.SetHorizontal(true);
    frame.SetDesignRect(rect);
    frame.SetLineCount(int(lines.size()));
    for (int i = 0; i < lines.size(); ++i)
        frame.SetLine(i, lines[i]);
    return frame;
}

TEST_F(FreeText, FittedLinesSpreadOverTheFrame)
{
    // Spacing 0: the first line touches the top margin and the last the bottom one.
    TWordRect frame = text({0, 0, 300, 200}, {"一行目", "二行目です", "三行目"});
    frame.UpdateImage(false);
    auto lines = rows(frame);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NEAR(lines.front().top, 25, 2);
    EXPECT_NEAR(lines.back().bottom, 1250 - 25, 3);
    EXPECT_NEAR(lines[1].top - lines[0].top, lines[2].top - lines[1].top, 1);
    // Alignment 0 sets the lines flush right.
    for (const Row& row : lines)
        EXPECT_NEAR(row.right, 1875 - 25, 2) << row.text.toStdString();

    // Spacing 5 leaves one line's height between the lines.
    frame.SetLineSpacing(5);
    frame.UpdateImage(false);
    lines = rows(frame);
    ASSERT_EQ(lines.size(), 3u);
    const double th = lines[0].bottom - lines[0].top;
    EXPECT_NEAR(lines[1].top - lines[0].top, 2 * th, 2);

    // Alignment 4 centres every line on the frame's middle, and the block too.
    frame.SetLineSpacing(0);
    frame.SetAlignment(4);
    frame.UpdateImage(false);
    lines = rows(frame);
    for (const Row& row : lines)
        EXPECT_NEAR((row.left + row.right) / 2, 1875 / 2.0, 2) << row.text.toStdString();
    EXPECT_NEAR((lines.front().top + lines.back().bottom) / 2, 1250 / 2.0, 3);

    // One line: no gap, at the top for alignment 2 (left, top).
    TWordRect one = text({0, 0, 300, 200}, {"一行"});
    one.SetAlignment(2);
    one.UpdateImage(false);
    lines = rows(one);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].left, 25);
}

TEST_F(FreeText, WrapBreaksUntilEveryLineFits)
{
    const QString line = QStringLiteral("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。");
    for (const bool wide : {false, true}) {
        SCOPED_TRACE(wide);
        TWordRect frame = text(wide ? TRect{0, 0, 300, 80} : TRect{0, 0, 100, 300}, {line});
        frame.SetAutoWrap(true);
        frame.UpdateImage(false);
        const auto lines = rows(frame);
        ASSERT_GE(lines.size(), wide ? 1u : 3u);
        QString all;
        for (const Row& row : lines) {
            EXPECT_LE(row.right, (wide ? 1875 : 625) - 25 + 1) << row.text.toStdString();
            EXPECT_GE(row.left, 25 - 1);
            all += row.text;
        }
        EXPECT_EQ(all, line); // nothing is cut
    }

    // Without wrap the one line shrinks to the width instead.
    TWordRect frame = text({0, 0, 100, 300}, {line});
    frame.UpdateImage(false);
    const auto lines = rows(frame);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, line);
    EXPECT_LE(lines[0].right - lines[0].left, 625 - 50 + 1);
}

TEST_F(FreeText, FixedSizeDropsWhatDoesNotFit)
{
    struct Case
    {
        TRect rect;
        bool wrap;
        QStringList expected;
    };
    // 72 points at 600 dpi: a 600-pixel character.
    const Case cases[] = {
        {{0, 0, 300, 150}, false, {"あいう"}},          // one line fits, cut at the width
        {{0, 0, 300, 250}, true, {"あいう", "えおか"}}, // two lines fit: the first line's pieces
        {{0, 0, 300, 100}, false, {}},                  // the character is taller than the frame
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rect.bottom);
        TWordRect frame = text(c.rect, {"あいうえおかきくけこ", "さしすせそ"});
        frame.SetFixedFontSize(27);
        frame.SetAlignment(2);
        frame.SetAutoWrap(c.wrap);
        frame.UpdateImage(false);
        QStringList got;
        for (const Row& row : rows(frame)) {
            got << row.text;
            EXPECT_GE(row.bottom - row.top, 600); // the character height, plus the face's leading
            EXPECT_LE(row.bottom - row.top, 700);
        }
        EXPECT_EQ(got, c.expected);
    }
}

TEST_F(FreeText, AspectRatio)
{
    EXPECT_EQ(AspectWidthFactor(50, true), 0.5);
    EXPECT_EQ(AspectWidthFactor(50, false), 2.0);
    EXPECT_EQ(AspectWidthFactor(200, true), 2.0);

    TWordRect frame = text({0, 0, 300, 100}, {"見本"});
    frame.SetAspectRatio(50);
    frame.UpdateImage(false);
    const auto glyphs = items(frame.Metafile(), TDisplayItem::Text);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_NEAR(glyphs[0]->transform.m11(), 0.5, 0.02);
    // The narrowed line still fits the frame and fills its height.
    const auto lines = rows(frame);
    EXPECT_LE(lines[0].right, 1875 - 25 + 1);
    EXPECT_NEAR(lines[0].bottom - lines[0].top, 625 - 50, 30);

    // In vertical writing the characters stretch down the column: narrower across it, relatively.
    TWordRect column = text({0, 0, 100, 300}, {"見本"});
    column.SetHorizontal(false);
    column.SetAspectRatio(50);
    column.UpdateImage(false);
    const auto upright = items(column.Metafile(), TDisplayItem::Text);
    ASSERT_EQ(upright.size(), 2u);
    EXPECT_NEAR(upright[0]->transform.m22(), 2, 0.05);
    const double pitch = upright[1]->DevicePosition().y() - upright[0]->DevicePosition().y();
    EXPECT_NEAR(pitch, 2 * textHeightOf(*upright[0]), 4);
    // The second cell ends inside the bottom margin: its glyph's baseline is two ascents below its top.
    const double ascent = qRound(QFontMetricsF(upright[1]->font).ascent());
    EXPECT_LE(upright[1]->DevicePosition().y() - 2 * ascent + pitch, 1875 - 25 + 2);
}

TEST_F(FreeText, FrameAroundAnEmptyText)
{
    TWordRect frame;
    frame.SetDesignRect({0, 0, 100, 50});
    frame.UpdateImage(false);
    EXPECT_TRUE(frame.Metafile().IsEmpty());
    frame.Frame().SetFrameVisible(true); // the frame's callback makes the text stale
    EXPECT_FALSE(frame.IsValid());
    frame.UpdateImage(false);
    EXPECT_EQ(items(frame.Metafile(), TDisplayItem::Path).size(), 1u);
    EXPECT_TRUE(items(frame.Metafile(), TDisplayItem::Text).empty());

    // A copy has callbacks of its own.
    std::unique_ptr<TDrawRect> copy = frame.Clone();
    auto& word = static_cast<TWordRect&>(*copy);
    word.UpdateImage(false);
    word.Frame().SetFillVisible(true);
    EXPECT_FALSE(word.IsValid());
    EXPECT_TRUE(frame.IsValid());
}

TEST(RectFrame, DoubleBorderPens)
{
    TDisplayList list(QSize(200, 200));
    TRectFrame frame;
    frame.SetFrameVisible(true);
    frame.SetDoubleLine(true);
    TRect inner;
    {
        QPainter painter(&list);
        inner = frame.Draw(painter, {0, 0, 100, 60}, 1);
    }
    const auto paths = items(list, TDisplayItem::Path);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0]->pen.widthF(), 2);
    EXPECT_EQ(paths[1]->pen.widthF(), 1);
    // The figures' outer edges: the pens lie inside them.
    const QRectF outer = paths[0]->path.boundingRect().adjusted(-1, -1, 1, 1);
    const QRectF second = paths[1]->path.boundingRect().adjusted(-0.5, -0.5, 0.5, 0.5);
    EXPECT_EQ(outer, QRectF(0, 0, 100, 60));
    EXPECT_EQ(second, QRectF(4, 4, 92, 52));
    EXPECT_EQ(inner, (TRect{5, 5, 95, 55}));

    // Fill only: the rectangle is filled and is itself the inner one.
    TRectFrame fill;
    fill.SetFillVisible(true);
    fill.SetFillColor(0x0000FF);
    TDisplayList filled(QSize(200, 200));
    {
        QPainter painter(&filled);
        EXPECT_EQ(fill.Draw(painter, {3, 4, 50, 60}, 1), (TRect{3, 4, 50, 60}));
    }
    EXPECT_FALSE(filled.IsEmpty());
}

TEST(RectFrame, InnerAndOuterRects)
{
    struct Case
    {
        quint8 width;
        bool doubleLine;
        bool round;
        TRect rect;
        TRect inner;
        TRect outer;
    };
    const Case cases[] = {
        {0, false, false, {0, 0, 100, 60}, {2, 2, 98, 58}, {-2, -2, 102, 62}},
        {1, true, true, {0, 0, 100, 60}, {12, 12, 88, 48}, {-12, -12, 112, 72}},
        {2, false, true, {0, 0, 300, 200}, {15, 15, 285, 185}, {-18, -18, 318, 218}},
        {0, true, true, {0, 0, 300, 200}, {14, 14, 286, 186}, {-17, -17, 317, 217}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        TRectFrame frame;
        frame.SetWidthIndex(c.width);
        frame.SetDoubleLine(c.doubleLine);
        frame.SetRoundCorner(c.round);
        EXPECT_EQ(frame.GetInnerRect(c.rect, 1), c.inner);
        EXPECT_EQ(frame.GetOuterRect(c.rect), c.outer);
    }
}

TEST(RectFrame, RecordAndCallbacks)
{
    TRectFrame frame;
    int frameChanges = 0;
    int fillChanges = 0;
    frame.SetCallbacks([&] { ++frameChanges; }, [&] { ++fillChanges; });
    frame.SetFrameVisible(true);
    frame.SetFrameVisible(true);
    frame.SetLineColor(0x123456);
    frame.SetFillColor(0xABCDEF);
    EXPECT_EQ(frameChanges, 2);
    EXPECT_EQ(fillChanges, 1);

    QByteArray bytes;
    TFrameWriter writer(bytes);
    frame.SaveToStream(writer);
    EXPECT_EQ(bytes, QByteArray::fromHex("01000000005634120"
                                         "0efcdab00"));

    TRectFrame other;
    other.SetRoundCorner(true);
    frame.Assign(other); // frame settings differ, fill ones too
    EXPECT_EQ(frameChanges, 3);
    EXPECT_EQ(fillChanges, 2);
    frame.Assign(other);
    EXPECT_EQ(frameChanges, 3);
    frame.Reset();
    EXPECT_EQ(frameChanges, 3);
    EXPECT_FALSE(frame.RoundCorner());
}

// ---- records ----

QByteArray metaRecord(int version)
{
    QByteArray bytes;
    TFrameWriter w(bytes);
    for (const int v : {0, 0, 200, 100})
        w.WriteInt32(v);
    if (version > 200)
        w.WriteByte(1);
    w.WriteInt32(ShiftJisCharset);
    WriteInvertedString(ToAnsi(QStringLiteral("ＭＳ 明朝")), w);
    w.WriteInt32(12);
    w.WriteInt32(0);
    w.WriteUInt32(0);
    if (version >= 600)
        w.WriteInt32(7);
    w.WriteByte(1);
    if (version >= 200)
        w.WriteByte(0);
    return bytes;
}

TEST(FreeTextRecord, Versions)
{
    const QByteArray frameRecord = QByteArray::fromHex("01000101020000ff00ffffff00");
    const QStringList lines = {QStringLiteral("謹賀新年"), QString(), QStringLiteral("①")};
    struct Case
    {
        int version;
        int fixed;
        int aspect;
        quint8 spacing;
    };
    const Case cases[] = {{100, 0, 100, 3}, {300, 5, 100, 2}, {400, 5, 150, 2}, {600, 7, 150, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        QByteArray bytes = metaRecord(c.version);
        TFrameWriter w(bytes);
        w.WriteInt32(qint32(lines.size()));
        for (const QString& line : lines) {
            if (c.version <= 500)
                WriteInvertedString(ToAnsi(line), w);
            else
                WriteInvertedWideString(line, w);
        }
        if (c.version >= 200 && c.version < 600)
            w.WriteInt32(5);
        if (c.version >= 400)
            w.WriteInt32(150);
        w.WriteInt32(4);
        w.WriteByte(1);
        if (c.version >= 200)
            w.WriteByte(2);
        w.WriteBytes(frameRecord);

        TWordRect frame;
        {
            VersionScope scope(c.version);
            TFrameReader reader(bytes);
            frame.LoadFromStream(reader);
            EXPECT_EQ(reader.Remaining(), 0);
        }
        EXPECT_EQ(frame.GetLineCount(), 3);
        EXPECT_EQ(frame.GetLine(0), lines[0]);
        EXPECT_EQ(frame.GetLine(2), lines[2]);
        EXPECT_EQ(frame.FixedSizeIndex(), c.fixed);
        EXPECT_EQ(frame.AspectRatio(), c.aspect);
        EXPECT_EQ(frame.Alignment(), 4);
        EXPECT_TRUE(frame.AutoWrap());
        EXPECT_EQ(frame.LineSpacing(), c.spacing);
        EXPECT_TRUE(frame.Frame().FrameVisible());
        EXPECT_TRUE(frame.Frame().DoubleLine());
        EXPECT_EQ(frame.Frame().WidthIndex(), 2);
        EXPECT_EQ(frame.Frame().FillColor(), 0xFFFFFFu);

        QByteArray saved;
        TFrameWriter writer(saved);
        frame.SaveToStream(writer);
        if (c.version == 600) {
            EXPECT_EQ(saved, bytes); // the newest form is what the writer writes
        }
    }
}

TEST(FreeTextRecord, DamagedCountsAllocateNothing)
{
    const std::pair<qint32, QByteArray> cases[] = {
        {0x7FFFFFFF, {}},                     // more lines than bytes
        {-1, {}},                             // negative
        {1, QByteArray::fromHex("ffffff7f")}, // a line longer than the record
    };
    for (const auto& [count, tail] : cases) {
        QByteArray bytes = metaRecord(600);
        TFrameWriter w(bytes);
        w.WriteInt32(count);
        w.WriteBytes(tail);
        w.WriteBytes(QByteArray(30, '\0'));
        TWordRect frame;
        frame.SetLineCount(1);
        frame.SetLine(0, QStringLiteral("元"));
        TFrameReader reader(bytes);
        EXPECT_THROW(frame.LoadFromStream(reader), EFrameStreamError) << count;
        EXPECT_EQ(frame.GetLine(0), QStringLiteral("元"));
    }
}

} // namespace
