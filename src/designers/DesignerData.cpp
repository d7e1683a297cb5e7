// In-memory address list and sender rows, and reading them from table files.
#include "designers/DesignerData.h"

#include "platform/IniFile.h"
#include "platform/TableEngine.h"

#include <QFileInfo>

AnsiString TMemoryRow::Text(const QString& field) const
{
    const QVariant v = Fields.value(field);
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray();
    return ToAnsi(v.toString());
}

qint32 TMemoryAddressList::GetRecNo(int index) const
{
    return index >= 0 && size_t(index) < Rows.size() ? Rows[size_t(index)].RecNo() : -1;
}

qint32 TMemoryAddressList::GetFirstSelectedRecNo() const
{
    return Selected >= 0 && size_t(Selected) < Rows.size() ? Rows[size_t(Selected)].RecNo() : -1;
}

const TMergeRow* TMemoryAddressList::LocateRecord(qint32 recNo) const
{
    for (const TMemoryRow& row : Rows)
        if (row.RecNo() == recNo)
            return &row;
    return nullptr;
}

std::vector<qint32> TMemorySenders::SenderRecNos() const
{
    std::vector<qint32> recNos;
    for (const TMemoryRow& row : Rows)
        recNos.push_back(row.RecNo());
    return recNos;
}

const TMergeRow* TMemorySenders::LocateSender(qint32 recNo) const
{
    for (const TMemoryRow& row : Rows)
        if (row.RecNo() == recNo)
            return &row;
    return nullptr;
}

bool ReadTableRows(const QString& path, std::vector<TMemoryRow>& rows, QString* error)
{
    try {
        const QFileInfo info(path);
        Table table;
        table.setDatabaseName(info.absolutePath());
        table.setTableName(info.fileName());
        table.open();
        for (table.first(); !table.eof(); table.next())
            rows.push_back(CurrentTableRow(table));
        table.close();
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromLocal8Bit(e.what());
        return false;
    }
}

TMemoryRow CurrentTableRow(Table& table)
{
    TMemoryRow row;
    const TableDef& def = table.definition();
    for (int i = 0; i < def.fields.size(); ++i) {
        TableField field = table.field(i);
        if (field.type() == FieldType::Alpha || field.type() == FieldType::Memo)
            row.Fields.insert(field.name(), field.asAnsi());
        else
            row.Fields.insert(field.name(), field.value());
    }
    return row;
}

TTableAddressSource::TTableAddressSource(Table& adrs, std::function<int()> count,
                                         std::function<qint32(int)> recNo,
                                         std::function<int()> firstSelectedIndex)
    : m_adrs(adrs), m_count(std::move(count)), m_recNo(std::move(recNo)),
      m_firstSelected(std::move(firstSelectedIndex))
{
}

qint32 TTableAddressSource::GetFirstSelectedRecNo() const
{
    const int index = m_firstSelected();
    return index < 0 ? -1 : m_recNo(index);
}

const TMergeRow* TTableAddressSource::LocateRecord(qint32 recNo) const
{
    if (!m_adrs.active() || !m_adrs.locate({QStringLiteral("RecNo")}, {recNo}))
        return nullptr;
    m_row = CurrentTableRow(m_adrs);
    return &m_row;
}

void TTableSenderSource::read() const
{
    m_rows.clear();
    const bool wasOpen = m_senders.active();
    try {
        if (!wasOpen)
            m_senders.open();
        for (m_senders.first(); !m_senders.eof(); m_senders.next())
            m_rows.push_back(CurrentTableRow(m_senders));
    } catch (const std::exception&) {
        // A sender table that cannot be read has no senders: the sender frames stay empty.
        m_rows.clear();
    }
    if (!wasOpen && m_senders.active())
        m_senders.close();
}

std::vector<qint32> TTableSenderSource::SenderRecNos() const
{
    read();
    std::vector<qint32> recNos;
    for (const TMemoryRow& row : m_rows)
        recNos.push_back(row.RecNo());
    return recNos;
}

const TMergeRow* TTableSenderSource::LocateSender(qint32 recNo) const
{
    for (const TMemoryRow& row : m_rows)
        if (row.RecNo() == recNo)
            return &row;
    return nullptr;
}

qint32 LoadDefaultSender(const QString& dataFolder)
{
    return TMemIniFile(dataFolder + QStringLiteral("Sender.ini")).ReadInteger("SENDER", "Default", 0);
}
