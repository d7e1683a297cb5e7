// The designers' print loop and preview pages: the sheet geometry in device units, the walk of the pieces
// over the pages, the job on the current printer and the 96-dpi preview pages; with the address side's
// client over its document (half turn, merge per record, printer change).
#pragma once

#include "layoutobjects/DrawRect.h"
#include "layoutobjects/PaperFormat.h"
#include "platform/DisplayList.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class TLayoutDocument;
class TPrinter;

// A sheet's pieces in device units for one resolution.
struct TLabelGrid
{
    qint32 PieceWidth = 0;
    qint32 PieceHeight = 0;
    qint32 Columns = 0;
    qint32 Rows = 0;
    qint32 LeftMargin = 0;
    qint32 TopMargin = 0;
    qint32 HorzGap = 0;
    qint32 VertGap = 0;

    int Faces() const { return Columns * Rows; }
    // Top-left corner of the piece in column k, row l.
    QPoint PieceAt(int k, int l) const
    {
        return {(PieceWidth + HorzGap) * k + LeftMargin, (PieceHeight + VertGap) * l + TopMargin};
    }
    bool operator==(const TLabelGrid&) const = default;
};

// An upright piece on its sheet at dpiX × dpiY; nothing without a sheet (index 0).
std::optional<TLabelGrid> GetLabelGrid(const TPaperFormat& paper, const TMultiUpSheet& sheet, int dpiX,
                                       int dpiY);

using TDataList = std::vector<qint32>;

// After a job: illustrations and figures free their print images, QR codes return to the screen.
void EndFramePrinting(const std::vector<TDrawRect*>& frames);

// The print wizard's choices for one print command.
struct TPrintSettings
{
    TDataList RecNos;
    QPoint Offset;      // 0.1 mm, x horizontal, y vertical
    qint32 Flap = 0;    // 0.1 mm, envelopes only
    bool Reverse = false;
    qint32 Start = 1;   // 1-based face of the first sheet
    qint32 Prints = 1;  // per record
    bool LimitedPrinter = false;
};

// The next piece's place: the faces of a sheet row by row, or one piece per page without a grid.
class TPieceWalk
{
public:
    TPieceWalk(const std::optional<TLabelGrid>& grid, int start);
    QPoint Origin() const { return m_grid ? m_grid->PieceAt(m_k, m_l) : QPoint(); }
    int Column() const { return m_k; }
    int Row() const { return m_l; }
    // Moves to the next piece; true when the page is full with the piece just placed.
    bool Advance();

private:
    std::optional<TLabelGrid> m_grid;
    int m_k = 0;
    int m_l = 0;
};

// What a designer gives the loop. The frames answer for the current printer's resolution.
class TPrintClient
{
public:
    virtual ~TPrintClient() = default;
    // The sheet at a resolution, none for one piece per page.
    virtual std::optional<TLabelGrid> Grid(int dpiX, int dpiY) const = 0;
    // The placed frames, top first.
    virtual std::vector<TDrawRect*> Stacking() const = 0;
    // Every frame that prints when placed: the fixed set and the free lists.
    virtual std::vector<TDrawRect*> AllFrames() const = 0;
    // Whether the print list's records are merged; otherwise the layout prints as shown.
    virtual bool MergesRecords() const = 0;
    // Whether the record can be merged at all.
    virtual bool CanLocate(qint32 recNo) const = 0;
    // Merges a record (recipient and its sender); false when it cannot be located.
    virtual bool MergeRecord(qint32 recNo) = 0;
    // The half turn of reverse printing; twice restores.
    virtual void TurnLayout() = 0;
    // Merges the address list's current record again after the job or the preview.
    virtual void RestoreMerge() = 0;
};

struct TPrintResult
{
    bool Ok = false;
    int Pages = 0;   // device pages begun
    int Pieces = 0;  // pieces printed
    QString Error;
};

// Prints the settings' records on printer, which must be the current printer of the printer list. Every
// page goes to the device as it is finished. Records that cannot be located are left out and use no face.
// The turn, the print caches and the merge are restored whatever happens.
TPrintResult RunPrintJob(TPrintClient& client, TPrinter& printer, const TPrintSettings& settings,
                         const QString& title);

// The preview: one page at a time as a display list at 96 dpi. Start turns the layout when reversing,
// gives every frame zoom 1.0 and smooth illustrations; Close undoes that and merges the current record.
class TPrintPreview
{
public:
    explicit TPrintPreview(TPrintClient& client);
    ~TPrintPreview();
    TPrintPreview(const TPrintPreview&) = delete;
    TPrintPreview& operator=(const TPrintPreview&) = delete;

    // pieceSize: the design size of one piece (the page size without a sheet).
    void Start(const TPrintSettings& settings, QSize pieceSize, QSize sheetSize);
    bool Active() const { return m_active; }
    int PageCount() const { return m_pageCount; }
    int CurrentPage() const { return m_current; }
    // The page size in 96-dpi units: the sheet, or the piece.
    QSize PageSize() const { return m_page.Size(); }
    const TDisplayList& Page() const { return m_page; }
    void DrawPage(int page);
    bool CanGoNext() const { return m_current < m_pageCount - 1; }
    bool CanGoPrior() const { return m_current > 0; }
    void Close();

private:
    TPrintClient& m_client;
    TPrintSettings m_settings;
    std::optional<TLabelGrid> m_grid;
    TDataList m_records;
    bool m_merge = false;
    bool m_active = false;
    int m_pageCount = 0;
    int m_current = -1;
    std::vector<double> m_zooms; // of the placed frames before the preview
    TDisplayList m_page;
};

// The address side's client over its document.
class TLayoutPrintClient : public TPrintClient
{
public:
    explicit TLayoutPrintClient(TLayoutDocument& document) : m_doc(document) {}
    std::optional<TLabelGrid> Grid(int dpiX, int dpiY) const override;
    std::vector<TDrawRect*> Stacking() const override;
    std::vector<TDrawRect*> AllFrames() const override;
    bool MergesRecords() const override;
    bool CanLocate(qint32 recNo) const override;
    bool MergeRecord(qint32 recNo) override;
    void TurnLayout() override;
    void RestoreMerge() override;

protected:
    TLayoutDocument& m_doc;
};

// Turns every placed frame by 180 degrees about the paper's centre.
void RotateLayout(TLayoutDocument& document);
// The union of the placed frames' design rects, widened over the whole sheet; what the wizard checks
// against the printable area.
TRect PrintContentBounds(TLayoutDocument& document);
// After a printer change: the printer information and printable area follow the current printer and every
// placed frame rebuilds its image when the resolution differs from rememberedDpi.
void TakePrinterChange(TLayoutDocument& document, QPoint rememberedDpi);
// Shows the current set's customer barcode on top at a size index (lowered to the paper's largest) and
// merges the record again, as the barcode command does; false when the paper has no room for it.
bool ShowPaperBarcode(TLayoutDocument& document, int sizeIndex);
// The sheet (or paper) size in 96-dpi units; a turned label or card sheet lies.
QSize SheetSize96(const TLayoutDocument& document);
