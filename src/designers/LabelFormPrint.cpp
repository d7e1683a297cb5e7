// The label and card window's print commands: the wizard, the print job and the preview with its tool bar.
#include "designers/LabelForm.h"

#include "designers/DesignerPrint.h"
#include "core/DialogSub.h"
#include "core/PDFHelp.h"
#include "designers/LabelPrint.h"
#include "designers/PaperView.h"

#include <QAction>
#include <QMenu>

void TLabelForm::buildPrintActions()
{
    auto* print = new QAction(QStringLiteral("印刷(&P)..."), this);
    print->setObjectName(QStringLiteral("actPrint"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(print, &QAction::triggered, this, &TLabelForm::actPrintExecute);
    auto* setup = new QAction(QStringLiteral("印刷設定(&U)..."), this);
    setup->setObjectName(QStringLiteral("actPrintSet"));
    setup->setStatusTip(QStringLiteral("プリンターの設定をします"));
    connect(setup, &QAction::triggered, this, &TLabelForm::actPrintSetExecute);

    // Esc and Ctrl+F4 leave the preview, Ctrl+Z does nothing in it; the window's own keys are off meanwhile.
    m_previewBar = new TDesignerPreview(*this, *m_view,
                                        {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_F4)},
                                        {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    connect(m_previewBar, &TDesignerPreview::closeRequested, this, &TLabelForm::tbtnPreviewCloseClick);
}

void TLabelForm::buildPrintMenus(QMenu* file)
{
    QAction* exit = action("actExit");
    file->insertAction(exit, action("actPrint"));
    file->insertAction(exit, action("actPrintSet"));
    file->insertSeparator(exit);
}

void TLabelForm::updatePrintActions()
{
    action("actPrint")->setEnabled(m_document->DocumentOpen && !PreviewShown());
    action("actPrintSet")->setEnabled(m_document->DocumentOpen && !PreviewShown());
}

void TLabelForm::actPrintExecute()
{
    if (PreviewShown())
        return;
    if (RunDesignerPrintCommand(this, *m_document, m_printRows, m_sources.AddressList.get(), m_restorePrintPage,
                                m_printSettings, LabelTitle(m_mode),
                                [this] { repaintPaper(); }) == TWizardChoice::Preview)
        StartPreview();
}

void TLabelForm::actPrintSetExecute()
{
    if (RunDesignerPrintSetup(this, *m_document))
        repaintPaper();
}

// ---- the preview ----

// The printable area shows relative to the sheet's corner while the preview shows the whole sheet.
void TLabelForm::StartPreview()
{
    TLayoutDocument& d = *m_document;
    m_previewBar->Start(*sbxPreview, MakePrintClient(d), m_printSettings, d.DesignSize, SheetSize96(d));
    d.SetPrintArea(false);
    SetHelpContext(this, LabelHelpContext(m_mode, true));
    updatePrintActions();
    sbxPreview->Panel()->update();
}

void TLabelForm::DrawPreviewPage(int page)
{
    m_previewBar->DrawPage(page);
}

void TLabelForm::tbtnNextPreviewClick()
{
    m_previewBar->Next();
}

void TLabelForm::tbtnPriorPreviewClick()
{
    m_previewBar->Prior();
}

void TLabelForm::endPreview()
{
    if (!PreviewShown())
        return;
    m_previewBar->End();
    m_document->SetPrintArea();
    SetHelpContext(this, LabelHelpContext(m_mode));
    updatePrintActions();
    repaintPaper();
}

void TLabelForm::tbtnPreviewCloseClick()
{
    if (!PreviewShown())
        return;
    endPreview();
    m_restorePrintPage = true;
    actPrintExecute();
}
