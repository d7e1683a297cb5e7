// The designer windows' command states, context menu, recent files, hints and modal cooperation.
#include "designers/DesignerCommandStates.h"

#include "addressbook/AdrsListServices.h"
#include "core/ShellSub.h"
#include "designers/FrameArrange.h"
#include "designers/FrameClipboard.h"
#include "designers/PaperView.h"
#include "designers/UndoList.h"
#include "layoutobjects/MetaRect.h"
#include "platform/IniFile.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>

namespace {

constexpr int MaxRecentItems = 5;
const char* const PendingProperty = "pending";

bool isFree(int kind)
{
    return kind >= 10 && kind <= 13;
}

// The item of a context-menu name: the arrangement commands show their submenus, whose own action may be
// another object than the command.
QAction* popupItem(const QObject& window, const QString& name)
{
    for (const TArrangeCommand& parent : ArrangeMenus)
        if (name == QLatin1String(parent.name))
            if (auto* menu = window.findChild<QMenu*>(DesignerMenuName(name)))
                return menu->menuAction();
    return DesignerAction(window, name);
}

} // namespace

void FillFrameState(TDesignerState& s, const std::vector<TDrawRect*>& stacking,
                    const std::vector<TDrawRect*>& selection, int focusIndex, const TUndoList& undo)
{
    s.UndoCount = undo.Count();
    s.UndoPosition = undo.Position();
    s.SelectedCount = int(selection.size());
    const TDrawRect* focused =
        focusIndex >= 0 && size_t(focusIndex) < selection.size() ? selection[size_t(focusIndex)] : nullptr;
    s.FocusedKind = focused ? focused->GetKind() : -1;
    s.FocusedHasText = dynamic_cast<const TMetaRect*>(focused) != nullptr;
    auto selected = [&selection](const TDrawRect* frame) {
        return std::find(selection.begin(), selection.end(), frame) != selection.end();
    };
    s.TopSelected = !stacking.empty() && selected(stacking.front());
    s.BottomSelected = !stacking.empty() && selected(stacking.back());
    s.ClipboardPresent = FrameClipboard().has_value();
    s.CardWindow = ListChildWindow(TListChild::DataInquiry) != nullptr;
}

std::vector<TCommandState> DesignerCommandStates(const TDesignerState& s)
{
    const bool label = s.Window == TDesignerKind::Label;
    const bool focused = s.FocusedKind >= 0;
    const bool several = s.SelectedCount > 1;
    std::vector<TCommandState> states;
    auto set = [&states](std::initializer_list<const char*> names, bool enabled) {
        for (const char* name : names)
            states.push_back({name, enabled});
    };
    set({"actClose", "actSaveAs", "actPrintSet", "actPrint", "actIllust", "actWord", "actFigure", "actQRCode",
         "actFormat", "actDetail", "actDataForm"},
        s.DocumentOpen);
    if (label)
        set({"actAdditionSet"}, s.DocumentOpen);
    else
        set({"actBackImage", "actSenderEdit"}, s.DocumentOpen);
    set({"actSave"}, s.Modified || (s.DocumentOpen && s.FileName.isEmpty()));
    set({"actUndo"}, s.UndoPosition < s.UndoCount - 1);
    set({"actRedo"}, s.UndoPosition >= 0);
    set({"actCopy"}, s.DocumentOpen && isFree(s.FocusedKind));
    set({"actPaste"}, s.DocumentOpen && s.ClipboardPresent);
    set({"actRectPos", "actPaperCenter", "actPaperCenterH", "actPaperCenterV"}, focused);
    set({"actEqualPaperH", "actEqualPaperV", "actEqualEndsH", "actEqualEndsV", "actRectUnite", "actRectTop",
         "actRectBottom", "actRectRight", "actRectLeft", "actRectCenterV", "actRectCenterH", "actRectCenter",
         "actRectWidth", "actRectHeight", "actRectSize"},
        several);
    set({"actZOrder"}, focused);
    set({"actTop", "actUp"}, focused && !s.TopSelected);
    set({"actBottom", "actDown"}, focused && !s.BottomSelected);
    if (label)
        set({"actDelete"}, (s.FocusedKind >= 8 && s.FocusedKind <= 13) ||
                               (focused && s.FocusedKind < 8 && s.IndividualLayout));
    else
        set({"actDelete"}, focused);
    set({"actAdrsList"}, s.ListWindow);
    set({"actAdrsView"}, s.CardWindow);
    if (label) {
        const bool records = s.DocumentOpen && s.DataSource == 1 && s.RecordCount > 0;
        set({"actFirst", "actPrior"}, records && s.FirstSelected > 0);
        set({"actNext", "actLast"}, records && s.FirstSelected < s.RecordCount - 1);
        set({"actEditData"}, records);
        set({"actSenderEdit"}, s.DocumentOpen && s.DataSource == 2);
        set({"actFont"}, s.FocusedHasText);
        set({"actDefaultLayout"}, s.DocumentOpen && !isFree(s.FocusedKind));
    } else {
        set({"actSender"}, s.DocumentOpen && s.SenderCount > 0 && !s.SenderBlockShown);
    }
    return states;
}

