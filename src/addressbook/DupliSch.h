// The duplicate view dialog of the address list: which one or two items must repeat for a record to show.
#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

// First item 0 none (no duplicate view), 1 telephone number, 2 address, 3 company name, 4 name; second
// item 0 none, else the same four.
struct TDuplicatePair
{
    int first = 0;
    int second = 0;
    friend bool operator==(const TDuplicatePair&, const TDuplicatePair&) = default;
};

enum class TDuplicateChoice {
    SameItem,  // the second item names the first one again
    Unchanged, // the pair in force: nothing to recompute
    Accepted,
};
TDuplicateChoice CheckDuplicateChoice(const TDuplicatePair& inForce, const TDuplicatePair& chosen);

// The address list's duplicate-view command up to its own follow-up: the dialog over owner, handed the pair
// in force; on OK the chosen pair ((0, 0) after release) replaces it and the answer is true.
bool ExecuteDuplicateSearch(QWidget* owner, TDuplicatePair& pair);

// The modal dialog "重複データの表示".
class TDuplicateSearch : public QDialog
{
public:
    explicit TDuplicateSearch(QWidget* owner);

    void SetPair(const TDuplicatePair& pair);
    void GetPair(TDuplicatePair& pair) const;
    static constexpr int HelpTopic = 50;

private:
    TDuplicatePair ChosenPair() const;
    void View();

    TDuplicatePair m_inForce;
    bool m_released = false;
    QComboBox* m_cbxItem1 = nullptr;
    QComboBox* m_cbxItem2 = nullptr;
    QPushButton* m_btnView = nullptr;
    QPushButton* m_btnRelease = nullptr;
    QPushButton* m_btnCancel = nullptr;
};
