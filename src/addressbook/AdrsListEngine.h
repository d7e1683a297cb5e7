// The address list engine: which rows of Adrs.DB the list shows and in which order, their texts, the
// selection, the sender list, and what the list tells the other windows.
#pragma once

#include "addressbook/AdrsTableRow.h"
#include "addressbook/HdrSel.h"
#include "addressbook/NarrowDown.h"

#include <QColor>
#include <QList>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class Table;
class QWidget;

// The column records in display order (TAddressColumnRec, DefaultAddressColumns: the column choice).
using TAddressColumns = QList<TAddressColumnRec>;

// One sort order of the list: its caption and the Adrs.DB index that orders the rows.
struct TAddressSortDef
{
    const char* caption; // UTF-8
    const char* index;   // empty: the primary key
};
extern const std::array<TAddressSortDef, 17> AddressSortTable;
// The caption in the sort drop-down: keyword orders take the user's keyword name followed by "順".
QString AddressSortCaption(int sortType, const QStringList& keywordNames);

// One row of the duplicate view.
struct TDupliData
{
    qint32 RecNo = 0;
    qint32 Group = 0;
    AnsiString Key1;
    std::optional<AnsiString> Key2; // absent when only one item is chosen
};
// Stable: by key 1, then key 2 (bytes, with case), then by group when byGroup; equal rows keep their order.
void SortDupliData(std::vector<TDupliData>& rows, bool byGroup);
// The RecNo of every row that has a partner, run by run (see the duplicate view).
std::vector<qint32> DuplicateRuns(const std::vector<TDupliData>& sortedRows, int viewGroup);

// What the cell texts need besides the row.
struct TAdrsCellContext
{
    QStringList GroupNames; // groups 1 to 10
    bool AdminPasswordSet = false;
    bool AdminMode = false;
    THyphenateFunc Hyphenate;
    TDecipherFunc Decipher;
    std::function<QString(int major)> MajorCategoryName;
    std::function<QString(int major, int minor)> MinorCategoryName;
};

enum class TCellPurpose {
    Display,    // what the list shows
    WordSearch, // masked numbers and the symbol column are empty
};

// The text of one item of AddressListColumnTable for the current row; position is the row's list index.
// The symbol column's display text is the mark, "," and "$" with the colour's eight hexadecimal digits.
QString AddressListCellText(int item, const TAdrsRow& row, int position, const TAdrsCellContext& context,
                            TCellPurpose purpose = TCellPurpose::Display);
// The symbol column's display text split into the mark and its colour (red in the low byte).
bool SplitSymbolCellText(const QString& text, QString& mark, QColor& color);

// Other windows that follow the list: the address print and label windows (RefreshData*), the address
// copy, the text and mark exports and the list printing (UpdateDataRange).
class TAdrsListObserver
{
public:
    virtual ~TAdrsListObserver() = default;
    virtual void RefreshData() {}
    virtual void RefreshDataAfterEdit() {}
    virtual void RefreshDataAfterDelete() {}
    virtual void UpdateDataRange() {}
};

// The list's window and the record card as the engine calls them.
class TAdrsListHost
{
public:
    virtual ~TAdrsListHost() = default;
    virtual QWidget* OwnerWindow() const { return nullptr; }
    // Status panels 3 and 4 and the eleven actions that need rows.
    virtual void ShowCounts(int selected, int shown) { (void)selected, (void)shown; }
    virtual void EnableRecordActions(bool on) { (void)on; }
    virtual void SetBusy(bool on) { (void)on; }
    // The record card: whether it exists, whether it walks the address list, its loaded RecNo.
    virtual bool CardExists() const { return false; }
    virtual bool CardWalksList() const { return false; }
    virtual qint32 CardLoadedRecNo() const { return -1; }
    virtual void CardUpdateNavigation() {}
    virtual void CardRefreshSenders() {}
    virtual void CardSetRecordSender(qint32 senderRecNo) { (void)senderRecNo; }
};

// The list widget as the engine drives it.
class TAdrsListViewPort
{
public:
    virtual ~TAdrsListViewPort() = default;
    virtual void RowsReset() = 0;   // row count or columns changed
    virtual void RowsRepaint() = 0; // selection, focus or texts changed
    virtual void MakeVisible(int index) = 0;
    virtual int TopIndex() const = 0; // -1 when empty
    virtual void ScrollToTop(int index) = 0;
    virtual int TextWidth(const QString& text) const = 0;
};

