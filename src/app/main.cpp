// Program entry point.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tovarel"));
    auto* label = new QLabel(QStringLiteral("Tovarel"), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.resize(640, 400);
    window.show();
    return app.exec();
}
