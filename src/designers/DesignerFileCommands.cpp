// The designer windows' save question.
#include "designers/DesignerFileCommands.h"

#include "core/MsgBoxPos.h"

#include <QWidget>

bool ConfirmDesignerSave(QWidget* owner, const QString& question, const QString& second, bool& modified,
                         const std::function<bool()>& save)
{
    if (!modified)
        return true;
    if (owner && owner->isMinimized())
        owner->showNormal();
    const int answer =
        MessageBoxPos(owner, question, ProductTitle, MsgSeam::MbYesNoCancel | MsgSeam::MbIconQuestion);
    if (answer == MsgSeam::IdCancel)
        return false;
    if (answer == MsgSeam::IdYes)
        return save() && !modified;
    if (MessageBoxPos(owner, second, ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion |
                                                       MsgSeam::MbDefButton2) != MsgSeam::IdYes)
        return false;
    modified = false;
    return true;
}