// Opens and closes Sender.DB through the data module.
class TSenderTableSource
{
public:
    virtual ~TSenderTableSource() = default;
    virtual Table* OpenSender() = 0; // null when it cannot be opened (the data module has said why)
    virtual void CloseSender() = 0;
};

struct TSenderEntry
{
    QString Title;
    qint32 RecNo = -1;
};

enum class TNarrowPanelState { None, Narrowing, Duplicates, NarrowingSuspended, DuplicatesSuspended };
// Status panel 2: its text and background for a state (empty text: nothing drawn).
QString NarrowPanelText(TNarrowPanelState state);
QColor NarrowPanelColor(TNarrowPanelState state);

class TAdrsListEngine
{
public:
    explicit TAdrsListEngine(Table& adrsTable);
    ~TAdrsListEngine();
    TAdrsListEngine(const TAdrsListEngine&) = delete;
    TAdrsListEngine& operator=(const TAdrsListEngine&) = delete;

    Table& AdrsTable() const { return *m_table; }
    TAdrsTableRow& AdrsRow() { return m_row; }

    // ---- wiring ----
    void SetHost(TAdrsListHost* host) { m_host = host; }
    void SetViewPort(TAdrsListViewPort* viewPort) { m_viewPort = viewPort; }
    void SetSenderSource(TSenderTableSource* source) { m_senderSource = source; }
    void AddObserver(TAdrsListObserver* observer);
    void RemoveObserver(TAdrsListObserver* observer);

    // ---- settings the texts and the filter read ----
    TAdrsCellContext& CellContext() { return m_cellContext; }
    const TAdrsCellContext& CellContext() const { return m_cellContext; }
    void SetKeywordNames(const QStringList& names) { m_keywordNames = names; }
    const QStringList& KeywordNames() const { return m_keywordNames; }
    // actDisableSearch: suspends the narrowing and the duplicate view.
    bool DisableSearch() const { return m_disableSearch; }
    void SetDisableSearch(bool on) { m_disableSearch = on; }

    // ---- columns ----
    const TAddressColumns& Columns() const { return m_columns; }
    void SetColumns(const TAddressColumns& columns); // takes effect with the next column rebuild
    void BuildColumns();
    void MeasureColumnCaptions();
    int GetVisibleColumnCount() const { return int(m_visibleColumns.size()); }
    int GetVisibleColumnItem(int column) const; // -1 outside
    QString VisibleColumnCaption(int column) const;
    int VisibleColumnWidth(int column) const;
    int ColumnFitWidth(int column) const;
    // The user resized a list-view column; the divider double click sets it to its fit width.
    void ColumnResized(int column, int width);
    int FitColumn(int column);

    // ---- what is shown ----
    int ViewGroup() const { return m_viewGroup; }
    int SortType() const { return m_sortType; }
    bool SortDir() const { return m_sortDir; }
    const TNarrowDownCondition& NarrowCondition() const { return m_narrowCondition; }
    std::array<int, 2> DuplicateItems() const { return m_duplicateItems; }
    // The state alone; the caller refreshes.
    void SetNarrowCondition(const TNarrowDownCondition& condition) { m_narrowCondition = condition; }
    void SetDuplicateItems(int first, int second);
    void SetViewState(int viewGroup, int sortType, bool sortDir);
    // The user's choices: store, reload, keep the current row selected and visible, tell the designers.
    void ChooseGroup(int viewGroup);
    void ChooseSortType(int sortType); // also sets the direction to ascending
    void FlipSortDir();
    TNarrowPanelState NarrowPanelState() const;

    void RefreshList(bool rebuildColumns, bool reload, bool keepScroll);

    // ---- accessors of the other windows ----
    int GetRecordCount() const { return int(m_recNoList.size()); }
    int GetSelectedCount() const { return m_selectedCount; }
    bool IsSelected(int index) const;
    void SetItemSelected(int index, bool on);
    qint32 GetRecNo(int index) const;
    int IndexOfRecNo(qint32 recNo) const;
    int GetFocusedIndex() const { return m_focusedIndex; }
    int GetFirstSelectedIndex() const;
    int GetLastSelectedIndex() const;
    int CurrentIndex() const { return m_currentIndex; }
    void SetCurrentIndex(int index);
    bool IsAtFirst() const;
    bool IsAtLast() const;
    bool ReadAddressRecord(qint32 recNo, TAdrsDataRec& rec);
    // A row whose record another user deleted is dropped by reloading the list: reading it shows the
    // unreadable-record message, the card's moves pass over it.
    bool ReadRecordAt(int index, TAdrsDataRec& rec);
    bool ReadFirstRecord(TAdrsDataRec& rec);
    bool ReadPriorRecord(TAdrsDataRec& rec);
    bool ReadNextRecord(TAdrsDataRec& rec);
    bool ReadLastRecord(TAdrsDataRec& rec);
    void SelectIndex(int index, bool clearOthers, bool makeVisible);
    const std::vector<qint32>& RecNoList() const { return m_recNoList; }

