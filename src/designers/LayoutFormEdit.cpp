// The address printing window's editing commands: the dialogs' results go to the document's commands; undo
// and redo, the frame clipboard, the popup menu, the picture picker and dropped files.
#include "designers/LayoutForm.h"

#include "core/DialogSub.h"
#include "core/ShellSub.h"
#include "designers/DesignerCommandStates.h"
#include "designers/DesignerShared.h"
#include "designers/FrameClipboard.h"
#include "designers/FrameDialogs.h"
#include "designers/PaperView.h"
#include "layoutobjects/AdditionInfo.h"
#include "layoutobjects/BarcodeRect.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/MetaRect.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/WordRect.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>

namespace {


TDrawRect* focusedOf(const TLayoutDocument& d)
{
    return d.FocusIndex >= 0 && d.FocusIndex < int(d.Selection.size()) ? d.Selection[size_t(d.FocusIndex)]
                                                                       : nullptr;
}

bool isFree(int kind)
{
    return kind >= KindIllust && kind <= KindQRCode;
}

} // namespace

QAction* TLayoutForm::editAction(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name));
}

void TLayoutForm::buildEditActions()
{
    auto command = [this](const char* name, const QString& text, QKeySequence key, auto slot) {
        QAction* action = editAction(name);
        if (!action)
            action = makeAction(name, text);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    command("actUndo", QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z),
            [this] { actUndoExecute(0); });
    command("actRedo", QStringLiteral("やり直し(&R)"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
            [this] { actUndoExecute(1); });
    command("actCopy", QStringLiteral("枠のコピー(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C),
            [this] { actCopyExecute(); });
    command("actPaste", QStringLiteral("枠の貼り付け(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V),
            [this] { actPasteExecute(); });
    // The Delete key reaches the command through the paper view.
    command("actDelete", QStringLiteral("枠の削除(&D)"), {}, [this] { actDeleteExecute(); });
    command("actWord", QStringLiteral("文章の追加(&W)..."), {}, [this] { actWordExecute(0); });
    command("actWordEdit", {}, {}, [this] { actWordExecute(1); });
    command("actFigure", QStringLiteral("図形の追加(&F)..."), {}, [this] { actFigureExecute(0); });
    command("actFigureSet", {}, {}, [this] { actFigureExecute(1); });
    command("actQRCode", QStringLiteral("QRコードの追加(&Q)..."), {}, [this] { actQRCodeExecute(0); });
    command("actQRCodeSet", {}, {}, [this] { actQRCodeExecute(1); });
    command("actIllustSet", {}, {}, [this] { actIllustSetExecute(); });
    command("actWordSet", {}, {}, [this] { actWordSetExecute(); });
    command("pmiIllustDef", QStringLiteral("もとのサイズに戻す(&A)"), {}, [this] { pmiIllustDefClick(); });
    command("actIllust", QStringLiteral("イラストの選択(&I)..."), {}, [this] { actIllustExecute(); });
    command("actDefaultLayout", QStringLiteral("標準の配置に戻す(&L)"), {},
            [this] { actDefaultLayoutExecute(); });
    command("actFont", QStringLiteral("フォントの設定(&T)..."), {}, [this] { actFontExecute(); });
    command("actBarcodeSet", QStringLiteral("バーコードの設定(&B)..."), {}, [this] { actBarcodeSetExecute(); });
    connect(editAction("actSender"), &QAction::triggered, this, &TLayoutForm::actSenderExecute);
    for (const char* name : {"actWordEdit", "actWordSet", "actFigureSet", "actQRCodeSet", "actIllustSet"})
        editAction(name)->setText(QString());
    editAction("actWordEdit")->setText(QStringLiteral("文章の編集(&W)..."));
    editAction("actWordSet")->setText(QStringLiteral("表示の設定(&V)..."));
    editAction("actIllustSet")->setText(QStringLiteral("表示の設定(&V)..."));
    editAction("actFigureSet")->setText(QStringLiteral("図形の設定(&V)..."));
    editAction("actQRCodeSet")->setText(QStringLiteral("QRコードの設定(&V)..."));

    auto tagged = [this](const TArrangeCommand* items, int count, auto run) {
        for (int tag = 0; tag < count; ++tag) {
            QAction* a = makeAction(items[tag].name, QString::fromUtf8(items[tag].text));
            connect(a, &QAction::triggered, this, [this, run, tag] {
                if (!editable())
                    return;
                TLayoutEditor e = editor();
                run(e, tag);
                afterEdit(false);
            });
        }
    };
    tagged(PaperCentreCommands, 3, [](TLayoutEditor& e, int tag) { e.CentreOnPaper(TPaperCentre(tag)); });
    tagged(EqualCommands, 4, [](TLayoutEditor& e, int tag) { e.EqualSpacing(TEqualSpacing(tag)); });
    tagged(AlignCommands, 10, [](TLayoutEditor& e, int tag) { e.Align(TFrameAlign(tag)); });
    tagged(ZOrderCommands, 4, [](TLayoutEditor& e, int tag) { e.ZOrder(TZOrderMove(tag)); });
    for (const TArrangeCommand& menu : ArrangeMenus)
        makeAction(menu.name, QString::fromUtf8(menu.text));
}

void TLayoutForm::buildEditMenus()
{
    QMenu* edit = new QMenu(QStringLiteral("編集(&E)"), this);
    edit->setObjectName(QStringLiteral("mniEdit"));
    menuBar()->insertMenu(menuBar()->actions().value(1), edit);
    for (const char* name : {"actUndo", "actRedo", "", "actCopy", "actPaste", "actDelete", "", "actWord",
                             "actFigure", "actQRCode", "actIllust", "", "actFont", "actBarcodeSet"}) {
        if (!*name)
            edit->addSeparator();
        else
            edit->addAction(editAction(name));
    }
    edit->addSeparator();
    auto sub = [this](QMenu* parent, const char* name, const TArrangeCommand* items, int count) {
        QMenu* menu = AddCommandSubmenu(*parent, *editAction(name));
        for (int i = 0; i < count; ++i)
            menu->addAction(editAction(items[i].name));
    };
    sub(edit, "actRectPos", PaperCentreCommands, 3);
    sub(edit, "actRectUnite", EqualCommands, 4);
    edit->addAction(editAction("actDefaultLayout"));
    sub(edit, "actZOrder", ZOrderCommands, 4);
    connect(edit, &QMenu::aboutToShow, this, &TLayoutForm::updateEditActions);
    // The alignments share the arrangement parent of the equal spacing.
    QMenu* unite = edit->findChild<QMenu*>(QStringLiteral("mniRectUnite"));
    unite->addSeparator();
    for (const TArrangeCommand& item : AlignCommands)
        unite->addAction(editAction(item.name));
}

void TLayoutForm::bindEditView()
{
    connect(sbxPreview, &TPaperView::deleteRequested, this, &TLayoutForm::actDeleteExecute);
    connect(sbxPreview, &TPaperView::filesDropped, this, &TLayoutForm::DropFiles);
    connect(sbxPreview, &TPaperView::contextMenuRequested, this, [this](const QPoint& pos) {
        if (QMenu* menu = PopupMenu())
            menu->popup(pos);
    });
}

TLayoutEditor TLayoutForm::editor()
{
    TLayoutEditor e(*m_document);
    e.SnapPitch = sbxPreview ? sbxPreview->SnapPitch() : 0;
    return e;
}

bool TLayoutForm::editable() const
{
    return m_document && m_document->DocumentOpen && sbxPreview && !sbxPreview->PreviewMode();
}

void TLayoutForm::afterEdit(bool refillRectList)
{
    if (refillRectList)
        UpdateRectList();
    ShowFocusedInRectList();
    updateActions();
    repaintPaper();
}

void TLayoutForm::updateEditActions()
{
    if (!m_document || !editAction("actUndo"))
        return;
    const TLayoutDocument& d = *m_document;
    const bool open = d.DocumentOpen;
    const TDrawRect* focused = focusedOf(d);
    const int kind = focused ? focused->GetKind() : -1;
    auto enable = [this](const char* name, bool on) { editAction(name)->setEnabled(on); };
    enable("actUndo", open && d.Undo.CanUndo());
    enable("actRedo", open && d.Undo.CanRedo());
    enable("actCopy", open && isFree(kind));
    enable("actPaste", open && FrameClipboard().has_value());
    enable("actDelete",
           focused && ((kind < KindBarcode && d.DetailedSet) || (kind >= KindBarcode && kind <= KindQRCode)));
    for (const char* name : {"actWord", "actFigure", "actQRCode"})
        enable(name, open);
    enable("actIllust", open && m_imageTool);
    enable("actWordEdit", kind == KindWord);
    enable("actWordSet", kind == KindWord);
    enable("actIllustSet", kind == KindIllust);
    enable("actFigureSet", kind == KindFigure);
    enable("actQRCodeSet", kind == KindQRCode);
    enable("pmiIllustDef", kind == KindIllust);
    enable("actRectPos", focused);
    enable("actRectUnite", d.Selection.size() > 1);
    for (const TArrangeCommand& item : EqualCommands)
        enable(item.name, d.Selection.size() > 1);
    for (const TArrangeCommand& item : AlignCommands)
        enable(item.name, d.Selection.size() > 1 && focused);
    for (const TArrangeCommand& item : PaperCentreCommands)
        enable(item.name, focused);
    enable("actZOrder", focused);
    const bool topSelected = !d.Stacking.empty() && std::find(d.Selection.begin(), d.Selection.end(),
                                                              d.Stacking.front()) != d.Selection.end();
    const bool bottomSelected = !d.Stacking.empty() && std::find(d.Selection.begin(), d.Selection.end(),
                                                                 d.Stacking.back()) != d.Selection.end();
    enable("actTop", focused && !topSelected);
    enable("actUp", focused && !topSelected);
    enable("actDown", focused && !bottomSelected);
    enable("actBottom", focused && !bottomSelected);
    enable("actDefaultLayout", open && (!focused || !isFree(kind)));
    enable("actFont", dynamic_cast<const TMetaRect*>(focused) != nullptr);
    enable("actBarcodeSet", open && d.SenderDisplayMode != 2 && !d.BarcodeImpossible);
    QAction* sender = editAction("actSender");
    sender->setEnabled(open && d.SenderDisplayMode != 2 && d.Paper.Count1 > 4);
    sender->setChecked(d.SenderDisplayMode == 0 || d.SenderDisplayMode == 2);
}

// ---- undo, clipboard, delete ----

void TLayoutForm::actUndoExecute(int tag)
{
    if (!editable())
        return;
    TBusyCursor busy;
    quint8 kind = 0;
    if (!editor().UndoRedo(tag == 1, &kind))
        return;
    afterEdit(kind == UndoAdd || kind == UndoDelete);
}

void TLayoutForm::actCopyExecute()
{
    if (editable())
        editor().Copy();
    updateEditActions();
}

void TLayoutForm::actPasteExecute()
{
    if (editable() && editor().Paste())
        afterEdit(true);
}

void TLayoutForm::actDeleteExecute()
{
    if (editable() && editor().DeleteSelection())
        afterEdit(true);
}

// ---- frames through their dialogs ----

void TLayoutForm::actWordExecute(int tag)
{
    TLayoutEditor e = editor();
    if (editable() && RunWordDialog(this, e, tag == 1))
        afterEdit(tag == 0);
}

void TLayoutForm::actFigureExecute(int tag)
{
    TLayoutEditor e = editor();
    if (editable() && RunFigureDialog(this, e, tag == 1))
        afterEdit(tag == 0);
}

void TLayoutForm::actQRCodeExecute(int tag)
{
    TLayoutEditor e = editor();
    if (editable() && RunQRCodeDialog(this, e, tag == 1))
        afterEdit(tag == 0);
}

void TLayoutForm::actIllustSetExecute()
{
    TLayoutEditor e = editor();
    if (editable() && RunIllustSetDialog(this, e))
        afterEdit(false);
}

void TLayoutForm::actWordSetExecute()
{
    TLayoutEditor e = editor();
    if (editable() && RunWordSetDialog(this, e))
        afterEdit(false);
}

void TLayoutForm::pmiIllustDefClick()
{
    if (editable() && editor().RestorePictureSize())
        afterEdit(false);
}

void TLayoutForm::actSenderExecute(bool show)
{
    if (!editable())
        return;
    editor().ShowSender(show);
    afterEdit(true);
}

void TLayoutForm::actFontExecute()
{
    TLayoutEditor e = editor();
    if (editable() && RunFontDialog(this, e))
        afterEdit(false);
}

void TLayoutForm::actBarcodeSetExecute()
{
    if (!editable())
        return;
    const TLayoutDocument& d = *m_document;
    const TBarcodeRect* barcode = nullptr;
    for (const TDrawRect* frame : d.CurrentSet())
        if (frame->GetKind() == KindBarcode)
            barcode = static_cast<const TBarcodeRect*>(frame);
    if (!barcode)
        return;
    TAdditionInfoDialog dialog(this);
    dialog.SetPaperKind(d.Paper.Kind);
    dialog.SetBarcode(barcode->Visible());
    dialog.SetBarcodeSize(barcode->SizeIndex());
    dialog.SetMaxBarcodeSize(d.MaxBarcodeSize);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (editor().SetBarcode(dialog.GetBarcode(), dialog.GetBarcodeSize()))
        afterEdit(true);
}

void TLayoutForm::actDefaultLayoutExecute()
{
    if (!editable())
        return;
    editor().DefaultLayout();
    afterEdit(false);
}

// ---- the picture picker and dropped files ----

void TLayoutForm::SetImageToolLink(TImageToolLink* link)
{
    if (m_imageTool == link)
        return;
    delete m_imageTool;
    m_imageTool = link;
    if (link) {
        link->setParent(this);
        // Answers arrive as events, never while the window waits.
        connect(link, &TImageToolLink::imageChosen, this, &TLayoutForm::ImageChosen, Qt::QueuedConnection);
    }
    updateEditActions();
}

void TLayoutForm::actIllustExecute()
{
    if (editable() && m_imageTool)
        m_imageTool->RequestSelect(this);
}

void TLayoutForm::ImageChosen(const QString& path)
{
    if (!editable() || !isEnabled() || QApplication::activeModalWidget())
        return;
    if (editor().TakePickedImage(path))
        afterEdit(true);
}

void TLayoutForm::DropFiles(const QStringList& paths)
{
    if (!editable())
        return;
    if (editor().DropFiles(paths, sbxPreview->LastDropPoint()))
        afterEdit(true);
}

// ---- the popup menu ----

QMenu* TLayoutForm::PopupMenu()
{
    if (!editable())
        return nullptr;
    if (!m_popup) {
        m_popup = new QMenu(this);
        m_popup->setObjectName(QStringLiteral("PopupMenu"));
    }
    PopupMenuPopup(m_popup);
    return m_popup;
}

void TLayoutForm::PopupMenuPopup(QMenu* menu)
{
    updateEditActions();
    TDesignerState s;
    s.Window = TDesignerKind::Address;
    const TDrawRect* focused = focusedOf(*m_document);
    s.FocusedKind = focused ? focused->GetKind() : -1;
    FillDesignerPopup(*menu, *this, s);
}
