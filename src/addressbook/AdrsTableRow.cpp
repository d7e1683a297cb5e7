// Adrs.DB rows through the table engine as the address record and the narrowing read them.
#include "addressbook/AdrsTableRow.h"

#include "core/AppSub.h"
#include "core/Dlhyp.h"
#include "platform/TableEngine.h"

int TAdrsTableRow::fieldIndex(const char* name) const
{
    const TableDef& def = m_table->definition();
    if (m_definition != &def) { // reopened: field positions may differ
        m_fieldIndexes.clear();
        m_definition = &def;
    }
    const QByteArray key(name);
    auto it = m_fieldIndexes.constFind(key);
    if (it == m_fieldIndexes.constEnd()) {
        const int index = def.fieldIndex(QString::fromLatin1(key));
        if (index < 0)
            throw TableError(
                TableErrorCode::UnknownField,
                QStringLiteral("%1: no field \"%2\"").arg(def.fileName, QString::fromLatin1(key)));
        it = m_fieldIndexes.insert(key, index);
    }
    return *it;
}

AnsiString TAdrsTableRow::FieldBytes(const char* name) const
{
    const TableField f = m_table->field(fieldIndex(name));
    return f.isNull() ? AnsiString() : f.asAnsi();
}

qint32 TAdrsTableRow::FieldInt(const char* name) const
{
    return qint32(m_table->field(fieldIndex(name)).asInteger());
}

bool TAdrsTableRow::FieldBool(const char* name) const
{
    return m_table->field(fieldIndex(name)).asBoolean();
}

QDateTime TAdrsTableRow::FieldDateTime(const char* name) const
{
    return m_table->field(fieldIndex(name)).asDateTime();
}

bool TAdrsTableRow::FindRecNo(qint32 recNo)
{
    if (!m_table->indexName().isEmpty())
        m_table->setIndexName(QString());
    return m_table->findKey({recNo});
}

THyphenateFunc AdrsHyphenateFunc()
{
    return [](const AnsiString& digits) { return HyphenatePhoneText(digits); };
}

TDecipherFunc AdrsDecipherFunc()
{
    return [](const AnsiString& cipherText) -> AnsiString {
        try {
            return DecryptFieldText(cipherText, FieldCipherKey);
        } catch (const std::exception&) {
            return {};
        }
    };
}