    // ---- the list view's selection reports ----
    void FocusIndex(int index); // moves the focus only
    void ItemSelectionChanged(int index, bool selected);
    void AllSelectionCleared();
    // An owner-data range change: the rows from..to take newSelected (deselecting clears them).
    void RangeSelectionChanged(int from, int to, bool newSelected);
    // A drag selection ends: the rows join the existing selection, the focus goes to focusIndex.
    void SelectRange(int from, int to, int focusIndex);

    // ---- senders ----
    void LoadSenderList();
    int GetSenderCount() const { return int(m_senderList.size()); }
    QString GetSenderTitle(int i) const;
    qint32 GetSenderRecNo(int i) const;
    bool SetRecordSender(qint32 recNo, qint32 senderRecNo);

    // Deletes the rows of these RecNo values from the shared table in batched transactions; progress gets
    // the number handled so far after each batch. A row already gone counts as neither.
    struct TDeleteResult
    {
        QList<qint32> deleted;
        int failed = 0;
    };
    static constexpr int DeleteBatchSize = 500;
    TDeleteResult DeleteRecords(const QList<qint32>& recNos,
                                const std::function<void(int done)>& progress = {});

    void NotifyRecordsEdited(const QList<qint32>& recNos);
    void NotifyRecordsDeleted(const QList<qint32>& recNos);

    // ---- row texts ----
    // The texts of the list-view columns of a row, made on first request; null when the row is outside
    // the list, the list is being cleared, or its record has vanished.
    const QStringList* RowTexts(int index);
    QString CellText(int index, int column);
    bool HasRowTexts(int index) const;
    // The texts the word search compares; nothing when the record has vanished.
    std::optional<QStringList> WordSearchTexts(int index);
    int NextWordIndex() const { return m_nextWordIndex; }
    void SetNextWordIndex(int index) { m_nextWordIndex = index; }

private:
    const TAddressColumnRec* visibleRec(int column) const;
    TNarrowDownContext narrowContext() const;
    bool passesGroup(qint32 group) const;
    void loadNormalList(Table& t, qint32 keepRecNo, std::vector<qint32>& list, int& current);
    void loadDuplicateList(Table& t, qint32 keepRecNo, std::vector<qint32>& list, int& current);
    void afterSelectionReport();
    bool readRowAt(int index, TAdrsDataRec& rec); // quiet; false when the record has vanished
    bool readMove(const std::function<int()>& target, TAdrsDataRec& rec);
    void setBit(int index, bool on);
    void changeViewAndReload();
    int margin() const;
    int textWidth(const QString& text) const;

    Table* m_table;
    TAdrsTableRow m_row;
    TAdrsListHost* m_host = nullptr;
    TAdrsListViewPort* m_viewPort = nullptr;
    TSenderTableSource* m_senderSource = nullptr;
    QList<TAdrsListObserver*> m_observers;

    TAdrsCellContext m_cellContext;
    QStringList m_keywordNames;
    bool m_disableSearch = false;

    TAddressColumns m_columns;
    std::vector<int> m_visibleColumns;
    std::vector<int> m_columnFitWidths;

    std::vector<qint32> m_recNoList;
    std::vector<std::optional<QStringList>> m_rowTextCache;
    std::vector<bool> m_selectionBits;
    int m_selectedCount = 0;
    int m_focusedIndex = -1;
    int m_currentIndex = -1;
    int m_lastFirstSelected = -1;
    int m_viewGroup = 0;
    int m_sortType = 0;
    bool m_sortDir = true;
    TNarrowDownCondition m_narrowCondition;
    std::array<int, 2> m_duplicateItems{0, 0};
    int m_nextWordIndex = -1;
    std::vector<TSenderEntry> m_senderList;
    bool m_clearing = false;
};

class TDMQuenrid215;
// Sender.DB through the data module's shared open and close.
std::unique_ptr<TSenderTableSource> DataModuleSenderSource(TDMQuenrid215& dataModule);
