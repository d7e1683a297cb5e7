// The design window's paper under the mouse and keys (selection, the selected-frame box and popup actions,
// snapped and axis-locked drags, drops and keys kept on the paper, double clicks), its fit zoom, what it
// paints, and printing from the window through the dialog to the recording and the PDF printers.
#include "core/MainSettings.h"
#include "designers/DesignForm.h"
#include "designers/DesignPrint.h"
#include "designers/PaperView.h"
#include "designers/UndoList.h"
#include "layoutobjects/FigureRect.h"
#include "platform/IniFile.h"
#include "support/DesignerFolders.h"
#include "support/DrawingFixture.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/PanelMouse.h"
#include "support/XvfbShot.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

namespace {

constexpr int ZoomIndex100 = 5;
constexpr int ZoomIndex50 = 7;

std::tuple<int, int, int, int> Sides(const TRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

class DesignFormCanvasTest : public DrawingTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folders.FoldersMade());
        // No start menu: the window starts with the new-design dialog.
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        ini.WriteString(QStringLiteral("LAYOUT"), QStringLiteral("Menu"), QStringLiteral("0"));
        ASSERT_TRUE(ini.UpdateFile());
    }
    void TearDown() override
    {
        if (m_window)
            m_window->Document().Modified = false;
        delete m_window.data();
    }
    // The window shown with a new postcard design (378 x 559) at a zoom entry; the printers are set before.
    TDesignForm& Window(int zoomIndex = ZoomIndex100)
    {
        {
            ModalDriver driver;
            driver.on(QStringLiteral("NewDesignDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
            m_window = new TDesignForm();
            m_window->resize(900, 760);
            m_window->show();
            EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->Document().DocumentOpen; }));
        }
        m_window->findChild<QComboBox*>(QStringLiteral("cbxRatio"))->setCurrentIndex(zoomIndex);
        return *m_window;
    }
    TDesignDocument& Doc() { return m_window->Document(); }
    TFigureRect* Figure(TRect design)
    {
        auto* frame = static_cast<TFigureRect*>(Doc().AddFreeFrame(FreeFigure, std::make_unique<TFigureRect>()));
        frame->SetDesignRect(design);
        m_window->UpdateRectList();
        m_window->PaperView()->sbxPreviewResize();
        return frame;
    }
    PanelMouse Mouse() const { return {m_window->PaperView()->Panel()}; }
    QAction* Action(const char* name) const { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    // The action under its name, enabled and with nothing behind it but a counter.
    QSignalSpy* Counted(const char* name)
    {
        QAction* a = Action(name);
        if (!a) {
            a = new QAction(m_window);
            a->setObjectName(QString::fromLatin1(name));
        }
        QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
        a->setEnabled(true);
        m_spies.push_back(std::make_unique<QSignalSpy>(a, &QAction::triggered));
        return m_spies.back().get();
    }
    QComboBox* RectBox() const { return m_window->findChild<QComboBox*>(QStringLiteral("cbxViewRect")); }
    void SnapToGrid()
    {
        Action("actGridNomal")->trigger();
        Action("actAdjustGrid")->setChecked(true);
    }

    TDesignerFolders m_folders;
    QPointer<TDesignForm> m_window;
    MessageRecorder m_messages;
    std::vector<std::unique_ptr<QSignalSpy>> m_spies;
};

