// The position of a modeless window kept in a section of the main settings file (Left, Top in 96-dpi units).
#pragma once

#include <QString>

class QWidget;
class TMemIniFile;

// Moves window to the section's Left and Top, or centres it on the screen when either is missing.
void PlaceFromSettings(QWidget* window, const TMemIniFile& ini, const QString& section);
// Writes window's position into the section of the main settings file.
void SaveWindowPosition(const QWidget* window, const QString& section);
