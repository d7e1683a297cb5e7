// Directory export lines.
#include "search/DirExportLine.h"

#include "core/AppSub.h"
#include "core/CategoryNames.h"
#include "platform/IniFile.h"
#include "search/DicWrapper.h"

namespace {

// The fields an export line is made of, from a detail or a hit row.
struct Values
{
    AnsiString tel, postal, addressKana, pref, city, address, areaCode, nameKana, name, listing, category;
    int kind = 0;
    bool person = false, fromDetail = false;
};

Values FromDetail(const TDirDetailRec& d)
{
    Values v;
    v.fromDetail = true;
    v.tel = FieldText(d.Tel);
    v.kind = d.PhoneKind;
    v.postal = FormatPostalCode(FieldText(d.PostalCode));
    v.addressKana = FieldText(d.TdfknKana) + FieldText(d.CityKana) + FieldText(d.Address3Kana) +
                    FieldText(d.Address4Kana) + FieldText(d.Address5Kana);
    v.pref = FieldText(d.Tdfkn);
    v.city = FieldText(d.City);
    v.address = FieldText(d.Address3) + FieldText(d.Address4) + FieldText(d.Address5);
    v.areaCode = FieldText(d.AreaCode).left(5);
    v.nameKana = FieldText(d.NameKana);
    v.name = FieldText(d.Name);
    v.person = d.PersonFlag == 99;
    v.listing = FieldText(d.FirstListing);
    v.category = FieldText(d.Category);
    return v;
}

Values FromHit(const TDirHitRec& h)
{
    Values v;
    v.tel = FieldText(h.Tel);
    v.kind = h.PhoneKind;
    AnsiString rest;
    if (!SplitPrefecture(FieldText(h.Address), v.pref, rest))
        v.pref.clear();
    v.name = FieldText(h.Name);
    v.listing = FieldText(h.FirstListing);
    v.category = FieldText(h.Category);
    return v;
}

AnsiString CategoryPart(const AnsiString& category, int part, bool name)
{
    const bool none = category.isEmpty() || category == "0000";
    const int major = none ? 0 : category.left(2).toInt();
    const int minor = none ? 0 : category.mid(2, 2).toInt();
    if (!name)
        return AnsiString::number(part == 0 ? major : minor).rightJustified(2, '0');
    if (none)
        return {};
    return ToAnsi(part == 0 ? GetMajorCategoryName(major) : GetMinorCategoryName(major, minor)).trimmed();
}

AnsiString Value(const Values& v, int item)
{
    switch (item) {
    case 0:
        return v.kind == 1 ? AnsiString() : v.tel;
    case 1:
        return v.kind == 3 ? ToAnsi(QStringLiteral("代表")) : AnsiString();
    case 2:
        return v.kind == 1 || v.kind == 2 ? v.tel : AnsiString();
    case 3:
        return v.postal;
    case 4:
        return v.addressKana;
    case 5:
        return v.pref;
    case 6:
        return v.city;
    case 7:
        return v.address;
    case 8:
        return v.areaCode;
    case 9:
        return v.fromDetail && !v.person ? v.nameKana : AnsiString();
    case 10:
        return !v.fromDetail || !v.person ? v.name : AnsiString();
    case 11:
        return v.fromDetail && v.person ? v.nameKana : AnsiString();
    case 12:
        return !v.fromDetail || v.person ? v.name : AnsiString();
    case 13:
        if (!v.fromDetail)
            return {};
        return ToAnsi(v.person ? QStringLiteral("個人") : QStringLiteral("会社"));
    case 14:
        if (v.listing.isEmpty())
            return {};
        return v.listing.left(4) + ToAnsi(QStringLiteral("年")) + v.listing.mid(4, 2) +
               ToAnsi(QStringLiteral("月"));
    case 15:
        return CategoryPart(v.category, 0, true);
    case 16:
        return CategoryPart(v.category, 0, false);
    case 17:
        return CategoryPart(v.category, 1, true);
    case 18:
        return CategoryPart(v.category, 1, false);
    default:
        return {};
    }
}

AnsiString Quoted(const AnsiString& value)
{
    if (!value.contains(','))
        return value;
    AnsiString out = value;
    out.replace('"', "\"\"");
    return '"' + out + '"';
}

template <typename F> AnsiString Joined(const QList<TExportItemRec>& items, F value)
{
    AnsiString line;
    bool first = true;
    for (const TExportItemRec& it : items) {
        if (!it.Chosen || it.Row < 0 || it.Row >= int(DirectoryExportItemTable.size()))
            continue;
        if (!first)
            line += ',';
        first = false;
        line += value(it.Row);
    }
    return line;
}

} // namespace

