// The address printing window.
#include "designers/LayoutForm.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListGlue.h"
#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "designers/DesignerFileCommands.h"
#include "designers/DesignerWindow.h"
#include "designers/DesignerWindowSettings.h"
#include "designers/ImageToolProcess.h"
#include "designers/PaperView.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/NewLayout.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

QPointer<TLayoutForm> LayoutForm;

namespace {

const QString Caption = QStringLiteral("宛名印刷");
const QString Section = QStringLiteral("LAYOUT");
const QString ConfirmQuestion = QStringLiteral("宛名印刷のレイアウトの変更を保存しますか？  ");
const QString RevertQuestion =
    QStringLiteral("宛名印刷のレイアウトは変更前の状態に戻ります  \r\n本当によろしいですか？");
const QString DiscardQuestion =
    QStringLiteral("作成した宛名印刷のレイアウトは破棄されます  \r\n本当によろしいですか？");
constexpr int MinWidth = 529, MinHeight = 500;

void centre(QDialog& dialog, QWidget* over)
{
    dialog.adjustSize();
    CenterForm(&dialog, over);
}

QString titleOf(const QString& path)
{
    return QFileInfo(path).completeBaseName();
}

} // namespace

TLayoutForm::TLayoutForm(TLayoutSources sources, QWidget* owner)
    : QMainWindow(owner, Qt::Window), m_sources(std::move(sources)),
      m_prototypes(std::make_shared<TDefaultRects>())
{
    setObjectName(QStringLiteral("LayoutForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Caption);
    m_view = new TDesignerViewActions(*this);
    buildActions();
    buildMenus();
    buildToolBar();

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("stbarInfo"));
    statusBar()->addWidget(m_status, 1);

    LoadSettings();
    m_document = freshDocument();
    sbxPreview = new TPaperView(*m_document, this);
    setCentralWidget(sbxPreview);
    connect(sbxPreview, &TPaperView::selectionChanged, this, &TLayoutForm::ShowFocusedInRectList);
    connect(sbxPreview, &TPaperView::documentModified, this, &TLayoutForm::paperChanged);
    connect(sbxPreview, &TPaperView::zoomChanged, this,
            [this](double, const QString& text) { m_status->setText(text); });
    connect(m_view, &TDesignerViewActions::changed, this, &TLayoutForm::repaintPaper);
    connect(m_view, &TDesignerViewActions::zoomChosen, sbxPreview, &TPaperView::SetZoomIndex);
    connect(m_view->ToolBar(), &QAction::toggled, pnlToolBar, &QWidget::setVisible);
    bindEditView();
    repaintPaper();
    LoadDefaultRects(DataFolder + DefaultRectsFileName, *m_prototypes);
    UpdatePopupActions();
    AddStandardFrameMetafileNames(ProgramFolder);
    cbxViewRect->addItem(QStringLiteral("なし"));
    // Esc closes the window.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    updateActions();
}

TLayoutForm::~TLayoutForm()
{
    FormClose();
}

QAction* TLayoutForm::makeAction(const char* name, const QString& text, const QString& tip)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    if (!tip.isEmpty())
        action->setStatusTip(tip);
    return action;
}

