// The designer windows' save question, open dialog and save-as command.
#include "designers/DesignerFileCommands.h"

#include "core/MsgBoxPos.h"
#include "designers/DesignerWindow.h"
#include "layoutobjects/PrintDataDlg.h"

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

namespace {

template <class Dialog>
bool runDialog(QWidget& window, const TDesignerFiles& files, const QString& fileName, QString& title)
{
    Dialog dialog(&window);
    dialog.SetFileKind(files.FileKind);
    if (files.PaperKind >= 0)
        dialog.SetPaperKind(files.PaperKind);
    return RunDesignerFileDialog(window, dialog, fileName, title, files.FilesChanged);
}

} // namespace

bool RunDesignerOpenDialog(QWidget& window, const TDesignerFiles& files, const QString& fileName,
                           QString& title)
{
    return runDialog<TPrintDataOpenDialog>(window, files, fileName, title);
}

bool RunDesignerSaveAs(QWidget& window, const TDesignerFiles& files, QString& fileName,
                       const std::function<void()>& repaint, const std::function<bool(const QString&)>& save)
{
    QString title;
    if (!runDialog<TPrintDataSaveDialog>(window, files, fileName, title))
        return false;
    repaint();
    const QString previous = std::exchange(fileName, QString());
    if (save(files.Folder + title + files.Extension))
        return true;
    fileName = previous;
    return false;
}
