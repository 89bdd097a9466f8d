// The built utility against the simulated adapter, driven from outside as Windows and a
// user would: the tray icon (read off the screen), Open, Exit, the pages, the adapter
// plugged and pulled, Zero Configuration taking over.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/TrayRule.h"
#include "app/UtilityState.h"
#include "resources/resource.h"
#include "sim/core/DefaultWorld.h"
#include "tests/win/common/SimulatorProbe.h"
#include "tests/win/common/TrayProbe.h"
#include "tests/win/common/UtilityProcess.h"
#include "tests/win/common/WindowProbe.h"

namespace hx::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(TraySignatures, TellEverySetApart) { EXPECT_EQ(DistinctTraySets(), 11); }

class ShellEndToEnd : public ::testing::Test {
protected:
    void TearDown() override {
        if (utility.Running() && window != nullptr) {
            ::PostMessageA(window, WM_COMMAND, ID_TRAY_EXIT, 0);
            utility.WaitForExit(5s);
        }
        ::SetEnvironmentVariableA("HXSIM_SCENARIO", nullptr);
        ::DeleteFileA(ScenarioPath().c_str());
    }
    static std::string ScenarioPath() { return ProgramFolder() + "\\e2e_shell_unplugged.scenario"; }

    // Starts the utility in the default world, or with the adapter pulled out.
    void StartUtility(bool plugged) {
        ClearUtilityRegistry();
        if (!plugged) {
            std::string scenario(hxsim::DefaultScenarioText());
            const size_t at = scenario.find("plugged = yes");
            ASSERT_NE(at, std::string::npos);
            scenario.replace(at, 13, "plugged = no");
            const std::string path = ScenarioPath();
            std::ofstream(path) << scenario;
            ::SetEnvironmentVariableA("HXSIM_SCENARIO", path.c_str());
        }
        ASSERT_TRUE(utility.Start());
        window = utility.WaitForMainWindow(5s);
        ASSERT_NE(window, nullptr);
    }
    bool Visible() const { return ::IsWindowVisible(window) != FALSE; }
    // The tray set, read while the window (which lies over the tray here) is hidden.
    bool WaitForTraySet(int set, std::chrono::milliseconds limit) {
        return WaitFor([&] { return !Visible() && TraySetOnScreen() == set; }, limit);
    }
    // "Open" from the tray menu, as often as needed until the window shows.
    bool OpenWithin(std::chrono::milliseconds limit) {
        return WaitFor([&] {
            ::PostMessageA(window, WM_COMMAND, ID_TRAY_OPEN, 0);
            return WaitFor([&] { return Visible(); }, 100ms);
        }, limit);
    }

    UtilityProcess utility;
    HWND window = nullptr;
};

