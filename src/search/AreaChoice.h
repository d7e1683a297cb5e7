// The area part the two directory search windows share: the region combo, the prefecture, city and oaza
// lists over the nationwide dictionary and the area codes they give; also the listing-period combos and
// the phone-kind boxes.
#pragma once

#include "search/CtgryCond.h"

#include <QObject>
#include <QPointer>

#include <functional>

#include <memory>

class QCheckBox;
class QComboBox;
class QListWidget;
class QSplitter;
class QWidget;
class TKanaAdrsSearch;

class TAreaChoice : public QObject
{
public:
    enum AreaList { alPrefecture, alCity, alOaza };

    // Makes the combo and the three lists (children of parent) and loads the dictionary; a dictionary
    // error is shown over window.
    TAreaChoice(QWidget* window, QWidget* parent);
    ~TAreaChoice() override;

    QComboBox* cbxArea = nullptr;
    QListWidget* lbxTdfkn = nullptr;
    QListWidget* lbxCity = nullptr;
    QListWidget* lbxOhaza = nullptr;
    QSplitter* splitter = nullptr;

    const TAreaCodeList& AreaCodeList() const { return m_areaCodes; }
    int Region() const { return m_region; }
    QListWidget* AreaListWidget(AreaList list) const;

    // The region combo's choice (0 whole country, 1..7).
    void SelectRegion(int region);
    // The region with the lists selecting the given codes (history entries); kinds other than
    // prefecture, city and oaza give the region's first prefecture.
    void SelectRegionCodes(int region, const TAreaCodeList& codes);
    // Sets the selection of an area list as a click would leave it and applies the click's rules.
    void ClickAreaList(AreaList list, const QList<int>& rows);
    void AreaListClicked(AreaList list);
    void SetEnabled(bool enable);
    // Where Enter in w moves the focus among the area controls (search: the search button); null elsewhere.
    QWidget* EnterTarget(QWidget* w, QWidget* search) const;
    // The shown names of the first selected entries (cities and oazas: "" for "指定しない").
    QString RememberedName(AreaList list) const;
    // True when the first selected entry of the list is a real area (not "指定しない").
    bool SpecificChosen(AreaList list) const;

private:
    struct Remembered
    {
        int first = -1, count = 0;
    };

    void FillCities();
    void FillOazas();
    static void ResetAreaList(QListWidget* list);
    void RememberSelections();
    static QList<int> SelectedRows(QListWidget* list);
    void SelectCodes(QListWidget* list, const QList<QByteArray>& codes);

    QWidget* m_window;
    std::unique_ptr<TKanaAdrsSearch> m_dic;
    TAreaCodeList m_areaCodes;
    int m_region = 0;
    Remembered m_remembered[3];
    bool m_updating = false;
};

// The listing-period combos: from-year "指定しない" and 2016..1995, to-year the years, months 1..12; the
// from-year switches the other three.
void FillPeriodCombos(QComboBox* fromYear, QComboBox* fromMonth, QComboBox* toYear, QComboBox* toMonth);
void UpdatePeriodState(QComboBox* fromYear, QComboBox* fromMonth, QComboBox* toYear, QComboBox* toMonth);
// Shows a remembered period, "yyyymm" each ("指定しない" when from is empty; unknown values fall back to the
// first year and month, the last month for to), then updates the combos' state.
void ShowPeriod(QComboBox* fromYear, QComboBox* fromMonth, QComboBox* toYear, QComboBox* toMonth,
                const QString& from, const QString& to);
// Checks the four phone-kind boxes after the bit set, the checked captions blue.
void ShowPhoneKinds(QCheckBox* const (&boxes)[4], int kinds, const QColor& text);
// Makes the four phone-kind boxes in parent's layout; clicked(tag, checked) for each.
void MakePhoneKindBoxes(QWidget* parent, QCheckBox* (&boxes)[4],
                        const std::function<void(int, bool)>& clicked);
