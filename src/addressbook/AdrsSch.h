// The narrowing dialog of the address list and the named condition patterns kept in "Search.ptn".
#pragma once

#include "addressbook/AdrsListView.h"
#include "addressbook/NarrowDown.h"

#include <QDialog>

#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class TEnterMovesFocus;

inline constexpr const char* SearchPatternFileName = "Search.ptn";
// The file's count byte holds at most this many patterns.
inline constexpr int MaxSearchPatterns = 255;
// Bytes of a pattern name (the pattern combo's limit).
inline constexpr int MaxPatternNameBytes = 30;
// Conditions one narrowing may list.
inline constexpr int MaxNarrowDownItems = 10;

// One named condition set.
struct TSearchPattern
{
    AnsiString name;
    TNarrowDownCondition condition;
    friend bool operator==(const TSearchPattern&, const TSearchPattern&) = default;
};

// The bytes of "Search.ptn": a count byte, then per pattern its name (length byte and bytes) and its
// condition in the "Search.lst" layout. Nothing when the list cannot be expressed (too many patterns,
// a name longer than 255 bytes, a condition the layout cannot hold).
std::optional<QByteArray> EncodeSearchPatterns(const QList<TSearchPattern>& patterns);
// The patterns in the bytes, up to the first damaged or short one.
QList<TSearchPattern> DecodeSearchPatterns(const QByteArray& bytes);

// The patterns of one dialog and their file.
class TSearchPatternStore
{
public:
    explicit TSearchPatternStore(QString fileName) : m_fileName(std::move(fileName)) {}

    // Reads the file; a missing file is no pattern, a damaged one keeps the patterns before the damage.
    void Load();
    const QList<TSearchPattern>& Patterns() const { return m_patterns; }
    QStringList Names() const;
    // The first pattern whose name equals the trimmed name, byte for byte; -1 when none.
    int IndexOf(const AnsiString& name) const;

    // Replaces the condition of the pattern of that name, or appends a new pattern, then writes the file.
    // A new pattern beyond the 255 the file can count is refused. On failure "パターンが保存できませんでした
    // " is shown over owner; a refused pattern leaves the list as it was, a failed write keeps the change in
    // memory while the old file stays whole.
    bool Save(const AnsiString& name, const TNarrowDownCondition& condition, QWidget* owner);
    // Removes the pattern of that name (none: nothing happens) and writes the file.
    bool Remove(const AnsiString& name, QWidget* owner);

    // Writes the list whole (deletes the file when it is empty); "パターンが保存できませんでした  " on
    // failure.
    bool Write(QWidget* owner);

    const QString& FileName() const { return m_fileName; }

private:
    QString m_fileName;
    QList<TSearchPattern> m_patterns;
};

// What the item panel holds when a condition is built from it.
struct TNarrowDownPanelInput
{
    int row = 0;                                                     // row of the narrowing item table
    QString text;                                                    // input kinds 0 and 1
    int choice = 0;                                                  // input kind 2
    int fromYear = 1995, fromMonth = 1, toYear = 2016, toMonth = 12; // input kind 3
    int categoryCode = 100; // input kind 4: the code the chosen minor entry carries
    bool conditionShown = true;
    int conditionIndex = 0;
    bool notShown = false;
    bool notChecked = false;
};

// The condition the panel describes ("追加" and "変更").
TNarrowDownItem BuildNarrowDownItem(const TNarrowDownPanelInput& input);

// The name a category code shows under: the major name, then "-" and the minor name when the code has a
// minor part.
QString NarrowDownCategoryCaption(int code);

// The three texts of a condition's row: item name, content, condition.
struct TNarrowDownRowTexts
{
    QString name;
    QString content;
    QString condition;
};
TNarrowDownRowTexts NarrowDownRowTexts(const TNarrowDownItem& item, const TAddressListView& list);

// The years the range combos offer, newest first.
inline constexpr int NarrowDownFirstYear = 1995;
inline constexpr int NarrowDownLastYear = 2016;

