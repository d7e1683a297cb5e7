// Button pictures by the names the windows give them ("HOME", "TOP", "SAVE", ...), each mapped once to an
// icon of the Tango icon theme that Debian ships (tango-icon-theme).
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

class QAbstractButton;

inline const QString ButtonPictureTheme = QStringLiteral("Tango");

// Makes the picture theme the application's icon theme (once).
void InstallButtonPictureTheme();
// The theme icon name behind a picture name; empty for a name the program does not know.
QString ButtonPictureIconName(const QString& name);
// Every picture name the program knows.
QStringList ButtonPictureNames();
// The picture; a disabled button shows the theme icon's disabled form. Null for an unknown name.
QIcon ButtonPicture(const QString& name);
// Sets the picture of button.
void SetButtonPicture(QAbstractButton* button, const QString& name);
