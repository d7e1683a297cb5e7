// The paper view's model: fit zoom, grid edges, drag outlines (snapping, Shift axis and ratio, zero sizes),
// bringing frames back onto the paper, the selection rules and the half turn.
#include "designers/LayoutDocument.h"
#include "designers/PaperEditing.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/ImageUtils.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/WordRect.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

std::tuple<int, int, int, int> Sides(const TRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

TEST(PaperEditingTest, FitZoomAndStatusText)
{
    // A postcard of 378 x 559 units in a box of 800 x 600 inner pixels.
    const TViewSize fit = ComputeViewSize(0, {800, 600}, {378, 559});
    EXPECT_DOUBLE_EQ(fit.zoom, 560.0 / 559);
    EXPECT_EQ(ZoomStatusText(fit.zoom), QStringLiteral("  表示： 100%"));
    EXPECT_EQ(fit.width, 379 + 40);
    EXPECT_EQ(fit.height, 560 + 40);
    const TViewSize twice = ComputeViewSize(2.0, {800, 600}, {378, 559});
    EXPECT_EQ(std::tuple(twice.zoom, twice.width, twice.height), std::tuple(2.0, 796, 1158));
    // A box smaller than its margins still gives a positive zoom.
    EXPECT_GT(ComputeViewSize(0, {30, 30}, {378, 559}).zoom, 0);
    EXPECT_EQ(ZoomCaption(0), QStringLiteral("用紙全体"));
    EXPECT_EQ(ZoomCaption(2), QStringLiteral("175%"));
    EXPECT_EQ(ZoomCaption(7), QStringLiteral("50%"));
}

TEST(PaperEditingTest, GridEdgesOfArrowKeys)
{
    struct Case
    {
        int edge;
        bool decrease;
        int expected;
    };
    // An edge within 2 pixels past a line counts as on it.
    for (const Case& c : {Case{31, true, 25}, Case{31, false, 50}, Case{26, true, 0}, Case{27, true, 0},
                         Case{28, true, 25}, Case{25, true, 0}, Case{23, false, 50}, Case{22, false, 25},
                         Case{0, true, -25}, Case{-20, true, -25}})
        EXPECT_EQ(ArrowGridEdge(c.edge, 25, c.decrease), c.expected) << c.edge << ' ' << c.decrease;
    EXPECT_EQ(SnapToPitch(37, 25), 25);
    EXPECT_EQ(SnapToPitch(38, 25), 50);
    EXPECT_EQ(SnapToPitch(-13, 25), -25);
    EXPECT_EQ(std::tuple(GridPitch(0), GridPitch(1), GridPitch(2), GridPitch(3)), std::tuple(0, 15, 25, 35));
}

TEST(PaperEditingTest, MoveOutlinesSnapAndKeepAnAxis)
{
    const std::vector<TRect> frames{{100, 100, 160, 140}, {200, 50, 220, 70}};
    const TDragMode move;
    // Shift keeps the larger axis only (x on a tie goes).
    auto outlines = DragOutlines(frames, frames[0], {40, 7}, move, true, 0);
    EXPECT_EQ(Sides(outlines[0]), std::tuple(140, 100, 200, 140));
    EXPECT_EQ(Sides(outlines[1]), std::tuple(240, 50, 260, 70));
    outlines = DragOutlines(frames, frames[0], {5, 5}, move, true, 0);
    EXPECT_EQ(Sides(outlines[0]), std::tuple(100, 105, 160, 145));
    // The focused frame's corner lands on the grid; the others move with it.
    outlines = DragOutlines(frames, frames[0], {13, -14}, move, false, 25);
    EXPECT_EQ(Sides(outlines[0]), std::tuple(125, 75, 185, 115));
    EXPECT_EQ(Sides(outlines[1]), std::tuple(225, 25, 245, 45));
}

TEST(PaperEditingTest, ResizeOutlinesKeepTheRatioWithShift)
{
    const std::vector<TRect> one{{100, 100, 200, 150}};
    auto resize = [&](quint8 h, quint8 v, QPoint delta, bool shift, const std::vector<TRect>& frames) {
        return DragOutlines(frames, frames[0], delta, TDragMode{true, h, v}, shift, 0);
    };
    struct Case
    {
        quint8 h, v;
        QPoint delta;
        std::tuple<int, int, int, int> expected;
    };
    for (const Case& c : {
             Case{ZoneRight, ZoneBottom, {40, 2}, {100, 100, 240, 170}},
             Case{ZoneLeft, ZoneTop, {-40, 3}, {60, 80, 200, 150}},
             Case{ZoneRight, ZoneTop, {40, 0}, {100, 80, 240, 150}},
             Case{ZoneLeft, ZoneBottom, {-20, 0}, {80, 100, 200, 160}},
             Case{ZoneLeft, ZoneBottom, {0, 20}, {60, 100, 200, 170}},
             // Side handles grow the other axis equally on both sides.
             Case{ZoneRight, ZoneCentre, {20, 9}, {100, 95, 220, 155}},
             Case{ZoneLeft, ZoneCentre, {-20, 0}, {80, 95, 200, 155}},
             Case{ZoneCentre, ZoneTop, {0, -10}, {90, 90, 210, 150}},
             Case{ZoneCentre, ZoneBottom, {5, 10}, {90, 100, 210, 160}},
         }) {
        const TRect r = resize(c.h, c.v, c.delta, true, one)[0];
        EXPECT_EQ(Sides(r), c.expected) << int(c.h) << '/' << int(c.v);
    }
    // Without Shift only the dragged edges move.
    EXPECT_EQ(Sides(resize(ZoneRight, ZoneBottom, {40, 2}, false, one)[0]), std::tuple(100, 100, 240, 152));
    // Two frames scale inside their union.
    const std::vector<TRect> two{{0, 0, 50, 50}, {50, 50, 100, 100}};
    const auto scaled = resize(ZoneRight, ZoneBottom, {100, 100}, false, two);
    EXPECT_EQ(Sides(scaled[1]), std::tuple(100, 100, 200, 200));
    // A union without height has no ratio to keep: the drag still gives whole outlines.
    const std::vector<TRect> flat{{10, 10, 90, 10}};
    for (const auto& [h, v] : {std::pair(ZoneRight, ZoneBottom), std::pair(ZoneCentre, ZoneTop),
                               std::pair(ZoneRight, ZoneCentre)})
        EXPECT_EQ(Sides(resize(h, v, {20, 0}, true, flat)[0]),
                  std::tuple(10, 10, h == ZoneRight ? 110 : 90, 10));
    EXPECT_EQ(Sides(resize(ZoneRight, ZoneBottom, {20, 0}, true, {{10, 10, 10, 90}})[0]),
              std::tuple(10, 10, 30, 90));
}

TEST(PaperEditingTest, FramesWhollyOffThePaperComeBack)
{
    const QSize paper(378, 559);
    struct Case
    {
        TRect design;
        std::tuple<int, int, int, int> expected;
    };
    for (const Case& c : {
             Case{{400, 100, 460, 140}, {318, 100, 378, 140}}, // off the right edge
             Case{{340, 100, 400, 140}, {340, 100, 400, 140}}, // half off stays
             Case{{-80, -50, -20, -10}, {0, 0, 60, 40}},
             Case{{500, 600, 900, 640}, {0, 519, 400, 559}}, // wider than the paper
             Case{{378, 100, 438, 140}, {318, 100, 378, 140}}, // its left edge on the paper's right edge
         })
        EXPECT_EQ(Sides(BringInsidePaper(c.design, paper)), c.expected);
    EXPECT_EQ(Sides(RotatedRect({10, 20, 110, 70}, paper)), std::tuple(268, 489, 368, 539));
}

class PaperEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_doc.DesignSize = {378, 559};
        m_doc.DocumentOpen = true;
    }
    template <class T> T* Add(int kind, TRect design)
    {
        auto* frame = static_cast<T*>(m_doc.AddFreeFrame(kind, std::make_unique<T>()));
        frame->SetDesignRect(design);
        m_doc.InsertIntoStacking(frame, false);
        return frame;
    }
    TFigureRect* Figure(TRect design) { return Add<TFigureRect>(FreeFigure, design); }

    TLayoutDocument m_doc;
};

