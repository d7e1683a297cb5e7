// Keeps the X server's frame buffer under a name once the windows have been drawn, when the tests run under
// Xvfb with TOVAREL_XVFB_FBDIR naming its -fbdir folder; nothing otherwise.
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QTest>

inline void KeepXvfbScreen(const QString& name)
{
    const QString folder = qEnvironmentVariable("TOVAREL_XVFB_FBDIR");
    if (folder.isEmpty())
        return;
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 1000)
        QTest::qWait(50);
    QFile::remove(folder + u'/' + name);
    QFile::copy(folder + QStringLiteral("/Xvfb_screen0"), folder + u'/' + name);
}