// The address list's narrowing command up to its own follow-up: the dialog over owner, handed condition;
// on OK the edited condition replaces it and the answer is true.
bool ExecuteAddressSearch(QWidget* owner, TAddressListView& list, TNarrowDownCondition& condition);

// The modal narrowing dialog ("絞り込み").
class TAddressSearch : public QDialog
{
public:
    TAddressSearch(QWidget* owner, TAddressListView& list);
    ~TAddressSearch() override;

    void SetCondition(const TNarrowDownCondition& condition);
    void GetCondition(TNarrowDownCondition& condition) const;
    void LoadPatterns();
    void SavePatterns();

    int ViewType() const { return m_viewType; }
    int HelpTopic() const { return m_viewType == 0 ? 47 : 48; }
    const TSearchPatternStore& PatternStore() const { return m_patterns; }
    const QList<TNarrowDownItem>& ConditionList() const { return m_items; }
    // The condition the item panel describes now.
    TNarrowDownItem PanelCondition() const;

private:
    void BuildWindow();
    void ApplyViewType();
    void ChooseItem(int row);
    void FillMinorCategories(int major);
    void LoadPanelFrom(const TNarrowDownItem& item);
    void AppendRow(const TNarrowDownItem& item);
    void SetRowTexts(int index, const TNarrowDownItem& item);
    QList<int> SelectedRows() const;
    // The selected rows for changing or deleting; empty (after moving the focus) when there are none.
    QList<int> RowsToActOn();
    void UpdateButtons();
    void RefillPatternCombo();
    AnsiString PatternName() const;

    void ListAdd();
    void ListUpdate();
    void ListDelete();
    void ListClear();
    void PatternView();
    void PatternSave();
    void PatternDelete();
    void Narrow();
    void Release();
    void SwitchView();

    TAddressListView& m_list;
    TSearchPatternStore m_patterns;
    QList<TNarrowDownItem> m_items;
    int m_viewType = 0;
    int m_shownItem = -1;
    int m_shownMajor = 0;
    TEnterMovesFocus* m_enter = nullptr;

    QFrame* m_pnlPattern = nullptr;
    QFrame* m_pnlItem = nullptr;
    QFrame* m_pnlCondition = nullptr;
    QFrame* m_pnlAndOr = nullptr;
    QFrame* m_pnlBottom = nullptr;

    QComboBox* m_cbxPattern = nullptr;
    QPushButton* m_btnPatternView = nullptr;
    QPushButton* m_btnPatternSave = nullptr;
    QPushButton* m_btnPatternDelete = nullptr;

    QComboBox* m_cbxItem = nullptr;
    QLineEdit* m_edtText = nullptr;
    QLineEdit* m_edtWideText = nullptr;
    QComboBox* m_cbxHistory = nullptr;
    QComboBox* m_cbxChoice = nullptr;
    QFrame* m_pnlRange = nullptr;
    QComboBox* m_cbxFromYear = nullptr;
    QComboBox* m_cbxFromMonth = nullptr;
    QComboBox* m_cbxToYear = nullptr;
    QComboBox* m_cbxToMonth = nullptr;
    QComboBox* m_cbxMajor = nullptr;
    QComboBox* m_cbxMinor = nullptr;
    QLabel* m_lblCondition = nullptr;
    QComboBox* m_cbxCondition = nullptr;
    QCheckBox* m_chkNot = nullptr;

    QTreeWidget* m_lvCondition = nullptr;
    QPushButton* m_btnListAdd = nullptr;
    QPushButton* m_btnListUpdate = nullptr;
    QPushButton* m_btnListDelete = nullptr;
    QPushButton* m_btnListClear = nullptr;

    QRadioButton* m_rbtnAnd = nullptr;
    QRadioButton* m_rbtnOr = nullptr;

    QPushButton* m_btnSearch = nullptr;
    QPushButton* m_btnRelease = nullptr;
    QPushButton* m_btnCancel = nullptr;
    QPushButton* m_btnSwitchView = nullptr;
};