TEST_F(PaperEditorTest, ClickCtrlClickAndBand)
{
    TFigureRect* a = Figure({10, 10, 50, 50});
    TFigureRect* b = Figure({100, 10, 140, 50});
    TFigureRect* c = Figure({200, 10, 240, 50});
    TPaperEditor editor(PaperModelOf(m_doc));
    editor.Click(20, 20, false);
    editor.Click(110, 20, true);
    editor.Click(210, 20, true);
    ASSERT_EQ(m_doc.Selection, (std::vector<TDrawRect*>{a, b, c}));
    EXPECT_EQ(editor.Focused(), c);
    // Ctrl on the focused frame drops it and focuses the one before.
    editor.Click(210, 20, true);
    EXPECT_EQ(m_doc.Selection, (std::vector<TDrawRect*>{a, b}));
    EXPECT_EQ(editor.Focused(), b);
    // Ctrl on empty paper keeps everything; a plain click there empties the selection.
    editor.Click(300, 300, true);
    EXPECT_EQ(editor.Focused(), b);
    editor.Click(20, 20, false);
    EXPECT_EQ(editor.Focused(), a);
    EXPECT_EQ(m_doc.Selection.size(), 2u);
    editor.Click(300, 300, false);
    EXPECT_TRUE(m_doc.Selection.empty());
    EXPECT_EQ(m_doc.FocusIndex, -1);

    // The band takes the frames it touches, bottom of the stacking first, the last one focused.
    editor.SelectInBand({150, 60, 45, 45}, false);
    EXPECT_EQ(m_doc.Selection, (std::vector<TDrawRect*>{a, b}));
    EXPECT_EQ(editor.Focused(), b);
}

