#include "dataexchange/ImportConvert.h"

namespace {

// Widths of the table's phone and month fields.
constexpr int PhoneWidth = 11;
constexpr int PubDateWidth = 6;

AnsiString trim(const AnsiString& text) { return TrimAnsiText(text); }
AnsiString cut(const AnsiString& text, int n) { return TruncateMbcs(text, n); }

bool oneOf(const AnsiString& text, std::initializer_list<const char*> words)
{
    for (const char* w : words)
        if (text == ToAnsi(QString::fromUtf8(w)))
            return true;
    return false;
}

AnsiString hexName(const AnsiString& text, int n) { return cut(WideToHexText(ToWide(text)), n); }

AnsiString encipher(const AnsiString& text, int plainMax, int cipherMax)
{
    const AnsiString plain = cut(text, plainMax);
    return plain.isEmpty() ? AnsiString() : cut(EncryptFieldText(plain, FieldCipherKey), cipherMax);
}

// Index of the first equal group name, or -1.
int groupIndex(const AnsiString& text, const QStringList& names)
{
    for (int i = 0; i < names.size(); ++i)
        if (ToAnsi(names[i]) == text)
            return i;
    return -1;
}

std::optional<qint32> senderRecNo(const AnsiString& title, const TImportLookups& lookups)
{
    for (const auto& [t, recNo] : lookups.senders)
        if (t == title)
            return recNo;
    return std::nullopt;
}

bool isMajor(const TImportLookups& l, int code) { return l.isMajorCode && l.isMajorCode(code); }
bool isMinor(const TImportLookups& l, int major, int code) { return l.isMinorCode && l.isMinorCode(major, code); }

// Digits of the text as a number, or -1 when there are none or too many.
int digitsValue(const AnsiString& text)
{
    const AnsiString d = ImportDigits(text);
    bool ok = false;
    const int v = d.size() <= 9 ? d.toInt(&ok) : -1;
    return ok ? v : -1;
}

std::array<QString, 5> storedJoints(const TAdrsDataRec& rec)
{
    std::array<QString, 5> out;
    for (int k = 0; k < 5; ++k)
        out[k] = HexTextToWide((rec.*AdrsJointFields[k]).text());
    return out;
}

} // namespace

AnsiString ImportDigits(const AnsiString& text) { return KeepNumberChars(text, KeepDigits); }

AnsiString RenumberPhone(const AnsiString& d)
{
    if (d.size() < 4 || d.size() > 10)
        return d;
    const AnsiString head = d.left(3);
    if (head == "010" || head == "020" || head == "030" || head == "040" || head == "080")
        return "090" + d.mid(1, 1) + d.mid(3);
    if (head == "050" || head == "060")
        return "070" + d.mid(1, 1) + d.mid(3);
    if (d.startsWith("06") && d.size() < 10)
        return "066" + d.mid(2);
    return d;
}

AnsiString Convert0720Prefix(const AnsiString& d, const QDate& today)
{
    if (today >= QDate(2000, 1, 1) && d.size() > 4 && d.startsWith("0720"))
        return "0728" + d.mid(4);
    return d;
}

AnsiString ImportPhone(const AnsiString& text, const QDate& today)
{
    AnsiString d = cut(ImportDigits(text), 13);
    if (d.isEmpty())
        return d;
    d = cut(RenumberPhone(d), 13);
    return cut(Convert0720Prefix(d, today), PhoneWidth);
}

AnsiString ImportMyNumber(const AnsiString& text) { return encipher(ImportDigits(text), 13, 34); }

AnsiString ImportProtectMemo(const AnsiString& text) { return encipher(text, 60, 130); }

qint32 ImportCoordinate(const AnsiString& text)
{
    const AnsiString t = trim(text);
    if (t.isEmpty() || t == "0" || t.size() >= 11)
        return 0;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    if (!ok)
        throw EConvertError("'" + t.toStdString() + "' is not a valid integer value");
    return v <= 2147483647 ? qint32(v) : 0;
}

