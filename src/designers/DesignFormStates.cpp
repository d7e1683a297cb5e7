// The design window's command states, recent-files submenu and context menu.
#include "designers/DesignForm.h"

#include "addressbook/AdrsList.h"
#include "core/MainSettings.h"
#include "designers/DesignerCommandStates.h"

#include <QAction>
#include <QSignalBlocker>

void TDesignForm::buildCommandStates()
{
    TDesignerCommandHooks hooks;
    hooks.State = [this] { return CommandState(); };
    hooks.Update = [this] { updateActions(); };
    hooks.OpenRecent = [this](const QString& title) { openTitled(title); };
    hooks.Editable = [] { return true; };
    m_commands = new TDesignerCommands(*this, *sbxPreview, m_recent,
                                       QStringLiteral("最近開いた文面デザインを開きます"), std::move(hooks));
}

TDesignerState TDesignForm::CommandState() const
{
    const TDesignDocument& d = *m_document;
    TDesignerState s = DocumentState(TDesignerKind::Design, d, d.ZOrder, d.FocusedIndex);
    s.SenderBlockShown = d.SenderBlock() != nullptr;
    if (const auto* list = qobject_cast<const TAddressList*>(parentWidget())) {
        s.ListWindow = true;
        s.SenderCount = list->GetSenderCount();
    } else if (m_sources.Senders) {
        s.SenderCount = int(m_sources.Senders->SenderRecNos().size());
    }
    return s;
}

void TDesignForm::UpdateCommandStates()
{
    if (m_commands)
        m_commands->Apply(m_filesRenamed);
    // Saving, undo, a click outside the block or a new frame may have ended item mode behind the check.
    if (QAction* layout = action("actSenderLayout")) {
        const TSenderRect* block = m_document->SenderBlock();
        const QSignalBlocker quiet(layout);
        layout->setChecked(block && !block->WholeBlock());
    }
}

void TDesignForm::openTitled(const QString& title)
{
    const bool wasModified = m_document->Modified;
    if (!ConfirmSave())
        return;
    repaint();
    // Designs open from the design folder; one that cannot be read leaves the design as it was, unsaved
    // changes included.
    if (!LoadFromFile(DesignFolder + title + QStringLiteral(".gpd")) && wasModified && !m_savedInConfirm) {
        m_document->Modified = true;
        updateActions();
    }
}
