// The label and card window.
#include "designers/LabelForm.h"

#include "addressbook/AdrsList.h"
#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "designers/DesignerFileCommands.h"
#include "designers/ImageToolProcess.h"
#include "designers/PaperView.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/NewLabel.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

QPointer<TLabelForm> LabelForm;

namespace {

QString titleOf(const QString& path)
{
    return QFileInfo(path).completeBaseName();
}

} // namespace

TLabelForm::TLabelForm(TLayoutSources sources, QWidget* owner)
    : QMainWindow(owner, Qt::Window), m_sources(std::move(sources)),
      m_prototypes(std::make_shared<TDefaultRects>())
{
    setObjectName(QStringLiteral("LabelForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(LabelTitle(m_mode));
    setMinimumSize(LabelMinWidth, LabelMinHeight);
    m_view = new TDesignerViewActions(*this);
    buildActions();
    buildMenus();
    buildToolBar();
    setHints();

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("stbarInfo"));
    // The hints of the actions show in the first panel, the zoom beside them.
    statusBar()->addPermanentWidget(m_status);

    m_document = freshDocument();
    sbxPreview = new TPaperView(*m_document, this);
    setCentralWidget(sbxPreview);
    connect(sbxPreview, &TPaperView::selectionChanged, this, &TLabelForm::ShowFocusedInRectList);
    connect(sbxPreview, &TPaperView::documentModified, this, [this] {
        m_document->Modified = true;
        updateActions();
    });
    connect(sbxPreview, &TPaperView::frameDoubleClicked, this, &TLabelForm::frameDoubleClicked);
    bindEditView();
    connect(sbxPreview, &TPaperView::zoomChanged, this,
            [this](double, const QString& text) { m_status->setText(text); });
    connect(m_view, &TDesignerViewActions::changed, this, &TLabelForm::repaintPaper);
    connect(m_view, &TDesignerViewActions::zoomChosen, sbxPreview, &TPaperView::SetZoomIndex);
    connect(m_view->ToolBar(), &QAction::toggled, pnlToolBar, &QWidget::setVisible);

    LoadDefaultRects(DataFolder + DefaultRectsFileName, *m_prototypes);
    AddStandardFrameMetafileNames(ProgramFolder);
    cbxViewRect->addItem(QStringLiteral("なし"));
    UpdatePopupActions();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    buildCommandStates();
    updateActions();
}

TLabelForm::~TLabelForm()
{
    FormClose();
}

QAction* TLabelForm::action(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name));
}

void TLabelForm::buildActions()
{
    auto command = [this](const char* name, const QString& text, QKeySequence key, auto slot) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    command("actNew", QStringLiteral("新規作成(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N),
            &TLabelForm::actNewExecute);
    command("actOpen", QStringLiteral("開く(&O)..."), QKeySequence(Qt::CTRL | Qt::Key_O),
            &TLabelForm::actOpenExecute);
    command("actClose", QStringLiteral("閉じる(&C)"), QKeySequence(Qt::CTRL | Qt::Key_F4),
            &TLabelForm::actCloseExecute);
    command("actSave", QStringLiteral("上書き保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S),
            &TLabelForm::actSaveExecute);
    command("actSaveAs", QStringLiteral("名前を付けて保存(&A)..."),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { actSaveAsExecute(); });
    command("actExit", QStringLiteral("印刷の終了(&E)"), {}, &QWidget::close);

    // The frame commands a double click runs; the editing and settings commands connect them.
    const std::pair<const char*, const char*> frameCommands[] = {
        {"actAdditionSet", "追加情報の設定(&A)..."}, {"actFont", "フォントの設定(&T)..."},
        {"actIllustSet", "表示の設定(&V)..."},       {"actWordEdit", "文章の編集(&W)..."},
        {"actWordSet", "表示の設定(&V)..."},         {"actFigureSet", "図形の設定(&V)..."},
        {"actQRCodeSet", "QRコードの設定(&V)..."}};
    for (const auto& [name, text] : frameCommands) {
        auto* a = new QAction(QString::fromUtf8(text), this);
        a->setObjectName(QString::fromLatin1(name));
    }
    buildEditActions();
    buildPrintActions();
    buildSettingsActions();
}

void TLabelForm::setHints()
{
    const QString word = IsCardMode() ? QStringLiteral("名刺") : QStringLiteral("ラベル");
    const std::pair<const char*, QString> hints[] = {
        {"actNew", QStringLiteral("新しい%1レイアウトを作成します")},
        {"actOpen", QStringLiteral("保存した%1レイアウトを開きます")},
        {"actClose", QStringLiteral("%1レイアウトを閉じます")},
        {"actSave", QStringLiteral("%1レイアウトを上書き保存します")},
        {"actSaveAs", QStringLiteral("%1レイアウトに名前を付けて保存します")},
        {"actExit", QStringLiteral("%1印刷を終了します")},
        {"actPrint", QStringLiteral("%1を印刷します")}};
    for (const auto& [name, hint] : hints)
        action(name)->setStatusTip(hint.arg(word));
}

void TLabelForm::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("mniFile"));
    file->addAction(action("actNew"));
    file->addAction(action("actOpen"));
    file->addAction(action("actClose"));
    file->addSeparator();
    file->addAction(action("actSave"));
    file->addAction(action("actSaveAs"));
    file->addSeparator();
    file->addAction(action("actExit"));
    buildPrintMenus(file);
    buildEditMenus();

    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    view->setObjectName(QStringLiteral("mniView"));
    view->addAction(m_view->ToolBar());
    view->addAction(m_view->ShowMenu());
    view->addSeparator();
    m_view->AddToViewMenu(*view);
    buildSettingsMenus();
}

