// The label and card window's editing commands on the shared editor: undo and redo, the frame clipboard,
// deleting, the frame dialogs, the picture picker's answers and dropped pictures.
#include "designers/LabelForm.h"

#include "core/DialogSub.h"
#include "designers/FrameDialogs.h"
#include "designers/PaperView.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>

#include <algorithm>
#include <functional>

namespace {

struct TEditCommand
{
    const char* name;
    const char* text; // null: the action exists already
    QKeySequence key;
    std::function<void()> run;
};

} // namespace

void TLabelForm::buildEditActions()
{
    auto edit = [this](std::function<bool(TLayoutEditor&)> step, bool relist) {
        return [this, step, relist] { runEdit(step, relist); };
    };
    // The frame dialogs list the frames again after an addition only.
    auto dialog = [this, edit](bool (*run)(QWidget*, TLayoutEditor&, bool), bool change) {
        return edit([this, run, change](TLayoutEditor& e) { return run(this, e, change); }, !change);
    };
    auto setting = [this, edit](bool (*run)(QWidget*, TLayoutEditor&)) {
        return edit([this, run](TLayoutEditor& e) { return run(this, e); }, false);
    };
    auto copyFrames = [this] {
        if (canEdit())
            Editor().Copy();
        // Paste is possible from now on.
        updateActions();
    };
    const QKeySequence undo(Qt::CTRL | Qt::Key_Z), redo(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    const QKeySequence copy(Qt::CTRL | Qt::Key_C), paste(Qt::CTRL | Qt::Key_V);
    const TEditCommand commands[] = {
        {"actUndo", "元に戻す(&U)", undo, [this] { actUndoExecute(0); }},
        {"actRedo", "やり直し(&R)", redo, [this] { actUndoExecute(1); }},
        {"actCopy", "枠のコピー(&C)", copy, copyFrames},
        {"actPaste", "枠の貼り付け(&P)", paste, edit(&TLayoutEditor::Paste, true)},
        {"actDelete", "枠の削除(&D)", {}, edit(&TLayoutEditor::DeleteSelection, true)},
        {"actIllust", "イラストの選択(&I)...", {}, [this] { actIllustExecute(); }},
        {"actWord", "文章の追加(&W)...", {}, dialog(RunWordDialog, false)},
        {"actWordEdit", nullptr, {}, dialog(RunWordDialog, true)},
        {"actFigure", "図形の追加(&F)...", {}, dialog(RunFigureDialog, false)},
        {"actFigureSet", nullptr, {}, dialog(RunFigureDialog, true)},
        {"actQRCode", "QRコードの追加(&Q)...", {}, dialog(RunQRCodeDialog, false)},
        {"actQRCodeSet", nullptr, {}, dialog(RunQRCodeDialog, true)},
        {"actIllustSet", nullptr, {}, setting(RunIllustSetDialog)},
        {"actWordSet", nullptr, {}, setting(RunWordSetDialog)},
        {"actFont", nullptr, {}, setting(RunFontDialog)},
    };
    for (const auto& command : commands) {
        QAction* a = action(command.name);
        if (!a) {
            a = new QAction(QString::fromUtf8(command.text), this);
            a->setObjectName(QString::fromLatin1(command.name));
        }
        a->setShortcut(command.key);
        a->setEnabled(true);
        // Held by the window too, so that the keys work with the menu hidden.
        addAction(a);
        connect(a, &QAction::triggered, this, command.run);
    }
}

void TLabelForm::buildEditMenus()
{
    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("mniEdit"));
    const std::initializer_list<const char*> groups[] = {{"actUndo", "actRedo"},
                                                         {"actCopy", "actPaste", "actDelete"},
                                                         {"actWord", "actFigure", "actQRCode", "actIllust"},
                                                         {"actFont"}};
    for (const auto& group : groups) {
        if (!edit->isEmpty())
            edit->addSeparator();
        for (const char* name : group)
            edit->addAction(action(name));
    }
}

void TLabelForm::bindEditView()
{
    connect(sbxPreview, &TPaperView::deleteRequested, action("actDelete"), &QAction::trigger);
    connect(sbxPreview, &TPaperView::filesDropped, this, &TLabelForm::DropFiles);
}

TLayoutEditor TLabelForm::Editor()
{
    const TLayoutDocument& d = *m_document;
    TLayoutEditor editor(*m_document, {int(d.SimpleFrames().size()), int(d.DetailedFrames().size())});
    editor.SnapPitch = sbxPreview ? sbxPreview->SnapPitch() : 0;
    return editor;
}

void TLabelForm::StoreUndoSelection(TUndoDatas& action, quint8 side)
{
    Editor().StoreUndoSelection(action, side);
}

bool TLabelForm::canEdit() const
{
    return m_document->DocumentOpen && !PreviewShown() && sbxPreview && !sbxPreview->PreviewMode();
}

bool TLabelForm::runEdit(const std::function<bool(TLayoutEditor&)>& step, const bool& relist)
{
    if (!canEdit())
        return false;
    TLayoutEditor editor = Editor();
    if (!step(editor))
        return false;
    // Read after the step, which may decide it.
    if (relist)
        UpdateRectList();
    ShowFocusedInRectList();
    updateActions();
    repaintPaper();
    return true;
}

void TLabelForm::actUndoExecute(int tag)
{
    TBusyCursor busy;
    // Frames that came or went are listed again; moves and changes keep the list.
    bool relist = false;
    runEdit(
        [&](TLayoutEditor& e) {
            quint8 kind = UndoMove;
            const bool applied = e.UndoRedo(tag == 1, &kind);
            relist = kind == UndoAdd || kind == UndoDelete;
            return applied;
        },
        relist);
}

// ---- the picture picker and dropped files ----

void TLabelForm::SetImageToolLink(TImageToolLink* link)
{
    if (m_imageTool != link)
        delete m_imageTool.data();
    m_imageTool = link;
    if (!link)
        return;
    link->setParent(this);
    // Answers arrive as events, never while the window waits.
    connect(link, &TImageToolLink::imageChosen, this, &TLabelForm::WMCopyData,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
}

void TLabelForm::closeImageTool()
{
    if (m_imageTool)
        m_imageTool->Close();
}

void TLabelForm::actIllustExecute()
{
    if (canEdit() && m_imageTool)
        m_imageTool->RequestSelect(this);
}

void TLabelForm::WMCopyData(const QString& path)
{
    if (!isEnabled() || QApplication::activeModalWidget())
        return;
    runEdit([&](TLayoutEditor& e) { return e.TakePickedImage(path); }, true);
}

void TLabelForm::DropFiles(const QStringList& paths)
{
    if (!canEdit())
        return;
    const QPoint point = sbxPreview->LastDropPoint();
    runEdit([&](TLayoutEditor& e) { return e.DropFiles(paths, point); }, true);
}
