// The Site Survey page's reading of a scan: one row per network, with its channel, signal,
// encryption and authentication mode.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "adapter/BssidList.h"
#include "adapter/RsnElement.h"
#include "adapter/SurveyListRead.h"
#include "config/WlanSetting.h"

namespace hx {

// The page lists every network of the scan: as many records as the largest list it reads
// can hold.
constexpr int kMaxSurveyEntries =
    static_cast<int>((kSurveyBufferCeiling - kSurveyListHeader) / BssidRecord::MinimumSize);

// Why Connect cannot join a network. Our station offers neither SAE nor management frame
// protection.
enum class JoinRefusal {
    None,
    Wpa3Only,           // SAE is its only key management
    ProtectedFrames,    // it requires management frame protection (MFPR)
    Unusable,           // an unreadable RSN element, no cipher or key management we have, an ad hoc cell
};
// The message Connect shows for a refused network.
const char* JoinRefusalText(JoinRefusal refusal);

// One network of the scan, as the Site Survey page lists it.
struct SurveyEntry {
    std::array<uint8_t, 6> bssid{};
    std::string ssid;
    int networkType = NetworkType::AdHoc;           // the record's InfrastructureMode
    int encryption = WepStatus::Disabled;           // Wep, Disabled, Tkip or Aes
    int authenticationMode = AuthMode::AutoSwitch;  // AutoSwitch, Wpa, WpaPsk, Wpa2 or Wpa2Psk
    int channel = 0;
    int signal = 0;                                 // percent
    JoinRefusal refusal = JoinRefusal::None;
};

// 14 for 2484000 kHz, otherwise (kHz / 1000 - 2412) / 5 + 1.
int ChannelFromFrequency(uint32_t dsConfigKHz);
// RSSI clamped to -105..-40 dBm, then (rssi + 105) * 100 / 65.
int SignalPercentFromRssi(int rssi);

// The suites of the vendor (0xDD) elements: found when there is one; pairwise and akm are
// the suite types of the first pairwise cipher and the first key management suite of the
// last such element that lists at least one pairwise cipher.
struct VendorSuites {
    bool found = false;
    uint8_t pairwise = 0;
    uint8_t akm = 0;
};
VendorSuites ReadVendorSuites(const uint8_t* elements, size_t length);

// Authentication mode and encryption of a network from its vendor elements and privacy bit.
void ClassifySecurity(const VendorSuites& suites, uint32_t privacy, SurveyEntry& entry);
// The same for a network with an RSN element (nullopt: one that could not be read): WPA2
// with a pass phrase (7) or 802.1X (6), CCMP before TKIP; a network that offers SAE beside
// a pass phrase and does not require management frame protection is joined with the pass
// phrase. Otherwise the entry gets its refusal. Its encryption is never WEP.
void ClassifyRsn(const std::optional<RsnInfo>& rsn, SurveyEntry& entry);
// A network by all its elements: with an RSN element that can be joined, as WPA2; with one
// that cannot, as WPA when its WPA element can be, else refused; without, as the vendor
// elements and the privacy bit say.
void ClassifyNetwork(const uint8_t* elements, size_t length, uint32_t privacy, SurveyEntry& entry);

// The whole list as the page shows it (at most kMaxSurveyEntries entries).
std::vector<SurveyEntry> ParseSurveyList(const uint8_t* buffer, size_t size);

}  // namespace hx
