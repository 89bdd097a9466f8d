// The scenario format: the embedded default world and the errors a scenario file can make.
#include <set>

#include "SimTestSupport.h"

namespace {

TEST(DefaultWorld, HasEveryKindOfNetworkAtDifferentStrengths) {
    using hxsim::Suite::AkmPsk, hxsim::Suite::AkmSae, hxsim::Suite::Akm8021X;
    const hxsim::Scenario world = hxsim::DefaultScenario();
    bool open = false, wep64 = false, tkip = false, aes = false, eap = false, mixed = false, transition = false,
         wpa3 = false, wpa2Eap = false, adhoc = false;
    int wpa2Psk = 0;
    std::set<int> strengths;
    for (const auto& n : world.networks) {
        strengths.insert(n.meanRssi);
        const auto& akms = n.rsn.akms;
        const bool mfpc = n.rsn.capabilities & hxsim::RsnCapability::MfpCapable;
        const bool mfpr = n.rsn.capabilities & hxsim::RsnCapability::MfpRequired;
        if (n.adhoc) adhoc = true;
        else if (!n.privacy) open = true;
        else if (!n.wpa.present && !n.rsn.present) wep64 = n.wepKeys[0].size() == 5;
        else if (n.wpa.present && n.rsn.present) mixed = true;
        else if (n.rsn.present && akms == std::vector<uint8_t>{AkmPsk}) ++wpa2Psk;
        else if (n.rsn.present && akms == std::vector<uint8_t>{AkmPsk, AkmSae}) transition = mfpc && !mfpr;
        else if (n.rsn.present && akms == std::vector<uint8_t>{AkmSae}) wpa3 = mfpr;
        else if (n.rsn.present && akms == std::vector<uint8_t>{Akm8021X}) wpa2Eap = true;
        else if (n.wpa.akms == std::vector<uint8_t>{Akm8021X}) eap = true;
        else if (n.wpa.pairwiseCiphers == std::vector<uint8_t>{hxsim::Suite::Tkip}) tkip = true;
        else if (n.wpa.pairwiseCiphers == std::vector<uint8_t>{hxsim::Suite::Ccmp}) aes = true;
    }
    EXPECT_TRUE(open && wep64 && tkip && aes && eap && mixed && transition && wpa3 && wpa2Eap && adhoc);
    EXPECT_GT(2 * wpa2Psk, static_cast<int>(world.networks.size())) << "a street of today: mostly WPA2-PSK";
    EXPECT_EQ(strengths.size(), world.networks.size());
    ASSERT_EQ(world.nics.size(), 2u);
    EXPECT_FALSE(world.nics[0].isSimulatedAdapter);
    EXPECT_TRUE(world.nics[1].isSimulatedAdapter);
    EXPECT_TRUE(world.adapter.plugged);
}

TEST(ScenarioParser, ReadsEveryKindOfSection) {
    const auto scenario = simtest::ParseOrDie(R"(
# a comment
[world]
wzc-status = 2
seed = 7
[timing]
scan = 100
handshake-timeout = 900
[adapter]
mac = 00-11-22-33-44-55
driver-version = 0x02054317
rates = 82 84 8B 96
factory-region = 0x30
plugged = no
[network]
ssid = Mixed
bssid = 00:00:00:00:00:01
security = wpa-rsn-psk
cipher = tkip ccmp
group-cipher = tkip
psk = 000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
[user]
identity = u
methods = peap
password = p
)");
    EXPECT_EQ(scenario.wzcStatus, 2);
    EXPECT_EQ(scenario.timing.scanMs, 100);
    EXPECT_EQ(scenario.timing.handshakeTimeoutMs, 900);
    EXPECT_EQ(scenario.adapter.mac[5], 0x55);
    EXPECT_EQ(scenario.adapter.driverVersion, 0x02054317u);
    EXPECT_EQ(scenario.adapter.factoryRegion, 0x30);
    EXPECT_FALSE(scenario.adapter.plugged);
    ASSERT_EQ(scenario.networks.size(), 1u);
    const auto& n = scenario.networks[0];
    EXPECT_TRUE(n.wpa.present && n.rsn.present);
    EXPECT_EQ(n.wpa.pairwiseCiphers, (std::vector<uint8_t>{hxsim::Suite::Tkip, hxsim::Suite::Ccmp}));
    EXPECT_EQ(n.wpa.groupCipher, hxsim::Suite::Tkip);
    EXPECT_EQ(n.psk.size(), 32u);
    EXPECT_EQ(scenario.users.size(), 1u);
}

TEST(ScenarioParser, RejectsWhatCannotBeSimulatedAndSaysWhere) {
    const std::pair<const char*, const char*> cases[] = {
        {"[network]\nchannel = 15\n", "line 2"},
        {"[network]\nssid = 0123456789012345678901234567890123\n", "SSID longer than 32"},
        {"[network]\nsecurity = wpa-psk\n", "passphrase or psk"},
        {"[network]\nsecurity = wpa-psk\npassphrase = short\n", "8 to 63"},
        {"[network]\nwep-key0 = 12 34\n", "5, 13 or 29"},
        {"[network]\nsecurity = magic\n", "unknown security"},
        {"[network]\nsecurity = wpa-psk\npassphrase = 12345678\nakm = psk\n", "need an RSN network"},
        {"[network]\nsecurity = rsn-psk\nakm = owe\n", "line 3"},
        {"[network]\nsecurity = rsn-psk\nmfp = sometimes\n", "line 3"},
        {"[network]\nsecurity = rsn-eap\nakm = sae\n", "needs passphrase or psk"},
        {"[adapter]\nmac = 00:11:22\n", "line 2"},
        {"[adapter]\nrates = 1\n", "line 2"},
        {"[nic]\nname = x\n", "needs an instance"},
        {"[user]\nidentity = a\n", "allows no method"},
        {"[gadgets]\n", "unknown section"},
        {"key = value\n", "outside a section"},
        {"[world]\nwzc-status = 3\n", "line 2"},
        {"[world\n", "without ']'"},
        {"[timing]\nscan = -5\n", "line 2"},
    };
    for (const auto& [text, message] : cases) {
        const auto result = hxsim::ParseScenario(text);
        EXPECT_FALSE(result.scenario.has_value()) << text;
        EXPECT_NE(result.error.find(message), std::string::npos) << text << " -> " << result.error;
    }
}

TEST(ControlCommands, RefuseMalformedCommandsAndReportState) {
    hxsim::ResetWorld(true);
    const char* refused[] = {"", "frobnicate", "wzc 7", "signal Nowhere -50", "signal Open-Lobby 10",
                             "drift WEP-Lab 99", "deauth", "fail", "timing scan", "timing warp 5",
                             "wzc-service pause", "group-rekey"};
    for (const char* command : refused) EXPECT_FALSE(hxsim::Control(command).ok) << command;
    EXPECT_TRUE(hxsim::Control("help").ok);
    EXPECT_NE(hxsim::Control("networks").text.find("\"RSN-Only\""), std::string::npos);
    ASSERT_TRUE(hxsim::Control("fail SetWL_SSID always").ok);
    EXPECT_NE(hxsim::Control("show").text.find("faults: SetWL_SSID=always"), std::string::npos);
    ASSERT_TRUE(hxsim::Control("fail clear").ok);
    EXPECT_NE(hxsim::Control("show").text.find("faults: none"), std::string::npos);
}

}  // namespace
