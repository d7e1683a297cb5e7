// The paper view under the mouse and keys: fit zoom in the box, grid arrow keys, Shift drags and resizes,
// Ctrl-click, the rubber band, drops off the paper, double click, Delete, the wheel and what gets painted.
#include "designers/LayoutDocument.h"
#include "designers/PaperView.h"
#include "layoutobjects/FigureRect.h"
#include "platform/DisplayList.h"
#include "support/PanelMouse.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <tuple>

namespace {

std::tuple<int, int, int, int> Sides(const TRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

class PaperViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_doc.DesignSize = {378, 559};
        m_doc.DocumentOpen = true;
    }
    TFigureRect* Figure(TRect design)
    {
        auto* frame = static_cast<TFigureRect*>(m_doc.AddFreeFrame(FreeFigure, std::make_unique<TFigureRect>()));
        frame->SetDesignRect(design);
        m_doc.InsertIntoStacking(frame, false);
        return frame;
    }
    // A view of 804 x 604 pixels at a zoom entry.
    TPaperView& View(int zoomIndex = Zoom100)
    {
        m_view = std::make_unique<TPaperView>(m_doc);
        m_view->resize(804, 604);
        m_view->show();
        m_view->SetZoomIndex(zoomIndex);
        m_view->sbxPreviewResize();
        return *m_view;
    }
    QWidget* Panel() const { return m_view->Panel(); }
    void Mouse(QEvent::Type type, QPoint p, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {})
    {
        PanelMouse{Panel()}.Send(type, p, buttons, mods);
    }
    void Hover(QPoint p) { PanelMouse{Panel()}.Hover(p); }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) { PanelMouse{Panel()}.Drag(from, to, mods); }
    void Click(QPoint p, Qt::KeyboardModifiers mods = {}) { PanelMouse{Panel()}.Click(p, mods); }

    TLayoutDocument m_doc;
    std::unique_ptr<TPaperView> m_view;
};

