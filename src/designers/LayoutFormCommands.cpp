// The address printing window's document, record and view commands: recent files, close, record
// navigation, the record card, the details, the sender and data-format follow-ups, window switching and
// hints.
#include "designers/LayoutForm.h"

#include "addressbook/AdrsList.h"
#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/ShellSub.h"
#include "designers/DesignerCommandStates.h"
#include "designers/LayoutPrint.h"
#include "designers/PaperView.h"
#include "layoutobjects/DataFormDialog.h"
#include "layoutobjects/LayoutDetail.h"
#include "layoutobjects/SenderForm.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>

namespace {

const char* const MoveNames[] = {"actFirst", "actPrior", "actNext", "actLast"};

// The address list's calls for a window it owns.
TLayoutForm::TListLink linkOf(TAddressList& list)
{
    QPointer<TAddressList> guard(&list);
    TLayoutForm::TListLink link;
    link.RecordCount = [guard] { return guard ? guard->GetRecordCount() : 0; };
    link.FirstSelectedIndex = [guard] { return guard ? guard->GetFirstSelectedIndex() : -1; };
    link.RecNo = [guard](int index) { return guard ? guard->GetRecNo(index) : -1; };
    link.SelectIndex = [guard](int index) {
        if (guard)
            guard->SelectIndex(index, true, true);
    };
    link.Inquiry = [guard] {
        if (!guard)
            return;
        QAction* inquiry = guard->Action(QStringLiteral("actInquiry"));
        if (inquiry && inquiry->isEnabled())
            inquiry->trigger();
    };
    link.LoadSenderList = [guard] {
        if (guard)
            guard->LoadSenderList();
    };
    link.SetRecordSender = [guard](qint32 recNo, qint32 senderNo) {
        if (guard)
            guard->SetRecordSender(recNo, senderNo);
    };
    link.ListWindow = [guard]() -> QWidget* { return guard.data(); };
    link.CardWindow = [] { return ListChildWindow(TListChild::DataInquiry); };
    return link;
}

} // namespace

void TLayoutForm::buildCommandActions()
{
    auto command = [this](const char* name, const QString& text, const QString& tip, QKeySequence key = {}) {
        QAction* action = makeAction(name, text, tip);
        action->setShortcut(key);
        return action;
    };
    connect(command("actClose", QStringLiteral("閉じる(&C)"), QStringLiteral("宛名レイアウトを閉じます"),
                    QKeySequence(Qt::CTRL | Qt::Key_F4)),
            &QAction::triggered, this, &TLayoutForm::actCloseExecute);
    const char* const moveTexts[] = {"最初のデータ(&F)", "前のデータ(&P)", "次のデータ(&N)",
                                     "最後のデータ(&L)"};
    const char* const moveTips[] = {"最初のアドレス帳データを表示します", "前のアドレス帳データを表示します",
                                    "次のアドレス帳データを表示します", "最後のアドレス帳データを表示します"};
    for (int tag = 0; tag < 4; ++tag) {
        QAction* move =
            command(MoveNames[tag], QString::fromUtf8(moveTexts[tag]), QString::fromUtf8(moveTips[tag]));
        move->setData(tag);
        connect(move, &QAction::triggered, this, [this, tag] { actMoveExecute(tag); });
    }
    connect(command("actEditData", QStringLiteral("アドレス帳データの編集(&E)..."),
                    QStringLiteral("表示中のアドレス帳データを編集します")),
            &QAction::triggered, this, &TLayoutForm::actEditDataExecute);
    connect(command("actSenderEdit", QStringLiteral("差出人の編集(&N)..."), QStringLiteral("差出人を編集します")),
            &QAction::triggered, this, &TLayoutForm::actSenderEditExecute);
    connect(command("actDetail", QStringLiteral("フォント・配置の詳細設定(&Y)..."),
                    QStringLiteral("フォントや配置の詳細を設定します")),
            &QAction::triggered, this, &TLayoutForm::actDetailExecute);
    connect(command("actDataForm", QStringLiteral("表示情報の書式の設定(&F)..."),
                    QStringLiteral("表示する情報の書式を設定します")),
            &QAction::triggered, this, &TLayoutForm::actDataFormExecute);
    const char* const formNames[] = {"actAdrsList", "actAdrsView"};
    const char* const formTexts[] = {"アドレス帳一覧(&L)", "アドレス帳詳細(&I)"};
    const char* const formTips[] = {"アドレス帳一覧を表示します", "アドレス帳詳細を表示します"};
    const Qt::Key formKeys[] = {Qt::Key_F6, Qt::Key_F7};
    for (int tag = 0; tag < 2; ++tag)
        connect(command(formNames[tag], QString::fromUtf8(formTexts[tag]), QString::fromUtf8(formTips[tag]),
                        QKeySequence(formKeys[tag])),
                &QAction::triggered, this, [this, tag] { actFormChangeExecute(tag); });

    m_recentMenu = new TDesignerRecentMenu(
        *this, m_recent, QStringLiteral("最近開いた宛名レイアウトを開きます"),
        [this](const QString& title) { openRecent(title); },
        [this] { return m_document->DocumentOpen && !m_document->FileName.isEmpty(); });

    if (auto* list = qobject_cast<TAddressList*>(parentWidget()))
        m_link = linkOf(*list);
    // Hints go to the first status panel.
    installEventFilter(this);
}

