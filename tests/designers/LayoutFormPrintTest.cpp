// The address printing window's print commands: the messages before the wizard, a job through the wizard on
// the recording printer, the preview of a sheet with its tool bar, page buttons, Esc back into the wizard,
// closing during the preview, and the printer setup command. With TOVAREL_XVFB_FBDIR set, the preview's
// screen is kept there.
#include "core/MainSettings.h"
#include "core/UpDownEdit.h"
#include "designers/LayoutForm.h"
#include "designers/PaperView.h"
#include "layoutobjects/LayoutPrintDialog.h"
#include "layoutobjects/PrinterInfo.h"
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
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

const char* const Surnames[] = {"青木", "石井", "上田", "江藤", "大野"};

class LayoutFormPrintTest : public DrawingTest, protected TDesignerFolders
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FoldersMade());
        m_rows = FakeListRows::ofCount(0);
        for (int i = 0; i < 5; ++i)
            m_rows.recNos.append(i + 1);
    }
    void TearDown() override { delete m_window.data(); }
    // The window over five records with a layout on paper index (0 a postcard, 4 a 2 × 2 postcard sheet).
    TLayoutForm& Window(int paper)
    {
        TLayoutDocument document;
        document.PaperIndex = paper;
        EXPECT_TRUE(document.LoadPaperFormat());
        document.SetIndividualLayout(false, true);
        document.NewLayout();
        const QString path = LayoutFolder + QStringLiteral("print.gpl");
        EXPECT_TRUE(document.SaveToFile(path));

        auto list = std::make_unique<TMemoryAddressList>();
        for (int i = 0; i < 5; ++i) {
            TMemoryRow row;
            row.Fields = {{"RecNo", i + 1},
                          {"PrivCorp", true},
                          {"NameKanji", QString::fromUtf8(Surnames[i]) + QStringLiteral(" 太郎")},
                          {"JointPrint", true},
                          {"Pos", "1000013"}};
            list->Rows.push_back(row);
        }
        TLayoutSources sources;
        sources.AddressList = std::move(list);
        m_window = new TLayoutForm(std::move(sources));
        m_window->SetPrintRows(&m_rows);
        EXPECT_TRUE(m_window->LoadFromFile(path));
        return *m_window;
    }
    // Chooses every row on page 1 of the wizard and moves to page 2 with a start face.
    static void AllRowsFrom(QWidget* wizard, int start)
    {
        wizard->findChild<QRadioButton*>(QStringLiteral("rbDataRange3"))->click();
        wizard->findChild<QPushButton*>(QStringLiteral("btnNext"))->click();
        if (auto* edit = wizard->findChild<TUpDownEdit*>(QStringLiteral("edLabelStart")))
            edit->SetValue(start);
    }
    // Shows the window and cancels its start menu, which leaves the layout as it is.
    static void Show(TLayoutForm& window, ModalDriver& driver)
    {
        driver.on(QStringLiteral("PrintMenuDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([&driver] { return driver.handled() == 1 && !QApplication::activeModalWidget(); }));
    }
    static QToolButton* Button(TLayoutForm& window, const char* name)
    {
        return window.findChild<QToolButton*>(QString::fromLatin1(name));
    }

    FakeListRows m_rows;
    QPointer<TLayoutForm> m_window;
    MessageRecorder m_messages;
};

TEST_F(LayoutFormPrintTest, MessagesBeforeTheWizard)
{
    struct Case
    {
        const char* what;
        bool document;
        bool printer;
        QString message;
    };
    const Case cases[] = {
        {"no layout", false, true, QStringLiteral("印刷するデータがありません  ")},
        {"no printer", true, false, QStringLiteral("プリンターがインストールされていません  ")},
    };
    for (const Case& c : cases) {
        TScopedPrinter printer(c.printer ? 300 : 0);
        TLayoutForm* window = c.document ? &Window(0) : (m_window = new TLayoutForm()).data();
        const int before = m_messages.count();
        m_messages.answer(MsgSeam::IdOk);
        window->actPrintExecute();
        ASSERT_EQ(m_messages.count(), before + 1) << c.what;
        EXPECT_EQ(m_messages.last().text, c.message) << c.what;
        EXPECT_EQ(m_messages.last().flags & MsgSeam::MbIconInformation, MsgSeam::MbIconInformation) << c.what;
        delete m_window.data();
    }
}

TEST_F(LayoutFormPrintTest, PrintThroughTheWizardOnePagePerRecord)
{
    TScopedPrinter printer(300);
    TLayoutForm& window = Window(0);
    ASSERT_TRUE(window.findChild<QAction*>(QStringLiteral("actPrint"))->isEnabled());
    ModalDriver driver;
    driver.on(QStringLiteral("LayoutPrintDialog"), [](QWidget* w) {
        AllRowsFrom(w, 1);
        w->findChild<QPushButton*>(QStringLiteral("btnPrint"))->click();
    });
    m_messages.answer(MsgSeam::IdYes);
    window.findChild<QAction*>(QStringLiteral("actPrint"))->trigger();
    EXPECT_EQ(window.PrintSettings().RecNos, (TDataList{1, 2, 3, 4, 5}));
    EXPECT_EQ(printer.Printer()->Pages().size(), 5u);
    EXPECT_EQ(printer.Printer()->JobTitles(), QStringList{QStringLiteral("宛名印刷")});
    EXPECT_EQ(m_messages.count(), 1); // the wizard's question only
    // The address list's record is merged again.
    EXPECT_EQ(window.Document().Simple().Name->Name().left(2), QStringLiteral("青木"));
    EXPECT_TRUE(window.isEnabled());
}

TEST_F(LayoutFormPrintTest, PreviewOfASheetPagesAndEscapeBackIntoTheWizard)
{
    TScopedPrinter printer(300);
    TLayoutForm& window = Window(4);
    ModalDriver driver;
    Show(window, driver);
    const double zoom = window.Document().Simple().Name->Zoom();
    auto* mainBar = window.findChild<QToolBar*>(QStringLiteral("tbHolder"));
    ASSERT_TRUE(mainBar->isVisible());
    driver.on(QStringLiteral("LayoutPrintDialog"), [](QWidget* w) {
        AllRowsFrom(w, 4);
        w->findChild<QPushButton*>(QStringLiteral("btnPreview2"))->click();
    });
    window.actPrintExecute();

    ASSERT_TRUE(window.PreviewShown());
    const TPrintPreview& preview = *window.Preview();
    // Five records from face 4 of a 2 × 2 sheet: the first alone after three outlines, then four.
    EXPECT_EQ(preview.PageCount(), 2);
    EXPECT_EQ(preview.PageSize(), QSize(794, 1123));
    EXPECT_TRUE(window.PaperView()->PreviewMode());
    EXPECT_FALSE(window.PaperView()->EditingEnabled());
    EXPECT_FALSE(window.menuBar()->isVisible());
    EXPECT_FALSE(mainBar->isVisible());
    EXPECT_TRUE(window.findChild<QToolBar*>(QStringLiteral("PreviewToolBar"))->isVisible());
    EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("cbxRatio2"))->currentIndex(),
              window.findChild<QComboBox*>(QStringLiteral("cbxRatio"))->currentIndex());
    EXPECT_TRUE(Button(window, "tbtnNextPreview")->isEnabled());
    EXPECT_FALSE(Button(window, "tbtnPriorPreview")->isEnabled());
    KeepXvfbScreen(QStringLiteral("layout-preview.xwd"));
    // The first record on the fourth face, its text kept through the frames' own recordings.
    EXPECT_TRUE(preview.Page().AllText().contains(QStringLiteral("青木"))) << preview.Page().AllText().toStdString();

    Button(window, "tbtnNextPreview")->click();
    EXPECT_EQ(preview.CurrentPage(), 1);
    EXPECT_FALSE(Button(window, "tbtnNextPreview")->isEnabled());
    EXPECT_TRUE(Button(window, "tbtnPriorPreview")->isEnabled());
    Button(window, "tbtnPriorPreview")->click();
    EXPECT_EQ(preview.CurrentPage(), 0);

    // Esc leaves the preview and the wizard comes back on the page it was left on.
    int reopenedOn = -1;
    driver.on(QStringLiteral("LayoutPrintDialog"), [&reopenedOn](QWidget* w) {
        reopenedOn = static_cast<TLayoutPrintDialog*>(w)->CurrentPageIndex();
        static_cast<QDialog*>(w)->reject();
    });
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(reopenedOn, 1);
    EXPECT_FALSE(window.PreviewShown());
    EXPECT_FALSE(window.PaperView()->PreviewMode());
    EXPECT_TRUE(window.menuBar()->isVisible());
    EXPECT_TRUE(mainBar->isVisible());
    EXPECT_FALSE(window.findChild<QToolBar*>(QStringLiteral("PreviewToolBar"))->isVisible());
    EXPECT_EQ(window.Document().Simple().Name->Zoom(), zoom);
    // Esc closes the window again.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(LayoutFormPrintTest, CloseCommandInThePreviewGoesBackToTheWizard)
{
    TScopedPrinter printer(300);
    TLayoutForm& window = Window(4);
    ModalDriver driver;
    Show(window, driver);
    driver.on(QStringLiteral("LayoutPrintDialog"), [](QWidget* w) {
        AllRowsFrom(w, 4);
        w->findChild<QPushButton*>(QStringLiteral("btnPreview2"))->click();
    });
    window.actPrintExecute();
    ASSERT_TRUE(window.PreviewShown());
    bool reopened = false;
    driver.on(QStringLiteral("LayoutPrintDialog"), [&reopened](QWidget* w) {
        reopened = true;
        static_cast<QDialog*>(w)->reject();
    });
    window.findChild<QAction*>(QStringLiteral("actClose"))->trigger();
    EXPECT_TRUE(reopened);
    EXPECT_FALSE(window.PreviewShown());
    EXPECT_TRUE(window.Document().DocumentOpen);
}

