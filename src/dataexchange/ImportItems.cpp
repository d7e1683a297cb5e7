#include "dataexchange/ImportItems.h"

#include "core/AppSub.h"
#include "core/FontSub.h"

namespace {

const std::array<TImportItemDef, ImportItemCount> Items{{
    {"グループ名", "Group", 20, {"グループ", "グループ名"}},
    {"顧客コード", "CustomCode", 20, {"顧客コード"}},
    {"電話番号", "Tel", 13, {"電話番号", "電話番号１", "電話", "TEL"}},
    {"代表電話", "TelDiv", 4, {"代表", "代表電話"}},
    {"FAX番号", "Fax", 13, {"FAX番号", "FAX"}},
    {"初期掲載年月", "PubDate", 7, {"初期掲載年月"}},
    {"携帯番号１", "Portable1", 13, {"携帯番号", "携帯番号１", "携帯電話", "携帯電話１", "携帯", "携帯１"}},
    {"携帯番号２", "Portable2", 13, {"携帯番号２", "携帯電話２", "携帯２"}},
    {"郵便番号", "Pos", 8, {"郵便番号", "〒"}},
    {"住所１", "Adrs1", 40, {"住所１", "住所"}},
    {"住所２", "Adrs2", 100, {"住所２", "残り住所"}},
    {"住所３", "Adrs3", 116, {"住所３"}},
    {"住所カナ", "AdrsKana", 100, {"住所カナ", "住所フリガナ", "フリガナ（住所）"}},
    {"市町村コード", "JisCode", 5, {"市町村コード", "住所コード", "市区郡町村コード"}},
    {"緯度", "Latitude", 10, {"緯度", "緯度(msec)"}},
    {"経度", "Longitude", 10, {"経度", "経度(msec)"}},
    {"個人会社区分", "PrivCorp", 4, {"個人会社区分", "個人法人区分"}},
    {"マイナンバー", "MyNumber", 13, {"マイナンバー", "個人番号", "法人番号"}},
    {"会社名", "CorpKanji", 120, {"会社名", "会社名漢字"}},
    {"会社名カナ", "CorpKana", 80, {"会社名カナ", "会社名フリガナ", "フリガナ（会社）"}},
    {"部署", "Dptmnt", 100, {"部署", "部署１", "部署名", "部署名１"}},
    {"役職", "Post", 50, {"役職", "役職名"}},
    {"従業員番号", "EmployeeNo", 15, {"従業員番号", "社員番号"}},
    {"名前", "NameKanji", 30,
     {"名前", "名前漢字", "名称", "名称漢字", "掲載名", "掲載名漢字", "氏名", "氏名漢字"}},
    {"名前カナ", "NameKana", 25, {"名前カナ", "名前フリガナ", "名称カナ", "掲載名カナ", "氏名カナ"}},
    {"敬称", "Honor", 10, {"敬称"}},
    {"宛名印刷名前未使用", "IgnoreName", 10, {"宛名印刷名前未使用"}},
    {"URL", "URL", 128, {"URL", "URL1", "ホームページ", "HPアドレス"}},
    {"メールアドレス１", "EMail1", 64,
     {"メールアドレス", "メールアドレス１", "メール", "E-MAIL", "E-MAIL1", "MAIL"}},
    {"メールアドレス２", "EMail2", 64, {"メールアドレス２", "E-MAIL2"}},
    {"連名１", "Joint1", 22, {"連名", "連名１"}},
    {"連名２", "Joint2", 22, {"連名２"}},
    {"連名３", "Joint3", 22, {"連名３"}},
    {"連名４", "Joint4", 22, {"連名４"}},
    {"連名５", "Joint5", 22, {"連名５"}},
    {"連名敬称１", "JointHonor1", 10, {"連名敬称", "連名敬称１", "連名１敬称"}},
    {"連名敬称２", "JointHonor2", 10, {"連名敬称２", "連名２敬称"}},
    {"連名敬称３", "JointHonor3", 10, {"連名敬称３", "連名３敬称"}},
    {"連名敬称４", "JointHonor4", 10, {"連名敬称４", "連名４敬称"}},
    {"連名敬称５", "JointHonor5", 10, {"連名敬称５", "連名５敬称"}},
    {"連名マイナンバー１", "JointMyNumber1", 13, {"連名マイナンバー１"}},
    {"連名マイナンバー２", "JointMyNumber2", 13, {"連名マイナンバー２"}},
    {"連名マイナンバー３", "JointMyNumber3", 13, {"連名マイナンバー３"}},
    {"連名マイナンバー４", "JointMyNumber4", 13, {"連名マイナンバー４"}},
    {"連名マイナンバー５", "JointMyNumber5", 13, {"連名マイナンバー５"}},
    {"連名主", "JointOwner", 30, {"連名主"}},
    {"連名印刷対象", "JointPrint", 4, {"連名印刷対象"}},
    {"連名印刷対象１", "JointPrint1", 4, {"連名印刷対象１"}},
    {"連名印刷対象２", "JointPrint2", 4, {"連名印刷対象２"}},
    {"連名印刷対象３", "JointPrint3", 4, {"連名印刷対象３"}},
    {"連名印刷対象４", "JointPrint4", 4, {"連名印刷対象４"}},
    {"連名印刷対象５", "JointPrint5", 4, {"連名印刷対象５"}},
    {"印刷指定", "PrintTarget", 8, {"印刷指定"}},
    {"差出人", "Sender", 30, {"差出人"}},
    {"", "Keyword1", 100, {"キーワード", "キーワード１"}},
    {"", "Keyword2", 100, {"キーワード２"}},
    {"", "Keyword3", 100, {"キーワード３"}},
    {"", "Keyword4", 100, {"キーワード４"}},
    {"", "Keyword5", 100, {"キーワード５"}},
    {"", "Keyword6", 100, {"キーワード６"}},
    {"", "Keyword7", 100, {"キーワード７"}},
    {"", "Keyword8", 100, {"キーワード８"}},
    {"備考", "Note", 0, {"備考"}},
    {"", "ProtectMemo1", 60, {"保護メモ１"}},
    {"", "ProtectMemo2", 60, {"保護メモ２"}},
    {"", "ProtectMemo3", 60, {"保護メモ３"}},
    {"", "ProtectMemo4", 60, {"保護メモ４"}},
    {"", "ProtectMemo5", 60, {"保護メモ５"}},
    {"", "ProtectMemo6", 60, {"保護メモ６"}},
    {"", "ProtectMemo7", 60, {"保護メモ７"}},
    {"", "ProtectMemo8", 60, {"保護メモ８"}},
    {"", "ProtectMemo9", 60, {"保護メモ９"}},
    {"", "ProtectMemo10", 60, {"保護メモ１０"}},
    {"保護フリーメモ", "ProtectNote", 0, {"保護フリーメモ"}},
    {"外部リンク", "ExtLink", 0, {"外部リンク", "外部ファイル"}},
    {"シンボルマーク", "SymbolMark", 2, {"シンボルマーク"}},
    {"シンボル色", "SymbolColor", 8, {"シンボル色"}},
    {"登録日付", "AddDateTime", 10, {"登録日付"}},
    {"登録時刻", "AddDateTime", 8, {"登録時刻"}},
    {"大分類コード", "CodeMain", 4, {"大分類コード"}},
    {"小分類コード", "CodeSub", 4, {"小分類コード"}},
}};

constexpr int FirstKeywordItem = 55;
constexpr int FirstMemoItem = 64;

// The user's name for a keyword or memo item, or nothing.
QString userName(int item, const QStringList& keywordNames, const QStringList& memoNames)
{
    if (item >= FirstKeywordItem && item < FirstKeywordItem + 8)
        return keywordNames.value(item - FirstKeywordItem);
    if (item >= FirstMemoItem && item < FirstMemoItem + 10)
        return memoNames.value(item - FirstMemoItem);
    return {};
}

QString halfWidthKey(const QString& text) { return ToHalfWidthW(text); }

} // namespace

