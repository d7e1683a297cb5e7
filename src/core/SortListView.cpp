// Sortable list view: sort arrow in the header, sort requests from header clicks, column width reports.
#include "core/SortListView.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>

// ---------------------------------------------------------------------------------------------------------
// TListViewModel

TListViewModel::TListViewModel(QObject* parent) : QAbstractTableModel(parent) {}

void TListViewModel::SetColumns(const std::vector<TListColumn>& columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

void TListViewModel::SetColumnCaption(int column, const QString& caption)
{
    if (column < 0 || column >= int(m_columns.size()))
        return;
    m_columns[size_t(column)].Caption = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void TListViewModel::SetOwnerData(bool on)
{
    if (on == m_ownerData)
        return;
    beginResetModel();
    m_ownerData = on;
    m_keys.clear();
    m_texts.clear();
    endResetModel();
}

void TListViewModel::SetKeys(std::vector<qint64> keys)
{
    beginResetModel();
    m_keys = std::move(keys);
    m_texts.assign(m_keys.size(), std::nullopt);
    endResetModel();
}

void TListViewModel::Refresh()
{
    if (m_keys.empty())
        return;
    if (m_ownerData)
        std::fill(m_texts.begin(), m_texts.end(), std::nullopt);
    emit dataChanged(index(0, 0), index(rowCount() - 1, std::max(0, columnCount() - 1)));
}

void TListViewModel::RefreshRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    if (m_ownerData)
        m_texts[size_t(row)].reset();
    emit dataChanged(index(row, 0), index(row, std::max(0, columnCount() - 1)));
}

int TListViewModel::AddItem(const QStringList& texts, qint64 key)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_keys.push_back(key);
    m_texts.emplace_back(texts);
    endInsertRows();
    return row;
}

void TListViewModel::SetItemTexts(int row, const QStringList& texts)
{
    if (row < 0 || row >= rowCount())
        return;
    m_texts[size_t(row)] = texts;
    emit dataChanged(index(row, 0), index(row, std::max(0, columnCount() - 1)));
}

void TListViewModel::RemoveItem(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    m_keys.erase(m_keys.begin() + row);
    m_texts.erase(m_texts.begin() + row);
    endRemoveRows();
}

void TListViewModel::Clear()
{
    beginResetModel();
    m_keys.clear();
    m_texts.clear();
    endResetModel();
}

const QStringList& TListViewModel::rowTexts(int row) const
{
    auto& texts = m_texts[size_t(row)];
    if (!texts)
        texts = (m_ownerData && m_provider) ? m_provider(row, m_keys[size_t(row)]) : QStringList();
    return *texts;
}

QString TListViewModel::Text(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return rowTexts(row).value(column);
}

int TListViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_keys.size());
}

int TListViewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant TListViewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns[size_t(index.column())].Alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TListViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[size_t(section)].Caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[size_t(section)].Alignment | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TListViewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

// ---------------------------------------------------------------------------------------------------------
// TSortHeader

TSortHeader::TSortHeader(TCustomSortListView* view) : QHeaderView(Qt::Horizontal, view), m_view(view) {}

int TSortHeader::DividerAt(const QPoint& pos) const
{
    // The same grip rule the header uses to start a resize, so that our drag state matches its own.
    const int position = pos.x();
    int visual = visualIndexAt(position);
    if (visual == -1)
        return -1;
    const int logical = logicalIndex(visual);
    const int start = sectionViewportPosition(logical);
    const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    bool atLeft = position < start + grip;
    bool atRight = position > start + sectionSize(logical) - grip;
    if (isRightToLeft())
        std::swap(atLeft, atRight);
    if (atLeft) {
        while (--visual > -1) {
            const int previous = logicalIndex(visual);
            if (!isSectionHidden(previous))
                return sectionResizeMode(previous) == Interactive ? previous : -1;
        }
        return -1;
    }
    if (atRight)
        return sectionResizeMode(logical) == Interactive ? logical : -1;
    return -1;
}

void TSortHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    const TSortDir dir = m_view->SortDir();
    if (logicalIndex != m_view->SortIndex() || dir == sdNone) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    painter->save();
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    initStyleOptionForIndex(&opt, logicalIndex);
    opt.rect = rect;
    opt.sortIndicator = QStyleOptionHeader::None;
    style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);

    // The arrow sits right of the caption; caption and arrow together follow the column's alignment.
    const QPixmap& arrow = m_view->ArrowImage(dir == sdAsc ? 0 : 1);
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, &opt, this);
    const QRect inner = rect.adjusted(margin, 0, -margin, 0);
    const int room = std::max(0, inner.width() - arrow.width() - margin);
    const QString text = opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, room);
    const int textWidth = std::min(opt.fontMetrics.horizontalAdvance(text), room);
    const int block = textWidth + margin + arrow.width();
    int x = inner.left();
    if (opt.textAlignment & Qt::AlignRight)
        x = inner.right() + 1 - block;
    else if (opt.textAlignment & Qt::AlignHCenter)
        x = inner.left() + (inner.width() - block) / 2;
    x = std::max(x, inner.left());

    opt.rect = QRect(x, rect.top(), textWidth, rect.height());
    opt.text = text;
    opt.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    style()->drawControl(QStyle::CE_HeaderLabel, &opt, painter, this);
    painter->drawPixmap(x + textWidth + margin, rect.top() + (rect.height() - arrow.height()) / 2, arrow);
    painter->restore();
}

void TSortHeader::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        const int column = DividerAt(e->position().toPoint());
        if (column >= 0) {
            m_dragColumn = column;
            m_dragWidth = sectionSize(column);
        }
    }
    QHeaderView::mousePressEvent(e);
}

void TSortHeader::mouseMoveEvent(QMouseEvent* e)
{
    QHeaderView::mouseMoveEvent(e);
    if (m_dragColumn >= 0 && (e->buttons() & Qt::LeftButton) && m_view->OnDividerMouseDown)
        m_view->OnDividerMouseDown(m_view, m_dragColumn);
}

void TSortHeader::mouseReleaseEvent(QMouseEvent* e)
{
    QHeaderView::mouseReleaseEvent(e);
    if (m_dragColumn < 0 || e->button() != Qt::LeftButton)
        return;
    const int column = m_dragColumn;
    const bool changed = sectionSize(column) != m_dragWidth;
    // Every drag ends here, changed or not; a drag state left behind would hide later width changes.
    m_dragColumn = -1;
    m_dragWidth = -1;
    if (changed && m_view->OnColumnWidthChange)
        m_view->OnColumnWidthChange(m_view, column, sectionSize(column));
    if (m_view->OnDividerMouseUp)
        m_view->OnDividerMouseUp(m_view, column);
}

void TSortHeader::mouseDoubleClickEvent(QMouseEvent* e)
{
    const int column = e->button() == Qt::LeftButton ? DividerAt(e->position().toPoint()) : -1;
    if (column < 0) {
        QHeaderView::mouseDoubleClickEvent(e);
        return;
    }
    // The owner decides what a divider double click does; the view does not fit the column itself.
    e->accept();
    if (m_view->OnDividerDblClick)
        m_view->OnDividerDblClick(m_view, column);
}

// ---------------------------------------------------------------------------------------------------------
// TCustomSortListView

