// Joining each kind of network of the default world from the Site Survey page: the open
// network straight away, the WEP and WPA-PSK networks after Connect's question, with the
// previous keys (Yes) or with new ones typed on the Encryption page (No); a wrong pass
// phrase is refused by the access point.
#include "tests/win/e2e_journeys/PageJourney.h"

namespace hx::test {
namespace {

constexpr const char* kWepQuestion =
    "You have selected to connect to the WEP encryption network.\nDo you want to use the previous WEP setting";
constexpr const char* kWpaQuestion =
    "You have selected to connect to the WPA encryption network.\nDo you want to use the previous WPA setting";

enum class Keys { None, PreviousWep, PreviousPassphrase, NewWepKey, NewPassphrase };

struct JoinCase {
    const char* name;
    const char* ssid;
    Keys keys;
    const char* secret;     // the key stored before, or typed on the Encryption page
    const char* cipher;     // the WPA pairwise cipher expected, or null for no WPA
    bool refused;           // the access point never accepts the key
};

class JoinThroughThePages : public PageJourney, public ::testing::WithParamInterface<JoinCase> {};

TEST_P(JoinThroughThePages, FromTheSiteSurvey) {
    const JoinCase& c = GetParam();
    if (c.keys == Keys::PreviousWep) {
        ASSERT_TRUE(SeedNumber("LastSetting", "WEPKeyLength", 64));
        ASSERT_TRUE(SeedText("LastSetting", "WEPKey64_0", c.secret));
    }
    if (c.keys == Keys::PreviousPassphrase) {
        ASSERT_TRUE(SeedText("LastSetting", "Dot1xPassphrase", c.secret));
    }
    ASSERT_NO_FATAL_FAILURE(StartAndOpen());
    ASSERT_NO_FATAL_FAILURE(ConnectTo(c.ssid));

    const bool wep = c.keys == Keys::PreviousWep || c.keys == Keys::NewWepKey;
    const bool previous = c.keys == Keys::PreviousWep || c.keys == Keys::PreviousPassphrase;
    if (c.keys != Keys::None) {
        EXPECT_EQ(AnswerQuestion(wep ? "Use Previous WEP Setting" : "Use Previous WPA Setting", previous ? IDYES : IDNO),
                  wep ? kWepQuestion : kWpaQuestion);
    }
    if (c.keys == Keys::NewWepKey || c.keys == Keys::NewPassphrase) {
        ASSERT_TRUE(WaitFor([&] { return InFront(EncryptionPage()); }, 3s)) << "No opens the Encryption page";
        HWND page = EncryptionPage();
        if (wep) {
            ChooseListEntry(page, IDC_WEP_KEY_FORMAT, 1);  // Hex
            ChooseListEntry(page, IDC_WEP_KEY_LENGTH, 0);  // 64 bits
            TypeWepKey(IDC_WEP_KEY_0, c.secret);
        } else {
            SetControlText(page, IDC_WEP_PASSPHRASE, c.secret);
        }
        ASSERT_NO_FATAL_FAILURE(ApplyEncryption());
    } else {
        EXPECT_TRUE(WaitFor([&] { return InFront(LinkInfoPage()); }, 3s)) << "Connect ends on Link Info";
    }

    const std::string bssid = SimState("settings.fixed-bssid");
    EXPECT_NE(bssid, "none") << "Connect fixes the adapter on the network's access point";
    if (c.refused) {
        EXPECT_TRUE(WaitFor([] { return CountAfter(SimState("counters"), "deauthentications") > 0; }, 15s))
            << SimCommand("events");
        EXPECT_NE(SimState("port.authorised"), "yes");
        EXPECT_EQ(SimState("keys.installed"), "none");
    } else if (c.cipher != nullptr) {
        EXPECT_TRUE(Authorised(c.ssid, 20s)) << SimCommand("events");
        EXPECT_EQ(SimState("link.pairwise-cipher"), c.cipher);
    } else {
        EXPECT_TRUE(Joined(c.ssid, 10s)) << SimCommand("events");
        if (wep) {
            EXPECT_EQ(SimState("link.wep-keys-match"), "yes");
        }
    }
    if (!c.refused) {
        // The Link Info page shows the access point the adapter was fixed on.
        std::string dashed = bssid;
        for (char& ch : dashed) ch = ch == ':' ? '-' : ch;
        HWND status = ::GetDlgItem(LinkInfoPage(), IDC_LI_STATUS);
        EXPECT_TRUE(WaitFor([&] { return Text(status) == "Associated BSSID = " + dashed; }, 5s)) << Text(status);
        EXPECT_EQ(Text(::GetDlgItem(LinkInfoPage(), IDC_LI_SSID)), c.ssid);
    }
    EXPECT_EQ(StoredText("LastSetting", "SSID"), c.ssid);
    if (c.keys == Keys::NewWepKey) {
        EXPECT_EQ(StoredText("LastSetting", "WEPKey64_0"), "12 34 56 78 90");
        EXPECT_EQ(StoredNumber("", "WepKeyFormat"), 1u) << "Apply keeps the key format";
    }
    if (c.keys == Keys::NewPassphrase) {
        EXPECT_EQ(StoredText("LastSetting", "Dot1xPassphrase"), c.secret);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Journeys, JoinThroughThePages,
    ::testing::Values(JoinCase{"Open", "Open-Lobby", Keys::None, "", nullptr, false},
                      JoinCase{"WepWithTheKeyTyped", "WEP-Lab", Keys::NewWepKey, "1234567890", nullptr, false},
                      JoinCase{"WepWithThePreviousKey", "WEP-Lab", Keys::PreviousWep, "12 34 56 78 90", nullptr, false},
                      JoinCase{"TkipWithThePreviousPassphrase", "WPA-TKIP-Home", Keys::PreviousPassphrase,
                               "tkip-passphrase", "tkip", false},
                      JoinCase{"AesWithThePassphraseTyped", "WPA-AES-Office", Keys::NewPassphrase, "aes-passphrase",
                               "ccmp", false},
                      JoinCase{"AesWithAWrongPassphrase", "WPA-AES-Office", Keys::NewPassphrase, "not-the-passphrase",
                               "ccmp", true}),
    [](const ::testing::TestParamInfo<JoinCase>& info) { return info.param.name; });

}  // namespace
}  // namespace hx::test
