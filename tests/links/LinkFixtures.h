// Fixtures of the link tests: a registry stand-in file, a temporary data root, and the logging stand-in
// copied under a program's name with its log read back.
#pragma once

#include "core/MainSettings.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Writes the registry stand-in file of the test and points the registry at it for the fixture's life.
class RegistryFile
{
public:
    explicit RegistryFile(const QByteArray& text)
    {
        QFile f(m_dir.filePath(QStringLiteral("registry.ini")));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        qputenv("TOVAREL_REGISTRY", QFile::encodeName(f.fileName()));
    }
    ~RegistryFile()
    {
        qputenv("TOVAREL_REGISTRY", QFile::encodeName(m_dir.filePath(QStringLiteral("none.ini"))));
    }
    RegistryFile(const RegistryFile&) = delete;
    RegistryFile& operator=(const RegistryFile&) = delete;

private:
    QTemporaryDir m_dir;
};

// DataRootFolder in a temporary folder for the fixture's life.
class TempDataRoot
{
public:
    TempDataRoot() : m_saved(DataRootFolder) { DataRootFolder = folder(); }
    ~TempDataRoot() { DataRootFolder = m_saved; }
    TempDataRoot(const TempDataRoot&) = delete;
    TempDataRoot& operator=(const TempDataRoot&) = delete;
    QString folder() const { return m_dir.path() + u'/'; }

private:
    QTemporaryDir m_dir;
    QString m_saved;
};

// One start recorded by the logging stand-in.
struct StandinStart
{
    QString program;
    QString folder;
    QStringList arguments;
};

// The logging stand-in copied as programs of a temporary folder, logging to its own file.
class Standin
{
public:
    Standin()
    {
        qputenv("TOVAREL_STANDIN_LOG", QFile::encodeName(logPath()));
        qunsetenv("TOVAREL_STANDIN_EXIT");
    }
    ~Standin()
    {
        qunsetenv("TOVAREL_STANDIN_LOG");
        qunsetenv("TOVAREL_STANDIN_EXIT");
        qunsetenv("TOVAREL_STANDIN_OUTPUT");
    }
    Standin(const Standin&) = delete;
    Standin& operator=(const Standin&) = delete;

    QString folder() const { return m_dir.path() + u'/'; }
    // Copies the stand-in to relativePath under the folder; answers its full path.
    QString install(const QString& relativePath)
    {
        const QString path = folder() + relativePath;
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(QFile::copy(QStringLiteral(TOVAREL_STANDINLOG), path)) << path.toStdString();
        return path;
    }
    void setExitCode(int code) { qputenv("TOVAREL_STANDIN_EXIT", QByteArray::number(code)); }
    void setOutput(const QByteArray& text) { qputenv("TOVAREL_STANDIN_OUTPUT", text); }
    QString logPath() const { return m_dir.path() + QStringLiteral("/standin.log"); }

    // Every finished start recorded so far.
    QList<StandinStart> starts() const
    {
        QList<StandinStart> out;
        QFile f(logPath());
        if (!f.open(QIODevice::ReadOnly))
            return out;
        StandinStart current;
        for (const QByteArray& raw : f.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw);
            if (line.startsWith(QLatin1String("PROG ")))
                current = {line.mid(5), QString(), {}};
            else if (line.startsWith(QLatin1String("CWD ")))
                current.folder = line.mid(4);
            else if (line.startsWith(QLatin1String("ARG ")))
                current.arguments << line.mid(4);
            else if (line == QLatin1String("END"))
                out << current;
        }
        return out;
    }

private:
    QTemporaryDir m_dir;
};
