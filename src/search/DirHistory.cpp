// History file pieces shared by the directory search windows.
#include "search/DirHistory.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

int AreaCodeBytes(int kind)
{
    switch (kind) {
    case AreaKindPrefecture:
    case AreaKindCity:
    case AreaKindOaza:
        return kind;
    default:
        return 0;
    }
}

bool THistoryReader::ReadInt(qint32& value)
{
    if (Remaining() < 4)
        return false;
    value = qFromLittleEndian<qint32>(m_bytes.constData() + m_pos);
    m_pos += 4;
    return true;
}

bool THistoryReader::ReadShortString(int capacity, AnsiString& text)
{
    if (Remaining() < 1 + capacity)
        return false;
    const char* p = m_bytes.constData() + m_pos;
    text = AnsiString(p + 1, std::min<int>(static_cast<unsigned char>(p[0]), capacity));
    m_pos += 1 + capacity;
    return true;
}

bool THistoryReader::ReadAreaCodes(qint32 count, qint32 kind, TAreaCodeList& codes)
{
    codes.clear();
    if (kind == AreaKindCountry) {
        codes << TAreaCode{};
        return true;
    }
    const int bytes = AreaCodeBytes(kind);
    if (bytes == 0)
        return true;
    if (count < 0 || qint64(count) * (1 + bytes) > Remaining())
        return false;
    codes.reserve(count);
    for (qint32 i = 0; i < count; ++i) {
        TAreaCode code{{}, kind};
        ReadShortString(bytes, code.code);
        codes << code;
    }
    return true;
}

void THistoryWriter::WriteInt(qint32 value)
{
    char bytes[4];
    qToLittleEndian<qint32>(value, bytes);
    m_bytes.append(bytes, 4);
}

void THistoryWriter::WriteShortString(const AnsiString& text, int capacity)
{
    const AnsiString cut = text.size() <= capacity ? text : Cp932::cutAtBoundary(text, capacity);
    m_bytes.append(char(cut.size()));
    m_bytes.append(cut);
    m_bytes.append(QByteArray(capacity - cut.size(), '\0'));
}

void THistoryWriter::WriteAreaCodes(const TAreaCodeList& codes, int kind)
{
    const int bytes = AreaCodeBytes(kind);
    if (bytes == 0)
        return;
    for (const TAreaCode& code : codes)
        WriteShortString(code.code, bytes);
}

bool SameAnsiTextIgnoringCase(const AnsiString& a, const AnsiString& b)
{
    if (a.size() != b.size())
        return false;
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (int i = 0; i < a.size();) {
        const int length = Cp932::charLengthAt(a, i);
        if (length == 1 ? fold(a[i]) != fold(b[i]) : a.mid(i, length) != b.mid(i, length))
            return false;
        i += length;
    }
    return true;
}

bool SameAreaCodes(const TAreaCodeList& a, const TAreaCodeList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].kind != b[i].kind || !SameAnsiTextIgnoringCase(a[i].code, b[i].code))
            return false;
    return true;
}

QByteArray ReadHistoryFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > HistoryFileMaxBytes)
        return {};
    return file.readAll();
}

bool WriteHistoryFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

QString HistoryWriteFailureText(const QString& path, const QString& reason)
{
    return QDir::toNativeSeparators(path) + QStringLiteral("  \r\n履歴ファイルに書き込めませんでした  \r\n") +
           reason + QStringLiteral("  ");
}
