// What the designer windows share in their document commands: the save question before a changed document is
// left, the open dialog and the save-as command over the window's folder of files.
#pragma once

#include <QString>

#include <functional>

class QWidget;

// The question before a changed document is left: true when the caller may go on. Yes runs save, which
// answers whether it saved (a document still modified afterwards counts as not saved); No asks the second
// question (discard or revert), whose Yes lets the changes go. A minimised owner is shown first.
bool ConfirmDesignerSave(QWidget* owner, const QString& question, const QString& second, bool& modified,
                         const std::function<bool()>& save);

// Where a designer window keeps its documents, and what its open and save dialogs list.
struct TDesignerFiles
{
    int FileKind = 0;
    int PaperKind = -1; // -1: the dialogs' own
    QString Folder;
    QString Extension;
    // Set when files were renamed or deleted in a dialog.
    bool* FilesChanged = nullptr;
};

// The open dialog over the window with the open file's title chosen; false when cancelled, else title is the
// chosen file's.
bool RunDesignerOpenDialog(QWidget& window, const TDesignerFiles& files, const QString& fileName,
                           QString& title);
// The save-as command: the save dialog, repaint, then save with the folder, chosen title and extension. The
// file name is emptied first, so that the save counts as one under a new name; a failed save gives the old
// name back. True when saved.
bool RunDesignerSaveAs(QWidget& window, const TDesignerFiles& files, QString& fileName,
                       const std::function<void()>& repaint, const std::function<bool(const QString&)>& save);
