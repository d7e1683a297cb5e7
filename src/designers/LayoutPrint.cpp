// The designers' print loop and preview pages, and the address side's client over its document.
#include "designers/LayoutPrint.h"

#include "core/AppSub.h"
#include "designers/LabelPrint.h"
#include "designers/LayoutDocument.h"
#include "designers/PaperEditing.h"
#include "layoutobjects/BarcodeRect.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/MetaRect.h"
#include "layoutobjects/PrinterInfo.h"
#include "layoutobjects/QRCodeRect.h"
#include "platform/Printers.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

qint32 toDevice(qint32 tenths, int dpi)
{
    return qint32(RoundHalfAway(tenths / 254.0 * dpi));
}

// A grid without faces prints one piece per page.
std::optional<TLabelGrid> usable(std::optional<TLabelGrid> grid)
{
    if (grid && (grid->Columns <= 0 || grid->Rows <= 0))
        grid.reset();
    return grid;
}

int clampStart(int start, const std::optional<TLabelGrid>& grid)
{
    return grid ? std::clamp(start, 1, grid->Faces()) : 1;
}

TDataList locatable(TPrintClient& client, const TDataList& recNos)
{
    TDataList records;
    records.reserve(recNos.size());
    for (qint32 recNo : recNos)
        if (client.CanLocate(recNo))
            records.push_back(recNo);
    return records;
}

void printPiece(const std::vector<TDrawRect*>& stacking, QPainter& painter, QPoint at)
{
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it)
        (*it)->Print(painter, at.x(), at.y());
}

// Undoes what a job changed in the frames, also when it fails.
class TJobRestore
{
public:
    TJobRestore(TPrintClient& client, bool merge) : m_client(client), m_merge(merge) {}
    ~TJobRestore()
    {
        EndFramePrinting(m_client.AllFrames());
        if (m_turned)
            m_client.TurnLayout();
        if (m_merge)
            m_client.RestoreMerge();
    }
    void Turn()
    {
        m_client.TurnLayout();
        m_turned = true;
    }

private:
    TPrintClient& m_client;
    bool m_merge;
    bool m_turned = false;
};

} // namespace

void EndFramePrinting(const std::vector<TDrawRect*>& frames)
{
    for (TDrawRect* frame : frames) {
        if (auto* illust = dynamic_cast<TIllustRect*>(frame))
            illust->FreePrintCache();
        else if (auto* figure = dynamic_cast<TFigureRect*>(frame))
            figure->FreePrintCache();
        else if (auto* qr = dynamic_cast<TQRCodeRect*>(frame))
            qr->EndPrinting();
    }
}

std::optional<TLabelGrid> GetLabelGrid(const TPaperFormat& paper, const TMultiUpSheet& sheet, int dpiX,
                                       int dpiY)
{
    if (paper.SheetIndex == 0)
        return std::nullopt;
    TLabelGrid grid;
    grid.PieceWidth = toDevice(paper.Width, dpiX);
    grid.PieceHeight = toDevice(paper.Height, dpiY);
    grid.Columns = sheet.Columns;
    grid.Rows = sheet.Rows;
    grid.LeftMargin = toDevice(sheet.LeftMargin, dpiX);
    grid.TopMargin = toDevice(sheet.TopMargin, dpiY);
    grid.HorzGap = toDevice(sheet.HorzGap, dpiX);
    grid.VertGap = toDevice(sheet.VertGap, dpiY);
    return grid;
}

TPieceWalk::TPieceWalk(const std::optional<TLabelGrid>& grid, int start) : m_grid(usable(grid))
{
    if (m_grid) {
        const int s = clampStart(start, m_grid) - 1;
        m_k = s % m_grid->Columns;
        m_l = s / m_grid->Columns;
    }
}

bool TPieceWalk::Advance()
{
    if (!m_grid)
        return true;
    if (++m_k < m_grid->Columns)
        return false;
    m_k = 0;
    if (++m_l < m_grid->Rows)
        return false;
    m_l = 0;
    return true;
}

