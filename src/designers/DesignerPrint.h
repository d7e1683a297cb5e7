// The print commands the designer windows share: the wizard with its refusals, the print job and the printer
// setup, each over the window's document and print client.
#pragma once

#include "designers/LayoutPrint.h"

#include <functional>

class QWidget;
class TAddressListRows;
class TAddressListSource;

// What the wizard chose: nothing (refused or cancelled), a print or a preview.
enum class TWizardChoice { None, Print, Preview };

// Tells a refusal, else runs the wizard over the rows; settings are filled when it is accepted. repaint runs
// after a printer change in the wizard.
TWizardChoice RunDesignerPrintWizard(QWidget* window, TLayoutDocument& document, const TAddressListRows* rows,
                                     TAddressListSource* source, bool restorePage, TPrintSettings& settings,
                                     const std::function<void()>& repaint);
// Prints on the current printer with the other windows disabled; a failure is told.
void RunDesignerPrintJob(QWidget* window, TPrintClient& client, const TPrintSettings& settings,
                         const QString& title);
// The printer setup command; true when the paper is to be repainted.
bool RunDesignerPrintSetup(QWidget* window, TLayoutDocument& document);