const TImportItemDef& ImportItemTable(int item)
{
    return Items.at(std::size_t(item - 1));
}

QString ImportItemCaption(int item, const QStringList& keywordNames, const QStringList& memoNames)
{
    const TImportItemDef& def = ImportItemTable(item);
    return *def.caption ? QString::fromUtf8(def.caption) : userName(item, keywordNames, memoNames);
}

QStringList ImportHeaderAliases(int item, const QStringList& keywordNames, const QStringList& memoNames)
{
    QStringList out;
    for (const char* alias : ImportItemTable(item).aliases)
        if (alias)
            out.append(QString::fromUtf8(alias));
    const QString name = userName(item, keywordNames, memoNames);
    if (!name.isEmpty())
        out.append(name);
    return out;
}

bool IsProtectedImportItem(int item)
{
    return item == 18 || (item >= 41 && item <= 45) || (item >= 64 && item <= 74);
}

TImportPartSpec ColumnPartSpec(int column, const AnsiString& firstLineText, QString* cellText)
{
    const AnsiString stripped = StripSpaces(ToWide(firstLineText));
    if (!stripped.isEmpty() && stripped != "\"\"") {
        *cellText = TrimBlanks(ToWide(firstLineText));
        return {TImportPartSpec::Column, column};
    }
    *cellText = QStringLiteral("項目%1").arg(column + 1);
    return {TImportPartSpec::BlankColumn, column};
}

