// The address printing window's print commands: the wizard, the print job and the preview with its tool bar.
#include "designers/LayoutForm.h"

#include "addressbook/AdrsList.h"
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

#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

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

    tbPreview = new QToolBar(this);
    tbPreview->setObjectName(QStringLiteral("PreviewToolBar"));
    tbPreview->setMovable(false);
    tbPreview->setFloatable(false);
    tbPreview->toggleViewAction()->setVisible(false);
    auto button = [this](const char* name, const QString& text, void (TLayoutForm::*slot)()) {
        auto* b = new QToolButton(tbPreview);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        connect(b, &QToolButton::clicked, this, slot);
        return b;
    };
    tbtnNextPreview = button("tbtnNextPreview", QStringLiteral("次ページ"), &TLayoutForm::tbtnNextPreviewClick);
    tbtnPriorPreview = button("tbtnPriorPreview", QStringLiteral("前ページ"), &TLayoutForm::tbtnPriorPreviewClick);
    tbPreview->addWidget(tbtnNextPreview);
    tbPreview->addWidget(tbtnPriorPreview);
    cbxRatio2 = new QComboBox(tbPreview);
    cbxRatio2->setObjectName(QStringLiteral("cbxRatio2"));
    connect(cbxRatio2, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_preview || index < 0)
            return;
        m_view->CheckZoomItem(index);
        sbxPreview->SetZoomIndex(index);
    });
    tbPreview->addWidget(cbxRatio2);
    auto* spacer = new QWidget(tbPreview);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tbPreview->addWidget(spacer);
    tbPreview->addWidget(button("tbtnPreviewClose", QStringLiteral(" 閉じる "), &TLayoutForm::tbtnPreviewCloseClick));
    addToolBar(tbPreview);
    tbPreview->hide();

    // Esc leaves the preview; the window's own Esc (closing it) is off meanwhile.
    m_previewEscape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_previewEscape->setEnabled(false);
    connect(m_previewEscape, &QShortcut::activated, this, &TLayoutForm::tbtnPreviewCloseClick);
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
    if (m_preview)
        return;
    const TAddressListRows* rows = m_printRows ? m_printRows : qobject_cast<TAddressList*>(parentWidget());
    const TWizardChoice choice =
        RunDesignerPrintWizard(this, *m_document, rows, m_sources.AddressList.get(),
                               std::exchange(m_restorePrintPage, false), m_printSettings, [this] { repaintPaper(); });
    if (choice == TWizardChoice::Preview)
        StartPreview();
    else if (choice == TWizardChoice::Print)
        runPrintJob();
}

void TLayoutForm::runPrintJob()
{
    TLayoutPrintClient client(*m_document);
    RunDesignerPrintJob(this, client, m_printSettings, JobTitle);
    repaintPaper();
}

void TLayoutForm::actPrintSetExecute()
{
    if (RunDesignerPrintSetup(this, *m_document))
        repaintPaper();
}

// ---- the preview ----

void TLayoutForm::setPreviewBars(bool preview)
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
            if (s != m_previewEscape && s->key() == m_previewEscape->key() && s->isEnabled())
                m_offForPreview << s;
        for (QObject* o : m_offForPreview)
            if (auto* w = qobject_cast<QWidget*>(o))
                w->hide();
            else
                static_cast<QShortcut*>(o)->setEnabled(false);
        if (cbxRatio2->count() == 0)
            for (int i = 0; i < m_view->Ratio()->count(); ++i)
                cbxRatio2->addItem(m_view->Ratio()->itemText(i));
        if (cbxRatio2->currentIndex() < 0)
            cbxRatio2->setCurrentIndex(m_view->Ratio()->currentIndex());
        m_view->CheckZoomItem(cbxRatio2->currentIndex());
        tbPreview->show();
    } else {
        tbPreview->hide();
        for (const QPointer<QObject>& o : m_offForPreview)
            if (auto* w = qobject_cast<QWidget*>(o.data()))
                w->show();
            else if (o)
                static_cast<QShortcut*>(o.data())->setEnabled(true);
        m_offForPreview.clear();
        m_view->CheckZoomItem(m_view->Ratio()->currentIndex());
    }
    m_previewEscape->setEnabled(preview);
    setUpdatesEnabled(true);
}

void TLayoutForm::StartPreview()
{
    TLayoutDocument& d = *m_document;
    setPreviewBars(true);
    m_printClient = std::make_unique<TLayoutPrintClient>(d);
    m_preview = std::make_unique<TPrintPreview>(*m_printClient);
    {
        TBusyCursor busy;
        m_preview->Start(m_printSettings, d.DesignSize, SheetSize96(d));
    }
    sbxPreview->SetZoomIndex(cbxRatio2->currentIndex());
    showPreviewPage();
}

void TLayoutForm::DrawPreviewPage(int page)
{
    if (!m_preview)
        return;
    {
        TBusyCursor busy;
        m_preview->DrawPage(page);
    }
    showPreviewPage();
}

void TLayoutForm::showPreviewPage()
{
    // The view borrows the page: it is let go before the preview ends.
    const TDisplayList* page = &m_preview->Page();
    sbxPreview->SetPreviewPage(std::shared_ptr<const TDisplayList>(std::shared_ptr<void>(), page),
                               m_preview->PageSize());
    tbtnNextPreview->setEnabled(m_preview->CanGoNext());
    tbtnPriorPreview->setEnabled(m_preview->CanGoPrior());
    sbxPreview->Panel()->update();
}

void TLayoutForm::tbtnNextPreviewClick()
{
    if (m_preview && m_preview->CanGoNext())
        DrawPreviewPage(m_preview->CurrentPage() + 1);
}

void TLayoutForm::tbtnPriorPreviewClick()
{
    if (m_preview && m_preview->CanGoPrior())
        DrawPreviewPage(m_preview->CurrentPage() - 1);
}

void TLayoutForm::endPreview()
{
    if (!m_preview)
        return;
    sbxPreview->SetPreviewPage(nullptr, {});
    m_preview.reset();
    m_printClient.reset();
    setPreviewBars(false);
    sbxPreview->SetZoomIndex(m_view->Ratio()->currentIndex());
    repaintPaper();
}

void TLayoutForm::tbtnPreviewCloseClick()
{
    if (!m_preview)
        return;
    endPreview();
    m_restorePrintPage = true;
    actPrintExecute();
}