void TLabelForm::buildToolBar()
{
    pnlToolBar = BuildDesignerToolBar(*this, *m_view);
    cbxViewRect = pnlToolBar->findChild<QComboBox*>(QStringLiteral("cbxViewRect"));
    connect(cbxViewRect, &QComboBox::activated, this, &TLabelForm::cbxViewRectClick);
}

void TLabelForm::SetCardMode(bool on)
{
    if (!on || m_shown || IsCardMode())
        return;
    m_mode = LabelModeCard;
    setWindowTitle(LabelTitle(m_mode));
    setHints();
    setCardHints();
    SetHelpContext(this, LabelHelpContext(m_mode));
    takeDocument(freshDocument());
}

// ---- settings ----

void TLabelForm::LoadSettings()
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    m_settings = LoadLabelSettings(ini, m_mode);
    PlaceDesignerWindow(*this, m_settings, QSize(LabelMinWidth, LabelMinHeight));
    m_view->Load(m_settings);
    pnlToolBar->setVisible(m_view->ToolBar()->isChecked());
    m_printer.reset();
    if (TPrinterList::Instance().Count() > 0)
        m_printer = std::make_unique<TPrinterInfo>(LabelPrinterFile(m_mode));
}

void TLabelForm::SaveSettings()
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    TakeDesignerWindowBounds(*this, m_settings);
    m_view->Store(m_settings);
    SaveLabelSettings(ini, m_mode, m_settings);
    ini.UpdateFile();
    if (m_printer)
        m_printer->Save();
}

// ---- start, close ----

void TLabelForm::showEvent(QShowEvent* event)
{
    if (!m_shown) {
        m_shown = true;
        LoadSettings();
        // The document now knows the printer of the mode.
        takeDocument(freshDocument());
        QTimer::singleShot(0, this, &TLabelForm::OnStartMenu);
    }
    QMainWindow::showEvent(event);
}

void TLabelForm::OnStartMenu()
{
    const QStringList& recent = m_settings.History;
    const int choice = RunDesignerStartMenu(
        *this, m_mode, !recent.isEmpty() && QFileInfo::exists(recent.first()), *m_view->ShowMenu());
    if (choice < 0)
        return;
    repaint();
    if (choice == 0)
        actNewExecute();
    else if (choice == 1)
        actOpenExecute();
    else
        LoadFromFile(LabelDocumentFolder(m_mode) + titleOf(recent.first()) + LabelExtension(m_mode));
}

bool TLabelForm::ConfirmSave()
{
    const bool confirmed = ConfirmLabelSave(*m_document, this, [this] { return actSaveAsExecute(); });
    updateActions();
    return confirmed;
}

void TLabelForm::closeEvent(QCloseEvent* event)
{
    if (!ConfirmSave()) {
        event->ignore();
        return;
    }
    endPreview();
    FormClose();
    QMainWindow::closeEvent(event);
}

