// Reader and writer of the hard-disk install record; every count and length read is checked against the bytes
// that remain.
#include "maintenance/HdiRW.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

QByteArray ScrambleInstallText(const QByteArray& bytes)
{
    QByteArray out(bytes.size(), '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        out[i] = static_cast<char>(static_cast<uint8_t>(~((b << 4) | (b >> 4))));
    }
    return out;
}

int ReadInstallRecord(TInstallRecord& record)
{
    for (TInstallEntry& entry : record.Entries) {
        entry.Length = -1;
        entry.Path.clear();
    }
    const QFileInfo info(record.FilePath);
    if (!info.exists() || !info.isFile())
        return irNoFile;
    QFile file(record.FilePath);
    if (!file.open(QIODevice::ReadOnly))
        return irTagLength;
    // The largest well-formed record: a 255-byte tag and 255 entries of the longest path. Bytes beyond the
    // last entry are ignored.
    const QByteArray data = file.read(1 + 255 + 1 + 255 * (1 + 2 + InstallPathMax));
    qsizetype pos = 0;
    auto remaining = [&] { return data.size() - pos; };

    if (remaining() < 1)
        return irTagLength;
    const int tagLength = static_cast<uint8_t>(data[pos++]);
    if (remaining() < tagLength)
        return irTagShort;
    const QByteArray tag = UnscrambleInstallText(data.mid(pos, tagLength));
    pos += tagLength;
    if (tag != record.Tag)
        return irOtherProgram;

    if (remaining() < 1)
        return irCount;
    record.Count = static_cast<uint8_t>(data[pos++]);
    for (int i = 0; i < record.Count; ++i) {
        if (remaining() < 1)
            return irEntryNumber;
        const int number = static_cast<uint8_t>(data[pos++]);
        if (number >= InstallEntryCount)
            return irOutOfRange;
        if (remaining() < 2)
            return irPathLength;
        const auto length = static_cast<int16_t>(static_cast<uint8_t>(data[pos]) |
                                                 (static_cast<uint8_t>(data[pos + 1]) << 8));
        pos += 2;
        if (length < -1 || length > InstallPathMax)
            return irOutOfRange;
        TInstallEntry& entry = record.Entries[number];
        entry.Length = length;
        entry.Path.clear();
        if (length > 0) {
            if (remaining() < length)
                return irPathShort;
            entry.Path = UnscrambleInstallText(data.mid(pos, length));
            pos += length;
        }
    }
    return irOk;
}

QByteArray InstallRecordBytes(const TInstallRecord& record)
{
    const QByteArray tag = record.Tag.left(255);
    QByteArray out;
    out += char(tag.size());
    out += ScrambleInstallText(tag);
    QByteArray entries;
    int count = 0;
    for (int i = 0; i < InstallEntryCount; ++i) {
        const TInstallEntry& entry = record.Entries[i];
        if (entry.Length < 0)
            continue;
        const int length = std::min<int>(entry.Length, InstallPathMax);
        entries += char(i);
        entries += char(length & 0xFF);
        entries += char((length >> 8) & 0xFF);
        if (length > 0) {
            QByteArray path = entry.Path.left(length);
            path.append(length - path.size(), '\0');
            entries += ScrambleInstallText(path);
        }
        ++count;
    }
    out += char(count);
    out += entries;
    return out;
}

int WriteInstallRecord(const TInstallRecord& record, bool mustExist)
{
    if (mustExist && !QFileInfo(record.FilePath).isFile())
        return iwNoFile;
    const QByteArray bytes = InstallRecordBytes(record);
    QSaveFile file(record.FilePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return iwTagLength;
    return iwOk;
}
