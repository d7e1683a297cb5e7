// What the designer windows share in their document commands: the save question before a changed document is
// left.
#pragma once

#include <QString>

#include <functional>

class QWidget;

// The question before a changed document is left: true when the caller may go on. Yes runs save, which
// answers whether it saved (a document still modified afterwards counts as not saved); No asks the second
// question (discard or revert), whose Yes lets the changes go. A minimised owner is shown first.
bool ConfirmDesignerSave(QWidget* owner, const QString& question, const QString& second, bool& modified,
                         const std::function<bool()>& save);

