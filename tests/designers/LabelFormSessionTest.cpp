// The label and card window in the running program: the address list's label command opens it in label
// mode and its card command, which first closes the label window, in card mode. With TOVAREL_XVFB_FBDIR
// set, the screens are kept there.
#include "designers/LabelForm.h"

#include "designers/PaperView.h"
#include "support/MessageRecorder.h"
#include "support/DesignerSession.h"
#include "support/XvfbShot.h"

#include <QAction>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

namespace {

class LabelFormSessionTest : public DesignerSessionFixture
{
protected:
    LabelFormSessionTest()
        : DesignerSessionFixture(RegisterLabelForm, {TListCommand::LabelPrint, TListCommand::CardPrint},
                                 {TListChild::LabelForm, TListChild::CardForm})
    {
    }
};

TEST_F(LabelFormSessionTest, EachCommandOpensTheWindowInItsMode)
{
    writeWorkBook(5);
    MessageRecorder messages;
    runSession([&](TAddressList& list) {
        list.UpdateActions();
        QAction* label = list.Action("actLabelPrint");
        QAction* card = list.Action("actCardPrint");
        ASSERT_TRUE(label->isEnabled());
        ASSERT_TRUE(card->isEnabled());
        // The record of the address list on both: the recipient side chosen in the paper dialog.
        auto open = [this](QAction* command, const char* shot) {
            m_driver.on("PrintMenuDialog", [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
            m_driver.on("NewLabelDialog", [](QWidget* w) {
                for (const char* side : {"rbLabelRecipient", "rbCardRecipient"})
                    w->findChild<QRadioButton*>(side)->click();
                static_cast<QDialog*>(w)->accept();
            });
            command->trigger();
            ASSERT_TRUE(QTest::qWaitFor(
                [] { return LabelForm && !LabelForm->IsClosed() && LabelForm->Document().DocumentOpen; }));
            KeepXvfbScreen(QString::fromLatin1(shot));
        };

        open(label, "label-window.xwd");
        TLabelForm* labelWindow = LabelForm;
        EXPECT_EQ(labelWindow->windowTitle(), "ラベル印刷 - 新規");
        EXPECT_EQ(labelWindow->Document().Paper.Kind, PaperLabel);
        EXPECT_EQ(ListChildWindow(TListChild::LabelForm), labelWindow);
        EXPECT_EQ(ListChildWindow(TListChild::CardForm), nullptr);
        // The new record merged: the first row's name in the name frame.
        EXPECT_FALSE(labelWindow->Document().Simple().Name->Name().isEmpty());

        // The card command closes the unsaved label first (No, then Yes to discard).
        messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
        open(card, "card-window.xwd");
        EXPECT_NE(LabelForm.data(), labelWindow);
        TLabelForm& cardWindow = *LabelForm;
        EXPECT_TRUE(cardWindow.IsCardMode());
        EXPECT_EQ(cardWindow.windowTitle(), "名刺印刷 - 新規");
        EXPECT_EQ(cardWindow.Document().Paper.Kind, PaperCard);
        EXPECT_EQ(ListChildWindow(TListChild::CardForm), &cardWindow);
        EXPECT_EQ(ListChildWindow(TListChild::LabelForm), nullptr);
        // A card's name never gets an honorific.
        EXPECT_FALSE(cardWindow.Document().Simple().Name->Name().isEmpty());
        EXPECT_TRUE(cardWindow.Document().Simple().Name->Honorific().isEmpty());

        messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
        cardWindow.close();
        EXPECT_TRUE(QTest::qWaitFor([] { return !LabelForm; }));
    });
    ASSERT_EQ(messages.count(), 4);
    EXPECT_EQ(messages.messages()[0].text, "ラベル印刷のレイアウトの変更を保存しますか？  ");
    EXPECT_EQ(messages.messages()[2].text, "名刺印刷のレイアウトの変更を保存しますか？  ");
}

// The record commands move the address list's selection, whose refresh hook merges the row into the label.
TEST_F(LabelFormSessionTest, RecordCommandsMoveTheListSelection)
{
    writeWorkBook(5);
    MessageRecorder messages;
    messages.allowUnexpected();
    runSession([&](TAddressList& list) {
        list.UpdateActions();
        m_driver.on("PrintMenuDialog", [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        m_driver.on("NewLabelDialog", [](QWidget* w) {
            w->findChild<QRadioButton*>("rbLabelRecipient")->click();
            static_cast<QDialog*>(w)->accept();
        });
        list.Action("actLabelPrint")->trigger();
        ASSERT_TRUE(QTest::qWaitFor([] { return LabelForm && LabelForm->Document().DocumentOpen; }));
        TLabelForm& window = *LabelForm;
        if (auto* settings = window.findChild<QMenu*>("mniSetting")) {
            settings->popup(window.mapToGlobal(QPoint(120, 30)));
            KeepXvfbScreen(QStringLiteral("label-settings-menu.xwd"));
            settings->hide();
        }
        TNameRect* name = window.Document().Simple().Name;
        list.SelectIndex(0, true, true);
        const QString first = name->Name();
        auto run = [&](const char* command) {
            window.UpdateCommandStates();
            window.findChild<QAction*>(command)->trigger();
        };
        run("actLast");
        EXPECT_EQ(list.GetFirstSelectedIndex(), 4);
        EXPECT_NE(name->Name(), first);
        run("actNext");
        EXPECT_EQ(list.GetFirstSelectedIndex(), 4);
        run("actPrior");
        EXPECT_EQ(list.GetFirstSelectedIndex(), 3);
        run("actFirst");
        EXPECT_EQ(list.GetFirstSelectedIndex(), 0);
        EXPECT_EQ(name->Name(), first);
        window.Document().Modified = false;
        window.close();
        EXPECT_TRUE(QTest::qWaitFor([] { return !LabelForm; }));
    });
}

} // namespace
