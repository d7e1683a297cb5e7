// Print-file preamble, document settings record and the default frames file.
#include "designers/PrintDataFile.h"

#include "core/FontSub.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

QByteArray ComplementBytes(const QByteArray& bytes)
{
    QByteArray out = bytes;
    for (char& c : out)
        c = char(~quint8(c));
    return out;
}

double CompanyLineRatio(int index)
{
    static constexpr double ratios[] = {1.0, 0.9, 0.8, 0.7, 0.6, 0.5};
    return ratios[qBound(0, index, 5)];
}

qint32 TLayoutSettings::Int(int offset) const
{
    return qFromLittleEndian<qint32>(m_bytes.data() + offset);
}

void TLayoutSettings::SetInt(int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, m_bytes.data() + offset);
}

QString TLayoutSettings::Honorific(int offset) const
{
    const int length = qMin(int(Byte(offset)), 10);
    return ToWide(AnsiString(m_bytes.data() + offset + 1, length));
}

void TLayoutSettings::SetHonorific(int offset, const QString& text)
{
    const AnsiString bytes = Cp932::cutAtBoundary(ToAnsi(text), 10);
    std::fill(m_bytes.begin() + offset, m_bytes.begin() + offset + 11, '\0');
    SetByte(offset, quint8(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), m_bytes.begin() + offset + 1);
}

void TLayoutSettings::SetDefaults(bool withPicture)
{
    using namespace LayoutSettingsField;
    Clear();
    for (int level :
         {AddressLevel, NameLevel, AdditionLevel, SenderAddressLevel, SenderNameLevel, SenderAdditionLevel})
        SetInt(level, 3);
    SetInt(CompanyRatio, 3);
    SetInt(DepartmentRatio, 4);
    SetInt(TitleRatio, 5);
    SetByte(WidenSpacing, 1);
    SetHonorific(DefaultHonorific, QStringLiteral("様"));
    SetHonorific(CompanyHonorific, QStringLiteral("御中"));
    SetHonorific(TitleHonorific, QStringLiteral("様"));
    SetHonorific(SenderHonorific, QStringLiteral("行"));
    if (!withPicture) {
        SetInt(RecipientPostalMark, 2);
        SetInt(SenderPostalMark, 1);
    }
}

void TLayoutSettings::SetBytes(const QByteArray& bytes)
{
    Q_ASSERT(bytes.size() == LayoutSettingsSize);
    std::copy(bytes.begin(), bytes.begin() + LayoutSettingsSize, m_bytes.begin());
}

qsizetype ReadPrintFilePreamble(const QByteArray& bytes, const QByteArray& signature, int headerSize,
                                TPrintFilePreamble& out)
{
    try {
        TFrameReader reader(bytes);
        if (ComplementBytes(reader.ReadBytes(signature.size())) != signature)
            return -1;
        out.Version = reader.ReadInt32();
        LoadedFileVersion = out.Version;
        out.Header = reader.ReadBytes(headerSize);
        const qint32 previewLength = reader.ReadInt32();
        if (previewLength < 0)
            return -1;
        out.Preview = reader.ReadBytes(previewLength);
        out.Settings.SetBytes(reader.ReadBytes(LayoutSettingsSize));
        return reader.Position();
    } catch (const EFrameStreamError&) {
        return -1;
    }
}

QByteArray WritePrintFilePreamble(const QByteArray& signature, const TPrintFilePreamble& preamble)
{
    QByteArray bytes;
    TFrameWriter writer(bytes);
    writer.WriteBytes(ComplementBytes(signature));
    writer.WriteInt32(preamble.Version);
    writer.WriteBytes(preamble.Header);
    writer.WriteInt32(qint32(preamble.Preview.size()));
    writer.WriteBytes(preamble.Preview);
    writer.WriteBytes(preamble.Settings.Bytes());
    return bytes;
}

TDefaultRects::TDefaultRects() : Text(std::make_unique<TWordRect>()), Figure(std::make_unique<TFigureRect>())
{
}

void LoadDefaultRects(const QString& path, TDefaultRects& rects)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        TFontSpec font = rects.Text->Font();
        SetFontAttributes(&font, ShiftJisCharset, QStringLiteral("ＭＳ Ｐゴシック"), 12, 0);
        rects.Text->SetFont(font, 0);
        return;
    }
    const QByteArray bytes = file.readAll();
    TFrameReader reader(bytes);
    try {
        if (ComplementBytes(reader.ReadBytes(DefaultRectsSignature.size())) == DefaultRectsSignature) {
            LoadedFileVersion = reader.ReadInt32();
            rects.Text->LoadFromStream(reader);
            rects.Figure->LoadFromStream(reader);
            // What follows belongs to the message-side designer.
            if (LoadedFileVersion >= CurrentFileVersion)
                rects.Tail = bytes.mid(reader.Position());
        }
    } catch (const EFrameStreamError&) {
        // Silent: the prototypes keep what was read so far.
    }
    rects.Text->SetFont(rects.Text->Font(), 0);
}

QByteArray EncodeDefaultRects(const TDefaultRects& rects)
{
    QByteArray bytes;
    TFrameWriter writer(bytes);
    writer.WriteBytes(ComplementBytes(DefaultRectsSignature));
    writer.WriteInt32(CurrentFileVersion);
    rects.Text->SaveToStream(writer);
    rects.Figure->SaveToStream(writer);
    writer.WriteBytes(rects.Tail);
    return bytes;
}

bool SaveDefaultRects(const QString& path, const TDefaultRects& rects)
{
    if (!rects.Changed)
        return true;
    const QByteArray bytes = EncodeDefaultRects(rects);
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
