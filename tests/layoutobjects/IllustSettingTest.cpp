// Illustration settings dialog: the remembered page and ratio, the zooms, the quarter turn, the thumbnail
// keys, the display modes, the transparent-colour pick, and the drag and drop rules of the cut-out.
#include "layoutobjects/IllustSetting.h"

#include "core/PaintPanel.h"
#include "layoutobjects/SettingDialogSub.h"
#include "support/SettingDialogFixture.h"

#include <QKeyEvent>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class IllustSetting : public SettingDialogTest
{
protected:
    void SetUp() override
    {
        SettingDialogTest::SetUp();
        ClearFrameMetafileNames();
        AddStandardFrameMetafileNames(TOVAREL_PROGRAM_DIR);
    }
    void TearDown() override
    {
        ClearFrameMetafileNames();
        SettingDialogTest::TearDown();
    }
    // A frame of w x h design pixels showing a picture whose bottom-left pixel is green, the rest red.
    static TIllustRect frame(int w, int h)
    {
        TGraphic graphic;
        graphic.Bitmap = QImage(40, 20, QImage::Format_RGB888);
        graphic.Bitmap.fill(Qt::red);
        graphic.Bitmap.setPixelColor(0, 19, Qt::green);
        TIllustRect illust;
        illust.SetGraphic(&graphic);
        illust.SetDesignRect({30, 40, 30 + w, 40 + h});
        return illust;
    }
    static QList<QToolButton*> ratioButtons(QWidget& dialog, const char* name)
    {
        QList<QToolButton*> out;
        for (int page = 1; page <= 3; ++page)
            out.append(child<QToolButton>(dialog, (QByteArray(name) + QByteArray::number(page)).constData()));
        return out;
    }
    static bool allPressedAndBlue(QWidget& dialog, const char* name)
    {
        for (QToolButton* b : ratioButtons(dialog, name))
            if (!b->isChecked() || b->palette().color(QPalette::ButtonText) != QColor(Qt::blue))
                return false;
        return true;
    }
};

