// The list-print items, column lists and templates.
#include "dataexchange/ListPrintItems.h"

#include "core/AppSub.h"
#include "platform/IniFile.h"

#include <QSaveFile>

#include <set>

const std::array<TListPrintItemDef, ListPrintItemCount> ListPrintItemTable{{
    {"＜空白＞", 2, 0, ""},
    {"＜通番＞", 4, 0, "No."},
    {"グループ", 12, 0, nullptr},
    {"顧客コード", 20, 0, "顧CD"},
    {"電話番号", 13, 0, "TEL"},
    {"代表電話", 4, 1, "代表"},
    {"FAX番号", 13, 0, "FAX"},
    {"初期掲載年月", 8, 0, "初期掲載"},
    {"携帯番号１", 13, 0, "携帯1"},
    {"携帯番号２", 13, 0, "携帯2"},
    {"郵便番号", 8, 0, "〒"},
    {"住所", 50, 0, nullptr},
    {"住所カナ", 30, 0, nullptr},
    {"市町村コード", 5, 0, "住CD"},
    {"個人会社区分", 4, 0, "個会"},
    {"マイナンバー", 13, 0, nullptr},
    {"会社名", 50, 0, nullptr},
    {"会社名カナ", 30, 0, nullptr},
    {"部署", 40, 0, nullptr},
    {"役職", 30, 0, nullptr},
    {"従業員番号", 15, 0, nullptr},
    {"名前", 14, 0, nullptr},
    {"名前カナ", 14, 0, nullptr},
    {"URL", 50, 0, "URL"},
    {"メールアドレス１", 30, 0, "E-Mail1"},
    {"メールアドレス２", 30, 0, "E-Mail2"},
    {"連名１", 8, 0, "連名1"},
    {"連名２", 8, 0, "連名2"},
    {"連名３", 8, 0, "連名3"},
    {"連名４", 8, 0, "連名4"},
    {"連名５", 8, 0, "連名5"},
    {"連名マイナンバー１", 13, 0, "連名ﾏｲﾅﾝﾊﾞｰ1"},
    {"連名マイナンバー２", 13, 0, "連名ﾏｲﾅﾝﾊﾞｰ2"},
    {"連名マイナンバー３", 13, 0, "連名ﾏｲﾅﾝﾊﾞｰ3"},
    {"連名マイナンバー４", 13, 0, "連名ﾏｲﾅﾝﾊﾞｰ4"},
    {"連名マイナンバー５", 13, 0, "連名ﾏｲﾅﾝﾊﾞｰ5"},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"備考", 60, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"", 30, 0, nullptr},
    {"保護フリーメモ", 60, 0, nullptr},
    {"シンボル", 5, 1, "ｼﾝﾎﾞﾙ"},
    {"登録日時", 19, 0, nullptr},
    {"登録日付", 10, 0, nullptr},
    {"登録時刻", 8, 0, nullptr},
    {"更新日時", 19, 0, nullptr},
    {"更新日付", 10, 0, nullptr},
    {"更新時刻", 8, 0, nullptr},
    {"大分類名", 30, 0, nullptr},
    {"小分類名", 40, 0, nullptr},
}};

namespace {

constexpr int FirstKeywordItem = 36;
constexpr int FirstProtectMemoItem = 45;

const QString ItemNoKey = QStringLiteral("ItemNo");
const QString ItemSizeKey = QStringLiteral("ItemSize");
const QString ItemAlignKey = QStringLiteral("ItemAlign");

} // namespace

TItemCatalogue BuildItemTable(const QStringList& keywordNames, const QStringList& protectMemoNames)
{
    TItemCatalogue catalogue;
    catalogue.reserve(ListPrintItemCount);
    for (int item = 0; item < ListPrintItemCount; ++item) {
        const TListPrintItemDef& def = ListPrintItemTable[size_t(item)];
        QString caption = QString::fromUtf8(def.caption);
        if (item >= FirstKeywordItem && item < FirstKeywordItem + 8)
            caption = keywordNames.value(item - FirstKeywordItem);
        else if (item >= FirstProtectMemoItem && item < FirstProtectMemoItem + 10)
            caption = protectMemoNames.value(item - FirstProtectMemoItem);
        catalogue.append({caption, def.width, def.align});
    }
    return catalogue;
}

QString ListPrintHeading(int item, const TItemCatalogue& catalogue)
{
    if (item < 0 || item >= ListPrintItemCount)
        return {};
    const char* heading = ListPrintItemTable[size_t(item)].heading;
    return heading ? QString::fromUtf8(heading) : TrimBlanks(catalogue.value(item).Caption);
}

bool IsProtectedListItem(int item)
{
    return item == 15 || (item >= 31 && item <= 35) || (item >= 45 && item <= 55);
}

bool HasProtectedColumn(const TListPrintColumns& columns)
{
    return std::any_of(columns.begin(), columns.end(),
                       [](const ListPrintColumn& c) { return IsProtectedListItem(c.ItemNo); });
}

std::optional<TListPrintColumns> ParseListPrintColumns(const QString& itemNo, const QString& itemSize,
                                                       const QString& itemAlign)
{
    if (itemNo.isEmpty() || itemSize.isEmpty() || itemAlign.isEmpty())
        return std::nullopt;
    // The values are wide text: a comma is never the second byte of a double-byte character here.
    const qsizetype commas = itemNo.count(QLatin1Char(','));
    if (itemSize.count(QLatin1Char(',')) != commas || itemAlign.count(QLatin1Char(',')) != commas ||
        commas >= MaxListPrintColumns)
        return std::nullopt;
    const QStringList numbers[3] = {itemNo.split(QLatin1Char(',')), itemSize.split(QLatin1Char(',')),
                                    itemAlign.split(QLatin1Char(','))};
    TListPrintColumns columns;
    std::set<int> used;
    for (qsizetype i = 0; i <= commas; ++i) {
        int values[3];
        for (int k = 0; k < 3; ++k) {
            bool ok = false;
            values[k] = numbers[k][i].trimmed().toInt(&ok);
            if (!ok)
                return std::nullopt;
        }
        const int item = values[0];
        if (item < 0 || item >= ListPrintItemCount || (item != 0 && !used.insert(item).second))
            continue;
        columns.append({item, std::clamp(values[1], 1, 999), std::clamp(values[2], 0, 2)});
    }
    return columns;
}

