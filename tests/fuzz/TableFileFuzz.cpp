// Fuzz target: the table engine opening a table file of the input's bytes, walking it in every order and
// reading every field, then appending a row. A damaged file may be refused with a TableError, nothing else.
#include "FuzzSupport.h"

#include "core/TableDefs.h"
#include "platform/TableEngine.h"

namespace {

void ReadRow(Table& table)
{
    for (int i = 0; i < table.fieldCount(); ++i) {
        TableField field = table.field(i);
        field.isNull();
        field.asAnsi();
        field.value();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = Fuzz::ScratchFolder() + QStringLiteral("Fuzz.DB");
    // A journal left by an earlier input would be rolled into this one.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    Fuzz::WriteFile(path, Fuzz::Bytes(data, size));

    static TableSession session;
    if (session.passwords().isEmpty())
        session.addPassword(TablePassword);
    Table table(session);
    table.setTableName(path);
    try {
        table.open();
        table.recordCount();
        QStringList orders{QString()};
        for (const IndexDef& index : table.definition().indexes) {
            if (!index.primary)
                orders.append(index.name);
        }
        for (const QString& order : orders) {
            table.setIndexName(order);
            for (table.first(); !table.eof(); table.next())
                ReadRow(table);
            table.last();
            if (!table.bof())
                ReadRow(table);
        }
        table.setIndexName(QString());
        table.append();
        table.post();
        table.integrityCheck();
    } catch (const TableError&) {
    }
    return 0;
}
