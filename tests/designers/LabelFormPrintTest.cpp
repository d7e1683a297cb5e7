// The label window's print commands: a job through the wizard on the recording printer, and the preview of the
// sheet with its page buttons, zoom box, printable area, Ctrl+Z doing nothing and Esc and Ctrl+F4 back into
// the wizard.
#include "core/MainSettings.h"
#include "core/PDFHelp.h"
#include "designers/LabelForm.h"
#include "designers/PaperView.h"
#include "layoutobjects/PaperFormat.h"
#include "platform/Printers.h"
#include "support/DrawingFixture.h"
#include "support/DesignerFolders.h"
#include "support/FakeListRows.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/XvfbShot.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

class LabelFormPrintTest : public DrawingTest, protected TDesignerFolders
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FoldersMade());
        m_rows = FakeListRows::ofCount(0);
        for (int i = 0; i < 13; ++i)
            m_rows.recNos.append(i + 1);
    }
    void TearDown() override { delete m_window.data(); }
    // The shown window over 13 records with the new label layout the start menu offers.
    TLabelForm& Window(ModalDriver& driver, quint8 mode = LabelModeLabel)
    {
        auto list = std::make_unique<TMemoryAddressList>();
        for (int i = 0; i < 13; ++i) {
            TMemoryRow row;
            row.Fields = {{"RecNo", i + 1}, {"NameKanji", QStringLiteral("宛名%1").arg(i + 1)}, {"Pos", "1000013"}};
            list->Rows.push_back(row);
        }
        TLayoutSources sources;
        sources.AddressList = std::move(list);
        m_window = new TLabelForm(std::move(sources));
        m_window->SetCardMode(mode == LabelModeCard);
        m_window->SetPrintRows(&m_rows);
        driver.on(QStringLiteral("PrintMenuDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        driver.on(QStringLiteral("NewLabelDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        m_window->show();
        EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->Document().DocumentOpen; }));
        return *m_window;
    }
    static void AllRows(QWidget* wizard)
    {
        wizard->findChild<QRadioButton*>(QStringLiteral("rbDataRange3"))->click();
        wizard->findChild<QPushButton*>(QStringLiteral("btnNext"))->click();
    }
    QToolButton* Button(const char* name) { return m_window->findChild<QToolButton*>(QString::fromLatin1(name)); }

    FakeListRows m_rows;
    QPointer<TLabelForm> m_window;
    MessageRecorder m_messages;
};

TEST_F(LabelFormPrintTest, PrintThroughTheWizard)
{
    TScopedPrinter printer(300);
    ModalDriver driver;
    TLabelForm& window = Window(driver);
    ASSERT_TRUE(window.Document().Paper.SheetIndex != 0);
    driver.on(QStringLiteral("LayoutPrintDialog"), [](QWidget* w) {
        AllRows(w);
        w->findChild<QPushButton*>(QStringLiteral("btnPrint"))->click();
    });
    m_messages.answer(MsgSeam::IdYes);
    window.findChild<QAction*>(QStringLiteral("actPrint"))->trigger();
    EXPECT_EQ(window.PrintSettings().RecNos.size(), 13);
    EXPECT_EQ(printer.Printer()->JobTitles(), QStringList{LabelTitle(LabelModeLabel)});
    EXPECT_GE(printer.Printer()->Pages().size(), 1u);
    EXPECT_TRUE(window.isEnabled());
}

