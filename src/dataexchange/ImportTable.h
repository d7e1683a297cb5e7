// The import run's table operations on the open Adrs.DB.
#pragma once

#include "addressbook/AdrsTableRow.h"
#include "dataexchange/ImportRun.h"

class Table;

// Writes every field of the record into the table's row being appended or edited (RecNo excepted).
void WriteAdrsDataRec(Table& table, const TAdrsDataRec& rec);

class TAdrsImportTable : public TImportTable
{
public:
    explicit TAdrsImportTable(Table& table) : m_table(table), m_row(table) {}

    qint64 RecordCount() override;
    std::optional<qint32> FindCustomCode(const AnsiString& code) override;
    std::optional<TAdrsDataRec> ReadRecord(qint32 recNo) override;
    bool Append(const TAdrsDataRec& rec) override;
    bool Update(const TAdrsDataRec& rec) override;
    void Begin() override;
    void Commit() override;

private:
    bool post(const TAdrsDataRec& rec);

    Table& m_table;
    TAdrsTableRow m_row;
};
