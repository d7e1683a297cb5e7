// The address printing window's editing commands: copy and paste, Delete and undo with the keys, saving
// the result, the dialogs' OK and Cancel, the popup menu, the picker's answers and dropped files. With
// TOVAREL_XVFB_FBDIR set, the screens are kept there.
#include "core/MainSettings.h"
#include "designers/FrameClipboard.h"
#include "designers/LayoutForm.h"
#include "designers/PaperView.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/WordRect.h"
#include "platform/Printers.h"
#include "support/DesignerFolders.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/XvfbShot.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A picker that answers when told to.
class FakeImageTool : public TImageToolLink
{
public:
    bool RequestSelect(QWidget*) override
    {
        ++Requests;
        return true;
    }
    void Close() override { ++*Closes; }
    void Answer(const QString& path) { emit imageChosen(path); }
    int Requests = 0;
    int* Closes = nullptr;
};

class LayoutFormEditTest : public ::testing::Test, protected TDesignerFolders
{
protected:
    void SetUp() override { ASSERT_TRUE(FoldersMade()); }
    void TearDown() override { delete m_window.data(); }
    // A postcard layout with a text frame and the barcode placed, opened in a shown window.
    TLayoutForm& Opened()
    {
        TLayoutDocument document;
        document.PaperIndex = 0;
        EXPECT_TRUE(document.LoadPaperFormat());
        document.FitPaperBarcode();
        document.SetIndividualLayout(false, true);
        document.NewLayout();
        TLayoutEditor editor(document);
        editor.AddText({QStringLiteral("こんにちは")}, 1)->SetDesignRect({120, 300, 300, 360});
        EXPECT_TRUE(editor.SetBarcode(true, 0));
        m_path = LayoutFolder + QStringLiteral("edit.gpl");
        EXPECT_TRUE(document.SaveToFile(m_path));
        m_window = new TLayoutForm();
        m_driver.on("PrintMenuDialog", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        m_window->show();
        EXPECT_TRUE(QTest::qWaitFor(
            [this] { return m_driver.handled() == 1 && !QApplication::activeModalWidget(); }));
        EXPECT_TRUE(m_window->LoadFromFile(m_path));
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window));
        return *m_window;
    }
    QWidget* Panel() { return m_window->PaperView()->Panel(); }
    void Click(TDrawRect* frame)
    {
        const TRect s = frame->GetScreenRect();
        QTest::mouseClick(Panel(), Qt::LeftButton, {},
                          QPoint((s.left + s.right) / 2, (s.top + s.bottom) / 2));
    }
    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    QString Picture(const QString& name) { return TDesignerFolders::Picture(name, QSize(96, 48)); }

    QString m_path;
    QPointer<TLayoutForm> m_window;
    MessageRecorder m_messages;
    ModalDriver m_driver;
};

