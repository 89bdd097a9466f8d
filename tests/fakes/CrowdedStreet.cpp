#include "tests/fakes/CrowdedStreet.h"

#include <cstdio>

namespace hx::test {

std::string CrowdedStreetSsid(int index) {
    char text[32];  // room for any int, so the compiler sees no truncation
    std::snprintf(text, sizeof text, "Street-%03d", index + 1);
    return text;
}

std::string CrowdedStreetBssid(int index) {
    char text[24];
    std::snprintf(text, sizeof text, "06-B0-88-00-%02X-%02X", (index >> 8) & 0xFF, index & 0xFF);
    return text;
}

int CrowdedStreetChannel(int index) { return 1 + index % 11; }

std::string CrowdedStreetNetworks(int count) {
    std::string text;
    char line[96];
    for (int i = 0; i < count; ++i) {
        const int rssi = i % 4 == 0 ? -50 : -60 - i % 25;
        std::string bssid = CrowdedStreetBssid(i);
        for (char& c : bssid) c = c == '-' ? ':' : c;
        std::snprintf(line, sizeof line, "\n[network]\nssid = %s\nbssid = %s\nchannel = %d\n",
                      CrowdedStreetSsid(i).c_str(), bssid.c_str(), CrowdedStreetChannel(i));
        text += line;
        std::snprintf(line, sizeof line, "rssi = %d\ndrift = 2\n", rssi);
        text += line;
        switch (i % 3) {
        case 0: text += "security = open\n"; break;
        case 1: text += "security = wep\nwep-key0 = 0A 0B 0C 0D 0E\n"; break;
        default:
            // A PSK rather than a pass phrase: the world derives no key for networks nobody joins.
            text += "security = wpa-psk\ncipher = ccmp\npsk = ";
            for (int b = 0; b < 32; ++b) {
                std::snprintf(line, sizeof line, "%02X", (i + b) & 0xFF);
                text += line;
            }
            text += "\n";
            break;
        }
    }
    return text;
}

}  // namespace hx::test
