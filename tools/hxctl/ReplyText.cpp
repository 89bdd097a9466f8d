#include "tools/hxctl/ReplyText.h"

#include <algorithm>
#include <cstdio>

#include "tools/hxctl/ConnectWatch.h"

namespace hx::ctl {
namespace {

std::string Line(const char* label, const std::string& value) {
    std::string line = std::string(label) + ":";
    line.resize(std::max<size_t>(line.size() + 1, 16), ' ');
    return line + value + "\n";
}

std::string Rate(const ControlRecord& status) {
    const long long kbps = NumberField(status, "rate-kbps", -1);
    if (kbps < 0) return status.Get("rate-kbps");
    char text[32];
    if (kbps % 1000 == 0) std::snprintf(text, sizeof text, "%lld Mbps", kbps / 1000);
    else std::snprintf(text, sizeof text, "%.1f Mbps", static_cast<double>(kbps) / 1000.0);
    return text;
}

std::string Installed(const ControlRecord& status, const char* name) {
    return status.Get(name) == "yes" ? "installed" : "not installed";
}

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

}  // namespace

std::string TerseValue(const std::string& value) {
    std::string out;
    for (unsigned char c : value) {
        if (c < 0x20 || c == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += escape;
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string StatusText(const ControlRecord& status, bool terse) {
    std::string text;
    if (terse) {
        for (const auto& [name, value] : status.fields) text += name + ": " + TerseValue(value) + "\n";
        return text;
    }
    const bool adapter = status.Get("adapter") == "yes";
    text += Line("Adapter", adapter ? "present" : "not present");
    text += Line("Control", status.Get("control") == "windows" ? "Windows Zero Configuration" : "HX-88U Utility");
    // simulated: our stand-ins, which show a simulated radio world; other: not ours.
    if (status.Find("adapter-library") != nullptr)
        text += Line("Libraries", "adapter " + TerseValue(status.Get("adapter-library")) + ", supplicant " +
                                      TerseValue(status.Get("supplicant-library")));
    if (adapter) {
        const bool up = status.Get("link") == "up";
        text += Line("Link", up ? "up" : "down");
        if (up) {
            text += Line("SSID", TerseValue(status.Get("ssid")));
            text += Line("BSSID", status.Get("bssid"));
            text += Line("Channel", status.Get("channel"));
            text += Line("Rate", Rate(status));
            text += Line("Quality", status.Get("quality") + " %");
            text += Line("Signal", status.Get("signal") + " % (" + status.Get("signal-dbm") + " dBm)");
            text += Line("Network", status.Get("network"));
        }
    }
    text += Line("Authentication", status.Get("auth"));
    text += Line("Cipher", status.Get("cipher"));
    if (NegotiatesKeys(status.Get("auth"))) {
        text += Line("Pairwise key", Installed(status, "pairwise-key"));
        text += Line("Group key", Installed(status, "group-key"));
    }
    return text;
}

std::string SurveyText(const std::vector<ControlRecord>& networks, bool terse) {
    static const char* const columns[] = {"bssid", "ssid", "security", "mode", "channel", "signal"};
    std::string text;
    if (terse) {
        for (const ControlRecord& network : networks) {
            std::string row;
            for (const char* column : columns) {
                if (column != columns[0]) row += '\t';
                row += TerseValue(network.Get(column));
            }
            text += row + "\n";
        }
        return text;
    }
    size_t ssidWidth = 4;
    for (const ControlRecord& network : networks) ssidWidth = std::max(ssidWidth, TerseValue(network.Get("ssid")).size());
    text = Padded("BSSID", 19) + Padded("SSID", ssidWidth + 2) + Padded("SECURITY", 14) + Padded("MODE", 7) +
           Padded("CH", 4) + "SIGNAL\n";
    for (const ControlRecord& network : networks) {
        text += Padded(network.Get("bssid"), 19) + Padded(TerseValue(network.Get("ssid")), ssidWidth + 2) +
                Padded(network.Get("security"), 14) + Padded(network.Get("mode") == "adhoc" ? "ad hoc" : "AP", 7) +
                Padded(network.Get("channel"), 4) + network.Get("signal") + " %\n";
    }
    return text;
}

std::string ProfileListText(const std::vector<ControlRecord>& profiles) {
    std::string text;
    for (const ControlRecord& profile : profiles) text += TerseValue(profile.Get("name")) + "\n";
    return text;
}

}  // namespace hx::ctl
