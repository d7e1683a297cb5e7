// The label and card window's print commands: the wizard, the print job and the preview with its tool bar.
#include "designers/LabelForm.h"

#include "addressbook/AdrsList.h"
#include "designers/DesignerPrint.h"
#include "core/DialogSub.h"
#include "designers/LabelPrint.h"
#include "designers/PaperView.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

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

    tbPreview = new QToolBar(this);
    tbPreview->setObjectName(QStringLiteral("PreviewToolBar"));
    tbPreview->setMovable(false);
    tbPreview->setFloatable(false);
    tbPreview->toggleViewAction()->setVisible(false);
    auto button = [this](const char* name, const QString& text, void (TLabelForm::*slot)()) {
        auto* b = new QToolButton(tbPreview);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        connect(b, &QToolButton::clicked, this, slot);
        tbPreview->addWidget(b);
        return b;
    };
    tbtnNextPreview = button("tbtnNextPreview", QStringLiteral("次ページ"), &TLabelForm::tbtnNextPreviewClick);
    tbtnPriorPreview = button("tbtnPriorPreview", QStringLiteral("前ページ"), &TLabelForm::tbtnPriorPreviewClick);
    auto* spacer = new QWidget(tbPreview);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tbPreview->addWidget(spacer);
    button("tbtnPreviewClose", QStringLiteral(" 閉じる "), &TLabelForm::tbtnPreviewCloseClick);
    addToolBar(tbPreview);
    tbPreview->hide();

    // Esc and Ctrl+F4 leave the preview, Ctrl+Z does nothing in it; the window's own keys are off meanwhile.
    for (QKeySequence key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_F4),
                             QKeySequence(Qt::CTRL | Qt::Key_Z)}) {
        auto* s = new QShortcut(key, this);
        s->setEnabled(false);
        if (key != QKeySequence(Qt::CTRL | Qt::Key_Z))
            connect(s, &QShortcut::activated, this, &TLabelForm::tbtnPreviewCloseClick);
        m_previewKeys << s;
    }
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
    action("actPrint")->setEnabled(m_document->DocumentOpen && !m_preview);
    action("actPrintSet")->setEnabled(m_document->DocumentOpen && !m_preview);
}

void TLabelForm::actPrintExecute()
{
    if (m_preview)
        return;
    const TAddressListRows* rows = m_printRows ? m_printRows : qobject_cast<TAddressList*>(parentWidget());
    const TWizardChoice choice =
        RunDesignerPrintWizard(this, *m_document, rows, m_sources.AddressList.get(),
                               std::exchange(m_restorePrintPage, false), m_printSettings, [this] { repaintPaper(); });
    if (choice == TWizardChoice::Preview) {
        StartPreview();
    } else if (choice == TWizardChoice::Print) {
        std::unique_ptr<TPrintClient> client = MakePrintClient(*m_document);
        RunDesignerPrintJob(this, *client, m_printSettings, LabelTitle(m_mode));
        repaintPaper();
    }
}

void TLabelForm::actPrintSetExecute()
{
    if (RunDesignerPrintSetup(this, *m_document))
        repaintPaper();
}

// ---- the preview ----

void TLabelForm::setPreviewBars(bool preview)
{
    setUpdatesEnabled(false);
    if (preview) {
        m_offForPreview.clear();
        for (QToolBar* bar : findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
            if (bar != tbPreview && bar->isVisible())
                m_offForPreview << bar;
        if (menuBar()->isVisible())
            m_offForPreview << menuBar();
        for (QShortcut* s : findChildren<QShortcut*>())
            for (QShortcut* own : m_previewKeys)
                if (s != own && !m_previewKeys.contains(s) && s->key() == own->key() && s->isEnabled())
                    m_offForPreview << s;
        for (QObject* o : m_offForPreview)
            if (auto* w = qobject_cast<QWidget*>(o))
                w->hide();
            else
                static_cast<QShortcut*>(o)->setEnabled(false);
        tbPreview->show();
    } else {
        tbPreview->hide();
        for (const QPointer<QObject>& o : m_offForPreview)
            if (auto* w = qobject_cast<QWidget*>(o.data()))
                w->show();
            else if (o)
                static_cast<QShortcut*>(o.data())->setEnabled(true);
        m_offForPreview.clear();
    }
    for (QShortcut* s : m_previewKeys)
        s->setEnabled(preview);
    setUpdatesEnabled(true);
}

void TLabelForm::StartPreview()
{
    TLayoutDocument& d = *m_document;
    setPreviewBars(true);
    m_printClient = MakePrintClient(d);
    m_preview = std::make_unique<TPrintPreview>(*m_printClient);
    {
        TBusyCursor busy;
        m_preview->Start(m_printSettings, d.DesignSize, SheetSize96(d));
    }
    updatePrintActions();
    showPreviewPage();
}

void TLabelForm::DrawPreviewPage(int page)
{
    if (!m_preview)
        return;
    {
        TBusyCursor busy;
        m_preview->DrawPage(page);
    }
    showPreviewPage();
}

void TLabelForm::showPreviewPage()
{
    // The view borrows the page: it is let go before the preview ends.
    const TDisplayList* page = &m_preview->Page();
    sbxPreview->SetPreviewPage(std::shared_ptr<const TDisplayList>(std::shared_ptr<void>(), page),
                               m_preview->PageSize());
    tbtnNextPreview->setEnabled(m_preview->CanGoNext());
    tbtnPriorPreview->setEnabled(m_preview->CanGoPrior());
    sbxPreview->Panel()->update();
}

void TLabelForm::tbtnNextPreviewClick()
{
    if (m_preview && m_preview->CanGoNext())
        DrawPreviewPage(m_preview->CurrentPage() + 1);
}

void TLabelForm::tbtnPriorPreviewClick()
{
    if (m_preview && m_preview->CanGoPrior())
        DrawPreviewPage(m_preview->CurrentPage() - 1);
}

void TLabelForm::endPreview()
{
    if (!m_preview)
        return;
    sbxPreview->SetPreviewPage(nullptr, {});
    m_preview.reset();
    m_printClient.reset();
    setPreviewBars(false);
    updatePrintActions();
    repaintPaper();
}

void TLabelForm::tbtnPreviewCloseClick()
{
    if (!m_preview)
        return;
    endPreview();
    m_restorePrintPage = true;
    actPrintExecute();
}
