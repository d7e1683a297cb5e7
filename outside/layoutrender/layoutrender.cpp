// layoutrender SCENE.json OUT.pdf: prints the frames of a layout scene on one full PDF page.
#include "layoutobjects/LayoutScene.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
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
