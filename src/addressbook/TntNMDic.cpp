// The name-reading popup, its candidate grid and its binding of DlName99a.dll.
#include "addressbook/TntNMDic.h"

#include "core/AppSub.h"
#include "platform/SystemPaths.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstring>

QPointer<TTntNameDic> NameDicPopup;

namespace {

const QString NameLibraryFile = QStringLiteral("DlName99a.dll");
constexpr int VisibleGridRows = 8;
constexpr QRgb CellLineColor = 0xC0C0C0;

QByteArray fieldText(const char* field, int size)
{
    QByteArray bytes(field, int(qstrnlen(field, uint(size))));
    // A field filled to its end may stop inside a double-byte character.
    const int last = int(bytes.size()) - 1;
    if (last >= 0 && Cp932::charStart(bytes, last) == last && Cp932::isLeadByteValue(uchar(bytes[last])))
        bytes.chop(1);
    return bytes;
}

} // namespace

// ---- library ----

int TNameDicLibrary::Load(const QString& folder)
{
    Free();
    LibraryLoader::Handle h = LibraryLoader::Load(folder, NameLibraryFile);
    if (!h)
        return LibLoadFailed;
    m_seiCount = reinterpret_cast<TDLNMCount>(LibraryLoader::Symbol(h, DLNMSeiCountName));
    m_meiCount = reinterpret_cast<TDLNMCount>(LibraryLoader::Symbol(h, DLNMMeiCountName));
    m_seiList = reinterpret_cast<TDLNMList>(LibraryLoader::Symbol(h, DLNMSeiListName));
    m_meiList = reinterpret_cast<TDLNMList>(LibraryLoader::Symbol(h, DLNMMeiListName));
    m_handle = h;
    if (!m_seiCount || !m_meiCount || !m_seiList || !m_meiList) {
        Free();
        return LibEntryMissing;
    }
    return 0;
}

void TNameDicLibrary::Free()
{
    LibraryLoader::Free(m_handle);
    m_handle = nullptr;
    m_seiCount = m_meiCount = nullptr;
    m_seiList = m_meiList = nullptr;
}

int TNameDicLibrary::Count(TNameDicKind kind, const AnsiString& reading, const QString& dicFolder,
                           int* count) const
{
    *count = 0;
    if (!m_handle)
        return LibNotLoaded;
    int32_t n = 0;
    const TDLNMCount fn = kind == nkFirst ? m_meiCount : m_seiCount;
    const int rc = fn(reading.constData(), 0, &n, QFile::encodeName(dicFolder).constData());
    *count = n;
    return rc;
}

int TNameDicLibrary::List(TNameDicKind kind, const AnsiString& reading, const QString& dicFolder,
                          std::vector<TNameCandidateRec>& records) const
{
    if (!m_handle)
        return LibNotLoaded;
    for (TNameCandidateRec& rec : records)
        std::memset(&rec, 0, sizeof rec);
    const TDLNMList fn = kind == nkFirst ? m_meiList : m_seiList;
    return fn(reading.constData(), 0, records.data(), int32_t(records.size()),
              QFile::encodeName(dicFolder).constData());
}

TNameCandidate CandidateFromRecord(const TNameCandidateRec& rec)
{
    char reading[sizeof rec.Reading];
    char word[sizeof rec.Word];
    std::memcpy(reading, rec.Reading, sizeof reading);
    std::memcpy(word, rec.Word, sizeof word);
    return {ToWide(fieldText(reading, int(sizeof reading))), ToWide(fieldText(word, int(sizeof word)))};
}

// ---- grid ----

void TNameGrid::SetCandidates(const QList<TNameCandidate>& candidates)
{
    m_rows.clear();
    m_empty = false;
    for (const TNameCandidate& c : candidates) {
        if (c.word.isEmpty())
            break; // the rest of the array was not filled
        if (m_rows.isEmpty() || c.reading != ReadingOfRow(int(m_rows.size()) - 1))
            m_rows.append(QStringList{c.reading});
        else if (m_rows.last().size() > WordsPerRow)
            m_rows.append(QStringList{QString()});
        m_rows.last().append(c.word);
    }
    m_colCount = 2;
    for (const QStringList& row : m_rows)
        m_colCount = std::max(m_colCount, int(row.size()));
    SelectNone();
}

