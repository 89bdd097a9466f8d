#include "sim/core/ScenarioValues.h"

#include <algorithm>
#include <cstdio>

#include "sim/core/HexCodec.h"
#include "sim/core/TextUtil.h"

namespace hxsim {
std::optional<Mac> ParseMac(std::string_view text) {
    const auto bytes = ParseHexBytes(text);
    if (!bytes || bytes->size() != 6) return std::nullopt;
    Mac mac;
    std::copy(bytes->begin(), bytes->end(), mac.begin());
    return mac;
}

std::optional<std::vector<uint8_t>> ParseHexBytes(std::string_view text) {
    std::vector<uint8_t> out;
    int pending = -1;
    for (char c : text) {
        if (c == ' ' || c == ':' || c == '-' || c == '\t') {
            if (pending >= 0) return std::nullopt;  // single digit groups are not allowed
            continue;
        }
        const int d = HexDigitValue(c);
        if (d < 0) return std::nullopt;
        if (pending < 0) {
            pending = d;
        } else {
            out.push_back(static_cast<uint8_t>(pending * 16 + d));
            pending = -1;
        }
    }
    if (pending >= 0) return std::nullopt;
    return out;
}

std::optional<long long> ParseInteger(std::string_view text) {
    std::string s(Trim(text));
    if (s.empty()) return std::nullopt;
    bool negative = false;
    size_t i = 0;
    if (s[0] == '-') { negative = true; i = 1; }
    int base = 10;
    if (s.size() > i + 2 && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) { base = 16; i += 2; }
    if (i >= s.size()) return std::nullopt;
    long long value = 0;
    for (; i < s.size(); ++i) {
        const int d = HexDigitValue(s[i]);
        if (d < 0 || d >= base) return std::nullopt;
        value = value * base + d;
        if (value > 0xFFFFFFFFFFLL) return std::nullopt;
    }
    return negative ? -value : value;
}

std::string MacText(const Mac& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3],
                  mac[4], mac[5]);
    return text;
}

}  // namespace hxsim
