// The import run's table operations on the open Adrs.DB.
#pragma once

#include "addressbook/AdrsTableRow.h"
#include "dataexchange/ImportRun.h"

#include <QHash>

#include <map>
#include <set>

class Table;

// Receives the fields of a record by name, in the form the table stores them.
class TAdrsFieldSink
{
public:
    virtual ~TAdrsFieldSink() = default;
    virtual void Bytes(const QByteArray& name, const AnsiString& value) = 0;
    virtual void Integer(const QByteArray& name, qint64 value) = 0;
    virtual void Boolean(const QByteArray& name, bool value) = 0;
    virtual void Moment(const QByteArray& name, const QDateTime& value) = 0;
};
// Hands every field of the record (RecNo excepted) to the sink.
void VisitAdrsDataRec(const TAdrsDataRec& rec, TAdrsFieldSink& sink);
// Writes every field of the record into the table's row being appended or edited (RecNo excepted). positions
// keeps the field positions of the table between calls.
void WriteAdrsDataRec(Table& table, const TAdrsDataRec& rec, QHash<QByteArray, int>* positions = nullptr);

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
    void loadCodes();
    void addCode(qint32 recNo, const AnsiString& code);
    void removeCode(qint32 recNo);

    Table& m_table;
    TAdrsTableRow m_row;
    QHash<QByteArray, int> m_positions;
    bool m_codesLoaded = false;
    std::map<AnsiString, std::set<qint32>> m_codes; // stored customer code → its records
    QHash<qint32, AnsiString> m_codeOf;
};
