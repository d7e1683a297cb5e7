// The address printing window's print commands: the wizard, the print job and the preview with its tool bar.
#include "designers/LayoutForm.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "designers/DesignerPrint.h"
#include "designers/DesignerWindow.h"
#include "designers/LayoutPrintCommand.h"
#include "designers/PaperView.h"
#include "layoutobjects/LayoutPrintDialog.h"
#include "layoutobjects/PrinterSetup.h"
#include "platform/Printers.h"

#include <QEvent>
#include <QMenu>

namespace {

const QString JobTitle = QStringLiteral("宛名印刷");

// Runs a function on one kind of event of the watched object, before the object sees it.
class TEventHook : public QObject
{
public:
    TEventHook(QObject* watched, QEvent::Type type, std::function<void()> run)
        : QObject(watched), m_type(type), m_run(std::move(run))
    {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == m_type)
            m_run();
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_run;
};

} // namespace

void TLayoutForm::buildPrintActions()
{
    QAction* print = makeAction("actPrint", QStringLiteral("印刷(&P)..."), QStringLiteral("宛名を印刷します"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(print, &QAction::triggered, this, &TLayoutForm::actPrintExecute);
    QAction* setup = makeAction("actPrintSet", QStringLiteral("印刷設定(&U)..."),
                                QStringLiteral("プリンターの設定をします"));
    connect(setup, &QAction::triggered, this, &TLayoutForm::actPrintSetExecute);

    // Esc leaves the preview; the window's own Esc (closing it) is off meanwhile.
    m_previewBar = new TDesignerPreview(*this, *m_view, {QKeySequence(Qt::Key_Escape)});
    connect(m_previewBar, &TDesignerPreview::closeRequested, this, &TLayoutForm::tbtnPreviewCloseClick);
    // Closing the window ends the preview first, while the layout is still whole.
    new TEventHook(this, QEvent::Close, [this] { endPreview(); });
}

void TLayoutForm::buildPrintMenus(QMenu* file)
{
    QAction* exit = findChild<QAction*>(QStringLiteral("actExit"));
    file->insertAction(exit, findChild<QAction*>(QStringLiteral("actPrint")));
    file->insertAction(exit, findChild<QAction*>(QStringLiteral("actPrintSet")));
    file->insertSeparator(exit);
}

void TLayoutForm::updatePrintActions()
{
    findChild<QAction*>(QStringLiteral("actPrint"))->setEnabled(m_document->DocumentOpen);
    findChild<QAction*>(QStringLiteral("actPrintSet"))->setEnabled(m_document->DocumentOpen);
}

void TLayoutForm::actPrintExecute()
{
    if (PreviewShown())
        return;
    if (RunDesignerPrintCommand(this, *m_document, m_printRows, m_sources.AddressList.get(), m_restorePrintPage,
                                m_printSettings, JobTitle,
                                [this] { repaintPaper(); }) == TWizardChoice::Preview)
        StartPreview();
}

void TLayoutForm::actPrintSetExecute()
{
    if (RunDesignerPrintSetup(this, *m_document))
        repaintPaper();
}

// ---- the preview ----

void TLayoutForm::StartPreview()
{
    TLayoutDocument& d = *m_document;
    m_previewBar->Start(*sbxPreview, std::make_unique<TLayoutPrintClient>(d), m_printSettings, d.DesignSize,
                        SheetSize96(d));
}

void TLayoutForm::DrawPreviewPage(int page)
{
    m_previewBar->DrawPage(page);
}

void TLayoutForm::tbtnNextPreviewClick()
{
    m_previewBar->Next();
}

void TLayoutForm::tbtnPriorPreviewClick()
{
    m_previewBar->Prior();
}

void TLayoutForm::endPreview()
{
    if (!PreviewShown())
        return;
    m_previewBar->End();
    repaintPaper();
}

void TLayoutForm::tbtnPreviewCloseClick()
{
    if (!PreviewShown())
        return;
    endPreview();
    m_restorePrintPage = true;
    actPrintExecute();
}