void TLayoutForm::buildCommandMenus()
{
    auto action = [this](const char* name) { return findChild<QAction*>(QString::fromLatin1(name)); };
    if (auto* file = findChild<QMenu*>(QStringLiteral("mniFile"))) {
        const QList<QAction*> items = file->actions();
        const qsizetype save = items.indexOf(action("actSave"));
        QAction* before = save > 0 ? items[save - 1] : nullptr;
        file->insertMenu(before, m_recentMenu->Menu());
        file->insertAction(before, action("actClose"));
        connect(file, &QMenu::aboutToShow, this, &TLayoutForm::actRecentUpdate);
    }
    QMenu* data = menuBar()->addMenu(QStringLiteral("データ(&D)"));
    data->setObjectName(QStringLiteral("mniData"));
    for (const char* name : MoveNames)
        data->addAction(action(name));
    data->addSeparator();
    data->addAction(action("actEditData"));
    data->addAction(action("actSenderEdit"));

    QMenu* settings = menuBar()->addMenu(QStringLiteral("設定(&S)"));
    settings->setObjectName(QStringLiteral("mniSetting"));
    settings->addAction(action("actDetail"));
    // The menu item has a caption of its own and follows the action.
    QAction* dataForm = action("actDataForm");
    QAction* item = settings->addAction(QStringLiteral("表示情報の書式設定(&F)..."));
    item->setObjectName(QStringLiteral("mmiDataForm"));
    item->setStatusTip(dataForm->statusTip());
    item->setEnabled(dataForm->isEnabled());
    connect(dataForm, &QAction::changed, item, [item, dataForm] { item->setEnabled(dataForm->isEnabled()); });
    connect(item, &QAction::triggered, dataForm, &QAction::trigger);

    QMenu* windows = menuBar()->addMenu(QStringLiteral("ウィンドウ(&W)"));
    windows->setObjectName(QStringLiteral("mniWindow"));
    windows->addAction(action("actAdrsList"));
    windows->addAction(action("actAdrsView"));
    for (QMenu* menu : {data, settings, windows})
        connect(menu, &QMenu::aboutToShow, this, &TLayoutForm::updateCommandActions);
}

bool TLayoutForm::mergesRecords() const
{
    return TLayoutPrintClient(*m_document).MergesRecords();
}

