// The message-side design window.
#include "designers/DesignForm.h"

#include "designers/DesignerFileCommands.h"
#include "designers/DesignerWindow.h"
#include "designers/DesignArrange.h"
#include "designers/ImageToolProcess.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListServices.h"
#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/ShellSub.h"
#include "designers/DesignLifecycle.h"
#include "designers/NewDesignDialog.h"
#include "designers/PaperView.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/Printers.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

QPointer<TDesignForm> DesignForm;

namespace {

// Commands of the canvas, frames, sender block, paper and printing: shown, not yet available.
struct TLaterCommand
{
    const char* name;
    const char* text;
};
const TLaterCommand FileLater[] = {{"actFormat", "用紙の設定(&P)..."}};
const TLaterCommand EditLater[] = {{"actUndo", "元に戻す(&U)"},
                                   {"actRedo", "やり直し(&R)"},
                                   {"actCopy", "枠のコピー(&C)"},
                                   {"actPaste", "枠の貼り付け(&P)"},
                                   {"actDelete", "枠の削除(&D)"},
                                   {nullptr, nullptr},
                                   {"actBackImage", "背景の選択(&B)..."},
                                   {"actIllust", "イラストの選択(&I)..."},
                                   {"actWord", "文章の追加(&W)..."},
                                   {"actFigure", "図形の追加(&F)..."},
                                   {"actQRCode", "QRコードの追加(&Q)..."},
                                   {"actSender", "差出人の表示(&S)"}};

void centre(QDialog& dialog, QWidget* over)
{
    dialog.adjustSize();
    CenterForm(&dialog, over);
}

// The view's side of a design: its stacking, selection, paper and background.
TPaperModel DesignPaperModel(TDesignDocument& d)
{
    TPaperModel m;
    m.Stacking = &d.ZOrder;
    m.Selection = &d.Selection;
    m.FocusIndex = &d.FocusedIndex;
    m.Zoom = &d.Zoom;
    m.DesignSize = &d.PaperPixelSize;
    m.PrintArea = &d.PrintableArea;
    m.Undo = &d.Undo;
    m.Modified = &d.Modified;
    m.DocumentOpen = &d.DocumentOpen;
    m.DrawBackground = [&d](QPainter& painter, double zoom) {
        d.BackImage.SetZoom(zoom);
        d.BackImage.Draw(painter, 0, 0);
    };
    AddSenderItemMode(m, d);
    return m;
}

} // namespace

TDesignForm::TDesignForm(TDesignSources sources, QWidget* owner)
    : QMainWindow(owner, Qt::Window), m_sources(std::move(sources)),
      m_prototypes(std::make_shared<TDesignPrototypes>())
{
    setObjectName(QStringLiteral("DesignForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(DesignCaption);
    m_view = new TDesignerViewActions(*this, true);
    buildActions();
    buildMenus();
    buildToolBar();
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->addWidget(m_status, 1);

    LoadSettings();
    LoadDesignPrototypes(DataFolder + DefaultRectsFileName, *m_prototypes);
    m_document = freshDocument();
    sbxPreview = new TPaperView(DesignPaperModel(*m_document), this);
    setCentralWidget(sbxPreview);
    // Editing the paper comes with the canvas commands.
    sbxPreview->SetEditingEnabled(false);
    connect(sbxPreview, &TPaperView::selectionChanged, this, &TDesignForm::ShowFocusedInRectList);
    connect(sbxPreview, &TPaperView::paperDoubleClicked, this, &TDesignForm::actBackImageExecute);
    buildCanvas();
    connectEditSignals();
    connect(sbxPreview, &TPaperView::zoomChanged, this,
            [this](double, const QString& text) { m_status->setText(text); });
    connect(m_view, &TDesignerViewActions::changed, this, &TDesignForm::repaintPaper);
    connect(m_view, &TDesignerViewActions::zoomChosen, sbxPreview, &TPaperView::SetZoomIndex);
    connect(m_view->ToolBar(), &QAction::toggled, pnlToolBar, &QWidget::setVisible);
    repaintPaper();
    AddStandardFrameMetafileNames(ProgramFolder);
    cbxViewRect->addItem(QStringLiteral("なし"));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    buildCommandStates();
    updateActions();
}

TDesignForm::~TDesignForm()
{
    FormClose();
}

int TDesignForm::CaptionHeight() const
{
    return style()->pixelMetric(QStyle::PM_TitleBarHeight);
}

QAction* TDesignForm::makeAction(const char* name, const QString& text, const QString& tip)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    if (!tip.isEmpty())
        action->setStatusTip(tip);
    return action;
}

QAction* TDesignForm::action(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name));
}