void TLayoutForm::buildActions()
{
    auto command = [this](const char* name, const QString& text, const QString& tip, QKeySequence key,
                          void (TLayoutForm::*slot)()) {
        QAction* action = makeAction(name, text, tip);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    command("actNew", QStringLiteral("新規作成(&N)"), QStringLiteral("新しい宛名レイアウトを作成します"),
            QKeySequence(Qt::CTRL | Qt::Key_N), &TLayoutForm::actNewExecute);
    command("actOpen", QStringLiteral("開く(&O)..."), QStringLiteral("保存した宛名レイアウトを開きます"),
            QKeySequence(Qt::CTRL | Qt::Key_O), &TLayoutForm::actOpenExecute);
    command("actSave", QStringLiteral("上書き保存(&S)"), QStringLiteral("宛名レイアウトを上書き保存します"),
            QKeySequence(Qt::CTRL | Qt::Key_S), &TLayoutForm::actSaveExecute);
    command("actSaveAs", QStringLiteral("名前を付けて保存(&A)..."),
            QStringLiteral("宛名レイアウトに名前を付けて保存します"),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TLayoutForm::actSaveAsExecute);
    command("actFormat", QStringLiteral("用紙の設定(&P)..."), QStringLiteral("用紙を変更します"), {},
            &TLayoutForm::actFormatExecute);
    QAction* exit =
        makeAction("actExit", QStringLiteral("印刷の終了(&E)"), QStringLiteral("宛名印刷を終了します"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    // Shown with the document; its command belongs to the editing commands.
    QAction* sender = makeAction("actSender", QStringLiteral("差出人の表示(&S)"));
    sender->setCheckable(true);
    sender->setEnabled(false);

    // The settings commands of the focused frame's kind (editing commands: disabled here).
    for (const char* name : {"actIllustSet", "actWordEdit", "actWordSet", "actFigureSet", "actQRCodeSet"}) {
        QAction* a = makeAction(name, QString::fromLatin1(name));
        a->setEnabled(false);
        a->setVisible(false);
    }
    findChild<QAction*>(QStringLiteral("actIllustSet"))->setText(QStringLiteral("表示の設定(&V)..."));
    findChild<QAction*>(QStringLiteral("actWordEdit"))->setText(QStringLiteral("文章の編集(&E)..."));
    findChild<QAction*>(QStringLiteral("actWordSet"))->setText(QStringLiteral("文章の設定(&S)..."));
    findChild<QAction*>(QStringLiteral("actFigureSet"))->setText(QStringLiteral("図形の設定(&S)..."));
    findChild<QAction*>(QStringLiteral("actQRCodeSet"))->setText(QStringLiteral("QRコードの設定(&S)..."));

    buildCommandActions();
    buildPrintActions();
    buildEditActions();
}

void TLayoutForm::buildMenus()
{
    auto action = [this](const char* name) { return findChild<QAction*>(QString::fromLatin1(name)); };
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("mniFile"));
    file->addAction(action("actNew"));
    file->addAction(action("actOpen"));
    file->addSeparator();
    file->addAction(action("actSave"));
    file->addAction(action("actSaveAs"));
    file->addSeparator();
    file->addAction(action("actFormat"));
    file->addSeparator();
    file->addAction(action("actExit"));

    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    view->setObjectName(QStringLiteral("mniView"));
    view->addAction(m_view->ToolBar());
    view->addAction(m_view->ShowMenu());
    view->addSeparator();
    view->addAction(action("actSender"));
    m_view->AddToViewMenu(*view);
    buildCommandMenus();
    buildPrintMenus(file);
    buildEditMenus();
}

void TLayoutForm::buildToolBar()
{
    pnlToolBar = BuildDesignerToolBar(*this, *m_view);
    cbxViewRect = pnlToolBar->findChild<QComboBox*>(QStringLiteral("cbxViewRect"));
    connect(cbxViewRect, &QComboBox::activated, this, &TLayoutForm::cbxViewRectClick);
}

// ---- settings ----

void TLayoutForm::LoadSettings()
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const TDesignerWindowSettings settings = LoadDesignerWindowSettings(ini, Section, LayoutFolder);
    PlaceDesignerWindow(*this, settings, QSize(MinWidth, MinHeight));
    m_recent = settings.History;
    m_view->Load(settings);
    pnlToolBar->setVisible(m_view->ToolBar()->isChecked());
    if (TPrinterList::Instance().Count() > 0)
        m_printer = std::make_unique<TPrinterInfo>(DataRootFolder + QStringLiteral("Layout.pi"));
}

void TLayoutForm::SaveSettings()
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    TDesignerWindowSettings settings;
    TakeDesignerWindowBounds(*this, settings);
    settings.History = m_recent;
    m_view->Store(settings);
    SaveDesignerWindowSettings(ini, Section, settings);
    ini.UpdateFile();
    if (m_printer)
        m_printer->Save();
}

// ---- start, close ----

void TLayoutForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_startMenuPosted) {
        m_startMenuPosted = true;
        QTimer::singleShot(0, this, &TLayoutForm::OnStartMenu);
    }
}