TEST_F(PaperViewTest, FitZoomInTheBoxAndFixedZoomScrolls)
{
    Figure({10, 10, 50, 50});
    m_view = std::make_unique<TPaperView>(m_doc);
    QSignalSpy zoomed(m_view.get(), &TPaperView::zoomChanged);
    m_view->resize(804, 604);
    m_view->show();
    m_view->sbxPreviewResize();
    EXPECT_DOUBLE_EQ(m_view->Zoom(), 560.0 / 559);
    ASSERT_FALSE(zoomed.isEmpty());
    EXPECT_EQ(zoomed.last().at(1).toString(), QStringLiteral("  表示： 100%"));
    EXPECT_EQ(m_view->Panel()->size(), QSize(379, 560));
    EXPECT_DOUBLE_EQ(m_doc.Stacking[0]->Zoom(), 560.0 / 559);

    m_view->SetZoomIndex(1);
    EXPECT_EQ(m_view->Zoom(), 2.0);
    EXPECT_EQ(m_view->Spacer()->size(), QSize(796, 1158));
    EXPECT_EQ(Sides(m_doc.Stacking[0]->GetScreenRect()), std::tuple(20, 20, 100, 100));
    QScrollBar* bar = m_view->verticalScrollBar();
    QCoreApplication::processEvents(); // the bars show through a queued call
    ASSERT_TRUE(bar->isVisible());
    // A sent wheel event does not travel up from the panel: it goes to the viewport.
    QWheelEvent wheel(QPointF(100, 100), m_view->viewport()->mapToGlobal(QPointF(100, 100)), {},
                      QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_view->viewport(), &wheel);
    EXPECT_EQ(bar->value(), QApplication::wheelScrollLines() * 20);
    // Choosing another zoom scrolls back to the origin.
    m_view->SetZoomIndex(2);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(PaperViewTest, ArrowKeysSnapToTheGrid)
{
    struct Case
    {
        int left;
        Qt::Key key;
        int expected;
    };
    for (const Case& c : {Case{31, Qt::Key_Left, 25}, Case{31, Qt::Key_Right, 50}, Case{26, Qt::Key_Left, 0}}) {
        m_doc.Stacking.clear();
        m_doc.Selection.clear();
        TFigureRect* frame = Figure({c.left, 100, c.left + 40, 140});
        TPaperView& view = View();
        view.SetGridSize(2);
        view.SetGridSnap(true);
        QSignalSpy modified(&view, &TPaperView::documentModified);
        Click({c.left + 5, 110});
        QTest::keyClick(Panel(), c.key);
        EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(c.expected, 100, c.expected + 40, 140)) << c.left;
        EXPECT_EQ(modified.count(), 1);
    }
    // Without snapping Shift steps by 10, Ctrl works on the far edge.
    const TDrawRect* frame = m_doc.Stacking.at(0);
    m_view->SetGridSnap(false);
    QTest::keyClick(Panel(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(Panel(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(0, 110, 41, 150));
}

TEST_F(PaperViewTest, ShiftDragKeepsOneAxis)
{
    TFigureRect* frame = Figure({100, 100, 160, 140});
    View();
    Drag({120, 120}, {160, 127}, Qt::ShiftModifier);
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(140, 100, 200, 140));

    // Shift pressed during the drag constrains the outline at once.
    Mouse(QEvent::MouseButtonPress, {150, 120}, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {160, 150}, Qt::LeftButton);
    EXPECT_EQ(Sides(m_view->Panel()->DragRects().at(0)), std::tuple(150, 130, 210, 170));
    QTest::keyPress(Panel(), Qt::Key_Shift);
    EXPECT_EQ(Sides(m_view->Panel()->DragRects().at(0)), std::tuple(140, 130, 200, 170));
    Mouse(QEvent::MouseButtonRelease, {160, 150}, Qt::NoButton, Qt::ShiftModifier);
    QTest::keyRelease(Panel(), Qt::Key_Shift);
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(140, 130, 200, 170));
    EXPECT_TRUE(m_view->Panel()->DragRects().empty());
    // One undo action per drop.
    EXPECT_EQ(m_doc.Undo.Count(), 2);
    EXPECT_TRUE(m_doc.Modified);
}

TEST_F(PaperViewTest, ShiftResizeKeepsTheRatio)
{
    TFigureRect* frame = Figure({100, 100, 200, 150});
    View();
    Click({150, 120});
    // The corner keeps the ratio 2:1.
    Hover({198, 148});
    Drag({198, 148}, {238, 150}, Qt::ShiftModifier);
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(100, 100, 240, 170));
    // The right side grows the height equally up and down.
    frame->SetDesignRect({100, 100, 200, 150});
    Hover({198, 125});
    Drag({198, 125}, {218, 125}, Qt::ShiftModifier);
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(100, 95, 220, 155));
    // A drop never makes a frame narrower than 10 zoomed units.
    frame->SetDesignRect({100, 100, 200, 150});
    Hover({198, 125});
    Drag({198, 125}, {103, 125});
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(100, 100, 110, 150));
}

TEST_F(PaperViewTest, CtrlClickAndRubberBand)
{
    TFigureRect* a = Figure({10, 10, 50, 50});
    TFigureRect* b = Figure({100, 10, 140, 50});
    TFigureRect* c = Figure({200, 10, 240, 50});
    View();
    QSignalSpy changed(m_view.get(), &TPaperView::selectionChanged);
    Click({20, 20});
    Click({110, 20}, Qt::ControlModifier);
    Click({210, 20}, Qt::ControlModifier);
    ASSERT_EQ(m_doc.Selection, (std::vector<TDrawRect*>{a, b, c}));
    Click({210, 20}, Qt::ControlModifier);
    EXPECT_EQ(m_doc.Selection, (std::vector<TDrawRect*>{a, b}));
    EXPECT_EQ(m_doc.FocusIndex, 1);
    EXPECT_EQ(changed.count(), 4);

    // A press on empty paper clears the selection and starts a band.
    Drag({300, 300}, {120, 45});
    EXPECT_EQ(m_doc.Selection, (std::vector<TDrawRect*>{b, c}));
    EXPECT_EQ(m_doc.FocusIndex, 1);
    EXPECT_TRUE(m_view->Panel()->DragRects().empty());
    EXPECT_EQ(m_doc.Undo.Count(), 0);
}

TEST_F(PaperViewTest, DropsOffTheRightEdge)
{
    TFigureRect* frame = Figure({300, 100, 360, 140});
    View();
    Drag({320, 120}, {420, 120});
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(318, 100, 378, 140));
    Drag({330, 120}, {360, 120});
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(348, 100, 408, 140));
}

