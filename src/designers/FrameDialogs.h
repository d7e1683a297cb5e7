// The frame dialogs of the designers' editing commands: each shows its dialog over the window, fills it from
// the focused frame or the prototype and hands an accepted choice to the editor.
#pragma once

class QWidget;
class TLayoutEditor;

// Each answers true when the dialog was accepted and the frames changed; change (or edit) works on the
// focused frame of the command's kind and answers false without one.
bool RunWordDialog(QWidget* owner, TLayoutEditor& editor, bool edit);
bool RunFigureDialog(QWidget* owner, TLayoutEditor& editor, bool change);
bool RunQRCodeDialog(QWidget* owner, TLayoutEditor& editor, bool change);
bool RunIllustSetDialog(QWidget* owner, TLayoutEditor& editor);
bool RunWordSetDialog(QWidget* owner, TLayoutEditor& editor);
// The font of the focused text-type frame.
bool RunFontDialog(QWidget* owner, TLayoutEditor& editor);
