// What a simulated world is made of: the adapter, the network adapters the system lists,
// the access points and ad hoc cells in range, the certificate stores and 802.1X users,
// the Zero Configuration service and the timing of the radio. A scenario is read from a
// text file (ScenarioParser.h) or is the embedded default world (DefaultWorld.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace hxsim {

using Mac = std::array<uint8_t, 6>;

// Cipher and key-management suite types of the WPA and RSN elements (OUI 00:50:F2 for WPA,
// 00:0F:AC for RSN; the type numbers are the same).
namespace Suite {
constexpr uint8_t Wep40 = 1, Tkip = 2, Ccmp = 4, Wep104 = 5, BipCmac128 = 6;
constexpr uint8_t Akm8021X = 1, AkmPsk = 2, AkmPskSha256 = 6, AkmSae = 8;
}  // namespace Suite

// The RSN capabilities bits of management frame protection.
namespace RsnCapability {
constexpr uint16_t MfpRequired = 0x0040, MfpCapable = 0x0080;
}

struct SecurityElement {
    bool present = false;
    uint8_t groupCipher = 0;
    std::vector<uint8_t> pairwiseCiphers;
    std::vector<uint8_t> akms;
    uint16_t capabilities = 0;        // RSN only
};

enum class WepAuth { Open, Shared, Both };

struct NetworkSpec {
    std::string ssid;
    Mac bssid{};
    bool adhoc = false;
    int channel = 1;
    int meanRssi = -60;               // dBm
    int driftDb = 4;                  // the signal wanders at most this far from the mean
    bool hidden = false;              // beacons carry an empty SSID
    std::vector<uint8_t> rates;       // 802.11 rate codes, basic rates with bit 7 set
    int beaconInterval = 100;         // TU
    bool privacy = false;
    WepAuth wepAuth = WepAuth::Both;
    std::array<std::vector<uint8_t>, 4> wepKeys;
    int wepTxKey = 0;
    SecurityElement wpa;              // vendor element 00:50:F2:01
    SecurityElement rsn;              // element 48
    std::string passphrase;           // WPA-PSK
    std::vector<uint8_t> psk;         // 32 bytes when given directly instead of a pass phrase
    std::vector<std::vector<uint8_t>> vendorElements;  // bodies of further 0xDD elements
};

// One entry of the system's list of network adapters, with what the registry holds for it
// under the network-adapter class key.
struct NicEntry {
    std::string name;                 // e.g. \DEVICE\{GUID}
    std::string description;
    std::string instanceKey;          // e.g. 0007
    std::string matchingDeviceId;
    bool isSimulatedAdapter = false;  // listed only while the adapter is plugged
    bool opens = false;               // whether HxOpenAdapter succeeds on this entry
};

struct AdapterSpec {
    Mac mac{};
    uint32_t driverVersion = 0;
    std::array<uint8_t, 16> rates{};  // as the adapter reports them, basic rates with bit 7
    int factoryRegion = 0x10;
    bool plugged = true;
};

struct CertificateSpec {
    std::string store;                // "MY" or "ROOT"
    std::string subject;
    std::string issuer;
    std::array<uint8_t, 32> key{};
    bool hasPrivateKey = false;
    bool exportable = true;
};

struct EapUser {
    std::string identity;
    bool allowTls = false;
    bool allowPeap = false;
    std::string password;             // PEAP
    std::string certificateSubject;   // TLS: the user's certificate in the MY store
};

struct AuthServerSpec {
    std::string certificateSubject = "CN=radius.hx.test";
    std::string certificateIssuer = "CN=HX Test Root CA";
};

struct Timing {
    int scanMs = 1500;                // a scan takes scanMs plus up to scanJitterMs
    int scanJitterMs = 1000;
    int associateMs = 400;            // from SetWL_SSID (or a settings change) to association
    int reconnectMs = 2000;           // between join attempts while not associated
    int handshakeTimeoutMs = 5000;    // 4-way and group handshakes, keys installed
    int retransmitMs = 1000;          // EAPOL-Key and EAP request retransmission
    int eapTimeoutMs = 30000;         // EAP exchange
    int groupRekeyMs = 0;             // the group key is renewed this long after it was made; 0: never
    int linkLossDbm = -90;            // below this the link is lost
};

struct Scenario {
    AdapterSpec adapter;
    std::vector<NicEntry> nics;
    std::vector<NetworkSpec> networks;
    std::vector<CertificateSpec> certificates;
    std::vector<EapUser> users;
    AuthServerSpec server;
    Timing timing;
    int wzcStatus = 0;                // what the service reports while it runs: 0, 1 or 2
    uint32_t seed = 1;                // signal drift
};

}  // namespace hxsim
