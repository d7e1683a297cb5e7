// What the designer windows share around their paper view: the view commands (zoom, grid, snapping,
// printable area, tool bar and start menu switches) with their settings, the start menu, and the road from
// the address list (record sources, bringing a window forward).
#pragma once

#include "designers/LayoutForm.h"

#include <QObject>

class QComboBox;
class QMainWindow;
class QWidget;
struct TLabelWindowSettings;

// The view commands of a designer window. The actions are children of the window, named as the window's
// own ("actGridNone".., "actGrid", "actPrintRange", "actAdjustGrid", "mmiShowMenu", "mmiToolBar", "mmi200"..)
// so that tests and menus find them there; cbxRatio is the tool bar's zoom combo.
class TDesignerViewActions : public QObject
{
    Q_OBJECT
public:
    explicit TDesignerViewActions(QMainWindow& window);

    QComboBox* Ratio() const { return m_ratio; }
    QAction* ShowMenu() const { return m_showMenu; }
    QAction* ToolBar() const { return m_toolBar; }
    int GridSize() const { return m_gridSize; }
    void SetGridSize(int size);
    // The "表示(&V)" entries of the view commands, after the window's own.
    void AddToViewMenu(QMenu& view);
    // Puts the zoom, grid, snapping and printable area on the view; the area shows only with a printer.
    void Apply(TPaperView& view, bool hasPrinter) const;
    void Load(const TLabelWindowSettings& settings);
    void Store(TLabelWindowSettings& settings) const;

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

// The start menu of a designer (document kind 0 address side, 1 label, 2 card): -1 when cancelled, else 0
// new, 1 open, 2 the last file. The last file is offered when it exists; without the menu shown the offer is
// taken as it is. showMenu keeps the dialog's "show next time".
int RunDesignerStartMenu(QWidget& owner, int documentKind, bool lastFileExists, QAction& showMenu);

// The address book and sender sources of a designer opened from the address list, detached when it goes.
TLayoutSources AddressListSources(TAddressList& list);
// Restores, shows and activates an existing window.
void BringDesignerForward(QWidget& window);
