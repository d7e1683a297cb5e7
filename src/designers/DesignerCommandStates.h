// What the label and design windows share in keeping their commands in step with the document: the state a
// window exposes, the enabled state of each command computed from it, the context menu's commands for the
// focused frame, the recent-files submenu, the long hints in the first status panel and the bringing forward
// of an open modal dialog.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QTimer;
class TDrawRect;
class TPaperView;
class TUndoList;

// The address window only takes its context menu from here.
enum class TDesignerKind { Label, Design, Address };

// Read by the command states; filled by each window from its document and the address list.
struct TDesignerState
{
    TDesignerKind Window = TDesignerKind::Label;
    bool DocumentOpen = false;
    bool Modified = false;
    QString FileName;
    int UndoCount = 0;
    int UndoPosition = -1; // -1 nothing undone
    int SelectedCount = 0;
    int FocusedKind = -1; // -1 no focused frame
    bool FocusedHasText = false;
    bool TopSelected = false;    // the topmost frame of the stacking is selected
    bool BottomSelected = false; // the bottommost one
    bool ClipboardPresent = false;
    bool IndividualLayout = false; // label: fixed frames placed one by one
    int DataSource = 1;            // label: 1 address book, 2 sender
    int RecordCount = 0;           // rows the address list shows
    int FirstSelected = -1;        // the address list's first selected row
    bool ListWindow = false;
    bool CardWindow = false;
    int SenderCount = 0;           // design: senders of the address list
    bool SenderBlockShown = false; // design
};

// Fills the selection, focus, stacking, undo and clipboard facts, and whether the record card is open.
void FillFrameState(TDesignerState& s, const std::vector<TDrawRect*>& stacking,
                    const std::vector<TDrawRect*>& selection, int focusIndex, const TUndoList& undo);

// The facts of a label or design document (its stacking and focus are named differently).
template <class Document>
TDesignerState DocumentState(TDesignerKind window, const Document& d, const std::vector<TDrawRect*>& stacking,
                             int focusIndex)
{
    TDesignerState s;
    s.Window = window;
    s.DocumentOpen = d.DocumentOpen;
    s.Modified = d.Modified;
    s.FileName = d.FileName;
    FillFrameState(s, stacking, d.Selection, focusIndex, d.Undo);
    return s;
}

struct TCommandState
{
    const char* Name;
    bool Enabled;
};

// Every command the state decides, with its enabled state.
std::vector<TCommandState> DesignerCommandStates(const TDesignerState& s);

// The context menu for the focused frame, in order: command names, "-" for a separator. Names beginning
// with "pmi" are the menu's own items ("pmiViewSet" runs the focused kind's settings command).
QStringList DesignerPopupItems(const TDesignerState& s);
// The settings command "pmiViewSet" runs for a kind; null for none.
const char* DesignerViewSetCommand(int kind);

// Later copies of an entry go (ASCII letter case ignored), then everything past the fifth.
void TidyRecentFiles(QStringList& list);

// The submenu name "mni…" of the command "act…".
QString DesignerMenuName(const QString& commandName);
// A submenu of parent named after the command, with its caption, enabled while the command is.
QMenu* AddCommandSubmenu(QMenu& parent, QAction& command);
// The command or submenu of that name among the window's children; null when there is none yet. Submenus
// are found by their own action's name or as the menu "mni…" of the command "act…".
QAction* DesignerAction(const QObject& window, const QString& name);
// Placeholders of commands that come later are marked and never enabled by the state pass.
void MarkPendingCommand(QAction& action);
// Sets the enabled states on the commands that exist.
void ApplyCommandStates(const QObject& window, const std::vector<TCommandState>& states);
// Fills the menu with the state's context commands that exist; "pmiViewSet" is made here.
void FillDesignerPopup(QMenu& menu, const QObject& window, const TDesignerState& s);

// The recent-files submenu "mmiRecent" (its action "actRecent") of a designer window, over the window's own
// list of paths, newest first.
class TDesignerRecentMenu : public QObject
{
public:
    // open gets the item's file name without folder and extension; currentIsOpen tells whether a document
    // with a file name is open, when the first item does nothing.
    TDesignerRecentMenu(QMainWindow& window, QStringList& list, const QString& hint,
                        std::function<void(const QString&)> open, std::function<bool()> currentIsOpen);

    QMenu* Menu() const { return m_menu; }
    void SetHint(const QString& hint) { m_hint = hint; }
    // Rebuilds the items when the list changed or when files were renamed or deleted (the flag is cleared),
    // then enables each item whose file exists.
    void Update(bool& filesRenamed);
    void Click(int index);

private:
    QStringList& m_list;
    QString m_hint;
    std::function<void(const QString&)> m_open;
    std::function<bool()> m_currentIsOpen;
    QMenu* m_menu;
    QStringList m_shown;
};

// What a window gives its command states.
struct TDesignerCommandHooks
{
    std::function<TDesignerState()> State;
    // The window's whole update: its caption and own commands, and Apply.
    std::function<void()> Update;
    // Opens a recent file by its name without folder and extension, after the save question.
    std::function<void(const QString&)> OpenRecent;
    // False while the paper cannot be edited (a preview): no context menu.
    std::function<bool()> Editable;
};

// The command states of one window: the recent-files submenu (put into the "mniFile" menu before the save
// commands), the context menu of the paper view, the update when a menu opens and once when the event loop
// idles after a change of the view's selection, and the window filter.
class TDesignerCommands : public QObject
{
public:
    TDesignerCommands(QMainWindow& window, TPaperView& view, QStringList& recent, const QString& recentHint,
                      TDesignerCommandHooks hooks);

    TDesignerRecentMenu& Recent() const { return *m_recent; }
    // Sets every command's enabled state and the recent submenu; filesRenamed is cleared once taken up.
    void Apply(bool& filesRenamed);
    // Runs the window's update once when the event loop idles, however often it is asked for before.
    void Request();
    // The context menu filled for the focused frame; null when no document can be edited.
    QMenu* Popup();

private:
    QMainWindow& m_window;
    TDesignerCommandHooks m_hooks;
    TDesignerRecentMenu* m_recent;
    QTimer* m_idle;
    QMenu* m_popup = nullptr;
};

// Writes the long part of the hints into the window's first status panel while the cursor is over the
// window, and, when the window is activated while a modal dialog is open, brings the dialog forward.
void InstallDesignerWindowFilter(QMainWindow& window);
