// The address list engine: shown rows, their order and texts, the selection, senders and notifications.
#include "addressbook/AdrsListEngine.h"

#include "core/AppSub.h"
#include "core/DBInfo.h"
#include "platform/TableEngine.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>

// ---- fixed tables ----

const std::array<TAddressSortDef, 17> AddressSortTable{{
    {"登録順", ""},
    {"顧客コード順", "CustomCode"},
    {"電話番号順", "Tel"},
    {"郵便番号順", "Pos"},
    {"住所順", "Adrs"},
    {"会社名順", "CorpKana"},
    {"従業員番号順", "EmployeeNo"},
    {"名前順", "NameKana"},
    {"キーワード１順", "Keyword1"},
    {"キーワード２順", "Keyword2"},
    {"キーワード３順", "Keyword3"},
    {"キーワード４順", "Keyword4"},
    {"キーワード５順", "Keyword5"},
    {"キーワード６順", "Keyword6"},
    {"キーワード７順", "Keyword7"},
    {"キーワード８順", "Keyword8"},
    {"カテゴリ順", "Category"},
}};

QString AddressSortCaption(int sortType, const QStringList& keywordNames)
{
    if (sortType < 0 || sortType >= int(AddressSortTable.size()))
        return {};
    if (sortType >= 8 && sortType <= 15 && sortType - 8 < keywordNames.size() &&
        !keywordNames[sortType - 8].isEmpty())
        return keywordNames[sortType - 8] + QStringLiteral("順");
    return QString::fromUtf8(AddressSortTable[size_t(sortType)].caption);
}

// ---- duplicate view ----

void SortDupliData(std::vector<TDupliData>& rows, bool byGroup)
{
    std::stable_sort(rows.begin(), rows.end(), [byGroup](const TDupliData& a, const TDupliData& b) {
        if (const int c = a.Key1.compare(b.Key1, Qt::CaseSensitive))
            return c < 0;
        const AnsiString& a2 = a.Key2 ? *a.Key2 : AnsiString();
        const AnsiString& b2 = b.Key2 ? *b.Key2 : AnsiString();
        if (const int c = a2.compare(b2, Qt::CaseSensitive))
            return c < 0;
        return byGroup && a.Group < b.Group;
    });
}

namespace {

bool GroupPasses(int viewGroup, qint32 group)
{
    if (viewGroup == 0)
        return true;
    if (viewGroup == 1)
        return group == 0;
    return group == viewGroup - 1;
}

} // namespace

std::vector<qint32> DuplicateRuns(const std::vector<TDupliData>& rows, int viewGroup)
{
    auto usable = [&](const TDupliData& r) {
        const bool filled = !r.Key1.isEmpty() || (r.Key2 && !r.Key2->isEmpty());
        return filled && GroupPasses(viewGroup, r.Group);
    };
    auto sameKeys = [](const TDupliData& a, const TDupliData& b) {
        return a.Key1 == b.Key1 && (!a.Key2 || a.Key2 == b.Key2);
    };
    std::vector<qint32> out;
    size_t i = 0;
    while (i < rows.size()) {
        const TDupliData& head = rows[i];
        if (!usable(head)) {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < rows.size() && usable(rows[j]) && sameKeys(head, rows[j]))
            ++j;
        if (j - i > 1)
            for (size_t k = i; k < j; ++k)
                out.push_back(rows[k].RecNo);
        i = j;
    }
    return out;
}

// ---- cell texts ----

