// Test double for an Adrs.DB row and table cursor: fields from a map, every field read logged.
#pragma once

#include "addressbook/Inquiry.h"

#include <QHash>
#include <QMap>
#include <QVariant>

class FakeAdrsRow : public TAdrsTableCursor
{
public:
    using Fields = QHash<QByteArray, QVariant>;

    FakeAdrsRow() = default;
    explicit FakeAdrsRow(Fields fields) : m_fields(std::move(fields)) {}

    // Text fields take wide text (stored as CP932) or raw bytes.
    FakeAdrsRow& set(const char* name, const QString& text) { return setValue(name, ToAnsi(text)); }
    FakeAdrsRow& set(const char* name, const QByteArray& bytes) { return setValue(name, bytes); }
    FakeAdrsRow& set(const char* name, const char* bytes) { return setValue(name, QByteArray(bytes)); }
    FakeAdrsRow& setValue(const char* name, const QVariant& value)
    {
        m_fields.insert(name, value);
        return *this;
    }
    // Rows FindRecNo can move to.
    void addRow(qint32 recNo, const Fields& fields) { m_rows.insert(recNo, fields); }

    AnsiString FieldBytes(const char* name) const override { return read(name).toByteArray(); }
    qint32 FieldInt(const char* name) const override { return read(name).toInt(); }
    bool FieldBool(const char* name) const override { return read(name).toBool(); }
    QDateTime FieldDateTime(const char* name) const override { return read(name).toDateTime(); }
    bool FindRecNo(qint32 recNo) override
    {
        if (!m_rows.contains(recNo))
            return false;
        m_fields = m_rows.value(recNo);
        return true;
    }

    QByteArrayList reads() const { return m_reads; }
    void clearReads() { m_reads.clear(); }

private:
    QVariant read(const char* name) const
    {
        m_reads.append(name);
        return m_fields.value(name);
    }

    Fields m_fields;
    QMap<qint32, Fields> m_rows;
    mutable QByteArrayList m_reads;
};
