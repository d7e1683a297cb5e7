// In-memory address list and sender rows, and reading them from table files.
#include "designers/DesignerData.h"

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
        for (table.first(); !table.eof(); table.next()) {
            TMemoryRow row;
            const TableDef& def = table.definition();
            for (int i = 0; i < def.fields.size(); ++i) {
                TableField field = table.field(i);
                if (field.type() == FieldType::Alpha || field.type() == FieldType::Memo)
                    row.Fields.insert(field.name(), field.asAnsi());
                else
                    row.Fields.insert(field.name(), field.value());
            }
            rows.push_back(std::move(row));
        }
        table.close();
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromLocal8Bit(e.what());
        return false;
    }
}
