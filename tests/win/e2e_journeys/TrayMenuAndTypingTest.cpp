// The window opened and the utility ended through the tray icon's real pop-up menu, and a
// secret typed key by key into the Encryption page: the character filter of a hexadecimal
// key box refuses what is not a hex digit, and the key or pass phrase typed joins the network.
#include "tests/win/e2e_journeys/PageJourney.h"

namespace hx::test {
namespace {

struct TypingCase {
    const char* name;
    const char* ssid;
    int authenticationMode;
    int wepStatus;
    int box;              // the box typed into
    const char* typed;    // key by key
    const char* shown;    // what the box holds afterwards
};

class TrayMenuAndTyping : public PageJourney, public ::testing::WithParamInterface<TypingCase> {
protected:
    // A right click on the tray icon, then this item of the menu chosen with the
    // keyboard. False when no menu came up or it did not go away.
    bool ChooseFromTrayMenu(TrayMenuItem item) {
        HWND menu = OpenTrayMenu(window, utility.ProcessId());
        if (menu == nullptr) return false;
        ChooseTrayMenuItem(menu, item);
        return WaitFor([&] { return VisibleMenuOf(utility.ProcessId()) == nullptr; }, 3s);
    }
    // "Open" once the tray icon shows the adapter (no longer crossed out), as a user waits.
    bool OpenThroughTrayMenu() {
        if (!WaitFor([&] { return !Visible() && TraySetOnScreen() > 0; }, 15s)) return false;
        return WaitFor([&] { return ChooseFromTrayMenu(TrayMenuItem::Open) && WaitFor([&] { return Visible(); }, 500ms); }, 5s);
    }
    // A click into the box (it takes the focus), then one posted character after another, as
    // the keyboard delivers them to the utility's message loop.
    void Type(HWND page, int id, const std::string& text) {
        HWND box = ::GetDlgItem(page, id);
        ::PostMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::PostMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        for (const char c : text) ::PostMessageA(box, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
};

TEST_P(TrayMenuAndTyping, OpenTypeApplyAndExit) {
    const TypingCase& c = GetParam();
    // A last setting for the network with a key it refuses: nothing is joined before the typing.
    ASSERT_TRUE(SeedNumber("", "WepKeyFormat", 1));
    ASSERT_TRUE(SeedNumber("LastSetting", "NetworkType", 1));
    ASSERT_TRUE(SeedText("LastSetting", "SSID", c.ssid));
    ASSERT_TRUE(SeedNumber("LastSetting", "AuthenticationMode", static_cast<unsigned long>(c.authenticationMode)));
    ASSERT_TRUE(SeedNumber("LastSetting", "WEPStatus", static_cast<unsigned long>(c.wepStatus)));
    ASSERT_TRUE(SeedNumber("LastSetting", "WEPKeyLength", 64));
    ASSERT_TRUE(SeedText("LastSetting", "Dot1xPassphrase", ""));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(OpenThroughTrayMenu()) << "Open from the tray menu never showed the window";

    ASSERT_TRUE(Show(IDC_NAV_ENCRYPTION, EncryptionPage()));
    Type(EncryptionPage(), c.box, c.typed);
    HWND box = ::GetDlgItem(EncryptionPage(), c.box);
    EXPECT_TRUE(WaitFor([&] { return Text(box) == c.shown; }, 3s)) << Text(box);
    ASSERT_NO_FATAL_FAILURE(ApplyEncryption());
    EXPECT_TRUE(c.wepStatus == 0 ? Joined(c.ssid, 15s) && SimState("link.wep-keys-match") == "yes"
                                 : Authorised(c.ssid, 20s))
        << SimCommand("events");

    ASSERT_TRUE(ChooseFromTrayMenu(TrayMenuItem::Exit)) << "no tray menu for Exit";
    EXPECT_TRUE(utility.WaitForExit(10s)) << "Exit from the tray menu ends the utility";
}

INSTANTIATE_TEST_SUITE_P(
    Journeys, TrayMenuAndTyping,
    ::testing::Values(
        // Shared-key authentication admits only the network's own key: "12 34 56 78 90".
        TypingCase{"WepKeyWithRefusedCharacters", "WEP-Lab", 1, 0, IDC_WEP_KEY_0, "12g34 56x78-90", "1234567890"},
        TypingCase{"PassPhrase", "WPA-AES-Office", 4, 6, IDC_WEP_PASSPHRASE, "aes-passphrase", "aes-passphrase"}),
    [](const ::testing::TestParamInfo<TypingCase>& info) { return info.param.name; });

}  // namespace
}  // namespace hx::test
