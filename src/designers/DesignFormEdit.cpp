// The design window's editing commands: the dialogs' results go to the design's commands; undo and redo, the
// frame clipboard, the picture picker's answer and dropped files.
#include "designers/DesignForm.h"

#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "designers/ImageToolLink.h"
#include "designers/ImageToolProcess.h"
#include "designers/LayoutCommands.h"
#include "designers/PaperEditing.h"
#include "designers/PaperView.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/FigureSetting.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/IllustSetting.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/QRCodeSetting.h"
#include "layoutobjects/WordEdit.h"
#include "layoutobjects/WordRect.h"
#include "layoutobjects/WordSetting.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QSignalBlocker>

namespace {

struct TEditCommand
{
    const char* name;
    const char* text;
    QKeyCombination key;
    void (*run)(TDesignForm&);
};

// The commands with their captions and short cuts; the Delete key reaches actDelete through the paper view.
const TEditCommand EditCommands[] = {
    {"actUndo", "元に戻す(&U)", Qt::CTRL | Qt::Key_Z, [](TDesignForm& w) { w.actUndoExecute(0); }},
    {"actRedo", "やり直し(&R)", Qt::CTRL | Qt::SHIFT | Qt::Key_Z, [](TDesignForm& w) { w.actUndoExecute(1); }},
    {"actCopy", "枠のコピー(&C)", Qt::CTRL | Qt::Key_C, [](TDesignForm& w) { w.actCopyExecute(); }},
    {"actPaste", "枠の貼り付け(&P)", Qt::CTRL | Qt::Key_V, [](TDesignForm& w) { w.actPasteExecute(); }},
    {"actDelete", "枠の削除(&D)", {}, [](TDesignForm& w) { w.actDeleteExecute(); }},
    {"actIllust", "イラストの選択(&I)...", {}, [](TDesignForm& w) { w.actIllustExecute(); }},
    {"actWord", "文章の追加(&W)...", {}, [](TDesignForm& w) { w.actWordExecute(0); }},
    {"actWordEdit", "文章の編集(&W)...", {}, [](TDesignForm& w) { w.actWordExecute(1); }},
    {"actFigure", "図形の追加(&F)...", {}, [](TDesignForm& w) { w.actFigureExecute(0); }},
    {"actFigureSet", "図形の設定(&V)...", {}, [](TDesignForm& w) { w.actFigureExecute(1); }},
    {"actQRCode", "QRコードの追加(&Q)...", {}, [](TDesignForm& w) { w.actQRCodeExecute(0); }},
    {"actQRCodeSet", "QRコードの設定(&V)...", {}, [](TDesignForm& w) { w.actQRCodeExecute(1); }},
    {"actIllustSet", "表示の設定(&V)...", {}, [](TDesignForm& w) { w.actIllustSetExecute(); }},
    {"actWordSet", "表示の設定(&V)...", {}, [](TDesignForm& w) { w.actWordSetExecute(); }},
    {"pmiIllustDef", "もとのサイズに戻す(&A)", {}, [](TDesignForm& w) { w.pmiIllustDefClick(); }},
    {"pmiBackClear", "背景のクリア(&R)", {}, [](TDesignForm& w) { w.pmiBackClearClick(); }},
    {"pmiSenderDef", "標準の配置に戻す(&L)", {}, [](TDesignForm& w) { w.pmiSenderDefClick(); }},
};

template <class Frame> Frame* focusedAs(const TDesignDocument& d)
{
    if (d.FocusedIndex < 0 || d.FocusedIndex >= int(d.Selection.size()))
        return nullptr;
    return dynamic_cast<Frame*>(d.Selection[size_t(d.FocusedIndex)]);
}

} // namespace