void TLayoutForm::OnStartMenu()
{
    const int choice = RunDesignerStartMenu(
        *this, 0, !m_recent.isEmpty() && QFileInfo::exists(m_recent.first()), *m_view->ShowMenu());
    if (choice < 0)
        return;
    repaint();
    if (choice == 0)
        actNewExecute();
    else if (choice == 1)
        actOpenExecute();
    else
        LoadFromFile(LayoutFolder + titleOf(m_recent.first()) + QStringLiteral(".gpl"));
}

bool TLayoutForm::ConfirmSave()
{
    m_savedInConfirm = false;
    const QString& second = m_document->FileName.isEmpty() ? DiscardQuestion : RevertQuestion;
    return ConfirmDesignerSave(this, ConfirmQuestion, second, m_document->Modified, [this] {
        actSaveExecute();
        m_savedInConfirm = !m_document->Modified;
        return m_savedInConfirm;
    });
}

void TLayoutForm::closeEvent(QCloseEvent* event)
{
    if (!ConfirmSave()) {
        event->ignore();
        updateActions();
        return;
    }
    FormClose();
    QMainWindow::closeEvent(event);
}

void TLayoutForm::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_imageTool)
        m_imageTool->Close();
    SaveSettings();
    m_printer.reset();
    SaveDefaultRects(DataFolder + DefaultRectsFileName, *m_prototypes);
    ClearLayout();
    ClearFrameMetafileNames();
    if (m_sources.Detach)
        m_sources.Detach(this);
}

// ---- the layout ----

void TLayoutForm::ClearLayout()
{
    m_document->ClearLayout();
    cbxViewRect->clear();
    cbxViewRect->addItem(QStringLiteral("なし"));
    cbxViewRect->setCurrentIndex(0);
    UpdatePopupActions();
}

void TLayoutForm::emptyWindow()
{
    ClearLayout();
    m_document->DocumentOpen = false;
    layoutView();
}

void TLayoutForm::InsertIntoStacking(TDrawRect* frame, bool onlyWhenVisible)
{
    m_document->InsertIntoStacking(frame, onlyWhenVisible);
}

void TLayoutForm::RemoveFromStacking(TDrawRect* frame)
{
    m_document->RemoveFromStacking(frame);
}

void TLayoutForm::UpdateRectList()
{
    TLayoutDocument& d = *m_document;
    cbxViewRect->clear();
    auto add = [this](const QString& text, TDrawRect* frame) {
        cbxViewRect->addItem(text, QVariant::fromValue(static_cast<void*>(frame)));
    };
    cbxViewRect->addItem(QStringLiteral("なし"));
    const bool recipient = d.SenderDisplayMode == 0 || d.SenderDisplayMode == 1;
    const bool sender = d.SenderDisplayMode == 0 || d.SenderDisplayMode == 2;
    auto visible = [this](TDrawRect* frame, const QString& text) {
        if (frame->Visible())
            cbxViewRect->addItem(text, QVariant::fromValue(static_cast<void*>(frame)));
    };
    if (!d.DetailedSet) {
        const TSimpleSet& s = d.Simple();
        if (recipient) {
            add(QStringLiteral("郵便番号"), s.Postal);
            add(QStringLiteral("住所"), s.Address);
            add(QStringLiteral("名前"), s.Name);
            visible(s.Barcode, QStringLiteral("バーコード"));
        }
        if (sender) {
            add(QStringLiteral("差出人郵便番号"), s.SenderPostal);
            add(QStringLiteral("差出人住所"), s.SenderAddress);
            add(QStringLiteral("差出人名前"), s.SenderName);
            visible(s.Contacts[0], QStringLiteral("差出人連絡先１"));
            visible(s.Contacts[1], QStringLiteral("差出人連絡先２"));
        }
    } else {
        const TDetailedSet& t = d.Detailed();
        const QString digits[] = {QStringLiteral("１"), QStringLiteral("２"), QStringLiteral("３"),
                                  QStringLiteral("４")};
        const QString corp[] = {QStringLiteral("会社"), QStringLiteral("部署"), QStringLiteral("役職")};
        if (recipient) {
            visible(t.Postal, QStringLiteral("郵便番号"));
            for (int i = 0; i < 3; ++i)
                visible(t.Address[size_t(i)], QStringLiteral("住所") + digits[i]);
            visible(t.Name, QStringLiteral("名前"));
            for (int i = 0; i < 3; ++i)
                visible(t.Corp[size_t(i)], corp[i]);
            visible(t.Barcode, QStringLiteral("バーコード"));
        }
        if (sender) {
            visible(t.SenderPostal, QStringLiteral("差出人郵便番号"));
            for (int i = 0; i < 3; ++i)
                visible(t.SenderAddress[size_t(i)], QStringLiteral("差出人住所") + digits[i]);
            visible(t.SenderName, QStringLiteral("差出人名前"));
            for (int i = 0; i < 3; ++i)
                visible(t.SenderCorp[size_t(i)], QStringLiteral("差出人") + corp[i]);
            for (int i = 0; i < 4; ++i)
                visible(t.Contacts[size_t(i)], QStringLiteral("差出人連絡先") + digits[i]);
        }
    }
    const char* const kinds[] = {"イラスト", "文章", "図形", "QRコード"};
    for (int kind = 0; kind < FreeKindCount; ++kind) {
        int n = 0;
        for (const auto& frame : d.FreeFrames(kind))
            add(QString::fromUtf8(kinds[kind]) + QString::number(++n), frame.get());
    }
    cbxViewRect->setCurrentIndex(0);
}