std::optional<QByteArrayList> ImportLines(const AnsiString& text)
{
    QByteArrayList lines = trim(text).split('\t');
    if (lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return std::nullopt;
    return lines;
}

AnsiString ImportProtectNote(const AnsiString& text)
{
    return cut(trim(text).replace('\t', "\r\n"), 1000);
}

AnsiString ImportSymbolMark(const AnsiString& text)
{
    const AnsiString t = trim(text);
    for (const char* mark : SymbolMarks)
        if (t == ToAnsi(QString::fromUtf8(mark)))
            return t;
    return {};
}

qint32 ImportSymbolColor(const AnsiString& text)
{
    constexpr qint32 Fallback = 8380223;
    bool ok = false;
    const AnsiString t = trim(text);
    const bool hex = !t.isEmpty() && t.size() <= 8 &&
                     std::all_of(t.cbegin(), t.cend(), [](char c) { return std::isxdigit(uchar(c)); });
    const quint32 v = hex ? t.toUInt(&ok, 16) : 0;
    return ok ? qint32(v) : Fallback;
}

TImportAddress SplitImportAddress(const AnsiString& item10, const AnsiString& item11, const AnsiString& item12)
{
    TImportAddress a;
    const auto splitAt = [](const AnsiString& text, int n, AnsiString& head) {
        QList<AnsiString> parts{text};
        SplitText(parts, 1, SplitFixedLength, n, {});
        head = parts[0];
        return parts[1];
    };
    AnsiString overflow;
    const AnsiString first = trim(item10);
    if (!first.isEmpty()) {
        AnsiString rest;
        SplitPrefecture(first, a.tdfkn, rest);
        a.tdfkn = cut(a.tdfkn, 8);
        overflow = splitAt(rest, 32, a.adrs1);
        a.overflow1 = !overflow.isEmpty();
    }
    overflow = splitAt(overflow + trim(item11), 100, a.adrs2);
    a.overflow2 = !overflow.isEmpty();
    a.adrs3 = cut(overflow + trim(item12), 116);
    return a;
}

int ImportJointOwner(const QString& t, const QString& name, const std::array<QString, 5>& joints)
{
    if (t.isEmpty() || t == name || t == u"本人" || t == u"0")
        return 0;
    static const QString fullDigits = QStringLiteral("１２３４５");
    for (int k = 1; k <= 5; ++k) {
        const QString& joint = joints[k - 1];
        if (!joint.isEmpty() &&
            (t == joint || t == QStringLiteral("連名") + fullDigits.at(k - 1) || t == QString::number(k)))
            return k;
    }
    return -1;
}

std::optional<QDateTime> ImportTimestamp(const AnsiString& date, const AnsiString& time, bool requireTime)
{
    const AnsiString d = ImportDigits(date);
    AnsiString t = ImportDigits(time);
    if (d.size() < 8)
        return std::nullopt;
    if (t.size() < 6) {
        if (requireTime)
            return std::nullopt;
        t = "000000";
    }
    const QDate day(d.left(4).toInt(), d.mid(4, 2).toInt(), d.mid(6, 2).toInt());
    const QTime clock(t.left(2).toInt(), t.mid(2, 2).toInt(), t.mid(4, 2).toInt());
    if (!day.isValid() || !clock.isValid())
        return std::nullopt;
    return QDateTime(day, clock);
}

TAdrsDataRec BuildAppendRecord(const TImportTexts& texts, const TImportOptions& options,
                               const TImportLookups& lookups)
{
    const auto text = [&](int item) -> const AnsiString& { return texts[std::size_t(item - 1)]; };
    const auto trimmed = [&](int item) { return trim(text(item)); };
    TAdrsDataRec rec;

    rec.Group = qMax(0, trimmed(1).isEmpty() ? 0 : groupIndex(trimmed(1), lookups.groupNames));
    rec.CustomCode = cut(trimmed(2), 20);
    rec.Tel = ImportPhone(text(3), lookups.today);
    rec.TelDiv = oneOf(trimmed(4), {"代表", "代表電話"}) ? 3 : 0;
    rec.Fax = ImportPhone(text(5), lookups.today);
    rec.PubDate = cut(ImportDigits(text(6)), PubDateWidth);
    rec.Portable1 = cut(ImportDigits(text(7)), PhoneWidth);
    rec.Portable2 = cut(ImportDigits(text(8)), PhoneWidth);

    const TImportAddress address = SplitImportAddress(text(10), text(11), text(12));
    rec.Tdfkn = trim(address.tdfkn);
    rec.Adrs1 = trim(address.adrs1);
    rec.Adrs2 = trim(address.adrs2);
    rec.Adrs3 = trim(address.adrs3);
    rec.AdrsKana = cut(trimmed(13), 100);

    AnsiString postal = ImportDigits(text(9));
    AnsiString jis = trimmed(14);
    AnsiString kajo;
    rec.Latitude = ImportCoordinate(text(15));
    rec.Longitude = ImportCoordinate(text(16));
    const AnsiString whole = trim(address.tdfkn) + trim(address.adrs1) + trim(address.adrs2) + trim(address.adrs3);
    const bool postalDone = postal.size() == 7;
    const bool jisDone = ImportDigits(jis).size() == 5;
    const bool coordsDone = rec.Latitude != 0 && rec.Longitude != 0;
    if (!options.noCompletion && lookups.complete && !whole.isEmpty() && !(postalDone && jisDone && coordsDone)) {
        if (const std::optional<TImportCompletion> found = lookups.complete(whole)) {
            if (!postalDone)
                postal = ImportDigits(found->postal.left(9));
            if (!jisDone) {
                jis = trim(found->municipality);
                kajo = trim(found->block);
            }
            if (!coordsDone) {
                rec.Latitude = found->latitude;
                rec.Longitude = found->longitude;
            }
        }
    }
    rec.Pos = cut(postal, 7);
    rec.JisCode = trim(cut(jis, 5));
    rec.KajoCode = trim(cut(kajo, 6));

    rec.PrivCorp = !oneOf(trimmed(17), {"会社", "法人", "0"});
    if (options.companyRule && !trimmed(19).isEmpty() && (!options.privCorpFirst || trimmed(17).isEmpty()))
        rec.PrivCorp = options.allCompany ? false : !trimmed(24).isEmpty();
    rec.MyNumber = ImportMyNumber(text(18));
    rec.CorpKanji = cut(trimmed(19), 112);
    rec.CorpKana = cut(trimmed(20), 80);
    rec.Dptmnt = cut(trimmed(21), 100);
    rec.Post = cut(trimmed(22), 50);
    rec.EmployeeNo = cut(trimmed(23), 15);
    rec.NameKanji = hexName(trimmed(24), 75);
    rec.NameKana = cut(trimmed(25), 25);
    rec.Honor = cut(trimmed(26), 10);
    rec.IgnoreName = oneOf(trimmed(27), {"印刷しない", "未印刷", "1"});
    rec.URL = cut(trimmed(28), 128);
    rec.EMail1 = cut(trimmed(29), 64);
    rec.EMail2 = cut(trimmed(30), 64);

    std::array<QString, 5> joints;
    for (int k = 1; k <= 5; ++k) {
        rec.*AdrsJointFields[k - 1] = hexName(text(30 + k), 55);
        joints[k - 1] = ToWide(trimmed(30 + k));
        if (trimmed(30 + k).isEmpty())
            continue;
        rec.*AdrsJointHonorFields[k - 1] = trim(cut(trimmed(35 + k), 10));
        rec.*AdrsJointMyNumberFields[k - 1] = ImportMyNumber(text(40 + k));
        rec.*AdrsJointPrintFields[k - 1] = oneOf(trimmed(47 + k), {"印刷", "1"});
    }
    rec.JointPrint = oneOf(trimmed(47), {"印刷", "1"});
    rec.JointOwner = qMax(0, ImportJointOwner(ToWide(trimmed(46)), ToWide(trimmed(24)), joints));
    (rec.JointOwner == 0 ? rec.JointPrint : rec.*AdrsJointPrintFields[rec.JointOwner - 1]) = true;

    rec.PrintTarget = oneOf(trimmed(53), {"印刷対象", "1"}) ? 1 : oneOf(trimmed(53), {"印刷除外", "2"}) ? 2 : 0;
    rec.Sender = trimmed(54).isEmpty() ? 0 : senderRecNo(trimmed(54), lookups).value_or(0);
    for (int k = 0; k < 8; ++k)
        rec.*AdrsKeywordFields[k] = cut(text(55 + k), 100);
    rec.Note = ImportLines(text(63));
    for (int k = 0; k < 10; ++k)
        rec.*AdrsProtectMemoFields[k] = ImportProtectMemo(text(64 + k));
    rec.ProtectNote = ImportProtectNote(text(74));
    rec.ExtLink = ImportLines(text(75));
    rec.SymbolMark = ImportSymbolMark(text(76));
    rec.SymbolColor = ImportSymbolColor(text(77));
    const std::optional<QDateTime> added = ImportTimestamp(text(78), text(79), false);
    rec.AddDateTime = ToTDateTime(added.value_or(TruncateToSeconds(lookups.now)));
    rec.UpdDateTime = ToTDateTime(lookups.now);

    const int major = digitsValue(text(80));
    rec.CodeMain = major > 0 && isMajor(lookups, major) ? major : 0;
    const int minor = digitsValue(text(81));
    if (rec.CodeMain > 0 && minor >= 0 && isMinor(lookups, rec.CodeMain, rec.CodeMain * 100 + minor))
        rec.CodeSub = minor;
    return rec;
}

namespace {

// Writes a value and notes whether it changed.
class TUpdateWriter
{
public:
    template <class F, class V> void operator()(F& field, const V& value)
    {
        if (!(field == value)) {
            field = value;
            changed = true;
        }
    }
    template <int N> void operator()(TShortText<N>& field, const AnsiString& value)
    {
        (*this)(field, TShortText<N>(value));
    }
    bool changed = false;
};

// true / false for the two word lists, nothing for any other text.
std::optional<bool> flagWord(const AnsiString& t, std::initializer_list<const char*> yes,
                             std::initializer_list<const char*> no)
{
    if (oneOf(t, yes))
        return true;
    if (oneOf(t, no))
        return false;
    return std::nullopt;
}

} // namespace

bool ApplyUpdateFields(const TImportTexts& texts, const TImportMapping& mapping, const TImportLookups& lookups,
                       TAdrsDataRec& rec)
{
    const auto text = [&](int item) -> const AnsiString& { return texts[std::size_t(item - 1)]; };
    const auto trimmed = [&](int item) { return trim(text(item)); };
    const auto set = [&](int item) { return mapping.IsSet(item); };
    TUpdateWriter write;

    if (set(1)) {
        const int g = trimmed(1).isEmpty() ? 0 : groupIndex(trimmed(1), lookups.groupNames);
        if (g >= 0)
            write(rec.Group, g);
    }
    if (set(2))
        write(rec.CustomCode, trimmed(2));
    if (set(3))
        write(rec.Tel, ImportPhone(text(3), lookups.today));
    if (set(4))
        write(rec.TelDiv, oneOf(trimmed(4), {"代表", "代表電話"}) ? 3 : 0);
    if (set(5))
        write(rec.Fax, ImportPhone(text(5), lookups.today));
    if (set(6)) {
        const AnsiString d = ImportDigits(text(6));
        if (d.size() > 5 && QDate(d.left(4).toInt(), d.mid(4, 2).toInt(), 1).isValid())
            write(rec.PubDate, d.left(6));
    }
    if (set(7))
        write(rec.Portable1, cut(ImportDigits(text(7)), PhoneWidth));
    if (set(8))
        write(rec.Portable2, cut(ImportDigits(text(8)), PhoneWidth));
    if (set(9))
        write(rec.Pos, cut(ImportDigits(text(9)), 7));
    const TImportAddress address = SplitImportAddress(text(10), text(11), text(12));
    if (set(10)) {
        write(rec.Tdfkn, trim(address.tdfkn));
        write(rec.Adrs1, trim(address.adrs1));
    }
    if (set(11) || address.overflow1)
        write(rec.Adrs2, trim(address.adrs2));
    if (set(12) || address.overflow2)
        write(rec.Adrs3, trim(address.adrs3));
    if (set(13))
        write(rec.AdrsKana, trimmed(13));
    if (set(14))
        write(rec.JisCode, trimmed(14));
    if (set(15))
        write(rec.Latitude, ImportCoordinate(text(15)));
    if (set(16))
        write(rec.Longitude, ImportCoordinate(text(16)));
    if (set(17))
        if (const auto v = flagWord(trimmed(17), {"個人", "1"}, {"会社", "法人", "0"}))
            write(rec.PrivCorp, *v);
    if (set(18))
        write(rec.MyNumber, ImportMyNumber(text(18)));
    if (set(19)) write(rec.CorpKanji, trimmed(19));
    if (set(20)) write(rec.CorpKana, trimmed(20));
    if (set(21)) write(rec.Dptmnt, trimmed(21));
    if (set(22)) write(rec.Post, trimmed(22));
    if (set(23)) write(rec.EmployeeNo, trimmed(23));
    if (set(24)) write(rec.NameKanji, hexName(trimmed(24), 75));
    if (set(25)) write(rec.NameKana, trimmed(25));
    if (set(26)) write(rec.Honor, trimmed(26));
    if (set(27))
        if (const auto v = flagWord(trimmed(27), {"印刷しない", "未印刷", "1"}, {"印刷する", "0"}))
            write(rec.IgnoreName, *v);
    if (set(28)) write(rec.URL, trimmed(28));
    if (set(29)) write(rec.EMail1, trimmed(29));
    if (set(30)) write(rec.EMail2, trimmed(30));

    for (int k = 1; k <= 5; ++k) {
        if (set(30 + k))
            write(rec.*AdrsJointFields[k - 1], hexName(trimmed(30 + k), 55));
        if ((rec.*AdrsJointFields[k - 1]).isEmpty()) {
            write(rec.*AdrsJointHonorFields[k - 1], AnsiString());
            write(rec.*AdrsJointMyNumberFields[k - 1], AnsiString());
            write(rec.*AdrsJointPrintFields[k - 1], false);
            continue;
        }
        if (set(35 + k))
            write(rec.*AdrsJointHonorFields[k - 1], trimmed(35 + k));
        if (set(40 + k))
            write(rec.*AdrsJointMyNumberFields[k - 1], ImportMyNumber(text(40 + k)));
        if (set(47 + k))
            if (const auto v = flagWord(trimmed(47 + k), {"印刷", "1"}, {"", "0"}))
                write(rec.*AdrsJointPrintFields[k - 1], *v);
    }
    if (set(46) && !trimmed(46).isEmpty()) {
        const int owner = ImportJointOwner(ToWide(trimmed(46)), HexTextToWide(rec.NameKanji.text()), storedJoints(rec));
        if (owner >= 0)
            write(rec.JointOwner, owner);
    }
    if (set(47))
        if (const auto v = flagWord(trimmed(47), {"印刷", "1"}, {"", "0"}))
            write(rec.JointPrint, *v);
    if (set(53)) {
        const AnsiString t = trimmed(53);
        const int target = oneOf(t, {"指定なし", "0"}) ? 0 : oneOf(t, {"印刷対象", "1"}) ? 1
                           : oneOf(t, {"印刷除外", "2"}) ? 2 : -1;
        if (target >= 0)
            write(rec.PrintTarget, target);
    }
    if (set(54)) {
        const std::optional<qint32> s = trimmed(54).isEmpty() ? 0 : senderRecNo(trimmed(54), lookups);
        if (s)
            write(rec.Sender, *s);
    }
    for (int k = 0; k < 8; ++k)
        if (set(55 + k))
            write(rec.*AdrsKeywordFields[k], cut(trimmed(55 + k), 100));
    if (set(63))
        write(rec.Note, ImportLines(text(63)));
    for (int k = 0; k < 10; ++k)
        if (set(64 + k))
            write(rec.*AdrsProtectMemoFields[k], ImportProtectMemo(text(64 + k)));
    if (set(74)) {
        TZeroText<1000> note;
        note = ImportProtectNote(text(74));
        write(rec.ProtectNote, note);
    }
    if (set(75))
        write(rec.ExtLink, ImportLines(text(75)));
    if (set(76))
        write(rec.SymbolMark, ImportSymbolMark(text(76)));
    if (set(77))
        write(rec.SymbolColor, ImportSymbolColor(text(77)));
    if (set(78) && set(79))
        if (const auto added = ImportTimestamp(text(78), text(79), true))
            write(rec.AddDateTime, ToTDateTime(*added));
    if (set(80) && set(81)) {
        bool ok1 = false, ok2 = false;
        const int major = trimmed(80).toInt(&ok1);
        const int minor = trimmed(81).toInt(&ok2);
        if (ok1 && ok2 && isMajor(lookups, major) && isMinor(lookups, major, major * 100 + minor)) {
            if (rec.CodeMain != major)
                write(rec.CodeMain, major);
            write(rec.CodeSub, minor);
        }
    }
    if (write.changed)
        rec.UpdDateTime = ToTDateTime(lookups.now);
    return write.changed;
}
