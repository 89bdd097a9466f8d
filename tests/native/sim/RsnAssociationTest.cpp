// WPA2 association: the one RSN element the adapter offers a network, and the access
// point's answer to the element a station offers it.
#include "SimTestSupport.h"
#include "sim/core/AssociationRules.h"
#include "sim/core/HexCodec.h"
#include "sim/core/ScenarioValues.h"

namespace {

hxsim::NetworkSpec Network(const std::string& lines) {
    const auto scenario = simtest::ParseOrDie("[network]\nssid = N\npassphrase = 12345678\n" + lines);
    return scenario.networks.at(0);
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string text(3 * bytes.size() + 1, '\0');
    text.resize(static_cast<size_t>(hxsim::BytesToHexText(bytes.data(), text.data(), static_cast<int>(bytes.size()), true)));
    return text;
}

TEST(RsnAssociation, TheAdapterOffersOneSuiteOfEachKindOrStaysAway) {
    hxsim::StationSecurity psk;
    psk.authMode = hxsim::AuthCode::Wpa2Psk;
    hxsim::StationSecurity eap = psk;
    eap.authMode = hxsim::AuthCode::Wpa2;
    const std::string pskCcmpOverTkip = "30 14 01 00 00 0F AC 02 01 00 00 0F AC 04 01 00 00 0F AC 02 00 00";
    const struct { const char* network; hxsim::StationSecurity station; std::string offered, refusal; } cases[] = {
        {"security = rsn-psk\ncipher = tkip ccmp\ngroup-cipher = tkip\n", psk, pskCcmpOverTkip, ""},
        {"security = rsn-psk\ncipher = tkip\n", psk, "30 14 01 00 00 0F AC 02 01 00 00 0F AC 02 01 00 00 0F AC 02 00 00", ""},
        {"security = rsn-eap\ncipher = ccmp\n", eap, "30 14 01 00 00 0F AC 04 01 00 00 0F AC 04 01 00 00 0F AC 01 00 00", ""},
        {"security = rsn-eap\ncipher = ccmp\n", psk, "", "key management differs"},
        {"security = rsn-psk\ncipher = ccmp\nakm = psk sae\nmfp = capable\n", psk,
         "30 14 01 00 00 0F AC 04 01 00 00 0F AC 04 01 00 00 0F AC 02 00 00", ""},
        {"security = rsn-psk\ncipher = ccmp\nakm = sae\nmfp = required\n", psk, "", "key management differs"},
        {"security = rsn-psk\ncipher = ccmp\nakm = psk-sha256\n", psk, "", "key management differs"},
        {"security = rsn-psk\ncipher = ccmp\nmfp = required\n", psk, "",
         "association refused with status 31 (robust management frame policy violation)"},
        {"security = rsn-psk\ncipher = wep104\n", psk, "", "no pairwise cipher the adapter can run"},
    };
    for (const auto& c : cases) {
        const hxsim::Admission a = hxsim::Admit(Network(c.network), c.station);
        EXPECT_EQ(a.admitted, c.refusal.empty()) << c.network;
        EXPECT_EQ(a.refusal, c.refusal) << c.network;
        if (a.admitted) EXPECT_EQ(Hex(a.associationElement), c.offered) << c.network;
    }
}

TEST(RsnAssociation, TheAccessPointRefusesAnElementItDoesNotSupportWithItsStatus) {
    const hxsim::NetworkSpec network = Network("security = rsn-psk\ncipher = ccmp tkip\ngroup-cipher = tkip\n");
    const struct { const char* offered; uint16_t status; } cases[] = {
        {"30 14 01 00 00 0F AC 02 01 00 00 0F AC 04 01 00 00 0F AC 02 00 00", 0},
        {"30 14 01 00 00 0F AC 04 01 00 00 0F AC 04 01 00 00 0F AC 02 00 00", 41},  // group cipher
        {"30 18 01 00 00 0F AC 02 02 00 00 0F AC 04 00 0F AC 02 01 00 00 0F AC 02 00 00", 42},  // two pairwise
        {"30 14 01 00 00 0F AC 02 01 00 00 0F AC 01 01 00 00 0F AC 02 00 00", 42},  // WEP-40 pairwise
        {"30 14 01 00 00 0F AC 02 01 00 00 0F AC 04 01 00 00 0F AC 01 00 00", 43},  // 802.1X
        {"30 14 01 00 00 0F AC 02 01 00 00 0F AC 04 01 00 00 0F AC 02 C0 00", 31},  // requires protection
        {"30 14 02 00 00 0F AC 02 01 00 00 0F AC 04 01 00 00 0F AC 02 00 00", 40},  // version 2
        {"30 10 01 00 00 0F AC 02 01 00 00 0F AC 04 01 00 00 0F", 40},              // cut short
        {"DD 05 00 50 F2 01 01", 40},
        {"", 40},
    };
    for (const auto& c : cases) {
        const auto bytes = hxsim::ParseHexBytes(c.offered).value_or(std::vector<uint8_t>{});
        EXPECT_EQ(hxsim::RsnAssociationStatus(network, bytes), c.status) << c.offered;
    }
}

}  // namespace
