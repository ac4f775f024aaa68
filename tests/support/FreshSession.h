// Every test begins with the session as the program starts it
// (ResetSession), whatever the tests before it in the same process left
// behind, so that a test passes alone, in any order and shuffled; fixtures
// then add what their tests need.
#pragma once

#include "panel/Session.h"

#include <gtest/gtest.h>

class FreshSession : public ::testing::EmptyTestEventListener {
    // Before the test's fixture is made.
    void OnTestStart(const ::testing::TestInfo&) override { ResetSession(); }
};

// For each test binary's main, after InitGoogleTest.
inline void ResetBeforeEveryTest() { ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSession); }
