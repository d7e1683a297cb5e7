// Running a program of the build (a developer tool or a system utility) and collecting what it answered.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

struct ToolRun
{
    int exitCode = -1; // -1 when the program crashed or could not start
    QByteArray out;
    QByteArray err;
};

inline ToolRun RunTool(const QString& program, const QStringList& args, const QString& workDir = {})
{
    QProcess p;
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}
