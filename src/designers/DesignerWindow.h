// What the designer windows share around their paper view: the view commands (zoom, grid, snapping,
// printable area, tool bar and start menu switches) with their settings, the window's stored bounds, the
// start menu, the open and save dialogs, and the road from the address list (record sources, bringing a
// window forward).
#pragma once

#include "designers/LayoutForm.h"

#include <QObject>

class QComboBox;
class QMainWindow;
class QToolButton;
class QWidget;
struct TDesignerViewSettings;
struct TDesignerWindowSettings;

// The view commands of a designer window. The actions are children of the window, named as the window's
// own ("actGridNone".., "actGrid", "actPrintRange", "actAdjustGrid", "mmiShowMenu", "mmiToolBar", "mmi200"..)
// so that tests and menus find them there; cbxRatio is the tool bar's zoom combo. The message-side window's
// grid items have no accelerators and its tool bar switch no short cut.
class TDesignerViewActions : public QObject
{
    Q_OBJECT
public:
    explicit TDesignerViewActions(QMainWindow& window, bool messageSide = false);

    QComboBox* Ratio() const { return m_ratio; }
    QAction* ShowMenu() const { return m_showMenu; }
    QAction* ToolBar() const { return m_toolBar; }
    int GridSize() const { return m_gridSize; }
    void SetGridSize(int size);
    // The "表示(&V)" entries of the view commands, after the window's own.
    void AddToViewMenu(QMenu& view);
    // The grid tool button "tbtnGrid": shows actGrid's check and drops down the grid sizes ("GridPopupMenu").
    QToolButton* MakeGridButton(QWidget& parent);
    // Puts the zoom, grid, snapping and printable area on the view; the area shows only with a printer.
    void Apply(TPaperView& view, bool hasPrinter) const;
    // Checks the zoom menu's item (the preview's zoom box shows while the tool bar's is hidden).
    void CheckZoomItem(int index);
    void Load(const TDesignerViewSettings& settings);
    // The zoom is the checked item of the zoom menu.
    void Store(TDesignerViewSettings& settings) const;

signals:
    // A view setting changed: the window applies it and repaints.
    void changed();
    void zoomChosen(int index);

private:
    QAction* make(const char* name, const QString& text, bool checked);

    QMainWindow& m_window;
    QActionGroup* m_zoom;
    QActionGroup* m_grid;
    QAction* m_gridShown;
    QAction* m_printRange;
    QAction* m_adjust;
    QAction* m_showMenu;
    QAction* m_toolBar;
    QComboBox* m_ratio;
    int m_gridSize = 0;
};

// The tool-bar panel "pnlToolBar" above the paper in a fixed tool bar of the window: the new, open and save
// buttons, the selected-frame box "cbxViewRect" with its label, the zoom box, the grid button of
// "ViewToolBar" and the exit button.
QWidget* BuildDesignerToolBar(QMainWindow& window, TDesignerViewActions& view);

// Sizes, places and maximises a window from its stored settings (the default size centred without bounds)
// and gives it the minimum size.
void PlaceDesignerWindow(QMainWindow& window, const TDesignerWindowSettings& settings, QSize minimum);
// The window's normal bounds in 96-dpi units and its maximised state.
void TakeDesignerWindowBounds(const QMainWindow& window, TDesignerWindowSettings& settings);

// The start menu of a designer (document kind 0 address side, 1 label, 2 card): -1 when cancelled, else 0
// new, 1 open, 2 the last file. The last file is offered when it exists; without the menu shown the offer is
// taken as it is. showMenu keeps the dialog's "show next time".
int RunDesignerStartMenu(QWidget& owner, int documentKind, bool lastFileExists, QAction& showMenu);

// Runs an open or save dialog (its file kind set) over the owner with the title of currentFile chosen; false
// when cancelled, else title is the chosen file's. filesChanged, when given, is set when files were renamed
// or deleted in the dialog.
template <class Dialog>
bool RunDesignerFileDialog(QWidget& owner, Dialog& dialog, const QString& currentFile, QString& title,
                           bool* filesChanged = nullptr);

// The address book and sender sources of a designer opened from the address list, detached when it goes.
TLayoutSources AddressListSources(TAddressList& list);
// Restores, shows and activates an existing window.
void BringDesignerForward(QWidget& window);
