// The pieces both directory search history files ("Ctgry.shc", "NmAd.shc") are made of: short-string slots,
// area-code slots by kind, little-endian fields read against what remains, the list rules of a history, and
// whole-file read and write.
#pragma once

#include "search/CtgryCond.h"

#include <QList>
#include <QString>

inline constexpr int HistoryNameBytes = 34;
inline constexpr int HistoryPeriodBytes = 8;
// Largest history file read; more is damage.
inline constexpr qsizetype HistoryFileMaxBytes = 16 * 1024 * 1024;

// Bytes of an area code of the kind without its length byte: 2, 5 or 8; 0 for any other kind.
int AreaCodeBytes(int kind);

// Reads the fields of a history file in order. Every read checks the bytes that remain; a short read fails
// and moves nothing.
class THistoryReader
{
public:
    explicit THistoryReader(const QByteArray& bytes) : m_bytes(bytes) {}
    bool ReadInt(qint32& value);
    // A slot of a length byte and capacity bytes; the length is clamped to the capacity.
    bool ReadShortString(int capacity, AnsiString& text);
    // count slots of the kind's size. Kind 0 reads nothing and gives one empty code of kind 0; any kind but
    // 0, 2, 5 and 8 reads nothing and gives no code; a negative count of a code kind fails.
    bool ReadAreaCodes(qint32 count, qint32 kind, TAreaCodeList& codes);
    qsizetype Remaining() const { return m_bytes.size() - m_pos; }

private:
    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
};

class THistoryWriter
{
public:
    void WriteInt(qint32 value);
    // The text cut to capacity bytes on a character boundary, in a zero-padded slot of 1 + capacity bytes.
    void WriteShortString(const AnsiString& text, int capacity);
    // Each code in the slot of the kind; nothing for a kind without codes.
    void WriteAreaCodes(const TAreaCodeList& codes, int kind);
    const QByteArray& Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// CP932 texts equal when single-byte ASCII letters are folded (trail bytes are never folded).
bool SameAnsiTextIgnoringCase(const AnsiString& a, const AnsiString& b);
// Area codes equal position by position, ignoring case.
bool SameAreaCodes(const TAreaCodeList& a, const TAreaCodeList& b);

// The list rules of a history (newest first); Rec has SameConditions(const Rec&).
template <typename Rec> int FindHistoryEntry(const QList<Rec>& history, const Rec& rec)
{
    for (qsizetype i = 0; i < history.size(); ++i)
        if (history[i].SameConditions(rec))
            return int(i);
    return -1;
}

// An equal entry moves to the head, else a copy goes there and the list is cut to hisCount entries.
template <typename Rec> void RecordHistoryEntry(QList<Rec>& history, const Rec& rec, int hisCount)
{
    if (hisCount <= 0)
        return;
    const int found = FindHistoryEntry(history, rec);
    if (found >= 0) {
        history.move(found, 0);
        return;
    }
    history.prepend(rec);
    while (history.size() > hisCount)
        history.removeLast();
}

// Drops entries from the end until at most hisCount remain; a chosen index past the end becomes -1.
template <typename Rec> void TrimHistory(QList<Rec>& history, int hisCount, int& chosen)
{
    while (history.size() > std::max(0, hisCount))
        history.removeLast();
    if (chosen >= history.size())
        chosen = -1;
}

// Removes entry i; the chosen index keeps pointing at the same entry (-1 when that entry goes). False when i
// is out of range.
template <typename Rec> bool RemoveHistoryEntry(QList<Rec>& history, int i, int& chosen)
{
    if (i < 0 || i >= history.size())
        return false;
    history.removeAt(i);
    if (chosen == i)
        chosen = -1;
    else if (chosen > i)
        --chosen;
    return true;
}

// The whole file; empty when it is missing, unreadable or larger than any history.
QByteArray ReadHistoryFile(const QString& path);
// Through QSaveFile: the old file stays when anything fails; error then says why.
bool WriteHistoryFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// The message of a failed write, naming the file.
QString HistoryWriteFailureText(const QString& path, const QString& reason);

// A history file of entries of Rec: the count, entry 0 as the current conditions, then the list from its
// second entry. readEntry(THistoryReader&, Rec&) and writeEntry(THistoryWriter&, const Rec&) know one entry.
template <typename History, typename ReadEntry>
History DecodeHistoryEntries(const QByteArray& bytes, int hisCount, ReadEntry readEntry)
{
    History history;
    THistoryReader in(bytes);
    qint32 count = 0;
    if (!in.ReadInt(count))
        return history;
    const int most = std::min<qint32>(count, std::max(1, hisCount));
    for (int i = 0; i < most; ++i) {
        decltype(history.current) rec;
        if (!readEntry(in, rec))
            break;
        if (i == 0)
            history.current = rec;
        if (hisCount > 0)
            history.entries << rec;
    }
    return history;
}

template <typename History, typename WriteEntry>
QByteArray EncodeHistoryEntries(const History& history, WriteEntry writeEntry)
{
    THistoryWriter out;
    const qsizetype count = std::max<qsizetype>(1, history.entries.size());
    out.WriteInt(qint32(count));
    writeEntry(out, history.current);
    for (qsizetype i = 1; i < count; ++i)
        writeEntry(out, history.entries[i]);
    return out.Bytes();
}