TEST_F(PaperViewTest, DoubleClickDeleteAndThePreview)
{
    TFigureRect* frame = Figure({100, 100, 160, 140});
    View();
    QSignalSpy doubled(m_view.get(), &TPaperView::frameDoubleClicked);
    QSignalSpy deleting(m_view.get(), &TPaperView::deleteRequested);
    QSignalSpy popup(m_view.get(), &TPaperView::contextMenuRequested);
    Click({120, 120});
    Mouse(QEvent::MouseButtonDblClick, {120, 120}, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, {120, 120}, Qt::NoButton);
    ASSERT_EQ(doubled.count(), 1);
    EXPECT_EQ(doubled.at(0).at(0).value<TDrawRect*>(), frame);
    QTest::keyClick(Panel(), Qt::Key_Delete);
    EXPECT_EQ(deleting.count(), 1);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, {120, 120}, Panel()->mapToGlobal(QPoint(120, 120)));
    QApplication::sendEvent(Panel(), &menu);
    EXPECT_EQ(popup.count(), 1);

    // The print preview shows its page at the zoom and takes no input.
    auto page = std::make_shared<TDisplayList>(QSize(400, 600));
    {
        QPainter painter(page.get());
        painter.fillRect(QRect(0, 0, 200, 600), Qt::red);
    }
    m_view->SetPreviewPage(page, {400, 600});
    EXPECT_TRUE(m_view->PreviewMode());
    EXPECT_EQ(m_view->Panel()->size(), QSize(400, 600));
    const QImage shot = Panel()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(150, 300), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(250, 300), QColor(Qt::white));
    Drag({120, 120}, {200, 200});
    QTest::keyClick(Panel(), Qt::Key_Right);
    QApplication::sendEvent(Panel(), &menu);
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(100, 100, 160, 140));
    EXPECT_EQ(popup.count(), 1);
    m_view->SetPreviewPage(nullptr, {});
    Drag({120, 120}, {130, 120});
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(110, 100, 170, 140));
}

// Frames, the paper edge, the grid and the selection handles appear on the panel.
TEST_F(PaperViewTest, PaintsFramesGridAndHandles)
{
    TFigureRect* frame = Figure({100, 100, 160, 140});
    frame->SetFillVisible(true);
    frame->SetFillColor(0x0000FF); // red
    frame->SetFigureKind(FigureRectangle);
    View();
    m_view->SetGridSize(2);
    m_view->SetGridVisible(true);
    Click({130, 120});
    const QImage shot = Panel()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 310), QColor(Qt::black));             // paper edge
    EXPECT_EQ(shot.pixelColor(130, 120).red(), 255);                     // the figure's fill
    EXPECT_EQ(shot.pixelColor(75, 75), QColor(0xC0, 0xC0, 0xC0));        // a grid dot
    EXPECT_EQ(shot.pixelColor(97 + 3, 97 + 3), QColor(Qt::black));       // focused handle
    EXPECT_EQ(shot.pixelColor(130, 90), QColor(Qt::white));              // plain paper
}

TEST_F(PaperViewTest, PaintsTheBackgroundExceptOnASenderOnlyEnvelope)
{
    const QColor green(0, 160, 0);
    m_doc.Background = QImage(40, 60, QImage::Format_RGB888);
    m_doc.Background.fill(green);
    View();
    EXPECT_EQ(m_view->WorkingPicture().size(), Panel()->size());
    EXPECT_EQ(Panel()->grab().toImage().pixelColor(130, 90), green);

    struct Case
    {
        int kind, senderMode;
        bool shown;
    };
    for (const Case c : {Case{PaperEnvelope, 2, false}, Case{PaperEnvelope, 1, true}, Case{0, 2, true}}) {
        m_doc.Paper.Kind = c.kind;
        m_doc.SenderDisplayMode = quint8(c.senderMode);
        EXPECT_EQ(Panel()->grab().toImage().pixelColor(130, 90), c.shown ? green : QColor(Qt::white))
            << c.kind << ' ' << c.senderMode;
    }

    // A paper without a picture drops the old one at the next layout.
    m_doc.Background = QImage();
    m_view->sbxPreviewResize();
    EXPECT_TRUE(m_view->WorkingPicture().isNull());
}

} // namespace
