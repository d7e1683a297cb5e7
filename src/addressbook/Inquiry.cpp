// The address record, its reading from an Adrs.DB row, and the fixed item tables.
#include "addressbook/Inquiry.h"

#include "platform/MessageSeam.h"
#include "platform/TableEngine.h"

#include <QDate>
#include <QTime>

#include <cmath>

void ClearAdrsDataRec(TAdrsDataRec* rec)
{
    if (!rec)
        return;
    *rec = TAdrsDataRec();
}

QByteArrayList TextToLines(const AnsiString& text)
{
    // Trail bytes of CP932 never take the values of CR or LF, so a byte scan is safe.
    QByteArrayList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.append(text.mid(start, i - start));
            ++i;
            if (c == '\r' && i < text.size() && text[i] == '\n')
                ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

AnsiString LinesToText(const QByteArrayList& lines)
{
    AnsiString text;
    for (const QByteArray& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::optional<QByteArrayList> MemoToList(const AnsiString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    return TextToLines(text);
}

namespace {

constexpr qint64 MsecsPerDay = 86400000;

QDate SerialEpoch()
{
    return QDate(1899, 12, 30);
}

} // namespace

double ToTDateTime(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return 0;
    const qint64 days = SerialEpoch().daysTo(dateTime.date());
    const double fraction = double(dateTime.time().msecsSinceStartOfDay()) / MsecsPerDay;
    // Before the epoch the fraction still counts forward from midnight while the day counts back.
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

QDateTime FromTDateTime(double value)
{
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    qint64 msecs = std::llround(fraction * MsecsPerDay);
    qint64 days = qint64(whole);
    if (msecs >= MsecsPerDay) { // rounding reached the next midnight
        msecs -= MsecsPerDay;
        days += value >= 0 ? 1 : -1;
    }
    return QDateTime(SerialEpoch().addDays(days), QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

namespace {

template <int N> void ReadText(const TAdrsRow& row, const char* name, TShortText<N>& field)
{
    field.assign(TrimAnsiText(row.FieldBytes(name)));
}

template <int N>
void ReadPhone(const TAdrsRow& row, const char* name, TShortText<N>& field, const THyphenateFunc& hyphenate)
{
    const AnsiString digits = TrimAnsiText(row.FieldBytes(name));
    AnsiString shown = digits;
    if (hyphenate && !digits.isEmpty())
        shown = TrimAnsiText(hyphenate(digits));
    field.assign(shown);
}

QByteArray Numbered(const char* base, int n)
{
    return QByteArray(base) + QByteArray::number(n);
}

} // namespace

void ReadAdrsDataRec(const TAdrsRow& row, TAdrsDataRec& rec, const THyphenateFunc& hyphenate)
{
    rec = TAdrsDataRec();
    rec.RecNo = row.FieldInt("RecNo");
    rec.Group = row.FieldInt("Group");
    ReadText(row, "CustomCode", rec.CustomCode);
    ReadPhone(row, "Tel", rec.Tel, hyphenate);
    rec.TelDiv = row.FieldInt("TelDiv");
    ReadPhone(row, "Fax", rec.Fax, hyphenate);
    ReadText(row, "PubDate", rec.PubDate);
    ReadPhone(row, "Portable1", rec.Portable1, hyphenate);
    ReadPhone(row, "Portable2", rec.Portable2, hyphenate);
    ReadText(row, "Pos", rec.Pos);
    ReadText(row, "Tdfkn", rec.Tdfkn);
    ReadText(row, "Adrs1", rec.Adrs1);
    ReadText(row, "Adrs2", rec.Adrs2);
    ReadText(row, "Adrs3", rec.Adrs3);
    ReadText(row, "AdrsKana", rec.AdrsKana);
    ReadText(row, "JisCode", rec.JisCode);
    ReadText(row, "KajoCode", rec.KajoCode);
    rec.Latitude = row.FieldInt("Latitude");
    rec.Longitude = row.FieldInt("Longitude");
    rec.PrivCorp = row.FieldBool("PrivCorp");
    ReadText(row, "MyNumber", rec.MyNumber);
    ReadText(row, "CorpKanji", rec.CorpKanji);
    ReadText(row, "CorpKana", rec.CorpKana);
    ReadText(row, "Dptmnt", rec.Dptmnt);
    ReadText(row, "Post", rec.Post);
    ReadText(row, "EmployeeNo", rec.EmployeeNo);
    ReadText(row, "NameKanji", rec.NameKanji);
    ReadText(row, "NameKana", rec.NameKana);
    ReadText(row, "Honor", rec.Honor);
    rec.IgnoreName = row.FieldBool("IgnoreName");
    rec.CodeMain = row.FieldInt("CodeMain");
    rec.CodeSub = row.FieldInt("CodeSub");
    rec.CodeGenre = row.FieldInt("CodeGenre");
    ReadText(row, "URL", rec.URL);
    ReadText(row, "EMail1", rec.EMail1);
    ReadText(row, "EMail2", rec.EMail2);
    rec.JointPrint = row.FieldBool("JointPrint");
    for (int i = 0; i < 5; ++i) {
        ReadText(row, Numbered("Joint", i + 1).constData(), rec.*AdrsJointFields[i]);
        ReadText(row, Numbered("JointHonor", i + 1).constData(), rec.*AdrsJointHonorFields[i]);
        ReadText(row, Numbered("JointMyNumber", i + 1).constData(), rec.*AdrsJointMyNumberFields[i]);
        rec.*AdrsJointPrintFields[i] = row.FieldBool(Numbered("JointPrint", i + 1).constData());
    }
    rec.JointOwner = row.FieldInt("JointOwner");
    rec.PrintTarget = row.FieldInt("PrintTarget");
    rec.Sender = row.FieldInt("Sender");
    for (int i = 0; i < 8; ++i)
        ReadText(row, Numbered("Keyword", i + 1).constData(), rec.*AdrsKeywordFields[i]);
    rec.Note = MemoToList(row.FieldBytes("Note"));
    for (int i = 0; i < 10; ++i)
        ReadText(row, Numbered("ProtectMemo", i + 1).constData(), rec.*AdrsProtectMemoFields[i]);
    rec.ProtectNote.assign(row.FieldBytes("ProtectNote"));
    rec.ExtLink = MemoToList(row.FieldBytes("ExtLink"));
    rec.SymbolMark.assign(row.FieldBytes("SymbolMark"));
    rec.SymbolColor = row.FieldInt("SymbolColor");
    rec.AddDateTime = ToTDateTime(row.FieldDateTime("AddDateTime"));
    rec.UpdDateTime = ToTDateTime(row.FieldDateTime("UpdDateTime"));
}

void ShowUnreadableRecord(QWidget* owner)
{
    MsgSeam::Request request;
    request.owner = owner;
    request.text = QStringLiteral("アドレス帳が読み出せませんでした  ");
    request.caption = QStringLiteral("Tovarel");
    request.flags = MsgSeam::MbOk | MsgSeam::MbIconStop;
    MsgSeam::Show(request);
}

bool ReadAddressRecordQuietly(TAdrsTableCursor& table, qint32 recNo, TAdrsDataRec& rec,
                              const THyphenateFunc& hyphenate)
{
    TAdrsDataRec read;
    try {
        if (!table.FindRecNo(recNo))
            return false;
        ReadAdrsDataRec(table, read, hyphenate);
    } catch (const RecordGoneError&) {
        return false; // deleted by another user between the look-up and the read
    }
    rec = std::move(read);
    return true;
}

bool ReadAddressRecord(TAdrsTableCursor& table, qint32 recNo, TAdrsDataRec& rec, QWidget* owner,
                       const THyphenateFunc& hyphenate)
{
    if (ReadAddressRecordQuietly(table, recNo, rec, hyphenate))
        return true;
    ShowUnreadableRecord(owner);
    return false;
}

AnsiString SymbolMarkBytes(int index)
{
    static const std::array<AnsiString, 6> bytes = [] {
        std::array<AnsiString, 6> marks;
        for (int i = 0; i < 6; ++i)
            marks[i] = Cp932::fromUnicode(QString::fromUtf8(SymbolMarks[i]));
        return marks;
    }();
    if (index < 0 || index >= 6)
        return {};
    return bytes[index];
}

// clang-format off
const std::array<TAddressListColumnDef, 52> AddressListColumnTable{{
    {0, "No.", TColumnAlign::Right, 56, true, 1},
    {1, "グループ", TColumnAlign::Left, 120, true, 2},
    {2, "顧客コード", TColumnAlign::Left, 112, false, 3},
    {3, "電話番号", TColumnAlign::Left, 116, true, 4},
    {4, "代表電話", TColumnAlign::Left, 76, true, 5},
    {5, "FAX番号", TColumnAlign::Left, 116, false, 6},
    {6, "初期掲載年月", TColumnAlign::Left, 104, false, 7},
    {7, "携帯番号1", TColumnAlign::Left, 116, false, 8},
    {8, "携帯番号2", TColumnAlign::Left, 116, false, 9},
    {9, "〒", TColumnAlign::Left, 76, false, 10},
    {10, "住所", TColumnAlign::Left, 232, true, 11},
    {11, "住所カナ", TColumnAlign::Left, 200, false, 12},
    {12, "個人会社区分", TColumnAlign::Left, 104, false, 14},
    {13, "マイナンバー", TColumnAlign::Left, 116, true, 15},
    {14, "会社名", TColumnAlign::Left, 232, true, 16},
    {15, "会社名カナ", TColumnAlign::Left, 180, false, 17},
    {16, "部署", TColumnAlign::Left, 180, false, 18},
    {17, "役職", TColumnAlign::Left, 120, false, 19},
    {18, "従業員番号", TColumnAlign::Left, 124, false, 20},
    {19, "名前", TColumnAlign::Left, 112, true, 21},
    {20, "名前カナ", TColumnAlign::Left, 112, false, 22},
    {21, "URL", TColumnAlign::Left, 200, false, 23},
    {22, "E-Mail1", TColumnAlign::Left, 180, false, 24},
    {23, "E-Mail2", TColumnAlign::Left, 180, false, 25},
    {24, "連名1", TColumnAlign::Left, 112, false, 26},
    {25, "連名2", TColumnAlign::Left, 112, false, 27},
    {26, "連名3", TColumnAlign::Left, 112, false, 28},
    {27, "連名4", TColumnAlign::Left, 112, false, 29},
    {28, "連名5", TColumnAlign::Left, 112, false, 30},
    {29, "連名マイナンバー1", TColumnAlign::Left, 116, false, 31},
    {30, "連名マイナンバー2", TColumnAlign::Left, 116, false, 32},
    {31, "連名マイナンバー3", TColumnAlign::Left, 116, false, 33},
    {32, "連名マイナンバー4", TColumnAlign::Left, 116, false, 34},
    {33, "連名マイナンバー5", TColumnAlign::Left, 116, false, 35},
    {34, "キーワード1", TColumnAlign::Left, 128, false, 36},
    {35, "キーワード2", TColumnAlign::Left, 128, false, 37},
    {36, "キーワード3", TColumnAlign::Left, 128, false, 38},
    {37, "キーワード4", TColumnAlign::Left, 128, false, 39},
    {38, "キーワード5", TColumnAlign::Left, 128, false, 40},
    {39, "キーワード6", TColumnAlign::Left, 128, false, 41},
    {40, "キーワード7", TColumnAlign::Left, 128, false, 42},
    {41, "キーワード8", TColumnAlign::Left, 128, false, 43},
    {42, "備考", TColumnAlign::Left, 180, false, 44},
    {43, "シンボル", TColumnAlign::Center, 68, false, 56},
    {44, "登録日時", TColumnAlign::Left, 152, false, 57},
    {45, "登録日付", TColumnAlign::Left, 92, false, 58},
    {46, "登録時刻", TColumnAlign::Left, 72, false, 59},
    {47, "更新日時", TColumnAlign::Left, 152, false, 60},
    {48, "更新日付", TColumnAlign::Left, 92, false, 61},
    {49, "更新時刻", TColumnAlign::Left, 72, false, 62},
    {50, "大分類名", TColumnAlign::Left, 170, false, 63},
    {51, "小分類名", TColumnAlign::Left, 210, false, 64},
}};

const std::array<TNarrowDownItemDef, 35> NarrowDownItemTable{{
    {0, "顧客コード", 0, 20},
    {1, "電話番号", 0, 13},
    {2, "代表電話", 2, 0},
    {3, "FAX番号", 0, 13},
    {4, "初期掲載年月", 3, 0},
    {5, "携帯番号1", 0, 13},
    {6, "携帯番号2", 0, 13},
    {7, "〒", 0, 8},
    {8, "住所", 0, 256},
    {9, "個人会社区分", 2, 0},
    {10, "マイナンバー", 0, 13},
    {11, "会社名", 0, 112},
    {12, "部署", 1, 100},
    {13, "役職", 1, 50},
    {14, "従業員番号", 0, 15},
    {15, "名前", 0, 15},
    {16, "URL", 0, 128},
    {17, "メールアドレス1", 0, 64},
    {18, "メールアドレス2", 0, 64},
    {19, "連名1", 0, 11},
    {20, "連名2", 0, 11},
    {21, "連名3", 0, 11},
    {22, "連名4", 0, 11},
    {23, "連名5", 0, 11},
    {24, "キーワード1", 0, 100},
    {25, "キーワード2", 0, 100},
    {26, "キーワード3", 0, 100},
    {27, "キーワード4", 0, 100},
    {28, "キーワード5", 0, 100},
    {29, "キーワード6", 1, 100},
    {30, "キーワード7", 1, 100},
    {31, "キーワード8", 1, 100},
    {32, "備考", 0, 0},
    {33, "シンボルマーク", 2, 0},
    {34, "カテゴリ", 4, 0},
}};

const std::array<TDirectoryExportItemDef, 19> DirectoryExportItemTable{{
    {0, "電話番号", false},
    {1, "代表電話", false},
    {2, "FAX番号", false},
    {3, "郵便番号", true},
    {4, "住所カナ", true},
    {5, "都道府県", false},
    {6, "住所１", true},
    {7, "住所２", true},
    {8, "市町村コード", true},
    {9, "会社名カナ", true},
    {10, "会社名", true},
    {11, "名前カナ", true},
    {12, "名前", true},
    {13, "個人会社区分", true},
    {14, "初期掲載年月", false},
    {15, "大分類名", false},
    {16, "大分類コード", false},
    {17, "小分類名", false},
    {18, "小分類コード", false},
}};

const std::array<TCopyItemDef, 75> CopyItemTable{{
    {0, "グループ", 1},
    {1, "顧客コード", 1},
    {2, "環境設定マイナンバー", 1},
    {3, "電話番号", 1},
    {4, "代表電話", 1},
    {5, "FAX番号", 1},
    {6, "初回掲載年月", 1},
    {7, "携帯番号１", 1},
    {8, "携帯番号２", 1},
    {9, "郵便番号", 1},
    {10, "都道府県", 1},
    {11, "住所１", 1},
    {12, "住所２", 1},
    {13, "住所３", 1},
    {14, "連結住所", 1},
    {15, "住所カナ", 1},
    {16, "市町村コード", 1},
    {17, "マイナンバー", 1},
    {18, "会社名漢字", 1},
    {19, "会社名カナ", 1},
    {20, "部署", 1},
    {21, "役職", 1},
    {22, "従業員番号", 1},
    {23, "名前漢字", 1},
    {24, "名前カナ", 1},
    {25, "敬称", 1},
    {26, "URL", 1},
    {27, "メールアドレス１", 1},
    {28, "メールアドレス２", 1},
    {29, "連名１", 1},
    {30, "連名２", 1},
    {31, "連名３", 1},
    {32, "連名４", 1},
    {33, "連名５", 1},
    {34, "連名敬称１", 1},
    {35, "連名敬称２", 1},
    {36, "連名敬称３", 1},
    {37, "連名敬称４", 1},
    {38, "連名敬称５", 1},
    {39, "連名マイナンバー１", 1},
    {40, "連名マイナンバー２", 1},
    {41, "連名マイナンバー３", 1},
    {42, "連名マイナンバー４", 1},
    {43, "連名マイナンバー５", 1},
    {44, "連名主", 1},
    {45, "印刷指定", 1},
    {46, "差出人", 1},
    {47, "キーワード１", 1},
    {48, "キーワード２", 1},
    {49, "キーワード３", 1},
    {50, "キーワード４", 1},
    {51, "キーワード５", 1},
    {52, "キーワード６", 1},
    {53, "キーワード７", 1},
    {54, "キーワード８", 1},
    {55, "備考", 1},
    {56, "保護メモ１", 1},
    {57, "保護メモ２", 1},
    {58, "保護メモ３", 1},
    {59, "保護メモ４", 1},
    {60, "保護メモ５", 1},
    {61, "保護メモ６", 1},
    {62, "保護メモ７", 1},
    {63, "保護メモ８", 1},
    {64, "保護メモ９", 1},
    {65, "保護メモ１０", 1},
    {66, "保護フリーメモ", 1},
    {67, "外部リンク", 1},
    {68, "シンボルマーク", 1},
    {69, "登録日付", 1},
    {70, "登録時刻", 1},
    {71, "更新日付", 1},
    {72, "更新時刻", 1},
    {73, "大分類名", 1},
    {74, "小分類名", 1},
}};
// clang-format on

namespace {

QString NameOr(const QStringList& names, int index, const char* fallback)
{
    if (index >= 0 && index < names.size())
        return names[index];
    return QString::fromUtf8(fallback);
}

} // namespace

QString AddressListColumnCaption(int item, const QStringList& keywordNames)
{
    if (item < 0 || item >= int(AddressListColumnTable.size()))
        return {};
    const char* caption = AddressListColumnTable[item].caption;
    if (item >= 34 && item <= 41)
        return NameOr(keywordNames, item - 34, caption);
    return QString::fromUtf8(caption);
}

QString NarrowDownItemCaption(int row, const QStringList& keywordNames)
{
    if (row < 0 || row >= int(NarrowDownItemTable.size()))
        return {};
    const char* caption = NarrowDownItemTable[row].caption;
    if (row >= 24 && row <= 31)
        return NameOr(keywordNames, row - 24, caption);
    return QString::fromUtf8(caption);
}

QString CopyItemCaption(int row, const QStringList& keywordNames, const QStringList& protectMemoNames,
                        const QString& myNumberLabel)
{
    if (row < 0 || row >= int(CopyItemTable.size()))
        return {};
    const char* caption = CopyItemTable[row].caption;
    if (row == 2)
        return myNumberLabel;
    if (row >= 47 && row <= 54)
        return NameOr(keywordNames, row - 47, caption);
    if (row >= 56 && row <= 65)
        return NameOr(protectMemoNames, row - 56, caption);
    return QString::fromUtf8(caption);
}

QStringList NarrowDownChoiceList(int row)
{
    switch (row) {
    case 2:
        return {QStringLiteral("代表")};
    case 9:
        return {QStringLiteral("個人"), QStringLiteral("会社")};
    case 33: {
        QStringList marks;
        for (const char* mark : SymbolMarks)
            marks.append(QString::fromUtf8(mark));
        return marks;
    }
    default:
        return {};
    }
}

bool IsNarrowDownUnicodeRow(int row)
{
    return row == 15 || (row >= 19 && row <= 23);
}