void TLayoutForm::ShowFocusedInRectList()
{
    const TLayoutDocument& d = *m_document;
    int index = 0;
    if (d.FocusIndex >= 0 && size_t(d.FocusIndex) < d.Selection.size()) {
        const int found =
            cbxViewRect->findData(QVariant::fromValue(static_cast<void*>(d.Selection[size_t(d.FocusIndex)])));
        if (found >= 0)
            index = found;
    }
    cbxViewRect->setCurrentIndex(index);
    UpdatePopupActions();
}

void TLayoutForm::cbxViewRectClick(int index)
{
    TLayoutDocument& d = *m_document;
    auto* frame = static_cast<TDrawRect*>(cbxViewRect->itemData(index).value<void*>());
    if (!frame) {
        d.Selection.clear();
        d.FocusIndex = -1;
    } else {
        const auto it = std::find(d.Selection.begin(), d.Selection.end(), frame);
        if (it != d.Selection.end())
            d.FocusIndex = int(it - d.Selection.begin());
        else {
            d.Selection = {frame};
            d.FocusIndex = 0;
        }
    }
    UpdatePopupActions();
    repaintPaper();
}

void TLayoutForm::UpdatePopupActions()
{
    const TLayoutDocument* d = m_document.get();
    int kind = -1;
    if (d && d->FocusIndex >= 0 && size_t(d->FocusIndex) < d->Selection.size())
        kind = d->Selection[size_t(d->FocusIndex)]->GetKind();
    auto show = [this](const char* name, bool on) {
        findChild<QAction*>(QString::fromLatin1(name))->setVisible(on);
    };
    show("actIllustSet", kind == 10);
    show("actWordEdit", kind == 11);
    show("actWordSet", kind == 11);
    show("actFigureSet", kind == 12);
    show("actQRCodeSet", kind == 13);
    updateEditActions();
}

// ---- documents ----

std::unique_ptr<TLayoutDocument> TLayoutForm::freshDocument()
{
    TLayoutContext context;
    context.Printer = m_printer.get();
    context.AddressList = m_sources.AddressList.get();
    context.Senders = m_sources.Senders.get();
    context.Prototypes = m_prototypes;
    return std::make_unique<TLayoutDocument>(std::move(context));
}

void TLayoutForm::takeDocument(std::unique_ptr<TLayoutDocument> document)
{
    // The view lets go of the old document before it goes.
    std::swap(m_document, document);
    sbxPreview->SetDocument(*m_document);
    afterDocumentChange();
}

void TLayoutForm::afterDocumentChange()
{
    UpdateRectList();
    findChild<QAction*>(QStringLiteral("actSender"))
        ->setChecked(m_document->SenderDisplayMode == 0 || m_document->SenderDisplayMode == 2);
    UpdatePopupActions();
    layoutView();
    updateActions();
}

