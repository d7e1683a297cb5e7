// Protected-memo item names and modes: the twin of the keyword names under [PROTECT MEMO].
#include "addressbook/PrtctMemoEdt.h"

#include "platform/IniFile.h"

namespace {

QStringList defaultMemoNames()
{
    QStringList names;
    for (int i = 1; i <= ProtectMemoCount; ++i)
        names.append(QStringLiteral("保護メモ") + FullWidthNumber(i));
    return names;
}

} // namespace

QStringList ProtectMemoNames = defaultMemoNames();
QList<uint8_t> ProtectMemoInputModes(ProtectMemoCount, uint8_t(6));

const TNamedItemKind& ProtectMemoItemKind()
{
    static const TNamedItemKind kind{QStringLiteral("PROTECT MEMO"),
                                     QStringLiteral("保護メモ"),
                                     QStringLiteral("保護メモ項目"),
                                     QStringLiteral("ProtectMemo"),
                                     QStringLiteral("保護メモ項目の設定"),
                                     45,
                                     ProtectMemoCount,
                                     &ProtectMemoNames,
                                     &ProtectMemoInputModes};
    return kind;
}

void ReadItemNameSettings(const TMemIniFile& ini)
{
    ReadNamedItems(KeywordItemKind(), ini);
    ReadNamedItems(ProtectMemoItemKind(), ini);
}