namespace {

QString TrimmedField(const TAdrsRow& row, const char* name)
{
    return ToWide(TrimAnsiText(row.FieldBytes(name)));
}

QByteArray Numbered(const char* base, int n)
{
    return QByteArray(base) + QByteArray::number(n);
}

QString PhoneText(const TAdrsRow& row, const char* name, const TAdrsCellContext& context)
{
    const AnsiString digits = TrimAnsiText(row.FieldBytes(name));
    if (digits.isEmpty() || !context.Hyphenate)
        return ToWide(digits);
    return ToWide(TrimAnsiText(context.Hyphenate(digits)));
}

QString NumberText(const TAdrsRow& row, const char* name, const TAdrsCellContext& context,
                   TCellPurpose purpose)
{
    const AnsiString stored = row.FieldBytes(name);
    const QString plain = context.Decipher ? ToWide(context.Decipher(stored)) : QString();
    if (!plain.isEmpty() && context.AdminPasswordSet && !context.AdminMode)
        return purpose == TCellPurpose::WordSearch ? QString() : QString(plain.size(), QLatin1Char('*'));
    return plain;
}

QString NameText(const TAdrsRow& row, const char* name)
{
    try {
        return TrimBlanks(HexTextToWide(row.FieldBytes(name)));
    } catch (const std::exception&) {
        return {}; // a damaged stored name shows nothing rather than stopping the list
    }
}

QString DateTimeText(const TAdrsRow& row, const char* name, const char* format)
{
    const QDateTime value = row.FieldDateTime(name);
    return value.isValid() ? value.toString(QLatin1String(format)) : QString();
}

} // namespace

