// The address window's print command around its document: what stops it before the wizard, the wizard's
// set-up from the document and the print settings read back from it.
#pragma once

#include "designers/LayoutPrint.h"

#include <QString>

class TLayoutPrintDialog;

inline const QString NothingToPrintMessage = QStringLiteral("印刷するデータがありません  ");
inline const QString NoPrinterMessage = QStringLiteral("プリンターがインストールされていません  ");

// The message that ends the command before the wizard, or an empty text: no placed frame, no record shown
// while the document merges records, or no printer.
QString LayoutPrintRefusal(TLayoutDocument& document);
// Record choice, paper kind, faces per sheet and the content bounds.
void SetUpPrintWizard(TLayoutPrintDialog& wizard, TLayoutDocument& document);
// The wizard's choices after OK; the flap and reverse printing only for an envelope.
TPrintSettings TakePrintWizard(const TLayoutPrintDialog& wizard, const TLayoutDocument& document);