TEST_F(DesignFormCanvasTest, ClickCtrlClickBandAndTheSelectedFrameBox)
{
    Window();
    TFigureRect* a = Figure({10, 10, 50, 50});
    TFigureRect* b = Figure({100, 10, 140, 50});
    TFigureRect* c = Figure({200, 10, 240, 50});
    Counted("actFigureSet");
    QAction* figureSet = Action("actFigureSet");
    m_window->UpdatePopupActions();
    EXPECT_FALSE(figureSet->isVisible());

    Mouse().Click({20, 20});
    EXPECT_EQ(RectBox()->currentText(), QStringLiteral("図形1"));
    EXPECT_TRUE(figureSet->isVisible());
    Mouse().Click({110, 20}, Qt::ControlModifier);
    EXPECT_EQ(RectBox()->currentText(), QStringLiteral("図形2"));
    // Ctrl on the focused frame drops it; the focus goes back to the one before.
    Mouse().Click({110, 20}, Qt::ControlModifier);
    EXPECT_EQ(Doc().Selection, (std::vector<TDrawRect*>{a}));
    EXPECT_EQ(RectBox()->currentText(), QStringLiteral("図形1"));

    // A press on empty paper empties the selection and draws a band; the topmost frame ends focused.
    Mouse().Drag({300, 300}, {120, 45});
    EXPECT_EQ(Doc().Selection, (std::vector<TDrawRect*>{b, c}));
    EXPECT_EQ(RectBox()->currentText(), QStringLiteral("図形3"));
    EXPECT_EQ(Doc().Undo.Count(), 0);

    // The box: "なし" empties the selection, a frame becomes the only one selected.
    RectBox()->setCurrentIndex(0);
    emit RectBox()->activated(0);
    EXPECT_TRUE(Doc().Selection.empty());
    EXPECT_FALSE(figureSet->isVisible());
    RectBox()->setCurrentIndex(1);
    emit RectBox()->activated(1);
    EXPECT_EQ(Doc().Selection, (std::vector<TDrawRect*>{a}));
    EXPECT_TRUE(figureSet->isVisible());
}

TEST_F(DesignFormCanvasTest, DragsSnapToTheGridAndShiftKeepsOneAxis)
{
    Window();
    TFigureRect* frame = Figure({100, 100, 160, 140});
    SnapToGrid();
    ASSERT_TRUE(m_window->SaveToFile(DesignFolder + QStringLiteral("a.gpd")));
    // The frame's corner lands on the nearest grid point: (113, 86) goes to (125, 75).
    Mouse().Drag({120, 120}, {133, 106});
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(125, 75, 185, 115));
    EXPECT_EQ(Doc().Undo.Count(), 1);
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("文面印刷 - a (更新)"));

    Action("actAdjustGrid")->setChecked(false);
    Mouse().Drag({150, 95}, {190, 102}, Qt::ShiftModifier);
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(165, 75, 225, 115));
    Mouse().Drag({180, 95}, {183, 135}, Qt::ShiftModifier);
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(165, 115, 225, 155));
}

// A drop leaving a frame wholly off the 378-pixel paper brings it back.
TEST_F(DesignFormCanvasTest, DropsComeBackOntoThePaper)
{
    Window();
    struct Case
    {
        TRect design;
        int dx;
        std::tuple<int, int, int, int> expected;
    };
    const Case cases[] = {
        {{50, 300, 150, 340}, -200, {0, 300, 100, 340}},   // left of the paper
        {{-10, 100, 390, 140}, 400, {0, 100, 400, 140}},   // right of it, 400 wide
        {{200, 200, 300, 240}, 300, {278, 200, 378, 240}}, // right of it, 100 wide
    };
    for (const Case& c : cases) {
        TFigureRect* frame = Figure(c.design);
        const QPoint grip(qMax(0, c.design.left) + 5, c.design.top + 10);
        Mouse().Click(grip);
        ASSERT_EQ(Doc().Selection, (std::vector<TDrawRect*>{frame}));
        Mouse().Drag(grip, grip + QPoint(c.dx, 0));
        EXPECT_EQ(Sides(frame->GetDesignRect()), c.expected) << c.dx;
    }
}

TEST_F(DesignFormCanvasTest, ArrowKeysAndShiftResize)
{
    Window(ZoomIndex50);
    SnapToGrid();
    // At 50 % a frame at 46 design pixels stands at 23 on the screen; Right takes it to 50, 100 in design.
    TFigureRect* frame = Figure({46, 20, 86, 60});
    QWidget* panel = m_window->PaperView()->Panel();
    Mouse().Click({30, 20});
    QTest::keyClick(panel, Qt::Key_Right);
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(100, 20, 140, 60));

    // Ctrl+arrow keeps 10 design pixels at least.
    Action("actAdjustGrid")->setChecked(false);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(panel, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(100, 20, 110, 60));
    EXPECT_EQ(Doc().Undo.GetEntry(0)->UndoActionKind(), UndoMove);

    // Shift on the right-middle handle grows the frame up and down by half the proportional height.
    m_window->findChild<QComboBox*>(QStringLiteral("cbxRatio"))->setCurrentIndex(ZoomIndex100);
    frame->SetDesignRect({100, 100, 200, 150});
    m_window->PaperView()->sbxPreviewResize();
    Mouse().Hover({198, 125});
    Mouse().Drag({198, 125}, {218, 125}, Qt::ShiftModifier);
    EXPECT_EQ(Sides(frame->GetDesignRect()), std::tuple(100, 95, 220, 155));
}

