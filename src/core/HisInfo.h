// Input history lists: small persistent lists of dated texts offered again in drop-down lists, and their file
// form.
#pragma once

#include "platform/Cp932.h"

#include <QString>

#include <exception>
#include <memory>
#include <vector>

// The list's exception: a plain exception with a message.
class EHistoryDataError : public std::exception
{
public:
    explicit EHistoryDataError(const QString& message);
    const QString& Message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// One entry: a date-time (days since 30 December 1899) and CP932 text of at most the list's item size.
struct THistoryStruct
{
    double Date = 0;
    AnsiString Text;
};

namespace MtdHistoryFile {
// The file form (little-endian): a 32-bit signed count, then per entry a length byte (text length + 8) mod
// 256, the date as an IEEE double, and the text with every byte complemented.
QByteArray Encode(const std::vector<THistoryStruct>& entries);
// Reads the entries; false when the data ends before the count or any entry it promises.
bool Decode(const QByteArray& data, std::vector<THistoryStruct>* entries);
} // namespace MtdHistoryFile

class THistoryData
{
public:
    // Throws EHistoryDataError when the file is missing and allowMissing is false, or itemSize is
    // outside 1..255.
    THistoryData(const QString& fileName, bool allowMissing, int itemSize);
    ~THistoryData();
    THistoryData(const THistoryData&) = delete;
    THistoryData& operator=(const THistoryData&) = delete;

    // Reads the file into a fresh list; no file is an empty list. A damaged or unreadable file is reported
    // once and moved aside, and the list starts empty; when it cannot be moved aside, Save leaves it alone.
    // Always answers true: the program goes on without that list's old entries.
    bool Load();
    // Replaces the file atomically; false when it cannot be created (or must be left alone),
    // EHistoryDataError when writing fails. The old file stays whole in both cases.
    bool Save();
    void Unload();

    int Add(const AnsiString& text, double date);
    // Date 0 means now; the text is cut to the item size at a character boundary.
    void Insert(int index, const AnsiString& text, double date);
    void Delete(int index);
    void Clear();
    int IndexOf(const AnsiString& text) const;
    bool IsLoaded() const { return m_items != nullptr; }
    AnsiString GetText(int index) const;
    double GetDate(int index) const;
    int Count() const;

    // The usual change after an input: the text (cut to the item size) moves to the top, dated now, and the
    // list is trimmed to maxCount entries. Does not save.
    void PutFirst(const AnsiString& text, int maxCount);

    const QString& FileName() const { return m_fileName; }
    int ItemSize() const { return m_itemSize; }

private:
    void CheckLoaded() const;
    void CheckIndex(int index, int count) const;
    bool MoveAside(QString* movedTo);

    QString m_fileName;
    int m_itemSize = 0;
    std::unique_ptr<std::vector<THistoryStruct>> m_items;
    bool m_saveBlocked = false;
};

// Days since 30 December 1899 of the local time now, as the history dates count them.
double HistoryNow();
