// The address list's display: the owner-data model over the engine, the row drawing, drag selection and
// the column widths of lvAddress.
#pragma once

#include "addressbook/AdrsListEngine.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>
#include <optional>

// Rows and columns as the engine shows them; a row's texts are made when the view first asks for them.
class TAdrsListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TAdrsListModel(TAdrsListEngine& engine, QObject* parent = nullptr);

    TAdrsListEngine& Engine() const { return m_engine; }
    void Reset();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    TAdrsListEngine& m_engine;
};

class TAdrsListView;

// Draws one cell: fill, text with margins, ellipsis, search-word and symbol colours.
class TAdrsListDelegate : public QStyledItemDelegate
{
public:
    explicit TAdrsListDelegate(TAdrsListView* view);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    TAdrsListView* m_view;
};

// lvAddress: multiple selection kept by the engine, whole rows, read-only, no column click.
class TAdrsListView : public QTableView, public TAdrsListViewPort
{
    Q_OBJECT
public:
    explicit TAdrsListView(TAdrsListEngine& engine, QWidget* parent = nullptr);
    ~TAdrsListView() override;

    TAdrsListEngine& Engine() const { return m_engine; }
    TAdrsListModel* ListModel() const { return m_model; }

    // The word search's word: cells holding it show in blue (yellow on a highlighted row).
    void SetSearchWord(const QString& word);
    QString SearchWord() const { return m_searchWord; }
    // [VIEW] BGColor while the record card walks the list; nothing: the window colour.
    void SetBackgroundColor(std::optional<QColor> color);
    std::optional<QColor> BackgroundColor() const { return m_background; }

    int DragAnchor() const { return m_dragAnchor; }
    int DragCurrent() const { return m_dragCurrent; }
    bool InDragRange(int row) const;

    // Where the rows are: the view row under a viewport point, and a row's rectangle.
    int RowAt(int y) const { return rowAt(y); }
    QRect RowRect(int row) const;

    // TAdrsListViewPort
    void RowsReset() override;
    void RowsRepaint() override;
    void MakeVisible(int index) override;
    int TopIndex() const override;
    void ScrollToTop(int index) override;
    int TextWidth(const QString& text) const override;

signals:
    void rowDoubleClicked(int row);             // actInquiry
    void rowsPopup(const QPoint& globalPos);    // pmAdrs
    void columnsPopup(const QPoint& globalPos); // pmColumn

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    int dragRowAt(const QPoint& globalPos);
    void endDrag(const QPoint& globalPos, bool onButtonUp);
    void applyColumnWidths();
    void moveFocus(int row, Qt::KeyboardModifiers modifiers);

    TAdrsListEngine& m_engine;
    TAdrsListModel* m_model;
    QString m_searchWord;
    std::optional<QColor> m_background;
    int m_dragAnchor = -1;
    int m_dragCurrent = -1;
    int m_dragTop = 0;            // screen y of the header's bottom edge
    int m_dragBottom = 0;         // screen y of the client bottom edge
    bool m_pendingSingle = false; // a press on a selected row selects it alone unless a drag follows
    int m_selectionAnchor = -1;   // start of shift ranges
    bool m_settingWidths = false;
};
