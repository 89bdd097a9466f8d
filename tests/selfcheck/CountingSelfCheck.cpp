// Cases whose outcome is known, for the test command's check of its own counting
// (scripts/test.d/05-counting-selfcheck.*.sh): a pass, a case that skips itself, and, run
// only when asked for (disabled), a case that fails, one that never ends, one that crashes
// the program before it writes its report, and one that passes but leaves the program
// exiting with a failure status after its report is written.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

TEST(Counting, Passes) { EXPECT_EQ(2 + 2, 4); }

TEST(Counting, SkipsItself) { GTEST_SKIP() << "skipped on purpose"; }

TEST(Counting, DISABLED_Fails) { EXPECT_EQ(2 + 2, 5); }

TEST(Counting, DISABLED_NeverEnds) {
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

TEST(Counting, DISABLED_Crashes) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}

TEST(Counting, DISABLED_PassesThenExitsWithFailure) {
    std::atexit([] { std::_Exit(3); });
}
