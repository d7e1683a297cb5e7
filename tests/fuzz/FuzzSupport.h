// Helpers shared by the fuzz targets: the input as bytes, and a scratch folder for readers that take a file.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace Fuzz {

inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// One folder per process, removed at exit.
inline QString ScratchFolder()
{
    static QTemporaryDir dir;
    if (!dir.isValid())
        std::abort();
    return dir.path() + QLatin1Char('/');
}

// Replaces the file with the bytes; aborts when it cannot, since every later result would be meaningless.
inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
}

// A property the reader must keep on every input; a failure crashes so that the fuzzer keeps the input.
inline void Check(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace Fuzz
