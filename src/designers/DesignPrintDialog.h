// The print dialog of the message-side design: fine offset, copies, printer, the option for printers that
// cannot print masked illustrations and the printable-area warning; its settings persist in [DESIGN PRINT]
// of the main settings file, written only when a print is confirmed.
#pragma once

#include "core/Canvas.h"

#include <QDialog>
#include <QPoint>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;
class TUpDownEdit;

inline constexpr int DesignPrintHelp = 108;
inline const QString DesignPrintSection = QStringLiteral("DESIGN PRINT");

class TDesignPrintDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TDesignPrintDialog(QWidget* owner = nullptr);

    // Set when the printer-setup dialog was confirmed here; read after the dialog closed, whatever its result.
    bool PrinterChanged = false;

    // The union of the frames' design rectangles (96 dpi, from the paper's corner); empty: no warning.
    void SetContentBounds(const TRect& bounds);
    // In 0.1 mm, positive to the right and downwards.
    QPoint GetOffset() const;
    bool GetLimitedPrinter() const;
    int GetCopies() const;
    bool WarningShown() const;

private:
    void LoadSettings();
    void SaveSettings();
    void UpdateOffsetLabels();
    void CheckPrintRange();
    void FillPrinterPanels();
    void SetCopies(int copies, bool toPrinter);
    void PrinterSetup();
    void Print();

    TRect m_bounds;
    QScrollBar* scbVert = nullptr;
    QScrollBar* scbHorz = nullptr;
    QLabel* lblVert = nullptr;
    QLabel* lblOffsetV = nullptr;
    QLabel* lblHorz = nullptr;
    QLabel* lblOffsetH = nullptr;
    TUpDownEdit* edCopy = nullptr;
    QLabel* lblCopy = nullptr;
    QLabel* lblRangeInfo = nullptr;
    QLabel* pnlPrinter = nullptr;
    QLabel* pnlPaperSize = nullptr;
    QLabel* pnlOriental = nullptr;
    QPushButton* bbtnPrinters = nullptr;
    QCheckBox* ckbLimitedPrinter = nullptr;
    QPushButton* btnPrint = nullptr;
    QPushButton* btnCancel = nullptr;
};
