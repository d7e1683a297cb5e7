// What the two directory search windows share: the worker and its jobs, the result page with its paging and
// status panels, the hit accessors the record card walks, and the inquiry that hands a hit to the card.
#pragma once

#include "addressbook/AdrsListServices.h"
#include "addressbook/CardListSource.h"
#include "search/SearchWorker.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QFile;
class TMemIniFile;
class QLabel;
class QProgressBar;
class QSplitter;
class QPushButton;
class QTableView;
class QTimer;
class QToolButton;
class TAddressList;
class TCardAddressBook;
class TDirSearchForm;

// The shown page of hits as table rows; the texts come from the window.
class TDirResultModel : public QAbstractTableModel
{
public:
    explicit TDirResultModel(TDirSearchForm& form) : m_form(form) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void Reset() { beginResetModel(), endResetModel(); }
    void Repaint();

private:
    TDirSearchForm& m_form;
};

// The status bar: fixed-width panels painted by the bar, the spacer panel taking what remains.
class TStatusPanels : public QWidget
{
public:
    // centred: the panels drawn centred.
    TStatusPanels(const QList<int>& widths, int spacer, const QList<int>& centred, QWidget* parent);
    void SetText(int panel, const QString& text);
    QString Text(int panel) const { return m_texts.value(panel); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QList<int> m_widths; // 96-dpi units
    int m_spacer;
    QList<int> m_centred;
    QStringList m_texts;
};

// The busy animation "SEARCH_AVI": a ring of dots turning while it is shown.
class TBusyAnimation : public QWidget
{
public:
    explicit TBusyAnimation(QWidget* parent);
    QSize sizeHint() const override { return {32, 32}; }
    int Frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    QTimer* m_timer;
    int m_frame = 0;
};

// Whole rows drawn by the window: selection or the card's colour behind, 6 pixels of padding in each cell,
// the text cut with an ellipsis, the number right-aligned, a focus frame on the current row.
class TDirResultDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The name field whose drop-down lists the history: Delete in the open drop-down asks to remove the
// highlighted entry; on opening, the chosen entry is highlighted again after 200 ms (tmrDropDown).
class THistoryNameCombo : public QComboBox
{
public:
    explicit THistoryNameCombo(QWidget* parent);
    std::function<int()> chosenEntry;
    std::function<void(int row)> deleteEntry;
    // Items are the names; the typed text stays.
    void Fill(const QStringList& names);
    void showPopup() override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QTimer* tmrDropDown;
};

class TDirSearchForm : public QWidget,
                       public ISearchOwner,
                       public TCardListSource,
                       public TAddressListFollower
{
public:
    // Result columns.
    enum { ColNo, ColTel, ColKind, ColName, ColAddress, ColListing, ColMajor, ColMinor, ColCount };
    static const QStringList& ColumnCaptions();
    // 96-dpi widths.
    static const QList<int>& DefaultColumnWidths();

    // book: the address list that owns the record card (null: no card can be opened).
    TDirSearchForm(TCardAddressBook* book, QWidget* cardOwner, int listSourceKind);
    ~TDirSearchForm() override;

    // ---- the record card's hit accessors
    int GetHitCount() const { return int(m_hits.size()); }
    bool IsFirstHit() const { return m_hits.isEmpty() || m_currentHit <= 0; }
    bool IsLastHit() const { return m_hits.isEmpty() || m_currentHit >= m_hits.size() - 1; }
    void SetCurrentHit(int i);
    bool FetchHitDetail(int i, TDirDetailRec& detail);
    int ReadHitDetail(const AnsiString& number, int32_t key, TDirDetailRec& detail) const;
    void UpdateResultColor() override;
    // Called once when the window goes (the address list forgets it as a follower).
    void SetDetach(std::function<void()> detach) { m_detach = std::move(detach); }
    // created: the window was just made for list, which it then follows. Shows it in front.
    void ShowFor(TAddressList& list, bool created);

    int GetItemCount() const override { return GetHitCount(); }
    int GetCurrentIndex() const override { return m_currentHit; }
    void SetCurrentIndex(int index) override { SetCurrentHit(index); }
    bool IsAtFirst() const override { return IsFirstHit(); }
    bool IsAtLast() const override { return IsLastHit(); }
    qint32 RecNoAt(int) const override { return -1; }
    bool MoveAndRead(TCardMove move, TCardItem& item) override;
    void UpdateListColor() override { UpdateResultColor(); }

    // ---- jobs
    bool IsSearching() const;
    // false: remembers prior/next and disables the job buttons; true gives them back.
    void EnableSearchButtons(bool enable);
    void bbtnSearchClick(int tag);
    void bbtnStopClick();
    void sbtnInquiryClick();

    void SearchDone(TDirSearchWorker& worker) override;
    void ExportDone(TDirSearchWorker& worker) override;
    void CountDone(TDirSearchWorker& worker) override;

    // ---- export
    // The file to write: 0 a new file or overwrite, 1 append, 9 cancel; on 0 and 1 the name is remembered.
    int ChooseExportFile(QString& fileName);
    // Every hit of the conditions, written by the worker.
    void bbtnFileExportClick();
    // The selected rows of the shown page.
    void sbtnFileExportClick();
    void sbtnExportItemSelectClick();
    AnsiString BuildExportLine(int i) const;
    // The header when due, then the line of each selected row (every row with all) in page order.
    bool WriteSelectedLines(bool all, QFile& file);
    const QList<TExportItemRec>& ExportItems() const { return m_exportItems; }
    const QString& ExportFileName() const { return m_exportFile; }
    int LinesWritten() const { return m_linesWritten; }

    // ---- shown state
    QString RowText(int row, int column) const;
    bool RowPainted() const;
    int ShownPage() const { return m_shownPage; }
    int LastOutcome() const { return m_lastOutcome; }
    const QString& AreaCaption() const { return m_areaCaption; }
    // Panels as the window shows them.
    QString StatusText(int panel) const { return stbarInfo->Text(panel); }
    TDirSearchWorker* Worker() const { return m_worker.get(); }

protected:
    // What each window adds.
    virtual TDirSearchWorker* CreateWorker() = 0;
    // Builds the condition records, the name lists and the area caption of a new job.
    virtual void BuildConditions() = 0;
    // kind: 0 count, 1 whole-data export, 2 search.
    virtual bool ValidateConditions(int kind) = 0;
    virtual void EnableConditionInputs(bool enable) = 0;
    virtual void FocusNameField() = 0;
    virtual QString SearchErrorTitle() const = 0;
    // The other directory search window's job buttons (while a job of this one runs).
    virtual void EnableOtherSearchButtons(bool enable);
    // The other directory search window while it exists.
    TDirSearchForm* OtherSearchWindow() const;
    // The status bar gets the match-kind panel at 1; the later panels move one place on.
    void AddMatchKindPanel();
    // Window size and place, the condition part's height, the city list's width, the address omission and
    // the column widths in a section of the main settings file (96-dpi units).
    void ReadFormSettings(const QString& section, int defaultHeight, int defaultTopHeight, QSplitter* split,
                          QSplitter* areaSplit);
    void WriteFormSettings(const QString& section, QSplitter* split, QWidget* cityList) const;
    void SetStatusText(int panel, const QString& text);
    // A count, export or new search ended with 0, 1 or 100: the conditions go into the history.
    virtual void RecordHistory() {}

    // The window's section of the main settings file.
    virtual QString SettingsSection() const = 0;
    // ExportFile and the export items.
    void LoadExportSettings(const TMemIniFile& ini);
    void SaveExportFile(TMemIniFile& ini) const;
    void SaveExportItems() const;

    void StartJob(int mode, int move);
    // The job after its checks and questions.
    void LaunchJob(int mode, int move);
    void ClearStatusPanels();
    void ShowStatus(int code);
    void ClearResults();
    void ShowAreaCaption();
    void CopyHits();
    void ShowResults();
    void EndJob();
    // The folders of the directory data and its dictionaries as the conditions carry them.
    static QString DataFolder();
    static QString DicFolder();

    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    // Escape closes; Enter outside the result list moves the focus to EnterTarget, else on in tab order.
    void keyPressEvent(QKeyEvent* e) override;
    virtual QWidget* EnterTarget(QWidget*) const { return nullptr; }
    bool eventFilter(QObject* watched, QEvent* e) override;
    // While another window is modal, activating or clicking this one brings the modal window forward.
    bool event(QEvent* e) override;

    QList<TDirSearchCondRec> m_conditions;
    AnsiString m_includeNames, m_excludeNames;
    QString m_areaCaption;

    // Widgets the windows place.
    QTableView* lvResult = nullptr;
    QWidget* ResultToolBar = nullptr;
    QToolButton* sbtnInquiry = nullptr;
    QToolButton* sbtnFileExport = nullptr;
    QToolButton* sbtnExportItemSelect = nullptr;
    QPushButton* bbtnFileExport = nullptr;
    QLabel* pnlAdrs = nullptr;
    QCheckBox* chkOmissionAdrs = nullptr;
    TStatusPanels* stbarInfo = nullptr;
    QPushButton* bbtnCount = nullptr;
    QPushButton* bbtnSearch = nullptr;
    QPushButton* bbtnPrior = nullptr;
    QPushButton* bbtnNext = nullptr;
    QPushButton* bbtnStop = nullptr;
    QPushButton* bbtnClose = nullptr;
    QWidget* pnlSearch = nullptr;
    TBusyAnimation* aniSearch = nullptr;

private:
    void SetNextButton(bool runAgain);
    void ResultKeyPress(int key, Qt::KeyboardModifiers modifiers, bool& handled);

    std::function<void()> m_detach;
    TCardAddressBook* m_book;
    QPointer<QWidget> m_cardOwner;
    int m_listSourceKind;
    std::unique_ptr<TDirSearchWorker> m_worker;
    TDirResultModel m_model{*this};
    QList<TDirHitRec> m_hits;
    int m_shownPage = -1;
    int m_currentHit = -1;
    int m_lastOutcome = 0;
    int m_jobMode = SearchModeSearch;
    int m_jobMove = PageMoveNew;
    bool m_stopPressed = false;
    bool m_priorWasEnabled = false, m_nextWasEnabled = false;
    int m_statusShift = 0;
    QList<TExportItemRec> m_exportItems;
    QString m_exportFile, m_exportFileBefore;
    int m_linesWritten = 0;
    bool m_writeHeader = false, m_exportAppend = false;
};
