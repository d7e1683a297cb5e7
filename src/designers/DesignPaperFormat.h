// The papers of message-side designs: the 92-byte paper record, the read-only table "Dsn.fmt" of
// ProgramFolder/Common/ and the lookup of one record by its number.
#pragma once

#include "platform/Cp932.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

inline const QByteArray DesignFormatSignature = QByteArrayLiteral("Pomrek Design FormatFile");
inline const QString DesignFormatFileName = QStringLiteral("Dsn.fmt");
constexpr int DesignFormatHeaderSize = 36;
constexpr int DesignPaperFormatSize = 92;

// Paper kinds, the item indexes of the kind box.
constexpr quint8 DesignPostcard = 0;
constexpr quint8 DesignPlainPaper = 1;

// One paper in one direction, kept as its 92 bytes so that the bytes nobody interprets travel unchanged.
class TDesignPaperFormat
{
public:
    TDesignPaperFormat() { m_bytes.fill(0); }

    quint8 Kind() const { return quint8(m_bytes[0]); }
    void SetKind(quint8 kind) { m_bytes[0] = char(kind); }
    // Length byte and at most 31 CP932 bytes.
    AnsiString NameBytes() const;
    QString Name() const { return ToWide(NameBytes()); }
    void SetName(const AnsiString& name);
    // 0 vertical, anything else horizontal.
    qint32 Direction() const { return intAt(64); }
    void SetDirection(qint32 direction) { setIntAt(64, direction); }
    // The page as it lies in its direction, 0.1 mm.
    qint32 Width() const { return intAt(68); }
    void SetWidth(qint32 width) { setIntAt(68, width); }
    qint32 Height() const { return intAt(72); }
    void SetHeight(qint32 height) { setIntAt(72, height); }

    QByteArray Bytes() const { return QByteArray(m_bytes.data(), DesignPaperFormatSize); }
    void SetBytes(const QByteArray& bytes); // exactly DesignPaperFormatSize bytes
    bool operator==(const TDesignPaperFormat&) const = default;

private:
    qint32 intAt(int offset) const;
    void setIntAt(int offset, qint32 value);
    std::array<char, DesignPaperFormatSize> m_bytes;
};

// ProgramFolder + "Common/Dsn.fmt".
QString DesignFormatPath();

// The records of a table file: false (and no records) when the signature differs. A count past the bytes
// gives the whole records that are there.
bool DecodeDesignFormats(const QByteArray& bytes, std::vector<TDesignPaperFormat>& formats);
QByteArray EncodeDesignFormats(const std::vector<TDesignPaperFormat>& formats);
// Every record of the file; empty when it is missing, unreadable or not a table.
std::vector<TDesignPaperFormat> LoadDesignFormats(const QString& path);

enum class DesignFormatLookup { Found, NotATable, NoRecord };
// Record index of the file.
DesignFormatLookup LookupDesignFormat(const QString& path, qint32 index, TDesignPaperFormat& out);

// One line of the paper list: the name of a run of same-named records of a kind and its first record.
struct TDesignFormatEntry
{
    QString Name;
    int Index;
};
// The paper list of a kind: each run of same-named records once; empty names never.
std::vector<TDesignFormatEntry> DesignFormatList(const std::vector<TDesignPaperFormat>& formats, int kind);
