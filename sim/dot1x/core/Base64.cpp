#include "sim/dot1x/core/Base64.h"

#include <algorithm>

namespace hxsup {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

std::string Base64Encode(std::span<const uint8_t> bytes) {
    std::string out;
    size_t lineLength = 0;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = uint32_t{bytes[i]} << 16;
        if (n > 1) group |= uint32_t{bytes[i + 1]} << 8;
        if (n > 2) group |= bytes[i + 2];
        out += kAlphabet[group >> 18 & 63];
        out += kAlphabet[group >> 12 & 63];
        out += n > 1 ? kAlphabet[group >> 6 & 63] : '=';
        out += n > 2 ? kAlphabet[group & 63] : '=';
        lineLength += 4;
        if (lineLength == 64) {
            out += '\n';
            lineLength = 0;
        }
    }
    if (lineLength > 0) out += '\n';
    return out;
}

std::optional<std::vector<uint8_t>> Base64Decode(std::string_view text) {
    std::string digits;
    for (char c : text) {
        if (c == '\n' || c == '\r' || c == ' ' || c == '\t') continue;
        digits += c;
    }
    if (digits.size() % 4 != 0) return std::nullopt;
    std::vector<uint8_t> out;
    for (size_t i = 0; i < digits.size(); i += 4) {
        const bool last = i + 4 == digits.size();
        const int padding = (digits[i + 3] == '=') + (digits[i + 2] == '=');
        if (padding > 0 && !last) return std::nullopt;
        if (digits[i + 2] == '=' && digits[i + 3] != '=') return std::nullopt;
        uint32_t group = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = digits[i + static_cast<size_t>(k)];
            const int v = (k >= 4 - padding) ? 0 : ValueOf(c);
            if (v < 0) return std::nullopt;
            group = group << 6 | static_cast<uint32_t>(v);
        }
        out.push_back(static_cast<uint8_t>(group >> 16));
        if (padding < 2) out.push_back(static_cast<uint8_t>(group >> 8));
        if (padding < 1) out.push_back(static_cast<uint8_t>(group));
    }
    return out;
}

}  // namespace hxsup
