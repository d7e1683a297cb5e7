// Runs this test executable again as a helper process that holds a table open until its standard input
// closes.
#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <utility>

// Starts the helper with env added to this process's environment; answers the first line it prints.
inline QByteArray StartHolder(QProcess& p, const QList<std::pair<QString, QString>>& env)
{
    QProcessEnvironment all = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : env)
        all.insert(name, value);
    p.setProcessEnvironment(all);
    p.start(QCoreApplication::applicationFilePath(), {});
    EXPECT_TRUE(p.waitForStarted(10000));
    EXPECT_TRUE(p.waitForReadyRead(20000));
    return p.readLine().trimmed();
}

// Lets the helper go and waits for it to end.
inline void StopHolder(QProcess& p)
{
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(20000));
}
