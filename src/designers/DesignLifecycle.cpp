// The save-changes question and the start menu's choices of the message-side window.
#include "designers/DesignLifecycle.h"

#include "designers/DesignDocument.h"
#include "designers/DesignerFileCommands.h"

#include <QFileInfo>
#include <QWidget>

bool ConfirmDesignSave(QWidget* owner, TDesignDocument& document, const std::function<void()>& save)
{
    const QString& second = document.FileName.isEmpty() ? DesignDiscardQuestion : DesignRevertQuestion;
    return ConfirmDesignerSave(owner, DesignSaveQuestion, second, document.Modified, [&] {
        save();
        return true;
    });
}

int StartMenuDefaultChoice(const QStringList& recentFiles)
{
    return !recentFiles.isEmpty() && QFileInfo::exists(recentFiles.first()) ? StartLastFile : StartNew;
}

QString LastDesignPath(const QStringList& recentFiles, const QString& designFolder)
{
    if (recentFiles.isEmpty())
        return QString();
    return designFolder + QFileInfo(recentFiles.first()).completeBaseName() + QStringLiteral(".gpd");
}
