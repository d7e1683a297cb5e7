// The design window's sender block, paper and arrangement commands: dialogs in, the document's commands
// (TDesignArranger) out.
#include "designers/DesignForm.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListServices.h"
#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "designers/DesignArrange.h"
#include "designers/DesignerCommandStates.h"
#include "designers/DesignerWindow.h"
#include "designers/NewDesignDialog.h"
#include "designers/PaperView.h"
#include "designers/SenderSettingDialog.h"
#include "layoutobjects/DataFormDialog.h"
#include "layoutobjects/LayoutDetail.h"
#include "layoutobjects/SenderForm.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>

namespace {

struct TSenderCommand
{
    const char* name;
    const char* text;
    void (TDesignForm::*run)();
};
const TSenderCommand SenderCommands[] = {
    {"actSender", "差出人の表示(&S)", &TDesignForm::actSenderExecute},
    {"actSenderEdit", "差出人の編集(&N)...", &TDesignForm::actSenderEditExecute},
    {"actSenderSet", "表示の設定(&V)...", &TDesignForm::actSenderSetExecute},
    {"actDetail", "フォント・配置の詳細設定(&Y)...", &TDesignForm::actDetailExecute},
    {"actDataForm", "表示情報の書式の設定(&F)...", &TDesignForm::actDataFormExecute},
    {"actSenderLayout", "各情報を個別に配置(&B)", &TDesignForm::actSenderLayoutExecute},
    {"actFormat", "用紙の設定(&P)...", &TDesignForm::actFormatExecute}};

const TArrangeCommand FormCommands[] = {{"actAdrsList", "アドレス帳一覧(&L)"},
                                        {"actAdrsView", "アドレス帳詳細(&I)"}};

template <size_t N> void addAll(QMenu* menu, const TArrangeCommand (&commands)[N], const QObject& window)
{
    for (const TArrangeCommand& c : commands)
        menu->addAction(window.findChild<QAction*>(QString::fromLatin1(c.name)));
}

} // namespace

void TDesignForm::buildArrangeActions()
{
    for (const TSenderCommand& c : SenderCommands)
        connect(makeAction(c.name, QString::fromUtf8(c.text)), &QAction::triggered, this, c.run);
    action("actSenderLayout")->setCheckable(true);
    auto tagged = [this](const auto& commands, void (TDesignForm::*run)(int)) {
        int tag = 0;
        for (const TArrangeCommand& c : commands) {
            QAction* a = makeAction(c.name, QString::fromUtf8(c.text));
            connect(a, &QAction::triggered, this, [this, run, tag] { (this->*run)(tag); });
            ++tag;
        }
    };
    tagged(PaperCentreCommands, &TDesignForm::actRectPositionExecute);
    tagged(EqualCommands, &TDesignForm::actEqualExecute);
    tagged(AlignCommands, &TDesignForm::actRectUniteExecute);
    tagged(ZOrderCommands, &TDesignForm::actZOrderExecute);
    tagged(FormCommands, &TDesignForm::actFormChangeExecute);
    action("actAdrsList")->setShortcut(QKeySequence(Qt::Key_F6));
    action("actAdrsView")->setShortcut(QKeySequence(Qt::Key_F7));
    for (const TArrangeCommand& c : ArrangeMenus)
        if (!action(c.name))
            makeAction(c.name, QString::fromUtf8(c.text));
}

void TDesignForm::buildArrangeMenus()
{
    if (QMenu* edit = findChild<QMenu*>(QStringLiteral("mniEdit"))) {
        edit->addSeparator();
        auto sub = [this, edit](const TArrangeCommand& parent) {
            return AddCommandSubmenu(*edit, *action(parent.name));
        };
        addAll(sub(ArrangeMenus[0]), PaperCentreCommands, *this);
        QMenu* unite = sub(ArrangeMenus[1]);
        addAll(unite, EqualCommands, *this);
        unite->addSeparator();
        addAll(unite, AlignCommands, *this);
        addAll(sub(ArrangeMenus[2]), ZOrderCommands, *this);
    }
    QMenu* sender = menuBar()->addMenu(QStringLiteral("差出人(&S)"));
    sender->setObjectName(QStringLiteral("mniSender"));
    for (const char* name :
         {"actSenderEdit", "actSenderSet", "actSenderLayout", "", "actDetail", "actDataForm"})
        if (*name)
            sender->addAction(action(name));
        else
            sender->addSeparator();
    QMenu* windows = menuBar()->addMenu(QStringLiteral("ウィンドウ(&W)"));
    windows->setObjectName(QStringLiteral("mniWindow"));
    addAll(windows, FormCommands, *this);
}

// ---- the sender block ----

void TDesignForm::actSenderExecute()
{
    TDesignArranger arranger(*m_document);
    arranger.SnapPitch = sbxPreview->SnapPitch();
    if (!arranger.CanShowSender())
        return;
    TSenderRect* block = arranger.ShowSender();
    if (!block)
        return;
    action("actSenderLayout")->setChecked(false);
    cbxViewRect->addItem(QStringLiteral("差出人情報"), QVariant::fromValue(static_cast<void*>(block)));
    cbxViewRect->setCurrentIndex(cbxViewRect->count() - 1);
    repaintPaper();
    updateActions();
}

void TDesignForm::actSenderEditExecute()
{
    qint32 senderNo = 0;
    TSenderSource* senders = m_sources.Senders.get();
    const AnsiString key = m_prototypes->Sender.SenderTitle();
    if (senders)
        for (qint32 recNo : senders->SenderRecNos())
            if (const TMergeRow* row = senders->LocateSender(recNo); row && row->Text("Title") == key)
                senderNo = recNo;
    const bool chosen = ExecuteSenderForm(this, senderNo);
    SenderEditorClosed(chosen, senderNo);
}

