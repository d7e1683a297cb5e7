// The program's message boxes: the positioned box of the windows and the application box used before any
// window.
#pragma once

#include "platform/MessageSeam.h"

#include <QString>

class QWidget;

// The product title every message box carries as its caption.
inline const QString ProductTitle = QStringLiteral("Tovarel");

// Shows text over owner. mode 0 centres the box over the owner, 1 puts its top-left at (x, y), 2 leaves it
// where the system puts it; the box always stays inside the screen's work area. flags are the button, icon
// and default-button flags of MsgSeam. Answers the pressed button's ID (1 OK, 2 Cancel, 6 Yes, 7 No).
int MessageBoxPos(QWidget* owner, const QString& text, const QString& caption, unsigned flags, int mode = 0,
                  int x = 0, int y = 0);

// The application's own box for messages shown before any window exists (caption "Tovarel", unplaced).
int ApplicationMessageBox(const QString& text, unsigned flags);