void TLabelForm::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    closeImageTool();
    if (m_shown)
        SaveSettings();
    SaveDefaultRects(DataFolder + DefaultRectsFileName, *m_prototypes);
    ClearFrameMetafileNames();
    if (m_sources.Detach)
        m_sources.Detach(this);
}

// ---- documents ----

TLayoutContext TLabelForm::context() const
{
    TLayoutContext context;
    context.Printer = m_printer.get();
    context.AddressList = m_sources.AddressList.get();
    context.Senders = m_sources.Senders.get();
    context.Prototypes = m_prototypes;
    return context;
}

std::unique_ptr<TLayoutDocument> TLabelForm::freshDocument()
{
    auto document = std::make_unique<TLayoutDocument>(context(), m_mode);
    document->DataSource = IsCardMode() ? 2 : 1;
    return document;
}

void TLabelForm::takeDocument(std::unique_ptr<TLayoutDocument> document)
{
    // The view lets go of the old document before it goes.
    std::swap(m_document, document);
    showDocument();
}

void TLabelForm::showDocument()
{
    if (sbxPreview)
        sbxPreview->SetDocument(*m_document);
    if (m_document->DocumentOpen) {
        UpdateRectList();
    } else {
        cbxViewRect->clear();
        cbxViewRect->addItem(QStringLiteral("なし"));
    }
    UpdatePopupActions();
    repaintPaper();
    updateActions();
    askForLostPaper();
}

void TLabelForm::updateActions()
{
    const TLayoutDocument& d = *m_document;
    UpdateCommandStates();
    setWindowTitle(d.DocumentOpen ? LabelCaption(m_mode, d.FileName, d.Modified) : LabelTitle(m_mode));
    updatePrintActions();
}

void TLabelForm::actNewExecute()
{
    TNewLabelDialog dialog(this);
    dialog.adjustSize();
    CenterForm(&dialog, this);
    const TLayoutDocument& d = *m_document;
    dialog.SetKind(IsCardMode() ? PaperCard : PaperLabel);
    dialog.SetFormatIndex(d.DocumentOpen ? d.PaperIndex : 0);
    dialog.SetSide(d.DataSource == 2 ? 1 : 0);
    if (dialog.exec() != QDialog::Accepted)
        return;
    repaint();
    if (!ConfirmSave())
        return;
    TBusyCursor busy;
    auto made = NewLabelDocument(context(), m_mode, dialog.FormatIndex, dialog.GetSide() == 1 ? 2 : 1);
    if (made)
        takeDocument(std::move(made));
}

void TLabelForm::actOpenExecute()
{
    QString title;
    if (!RunDesignerOpenDialog(*this, documentFiles(), m_document->FileName, title))
        return;
    repaint();
    const QString path = LabelDocumentFolder(m_mode) + title + LabelExtension(m_mode);
    // The file is read before the question, so that a file that cannot be read changes nothing.
    auto document = LoadLabelDocument(context(), m_mode, path, m_document.get());
    if (!document || !ConfirmSave())
        return;
    takeDocument(std::move(document));
    InsertRecentFile(m_settings.History, path);
}

void TLabelForm::actCloseExecute()
{
    // In the preview, Ctrl+F4 leaves the preview and goes back to the wizard.
    if (PreviewShown()) {
        tbtnPreviewCloseClick();
        return;
    }
    if (!m_document->DocumentOpen || !ConfirmSave())
        return;
    // The paper and the data source stay for the next new layout.
    TLayoutDocument& d = *m_document;
    d.ClearLayout();
    d.DocumentOpen = false;
    d.FileName.clear();
    d.Modified = false;
    showDocument();
}

bool TLabelForm::LoadFromFile(const QString& path)
{
    auto document = LoadLabelDocument(context(), m_mode, path, m_document.get());
    if (!document)
        return false;
    takeDocument(std::move(document));
    InsertRecentFile(m_settings.History, path);
    return true;
}

void TLabelForm::actSaveExecute()
{
    if (!m_document->FileName.isEmpty())
        SaveToFile(m_document->FileName);
    else
        actSaveAsExecute();
}

bool TLabelForm::actSaveAsExecute()
{
    if (!m_document->DocumentOpen)
        return false;
    const bool saved =
        RunDesignerSaveAs(*this, documentFiles(), m_document->FileName, [this] { repaintPaper(); },
                          [this](const QString& path) { return SaveToFile(path); });
    updateActions();
    return saved;
}

