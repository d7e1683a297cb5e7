// The label and card window's paper, additional information, details and data-format commands, the sender
// editor, the address list's records and record card, and the arrangement commands.
#include "designers/LabelForm.h"

#include "addressbook/AdrsList.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "designers/DesignerCommandStates.h"
#include "designers/PaperView.h"
#include "layoutobjects/AdditionInfo.h"
#include "layoutobjects/DataFormDialog.h"
#include "layoutobjects/LayoutDetail.h"
#include "layoutobjects/NewLabel.h"
#include "layoutobjects/SenderForm.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <span>

namespace {

const char* const RecordMoves[] = {"actFirst", "actPrior", "actNext", "actLast"};

// The arrangement commands by parent menu item: the tagged actions and what a tag runs.
struct TArrangeGroup
{
    const char* parent;
    const char* caption;
    std::span<const TArrangeCommand> items;
    bool (*run)(TLayoutEditor& editor, int tag);
};
const TArrangeGroup ArrangeGroups[] = {
    {ArrangeMenus[0].name, ArrangeMenus[0].text, PaperCentreCommands,
     [](TLayoutEditor& e, int tag) { return e.CentreOnPaper(TPaperCentre(tag)); }},
    {ArrangeMenus[1].name, ArrangeMenus[1].text, EqualCommands,
     [](TLayoutEditor& e, int tag) { return e.EqualSpacing(TEqualSpacing(tag)); }},
    {ArrangeMenus[1].name, nullptr, AlignCommands, [](TLayoutEditor& e, int tag) { return e.Align(TFrameAlign(tag)); }},
    {ArrangeMenus[2].name, ArrangeMenus[2].text, ZOrderCommands, [](TLayoutEditor& e, int tag) { return e.ZOrder(TZOrderMove(tag)); }},
};

} // namespace

void TLabelForm::buildSettingsActions()
{
    auto make = [this](const char* name, const char* text, auto run, QKeySequence key = {}) {
        auto* a = findChild<QAction*>(QString::fromLatin1(name));
        if (!a) {
            a = new QAction(QString::fromUtf8(text), this);
            a->setObjectName(QString::fromLatin1(name));
        }
        a->setShortcut(key);
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, run);
        return a;
    };
    make("actFormat", "用紙の設定(&P)...", [this] { actFormatExecute(); });
    make("actAdditionSet", "追加情報の設定(&A)...", [this] { actAdditionSetExecute(); });
    make("actDetail", "フォント・配置の詳細設定(&Y)...", [this] { actDetailExecute(); });
    make("actDataForm", "表示情報の書式設定(&F)...", [this] { actDataFormExecute(); });
    make("actSenderEdit", "差出人の編集(&N)...", [this] { actSenderEditExecute(); });
    make("actEditData", "アドレス帳データの編集(&E)...", [this] { actEditDataExecute(); });
    const char* const moveTexts[] = {"最初のデータ(&F)", "前のデータ(&P)", "次のデータ(&N)", "最後のデータ(&L)"};
    for (int tag = 0; tag < 4; ++tag)
        make(RecordMoves[tag], moveTexts[tag], [this, tag] { actMoveExecute(tag); })->setData(tag);
    make("actDefaultLayout", "標準の配置に戻す(&L)", [this] { actDefaultLayoutExecute(); });
    make("actAdrsList", "アドレス帳一覧(&L)", [this] {
        if (QWidget* list = ownerList())
            BringDesignerForward(*list);
    }, QKeySequence(Qt::Key_F6));
    make("actAdrsView", "アドレス帳詳細(&I)", [] {
        if (QWidget* card = ListChildWindow(TListChild::DataInquiry))
            BringDesignerForward(*card);
    }, QKeySequence(Qt::Key_F7));

    for (const TArrangeGroup& group : ArrangeGroups) {
        if (group.caption) {
            auto* parent = new QMenu(QString::fromUtf8(group.caption), this);
            parent->setObjectName(DesignerMenuName(QString::fromLatin1(group.parent)));
            parent->menuAction()->setObjectName(QString::fromLatin1(group.parent));
        }
        auto* parent = findChild<QMenu*>(DesignerMenuName(QString::fromLatin1(group.parent)));
        if (!group.caption)
            parent->addSeparator();
        for (int tag = 0; tag < int(group.items.size()); ++tag) {
            auto* a = new QAction(QString::fromUtf8(group.items[size_t(tag)].text), this);
            a->setObjectName(QString::fromLatin1(group.items[size_t(tag)].name));
            a->setData(tag);
            parent->addAction(a);
            connect(a, &QAction::triggered, this, [this, run = group.run, tag] {
                if (!settingsRunnable())
                    return;
                TLayoutEditor editor = settingsEditor();
                run(editor, tag);
                afterSettings(false);
            });
        }
    }
}

