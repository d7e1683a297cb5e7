// The category and area search window: conditions by business category, phone kinds, legal form, listing
// period and areas, counted or searched page by page over the directory.
#pragma once

#include "search/AreaChoice.h"
#include "search/CtgryCond.h"
#include "search/CtgryHistory.h"
#include "search/DirSchForm.h"

#include <memory>

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QSplitter;
class TAddressList;

class TCategorySearch : public TDirSearchForm
{
public:
    using AreaList = TAreaChoice::AreaList;
    using enum TAreaChoice::AreaList;

    TCategorySearch(TCardAddressBook* book, QWidget* cardOwner);
    ~TCategorySearch() override;

    const TAreaCodeList& AreaCodeList() const { return m_area->AreaCodeList(); }
    int PhoneKinds() const { return m_phoneKinds; }
    const QList<TDirSearchCondRec>& Conditions() const { return m_conditions; }

    // The region combo's choice (0 whole country, 1..7).
    void SelectRegion(int region) { m_area->SelectRegion(region); }
    // Sets the selection of an area list as a click would leave it and applies the click's rules.
    void ClickAreaList(AreaList list, const QList<int>& rows) { m_area->ClickAreaList(list, rows); }
    QListWidget* AreaListWidget(AreaList list) const { return m_area->AreaListWidget(list); }

    void BuildConditions() override;
    bool ValidateConditions(int kind) override;

    // ---- history
    const TCategorySearchHistory& History() const { return m_history; }
    int ChosenHistoryIndex() const { return m_chosenHistory; }
    static QString HistoryFileName();
    void LoadHistory();
    // false: a message named the file and the old file stays.
    bool SaveHistory();
    void AddToHistory();
    int FindHistoryEntry() const;
    void ApplyHistoryEntry(const TCategorySearchHistoryRec& entry);
    void FillHistoryCombo();
    void ApplyHistoryCount() override;
    // The drop-down's choice of entry i, as the user makes it.
    void HistoryChosen(int i);
    void DeleteHistoryEntry(int i);
    // The name field shown: the history combo with a history, else the plain edit.
    QWidget* NameField() const;
    QString NameText() const;

protected:
    TDirSearchWorker* CreateWorker() override;
    void EnableConditionInputs(bool enable) override;
    QWidget* EnterTarget(QWidget* w) const override;
    void FocusNameField() override;
    void RecordHistory() override;
    QString SearchErrorTitle() const override { return QStringLiteral("カテゴリ検索エラー  "); }
    QString SettingsSection() const override;

private:
    void BuildLayout();
    void FillCategoryLists();
    void FillMinorList(int major);
    void PhoneKindClicked(int tag, bool checked);
    void SetPhoneKinds(int kinds);
    void ShowNameField();
    void SetNameText(const QString& text);
    // The region with its lists; an unknown kind or no region gives the whole country.
    void RestoreAreas(int region, int kind, const TAreaCodeList& saved);
    void SelectCategories(int major, int minor);

    TAreaChoice* m_area = nullptr;
    int m_phoneKinds = 15;
    TCategorySearchHistory m_history;
    int m_chosenHistory = -1;

    QLineEdit* nmedtName = nullptr;
    THistoryNameCombo* nmcbxName = nullptr;
    QListWidget* lbxMain = nullptr;
    QListWidget* lbxSub = nullptr;
    QWidget* pnlTelDiv = nullptr;
    QCheckBox* chkPhone[4] = {};
    QComboBox* cbxCorpDiv = nullptr;
    QComboBox* cbxPubFromYear = nullptr;
    QComboBox* cbxPubFromMonth = nullptr;
    QComboBox* cbxPubToYear = nullptr;
    QComboBox* cbxPubToMonth = nullptr;
    QSplitter* m_splitter = nullptr;
};

// The one window, null while none exists.
extern QPointer<TCategorySearch> CategorySearch;
// Creates the window once and shows it; later calls show it again.
TCategorySearch* ShowCategorySearch(TAddressList& list);