TEST_F(IllustSetting, RememberedPageAndRatio)
{
    const struct
    {
        int page;
        int ratio;
        int shownPage;
        const char* pressed;
    } cases[] = {{7, 9, 0, "sbtnDouble"}, {2, 0, 2, "sbtnJust"}, {1, 1, 1, "sbtnSame"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        writeDesign("IllustSet", c.page);
        writeDesign("IllustSetRatio", c.ratio);
        TIllustSettingDialog dialog;
        EXPECT_EQ(child<QTabWidget>(dialog, "pgcSetting")->currentIndex(), c.shownPage);
        EXPECT_TRUE(allPressedAndBlue(dialog, c.pressed));
    }
    writeDesign("IllustSetRatio", 0);
    {
        TIllustSettingDialog dialog;
        dialog.SetIllust(frame(300, 150));
        dialog.show();
        ratioButtons(dialog, "sbtnSame")[2]->click();
    }
    EXPECT_EQ(readDesign("IllustSetRatio"), 1);
}

TEST_F(IllustSetting, ZoomsAndLayout)
{
    writeDesign("IllustSetRatio", 0);
    TIllustSettingDialog dialog;
    dialog.SetIllust(frame(300, 150));
    dialog.show();
    EXPECT_NEAR(dialog.IllustRect().Zoom(), 0.687, 1e-9);
    const TRect s = dialog.IllustRect().GetScreenRect();
    EXPECT_EQ(s.left, (229 - s.Width() - 4) / 2);
    EXPECT_EQ(s.top, (229 - s.Height() - 4) / 2);
    EXPECT_EQ(dialog.IllustRect().GetDesignRect().Width(), 300);

    ratioButtons(dialog, "sbtnSame")[0]->click();
    ratioButtons(dialog, "sbtnSame")[1]->click();
    EXPECT_TRUE(allPressedAndBlue(dialog, "sbtnSame"));
    EXPECT_FALSE(ratioButtons(dialog, "sbtnJust")[0]->isChecked());
    EXPECT_DOUBLE_EQ(dialog.IllustRect().Zoom(), 1.0);
    // Larger than the box: the paint box grows so that it scrolls.
    EXPECT_EQ(child<QWidget>(dialog, "pbxPreview")->size(), QSize(300, 225));
    ratioButtons(dialog, "sbtnDouble")[2]->click();
    EXPECT_DOUBLE_EQ(dialog.IllustRect().Zoom(), 2.0);
    EXPECT_EQ(child<QWidget>(dialog, "pbxPreview")->size(), QSize(600, 300));
}

TEST_F(IllustSetting, QuarterTurnExchangesTheSides)
{
    TIllustSettingDialog dialog;
    dialog.SetIllust(frame(200, 100));
    dialog.show();
    child<QRadioButton>(dialog, "rbR90")->click();
    child<QPushButton>(dialog, "bbtnRotate")->click();
    const TRect turned = dialog.IllustRect().GetDesignRect();
    EXPECT_EQ(turned.Width(), 100);
    EXPECT_EQ(turned.Height(), 200);
    EXPECT_EQ(dialog.IllustRect().GetBitmap().size(), QSize(20, 40));
    // Laid out again in the middle of the box.
    const TRect s = dialog.IllustRect().GetScreenRect();
    EXPECT_EQ(s.top, (229 - s.Height() - 4) / 2);
    child<QRadioButton>(dialog, "rb180")->click();
    child<QPushButton>(dialog, "bbtnRotate")->click();
    EXPECT_EQ(dialog.IllustRect().GetDesignRect(), turned);
}

TEST_F(IllustSetting, ThumbnailKeys)
{
    ASSERT_EQ(FrameMetafileNames().size(), 13);
    TIllustRect illust = frame(200, 100);
    illust.SetFrameIndex(11);
    TIllustSettingDialog dialog;
    dialog.SetIllust(illust);
    dialog.show();
    EXPECT_TRUE(child<QRadioButton>(dialog, "rbMask")->isChecked());
    auto* box = child<QScrollArea>(dialog, "sbxMask");
    const struct
    {
        Qt::Key key;
        int selected;
    } keys[] = {{Qt::Key_Right, 11}, {Qt::Key_Down, 12}, {Qt::Key_Down, 12},
                {Qt::Key_Left, 10},  {Qt::Key_Up, 9},    {Qt::Key_Left, 7}};
    for (const auto& k : keys) {
        QTest::keyClick(box, k.key);
        EXPECT_EQ(dialog.SelectedMask(), k.selected);
        EXPECT_EQ(dialog.IllustRect().FrameIndex(), k.selected);
    }
}

TEST_F(IllustSetting, DisplayModes)
{
    TIllustRect illust = frame(200, 100);
    illust.SetFrameIndex(3);
    TIllustSettingDialog dialog;
    dialog.SetIllust(illust);
    dialog.show();
    child<QRadioButton>(dialog, "rbNone")->click();
    EXPECT_EQ(dialog.IllustRect().FrameIndex(), -1);
    EXPECT_EQ(dialog.IllustRect().TransparentColor(), NoTransparentColor);
    EXPECT_FALSE(child<QWidget>(dialog, "sbxMask")->isVisibleTo(&dialog));

    // The transparent colour starts as the picture's bottom-left pixel; a click on the picture picks another.
    child<QRadioButton>(dialog, "rbTransparent")->click();
    EXPECT_EQ(dialog.IllustRect().TransparentColor(), 0x00FF00u);
    child<QTabWidget>(dialog, "pgcSetting")->setCurrentIndex(1);
    auto* preview = child<TPaintPanel>(dialog, "pbxPreview");
    const TRect s = dialog.IllustRect().GetScreenRect();
    QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(s.left + s.Width() / 2, s.top + s.Height() / 2));
    EXPECT_EQ(dialog.IllustRect().TransparentColor(), 0x0000FFu);
    EXPECT_EQ(dialog.IllustRect().FrameIndex(), -1);
    child<QRadioButton>(dialog, "rbNone")->click();
    EXPECT_EQ(dialog.IllustRect().TransparentColor(), NoTransparentColor);
}