TEST_F(ShellEndToEnd, StartsAbsentFindsThePluggedAdapterAndHidesWhenItIsPulled) {
    StartUtility(false);
    EXPECT_TRUE(WaitFor([&] { return !Visible(); }, 2s)) << "starts in the tray";
    EXPECT_TRUE(WaitForTraySet(0, 3s)) << "the adapter-absent icon";
    ::PostMessageA(window, WM_COMMAND, ID_TRAY_OPEN, 0);
    std::this_thread::sleep_for(1200ms);
    EXPECT_FALSE(Visible()) << "Open does nothing without an adapter";

    ASSERT_EQ(SimCommand("plug").substr(0, 2), "ok");
    const auto plugged = Clock::now();
    const auto found = [&] { return !Visible() && TraySetOnScreen() > 0; };
    ASSERT_TRUE(WaitFor(found, 3s));
    const auto foundAfter = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - plugged);
    const auto allowance = LoadAllowance(window, found);
    std::printf("adapter found %lld ms after plugging (load allowance %lld ms)\n",
                static_cast<long long>(foundAfter.count()), static_cast<long long>(allowance.count()));
    // The next one-second tick finds it; the rest of the bound is room for reading the icon off
    // the screen, and for the load of the machine now.
    EXPECT_LE(foundAfter, 2500ms + allowance) << "found by the next one-second tick";

    ASSERT_TRUE(OpenWithin(2s));
    EXPECT_TRUE(PageShown(window, IDC_LI_RESCAN)) << "identification shows Link Info";

    ASSERT_EQ(SimCommand("unplug").substr(0, 2), "ok");
    const auto pulled = Clock::now();
    EXPECT_TRUE(WaitFor([&] { return !Visible(); }, 3s));
    const auto hiddenAfter = Clock::now() - pulled;
    EXPECT_LE(hiddenAfter, 2500ms + LoadAllowance(window, [&] { return !Visible(); })) << "hidden within a tick";
    EXPECT_TRUE(WaitForTraySet(0, 2s));
    EXPECT_TRUE(utility.Running());

    ASSERT_EQ(SimCommand("plug").substr(0, 2), "ok");
    EXPECT_TRUE(WaitFor([&] { return !Visible() && TraySetOnScreen() > 0; }, 3500ms)) << "found again";

    ::PostMessageA(window, WM_COMMAND, ID_TRAY_EXIT, 0);
    EXPECT_TRUE(utility.WaitForExit(5s));
    EXPECT_EQ(utility.ExitCode(), 0u);
    EXPECT_TRUE(WaitFor([] { return TraySetOnScreen() == -1; }, 2s)) << "the icon is removed";
}

TEST_F(ShellEndToEnd, TheIconFollowsTheLink) {
    StartUtility(true);
    // The empty last setting joins a network of the default world.
    ASSERT_TRUE(WaitFor([] { return SimState("link.associated") == "yes"; }, 8s));
    // Bars in the colour of the rate family: green for 1, 2, 5.5 and 11 Mbit/s, else yellow.
    const int speed = std::atoi(SimState("link.speed-kbps").c_str());
    const bool green = speed == 1000 || speed == 2000 || speed == 5500 || speed == 11000;
    const int firstSet = green ? 2 : 6;
    EXPECT_TRUE(WaitFor([&] {
        const int set = TraySetOnScreen();
        return !Visible() && set >= firstSet && set <= firstSet + 3;
    }, 8s)) << speed << " kbit/s; shown " << TraySetOnScreen();

    // Every access point the adapter joins goes out of range: the link is lost.
    std::vector<std::string> silenced;
    const bool lost = WaitFor([&] {
        const std::string now = SimState("link.bssid");
        if (SimState("link.associated") != "yes") return !Visible() && TraySetOnScreen() == 1;
        if (std::find(silenced.begin(), silenced.end(), now) == silenced.end()) {
            EXPECT_EQ(SimCommand("signal " + now + " -100").substr(0, 2), "ok");
            silenced.push_back(now);
        }
        return false;
    }, 10s);
    EXPECT_TRUE(lost) << "empty bars; shown " << TraySetOnScreen();
    for (const std::string& ap : silenced) ASSERT_EQ(SimCommand("signal " + ap + " -45").substr(0, 2), "ok");
    EXPECT_TRUE(WaitFor([&] { const int set = TraySetOnScreen(); return !Visible() && set >= 2 && set <= 9; }, 15s))
        << "bars again once the link is back; shown " << TraySetOnScreen();
}

