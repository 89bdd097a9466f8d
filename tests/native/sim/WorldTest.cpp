// The simulated adapter through the library's exports: discovery, every setter's
// validation, association and what follows it, losing the link, unplugging, regions.
#include <array>
#include <atomic>
#include <thread>

#include "SimTestSupport.h"
#include "adapter/LittleEndian.h"
#include "sim/EapolTransport.h"
#include "sim/core/SignalDrift.h"

namespace {

using simtest::SimFixture;

TEST(Discovery, TheDefaultWorldListsADecoyAndTheAdapterWhichOpens) {
    hxsim::ResetWorld(true);
    std::vector<hx::AdapterListEntry> list(100);
    ASSERT_EQ(CreateNICAdapterList(list.data(), 100), 2);
    char value[256] = {};
    unsigned long size = sizeof value;
    const std::string decoy = std::string(simtest::kClassKey) + list[0].instanceKey;
    ASSERT_EQ(QueryHLMReg(decoy.c_str(), "MatchingDeviceId", value, &size), 0);
    EXPECT_STRNE(value, "usb\\vid_4856&pid_0088");
    hx::AdapterHandle record{};
    EXPECT_TRUE(simtest::OpenLikeTheUtility(record));
    EXPECT_NE(record.deviceHandle, -1);
    EXPECT_EQ(std::string(record.instanceKey), "0007");
}

TEST(Discovery, RegistryReadsHonourTheBufferSizeAndTheKeyPath) {
    hxsim::ResetWorld(true);
    const std::string key = std::string(simtest::kClassKey) + "0007";
    char small[8] = {};
    unsigned long size = sizeof small;
    EXPECT_EQ(QueryHLMReg(key.c_str(), "MatchingDeviceId", small, &size), -1);
    EXPECT_EQ(size, sizeof("usb\\vid_4856&pid_0088"));
    char value[256];
    size = sizeof value;
    EXPECT_EQ(QueryHLMReg("SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0099",
                          "MatchingDeviceId", value, &size), -1);
    EXPECT_EQ(QueryHLMReg("System\\CurrentControlSet\\Services\\Class\\Net\\0007", "MatchingDeviceId", value, &size), -1);
    EXPECT_EQ(QueryHLMReg(key.c_str(), "NoSuchValue", value, &size), -1);
    EXPECT_EQ(QueryWL_IsWindows95(), 0);
}

TEST(Discovery, TwoMatchingAdaptersTheFirstThatOpensIsUsed) {
    const auto scenario = simtest::ParseOrDie(R"(
[nic]
name = \DEVICE\{BROKEN}
instance = 0003
device-id = USB\VID_4856&PID_0088
opens = no
[nic]
name = \DEVICE\{GOOD}
instance = 0004
device-id = usb\vid_4856&pid_0088
adapter = yes
)");
    hxsim::ResetWorld(scenario, true);
    hx::AdapterHandle record{};
    ASSERT_TRUE(simtest::OpenLikeTheUtility(record));
    EXPECT_EQ(std::string(record.instanceKey), "0004");
}

TEST(Identity, RatesVersionAndMacAreTheScenariosAdapters) {
    hxsim::ResetWorld(true);
    hx::AdapterHandle record{};
    ASSERT_TRUE(simtest::OpenLikeTheUtility(record));
    unsigned char rates[16] = {};
    ASSERT_EQ(QueryWL_SupportedRate(&record, rates), 0);
    EXPECT_EQ(rates[0], 0x82);  // basic rates carry bit 7, as the adapter reports them
    EXPECT_EQ(rates[11], 0x6C);
    EXPECT_EQ(rates[12], 0);
    EXPECT_EQ(QueryWL_DriverVersion(&record), 0x01024C15);
    unsigned char mac[6] = {};
    ASSERT_EQ(GetNICAdapterMAC(&record, mac), 0);
    EXPECT_EQ(mac[0], 0x00);
    EXPECT_EQ(mac[5], 0x01);
}

// Every setter refuses what a driver would refuse and takes what it accepts.
TEST_F(SimFixture, SettersValidateTheirArguments) {
    struct Case {
        const char* what;
        int (*call)(hx::AdapterHandle*, int);
        int value;
        int expected;
    };
    const Case cases[] = {
        {"ad hoc", SetWL_NetworkType, 0, 0},
        {"infrastructure", SetWL_NetworkType, 1, 0},
        {"auto network type", SetWL_NetworkType, 2, -1},
        {"auth WPA-PSK", SetWL_AuthenticationMode, 4, 0},
        {"auth 5", SetWL_AuthenticationMode, 5, -1},
        {"auth WPA2-PSK", SetWL_AuthenticationMode, 7, 0},
        {"auth 8", SetWL_AuthenticationMode, 8, -1},
        {"auth -1", SetWL_AuthenticationMode, -1, -1},
        {"channel 14", SetWL_Channel, 14, 0},
        {"channel 0", SetWL_Channel, 0, -1},
        {"channel 15", SetWL_Channel, 15, -1},
        {"WEP", SetWL_WEPStatus, 0, 0},
        {"AES", SetWL_WEPStatus, 6, 0},
        {"key absent status", SetWL_WEPStatus, 2, -1},
        {"encryption 5", SetWL_WEPStatus, 5, -1},
        {"auto preamble", SetWL_PreambleMode, 2, 0},
        {"preamble 3", SetWL_PreambleMode, 3, -1},
        {"fast power save", SetWL_PSMode, 2, 0},
        {"power save 3", SetWL_PSMode, 3, -1},
        {"region Japan", SetWL_OperationRegionCode, 0x40, 0},
        {"region factory", SetWL_OperationRegionCode, 0, 0},
        {"region 0x35", SetWL_OperationRegionCode, 0x35, -1},
        {"plan Israel", SetWL_RegionAndSupportChannel, 0x50, 0},
        {"plan 0x11", SetWL_RegionAndSupportChannel, 0x11, -1},
        {"own OIDs", SetWL_HXUseHXOidState, 1, 0},
        {"own OIDs 2", SetWL_HXUseHXOidState, 2, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.call(&adapter, c.value), c.expected) << c.what;

    const char ssid33[] = "0123456789012345678901234567890123";
    EXPECT_EQ(SetWL_SSID(&adapter, ssid33, 33), -1);
    EXPECT_EQ(SetWL_SSID(&adapter, ssid33, 32), 0);
    EXPECT_EQ(SetWL_SSID(&adapter, ssid33, -1), -1);
    EXPECT_EQ(SetWL_SSID(&adapter, nullptr, 0), -1);
    const unsigned char key[29] = {1, 2, 3, 4, 5};
    EXPECT_EQ(SetWL_WriteKey(&adapter, 3, 2, 1, key), 0);
    EXPECT_EQ(SetWL_WriteKey(&adapter, 4, 0, 0, key), -1);
    EXPECT_EQ(SetWL_WriteKey(&adapter, 0, 3, 0, key), -1);
    EXPECT_EQ(SetWL_WriteKey(&adapter, 0, 0, 0, nullptr), -1);
    const unsigned char supported[16] = {0x02, 0x6C};
    const unsigned char unsupported[16] = {0x02, 0x0D};
    EXPECT_EQ(SetWL_DesiredRate(&adapter, supported), 0);
    EXPECT_EQ(SetWL_DesiredRate(&adapter, unsupported), -1);
}

TEST_F(SimFixture, RegionCodeZeroMeansTheFactoryRegion) {
    ASSERT_EQ(SetWL_OperationRegionCode(&adapter, 0x40), 0);
    EXPECT_EQ(QueryWL_OperationRegionCode(&adapter), 0x40);
    ASSERT_EQ(SetWL_OperationRegionCode(&adapter, 0), 0);
    EXPECT_EQ(QueryWL_OperationRegionCode(&adapter), 0x10);
}

// Every region code of the utility's region table gives its own channel plan.
TEST_F(SimFixture, RegionsGiveTheirChannels) {
    const std::pair<int, std::vector<int>> plans[] = {
        {0x00, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {0x10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {0x20, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {0x30, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
        {0x31, {10, 11}},
        {0x32, {10, 11, 12, 13}},
        {0x40, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {0x50, {3, 4, 5, 6, 7, 8, 9}},
    };
    for (const auto& [region, channels] : plans) {
        ASSERT_EQ(SetWL_RegionAndSupportChannel(&adapter, region), 0) << region;
        unsigned char list[14] = {};
        int count = 14;
        ASSERT_EQ(QueryWL_SupportChannel(&adapter, list, &count), 0);
        EXPECT_EQ(std::vector<int>(list, list + count), channels) << "region " << region;
    }
    unsigned char list[14];
    int tooFew = 3;
    EXPECT_EQ(QueryWL_SupportChannel(&adapter, list, &tooFew), -1);
}

// Which network the adapter joins, by its settings.
TEST_F(SimFixture, AssociationFollowsTheSettings) {
    struct Case {
        const char* ssid;
        int type, auth, wep;
        bool associates;
        const char* bssid;  // expected when associated
    };
    const Case cases[] = {
        {"Open-Lobby", 1, 0, 1, true, "06:A0:88:00:00:01"},     // the stronger of the two
        {"Open-Lobby", 1, 0, 0, false, nullptr},                // WEP on, network open
        {"Open-Lobby", 1, 1, 1, false, nullptr},                // shared key on an open network
        {"Open-Lobby", 0, 0, 1, true, "own cell"},              // ad hoc never joins an AP
        {"WEP-Lab", 1, 0, 0, true, "06:A0:88:00:00:02"},        // open auth: keys not checked
        {"WEP-Lab", 1, 0, 1, false, nullptr},                   // no WEP
        {"WPA-TKIP-Home", 1, 4, 4, true, "06:A0:88:00:00:03"},
        {"WPA-TKIP-Home", 1, 4, 6, true, "06:A0:88:00:00:03"},  // AES not offered: TKIP taken
        {"WPA-TKIP-Home", 1, 3, 4, false, nullptr},             // 802.1X on a PSK network
        {"WPA-TKIP-Home", 1, 2, 0, false, nullptr},             // WEP on a WPA network
        {"WPA-AES-Office", 1, 4, 6, true, "06:A0:88:00:00:04"},
        {"WPA-AES-Office", 1, 4, 1, true, "06:A0:88:00:00:04"}, // cipher taken from the network
        {"WPA-Enterprise", 1, 3, 4, true, "06:A0:88:00:00:05"},
        {"WPA-Enterprise", 1, 4, 4, false, nullptr},
        {"RSN-Only", 1, 4, 6, false, nullptr},                  // WPA asked for, WPA2 offered
        {"RSN-Only", 1, 2, 0, false, nullptr},
        {"RSN-Only", 1, 7, 6, true, "06:A0:88:00:00:06"},
        {"RSN-Only", 1, 6, 6, false, nullptr},                  // 802.1X on a PSK network
        {"WPA-AES-Office", 1, 7, 6, false, nullptr},            // WPA2 asked for, WPA offered
        {"WPA3-Transition", 1, 7, 6, true, "06:A0:88:00:00:09"},
        {"WPA3-Only", 1, 7, 6, false, nullptr},                 // SAE only
        {"WPA3-Only", 1, 4, 6, false, nullptr},
        {"WPA2-Enterprise", 1, 6, 6, true, "06:A0:88:00:00:0B"},
        {"WPA2-Enterprise", 1, 3, 6, false, nullptr},
        {"AdHoc-Cell", 0, 0, 1, true, "02:48:56:C0:FF:EE"},
        {"AdHoc-Cell", 1, 0, 1, false, nullptr},
        {"AdHoc-Cell", 0, 0, 0, true, "own cell"},              // privacy differs: a cell of its own
        {"Nowhere", 1, 0, 1, false, nullptr},
    };
    for (const Case& c : cases) {
        Join(c.ssid, c.type, c.auth, c.wep);
        const bool associated = QueryWL_ConnectState(&adapter) == 0;
        EXPECT_EQ(associated, c.associates) << c.ssid << " type " << c.type << " auth " << c.auth << " wep " << c.wep;
        if (associated && c.bssid) {
            unsigned char bssid[6];
            ASSERT_EQ(QueryWL_BSSID(&adapter, bssid), 0);
            hxsim::Mac mac;
            std::copy(bssid, bssid + 6, mac.begin());
            if (std::string(c.bssid) == "own cell") {
                EXPECT_NE(hxsim::MacText(mac), "02:48:56:C0:FF:EE");
            } else {
                EXPECT_EQ(hxsim::MacText(mac), c.bssid) << c.ssid;
            }
            EXPECT_EQ(CurrentSsid(), c.ssid);
        }
    }
}

// A mixed network is joined as WPA by the WPA modes and as WPA2 by the WPA2 modes, and the
// association request carries the element of the protocol chosen.
TEST_F(SimFixture, AMixedNetworkIsJoinedByTheProtocolTheModeNames) {
    const struct { int auth; const char* kind; uint8_t elementId; } cases[] = {
        {4, "wpa-psk", 0xDD}, {7, "wpa2-psk", 48}};
    for (const auto& c : cases) {
        Join("Mixed-WPA-WPA2", 1, c.auth, 6);
        ASSERT_EQ(QueryWL_ConnectState(&adapter), 0) << c.auth;
        EXPECT_TRUE(ShowHas(std::string("link.authentication: ") + c.kind)) << Show();
        EXPECT_TRUE(ShowHas("link.pairwise-cipher: ccmp\nlink.group-cipher: tkip")) << Show();
        unsigned char element[257];
        ASSERT_GT(HxSimAssociationElement(&adapter, element, sizeof element), 2);
        EXPECT_EQ(element[0], c.elementId);
    }
}

TEST_F(SimFixture, SharedKeyAuthenticationNeedsTheNetworksKeyAsTransmitKey) {
    const unsigned char right[5] = {0x12, 0x34, 0x56, 0x78, 0x90};
    const unsigned char wrong[5] = {0x12, 0x34, 0x56, 0x78, 0x91};
    struct Case {
        const unsigned char* key;
        int index;   // where the key goes; it is the default key
        int auth;
        bool associates;
    };
    const Case cases[] = {
        {right, 0, 1, true},
        {wrong, 0, 1, false},
        {right, 1, 1, false},   // right bytes, but the network's key 1 is not set
        {wrong, 0, 2, true},    // auto switch falls back to open authentication
        {right, 0, 2, true},
    };
    for (const Case& c : cases) {
        Advance(5000);
        ASSERT_EQ(SetWL_WriteKey(&adapter, c.index, 0, 1, c.key), 0);
        Join("WEP-Lab", 1, c.auth, 0);
        EXPECT_EQ(QueryWL_ConnectState(&adapter) == 0, c.associates) << "index " << c.index << " auth " << c.auth;
        for (int i = 0; i < 4; ++i) {
            const unsigned char none[5] = {};
            SetWL_WriteKey(&adapter, i, 0, 0, none);
        }
    }
    ASSERT_EQ(SetWL_WriteKey(&adapter, 0, 0, 1, right), 0);
    Join("WEP-Lab", 1, 2, 0);
    EXPECT_TRUE(ShowHas("link.authentication: shared"));
    EXPECT_TRUE(ShowHas("link.wep-keys-match: yes"));
}

TEST_F(SimFixture, AFixedBssidNarrowsTheChoice) {
    const unsigned char weak[6] = {0x06, 0xA0, 0x88, 0x00, 0x00, 0x11};
    ASSERT_EQ(SetWL_BSSID(&adapter, weak), 0);
    Join("Open-Lobby", 1, 0, 1);
    unsigned char bssid[6] = {};
    ASSERT_EQ(QueryWL_BSSID(&adapter, bssid), 0);
    EXPECT_EQ(bssid[5], 0x11);
    EXPECT_EQ(QueryWL_Channel(&adapter), 11);

    const unsigned char absent[6] = {0x06, 0xA0, 0x88, 0x00, 0x00, 0x77};
    ASSERT_EQ(SetWL_BSSID(&adapter, absent), 0);
    Join("Open-Lobby", 1, 0, 1);
    EXPECT_NE(QueryWL_ConnectState(&adapter), 0);

    // A BSSID of another network is released when a different SSID is asked for.
    ASSERT_EQ(SetWL_BSSID(&adapter, weak), 0);
    Join("WEP-Lab", 1, 0, 0);
    EXPECT_EQ(QueryWL_ConnectState(&adapter), 0);
    EXPECT_EQ(CurrentSsid(), "WEP-Lab");

    // Set while another SSID is in force, as Connect sets it before the setting, it holds
    // through the join attempts made until its own SSID comes.
    Join("Nowhere", 1, 0, 1);
    ASSERT_EQ(SetWL_BSSID(&adapter, weak), 0);
    Advance(1000);
    Join("Open-Lobby", 1, 0, 1);
    ASSERT_EQ(QueryWL_BSSID(&adapter, bssid), 0);
    EXPECT_EQ(bssid[5], 0x11);
}

TEST_F(SimFixture, AnAdHocSsidWithoutACellStartsOneOnTheSetChannel) {
    ASSERT_EQ(SetWL_Channel(&adapter, 4), 0);
    Join("MyOwnCell", 0, 0, 1);
    EXPECT_EQ(QueryWL_ConnectState(&adapter), 0);
    EXPECT_EQ(QueryWL_Channel(&adapter), 4);
    EXPECT_EQ(QueryWL_NetworkType(&adapter), 0);
    unsigned char bssid[6] = {};
    ASSERT_EQ(QueryWL_BSSID(&adapter, bssid), 0);
    EXPECT_EQ(bssid[0] & 0x03, 0x02);  // locally administered, not a group address
}

TEST_F(SimFixture, AssociationTakesTimeAndTheLinkReportsWhatTheWorldSays) {
    ASSERT_EQ(SetWL_NetworkType(&adapter, 1), 0);
    ASSERT_EQ(SetWL_AuthenticationMode(&adapter, 0), 0);
    ASSERT_EQ(SetWL_WEPStatus(&adapter, 1), 0);
    ASSERT_EQ(SetWL_SSID(&adapter, "Open-Lobby", 10), 0);
    EXPECT_EQ(QueryWL_ConnectState(&adapter), 1);
    EXPECT_EQ(QueryWL_BSSID(&adapter, std::array<unsigned char, 6>{}.data()), -1);
    Advance(1000);
    ASSERT_EQ(QueryWL_ConnectState(&adapter), 0);
    EXPECT_EQ(QueryWL_Channel(&adapter), 1);
    const int rssi = QueryWL_RSSI(&adapter);
    EXPECT_GE(rssi, -52 - 4);
    EXPECT_LE(rssi, -52 + 4);
    EXPECT_EQ(QueryWL_CurrentLinkSpeed(&adapter), 54000);
    const int quality = QueryWL_CommQuality(&adapter);
    EXPECT_GT(quality, 50);
    EXPECT_LE(quality, 100);

    // A single fixed rate is the link's rate.
    const unsigned char eleven[16] = {0x16};
    ASSERT_EQ(SetWL_DesiredRate(&adapter, eleven), 0);
    EXPECT_EQ(QueryWL_CurrentLinkSpeed(&adapter), 11000);
}

TEST_F(SimFixture, AWeakSignalSlowsTheLinkAndOutOfRangeDropsIt) {
    Join("Open-Lobby", 1, 0, 1);
    ASSERT_TRUE(hxsim::Control("drift Open-Lobby 0").ok);
    ASSERT_TRUE(hxsim::Control("signal 06:A0:88:00:00:01 -86").ok);
    EXPECT_EQ(QueryWL_CurrentLinkSpeed(&adapter), 11000);
    ASSERT_TRUE(hxsim::Control("signal 06:A0:88:00:00:01 -100").ok);
    Advance(300);
    // Beacons lost: the adapter falls back on the other access point of the same SSID.
    EXPECT_NE(QueryWL_ConnectState(&adapter), 0);
    Advance(3000);
    ASSERT_EQ(QueryWL_ConnectState(&adapter), 0);
    unsigned char bssid[6] = {};
    ASSERT_EQ(QueryWL_BSSID(&adapter, bssid), 0);
    EXPECT_EQ(bssid[5], 0x11);
    // When the first comes back the link stays where it is.
    ASSERT_TRUE(hxsim::Control("signal Open-Lobby -50").ok);
    Advance(3000);
    ASSERT_EQ(QueryWL_BSSID(&adapter, bssid), 0);
    EXPECT_EQ(bssid[5], 0x11);
    // The edge of range moves with the timing command: the second access point is past it now.
    ASSERT_FALSE(hxsim::Control("timing link-loss 5").ok);
    ASSERT_TRUE(hxsim::Control("timing link-loss -70").ok);
    Advance(300);
    EXPECT_NE(QueryWL_ConnectState(&adapter), 0);
}

TEST_F(SimFixture, SettingsThatNoLongerFitDropTheLinkAndTheAdapterRejoinsWhenTheyFitAgain) {
    Join("Open-Lobby", 1, 0, 1);
    ASSERT_EQ(QueryWL_ConnectState(&adapter), 0);
    ASSERT_EQ(SetWL_WEPStatus(&adapter, 0), 0);
    EXPECT_NE(QueryWL_ConnectState(&adapter), 0);
    EXPECT_EQ(CurrentSsid(), "Open-Lobby");  // the wanted SSID while not associated
    ASSERT_EQ(SetWL_WEPStatus(&adapter, 1), 0);
    Advance(1000);
    EXPECT_EQ(QueryWL_ConnectState(&adapter), 0);
}

TEST_F(SimFixture, UnplugFailsEveryCallUntilPluggedAndOpenedAgain) {
    Join("Open-Lobby", 1, 0, 1);
    ASSERT_TRUE(hxsim::Control("unplug").ok);
    unsigned char bytes[16];
    char text[100];
    EXPECT_EQ(QueryWL_ConnectState(&adapter), -1);
    EXPECT_EQ(QueryWL_DriverVersion(&adapter), -1);
    EXPECT_EQ(QueryWL_SupportedRate(&adapter, bytes), -1);
    EXPECT_EQ(QueryWL_SSID(&adapter, text), -1);
    EXPECT_EQ(SetWL_SSID(&adapter, "Open-Lobby", 10), -1);
    EXPECT_EQ(WL_SiteSurveyStart(&adapter), -1);
    std::vector<hx::AdapterListEntry> list(100);
    EXPECT_EQ(CreateNICAdapterList(list.data(), 100), 1);  // only the decoy is left
    hx::AdapterHandle again{};
    EXPECT_FALSE(simtest::OpenLikeTheUtility(again));

    ASSERT_TRUE(hxsim::Control("plug").ok);
    EXPECT_EQ(QueryWL_ConnectState(&adapter), -1);  // the old record stays dead
    ASSERT_TRUE(simtest::OpenLikeTheUtility(again));
    EXPECT_EQ(QueryWL_ConnectState(&again), 1);     // a fresh adapter: nothing set yet
    EXPECT_EQ(QueryWL_OperationRegionCode(&again), 0x10);
}

TEST(BadInput, NullPointersUnknownRecordsAndCallsBeforeOpenFail) {
    hxsim::ResetWorld(true);
    hx::AdapterHandle notOpen{};
    notOpen.deviceHandle = -1;
    hx::AdapterHandle forged{};
    forged.deviceHandle = 0x4D0 + 77;
    unsigned char bytes[16];
    char text[100];
    int count = 14;
    for (hx::AdapterHandle* record : {static_cast<hx::AdapterHandle*>(nullptr), &notOpen, &forged}) {
        EXPECT_EQ(QueryWL_SupportedRate(record, bytes), -1);
        EXPECT_EQ(QueryWL_DriverVersion(record), -1);
        EXPECT_EQ(GetNICAdapterMAC(record, bytes), -1);
        EXPECT_EQ(QueryWL_ConnectState(record), -1);
        EXPECT_EQ(QueryWL_NetworkType(record), -1);
        EXPECT_EQ(QueryWL_Channel(record), -1);
        EXPECT_EQ(QueryWL_CurrentLinkSpeed(record), -1);
        EXPECT_EQ(QueryWL_RSSI(record), -1);
        EXPECT_EQ(QueryWL_CommQuality(record), -1);
        EXPECT_EQ(QueryWL_OperationRegionCode(record), -1);
        EXPECT_EQ(QueryWL_SSID(record, text), -1);
        EXPECT_EQ(QueryWL_BSSID(record, bytes), -1);
        EXPECT_EQ(QueryWL_SupportChannel(record, bytes, &count), -1);
        EXPECT_EQ(SetWL_NetworkType(record, 1), -1);
        EXPECT_EQ(SetWL_SSID(record, "x", 1), -1);
        EXPECT_EQ(SetWL_WriteKey(record, 0, 0, 1, bytes), -1);
        EXPECT_EQ(WL_SiteSurveyStart(record), -1);
        EXPECT_EQ(WL_RetrieveSiteSurveyData(record, bytes, 16), -1);
        EXPECT_EQ(WL_FilteSiteSurveyData(record, bytes), -1);
        EXPECT_EQ(WriteOid(record, hx::kOidAddKey, bytes, 16), -1);
        EXPECT_EQ(QueryWL_CheckWZCStatus(record), -1);
    }
    EXPECT_EQ(HxOpenAdapter(nullptr), 0);
    EXPECT_EQ(HxOpenAdapter(&forged), 0);  // its name is no listed adapter
    EXPECT_EQ(CreateNICAdapterList(nullptr, 100), -1);
    EXPECT_EQ(QueryHLMReg(nullptr, "MatchingDeviceId", text, nullptr), -1);

    hx::AdapterHandle record{};
    ASSERT_TRUE(simtest::OpenLikeTheUtility(record));
    EXPECT_EQ(QueryWL_SSID(&record, nullptr), -1);
    EXPECT_EQ(QueryWL_BSSID(&record, nullptr), -1);
    EXPECT_EQ(QueryWL_SupportChannel(&record, nullptr, &count), -1);
    EXPECT_EQ(QueryWL_SupportChannel(&record, bytes, nullptr), -1);
    EXPECT_EQ(GetNICAdapterMAC(&record, nullptr), -1);
    EXPECT_EQ(QueryWL_SupportedRate(&record, nullptr), -1);
    EXPECT_EQ(SetWL_DesiredRate(&record, nullptr), -1);
    EXPECT_EQ(SetWL_BSSID(&record, nullptr), -1);
    EXPECT_EQ(WL_RetrieveSiteSurveyData(&record, nullptr, 12004), -1);
    EXPECT_EQ(WL_FilteSiteSurveyData(&record, nullptr), -1);
    EXPECT_EQ(WriteOid(&record, hx::kOidAddKey, nullptr, 40), -1);
}

TEST_F(SimFixture, ZeroConfigurationStatusFollowsTheService) {
    EXPECT_EQ(QueryWL_CheckWZCStatus(&adapter), 0);
    ASSERT_TRUE(hxsim::Control("wzc 1").ok);
    EXPECT_EQ(QueryWL_CheckWZCStatus(&adapter), 1);
    EXPECT_EQ(HXStopWZCService(), 0);
    EXPECT_EQ(QueryWL_CheckWZCStatus(&adapter), 0);  // a stopped service controls nothing
    EXPECT_EQ(HXStopWZCService(), -1);               // already stopped
    EXPECT_EQ(HXStartWZCService(), 0);
    EXPECT_EQ(QueryWL_CheckWZCStatus(&adapter), 1);
    ASSERT_TRUE(hxsim::Control("wzc 2").ok);
    EXPECT_EQ(QueryWL_CheckWZCStatus(&adapter), 2);
    EXPECT_TRUE(ShowHas("stopped 1 times, started 1 times"));
}

TEST_F(SimFixture, PlannedFailuresHitTheNamedCallOnlyAsOftenAsAsked) {
    ASSERT_TRUE(hxsim::Control("fail QueryWL_RSSI once").ok);
    EXPECT_EQ(QueryWL_RSSI(&adapter), -1);
    EXPECT_NE(QueryWL_RSSI(&adapter), -1);
    ASSERT_TRUE(hxsim::Control("fail HxOpenAdapter always").ok);
    hx::AdapterHandle other{};
    EXPECT_FALSE(simtest::OpenLikeTheUtility(other));
    EXPECT_FALSE(simtest::OpenLikeTheUtility(other));
    ASSERT_TRUE(hxsim::Control("fail HxOpenAdapter off").ok);
    EXPECT_TRUE(simtest::OpenLikeTheUtility(other));
    ASSERT_TRUE(hxsim::Control("fail CreateNICAdapterList 2").ok);
    std::vector<hx::AdapterListEntry> list(100);
    EXPECT_EQ(CreateNICAdapterList(list.data(), 100), -1);
    EXPECT_EQ(CreateNICAdapterList(list.data(), 100), -1);
    EXPECT_EQ(CreateNICAdapterList(list.data(), 100), 2);
    EXPECT_FALSE(hxsim::Control("fail NoSuchCall once").ok);
    EXPECT_FALSE(hxsim::Control("fail QueryWL_RSSI sometimes").ok);
}

// The signal wanders, but never further than the network's drift from its mean.
TEST(SignalDrift, StaysWithinItsBoundsAndMoves) {
    hxsim::NetworkSpec n;
    n.meanRssi = -70;
    n.driftDb = 5;
    n.bssid = {0x06, 0xA0, 0x88, 0, 0, 9};
    int low = 0, high = -200;
    for (hxsim::Millis t = 0; t < 600000; t += 137) {
        const int s = hxsim::SignalAt(n, 88, t);
        ASSERT_GE(s, -75);
        ASSERT_LE(s, -65);
        low = std::min(low, s);
        high = std::max(high, s);
    }
    EXPECT_LE(low, -73);   // it really wanders over most of its range
    EXPECT_GE(high, -67);
    EXPECT_EQ(hxsim::SignalAt(n, 88, 12345), hxsim::SignalAt(n, 88, 12345));
    n.driftDb = 0;
    EXPECT_EQ(hxsim::SignalAt(n, 88, 12345), -70);
}

}  // namespace

namespace {

// The utility polls from its window thread while its worker calls the library too: every
// answer stays one the library can give, whatever the other thread does meanwhile.
TEST_F(SimFixture, TwoThreadsCallingAtOnceSeeConsistentAnswers) {
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::thread poller([&] {
        while (!stop) {
            const int state = QueryWL_ConnectState(&adapter);
            const int rssi = QueryWL_RSSI(&adapter);
            const int speed = QueryWL_CurrentLinkSpeed(&adapter);
            char ssid[100] = {};
            const int length = QueryWL_SSID(&adapter, ssid);
            if ((state != 0 && state != 1) || rssi < -120 || rssi >= 0 || speed < 0 || speed > 54000 ||
                length < 0 || length > 32)
                ++bad;
        }
    });
    for (int i = 0; i < 300; ++i) {
        const char* ssid = i % 2 ? "Open-Lobby" : "WPA-TKIP-Home";
        SetWL_AuthenticationMode(&adapter, i % 2 ? 0 : 4);
        SetWL_WEPStatus(&adapter, i % 2 ? 1 : 4);
        SetWL_SSID(&adapter, ssid, static_cast<int>(std::strlen(ssid)));
        hxsim::AdvanceClock(700);
        if (i % 7 == 0) hxsim::Control("deauth");
        if (i % 11 == 0) hxsim::Control(i % 22 ? "signal Open-Lobby -95" : "signal Open-Lobby -52");
    }
    stop = true;
    poller.join();
    EXPECT_EQ(bad, 0);
}

}  // namespace

namespace {

TEST_F(SimFixture, TheEncryptionSettingPicksThePairwiseCipherWhereTheNetworkOffersBoth) {
    Start(simtest::DefaultWorldPlus(R"([network]
ssid = Mixed
bssid = 06:A0:88:00:00:31
channel = 2
rssi = -60
security = wpa-psk
cipher = tkip ccmp
group-cipher = tkip
passphrase = mixed-passphrase
)"));
    const std::pair<int, const char*> cases[] = {
        {6, "link.pairwise-cipher: ccmp"}, {4, "link.pairwise-cipher: tkip"}, {1, "link.pairwise-cipher: tkip"}};
    for (const auto& [wep, expected] : cases) {
        Join("Mixed", 1, 4, wep);
        EXPECT_TRUE(ShowHas(expected)) << wep;
        EXPECT_TRUE(ShowHas("link.group-cipher: tkip"));
    }
}

// The air as a pcap file: a header of link type 105, frames until the file's limit, then
// nothing more and the capture ended.
TEST_F(SimFixture, TheCaptureWritesAPcapOfTheAirAndStopsAtItsLimit) {
    const std::string path = ::testing::TempDir() + "hxsim-air.pcap";
    EXPECT_FALSE(hxsim::Control("capture /no/such/folder/air.pcap").ok);
    ASSERT_TRUE(hxsim::WithWorld([&](hxsim::World& w) { return w.StartCapture(path, 1000); }));
    Advance(5000);  // the power-on scan: two dozen beacons, more than 1000 bytes
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    unsigned char header[24] = {};
    const size_t read = std::fread(header, 1, sizeof header, f);
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fclose(f);
    std::remove(path.c_str());
    ASSERT_EQ(read, sizeof header);
    EXPECT_EQ(hx::GetLe32(header), 0xA1B2C3D4u);
    EXPECT_EQ(hx::GetLe32(header + 20), 105u) << "802.11 frames";
    EXPECT_GT(size, 24 + 16);
    EXPECT_LE(size, 1000);
    EXPECT_TRUE(ShowHas("capture: off"));
    EXPECT_NE(hxsim::Control("events").text.find("capture ended at its limit"), std::string::npos);
}

}  // namespace
