// A join that keeps failing is told once, in a balloon over the tray icon: a wrong pass
// phrase against the access point gives it, a click on it opens the Encryption page; the
// right pass phrase gives none.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/win/e2e_journeys/PageJourney.h"
#include "trayicon/win32/TrayIcon.h"

namespace hx::test {
namespace {

class JoinFailureBalloon : public PageJourney {};

bool BalloonShown(const std::string& text) {
    const auto texts = BalloonTextsOnScreen();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST_F(JoinFailureBalloon, AWrongPassphraseIsToldOnceAndTheRightOneNever) {
    // The access point refuses a wrong key sooner than by default, and the adapter rejoins sooner.
    ScenarioFile scenario;
    ASSERT_TRUE(scenario.Append("[timing]\nhandshake-timeout = 2500\nreconnect = 1000").Install("journey_balloon"));
    SeedWpaPsk(kWpaTkipSsid, kWpaTkipPassphrase, 4);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(Authorised(kWpaTkipSsid, 30s)) << SimCommand("events");
    // As long as three refusals of a wrong pass phrase take here: no balloon.
    const bool anyBalloon = WaitFor([] { return !BalloonTextsOnScreen().empty(); }, 16s);
    EXPECT_FALSE(anyBalloon) << "the right pass phrase gives no balloon";
    EXPECT_EQ(SimState("port.authorised"), "yes");

    ASSERT_TRUE(OpenFromTray(window, 5s));
    ASSERT_TRUE(Show(IDC_NAV_ENCRYPTION, EncryptionPage()));
    SetControlText(EncryptionPage(), IDC_WEP_PASSPHRASE, "not-the-passphrase");
    ASSERT_NO_FATAL_FAILURE(ApplyEncryption());
    ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(1, 1));   // the close button: back to the tray
    ASSERT_TRUE(WaitFor([&] { return !Visible(); }, 3s));

    const std::string expected = std::string("Could not join ") + kWpaTkipSsid + ": the key or password may be wrong.";
    const auto applied = std::chrono::steady_clock::now();
    ASSERT_TRUE(WaitFor([&] { return BalloonShown(expected); }, 60s))
        << "no balloon; on screen: " << BalloonTextsOnScreen().size() << "; " << SimState("counters");
    std::printf("balloon %lld s after Apply\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(
                                                   std::chrono::steady_clock::now() - applied).count()));
    EXPECT_GE(CountAfter(SimState("counters"), "deauthentications"), 3) << "told after the third refusal";
    EXPECT_EQ(SimState("keys.installed"), "none");
    if (std::getenv("HX_BALLOON_PAUSE") != nullptr) std::this_thread::sleep_for(5s);   // time for a screenshot

    // What the shell sends when the balloon is clicked.
    ::PostMessageA(window, win::TrayIcon::kCallbackMessage, win::TrayIcon::kIconId, NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(WaitFor([&] { return Visible() && InFront(EncryptionPage()); }, 3s)) << "opens on the Encryption page";
}

}  // namespace
}  // namespace hx::test
