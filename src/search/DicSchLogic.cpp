// The lookup dialog's model.
#include "search/DicSchLogic.h"

#include "core/AppSub.h"
#include "core/Dlhyp.h"
#include "core/FontSub.h"
#include "platform/IniFile.h"
#include "search/KykbnDicClass.h"
#include "search/PosDicClass.h"

#include <cstring>

namespace {

AnsiString Capped(const AnsiString& text, int cap)
{
    return Cp932::cutAtBoundary(text, cap);
}

qint32 PackedInt(const void* field)
{
    qint32 v;
    std::memcpy(&v, field, sizeof v);
    return v;
}

// The address of a dictionary result: the part common to kinds 0, 1 and 2.
template <typename R> void FillAddress(TDicResultRec& out, const R& r)
{
    out.PostalCode = Capped(FieldText(r.PostalCode), DicResultCap::PostalCode);
    out.Prefecture = Capped(FieldText(r.PrefName), DicResultCap::Prefecture);
    out.Address1 = Capped(FieldText(r.CityName), DicResultCap::Address1);
    out.Address2 = Capped(FieldText(r.TownName), DicResultCap::Address2);
    out.AddressKana = Capped(FieldText(r.PrefKana) + FieldText(r.CityKana) + FieldText(r.TownKana),
                             DicResultCap::AddressKana);
    out.JisCode = Capped(FieldText(r.JisCode).left(5), DicResultCap::JisCode);
    out.BlockCode = Capped(FieldText(r.BlockCode).left(6), DicResultCap::BlockCode);
    out.Latitude = r.Latitude;
    out.Longitude = r.Longitude;
}

const char HalfKanaHeads[] = "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝ";

// The half-width katakana heads in CP932 bytes, one byte each.
const AnsiString& KanaHeadBytes()
{
    static const AnsiString bytes = ToAnsi(QString::fromUtf8(HalfKanaHeads));
    return bytes;
}

} // namespace

TDicResultRec DicResultFromKykbn(const TKykbnResultRec& r)
{
    TDicResultRec out;
    out.Tel = Capped(FieldText(r.Tel), DicResultCap::Tel);
    FillAddress(out, r);
    return out;
}

TDicResultRec DicResultFromDicAdrs(const TDicAdrsResultRec& r)
{
    TDicResultRec out;
    FillAddress(out, r);
    const QString office = ToWide(FieldText(r.OfficeName)).trimmed();
    if (!office.isEmpty())
        out.Name = Capped(ToAnsi(ExpandCompanyType(office)), DicResultCap::Name);
    out.NameKana = Capped(FieldText(r.OfficeKana), DicResultCap::NameKana);
    return out;
}

TDicResultRec DicResultFromDirectory(const TDirDetailRec& d)
{
    TDicResultRec out;
    const char* base = reinterpret_cast<const char*>(&d);
    out.IsPerson = PackedInt(base + offsetof(TDirDetailRec, PersonFlag)) == 99 ? 1 : 0;
    out.Tel = Capped(FieldText(d.Tel), DicResultCap::Tel);
    out.PhoneKind = PackedInt(base + offsetof(TDirDetailRec, PhoneKind));
    out.PostalCode = Capped(FormatPostalCode(FieldText(d.PostalCode)), DicResultCap::PostalCode);
    out.Prefecture = Capped(FieldText(d.Tdfkn), DicResultCap::Prefecture);
    out.Address1 = Capped(FieldText(d.City), DicResultCap::Address1);
    out.Address2 =
        Capped(FieldText(d.Address3) + FieldText(d.Address4) + FieldText(d.Address5), DicResultCap::Address2);
    out.AddressKana = Capped(FieldText(d.TdfknKana) + FieldText(d.CityKana) + FieldText(d.Address3Kana) +
                                 FieldText(d.Address4Kana) + FieldText(d.Address5Kana),
                             DicResultCap::AddressKana);
    const AnsiString area = FieldText(d.AreaCode);
    out.JisCode = area.left(5);
    out.BlockCode = area.mid(5, 6);
    const AnsiString name = FieldText(d.Name);
    out.Name = Capped(out.IsPerson ? name : ToAnsi(ExpandCompanyType(ToWide(name))), DicResultCap::Name);
    out.NameKana = Capped(FieldText(d.NameKana), DicResultCap::NameKana);
    out.FirstListing = Capped(FieldText(d.FirstListing), DicResultCap::FirstListing);
    out.Latitude = ToMilliseconds(quint32(PackedInt(base + offsetof(TDirDetailRec, Latitude))));
    out.Longitude = ToMilliseconds(quint32(PackedInt(base + offsetof(TDirDetailRec, Longitude))));
    const AnsiString category = FieldText(d.Category);
    if (!category.isEmpty()) {
        out.CodeMain = category.left(2).toInt();
        out.CodeSub = category.mid(2, 2).toInt();
    }
    return out;
}

