// What the dictionary wrappers share: their exceptions, the run-time binding of their library, the reading
// and writing of record fields and the postal-code hyphen rule.
#pragma once

#include "platform/Cp932.h"
#include "platform/LibraryLoader.h"

#include <QList>
#include <QString>

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <stdexcept>

// Base of every wrapper's exceptions; the message is what the user is shown.
class EDictionaryError : public std::runtime_error
{
public:
    explicit EDictionaryError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString& Message() const { return m_message; }

private:
    QString m_message;
};

// The wrappers' empty-result texts.
inline const QString NoCityResultText = QStringLiteral("市区郡町村検索の結果がありません");
inline const QString NoTownResultText = QStringLiteral("町大字検索の結果がありません");
inline const QString NoOfficeResultText = QStringLiteral("大口事業所検索の結果がありません");

// A folder with a final "/"; an empty one is the program file's folder.
QString DicFolder(const QString& folder);

// The library of one wrapper object; unloaded with it.
class DicLibrary
{
public:
    struct Entry
    {
        const char* name;
        void** slot;
    };

    DicLibrary() = default;
    ~DicLibrary();
    DicLibrary(const DicLibrary&) = delete;
    DicLibrary& operator=(const DicLibrary&) = delete;

    // Loads folder + fileName and binds every entry; on failure the library is unloaded again and the
    // message of the failure (load, or the first missing entry point) is returned, else an empty text.
    QString Open(const QString& folder, const QString& fileName, std::initializer_list<Entry> entries);
    const QString& FileName() const { return m_fileName; }
    // "NAME (FILE) Call Error\r\nRC = code".
    QString CallError(const char* entry, int code) const;

private:
    LibraryLoader::Handle m_handle = nullptr;
    QString m_fileName;
};

// The bytes of a record field up to its first zero or its full width, blanks trimmed.
AnsiString FieldText(const char* field, size_t width);
template <size_t N> AnsiString FieldText(const char (&field)[N])
{
    return FieldText(field, N);
}
// A zero-terminated copy into a character array, cut on a character boundary.
void SetField(char* field, size_t width, const AnsiString& text);
template <size_t N> void SetField(char (&field)[N], const AnsiString& text)
{
    SetField(field, N, text);
}

// Postal codes of 5 or 7 characters get a hyphen after the third; any other text stays as it is.
AnsiString FormatPostalCode(const AnsiString& code);
// A library coordinate (1/256 arc-second, taken unsigned) in milliseconds of arc; never negative, values
// beyond the int32 range saturate.
qint32 ToMilliseconds(quint32 raw);

// A count that a library reports for a buffer of its caller: a negative one is none, a larger one than
// the buffer holds is the buffer.
int ClampCount(qint64 count, qint64 limit);

// n zeroed records, ready for a library to fill.
template <typename Rec> QList<Rec> ZeroedRecords(int n)
{
    Rec blank;
    std::memset(&blank, 0, sizeof blank);
    return QList<Rec>(n, blank);
}

// The record at index; throws E(emptyText) when the list is empty or the index lies outside it.
template <typename E, typename Rec> Rec RecordAt(const QList<Rec>& list, int index, const QString& emptyText)
{
    if (list.isEmpty() || index < 0 || index >= list.size())
        throw E(emptyText);
    return list[index];
}
