// The main of every test binary without a window.
#include "tests/support/FreshSession.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ResetBeforeEveryTest();
    return RUN_ALL_TESTS();
}