void TLayoutForm::updateCommandActions()
{
    if (!m_recentMenu)
        return;
    const TLayoutDocument& d = *m_document;
    auto action = [this](const char* name) { return findChild<QAction*>(QString::fromLatin1(name)); };
    action("actClose")->setEnabled(d.DocumentOpen);
    action("actDetail")->setEnabled(d.DocumentOpen);
    action("actSenderEdit")->setEnabled(d.DocumentOpen);
    action("actDataForm")->setEnabled(d.DocumentOpen);
    const int count = m_link.RecordCount ? m_link.RecordCount() : 0;
    const bool records = d.DocumentOpen && mergesRecords() && count > 0;
    const int first = m_link.FirstSelectedIndex ? m_link.FirstSelectedIndex() : -1;
    for (int tag = 0; tag < 4; ++tag)
        action(MoveNames[tag])->setEnabled(records && (tag >= 2 ? first < count - 1 : first > 0));
    action("actEditData")->setEnabled(records);
    action("actAdrsList")->setEnabled(m_link.ListWindow && m_link.ListWindow());
    action("actAdrsView")->setEnabled(m_link.CardWindow && m_link.CardWindow());
    actRecentUpdate();
}

// ---- recent files, close ----

void TLayoutForm::actRecentUpdate()
{
    m_recentMenu->Update(m_rebuildRecent);
}

void TLayoutForm::openRecent(const QString& title)
{
    const bool wasModified = m_document->Modified;
    if (!ConfirmSave())
        return;
    repaintPaper();
    // A file that cannot be read leaves the layout as it was, unsaved changes included.
    if (!LoadFromFile(LayoutFolder + title + QStringLiteral(".gpl")) && wasModified && !m_savedInConfirm) {
        m_document->Modified = true;
        updateActions();
    }
}

void TLayoutForm::actCloseExecute()
{
    // In the preview, Ctrl+F4 closes the preview and goes back to the wizard.
    if (PreviewShown()) {
        tbtnPreviewCloseClick();
        return;
    }
    if (!ConfirmSave())
        return;
    emptyWindow();
    m_document->FileName.clear();
    m_document->Modified = false;
    setWindowTitle(QStringLiteral("宛名印刷"));
    updateActions();
}

// ---- records ----

void TLayoutForm::actMoveExecute(int tag)
{
    updateCommandActions();
    if (tag < 0 || tag > 3 || !findChild<QAction*>(QString::fromLatin1(MoveNames[tag]))->isEnabled())
        return;
    const int first = m_link.FirstSelectedIndex();
    const int target = tag == 0 ? 0 : tag == 1 ? first - 1 : tag == 2 ? first + 1 : m_link.RecordCount() - 1;
    m_link.SelectIndex(target);
    repaintPaper();
    updateCommandActions();
}

void TLayoutForm::actEditDataExecute()
{
    updateCommandActions();
    if (!findChild<QAction*>(QStringLiteral("actEditData"))->isEnabled())
        return;
    m_link.SelectIndex(m_link.FirstSelectedIndex());
    if (m_link.Inquiry)
        m_link.Inquiry();
}

void TLayoutForm::actSenderEditExecute()
{
    if (!m_document->DocumentOpen)
        return;
    qint32 senderNo = m_document->SenderRecNo;
    const bool chosen = ExecuteSenderForm(this, senderNo);
    SenderEditorClosed(chosen ? 1 : 0, senderNo);
}

void TLayoutForm::SenderEditorClosed(int result, qint32 senderNo)
{
    TLayoutDocument& d = *m_document;
    if (m_link.LoadSenderList)
        m_link.LoadSenderList();
    if (result == 1 && senderNo != d.SenderRecNo) {
        d.SenderRecNo = senderNo;
        const int count = m_link.RecordCount ? m_link.RecordCount() : 0;
        if (mergesRecords() && count > 0 && m_link.SetRecordSender)
            m_link.SetRecordSender(m_link.RecNo(m_link.FirstSelectedIndex()), senderNo);
    }
    repaint();
    TBusyCursor busy;
    const QString shown = cbxViewRect->currentText();
    if (d.SenderRecordsChanged())
        refillRectList(shown);
    repaintPaper();
}