TEST_F(LabelFormPrintTest, PreviewPagesCtrlZAndEscapeBackIntoTheWizard)
{
    TScopedPrinter printer(300);
    ModalDriver driver;
    TLabelForm& window = Window(driver);
    // The design view's printable area counts from the first piece, the preview's from the sheet's corner.
    const TLayoutDocument& d = window.Document();
    ASSERT_EQ(d.Paper.Direction, 0);
    const TRect fromPiece = d.PrintArea;
    const QPoint corner(TenthMmToDesign(d.Sheet.LeftMargin), TenthMmToDesign(d.Sheet.TopMargin));
    ASSERT_FALSE(corner.isNull());
    auto area = [](const TRect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)); };
    auto* ratio = window.findChild<QComboBox*>(QStringLiteral("cbxRatio"));
    auto* ratio2 = window.findChild<QComboBox*>(QStringLiteral("cbxRatio2"));
    ratio->setCurrentIndex(5);
    driver.on(QStringLiteral("LayoutPrintDialog"), [](QWidget* w) {
        AllRows(w);
        w->findChild<QPushButton*>(QStringLiteral("btnPreview2"))->click();
    });
    window.actPrintExecute();
    ASSERT_TRUE(window.PreviewShown());
    const TPrintPreview& preview = *window.Preview();
    EXPECT_GE(preview.PageCount(), 2);
    EXPECT_TRUE(window.PaperView()->PreviewMode());
    EXPECT_TRUE(window.findChild<QToolBar*>(QStringLiteral("PreviewToolBar"))->isVisible());
    EXPECT_FALSE(window.findChild<QToolBar*>(QStringLiteral("tbHolder"))->isVisible());
    EXPECT_TRUE(Button("tbtnNextPreview")->isEnabled());
    EXPECT_FALSE(Button("tbtnPriorPreview")->isEnabled());
    KeepXvfbScreen(QStringLiteral("label-preview-1.xwd"));
    Button("tbtnNextPreview")->click();
    EXPECT_EQ(preview.CurrentPage(), 1);
    KeepXvfbScreen(QStringLiteral("label-preview-2.xwd"));
    EXPECT_TRUE(Button("tbtnPriorPreview")->isEnabled());
    EXPECT_EQ(area(d.PrintArea), area(fromPiece).translated(corner));
    // The preview's zoom box starts at the tool bar's zoom and checks the zoom menu's item.
    ASSERT_TRUE(ratio2 && ratio2->isVisible());
    EXPECT_EQ(ratio2->currentIndex(), 5);
    ratio2->setCurrentIndex(2);
    EXPECT_TRUE(window.findChild<QAction*>(QStringLiteral("mmi175"))->isChecked());

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const bool modified = window.Document().Modified;
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(window.PreviewShown());
    EXPECT_EQ(window.Document().Modified, modified);

    // Esc ends the preview and reopens the wizard, which is cancelled; the window stays.
    driver.on(QStringLiteral("LayoutPrintDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.PreviewShown());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.PaperView()->PreviewMode());
    EXPECT_TRUE(window.findChild<QToolBar*>(QStringLiteral("tbHolder"))->isVisible());
    EXPECT_EQ(area(d.PrintArea), area(fromPiece));
    EXPECT_TRUE(window.findChild<QAction*>(QStringLiteral("mmi100"))->isChecked());
}

// Ctrl+F4 in the preview leaves it for the wizard; outside the preview it is the close command's save question.
// The preview has a help page of its own in each mode.
TEST_F(LabelFormPrintTest, CtrlF4ClosesThePreviewAndReopensTheWizard)
{
    TScopedPrinter printer(300);
    struct Case
    {
        quint8 mode;
        int design, preview;
    };
    for (const Case& c : {Case{LabelModeLabel, 88, 95}, Case{LabelModeCard, 96, 103}}) {
        SCOPED_TRACE(int(c.mode));
        ModalDriver driver;
        const int asked = m_messages.count();
        TLabelForm& window = Window(driver, c.mode);
        // The cards show the address book's records here.
        window.Document().DataSource = 1;
        EXPECT_EQ(HelpContextOf(&window), c.design);
        driver.on(QStringLiteral("LayoutPrintDialog"), [](QWidget* w) {
            AllRows(w);
            w->findChild<QPushButton*>(QStringLiteral("btnPreview2"))->click();
        });
        window.actPrintExecute();
        ASSERT_TRUE(window.PreviewShown());
        EXPECT_EQ(HelpContextOf(&window), c.preview);
        int reopened = 0;
        driver.on(QStringLiteral("LayoutPrintDialog"), [&reopened](QWidget* w) {
            ++reopened;
            static_cast<QDialog*>(w)->reject();
        });
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F4, Qt::ControlModifier);
        EXPECT_EQ(reopened, 1);
        EXPECT_FALSE(window.PreviewShown());
        EXPECT_EQ(HelpContextOf(&window), c.design);
        EXPECT_TRUE(window.Document().DocumentOpen);
        EXPECT_EQ(m_messages.count(), asked);

        m_messages.answer(MsgSeam::IdCancel);
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        ASSERT_TRUE(window.Document().Modified);
        QTest::keyClick(&window, Qt::Key_F4, Qt::ControlModifier);
        EXPECT_EQ(m_messages.count(), asked + 1);
        EXPECT_EQ(reopened, 1);
        EXPECT_TRUE(window.Document().DocumentOpen);
        delete m_window.data();
    }
}

} // namespace
