// Printing the message-side design.
#include "designers/DesignPrint.h"

#include "designers/DesignDocument.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/Printers.h"

#include <QPainter>

#include <algorithm>

namespace {

// Frees what a job prepared, whatever happens to it.
class TDesignJobRestore
{
public:
    explicit TDesignJobRestore(TDesignDocument& document) : m_document(document) {}
    ~TDesignJobRestore()
    {
        m_document.BackImage.FreePrintCache();
        EndFramePrinting(m_document.ZOrder);
    }
    TDesignJobRestore(const TDesignJobRestore&) = delete;
    TDesignJobRestore& operator=(const TDesignJobRestore&) = delete;

private:
    TDesignDocument& m_document;
};

} // namespace

bool DesignHasPrintData(TDesignDocument& document)
{
    if (!document.ZOrder.empty())
        return true;
    TBackImage& back = document.BackImage;
    if (back.Mode() == BackNone)
        return false;
    back.UpdateImage(false);
    return !back.IsEmpty();
}

TRect DesignContentBounds(const TDesignDocument& document)
{
    TRect bounds;
    bool first = true;
    for (const TDrawRect* frame : document.ZOrder) {
        const TRect r = frame->GetDesignRect();
        if (first) {
            bounds = r;
            first = false;
            continue;
        }
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    return bounds;
}

void TakeDesignPrinterChange(TDesignDocument& document, QPoint oldDpi)
{
    document.TakePrintableArea();
    document.BackImage.SetVisibleRect(document.PrintableArea);
    const TPrinterInfo* printer = document.Context.Printer;
    if (printer && QPoint(printer->DpiX, printer->DpiY) != oldDpi)
        for (TDrawRect* frame : document.ZOrder)
            frame->UpdateImage(true);
}

TPrintResult PrintDesign(TDesignDocument& document, TPrinter& printer, QPoint offset, bool limitedPrinter)
{
    TPrintResult result;
    std::unique_ptr<TPrintJob> job = printer.BeginJob(DesignPrintJobTitle);
    if (!job) {
        result.Error = QStringLiteral("cannot start printing on %1").arg(printer.Name());
        return result;
    }
    TDesignJobRestore restore(document);
    document.BackImage.PreparePrint(offset);
    for (TDrawRect* frame : document.ZOrder) {
        frame->CalcPrintRect(offset, false);
        if (auto* illust = dynamic_cast<TIllustRect*>(frame))
            illust->SetLimitedPrinter(limitedPrinter);
    }
    const int copies = printer.PrintsCopies() ? 1 : std::max(1, printer.Copies());
    bool ok = true;
    for (int copy = 0; copy < copies && ok; ++copy) {
        if (copy > 0) {
            if (!(ok = job->NewPage()))
                break;
        }
        ++result.Pages;
        QPainter& painter = job->Painter();
        document.BackImage.Print(painter, 0, 0);
        for (auto it = document.ZOrder.rbegin(); it != document.ZOrder.rend(); ++it)
            (*it)->Print(painter, 0, 0);
        ++result.Pieces;
    }
    ok = job->Finish() && ok;
    if (!ok)
        result.Error = QStringLiteral("cannot finish printing on %1").arg(printer.Name());
    result.Ok = ok;
    return result;
}
