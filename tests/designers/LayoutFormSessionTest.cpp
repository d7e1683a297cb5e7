// The address printing window in the running program: the address list's command opens it, the start menu
// leads to a new postcard, the name frame is moved with the keys and saved under a name. With
// TOVAREL_XVFB_FBDIR set, the screens are kept there.
#include "designers/LayoutForm.h"

#include "designers/PaperView.h"
#include "support/MessageRecorder.h"
#include "support/DesignerSession.h"
#include "support/XvfbShot.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class LayoutFormSessionTest : public DesignerSessionFixture
{
protected:
    LayoutFormSessionTest()
        : DesignerSessionFixture(RegisterLayoutForm, {TListCommand::LayoutPrint}, {TListChild::LayoutForm})
    {
    }
};

TEST_F(LayoutFormSessionTest, NameFrameMovedWithTheKeysIsSavedUnderAName)
{
    writeWorkBook(5);
    MessageRecorder messages;
    TRect before;
    runSession([&](TAddressList& list) {
        QAction* action = list.Action("actLayoutPrint");
        list.UpdateActions();
        ASSERT_TRUE(action->isEnabled());
        m_driver.on("PrintMenuDialog", [](QWidget* w) {
            KeepXvfbScreen("layout-menu.xwd");
            static_cast<QDialog*>(w)->accept();
        });
        m_driver.on("NewLayoutDialog", [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        action->trigger();
        ASSERT_TRUE(QTest::qWaitFor([] { return LayoutForm && LayoutForm->Document().DocumentOpen; }));
        TLayoutForm& window = *LayoutForm;
        EXPECT_EQ(window.windowTitle(), "宛名印刷 - 新規");
        EXPECT_EQ(ListChildWindow(TListChild::LayoutForm), &window);

        TLayoutDocument& document = window.Document();
        TDrawRect* name = document.Simple().Name;
        before = name->GetDesignRect();
        const TRect screen = name->GetScreenRect();
        QWidget* panel = window.PaperView()->Panel();
        QTest::mouseClick(panel, Qt::LeftButton, {},
                          QPoint((screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2));
        ASSERT_EQ(document.Selection, std::vector<TDrawRect*>{name});
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(panel, Qt::Key_Right, Qt::ShiftModifier);
        EXPECT_EQ(name->GetDesignRect().left, before.left + 30);
        KeepXvfbScreen("layout-window.xwd");

        m_driver.on("PrintDataSaveDialog", [](QWidget* w) {
            w->findChild<QLineEdit*>("edTitle")->setText("session");
            KeepXvfbScreen("layout-save.xwd");
            w->findChild<QPushButton*>("btnOK")->click();
        });
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(panel, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(window.windowTitle(), "宛名印刷 - session");

        m_driver.on("PrintDataOpenDialog", [](QWidget* w) {
            KeepXvfbScreen("layout-open.xwd");
            static_cast<QDialog*>(w)->reject();
        });
        window.findChild<QAction*>("actOpen")->trigger();
        window.close();
        EXPECT_TRUE(QTest::qWaitFor([] { return !LayoutForm; }));
    });
    EXPECT_EQ(messages.count(), 0);

    TLayoutDocument saved;
    ASSERT_TRUE(saved.LoadFromFile(LayoutFolder + "session.gpl"));
    EXPECT_EQ(saved.Simple().Name->GetDesignRect(), before.Moved(30, 0));
}

} // namespace
