#include "tests/win/e2e_field/FieldWorlds.h"

#include <cstdio>

namespace hx::test {
namespace {

constexpr int kStreetNetworks = 150;

std::string StreetText() {
    std::string text;
    const auto& networks = StreetNetworks();
    for (size_t i = 0; i < networks.size(); ++i) {
        const StreetNetwork& n = networks[i];
        std::string bssid = n.bssid;
        for (char& c : bssid) c = c == '-' ? ':' : c;
        text += "[network]\nssid = " + n.ssid + "\nbssid = " + bssid + "\nchannel = " + std::to_string(n.channel) +
                "\nrssi = " + std::to_string(n.rssi) + "\n";
        // Every fourth one is a WPA-PSK network: its element makes the record longer.
        text += i % 4 == 0 ? "security = wpa-psk\ncipher = tkip\npassphrase = street-passphrase\n\n"
                                       : "security = open\n\n";
    }
    return text;
}

struct FieldWorld {
    const char* name;
    void (*build)(ScenarioFile&);
};

// The table of worlds.
const FieldWorld kWorlds[] = {
    {"crowded-street", [](ScenarioFile& f) { f.Append(StreetText()); }},
    // The enterprise network with the user's certificates, as the default world has them.
    {"enterprise-floor", [](ScenarioFile&) {}},
    {"back-office",
     [](ScenarioFile& f) {
         f.Append(std::string("[network]\nssid = ") + kHiddenSsid + "\nbssid = " + kHiddenBssid +
                  "\nchannel = 4\nrssi = -58\nsecurity = open\nhidden = yes");
     }},
    // The home network's signal holds still, so a fade is exactly what the test sets.
    {"garden", [](ScenarioFile& f) { f.Replace("rssi = -47\n", "rssi = -47\ndrift = 0\n"); }},
    {"flat", [](ScenarioFile&) {}},
};

}  // namespace

const std::vector<StreetNetwork>& StreetNetworks() {
    static const std::vector<StreetNetwork> networks = [] {
        std::vector<StreetNetwork> list;
        for (int i = 0; i < kStreetNetworks; ++i) {
            char ssid[16];
            char bssid[24];
            std::snprintf(ssid, sizeof ssid, "Street-%03d", i + 1);
            std::snprintf(bssid, sizeof bssid, "0A-5E-00-00-%02X-%02X", i >> 8, i & 0xFF);
            // From -44 to -84 dBm: the strongest are heard on two channels, the weakest
            // stay in range however their signal wanders.
            list.push_back({ssid, bssid, 1 + i % 11, -44 - (i * 7) % 41});
        }
        return list;
    }();
    return networks;
}

bool EnterWorld(ScenarioFile& file, const std::string& name) {
    for (const FieldWorld& world : kWorlds) {
        if (name != world.name) continue;
        world.build(file);
        return file.Append("# " + name).Install("field_" + name);
    }
    return false;
}

}  // namespace hx::test