void TDesignForm::buildActions()
{
    auto command = [this](const char* name, const QString& text, const QString& tip, QKeySequence key,
                          void (TDesignForm::*slot)()) {
        QAction* a = makeAction(name, text, tip);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
    };
    command("actNew", QStringLiteral("新規作成(&N)"), QStringLiteral("新しい文面デザインを作成します"),
            QKeySequence(Qt::CTRL | Qt::Key_N), &TDesignForm::actNewExecute);
    command("actOpen", QStringLiteral("開く(&O)..."), QStringLiteral("保存した文面デザインを開きます"),
            QKeySequence(Qt::CTRL | Qt::Key_O), &TDesignForm::actOpenExecute);
    command("actClose", QStringLiteral("閉じる(&C)"), QStringLiteral("文面デザインを閉じます"),
            QKeySequence(Qt::CTRL | Qt::Key_F4), &TDesignForm::actCloseExecute);
    command("actSave", QStringLiteral("上書き保存(&S)"), QStringLiteral("文面デザインを上書き保存します"),
            QKeySequence(Qt::CTRL | Qt::Key_S), &TDesignForm::actSaveExecute);
    command("actSaveAs", QStringLiteral("名前を付けて保存(&A)..."),
            QStringLiteral("文面デザインに名前を付けて保存します"),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TDesignForm::actSaveAsExecute);
    QAction* exit =
        makeAction("actExit", QStringLiteral("印刷の終了(&E)"), QStringLiteral("文面印刷を終了します"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    auto later = [this](const auto& commands) {
        for (const TLaterCommand& c : commands)
            if (c.name && !action(c.name))
                MarkPendingCommand(*makeAction(c.name, QString::fromUtf8(c.text)));
    };
    buildPrintActions();
    buildArrangeActions();
    buildEditActions();
    later(FileLater);
    later(EditLater);

}

void TDesignForm::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("mniFile"));
    for (const char* name : {"actNew", "actOpen", "actClose", "-", "actSave", "actSaveAs", "-", "actFormat",
                             "actPrintSet", "actPrint", "-", "actExit"})
        if (name[0] == '-')
            file->addSeparator();
        else
            file->addAction(action(name));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("mniEdit"));
    for (const TLaterCommand& c : EditLater)
        if (c.name)
            edit->addAction(action(c.name));
        else
            edit->addSeparator();

    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    view->setObjectName(QStringLiteral("mniView"));
    view->addAction(m_view->ToolBar());
    view->addAction(m_view->ShowMenu());
    view->addSeparator();
    m_view->AddToViewMenu(*view);
    buildArrangeMenus();
}

void TDesignForm::buildToolBar()
{
    pnlToolBar = BuildDesignerToolBar(*this, *m_view);
    cbxViewRect = pnlToolBar->findChild<QComboBox*>(QStringLiteral("cbxViewRect"));
    connect(cbxViewRect, &QComboBox::activated, this, &TDesignForm::cbxViewRectClick);
}

// ---- settings ----

void TDesignForm::LoadSettings()
{
    m_settings = LoadDesignSettings(DataRootFolder + MainSettingsFileName, DesignFolder);
    setMinimumSize(DesignMinWidth, DesignMinHeight);
    const QScreen* display = screen();
    const int caption = CaptionHeight();
    const QRect frame = DesignWindowGeometry(m_settings, display->availableGeometry(), caption,
                                             display->logicalDotsPerInch());
    resize(frame.width(), frame.height() - caption);
    move(frame.topLeft());
    if (m_settings.Max)
        setWindowState(windowState() | Qt::WindowMaximized);
    m_recent = m_settings.History;
    m_view->Load(m_settings);
    pnlToolBar->setVisible(m_settings.ToolBar);
    if (TPrinterList::Instance().Count() > 0)
        m_printer = std::make_unique<TPrinterInfo>(DataRootFolder + QStringLiteral("Design.pi"));
}

