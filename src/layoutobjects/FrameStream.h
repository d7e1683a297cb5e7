// Reading and writing frame records: little-endian fields read against the bytes that remain, and the
// inverted text forms.
#pragma once

#include "platform/Cp932.h"

#include <QByteArray>
#include <QString>

#include <stdexcept>

// A frame record that is short or holds an impossible length; the file readers report it as an invalid file.
class EFrameStreamError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TFrameReader
{
public:
    explicit TFrameReader(const QByteArray& bytes, qsizetype position = 0);

    qsizetype Position() const { return m_position; }
    qsizetype Remaining() const { return m_bytes.size() - m_position; }

    qint32 ReadInt32();
    quint32 ReadUInt32();
    quint8 ReadByte();
    double ReadDouble();
    // Exactly count bytes; throws when fewer remain (nothing is allocated before that check).
    QByteArray ReadBytes(qint64 count);

private:
    void require(qint64 count) const;
    const QByteArray m_bytes; // shared, so a temporary argument cannot dangle
    qsizetype m_position;
};

class TFrameWriter
{
public:
    explicit TFrameWriter(QByteArray& bytes) : m_bytes(bytes) {}
    void WriteInt32(qint32 value);
    void WriteUInt32(quint32 value);
    void WriteByte(quint8 value);
    void WriteDouble(double value);
    void WriteBytes(const QByteArray& bytes);

private:
    QByteArray& m_bytes;
};

// int32 byte count, then the CP932 bytes each complemented.
AnsiString ReadInvertedString(TFrameReader& stream);
void WriteInvertedString(const AnsiString& text, TFrameWriter& stream);
// int32 count of UTF-16 units, then the units each complemented, little-endian.
QString ReadInvertedWideString(TFrameReader& stream);
void WriteInvertedWideString(const QString& text, TFrameWriter& stream);
