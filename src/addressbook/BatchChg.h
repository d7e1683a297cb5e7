// Batch edit: chosen items of every selected row of the address list set to one value each, in place.
#pragma once

#include "addressbook/CardServices.h"
#include "addressbook/DtInqiryLogic.h"
#include "addressbook/Inquiry.h"

#include <QDateTime>
#include <QDialog>

#include <array>
#include <bitset>
#include <functional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class Table;
class TAddressListRows;

// The 17 items in their order (also the order of the flags the record card is handed).
enum TBatchItem {
    biGroup = 0,
    biCodes = 1,
    biPrivCorp = 2,
    biIgnoreName = 3,
    biCategory = 4,
    biPrintTarget = 5,
    biSender = 6,
    biKeyword1 = 7, // to biKeyword1 + 7
    biSymbolMark = 15,
    biSymbolColor = 16,
};
inline constexpr int BatchItemCount = 17;

// Which items change and the values they get.
struct TBatchChoice
{
    std::bitset<BatchItemCount> flags;
    TAdrsDataRec values;
};

// The address converter as a run uses it: true with the codes of an address it recognised. Throws the
// converter's exception on a failure of its own.
using TBatchConvert =
    std::function<bool(const AnsiString& address, AnsiString& jisCode, AnsiString& blockCode)>;

struct TBatchOutcome
{
    enum End { Done, RowMissing, ConverterError };
    End end = Done;
    QString message;      // the converter's message (ConverterError)
    QList<qint32> recNos; // one slot per visited selected row: the RecNo of a changed row, else 0
    int changed = 0;
    int failedPosts = 0;
};

// One run over the selected rows of a list, writing through the table object (left on its primary index).
// Changed rows are committed in batches; a batch that cannot be committed is written again row by row.
class TBatchChangeRun
{
public:
    TBatchChangeRun(Table& table, const TBatchChoice& choice, TBatchConvert convert = {});

    int BatchSize = 500;
    std::function<QDateTime()> Clock = [] { return QDateTime::currentDateTime(); };
    // A row was changed and written: its list index and the record the record card is handed.
    std::function<void(int index, const TAdrsDataRec& handed)> OnChanged;

    // Walks the selected rows; changed rows are flushed to disc at the end.
    TBatchOutcome Run(const TAddressListRows& rows);

private:
    enum class TRowResult { Unchanged, Changed, PostFailed, Missing };
    struct TPending
    {
        int slot, index;
        qint32 recNo;
    };
    TRowResult EditRow(qint32 recNo, TAdrsDataRec& handed);
    bool CommitBatch();
    void ReplayBatch(TBatchOutcome& out);
    void Count(TBatchOutcome& out, const TPending& p, TRowResult result, const TAdrsDataRec& handed);

    Table& m_table;
    TBatchChoice m_choice;
    TBatchConvert m_convert;
    bool m_inBatch = false;
    QList<TPending> m_pending;
    QList<TAdrsDataRec> m_pendingHanded;
};

// The dialog ("アドレス帳の一括編集"). rows gives the selection, book the senders, the current row and the
// notification of changed rows; table is the shared Adrs.DB object of the open book.
class TBatchChange : public QDialog
{
    Q_OBJECT
public:
    TBatchChange(const TAddressListRows& rows, TCardAddressBook& book, Table& table,
                 QWidget* parent = nullptr);

    // The values the widgets stand for.
    TBatchChoice Choice() const;
    void btnStartClick();
    void bbtnSymbolColorClick();
    qint32 SymbolColor() const { return m_symbolColor; }
    int BatchSize = 500;
    std::function<QDateTime()> Clock = [] { return QDateTime::currentDateTime(); };

private:
    void BuildControls();
    void UpdateEnabled();
    void FillCategorySub();

    const TAddressListRows& m_rows;
    TCardAddressBook& m_book;
    Table& m_table;
    qint32 m_symbolColor = DefaultSymbolColor;

public:
    std::array<QCheckBox*, BatchItemCount> chkItem{};
    QComboBox* cbxGroup = nullptr;
    QRadioButton* rbPriv = nullptr;
    QRadioButton* rbCorp = nullptr;
    QRadioButton* rbIgnoreName = nullptr;
    QRadioButton* rbUseName = nullptr;
    QComboBox* cbxCatMain = nullptr;
    QComboBox* cbxCatSub = nullptr;
    QRadioButton* rbPrintTarget = nullptr;
    QRadioButton* rbPrintException = nullptr;
    QRadioButton* rbPrintNone = nullptr;
    QComboBox* cbxSender = nullptr;
    std::array<QLineEdit*, 5> edtKeyword{};
    std::array<QComboBox*, 3> cbxKeyword{};
    QComboBox* cbxSymbolMark = nullptr;
    QFrame* pnlSymbolColor = nullptr;
    QToolButton* bbtnSymbolColor = nullptr;
    QPushButton* btnStart = nullptr;
    QPushButton* btnCancel = nullptr;
};

// Registers TBatchChange as the address list's batch edit.
void RegisterBatchChange();
