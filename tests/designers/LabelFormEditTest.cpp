// The label and card window's editing commands: deleting by the set's rules with the focus clamped, undo
// re-listing the frames after a paste but not after a move, Ctrl+Z locked by the preview, the text dialog,
// dropped pictures cascading and the picker's answer replacing the focused illustration.
#include "designers/FrameClipboard.h"
#include "designers/LabelForm.h"
#include "designers/PaperView.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/WordRect.h"
#include "platform/DisplayList.h"
#include "platform/Printers.h"
#include "support/FakeImageToolLink.h"
#include "support/DesignerFolders.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/XvfbShot.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

class LabelFormEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TPrinterList::Instance().SetPrinters({});
        FrameClipboard().reset();
    }
    void TearDown() override
    {
        delete m_window.data();
        FrameClipboard().reset();
    }
    // The shown label window with the new layout the start menu offers, and one text frame added.
    TLabelForm& Window(TLayoutSources sources = {})
    {
        m_window = new TLabelForm(std::move(sources));
        m_driver.on(QStringLiteral("PrintMenuDialog"),
                    [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        m_driver.on(QStringLiteral("NewLabelDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        m_window->show();
        EXPECT_TRUE(QTest::qWaitFor([this] { return m_window->Document().DocumentOpen; }));
        m_window->Editor().AddText({QStringLiteral("本文")}, 1)->SetDesignRect({10, 10, 60, 40});
        m_window->UpdateRectList();
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window));
        return *m_window;
    }
    TDrawRect* Text() { return m_window->Document().FreeFrames(FreeText).at(0).get(); }
    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    QComboBox* Combo() { return m_window->findChild<QComboBox*>(QStringLiteral("cbxViewRect")); }
    QWidget* Panel() { return m_window->PaperView()->Panel(); }
    void Select(std::vector<TDrawRect*> frames, int focus)
    {
        m_window->Document().Selection = std::move(frames);
        m_window->Document().FocusIndex = focus;
        m_window->UpdateCommandStates();
    }

    TDesignerFolders m_folders;
    QPointer<TLabelForm> m_window;
    MessageRecorder m_messages;
    ModalDriver m_driver;
};

// An additional item, the postal code and a text deleted together: the combined set keeps its postal code
// placed and selected, the individual set unplaces it too; Ctrl+Z brings all three back.
TEST_F(LabelFormEditTest, DeleteFollowsTheSetInUse)
{
    for (const bool individual : {false, true}) {
        SCOPED_TRACE(individual ? "individual set" : "combined set");
        TLabelForm& window = Window();
        TLayoutDocument& d = window.Document();
        if (individual)
            d.SetIndividualLayout(true);
        TDrawRect* postal = individual ? static_cast<TDrawRect*>(d.Detailed().Postal) : d.Simple().Postal;
        TAdditionRect* item = d.Additions(individual)[0];
        item->SetVisible(true);
        d.InsertIntoStacking(item, true);
        window.UpdateRectList();
        ASSERT_GE(d.StackingIndex(postal), 0);
        const int entries = Combo()->count();
        const size_t placed = d.Stacking.size();
        Select({item, postal, Text()}, 2);

        Action("actDelete")->trigger();
        EXPECT_TRUE(d.FreeFrames(FreeText).empty());
        EXPECT_FALSE(item->Visible());
        EXPECT_LT(d.StackingIndex(item), 0);
        EXPECT_EQ(postal->Visible(), !individual);
        EXPECT_EQ(d.StackingIndex(postal) >= 0, !individual);
        EXPECT_EQ(d.Selection, individual ? std::vector<TDrawRect*>{} : std::vector<TDrawRect*>{postal});
        EXPECT_EQ(d.FocusIndex, individual ? -1 : 0);
        EXPECT_EQ(Combo()->count(), entries - (individual ? 3 : 2));
        EXPECT_EQ(d.Undo.Count(), 2);

        QTest::keyClick(Panel(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(d.FreeFrames(FreeText).size(), 1u);
        EXPECT_TRUE(item->Visible());
        EXPECT_TRUE(postal->Visible());
        EXPECT_EQ(d.Stacking.size(), placed);
        EXPECT_EQ(d.Selection.size(), 3u);
        EXPECT_EQ(Combo()->count(), entries);
        delete m_window.data();
    }
}

// A fixed frame that comes back shows the data of now: the address-book record with data source 1, the
// sender with 2.
TEST_F(LabelFormEditTest, UndoMergesTheRecordOrTheSenderAgain)
{
    for (const quint8 source : {1, 2}) {
        SCOPED_TRACE(source);
        auto list = std::make_unique<TMemoryAddressList>();
        auto senders = std::make_unique<TMemorySenders>();
        list->Rows.resize(1);
        list->Rows[0].Fields = {{"RecNo", 1}, {"Pos", "1000001"}};
        senders->Rows.resize(1);
        senders->Rows[0].Fields = {{"RecNo", 7}, {"Pos", "1000013"}, {"SelectInfo", 1}};
        TMemoryRow& row = source == 1 ? list->Rows[0] : senders->Rows[0];
        TLayoutSources sources;
        sources.AddressList = std::move(list);
        sources.Senders = std::move(senders);
        TLabelForm& window = Window(std::move(sources));
        TLayoutDocument& d = window.Document();
        d.DataSource = source;
        d.SenderRecNo = 7;
        d.SetIndividualLayout(true);
        TPosRect* postal = d.Detailed().Postal;
        Select({postal}, 0);
        Action("actDelete")->trigger();
        ASSERT_FALSE(postal->Visible());

        row.Fields["Pos"] = QStringLiteral("2000002");
        Action("actUndo")->trigger();
        EXPECT_TRUE(postal->Visible());
        EXPECT_EQ(postal->Text(), QStringLiteral("２００-０００２"));
        delete m_window.data();
    }
}

// Undo of a paste lists the frames again, undo of a move keeps the list.
TEST_F(LabelFormEditTest, UndoRelistsAfterPasteButNotAfterMove)
{
    TLabelForm& window = Window();
    TLayoutDocument& d = window.Document();
    Select({Text()}, 0);
    Action("actCopy")->trigger();
    Action("actPaste")->trigger();
    ASSERT_EQ(d.FreeFrames(FreeText).size(), 2u);
    const int withPasted = Combo()->count();
    TDrawRect* pasted = d.Selection.at(0);
    const TRect before = pasted->GetDesignRect();
    QTest::keyClick(Panel(), Qt::Key_Right);
    ASSERT_NE(pasted->GetDesignRect(), before);
    ASSERT_EQ(d.Undo.Count(), 3);

    QSignalSpy cleared(Combo()->model(), &QAbstractItemModel::rowsRemoved);
    Action("actUndo")->trigger();
    EXPECT_EQ(pasted->GetDesignRect(), before);
    EXPECT_EQ(cleared.count(), 0);
    EXPECT_EQ(Combo()->count(), withPasted);
    EXPECT_EQ(Combo()->currentIndex(), Combo()->findData(QVariant::fromValue(static_cast<void*>(pasted))));

    Action("actUndo")->trigger();
    EXPECT_EQ(d.FreeFrames(FreeText).size(), 1u);
    EXPECT_GT(cleared.count(), 0);
    EXPECT_EQ(Combo()->count(), withPasted - 1);
    Action("actRedo")->trigger();
    EXPECT_EQ(d.FreeFrames(FreeText).size(), 2u);
    EXPECT_EQ(Combo()->count(), withPasted);
}

TEST_F(LabelFormEditTest, PreviewLocksUndoAndTheClipboard)
{
    TLabelForm& window = Window();
    TLayoutDocument& d = window.Document();
    Select({Text()}, 0);
    Action("actCopy")->trigger();
    window.PaperView()->SetPreviewPage(std::make_shared<TDisplayList>(), d.DesignSize);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    for (const char* name : {"actUndo", "actPaste", "actDelete", "actWord"})
        Action(name)->trigger();
    EXPECT_EQ(d.FreeFrames(FreeText).size(), 1u);
    EXPECT_EQ(d.Undo.Count(), 1);
    EXPECT_EQ(d.Undo.Position(), -1);

    window.PaperView()->SetPreviewPage(nullptr, {});
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(d.FreeFrames(FreeText).empty()) << "the key undoes once the preview is gone";
}

// The text dialog: Cancel changes nothing, OK adds a listed frame as one action; a double click on a text
// opens the dialog to edit it.
TEST_F(LabelFormEditTest, TextDialogAddsAndEdits)
{
    TLabelForm& window = Window();
    TLayoutDocument& d = window.Document();
    const int undo = d.Undo.Count();
    m_driver.on(QStringLiteral("WordEditDialog"), [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    Action("actWord")->trigger();
    EXPECT_EQ(d.Undo.Count(), undo);
    const int entries = Combo()->count();

    m_driver.on(QStringLiteral("WordEditDialog"), [](QWidget* w) {
        w->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("追加"));
        static_cast<QDialog*>(w)->accept();
    });
    Action("actWord")->trigger();
    ASSERT_EQ(d.FreeFrames(FreeText).size(), 2u);
    EXPECT_EQ(d.Undo.Count(), undo + 1);
    EXPECT_EQ(Combo()->count(), entries + 1);
    EXPECT_TRUE(Action("actWordEdit")->isVisible());

    m_driver.on(QStringLiteral("WordEditDialog"), [](QWidget* w) {
        w->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("変更"));
        static_cast<QDialog*>(w)->accept();
    });
    Select({Text()}, 0);
    Action("actWordEdit")->trigger();
    EXPECT_EQ(static_cast<TWordRect*>(Text())->GetLine(0), QStringLiteral("変更"));
    EXPECT_EQ(d.Undo.Count(), undo + 2);
}

// Two pictures dropped at one point cascade by 10, both selected and the last focused, as one action.
TEST_F(LabelFormEditTest, DroppedPicturesCascade)
{
    TLabelForm& window = Window();
    TLayoutDocument& d = window.Document();
    const int undo = d.Undo.Count();
    emit window.PaperView()->filesDropped({m_folders.Picture("a.bmp", {48, 24}),
                                           m_folders.Picture("b.bmp", {48, 24}),
                                           m_folders.FilePath(QStringLiteral("note.txt"))});
    const auto& illustrations = d.FreeFrames(FreeIllustration);
    ASSERT_EQ(illustrations.size(), 2u);
    const TRect first = illustrations[0]->GetDesignRect(), second = illustrations[1]->GetDesignRect();
    EXPECT_EQ(second, first.Moved(10, 10));
    EXPECT_EQ(d.Selection, (std::vector<TDrawRect*>{illustrations[0].get(), illustrations[1].get()}));
    EXPECT_EQ(d.FocusIndex, 1);
    EXPECT_EQ(Combo()->currentText(), QStringLiteral("イラスト2"));
    EXPECT_EQ(d.Undo.Count(), undo + 1);
    KeepXvfbScreen(QStringLiteral("label-edit-dropped.xwd"));

    Action("actUndo")->trigger();
    EXPECT_TRUE(illustrations.empty());
}

// The picker's answer adds an illustration, then replaces the focused one's picture; undo brings the old
// picture back. Closing the window closes the picker.
TEST_F(LabelFormEditTest, PickerAnswerReplacesTheFocusedIllustration)
{
    TLabelForm& window = Window();
    TLayoutDocument& d = window.Document();
    auto* tool = new FakeImageToolLink;
    window.SetImageToolLink(tool);
    Action("actIllust")->trigger();
    EXPECT_EQ(tool->Requests, 1);

    tool->Answer(m_folders.Picture("a.bmp", {48, 24}));
    const auto& illustrations = d.FreeFrames(FreeIllustration);
    ASSERT_TRUE(QTest::qWaitFor([&] { return illustrations.size() == 1; }));
    auto* illust = static_cast<TIllustRect*>(illustrations[0].get());
    EXPECT_EQ(d.Selection, std::vector<TDrawRect*>{illust});
    EXPECT_EQ(Combo()->currentText(), QStringLiteral("イラスト1"));
    const int undo = d.Undo.Count();

    tool->Answer(m_folders.Picture("b.bmp", {30, 60}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.Undo.Count() == undo + 1; }));
    ASSERT_EQ(illustrations.size(), 1u);
    EXPECT_EQ(illust->GetBitmap().size(), QSize(30, 60));
    Action("actUndo")->trigger();
    EXPECT_EQ(illust->GetBitmap().size(), QSize(48, 24));

    // A file that is no picture records nothing.
    tool->Answer(m_folders.FilePath(QStringLiteral("gone.bmp")));
    QTest::qWait(20);
    EXPECT_EQ(d.Undo.Count(), undo + 1);
    EXPECT_EQ(d.Undo.Position(), 0);

    EXPECT_EQ(tool->Closes, 0);
    m_messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    ASSERT_TRUE(window.close());
    EXPECT_EQ(tool->Closes, 1);
}

} // namespace
