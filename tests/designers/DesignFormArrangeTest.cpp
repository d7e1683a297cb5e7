// The design window's sender block, paper and arrangement commands: their actions, the dialogs they open
// and what reaches the document, and handlers that refuse when nothing fits.
#include "core/AppSub.h"
#include "designers/DesignArrange.h"
#include "designers/DesignForm.h"
#include "designers/PaperView.h"
#include "layoutobjects/FigureRect.h"
#include "platform/MessageSeam.h"
#include "support/DesignFixture.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class DesignFormArrangeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folders.FoldersMade());
        auto senders = std::make_unique<TMemorySenders>();
        senders->Rows = {SenderRow(1, "home", QStringLiteral("山田 太郎")),
                         SenderRow(2, "office", QStringLiteral("山田 花子"))};
        TDesignSources sources;
        sources.Senders = std::move(senders);
        m_window = new TDesignForm(std::move(sources));
    }
    void TearDown() override { delete m_window.data(); }
    TDesignDocument& Doc() { return m_window->Document(); }
    // An empty postcard design, as the new-design command leaves it.
    void NewPostcard()
    {
        Doc().PaperIndex = 0;
        ASSERT_TRUE(Doc().LoadPaperFormat());
        Doc().NewDesign();
        m_window->PaperView()->sbxPreviewResize();
    }
    TDrawRect* Figure(const TRect& r)
    {
        TDrawRect* frame = Doc().AddFreeFrame(FreeFigure, std::make_unique<TFigureRect>());
        frame->SetDesignRect(r);
        return frame;
    }
    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    void Trigger(const char* name)
    {
        QAction* action = Action(name);
        ASSERT_TRUE(action) << name;
        // The document was changed behind the window's back: the states follow first.
        m_window->UpdateCommandStates();
        action->trigger();
    }
    template <class W> static W* Child(QWidget* parent, const char* name)
    {
        W* w = parent->findChild<W*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }

    TDesignerFolders m_folders;
    QPointer<TDesignForm> m_window;
    MessageRecorder m_messages;
};

