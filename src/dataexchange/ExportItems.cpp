// The export items and the column layout.
#include "dataexchange/ExportItems.h"

#include "platform/IniFile.h"

#include <algorithm>

const std::array<TExportItemDef, ExportItemCount> ExportItemTable{{
    {"レコード番号", false},
    {"グループ名", false},
    {"顧客コード", false},
    {"電話番号", false},
    {"代表電話", false},
    {"FAX番号", false},
    {"初期掲載年月", false},
    {"携帯番号１", false},
    {"携帯番号２", false},
    {"郵便番号", false},
    {"都道府県", false},
    {"住所１", false},
    {"住所２", false},
    {"住所３", false},
    {"住所カナ", false},
    {"市町村コード", false},
    {"個人会社区分", false},
    {"マイナンバー", true},
    {"会社名", false},
    {"会社名カナ", false},
    {"部署", false},
    {"役職", false},
    {"従業員番号", false},
    {"名前", false},
    {"名前カナ", false},
    {"敬称", false},
    {"宛名印刷名前未使用", false},
    {"URL", false},
    {"メールアドレス１", false},
    {"メールアドレス２", false},
    {"連名１", false},
    {"連名２", false},
    {"連名３", false},
    {"連名４", false},
    {"連名５", false},
    {"連名敬称１", false},
    {"連名敬称２", false},
    {"連名敬称３", false},
    {"連名敬称４", false},
    {"連名敬称５", false},
    {"連名マイナンバー１", true},
    {"連名マイナンバー２", true},
    {"連名マイナンバー３", true},
    {"連名マイナンバー４", true},
    {"連名マイナンバー５", true},
    {"連名主", false},
    {"連名印刷対象", false},
    {"連名印刷対象１", false},
    {"連名印刷対象２", false},
    {"連名印刷対象３", false},
    {"連名印刷対象４", false},
    {"連名印刷対象５", false},
    {"印刷指定", false},
    {"差出人", false},
    {"", false}, // 54-61: keywords
    {"", false},
    {"", false},
    {"", false},
    {"", false},
    {"", false},
    {"", false},
    {"", false},
    {"備考", false},
    {"", true}, // 63-72: protected memos
    {"", true},
    {"", true},
    {"", true},
    {"", true},
    {"", true},
    {"", true},
    {"", true},
    {"", true},
    {"", true},
    {"保護フリーメモ", true},
    {"外部リンク", false},
    {"シンボルマーク", false},
    {"シンボル色", false},
    {"登録日付", false},
    {"登録時刻", false},
    {"更新日付", false},
    {"更新時刻", false},
    {"大分類名", false},
    {"大分類コード", false},
    {"小分類名", false},
    {"小分類コード", false},
}};

QString ExportItemCaption(int item, const QStringList& keywordNames, const QStringList& protectMemoNames)
{
    if (item >= 54 && item <= 61)
        return keywordNames.value(item - 54);
    if (item >= 63 && item <= 72)
        return protectMemoNames.value(item - 63);
    if (item < 0 || item >= ExportItemCount)
        return {};
    return QString::fromUtf8(ExportItemTable[size_t(item)].caption);
}

bool IsProtectedExportItem(int item)
{
    return item >= 0 && item < ExportItemCount && ExportItemTable[size_t(item)].isProtected;
}

namespace {

QString LayoutKey(int column)
{
    return QStringLiteral("Layout") + QString::number(column);
}

} // namespace

bool TExportLayout::HasProtectedItem() const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [](const TExportEntry& e) { return IsProtectedExportItem(e.Item); });
}

void TExportLayout::Load(const TMemIniFile& ini, const QString& section)
{
    m_entries.clear();
    for (int column = 1; column <= MaxExportEntries && !IsFull(); ++column) {
        const QString value = ini.ReadString(section, LayoutKey(column), QString());
        if (value.isEmpty())
            break;
        bool first = true;
        for (const QString& part : value.split(QLatin1Char(','))) {
            bool ok = false;
            const int item = part.trimmed().toInt(&ok);
            if (!ok || item < 0 || item >= ExportItemCount || IsFull())
                continue;
            m_entries.append({first ? column : 0, item});
            first = false;
        }
    }
    Renumber();
}

void TExportLayout::Save(TMemIniFile& ini, const QString& section) const
{
    // A hand-edited file may hold a key twice: every copy goes.
    for (int column = 1; column <= MaxExportEntries; ++column)
        while (ini.ValueExists(section, LayoutKey(column)))
            ini.DeleteKey(section, LayoutKey(column));
    QString text;
    int column = 0;
    for (const TExportEntry& e : m_entries) {
        if (e.Column != 0) {
            if (column > 0)
                ini.WriteString(section, LayoutKey(column), text);
            text = QString::number(e.Item);
            column = e.Column;
        } else {
            text += QLatin1Char(',') + QString::number(e.Item);
        }
    }
    if (column > 0)
        ini.WriteString(section, LayoutKey(column), text);
}

bool TExportLayout::Set(int row, int item)
{
    if (IsFull())
        return false;
    m_entries.insert(std::clamp(row, 0, Count()), {1, item});
    Renumber();
    return true;
}

int TExportLayout::Join(int row, int item)
{
    if (IsFull() || IsEmpty())
        return -1;
    const int at = row >= 0 && row < Count() ? row + 1 : Count();
    m_entries.insert(at, {0, item});
    return at;
}

void TExportLayout::SetAll()
{
    m_entries.clear();
    for (int item = 0; item < ExportItemCount; ++item)
        m_entries.append({item + 1, item});
}

int TExportLayout::Delete(int row)
{
    if (IsEmpty())
        return -1;
    const int at = row >= 0 && row < Count() ? row : Count() - 1;
    const TExportEntry removed = m_entries.takeAt(at);
    if (removed.Column != 0 && at < Count())
        m_entries[at].Column = removed.Column;
    Renumber();
    return at;
}

bool TExportLayout::CanUp(int row) const
{
    return row > 0 && row < Count() && !(row == 1 && m_entries[1].Column == 0);
}

bool TExportLayout::CanDown(int row) const
{
    return row >= 0 && row < Count() - 1;
}

int TExportLayout::Up(int row)
{
    if (row <= 0)
        return 0;
    if (row >= Count())
        return Count() > 0 ? Count() - 1 : 0;
    if (!CanUp(row))
        return row;
    m_entries.swapItemsAt(row, row - 1);
    Renumber();
    return row - 1;
}

int TExportLayout::Down(int row)
{
    if (row >= Count())
        return Count();
    if (row == Count() - 1)
        return Count();
    m_entries.swapItemsAt(row, row + 1);
    Renumber();
    return row + 1;
}

void TExportLayout::Renumber()
{
    if (!m_entries.isEmpty() && m_entries[0].Column == 0)
        m_entries[0].Column = 1;
    int column = 0;
    for (TExportEntry& e : m_entries)
        if (e.Column != 0)
            e.Column = ++column;
}
