// Fuzz target: a list-print template file and the [LIST PRINT LAYOUT] keys of the main settings file.
#include "dataexchange/ListPrintItems.h"
#include "dataexchange/ListPrintPage.h"
#include "platform/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <set>

namespace {

void CheckColumns(const TListPrintColumns& columns)
{
    if (columns.size() > MaxListPrintColumns)
        __builtin_trap();
    std::set<int> used;
    for (const ListPrintColumn& c : columns) {
        if (c.ItemNo < 0 || c.ItemNo >= ListPrintItemCount || c.Width < 1 || c.Width > 999 || c.Align < 0 ||
            c.Align > 2 || (c.ItemNo != 0 && !used.insert(c.ItemNo).second))
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemIniFile ini(QString{});
    ini.SetBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    TListPrintTemplates templates;
    ReadTemplates(ini, templates);
    if (templates.size() > MaxListPrintTemplates)
        __builtin_trap();
    for (const TListPrintTemplate& t : templates)
        CheckColumns(t.Columns);
    // Written and read again, the templates are the same.
    TMemIniFile again(QString{});
    again.SetBytes(TemplateFileBytes(templates));
    TListPrintTemplates back;
    ReadTemplates(again, back);
    if (back.size() > templates.size())
        __builtin_trap();

    TListPrintLayout layout;
    TListPrintColumns columns;
    ReadListPrintLayout(ini, layout, columns);
    CheckColumns(columns);
    if (layout.FontSize < ListPrintMinFontSize || layout.FontSize > ListPrintMaxFontSize ||
        layout.Colors.size() > ListPrintMaxColors || layout.HorzInterval < 1 || layout.HorzInterval > 20 ||
        layout.RowCount < 1 || layout.RowCount > 3 || layout.Copies < 1 || layout.Copies > 100)
        __builtin_trap();
    for (int type : layout.LineType)
        if (type < 0 || type > 5)
            __builtin_trap();
    CountRowsPerPage(layout, 600, int(size % 8000), layout.OffsetY);
    return 0;
}
