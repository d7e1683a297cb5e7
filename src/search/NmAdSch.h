// The name and address search window: a listed name with its match kind, the included and excluded names
// of a fuzzy match, phone kinds, legal form, listing period, page size and areas, counted, searched page
// by page or exported whole over the directory.
#pragma once

#include "search/AreaChoice.h"
#include "search/DirSchForm.h"
#include "search/NmAdHistory.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QRadioButton;

class TNameAdrsSearch : public TDirSearchForm
{
public:
    using AreaList = TAreaChoice::AreaList;

    TNameAdrsSearch(TCardAddressBook* book, QWidget* cardOwner);
    ~TNameAdrsSearch() override;

    TAreaChoice& Areas() const { return *m_area; }
    int MatchKind() const { return m_matchKind; }
    int PhoneKinds() const { return m_phoneKinds; }
    const QList<TDirSearchCondRec>& Conditions() const { return m_conditions; }
    const AnsiString& IncludeNames() const { return m_includeNames; }
    const AnsiString& ExcludeNames() const { return m_excludeNames; }
    QString TypedName() const { return m_typedName; }
    // The visible name field: the history combo box or the plain edit.
    QWidget* NameField() const;
    void SetName(const QString& name);
    // As a click on the radio button of the kind.
    void ClickMatchKind(int kind);
    void ClickPhoneKind(int tag, bool checked);

    void UpdateNameListsState();
    void LoadNameLists();
    void BuildConditions() override;
    bool ValidateConditions(int kind) override;

    // ---- history
    const TNameSearchHistory& History() const { return m_history; }
    int ChosenHistoryEntry() const { return m_chosen; }
    void LoadHistory();
    void SaveHistory();
    void AddToHistory();
    void ApplyHistoryEntry(const TNameSearchHistoryRec& rec);
    // As a choice in the drop-down of the name combo box.
    void ChooseHistoryEntry(int i);
    // Delete on a highlighted entry of the opened drop-down.
    void DeleteHistoryEntry(int i);
    void FillHistoryCombo();
    void ApplyHistoryCount() override;

    void bbtnNameListClick();
    void bbtnTargetExceptionClick();

protected:
    TDirSearchWorker* CreateWorker() override;
    void EnableConditionInputs(bool enable) override;
    void FocusNameField() override;
    QString SearchErrorTitle() const override { return QStringLiteral("名称住所検索エラー  "); }
    QWidget* EnterTarget(QWidget* w) const override;
    void showEvent(QShowEvent* e) override;
    void RecordHistory() override { AddToHistory(); }
    QString SettingsSection() const override { return QStringLiteral("NAMEADRS SEARCH"); }

private:
    void BuildLayout();
    void ShowNameField();
    void NameChanged(const QString& text);
    void CutNameField();
    QStringList ListNames(QListWidget* list) const;

    TAreaChoice* m_area = nullptr;
    int m_matchKind = -1;
    int m_phoneKinds = 15;
    QString m_typedName;
    bool m_tablesOpen[3] = {};
    TNameSearchHistory m_history;
    int m_chosen = -1;

    THistoryNameCombo* nmcbxName = nullptr;
    QLineEdit* nmedtName = nullptr;
    QPushButton* bbtnNameList = nullptr;
    QRadioButton* rbMatch[4] = {};
    QListWidget* lbxTarget = nullptr;
    QListWidget* lbxException = nullptr;
    QPushButton* bbtnTargetException = nullptr;
    QWidget* pnlTelDiv = nullptr;
    QCheckBox* chkPhone[4] = {};
    QComboBox* cbxCorpDiv = nullptr;
    QComboBox* cbxPubFromYear = nullptr;
    QComboBox* cbxPubFromMonth = nullptr;
    QComboBox* cbxPubToYear = nullptr;
    QComboBox* cbxPubToMonth = nullptr;
    QComboBox* cbxGetCount = nullptr;
    QSplitter* m_splitter = nullptr;
};

// The one window, null while none exists.
extern QPointer<TNameAdrsSearch> NameAdrsSearch;
// Creates the window once and shows it; later calls show it again.
TNameAdrsSearch* ShowNameAdrsSearch(TAddressList& list);
