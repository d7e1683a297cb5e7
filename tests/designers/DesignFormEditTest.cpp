// The design window's editing commands: their actions, the dialogs' OK and Cancel, undo and redo through the
// window back to the same file bytes, the picker's answer (also while the background dialog is open), drops
// and every command refusing without a design.
#include "designers/BackImageDialog.h"
#include "designers/DesignForm.h"
#include "designers/DesignerCommandStates.h"
#include "designers/FrameClipboard.h"
#include "designers/ImageToolLink.h"
#include "designers/PaperView.h"
#include "layoutobjects/WordRect.h"
#include "support/DesignerFolders.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QPlainTextEdit>

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
    void Close() override {}
    void Answer(const QString& path) { emit imageChosen(path); }
    int Requests = 0;
};

class DesignFormEditTest : public ::testing::Test
{
protected:
    void SetUp() override { m_window = new TDesignForm(); }
    void TearDown() override { delete m_window.data(); }
    TDesignDocument& Opened()
    {
        const QString path = DesignFolder + QStringLiteral("a.gpd");
        EXPECT_TRUE(QFile::copy(GoldenDesignFile, path));
        EXPECT_TRUE(m_window->LoadFromFile(path));
        return m_window->Document();
    }
    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    QByteArray Bytes() { return m_window->Document().EncodeDesignFile(QByteArray()); }
    QString Picture(const QString& name) { return m_folders.Picture(name, QSize(96, 48)); }
    QStringList RectList() const { return RectComboEntries(*m_window); }

    TDesignerFolders m_folders;
    QPointer<TDesignForm> m_window;
    MessageRecorder m_messages;
    ModalDriver m_driver;
};

