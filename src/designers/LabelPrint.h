// Label and card sheets in the shared print loop: the sheet's pieces, upright or turned on a landscape page,
// and the client over a label or card document (the address book's records or the sender printed once).
#pragma once

#include "designers/LayoutPrint.h"

// The pieces of a label or card paper at dpiX × dpiY; nothing without a sheet. A turned paper (direction
// not 0) lies on a landscape page: the sheet's rows become the page's columns, its top margin the page's
// left margin and the space right of its last column the page's top margin.
std::optional<TLabelGrid> GetLabelSheetGrid(const TPaperFormat& paper, const TMultiUpSheet& sheet, int dpiX,
                                            int dpiY);

// A label or card document: records merge only with the address book as data source, without the sender
// (the sender source shows one piece, printed as it is); never turned.
class TLabelPrintClient : public TLayoutPrintClient
{
public:
    using TLayoutPrintClient::TLayoutPrintClient;
    std::optional<TLabelGrid> Grid(int dpiX, int dpiY) const override;
    bool MergesRecords() const override;
    bool MergeRecord(qint32 recNo) override;
    void TurnLayout() override {}
    void RestoreMerge() override;
};

// The client of the document's mode: the address side's or a label or card document's.
std::unique_ptr<TPrintClient> MakePrintClient(TLayoutDocument& document);
