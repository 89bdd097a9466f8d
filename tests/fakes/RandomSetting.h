// Random settings for apply stress runs: codes the adapter takes and, now and then, codes it
// refuses; SSIDs and rate and key texts longer than their buffers; every key length.
#pragma once

#include <array>
#include <iterator>
#include <random>
#include <set>
#include <string>

#include "config/LastSettingStore.h"
#include "config/ValueTables.h"
#include "config/WlanSetting.h"

namespace hx::test {

inline std::string RandomText(std::mt19937& random, size_t longest, const std::string& alphabet) {
    std::string text(random() % (longest + 1), ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    return text;
}

// A value in [low, high] most of the time, now and then one the adapter refuses.
inline int RandomCode(std::mt19937& random, int low, int high) {
    if (random() % 10 == 0) return static_cast<int>(random() % 40) - 10;
    return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1));
}

inline void RandomiseSetting(WlanSetting& s, std::mt19937& random) {
    static const int kRegions[] = {0x00, 0x10, 0x20, 0x30, 0x31, 0x32, 0x40, 0x50, 0x99};
    static const int kStatuses[] = {0, 1, 4, 6, 5};
    static const std::string kHex = "0123456789ABCDEF ";
    s.NetworkType = RandomCode(random, 0, 1);
    s.Channel = RandomCode(random, 1, 14);
    s.AuthenticationMode = RandomCode(random, 0, 7);
    s.WEPStatus = kStatuses[random() % std::size(kStatuses)];
    s.WEPKeyLength = std::array<int, 3>{64, 128, 256}[random() % 3];
    s.WEPDefaultKeyId = RandomCode(random, 0, 3);
    for (auto& key : s.WEPKey) key = RandomText(random, 120, kHex);
    s.DesiredRate = random() % 4 == 0 ? RandomText(random, 140, kHex) : kDefaultDesiredRate;
    s.SSID = RandomText(random, 48, "abcdefghijklmnopqrstuvwxyz-");
    s.PreambleMode = RandomCode(random, 0, 2);
    s.PowerSaveMode = RandomCode(random, 0, 2);
    s.Domain = kRegions[random() % std::size(kRegions)];
}

// Every value name an apply may write into the last setting.
inline std::set<std::string> AppliedValueNames() {
    std::set<std::string> names{"NetworkType", "AuthenticationMode", "Channel", "DesiredRate", "SSID",
                                "PreambleMode", "PowerSaveMode", "Domain", "WEPStatus", "WEPKeyLength",
                                "WEPDefaultKeyId"};
    for (int bits : {64, 128, 256})
        for (int i = 0; i < 4; ++i) names.insert(WepKeyValueName(bits, i));
    return names;
}

}  // namespace hx::test