void TLayoutForm::addRecent(const QString& path)
{
    m_recent.prepend(path);
    m_rebuildRecent = true;
}

void TLayoutForm::setCaption()
{
    const TLayoutDocument& d = *m_document;
    if (!d.DocumentOpen)
        setWindowTitle(Caption);
    else if (d.FileName.isEmpty())
        setWindowTitle(Caption + QStringLiteral(" - 新規"));
    else
        setWindowTitle(Caption + QStringLiteral(" - ") + titleOf(d.FileName) +
                       (d.Modified ? QStringLiteral(" (更新)") : QString()));
}

void TLayoutForm::updateActions()
{
    const TLayoutDocument& d = *m_document;
    findChild<QAction*>(QStringLiteral("actSave"))
        ->setEnabled(d.Modified || (d.DocumentOpen && d.FileName.isEmpty()));
    findChild<QAction*>(QStringLiteral("actSaveAs"))->setEnabled(d.DocumentOpen);
    findChild<QAction*>(QStringLiteral("actFormat"))->setEnabled(d.DocumentOpen);
    updatePrintActions();
    updateEditActions();
    setCaption();
    updateCommandActions();
}

void TLayoutForm::actNewExecute()
{
    TNewLayoutDialog dialog(this);
    centre(dialog, this);
    const TLayoutDocument& d = *m_document;
    dialog.SetFormatIndex(d.DocumentOpen ? d.PaperIndex : 0);
    if (d.DocumentOpen && d.Paper.Kind == PaperEnvelope && d.SenderDisplayMode == 2)
        dialog.SetEnvelopeSide(1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    repaint();
    if (!ConfirmSave())
        return;
    TBusyCursor busy;
    auto document = freshDocument();
    document->PaperIndex = dialog.FormatIndex;
    document->Paper = dialog.Paper;
    document->Sheet = dialog.Sheet;
    document->BarcodeImpossible = dialog.NoBarcode;
    document->MaxBarcodeSize = dialog.BarcodeSize;
    if (document->Paper.Kind == PaperEnvelope)
        document->SenderDisplayMode = dialog.GetEnvelopeSide() == 1 ? 2 : 1;
    else
        document->SenderDisplayMode = document->Paper.Count1 < 5 ? 1 : 0;
    document->SetIndividualLayout(false, true);
    document->NewLayout();
    document->Modified = true;
    takeDocument(std::move(document));
}

TDesignerFiles TLayoutForm::documentFiles()
{
    return {0, m_document->Paper.Kind == PaperEnvelope ? 1 : 0, LayoutFolder, QStringLiteral(".gpl"),
            &m_rebuildRecent};
}

void TLayoutForm::actOpenExecute()
{
    QString title;
    if (!RunDesignerOpenDialog(*this, documentFiles(), m_document->FileName, title))
        return;
    const bool wasModified = m_document->Modified;
    if (!ConfirmSave())
        return;
    repaint();
    // A file that cannot be read leaves the layout as it was, unsaved changes included.
    if (!LoadFromFile(LayoutFolder + title + QStringLiteral(".gpl")) && wasModified && !m_savedInConfirm) {
        m_document->Modified = true;
        updateActions();
    }
}

void TLayoutForm::actSaveExecute()
{
    if (!m_document->FileName.isEmpty())
        SaveToFile(m_document->FileName);
    else
        actSaveAsExecute();
}

void TLayoutForm::actSaveAsExecute()
{
    if (!m_document->DocumentOpen)
        return;
    if (!RunDesignerSaveAs(*this, documentFiles(), m_document->FileName, [this] { repaintPaper(); },
                           [this](const QString& path) { return SaveToFile(path); }))
        updateActions();
}

bool TLayoutForm::LoadFromFile(const QString& path)
{
    auto document = freshDocument();
    // A layout whose paper is gone stays on the paper shown before.
    document->Paper = m_document->Paper;
    document->Sheet = m_document->Sheet;
    if (!document->LoadFromFile(path)) {
        updateActions();
        return false;
    }
    takeDocument(std::move(document));
    addRecent(path);
    updateActions();
    // The file's paper is gone (the document said so): a paper is chosen now.
    if (!m_document->PaperFound)
        actFormatExecute();
    return true;
}

void TLayoutForm::actFormatExecute()
{
    TLayoutDocument& d = *m_document;
    if (!d.DocumentOpen)
        return;
    TNewLayoutDialog dialog(this);
    dialog.SetChangeMode(1);
    dialog.SetFormatIndex(d.PaperIndex);
    if (d.SenderDisplayMode == 2)
        dialog.SetEnvelopeSide(1);
    centre(dialog, this);
    const qint32 oldIndex = d.PaperIndex;
    const quint8 oldMode = d.SenderDisplayMode;
    const QSize oldSize = d.DesignSize;
    if (dialog.exec() != QDialog::Accepted)
        return;
    TPaperFormat paper = dialog.Paper;
    quint8 mode = 0;
    if (paper.Kind == PaperEnvelope)
        mode = dialog.GetEnvelopeSide() == 1 ? 2 : 1;
    else
        mode = paper.Count1 < 5 ? 1 : 0;
    findChild<QAction*>(QStringLiteral("actSender"))->setChecked(mode == 0 || mode == 2);
    repaint();
    if (dialog.FormatIndex == oldIndex && mode == oldMode && d.PaperFound)
        return;
    TBusyCursor busy;
    d.PaperIndex = dialog.FormatIndex;
    d.Paper = paper;
    d.Sheet = dialog.Sheet;
    d.BarcodeImpossible = dialog.NoBarcode;
    d.MaxBarcodeSize = dialog.BarcodeSize;
    d.SenderDisplayMode = mode;
    d.PaperFound = true;
    const QSize newSize(TenthMmToDesign(paper.Width), TenthMmToDesign(paper.Height));
    auto fit = TLayoutDocument::TFrameFit::Keep;
    if (d.HasFreeFrames() && newSize != oldSize)
        fit = MessageBoxPos(this,
                            QStringLiteral("配置されている枠を、新しい用紙にあわせて拡大/縮小しますか？　"),
                            ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) == MsgSeam::IdYes
                  ? TLayoutDocument::TFrameFit::Scale
                  : TLayoutDocument::TFrameFit::PullInside;
    d.ChangePaper(oldSize, fit);
    afterDocumentChange();
}

bool TLayoutForm::SaveToFile(const QString& path)
{
    const bool named = !m_document->FileName.isEmpty();
    const bool saved = m_document->SaveToFile(path);
    if (saved && !named)
        addRecent(path);
    updateActions();
    return saved;
}

void TLayoutForm::RefreshData()
{
    updateCommandActions();
    if (!m_document->DocumentOpen)
        return;
    m_document->RefreshData();
    repaintPaper();
}

// ---- view ----

void TLayoutForm::paperChanged()
{
    m_document->Modified = true;
    updateActions();
}

int TLayoutForm::GridSize() const
{
    return m_view->GridSize();
}

void TLayoutForm::repaintPaper()
{
    if (!sbxPreview)
        return;
    m_view->Apply(*sbxPreview, m_printer != nullptr);
    sbxPreview->Panel()->update();
}

void TLayoutForm::layoutView()
{
    if (sbxPreview)
        sbxPreview->sbxPreviewResize();
}

// ---- the address list's road to the window ----

TLayoutForm* ShowLayoutForm(TAddressList& list)
{
    if (LayoutForm) {
        BringDesignerForward(*LayoutForm);
        return LayoutForm;
    }
    auto* window = new TLayoutForm(AddressListSources(list), &list);
    window->SetImageToolLink(new TImageToolProcess(window));
    list.AddFollower(window);
    LayoutForm = window;
    window->show();
    return window;
}

void RegisterLayoutForm()
{
    RegisterListCommand(TListCommand::LayoutPrint, [](TAddressList& list) {
        ShowLayoutForm(list);
        return TListCommandResult{};
    });
    RegisterListChild(TListChild::LayoutForm, [] { return static_cast<QWidget*>(LayoutForm.data()); });
}
