// Text placement rules of the canvas: cell tops, whole-pixel advances, escapement and width factor as
// transforms, and vertical writing glyph by glyph; checked on the display list.
#include "core/Canvas.h"
#include "platform/DisplayList.h"

#include "support/DrawingFixture.h"

#include <QPainter>

#include <cmath>

namespace {

class CanvasTest : public DrawingTest
{
protected:
    // Draws with a fresh canvas on a 600-dpi display list.
    template <class F> const std::vector<TDisplayItem>& record(const TFontSpec& font, int height, F draw)
    {
        m_list.Reset(QSize(4000, 4000), 600, 600);
        QPainter painter(&m_list);
        TCanvas canvas(&painter, 600, 600);
        canvas.SetFont(font);
        canvas.SetFontHeight(height);
        draw(canvas);
        painter.end();
        return m_list.Items();
    }
    static double angle(const TDisplayItem& item)
    {
        return std::atan2(item.transform.m12(), item.transform.m11()) * 180 / M_PI;
    }
    TDisplayList m_list;
};

TEST_F(CanvasTest, HorizontalTextByCellTopAndWholeAdvances)
{
    TFontSpec font;
    int ascent = 0;
    QList<int> advances;
    const auto& items = record(font, -100, [&](TCanvas& c) {
        ascent = c.Ascent();
        for (const char* ch : {"A", "漢", "i"})
            advances << c.Advance(ch);
        EXPECT_EQ(c.TextWidth("A漢i"), advances[0] + advances[1] + advances[2]);
        EXPECT_EQ(c.QtFont().pixelSize(), 100);
        c.TextOut(200, 300, "A漢i");
    });
    ASSERT_EQ(items.size(), 3u);
    EXPECT_GT(ascent, 50);
    int x = 200;
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].DevicePosition(), QPointF(x, 300 + ascent)) << i;
        EXPECT_EQ(angle(items[i]), 0);
        x += advances[int(i)];
    }
}

TEST_F(CanvasTest, EscapementAndWidthFactorAreTransforms)
{
    TFontSpec font;
    RotateFont180(font);
    const auto& turned = record(font, -100, [](TCanvas& c) { c.TextOut(1000, 1000, "AB"); });
    ASSERT_EQ(turned.size(), 2u);
    EXPECT_NEAR(std::abs(angle(turned[0])), 180, 1e-9);
    EXPECT_LT(turned[1].DevicePosition().x(), turned[0].DevicePosition().x()); // runs to the left

    TFontSpec narrow;
    TCanvas probe(nullptr, 600, 600);
    probe.SetFont(narrow);
    probe.SetFontHeight(-100);
    const int natural = QFontMetrics(probe.QtFont()).averageCharWidth();
    narrow.width = natural / 2;
    const auto& items = record(narrow, -100, [](TCanvas& c) { c.TextOut(0, 0, "AB"); });
    ASSERT_EQ(items.size(), 2u);
    EXPECT_NEAR(items[0].transform.m11(), double(natural / 2) / natural, 0.02);
    EXPECT_TRUE(items[0].font.stretch() == QFont::AnyStretch ||
                items[0].font.stretch() == QFont::Unstretched);
}

TEST_F(CanvasTest, ExtTextOutPlacesEachCharacterByItsAdvance)
{
    const int advances[] = {10, 0, 25, 40}; // one per character, as GDI reads them
    const auto& items = record(TFontSpec{}, -50, [&](TCanvas& c) {
        EXPECT_TRUE(ExtTextOutCompat(c, 100, 0, 0, nullptr, "1234", 4, advances));
        EXPECT_FALSE(ExtTextOutCompat(c, 100, 0, 0, nullptr, "12", 3, advances));
    });
    ASSERT_EQ(items.size(), 4u);
    const double expected[] = {100, 110, 110, 135};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(items[i].DevicePosition().x(), expected[i]) << i;
}

TEST_F(CanvasTest, VerticalWriting)
{
    TFontSpec font;
    MakeVerticalFont(font);
    int th = 0;
    int asciiAdvance = 0;
    const QString text = QStringLiteral("東Aー、（");
    const auto& items = record(font, -100, [&](TCanvas& c) {
        th = c.TextHeight();
        TFontSpec horizontal = c.Font();
        MakeHorizontalFont(horizontal);
        TCanvas h(nullptr, 600, 600);
        h.SetFont(horizontal);
        h.SetFontHeight(-100);
        asciiAdvance = h.Advance("A");
        // The length along the column: full-width cells plus the half-width advance.
        EXPECT_EQ(c.TextWidth(text), 4 * th + asciiAdvance);
        c.TextOut(2000, 1000, text);
    });
    ASSERT_EQ(items.size(), 5u);
    const auto cellOf = [&](size_t i) {
        const int top = 1000 + (i == 0 ? 0 : i == 1 ? th : th + asciiAdvance + int(i - 2) * th);
        return QRectF(2000 - th, top, th, th);
    };
    // Full-width characters stand upright within the column; the half-width one lies on its side.
    EXPECT_EQ(angle(items[0]), 0);
    EXPECT_TRUE(cellOf(0).contains(items[0].DevicePosition()));
    EXPECT_NEAR(angle(items[1]), 90, 1e-9);
    EXPECT_NEAR(items[1].DevicePosition().y(), 1000 + th, 1e-6);
    // The long mark and the bracket turn a quarter; the comma moves to the upper right of its cell.
    EXPECT_NEAR(angle(items[2]), 90, 1e-9);
    EXPECT_NEAR(angle(items[4]), 90, 1e-9);
    EXPECT_EQ(angle(items[3]), 0);
    const QRectF comma =
        QFontMetricsF(items[3].font).tightBoundingRect("、").translated(items[3].DevicePosition());
    const QRectF cell = cellOf(3);
    EXPECT_GT(comma.center().x(), cell.center().x());
    EXPECT_LT(comma.center().y(), cell.center().y());
    EXPECT_TRUE(cell.adjusted(-1, -1, 1, 1).contains(comma));
}

} // namespace