TEST_F(IllustSetting, DragRules)
{
    const TRect o{100, 100, 200, 150};
    const struct
    {
        qint16 cursor;
        quint8 h, v;
        QPoint from, to;
        bool shift;
        TRect result;
        quint8 hAfter, vAfter;
    } cases[] = {
        // moving
        {CursorSizeAll,
         ZoneCentre,
         ZoneCentre,
         {150, 120},
         {160, 110},
         false,
         {110, 90, 210, 140},
         ZoneCentre,
         ZoneCentre},
        // the right edge dragged past the left one becomes the left edge
        {CursorSizeWE,
         ZoneRight,
         ZoneCentre,
         {200, 120},
         {80, 120},
         false,
         {80, 100, 100, 150},
         ZoneLeft,
         ZoneCentre},
        // the top edge dragged below the bottom becomes the bottom
        {CursorSizeNS,
         ZoneCentre,
         ZoneTop,
         {150, 100},
         {150, 170},
         false,
         {100, 150, 200, 170},
         ZoneCentre,
         ZoneBottom},
        // Shift keeps 2:1
        {CursorSizeNWSE,
         ZoneRight,
         ZoneBottom,
         {200, 150},
         {220, 150},
         true,
         {100, 100, 220, 160},
         ZoneRight,
         ZoneBottom},
        {CursorSizeNWSE,
         ZoneLeft,
         ZoneTop,
         {100, 100},
         {80, 100},
         true,
         {80, 90, 200, 150},
         ZoneLeft,
         ZoneTop},
        {CursorSizeNS,
         ZoneCentre,
         ZoneTop,
         {150, 100},
         {150, 90},
         true,
         {90, 90, 210, 150},
         ZoneCentre,
         ZoneTop},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to.x() * 1000 + c.to.y());
        quint8 h = c.h, v = c.v;
        EXPECT_EQ(DragMaskRect(o, c.cursor, h, v, c.to.x(), c.to.y(), c.from.x(), c.from.y(), c.shift),
                  c.result);
        EXPECT_EQ(h, c.hAfter);
        EXPECT_EQ(v, c.vAfter);
    }
    // Without a height the ratio is not kept; the edge follows the point.
    quint8 h = ZoneRight, v = ZoneBottom;
    EXPECT_EQ(DragMaskRect({100, 100, 200, 100}, CursorSizeNWSE, h, v, 220, 100, 200, 100, true),
              (TRect{100, 100, 220, 100}));
}

TEST_F(IllustSetting, DropRules)
{
    const TRect s{50, 50, 250, 150};
    const struct
    {
        TRect dropped;
        TRect result;
    } cases[] = {
        {{-100, 60, -20, 100}, {50, 60, 130, 100}},   // wholly left: left edge on the frame's left
        {{300, 60, 380, 100}, {170, 60, 250, 100}},   // wholly right, narrower: right edges meet
        {{300, 60, 600, 100}, {50, 60, 350, 100}},    // wholly right, wider: left edges meet
        {{60, -50, 100, 10}, {60, 50, 100, 110}},     // wholly above
        {{60, 200, 100, 260}, {60, 90, 100, 150}},    // wholly below
        {{240, 140, 300, 200}, {240, 140, 300, 200}}, // still touching
    };
    for (const auto& c : cases)
        EXPECT_EQ(DropMaskRect(c.dropped, s), c.result);
}

TEST_F(IllustSetting, DraggingInThePreview)
{
    writeDesign("IllustSetRatio", 1);
    TIllustRect illust = frame(100, 50);
    illust.SetFrameIndex(0);
    TIllustSettingDialog dialog;
    dialog.SetIllust(illust);
    dialog.show();
    auto* preview = child<TPaintPanel>(dialog, "pbxPreview");
    const TRect before = dialog.IllustRect().ImageScreenRect();
    ASSERT_EQ(before, dialog.IllustRect().GetScreenRect());
    const QPoint inside(before.left + 50, before.top + 25);
    QTest::mouseMove(preview, inside);
    QTest::mousePress(preview, Qt::LeftButton, {}, inside);
    QMouseEvent move(QEvent::MouseMove, QPointF(inside + QPoint(300, 0)),
                     preview->mapToGlobal(QPointF(inside)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(preview, &move);
    QTest::mouseRelease(preview, Qt::LeftButton, {}, inside + QPoint(300, 0));
    // Dropped wholly right of a frame as wide as itself: back with its right edge on the frame's.
    EXPECT_EQ(dialog.IllustRect().ImageScreenRect(), before);
    EXPECT_EQ(dialog.IllustRect().ImageRect().Width(), 100);
}

} // namespace