TDicInputCheck CheckDicNumberInput(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return dicInputEmpty;
    bool digit = false;
    for (const QChar c : trimmed) {
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (c != u'-')
            return dicInputBadChar;
    }
    return digit ? dicInputOk : dicInputHyphensOnly;
}

QString DicStartText(const QString& text)
{
    bool digit = false;
    QString kept;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            digit = true;
            kept += c;
        } else if (c == u'-') {
            kept += c;
        }
    }
    return digit ? kept : QString();
}

QStringList DicKanaFilterItems()
{
    return {QStringLiteral("すべて"), QStringLiteral("あ行"), QStringLiteral("か行"), QStringLiteral("さ行"),
            QStringLiteral("た行"),   QStringLiteral("な行"), QStringLiteral("は行"), QStringLiteral("ま行"),
            QStringLiteral("や行"),   QStringLiteral("ら行"), QStringLiteral("わ行")};
}

bool DicKanaFilterPasses(int filter, const AnsiString& reading)
{
    if (filter <= 0)
        return true;
    if (filter > 10 || reading.isEmpty())
        return false;
    // Each row's span in the head table: あ行 ｱ..ｵ .. ら行 ﾗ..ﾛ, わ行 ﾜ alone.
    static const int first[] = {0, 5, 10, 15, 20, 25, 30, 35, 38, 43};
    static const int last[] = {4, 9, 14, 19, 24, 29, 34, 37, 42, 43};
    const AnsiString& heads = KanaHeadBytes();
    const auto b = static_cast<unsigned char>(reading[0]);
    return b >= static_cast<unsigned char>(heads[first[filter - 1]]) &&
           b <= static_cast<unsigned char>(heads[last[filter - 1]]);
}

QString DicGroupHead(const AnsiString& reading)
{
    if (reading.isEmpty())
        return QString();
    static const QString hiragana = QStringLiteral(
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん");
    const int at = KanaHeadBytes().indexOf(reading[0]);
    if (at >= 0)
        return hiragana.mid(at, 1);
    return ToWide(reading.left(Cp932::charLengthAt(reading, 0)));
}

namespace {
const QString KykbnFileName = QStringLiteral("Kykbn.dat");
const QString KykbnSection = QStringLiteral("KYKBN");
} // namespace

TSavedAreaCode LoadSavedAreaCode(const QString& dataRootFolder)
{
    const TMemIniFile ini(dataRootFolder + KykbnFileName);
    return {ini.ReadBool(KykbnSection, QStringLiteral("Save"), false),
            ini.ReadString(KykbnSection, QStringLiteral("Tel"), QString())};
}

void SaveSavedAreaCode(const QString& dataRootFolder, const TSavedAreaCode& value)
{
    TMemIniFile ini(dataRootFolder + KykbnFileName);
    ini.WriteBool(KykbnSection, QStringLiteral("Save"), value.save);
    ini.WriteString(KykbnSection, QStringLiteral("Tel"), value.save ? value.tel : QString());
    ini.UpdateFile();
}

QString AreaCodeToSave(const QString& number)
{
    AnsiString text = KeepNumberChars(ToAnsi(number.trimmed()), KeepDigits);
    if (text.isEmpty() || HyphenatePhone(text) != 0)
        return QString();
    const QString hyphenated = ToWide(text);
    const int hyphen = hyphenated.indexOf(u'-');
    return hyphen > 0 ? hyphenated.left(hyphen) : hyphenated;
}
