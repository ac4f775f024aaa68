#include "tests/support/FreshSession.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    ResetBeforeEveryTest();
    return RUN_ALL_TESTS();
}