const char* DesignerViewSetCommand(int kind)
{
    switch (kind) {
    case 10:
        return "actIllustSet";
    case 11:
        return "actWordSet";
    case 12:
        return "actFigureSet";
    case 13:
        return "actQRCodeSet";
    case 14:
        return "actSenderSet";
    default:
        return nullptr;
    }
}

QStringList DesignerPopupItems(const TDesignerState& s)
{
    const int k = s.FocusedKind;
    QStringList items;
    if (s.Window != TDesignerKind::Design) {
        const bool address = s.Window == TDesignerKind::Address;
        if (!isFree(k)) {
            items << "actFont"
                  << "actDetail"
                  << "actDataForm"
                  << "-"
                  << "actEditData"
                  << "actSenderEdit";
            if (address)
                items << "actSender"
                      << "actBarcodeSet";
            else
                items << "actAdditionSet";
            items << "-";
        }
        if (k == 10)
            items << "actIllust"
                  << "pmiIllustDef";
        if (address && k == 11)
            items << "actWordEdit";
        if (isFree(k))
            items << "pmiViewSet"
                  << "-";
        items << "actRectPos"
              << "actRectUnite"
              << "actZOrder"
              << "actDefaultLayout";
    } else {
        if (k < 0)
            items << "actBackImage"
                  << "pmiBackClear"
                  << "-"
                  << "actIllust"
                  << "actWord"
                  << "actFigure"
                  << "actQRCode"
                  << "actSender";
        else
            items << "pmiViewSet";
        if (k == 10)
            items << "pmiIllustDef";
        if (k == 14)
            items << "pmiSenderDef"
                  << "actDetail"
                  << "actDataForm"
                  << "actSenderEdit";
        items << "-"
              << "actRectPos"
              << "actRectUnite"
              << "actZOrder";
    }
    items << "-"
          << "actCopy"
          << "actPaste"
          << "actDelete";
    return items;
}

void TidyRecentFiles(QStringList& list)
{
    for (int i = int(list.size()) - 1; i > 0; --i)
        for (int j = 0; j < i; ++j)
            if (TMemIniFile::SameName(list[j], list[i])) {
                list.removeAt(i);
                break;
            }
    while (list.size() > MaxRecentItems)
        list.removeLast();
}

QString DesignerMenuName(const QString& commandName)
{
    return QStringLiteral("mni") + commandName.mid(3);
}

QMenu* AddCommandSubmenu(QMenu& parent, QAction& command)
{
    QMenu* menu = parent.addMenu(command.text());
    menu->setObjectName(DesignerMenuName(command.objectName()));
    menu->menuAction()->setEnabled(command.isEnabled());
    QObject::connect(&command, &QAction::changed, menu,
                     [menu, &command] { menu->menuAction()->setEnabled(command.isEnabled()); });
    return menu;
}

QAction* DesignerAction(const QObject& window, const QString& name)
{
    if (auto* action = window.findChild<QAction*>(name))
        return action;
    if (name.startsWith(QLatin1String("act")))
        if (auto* menu = window.findChild<QMenu*>(DesignerMenuName(name)))
            return menu->menuAction();
    return nullptr;
}

void MarkPendingCommand(QAction& action)
{
    action.setProperty(PendingProperty, true);
    action.setEnabled(false);
}

void ApplyCommandStates(const QObject& window, const std::vector<TCommandState>& states)
{
    for (const TCommandState& state : states)
        if (QAction* action = DesignerAction(window, QString::fromLatin1(state.Name)))
            action->setEnabled(state.Enabled && !action->property(PendingProperty).toBool());
}

void FillDesignerPopup(QMenu& menu, const QObject& window, const TDesignerState& s)
{
    menu.clear();
    bool separatorDue = false;
    for (const QString& name : DesignerPopupItems(s)) {
        if (name == QLatin1String("-")) {
            separatorDue = !menu.isEmpty();
            continue;
        }
        QAction* item = nullptr;
        if (name == QLatin1String("pmiViewSet")) {
            QAction* target =
                DesignerAction(window, QString::fromLatin1(DesignerViewSetCommand(s.FocusedKind)));
            if (!target)
                continue;
            item = new QAction(QStringLiteral("表示の設定"), &menu);
            item->setObjectName(name);
            item->setEnabled(target->isEnabled());
            QObject::connect(item, &QAction::triggered, target, &QAction::trigger);
        } else if (!(item = popupItem(window, name))) {
            continue;
        }
        if (separatorDue)
            menu.addSeparator();
        separatorDue = false;
        menu.addAction(item);
    }
}

// ---- recent files ----

TDesignerRecentMenu::TDesignerRecentMenu(QMainWindow& window, QStringList& list, const QString& hint,
                                         std::function<void(const QString&)> open,
                                         std::function<bool()> currentIsOpen)
    : QObject(&window), m_list(list), m_hint(hint), m_open(std::move(open)),
      m_currentIsOpen(std::move(currentIsOpen)),
      m_menu(new QMenu(QStringLiteral("最近開いたファイル(&R)"), &window))
{
    m_menu->setObjectName(QStringLiteral("mmiRecent"));
    m_menu->menuAction()->setObjectName(QStringLiteral("actRecent"));
}

