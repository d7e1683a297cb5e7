// The address list's display: the owner-data model over the engine, the row drawing, drag selection and
// the column widths of lvAddress.
#include "addressbook/AdrsListDisplay.h"

#include "core/AppSub.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

// ---- model ----

TAdrsListModel::TAdrsListModel(TAdrsListEngine& engine, QObject* parent)
    : QAbstractTableModel(parent), m_engine(engine)
{
}

void TAdrsListModel::Reset()
{
    beginResetModel();
    endResetModel();
}

int TAdrsListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_engine.GetRecordCount();
}

int TAdrsListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_engine.GetVisibleColumnCount();
}

namespace {

Qt::Alignment ColumnAlignment(int item)
{
    if (item < 0 || item >= int(AddressListColumnTable.size()))
        return Qt::AlignLeft;
    switch (AddressListColumnTable[size_t(item)].alignment) {
    case TColumnAlign::Right:
        return Qt::AlignRight;
    case TColumnAlign::Center:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace

QVariant TAdrsListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const QString text = m_engine.CellText(index.row(), index.column());
        if (m_engine.GetVisibleColumnItem(index.column()) == 43) {
            QString mark;
            QColor color;
            SplitSymbolCellText(text, mark, color);
            return mark;
        }
        return text;
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ColumnAlignment(m_engine.GetVisibleColumnItem(index.column())) |
                                   Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TAdrsListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return m_engine.VisibleColumnCaption(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(ColumnAlignment(m_engine.GetVisibleColumnItem(section)) |
                                   Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TAdrsListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

// ---- delegate ----

TAdrsListDelegate::TAdrsListDelegate(TAdrsListView* view) : QStyledItemDelegate(view), m_view(view) {}

void TAdrsListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    TAdrsListEngine& engine = m_view->Engine();
    const int row = index.row();
    const bool highlighted = engine.IsSelected(row) || m_view->InDragRange(row);
    const QPalette& pal = option.palette;
    QColor fill = pal.color(QPalette::Base);
    if (highlighted)
        fill = pal.color(QPalette::Highlight);
    else if (m_view->BackgroundColor())
        fill = *m_view->BackgroundColor();
    painter->fillRect(option.rect, fill);

    QString text = engine.CellText(row, index.column());
    if (text.isEmpty())
        return;
    const int item = engine.GetVisibleColumnItem(index.column());
    QColor color;
    if (item == 43) {
        QString mark;
        if (!SplitSymbolCellText(text, mark, color))
            color = pal.color(QPalette::Text);
        text = mark;
    } else {
        const bool hit = !m_view->SearchWord().isEmpty() && text.contains(m_view->SearchWord());
        if (highlighted)
            color = hit ? QColor(Qt::yellow) : pal.color(QPalette::HighlightedText);
        else
            color = hit ? QColor(Qt::blue) : pal.color(QPalette::Text);
    }
    const int m = ScaleByDpi(6, 1);
    const QRect r = option.rect.adjusted(m, 0, -m, 0);
    if (r.width() <= 0)
        return;
    painter->save();
    painter->setPen(color);
    painter->setFont(option.font);
    const QString shown = option.fontMetrics.elidedText(text, Qt::ElideRight, r.width());
    painter->drawText(r, int(ColumnAlignment(item) | Qt::AlignVCenter | Qt::TextSingleLine), shown);
    painter->restore();
}

// ---- view ----

TAdrsListView::TAdrsListView(TAdrsListEngine& engine, QWidget* parent)
    : QTableView(parent), m_engine(engine), m_model(new TAdrsListModel(engine, this))
{
    setObjectName(QStringLiteral("lvAddress"));
    setModel(m_model);
    setItemDelegate(new TAdrsListDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection); // the engine keeps the selection
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(horizontalHeader(), &QHeaderView::customContextMenuRequested, this,
            [this](const QPoint& pos) { emit columnsPopup(horizontalHeader()->mapToGlobal(pos)); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (!m_settingWidths)
            m_engine.ColumnResized(column, width);
    });
    connect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this, [this](int column) {
        const int width = m_engine.FitColumn(column);
        m_settingWidths = true;
        horizontalHeader()->resizeSection(column, width);
        m_settingWidths = false;
        viewport()->update();
    });
    m_engine.SetViewPort(this);
}

TAdrsListView::~TAdrsListView()
{
    m_engine.SetViewPort(nullptr);
}

void TAdrsListView::SetSearchWord(const QString& word)
{
    m_searchWord = word;
    viewport()->update();
}

void TAdrsListView::SetBackgroundColor(std::optional<QColor> color)
{
    m_background = color;
    viewport()->update();
}

bool TAdrsListView::InDragRange(int row) const
{
    if (m_dragAnchor < 0 || m_dragCurrent < 0)
        return false;
    return row >= std::min(m_dragAnchor, m_dragCurrent) && row <= std::max(m_dragAnchor, m_dragCurrent);
}

QRect TAdrsListView::RowRect(int row) const
{
    if (row < 0 || row >= m_model->rowCount())
        return {};
    return QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row));
}

void TAdrsListView::applyColumnWidths()
{
    m_settingWidths = true;
    for (int c = 0; c < m_engine.GetVisibleColumnCount(); ++c)
        horizontalHeader()->resizeSection(c, m_engine.VisibleColumnWidth(c));
    m_settingWidths = false;
}

void TAdrsListView::RowsReset()
{
    m_dragAnchor = m_dragCurrent = -1;
    m_selectionAnchor = -1;
    m_model->Reset();
    applyColumnWidths();
    viewport()->update();
}

void TAdrsListView::RowsRepaint()
{
    viewport()->update();
}

void TAdrsListView::MakeVisible(int index)
{
    if (index >= 0 && index < m_model->rowCount())
        scrollTo(m_model->index(index, 0), QAbstractItemView::EnsureVisible);
}

int TAdrsListView::TopIndex() const
{
    return m_model->rowCount() == 0 ? -1 : std::max(rowAt(0), 0);
}

void TAdrsListView::ScrollToTop(int index)
{
    if (index >= 0 && index < m_model->rowCount())
        scrollTo(m_model->index(index, 0), QAbstractItemView::PositionAtTop);
}

int TAdrsListView::TextWidth(const QString& text) const
{
    return fontMetrics().horizontalAdvance(text);
}

void TAdrsListView::paintEvent(QPaintEvent* e)
{
    QTableView::paintEvent(e);
    const int focused = m_engine.GetFocusedIndex();
    if (focused < 0 || !hasFocus())
        return;
    const QRect r = RowRect(focused);
    if (!r.isValid())
        return;
    QPainter p(viewport());
    QPen pen(palette().color(QPalette::Text));
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

int TAdrsListView::dragRowAt(const QPoint& globalPos)
{
    const int count = m_model->rowCount();
    if (count == 0)
        return -1;
    const int rowHeightPx = std::max(1, verticalHeader()->defaultSectionSize());
    if (globalPos.y() < m_dragTop) {
        const int steps = (m_dragTop - globalPos.y() + rowHeightPx - 1) / rowHeightPx;
        verticalScrollBar()->setValue(verticalScrollBar()->value() - steps);
        return TopIndex();
    }
    if (globalPos.y() > m_dragBottom) {
        const int steps = (globalPos.y() - m_dragBottom + rowHeightPx - 1) / rowHeightPx;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + steps);
        const int visible = viewport()->height() / rowHeightPx;
        return std::min(TopIndex() + std::max(visible, 1) - 1, count - 1);
    }
    const QPoint local =
        viewport()->mapFromGlobal(QPoint(viewport()->mapToGlobal(QPoint(8, 0)).x(), globalPos.y()));
    const int row = rowAt(local.y());
    return row >= 0 ? row : m_dragCurrent;
}

void TAdrsListView::mousePressEvent(QMouseEvent* e)
{
    setFocus(Qt::MouseFocusReason);
    const int count = m_engine.GetRecordCount();
    if (count > 0 && m_engine.GetSelectedCount() == 0 && m_engine.GetFocusedIndex() >= 0)
        m_engine.SetItemSelected(m_engine.GetFocusedIndex(), true);

    const int row = rowAt(e->position().toPoint().y());
    if (e->button() == Qt::RightButton) {
        if (row >= 0 && !m_engine.IsSelected(row))
            m_engine.SelectIndex(row, true, false);
        emit rowsPopup(e->globalPosition().toPoint());
        return;
    }
    if (e->button() != Qt::LeftButton)
        return;
    const Qt::KeyboardModifiers mods = e->modifiers();
    if (row < 0) {
        if (!(mods & Qt::ControlModifier) && m_engine.GetSelectedCount() > 0)
            m_engine.AllSelectionCleared();
        return;
    }
    m_pendingSingle = false;
    if (mods & Qt::ShiftModifier) {
        const int anchor =
            m_selectionAnchor >= 0 ? m_selectionAnchor : std::max(m_engine.GetFocusedIndex(), 0);
        if (!(mods & Qt::ControlModifier) && m_engine.GetSelectedCount() > 0)
            m_engine.AllSelectionCleared();
        m_engine.SelectRange(anchor, row, row);
        m_selectionAnchor = anchor;
    } else if (mods & Qt::ControlModifier) {
        m_engine.FocusIndex(row);
        m_engine.ItemSelectionChanged(row, !m_engine.IsSelected(row));
        m_selectionAnchor = row;
    } else if (m_engine.IsSelected(row)) {
        // A selection being dragged on stays; a plain click ends with this row alone.
        m_engine.FocusIndex(row);
        m_pendingSingle = true;
        m_selectionAnchor = row;
    } else {
        m_engine.SelectIndex(row, true, false);
        m_selectionAnchor = row;
    }
    m_dragAnchor = m_dragCurrent = row;
    const QRect header = horizontalHeader()->isVisible() ? horizontalHeader()->geometry() : QRect();
    m_dragTop = mapToGlobal(QPoint(0, header.isValid() ? header.bottom() : viewport()->geometry().top())).y();
    m_dragBottom = viewport()->mapToGlobal(QPoint(0, viewport()->height())).y();
    // Qt keeps delivering the moves to this view while the button is held: no explicit capture.
}

void TAdrsListView::mouseMoveEvent(QMouseEvent* e)
{
    if (m_dragAnchor < 0)
        return;
    if (!(e->buttons() & Qt::LeftButton)) { // the release went elsewhere
        endDrag(e->globalPosition().toPoint(), false);
        return;
    }
    const int row = dragRowAt(e->globalPosition().toPoint());
    if (row >= 0) {
        if (row != m_dragAnchor)
            m_pendingSingle = false;
        m_dragCurrent = row;
        m_engine.FocusIndex(row);
    }
    viewport()->update();
}

void TAdrsListView::endDrag(const QPoint& globalPos, bool onButtonUp)
{
    const int row = dragRowAt(globalPos);
    if (row >= 0)
        m_dragCurrent = row;
    const int anchor = m_dragAnchor;
    const int current = m_dragCurrent;
    m_dragAnchor = m_dragCurrent = -1;
    if (current >= 0 && (!onButtonUp || anchor != current)) {
        m_engine.SelectRange(anchor, current, current);
    } else if (m_pendingSingle && anchor >= 0) {
        m_engine.SelectIndex(anchor, true, false);
    } else if (current >= 0) {
        m_engine.FocusIndex(current);
    }
    m_pendingSingle = false;
    viewport()->update();
}

void TAdrsListView::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && m_dragAnchor >= 0)
        endDrag(e->globalPosition().toPoint(), true);
}

