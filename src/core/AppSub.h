// Free routines shared by every subsystem: CP932 text, numbers, date-times, the field cipher and the
// scrambles.
#pragma once

#include "platform/Cp932.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

#include <optional>
#include <stdexcept>

// Hexadecimal text that is not hexadecimal.
class EConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A field cipher text that does not decode to what it was made from (wrong key, damage, bad hex).
class EFieldCipherError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Key of the protected fields of the address book, the own-number file and the exports.
inline constexpr char FieldCipherKey[] = "4817kq603vbnawzd";
// Key of the administrator password (registry value "Point").
inline constexpr char AdminPasswordKey[] = "Vorenqa730481925";

// KeepNumberChars flags.
constexpr int KeepDigits = 1;
constexpr int KeepHyphens = 2;
constexpr int KeepPeriods = 4;

// SplitText modes.
constexpr int SplitFixedLength = 0;
constexpr int SplitDelimiter = 1;
constexpr int SplitCsvUnquoted = 2;
constexpr int SplitCsvQuoted = 3;

// CheckMyNumber kinds and answers.
constexpr int MyNumberIndividual = 0;
constexpr int MyNumberCorporate = 1;
constexpr int MyNumberOk = 0;
constexpr int MyNumberNotDigits = 1;
constexpr int MyNumberBadLength = 2;
constexpr int MyNumberBadCheckDigit = 3;

constexpr int PrefectureCount = 47;
// The 47 prefectures in the order of their national code 01..47, with their suffix (北海道 .. 沖縄県).
const QStringList& PrefectureNames();
// The same as the directory data spells their readings: half-width katakana, small kana written full size.
const QStringList& PrefectureKanaNames();

AnsiString KeepNumberChars(const AnsiString& text, int flags);
// The text without blanks and control characters at both ends.
AnsiString TrimAnsiText(const AnsiString& text);
// Removes blanks and control characters (up to U+0020) at both ends; the ideographic space U+3000 stays.
QString TrimBlanks(const QString& text);
AnsiString StripSpaces(const QString& text);
AnsiString ReverseMbcsText(const AnsiString& text);
qint64 RoundHalfAway(double x);
// Direction 1: from 96-dpi design units to screen pixels; any other direction: back.
int ScaleByDpi(int length, int direction);
int ScaleByDpi(int length, int direction, double screenDpi);
// At most n bytes, never ending inside a double-byte character.
AnsiString TruncateMbcs(const AnsiString& text, int n);
QDateTime TruncateToSeconds(const QDateTime& value);
// Splits parts[0] into parts[0..lastIndex] (the list grows when it is shorter).
void SplitText(QList<AnsiString>& parts, int lastIndex, int mode, int fixedLength,
               const AnsiString& delimiter);
// Occurrences starting on character boundaries, overlapping ones included; an empty pattern counts 0.
int CountSubstring(const AnsiString& text, const AnsiString& pattern);
bool SplitPrefecture(const AnsiString& address, AnsiString& prefecture, AnsiString& rest);
bool SplitPrefectureKana(const AnsiString& reading, AnsiString& prefecture, AnsiString& rest);
int CheckMyNumber(const AnsiString& text, int kind);

// Upper-case hexadecimal, two digits per byte.
AnsiString BytesToHex(const QByteArray& bytes);
// One byte per pair of digits, an odd last digit a byte of its own; throws EConvertError on a non-digit.
QByteArray HexToBytes(const AnsiString& hex);
// Length byte (mod 256) + AES-128-ECB of the text, zero-filled, as upper-case hex; empty for a blank text.
AnsiString EncryptFieldText(const AnsiString& text, const AnsiString& key);
// The trimmed plain text; empty for a blank cipher text; throws EFieldCipherError when it does not decode.
AnsiString DecryptFieldText(const AnsiString& cipherText, const AnsiString& key);
// "@XXXX" per UTF-16 unit: keeps names CP932 cannot hold.
AnsiString WideToHexText(const QString& text);
// Reverses WideToHexText; text not starting with "@" is plain CP932. Throws EConvertError on a non-digit.
QString HexTextToWide(const AnsiString& text);
AnsiString ScrambleText(const AnsiString& text);
AnsiString UnscrambleText(const AnsiString& text);
// The start-up password kept in the registry: empty when there is none (under 4 characters), nullopt when the
// stored value is malformed, in which case no typed text may match it.
std::optional<AnsiString> DescrambleStartupPassword(const AnsiString& stored);
