// What the designers read of the address book: the address list's shown records and their rows of
// "Adrs.DB", the sender rows of "Sender.DB" and the default sender; with an in-memory form that tests and the
// developer tools fill.
#pragma once

#include "platform/Cp932.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

// One table row by field name: text fields as CP932 bytes, numbers, logical fields.
class TMergeRow
{
public:
    virtual ~TMergeRow() = default;
    virtual AnsiString Text(const QString& field) const = 0;
    virtual qint64 Number(const QString& field) const = 0;
    virtual bool Flag(const QString& field) const = 0;
};

// The address list and its table.
class TAddressListSource
{
public:
    virtual ~TAddressListSource() = default;
    virtual int GetRecordCount() const = 0;
    // The RecNo of a shown row, -1 past the ends.
    virtual qint32 GetRecNo(int index) const = 0;
    // The RecNo of the first selected shown row, -1 when none.
    virtual qint32 GetFirstSelectedRecNo() const = 0;
    // The row of "Adrs.DB" with that RecNo; null when Locate finds none.
    virtual const TMergeRow* LocateRecord(qint32 recNo) const = 0;
};

// "Sender.DB" and the default sender of "Sender.ini".
class TSenderSource
{
public:
    virtual ~TSenderSource() = default;
    // RecNos in table order, reading the rows afresh; empty when the table holds no record or cannot be
    // opened. LocateSender finds among the rows of the last reading.
    virtual std::vector<qint32> SenderRecNos() const = 0;
    virtual const TMergeRow* LocateSender(qint32 recNo) const = 0;
    virtual qint32 DefaultSenderNo() const = 0;
    virtual void SetDefaultSenderNo(qint32 recNo) = 0;
};

class TMemoryRow : public TMergeRow
{
public:
    QHash<QString, QVariant> Fields;
    qint32 RecNo() const { return qint32(Number(QStringLiteral("RecNo"))); }
    AnsiString Text(const QString& field) const override;
    qint64 Number(const QString& field) const override { return Fields.value(field).toLongLong(); }
    bool Flag(const QString& field) const override { return Fields.value(field).toBool(); }
};

// Rows in the list's order; the first shown row is the selected one unless told otherwise.
class TMemoryAddressList : public TAddressListSource
{
public:
    std::vector<TMemoryRow> Rows;
    int Selected = 0; // shown row index, -1 none
    int GetRecordCount() const override { return int(Rows.size()); }
    qint32 GetRecNo(int index) const override;
    qint32 GetFirstSelectedRecNo() const override;
    const TMergeRow* LocateRecord(qint32 recNo) const override;
};

class TMemorySenders : public TSenderSource
{
public:
    std::vector<TMemoryRow> Rows;
    qint32 Default = 0;
    std::vector<qint32> SenderRecNos() const override;
    const TMergeRow* LocateSender(qint32 recNo) const override;
    qint32 DefaultSenderNo() const override { return Default; }
    void SetDefaultSenderNo(qint32 recNo) override { Default = recNo; }
};

class Table;

// The address list's accessors over the shared "Adrs.DB" table object: the window binds the three accessors
// to its list.
class TTableAddressSource : public TAddressListSource
{
public:
    TTableAddressSource(Table& adrs, std::function<int()> count, std::function<qint32(int)> recNo,
                        std::function<int()> firstSelectedIndex);
    int GetRecordCount() const override { return m_count(); }
    qint32 GetRecNo(int index) const override { return m_recNo(index); }
    qint32 GetFirstSelectedRecNo() const override;
    const TMergeRow* LocateRecord(qint32 recNo) const override;

private:
    Table& m_adrs;
    std::function<int()> m_count;
    std::function<qint32(int)> m_recNo;
    std::function<int()> m_firstSelected;
    mutable TMemoryRow m_row;
};

// "Sender.DB" through a table object, opened for each reading and closed again; the default sender as read
// from "Sender.ini" when created.
class TTableSenderSource : public TSenderSource
{
public:
    TTableSenderSource(Table& senders, qint32 defaultSenderNo)
        : m_senders(senders), m_default(defaultSenderNo)
    {
    }
    std::vector<qint32> SenderRecNos() const override;
    const TMergeRow* LocateSender(qint32 recNo) const override;
    qint32 DefaultSenderNo() const override { return m_default; }
    void SetDefaultSenderNo(qint32 recNo) override { m_default = recNo; }

private:
    void read() const;
    Table& m_senders;
    qint32 m_default;
    mutable std::vector<TMemoryRow> m_rows;
};

// The default sender of "Sender.ini" in the folder: section "SENDER", key "Default" (0 when missing).
qint32 LoadDefaultSender(const QString& dataFolder);

// The table's current row (text fields as bytes).
TMemoryRow CurrentTableRow(Table& table);
// Every row of a table file in RecNo order (text fields as bytes); false and the reason when it cannot be
// read.
bool ReadTableRows(const QString& path, std::vector<TMemoryRow>& rows, QString* error);
