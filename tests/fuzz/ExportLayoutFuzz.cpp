// Fuzz target: the export window's keys of the main settings file (Layout1..Layout150, the record range).
#include "dataexchange/ExportItems.h"
#include "dataexchange/RecordRange.h"
#include "platform/IniFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString section = QStringLiteral("FILE EXPORT");
    TMemIniFile ini(QString{});
    ini.SetBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    TExportLayout layout;
    layout.Load(ini, section);
    if (layout.Count() > MaxExportEntries || (!layout.IsEmpty() && layout.Entries().first().Column != 1))
        __builtin_trap();
    int column = 0;
    for (const TExportEntry& e : layout.Entries()) {
        if (e.Item < 0 || e.Item >= ExportItemCount || (e.Column != 0 && e.Column != ++column))
            __builtin_trap();
    }
    // Written back and read again, the layout is the same.
    layout.Save(ini, section);
    TExportLayout again;
    again.Load(ini, section);
    if (again.Entries() != layout.Entries())
        __builtin_trap();

    TRecordRange range;
    range.ReadSettings(ini, section);
    range.Fit(int(size % 7));
    if (range.BeginPos < range.BeginMin || range.EndPos > range.EndMax || range.BeginPos > range.EndPos)
        __builtin_trap();
    return 0;
}