void TNameGrid::SetEmpty()
{
    m_rows.clear();
    m_colCount = 0;
    m_empty = true;
    SelectNone();
}

QString TNameGrid::Cell(int col, int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    return m_rows[row].value(col);
}

void TNameGrid::SelectNone()
{
    m_col = 1;
    m_row = -1;
}

void TNameGrid::selectRow(int row)
{
    m_row = row;
    int col = m_rememberedCol;
    while (col > 1 && !cellFilled(col, row))
        --col;
    m_col = col;
}

TNameGrid::TKeyResult TNameGrid::HandleKey(int key, int pageRows)
{
    if (!HasSelection()) {
        if ((key == Qt::Key_Down || key == Qt::Key_PageDown) && RowCount() > 0) {
            m_row = 0;
            m_col = 1;
            m_rememberedCol = 1;
            return krUsed;
        }
        return krNotUsed;
    }
    const int last = RowCount() - 1;
    pageRows = std::max(pageRows, 1);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return cellFilled(m_col, m_row) ? krPicked : krUsed;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        if (m_row == 0) {
            SelectNone();
            m_rememberedCol = 1;
        } else {
            selectRow(key == Qt::Key_Up ? m_row - 1 : std::max(0, m_row - pageRows));
        }
        break;
    case Qt::Key_Down:
        if (m_row < last)
            selectRow(m_row + 1);
        break;
    case Qt::Key_PageDown:
        if (m_row < last)
            selectRow(std::min(last, m_row + pageRows));
        break;
    case Qt::Key_Left:
        m_col = std::max(1, m_col - 1);
        m_rememberedCol = m_col;
        break;
    case Qt::Key_Right:
        if (cellFilled(m_col + 1, m_row)) {
            ++m_col;
            m_rememberedCol = m_col;
        }
        break;
    default:
        break;
    }
    return krUsed;
}

bool TNameGrid::PressCell(int col, int row)
{
    if (col < 1 || !cellFilled(col, row))
        return false;
    m_col = col;
    m_row = row;
    m_rememberedCol = col;
    return true;
}

std::optional<TNameCandidate> TNameGrid::CurrentPick() const
{
    if (!HasSelection() || !cellFilled(m_col, m_row))
        return std::nullopt;
    return TNameCandidate{ReadingOfRow(m_row), Cell(m_col, m_row)};
}

QString TNameGrid::ReadingOfRow(int row) const
{
    for (int r = std::min(row, RowCount() - 1); r >= 0; --r) {
        if (!m_rows[r].value(0).isEmpty())
            return m_rows[r].value(0);
    }
    return {};
}

int TNameGrid::ScrollTarget(TScrollAction action, int t, int v, int r)
{
    const int maxTop = std::max(0, r - v);
    int top = t;
    switch (action) {
    case saLineUp:
        top = t == 0 ? 0 : t - 1;
        break;
    case saLineDown:
        top = t >= maxTop ? maxTop : t + 1;
        break;
    case saPageUp:
        // One row of the old page stays in view; a single visible row still moves.
        top = t - v <= 0 ? 0 : std::min(t - v + 1, t - 1);
        break;
    case saPageDown:
        top = t + v < r - v ? std::max(t + v - 1, t + 1) : maxTop;
        break;
    }
    return std::clamp(top, 0, maxTop);
}

// ---- grid view plumbing ----

class TNameGridModel : public QAbstractTableModel
{
public:
    explicit TNameGridModel(const TNameGrid* grid, QObject* parent)
        : QAbstractTableModel(parent), m_grid(grid)
    {
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_grid->RowCount();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_grid->ColCount();
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole)
            return m_grid->Cell(index.column(), index.row());
        return {};
    }
    void reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    const TNameGrid* m_grid;
};

