// Label and card sheets in the shared print loop.
#include "designers/LabelPrint.h"

#include "core/AppSub.h"
#include "designers/LayoutDocument.h"

namespace {

qint32 toDevice(qint32 tenths, int dpi)
{
    return qint32(RoundHalfAway(tenths / 254.0 * dpi));
}

} // namespace

std::optional<TLabelGrid> GetLabelSheetGrid(const TPaperFormat& paper, const TMultiUpSheet& sheet, int dpiX,
                                            int dpiY)
{
    if (paper.Direction == 0)
        return GetLabelGrid(paper, sheet, dpiX, dpiY);
    if (paper.SheetIndex == 0)
        return std::nullopt;
    TLabelGrid grid;
    grid.PieceWidth = toDevice(paper.Width, dpiX);
    grid.PieceHeight = toDevice(paper.Height, dpiY);
    grid.Columns = sheet.Rows;
    grid.Rows = sheet.Columns;
    grid.LeftMargin = toDevice(sheet.TopMargin, dpiX);
    grid.TopMargin = toDevice(
        sheet.Width - paper.Height * sheet.Columns - (sheet.Columns - 1) * sheet.HorzGap - sheet.LeftMargin, dpiY);
    grid.HorzGap = toDevice(sheet.VertGap, dpiX);
    grid.VertGap = toDevice(sheet.HorzGap, dpiY);
    return grid;
}

std::optional<TLabelGrid> TLabelPrintClient::Grid(int dpiX, int dpiY) const
{
    return GetLabelSheetGrid(m_doc.Paper, m_doc.Sheet, dpiX, dpiY);
}

bool TLabelPrintClient::MergesRecords() const
{
    return m_doc.DataSource == 1;
}

bool TLabelPrintClient::MergeRecord(qint32 recNo)
{
    if (!m_doc.ShowRecordData(recNo))
        return false;
    for (TDrawRect* frame : m_doc.CurrentSet())
        frame->UpdateImage(false);
    return true;
}

void TLabelPrintClient::RestoreMerge()
{
    m_doc.ShowRecordData(-1);
    for (TDrawRect* frame : m_doc.CurrentSet())
        frame->UpdateImage(false);
}

std::unique_ptr<TPrintClient> MakePrintClient(TLayoutDocument& document)
{
    if (document.LabelMode)
        return std::make_unique<TLabelPrintClient>(document);
    return std::make_unique<TLayoutPrintClient>(document);
}
