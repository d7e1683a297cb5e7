// Frame record fields and the inverted text forms.
#include "layoutobjects/FrameStream.h"

#include <QtEndian>

#include <cstring>

TFrameReader::TFrameReader(const QByteArray& bytes, qsizetype position) : m_bytes(bytes), m_position(position)
{
    if (position < 0 || position > bytes.size())
        throw EFrameStreamError("frame record position outside the data");
}

void TFrameReader::require(qint64 count) const
{
    if (count < 0 || count > Remaining())
        throw EFrameStreamError("frame record is short");
}

qint32 TFrameReader::ReadInt32()
{
    return qint32(ReadUInt32());
}

quint32 TFrameReader::ReadUInt32()
{
    require(4);
    const quint32 value = qFromLittleEndian<quint32>(m_bytes.constData() + m_position);
    m_position += 4;
    return value;
}

quint8 TFrameReader::ReadByte()
{
    require(1);
    return quint8(m_bytes[m_position++]);
}

double TFrameReader::ReadDouble()
{
    require(8);
    const quint64 bits = qFromLittleEndian<quint64>(m_bytes.constData() + m_position);
    m_position += 8;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QByteArray TFrameReader::ReadBytes(qint64 count)
{
    require(count);
    QByteArray bytes = m_bytes.mid(m_position, qsizetype(count));
    m_position += qsizetype(count);
    return bytes;
}

void TFrameWriter::WriteInt32(qint32 value)
{
    WriteUInt32(quint32(value));
}

void TFrameWriter::WriteUInt32(quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    m_bytes.append(bytes, 4);
}

void TFrameWriter::WriteByte(quint8 value)
{
    m_bytes.append(char(value));
}

void TFrameWriter::WriteDouble(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    char bytes[8];
    qToLittleEndian(bits, bytes);
    m_bytes.append(bytes, 8);
}

void TFrameWriter::WriteBytes(const QByteArray& bytes)
{
    m_bytes.append(bytes);
}

AnsiString ReadInvertedString(TFrameReader& stream)
{
    AnsiString text = stream.ReadBytes(stream.ReadInt32());
    for (char& c : text)
        c = char(~c);
    return text;
}

void WriteInvertedString(const AnsiString& text, TFrameWriter& stream)
{
    stream.WriteInt32(qint32(text.size()));
    AnsiString inverted = text;
    for (char& c : inverted)
        c = char(~c);
    stream.WriteBytes(inverted);
}

QString ReadInvertedWideString(TFrameReader& stream)
{
    const qint32 units = stream.ReadInt32();
    if (units < 0)
        throw EFrameStreamError("negative text length");
    const QByteArray bytes = stream.ReadBytes(qint64(units) * 2);
    QString text(units, Qt::Uninitialized);
    for (qint32 i = 0; i < units; ++i)
        text[i] = QChar(char16_t(~qFromLittleEndian<quint16>(bytes.constData() + 2 * i)));
    return text;
}

void WriteInvertedWideString(const QString& text, TFrameWriter& stream)
{
    stream.WriteInt32(qint32(text.size()));
    for (const QChar c : text) {
        char bytes[2];
        qToLittleEndian(quint16(~c.unicode()), bytes);
        stream.WriteBytes(QByteArray(bytes, 2));
    }
}
