// The design paper record and the "Dsn.fmt" table.
#include "designers/DesignPaperFormat.h"

#include "core/MainSettings.h"
#include "designers/PrintDataFile.h"

#include <QFile>
#include <QtEndian>

AnsiString TDesignPaperFormat::NameBytes() const
{
    const int length = qMin(int(quint8(m_bytes[32])), 31);
    return AnsiString(m_bytes.data() + 33, length);
}

void TDesignPaperFormat::SetName(const AnsiString& name)
{
    const AnsiString bytes = Cp932::cutAtBoundary(name, 31);
    std::fill(m_bytes.begin() + 32, m_bytes.begin() + 64, '\0');
    m_bytes[32] = char(bytes.size());
    std::copy(bytes.begin(), bytes.end(), m_bytes.begin() + 33);
}

qint32 TDesignPaperFormat::intAt(int offset) const
{
    return qFromLittleEndian<qint32>(m_bytes.data() + offset);
}

void TDesignPaperFormat::setIntAt(int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, m_bytes.data() + offset);
}

void TDesignPaperFormat::SetBytes(const QByteArray& bytes)
{
    Q_ASSERT(bytes.size() == DesignPaperFormatSize);
    std::copy(bytes.begin(), bytes.begin() + DesignPaperFormatSize, m_bytes.begin());
}

QString DesignFormatPath()
{
    return ProgramFolder + QStringLiteral("Common/") + DesignFormatFileName;
}

bool DecodeDesignFormats(const QByteArray& bytes, std::vector<TDesignPaperFormat>& formats)
{
    formats.clear();
    if (bytes.size() < DesignFormatHeaderSize ||
        ComplementBytes(bytes.left(DesignFormatSignature.size())) != DesignFormatSignature)
        return false;
    const qint32 count = qFromLittleEndian<qint32>(bytes.constData() + DesignFormatSignature.size());
    const qint64 present = (bytes.size() - DesignFormatHeaderSize) / DesignPaperFormatSize;
    const qint64 n = qBound(qint64(0), qint64(count), present);
    formats.resize(size_t(n));
    for (qint64 i = 0; i < n; ++i)
        formats[size_t(i)].SetBytes(bytes.mid(DesignFormatHeaderSize + i * DesignPaperFormatSize,
                                              DesignPaperFormatSize));
    return true;
}

QByteArray EncodeDesignFormats(const std::vector<TDesignPaperFormat>& formats)
{
    QByteArray bytes = ComplementBytes(DesignFormatSignature);
    char count[4];
    qToLittleEndian<qint32>(qint32(formats.size()), count);
    bytes.append(count, 4);
    bytes.append(8, '\0');
    for (const TDesignPaperFormat& f : formats)
        bytes.append(f.Bytes());
    return bytes;
}

std::vector<TDesignPaperFormat> LoadDesignFormats(const QString& path)
{
    std::vector<TDesignPaperFormat> formats;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        DecodeDesignFormats(file.readAll(), formats);
    return formats;
}

DesignFormatLookup LookupDesignFormat(const QString& path, qint32 index, TDesignPaperFormat& out)
{
    QFile file(path);
    std::vector<TDesignPaperFormat> formats;
    if (!file.open(QIODevice::ReadOnly) || !DecodeDesignFormats(file.readAll(), formats))
        return DesignFormatLookup::NotATable;
    if (index < 0 || size_t(index) >= formats.size())
        return DesignFormatLookup::NoRecord;
    out = formats[size_t(index)];
    return DesignFormatLookup::Found;
}

std::vector<TDesignFormatEntry> DesignFormatList(const std::vector<TDesignPaperFormat>& formats, int kind)
{
    std::vector<TDesignFormatEntry> list;
    AnsiString last;
    for (size_t i = 0; i < formats.size(); ++i) {
        const TDesignPaperFormat& f = formats[i];
        if (f.Kind() != kind || f.NameBytes().isEmpty() || f.NameBytes() == last)
            continue;
        last = f.NameBytes();
        list.push_back({f.Name(), int(i)});
    }
    return list;
}
