#include <gtest/gtest.h>

#include <QApplication>

#include "KorvanaResources.h"

// Widgets need an application object; the tests draw off screen unless told otherwise.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    korvana::InitResources();
    return RUN_ALL_TESTS();
}
