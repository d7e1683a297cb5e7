// Entry point of every test executable: a headless QApplication around GoogleTest, set up as the program's.
#include "core/Main.h"

#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Qt's own texts in Japanese, the program's font and pictures, as the program has them.
    InitApplication();
    return RUN_ALL_TESTS();
}