void TLayoutForm::refillRectList(const QString& keepText)
{
    UpdateRectList();
    if (cbxViewRect->findText(keepText) < 0) {
        m_document->Selection.clear();
        m_document->FocusIndex = -1;
        cbxViewRect->setCurrentIndex(0);
        UpdatePopupActions();
    } else
        ShowFocusedInRectList();
}

// ---- details, data format ----

void TLayoutForm::actDetailExecute()
{
    TLayoutDocument& d = *m_document;
    if (!d.DocumentOpen)
        return;
    TLayoutDetailDialog dialog(this);
    dialog.adjustSize();
    CenterForm(&dialog, this);
    dialog.SetPaperKind(d.Paper.Kind);
    dialog.SetManualLayout(d.DetailedSet ? 1 : 0);
    dialog.SetPlacedSides(d.Paper.Count1 < 5 ? 1 : 0);
    const bool senderChoices = d.Paper.Count1 > 4;
    TLayoutDocument::TDetailShown shown = d.DetailShown();
    dialog.SetShowPostal(shown[0]);
    for (int i = 0; i < 3; ++i)
        dialog.SetShowAddress(i, shown[size_t(1 + i)]);
    dialog.SetShowName(shown[4]);
    dialog.SetShowCorp(shown[5]);
    dialog.SetShowDepartment(shown[6]);
    dialog.SetShowTitle(shown[7]);
    std::array<bool, 12> senderShown{};
    std::copy(shown.begin() + 8, shown.end(), senderShown.begin());
    if (senderChoices)
        dialog.SetSenderShown(senderShown);
    dialog.SetDetailSettings(d.Settings);
    if (dialog.exec() != QDialog::Accepted)
        return;
    repaint();
    TLayoutSettings detail = d.Settings;
    dialog.GetDetailSettings(detail);
    shown[0] = dialog.GetShowPostal();
    for (int i = 0; i < 3; ++i)
        shown[size_t(1 + i)] = dialog.GetShowAddress(i);
    shown[4] = dialog.GetShowName();
    shown[5] = dialog.GetShowCorp();
    shown[6] = dialog.GetShowDepartment();
    shown[7] = dialog.GetShowTitle();
    senderShown = dialog.GetSenderShown();
    std::copy(senderShown.begin(), senderShown.end(), shown.begin() + 8);
    if (d.ApplyDetails(detail, dialog.ManualLayout() != 0, shown))
        UpdateRectList();
    UpdatePopupActions();
    repaintPaper();
    updateActions();
}

void TLayoutForm::actDataFormExecute()
{
    if (!m_document->DocumentOpen)
        return;
    TDataFormDialog dialog(this);
    dialog.SetDataForm(m_document->Settings);
    dialog.SetPaperKind(m_document->Paper.Kind);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TLayoutSettings form = m_document->Settings;
    dialog.GetDataForm(form);
    DataFormChosen(form);
}

void TLayoutForm::DataFormChosen(const TLayoutSettings& form)
{
    repaint();
    m_document->ApplyDataForm(form);
    repaintPaper();
    updateActions();
}

// ---- windows, hints ----

void TLayoutForm::actFormChangeExecute(int tag)
{
    const auto& find = tag == 0 ? m_link.ListWindow : m_link.CardWindow;
    QWidget* window = find ? find() : nullptr;
    if (!window)
        return;
    if (tag == 0 && window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

bool TLayoutForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && event->type() == QEvent::StatusTip) {
        if (frameGeometry().contains(QCursor::pos())) {
            QString tip = static_cast<QStatusTipEvent*>(event)->tip();
            if (const qsizetype bar = tip.indexOf(u'|'); bar >= 0)
                tip = tip.mid(bar + 1);
            m_status->setText(tip.trimmed().isEmpty() ? QString() : tip);
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