TDesignerFiles TLabelForm::documentFiles()
{
    return {m_mode, -1, LabelDocumentFolder(m_mode), LabelExtension(m_mode), &m_filesRenamed};
}

bool TLabelForm::SaveToFile(const QString& path)
{
    const bool renamed = path != m_document->FileName;
    const bool saved = m_document->SaveToFile(path);
    if (saved && renamed)
        InsertRecentFile(m_settings.History, path);
    updateActions();
    return saved;
}

void TLabelForm::RefreshData()
{
    if (!m_document->DocumentOpen || m_document->DataSource != 1)
        return;
    m_document->RefreshData();
    repaintPaper();
}

// ---- frame choice and view ----

void TLabelForm::UpdateRectList()
{
    cbxViewRect->clear();
    for (const TLabelFrameEntry& entry : LabelFrameList(*m_document))
        cbxViewRect->addItem(entry.Name, QVariant::fromValue(static_cast<void*>(entry.Frame)));
    cbxViewRect->setCurrentIndex(0);
}

void TLabelForm::ShowFocusedInRectList()
{
    const TLayoutDocument& d = *m_document;
    int index = 0;
    if (d.FocusIndex >= 0 && size_t(d.FocusIndex) < d.Selection.size())
        index = qMax(0, cbxViewRect->findData(
                            QVariant::fromValue(static_cast<void*>(d.Selection[size_t(d.FocusIndex)]))));
    cbxViewRect->setCurrentIndex(index);
    UpdatePopupActions();
}

void TLabelForm::cbxViewRectClick(int index)
{
    TLayoutDocument& d = *m_document;
    auto* frame = static_cast<TDrawRect*>(cbxViewRect->itemData(index).value<void*>());
    d.Selection.clear();
    d.FocusIndex = -1;
    if (frame) {
        d.Selection = {frame};
        d.FocusIndex = 0;
    }
    UpdatePopupActions();
    repaintPaper();
}

void TLabelForm::UpdatePopupActions()
{
    const TLayoutDocument& d = *m_document;
    int kind = -1;
    if (d.FocusIndex >= 0 && size_t(d.FocusIndex) < d.Selection.size())
        kind = d.Selection[size_t(d.FocusIndex)]->GetKind();
    action("actIllustSet")->setVisible(kind == KindIllust);
    action("actWordEdit")->setVisible(kind == KindWord);
    action("actWordSet")->setVisible(kind == KindWord);
    action("actFigureSet")->setVisible(kind == KindFigure);
    action("actQRCodeSet")->setVisible(kind == KindQRCode);
}

void TLabelForm::frameDoubleClicked(TDrawRect* frame)
{
    if (!frame)
        return;
    QAction* command = findChild<QAction*>(LabelDoubleClickAction(quint8(frame->GetKind())));
    if (command && command->isEnabled())
        command->trigger();
}

void TLabelForm::repaintPaper()
{
    if (!sbxPreview)
        return;
    m_view->Apply(*sbxPreview, m_printer != nullptr);
    sbxPreview->Panel()->update();
}

// ---- the address list's road to the window ----

TLabelForm* ShowLabelForm(TAddressList& list, quint8 mode)
{
    if (LabelForm && !LabelForm->IsClosed() && LabelForm->Mode() == mode) {
        BringDesignerForward(*LabelForm);
        return LabelForm;
    }
    auto* window = new TLabelForm(AddressListSources(list), &list);
    window->SetCardMode(mode == LabelModeCard);
    window->SetImageToolLink(new TImageToolProcess(window));
    list.AddFollower(window);
    LabelForm = window;
    window->show();
    return window;
}

void RegisterLabelForm()
{
    for (const auto& [command, mode] : {std::pair{TListCommand::LabelPrint, LabelModeLabel},
                                        std::pair{TListCommand::CardPrint, LabelModeCard}}) {
        RegisterListCommand(command, [mode = mode](TAddressList& list) {
            ShowLabelForm(list, mode);
            return TListCommandResult{};
        });
    }
    RegisterListChild(TListChild::LabelForm, []() -> QWidget* {
        return LabelForm && !LabelForm->IsCardMode() ? LabelForm.data() : nullptr;
    });
    RegisterListChild(TListChild::CardForm, []() -> QWidget* {
        return LabelForm && LabelForm->IsCardMode() ? LabelForm.data() : nullptr;
    });
}
