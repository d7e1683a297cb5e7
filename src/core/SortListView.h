// Report-style list view that shows and reports a sort column and direction, and its owner-data model.
#pragma once

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPixmap>
#include <QStringList>
#include <QTreeView>

#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

enum TSortDir { sdAsc, sdDesc, sdNone };

// A set of sort directions.
class TSortDirs
{
public:
    constexpr TSortDirs() = default;
    constexpr TSortDirs(std::initializer_list<TSortDir> dirs)
    {
        for (TSortDir d : dirs)
            m_bits |= bit(d);
    }
    constexpr bool Contains(TSortDir d) const { return (m_bits & bit(d)) != 0; }
    constexpr bool IsEmpty() const { return m_bits == 0; }
    constexpr bool operator==(const TSortDirs&) const = default;

private:
    static constexpr unsigned bit(TSortDir d) { return 1u << unsigned(d); }
    unsigned m_bits = 0;
};

// One column of a list view.
struct TListColumn
{
    QString Caption;
    int Width = 100;
    Qt::Alignment Alignment = Qt::AlignLeft;
};

// Rows of a list view. In owner-data mode each row keeps only its key and the row's texts are asked of
// the text provider on first display and kept until the next refresh; otherwise rows hold their texts.
class TListViewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using TTextProvider = std::function<QStringList(int Row, qint64 Key)>;

    explicit TListViewModel(QObject* parent = nullptr);

    void SetColumns(const std::vector<TListColumn>& columns);
    const std::vector<TListColumn>& Columns() const { return m_columns; }
    void SetColumnCaption(int column, const QString& caption);

    bool OwnerData() const { return m_ownerData; }
    void SetOwnerData(bool on);
    void SetTextProvider(TTextProvider provider) { m_provider = std::move(provider); }

    // Replaces all rows by these keys (owner data) and drops every text.
    void SetKeys(std::vector<qint64> keys);
    qint64 Key(int row) const { return m_keys.at(size_t(row)); }
    const std::vector<qint64>& Keys() const { return m_keys; }
    // Drops the texts of every row (owner data) so that they are made again when shown.
    void Refresh();
    // Drops the texts of one row.
    void RefreshRow(int row);
    // Whether a row's texts have been made (owner data); for tests and diagnostics.
    bool HasTexts(int row) const { return m_texts.at(size_t(row)).has_value(); }

    // Rows that hold their own texts.
    int AddItem(const QStringList& texts, qint64 key = 0);
    void SetItemTexts(int row, const QStringList& texts);
    void RemoveItem(int row);
    void Clear();

    QString Text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const QStringList& rowTexts(int row) const;

    std::vector<TListColumn> m_columns;
    std::vector<qint64> m_keys;
    mutable std::vector<std::optional<QStringList>> m_texts;
    TTextProvider m_provider;
    bool m_ownerData = false;
};

class TCustomSortListView;

// Header of the sortable list view: draws the sort arrow and turns divider drags and double clicks into
// the view's events.
class TSortHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit TSortHeader(TCustomSortListView* view);

    // The column whose divider is at pos, or -1.
    int DividerAt(const QPoint& pos) const;
    // Width of the column whose divider is being dragged, -1 when no drag is going on.
    int DragWidth() const { return m_dragWidth; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    friend class TCustomSortListView;

    TCustomSortListView* m_view;
    int m_dragColumn = -1;
    int m_dragWidth = -1;
};

// A report-style list view with a sort column and direction. It does not sort: the owner orders its rows
// when told through OnSortChange.
class TCustomSortListView : public QTreeView
{
    Q_OBJECT
public:
    using TSortChangeEvent = std::function<void(TCustomSortListView* Sender, int OldIndex, int NewIndex)>;
    using TColumnWidthChangeEvent =
        std::function<void(TCustomSortListView* Sender, int Column, int NewWidth)>;
    using TColumnWidthChangingEvent =
        std::function<void(TCustomSortListView* Sender, int Column, int NewWidth, bool& AllowChange)>;
    using TColumnEvent = std::function<void(TCustomSortListView* Sender, int Column)>;

    explicit TCustomSortListView(QWidget* parent = nullptr);

    TListViewModel* Items() const { return m_model; }
    TSortHeader* Header() const { return m_header; }
    void SetColumns(const std::vector<TListColumn>& columns);
    int ColumnCount() const;
    int ColumnWidth(int column) const;
    // A width change made by the owner; raises OnColumnWidthChanging before and OnColumnWidthChange after.
    void SetColumnWidth(int column, int width);

    int SortIndex() const { return m_sortIndex; }
    void SetSortIndex(int value);
    TSortDir SortDir() const { return m_sortDir; }
    void SetSortDir(TSortDir value);
    TSortDirs SortDirs() const { return m_sortDirs; }
    void SetSortDirs(TSortDirs value);
    bool ShowDragImage() const { return m_showDragImage; }
    void SetShowDragImage(bool on) { m_showDragImage = on; }

    // Redraws the headers so that the sort column shows its arrow.
    void UpdateHeaders();
    // The arrow pictures, 11 x 11: 0 ascending, 1 descending.
    const QPixmap& ArrowImage(int index) const;

    // Handles a click on a column header as the user's click does.
    void ColumnClick(int column);

    TSortChangeEvent OnSortChange;
    TColumnWidthChangeEvent OnColumnWidthChange;
    TColumnWidthChangingEvent OnColumnWidthChanging;
    TColumnEvent OnDividerDblClick;
    TColumnEvent OnDividerMouseDown;
    TColumnEvent OnDividerMouseUp;
    // The list view's own column click, raised after the sort state has been handled.
    TColumnEvent OnColumnClick;

protected:
    void startDrag(Qt::DropActions supportedActions) override;

private:
    friend class TSortHeader;

    TSortDir firstAllowed() const;
    void headerSectionResized(int column, int oldSize, int newSize);

    TListViewModel* m_model;
    TSortHeader* m_header;
    int m_sortIndex = 0;
    TSortDir m_sortDir = sdAsc;
    TSortDirs m_sortDirs{sdAsc, sdDesc};
    bool m_showDragImage = false;
    bool m_settingColumns = false;
    QPixmap m_arrows[2];
};

using TSortListView = TCustomSortListView;
