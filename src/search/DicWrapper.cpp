// Shared parts of the dictionary wrappers.
#include "search/DicWrapper.h"

#include "core/AppSub.h"

#include <QCoreApplication>
#include <QDir>

#include <cmath>
#include <cstring>

QString DicFolder(const QString& folder)
{
    QString out = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
    if (!out.endsWith(u'/'))
        out += u'/';
    return out;
}

DicLibrary::~DicLibrary()
{
    LibraryLoader::Free(m_handle);
}

QString DicLibrary::Open(const QString& folder, const QString& fileName, std::initializer_list<Entry> entries)
{
    m_fileName = fileName;
    m_handle = LibraryLoader::Load(folder, fileName);
    if (!m_handle)
        return fileName + QStringLiteral(" LoadLibrary Error\r\nDLLのロードに失敗しました");
    for (const Entry& e : entries) {
        *e.slot = LibraryLoader::Symbol(m_handle, e.name);
        if (!*e.slot) {
            LibraryLoader::Free(m_handle);
            m_handle = nullptr;
            return QStringLiteral("%1 (%2) GetProcAddress Error\r\n関数の割り当てに失敗しました")
                .arg(QLatin1String(e.name), fileName);
        }
    }
    return QString();
}

QString DicLibrary::CallError(const char* entry, int code) const
{
    return QStringLiteral("%1 (%2) Call Error\r\nRC = %3").arg(QLatin1String(entry), m_fileName).arg(code);
}

AnsiString FieldText(const char* field, size_t width)
{
    return TrimAnsiText(AnsiString(field, qsizetype(strnlen(field, width))));
}

void SetField(char* field, size_t width, const AnsiString& text)
{
    std::memset(field, 0, width);
    if (width == 0)
        return;
    const AnsiString cut = Cp932::cutAtBoundary(text, int(width) - 1);
    std::memcpy(field, cut.constData(), size_t(cut.size()));
}

AnsiString FormatPostalCode(const AnsiString& code)
{
    if (code.size() != 5 && code.size() != 7)
        return code;
    return code.left(3) + '-' + code.mid(3, 4);
}

qint32 ToMilliseconds(quint32 raw)
{
    // Raw values past about 2^31 / 3.9 do not fit the record's int32; they saturate rather than wrap.
    return qint32(qMin<qint64>(RoundHalfAway(double(raw) * 1000.0 / 256.0), INT32_MAX));
}

int ClampCount(qint64 count, qint64 limit)
{
    return int(qBound<qint64>(0, count, limit));
}
