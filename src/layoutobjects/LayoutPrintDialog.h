// The print wizard of the designers: which address-book records print (page 1) and the fine offset, copies,
// envelope flap and reverse printing, start face and prints per record, printer and printable-area warning
// (page 2); its choices persist per paper family in the main settings file.
#pragma once

#include "core/Canvas.h"

#include <QDialog>
#include <QPoint>
#include <QRect>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;
class Table;
class TAddressListRows;
class TMemIniFile;
class TUpDownEdit;

using TDataList = std::vector<qint32>;

// A record's "PrintTarget" (0 none, 1 print, 2 exclude); nothing when the record cannot be found.
using TPrintTargetReader = std::function<std::optional<int>(qint32 recNo)>;
// Reads it from "Adrs.DB" by RecNo.
TPrintTargetReader TablePrintTargetReader(Table& adrs);

// The RecNos to print. Kind 0: the first selected row, none when no row is selected (the filter does not
// apply). Kinds 1-3: the selected rows, positions start..end (1-based), every row; filter 1 keeps rows
// marked 1, filter 2 drops rows marked 2, and both drop rows that cannot be found.
TDataList BuildPrintList(const TAddressListRows& rows, const TPrintTargetReader& printTarget, int rangeKind,
                         int filter, int startRange, int endRange);

// Sheets for the print: faces 0 (one piece per page) or the faces of a sheet.
int PrintSheetCount(int records, bool selectRecords, int faces, int start, int prints, int copies);

// The offset labels of a scroll position (500 = none): "上："/"下：" or "左："/"右：", and "%.1f mm".
QString OffsetDirectionText(bool vertical, int position);
QString OffsetDistanceText(int position);

// Whether content (96-dpi design units), moved by the scroll positions and the flap (0.1 mm), leaves the
// printable rectangle (printer pixels of the physical page).
bool ContentLeavesPrintable(const TRect& bounds, QPoint positions, int flap, int dpiX, int dpiY,
                            const QRect& printable);

// Settings sections by paper kind.
QString LayoutPrintSection(int paperKind);

class TLayoutPrintDialog : public QDialog
{
    Q_OBJECT
public:
    TLayoutPrintDialog(QWidget* owner, const TAddressListRows* rows, TPrintTargetReader printTarget);

    // State, in the order the designer reads it.
    quint8 PaperKind = 0;
    TDataList RecNos;
    TRect ContentBounds;
    int PrintFilter = 0;
    int RangeKind = -1;
    bool PrinterChanged = false;
    int StartRange = 1;
    int EndRange = 1;
    bool SelectRecords = false;
    bool PreviewRequested = false;
    bool MultiFace = false;
    bool RestorePage = false;

    // Set-up, in this order, before exec().
    void SetRecordSelection(bool select);
    void SetPaperKind(int kind);
    void SetFacesPerSheet(int faces);
    void SetContentBounds(const TRect& bounds);

    // Read back after OK.
    QPoint GetOffset() const;
    int GetFlapLength() const;
    bool GetReverse() const;
    int GetLabelStart() const;
    int GetLabelCount() const;
    bool GetLimitedPrinter() const;
    int GetCopies() const;

    int CurrentPageIndex() const;
    bool WarningShown() const;

    // The range spinners (their own position never moves).
    void StepRange(bool start, bool up);
    // The range edits left, or a step key in them (delta 0 for leaving).
    void TakeRangeEdit(bool start, int delta);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void LoadSettings(const TMemIniFile& ini);
    void SaveSettings();
    void ChooseRange(int kind);
    void ChooseFilter(int filter);
    void RefreshRecordCount();
    void UpdateSheetCount();
    void ShowRange();
    void UpdateOffsetLabels();
    void CheckPrintableArea();
    void FillPrinterPanels();
    void SetCopies(int copies, bool toPrinter);
    void PrinterSetup();
    void Preview();
    void Next();
    void Print();
    void ShowPage(int index);
    void EnterPressed();

    const TAddressListRows* m_rows;
    TPrintTargetReader m_printTarget;
    int m_faces = 1;

    QStackedWidget* m_pages = nullptr;
    QRadioButton* m_range[4] = {};
    QRadioButton* m_filter[3] = {};
    QLineEdit* m_edStartRange = nullptr;
    QLineEdit* m_edEndRange = nullptr;
    QWidget* m_rangeControls[6] = {};
    QLabel* m_lblCount = nullptr;
    class QScrollBar* m_scbVert = nullptr;
    class QScrollBar* m_scbHorz = nullptr;
    QLabel* m_lblVertDir = nullptr;
    QLabel* m_lblVertValue = nullptr;
    QLabel* m_lblHorzDir = nullptr;
    QLabel* m_lblHorzValue = nullptr;
    TUpDownEdit* m_edCopy = nullptr;
    QLabel* m_lblSheets = nullptr;
    QGroupBox* m_envelope = nullptr;
    TUpDownEdit* m_edFlap = nullptr;
    QCheckBox* m_ckbReverse = nullptr;
    QGroupBox* m_sheet = nullptr;
    TUpDownEdit* m_edLabelStart = nullptr;
    TUpDownEdit* m_edLabelCount = nullptr;
    QLabel* m_lblWarning = nullptr;
    QLabel* m_pnlPrinter = nullptr;
    QLabel* m_pnlPaper = nullptr;
    QLabel* m_pnlOrientation = nullptr;
    QPushButton* m_bbtnPrinters = nullptr;
    QCheckBox* m_ckbLimited = nullptr;
    QPushButton* m_btnPreview1 = nullptr;
    QPushButton* m_btnNext = nullptr;
    QPushButton* m_btnPreview2 = nullptr;
    QPushButton* m_btnBack = nullptr;
    QPushButton* m_btnPrint = nullptr;
};
