// Printing the message-side design: one page on the current printer, the background first and then the
// frames from the bottom of the stacking, moved by a print offset in 0.1 mm.
#pragma once

#include "core/Canvas.h"
#include "designers/LayoutPrint.h"

#include <QPoint>

class TDesignDocument;
class TPrinter;

inline const QString DesignPrintJobTitle = QStringLiteral("文面印刷");
inline const QString DesignNoPrintDataMessage = QStringLiteral("印刷するデータがありません  ");

// Whether the design holds anything to print: a background that renders, or a frame.
bool DesignHasPrintData(TDesignDocument& document);
// The union of the frames' design rects; empty without frames (the background is no part of it).
TRect DesignContentBounds(const TDesignDocument& document);
// After the printer was changed: its metrics and printable area are taken again (the paper is not put on
// it again), the background shows that area, and every frame rebuilds its image when the resolution
// differs from oldDpi.
void TakeDesignPrinterChange(TDesignDocument& document, QPoint oldDpi);
// Prints the design on printer, which must be the current printer, as many times as it holds copies.
// The print images are freed and the QR codes return to the screen also when the job fails.
TPrintResult PrintDesign(TDesignDocument& document, TPrinter& printer, QPoint offset, bool limitedPrinter);
