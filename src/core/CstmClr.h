// The colour dialog of the program: fully opened, any colour, and the 16 custom colours shared through
// "CstmClr.ini" in DataRootFolder.
#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <functional>

class QWidget;

inline constexpr int CustomColorCount = 16;
using TCustomColors = std::array<qint32, CustomColorCount>;

// Colour values as the program stores them: red in the low byte.
QColor ColorFromValue(qint32 value);
qint32 ColorToValue(const QColor& color);

// The custom colours of "CstmClr.ini" [COMMON] "0" to "15" (hexadecimal text, default "000000"; text that is
// no colour value counts as the default).
TCustomColors ReadCustomColors(const QString& fileName);
// Writes the 16 keys as six hexadecimal digits; false when the file could not be written.
bool WriteCustomColors(const QString& fileName, const TCustomColors& colors);
QString CustomColorsFileName();

// Shows the colour dialog over owner with color chosen; the custom colours are read before and written back
// when the dialog ends with OK. placeOnShow, when given, places the dialog as it shows. True and the chosen
// colour in color on OK.
bool ExecuteColorDialog(QWidget* owner, qint32& color, const std::function<void(QWidget*)>& placeOnShow = {});

// How a colour dialog shares the custom colours of CustomColorsFileName().
enum class TCustomColorFile {
    WriteOnOK,   // read before, written back after OK
    WriteAlways, // read before, written back after OK and Cancel alike
    None,        // neither: the dialog offers the custom colours it last held in this process
};
bool ExecuteColorDialog(QWidget* owner, qint32& color, TCustomColorFile file,
                        const std::function<void(QWidget*)>& placeOnShow = {});
