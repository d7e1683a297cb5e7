// The target-file choice shared by the output windows: whether to change the remembered file, the save
// dialog, the folder, and what to do with a file that exists.
#pragma once

#include <QString>

#include <functional>

class QFileDialog;
class QWidget;

// Results of ChooseOutputTarget.
enum TTargetChoice { tcNew = 0, tcAppend = 1, tcAbandon = 9 };

// Asks about the remembered file, runs saveDialog (which may change the name; false is a cancel), creates
// the folder and asks about an existing file: overwrite (tcNew), append (tcAppend) or cancel; with
// overwriteOnly only whether to overwrite. The chosen name becomes remembered unless abandoned.
int ChooseOutputTarget(QWidget* owner, QString& remembered, bool overwriteOnly,
                       const std::function<bool(QString&)>& saveDialog);
// Puts dialog just below and right of owner's corner, inside the work area.
void PlaceSaveDialog(QFileDialog& dialog, QWidget* owner);
