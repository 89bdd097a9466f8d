// A join that keeps failing is told once, in a balloon over the tray icon, and a click on it
// opens the Encryption page; the right pass phrase gives none.
#include <cstdlib>
#include <thread>

#include "tests/win/e2e_journeys/PageJourney.h"
#include "trayicon/win32/TrayIcon.h"

namespace hx::test {
namespace {

class JoinFailureBalloon : public PageJourney {};

TEST_F(JoinFailureBalloon, AWrongPassphraseIsToldAndTheRightOneNever) {
    ScenarioFile scenario;   // a wrong key refused, and the adapter back, sooner than by default
    ASSERT_TRUE(scenario.Append("[timing]\nhandshake-timeout = 2500\nreconnect = 1000").Install("journey_balloon"));
    SeedWpaPsk(kWpaTkipSsid, kWpaTkipPassphrase, 4);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(Authorised(kWpaTkipSsid, 30s)) << SimCommand("events");
    // Longer than a wrong pass phrase takes to be told (below).
    EXPECT_TRUE(StaysFalse([] { return !BalloonTextsOnScreen().empty(); }, 16s)) << "the right pass phrase";

    ASSERT_TRUE(OpenFromTray(window, 5s));
    ASSERT_TRUE(Show(IDC_NAV_ENCRYPTION, EncryptionPage()));
    SetControlText(EncryptionPage(), IDC_WEP_PASSPHRASE, "not-the-passphrase");
    ASSERT_NO_FATAL_FAILURE(ApplyEncryption());
    ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(1, 1));   // back to the tray
    const std::vector<std::string> told{std::string("Could not join ") + kWpaTkipSsid + ": the key or password may be wrong."};
    const auto applied = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitFor([&] { return BalloonTextsOnScreen() == told; }, 60s)) << SimState("counters");
    std::printf("balloon %lld s after Apply\n",
                static_cast<long long>((std::chrono::steady_clock::now() - applied) / 1s));
    if (std::getenv("HX_BALLOON_PAUSE") != nullptr) std::this_thread::sleep_for(5s);   // for a screenshot

    // What the shell sends for a click on the balloon (Wine's tray sends none).
    ::PostMessageA(window, win::TrayIcon::kCallbackMessage, win::TrayIcon::kIconId, NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(WaitFor([&] { return Visible() && InFront(EncryptionPage()); }, 3s));
}

// A setting for a network out of range: the worker waits half a minute for a link, then
// ends by itself. Nothing says the key is wrong.
TEST_F(JoinFailureBalloon, ANetworkOutOfRangeIsNotBlamedOnTheKey) {
    ScenarioFile scenario;
    ASSERT_TRUE(scenario.Replace("rssi = -47\n", "rssi = -97\ndrift = 0\n").Install("journey_out_of_range"));
    SeedWpaPsk(kWpaTkipSsid, kWpaTkipPassphrase, 4);
    ASSERT_NO_FATAL_FAILURE(Start());
    bool told = false;
    ASSERT_TRUE(WaitForFailedJoins(1, 120s, told));
    told = told || WaitFor([] { return !BalloonTextsOnScreen().empty(); }, 5s);
    EXPECT_FALSE(told) << "a balloon blamed the key";
}

// WEP with shared-key authentication and a key that is not the network's: the access point
// refuses the authentication, which the adapter reports; told once.
TEST_F(JoinFailureBalloon, AWrongSharedWepKeyIsTold) {
    ASSERT_TRUE(SeedNumber("LastSetting", "NetworkType", 1));
    ASSERT_TRUE(SeedNumber("LastSetting", "AuthenticationMode", 1));
    ASSERT_TRUE(SeedNumber("LastSetting", "WEPStatus", 0));
    ASSERT_TRUE(SeedNumber("LastSetting", "WEPKeyLength", 64));
    ASSERT_TRUE(SeedText("LastSetting", "WEPKey64_0", "11 22 33 44 55"));
    ASSERT_TRUE(SeedText("LastSetting", "SSID", "WEP-Lab"));
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::vector<std::string> told{"Could not join WEP-Lab: the key or password may be wrong."};
    EXPECT_TRUE(WaitFor([&] { return BalloonTextsOnScreen() == told; }, 30s)) << SimCommand("events");
}

}  // namespace
}  // namespace hx::test
