// The address window's print command around its document.
#include "designers/LayoutPrintCommand.h"

#include "designers/LabelPrint.h"
#include "designers/LayoutDocument.h"
#include "layoutobjects/LayoutPrintDialog.h"
#include "platform/Printers.h"

QString LayoutPrintRefusal(TLayoutDocument& document)
{
    const bool noRecord = MakePrintClient(document)->MergesRecords() &&
                          (!document.Context.AddressList || document.Context.AddressList->GetRecordCount() <= 0);
    // A label or card showing the sender needs one.
    const bool noSender = document.LabelMode && document.DataSource == 2 && document.SenderRecNo == 0;
    if (document.Stacking.empty() || noRecord || noSender)
        return NothingToPrintMessage;
    if (TPrinterList::Instance().Count() == 0)
        return NoPrinterMessage;
    return {};
}

void SetUpPrintWizard(TLayoutPrintDialog& wizard, TLayoutDocument& document)
{
    const std::unique_ptr<TPrintClient> client = MakePrintClient(document);
    wizard.SetRecordSelection(client->MergesRecords());
    wizard.SetPaperKind(document.Paper.Kind);
    const std::optional<TLabelGrid> grid = client->Grid(96, 96);
    wizard.SetFacesPerSheet(grid ? grid->Faces() : 1);
    wizard.SetContentBounds(PrintContentBounds(document));
}

TPrintSettings TakePrintWizard(const TLayoutPrintDialog& wizard, const TLayoutDocument& document)
{
    TPrintSettings settings;
    settings.RecNos = wizard.RecNos;
    settings.Offset = wizard.GetOffset();
    if (document.Paper.Kind == PaperEnvelope) {
        settings.Flap = wizard.GetFlapLength();
        settings.Reverse = wizard.GetReverse();
    }
    settings.Start = wizard.GetLabelStart();
    settings.Prints = wizard.GetLabelCount();
    settings.LimitedPrinter = wizard.GetLimitedPrinter();
    return settings;
}
