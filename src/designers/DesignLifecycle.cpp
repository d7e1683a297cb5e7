// The save-changes question and the start menu's choices of the message-side window.
#include "designers/DesignLifecycle.h"

#include "core/MsgBoxPos.h"
#include "designers/DesignDocument.h"

#include <QFileInfo>
#include <QWidget>

bool ConfirmDesignSave(QWidget* owner, TDesignDocument& document, const std::function<void()>& save)
{
    if (!document.Modified)
        return true;
    if (owner && owner->isMinimized())
        owner->showNormal();
    const int answer = MessageBoxPos(owner, DesignSaveQuestion, ProductTitle,
                                     MsgSeam::MbYesNoCancel | MsgSeam::MbIconQuestion);
    if (answer == MsgSeam::IdCancel)
        return false;
    if (answer == MsgSeam::IdYes) {
        save();
        return !document.Modified;
    }
    const QString second = document.FileName.isEmpty() ? DesignDiscardQuestion : DesignRevertQuestion;
    if (MessageBoxPos(owner, second, ProductTitle,
                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return false;
    document.Modified = false;
    return true;
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
