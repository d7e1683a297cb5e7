// Fuzz target: the import file reader; the first line fixes the columns, every later line is prepared
// against a mapping of all columns; the lines read join back to the input and a prepared line keeps its
// read line.
#include "FuzzSupport.h"

#include "dataexchange/ImportConvert.h"
#include "dataexchange/ImportReader.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = Fuzz::Bytes(data, size);
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    TImportLineReader reader(device);
    AnsiString line;
    if (!reader.ReadLine(line))
        return 0;
    Fuzz::Check(!line.contains('\r') && !line.contains('\n'));
    const QList<AnsiString> preview = ImportPreviewFields(line);
    const int columns = CountFieldSeparators(line) + 1;
    Fuzz::Check(preview.size() == columns);

    TImportMapping mapping;
    for (int item = 1; item <= ImportItemCount; ++item)
        mapping.SetPart(item, 1, (item - 1) % columns, preview[(item - 1) % columns]);
    mapping.AddConstant(ImportItem::Note, QStringLiteral("\t定数"));

    TImportLookups lookups;
    lookups.today = QDate(2024, 1, 1);
    lookups.now = QDateTime(lookups.today, QTime(12, 0));
    TImportLine prepared;
    qint64 lines = 1;
    while (reader.ReadLine(line)) {
        ++lines;
        PrepareImportLine(line, columns, columns - 1, mapping, prepared);
        if (prepared.errorCode != 0) {
            Fuzz::Check(CountFieldSeparators(line) > columns - 1);
            continue;
        }
        // Completion only appends commas (an unclosed quote keeps them inside its field).
        Fuzz::Check(prepared.line.startsWith(line) && prepared.line.size() - line.size() <= columns - 1);
        try {
            const TAdrsDataRec rec = BuildAppendRecord(prepared.itemTexts, {}, lookups);
            TAdrsDataRec stored = rec;
            ApplyUpdateFields(prepared.itemTexts, mapping, lookups, stored);
        } catch (const EConvertError&) {
            // a coordinate that is no number refuses the line
        }
    }
    QBuffer again(&bytes);
    again.open(QIODevice::ReadOnly);
    Fuzz::Check(CountImportLines(again, false) == lines);
    return 0;
}
