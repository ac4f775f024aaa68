// The window tests need a QApplication, and run without a display. The
// programs they start keep their window's place in a configuration folder of
// the tests' own, never in the user's.
#include "tests/support/FreshSession.h"
#include "tests/support/TempFolder.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const TempFolder configuration;
    setenv("XDG_CONFIG_HOME", configuration.path().c_str(), 1);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ResetBeforeEveryTest();
    return RUN_ALL_TESTS();
}
