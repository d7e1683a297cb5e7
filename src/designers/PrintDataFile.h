// The print-file family: the preamble every print file starts with, the document settings record, the
// complemented signatures, and the default frames file "DrRect.def".
#pragma once

#include "layoutobjects/DrawRect.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/WordRect.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>

// A signature stored with every byte complemented.
QByteArray ComplementBytes(const QByteArray& bytes);

inline const QByteArray LayoutFileSignature = QByteArrayLiteral("Pomrek Layout File");
inline const QByteArray LabelFileSignature = QByteArrayLiteral("Pomrek Label File");
inline const QByteArray CardFileSignature = QByteArrayLiteral("Pomrek Card File");
inline const QByteArray DesignFileSignature = QByteArrayLiteral("Pomrek Design File");
inline const QByteArray DefaultRectsSignature = QByteArrayLiteral("Pomrek DefaultSetting");
inline const QString DefaultRectsFileName = QStringLiteral("DrRect.def");
inline const QString InvalidFileMessage = QStringLiteral("このファイルは有効な形式ではありません  ");

constexpr int LayoutSettingsSize = 108;

// Offsets of the settings record's fields.
namespace LayoutSettingsField {
constexpr int HidePrefecture = 0, VerticalDigits = 1, KanjiNumerals = 2, HyphenToNo = 3;
constexpr int CompanyForm = 4, RecipientPostalMark = 8, SenderPostalMark = 12;
constexpr int DefaultHonorific = 16, CompanyHonorific = 27, TitleHonorific = 38, SenderHonorific = 49;
constexpr int AddressLevel = 60, NameLevel = 64, AdditionLevel = 68, SenderAddressLevel = 72,
              SenderNameLevel = 76, SenderAdditionLevel = 80;
constexpr int CompanyRatio = 84, DepartmentRatio = 88, TitleRatio = 92;
constexpr int WidenSpacing = 96, NameAlign = 97, SenderNameAlign = 98, JointNamesTogether = 99,
              CompanyBreak = 100;
} // namespace LayoutSettingsField

// The ratio table of the company-line ratio indexes.
double CompanyLineRatio(int index);

// The document settings record, kept as its 108 bytes so that unused bytes travel unchanged.
class TLayoutSettings
{
public:
    TLayoutSettings() { m_bytes.fill(0); }
    quint8 Byte(int offset) const { return quint8(m_bytes[size_t(offset)]); }
    void SetByte(int offset, quint8 value) { m_bytes[size_t(offset)] = char(value); }
    qint32 Int(int offset) const;
    void SetInt(int offset, qint32 value);
    // Length byte and at most 10 CP932 bytes.
    QString Honorific(int offset) const;
    void SetHonorific(int offset, const QString& text);
    // The record of a new layout.
    void SetDefaults(bool withPicture);
    void Clear() { m_bytes.fill(0); }

    QByteArray Bytes() const { return QByteArray(m_bytes.data(), LayoutSettingsSize); }
    void SetBytes(const QByteArray& bytes); // exactly LayoutSettingsSize bytes
    bool operator==(const TLayoutSettings&) const = default;

private:
    std::array<char, LayoutSettingsSize> m_bytes;
};

// What precedes the body of every print file.
struct TPrintFilePreamble
{
    qint32 Version = CurrentFileVersion;
    QByteArray Header;  // 28 bytes, 32 for a message-side design
    QByteArray Preview; // a JPEG
    TLayoutSettings Settings;
};

// Reads the preamble of a print file with that signature and header size; the position of the body, or -1
// when the signature differs or a length runs past the bytes. Sets LoadedFileVersion.
qsizetype ReadPrintFilePreamble(const QByteArray& bytes, const QByteArray& signature, int headerSize,
                                TPrintFilePreamble& out);
QByteArray WritePrintFilePreamble(const QByteArray& signature, const TPrintFilePreamble& preamble);

// The prototypes of new text and figure frames. The sender-block prototype of the message-side designer that
// may follow them is kept as it was read and written back.
struct TDefaultRects
{
    TDefaultRects();
    std::unique_ptr<TWordRect> Text;
    std::unique_ptr<TFigureRect> Figure;
    QByteArray Tail;
    bool Changed = false;
};

// Missing or unreadable file: the text prototype's font becomes the default; another signature leaves the
// prototypes as they are; damage stops reading silently. The text colour is black in every case.
void LoadDefaultRects(const QString& path, TDefaultRects& rects);
// Writes only when changed; false when the file could not be written.
bool SaveDefaultRects(const QString& path, const TDefaultRects& rects);
QByteArray EncodeDefaultRects(const TDefaultRects& rects);