// Wine's tray host is the desktop process (explorer), and Wine cannot start it again under
// programs that still run on its desktop. What a restarted taskbar means to the utility is
// made with the running host instead: the host loses the icon (deleted through the shell, as
// another program can), and either nothing more happens (the utility's next show is refused
// and it adds the icon again) or the shell announces a new taskbar as Windows does.
TEST_F(ShellEndToEnd, TheIconComesBackWithItsSetWhenTheTrayLosesIt) {
    StartUtility(true);
    ASSERT_TRUE(WaitFor([] { return SimState("link.associated") == "yes"; }, 8s));
    ASSERT_TRUE(SimOk("drift " + SimState("link.bssid") + " 0"));  // a steady signal: a steady set
    if (Visible()) ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(1, 1));
    int set = -1;
    ASSERT_TRUE(WaitFor([&] {
        const int now = TraySetOnScreen();
        if (now < 2 || now != set) { set = now; return false; }
        std::this_thread::sleep_for(1500ms);
        return TraySetOnScreen() == set;
    }, 15s)) << "no steady link set; shown " << TraySetOnScreen();

    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    for (const bool announced : {false, true}) {
        NOTIFYICONDATAA icon{};
        icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
        icon.hWnd = window;
        icon.uID = 1;
        ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &icon)) << "the tray host holds the icon";
        if (announced) ::SendNotifyMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
        const auto lost = Clock::now();
        EXPECT_TRUE(WaitForTraySet(set, 3s)) << (announced ? "announced" : "silent") << "; shown " << TraySetOnScreen();
        std::printf("icon back %lld ms after the tray lost it (%s)\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lost).count()),
                    announced ? "new taskbar announced" : "not announced");
    }
    EXPECT_TRUE(utility.Running());
}

TEST_F(ShellEndToEnd, ZeroConfigurationTakesTheAdapterAway) {
    StartUtility(true);
    ASSERT_TRUE(WaitFor([&] { return !Visible() && TraySetOnScreen() >= 1; }, 4s));
    ASSERT_EQ(SimCommand("wzc 1").substr(0, 2), "ok");
    EXPECT_TRUE(WaitForTraySet(10, 3s)) << "the prohibition sign; shown " << TraySetOnScreen();

    ::PostMessageA(window, WM_COMMAND, ID_TRAY_OPEN, 0);
    HWND box = WaitForOwnedMessageBox(window, 3s);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Wireless LAN is Controlled by the Windows Zero Configuration");
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 2s));
    EXPECT_FALSE(Visible());

    ASSERT_EQ(SimCommand("wzc 0").substr(0, 2), "ok");
    EXPECT_TRUE(WaitFor([&] { const int set = TraySetOnScreen(); return !Visible() && set >= 1 && set <= 9; }, 3s))
        << "shown " << TraySetOnScreen();
    EXPECT_TRUE(OpenWithin(2s));
}

TEST_F(ShellEndToEnd, PagesSwitchAndCloseHidesToTheTray) {
    StartUtility(true);
    ASSERT_TRUE(OpenWithin(4s));
    struct Step {
        int label;
        int controlOnPage;
    };
    const Step steps[] = {{IDC_NAV_CONFIGURATION, IDC_CFG_REGION}, {IDC_NAV_ENCRYPTION, IDC_WEP_PASSPHRASE},
                          {IDC_NAV_SITE_SURVEY, IDC_SITE_LIST},    {IDC_NAV_PROFILE, IDC_PROF_LOAD},
                          {IDC_NAV_ABOUT, IDC_ABOUT_MAC},          {IDC_NAV_LINK_INFO, IDC_LI_RESCAN}};
    for (const Step& step : steps) {
        HWND label = ::GetDlgItem(window, step.label);
        ::PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        EXPECT_TRUE(WaitFor([&] { return PageShown(window, step.controlOnPage); }, 2s)) << "label " << step.label;
        int shown = 0;
        for (HWND page = ::GetWindow(::GetDlgItem(window, IDC_PAGE_FRAME), GW_CHILD); page;
             page = ::GetWindow(page, GW_HWNDNEXT))
            shown += (::GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) ? 1 : 0;
        EXPECT_EQ(shown, 1) << "one page at a time";
    }

    RECT frame{};
    ::GetWindowRect(window, &frame);
    ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(frame.right - 10, frame.top + 5));
    EXPECT_TRUE(WaitFor([&] { return !Visible(); }, 2s));
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(utility.Running()) << "closing hides the window; the utility keeps running";
    EXPECT_TRUE(OpenWithin(2s));
}

}  // namespace
}  // namespace hx::test