void TLabelForm::buildSettingsMenus()
{
    auto add = [this](QMenu* menu, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (*name)
                menu->addAction(action(name));
            else
                menu->addSeparator();
        }
    };
    // The arrangement goes to the end of the edit menu.
    auto* edit = findChild<QMenu*>(QStringLiteral("mniEdit"));
    if (!edit) {
        edit = new QMenu(QStringLiteral("編集(&E)"), this);
        edit->setObjectName(QStringLiteral("mniEdit"));
        menuBar()->insertMenu(menuBar()->actions().value(1), edit);
    }
    edit->addSeparator();
    add(edit, {"actRectPos", "actRectUnite", "actDefaultLayout", "actZOrder"});

    QMenu* data = menuBar()->addMenu(QStringLiteral("データ(&D)"));
    data->setObjectName(QStringLiteral("mniData"));
    add(data, {RecordMoves[0], RecordMoves[1], RecordMoves[2], RecordMoves[3], "", "actEditData", "actSenderEdit"});
    QMenu* settings = menuBar()->addMenu(QStringLiteral("設定(&S)"));
    settings->setObjectName(QStringLiteral("mniSetting"));
    add(settings, {"actFormat", "actAdditionSet", "", "actDetail", "actDataForm"});
    QMenu* windows = menuBar()->addMenu(QStringLiteral("ウィンドウ(&W)"));
    windows->setObjectName(QStringLiteral("mniWindow"));
    add(windows, {"actAdrsList", "actAdrsView"});
}

bool TLabelForm::settingsRunnable() const
{
    return m_document->DocumentOpen && !PreviewShown() && !sbxPreview->PreviewMode();
}

TLayoutEditor TLabelForm::settingsEditor() const
{
    TLayoutEditor editor(*m_document);
    editor.SnapPitch = sbxPreview->SnapPitch();
    return editor;
}

void TLabelForm::afterSettings(bool relist)
{
    if (relist) {
        UpdateRectList();
        sbxPreview->sbxPreviewResize();
    }
    ShowFocusedInRectList();
    updateActions();
    repaintPaper();
}

// ---- paper ----

void TLabelForm::askForLostPaper()
{
    if (m_document->DocumentOpen && !m_document->PaperFound)
        actFormatExecute();
}

