// The label window's command states, recent-files submenu, context menu and card hints.
#include "designers/LabelForm.h"

#include "addressbook/AdrsList.h"
#include "core/PDFHelp.h"
#include "designers/DesignerCommandStates.h"

void TLabelForm::buildCommandStates()
{
    // Card mode sets its own when it is switched on.
    SetHelpContext(this, LabelHelpContext(m_mode));
    TDesignerCommandHooks hooks;
    hooks.State = [this] { return CommandState(); };
    hooks.Update = [this] { updateActions(); };
    hooks.OpenRecent = [this](const QString& title) { openTitled(title); };
    hooks.Editable = [this] { return !PreviewShown(); };
    m_commands =
        new TDesignerCommands(*this, *sbxPreview, m_settings.History,
                              QStringLiteral("最近開いたラベル印刷レイアウトを開きます"), std::move(hooks));
}

TDesignerState TLabelForm::CommandState() const
{
    const TLayoutDocument& d = *m_document;
    TDesignerState s = DocumentState(TDesignerKind::Label, d, d.Stacking, d.FocusIndex);
    s.IndividualLayout = d.DetailedSet;
    s.DataSource = d.DataSource;
    if (const auto* list = qobject_cast<const TAddressList*>(parentWidget())) {
        s.ListWindow = true;
        s.RecordCount = list->GetRecordCount();
        s.FirstSelected = list->GetFirstSelectedIndex();
    }
    return s;
}

void TLabelForm::UpdateCommandStates()
{
    if (m_commands)
        m_commands->Apply(m_filesRenamed);
}

void TLabelForm::openTitled(const QString& title)
{
    if (!ConfirmSave())
        return;
    repaintPaper();
    // A recent file always opens from the mode's own folder; one that cannot be read changes nothing.
    LoadFromFile(LabelDocumentFolder(m_mode) + title + LabelExtension(m_mode));
}

void TLabelForm::setCardHints()
{
    m_commands->Recent().SetHint(QStringLiteral("最近開いた名刺印刷レイアウトを開きます"));
    const std::pair<const char*, const char*> hints[] = {
        {"actNew", "新規作成|新しく名刺のレイアウトを作成します"},
        {"actOpen", "開く|保存された名刺レイアウトを開きます"},
        {"actClose", "現在開いている名刺レイアウトを閉じます"},
        {"actSave", "上書き保存|編集中の名刺レイアウトを保存します"},
        {"actSaveAs", "編集中の名刺レイアウトに名前を付けて保存します"},
        {"actPrint", "印刷|表示中の名刺レイアウトでアドレス帳データを印刷します"},
        {"actExit", "印刷の終了|名刺印刷を終了します"}};
    for (const auto& [name, hint] : hints)
        if (QAction* a = findChild<QAction*>(QString::fromLatin1(name))) {
            const QString text = QString::fromUtf8(hint);
            a->setStatusTip(text);
            if (const qsizetype bar = text.indexOf(u'|'); bar >= 0)
                a->setToolTip(text.left(bar));
        }
}
