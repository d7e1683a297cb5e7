// The record range of the output windows: selected rows, a numeric range or every shown row of the address
// list, its bounds and count, the walk that turns it into RecNo values, and its group of controls.
#pragma once

#include "addressbook/AdrsListRows.h"

#include <QGroupBox>

#include <functional>

class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
class TAdrsTableCursor;
class TMemIniFile;

enum TDataSelect { dsList = 0, dsRange = 1, dsAll = 2 };

struct TRecordRange
{
    int DataSelect = dsList; // -1 only while a window is being set up
    int BeginPos = 0;        // 1-based; 0 when the list is empty
    int EndPos = 0;
    int BeginMin = 0, BeginMax = 0;
    int EndMin = 0, EndMax = 0;
    int BeginOnEnter = 0, EndOnEnter = 0;
    int TargetCount = 0;

    // DataSelect, BeginPos and EndPos of section (outside 0..2 reads 0; no number reads the default).
    void ReadSettings(const TMemIniFile& ini, const QString& section);
    void WriteSettings(TMemIniFile& ini, const QString& section) const;

    // Bounds from the shown count and the stored positions fitted into them.
    void Fit(int shownCount);
    // A new begin (or end) position; the other end follows when they would cross.
    void SetBegin(int value);
    void SetEnd(int value);
    // Up/Down/Page Up/Page Down: delta clamped to the bounds; true when the position changed.
    bool StepBegin(int delta);
    bool StepEnd(int delta);
    // An edit's text on leaving it: a number within the bounds is taken; anything else answers false and
    // the edit shows its value from entering again.
    bool TakeBeginText(const QString& text);
    bool TakeEndText(const QString& text);
    // The list's shown count changed (or not): a changed count resets the range to all rows.
    void ListChanged(int shownCount);
    int Count(const TAddressListRows& rows) const;
};

// Runs visit on every record of the range in list order, with the cursor positioned on it; rows whose RecNo
// the table no longer holds are skipped. visit answers false to stop. Answers the records visited.
int WalkRecordRange(const TRecordRange& range, const TAddressListRows& rows, TAdrsTableCursor& cursor,
                    const std::function<bool()>& visit);

// The group "出力データの選択" of an output window: three choices, the numeric range with its two spin
// fields, and the count. Its owner decides what the count enables.
class TRecordRangeGroup : public QGroupBox
{
    Q_OBJECT
public:
    TRecordRangeGroup(QWidget* parent, const QString& title, const QString& countTitle);

    // InitDataRange: fits the stored range to the list and switches the stored choice on.
    void InitDataRange(const TRecordRange& stored, const TAddressListRows& rows);
    // The address list's hook.
    void UpdateDataRange();
    const TRecordRange& Range() const { return m_range; }
    int TargetCount() const { return m_range.TargetCount; }
    const TAddressListRows* Rows() const { return m_rows; }

signals:
    void targetCountChanged(int count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ChooseDataSelect(int choice);
    void EnableRangeControls(bool on);
    void ShowRange();
    void UpdateTargetCount();
    bool LeaveEdit(QLineEdit* edit);

    TRecordRange m_range;
    const TAddressListRows* m_rows = nullptr;
    QRadioButton* m_rbList = nullptr;
    QRadioButton* m_rbRange = nullptr;
    QRadioButton* m_rbAll = nullptr;
    QLineEdit* m_edtRangeBegin = nullptr;
    QLineEdit* m_edtRangeEnd = nullptr;
    QWidget* m_udRangeBegin = nullptr;
    QWidget* m_udRangeEnd = nullptr;
    QLabel* m_lblRangeBegin = nullptr;
    QLabel* m_lblRangeEnd = nullptr;
    QLabel* m_lblDataCount = nullptr;
};