TPrintResult RunPrintJob(TPrintClient& client, TPrinter& printer, const TPrintSettings& settings,
                         const QString& title)
{
    TPrintResult result;
    std::optional<TLabelGrid> grid = usable(client.Grid(printer.DpiX(), printer.DpiY()));
    if (grid) {
        // The device draws from the printable area's corner.
        grid->LeftMargin -= printer.PhysicalOffset().x();
        grid->TopMargin -= printer.PhysicalOffset().y();
    }
    const bool merge = client.MergesRecords();
    const TDataList records = merge ? locatable(client, settings.RecNos) : TDataList{0};
    if (records.empty()) {
        result.Error = QStringLiteral("no record of the print list can be found");
        return result;
    }
    std::unique_ptr<TPrintJob> job = printer.BeginJob(title);
    if (!job) {
        result.Error = QStringLiteral("cannot start printing on %1").arg(printer.Name());
        return result;
    }
    result.Pages = 1;
    TJobRestore restore(client, merge);
    if (settings.Reverse)
        restore.Turn();
    const QPoint offset(settings.Offset.x(), settings.Offset.y() + settings.Flap);
    for (TDrawRect* frame : client.AllFrames()) {
        frame->CalcPrintRect(offset, grid.has_value());
        if (auto* illust = dynamic_cast<TIllustRect*>(frame))
            illust->SetLimitedPrinter(settings.LimitedPrinter);
    }
    const std::vector<TDrawRect*> stacking = client.Stacking();
    const int prints = std::max(1, settings.Prints);
    const int copies = printer.PrintsCopies() ? 1 : std::max(1, printer.Copies());
    bool pageFull = false;
    bool ok = true;
    for (int copy = 0; copy < copies && ok; ++copy) {
        TPieceWalk walk(grid, settings.Start);
        pageFull = copy > 0;
        for (size_t j = 0; j < records.size() && ok; ++j) {
            if (merge && !client.MergeRecord(records[j]))
                continue;
            for (int i = 0; i < prints && ok; ++i) {
                // A new page only when something goes on it: no empty page before a record or at the end.
                if (pageFull) {
                    if (!(ok = job->NewPage()))
                        break;
                    ++result.Pages;
                }
                printPiece(stacking, job->Painter(), walk.Origin());
                ++result.Pieces;
                pageFull = walk.Advance();
            }
        }
    }
    ok = job->Finish() && ok;
    if (!ok)
        result.Error = QStringLiteral("cannot finish printing on %1").arg(printer.Name());
    result.Ok = ok;
    return result;
}

TPrintPreview::TPrintPreview(TPrintClient& client) : m_client(client) {}

TPrintPreview::~TPrintPreview()
{
    if (m_active)
        Close();
}

void TPrintPreview::Start(const TPrintSettings& settings, QSize pieceSize, QSize sheetSize)
{
    if (m_active)
        Close();
    m_settings = settings;
    m_settings.Prints = std::max(1, settings.Prints);
    m_grid = usable(m_client.Grid(96, 96));
    m_settings.Start = clampStart(settings.Start, m_grid);
    m_merge = m_client.MergesRecords();
    m_records = m_merge ? locatable(m_client, settings.RecNos) : TDataList{0};
    if (m_grid) {
        const int n = int(m_records.size()) * m_settings.Prints + m_settings.Start - 1;
        m_pageCount = std::max(1, (n + m_grid->Faces() - 1) / m_grid->Faces());
    } else {
        m_pageCount = std::max(1, int(m_records.size()));
    }
    m_active = true;
    if (m_settings.Reverse)
        m_client.TurnLayout();
    m_zooms.clear();
    for (TDrawRect* frame : m_client.Stacking()) {
        m_zooms.push_back(frame->Zoom());
        frame->SetZoom(1.0);
        if (auto* illust = dynamic_cast<TIllustRect*>(frame))
            illust->SetSmoothScaling(true);
    }
    m_page.Reset(m_grid ? sheetSize : pieceSize, 96, 96);
    DrawPage(0);
}