void TDesignForm::buildEditActions()
{
    for (const TEditCommand& c : EditCommands) {
        QAction* a = makeAction(c.name, QString::fromUtf8(c.text));
        if (c.key != QKeyCombination())
            a->setShortcut(QKeySequence(c.key));
        connect(a, &QAction::triggered, this, [this, run = c.run] { run(*this); });
    }
    action("actRedo")->setProperty("tag", 1);
    for (const char* name : {"actWordEdit", "actFigureSet", "actQRCodeSet"})
        action(name)->setProperty("tag", 1);
}

void TDesignForm::connectEditSignals()
{
    connect(sbxPreview, &TPaperView::filesDropped, this, &TDesignForm::DropFiles);
}

TDesignEditor& TDesignForm::Editor()
{
    // A new document comes without the callback.
    if (!m_editor || &m_editor->Document() != m_document.get() || !m_document->Undo.OnUndoRedo)
        m_editor = std::make_unique<TDesignEditor>(*m_document);
    const QAction* adjust = action("actAdjustGrid");
    m_editor->SnapPitch = GridSize() != 0 && adjust && adjust->isChecked() ? GridPitch(GridSize()) : 0;
    return *m_editor;
}

void TDesignForm::afterEdit(bool refill)
{
    TDesignEditor& e = Editor();
    if (refill)
        UpdateRectList();
    ShowFocusedInRectList();
    if (e.SenderLayoutReset) {
        e.SenderLayoutReset = false;
        if (QAction* layout = action("actSenderLayout")) {
            const QSignalBlocker quiet(layout);
            layout->setChecked(false);
        }
    }
    Q_ASSERT(DesignConsistent(*m_document));
    updateActions();
    repaintPaper();
}

// ---- undo, clipboard, delete, background ----

void TDesignForm::actUndoExecute(int tag)
{
    if (!m_document->DocumentOpen)
        return;
    TBusyCursor busy;
    quint8 kind = 0;
    if (Editor().UndoRedo(tag == 1, &kind))
        afterEdit(kind == UndoAdd || kind == UndoDelete);
}

void TDesignForm::actCopyExecute()
{
    if (m_document->DocumentOpen)
        Editor().Copy();
    updateActions();
}

void TDesignForm::actPasteExecute()
{
    if (m_document->DocumentOpen && Editor().Paste())
        afterEdit(true);
}

void TDesignForm::actDeleteExecute()
{
    if (m_document->DocumentOpen && Editor().DeleteSelection())
        afterEdit(true);
}

void TDesignForm::pmiBackClearClick()
{
    if (m_document->DocumentOpen && Editor().ClearBackImage())
        afterEdit(false);
}

void TDesignForm::pmiSenderDefClick()
{
    if (m_document->DocumentOpen && Editor().ResetSenderLayout())
        afterEdit(false);
}

// ---- frames through their dialogs ----

// Runs a frame dialog over the window: prepare(dialog) fills it, take(dialog) hands its result to the design
// after OK; the window follows a change.
template <class Dialog, class Prepare, class Take>
static void runFrameDialog(TDesignForm& window, Prepare prepare, Take take)
{
    Dialog dialog(&window);
    CenterForm(&dialog, &window);
    prepare(dialog);
    if (dialog.exec() == QDialog::Accepted)
        take(dialog);
}

void TDesignForm::actWordExecute(int tag)
{
    const TWordRect* text = focusedAs<TWordRect>(*m_document);
    if (!m_document->DocumentOpen || (tag == 1 && !text))
        return;
    runFrameDialog<TWordEditDialog>(
        *this,
        [&](TWordEditDialog& dialog) {
            if (text) {
                dialog.SetLines(TextLines(*text));
                dialog.SetEditFont(text->Font());
            }
            const bool horizontal = text ? text->Horizontal() : m_prototypes->Rects->Text->Horizontal();
            dialog.SetDirection(horizontal ? 1 : 0);
        },
        [&](TWordEditDialog& dialog) {
            if (tag == 1 ? Editor().EditText(dialog.GetLines(), dialog.GetDirection())
                         : Editor().AddText(dialog.GetLines(), dialog.GetDirection()) != nullptr)
                afterEdit(tag == 0);
        });
}

