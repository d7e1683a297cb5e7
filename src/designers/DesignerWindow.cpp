// The designer windows' shared view commands, start menu and address-list road.
#include "designers/DesignerWindow.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListGlue.h"
#include "core/DBInfo.h"
#include "core/MainSettings.h"
#include "core/ShellSub.h"
#include "designers/LabelDocument.h"
#include "designers/DesignerWindowSettings.h"
#include "designers/PaperView.h"
#include "layoutobjects/PrintDataDlg.h"

#include <QActionGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

namespace {

const char* const ZoomCaptions[] = {"用紙全体", "200%", "175%", "150%", "125%", "100%", "75%", "50%"};
const char* const ZoomItems[] = {"mmiPaperSize", "mmi200", "mmi175", "mmi150",
                                 "mmi125",       "mmi100", "mmi75",  "mmi50"};

} // namespace

TDesignerViewActions::TDesignerViewActions(QMainWindow& window, bool messageSide)
    : QObject(&window), m_window(window)
{
    m_grid = new QActionGroup(this);
    const char* const gridNames[] = {"actGridNone", "actGridSmall", "actGridNomal", "actGridBig"};
    const char* const gridTexts[] = {"表示しない(&N)", "小さめ(&S)", "ふつう(&O)", "大きめ(&B)"};
    for (int i = 0; i < 4; ++i) {
        QString text = QString::fromUtf8(gridTexts[i]);
        if (messageSide)
            text.chop(4);
        QAction* a = make(gridNames[i], text, false);
        m_grid->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { SetGridSize(i); });
    }
    m_gridShown = make("actGrid", QStringLiteral("グリッドの表示(&G)"), false);
    m_printRange = make("actPrintRange", QStringLiteral("印刷領域の表示(&P)"), true);
    m_adjust = make("actAdjustGrid", QStringLiteral("グリッドに合わせる(&L)"), false);
    for (QAction* a : {m_printRange, m_adjust})
        connect(a, &QAction::toggled, this, &TDesignerViewActions::changed);
    m_showMenu = make("mmiShowMenu", QStringLiteral("メニュー表示(&M)"), true);
    m_toolBar = make("mmiToolBar", QStringLiteral("ツールバー表示(&T)"), true);
    if (!messageSide)
        m_toolBar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));

    m_ratio = new QComboBox(&window);
    m_ratio->setObjectName(QStringLiteral("cbxRatio"));
    for (const char* caption : ZoomCaptions)
        m_ratio->addItem(QString::fromUtf8(caption));
    m_zoom = new QActionGroup(this);
    for (int i = 0; i < 8; ++i) {
        QAction* a =
            make(ZoomItems[i], QString::fromUtf8(i == 0 ? "用紙全体を表示" : ZoomCaptions[i]), false);
        m_zoom->addAction(a);
        connect(a, &QAction::triggered, m_ratio, [this, i] { m_ratio->setCurrentIndex(i); });
    }
    connect(m_ratio, &QComboBox::currentIndexChanged, this, [this](int index) {
        CheckZoomItem(index);
        emit zoomChosen(index);
    });
    SetGridSize(0);
}

