// tablestore: create a table of the program, dump its rows to a CP932 CSV file, or load rows from one.
#include "core/TableDefs.h"
#include "platform/TableEngine.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

void usage()
{
    std::fputs("usage: tablestore create TABLE.DB\n"
               "       tablestore dump TABLE.DB [file.csv]   (standard output without a file)\n"
               "       tablestore load TABLE.DB file.csv     (creates the table when it is missing)\n"
               "TABLE.DB is one of Adrs.DB, Sender.DB, Category.DB, Target.DB, Exception.DB, Original.DB.\n"
               "CSV files are CP932 with a header line of field names; an empty value is null.\n",
               stderr);
}

[[noreturn]] void fail(const QString& message)
{
    std::fprintf(stderr, "tablestore: %s\n", message.toLocal8Bit().constData());
    std::exit(1);
}

QByteArray csvValue(const QByteArray& v)
{
    // CP932 trail bytes are 0x40 and above, so the bytes tested here are always whole characters.
    if (!v.contains(',') && !v.contains('"') && !v.contains('\r') && !v.contains('\n'))
        return v;
    QByteArray q = v;
    q.replace("\"", "\"\"");
    return '"' + q + '"';
}

// Splits CSV text into records of fields; quoted fields may hold commas, quotes and line breaks.
QList<QList<QByteArray>> parseCsv(const QByteArray& text, QString* error)
{
    QList<QList<QByteArray>> records;
    QList<QByteArray> record;
    QByteArray field;
    bool quoted = false;
    bool wasQuoted = false;
    int line = 1;
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < n && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == '"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == ',') {
            record.append(field);
            field.clear();
            wasQuoted = false;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
                ++i;
            record.append(field);
            records.append(record);
            record.clear();
            field.clear();
            wasQuoted = false;
            ++line;
        } else if (wasQuoted) {
            *error = QStringLiteral("line %1: text after a closing quote").arg(line);
            return {};
        } else {
            field += c;
        }
    }
    if (quoted) {
        *error = QStringLiteral("line %1: a quote is not closed").arg(line);
        return {};
    }
    if (!field.isEmpty() || !record.isEmpty() || wasQuoted) {
        record.append(field);
        records.append(record);
    }
    return records;
}

TableDef definitionOf(const QString& path)
{
    const auto def = TableDefByFileName(QFileInfo(path).fileName());
    if (!def)
        fail(QStringLiteral("%1: not a table of the program").arg(path));
    return *def;
}

void openTable(Table& table, const QString& path, bool exclusive)
{
    const QFileInfo fi(path);
    table.setDatabaseName(fi.absolutePath());
    table.setTableName(fi.fileName());
    table.setExclusive(exclusive);
    table.open();
}

int create(const QString& path)
{
    Table::createTable(path, definitionOf(path), TablePassword);
    return 0;
}

int dump(const QString& path, const QString& csvPath)
{
    Table table;
    openTable(table, path, false);
    QByteArray out;
    QList<QByteArray> names;
    for (int i = 0; i < table.fieldCount(); ++i)
        names.append(table.field(i).name().toLatin1());
    out += names.join(',') + "\r\n";
    for (table.first(); !table.eof(); table.next()) {
        QList<QByteArray> values;
        for (int i = 0; i < table.fieldCount(); ++i)
            values.append(csvValue(table.field(i).asAnsi()));
        out += values.join(',') + "\r\n";
    }
    if (csvPath.isEmpty()) {
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QSaveFile file(csvPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        fail(QStringLiteral("%1: %2").arg(csvPath, file.errorString()));
    return 0;
}

int load(const QString& path, const QString& csvPath)
{
    const TableDef def = definitionOf(path);
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("%1: %2").arg(csvPath, file.errorString()));
    QString error;
    const QList<QList<QByteArray>> records = parseCsv(file.readAll(), &error);
    if (!error.isEmpty())
        fail(csvPath + QLatin1String(": ") + error);
    if (records.isEmpty())
        fail(csvPath + QLatin1String(": no header line"));
    QList<int> columns;
    for (const QByteArray& name : records.first()) {
        const int fi = def.fieldIndex(QString::fromLatin1(name.trimmed()));
        if (fi < 0)
            fail(QStringLiteral("%1: no field \"%2\" in %3")
                     .arg(csvPath, QString::fromLatin1(name), def.fileName));
        columns.append(fi);
    }

    const bool created = !QFileInfo::exists(path);
    if (created)
        Table::createTable(path, def, TablePassword);
    try {
        Table table;
        openTable(table, path, true);
        // All rows or none: one transaction, and a table made here goes again when the load fails.
        table.startTransaction();
        for (int r = 1; r < records.size(); ++r) {
            const QList<QByteArray>& values = records[r];
            if (values.size() != columns.size())
                throw TableError(TableErrorCode::BadValue,
                                 QStringLiteral("%1: record %2 has %3 values, the header %4")
                                     .arg(csvPath)
                                     .arg(r)
                                     .arg(values.size())
                                     .arg(columns.size()));
            table.append();
            try {
                for (int c = 0; c < columns.size(); ++c)
                    table.field(columns[c]).setAnsi(values[c]);
                table.post();
            } catch (const TableError& e) {
                throw TableError(e.code(),
                                 QStringLiteral("%1: record %2: %3").arg(csvPath).arg(r).arg(e.message()));
            }
        }
        table.commit();
    } catch (...) {
        if (created) {
            QFile::remove(path);
            QFile::remove(path + QLatin1String(".lck"));
        }
        throw;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    TableSession::global().addPassword(TablePassword);
    try {
        if (args.size() == 2 && args[0] == QLatin1String("create"))
            return create(args[1]);
        if ((args.size() == 2 || args.size() == 3) && args[0] == QLatin1String("dump"))
            return dump(args[1], args.value(2));
        if (args.size() == 3 && args[0] == QLatin1String("load"))
            return load(args[1], args[2]);
    } catch (const TableError& e) {
        fail(e.message());
    }
    usage();
    return 2;
}
