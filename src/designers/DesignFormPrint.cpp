// The design window's printing commands and its background command.
#include "designers/DesignForm.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "designers/BackImageDialog.h"
#include "designers/DesignPrint.h"
#include "designers/DesignPrintDialog.h"
#include "designers/ImageToolLink.h"
#include "designers/PaperView.h"
#include "designers/UndoList.h"
#include "layoutobjects/PrinterSetup.h"
#include "platform/Printers.h"

#include <QAction>

namespace {

const QString NoPrinterMessage = QStringLiteral("プリンターがインストールされていません  ");
const QString NoPrinterSetupMessage = QStringLiteral("プリンタがインストールされていません  ");
const QString PrintFailedMessage = QStringLiteral("印刷できませんでした  ");

void information(QWidget* owner, const QString& text)
{
    MessageBoxPos(owner, text, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
}

template <class Dialog> void centreDialog(Dialog& dialog, QWidget* over)
{
    dialog.adjustSize();
    CenterForm(&dialog, over);
}

} // namespace

void TDesignForm::buildPrintActions()
{
    QAction* print = makeAction("actPrint", QStringLiteral("印刷(&P)..."), QStringLiteral("文面を印刷します"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(print, &QAction::triggered, this, &TDesignForm::actPrintExecute);
    QAction* setup = makeAction("actPrintSet", QStringLiteral("印刷の設定(&R)..."),
                                QStringLiteral("プリンターの設定をします"));
    connect(setup, &QAction::triggered, this, &TDesignForm::actPrintSetExecute);
    QAction* back = makeAction("actBackImage", QStringLiteral("背景の選択(&B)..."),
                               QStringLiteral("背景を選択します"));
    connect(back, &QAction::triggered, this, &TDesignForm::actBackImageExecute);
}

void TDesignForm::updatePrintActions()
{
    for (const char* name : {"actPrint", "actPrintSet", "actBackImage"})
        action(name)->setEnabled(m_document->DocumentOpen);
}

void TDesignForm::SetImageToolLink(TImageToolLink* link)
{
    if (m_imageTool == link)
        return;
    delete m_imageTool;
    m_imageTool = link;
    if (link)
        link->setParent(this);
}

void TDesignForm::actPrintExecute()
{
    TDesignDocument& d = *m_document;
    if (!d.DocumentOpen)
        return;
    if (!DesignHasPrintData(d)) {
        information(this, DesignNoPrintDataMessage);
        return;
    }
    if (TPrinterList::Instance().Count() == 0) {
        information(this, NoPrinterMessage);
        return;
    }
    const QPoint dpi = CurrentPrinterDpi();
    bool accepted = false;
    QPoint offset;
    bool limited = false;
    {
        TDesignPrintDialog dialog(this);
        if (!d.ZOrder.empty())
            dialog.SetContentBounds(DesignContentBounds(d));
        centreDialog(dialog, this);
        accepted = dialog.exec() == QDialog::Accepted;
        if (dialog.PrinterChanged) {
            TakeDesignPrinterChange(d, dpi);
            repaintPaper();
        }
        offset = dialog.GetOffset();
        limited = dialog.GetLimitedPrinter();
    }
    TPrinter* printer = TPrinterList::Instance().Current();
    if (!accepted || !printer)
        return;
    repaint();
    TPrintResult result;
    {
        TOtherWindowsDisabled others(this);
        TBusyCursor busy;
        result = PrintDesign(d, *printer, offset, limited);
    }
    raise();
    activateWindow();
    repaintPaper();
    if (!result.Ok)
        MessageBoxPos(this, result.Error.isEmpty() ? PrintFailedMessage : result.Error, ProductTitle,
                      MsgSeam::MbOk | MsgSeam::MbIconStop);
}

void TDesignForm::actPrintSetExecute()
{
    if (TPrinterList::Instance().Count() == 0) {
        information(this, NoPrinterSetupMessage);
        return;
    }
    const QPoint dpi = CurrentPrinterDpi();
    TPrinterSetupDialog dialog(this);
    centreDialog(dialog, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    repaint();
    TBusyCursor busy;
    TakeDesignPrinterChange(*m_document, dpi);
    repaintPaper();
}

void TDesignForm::actBackImageExecute()
{
    TDesignDocument& d = *m_document;
    if (!d.DocumentOpen || m_backImageOpen)
        return;
    TBackImageDialog dialog(this, m_imageTool);
    dialog.SetBackImage(d.BackImage);
    centreDialog(dialog, this);
    m_backImageOpen = true;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_backImageOpen = false;
    if (!accepted)
        return;
    auto undo = std::make_unique<TUndoDatas>(quint8(2));
    undo->AddObject(d.BackImage, 0);
    d.BackImage.Assign(dialog.BackImage);
    d.BackImage.SetZoom(d.Zoom);
    static_cast<TObjectUndoData*>(undo->GetItem(0))->SetStream(1, StreamImage(d.BackImage));
    d.Undo.Push(std::move(undo));
    d.Modified = true;
    updateActions();
    repaintPaper();
}