// Draws the cells: the fixed reading column, the selected cell and the popup's own cell lines.
class TNameGridDelegate : public QStyledItemDelegate
{
public:
    explicit TNameGridDelegate(const TNameGrid* grid, QObject* parent)
        : QStyledItemDelegate(parent), m_grid(grid)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect r = option.rect;
        const QPalette& pal = option.palette;
        const bool selected = index.row() == m_grid->Row() && index.column() == m_grid->Col();
        QColor text = pal.color(QPalette::Text);
        if (index.column() == 0) {
            painter->fillRect(r, pal.button());
            text = pal.color(QPalette::ButtonText);
        } else if (selected) {
            painter->fillRect(r, pal.highlight());
            text = pal.color(QPalette::HighlightedText);
        } else {
            painter->fillRect(r, pal.base());
        }
        painter->setPen(text);
        painter->setFont(option.font);
        painter->drawText(r.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          m_grid->Cell(index.column(), index.row()));
        if (!m_grid->IsEmpty()) {
            painter->setPen(QColor(CellLineColor));
            painter->drawLine(r.topRight(), r.bottomRight());
            painter->drawLine(r.bottomLeft(), r.bottomRight());
        }
    }

private:
    const TNameGrid* m_grid;
};

// ---- popup ----

TTntNameDic::TTntNameDic(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("TntNameDic"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    m_libraryFolder = SystemPaths::ExecutableFolder();
    m_dictionaryFolder = m_libraryFolder;

    lblItem = new QLabel(QStringLiteral("姓名辞書の種類："), this);
    lblItem->setObjectName(QStringLiteral("lblItem"));
    rbLineage = new QRadioButton(QStringLiteral("姓"), this);
    rbLineage->setObjectName(QStringLiteral("rbLineage"));
    rbLineage->setProperty("Tag", 0);
    rbFirst = new QRadioButton(QStringLiteral("名"), this);
    rbFirst->setObjectName(QStringLiteral("rbFirst"));
    rbFirst->setProperty("Tag", 1);
    sbtnClose = new QToolButton(this);
    sbtnClose->setObjectName(QStringLiteral("sbtnClose"));
    sbtnClose->setText(QStringLiteral("×"));
    sbtnClose->setAutoRaise(true);
    for (QWidget* w :
         {static_cast<QWidget*>(rbLineage), static_cast<QWidget*>(rbFirst), static_cast<QWidget*>(sbtnClose)})
        w->setFocusPolicy(Qt::NoFocus);

    sgNameList = new QTableView(this);
    sgNameList->setObjectName(QStringLiteral("sgNameList"));
    m_model = new TNameGridModel(&m_grid, this);
    sgNameList->setModel(m_model);
    sgNameList->setItemDelegate(new TNameGridDelegate(&m_grid, this));
    sgNameList->horizontalHeader()->hide();
    sgNameList->verticalHeader()->hide();
    sgNameList->horizontalHeader()->setMinimumSectionSize(8);
    sgNameList->verticalHeader()->setMinimumSectionSize(8);
    sgNameList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgNameList->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgNameList->setShowGrid(false);
    sgNameList->setSelectionMode(QAbstractItemView::NoSelection);
    sgNameList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgNameList->setFocusPolicy(Qt::NoFocus);
    sgNameList->setAttribute(Qt::WA_InputMethodEnabled, false);
    sgNameList->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    sgNameList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgNameList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgNameList->setWordWrap(false);
    sgNameList->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    connect(sgNameList->verticalScrollBar(), &QScrollBar::actionTriggered, this, &TTntNameDic::scrollAction);

    tmrActive = new QTimer(this);
    tmrActive->setObjectName(QStringLiteral("tmrActive"));
    tmrActive->setInterval(100);
    connect(tmrActive, &QTimer::timeout, this, &TTntNameDic::tmrActiveTimer);

    connect(sbtnClose, &QToolButton::clicked, this, &QWidget::close);
    for (QRadioButton* rb : {rbLineage, rbFirst}) {
        connect(rb, &QRadioButton::clicked, this, [this, rb] {
            if ((rb == rbFirst) != (m_nameKind == nkFirst))
                RadioButtonClick(rb);
            else
                setRadioColors();
        });
    }

    auto* top = new QHBoxLayout;
    top->setContentsMargins(4, 0, 0, 0);
    top->setSpacing(6);
    top->addWidget(lblItem);
    top->addWidget(rbLineage);
    top->addWidget(rbFirst);
    top->addStretch(1);
    top->addWidget(sbtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(1);
    layout->addLayout(top);
    layout->addWidget(sgNameList, 1);

    NameDicPopup = this;
}

TTntNameDic::~TTntNameDic()
{
    m_library.Free();
    if (NameDicPopup == this)
        NameDicPopup = nullptr;
}

void TTntNameDic::SetFolders(const QString& libraryFolder, const QString& dictionaryFolder)
{
    m_libraryFolder = libraryFolder;
    m_dictionaryFolder = dictionaryFolder;
}

bool TTntNameDic::LoadNameLibrary()
{
    // The dictionary is optional: without it the popup simply has nothing to offer, and says nothing.
    return m_library.Load(m_libraryFolder) == 0;
}

void TTntNameDic::Initialize()
{
    LoadNameLibrary();
    installFilters(true);
    const int colWidth = ScaleByDpi(64, 1);
    const int rowHeight = QFontMetrics(sgNameList->font()).height() + 4;
    sgNameList->horizontalHeader()->setDefaultSectionSize(colWidth);
    sgNameList->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_grid.SelectNone();
    SetNameKind(nkLineage);
    m_highlightedRadio = 0;
    setRadioColors();

    const int frame = 2 * sgNameList->frameWidth();
    const int scrollBar = sgNameList->verticalScrollBar()->sizeHint().width();
    sgNameList->setFixedSize((TNameGrid::WordsPerRow + 1) * colWidth + scrollBar + frame,
                             VisibleGridRows * rowHeight + frame);
    adjustSize();
    tmrActive->start();
}

void TTntNameDic::installFilters(bool on)
{
    if (on == m_filtersInstalled)
        return;
    m_filtersInstalled = on;
    for (QObject* o : {static_cast<QObject*>(sgNameList->viewport()),
                       static_cast<QObject*>(sgNameList->verticalScrollBar())}) {
        if (on)
            o->installEventFilter(this);
        else
            o->removeEventFilter(this);
    }
}

int TTntNameDic::countCandidates(const QString& reading, TNameDicKind kind, int* result) const
{
    int n = 0;
    const int rc = m_library.Count(kind, ToAnsi(reading), m_dictionaryFolder, &n);
    if (result)
        *result = rc;
    return m_library.IsLoaded() ? n : 0;
}

int TTntNameDic::CountCandidates(const QString& reading, TNameDicKind kind) const
{
    return countCandidates(reading, kind, nullptr);
}

void TTntNameDic::ShowCandidates(int n)
{
    std::vector<TNameCandidateRec> records(size_t(std::max(n, 0)));
    if (m_library.List(m_nameKind, ToAnsi(m_reading), m_dictionaryFolder, records) != DLNM_OK) {
        close();
        return;
    }
    QList<TNameCandidate> candidates;
    candidates.reserve(qsizetype(records.size()));
    for (const TNameCandidateRec& rec : records)
        candidates.append(CandidateFromRecord(rec));
    m_grid.SetCandidates(candidates);
    refreshGrid(true);
}

void TTntNameDic::refreshGrid(bool reset)
{
    if (reset) {
        m_model->reset();
        sgNameList->scrollToTop();
    }
    sgNameList->viewport()->update();
}

int TTntNameDic::visibleRows() const
{
    const int rowHeight = std::max(1, sgNameList->verticalHeader()->defaultSectionSize());
    return std::max(1, sgNameList->viewport()->height() / rowHeight);
}

void TTntNameDic::scrollToSelection()
{
    if (m_grid.HasSelection())
        sgNameList->scrollTo(m_model->index(m_grid.Row(), m_grid.Col()), QAbstractItemView::EnsureVisible);
}

bool TTntNameDic::HandleKey(int key)
{
    const TNameGrid::TKeyResult r = m_grid.HandleKey(key, visibleRows());
    scrollToSelection();
    refreshGrid(false);
    if (r == TNameGrid::krPicked)
        pick();
    return r != TNameGrid::krNotUsed;
}

void TTntNameDic::pick()
{
    const std::optional<TNameCandidate> chosen = m_grid.CurrentPick();
    if (!chosen)
        return;
    m_chosenWord = chosen->word;
    m_reading = chosen->reading;
    if (QWidget* owner = parentWidget())
        QCoreApplication::postEvent(owner, new QEvent(MsgNameChosen));
}

void TTntNameDic::SetNameKind(TNameDicKind kind)
{
    m_nameKind = kind;
    (kind == nkFirst ? rbFirst : rbLineage)->setChecked(true);
    setRadioColors();
}

void TTntNameDic::setRadioColors()
{
    m_highlightedRadio = m_nameKind == nkFirst ? 1 : 0;
    for (QRadioButton* rb : {rbLineage, rbFirst}) {
        QPalette pal = rb->palette();
        const QColor c = rb->property("Tag").toInt() == m_highlightedRadio
                             ? m_highlightColor
                             : palette().color(QPalette::WindowText);
        pal.setColor(QPalette::WindowText, c);
        pal.setColor(QPalette::ButtonText, c);
        rb->setPalette(pal);
    }
}

void TTntNameDic::RadioButtonClick(QRadioButton* radio)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SetNameKind(radio->property("Tag").toInt() == 1 ? nkFirst : nkLineage);
    int rc = 0;
    const int n = countCandidates(m_reading, m_nameKind, &rc);
    if (rc == DLNM_OK) {
        ShowCandidates(n);
    } else if (rc == DLNM_NOT_FOUND) {
        m_grid.SetEmpty();
        refreshGrid(true);
    } else {
        close();
    }
    QApplication::restoreOverrideCursor();
}

void TTntNameDic::PlaceUnder(const QWidget* edit)
{
    move(edit->mapToGlobal(QPoint(0, edit->height())));
}

void TTntNameDic::scrollAction(int action)
{
    // Called before the slider moves: value() is still the old top row.
    QScrollBar* bar = sgNameList->verticalScrollBar();
    TNameGrid::TScrollAction a;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        a = TNameGrid::saLineUp;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        a = TNameGrid::saLineDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        a = TNameGrid::saPageUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        a = TNameGrid::saPageDown;
        break;
    default:
        return; // the thumb follows the mouse
    }
    bar->setSliderPosition(TNameGrid::ScrollTarget(a, bar->value(), visibleRows(), m_grid.RowCount()));
}