std::array<QString, 3> ListPrintColumnKeys(const TListPrintColumns& columns)
{
    QStringList parts[3];
    for (const ListPrintColumn& c : columns) {
        parts[0].append(QString::number(c.ItemNo));
        parts[1].append(QString::number(c.Width));
        parts[2].append(QString::number(c.Align));
    }
    return {parts[0].join(QLatin1Char(',')), parts[1].join(QLatin1Char(',')),
            parts[2].join(QLatin1Char(','))};
}

int ListPrintItemOfListColumn(int c)
{
    if (c == 0)
        return 1;
    if (c >= 1 && c <= 11)
        return c + 1;
    if (c >= 12 && c <= 42)
        return c + 2;
    if (c >= 43 && c <= 51)
        return c + 13;
    return -1;
}

TListPrintColumns ListColumnsLayout(const QList<int>& shownColumnItems, const TItemCatalogue& catalogue)
{
    TListPrintColumns columns;
    for (int c : shownColumnItems) {
        const int item = ListPrintItemOfListColumn(c);
        if (item < 0 || std::any_of(columns.begin(), columns.end(),
                                    [item](const ListPrintColumn& k) { return k.ItemNo == item; }))
            continue;
        const TItemFormat format = catalogue.value(item);
        columns.append({item, format.Width, format.Align});
    }
    return columns;
}

void ReadTemplates(const TMemIniFile& ini, TListPrintTemplates& target)
{
    for (const QString& section : ini.ReadSections()) {
        if (target.size() >= MaxListPrintTemplates)
            return;
        const QString itemNo = ini.ReadString(section, ItemNoKey, QString());
        const QString itemSize = ini.ReadString(section, ItemSizeKey, QString());
        const QString itemAlign = ini.ReadString(section, ItemAlignKey, QString());
        if (auto columns = ParseListPrintColumns(itemNo, itemSize, itemAlign))
            target.append({section, *columns});
    }
}

void ReadTemplateFile(const QString& path, TListPrintTemplates& target)
{
    const TMemIniFile ini(path);
    ReadTemplates(ini, target);
}

QByteArray TemplateFileBytes(const TListPrintTemplates& templates)
{
    TMemIniFile ini(QString{});
    for (const TListPrintTemplate& t : templates) {
        const auto keys = ListPrintColumnKeys(t.Columns);
        ini.WriteString(t.Name, ItemNoKey, keys[0]);
        ini.WriteString(t.Name, ItemSizeKey, keys[1]);
        ini.WriteString(t.Name, ItemAlignKey, keys[2]);
    }
    return ini.ToBytes();
}

// ---- the two lists ----

void TListPrintTemplateStore::Load(const QString& standardFile, const QString& customFile,
                                   const TListPrintColumns& listColumns, const TListPrintColumns& lastLayout)
{
    Standard.clear();
    Custom.clear();
    ReadTemplateFile(standardFile, Standard);
    ReadTemplateFile(customFile, Custom);
    // Names the program keeps for itself never come from the file.
    Custom.removeIf([](const TListPrintTemplate& t) {
        return t.Name == LastLayoutTemplateName || t.Name == ListLayoutTemplateName;
    });
    Custom.prepend({ListLayoutTemplateName, listColumns});
    HasLastLayout = !lastLayout.isEmpty();
    if (HasLastLayout)
        Custom.prepend({LastLayoutTemplateName, lastLayout});
}

int TListPrintTemplateStore::IndexOf(const QString& name) const
{
    for (int i = 0; i < Custom.size(); ++i)
        if (Custom[i].Name == name)
            return i;
    return -1;
}

TListPrintTemplateStore::TSaveResult TListPrintTemplateStore::Save(const QString& rawName, int selectedIndex,
                                                                   const TListPrintColumns& columns)
{
    const QString name = TrimBlanks(rawName);
    if (name.isEmpty())
        return SaveNoName;
    if (name == LastLayoutTemplateName || name == ListLayoutTemplateName)
        return SaveReservedName;
    const int index = IndexOf(name);
    if (index >= 0) {
        if (index != selectedIndex)
            return SaveOtherExists;
        Custom[index].Columns = columns;
        return SaveReplaced;
    }
    if (!CanSave())
        return SaveFull;
    Custom.append({name, columns});
    return SaveAdded;
}

TListPrintTemplateStore::TDeleteResult TListPrintTemplateStore::FindForDelete(const QString& rawName,
                                                                              int& index) const
{
    const QString name = TrimBlanks(rawName);
    if (name == LastLayoutTemplateName || name == ListLayoutTemplateName)
        return DeleteReservedName;
    index = IndexOf(name);
    return index < 0 || IsBuiltIn(index) ? DeleteNotFound : Deleted;
}

QByteArray TListPrintTemplateStore::CustomFileBytes() const
{
    return TemplateFileBytes(Custom.mid(BuiltInCount()));
}

bool TListPrintTemplateStore::WriteCustomFile(const QString& path, QString* error) const
{
    QSaveFile file(path);
    const QByteArray bytes = CustomFileBytes();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