QList<TExportItemRec> DefaultDirExportItems()
{
    QList<TExportItemRec> items;
    for (const auto& def : DirectoryExportItemTable)
        items.append({def.no, def.no, true});
    return items;
}

bool DirExportNeedsDetail(const QList<TExportItemRec>& items)
{
    for (const TExportItemRec& it : items)
        if (it.Chosen && it.Row >= 0 && it.Row < int(DirectoryExportItemTable.size()) &&
            DirectoryExportItemTable[size_t(it.Row)].needsDetail)
            return true;
    return false;
}

AnsiString DirExportHeader(const QList<TExportItemRec>& items)
{
    return Joined(items, [](int row) {
        return ToAnsi(QString::fromUtf8(DirectoryExportItemTable[size_t(row)].caption));
    });
}

AnsiString DirExportLine(const TDirHitRec& hit, const TDirDetailRec* detail,
                         const QList<TExportItemRec>& items)
{
    const Values v = detail ? FromDetail(*detail) : FromHit(hit);
    return Joined(items, [&](int row) { return Quoted(Value(v, row)); });
}

AnsiString DirExportText(const QList<TExportItemRec>& items, bool& writeHeader, int n,
                         const std::function<AnsiString(int)>& lineOf, int& lines)
{
    AnsiString text;
    if (writeHeader) {
        text += DirExportHeader(items) + "\r\n";
        writeHeader = false;
    }
    lines = 0;
    for (int i = 0; i < n; ++i) {
        const AnsiString line = lineOf(i);
        if (line.isEmpty())
            continue;
        text += line + "\r\n";
        ++lines;
    }
    return text;
}

QList<TExportItemRec> ReadDirExportItems(const TMemIniFile& ini, const QString& section)
{
    QList<TExportItemRec> items = DefaultDirExportItems();
    const QStringList numbers =
        ini.ReadString(section, QStringLiteral("ExportItemIndex"), QString()).split(u',', Qt::SkipEmptyParts);
    if (numbers.size() != items.size())
        return items;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const int no = numbers[i].trimmed().toInt();
        // The table row of the number; an unknown number has none and is never written.
        const bool known = no >= 0 && no < int(DirectoryExportItemTable.size());
        items[i] = {no, known ? no : -1, true};
    }
    const QStringList marks = ini.ReadString(section, QStringLiteral("ExportItemExport"), QString())
                                  .split(u',', Qt::SkipEmptyParts);
    if (marks.size() == items.size())
        for (qsizetype i = 0; i < marks.size(); ++i)
            items[i].Chosen = marks[i].trimmed() == QStringLiteral("1");
    return items;
}

void WriteDirExportItems(TMemIniFile& ini, const QString& section, const QList<TExportItemRec>& items)
{
    QStringList numbers, marks;
    for (const TExportItemRec& it : items) {
        numbers << QString::number(it.ItemNo);
        marks << (it.Chosen ? QStringLiteral("1") : QStringLiteral("0"));
    }
    ini.WriteString(section, QStringLiteral("ExportItemIndex"), numbers.join(u','));
    ini.WriteString(section, QStringLiteral("ExportItemExport"), marks.join(u','));
}