QAction* TDesignerViewActions::make(const char* name, const QString& text, bool checked)
{
    auto* action = new QAction(text, &m_window);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

void TDesignerViewActions::SetGridSize(int size)
{
    m_gridSize = size;
    m_grid->actions().at(size)->setChecked(true);
    m_gridShown->setChecked(size != 0);
    emit changed();
}

void TDesignerViewActions::AddToViewMenu(QMenu& view)
{
    view.addAction(m_printRange);
    QMenu* grid = view.addMenu(m_gridShown->text());
    grid->setObjectName(QStringLiteral("mniGrid"));
    grid->addActions(m_grid->actions());
    view.addAction(m_adjust);
    QMenu* zoom = view.addMenu(QStringLiteral("表示倍率(&Z)"));
    zoom->setObjectName(QStringLiteral("mmiRatio"));
    zoom->addActions(m_zoom->actions());
}

QToolButton* TDesignerViewActions::MakeGridButton(QWidget& parent)
{
    auto* menu = new QMenu(&parent);
    menu->setObjectName(QStringLiteral("GridPopupMenu"));
    menu->addActions(m_grid->actions());
    auto* button = new QToolButton(&parent);
    button->setObjectName(QStringLiteral("tbtnGrid"));
    // The button follows actGrid's check; a click only drops the menu down, so the check stays the grid's.
    m_gridShown->setIconText(QStringLiteral("グリッドの表示"));
    button->setDefaultAction(m_gridShown);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    return button;
}

void TDesignerViewActions::Apply(TPaperView& view, bool hasPrinter) const
{
    view.SetZoomIndex(m_ratio->currentIndex());
    view.SetGridSize(m_gridSize);
    view.SetGridVisible(m_gridSize != 0);
    view.SetGridSnap(m_gridSize != 0 && m_adjust->isChecked());
    view.SetPrintRangeVisible(hasPrinter && m_printRange->isChecked());
}

void TDesignerViewActions::CheckZoomItem(int index)
{
    if (index >= 0 && index < m_zoom->actions().size())
        m_zoom->actions().at(index)->setChecked(true);
}

void TDesignerViewActions::Load(const TDesignerViewSettings& s)
{
    m_ratio->setCurrentIndex(s.Ratio);
    CheckZoomItem(s.Ratio);
    m_showMenu->setChecked(s.Menu);
    m_printRange->setChecked(s.PrintRange);
    m_adjust->setChecked(s.AdjustGrid);
    m_toolBar->setChecked(s.ToolBar);
    SetGridSize(s.Grid);
}

void TDesignerViewActions::Store(TDesignerViewSettings& s) const
{
    s.Ratio = qMax(0, m_zoom->actions().indexOf(m_zoom->checkedAction()));
    s.Menu = m_showMenu->isChecked();
    s.PrintRange = m_printRange->isChecked();
    s.Grid = m_gridSize;
    s.AdjustGrid = m_adjust->isChecked();
    s.ToolBar = m_toolBar->isChecked();
}

QWidget* BuildDesignerToolBar(QMainWindow& window, TDesignerViewActions& view)
{
    auto action = [&window](const char* name) { return window.findChild<QAction*>(QString::fromLatin1(name)); };
    auto* panel = new QWidget(&window);
    panel->setObjectName(QStringLiteral("pnlToolBar"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(2, 2, 2, 2);
    auto* bar = new QToolBar(panel);
    bar->setObjectName(QStringLiteral("MainToolBar"));
    for (const char* name : {"actNew", "actOpen", "actSave"})
        bar->addAction(action(name));
    row->addWidget(bar);
    auto* label = new QLabel(QStringLiteral("選択枠"), panel);
    label->setObjectName(QStringLiteral("lblItem2"));
    row->addWidget(label);
    auto* frames = new QComboBox(panel);
    frames->setObjectName(QStringLiteral("cbxViewRect"));
    frames->setMinimumWidth(140);
    row->addWidget(frames);
    view.Ratio()->setParent(panel);
    row->addWidget(view.Ratio());
    row->addStretch();
    auto* viewBar = new QToolBar(panel);
    viewBar->setObjectName(QStringLiteral("ViewToolBar"));
    viewBar->addWidget(view.MakeGridButton(*viewBar));
    row->addWidget(viewBar);
    auto* exit = new QToolBar(panel);
    exit->addAction(action("actExit"));
    row->addWidget(exit);
    auto* holder = new QToolBar(&window);
    holder->setObjectName(QStringLiteral("tbHolder"));
    holder->setMovable(false);
    holder->setFloatable(false);
    holder->toggleViewAction()->setVisible(false);
    holder->addWidget(panel);
    window.addToolBar(holder);
    QObject::connect(panel, &QObject::destroyed, holder, &QObject::deleteLater);
    window.setContextMenuPolicy(Qt::NoContextMenu);
    return panel;
}

void PlaceDesignerWindow(QMainWindow& window, const TDesignerWindowSettings& settings, QSize minimum)
{
    window.setMinimumSize(minimum);
    const QRect frame = DesignerWindowGeometry(settings, window.screen()->availableGeometry(), 0, minimum,
                                               [](int length) { return ScaleByDpi(length, 1); });
    window.resize(frame.size());
    if (settings.HasBounds())
        window.move(frame.topLeft());
    else
        CenterForm(&window);
    if (settings.Max)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void TakeDesignerWindowBounds(const QMainWindow& window, TDesignerWindowSettings& settings)
{
    const bool normal = !window.isMaximized() && !window.isMinimized();
    const QRect bounds = normal ? window.geometry() : window.normalGeometry();
    settings.Left = bounds.x();
    settings.Top = bounds.y();
    settings.Width = ScaleByDpi(bounds.width(), 0);
    settings.Height = ScaleByDpi(bounds.height(), 0);
    settings.Max = window.isMaximized();
}

int RunDesignerStartMenu(QWidget& owner, int documentKind, bool lastFileExists, QAction& showMenu)
{
    const int offer = lastFileExists ? 2 : 0;
    if (!showMenu.isChecked())
        return offer;
    TPrintMenuDialog menu(&owner);
    menu.adjustSize();
    CenterForm(&menu, &owner);
    menu.SetDocumentKind(documentKind);
    menu.SetChoice(offer);
    if (menu.exec() != QDialog::Accepted)
        return -1;
    showMenu.setChecked(menu.GetShowNextTime());
    return menu.GetChoice();
}

template <class Dialog>
bool RunDesignerFileDialog(QWidget& owner, Dialog& dialog, const QString& currentFile, QString& title,
                           bool* filesChanged)
{
    dialog.adjustSize();
    CenterForm(&dialog, &owner);
    dialog.SetCurrentFile(QFileInfo(currentFile).completeBaseName());
    const int result = dialog.exec();
    if (filesChanged)
        *filesChanged = *filesChanged || dialog.FilesChanged;
    if (result != QDialog::Accepted)
        return false;
    title = dialog.GetFileTitle();
    return true;
}

template bool RunDesignerFileDialog(QWidget&, TPrintDataOpenDialog&, const QString&, QString&, bool*);
template bool RunDesignerFileDialog(QWidget&, TPrintDataSaveDialog&, const QString&, QString&, bool*);

TLayoutSources AddressListSources(TAddressList& list)
{
    TLayoutSources sources;
    QPointer<TAddressList> guard(&list);
    if (DMQuenrid215 && DMQuenrid215->AdrsTable())
        sources.AddressList = std::make_unique<TTableAddressSource>(
            *DMQuenrid215->AdrsTable(), [guard] { return guard ? guard->GetRecordCount() : 0; },
            [guard](int index) { return guard ? guard->GetRecNo(index) : -1; },
            [guard] { return guard ? guard->GetFirstSelectedIndex() : -1; });
    if (DMQuenrid215 && DMQuenrid215->SenderTable())
        sources.Senders =
            std::make_unique<TTableSenderSource>(*DMQuenrid215->SenderTable(), LoadDefaultSender(DataFolder));
    sources.Detach = ListDetach(list);
    return sources;
}

void BringDesignerForward(QWidget& window)
{
    if (window.isMinimized())
        window.showNormal();
    window.show();
    window.raise();
    window.activateWindow();
}
