// Free routines on CP932 text, numbers and date-times, the field cipher and the scrambles.
#include "core/AppSub.h"

#include "core/AES.h"
#include "core/FontSub.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstring>

namespace {

const char16_t* const PrefectureKanjiTable[PrefectureCount] = {
    u"北海道", u"青森県", u"岩手県", u"宮城県", u"秋田県", u"山形県",   u"福島県", u"茨城県",
    u"栃木県", u"群馬県", u"埼玉県", u"千葉県", u"東京都", u"神奈川県", u"新潟県", u"富山県",
    u"石川県", u"福井県", u"山梨県", u"長野県", u"岐阜県", u"静岡県",   u"愛知県", u"三重県",
    u"滋賀県", u"京都府", u"大阪府", u"兵庫県", u"奈良県", u"和歌山県", u"鳥取県", u"島根県",
    u"岡山県", u"広島県", u"山口県", u"徳島県", u"香川県", u"愛媛県",   u"高知県", u"福岡県",
    u"佐賀県", u"長崎県", u"熊本県", u"大分県", u"宮崎県", u"鹿児島県", u"沖縄県",
};

const char16_t* const PrefectureKanaTable[PrefectureCount] = {
    u"ﾎﾂｶｲﾄﾞｳ", u"ｱｵﾓﾘｹﾝ",  u"ｲﾜﾃｹﾝ",   u"ﾐﾔｷﾞｹﾝ",  u"ｱｷﾀｹﾝ",   u"ﾔﾏｶﾞﾀｹﾝ", u"ﾌｸｼﾏｹﾝ",  u"ｲﾊﾞﾗｷｹﾝ",
    u"ﾄﾁｷﾞｹﾝ",  u"ｸﾞﾝﾏｹﾝ",  u"ｻｲﾀﾏｹﾝ",  u"ﾁﾊﾞｹﾝ",   u"ﾄｳｷﾖｳﾄ",  u"ｶﾅｶﾞﾜｹﾝ", u"ﾆｲｶﾞﾀｹﾝ", u"ﾄﾔﾏｹﾝ",
    u"ｲｼｶﾜｹﾝ",  u"ﾌｸｲｹﾝ",   u"ﾔﾏﾅｼｹﾝ",  u"ﾅｶﾞﾉｹﾝ",  u"ｷﾞﾌｹﾝ",   u"ｼｽﾞｵｶｹﾝ", u"ｱｲﾁｹﾝ",   u"ﾐｴｹﾝ",
    u"ｼｶﾞｹﾝ",   u"ｷﾖｳﾄﾌ",   u"ｵｵｻｶﾌ",   u"ﾋﾖｳｺﾞｹﾝ", u"ﾅﾗｹﾝ",    u"ﾜｶﾔﾏｹﾝ",  u"ﾄﾂﾄﾘｹﾝ",  u"ｼﾏﾈｹﾝ",
    u"ｵｶﾔﾏｹﾝ",  u"ﾋﾛｼﾏｹﾝ",  u"ﾔﾏｸﾞﾁｹﾝ", u"ﾄｸｼﾏｹﾝ",  u"ｶｶﾞﾜｹﾝ",  u"ｴﾋﾒｹﾝ",   u"ｺｳﾁｹﾝ",   u"ﾌｸｵｶｹﾝ",
    u"ｻｶﾞｹﾝ",   u"ﾅｶﾞｻｷｹﾝ", u"ｸﾏﾓﾄｹﾝ",  u"ｵｵｲﾀｹﾝ",  u"ﾐﾔｻﾞｷｹﾝ", u"ｶｺﾞｼﾏｹﾝ", u"ｵｷﾅﾜｹﾝ",
};

QStringList tableToList(const char16_t* const (&table)[PrefectureCount])
{
    QStringList list;
    for (const char16_t* name : table)
        list << QString::fromUtf16(name);
    return list;
}

QList<AnsiString> toAnsiList(const QStringList& list)
{
    QList<AnsiString> out;
    for (const QString& s : list)
        out << ToAnsi(s);
    return out;
}

bool splitAtPrefix(const QList<AnsiString>& names, const AnsiString& text, AnsiString& prefix,
                   AnsiString& rest)
{
    // A table name is whole characters, so a match at the start also ends on a character boundary.
    for (const AnsiString& name : names) {
        if (text.startsWith(name)) {
            prefix = name;
            rest = text.mid(name.size());
            return true;
        }
    }
    prefix.clear();
    rest = text;
    return false;
}

bool matchesAt(const AnsiString& text, qsizetype pos, const AnsiString& pattern)
{
    return pos + pattern.size() <= text.size() &&
           std::memcmp(text.constData() + pos, pattern.constData(), size_t(pattern.size())) == 0;
}

// First occurrence at or after `from` (a character boundary) that starts on a character boundary, so a
// delimiter never matches the trail byte of a double-byte character.
qsizetype findMbcs(const AnsiString& text, const AnsiString& pattern, qsizetype from)
{
    if (pattern.isEmpty())
        return -1;
    for (qsizetype i = from; i + pattern.size() <= text.size(); i += Cp932::charLengthAt(text, int(i))) {
        if (matchesAt(text, i, pattern))
            return i;
    }
    return -1;
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Value of the hexadecimal digits text[pos..pos+count), or -1 when one is not a digit.
int hexValue(const AnsiString& text, qsizetype pos, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const int d = hexDigitValue(text[pos + i]);
        if (d < 0)
            return -1;
        value = value * 16 + d;
    }
    return value;
}

int screenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

} // namespace

QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

AnsiString TrimAnsiText(const AnsiString& text)
{
    // Bytes up to the blank never occur inside a double-byte character.
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && uchar(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && uchar(text[end - 1]) <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

const QStringList& PrefectureNames()
{
    static const QStringList names = tableToList(PrefectureKanjiTable);
    return names;
}

const QStringList& PrefectureKanaNames()
{
    static const QStringList names = tableToList(PrefectureKanaTable);
    return names;
}

AnsiString KeepNumberChars(const AnsiString& text, int flags)
{
    AnsiString out;
    for (int i = 0; i < text.size();) {
        const int n = Cp932::charLengthAt(text, i);
        if (n == 1) {
            const char c = text[i];
            if (((flags & KeepDigits) && c >= '0' && c <= '9') || ((flags & KeepHyphens) && c == '-') ||
                ((flags & KeepPeriods) && c == '.'))
                out += c;
        }
        i += n;
    }
    return out;
}

AnsiString StripSpaces(const QString& text)
{
    QString out = text;
    out.remove(u' ');
    out.remove(QChar(0x3000));
    return ToAnsi(out);
}

AnsiString ReverseMbcsText(const AnsiString& text)
{
    AnsiString out(text.size(), Qt::Uninitialized);
    qsizetype dst = text.size();
    for (int i = 0; i < text.size();) {
        const int n = Cp932::charLengthAt(text, i);
        dst -= n;
        std::memcpy(out.data() + dst, text.constData() + i, size_t(n));
        i += n;
    }
    return out;
}

qint64 RoundHalfAway(double x)
{
    return x >= 0 ? qint64(x + 0.5) : qint64(x - 0.5);
}

int ScaleByDpi(int length, int direction, double screenDpi)
{
    if (direction == 1)
        return int(length * screenDpi / 96.0 + 0.5);
    return int(length * 96.0 / screenDpi + 0.5);
}

int ScaleByDpi(int length, int direction)
{
    return ScaleByDpi(length, direction, screenDpi());
}

AnsiString TruncateMbcs(const AnsiString& text, int n)
{
    if (n >= text.size())
        return text;
    if (n <= 0)
        return {};
    return Cp932::isLeadByteAt(text, n - 1) ? text.left(n - 1) : text.left(n);
}

QDateTime TruncateToSeconds(const QDateTime& value)
{
    if (!value.isValid())
        return value;
    QDateTime out = value;
    const QTime t = value.time();
    out.setTime(QTime(t.hour(), t.minute(), t.second()));
    return out;
}

void SplitText(QList<AnsiString>& parts, int lastIndex, int mode, int fixedLength,
               const AnsiString& delimiter)
{
    if (lastIndex < 0)
        return;
    // The fixed-length split always writes two elements.
    const int highest = mode == SplitFixedLength ? qMax(lastIndex, 1) : lastIndex;
    if (parts.size() <= highest)
        parts.resize(highest + 1);
    const AnsiString source = parts[0];
    for (int i = 0; i <= highest; ++i)
        parts[i].clear();

    if (mode == SplitFixedLength) {
        if (fixedLength >= source.size()) {
            parts[0] = source;
            return;
        }
        const int cut = qMax(fixedLength, 0);
        if (cut > 0 && Cp932::isLeadByteAt(source, cut - 1)) {
            // Keep the column width: the half character becomes a blank and moves whole to the next part.
            parts[0] = source.left(cut - 1) + ' ';
            parts[1] = source.mid(cut - 1);
        } else {
            parts[0] = source.left(cut);
            parts[1] = source.mid(cut);
        }
        return;
    }
    if (mode != SplitDelimiter && mode != SplitCsvUnquoted && mode != SplitCsvQuoted) {
        parts[0] = source;
        return;
    }

    const bool quoteAware = mode != SplitDelimiter;
    int element = 0;
    qsizetype pos = 0;
    while (element < lastIndex) {
        qsizetype end = findMbcs(source, delimiter, pos);
        if (end < 0)
            break;
        if (quoteAware) {
            // A field holding an odd number of quotes is still open: its delimiters belong to it.
            qsizetype quotes = std::count(source.begin() + pos, source.begin() + end, '"');
            while (end >= 0 && quotes % 2 == 1) {
                const qsizetype next = findMbcs(source, delimiter, end + delimiter.size());
                if (next >= 0)
                    quotes += std::count(source.begin() + end, source.begin() + next, '"');
                end = next;
            }
            if (end < 0)
                break;
        }
        parts[element++] = source.mid(pos, end - pos);
        pos = end + delimiter.size();
    }
    parts[element] = source.mid(pos);

    if (mode == SplitCsvUnquoted) {
        for (int i = 0; i <= lastIndex; ++i) {
            AnsiString& p = parts[i];
            if (p.size() > 1 && p.startsWith('"') && p.endsWith('"'))
                p = p.mid(1, p.size() - 2);
        }
    }
}

int CountSubstring(const AnsiString& text, const AnsiString& pattern)
{
    if (pattern.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype i = findMbcs(text, pattern, 0); i >= 0;
         i = findMbcs(text, pattern, i + Cp932::charLengthAt(text, int(i))))
        ++count;
    return count;
}

bool SplitPrefecture(const AnsiString& address, AnsiString& prefecture, AnsiString& rest)
{
    static const QList<AnsiString> names = toAnsiList(PrefectureNames());
    return splitAtPrefix(names, address, prefecture, rest);
}

bool SplitPrefectureKana(const AnsiString& reading, AnsiString& prefecture, AnsiString& rest)
{
    static const QList<AnsiString> names = toAnsiList(PrefectureKanaNames());
    return splitAtPrefix(names, reading, prefecture, rest);
}

int CheckMyNumber(const AnsiString& text, int kind)
{
    const AnsiString digits = TrimAnsiText(text);
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return MyNumberNotDigits;
    }
    auto digit = [&](qsizetype i) { return digits[i] - '0'; };
    if (kind == MyNumberIndividual) {
        if (digits.size() != 12)
            return MyNumberBadLength;
        int sum = 0;
        for (int n = 1; n <= 11; ++n)
            sum += digit(11 - n) * (n <= 6 ? n + 1 : n - 5);
        const int r = sum % 11;
        const int check = r <= 1 ? 0 : 11 - r;
        return digit(11) == check ? MyNumberOk : MyNumberBadCheckDigit;
    }
    if (digits.size() != 13)
        return MyNumberBadLength;
    int sum = 0;
    for (int n = 1; n <= 12; ++n)
        sum += digit(13 - n) * (n % 2 == 1 ? 1 : 2);
    return digit(0) == 9 - sum % 9 ? MyNumberOk : MyNumberBadCheckDigit;
}

AnsiString BytesToHex(const QByteArray& bytes)
{
    return bytes.toHex().toUpper();
}

QByteArray HexToBytes(const AnsiString& hex)
{
    QByteArray out;
    out.reserve(hex.size() / 2 + 1);
    for (qsizetype i = 0; i < hex.size(); i += 2) {
        const int count = i + 1 < hex.size() ? 2 : 1;
        const int value = hexValue(hex, i, count);
        if (value < 0)
            throw EConvertError("'" + hex.mid(i, count).toStdString() + "' is not a valid hexadecimal value");
        out += char(value);
    }
    return out;
}

AnsiString EncryptFieldText(const AnsiString& text, const AnsiString& key)
{
    if (TrimAnsiText(text).isEmpty())
        return {};
    QByteArray plain = text;
    QBuffer source(&plain);
    source.open(QIODevice::ReadOnly);
    QByteArray cipher;
    QBuffer target(&cipher);
    target.open(QIODevice::WriteOnly);
    EncryptStreamECB(source, 0, AESKeyFromText(key), target);
    return BytesToHex(char(text.size() & 0xFF) + cipher);
}

AnsiString DecryptFieldText(const AnsiString& cipherText, const AnsiString& key)
{
    const AnsiString hex = TrimAnsiText(cipherText);
    if (hex.isEmpty())
        return {};
    QByteArray bytes;
    try {
        bytes = HexToBytes(hex);
    } catch (const EConvertError& e) {
        throw EFieldCipherError(e.what());
    }
    const int lengthByte = uchar(bytes[0]);
    QByteArray body = bytes.mid(1);
    if (body.size() % 16 != 0)
        throw EFieldCipherError("Field cipher text is not whole blocks");
    QBuffer source(&body);
    source.open(QIODevice::ReadOnly);
    QByteArray plain;
    QBuffer target(&plain);
    target.open(QIODevice::WriteOnly);
    DecryptStreamECB(source, 0, AESKeyFromText(key), target);

    // The length byte is the length mod 256 and the text fills the last block: that fixes the length.
    // Taking exactly that many bytes keeps blanks at either end from spoiling the check.
    const qsizetype blocks = plain.size() / 16;
    qsizetype length = 0;
    if (blocks > 0) {
        const qsizetype lowest = (blocks - 1) * 16 + 1;
        length = lowest + ((lengthByte - lowest) % 256 + 256) % 256;
    } else if (lengthByte != 0) {
        length = -1;
    }
    // Text never holds a NUL, so a length byte reaching into the padding does not decode either.
    const bool padded = length >= 0 && length <= plain.size() && !plain.left(length).contains('\0') &&
                        std::all_of(plain.cbegin() + length, plain.cend(), [](char c) { return c == 0; });
    if (!padded)
        throw EFieldCipherError("Field cipher text does not match its length");
    return TrimAnsiText(plain.left(length));
}

AnsiString WideToHexText(const QString& text)
{
    AnsiString out;
    out.reserve(text.size() * 5);
    for (const QChar ch : text)
        out += '@' + QByteArray::number(ch.unicode(), 16).toUpper().rightJustified(4, '0');
    return out;
}

QString HexTextToWide(const AnsiString& text)
{
    if (text.isEmpty())
        return {};
    if (!text.startsWith('@'))
        return ToWide(text);
    const qsizetype groups = text.size() / 5;
    QString out;
    out.reserve(groups);
    for (qsizetype k = 0; k < groups; ++k) {
        const int unit = hexValue(text, 5 * k + 1, 4);
        if (unit < 0)
            throw EConvertError("'" + text.mid(5 * k + 1, 4).toStdString() +
                                "' is not a valid hexadecimal value");
        out += QChar(char16_t(unit));
    }
    return out;
}

AnsiString ScrambleText(const AnsiString& text)
{
    AnsiString out = text;
    for (char& c : out) {
        const uchar b = uchar(c);
        c = char(~uchar((b << 4) | (b >> 4)));
    }
    return out;
}

AnsiString UnscrambleText(const AnsiString& text)
{
    AnsiString out = text;
    for (char& c : out) {
        const uchar b = uchar(~uchar(c));
        c = char(uchar((b << 4) | (b >> 4)));
    }
    return out;
}

std::optional<AnsiString> DescrambleStartupPassword(const AnsiString& stored)
{
    if (stored.size() <= 3)
        return AnsiString();
    constexpr int SlotCount = 16;
    const int slotsStored = int(stored.size() / 4);
    if (slotsStored > SlotCount)
        return std::nullopt;
    static const AnsiString Fillers[] = {"+", "-", "*", "/"};
    AnsiString password;
    for (int i = 0; i < slotsStored; ++i) {
        const int start = (i % 8) * 8 + (i / 8) * 4;
        if (start + 4 > stored.size())
            return std::nullopt;
        const int first = hexValue(stored, start + 2, 2);
        const int second = hexValue(stored, start, 2);
        if (first < 0 || second < 0)
            return std::nullopt;
        AnsiString pair;
        pair += char(first);
        pair += char(second);
        // A slot may hold one byte and a NUL; the character ends at the NUL.
        pair.truncate(pair.indexOf('\0') < 0 ? pair.size() : pair.indexOf('\0'));
        if (Cp932::toUnicode(pair).contains(QChar::ReplacementCharacter))
            return std::nullopt;
        const AnsiString character = ToHalfWidth(pair);
        if (std::find(std::begin(Fillers), std::end(Fillers), character) == std::end(Fillers))
            password += character;
    }
    return password;
}
