// layoutrender SCENE.json OUT.pdf: prints the frames of a layout scene on one full PDF page.
#include "layoutobjects/LayoutScene.h"
#include "platform/MessageSeam.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // No message boxes without widgets: a frame's message (a library that fails to load) goes to stderr.
    MsgSeam::SetHandler([](const MsgSeam::Request& request) {
        std::fprintf(stderr, "layoutrender: %s\n", request.text.simplified().toUtf8().constData());
        return int(MsgSeam::IdOk);
    });
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: layoutrender SCENE.json OUT.pdf\n");
        return 2;
    }
    QFile scene(args[1]);
    if (!scene.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "layoutrender: cannot read %s: %s\n", qPrintable(args[1]),
                     qPrintable(scene.errorString()));
        return 1;
    }
    QString error;
    if (!RenderLayoutScene(scene.readAll(), args[2], &error)) {
        std::fprintf(stderr, "layoutrender: %s\n", error.toUtf8().constData());
        return 1;
    }
    return 0;
}