void TLabelForm::actFormatExecute()
{
    if (!settingsRunnable())
        return;
    TLayoutDocument& d = *m_document;
    TNewLabelDialog dialog(this);
    dialog.SetKind(IsCardMode() ? PaperCard : PaperLabel);
    dialog.SetChangeMode(1);
    dialog.SetFormatIndex(d.PaperIndex);
    dialog.SetSide(d.DataSource == 2 ? 1 : 0);
    dialog.adjustSize();
    CenterForm(&dialog, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TLayoutDocument::TLabelPaper chosen;
    chosen.Index = dialog.FormatIndex;
    chosen.Paper = dialog.Paper;
    chosen.Sheet = dialog.Sheet;
    chosen.BarcodeImpossible = dialog.NoBarcode;
    chosen.MaxBarcodeSize = dialog.BarcodeSize;
    chosen.Horizontal = dialog.IsLandscape();
    chosen.DataSource = dialog.GetSide() == 1 ? 2 : 1;
    repaint();
    TBusyCursor busy;
    const bool changed = d.ChangeLabelPaper(chosen, [this] {
        return MessageBoxPos(this, QStringLiteral("配置されている枠を、新しい用紙にあわせて拡大/縮小しますか？　"),
                             ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) == MsgSeam::IdYes;
    });
    if (changed)
        afterSettings(true);
}

// ---- additional information, details, data format ----

void TLabelForm::actAdditionSetExecute()
{
    if (!settingsRunnable())
        return;
    const TLayoutDocument& d = *m_document;
    TAdditionInfoDialog dialog(this);
    dialog.SetPaperKind(d.Paper.Kind);
    dialog.SetItemSource(d.DataSource);
    const auto& items = d.Additions(d.DetailedSet);
    for (int i = 0; i < AdditionItemCount; ++i) {
        const TAdditionRect* item = items[size_t(i)];
        dialog.SetItemChecked(i, item->Visible());
        dialog.SetItemKind(i, item->ItemKind());
        if (item->ItemKind() == AdditionFixedText)
            dialog.SetItemText(i, item->Text());
    }
    const TBarcodeRect* barcode = d.DetailedSet ? d.Detailed().Barcode : d.Simple().Barcode;
    if (barcode) {
        dialog.SetBarcode(barcode->Visible());
        dialog.SetBarcodeSize(barcode->SizeIndex());
    }
    // Only a label sheet takes a barcode, and only of the sizes that fit.
    const bool barcodeOffered = barcode && d.Paper.Kind == PaperLabel && !d.BarcodeImpossible;
    if (d.Paper.Kind == PaperLabel) {
        dialog.DisableBarcode(d.BarcodeImpossible);
        dialog.SetMaxBarcodeSize(d.MaxBarcodeSize);
    } else {
        dialog.DisableBarcode(true);
    }
    if (dialog.exec() != QDialog::Accepted)
        return;
    repaint();
    std::array<TAdditionChoice, 4> chosen;
    for (int i = 0; i < AdditionItemCount; ++i)
        chosen[size_t(i)] = {dialog.GetItemChecked(i), dialog.GetItemKind(i), dialog.GetItemText(i)};
    const bool barcodeOn = barcodeOffered ? dialog.GetBarcode() : barcode && barcode->Visible();
    const int barcodeSize = barcodeOffered ? dialog.GetBarcodeSize() : barcode ? barcode->SizeIndex() : 0;
    if (settingsEditor().SetAdditions(chosen, barcodeOn, barcodeSize))
        afterSettings(true);
}

void TLabelForm::actDetailExecute()
{
    if (!settingsRunnable())
        return;
    TLayoutDocument& d = *m_document;
    TLayoutDetailDialog dialog(this);
    dialog.SetPaperKind(quint8(d.Paper.Kind));
    dialog.SetManualLayout(d.DetailedSet ? 1 : 0);
    dialog.SetPlacedSides(1);
    TLayoutDocument::TDetailShown shown = d.DetailShown();
    std::array<bool, 8> recipient{};
    std::copy_n(shown.begin(), recipient.size(), recipient.begin());
    dialog.SetRecipientShown(recipient);
    dialog.SetDetailSettings(d.Settings);
    dialog.adjustSize();
    CenterForm(&dialog, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    repaint();
    TLayoutSettings detail = d.Settings;
    dialog.GetDetailSettings(detail);
    recipient = dialog.GetRecipientShown();
    std::copy(recipient.begin(), recipient.end(), shown.begin());
    afterSettings(d.ApplyDetails(detail, dialog.ManualLayout() != 0, shown));
}

void TLabelForm::actDataFormExecute()
{
    if (!settingsRunnable())
        return;
    TDataFormDialog dialog(this);
    TLayoutSettings chosen = m_document->Settings;
    dialog.SetDataForm(chosen);
    dialog.SetPaperKind(m_document->Paper.Kind);
    dialog.adjustSize();
    CenterForm(&dialog, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.GetDataForm(chosen);
    repaint();
    m_document->ApplyDataForm(chosen);
    afterSettings(false);
}

void TLabelForm::actDefaultLayoutExecute()
{
    if (!settingsRunnable())
        return;
    settingsEditor().DefaultLayout();
    afterSettings(false);
}

// ---- sender, records ----

TAddressList* TLabelForm::ownerList() const
{
    return qobject_cast<TAddressList*>(parentWidget());
}

bool TLabelForm::recordsShown() const
{
    const TAddressList* list = ownerList();
    return settingsRunnable() && m_document->DataSource == 1 && list && list->GetRecordCount() > 0;
}

void TLabelForm::actSenderEditExecute()
{
    TLayoutDocument& d = *m_document;
    if (!settingsRunnable() || d.DataSource != 2)
        return;
    qint32 senderNo = d.SenderRecNo;
    const bool chosen = ExecuteSenderForm(this, senderNo);
    if (TAddressList* list = ownerList())
        list->LoadSenderList();
    if (chosen)
        d.SenderRecNo = senderNo;
    repaint();
    TBusyCursor busy;
    d.ShowSenderData();
    repaintPaper();
}

void TLabelForm::actEditDataExecute()
{
    if (!recordsShown())
        return;
    TAddressList* list = ownerList();
    list->SelectIndex(list->GetFirstSelectedIndex(), true, true);
    QAction* inquiry = list->Action(QStringLiteral("actInquiry"));
    if (inquiry && inquiry->isEnabled())
        inquiry->trigger();
}

void TLabelForm::actMoveExecute(int tag)
{
    if (!recordsShown() || tag < 0 || tag > 3)
        return;
    TAddressList* list = ownerList();
    const int first = list->GetFirstSelectedIndex();
    const int count = list->GetRecordCount();
    const int target = tag == 0 ? 0 : tag == 1 ? first - 1 : tag == 2 ? first + 1 : count - 1;
    if (target < 0 || target >= count)
        return;
    // The list's refresh hook merges the record into the window.
    list->SelectIndex(target, true, true);
    repaintPaper();
}