void TDesignerRecentMenu::Update(bool& filesRenamed)
{
    // A changed list of the same length is rebuilt too, so that the items always name the list's files.
    if (m_menu->actions().size() != m_list.size() || filesRenamed || m_list != m_shown) {
        TidyRecentFiles(m_list);
        m_shown = m_list;
        m_menu->clear();
        for (int i = 0; i < m_list.size(); ++i) {
            QAction* item = m_menu->addAction(QStringLiteral("&%1 ").arg(i + 1) +
                                              QFileInfo(m_list[i]).completeBaseName());
            item->setStatusTip(m_hint);
            connect(item, &QAction::triggered, this, [this, i] { Click(i); });
        }
        filesRenamed = false;
    }
    // A file that went since the last rebuild shows disabled too.
    const QList<QAction*> items = m_menu->actions();
    for (int i = 0; i < items.size() && i < m_list.size(); ++i)
        items[i]->setEnabled(QFileInfo::exists(m_list[i]));
    m_menu->menuAction()->setEnabled(!m_list.isEmpty());
}

void TDesignerRecentMenu::Click(int index)
{
    const QList<QAction*> items = m_menu->actions();
    if (index < 0 || index >= items.size())
        return;
    // The first item is the open file itself.
    if (index == 0 && m_currentIsOpen())
        return;
    m_open(items[index]->text().mid(3));
}

// ---- one window's commands ----

TDesignerCommands::TDesignerCommands(QMainWindow& window, TPaperView& view, QStringList& recent,
                                     const QString& recentHint, TDesignerCommandHooks hooks)
    : QObject(&window), m_window(window), m_hooks(std::move(hooks)), m_idle(new QTimer(this))
{
    m_recent = new TDesignerRecentMenu(window, recent, recentHint, m_hooks.OpenRecent, [this] {
        const TDesignerState s = m_hooks.State();
        return s.DocumentOpen && !s.FileName.isEmpty();
    });
    if (auto* file = window.findChild<QMenu*>(QStringLiteral("mniFile"))) {
        const QList<QAction*> items = file->actions();
        const qsizetype save = items.indexOf(window.findChild<QAction*>(QStringLiteral("actSave")));
        file->insertMenu(save > 0 ? items[save - 1] : nullptr, m_recent->Menu());
    }
    m_idle->setSingleShot(true);
    m_idle->setInterval(0);
    connect(m_idle, &QTimer::timeout, this, [this] { m_hooks.Update(); });
    // Every menu shows the states of the moment; the address list may have changed meanwhile.
    for (QMenu* menu : window.menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        connect(menu, &QMenu::aboutToShow, this, [this] { m_hooks.Update(); });
    // A change of state on the paper updates at once: a key may follow before the idle pass.
    connect(&view, &TPaperView::selectionChanged, this, [this] { m_hooks.Update(); });
    connect(&view, &TPaperView::documentModified, this, [this] { m_hooks.Update(); });
    connect(&view, &TPaperView::contextMenuRequested, this, [this](const QPoint& pos) {
        if (QMenu* menu = Popup())
            menu->popup(pos);
    });
    InstallDesignerWindowFilter(window);
}

void TDesignerCommands::Apply(bool& filesRenamed)
{
    ApplyCommandStates(m_window, DesignerCommandStates(m_hooks.State()));
    m_recent->Update(filesRenamed);
}

void TDesignerCommands::Request()
{
    if (!m_idle->isActive())
        m_idle->start();
}

QMenu* TDesignerCommands::Popup()
{
    if (!m_hooks.State().DocumentOpen || !m_hooks.Editable())
        return nullptr;
    if (!m_popup) {
        m_popup = new QMenu(&m_window);
        m_popup->setObjectName(QStringLiteral("PopupMenu"));
    }
    m_hooks.Update();
    FillDesignerPopup(*m_popup, m_window, m_hooks.State());
    return m_popup;
}

// ---- hints and modal dialogs ----

namespace {

class TDesignerWindowFilter : public QObject
{
public:
    explicit TDesignerWindowFilter(QMainWindow& window) : QObject(&window), m_window(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &m_window)
            return false;
        if (event->type() == QEvent::StatusTip) {
            if (m_window.frameGeometry().contains(QCursor::pos())) {
                QString tip = static_cast<QStatusTipEvent*>(event)->tip();
                if (const qsizetype bar = tip.indexOf(u'|'); bar >= 0)
                    tip = tip.mid(bar + 1);
                if (tip.trimmed().isEmpty())
                    m_window.statusBar()->clearMessage();
                else
                    m_window.statusBar()->showMessage(tip);
            }
            return true;
        }
        if (event->type() == QEvent::WindowActivate) {
            // A modal dialog of the program stays in front of the window it blocks.
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->window() != &m_window)
                ForceForegroundWindow(modal);
        }
        return false;
    }

private:
    QMainWindow& m_window;
};

} // namespace

void InstallDesignerWindowFilter(QMainWindow& window)
{
    window.installEventFilter(new TDesignerWindowFilter(window));
}