TEST_F(LayoutFormEditTest, CopyPasteDeleteUndoAndSaveWithTheKeys)
{
    TLayoutForm& window = Opened();
    TLayoutDocument& d = window.Document();
    ASSERT_EQ(d.FreeFrames(FreeText).size(), 1u);
    TDrawRect* text = d.FreeFrames(FreeText)[0].get();
    Click(text);
    ASSERT_EQ(d.Selection, std::vector<TDrawRect*>{text});
    EXPECT_TRUE(Action("actCopy")->isEnabled());
    EXPECT_FALSE(Action("actPaste")->isEnabled());
    QTest::keyClick(Panel(), Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(Action("actPaste")->isEnabled());
    QTest::keyClick(Panel(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(d.FreeFrames(FreeText).size(), 2u);
    TDrawRect* pasted = d.FreeFrames(FreeText)[1].get();
    EXPECT_EQ(pasted->GetDesignRect(), (TRect{0, 0, 180, 60}));
    EXPECT_EQ(d.Selection, std::vector<TDrawRect*>{pasted});
    EXPECT_EQ(window.windowTitle(), QStringLiteral("宛名印刷 - edit (更新)"));
    KeepXvfbScreen("layout-edit-pasted.xwd");

    TBarcodeRect* barcode = d.Simple().Barcode;
    ASSERT_TRUE(barcode->Visible());
    Click(barcode);
    ASSERT_EQ(d.Selection, std::vector<TDrawRect*>{barcode});
    QTest::keyClick(Panel(), Qt::Key_Delete);
    EXPECT_FALSE(barcode->Visible());
    EXPECT_LT(d.StackingIndex(barcode), 0);
    KeepXvfbScreen("layout-edit-deleted.xwd");
    QTest::keyClick(Panel(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(barcode->Visible());
    EXPECT_GE(d.StackingIndex(barcode), 0);
    EXPECT_EQ(d.Selection, std::vector<TDrawRect*>{barcode});
    EXPECT_TRUE(Action("actRedo")->isEnabled());
    KeepXvfbScreen("layout-edit-undone.xwd");

    QTest::keyClick(Panel(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(d.Modified);
    TLayoutDocument saved;
    ASSERT_TRUE(saved.LoadFromFile(m_path));
    ASSERT_EQ(saved.FreeFrames(FreeText).size(), 2u);
    EXPECT_EQ(saved.FreeFrames(FreeText)[1]->GetDesignRect(), (TRect{0, 0, 180, 60}));
    EXPECT_TRUE(saved.Simple().Barcode->Visible());
    EXPECT_GE(saved.StackingIndex(saved.Simple().Barcode), 0);
}

TEST_F(LayoutFormEditTest, TextDialogOkAddsOneActionAndCancelNothing)
{
    TLayoutForm& window = Opened();
    TLayoutDocument& d = window.Document();
    ModalDriver& driver = m_driver;
    driver.on("WordEditDialog", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    Action("actWord")->trigger();
    EXPECT_EQ(d.Undo.Count(), 0);
    EXPECT_EQ(d.FreeFrames(FreeText).size(), 1u);

    driver.on("WordEditDialog", [](QWidget* w) {
        w->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("追加"));
        static_cast<QDialog*>(w)->accept();
    });
    Action("actWord")->trigger();
    ASSERT_EQ(d.FreeFrames(FreeText).size(), 2u);
    EXPECT_EQ(static_cast<TWordRect*>(d.FreeFrames(FreeText)[1].get())->GetLine(0), QStringLiteral("追加"));
    EXPECT_EQ(d.Undo.Count(), 1);
    EXPECT_TRUE(Action("actWordEdit")->isVisible());
    EXPECT_TRUE(Action("actWordEdit")->isEnabled());
}

TEST_F(LayoutFormEditTest, BarcodeAndFontCommandsRunTheirDialogs)
{
    TLayoutForm& window = Opened();
    TLayoutDocument& d = window.Document();
    TBarcodeRect* barcode = d.Simple().Barcode;
    ASSERT_TRUE(barcode->Visible());
    ASSERT_TRUE(Action("actBarcodeSet")->isEnabled());
    // Cancel changes nothing; OK with the box cleared hides the barcode as one action.
    for (const char* button : {"btnCancel", "btnOK"}) {
        m_driver.on("AdditionInfoDialog", [button](QWidget* w) {
            w->findChild<QCheckBox*>(QStringLiteral("ckbBarcode"))->setChecked(false);
            w->findChild<QPushButton*>(QLatin1String(button))->click();
        });
        Action("actBarcodeSet")->trigger();
    }
    EXPECT_FALSE(barcode->Visible());
    EXPECT_EQ(d.Undo.Count(), 1);

    // The font command needs a focused text-type frame; Cancel records nothing.
    EXPECT_FALSE(Action("actFont")->isEnabled());
    Click(d.FreeFrames(FreeText)[0].get());
    ASSERT_TRUE(Action("actFont")->isEnabled());
    m_driver.on("LayoutFontDialog", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    Action("actFont")->trigger();
    EXPECT_EQ(d.Undo.Count(), 1);
    m_driver.on("LayoutFontDialog", [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    Action("actFont")->trigger();
    EXPECT_EQ(d.Undo.Count(), 2);
}

TEST_F(LayoutFormEditTest, PopupMenuFollowsTheFocusedFrame)
{
    TLayoutForm& window = Opened();
    TLayoutDocument& d = window.Document();
    auto names = [](QMenu* menu) {
        QStringList list;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                list << (a->menu() ? a->menu()->objectName() : a->objectName());
        return list;
    };
    d.Selection = {d.Simple().Name};
    d.FocusIndex = 0;
    QStringList fixed = names(window.PopupMenu());
    EXPECT_TRUE(fixed.contains("actSender"));
    EXPECT_TRUE(fixed.contains("actFont"));
    EXPECT_FALSE(fixed.contains("pmiViewSet"));
    EXPECT_TRUE(fixed.contains("mniZOrder"));
    d.Selection = {d.FreeFrames(FreeText)[0].get()};
    QStringList free = names(window.PopupMenu());
    EXPECT_FALSE(free.contains("actSender"));
    EXPECT_TRUE(free.contains("pmiViewSet"));
    EXPECT_TRUE(free.contains("actWordEdit"));
    EXPECT_FALSE(free.contains("pmiIllustDef"));
    EXPECT_TRUE(free.contains("actCopy"));
}

TEST_F(LayoutFormEditTest, PickerAnswersAndDroppedFilesBecomeIllustrations)
{
    TLayoutForm& window = Opened();
    TLayoutDocument& d = window.Document();
    EXPECT_FALSE(Action("actIllust")->isEnabled());
    int closes = 0;
    auto* tool = new FakeImageTool;
    tool->Closes = &closes;
    window.SetImageToolLink(tool);
    ASSERT_TRUE(Action("actIllust")->isEnabled());
    Action("actIllust")->trigger();
    EXPECT_EQ(tool->Requests, 1);

    // Answers arrive as events.
    tool->Answer(Picture("a.bmp"));
    EXPECT_TRUE(d.FreeFrames(FreeIllustration).empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.FreeFrames(FreeIllustration).size() == 1; }));
    EXPECT_EQ(d.FreeFrames(FreeIllustration)[0]->GetDesignRect(), (TRect{0, 0, 96, 48}));
    EXPECT_EQ(d.Undo.Count(), 1);

    // A missing file: nothing.
    tool->Answer(FilePath(QStringLiteral("gone.bmp")));
    QTest::qWait(20);
    EXPECT_EQ(d.Undo.Count(), 1);

    emit window.PaperView()->filesDropped({Picture("b.bmp"), FilePath(QStringLiteral("gone.txt"))});
    EXPECT_EQ(d.FreeFrames(FreeIllustration).size(), 2u);
    EXPECT_EQ(d.Undo.Count(), 2);
    EXPECT_TRUE(Action("pmiIllustDef")->isEnabled());

    delete m_window.data();
    EXPECT_EQ(closes, 1) << "closing the window closes the picker";
}

} // namespace