void TDesignForm::SenderEditorClosed(bool chosen, qint32 senderNo)
{
    if (auto* list = qobject_cast<TAddressList*>(parentWidget()))
        list->LoadSenderList();
    TSenderSource* senders = m_sources.Senders.get();
    if (chosen && senders) {
        senders->SenderRecNos();
        if (const TMergeRow* row = senders->LocateSender(senderNo)) {
            m_prototypes->Sender.SetSenderTitle(row->Text("Title"));
            m_prototypes->SetChanged();
        }
    }
    if (!m_document->DocumentOpen)
        return;
    if (m_document->SenderBlock())
        TDesignArranger(*m_document).SenderEdited();
    else if (chosen)
        actSenderExecute();
    ShowFocusedInRectList();
    repaintPaper();
    updateActions();
}

void TDesignForm::actSenderSetExecute()
{
    TDesignArranger arranger(*m_document);
    const TSenderRect* block = arranger.FocusedSender();
    if (!block)
        return;
    TSenderSettingDialog dialog(m_sources.Senders.get(), this);
    dialog.adjustSize();
    CenterForm(&dialog, this);
    dialog.SetSenderRect(*block);
    dialog.SetPageSize(PaperLongSide);
    dialog.Settings = m_document->Settings;
    if (dialog.exec() != QDialog::Accepted)
        return;
    action("actSenderLayout")->setChecked(false);
    arranger.TakeSenderLook(dialog.SenderBlock());
    repaintPaper();
    updateActions();
}

void TDesignForm::actDetailExecute()
{
    TDesignArranger arranger(*m_document);
    const TSenderRect* block = arranger.FocusedSender();
    if (!block)
        return;
    TLayoutDetailDialog dialog(this);
    dialog.adjustSize();
    CenterForm(&dialog, this);
    dialog.DisableRecipientFonts(1);
    dialog.SetManualLayout(block->SimpleLayout() ? 0 : 1);
    dialog.SetPlacedSides(2);
    dialog.SetSenderShown(arranger.DetailShown());
    dialog.SetDetailSettings(m_document->Settings);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TLayoutSettings detail = m_document->Settings;
    dialog.GetDetailSettings(detail);
    arranger.ApplyDetails(detail, dialog.ManualLayout() != 0, dialog.GetSenderShown());
    repaintPaper();
    updateActions();
}

void TDesignForm::actDataFormExecute()
{
    TDesignArranger arranger(*m_document);
    if (!arranger.FocusedSender())
        return;
    TDataFormDialog dialog(this);
    dialog.SetDataForm(m_document->Settings);
    dialog.DisableRecipientItems(1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TLayoutSettings form = m_document->Settings;
    dialog.GetDataForm(form);
    arranger.ApplyDataForm(form);
    repaintPaper();
    updateActions();
}

void TDesignForm::actSenderLayoutExecute()
{
    TDesignArranger arranger(*m_document);
    const TSenderRect* block = arranger.FocusedSender();
    const bool itemMode = block && block->WholeBlock();
    if (block)
        arranger.SetItemMode(itemMode);
    action("actSenderLayout")->setChecked(itemMode);
    ShowFocusedInRectList();
    repaintPaper();
}

// ---- the paper ----

void TDesignForm::actFormatExecute()
{
    TDesignDocument& d = *m_document;
    if (!d.DocumentOpen)
        return;
    TNewDesignDialog dialog(this);
    dialog.SetChangeMode(true);
    dialog.adjustSize();
    CenterForm(&dialog, this);
    dialog.SetFormat(d.PaperIndex);
    TDesignPaperFormat paper;
    if (dialog.exec() != QDialog::Accepted || !dialog.GetFormat(paper) ||
        dialog.FormatIndex() == d.PaperIndex)
        return;
    TBusyCursor busy;
    TDesignArranger arranger(d);
    const bool rescale =
        arranger.PaperChangeAsks(paper) &&
        MessageBoxPos(this, QStringLiteral("配置されている枠を、新しい用紙にあわせて拡大/縮小しますか？　"),
                      ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) == MsgSeam::IdYes;
    arranger.ChangePaper(dialog.FormatIndex(), paper, rescale);
    action("actSenderLayout")->setChecked(false);
    sbxPreview->sbxPreviewResize();
    repaintPaper();
    updateActions();
}

// ---- arrangement ----

void TDesignForm::actRectPositionExecute(int tag)
{
    TDesignArranger(*m_document).CentreOnPaper(TPaperCentre(tag));
    repaintPaper();
    updateActions();
}

void TDesignForm::actEqualExecute(int tag)
{
    TDesignArranger(*m_document).EqualSpacing(TEqualSpacing(tag));
    repaintPaper();
    updateActions();
}

void TDesignForm::actRectUniteExecute(int tag)
{
    TDesignArranger(*m_document).Align(TFrameAlign(tag));
    repaintPaper();
    updateActions();
}

void TDesignForm::actZOrderExecute(int tag)
{
    TDesignArranger(*m_document).ZOrder(TZOrderMove(tag));
    repaintPaper();
    updateActions();
}

void TDesignForm::actFormChangeExecute(int tag)
{
    QWidget* window =
        tag == 0 ? qobject_cast<TAddressList*>(parentWidget()) : ListChildWindow(TListChild::DataInquiry);
    if (window)
        BringDesignerForward(*window);
}
