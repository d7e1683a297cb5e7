// The address list: the program's working main window with its menus, tool bar, list and status bar, the
// start-up flow that opens the book, book switching, the closing of its children and what it saves.
#pragma once

#include "addressbook/AdrsCopy.h"
#include "addressbook/AdrsListDisplay.h"
#include "addressbook/AdrsListRows.h"
#include "addressbook/AdrsListServices.h"
#include "addressbook/AdrsListView.h"
#include "addressbook/CardServices.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class TMemIniFile;

// "AdrsList.ini" [HEADER]: the column records in display order. HeaderIndex must be a permutation of the
// 52 items, else the defaults are taken for all three keys; widths are read in 96-dpi units.
TAddressColumns ReadHeaderSettings(const TMemIniFile& ini);
void WriteHeaderSettings(TMemIniFile& ini, const TAddressColumns& columns);

class TAddressList : public QDialog,
                     public TAdrsListHost,
                     public TAddressListView,
                     public TCardAddressBook,
                     public TAddressListRows
{
    Q_OBJECT
public:
    static constexpr int HelpContext = 39;

    explicit TAddressList(QWidget* owner = nullptr);
    ~TAddressList() override; // the destroy step: saves the settings and drops the table reference

    // ---- life ----
    void WMStartup();
    // Opens the current book, first letting the user choose one; false when it could not be opened or the
    // choice was cancelled (the window then closes).
    bool OpenAddressBook(bool choose);
    bool CloseChildWindows();
    // Writes [BASE] Info and [UPDATE] UpdateCheck of MainSettings into the main settings file.
    void SaveStartOptions();
    // Closes the designer windows other than kind (1 address print, 2 label, 3 card, 4 message side; 0 all).
    bool CloseDesignWindows(int kind);
    void LoadViewSettings();
    void SaveViewSettings();
    void LoadNarrowDown();
    void SaveNarrowDown();
    // After the settings dialog changed the data folder: everything is opened afresh in the new folder.
    void ReopenDataFolder();
    bool AdrsOpen() const { return m_adrsOpen; }
    // True once the deferred start has run.
    bool StartupDone() const { return m_startupDone; }

    // ---- the list ----
    TAdrsListEngine& Engine() const { return *m_engine; }
    TAdrsListView* ListView() const { return m_lvAddress; }
    void RefreshList(bool rebuildColumns, bool reload, bool keepScroll) override;
    void SelectIndex(int index, bool clearOthers, bool makeVisible) override;
    // The record card's selection of one row.
    void SelectIndex(int index, bool scroll) override { SelectIndex(index, true, scroll); }
    int GetRecordCount() const override { return m_engine->GetRecordCount(); }
    int GetSelectedCount() const override { return m_engine->GetSelectedCount(); }
    bool IsSelected(int index) const override { return m_engine->IsSelected(index); }
    void SetItemSelected(int index, bool on) { m_engine->SetItemSelected(index, on); }
    qint32 GetRecNo(int index) const override { return m_engine->GetRecNo(index); }
    int IndexOfRecNo(qint32 recNo) const override { return m_engine->IndexOfRecNo(recNo); }
    int GetFocusedIndex() const override { return m_engine->GetFocusedIndex(); }
    int GetFirstSelectedIndex() const override { return m_engine->GetFirstSelectedIndex(); }
    int GetLastSelectedIndex() const override { return m_engine->GetLastSelectedIndex(); }
    int GetCurrentIndex() const override { return m_engine->CurrentIndex(); }
    void SetCurrentIndex(int index) override { m_engine->SetCurrentIndex(index); }
    bool IsAtFirst() const override { return m_engine->IsAtFirst(); }
    bool IsAtLast() const override { return m_engine->IsAtLast(); }
    bool ReadAddressRecord(qint32 recNo, TAdrsDataRec& rec) override
    {
        return m_engine->ReadAddressRecord(recNo, rec);
    }
    bool ReadRecordAt(int index, TAdrsDataRec& rec) override { return m_engine->ReadRecordAt(index, rec); }
    bool ReadFirstRecord(TAdrsDataRec& rec) { return m_engine->ReadFirstRecord(rec); }
    bool ReadPriorRecord(TAdrsDataRec& rec) { return m_engine->ReadPriorRecord(rec); }
    bool ReadNextRecord(TAdrsDataRec& rec) { return m_engine->ReadNextRecord(rec); }
    bool ReadLastRecord(TAdrsDataRec& rec) { return m_engine->ReadLastRecord(rec); }
    void LoadSenderList() { m_engine->LoadSenderList(); }
    int GetSenderCount() const { return m_engine->GetSenderCount(); }
    QString GetSenderTitle(int i) const { return m_engine->GetSenderTitle(i); }
    qint32 GetSenderRecNo(int i) const { return m_engine->GetSenderRecNo(i); }
    bool SetRecordSender(qint32 recNo, qint32 senderRecNo)
    {
        return m_engine->SetRecordSender(recNo, senderRecNo);
    }
    int GetVisibleColumnCount() const { return m_engine->GetVisibleColumnCount(); }
    int GetVisibleColumnItem(int column) const { return m_engine->GetVisibleColumnItem(column); }
    void NotifyRecordsEdited(const QList<qint32>& recNos) override { m_engine->NotifyRecordsEdited(recNos); }
    void NotifyRecordsDeleted(const QList<qint32>& recNos) override
    {
        m_engine->NotifyRecordsDeleted(recNos);
    }
    // The list's background: [VIEW] BGColor while the record card shows one of its rows.
    void UpdateListColor() override;
    // The word search: answers whether a row was found and selected.
    bool FindNextWord();
    QString SearchWord() const { return m_searchWord; }

    // Windows that follow the rows, the selection and the item names; they stay registered across books.
    void AddFollower(TAddressListFollower* follower);
    void RemoveFollower(TAddressListFollower* follower);

    // ---- TAddressListView ----
    QStringList KeywordNames() const override;
    QList<AnsiString> HistoryEntries(int narrowRow) const override;
    std::optional<QStringList> WordSearchTexts(int index) override
    {
        return m_engine->WordSearchTexts(index);
    }

    // ---- the record card's list source ----
    int GetItemCount() const override { return GetRecordCount(); }
    qint32 RecNoAt(int index) const override { return GetRecNo(index); }
    bool MoveAndRead(TCardMove move, TCardItem& item) override;
    QList<TCardSender> Senders() const override;
    bool EditGroupNames() override;

    // ---- TAdrsListHost ----
    QWidget* OwnerWindow() const override { return const_cast<TAddressList*>(this); }
    void ShowCounts(int selected, int shown) override;
    void EnableRecordActions(bool on) override;
    void SetBusy(bool on) override;
    bool CardExists() const override;
    bool CardWalksList() const override;
    qint32 CardLoadedRecNo() const override;
    void CardUpdateNavigation() override;
    void CardRefreshSenders() override;
    void CardSetRecordSender(qint32 senderRecNo) override;

    // ---- commands ----
    QAction* Action(const QString& name) const;
    void UpdateActions();
    void actAddressSelectExecute(int tag);
    void actInquiryExecute();
    void actNumerSearchExecute();
    void actAdrsCopyExecute();
    void actEditGroupExecute();
    void actExitExecute();
    void actDeleteExecute();
    void actWordSearchExecute();
    void actWordNextExecute();
    void actAdrsSearchExecute();
    void actDuplicateSearchExecute();
    void actDisableSearchExecute();
    void actCancelSearchExecute();
    void actKeywordEditExecute();
    void actProtectMemoEditExecute();
    void actViewColumnExecute();
    void actInitColumnExecute();
    void actReloadExecute();
    void actImportFileExecute();
    void actBatchChangeExecute();
    void actDesignerExecute(TListCommand command, int kind);
    void actListPrintExecute();
    void actEnvironmentExecute();
    void actRestoreExecute();
    void actMaintenanceExecute(TListCommand command);
    void actSwitchAdminModeExecute();
    void actInfoExecute();
    void actTopicExecute();

    // The status panels (objects pnlHint, pnlAdminMode, pnlNarrowState, pnlSelectedCount, pnlShownCount).
    void UpdateStatusPanels();
    QStatusBar* StatusBar() const { return m_stbarInfo; }

    void done(int result) override;
    void reject() override;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    QAction* NewAction(const char* name, const QString& caption, const QString& hint,
                       const QKeySequence& shortcut = {});
    void ReadBounds();
    void WriteSettingsOnDestroy();
    void ReadDupliSearch();
    // Builds a fresh engine and list view over table (null: no book open), keeping the view state.
    void AttachTable(Table* table);
    void ReleaseTable();
    void FillGroupCombo();
    void FillSortCombo();
    void SetSortDirGlyph();
    void SetSortControls(bool enabled, bool buttonFace);
    void RefreshAfterNarrowing();
    void UpdateCellContext();
    void FocusList();
    // The modeless child while it exists.
    QWidget* ChildWindow(TListChild child) const;
    bool RecordCardAvailable() const { return true; }
    bool AddressCopyAvailable() const { return true; }
    // Whether the record card walks this list and shows one of its rows.
    bool CardShowsListRow() const;
    void CardCloseDeleted();
    // Runs one step of the record card when it is open.
    void TellCard(void (TDataInquiry::*step)());

    std::unique_ptr<Table> m_noTable; // stands for the table while no book is open
    std::unique_ptr<TAdrsListEngine> m_engine;
    TAdrsListView* m_lvAddress = nullptr;
    QList<TAddressListFollower*> m_followers;
    TAddressCopyObserver m_copyObserver;
    std::unique_ptr<TSenderTableSource> m_senderSource;
    bool m_adrsOpen = false;
    bool m_started = false;
    bool m_startupDone = false;
    QString m_searchWord;
    int m_busy = 0;

    QVBoxLayout* m_layout = nullptr;
    QMenuBar* m_mmMain = nullptr;
    QToolBar* m_tbarTool = nullptr;
    QComboBox* m_cbxGroup = nullptr;
    QComboBox* m_cbxSort = nullptr;
    QToolButton* m_sbtnEditGroup = nullptr;
    QToolButton* m_sbtnSortDirection = nullptr;
    QStatusBar* m_stbarInfo = nullptr;
    QLabel* m_pnlHint = nullptr;
    QLabel* m_pnlAdminMode = nullptr;
    QLabel* m_pnlNarrowState = nullptr;
    QLabel* m_pnlSelectedCount = nullptr;
    QLabel* m_pnlShownCount = nullptr;
    QMenu* m_pmAdrs = nullptr;
    QMenu* m_pmColumn = nullptr;
    QMenu* m_pmSearch = nullptr;
    QMenu* m_pmPrint = nullptr;
};

// The one address list of the run; null while none exists.
extern QPointer<TAddressList> AddressList;