TEST_F(DesignFormEditTest, ActionsCarryTheirCaptionsAndKeys)
{
    const struct
    {
        const char* name;
        const char* text;
        QKeySequence key;
    } actions[] = {
        {"actUndo", "元に戻す(&U)", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"actRedo", "やり直し(&R)", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
        {"actCopy", "枠のコピー(&C)", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"actPaste", "枠の貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V)},
        {"actDelete", "枠の削除(&D)", {}},
        {"actIllust", "イラストの選択(&I)...", {}},
        {"actWord", "文章の追加(&W)...", {}},
        {"actWordEdit", "文章の編集(&W)...", {}},
        {"actFigure", "図形の追加(&F)...", {}},
        {"actFigureSet", "図形の設定(&V)...", {}},
        {"actQRCode", "QRコードの追加(&Q)...", {}},
        {"actQRCodeSet", "QRコードの設定(&V)...", {}},
        {"actIllustSet", "表示の設定(&V)...", {}},
        {"actWordSet", "表示の設定(&V)...", {}},
        {"pmiIllustDef", "もとのサイズに戻す(&A)", {}},
        {"pmiBackClear", "背景のクリア(&R)", {}},
        {"pmiSenderDef", "標準の配置に戻す(&L)", {}},
    };
    for (const auto& a : actions) {
        const QList<QAction*> found = m_window->findChildren<QAction*>(QString::fromLatin1(a.name));
        ASSERT_EQ(found.size(), 1) << a.name;
        EXPECT_EQ(found[0]->parent(), m_window.data()) << a.name;
        EXPECT_EQ(found[0]->text(), QString::fromUtf8(a.text)) << a.name;
        EXPECT_EQ(found[0]->shortcut(), a.key) << a.name;
    }
}

TEST_F(DesignFormEditTest, WithoutADesignEveryCommandRefuses)
{
    m_messages.allowUnexpected();
    for (const char* name : {"actUndo", "actRedo", "actCopy", "actPaste", "actDelete", "actIllust", "actWord",
                             "actWordEdit", "actFigure", "actFigureSet", "actQRCode", "actQRCodeSet",
                             "actIllustSet", "actWordSet", "pmiIllustDef", "pmiBackClear", "pmiSenderDef"})
        Action(name)->trigger();
    m_window->WMCopyData(Picture("p.bmp"));
    m_window->DropFiles({Picture("q.bmp")});
    EXPECT_EQ(m_driver.handled(), 0);
    EXPECT_EQ(m_messages.count(), 0);
    EXPECT_EQ(m_window->Document().Undo.Count(), 0);
    EXPECT_FALSE(m_window->Document().Modified);
}

// Dialog commands, Cancel first, then undone one by one to the opened bytes and redone to the edited ones.
TEST_F(DesignFormEditTest, DialogCommandsUndoAndRedoThroughTheWindow)
{
    TDesignDocument& d = Opened();
    const QByteArray opened = Bytes();
    const size_t texts = d.FreeFrames(FreeText).size();
    m_driver.on("WordEditDialog", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    Action("actWord")->trigger();
    EXPECT_EQ(d.Undo.Count(), 0);
    EXPECT_FALSE(d.Modified);

    m_driver.on("WordEditDialog", [](QWidget* w) {
        w->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("追加"));
        static_cast<QDialog*>(w)->accept();
    });
    Action("actWord")->trigger();
    ASSERT_EQ(d.FreeFrames(FreeText).size(), texts + 1);
    EXPECT_EQ(static_cast<TWordRect*>(d.Selection.at(0))->GetLine(0), QStringLiteral("追加"));
    EXPECT_TRUE(RectList().contains(QStringLiteral("文章%1").arg(texts + 1)));
    EXPECT_TRUE(m_window->windowTitle().endsWith(QStringLiteral(" (更新)")));
    m_driver.on("FigureSettingDialog", [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    Action("actFigure")->trigger();
    m_driver.on("QRCodeSettingDialog", [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    Action("actQRCode")->trigger();
    m_driver.on("BackImageDialog", [](QWidget* w) {
        static_cast<TBackImageDialog*>(w)->BackImage.SetMode(BackColor);
        static_cast<TBackImageDialog*>(w)->BackImage.SetColor(0x123456);
        static_cast<QDialog*>(w)->accept();
    });
    Action("actBackImage")->trigger();
    // The history keeps five actions: the QR code still selected goes.
    Action("actDelete")->trigger();
    ASSERT_EQ(d.Undo.Count(), 5);
    const QByteArray edited = Bytes();

    while (d.Undo.CanUndo())
        Action("actUndo")->trigger();
    EXPECT_EQ(Bytes(), opened);
    while (d.Undo.CanRedo())
        Action("actRedo")->trigger();
    EXPECT_EQ(Bytes(), edited);
    EXPECT_TRUE(DesignConsistent(d));
}

// The sender block's context menu puts its items back as one step the window undoes.
TEST_F(DesignFormEditTest, SenderLayoutFromTheContextMenu)
{
    TDesignDocument& d = Opened();
    TSenderRect* block = d.SenderBlock();
    ASSERT_NE(block, nullptr);
    // Turned without its items: they stay where the other direction puts them.
    const int turned = block->GetHorizontal() ? 0 : 1;
    block->SetHorizontal(turned == 1);
    d.Selection = {block};
    d.FocusedIndex = 0;
    const QByteArray before = Bytes();
    m_window->UpdateCommandStates();
    QMenu* menu = m_window->Commands().Popup();
    ASSERT_NE(menu, nullptr);
    QAction* reset = nullptr;
    for (QAction* a : menu->actions())
        if (a->objectName() == QStringLiteral("pmiSenderDef"))
            reset = a;
    ASSERT_NE(reset, nullptr);
    ASSERT_TRUE(reset->isEnabled());
    reset->trigger();
    ASSERT_EQ(d.Undo.Count(), 1);
    for (int i = 0; i < SenderMemberCount; ++i)
        EXPECT_EQ(block->ItemRect(i), SenderItemDefaultRects[size_t(i)][size_t(turned)]) << i;
    EXPECT_EQ(d.Context.Prototypes->Sender.GetHorizontal(), turned == 1);
    EXPECT_TRUE(m_window->windowTitle().endsWith(QStringLiteral(" (更新)")));
    Action("actUndo")->trigger();
    EXPECT_EQ(Bytes(), before);
    EXPECT_TRUE(DesignConsistent(d));
}

TEST_F(DesignFormEditTest, PickerAnswersAndDrops)
{
    TDesignDocument& d = Opened();
    const size_t illusts = d.FreeFrames(FreeIllustration).size();
    auto* tool = new FakeImageTool;
    m_window->SetImageToolLink(tool);
    d.Selection.clear();
    d.FocusedIndex = -1;
    Action("actIllust")->trigger();
    EXPECT_EQ(tool->Requests, 1);
    tool->Answer(Picture("a.bmp"));
    ASSERT_EQ(d.FreeFrames(FreeIllustration).size(), illusts + 1);
    EXPECT_EQ(d.Selection.size(), 1u);

    // An answer meant for the background dialog is the dialog's alone.
    d.Selection.clear();
    d.FocusedIndex = -1;
    m_driver.on("BackImageDialog", [&](QWidget* w) {
        tool->Answer(Picture("b.bmp"));
        static_cast<QDialog*>(w)->reject();
    });
    Action("actBackImage")->trigger();
    EXPECT_EQ(d.FreeFrames(FreeIllustration).size(), illusts + 1);

    const int actions = d.Undo.Count();
    emit m_window->PaperView()->filesDropped({Picture("1.bmp"), Picture("2.bmp"), m_folders.FilePath("x.txt")});
    ASSERT_EQ(d.FreeFrames(FreeIllustration).size(), illusts + 3);
    EXPECT_EQ(d.Undo.Count(), actions + 1);
    EXPECT_EQ(d.Selection.size(), 2u);
    EXPECT_EQ(d.FocusedIndex, 1);
    Action("actUndo")->trigger();
    EXPECT_EQ(d.FreeFrames(FreeIllustration).size(), illusts + 1);
}

TEST_F(DesignFormEditTest, MissingPickerIsReported)
{
    Opened();
    m_window->SetImageToolLink(nullptr);
    m_messages.allowUnexpected();
    Action("actIllust")->trigger();
    ASSERT_EQ(m_messages.count(), 1);
    EXPECT_EQ(m_messages.last().text, QStringLiteral("画像参照ツールがみつかりません  "));
}

} // namespace