QString AddressListCellText(int item, const TAdrsRow& row, int position, const TAdrsCellContext& context,
                            TCellPurpose purpose)
{
    switch (item) {
    case 0:
        return QString::number(position + 1);
    case 1: {
        const qint32 group = row.FieldInt("Group");
        return group >= 1 && group <= context.GroupNames.size() ? context.GroupNames[group - 1] : QString();
    }
    case 2:
        return TrimmedField(row, "CustomCode");
    case 3:
        return PhoneText(row, "Tel", context);
    case 4:
        return row.FieldInt("TelDiv") == 3 ? QStringLiteral("代表") : QString();
    case 5:
        return PhoneText(row, "Fax", context);
    case 6: {
        const QString date = TrimmedField(row, "PubDate");
        if (date.isEmpty())
            return date;
        return date.left(4) + QStringLiteral("年") + date.mid(4, 2) + QStringLiteral("月");
    }
    case 7:
        return PhoneText(row, "Portable1", context);
    case 8:
        return PhoneText(row, "Portable2", context);
    case 9: {
        const QString pos = TrimmedField(row, "Pos");
        return pos.size() == 5 || pos.size() == 7 ? pos.left(3) + QLatin1Char('-') + pos.mid(3) : pos;
    }
    case 10:
        return TrimmedField(row, "Tdfkn") + TrimmedField(row, "Adrs1") + TrimmedField(row, "Adrs2") +
               TrimmedField(row, "Adrs3");
    case 11:
        return TrimmedField(row, "AdrsKana");
    case 12:
        return row.FieldBool("PrivCorp") ? QStringLiteral("個人") : QStringLiteral("会社");
    case 13:
        return NumberText(row, "MyNumber", context, purpose);
    case 14:
        return TrimmedField(row, "CorpKanji");
    case 15:
        return TrimmedField(row, "CorpKana");
    case 16:
        return TrimmedField(row, "Dptmnt");
    case 17:
        return TrimmedField(row, "Post");
    case 18:
        return TrimmedField(row, "EmployeeNo");
    case 19:
        return NameText(row, "NameKanji");
    case 20:
        return TrimmedField(row, "NameKana");
    case 21:
        return TrimmedField(row, "URL");
    case 22:
        return TrimmedField(row, "EMail1");
    case 23:
        return TrimmedField(row, "EMail2");
    case 24:
    case 25:
    case 26:
    case 27:
    case 28:
        return NameText(row, Numbered("Joint", item - 23).constData());
    case 29:
    case 30:
    case 31:
    case 32:
    case 33:
        return NumberText(row, Numbered("JointMyNumber", item - 28).constData(), context, purpose);
    case 34:
    case 35:
    case 36:
    case 37:
    case 38:
    case 39:
    case 40:
    case 41:
        return TrimmedField(row, Numbered("Keyword", item - 33).constData());
    case 42:
        return TrimmedField(row, "Note");
    case 43: {
        if (purpose == TCellPurpose::WordSearch)
            return {};
        const QString mark = TrimmedField(row, "SymbolMark");
        if (mark.isEmpty())
            return mark;
        const quint32 color = quint32(row.FieldInt("SymbolColor"));
        return mark + QStringLiteral(",$") +
               QStringLiteral("%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
    }
    case 44:
        return DateTimeText(row, "AddDateTime", "yyyy/MM/dd hh:mm:ss");
    case 45:
        return DateTimeText(row, "AddDateTime", "yyyy/MM/dd");
    case 46:
        return DateTimeText(row, "AddDateTime", "hh:mm:ss");
    case 47:
        return DateTimeText(row, "UpdDateTime", "yyyy/MM/dd hh:mm:ss");
    case 48:
        return DateTimeText(row, "UpdDateTime", "yyyy/MM/dd");
    case 49:
        return DateTimeText(row, "UpdDateTime", "hh:mm:ss");
    case 50:
        return context.MajorCategoryName ? TrimBlanks(context.MajorCategoryName(row.FieldInt("CodeMain")))
                                         : QString();
    case 51:
        return context.MinorCategoryName
                   ? TrimBlanks(context.MinorCategoryName(row.FieldInt("CodeMain"), row.FieldInt("CodeSub")))
                   : QString();
    default:
        return {};
    }
}

bool SplitSymbolCellText(const QString& text, QString& mark, QColor& color)
{
    const qsizetype comma = text.lastIndexOf(QStringLiteral(",$"));
    if (comma < 0) {
        mark = text;
        return false;
    }
    bool ok = false;
    const quint32 value = text.mid(comma + 2).toUInt(&ok, 16);
    mark = text.left(comma);
    if (ok)
        color = QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
    return ok;
}

// ---- the engine ----

TAdrsListEngine::TAdrsListEngine(Table& adrsTable)
    : m_table(&adrsTable), m_row(adrsTable), m_columns(DefaultAddressColumns())
{
    m_cellContext.Hyphenate = AdrsHyphenateFunc();
    m_cellContext.Decipher = AdrsDecipherFunc();
}

TAdrsListEngine::~TAdrsListEngine() = default;

void TAdrsListEngine::AddObserver(TAdrsListObserver* observer)
{
    if (observer && !m_observers.contains(observer))
        m_observers.append(observer);
}

void TAdrsListEngine::RemoveObserver(TAdrsListObserver* observer)
{
    m_observers.removeAll(observer);
}

int TAdrsListEngine::margin() const
{
    return ScaleByDpi(6, 1);
}

int TAdrsListEngine::textWidth(const QString& text) const
{
    if (m_viewPort)
        return m_viewPort->TextWidth(text);
    return QFontMetrics(QGuiApplication::font()).horizontalAdvance(text);
}

// ---- columns ----

void TAdrsListEngine::SetColumns(const TAddressColumns& columns)
{
    m_columns = columns;
}

void TAdrsListEngine::BuildColumns()
{
    m_visibleColumns.clear();
    m_columnFitWidths.clear();
    for (qsizetype i = 0; i < m_columns.size(); ++i) {
        if (!m_columns[i].shown)
            continue;
        m_visibleColumns.push_back(int(i));
        m_columnFitWidths.push_back(textWidth(VisibleColumnCaption(int(m_visibleColumns.size()) - 1)) +
                                    2 * margin());
    }
}

void TAdrsListEngine::MeasureColumnCaptions()
{
    m_columnFitWidths.assign(m_visibleColumns.size(), 0);
    for (size_t c = 0; c < m_visibleColumns.size(); ++c)
        m_columnFitWidths[c] = textWidth(VisibleColumnCaption(int(c))) + 2 * margin();
}

const TAddressColumnRec* TAdrsListEngine::visibleRec(int column) const
{
    // The records may have been replaced since the columns were built; such columns read as absent.
    if (column < 0 || column >= GetVisibleColumnCount())
        return nullptr;
    const int record = m_visibleColumns[size_t(column)];
    return record < m_columns.size() ? &m_columns[record] : nullptr;
}

int TAdrsListEngine::GetVisibleColumnItem(int column) const
{
    const TAddressColumnRec* rec = visibleRec(column);
    return rec ? rec->item : -1;
}

QString TAdrsListEngine::VisibleColumnCaption(int column) const
{
    const int item = GetVisibleColumnItem(column);
    return item < 0 ? QString() : AddressListColumnCaption(item, m_keywordNames);
}

int TAdrsListEngine::VisibleColumnWidth(int column) const
{
    const TAddressColumnRec* rec = visibleRec(column);
    return rec ? rec->width : 0;
}

int TAdrsListEngine::ColumnFitWidth(int column) const
{
    if (column < 0 || column >= int(m_columnFitWidths.size()))
        return 0;
    return m_columnFitWidths[size_t(column)];
}

void TAdrsListEngine::ColumnResized(int column, int width)
{
    if (!visibleRec(column))
        return;
    m_columns[m_visibleColumns[size_t(column)]].width = width;
    if (m_viewPort)
        m_viewPort->RowsRepaint();
}

int TAdrsListEngine::FitColumn(int column)
{
    if (!visibleRec(column))
        return 0;
    const int width = ColumnFitWidth(column);
    m_columns[m_visibleColumns[size_t(column)]].width = width;
    return width;
}

// ---- view state ----

void TAdrsListEngine::SetDuplicateItems(int first, int second)
{
    first = std::clamp(first, 0, 4);
    m_duplicateItems = {first, first == 0 ? 0 : std::clamp(second, 0, 4)};
}

void TAdrsListEngine::SetViewState(int viewGroup, int sortType, bool sortDir)
{
    m_viewGroup = std::clamp(viewGroup, 0, 11);
    m_sortType = std::clamp(sortType, 0, int(AddressSortTable.size()) - 1);
    m_sortDir = sortDir;
}

void TAdrsListEngine::changeViewAndReload()
{
    RefreshList(false, true, false);
    SelectIndex(m_currentIndex, false, true);
    for (TAdrsListObserver* o : m_observers)
        o->RefreshData();
}

void TAdrsListEngine::ChooseGroup(int viewGroup)
{
    if (viewGroup == m_viewGroup || viewGroup < 0 || viewGroup > 11)
        return;
    m_viewGroup = viewGroup;
    changeViewAndReload();
}

void TAdrsListEngine::ChooseSortType(int sortType)
{
    if (sortType == m_sortType || sortType < 0 || sortType >= int(AddressSortTable.size()))
        return;
    m_sortType = sortType;
    m_sortDir = true;
    changeViewAndReload();
}

void TAdrsListEngine::FlipSortDir()
{
    m_sortDir = !m_sortDir;
    changeViewAndReload();
}

TNarrowPanelState TAdrsListEngine::NarrowPanelState() const
{
    const bool narrowing = !m_narrowCondition.items.isEmpty();
    const bool duplicates = m_duplicateItems[0] != 0;
    if (m_disableSearch) {
        if (narrowing)
            return TNarrowPanelState::NarrowingSuspended;
        return duplicates ? TNarrowPanelState::DuplicatesSuspended : TNarrowPanelState::None;
    }
    if (narrowing)
        return TNarrowPanelState::Narrowing;
    return duplicates ? TNarrowPanelState::Duplicates : TNarrowPanelState::None;
}

QString NarrowPanelText(TNarrowPanelState state)
{
    switch (state) {
    case TNarrowPanelState::Narrowing:
        return QStringLiteral("絞り込み中");
    case TNarrowPanelState::Duplicates:
        return QStringLiteral("重複表示中");
    case TNarrowPanelState::NarrowingSuspended:
        return QStringLiteral("絞り込み無効");
    case TNarrowPanelState::DuplicatesSuspended:
        return QStringLiteral("重複表示無効");
    default:
        return {};
    }
}

QColor NarrowPanelColor(TNarrowPanelState state)
{
    switch (state) {
    case TNarrowPanelState::Narrowing:
        return QColor(175, 255, 175);
    case TNarrowPanelState::Duplicates:
        return QColor(175, 255, 255);
    case TNarrowPanelState::NarrowingSuspended:
        return QColor(143, 191, 143);
    case TNarrowPanelState::DuplicatesSuspended:
        return QColor(143, 191, 191);
    default:
        return {};
    }
}

// ---- loading ----

TNarrowDownContext TAdrsListEngine::narrowContext() const
{
    TNarrowDownContext context;
    context.disabled = m_disableSearch;
    context.adminPasswordSet = m_cellContext.AdminPasswordSet;
    context.adminMode = m_cellContext.AdminMode;
    context.decipher = m_cellContext.Decipher;
    return context;
}

bool TAdrsListEngine::passesGroup(qint32 group) const
{
    return GroupPasses(m_viewGroup, group);
}

void TAdrsListEngine::loadNormalList(Table& t, qint32 keepRecNo, std::vector<qint32>& list, int& current)
{
    current = -1;
    TAdrsTableRow row(t);
    t.setIndexName(QString::fromLatin1(AddressSortTable[size_t(m_sortType)].index));
    const bool narrowing = !m_narrowCondition.items.isEmpty() && !m_disableSearch;
    const TNarrowDownContext context = narrowContext();
    list.reserve(size_t(t.recordCount()));
    auto take = [&] {
        if (m_viewGroup != 0 && !passesGroup(row.FieldInt("Group")))
            return;
        if (narrowing && !MatchesNarrowDown(m_narrowCondition, row, context))
            return;
        const qint32 recNo = qint32(t.currentKey());
        if (recNo == keepRecNo)
            current = int(list.size());
        list.push_back(recNo);
    };
    if (m_sortDir) {
        for (t.first(); !t.eof(); t.next())
            take();
    } else {
        for (t.last(); !t.bof(); t.prior())
            take();
    }
}

void TAdrsListEngine::loadDuplicateList(Table& t, qint32 keepRecNo, std::vector<qint32>& list, int& current)
{
    if (m_disableSearch) {
        loadNormalList(t, keepRecNo, list, current);
        return;
    }
    current = -1;
    TAdrsTableRow row(t);
    t.setIndexName(QString());
    auto key = [&](int item) -> AnsiString {
        switch (item) {
        case 1:
            return row.FieldBytes("Tel");
        case 2:
            return row.FieldBytes("Tdfkn") + row.FieldBytes("Adrs1") + row.FieldBytes("Adrs2") +
                   row.FieldBytes("Adrs3");
        case 3:
            return row.FieldBytes("CorpKanji");
        case 4:
            return row.FieldBytes("NameKanji");
        default:
            return {};
        }
    };
    std::vector<TDupliData> rows;
    rows.reserve(size_t(t.recordCount()));
    for (t.first(); !t.eof(); t.next()) {
        TDupliData d;
        d.RecNo = qint32(t.currentKey());
        d.Group = row.FieldInt("Group");
        d.Key1 = key(m_duplicateItems[0]);
        if (m_duplicateItems[1] != 0)
            d.Key2 = key(m_duplicateItems[1]);
        rows.push_back(std::move(d));
    }
    SortDupliData(rows, m_viewGroup != 0);
    list = DuplicateRuns(rows, m_viewGroup);
    if (keepRecNo >= 0) {
        const auto it = std::find(list.begin(), list.end(), keepRecNo);
        if (it != list.end())
            current = int(it - list.begin());
    }
}

void TAdrsListEngine::RefreshList(bool rebuildColumns, bool reload, bool keepScroll)
{
    int top = -1;
    if (keepScroll && !m_recNoList.empty() && m_viewPort)
        top = m_viewPort->TopIndex();
    if (m_host)
        m_host->SetBusy(true);
    auto finish = [&] {
        if (m_viewPort)
            m_viewPort->RowsReset();
        if (m_host)
            m_host->ShowCounts(GetSelectedCount(), GetRecordCount());
        if (keepScroll && top >= 0 && !m_recNoList.empty() && m_viewPort)
            m_viewPort->ScrollToTop(std::min(top, GetRecordCount() - 1));
        if (m_host) {
            m_host->EnableRecordActions(!m_recNoList.empty());
            if (m_host->CardExists() && m_host->CardWalksList())
                m_host->CardUpdateNavigation();
        }
        if (m_recNoList.empty())
            for (TAdrsListObserver* o : m_observers)
                o->UpdateDataRange();
        if (m_host)
            m_host->SetBusy(false);
    };
    try {
        if (rebuildColumns)
            BuildColumns();
        else
            MeasureColumnCaptions();

        qint32 keepRecNo = -1;
        if (m_currentIndex >= 0)
            keepRecNo = GetRecNo(m_currentIndex);
        else if (m_host && m_host->CardExists())
            keepRecNo = m_host->CardLoadedRecNo();

        // Clearing the items reports a change of every row: the selection and the focus go.
        m_clearing = true;
        std::fill(m_selectionBits.begin(), m_selectionBits.end(), false);
        m_selectedCount = 0;
        m_focusedIndex = -1;
        for (auto& texts : m_rowTextCache)
            texts.reset();
        m_clearing = false;

        if (reload) {
            std::vector<qint32> list;
            int current = -1;
            m_recNoList.clear();
            m_rowTextCache.clear();
            m_selectionBits.clear();
            m_currentIndex = -1;
            // The walk gets a table object of its own, open only for the walk: it reads in blocks just the
            // fields this filter needs, and the shared object's row lookups never pay for a change of
            // index. Nothing is held open that would stand in the way of an exclusive open later.
            Table walker;
            walker.setDatabaseName(m_table->databaseName());
            walker.setTableName(m_table->tableName());
            walker.setIndexName(QString::fromLatin1(AddressSortTable[size_t(m_sortType)].index));
            walker.open();
            if (m_duplicateItems[0] == 0)
                loadNormalList(walker, keepRecNo, list, current);
            else
                loadDuplicateList(walker, keepRecNo, list, current);
            m_recNoList = std::move(list);
            m_currentIndex = current;
            m_rowTextCache.assign(m_recNoList.size(), std::nullopt);
            m_selectionBits.assign(m_recNoList.size(), false);
        }
    } catch (...) {
        m_clearing = false;
        // Whatever was loaded, the three per-row lists stay the same length.
        m_rowTextCache.assign(m_recNoList.size(), std::nullopt);
        m_selectionBits.assign(m_recNoList.size(), false);
        m_selectedCount = 0;
        finish();
        throw;
    }
    finish();
}

// ---- accessors ----

bool TAdrsListEngine::IsSelected(int index) const
{
    return index >= 0 && index < GetRecordCount() && m_selectionBits[size_t(index)];
}

void TAdrsListEngine::setBit(int index, bool on)
{
    auto bit = m_selectionBits[size_t(index)];
    if (bit == on)
        return;
    bit = on;
    m_selectedCount += on ? 1 : -1;
}

void TAdrsListEngine::SetItemSelected(int index, bool on)
{
    if (index < 0 || index >= GetRecordCount())
        return;
    if (on)
        m_focusedIndex = index;
    setBit(index, on);
    afterSelectionReport();
}

qint32 TAdrsListEngine::GetRecNo(int index) const
{
    return index >= 0 && index < GetRecordCount() ? m_recNoList[size_t(index)] : -1;
}

int TAdrsListEngine::IndexOfRecNo(qint32 recNo) const
{
    if (recNo < 0)
        return -1;
    const auto it = std::find(m_recNoList.begin(), m_recNoList.end(), recNo);
    return it == m_recNoList.end() ? -1 : int(it - m_recNoList.begin());
}

int TAdrsListEngine::GetFirstSelectedIndex() const
{
    if (m_selectedCount == 0)
        return -1;
    const auto it = std::find(m_selectionBits.begin(), m_selectionBits.end(), true);
    return it == m_selectionBits.end() ? -1 : int(it - m_selectionBits.begin());
}

int TAdrsListEngine::GetLastSelectedIndex() const
{
    if (m_selectedCount == 0)
        return -1;
    for (int i = GetRecordCount() - 1; i >= 0; --i)
        if (m_selectionBits[size_t(i)])
            return i;
    return -1;
}

void TAdrsListEngine::SetCurrentIndex(int index)
{
    if (index >= -1 && index <= GetRecordCount() - 1)
        m_currentIndex = index;
}

bool TAdrsListEngine::IsAtFirst() const
{
    return m_recNoList.empty() || m_currentIndex <= 0;
}

bool TAdrsListEngine::IsAtLast() const
{
    return m_recNoList.empty() || m_currentIndex >= GetRecordCount() - 1;
}

bool TAdrsListEngine::ReadAddressRecord(qint32 recNo, TAdrsDataRec& rec)
{
    const bool found = ::ReadAddressRecord(m_row, recNo, rec, m_host ? m_host->OwnerWindow() : nullptr,
                                           m_cellContext.Hyphenate);
    if (found)
        m_currentIndex = -1;
    return found;
}

bool TAdrsListEngine::ReadRecordAt(int index, TAdrsDataRec& rec)
{
    if (m_recNoList.empty() || index < 0 || index >= GetRecordCount())
        return false;
    if (!ReadAddressRecord(GetRecNo(index), rec))
        return false;
    m_currentIndex = index;
    SelectIndex(index, true, true);
    return true;
}

bool TAdrsListEngine::ReadFirstRecord(TAdrsDataRec& rec)
{
    return ReadRecordAt(0, rec);
}

bool TAdrsListEngine::ReadPriorRecord(TAdrsDataRec& rec)
{
    return !IsAtFirst() && ReadRecordAt(m_currentIndex - 1, rec);
}

bool TAdrsListEngine::ReadNextRecord(TAdrsDataRec& rec)
{
    return !IsAtLast() && ReadRecordAt(m_currentIndex + 1, rec);
}

bool TAdrsListEngine::ReadLastRecord(TAdrsDataRec& rec)
{
    return ReadRecordAt(GetRecordCount() - 1, rec);
}

void TAdrsListEngine::SelectIndex(int index, bool clearOthers, bool makeVisible)
{
    if (m_recNoList.empty()) {
        m_lastFirstSelected = -1;
        return;
    }
    index = std::clamp(index, 0, GetRecordCount() - 1);
    if (clearOthers && m_selectedCount > 0) {
        std::fill(m_selectionBits.begin(), m_selectionBits.end(), false);
        m_selectedCount = 0;
    }
    m_focusedIndex = index;
    setBit(index, true);
    afterSelectionReport();
    if (makeVisible && m_viewPort)
        m_viewPort->MakeVisible(index);
}

// ---- selection reports ----

void TAdrsListEngine::afterSelectionReport()
{
    if (m_host)
        m_host->ShowCounts(GetSelectedCount(), GetRecordCount());
    if (m_selectedCount > 0) {
        for (TAdrsListObserver* o : m_observers)
            o->UpdateDataRange();
        const int first = GetFirstSelectedIndex();
        if (first != m_lastFirstSelected) {
            m_lastFirstSelected = first;
            for (TAdrsListObserver* o : m_observers)
                o->RefreshData();
        }
    }
    m_nextWordIndex = -1;
    if (m_viewPort)
        m_viewPort->RowsRepaint();
}

void TAdrsListEngine::FocusIndex(int index)
{
    if (index >= -1 && index < GetRecordCount()) {
        m_focusedIndex = index;
        if (m_viewPort)
            m_viewPort->RowsRepaint();
    }
}

void TAdrsListEngine::ItemSelectionChanged(int index, bool selected)
{
    if (index < 0 || index >= GetRecordCount())
        return;
    setBit(index, selected);
    afterSelectionReport();
}

void TAdrsListEngine::AllSelectionCleared()
{
    std::fill(m_selectionBits.begin(), m_selectionBits.end(), false);
    m_selectedCount = 0;
    afterSelectionReport();
}

void TAdrsListEngine::RangeSelectionChanged(int from, int to, bool newSelected)
{
    if (m_recNoList.empty())
        return;
    if (from > to)
        std::swap(from, to);
    from = std::max(from, 0);
    to = std::min(to, GetRecordCount() - 1);
    for (int i = from; i <= to; ++i)
        setBit(i, newSelected);
    afterSelectionReport();
}

void TAdrsListEngine::SelectRange(int from, int to, int focusIndex)
{
    if (m_recNoList.empty())
        return;
    if (focusIndex >= 0 && focusIndex < GetRecordCount())
        m_focusedIndex = focusIndex;
    RangeSelectionChanged(from, to, true);
}

// ---- senders ----

void TAdrsListEngine::LoadSenderList()
{
    if (m_senderSource) {
        Table* sender = m_senderSource->OpenSender();
        if (sender) {
            m_senderList.clear();
            try {
                sender->setIndexName(QString());
                const int title = sender->fieldIndex(QStringLiteral("Title"));
                for (sender->first(); !sender->eof(); sender->next())
                    m_senderList.push_back(
                        {ToWide(TrimAnsiText(sender->field(title).asAnsi())), qint32(sender->currentKey())});
            } catch (...) {
                m_senderSource->CloseSender();
                throw;
            }
            m_senderSource->CloseSender();
        }
    }
    if (m_host && m_host->CardExists())
        m_host->CardRefreshSenders();
}

QString TAdrsListEngine::GetSenderTitle(int i) const
{
    return i >= 0 && i < GetSenderCount() ? m_senderList[size_t(i)].Title : QString();
}

qint32 TAdrsListEngine::GetSenderRecNo(int i) const
{
    return i >= 0 && i < GetSenderCount() ? m_senderList[size_t(i)].RecNo : -1;
}

bool TAdrsListEngine::SetRecordSender(qint32 recNo, qint32 senderRecNo)
{
    if (!m_row.FindRecNo(recNo))
        return false;
    Table& t = *m_table;
    t.edit();
    try {
        t.fieldByName(QStringLiteral("Sender")).setInteger(senderRecNo);
        t.post();
    } catch (const TableError&) {
        t.cancel(); // the list keeps showing the old value
        return false;
    }
    t.flushBuffers();
    if (m_host && m_host->CardExists() && m_host->CardWalksList() && m_currentIndex >= 0 &&
        GetRecNo(m_currentIndex) == recNo)
        m_host->CardSetRecordSender(senderRecNo);
    return true;
}

void TAdrsListEngine::NotifyRecordsEdited(const QList<qint32>&)
{
    for (TAdrsListObserver* o : m_observers)
        o->RefreshDataAfterEdit();
}

void TAdrsListEngine::NotifyRecordsDeleted(const QList<qint32>&)
{
    for (TAdrsListObserver* o : m_observers)
        o->RefreshDataAfterDelete();
}

// ---- row texts ----

const QStringList* TAdrsListEngine::RowTexts(int index)
{
    if (m_clearing || index < 0 || index >= GetRecordCount())
        return nullptr;
    std::optional<QStringList>& entry = m_rowTextCache[size_t(index)];
    if (entry)
        return &*entry;
    if (!m_row.FindRecNo(m_recNoList[size_t(index)]))
        return nullptr;
    QStringList texts;
    texts.reserve(GetVisibleColumnCount());
    const int m2 = 2 * margin();
    for (int c = 0; c < GetVisibleColumnCount(); ++c) {
        QString text = AddressListCellText(GetVisibleColumnItem(c), m_row, index, m_cellContext);
        if (!text.isEmpty()) {
            QString shown = text;
            QColor unused;
            if (GetVisibleColumnItem(c) == 43)
                SplitSymbolCellText(text, shown, unused);
            const int width = textWidth(shown) + m2;
            if (size_t(c) < m_columnFitWidths.size() && width > m_columnFitWidths[size_t(c)])
                m_columnFitWidths[size_t(c)] = width;
        }
        texts.append(std::move(text));
    }
    entry = std::move(texts);
    return &*entry;
}

QString TAdrsListEngine::CellText(int index, int column)
{
    const QStringList* texts = RowTexts(index);
    return texts && column >= 0 && column < texts->size() ? texts->at(column) : QString();
}

bool TAdrsListEngine::HasRowTexts(int index) const
{
    return index >= 0 && index < GetRecordCount() && m_rowTextCache[size_t(index)].has_value();
}

std::optional<QStringList> TAdrsListEngine::WordSearchTexts(int index)
{
    if (index < 0 || index >= GetRecordCount() || !m_row.FindRecNo(m_recNoList[size_t(index)]))
        return std::nullopt;
    QStringList texts;
    for (int c = 0; c < GetVisibleColumnCount(); ++c)
        texts.append(AddressListCellText(GetVisibleColumnItem(c), m_row, index, m_cellContext,
                                         TCellPurpose::WordSearch));
    return texts;
}

namespace {

class TDataModuleSenderSource : public TSenderTableSource
{
public:
    explicit TDataModuleSenderSource(TDMQuenrid215& dm) : m_dm(dm) {}
    Table* OpenSender() override { return m_dm.OpenSender() ? m_dm.SenderTable() : nullptr; }
    void CloseSender() override { m_dm.CloseSender(); }

private:
    TDMQuenrid215& m_dm;
};

} // namespace

std::unique_ptr<TSenderTableSource> DataModuleSenderSource(TDMQuenrid215& dataModule)
{
    return std::make_unique<TDataModuleSenderSource>(dataModule);
}
