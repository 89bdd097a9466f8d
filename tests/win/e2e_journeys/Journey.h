// What every journey shares: the built utility started from a known registry, driven from
// outside, and ended through its tray menu.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "resources/resource.h"
#include "tests/win/common/ConsoleProgram.h"
#include "tests/win/common/RegistryProbe.h"
#include "tests/win/common/SimulatorProbe.h"
#include "tests/win/common/TrayProbe.h"
#include "tests/win/common/UtilityProcess.h"
#include "tests/win/common/WindowProbe.h"

namespace hx::test {

using namespace std::chrono_literals;

// Exit is prompt when it cuts the authentication worker's waits short. One that waited them
// out would take the handshake's or the EAP exchange's timeout (30 s and more in these
// worlds), or for ever with a message up; ten seconds tells the two apart on a loaded
// machine too.
inline constexpr auto kPromptExit = 10s;

// The default world's networks and their keys.
inline constexpr const char* kWpaTkipSsid = "WPA-TKIP-Home";
inline constexpr const char* kWpaTkipPassphrase = "tkip-passphrase";

class Journey : public ::testing::Test {
protected:
    void SetUp() override { ClearUtilityRegistry(); }
    void TearDown() override {
        if (utility.Running()) {
            if (window != nullptr) ::PostMessageA(window, WM_COMMAND, ID_TRAY_EXIT, 0);
            if (!utility.WaitForExit(5s)) utility.Kill();
        }
        ClearUtilityRegistry();
    }

    // Starts the utility and finds its window.
    void Start() {
        ASSERT_TRUE(utility.Start());
        window = utility.WaitForMainWindow(5s);
        ASSERT_NE(window, nullptr);
    }
    bool Visible() const { return ::IsWindowVisible(window) != FALSE; }
    // Control ids repeat across pages: each page is told by one control of its own class.
    HWND LinkInfoPage() const { return PageWith(window, IDC_LI_QUALITY_METER, "msctls_progress32"); }
    HWND AboutPage() const { return PageWith(window, IDC_ABOUT_DRIVER_VERSION, "Edit"); }
    // The page in front of the frame, whether or not the window itself is shown.
    static bool InFront(HWND page) {
        return page != nullptr && (::GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    // The tray shows this set while the window (which lies over the tray here) is hidden.
    bool WaitForTraySet(int set, std::chrono::milliseconds limit) {
        return WaitFor([&] { return !Visible() && TraySetOnScreen() == set; }, limit);
    }
    bool WaitForSim(const std::string& key, const std::string& value, std::chrono::milliseconds limit) {
        return WaitFor([&] { return SimState(key) == value; }, limit);
    }
    // "Exit" from the tray menu; how long the process took to end, or -1 ms if it did not.
    std::chrono::milliseconds ExitThroughTray() {
        const auto asked = std::chrono::steady_clock::now();
        ::PostMessageA(window, WM_COMMAND, ID_TRAY_EXIT, 0);
        if (!utility.WaitForExit(10s)) return std::chrono::milliseconds(-1);
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - asked);
    }

    // Joins that ended without keys since the utility started, as hxctl's status tells.
    static long long FailedJoins() {
        const ConsoleRun status = RunConsole(ProgramCommand("hxctl.exe", "-t status"), "", 30s);
        return std::atoll(ReportValue(status.out, "failed-joins").c_str());
    }
    // Waits (asking every second) for at least this many; `balloon` is set when a balloon
    // showed meanwhile.
    static bool WaitForFailedJoins(long long count, std::chrono::milliseconds limit, bool& balloon) {
        return WaitFor([&] {
            balloon = balloon || !BalloonTextsOnScreen().empty();
            if (FailedJoins() >= count) return true;
            ::Sleep(1000);
            return false;
        }, limit);
    }

    // A last setting for a WPA-PSK (or, with 7, WPA2-PSK) network, as the Encryption page would
    // have left it.
    static void SeedWpaPsk(const std::string& ssid, const std::string& passphrase, int wepStatus,
                           unsigned long authenticationMode = 4) {
        ASSERT_TRUE(SeedNumber("LastSetting", "NetworkType", 1));
        ASSERT_TRUE(SeedNumber("LastSetting", "AuthenticationMode", authenticationMode));
        ASSERT_TRUE(SeedNumber("LastSetting", "WEPStatus", static_cast<unsigned long>(wepStatus)));
        ASSERT_TRUE(SeedText("LastSetting", "SSID", ssid));
        ASSERT_TRUE(SeedText("LastSetting", "Dot1xPassphrase", passphrase));
    }

    UtilityProcess utility;
    HWND window = nullptr;
};

}  // namespace hx::test
