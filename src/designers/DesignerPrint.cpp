// The designer windows' shared print commands.
#include "designers/DesignerPrint.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "designers/DesignerData.h"
#include "designers/LayoutDocument.h"
#include "designers/LayoutPrintCommand.h"
#include "layoutobjects/LayoutPrintDialog.h"
#include "layoutobjects/PrinterSetup.h"
#include "platform/Printers.h"

#include <QApplication>
#include <QPointer>

namespace {

const QString PrintFailedMessage = QStringLiteral("印刷できませんでした  \r\n%1");

} // namespace

TWizardChoice RunDesignerPrintWizard(QWidget* window, TLayoutDocument& d, const TAddressListRows* rows,
                                     TAddressListSource* source, bool restorePage, TPrintSettings& settings,
                                     const std::function<void()>& repaint)
{
    settings = {};
    const QString refusal = LayoutPrintRefusal(d);
    if (!refusal.isEmpty()) {
        MessageBoxPos(window, refusal, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return TWizardChoice::None;
    }
    const QPoint dpi = CurrentPrinterDpi();
    auto printTarget = [source](qint32 recNo) -> std::optional<int> {
        const TMergeRow* row = source ? source->LocateRecord(recNo) : nullptr;
        if (!row)
            return std::nullopt;
        return int(row->Number(QStringLiteral("PrintTarget")));
    };
    TLayoutPrintDialog wizard(window, rows, printTarget);
    SetUpPrintWizard(wizard, d);
    wizard.RestorePage = restorePage;
    wizard.adjustSize();
    CenterForm(&wizard, window);
    const bool accepted = wizard.exec() == QDialog::Accepted;
    if (wizard.PrinterChanged) {
        TakePrinterChange(d, dpi);
        repaint();
    }
    if (!accepted)
        return TWizardChoice::None;
    settings = TakePrintWizard(wizard, d);
    return wizard.PreviewRequested ? TWizardChoice::Preview : TWizardChoice::Print;
}

void RunDesignerPrintJob(QWidget* window, TPrintClient& client, const TPrintSettings& settings,
                         const QString& title)
{
    TPrinter* printer = TPrinterList::Instance().Current();
    if (!printer)
        return;
    window->repaint();
    TPrintResult result;
    {
        TOtherWindowsDisabled others(window);
        TBusyCursor busy;
        result = RunPrintJob(client, *printer, settings, title);
    }
    window->raise();
    window->activateWindow();
    if (result.Ok)
        return;
    // Nothing began: every record of the list has gone since it was chosen.
    const bool noneLeft = result.Pages == 0 && client.MergesRecords() &&
                          std::none_of(settings.RecNos.begin(), settings.RecNos.end(),
                                       [&client](qint32 recNo) { return client.CanLocate(recNo); });
    MessageBoxPos(window, noneLeft ? NothingToPrintMessage : PrintFailedMessage.arg(printer->Name()), ProductTitle,
                  MsgSeam::MbOk | (noneLeft ? MsgSeam::MbIconInformation : MsgSeam::MbIconStop));
}

bool RunDesignerPrintSetup(QWidget* window, TLayoutDocument& d)
{
    if (TPrinterList::Instance().Count() == 0) {
        d.PrintArea = TRect{0, 0, d.DesignSize.width(), d.DesignSize.height()};
        return true;
    }
    const QPoint dpi = CurrentPrinterDpi();
    TPrinterSetupDialog dialog(window);
    dialog.adjustSize();
    CenterForm(&dialog, window);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    window->repaint();
    TBusyCursor busy;
    TakePrinterChange(d, dpi);
    return true;
}
