// The column choice of the address list: which of its 52 columns show, and in which order.
#pragma once

#include "addressbook/AdrsListView.h"

#include <QDialog>
#include <QList>

class QListWidget;
class QPushButton;

// One column of the address list in display order.
struct TAddressColumnRec
{
    qint32 item = 0;     // row of AddressListColumnTable
    qint32 tableRow = 0; // the same row, looked up once when loading
    qint32 width = 0;    // screen pixels
    bool shown = false;
    friend bool operator==(const TAddressColumnRec&, const TAddressColumnRec&) = default;
};

// The 52 columns in their default order, widths and shown flags.
QList<TAddressColumnRec> DefaultAddressColumns();

enum class TColumnMove { Top, Up, Down, Bottom };
// Moves the record at index; answers its new index (index itself when it cannot move that way).
int MoveAddressColumn(QList<TAddressColumnRec>& columns, int index, TColumnMove move);
// Every record shown exactly when its column is shown by default; the order stays.
void ResetShownColumns(QList<TAddressColumnRec>& columns);
// The records in the default order, each keeping its width and shown flag.
void ResetColumnOrder(QList<TAddressColumnRec>& columns);

// The address list's column-choice command up to its own follow-up: the dialog over owner, handed a copy
// of the column records; on OK the records in their new order and with their new shown flags replace them
// and the answer is true.
bool ExecuteHeaderSelect(QWidget* owner, const TAddressListView& list, QList<TAddressColumnRec>& columns);

// The modal dialog "表示項目の設定".
class THeaderSelect : public QDialog
{
public:
    THeaderSelect(QWidget* owner, const TAddressListView& list);

    void SetColumns(const QList<TAddressColumnRec>& columns);
    void GetColumns(QList<TAddressColumnRec>& columns) const;
    static constexpr int HelpTopic = 43;

private:
    void FillList();
    void TakeChecks();
    void Move(TColumnMove move);
    void SelectRow(int row);
    void CheckAll(bool defaultsOnly);
    void ResetOrder();
    void Ok();

    const TAddressListView& m_list;
    QList<TAddressColumnRec> m_columns;
    QListWidget* m_lvHeader = nullptr;
    QPushButton* m_btnOK = nullptr;
};
