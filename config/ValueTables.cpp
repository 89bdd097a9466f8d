#include "config/ValueTables.h"

#include <cstdio>
#include <cstring>

#include "adapter/AdapterLibrary.h"

namespace hx {

std::vector<std::string> EncryptionListTexts(bool infrastructure) {
    std::vector<std::string> texts{"Disable", "WEP"};
    if (infrastructure) {
        texts.emplace_back("TKIP");
        texts.emplace_back("AES");
    }
    return texts;
}

std::vector<std::string> AuthenticationListTexts(bool infrastructure) {
    std::vector<std::string> texts{"WEP Open Authentication", "WEP Shared Authentication",
                                   "WEP Auto Switch"};
    if (infrastructure) {
        texts.emplace_back("WPA-PSK");
        texts.emplace_back("WPA2-PSK");
    }
    return texts;
}

std::vector<std::string> RegionListTexts() {
    std::vector<std::string> names;
    for (const RegionEntry& region : kRegionTable) names.emplace_back(region.name);
    return names;
}

int RegionPositionOfCode(int code) {
    for (size_t i = 0; i < kRegionTable.size(); ++i) {
        if (kRegionTable[i].code == code) return static_cast<int>(i);
    }
    return 0;
}

int RegionCodeAtPosition(int position) {
    if (position < 0 || position >= static_cast<int>(kRegionTable.size())) position = 0;
    return kRegionTable[static_cast<size_t>(position)].code;
}

KeyLengthInfo KeyLengthForBits(int bits) {
    if (bits == 128) return {128, 13, 1, 1};
    if (bits == 256) return {256, 29, 2, 2};
    return {64, 5, 0, 0};
}

KeyLengthInfo KeyLengthForPosition(int position) {
    if (position == 1) return KeyLengthForBits(128);
    if (position == 2) return KeyLengthForBits(256);
    return KeyLengthForBits(64);
}

std::string TrimWhitespace(std::string_view text) {
    const char* space = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(space);
    return std::string(text.substr(first, last - first + 1));
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string HexText(const uint8_t* bytes, int count) {
    std::string text;
    char piece[4];
    for (int i = 0; i < count; ++i) {
        std::snprintf(piece, sizeof piece, "%.2X ", bytes[i]);
        text += piece;
    }
    return TrimWhitespace(text);
}

std::string RateLabel(uint8_t rate) {
    char text[32];
    if (rate % 2 == 1) {
        std::snprintf(text, sizeof text, "%.1f Mbps", rate * 0.5);
    } else {
        std::snprintf(text, sizeof text, "%d Mbps", rate / 2);
    }
    return text;
}

std::vector<std::string> RateListTexts(const SupportedRates& rates) {
    std::vector<std::string> texts{kAutoRateText};
    for (uint8_t rate : rates.rate) {
        if (rate == 0) break;
        texts.push_back(RateLabel(rate));
    }
    return texts;
}

std::array<uint8_t, 16> RateListForPosition(const SupportedRates& rates, int position) {
    std::array<uint8_t, 16> list{};
    if (position >= 1 && position <= 16) {
        list[0] = rates.rate[static_cast<size_t>(position - 1)];
    } else {
        list = rates.rate;
    }
    return list;
}

std::string DesiredRateForPosition(const SupportedRates& rates, int position) {
    const auto list = RateListForPosition(rates, position);
    return HexText(list.data(), static_cast<int>(list.size()));
}

int RatePositionOfRateList(const std::array<uint8_t, 16>& desired, const SupportedRates& rates) {
    int found = 0;
    int lastPosition = -1;
    for (uint8_t wanted : desired) {
        if (wanted == 0) break;
        for (size_t j = 0; j < rates.rate.size() && rates.rate[j] != 0; ++j) {
            if (rates.rate[j] == wanted) {
                ++found;
                lastPosition = static_cast<int>(j);
                break;
            }
        }
    }
    if (found >= 2 || found == 0) return 0;
    return lastPosition + 1;
}

int RatePositionOfDesiredRate(AdapterLibrary& library, const std::string& desiredRate,
                              const SupportedRates& rates) {
    char text[100] = {};
    std::strncpy(text, desiredRate.c_str(), sizeof text - 1);
    unsigned char bytes[16] = {};
    library.HexStrToBin(text, bytes, 16);
    std::array<uint8_t, 16> desired{};
    std::memcpy(desired.data(), bytes, sizeof bytes);
    return RatePositionOfRateList(desired, rates);
}

std::vector<std::string> ChannelListTexts(const SupportedChannels& channels) {
    std::vector<std::string> texts;
    const int count = channels.count < 0 ? 0 : (channels.count > 14 ? 14 : channels.count);
    for (int i = 0; i < count; ++i) texts.push_back(std::to_string(channels.channel[static_cast<size_t>(i)]));
    return texts;
}

}  // namespace hx