bool TImportMapping::AnySet() const
{
    for (int item = 1; item <= ImportItemCount; ++item)
        if (IsSet(item))
            return true;
    return false;
}

int TImportMapping::FirstEmptyPart(int item) const
{
    for (int part = 1; part <= ImportPartCount; ++part)
        if (Spec(item, part).kind == TImportPartSpec::Empty)
            return part;
    return 0;
}

void TImportMapping::put(int item, int part, TImportPartSpec spec, QString text)
{
    m_specs[idx(item, part)] = spec;
    m_cells[idx(item, part)] = std::move(text);
}

void TImportMapping::SetPart(int item, int part, int column, const AnsiString& firstLineText)
{
    QString text;
    const TImportPartSpec spec = ColumnPartSpec(column, firstLineText, &text);
    put(item, part, spec, text);
}

bool TImportMapping::AddColumn(int item, int column, const AnsiString& firstLineText)
{
    const int part = FirstEmptyPart(item);
    if (part == 0)
        return false;
    SetPart(item, part, column, firstLineText);
    return true;
}

bool TImportMapping::AddConstant(int item, const QString& constant)
{
    const int part = FirstEmptyPart(item);
    if (part == 0)
        return false;
    put(item, part, {TImportPartSpec::Constant, -1}, TrimBlanks(constant));
    return true;
}

void TImportMapping::DeleteLast(int item)
{
    const int empty = FirstEmptyPart(item);
    const int last = empty == 0 ? ImportPartCount : empty - 1;
    if (last >= 1)
        put(item, last, {}, {});
}

void TImportMapping::ClearRow(int item)
{
    for (int part = 1; part <= ImportPartCount; ++part)
        put(item, part, {}, {});
}

void TImportMapping::ClearAll()
{
    m_specs.fill({});
    m_cells.fill({});
}

void TImportMapping::swapRows(int a, int b)
{
    for (int part = 1; part <= ImportPartCount; ++part) {
        std::swap(m_specs[idx(a, part)], m_specs[idx(b, part)]);
        std::swap(m_cells[idx(a, part)], m_cells[idx(b, part)]);
    }
}

bool TImportMapping::MoveUp(int item)
{
    if (!Buttons(item).up)
        return false;
    swapRows(item, item - 1);
    return true;
}

bool TImportMapping::MoveDown(int item)
{
    if (!Buttons(item).down)
        return false;
    swapRows(item, item + 1);
    return true;
}

void TImportMapping::AutoMapItem(int item, const QList<AnsiString>& firstLineFields, const QStringList& accepted)
{
    for (int column = 0; column < firstLineFields.size(); ++column) {
        const QString text = halfWidthKey(TrimBlanks(ToWide(firstLineFields[column])));
        for (const QString& alias : accepted) {
            if (QString::compare(text, halfWidthKey(alias), Qt::CaseInsensitive) != 0)
                continue;
            const int part = FirstEmptyPart(item);
            if (part == 0)
                continue; // no room: the search goes on without effect
            put(item, part, {TImportPartSpec::Column, column}, alias);
            return;
        }
    }
}

void TImportMapping::AutoSetAll(const QList<AnsiString>& firstLineFields, const QStringList& keywordNames,
                                const QStringList& memoNames)
{
    ClearAll();
    for (int item = 1; item <= ImportItemCount; ++item) {
        if (item == ImportItem::Address)
            AutoMapItem(item, firstLineFields, {QStringLiteral("都道府県")});
        AutoMapItem(item, firstLineFields, ImportHeaderAliases(item, keywordNames, memoNames));
    }
}

TImportPartButtons TImportMapping::Buttons(int item) const
{
    TImportPartButtons b;
    const bool set = IsSet(item);
    b.setVisible = !set;
    b.add = Spec(item, ImportPartCount).kind == TImportPartSpec::Empty;
    b.remove = set;
    b.up = set && item > 1;
    b.down = set && item < ImportItemCount;
    b.allClear = AnySet();
    return b;
}