void TPrintPreview::DrawPage(int page)
{
    if (!m_active || page < 0 || page >= m_pageCount)
        return;
    // Halves to even; the flap is not shown.
    const QPoint offset(int(std::lrint(m_settings.Offset.x() / 254.0 * 96)),
                        int(std::lrint(m_settings.Offset.y() / 254.0 * 96)));
    const int prints = m_settings.Prints;
    const int start = m_settings.Start;
    size_t first = 0;
    int firstPrint = 0;
    if (m_grid && page > 0) {
        const int t = m_grid->Faces() * page - (start - 1);
        first = size_t(t / prints);
        firstPrint = t % prints;
    } else if (!m_grid) {
        first = size_t(page);
    }
    const QSize size = m_page.Size();
    m_page.Reset(size, 96, 96);
    QPainter painter(&m_page);
    painter.fillRect(QRect(QPoint(), size), Qt::white);
    const QPen outlinePen(QColor(128, 128, 128), 1, Qt::SolidLine);
    auto outline = [&](QPoint at) {
        painter.save();
        painter.setPen(outlinePen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(at.x(), at.y(), m_grid->PieceWidth, m_grid->PieceHeight);
        painter.restore();
    };
    TPieceWalk walk(m_grid, 1);
    bool full = false;
    if (m_grid && page == 0)
        for (int s = 1; s < start && !full; ++s) {
            outline(walk.Origin());
            full = walk.Advance();
        }
    const std::vector<TDrawRect*> stacking = m_client.Stacking();
    for (size_t i = first; i < m_records.size() && !full; ++i) {
        // The sender too: each record may name its own.
        if (m_merge && !m_client.MergeRecord(m_records[i]))
            continue;
        for (int r = firstPrint; r < prints && !full; ++r) {
            const QPoint at = walk.Origin();
            for (auto it = stacking.rbegin(); it != stacking.rend(); ++it)
                (*it)->Draw(painter, at.x() + offset.x(), at.y() + offset.y());
            if (m_grid)
                outline(at);
            full = walk.Advance();
        }
        firstPrint = 0;
    }
    if (m_grid)
        while (!full) {
            outline(walk.Origin());
            full = walk.Advance();
        }
    painter.end();
    m_current = page;
}

void TPrintPreview::Close()
{
    if (!m_active)
        return;
    m_active = false;
    const std::vector<TDrawRect*> stacking = m_client.Stacking();
    for (size_t i = 0; i < stacking.size(); ++i) {
        if (i < m_zooms.size())
            stacking[i]->SetZoom(m_zooms[i]);
        if (auto* illust = dynamic_cast<TIllustRect*>(stacking[i]))
            illust->SetSmoothScaling(false);
    }
    if (m_settings.Reverse)
        m_client.TurnLayout();
    if (m_merge)
        m_client.RestoreMerge();
    m_page.Reset({}, 96, 96);
    m_pageCount = 0;
    m_current = -1;
}

// ---- the address side ----

std::optional<TLabelGrid> TLayoutPrintClient::Grid(int dpiX, int dpiY) const
{
    return GetLabelGrid(m_doc.Paper, m_doc.Sheet, dpiX, dpiY);
}

std::vector<TDrawRect*> TLayoutPrintClient::Stacking() const
{
    return m_doc.Stacking;
}

std::vector<TDrawRect*> TLayoutPrintClient::AllFrames() const
{
    std::vector<TDrawRect*> frames = m_doc.CurrentSet();
    for (int kind = 0; kind < FreeKindCount; ++kind)
        for (const auto& frame : m_doc.FreeFrames(kind))
            frames.push_back(frame.get());
    return frames;
}

bool TLayoutPrintClient::MergesRecords() const
{
    return m_doc.SenderDisplayMode == 0 || (m_doc.SenderDisplayMode == 1 && m_doc.Paper.Count1 > 4);
}

bool TLayoutPrintClient::CanLocate(qint32 recNo) const
{
    return m_doc.Context.AddressList && m_doc.Context.AddressList->LocateRecord(recNo);
}

bool TLayoutPrintClient::MergeRecord(qint32 recNo)
{
    if (!m_doc.ShowRecordData(recNo))
        return false;
    m_doc.ShowSenderData();
    for (TDrawRect* frame : m_doc.CurrentSet())
        frame->UpdateImage(false);
    return true;
}

void TLayoutPrintClient::TurnLayout()
{
    RotateLayout(m_doc);
}

void TLayoutPrintClient::RestoreMerge()
{
    m_doc.ShowRecordData(-1);
    m_doc.ShowSenderData();
    for (TDrawRect* frame : m_doc.CurrentSet())
        frame->UpdateImage(false);
}

void RotateLayout(TLayoutDocument& document)
{
    RotateFrames(document.Stacking, document.DesignSize);
}

TRect PrintContentBounds(TLayoutDocument& document)
{
    if (document.Stacking.empty())
        return {};
    TRect bounds = document.Stacking.front()->GetDesignRect();
    for (const TDrawRect* frame : document.Stacking) {
        const TRect r = frame->GetDesignRect();
        bounds = {std::min(bounds.left, r.left), std::min(bounds.top, r.top), std::max(bounds.right, r.right),
                  std::max(bounds.bottom, r.bottom)};
    }
    if (const std::optional<TLabelGrid> g = usable(MakePrintClient(document)->Grid(96, 96))) {
        bounds.left += g->LeftMargin;
        bounds.top += g->TopMargin;
        bounds.right += (g->PieceWidth + g->HorzGap) * (g->Columns - 1) + g->LeftMargin;
        bounds.bottom += (g->PieceHeight + g->VertGap) * (g->Rows - 1) + g->TopMargin;
    }
    return bounds;
}

void TakePrinterChange(TLayoutDocument& document, QPoint rememberedDpi)
{
    if (document.Context.Printer)
        document.Context.Printer->TakeCurrentPrinter();
    document.SetPrintArea();
    if (CurrentPrinterDpi() == rememberedDpi)
        return;
    for (TDrawRect* frame : document.Stacking)
        frame->UpdateImage(true);
}

bool ShowPaperBarcode(TLayoutDocument& document, int sizeIndex)
{
    if (document.BarcodeImpossible)
        return false;
    TBarcodeRect* barcode = document.DetailedSet ? document.Detailed().Barcode : document.Simple().Barcode;
    barcode->SetSizeIndex(std::clamp(sizeIndex, 0, document.MaxBarcodeSize));
    if (!barcode->Visible()) {
        barcode->SetVisible(true);
        barcode->SetZoom(document.Zoom);
        document.InsertIntoStacking(barcode, false);
    }
    document.RefreshData();
    return true;
}

QSize SheetSize96(const TLayoutDocument& document)
{
    if (document.Paper.SheetIndex == 0)
        return document.DesignSize;
    const QSize sheet(toDevice(document.Sheet.Width, 96), toDevice(document.Sheet.Height, 96));
    return document.LabelMode && document.Paper.Direction != 0 ? sheet.transposed() : sheet;
}
