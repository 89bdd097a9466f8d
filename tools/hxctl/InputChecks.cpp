#include "tools/hxctl/InputChecks.h"

#include <cctype>

#include "config/WlanSetting.h"
#include "pages/WepKeyEntry.h"

namespace hx::ctl {
namespace {

bool HexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::string CheckSsid(std::string_view ssid) {
    if (ssid.empty()) return "the SSID is empty";
    if (ssid.size() > static_cast<size_t>(kMaxSsidLength))
        return "the SSID is " + std::to_string(ssid.size()) + " bytes long; at most 32 are allowed";
    return {};
}

std::string CheckWepKey(std::string_view indexAndKey) {
    const size_t colon = indexAndKey.find(':');
    if (colon != 1 || indexAndKey[0] < '1' || indexAndKey[0] > '4')
        return "--wep-key takes INDEX:KEY, or INDEX alone to read the key, with an index of 1 to 4";
    const std::string_view key = indexAndKey.substr(2);
    switch (key.size()) {
    case 5: case 13: case 29:
        return {};
    case 10: case 26: case 58:
        for (char c : key)
            if (!HexDigit(c))
                return "the WEP key of " + std::to_string(key.size()) +
                       " characters is taken as hexadecimal digits, and '" + std::string(1, c) + "' is not one";
        return {};
    default:
        return "the WEP key is " + std::to_string(key.size()) +
               " characters long: give 5, 13 or 29 characters of text, or 10, 26 or 58 hexadecimal "
               "digits (64, 128 or 256 bits)";
    }
}

std::string CheckPassphrase(std::string_view passphrase) {
    if (passphrase.find_first_of("\r\n") != std::string_view::npos) return "the pass phrase must be one line";
    if (!PassphraseLengthValid(std::string(passphrase))) return kPassphraseLengthMessage;
    return {};
}

std::string NormalisedBssid(std::string_view text) {
    if (text.size() != 17) return {};
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i % 3 == 2) {
            if (c != '-' && c != ':') return {};
            out += '-';
        } else {
            if (!HexDigit(c)) return {};
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

std::string WithoutOneLineEnd(std::string text) {
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    else if (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

}  // namespace hx::ctl