void TAdrsListView::mouseDoubleClickEvent(QMouseEvent* e)
{
    const int row = rowAt(e->position().toPoint().y());
    if (e->button() == Qt::LeftButton && row >= 0)
        emit rowDoubleClicked(row);
}

void TAdrsListView::moveFocus(int row, Qt::KeyboardModifiers modifiers)
{
    const int count = m_engine.GetRecordCount();
    if (count == 0)
        return;
    row = std::clamp(row, 0, count - 1);
    if (modifiers & Qt::ShiftModifier) {
        const int anchor =
            m_selectionAnchor >= 0 ? m_selectionAnchor : std::max(m_engine.GetFocusedIndex(), 0);
        if (m_engine.GetSelectedCount() > 0)
            m_engine.AllSelectionCleared();
        m_engine.SelectRange(anchor, row, row);
        m_selectionAnchor = anchor;
    } else if (modifiers & Qt::ControlModifier) {
        m_engine.FocusIndex(row);
    } else {
        m_engine.SelectIndex(row, true, false);
        m_selectionAnchor = row;
    }
    MakeVisible(row);
}

void TAdrsListView::keyPressEvent(QKeyEvent* e)
{
    const int focused = m_engine.GetFocusedIndex();
    const int page =
        std::max(1, viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()) - 1);
    const Qt::KeyboardModifiers mods = e->modifiers();
    switch (e->key()) {
    case Qt::Key_Up:
        moveFocus(focused < 0 ? 0 : focused - 1, mods);
        break;
    case Qt::Key_Down:
        moveFocus(focused < 0 ? 0 : focused + 1, mods);
        break;
    case Qt::Key_PageUp:
        moveFocus(focused - page, mods);
        break;
    case Qt::Key_PageDown:
        moveFocus(focused + page, mods);
        break;
    case Qt::Key_Home:
        moveFocus(0, mods);
        break;
    case Qt::Key_End:
        moveFocus(m_engine.GetRecordCount() - 1, mods);
        break;
    case Qt::Key_Space:
        if ((mods & Qt::ControlModifier) && focused >= 0)
            m_engine.ItemSelectionChanged(focused, !m_engine.IsSelected(focused));
        break;
    case Qt::Key_A:
        if ((mods & Qt::ControlModifier) && m_engine.GetRecordCount() > 0) {
            m_engine.RangeSelectionChanged(0, m_engine.GetRecordCount() - 1, true);
            break;
        }
        QTableView::keyPressEvent(e);
        break;
    default:
        QTableView::keyPressEvent(e);
    }
}