void TDesignForm::actFigureExecute(int tag)
{
    const TFigureRect* shown = focusedAs<TFigureRect>(*m_document);
    if (!m_document->DocumentOpen || (tag == 1 && !shown))
        return;
    TFigureRect figure;
    if (tag == 1) {
        figure.Assign(*shown);
    } else {
        TakeFigurePrototype(figure, *m_prototypes->Rects->Figure);
        figure.SetDesignRect({50, 50, 300, 300});
    }
    runFrameDialog<TFigureSettingDialog>(
        *this, [&](TFigureSettingDialog& dialog) { dialog.SetFigure(figure); },
        [&](TFigureSettingDialog& dialog) {
            if (tag == 1 ? Editor().ChangeFigure(dialog.FigureRect())
                         : Editor().AddFigure(dialog.FigureRect()) != nullptr)
                afterEdit(tag == 0);
        });
}

void TDesignForm::actQRCodeExecute(int tag)
{
    const TQRCodeRect* shown = focusedAs<TQRCodeRect>(*m_document);
    if (!m_document->DocumentOpen || (tag == 1 && !shown))
        return;
    runFrameDialog<TQRCodeSettingDialog>(
        *this, [&](TQRCodeSettingDialog& dialog) { dialog.SetQRCode(shown ? *shown : TQRCodeRect()); },
        [&](TQRCodeSettingDialog& dialog) {
            if (tag == 1 ? Editor().ChangeQRCode(dialog.QRCodeRect())
                         : Editor().AddQRCode(dialog.QRCodeRect()) != nullptr)
                afterEdit(tag == 0);
        });
}

void TDesignForm::actIllustSetExecute()
{
    const TIllustRect* shown = focusedAs<TIllustRect>(*m_document);
    if (m_document->DocumentOpen && shown)
        runFrameDialog<TIllustSettingDialog>(
            *this, [&](TIllustSettingDialog& dialog) { dialog.SetIllust(*shown); },
            [&](TIllustSettingDialog& dialog) {
                if (Editor().SetIllustDisplay(dialog.IllustRect()))
                    afterEdit(false);
            });
}

void TDesignForm::actWordSetExecute()
{
    const TWordRect* shown = focusedAs<TWordRect>(*m_document);
    if (m_document->DocumentOpen && shown)
        runFrameDialog<TWordSettingDialog>(
            *this, [&](TWordSettingDialog& dialog) { dialog.SetWord(*shown); },
            [&](TWordSettingDialog& dialog) {
                if (Editor().SetWordDisplay(dialog.WordRect()))
                    afterEdit(false);
            });
}

void TDesignForm::pmiIllustDefClick()
{
    if (m_document->DocumentOpen && Editor().RestorePictureSize())
        afterEdit(false);
}

// ---- the picture picker and dropped files ----

void TDesignForm::actIllustExecute()
{
    if (!m_document->DocumentOpen)
        return;
    if (!m_imageTool) {
        MessageBoxPos(this, ImageToolMissingMessage, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return;
    }
    // Direct, so that an answer meant for the background dialog finds the window still ignoring it.
    connect(m_imageTool, &TImageToolLink::imageChosen, this, &TDesignForm::WMCopyData,
            Qt::ConnectionType(Qt::DirectConnection | Qt::UniqueConnection));
    m_imageTool->RequestSelect(this);
}

void TDesignForm::WMCopyData(const QString& path)
{
    if (!m_document->DocumentOpen || BackImageDialogOpen() || QApplication::activeModalWidget())
        return;
    if (Editor().TakePickedImage(path))
        afterEdit(true);
}

void TDesignForm::DropFiles(const QStringList& paths)
{
    if (!m_document->DocumentOpen || QApplication::activeModalWidget())
        return;
    // Where the files were let go, not where the pointer is by now.
    if (!Editor().DropFiles(paths, sbxPreview->LastDropPoint()))
        return;
    afterEdit(true);
    raise();
    activateWindow();
}
