// The record card's logic: transfers, change test, input check, row writer, histories, unsaved input.
#include "addressbook/DtInqiryLogic.h"

#include "core/AppSub.h"
#include "core/FontSub.h"
#include "core/HisInfo.h"
#include "core/MsgBoxPos.h"
#include "platform/TableEngine.h"

#include <cstring>

namespace {

AnsiString TrimmedAnsi(const QString& text)
{
    return ToAnsi(TrimBlanks(text));
}

AnsiString Digits(const AnsiString& text)
{
    return KeepNumberChars(text, KeepDigits);
}

AnsiString Digits(const QString& text)
{
    return KeepNumberChars(ToAnsi(text), KeepDigits);
}

QString WideOfHex(const AnsiString& stored)
{
    try {
        return HexTextToWide(stored);
    } catch (const EConvertError&) {
        return ToWide(stored);
    }
}

// A text field of a directory record: the bytes before the first zero, blanks trimmed.
AnsiString DirText(const char* field, int size)
{
    const void* zero = std::memchr(field, 0, size_t(size));
    const int length = zero ? int(static_cast<const char*>(zero) - field) : size;
    return TrimAnsiText(AnsiString(field, length));
}

qint32 DirInt(const void* field)
{
    qint32 value = 0;
    std::memcpy(&value, field, sizeof value);
    return value;
}

bool SameIgnoringAsciiCase(const AnsiString& a, const AnsiString& b)
{
    return TableEngine::compareIgnoringCase(a.constData(), int(a.size()), b.constData(), int(b.size())) == 0;
}

int SymbolIndexOf(const AnsiString& mark)
{
    if (mark.isEmpty())
        return 0;
    for (int i = 0; i < int(SymbolMarks.size()); ++i)
        if (SymbolMarkBytes(i) == mark)
            return i + 1;
    return 0;
}

QString MemoFromStored(const AnsiString& stored)
{
    QString text = ToWide(stored);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

QString FormatPubDate(const QString& yyyymm)
{
    if (yyyymm.isEmpty())
        return {};
    return QStringLiteral(" ") + yyyymm.left(4) + QStringLiteral("年") + yyyymm.mid(4, 2) +
           QStringLiteral("月");
}

QString FormatPostalCode(const QString& code)
{
    if (code.size() == 5 || code.size() == 7)
        return code.left(3) + QLatin1Char('-') + code.mid(3, 4);
    return code;
}

QString FormatCardDateTime(double value, bool leadingBlank)
{
    if (value == 0)
        return {};
    const QString text = FromTDateTime(value).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    return leadingBlank ? QStringLiteral(" ") + text : text;
}

qint32 DirectoryCoordinate(qint32 raw)
{
    const qint64 product = qint64(quint32(raw)) * 1000;
    return qint32(RoundHalfAway(double(product) / 256.0));
}

AnsiString MemoToStored(const QString& memo)
{
    QString text = memo;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToAnsi(text);
}

QString LinesToMemo(const QByteArrayList& lines)
{
    // Every line keeps its line break, so blank lines at the end survive the next save.
    QString memo;
    for (const QByteArray& line : lines)
        memo += ToWide(line) + QLatin1Char('\n');
    return memo;
}

QString DecryptOrEmpty(const AnsiString& cipher, bool exact)
{
    try {
        return ToWide(exact ? DecryptFieldTextExact(cipher, FieldCipherKey)
                            : DecryptFieldText(cipher, FieldCipherKey));
    } catch (const EFieldCipherError&) {
        return {};
    } catch (const EConvertError&) {
        return {};
    }
}

TCardValues RecordToValues(const TAdrsDataRec& rec)
{
    TCardValues v;
    v.Group = rec.Group;
    v.CustomCode = rec.CustomCode.wide();
    v.Tel = rec.Tel.wide();
    v.MainNumber = rec.TelDiv == 3;
    v.Fax = rec.Fax.wide();
    v.PubDate = TrimBlanks(rec.PubDate.wide()).isEmpty() ? QString() : FormatPubDate(rec.PubDate.wide());
    v.Portable1 = rec.Portable1.wide();
    v.Portable2 = rec.Portable2.wide();
    v.Pos = FormatPostalCode(rec.Pos.wide());
    v.Tdfkn = rec.Tdfkn.wide();
    v.Adrs1 = rec.Adrs1.wide();
    v.Adrs2 = rec.Adrs2.wide();
    v.Adrs3 = rec.Adrs3.wide();
    v.AdrsKana = rec.AdrsKana.wide();
    v.JisCode = rec.JisCode.wide();
    v.KajoCode = rec.KajoCode.wide();
    v.Latitude = rec.Latitude;
    v.Longitude = rec.Longitude;
    v.Priv = rec.PrivCorp;
    v.MyNumber = DecryptOrEmpty(rec.MyNumber.text());
    v.CorpKanji = rec.CorpKanji.wide();
    v.CorpKana = rec.CorpKana.wide();
    v.Dptmnt = rec.Dptmnt.wide();
    v.Post = rec.Post.wide();
    v.EmployeeNo = rec.EmployeeNo.wide();
    v.NameKanji = WideOfHex(rec.NameKanji.text());
    v.NameKana = rec.NameKana.wide();
    v.Honor = rec.Honor.wide();
    v.IgnoreName = rec.IgnoreName;
    v.CodeMain = rec.CodeMain;
    v.CodeSub = rec.CodeSub;
    v.URL = rec.URL.wide();
    v.EMail1 = rec.EMail1.wide();
    v.EMail2 = rec.EMail2.wide();
    for (int i = 0; i < 5; ++i) {
        v.Joint[i] = WideOfHex((rec.*AdrsJointFields[i]).text());
        v.JointHonor[i] = (rec.*AdrsJointHonorFields[i]).wide();
        v.JointMyNumber[i] = DecryptOrEmpty((rec.*AdrsJointMyNumberFields[i]).text());
        v.JointPrint[i] = rec.*AdrsJointPrintFields[i];
    }
    v.JointOwner = rec.JointOwner;
    v.JointPrintM = rec.JointPrint;
    v.PrintTarget = rec.PrintTarget == 1;
    v.PrintException = rec.PrintTarget == 2;
    v.Sender = rec.Sender;
    for (int i = 0; i < 8; ++i)
        v.Keyword[i] = (rec.*AdrsKeywordFields[i]).wide();
    v.Note = rec.Note ? LinesToMemo(*rec.Note) : QString();
    for (int i = 0; i < 10; ++i)
        v.ProtectMemo[i] = DecryptOrEmpty((rec.*AdrsProtectMemoFields[i]).text(), true);
    v.ProtectNote = MemoFromStored(rec.ProtectNote.text());
    if (rec.ExtLink)
        for (const QByteArray& link : *rec.ExtLink)
            v.ExtLink.append(ToWide(link));
    v.SymbolIndex = SymbolIndexOf(rec.SymbolMark.text());
    v.SymbolColor = rec.SymbolColor;
    v.AddDateTime = FormatCardDateTime(rec.AddDateTime, true);
    v.UpdDateTime = FormatCardDateTime(rec.UpdDateTime, true);
    return v;
}

TCardValues DirectoryToValues(const TDirDetailRec& d, const TCardValues& empty)
{
    TCardValues v = empty;
    const qint32 kind = DirInt(reinterpret_cast<const char*>(&d) + offsetof(TDirDetailRec, PhoneKind));
    const QString tel = ToWide(DirText(d.Tel, sizeof d.Tel));
    if (kind != 1)
        v.Tel = tel;
    if (kind == 1 || kind == 2)
        v.Fax = tel;
    v.MainNumber = kind == 3;
    v.PubDate = FormatPubDate(ToWide(DirText(d.FirstListing, sizeof d.FirstListing)));
    v.Pos = FormatPostalCode(ToWide(DirText(d.PostalCode, sizeof d.PostalCode)));
    v.Tdfkn = ToWide(DirText(d.Tdfkn, sizeof d.Tdfkn));
    v.Adrs1 = ToWide(DirText(d.City, sizeof d.City));
    v.Adrs2 = ToWide(DirText(d.Address3, sizeof d.Address3) + DirText(d.Address4, sizeof d.Address4) +
                     DirText(d.Address5, sizeof d.Address5));
    v.Adrs3.clear();
    v.AdrsKana = ToWide(DirText(d.TdfknKana, sizeof d.TdfknKana) + DirText(d.CityKana, sizeof d.CityKana) +
                        DirText(d.Address3Kana, sizeof d.Address3Kana) +
                        DirText(d.Address4Kana, sizeof d.Address4Kana) +
                        DirText(d.Address5Kana, sizeof d.Address5Kana));
    const AnsiString area = DirText(d.AreaCode, sizeof d.AreaCode);
    v.JisCode = ToWide(area.left(5));
    v.KajoCode = ToWide(area.mid(5, 6));
    const char* base = reinterpret_cast<const char*>(&d);
    v.Latitude = DirectoryCoordinate(DirInt(base + offsetof(TDirDetailRec, Latitude)));
    v.Longitude = DirectoryCoordinate(DirInt(base + offsetof(TDirDetailRec, Longitude)));
    v.Priv = DirInt(base + offsetof(TDirDetailRec, PersonFlag)) == 99;
    const AnsiString name = DirText(d.Name, sizeof d.Name);
    const AnsiString kana = DirText(d.NameKana, sizeof d.NameKana);
    if (v.Priv) {
        v.NameKanji = ToWide(name);
        v.NameKana = ToWide(kana);
    } else {
        v.CorpKanji = ExpandCompanyType(ToWide(name));
        v.CorpKana = ToWide(kana);
        // A code that is not digits or names no known category leaves the category unset.
        const AnsiString category = DirText(d.Category, sizeof d.Category);
        bool majorOk = false;
        bool minorOk = false;
        const int major = category.left(2).toInt(&majorOk);
        const int minor = category.mid(2, 2).toInt(&minorOk);
        if (!category.isEmpty() && majorOk && major >= 1 && major <= 17) {
            v.CodeMain = major;
            v.CodeSub = minorOk ? minor : 0;
        }
    }
    return v;
}

TAdrsDataRec ValuesToRecord(const TCardValues& v)
{
    TAdrsDataRec r;
    r.Group = v.Group;
    r.CustomCode = ToAnsi(v.CustomCode);
    r.Tel = ToAnsi(v.Tel);
    r.TelDiv = v.MainNumber ? 3 : 0;
    r.Fax = ToAnsi(v.Fax);
    r.PubDate = Digits(v.PubDate);
    r.Portable1 = ToAnsi(v.Portable1);
    r.Portable2 = ToAnsi(v.Portable2);
    r.Pos = Digits(v.Pos);
    r.Tdfkn = ToAnsi(v.Tdfkn);
    r.Adrs1 = ToAnsi(v.Adrs1);
    r.Adrs2 = ToAnsi(v.Adrs2);
    r.Adrs3 = ToAnsi(v.Adrs3);
    r.AdrsKana = ToAnsi(v.AdrsKana);
    r.JisCode = ToAnsi(v.JisCode);
    r.KajoCode = ToAnsi(v.KajoCode);
    r.Latitude = v.Latitude;
    r.Longitude = v.Longitude;
    r.PrivCorp = v.Priv;
    r.MyNumber = EncryptFieldText(ToAnsi(v.MyNumber), FieldCipherKey);
    r.CorpKanji = ToAnsi(v.CorpKanji);
    r.CorpKana = ToAnsi(v.CorpKana);
    r.Dptmnt = ToAnsi(v.Dptmnt);
    r.Post = ToAnsi(v.Post);
    r.EmployeeNo = ToAnsi(v.EmployeeNo);
    r.NameKanji = WideToHexText(v.NameKanji);
    r.NameKana = ToAnsi(v.NameKana);
    r.Honor = ToAnsi(v.Honor);
    r.IgnoreName = v.IgnoreName;
    r.URL = ToAnsi(v.URL);
    r.EMail1 = ToAnsi(v.EMail1);
    r.EMail2 = ToAnsi(v.EMail2);
    for (int i = 0; i < 5; ++i) {
        r.*AdrsJointFields[i] = WideToHexText(v.Joint[i]);
        r.*AdrsJointHonorFields[i] = ToAnsi(v.JointHonor[i]);
        r.*AdrsJointMyNumberFields[i] = EncryptFieldText(ToAnsi(v.JointMyNumber[i]), FieldCipherKey);
        r.*AdrsJointPrintFields[i] = v.JointPrint[i];
    }
    r.JointOwner = v.JointOwner;
    r.JointPrint = v.JointPrintM;
    r.PrintTarget = v.PrintTarget ? 1 : (v.PrintException ? 2 : 0);
    r.Sender = v.Sender;
    for (int i = 0; i < 8; ++i)
        r.*AdrsKeywordFields[i] = ToAnsi(v.Keyword[i]);
    if (!v.Note.isEmpty())
        r.Note = TextToLines(MemoToStored(v.Note));
    for (int i = 0; i < 10; ++i)
        r.*AdrsProtectMemoFields[i] = EncryptFieldText(ToAnsi(v.ProtectMemo[i]), FieldCipherKey);
    r.ProtectNote = MemoToStored(v.ProtectNote);
    if (!v.ExtLink.isEmpty()) {
        QByteArrayList links;
        for (const QString& link : v.ExtLink)
            links.append(ToAnsi(link));
        r.ExtLink = links;
    }
    if (v.SymbolIndex > 0)
        r.SymbolMark = SymbolMarkBytes(v.SymbolIndex - 1);
    r.SymbolColor = v.SymbolColor;
    r.CodeMain = v.CodeMain;
    r.CodeSub = v.CodeMain > 0 ? v.CodeSub : 0;
    return r;
}

TAdrsDataRec BlankTemplate(bool priv)
{
    TAdrsDataRec r;
    r.PrivCorp = priv;
    r.JointPrint = true;
    r.SymbolColor = DefaultSymbolColor;
    return r;
}

bool IsModified(const TCardValues& v, const TAdrsDataRec& b)
{
    const auto trimmedDiffers = [](const QString& text, const AnsiString& field) {
        return TrimmedAnsi(text) != TrimAnsiText(field);
    };
    const auto cipherDiffers = [](const QString& text, const AnsiString& field) {
        return EncryptFieldText(ToAnsi(text), FieldCipherKey) != field;
    };
    const auto nameDiffers = [](const QString& text, const AnsiString& field) {
        return TrimBlanks(text) != TrimBlanks(WideOfHex(field));
    };

    if (v.Group != b.Group || trimmedDiffers(v.CustomCode, b.CustomCode.text()))
        return true;
    if (Digits(v.Tel) != Digits(b.Tel.text()) || v.MainNumber != (b.TelDiv == 3))
        return true;
    if (Digits(v.Fax) != Digits(b.Fax.text()) || Digits(v.PubDate) != Digits(b.PubDate.text()) ||
        Digits(v.Portable1) != Digits(b.Portable1.text()) ||
        Digits(v.Portable2) != Digits(b.Portable2.text()) || Digits(v.Pos) != Digits(b.Pos.text()))
        return true;
    if (trimmedDiffers(v.Tdfkn, b.Tdfkn.text()) || trimmedDiffers(v.Adrs1, b.Adrs1.text()) ||
        trimmedDiffers(v.Adrs2, b.Adrs2.text()) || trimmedDiffers(v.Adrs3, b.Adrs3.text()) ||
        trimmedDiffers(v.AdrsKana, b.AdrsKana.text()))
        return true;
    if (ToAnsi(v.JisCode) != TrimAnsiText(b.JisCode.text()) ||
        ToAnsi(v.KajoCode) != TrimAnsiText(b.KajoCode.text()))
        return true;
    if (v.Latitude != b.Latitude || v.Longitude != b.Longitude || v.Priv != b.PrivCorp)
        return true;
    if (cipherDiffers(v.MyNumber, b.MyNumber.text()))
        return true;
    if (trimmedDiffers(v.CorpKanji, b.CorpKanji.text()) || trimmedDiffers(v.CorpKana, b.CorpKana.text()) ||
        trimmedDiffers(v.Dptmnt, b.Dptmnt.text()) || trimmedDiffers(v.Post, b.Post.text()) ||
        trimmedDiffers(v.EmployeeNo, b.EmployeeNo.text()))
        return true;
    if (nameDiffers(v.NameKanji, b.NameKanji.text()) ||
        TrimBlanks(v.NameKana) != TrimBlanks(b.NameKana.wide()))
        return true;
    if (trimmedDiffers(v.Honor, b.Honor.text()) || v.IgnoreName != b.IgnoreName)
        return true;
    if (v.CodeMain != b.CodeMain || (v.CodeMain > 0 && v.CodeSub != b.CodeSub))
        return true;
    if (trimmedDiffers(v.URL, b.URL.text()) || trimmedDiffers(v.EMail1, b.EMail1.text()) ||
        trimmedDiffers(v.EMail2, b.EMail2.text()))
        return true;
    for (int i = 0; i < 5; ++i)
        if (nameDiffers(v.Joint[i], (b.*AdrsJointFields[i]).text()))
            return true;
    for (int i = 0; i < 5; ++i)
        if (trimmedDiffers(v.JointHonor[i], (b.*AdrsJointHonorFields[i]).text()))
            return true;
    for (int i = 0; i < 5; ++i)
        if (cipherDiffers(v.JointMyNumber[i], (b.*AdrsJointMyNumberFields[i]).text()))
            return true;
    if (v.JointOwner != b.JointOwner || v.JointPrintM != b.JointPrint)
        return true;
    for (int i = 0; i < 5; ++i)
        if (v.JointPrint[i] != b.*AdrsJointPrintFields[i])
            return true;
    if (((v.PrintTarget || v.PrintException) && b.PrintTarget == 0) ||
        (!v.PrintTarget && b.PrintTarget == 1) || (!v.PrintException && b.PrintTarget == 2))
        return true;
    if (v.Sender != b.Sender)
        return true;
    for (int i = 0; i < 8; ++i)
        if (trimmedDiffers(v.Keyword[i], (b.*AdrsKeywordFields[i]).text()))
            return true;
    // Notes compare line by line: a stored note reads back without the final line break it was typed with.
    if (b.Note ? TextToLines(MemoToStored(v.Note)) != *b.Note : !v.Note.isEmpty())
        return true;
    for (int i = 0; i < 10; ++i)
        if (cipherDiffers(v.ProtectMemo[i], (b.*AdrsProtectMemoFields[i]).text()))
            return true;
    if (Cp932::cutAtBoundary(MemoToStored(v.ProtectNote), 1000) != b.ProtectNote.text())
        return true;
    if (b.ExtLink) {
        if (v.ExtLink.size() != b.ExtLink->size())
            return true;
        for (int i = 0; i < v.ExtLink.size(); ++i)
            if (!SameIgnoringAsciiCase(ToAnsi(v.ExtLink[i]), b.ExtLink->at(i)))
                return true;
    } else if (!v.ExtLink.isEmpty()) {
        return true;
    }
    const AnsiString mark = b.SymbolMark.text();
    if (mark.isEmpty() ? v.SymbolIndex != 0
                       : (v.SymbolIndex == 0 || SymbolMarkBytes(v.SymbolIndex - 1) != mark))
        return true;
    return v.SymbolColor != b.SymbolColor;
}

TValidationResult ValidateValues(const TCardValues& v, bool isNew, const TAdrsDataRec* loaded,
                                 const std::function<bool(const AnsiString&)>& customCodeInUse)
{
    const auto fail = [](const QString& message, TCardField field) {
        return TValidationResult{false, message, field};
    };
    const AnsiString code = TrimmedAnsi(v.CustomCode);
    if (!code.isEmpty()) {
        for (const char c : code) {
            const bool allowed = c == ' ' || c == '-' || c == '/' || (c >= '0' && c <= '9') ||
                                 (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            // Characters CP932 lacks arrive as '?', which is refused here too.
            if (!allowed || !Cp932::canEncode(TrimBlanks(v.CustomCode)))
                return fail(QStringLiteral("顧客コードは、以下の半角文字で入力してください  \r\n"
                                           "　　英数字  \r\n　　スペース  \r\n　　ハイフン（ - ）  \r\n"
                                           "　　スラッシュ（ / ）  "),
                            TCardField::CustomCode);
        }
        const bool changed = isNew || !loaded || code != loaded->CustomCode.text();
        if (changed && customCodeInUse && customCodeInUse(code))
            return fail(
                QStringLiteral("入力した顧客コードは既に使われています  \r\n別のコードに変更してください  "),
                TCardField::CustomCode);
    }
    const auto numberOk = [](const QString& text) {
        return KeepNumberChars(ToAnsi(text), KeepDigits | KeepHyphens) == TrimmedAnsi(text);
    };
    if (!numberOk(v.Tel))
        return fail(QStringLiteral("電話番号は半角数字かハイフンのみが有効です  "), TCardField::Tel);
    if (!numberOk(v.Fax))
        return fail(QStringLiteral("FAX番号は半角数字かハイフンのみが有効です  "), TCardField::Fax);
    if (!numberOk(v.Portable1))
        return fail(QStringLiteral("携帯番号は半角数字かハイフンのみが有効です  "), TCardField::Portable1);
    if (!numberOk(v.Portable2))
        return fail(QStringLiteral("携帯番号は半角数字かハイフンのみが有効です  "), TCardField::Portable2);
    const AnsiString pos = TrimmedAnsi(v.Pos);
    if (!pos.isEmpty()) {
        if (KeepNumberChars(pos, KeepDigits | KeepHyphens) != pos)
            return fail(QStringLiteral("正しい郵便番号を入力してください  "), TCardField::Pos);
        const qsizetype digits = Digits(pos).size();
        if (digits != 3 && digits != 5 && digits != 7)
            return fail(QStringLiteral("正しい桁数の郵便番号を入力してください  "), TCardField::Pos);
    }
    // The table keeps 11 digits of a number and a reading's bytes only; more would be cut on saving.
    const struct
    {
        const QString* text;
        const char* label;
        TCardField field;
    } numbers[] = {{&v.Tel, "電話番号", TCardField::Tel},
                   {&v.Fax, "FAX番号", TCardField::Fax},
                   {&v.Portable1, "携帯番号１", TCardField::Portable1},
                   {&v.Portable2, "携帯番号２", TCardField::Portable2}};
    for (const auto& n : numbers)
        if (Digits(*n.text).size() > AdrsNumberDigits)
            return fail(QString::fromUtf8(n.label) +
                            QStringLiteral("は%1桁以内で入力してください  ").arg(AdrsNumberDigits),
                        n.field);
    const struct
    {
        const QString* text;
        const char* label;
        int bytes;
        TCardField field;
    } readings[] = {{&v.AdrsKana, "住所カナ", 100, TCardField::AdrsKana},
                    {&v.CorpKana, "会社名カナ", 80, TCardField::CorpKana},
                    {&v.NameKana, "フリガナ", 25, TCardField::NameKana}};
    for (const auto& r : readings)
        if (TrimmedAnsi(*r.text).size() > r.bytes)
            return fail(QString::fromUtf8(r.label) +
                            QStringLiteral("は半角%1文字（全角%2文字）以内で入力してください  ")
                                .arg(r.bytes)
                                .arg(r.bytes / 2),
                        r.field);
    return {};
}

// ---- Writer ----

TCardRecordWriter::TCardRecordWriter(Table& table, QWidget* messageOwner)
    : m_table(table), m_owner(messageOwner)
{
}

void TCardRecordWriter::cancelEdit()
{
    try {
        if (m_table.active() && m_table.state() != TableState::Browse)
            m_table.cancel();
    } catch (...) {
    }
}

bool TCardRecordWriter::FindRecNo(qint32 recNo)
{
    m_table.cancelRange();
    m_table.setIndexName(QString());
    return m_table.findKey({recNo});
}

bool TCardRecordWriter::CustomCodeInUse(const AnsiString& code)
{
    m_table.cancelRange();
    m_table.setIndexName(QStringLiteral("CustomCode"));
    return m_table.findKey({QVariant(code)});
}

void TCardRecordWriter::SetFields(const TCardValues& v, bool isNew, const TAdrsDataRec* loaded,
                                  const QDateTime& now)
{
    Table& t = m_table;
    // Values beyond a field's width are cut at a character boundary rather than refused by the engine.
    const auto text = [&t](const QByteArray& name, const AnsiString& value) {
        TableField field = t.fieldByName(QString::fromLatin1(name));
        field.setAnsi(field.type() == FieldType::Alpha ? Cp932::cutAtBoundary(value, field.size()) : value);
    };
    const auto number = [&t](const QByteArray& name, qint64 value) {
        t.fieldByName(QString::fromLatin1(name)).setInteger(value);
    };
    const auto flag = [&t](const QByteArray& name, bool value) {
        t.fieldByName(QString::fromLatin1(name)).setBoolean(value);
    };
    const auto numbered = [](const char* base, int n) { return QByteArray(base) + QByteArray::number(n); };
    const auto cipher = [](const QString& value) { return EncryptFieldText(ToAnsi(value), FieldCipherKey); };

    number("Group", v.Group);
    text("CustomCode", TrimmedAnsi(v.CustomCode));
    text("Tel", Digits(v.Tel));
    number("TelDiv", v.MainNumber ? 3 : 0);
    text("Fax", Digits(v.Fax));
    text("PubDate", Digits(v.PubDate));
    text("Portable1", Digits(v.Portable1));
    text("Portable2", Digits(v.Portable2));
    text("Pos", Digits(v.Pos));
    text("Tdfkn", TrimmedAnsi(v.Tdfkn));
    text("Adrs1", TrimmedAnsi(v.Adrs1));
    text("Adrs2", TrimmedAnsi(v.Adrs2));
    text("Adrs3", TrimmedAnsi(v.Adrs3));
    text("AdrsKana", TrimmedAnsi(v.AdrsKana));
    text("JisCode", TrimmedAnsi(v.JisCode));
    text("KajoCode", TrimmedAnsi(v.KajoCode));
    number("Latitude", v.Latitude);
    number("Longitude", v.Longitude);
    flag("PrivCorp", v.Priv);
    text("MyNumber", cipher(v.MyNumber));
    text("CorpKanji", TrimmedAnsi(v.CorpKanji));
    text("CorpKana", TrimmedAnsi(v.CorpKana));
    text("Dptmnt", TrimmedAnsi(v.Dptmnt));
    text("Post", TrimmedAnsi(v.Post));
    text("EmployeeNo", TrimmedAnsi(v.EmployeeNo));
    text("NameKanji", WideToHexText(TrimBlanks(v.NameKanji)));
    text("NameKana", TrimmedAnsi(v.NameKana));
    text("Honor", TrimmedAnsi(v.Honor));
    flag("IgnoreName", v.IgnoreName);
    text("URL", TrimmedAnsi(v.URL));
    text("EMail1", TrimmedAnsi(v.EMail1));
    text("EMail2", TrimmedAnsi(v.EMail2));
    for (int i = 0; i < 5; ++i)
        text(numbered("Joint", i + 1), WideToHexText(TrimBlanks(v.Joint[i])));
    for (int i = 0; i < 5; ++i)
        text(numbered("JointHonor", i + 1), TrimmedAnsi(v.JointHonor[i]));
    for (int i = 0; i < 5; ++i)
        text(numbered("JointMyNumber", i + 1), cipher(v.JointMyNumber[i]));
    number("JointOwner", v.JointOwner);
    flag("JointPrint", v.JointPrintM);
    for (int i = 0; i < 5; ++i)
        flag(numbered("JointPrint", i + 1), v.JointPrint[i]);
    number("PrintTarget", v.PrintTarget ? 1 : (v.PrintException ? 2 : 0));
    number("Sender", v.Sender);
    for (int i = 0; i < 8; ++i)
        text(numbered("Keyword", i + 1), TrimmedAnsi(v.Keyword[i]));
    text("Note", MemoToStored(v.Note));
    for (int i = 0; i < 10; ++i)
        text(numbered("ProtectMemo", i + 1), cipher(v.ProtectMemo[i]));
    text("ProtectNote", Cp932::cutAtBoundary(MemoToStored(v.ProtectNote), 1000));
    AnsiString links;
    for (const QString& link : v.ExtLink)
        links += ToAnsi(link) + "\r\n";
    text("ExtLink", links);
    text("SymbolMark", v.SymbolIndex > 0 ? SymbolMarkBytes(v.SymbolIndex - 1) : AnsiString());
    number("SymbolColor", v.SymbolColor);
    if (isNew)
        t.fieldByName(QStringLiteral("AddDateTime")).setDateTime(TruncateToSeconds(now));
    t.fieldByName(QStringLiteral("UpdDateTime")).setDateTime(now);
    number("CodeMain", v.CodeMain);
    number("CodeSub", v.CodeMain != 0 ? v.CodeSub % 100 : 0);
    number("CodeGenre", loaded ? loaded->CodeGenre : 0);
}

int TCardRecordWriter::WriteRecord(const TCardValues& v, bool update, const TAdrsDataRec* loaded,
                                   qint32* newRecNo, const QDateTime& now)
{
    m_lastError.clear();
    const auto message = [this](const QString& text, unsigned flags) {
        return MessageBoxPos(m_owner, text, ProductTitle, flags);
    };
    const auto rowGone = [&] {
        message(QStringLiteral("変更データを参照できませんでした  "), MsgSeam::MbOk | MsgSeam::MbIconStop);
        return wrDeclined;
    };
    try {
        if (update) {
            if (!loaded || !FindRecNo(loaded->RecNo))
                return rowGone();
            m_table.edit();
        } else {
            m_table.cancelRange();
            if (m_table.recordCount() > AdrsRecordLimit - 1) {
                message(QStringLiteral("最大登録件数10万件に達しました  \r\nこれ以上登録できません  "),
                        MsgSeam::MbOk | MsgSeam::MbIconInformation);
                return wrDeclined;
            }
            if (CheckSameNumbers) {
                const std::array<std::pair<const QString*, QString>, 4> numbers{{
                    {&v.Tel, QStringLiteral("電話番号")},
                    {&v.Fax, QStringLiteral("FAX番号")},
                    {&v.Portable1, QStringLiteral("携帯番号１")},
                    {&v.Portable2, QStringLiteral("携帯番号２")},
                }};
                const std::array<const char*, 4> indexes{"Tel", "Fax", "Portable1", "Portable2"};
                for (int i = 0; i < 4; ++i) {
                    const AnsiString digits = Digits(*numbers[i].first);
                    if (digits.isEmpty())
                        continue;
                    m_table.setIndexName(QLatin1String(indexes[i]));
                    if (!m_table.findKey({QVariant(digits)}))
                        continue;
                    const QString& label = numbers[i].second;
                    const bool yes =
                        ConfirmDuplicate
                            ? ConfirmDuplicate(label)
                            : message(QStringLiteral("既に同一の") + label +
                                          QStringLiteral("のデータが登録されています  \r\n登録しますか？  "),
                                      MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) == MsgSeam::IdYes;
                    if (!yes)
                        return wrDeclined;
                    break;
                }
            }
            m_table.append();
        }
        SetFields(v, !update, loaded, now);
        const qint64 key = m_table.post();
        m_table.flushBuffers();
        if (newRecNo && !update)
            *newRecNo = qint32(key);
        return wrWritten;
    } catch (const RecordGoneError&) {
        // Another user deleted the row after it was found.
        try {
            m_table.cancel();
        } catch (...) {
        }
        return rowGone();
    } catch (const std::exception& e) {
        m_lastError = QString::fromUtf8(e.what());
    } catch (...) {
        m_lastError = QStringLiteral("unknown error");
    }
    cancelEdit();
    return wrFailed;
}

int TCardRecordWriter::WritePosition(qint32 recNo, qint32 latitude, qint32 longitude, const QDateTime& now)
{
    m_lastError.clear();
    try {
        if (!FindRecNo(recNo))
            return wrDeclined;
        m_table.edit();
        m_table.fieldByName(QStringLiteral("Latitude")).setInteger(latitude);
        m_table.fieldByName(QStringLiteral("Longitude")).setInteger(longitude);
        m_table.fieldByName(QStringLiteral("UpdDateTime")).setDateTime(now);
        m_table.post();
        m_table.flushBuffers();
        return wrWritten;
    } catch (const RecordGoneError&) {
        // Deleted by another user after it was found: as if it had not been found.
        cancelEdit();
        return wrDeclined;
    } catch (const std::exception& e) {
        m_lastError = QString::fromUtf8(e.what());
    }
    cancelEdit();
    try {
        m_table.flushBuffers();
    } catch (...) {
    }
    return wrFailed;
}

bool TCardRecordWriter::DeleteRecord(qint32 recNo, QString* error)
{
    try {
        if (!FindRecNo(recNo))
            return true; // already gone: nothing is left to delete
        m_table.deleteRecord();
        m_table.flushBuffers();
        return true;
    } catch (const RecordGoneError&) {
        return true; // another user deleted it after it was found
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromUtf8(e.what());
    }
    cancelEdit();
    return false;
}

// ---- Histories ----

unsigned UpdateInputHistories(const TCardValues& v, const TCardHistoryLookup& histories)
{
    struct Item
    {
        const QString* text;
        TInputListKind kind;
    };
    const Item items[] = {
        {&v.Dptmnt, ilDptmnt},       {&v.Post, ilPost},           {&v.Honor, ilHonor},
        {&v.JointHonor[0], ilHonor}, {&v.JointHonor[1], ilHonor}, {&v.JointHonor[2], ilHonor},
        {&v.JointHonor[3], ilHonor}, {&v.JointHonor[4], ilHonor}, {&v.Keyword[5], ilKeyword1},
        {&v.Keyword[6], ilKeyword2}, {&v.Keyword[7], ilKeyword3},
    };
    unsigned changed = 0;
    for (const Item& item : items) {
        if (item.text->isEmpty())
            continue;
        THistoryData* history = histories ? histories(item.kind) : nullptr;
        if (!history || !history->IsLoaded())
            continue;
        const AnsiString text = ToAnsi(*item.text);
        const int found = history->IndexOf(text);
        if (found == 0)
            continue;
        if (found > 0)
            history->Delete(found);
        history->Insert(0, text, HistoryNow());
        history->Save();
        changed |= 1u << item.kind;
    }
    return changed;
}

// ---- Unsaved input ----

QString PendingChangesQuestion(bool recordLoaded)
{
    return (recordLoaded ? QStringLiteral("照会中のデータが変更されています  ")
                         : QStringLiteral("入力途中のデータがあります  ")) +
           QStringLiteral("\r\n\r\n") + QStringLiteral("アドレス帳に保存する場合は「はい」  ") +
           QStringLiteral("\r\n") + QStringLiteral("破棄する場合は「いいえ」  ") + QStringLiteral("\r\n") +
           QStringLiteral("中止する場合は「キャンセル」  ") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("を押してください  ");
}

QString DiscardAfterFailureQuestion()
{
    return QStringLiteral("アドレス帳に保存できませんでした  \r\n入力内容を破棄しますか？  ");
}

int ConfirmPendingChangesPolicy(const TConfirmRequest& r, quint8& skipConfirm)
{
    if (skipConfirm) {
        skipConfirm = 0;
        return 1;
    }
    if (r.onClose ? !r.formClose : !r.changeData)
        return 1;
    if (!r.hasUnsavedInput || !r.hasUnsavedInput())
        return 1;
    if (r.confirmation) {
        const int answer = r.ask ? r.ask(PendingChangesQuestion(r.recordLoaded)) : int(MsgSeam::IdCancel);
        if (answer == MsgSeam::IdCancel)
            return 9;
        if (answer == MsgSeam::IdNo)
            return 1;
    }
    if (r.validate && !r.validate())
        return 9;
    const int written = r.write ? r.write() : wrFailed;
    if (written == wrWritten) {
        if (r.afterWritten)
            r.afterWritten();
        return 0;
    }
    if (written == wrFailed) {
        // The typed input is still on the card only: the user decides whether it may go. Staying without
        // a choice would keep the card, and with it the program, from ever closing.
        if (r.reportFailure)
            r.reportFailure();
        return r.askDiscard && r.askDiscard() ? 1 : 9;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------------------
// Item copy

QStringList CopyItemTexts(const TCardValues& v, const TCopyContext& c)
{
    QStringList t;
    t.reserve(CopyItemCount);
    const auto trimmed = [](const QString& s) { return TrimBlanks(s); };
    const auto memo = [](const QString& s) {
        QString out = s;
        out.replace(QLatin1Char('\n'), QLatin1Char('\t'));
        return out;
    };
    t << c.GroupName << trimmed(v.CustomCode) << trimmed(c.EnvMyNumber) << trimmed(v.Tel)
      << (v.MainNumber ? QStringLiteral("代表") : QString()) << trimmed(v.Fax) << trimmed(v.PubDate)
      << trimmed(v.Portable1) << trimmed(v.Portable2) << trimmed(v.Pos) << trimmed(v.Tdfkn)
      << trimmed(v.Adrs1) << trimmed(v.Adrs2) << trimmed(v.Adrs3);
    t << t[10] + t[11] + t[12] + t[13];
    t << trimmed(v.AdrsKana) << trimmed(v.JisCode) << trimmed(v.MyNumber) << trimmed(v.CorpKanji)
      << trimmed(v.CorpKana) << trimmed(v.Dptmnt) << trimmed(v.Post) << trimmed(v.EmployeeNo)
      << trimmed(v.NameKanji) << trimmed(v.NameKana) << trimmed(v.Honor) << trimmed(v.URL)
      << trimmed(v.EMail1) << trimmed(v.EMail2);
    for (const QString& s : v.Joint)
        t << trimmed(s);
    for (const QString& s : v.JointHonor)
        t << trimmed(s);
    for (const QString& s : v.JointMyNumber)
        t << trimmed(s);
    t << trimmed(c.JointOwnerText);
    t << (v.PrintTarget      ? QStringLiteral("印刷対象")
          : v.PrintException ? QStringLiteral("印刷除外")
                             : QStringLiteral("指定なし"));
    t << trimmed(c.SenderText);
    for (const QString& s : v.Keyword)
        t << trimmed(s);
    t << memo(v.Note);
    for (const QString& s : v.ProtectMemo)
        t << trimmed(s);
    t << memo(v.ProtectNote);
    t << v.ExtLink.join(QLatin1Char('\t'));
    t << (v.SymbolIndex > 0 && v.SymbolIndex <= int(SymbolMarks.size())
              ? QString::fromUtf8(SymbolMarks[size_t(v.SymbolIndex - 1)])
              : QString());
    const auto date = [&c](double TAdrsDataRec::*field, const char* format) {
        if (!c.Loaded || c.Loaded->*field == 0)
            return QString();
        return FromTDateTime(c.Loaded->*field).toString(QLatin1String(format));
    };
    t << date(&TAdrsDataRec::AddDateTime, "yyyy/MM/dd") << date(&TAdrsDataRec::AddDateTime, "HH:mm:ss")
      << date(&TAdrsDataRec::UpdDateTime, "yyyy/MM/dd") << date(&TAdrsDataRec::UpdDateTime, "HH:mm:ss");
    t << trimmed(c.CatMainText) << trimmed(c.CatSubText);

    if (c.Protected) {
        const auto mask = [&t](int i) { t[i] = QString(Cp932::byteLength(t[i]), QLatin1Char('*')); };
        mask(2);
        mask(17);
        for (int i = 39; i <= 43; ++i)
            mask(i);
        for (int i = 56; i <= 66; ++i)
            mask(i);
    }
    return t;
}

QString CopyItemsText(const QStringList& texts, const TCopyItemEntries& entries, bool lastReturn)
{
    QString out;
    for (const TCopyItemEntry& e : entries)
        if (e.Copy && e.ItemIndex >= 0 && e.ItemIndex < texts.size())
            out += texts[e.ItemIndex] + QLatin1Char(',');
    if (!out.isEmpty())
        out.chop(1);
    if (lastReturn)
        out += QStringLiteral("\r\n");
    return out;
}