TEST_F(LayoutFormPrintTest, ClosingTheWindowEndsThePreview)
{
    TScopedPrinter printer(300);
    TLayoutForm& window = Window(4);
    ModalDriver driver;
    Show(window, driver);
    const TRect before = window.Document().Simple().Name->GetDesignRect();
    driver.on(QStringLiteral("LayoutPrintDialog"), [](QWidget* w) {
        AllRowsFrom(w, 1);
        w->findChild<QPushButton*>(QStringLiteral("btnPreview2"))->click();
    });
    window.actPrintExecute();
    ASSERT_TRUE(window.PreviewShown());
    EXPECT_EQ(window.Preview()->PageCount(), 2);
    window.Document().Modified = false;
    // Editing commands find the preview in the view.
    EXPECT_TRUE(window.PaperView()->PreviewMode());
    window.close();
    EXPECT_FALSE(window.PreviewShown());
    EXPECT_EQ(m_messages.count(), 0);
    if (m_window)
        EXPECT_EQ(window.Document().Simple().Name->GetDesignRect(), before);
}

TEST_F(LayoutFormPrintTest, PrinterSetupCommand)
{
    {
        // No printer: the printable area is the whole paper and nothing else happens.
        TLayoutForm& window = Window(0);
        window.Document().PrintArea = TRect{5, 5, 10, 10};
        window.actPrintSetExecute();
        const QSize paper = window.Document().DesignSize;
        EXPECT_EQ(window.Document().PrintArea, (TRect{0, 0, paper.width(), paper.height()}));
        delete m_window.data();
    }
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TRecordingPrinter>(QStringLiteral("Fine"), 600, 600));
    printers.push_back(std::make_unique<TRecordingPrinter>(QStringLiteral("Coarse"), 300, 300));
    TPrinterList::Instance().SetPrinters(std::move(printers));
    TLayoutForm& window = Window(0);
    ModalDriver driver;
    driver.on(QStringLiteral("PrinterSetupDialog"), [](QWidget* w) {
        w->findChild<QComboBox*>(QStringLiteral("cbxPrinter"))->setCurrentIndex(1);
        static_cast<QDialog*>(w)->accept();
    });
    window.actPrintSetExecute();
    EXPECT_EQ(TPrinterList::Instance().Current()->Name(), QStringLiteral("Coarse"));
    EXPECT_EQ(window.Printer()->DpiX, 300);
}

} // namespace