TEST_F(DesignFormCanvasTest, DoubleClicksAndDelete)
{
    Window();
    Figure({100, 100, 160, 140});
    QSignalSpy* figureSet = Counted("actFigureSet");
    QSignalSpy* remove = Counted("actDelete");
    {
        ModalDriver driver;
        driver.on(QStringLiteral("BackImageDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        Mouse().DoubleClick({300, 400});
    }
    EXPECT_EQ(figureSet->count(), 0);
    Mouse().DoubleClick({120, 120});
    EXPECT_EQ(figureSet->count(), 1);
    QTest::keyClick(m_window->PaperView()->Panel(), Qt::Key_Delete);
    EXPECT_EQ(remove->count(), 1);
}

TEST_F(DesignFormCanvasTest, FitZoomTakesNoScrollBarsIntoAccount)
{
    Window(1);
    TPaperView* view = m_window->PaperView();
    QCoreApplication::processEvents();
    ASSERT_TRUE(view->verticalScrollBar()->isVisible());
    m_window->findChild<QComboBox*>(QStringLiteral("cbxRatio"))->setCurrentIndex(0);
    QCoreApplication::processEvents();
    const double w = view->width() - 4, h = view->height() - 4;
    EXPECT_DOUBLE_EQ(Doc().Zoom, qMin((w - 40) / 378, (h - 40) / 559));
    EXPECT_FALSE(view->verticalScrollBar()->isVisible());
    EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
}

// Frames, grid, selection marks (hollow for a QR code) and the printable area on the panel.
TEST_F(DesignFormCanvasTest, PaintsGridSelectionAndPrintableArea)
{
    TScopedPrinter printer(600, {236, 236}); // 10 mm margins: 38 design pixels
    Window();
    const QString path = DesignFolder + QStringLiteral("every.gpd");
    ASSERT_TRUE(QFile::copy(GoldenDesignFile, path));
    ASSERT_TRUE(m_window->LoadFromFile(path));
    m_window->findChild<QComboBox*>(QStringLiteral("cbxRatio"))->setCurrentIndex(ZoomIndex100);
    Action("actGridNomal")->trigger();
    TDrawRect* qr = Doc().FreeFrames(FreeQRCode).front().get();
    TDrawRect* figure = Doc().FreeFrames(FreeFigure).front().get();
    Doc().Selection = {figure, qr};
    Doc().FocusedIndex = 0;
    m_window->SyncRectCombo();
    m_window->PaperView()->Panel()->update();
    KeepXvfbScreen(QStringLiteral("design-canvas.xwd"));

    const QImage shot = m_window->PaperView()->Panel()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(25 * 14, 25 * 21), QColor(0xC0, 0xC0, 0xC0)); // a grid dot off the frames
    const TRect f = figure->GetScreenRect(), q = qr->GetScreenRect();
    EXPECT_EQ(shot.pixelColor(f.left - 1, f.top - 1), QColor(Qt::black)); // filled handle of the focused frame
    EXPECT_EQ(shot.pixelColor(q.left - 3, q.top - 3), QColor(Qt::black)); // hollow handle: its edge
    EXPECT_NE(shot.pixelColor(q.left - 1, q.top - 1), QColor(Qt::black)); // and its inside
    EXPECT_EQ(RectBox()->currentText(), QStringLiteral("図形1"));
    const TRect area = Doc().PrintableArea;
    ASSERT_EQ(area.left, 38);
    bool dotted = false;
    for (int y = area.top; y < area.top + 10; ++y)
        dotted = dotted || shot.pixelColor(area.left, y) == QColor(0xC0, 0xC0, 0xC0);
    EXPECT_TRUE(dotted);
}

TEST_F(DesignFormCanvasTest, PrintsThroughTheDialogOrSaysThereIsNothing)
{
    TScopedPrinter printer(600, {100, 100});
    Window();
    m_messages.answer(MsgSeam::IdOk);
    Action("actPrint")->trigger();
    ASSERT_EQ(m_messages.count(), 1);
    EXPECT_EQ(m_messages.last().text, QStringLiteral("印刷するデータがありません  "));
    EXPECT_TRUE(printer.Printer()->Pages().empty());

    TFigureRect* figure = Figure({96, 192, 192, 288});
    m_messages.answer(MsgSeam::IdYes);
    {
        ModalDriver driver;
        driver.on(QStringLiteral("DesignPrintDialog"),
                  [](QWidget* w) { w->findChild<QPushButton*>(QStringLiteral("btnPrint"))->click(); });
        Action("actPrint")->trigger();
    }
    ASSERT_EQ(m_messages.count(), 2);
    ASSERT_EQ(printer.Printer()->Pages().size(), 1u);
    EXPECT_EQ(printer.Printer()->JobTitles(), QStringList{QStringLiteral("文面印刷")});
    EXPECT_EQ(figure->GetPrinterRect().left, 500);
    EXPECT_TRUE(m_window->isEnabled());
}

TEST_F(DesignFormCanvasTest, FailingPrintIsReportedAndTheWindowsComeBack)
{
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TFailingEndPrinter>());
    TPrinterList::Instance().SetPrinters(std::move(printers), 0);
    Window();
    Figure({10, 10, 90, 90});
    QWidget other;
    other.show();
    m_messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    {
        ModalDriver driver;
        driver.on(QStringLiteral("DesignPrintDialog"),
                  [](QWidget* w) { w->findChild<QPushButton*>(QStringLiteral("btnPrint"))->click(); });
        Action("actPrint")->trigger();
    }
    ASSERT_EQ(m_messages.count(), 2);
    EXPECT_TRUE(m_messages.last().flags & MsgSeam::MbIconStop);
    EXPECT_TRUE(other.isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The golden design printed to the virtual PDF printer; with TOVAREL_PDF_PRINTER set the job stays there.
TEST_F(DesignFormCanvasTest, PostcardToThePdfPrinter)
{
    const QString folder = qEnvironmentVariable("TOVAREL_PDF_PRINTER", m_folders.FilePath(QStringLiteral("pdf")));
    QDir().mkpath(folder);
    const QStringList before = QDir(folder).entryList({QStringLiteral("job-*.pdf")});
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TPdfPrinter>(VirtualPdfPrinterName, folder, true, 600));
    TPrinterList::Instance().SetPrinters(std::move(printers), 0);
    Window();
    const QString path = DesignFolder + QStringLiteral("every.gpd");
    ASSERT_TRUE(QFile::copy(GoldenDesignFile, path));
    ASSERT_TRUE(m_window->LoadFromFile(path));
    m_messages.answer(MsgSeam::IdYes);
    {
        ModalDriver driver;
        driver.on(QStringLiteral("DesignPrintDialog"),
                  [](QWidget* w) { w->findChild<QPushButton*>(QStringLiteral("btnPrint"))->click(); });
        Action("actPrint")->trigger();
    }
    QStringList after = QDir(folder).entryList({QStringLiteral("job-*.pdf")});
    for (const QString& old : before)
        after.removeOne(old);
    ASSERT_EQ(after.size(), 1);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QDir(folder).filePath(after.front())});
    ASSERT_TRUE(info.waitForFinished());
    // One postcard page: 100 x 148 mm are 283.5 x 419.5 points.
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << text.toStdString();
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(text);
    ASSERT_TRUE(size.hasMatch()) << text.toStdString();
    EXPECT_NEAR(size.captured(1).toDouble(), 283.5, 1);
    EXPECT_NEAR(size.captured(2).toDouble(), 419.5, 1);
}

} // namespace