namespace {

QPixmap makeArrow(bool up, const QColor& color)
{
    QImage image(11, 11, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const QPolygonF triangle =
        up ? QPolygonF{{5.5, 2.0}, {10.0, 9.0}, {1.0, 9.0}} : QPolygonF{{1.0, 2.0}, {10.0, 2.0}, {5.5, 9.0}};
    p.drawPolygon(triangle);
    p.end();
    return QPixmap::fromImage(image);
}

} // namespace

TCustomSortListView::TCustomSortListView(QWidget* parent) : QTreeView(parent)
{
    m_model = new TListViewModel(this);
    m_header = new TSortHeader(this);
    setHeader(m_header);
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSortingEnabled(false);
    m_header->setSectionsClickable(true);
    m_header->setSortIndicatorShown(false);
    m_header->setSectionsMovable(false);
    m_header->setStretchLastSection(false);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const QColor arrowColor = palette().color(QPalette::Dark);
    m_arrows[0] = makeArrow(true, arrowColor);
    m_arrows[1] = makeArrow(false, arrowColor);

    connect(m_header, &QHeaderView::sectionClicked, this, &TCustomSortListView::ColumnClick);
    connect(m_header, &QHeaderView::sectionResized, this, &TCustomSortListView::headerSectionResized);
}

void TCustomSortListView::SetColumns(const std::vector<TListColumn>& columns)
{
    m_settingColumns = true;
    m_model->SetColumns(columns);
    for (int i = 0; i < int(columns.size()); ++i)
        m_header->resizeSection(i, columns[size_t(i)].Width);
    m_settingColumns = false;
    if (m_sortIndex >= ColumnCount())
        SetSortIndex(0);
    UpdateHeaders();
}

int TCustomSortListView::ColumnCount() const
{
    return m_model->columnCount();
}

int TCustomSortListView::ColumnWidth(int column) const
{
    return m_header->sectionSize(column);
}

void TCustomSortListView::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= ColumnCount())
        return;
    if (m_header->DragWidth() < 0 && ColumnWidth(column) != width && OnColumnWidthChanging) {
        bool allow = true;
        OnColumnWidthChanging(this, column, width, allow);
    }
    m_header->resizeSection(column, width);
}

void TCustomSortListView::headerSectionResized(int column, int /*oldSize*/, int newSize)
{
    if (m_settingColumns || m_header->DragWidth() >= 0)
        return;
    if (OnColumnWidthChange)
        OnColumnWidthChange(this, column, newSize);
}

TSortDir TCustomSortListView::firstAllowed() const
{
    for (TSortDir d : {sdAsc, sdDesc, sdNone})
        if (m_sortDirs.Contains(d))
            return d;
    return sdAsc;
}

void TCustomSortListView::SetSortIndex(int value)
{
    if (value < 0 || value >= ColumnCount())
        value = 0;
    if (value == m_sortIndex)
        return;
    const int old = m_sortIndex;
    m_sortIndex = value;
    m_sortDir = firstAllowed();
    if (OnSortChange)
        OnSortChange(this, old, value);
    UpdateHeaders();
}

void TCustomSortListView::SetSortDir(TSortDir value)
{
    if (value == m_sortDir || !m_sortDirs.Contains(value))
        return;
    m_sortDir = value;
    if (OnSortChange)
        OnSortChange(this, m_sortIndex, m_sortIndex);
    UpdateHeaders();
}

void TCustomSortListView::SetSortDirs(TSortDirs value)
{
    if (value.IsEmpty() || value == m_sortDirs)
        return;
    m_sortDirs = value;
    if (!m_sortDirs.Contains(m_sortDir))
        SetSortDir(firstAllowed());
}

void TCustomSortListView::ColumnClick(int column)
{
    if (column == m_sortIndex) {
        TSortDir next = m_sortDir;
        do
            next = TSortDir((int(next) + 1) % 3);
        while (!m_sortDirs.Contains(next));
        if (next == m_sortDir) {
            if (OnColumnClick)
                OnColumnClick(this, column);
            return;
        }
        m_sortDir = next;
        if (OnSortChange)
            OnSortChange(this, column, column);
    } else {
        const int old = m_sortIndex;
        m_sortIndex = column;
        m_sortDir = firstAllowed();
        if (OnSortChange)
            OnSortChange(this, old, column);
    }
    UpdateHeaders();
    if (OnColumnClick)
        OnColumnClick(this, column);
}

void TCustomSortListView::UpdateHeaders()
{
    m_header->viewport()->update();
}

const QPixmap& TCustomSortListView::ArrowImage(int index) const
{
    return m_arrows[index == 0 ? 0 : 1];
}

void TCustomSortListView::startDrag(Qt::DropActions supportedActions)
{
    if (m_showDragImage) {
        QTreeView::startDrag(supportedActions);
        return;
    }
    QModelIndexList indexes;
    const QModelIndexList selected = selectedIndexes();
    for (const QModelIndex& i : selected)
        if (model()->flags(i) & Qt::ItemIsDragEnabled)
            indexes << i;
    if (indexes.isEmpty())
        return;
    QMimeData* data = model()->mimeData(indexes);
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(supportedActions, defaultDropAction());
}
