// Adrs.DB rows through the table engine as the address record and the narrowing read them.
#pragma once

#include "addressbook/Inquiry.h"

#include <QHash>

class Table;

// The shared Adrs.DB table object seen as a row cursor: fields by name, lookups by RecNo on the primary
// index. The table keeps whatever index a lookup leaves it on.
class TAdrsTableRow : public TAdrsTableCursor
{
public:
    explicit TAdrsTableRow(Table& table) : m_table(&table) {}

    Table& table() const { return *m_table; }

    AnsiString FieldBytes(const char* name) const override;
    qint32 FieldInt(const char* name) const override;
    bool FieldBool(const char* name) const override;
    QDateTime FieldDateTime(const char* name) const override;
    bool FindRecNo(qint32 recNo) override;

private:
    int fieldIndex(const char* name) const;

    Table* m_table;
    mutable QHash<QByteArray, int> m_fieldIndexes; // names resolved once per table definition
    mutable const void* m_definition = nullptr;
};

// HyphenatePhoneText with the default data folder, as the record reading and the cell texts use it.
THyphenateFunc AdrsHyphenateFunc();

using TDecipherFunc = std::function<AnsiString(const AnsiString&)>;
// DecryptFieldText with the field key. Cipher text that does not decode reads as empty: one damaged field
// must not stop a whole list from loading.
TDecipherFunc AdrsDecipherFunc();
