// The built utility started as a user starts it: it keeps running hidden, a second start
// only brings the first one forward, and Cancel ends it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>

#include "app/UtilityState.h"
#include "tests/win/common/UtilityProcess.h"

namespace hx::test {
namespace {

using namespace std::chrono_literals;

BOOL CALLBACK CountPage(HWND child, LPARAM count) {
    char name[16] = {};
    ::GetClassNameA(child, name, sizeof name);
    if (std::string(name) == "#32770") ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The dialogs within the main window: its pages.
int PagesOf(HWND window) {
    int count = 0;
    ::EnumChildWindows(window, CountPage, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST(Startup, RunsHiddenAndSecondStartBringsTheFirstForward) {
    ClearUtilityRegistry();
    UtilityProcess first;
    ASSERT_TRUE(first.Start());
    HWND window = first.WaitForMainWindow(5s);
    ASSERT_NE(window, nullptr);
    // Shown when the modal run is first idle, completed with its pages right after, and
    // hidden again 100 ms later: hidden with all six pages is hidden after the show, however
    // late a loaded machine shows it.
    EXPECT_TRUE(WaitFor([&] { return PagesOf(window) == 6 && !::IsWindowVisible(window); }, 3s));
    std::this_thread::sleep_for(1500ms);
    EXPECT_TRUE(first.Running());
    EXPECT_FALSE(::IsWindowVisible(window));

    UtilityProcess second;
    ASSERT_TRUE(second.Start());
    bool sawVisible = false;
    int mostWindows = 0;
    WaitFor([&] {
        sawVisible = sawVisible || ::IsWindowVisible(window);
        mostWindows = std::max(mostWindows, CountUtilityWindows());
        return !second.Running();
    }, 10s);
    EXPECT_TRUE(second.WaitForExit(0ms)) << "the second instance keeps running";
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_EQ(mostWindows, 1) << "the second instance made a window of its own";
    // The first window is brought forward; with no adapter its own timer may hide it
    // again within a second, so look at once as well as just after.
    sawVisible = sawVisible || WaitFor([&] { return ::IsWindowVisible(window) != FALSE; }, 200ms);
    EXPECT_TRUE(sawVisible);
    EXPECT_TRUE(first.Running());

    // Cancel (Escape) ends the utility.
    ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(first.WaitForExit(5s));
    EXPECT_EQ(first.ExitCode(), 0u);
    EXPECT_EQ(CountUtilityWindows(), 0);
}

// Two utilities started at the same instant, twenty times: each time one runs, and the
// other ends without a window of its own.
TEST(Startup, OfTwoStartedTogetherExactlyOneRuns) {
    ClearUtilityRegistry();
    for (int pair = 0; pair < 20 && !::testing::Test::HasFailure(); ++pair) {
        UtilityProcess a, b;
        ASSERT_TRUE(a.Start() && b.Start());
        int mostWindows = 0;
        UtilityProcess* survivor = nullptr;
        const bool settled = WaitFor([&] {
            mostWindows = std::max(mostWindows, CountUtilityWindows());
            survivor = a.Running() == b.Running() ? nullptr : a.Running() ? &a : &b;
            return mostWindows > 1 || (survivor != nullptr && survivor->MainWindow() != nullptr);
        }, 60s);
        EXPECT_TRUE(settled && mostWindows == 1) << "pair " << pair << ": " << mostWindows << " windows";
        EXPECT_EQ((survivor == &a ? b : a).ExitCode(), 0u) << "pair " << pair;
        if (survivor == nullptr) continue;
        ::PostMessageA(survivor->MainWindow(), WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(survivor->WaitForExit(30s)) << "pair " << pair;
    }
}

TEST(Startup, AnyWindowWithTheTitleCountsAsARunningInstance) {
    // A window of another program with exactly the utility's title.
    HWND impostor = ::CreateWindowExA(0, "STATIC", kMainWindowTitle, WS_POPUP, 0, 0, 10, 10,
                                      nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(impostor, nullptr);
    UtilityProcess utility;
    ASSERT_TRUE(utility.Start());
    EXPECT_TRUE(utility.WaitForExit(10s));
    EXPECT_EQ(utility.MainWindow(), nullptr);
    ::DestroyWindow(impostor);
}

}  // namespace
}  // namespace hx::test