void TDesignForm::SaveSettings()
{
    TDesignWindowSettings s = m_settings;
    const bool normal = !isMaximized() && !isMinimized();
    const QRect client = normal ? geometry() : normalGeometry();
    const int caption = CaptionHeight();
    StoreDesignWindowGeometry(s, QRect(normal ? pos() : client.topLeft(), client.size() + QSize(0, caption)),
                              caption, screen()->logicalDotsPerInch());
    s.Max = isMaximized();
    s.History = m_recent;
    m_view->Store(s);
    SaveDesignSettings(DataRootFolder + MainSettingsFileName, s);
    if (m_printer)
        m_printer->Save();
}

// ---- start, close ----

void TDesignForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_startMenuPosted) {
        m_startMenuPosted = true;
        QTimer::singleShot(0, this, &TDesignForm::OnStartMenu);
    }
}

void TDesignForm::OnStartMenu()
{
    const int choice =
        RunDesignerStartMenu(*this, 3, StartMenuDefaultChoice(m_recent) == StartLastFile, *m_view->ShowMenu());
    if (choice < 0)
        return;
    repaint();
    if (choice == StartNew)
        actNewExecute();
    else if (choice == StartOpen)
        actOpenExecute();
    else
        LoadFromFile(LastDesignPath(m_recent, DesignFolder));
}

bool TDesignForm::ConfirmSave()
{
    m_savedInConfirm = false;
    const bool answer = ConfirmDesignSave(this, *m_document, [this] {
        actSaveExecute();
        m_savedInConfirm = !m_document->Modified;
    });
    updateActions();
    return answer;
}

void TDesignForm::closeEvent(QCloseEvent* event)
{
    if (!ConfirmSave()) {
        event->ignore();
        return;
    }
    FormClose();
    QMainWindow::closeEvent(event);
}

void TDesignForm::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_imageTool)
        m_imageTool->Close();
    SaveSettings();
    m_printer.reset();
    SaveDesignPrototypes(DataFolder + DefaultRectsFileName, *m_prototypes);
    ClearDesign();
    ClearFrameMetafileNames();
}

// ---- the design ----

void TDesignForm::ClearDesign()
{
    m_document->ClearDesign();
    cbxViewRect->clear();
    cbxViewRect->addItem(QStringLiteral("なし"));
    cbxViewRect->setCurrentIndex(0);
}

void TDesignForm::emptyWindow()
{
    ClearDesign();
    m_document->DocumentOpen = false;
    m_document->FileName.clear();
    sbxPreview->sbxPreviewResize();
}

void TDesignForm::UpdateRectList()
{
    const TDesignDocument& d = *m_document;
    cbxViewRect->clear();
    cbxViewRect->addItem(QStringLiteral("なし"));
    auto add = [this](const QString& text, TDrawRect* frame) {
        cbxViewRect->addItem(text, QVariant::fromValue(static_cast<void*>(frame)));
    };
    const char* const kinds[] = {"イラスト", "文章", "図形", "QRコード"};
    for (int kind = 0; kind < FreeKindCount; ++kind) {
        int n = 0;
        for (const auto& frame : d.FreeFrames(kind))
            add(QString::fromUtf8(kinds[kind]) + QString::number(++n), frame.get());
    }
    if (d.SenderBlock())
        add(QStringLiteral("差出人"), d.SenderBlock());
    cbxViewRect->setCurrentIndex(0);
}

void TDesignForm::ShowFocusedInRectList()
{
    const TDesignDocument& d = *m_document;
    int index = 0;
    if (d.FocusedIndex >= 0 && size_t(d.FocusedIndex) < d.Selection.size())
        index = qMax(0, cbxViewRect->findData(
                            QVariant::fromValue(static_cast<void*>(d.Selection[size_t(d.FocusedIndex)]))));
    cbxViewRect->setCurrentIndex(index);
}

void TDesignForm::cbxViewRectClick(int index)
{
    TDesignDocument& d = *m_document;
    auto* frame = static_cast<TDrawRect*>(cbxViewRect->itemData(index).value<void*>());
    if (!frame) {
        d.Selection.clear();
        d.FocusedIndex = -1;
    } else if (const auto it = std::find(d.Selection.begin(), d.Selection.end(), frame);
               it != d.Selection.end()) {
        d.FocusedIndex = int(it - d.Selection.begin());
    } else {
        d.Selection = {frame};
        d.FocusedIndex = 0;
    }
    repaintPaper();
}

// ---- documents ----

std::unique_ptr<TDesignDocument> TDesignForm::freshDocument()
{
    return std::make_unique<TDesignDocument>(
        TDesignContext{m_printer.get(), m_sources.Senders.get(), m_prototypes});
}

