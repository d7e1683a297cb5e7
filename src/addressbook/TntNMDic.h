// The name-reading popup: written forms of the reading being typed into a name edit, from DlName99a.dll,
// laid out in a grid under the edit and picked by key or mouse without the edit losing the focus.
#pragma once

#include "core/PrivateMessages.h"

#include "DlName99a.h"
#include "core/NMDEdit.h"
#include "platform/Cp932.h"
#include "platform/LibraryLoader.h"

#include <QColor>
#include <QEvent>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QRadioButton;
class QTableView;
class QTimer;
class QToolButton;
class TNameGridModel;


// Run-time binding of DlName99a.dll. Loading is optional: without it every call answers "not loaded".
class TNameDicLibrary
{
public:
    static constexpr int LibNotLoaded = 103;
    static constexpr int LibLoadFailed = 101;
    static constexpr int LibEntryMissing = 102;

    TNameDicLibrary() = default;
    ~TNameDicLibrary() { Free(); }
    TNameDicLibrary(const TNameDicLibrary&) = delete;
    TNameDicLibrary& operator=(const TNameDicLibrary&) = delete;

    // 0, or 101 when the file cannot be loaded, 102 when an entry point is missing (then nothing stays
    // loaded).
    int Load(const QString& folder);
    void Free();
    bool IsLoaded() const { return m_handle != nullptr; }

    // The library's result, or 103 when it is not loaded.
    int Count(TNameDicKind kind, const AnsiString& reading, const QString& dicFolder, int* count) const;
    int List(TNameDicKind kind, const AnsiString& reading, const QString& dicFolder,
             std::vector<TNameCandidateRec>& records) const;

private:
    LibraryLoader::Handle m_handle = nullptr;
    TDLNMCount m_seiCount = nullptr;
    TDLNMCount m_meiCount = nullptr;
    TDLNMList m_seiList = nullptr;
    TDLNMList m_meiList = nullptr;
};

struct TNameCandidate
{
    QString reading;
    QString word;
};

// A candidate record's texts: each up to its first zero byte, never beyond its field, never half a character.
TNameCandidate CandidateFromRecord(const TNameCandidateRec& rec);

// The candidate grid without widgets: rows per reading, the selection, the key moves and the pick.
// Column 0 holds the reading, columns 1 to 5 the written forms; row -1 means no cell is selected.
class TNameGrid
{
public:
    static constexpr int WordsPerRow = 5;

    enum TKeyResult { krNotUsed, krUsed, krPicked };
    enum TScrollAction { saLineUp, saLineDown, saPageUp, saPageDown };

    // Lays the candidates out in their order: a new reading starts a row, a sixth written form a continuation
    // row with an empty reading. A candidate without a written form ends the list.
    void SetCandidates(const QList<TNameCandidate>& candidates);
    // No rows, no columns, nothing selected; cell lines are no longer drawn.
    void SetEmpty();

    int RowCount() const { return int(m_rows.size()); }
    int ColCount() const { return m_colCount; }
    bool IsEmpty() const { return m_empty; }
    QString Cell(int col, int row) const;
    int Col() const { return m_col; }
    int Row() const { return m_row; }
    int RememberedCol() const { return m_rememberedCol; }
    bool HasSelection() const { return m_row >= 0; }
    void SelectNone();

    // Enter, Page Up/Down and the arrows (Qt key codes), with pageRows the rows the grid shows.
    TKeyResult HandleKey(int key, int pageRows);
    // Left button on a cell: selects a non-empty written form; false when nothing was there.
    bool PressCell(int col, int row);
    // The selected written form and its row's reading (or that of the nearest row above that has one).
    std::optional<TNameCandidate> CurrentPick() const;
    QString ReadingOfRow(int row) const;

    // Where the top row goes for a scroll-bar action, with t the top row, v the visible rows and r the rows.
    static int ScrollTarget(TScrollAction action, int t, int v, int r);

private:
    void selectRow(int row);
    bool cellFilled(int col, int row) const { return !Cell(col, row).isEmpty(); }

    QList<QStringList> m_rows; // each: reading, then its written forms
    int m_colCount = 0;
    int m_col = 1;
    int m_row = -1;
    int m_rememberedCol = 1;
    bool m_empty = false;
};

// The popup. Owners create it on the first need and drive it from their name edits' events; it never takes
// the focus, closes itself when its owner form stops being the active window, and frees itself when closed.
class TTntNameDic : public QWidget
{
    Q_OBJECT
public:
    explicit TTntNameDic(QWidget* owner);
    ~TTntNameDic() override;

    void SetFolders(const QString& libraryFolder, const QString& dictionaryFolder);
    void Initialize();
    // True when DlName99a.dll and its four entry points were found.
    bool LoadNameLibrary();
    bool HasDictionary() const { return m_library.IsLoaded(); }

    int CountCandidates(const QString& reading, TNameDicKind kind) const;
    void ShowCandidates(int n);
    // Whether the popup used the key (a Qt key code) offered by the edit during a composition.
    bool HandleKey(int key);
    void SetNameKind(TNameDicKind kind);
    void RadioButtonClick(QRadioButton* radio);

    TNameDicKind NameKind() const { return m_nameKind; }
    QString Reading() const { return m_reading; }
    void SetReading(const QString& reading) { m_reading = reading; }
    QString ChosenWord() const { return m_chosenWord; }
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }
    QColor HighlightColor() const { return m_highlightColor; }
    void SetHighlightColor(const QColor& color) { m_highlightColor = color; }
    int HighlightedRadio() const { return m_highlightedRadio; }
    const TNameGrid& Grid() const { return m_grid; }

    // Top-left corner at the bottom-left corner of the edit, in screen coordinates.
    void PlaceUnder(const QWidget* edit);

    // The owner's side, the same for every owner. ConvertNeed answers an edit's OnConvertNeed: it creates,
    // fills, places, shows or closes the popup; ownerKind is the owner's choice of kind when the popup is not
    // showing yet. programFolder ends with "/" and holds the library and "Dic/".
    static void ConvertNeed(QWidget* ownerForm, const QWidget* edit, int editTag, TNameDicKind ownerKind,
                            bool show, const QString& value, const QColor& highlight,
                            const QString& programFolder);
    // Answers an edit's OnConvertKeyDown: whether the popup used the key.
    static bool ConvertKeyDown(int key);

    // Every 100 ms: closes the popup once its owner form (or the application) is no longer active.
    void tmrActiveTimer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int countCandidates(const QString& reading, TNameDicKind kind, int* result) const;
    void pick();
    void refreshGrid(bool reset);
    void scrollToSelection();
    int visibleRows() const;
    void setRadioColors();
    void scrollAction(int action);
    void installFilters(bool on);

    QTableView* sgNameList;
    QLabel* lblItem;
    QRadioButton* rbLineage;
    QRadioButton* rbFirst;
    QToolButton* sbtnClose;
    QTimer* tmrActive;
    TNameGridModel* m_model;

    TNameDicLibrary m_library;
    TNameGrid m_grid;
    QString m_libraryFolder;
    QString m_dictionaryFolder;
    TNameDicKind m_nameKind = nkLineage;
    QString m_reading;
    QString m_chosenWord;
    int m_highlightedRadio = 0;
    QColor m_highlightColor = Qt::blue;
    int m_tag = 0;
    bool m_filtersInstalled = false;

    friend class TNameGridDelegate;
};

// The one popup that exists, null while none does.
extern QPointer<TTntNameDic> NameDicPopup;