bool TTntNameDic::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == sgNameList->verticalScrollBar())
        return event->type() == QEvent::Wheel;
    if (watched != sgNameList->viewport())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton)
            return true;
        const QModelIndex index = sgNameList->indexAt(me->position().toPoint());
        if (index.isValid() && m_grid.PressCell(index.column(), index.row())) {
            refreshGrid(false);
            if (event->type() == QEvent::MouseButtonDblClick)
                pick();
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void TTntNameDic::tmrActiveTimer()
{
    const QWidget* active = QApplication::activeWindow();
    const QWidget* ownerForm = parentWidget() ? parentWidget()->window() : nullptr;
    if (!active || (ownerForm && ownerForm != active))
        close();
}

void TTntNameDic::closeEvent(QCloseEvent* event)
{
    tmrActive->stop();
    installFilters(false);
    if (NameDicPopup == this)
        NameDicPopup = nullptr;
    QWidget::closeEvent(event);
}

void TTntNameDic::paintEvent(QPaintEvent*)
{
    // A caption-less window needs its own edge to stand out from the form under it.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TTntNameDic::ConvertNeed(QWidget* ownerForm, const QWidget* edit, int editTag, TNameDicKind ownerKind,
                              bool show, const QString& value, const QColor& highlight,
                              const QString& programFolder)
{
    if (!show) {
        if (NameDicPopup)
            NameDicPopup->close();
        return;
    }
    if (!NameDicPopup) {
        auto* created = new TTntNameDic(ownerForm);
        created->SetHighlightColor(highlight);
        created->SetFolders(programFolder, programFolder + QStringLiteral("Dic/"));
        created->Initialize();
    }
    const QPointer<TTntNameDic> popup = NameDicPopup;
    const bool showing = popup->isVisible();
    const TNameDicKind kind = showing ? popup->NameKind() : ownerKind;
    const int n = popup->CountCandidates(value, kind);
    if (n <= 0) {
        popup->close();
        return;
    }
    if (!showing) {
        popup->PlaceUnder(edit);
        popup->SetNameKind(kind);
        popup->SetTag(editTag);
    }
    popup->SetReading(value);
    popup->ShowCandidates(n);
    if (popup && NameDicPopup == popup)
        popup->show();
}

bool TTntNameDic::ConvertKeyDown(int key)
{
    return NameDicPopup && NameDicPopup->HandleKey(key);
}
