// The category and area search window: conditions by business category, phone kinds, legal form, listing
// period and areas, counted or searched page by page over the directory.
#pragma once

#include "search/AreaChoice.h"
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
    // The area lists.
    using AreaList = TAreaChoice::AreaList;
    static constexpr AreaList alPrefecture = TAreaChoice::alPrefecture, alCity = TAreaChoice::alCity,
                              alOaza = TAreaChoice::alOaza;

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

protected:
    TDirSearchWorker* CreateWorker() override;
    void EnableConditionInputs(bool enable) override;
    void FocusNameField() override;
    QString SearchErrorTitle() const override { return QStringLiteral("カテゴリ検索エラー  "); }
    QWidget* EnterTarget(QWidget* w) const override;

private:
    void BuildLayout();
    void LoadSettings();
    void SaveSettings() const;
    void FillCategoryLists();
    void FillMinorList(int major);
    void PhoneKindClicked(int tag, bool checked);

    TAreaChoice* m_area = nullptr;
    int m_phoneKinds = 15;

    QLineEdit* nmedtName = nullptr;
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