TEST_F(DesignFormArrangeTest, ActionsCarryTheirNamesCaptionsAndKeys)
{
    const struct
    {
        const char* name;
        const char* caption;
        QKeySequence key;
    } cases[] = {
        {"actSender", "差出人の表示(&S)", {}},
        {"actSenderSet", "表示の設定(&V)...", {}},
        {"actSenderLayout", "各情報を個別に配置(&B)", {}},
        {"actFormat", "用紙の設定(&P)...", {}},
        {"actPaperCenter", "用紙の中央に移動(&C)", {}},
        {"actEqualEndsV", "両端の枠に合わせて縦に等間隔に並べる(&D)", {}},
        {"actRectSize", "幅・高さを揃える(&A)", {}},
        {"actBottom", "最も下へ(&B)", {}},
        {"actAdrsList", "アドレス帳一覧(&L)", QKeySequence(Qt::Key_F6)},
        {"actAdrsView", "アドレス帳詳細(&I)", QKeySequence(Qt::Key_F7)},
    };
    for (const auto& c : cases) {
        QAction* action = Action(c.name);
        ASSERT_TRUE(action) << c.name;
        EXPECT_EQ(action->parent(), m_window.data());
        EXPECT_EQ(action->text(), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(action->shortcut(), c.key) << c.name;
    }
    EXPECT_TRUE(Action("actSenderLayout")->isCheckable());
    EXPECT_EQ(m_window->findChildren<QAction*>(QStringLiteral("actSender")).size(), 1);
}

TEST_F(DesignFormArrangeTest, CommandsRefuseWhenNothingFits)
{
    // No design: nothing opens, nothing is recorded or marked.
    for (const char* name :
         {"actSender", "actSenderSet", "actDetail", "actDataForm", "actSenderLayout", "actFormat",
          "actPaperCenter", "actEqualPaperH", "actRectTop", "actTop", "actAdrsList", "actAdrsView"})
        Trigger(name);
    EXPECT_FALSE(QApplication::activeModalWidget());
    EXPECT_EQ(Doc().Undo.Count(), 0);
    EXPECT_FALSE(Doc().Modified);
    EXPECT_FALSE(Action("actSenderLayout")->isChecked());

    // A design with a figure focused: the block's commands still refuse.
    NewPostcard();
    Doc().Selection = {Figure({0, 0, 50, 50})};
    Doc().FocusedIndex = 0;
    for (const char* name : {"actSenderSet", "actDetail", "actDataForm", "actSenderLayout"})
        Trigger(name);
    EXPECT_FALSE(Action("actSenderLayout")->isChecked());
    EXPECT_EQ(Doc().Undo.Count(), 0);
}

TEST_F(DesignFormArrangeTest, PostcardSessionArrangesAndChangesThePaper)
{
    NewPostcard();
    TDrawRect* a = Figure({10, 100, 110, 150});
    TDrawRect* b = Figure({250, 300, 350, 340});
    Doc().Selection = {a, b};
    Doc().FocusedIndex = 0;
    Trigger("actEqualPaperH");
    EXPECT_EQ(a->GetDesignRect().left, 59);
    EXPECT_EQ(b->GetDesignRect().left, 218);
    Trigger("actRectTop");
    EXPECT_EQ(b->GetDesignRect().top, 100);
    Doc().Selection = {b};
    Doc().FocusedIndex = 0;
    Trigger("actBottom");
    EXPECT_EQ(Doc().ZOrder, (std::vector<TDrawRect*>{a, b}));
    EXPECT_EQ(Doc().Undo.Count(), 3);

    // A5 lying is 2.1 times as wide and as high: Yes scales the x coordinates only.
    m_messages.answer(MsgSeam::IdYes);
    ModalDriver driver;
    driver.on("NewDesignDialog", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("用紙の変更"));
        auto* kind = w->findChild<QComboBox*>(QStringLiteral("cbxKind"));
        kind->setCurrentIndex(1);
        emit kind->activated(1);
        auto* list = w->findChild<QListWidget*>(QStringLiteral("lbFormat"));
        list->setCurrentItem(list->findItems(QStringLiteral("A5"), Qt::MatchExactly).value(0));
        w->findChild<QRadioButton*>(QStringLiteral("rbHorz"))->setChecked(true);
        w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    Trigger("actFormat");
    EXPECT_EQ(Doc().PaperIndex, 5);
    EXPECT_EQ(a->GetDesignRect(), (TRect{124, 100, 334, 150}));
    EXPECT_EQ(b->GetDesignRect(), (TRect{458, 100, 668, 140}));
    ASSERT_EQ(m_messages.count(), 1);
    EXPECT_EQ(m_messages.last().text,
              QStringLiteral("配置されている枠を、新しい用紙にあわせて拡大/縮小しますか？　"));
    EXPECT_EQ(Doc().Undo.Count(), 0);
    EXPECT_TRUE(Doc().Modified);
}

TEST_F(DesignFormArrangeTest, SenderBlockIsShownSetAndEdited)
{
    NewPostcard();
    Trigger("actSender");
    TSenderRect* block = Doc().SenderBlock();
    ASSERT_TRUE(block);
    auto* rects = m_window->findChild<QComboBox*>(QStringLiteral("cbxViewRect"));
    EXPECT_EQ(rects->currentText(), QStringLiteral("差出人情報"));
    EXPECT_EQ(Doc().Undo.GetEntry(0)->UndoActionKind(), UndoAdd);
    Trigger("actSender"); // a second block is refused
    EXPECT_EQ(Doc().Undo.Count(), 1);

    // Item mode on and off through the checked action.
    Trigger("actSenderLayout");
    EXPECT_TRUE(Action("actSenderLayout")->isChecked());
    EXPECT_FALSE(block->WholeBlock());

    // The look dialog: Cancel records nothing; OK turns the block and returns to whole-block mode.
    const TRect corner = block->GetDesignRect();
    ModalDriver driver;
    driver.on("SenderSettingDialog", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    Trigger("actSenderSet");
    EXPECT_EQ(Doc().Undo.Count(), 1);
    const bool horizontal = block->GetHorizontal();
    driver.on("SenderSettingDialog", [horizontal](QWidget* w) {
        w->findChild<QRadioButton*>(horizontal ? QStringLiteral("rbVertical")
                                               : QStringLiteral("rbHorizontal"))
            ->click();
        w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
    Trigger("actSenderSet");
    EXPECT_EQ(block->GetHorizontal(), !horizontal);
    EXPECT_TRUE(block->WholeBlock());
    EXPECT_FALSE(Action("actSenderLayout")->isChecked());
    EXPECT_EQ(block->GetDesignRect().left, corner.left);
    EXPECT_EQ(block->GetDesignRect().top, corner.top);
    EXPECT_EQ(Doc().Undo.GetEntry(0)->UndoActionKind(), UndoChange);

    // Cancelling the senders editor records a step and leaves the design unmarked.
    Doc().Modified = false;
    m_window->SenderEditorClosed(false, 0);
    EXPECT_EQ(Doc().Undo.Count(), 3);
    EXPECT_FALSE(Doc().Modified);
    // Choosing another sender moves the prototype and the block to it.
    m_window->SenderEditorClosed(true, 2);
    EXPECT_EQ(block->SenderTitle(), QByteArray("office"));
    EXPECT_EQ(m_window->Prototypes().Sender.SenderTitle(), QByteArray("office"));

    // Details: manual layout switches the block to its detailed set.
    driver.on("LayoutDetailDialog", [](QWidget* w) {
        w->findChild<QCheckBox*>(QStringLiteral("ckbAuto"))->setChecked(false);
        static_cast<QDialog*>(w)->accept();
    });
    Trigger("actDetail");
    EXPECT_FALSE(block->SimpleLayout());
    driver.on("DataFormDialog", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    Trigger("actDataForm");
}

TEST_F(DesignFormArrangeTest, ChoosingASenderWithoutABlockShowsIt)
{
    NewPostcard();
    m_window->SenderEditorClosed(true, 2);
    ASSERT_TRUE(Doc().SenderBlock());
    EXPECT_EQ(Doc().SenderBlock()->SenderTitle(), QByteArray("office"));
}

} // namespace
