// The designer windows' shared print commands.
#include "designers/DesignerPrint.h"

#include "addressbook/AdrsList.h"
#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "designers/DesignerData.h"
#include "designers/DesignerWindow.h"
#include "designers/LabelPrint.h"
#include "designers/LayoutDocument.h"
#include "designers/LayoutPrintCommand.h"
#include "designers/PaperView.h"
#include "layoutobjects/LayoutPrintDialog.h"
#include "layoutobjects/PrinterSetup.h"
#include "platform/Printers.h"

#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

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

TWizardChoice RunDesignerPrintCommand(QWidget* window, TLayoutDocument& document, const TAddressListRows* rows,
                                      TAddressListSource* source, bool& restorePage, TPrintSettings& settings,
                                      const QString& title, const std::function<void()>& repaint)
{
    if (!rows)
        rows = qobject_cast<TAddressList*>(window->parentWidget());
    const TWizardChoice choice = RunDesignerPrintWizard(window, document, rows, source,
                                                        std::exchange(restorePage, false), settings, repaint);
    if (choice == TWizardChoice::Print) {
        std::unique_ptr<TPrintClient> client = MakePrintClient(document);
        RunDesignerPrintJob(window, *client, settings, title);
        repaint();
    }
    return choice;
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

// ---- the preview ----

TDesignerPreview::TDesignerPreview(QMainWindow& window, TDesignerViewActions& view,
                                   const QList<QKeySequence>& closeKeys, const QList<QKeySequence>& ignoredKeys)
    : QObject(&window), m_window(window), m_view(view)
{
    m_bar = new QToolBar(&window);
    m_bar->setObjectName(QStringLiteral("PreviewToolBar"));
    m_bar->setMovable(false);
    m_bar->setFloatable(false);
    m_bar->toggleViewAction()->setVisible(false);
    auto button = [this](const char* name, const QString& text, auto slot) {
        auto* b = new QToolButton(m_bar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        connect(b, &QToolButton::clicked, this, slot);
        m_bar->addWidget(b);
        return b;
    };
    m_next = button("tbtnNextPreview", QStringLiteral("次ページ"), &TDesignerPreview::Next);
    m_prior = button("tbtnPriorPreview", QStringLiteral("前ページ"), &TDesignerPreview::Prior);
    m_ratio = new QComboBox(m_bar);
    m_ratio->setObjectName(QStringLiteral("cbxRatio2"));
    connect(m_ratio, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_preview || index < 0)
            return;
        m_view.CheckZoomItem(index);
        m_paper->SetZoomIndex(index);
    });
    m_bar->addWidget(m_ratio);
    auto* spacer = new QWidget(m_bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_bar->addWidget(spacer);
    button("tbtnPreviewClose", QStringLiteral(" 閉じる "), &TDesignerPreview::closeRequested);
    window.addToolBar(m_bar);
    m_bar->hide();

    for (const QKeySequence& key : closeKeys + ignoredKeys) {
        auto* s = new QShortcut(key, &window);
        s->setEnabled(false);
        if (closeKeys.contains(key))
            connect(s, &QShortcut::activated, this, &TDesignerPreview::closeRequested);
        m_keys << s;
    }
}

TDesignerPreview::~TDesignerPreview() = default;

void TDesignerPreview::setBars(bool preview)
{
    m_window.setUpdatesEnabled(false);
    if (preview) {
        m_off.clear();
        for (QToolBar* bar : m_window.findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
            if (bar != m_bar && bar->isVisible())
                m_off << bar;
        if (m_window.menuBar()->isVisible())
            m_off << m_window.menuBar();
        for (QShortcut* s : m_window.findChildren<QShortcut*>())
            if (!m_keys.contains(s) && s->isEnabled() &&
                std::any_of(m_keys.begin(), m_keys.end(), [s](QShortcut* own) { return own->key() == s->key(); }))
                m_off << s;
        for (QObject* o : m_off)
            if (auto* w = qobject_cast<QWidget*>(o))
                w->hide();
            else
                static_cast<QShortcut*>(o)->setEnabled(false);
        QComboBox* ratio = m_view.Ratio();
        // The box takes the tool bar's zoom the first time (filling it chose its first item).
        if (m_ratio->count() == 0) {
            for (int i = 0; i < ratio->count(); ++i)
                m_ratio->addItem(ratio->itemText(i));
            m_ratio->setCurrentIndex(ratio->currentIndex());
        }
        m_view.CheckZoomItem(m_ratio->currentIndex());
        m_bar->show();
    } else {
        m_bar->hide();
        for (const QPointer<QObject>& o : m_off)
            if (auto* w = qobject_cast<QWidget*>(o.data()))
                w->show();
            else if (o)
                static_cast<QShortcut*>(o.data())->setEnabled(true);
        m_off.clear();
        m_view.CheckZoomItem(m_view.Ratio()->currentIndex());
    }
    for (QShortcut* s : m_keys)
        s->setEnabled(preview);
    m_window.setUpdatesEnabled(true);
}

void TDesignerPreview::Start(TPaperView& paper, std::unique_ptr<TPrintClient> client,
                             const TPrintSettings& settings, QSize pieceSize, QSize sheetSize)
{
    m_paper = &paper;
    setBars(true);
    m_client = std::move(client);
    m_preview = std::make_unique<TPrintPreview>(*m_client);
    {
        TBusyCursor busy;
        m_preview->Start(settings, pieceSize, sheetSize);
    }
    paper.SetZoomIndex(m_ratio->currentIndex());
    showPage();
}

void TDesignerPreview::DrawPage(int page)
{
    if (!m_preview)
        return;
    {
        TBusyCursor busy;
        m_preview->DrawPage(page);
    }
    showPage();
}

void TDesignerPreview::showPage()
{
    // The view borrows the page: it is let go before the preview ends.
    const TDisplayList* page = &m_preview->Page();
    m_paper->SetPreviewPage(std::shared_ptr<const TDisplayList>(std::shared_ptr<void>(), page),
                            m_preview->PageSize());
    m_next->setEnabled(m_preview->CanGoNext());
    m_prior->setEnabled(m_preview->CanGoPrior());
    m_paper->Panel()->update();
}

void TDesignerPreview::Next()
{
    if (m_preview && m_preview->CanGoNext())
        DrawPage(m_preview->CurrentPage() + 1);
}

void TDesignerPreview::Prior()
{
    if (m_preview && m_preview->CanGoPrior())
        DrawPage(m_preview->CurrentPage() - 1);
}

void TDesignerPreview::End()
{
    if (!m_preview)
        return;
    m_paper->SetPreviewPage(nullptr, {});
    m_preview.reset();
    m_client.reset();
    setBars(false);
    m_paper->SetZoomIndex(m_view.Ratio()->currentIndex());
}
