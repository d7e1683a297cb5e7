// The frame of the tools that build the paper-format files: line-numbered failures, the file write, and main's
// usage and error report.
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <cstdio>

namespace FormatTool {

struct Failure
{
    QString text;
};

[[noreturn]] inline void Fail(int line, const QString& text)
{
    throw Failure{QStringLiteral("line %1: %2").arg(line).arg(text)};
}

inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Failure{QStringLiteral("cannot write %1").arg(file.fileName())};
}

// Runs build(source, common folder) for "tool SOURCE COMMON_FOLDER": 2 on wrong use, 1 with the reason on a
// failure, else 0.
template <class Build> int Run(int argc, char** argv, const char* tool, const char* sourceName, Build build)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s %s COMMON_FOLDER\n", tool, sourceName);
        return 2;
    }
    try {
        build(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    } catch (const Failure& f) {
        std::fprintf(stderr, "%s: %s: %s\n", tool, argv[1], qPrintable(f.text));
        return 1;
    }
    return 0;
}

} // namespace FormatTool
