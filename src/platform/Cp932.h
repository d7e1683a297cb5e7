// CP932 (Windows code page 932) text: the program's "ANSI" strings and the one place that converts them.
#pragma once

#include <QByteArray>
#include <QString>

// Byte text in CP932, as stored in records, tables, INI, CSV and history files.
using AnsiString = QByteArray;

namespace Cp932 {

// Lead-byte range of a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isLeadByteValue(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Decodes CP932 bytes; an undecodable byte becomes U+FFFD and decoding goes on.
QString toUnicode(const QByteArray& bytes);
// Encodes to CP932; an unrepresentable character becomes '?' and *ok is set false.
QByteArray fromUnicode(const QString& text, bool* ok = nullptr);
// True when every character of the text has a CP932 form.
bool canEncode(const QString& text);
// Bytes the text takes in CP932 (unrepresentable characters count as one '?').
int byteLength(const QString& text);

// Length in bytes of the character that starts at pos (1 or 2; a lone lead byte at the end counts 1).
int charLengthAt(const QByteArray& bytes, int pos);
// True when byte index (0-based) is the lead byte of a double-byte character, walking from the start.
bool isLeadByteAt(const QByteArray& bytes, int index);
// True when byte index (0-based) is the trail byte of a double-byte character, walking from the start.
bool isTrailByteAt(const QByteArray& bytes, int index);
// The largest prefix of at most maxBytes bytes that ends on a character boundary.
QByteArray cutAtBoundary(const QByteArray& bytes, int maxBytes);
// The same for wide text measured in CP932 bytes.
QString cutToBytes(const QString& text, int maxBytes);
// Index of the byte that starts the character containing byte index (0-based).
int charStart(const QByteArray& bytes, int index);

} // namespace Cp932

// Short forms used across the program.
inline QString ToWide(const QByteArray& ansi) { return Cp932::toUnicode(ansi); }
inline AnsiString ToAnsi(const QString& wide) { return Cp932::fromUnicode(wide); }
