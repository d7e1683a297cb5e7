// The address and postal-code conversion of the current book after municipal mergers.
#pragma once

#include "AdrsConvApi.h"
#include "platform/Cp932.h"

#include "maintenance/TableTools.h"

#include <QDateTime>

#include <functional>

class QProgressBar;
class QPushButton;
class Table;
class TPosSearch;

// The working copy of one record: the fields the conversion reads and writes.
struct TAdrsPosFields
{
    AnsiString Tdfkn, Adrs1, Adrs2, Adrs3, Pos, JisCode, AdrsKana;

    bool operator==(const TAdrsPosFields&) const = default;
};

// What ConvertRecord calls: the two libraries, the protection of a postal code, and the dictionary folder
// handed to the libraries.
struct TAdrsPosCalls
{
    std::function<bool(const TCvtAdrsRequest&, TCvtAdrsResult&)> cvtAdrs;
    std::function<bool(const TYAdrsToRequest&, TYAdrsToResult&)> yAdrsTo;
    std::function<bool(const AnsiString& pos)> keepPostalCode;
    QByteArray folder;
};

// The calls through the loaded libraries, with ProgramFolder + "AddConv/".
TAdrsPosCalls LibraryAdrsPosCalls(const std::function<bool(const AnsiString&)>& keepPostalCode);

// Re-derives the address parts, address code, reading and postal code of one record; true when any of the
// seven fields changed. Every value is cut at a character boundary to its field's width.
bool ConvertRecord(TAdrsPosFields& record, const TAdrsPosCalls& calls);
// Whether pos (7 characters) is the individual code of a large office. A failing dictionary keeps the code.
bool KeepPostalCode(TPosSearch& search, const AnsiString& pos);

// ConvertRecord on the current record of the book's table; a changed record is posted with UpdDateTime set
// to now. False when nothing changed or the record could not take its new values (it keeps its old ones).
bool ConvertBookRecord(Table& table, const TAdrsPosCalls& calls, const QDateTime& now);

struct TAdrsPosCounts
{
    int processed = 0;
    int converted = 0;
};

class TConvertAdrsPos : public TConvertToolDialog
{
public:
    TConvertAdrsPos(QWidget* owner, std::function<bool()> closeChildren);

    void btnConvertClick() override;
    TAdrsPosCounts Counts() const { return m_counts; }

private:
    bool Convert(const TAdrsPosCalls& calls);

    TAdrsPosCounts m_counts;
};
