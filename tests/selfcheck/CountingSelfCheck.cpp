// Cases whose outcome is known, for the test command's check of its own counting
// (scripts/test.d/05-counting-selfcheck.sh): a pass, a case that skips itself, and a case
// that fails and one that never ends (both disabled, run only when asked for).
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(Counting, Passes) { EXPECT_EQ(2 + 2, 4); }

TEST(Counting, SkipsItself) { GTEST_SKIP() << "skipped on purpose"; }

TEST(Counting, DISABLED_Fails) { EXPECT_EQ(2 + 2, 5); }

TEST(Counting, DISABLED_NeverEnds) {
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}