void TDesignForm::takeDocument(std::unique_ptr<TDesignDocument> document)
{
    // The view lets go of the old document before it goes.
    std::swap(m_document, document);
    sbxPreview->SetModel(DesignPaperModel(*m_document));
    afterDocumentChange();
}

void TDesignForm::afterDocumentChange()
{
    UpdateRectList();
    sbxPreview->sbxPreviewResize();
    updateActions();
}

void TDesignForm::addRecent(const QString& path)
{
    m_recent.prepend(path);
}

void TDesignForm::updateActions()
{
    const TDesignDocument& d = *m_document;
    UpdateCommandStates();
    updatePrintActions();
    UpdatePopupActions();
    setWindowTitle(d.Caption());
}

void TDesignForm::actNewExecute()
{
    TNewDesignDialog dialog(this);
    centre(dialog, this);
    dialog.SetFormat(m_document->DocumentOpen ? m_document->PaperIndex : 0);
    TDesignPaperFormat paper;
    if (dialog.exec() != QDialog::Accepted || !dialog.GetFormat(paper))
        return;
    const int index = dialog.FormatIndex();
    repaint();
    if (!ConfirmSave())
        return;
    TBusyCursor busy;
    auto document = freshDocument();
    document->PaperIndex = index;
    document->PaperFormat = paper;
    document->NewDesign();
    // A new design counts as unsaved.
    document->Modified = true;
    takeDocument(std::move(document));
}

TDesignerFiles TDesignForm::documentFiles()
{
    return {3, -1, DesignFolder, QStringLiteral(".gpd"), &m_filesRenamed};
}

void TDesignForm::actOpenExecute()
{
    QString title;
    if (!RunDesignerOpenDialog(*this, documentFiles(), m_document->FileName, title))
        return;
    openTitled(title);
}

void TDesignForm::actCloseExecute()
{
    if (!ConfirmSave())
        return;
    emptyWindow();
    updateActions();
}

void TDesignForm::actSaveExecute()
{
    if (!m_document->FileName.isEmpty())
        SaveToFile(m_document->FileName);
    else
        actSaveAsExecute();
}

void TDesignForm::actSaveAsExecute()
{
    if (!m_document->DocumentOpen)
        return;
    if (!RunDesignerSaveAs(
            *this, documentFiles(), m_document->FileName, [this] { sbxPreview->Panel()->repaint(); },
            [this](const QString& path) { return SaveToFile(path); }))
        updateActions();
}

bool TDesignForm::LoadFromFile(const QString& path)
{
    auto document = freshDocument();
    // A design whose paper is gone stays on the paper shown before.
    document->PaperFormat = m_document->PaperFormat;
    document->PaperIndex = m_document->PaperIndex;
    if (!document->LoadFromFile(path)) {
        updateActions();
        return false;
    }
    takeDocument(std::move(document));
    addRecent(path);
    updateActions();
    return true;
}

bool TDesignForm::SaveToFile(const QString& path)
{
    const bool named = !m_document->FileName.isEmpty();
    const bool saved = m_document->SaveToFile(path);
    if (saved && !named)
        addRecent(path);
    updateActions();
    repaintPaper();
    return saved;
}

// ---- view ----

int TDesignForm::GridSize() const
{
    return m_view->GridSize();
}

void TDesignForm::repaintPaper()
{
    if (!sbxPreview)
        return;
    m_view->Apply(*sbxPreview, m_printer != nullptr);
    sbxPreview->Panel()->update();
}

// ---- the address list's road to the window ----

TDesignForm* ShowDesignForm(TAddressList& list)
{
    if (DesignForm) {
        BringDesignerForward(*DesignForm);
        return DesignForm;
    }
    TBusyCursor busy;
    TDesignSources sources;
    if (DMQuenrid215 && DMQuenrid215->SenderTable())
        sources.Senders =
            std::make_unique<TTableSenderSource>(*DMQuenrid215->SenderTable(), LoadDefaultSender(DataFolder));
    auto* window = new TDesignForm(std::move(sources), &list);
    window->SetImageToolLink(new TImageToolProcess(window));
    DesignForm = window;
    window->show();
    return window;
}

void RegisterDesignForm()
{
    RegisterListCommand(TListCommand::DesignPrint, [](TAddressList& list) {
        ShowDesignForm(list);
        return TListCommandResult{};
    });
    RegisterListChild(TListChild::DesignForm, [] { return static_cast<QWidget*>(DesignForm.data()); });
}
