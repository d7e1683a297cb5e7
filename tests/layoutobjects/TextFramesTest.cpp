// Text frames on the display list: render sizes, font heights and fitting, stale and valid renderings,
// clipping, the postal code boxes and string, and the address layouts in rows and columns.
#include "layoutobjects/PosRect.h"

#include "support/DrawingFixture.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <map>

namespace {

class TextFrames : public DrawingTest
{
protected:
    void SetUp() override { PaperLongSide = PostcardLongSide; }
    void TearDown() override { PaperLongSide = PostcardLongSide; }
    TScopedPrinter m_printer{600};
};

std::vector<const TDisplayItem*> texts(const TMetaRect& frame)
{
    std::vector<const TDisplayItem*> out;
    for (const TDisplayItem& item : frame.Metafile().Items()) {
        if (item.kind == TDisplayItem::Text)
            out.push_back(&item);
    }
    return out;
}

double angle(const TDisplayItem& item)
{
    return std::atan2(item.transform.m12(), item.transform.m11()) * 180 / M_PI;
}

// The drawn characters grouped by baseline (rows) or by x (columns), in reading order.
QStringList rows(const TMetaRect& frame)
{
    std::map<int, std::map<double, QString>> byY;
    for (const TDisplayItem* item : texts(frame))
        byY[qRound(item->DevicePosition().y())][item->DevicePosition().x()] += item->text;
    QStringList out;
    for (const auto& [y, line] : byY) {
        QString text;
        for (const auto& [x, t] : line)
            text += t;
        out << text;
    }
    return out;
}

// Characters in columns: an item belongs to the column whose right edge it is nearest; right to left.
int columnCount(const TMetaRect& frame, int columnWidth)
{
    std::vector<double> xs;
    for (const TDisplayItem* item : texts(frame))
        xs.push_back(item->DevicePosition().x());
    std::sort(xs.begin(), xs.end());
    int columns = xs.empty() ? 0 : 1;
    for (size_t i = 1; i < xs.size(); ++i) {
        if (xs[i] - xs[i - 1] > columnWidth)
            ++columns;
    }
    return columns;
}

class Probe : public TFrameClass<Probe, TMetaRect>
{
public:
    quint8 GetKind() const override { return 99; }
    void RenderContent(TCanvas& canvas, int width, int height) override
    {
        area = QSize(width, height);
        ++renders;
        canvas.Painter()->fillRect(0, 0, width, height, Qt::black);
    }
    QSize area;
    int renders = 0;
};

TEST_F(TextFrames, RenderSizeStaleAndMoves)
{
    Probe frame;
    frame.SetDesignRect({10, 10, 110, 60});
    frame.UpdateImage(false);
    EXPECT_EQ(frame.Metafile().Size(), QSize(625, 625));
    EXPECT_EQ(frame.area, QSize(625, 313));
    EXPECT_TRUE(frame.IsValid());

    // A move keeps the rendering; a resize renders again.
    frame.SetScreenRect({20, 30, 120, 80});
    frame.UpdateImage(false);
    EXPECT_EQ(frame.renders, 1);
    frame.SetScreenRect({20, 30, 121, 80});
    EXPECT_FALSE(frame.IsValid());
    frame.UpdateImage(false);
    EXPECT_EQ(frame.renders, 2);
    frame.UpdateImage(true);
    EXPECT_EQ(frame.renders, 3);

    // An empty rect renders nothing and stays stale.
    frame.SetDesignRect({10, 10, 10, 60});
    frame.UpdateImage(false);
    EXPECT_TRUE(frame.Metafile().IsEmpty());
    EXPECT_FALSE(frame.IsValid());
}

TEST_F(TextFrames, ClipSides)
{
    struct Case
    {
        quint8 side;
        int pos;
        QPoint inked;  // screen pixel that shows
        QPoint hidden; // screen pixel that does not
    };
    const Case cases[] = {
        {ClipLeftOf, 0, {-1, -1}, {5, 5}}, // at the left edge nothing shows
        {ClipLeftOf, 50, {40, 10}, {60, 10}},  {ClipAbove, 20, {10, 10}, {10, 30}},
        {ClipRightOf, 50, {60, 10}, {40, 10}}, {ClipBelow, 20, {10, 30}, {10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.side));
        Probe frame;
        frame.SetDesignRect({0, 0, 100, 50});
        frame.SetClipSide(c.side);
        frame.SetClipPos(c.pos);
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        frame.Draw(painter, 0, 0);
        painter.end();
        if (c.inked.x() >= 0) {
            EXPECT_EQ(image.pixel(c.inked), qRgb(0, 0, 0));
        }
        EXPECT_EQ(image.pixel(c.hidden), qRgb(255, 255, 255));
    }
}

TEST_F(TextFrames, HeightsScaleWithThePaper)
{
    TAddressRect address;
    address.SetLevel(5);
    address.UpdateFontHeight();
    EXPECT_EQ(address.ScaledHeight(), -40);
    address.SetPageSize(2970);
    EXPECT_EQ(address.ScaledHeight(), -80); // -80.27 cut towards zero
    PaperLongSide = 2970;
    address.SetSender(true);
    address.SetLevel(1);
    address.UpdateFontHeight();
    EXPECT_EQ(address.ScaledHeight(), -30);
    address.SetInBlock(true); // a sender block member uses the recipient row
    address.UpdateFontHeight();
    EXPECT_EQ(address.ScaledHeight(), -36);

    TPosRect postal;
    EXPECT_EQ(postal.BaseHeight(), -24);
    postal.SetSender(true);
    postal.UpdateFontHeight();
    EXPECT_EQ(postal.BaseHeight(), -19);

    const std::pair<int, int> points[] = {{0, 0}, {1, 7}, {24, 30}, {25, 36}, {26, 48}, {27, 72}, {28, 0}};
    for (const auto& [index, pt] : points)
        EXPECT_EQ(FixedPointSize(index), pt) << index;
}

TEST_F(TextFrames, FitFontHeight)
{
    struct Case
    {
        int height;
        double available;
        double needed;
        bool grow;
        bool result;
        int after;
    };
    const Case cases[] = {
        {-41, 50, 100, false, true, -20}, {-41, 100, 50, false, true, -41}, {-41, 100, 50, true, true, -82},
        {-1, 50, 100, false, false, -1},  {-41, -5, 10, false, true, -41},  {-41, 10, 0, true, true, -41},
    };
    for (const Case& c : cases) {
        TCanvas canvas(nullptr, 600, 600);
        canvas.SetFontHeight(c.height);
        EXPECT_EQ(TMetaRect::FitFontHeight(canvas, c.available, c.needed, c.grow), c.result) << c.height;
        EXPECT_EQ(canvas.FontHeight(), c.after) << c.available;
    }
}

TEST_F(TextFrames, PostalBoxesAdvanceByThePrintedPitches)
{
    TPosRect frame;
    frame.SetDesignRect({0, 0, 180, 40}); // 1125 printer pixels: the row of boxes at scale 1125/1128
    frame.SetText(QStringLiteral("10000139"));
    frame.UpdateImage(false);
    const auto items = texts(frame);
    ASSERT_EQ(items.size(), 8u);
    QList<int> advances;
    for (size_t i = 1; i < items.size(); ++i) {
        advances << qRound(items[i]->DevicePosition().x() - items[i - 1]->DevicePosition().x());
        EXPECT_EQ(items[i]->DevicePosition().y(), items[0]->DevicePosition().y());
    }
    EXPECT_EQ(advances, (QList<int>{165, 165, 180, 161, 161, 161, 135}));

    // The digit fills its box less 1.8 mm, and the first digit is centred in the first box.
    const QFontMetricsF metrics(items[0]->font);
    const double digit = metrics.horizontalAdvance(u'1');
    const double box = std::round(57 / 254.0 * 600 * 1125 / 1128);
    EXPECT_NEAR(digit, std::round((57 - 18) / 254.0 * 600 * 1125 / 1128), 2);
    EXPECT_NEAR(items[0]->DevicePosition().x() + digit / 2, (1125 - 1125) / 2 + box / 2, 2);

    // Upside down, the digits run from the right, turned.
    const double firstX = items[0]->DevicePosition().x();
    frame.SetUpsideDown(true);
    frame.UpdateImage(false);
    const auto turned = texts(frame);
    ASSERT_EQ(turned.size(), 8u);
    EXPECT_NEAR(std::abs(angle(*turned[0])), 180, 1e-9);
    EXPECT_NEAR(turned[0]->DevicePosition().x(), 1125 - firstX, 1);
    EXPECT_GT(turned[0]->DevicePosition().x(), turned[1]->DevicePosition().x());
}

TEST_F(TextFrames, PostalStringModeIsOneCentredRun)
{
    for (const char* text : {"〒100-0005", "100-0005"}) {
        TPosRect frame;
        frame.SetDesignRect({0, 0, 200, 30});
        frame.SetText(QString::fromUtf8(text));
        frame.UpdateImage(false);
        const QStringList lines = rows(frame);
        ASSERT_EQ(lines.size(), 1) << text;
        EXPECT_EQ(lines[0], QString::fromUtf8(text));
        const auto items = texts(frame);
        const double left = items.front()->DevicePosition().x();
        const double right = items.back()->DevicePosition().x() +
                             QFontMetricsF(items.back()->font).horizontalAdvance(items.back()->text);
        EXPECT_NEAR(left, 1250 - right, 3) << text; // centred in w = 1250
    }
    TPosRect empty;
    empty.SetDesignRect({0, 0, 200, 30});
    empty.UpdateImage(false);
    EXPECT_TRUE(empty.Metafile().IsEmpty());
}

TEST_F(TextFrames, HorizontalAddressJoinsAndRows)
{
    struct Case
    {
        const char* name;
        TRect rect;
        std::array<const char*, 3> lines;
        QStringList expected;
    };
    const Case cases[] = {
        {"short first line joins",
         {0, 0, 400, 80},
         {"東京都", "千代田区丸の内一丁目", ""},
         {"東京都千代田区丸の内一丁目"}},
        {"narrow pair joins",
         {0, 0, 400, 80},
         {"東京都千代田区", "丸の内一丁目", ""},
         {"東京都千代田区丸の内一丁目"}},
        {"two rows",
         {0, 0, 200, 80},
         {"東京都千代田区丸の内", "一丁目二番三号丸の内ビル", ""},
         {"東京都千代田区丸の内", "一丁目二番三号丸の内ビル"}},
        {"three rows",
         {0, 0, 200, 120},
         {"東京都千代田区丸の内", "一丁目二番三号丸の内", "丸の内ビルディング２０階"},
         {"東京都千代田区丸の内", "一丁目二番三号丸の内", "丸の内ビルディング２０階"}},
        {"short middle joins last",
         {0, 0, 300, 120},
         {"東京都千代田区丸の内", "一丁目", "二番三号"},
         {"東京都千代田区丸の内", "一丁目二番三号"}},
        {"empty lines skipped", {0, 0, 400, 80}, {"", "東京都千代田区", ""}, {"東京都千代田区"}},
        {"narrower than the margins", {0, 0, 7, 80}, {"東京都", "", ""}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAddressRect frame;
        frame.SetHorizontal(true);
        frame.SetDesignRect(c.rect);
        for (int i = 0; i < 3; ++i)
            frame.SetLine(i, QString::fromUtf8(c.lines[size_t(i)]));
        frame.UpdateImage(false);
        EXPECT_EQ(rows(frame), c.expected);
    }

    // Two rows: the first flush left at the margin, the second flush right.
    TAddressRect frame;
    frame.SetHorizontal(true);
    frame.SetDesignRect({0, 0, 200, 80});
    frame.SetLine(0, QStringLiteral("東京都千代田区丸の内"));
    frame.SetLine(1, QStringLiteral("一丁目二番三号丸の内ビル"));
    frame.UpdateImage(false);
    const auto items = texts(frame);
    EXPECT_EQ(items.front()->DevicePosition().x(), 25); // 4 design pixels at 600 dpi
    const TDisplayItem* last = items.back();
    const double right = last->DevicePosition().x() + QFontMetricsF(last->font).horizontalAdvance(last->text);
    EXPECT_NEAR(right, 1250 - 25, 2);
}

TEST_F(TextFrames, VerticalAddressSetsShortDigitRunsAcross)
{
    struct Case
    {
        const char* line;
        bool verticalDigits;
        QStringList across; // runs drawn side by side, unturned, on one baseline
        int uprightDigits;  // full-width digits standing in the column
    };
    const Case cases[] = {
        {"千代田区１２番地", false, {"12"}, 0},
        {"千代田区３０５号", false, {"305"}, 0},
        {"番号１２３４５６７", false, {}, 7},
        {"千代田区１２番地", true, {}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TAddressRect frame;
        frame.SetDesignRect({0, 0, 60, 300});
        frame.SetVerticalDigits(c.verticalDigits);
        frame.SetLine(0, QString::fromUtf8(c.line));
        frame.UpdateImage(false);
        std::map<int, QString> acrossByY;
        int upright = 0;
        for (const TDisplayItem* item : texts(frame)) {
            EXPECT_EQ(angle(*item), 0) << item->text.toStdString();
            const QChar ch = item->text[0];
            if (ch >= u'0' && ch <= u'9')
                acrossByY[qRound(item->DevicePosition().y())] += item->text;
            if (ch >= QChar(0xFF10) && ch <= QChar(0xFF19))
                ++upright;
        }
        QStringList across;
        for (const auto& [y, run] : acrossByY)
            across << run;
        EXPECT_EQ(across, c.across);
        EXPECT_EQ(upright, c.uprightDigits);
    }
}

TEST_F(TextFrames, VerticalAddressColumns)
{
    struct Case
    {
        const char* name;
        std::array<const char*, 3> lines;
        int columns;
    };
    const Case cases[] = {
        {"two-character first line joins first", {"東京", "千代田区丸の内", ""}, 1},
        {"two columns", {"東京都千代田区丸の内一丁目二番三号", "丸の内ビルディング二十階受付", ""}, 2},
        {"three columns",
         {"東京都千代田区丸の内一丁目二番三号", "丸の内ビルディング二十階受付", "株式会社見本商事総務部御中"},
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAddressRect frame;
        frame.SetDesignRect({0, 0, 120, 300});
        for (int i = 0; i < 3; ++i)
            frame.SetLine(i, QString::fromUtf8(c.lines[size_t(i)]));
        frame.UpdateImage(false);
        EXPECT_EQ(columnCount(frame, 40), c.columns);
        EXPECT_EQ(frame.Metafile().AllText().size(),
                  QString::fromUtf8(c.lines[0]).size() + QString::fromUtf8(c.lines[1]).size() +
                      QString::fromUtf8(c.lines[2]).size()); // nothing is cut
    }
}

} // namespace

namespace {

TEST_F(TextFrames, AssignCopiesLookNotContents)
{
    TAddressRect source;
    source.SetDesignRect({1, 2, 30, 40});
    TFontSpec gothic;
    gothic.name = QStringLiteral("ＭＳ ゴシック");
    source.SetFont(gothic, 0xFF);
    source.SetHorizontal(true);
    source.SetUpsideDown(true);
    source.SetLevel(5);
    source.UpdateFontHeight();
    source.SetFixedFontSize(4);
    source.SetClipSide(ClipAbove);
    source.SetLine(0, QStringLiteral("東京都"));
    source.SetVisible(false);

    TAddressRect copy;
    copy.SetZoom(2);
    copy.Assign(source);
    EXPECT_EQ(copy.GetDesignRect(), source.GetDesignRect());
    EXPECT_EQ(copy.GetScreenRect(), (TRect{2, 4, 60, 80})); // the receiver's own zoom
    EXPECT_FALSE(copy.Visible());
    EXPECT_EQ(copy.Font().name, gothic.name);
    EXPECT_EQ(copy.FontColor(), 0xFFu);
    EXPECT_TRUE(copy.Horizontal());
    EXPECT_TRUE(copy.UpsideDown());
    EXPECT_EQ(copy.Level(), 5);
    EXPECT_EQ(copy.ScaledHeight(), -40);
    EXPECT_EQ(copy.FixedSizeIndex(), 0);
    EXPECT_EQ(copy.ClipSide(), ClipNone);
    EXPECT_EQ(copy.GetLine(0), QString());

    TPosRect postal; // a postal frame takes the text look only
    postal.Assign(source);
    EXPECT_EQ(postal.Font().name, gothic.name);
    EXPECT_EQ(postal.ScaledHeight(), -40);
}

} // namespace