// A half turn twice gives back every frame: rectangles, upside-down text and codes, the sector's apex, the
// gradient and a line with one diagonal.
TEST_F(PaperEditorTest, RotateLayoutTwiceRestores)
{
    TFigureRect* line = Figure({10, 20, 110, 70});
    line->SetLineDirections(LineFalling);
    TFigureRect* sector = Figure({30, 300, 130, 380});
    sector->SetFigureKind(FigureSector);
    sector->SetSectorDirection(1);
    sector->SetFillVisible(true);
    sector->SetGradient(true);
    sector->SetGradientAngle(200);
    auto* text = Add<TWordRect>(FreeText, {50, 100, 250, 140});
    auto* qr = Add<TQRCodeRect>(FreeQRCode, {300, 480, 360, 540});
    qr->SetText("TOVAREL");
    qr->UpdateImage(true);
    auto* illust = Add<TIllustRect>(FreeIllustration, {200, 200, 240, 230});
    TGraphic graphic;
    graphic.Bitmap = QImage(4, 3, QImage::Format_RGB888);
    graphic.Bitmap.fill(Qt::white);
    graphic.Bitmap.setPixel(0, 0, qRgb(255, 0, 0));
    illust->SetGraphic(&graphic);
    const QImage picture = illust->GetBitmap();
    std::vector<TRect> before;
    for (TDrawRect* frame : m_doc.Stacking)
        before.push_back(frame->GetDesignRect());

    TPaperEditor editor(PaperModelOf(m_doc));
    editor.RotateLayout();
    EXPECT_EQ(Sides(line->GetDesignRect()), std::tuple(268, 489, 368, 539));
    EXPECT_EQ(line->LineDirections(), LineFalling);
    EXPECT_EQ(sector->SectorDirection(), 2);
    EXPECT_EQ(sector->GradientAngle(), 20);
    EXPECT_TRUE(text->UpsideDown());
    EXPECT_TRUE(qr->UpsideDown());
    EXPECT_EQ(illust->GetBitmap().pixel(3, 2), qRgb(255, 0, 0));

    editor.RotateLayout();
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(m_doc.Stacking[i]->GetDesignRect(), before[i]) << i;
    EXPECT_EQ(std::tuple(sector->SectorDirection(), sector->GradientAngle()), std::tuple(quint8(1), 200));
    EXPECT_FALSE(text->UpsideDown());
    EXPECT_FALSE(qr->UpsideDown());
    EXPECT_EQ(illust->GetBitmap(), picture);
}

TEST_F(PaperEditorTest, ArrowKeysMoveResizeAndRecordOneAction)
{
    TFigureRect* a = Figure({100, 100, 160, 140});
    TFigureRect* b = Figure({370, 10, 390, 30});
    m_doc.Zoom = 1.0;
    TPaperEditor editor(PaperModelOf(m_doc));
    EXPECT_FALSE(editor.ArrowKey(Qt::Key_Left, false, false, 0));
    editor.Click(110, 110, false);
    editor.Click(375, 15, true);
    ASSERT_TRUE(editor.ArrowKey(Qt::Key_Right, false, true, 0));
    EXPECT_EQ(Sides(a->GetDesignRect()), std::tuple(110, 100, 170, 140));
    // Wholly off the right edge: back onto it.
    EXPECT_EQ(Sides(b->GetDesignRect()), std::tuple(358, 10, 378, 30));
    ASSERT_EQ(m_doc.Undo.Count(), 1);
    const TUndoDatas* action = m_doc.Undo.GetEntry(0);
    EXPECT_EQ(action->UndoActionKind(), UndoMove);
    ASSERT_EQ(action->Count(), 2);
    const auto* item = static_cast<const TRectUndoData*>(action->GetItem(0));
    EXPECT_EQ(Sides(item->GetRect(0)), std::tuple(100, 100, 160, 140));
    EXPECT_EQ(Sides(item->GetRect(1)), std::tuple(110, 100, 170, 140));
    EXPECT_EQ(item->ZOrder(), 1);
    EXPECT_EQ(action->GetSelectionCount(1), 2);
    EXPECT_EQ(action->GetFocused(1), 1);
    EXPECT_TRUE(m_doc.Modified);

    // Ctrl works on the far edges and never makes a frame smaller than 10 units.
    editor.Click(110, 110, false);
    for (int i = 0; i < 7; ++i)
        editor.ArrowKey(Qt::Key_Up, true, true, 0);
    EXPECT_EQ(Sides(a->GetDesignRect()), std::tuple(110, 100, 170, 110));
}

} // namespace
