// List texts, the region table, key lengths, the hex text form and the rate list rules.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/WlanSetting.h"

namespace hx {

class AdapterLibrary;

// --- List texts, in list order ----------------------------------------------------------
inline constexpr std::array<const char*, 2> kNetworkTypeTexts{"Ad-Hoc", "Infrastructure"};
inline constexpr std::array<const char*, 3> kPreambleTexts{"Long Preamble", "Short Preamble", "Auto"};
inline constexpr std::array<const char*, 3> kPowerSaveTexts{
    "Continuous Access Mode", "Maximum Power Save", "Fast Power Save"};
inline constexpr std::array<const char*, 2> kDot1xMethodTexts{"TLS", "PEAP"};
inline constexpr std::array<const char*, 2> kKeyFormatTexts{"ASCII", "Hex"};
inline constexpr std::array<const char*, 3> kKeyLengthTexts{"64 bits", "128 bits", "256 bits"};

// The encryption list: "Disable", "WEP", and in infrastructure mode "TKIP", "AES".
std::vector<std::string> EncryptionListTexts(bool infrastructure);
// The authentication list: the three WEP entries, and in infrastructure mode "WPA-PSK" and
// "WPA2-PSK".
std::vector<std::string> AuthenticationListTexts(bool infrastructure);

// --- Regions ----------------------------------------------------------------------------
struct RegionEntry {
    const char* name;
    int code;
};
inline constexpr std::array<RegionEntry, 8> kRegionTable{{
    {"Factory default", 0x00},
    {"USA", 0x10},
    {"Canada", 0x20},
    {"Most of Europe/Australia", 0x30},
    {"Spain", 0x31},
    {"France", 0x32},
    {"Japan", 0x40},
    {"Israel", 0x50},
}};
// The region list: the names in table order.
std::vector<std::string> RegionListTexts();
// The first position whose code matches; 0 when none does.
int RegionPositionOfCode(int code);
// The code at a list position; position -1 or out of range reads as position 0.
int RegionCodeAtPosition(int position);

// --- WEP key lengths --------------------------------------------------------------------
struct KeyLengthInfo {
    int bits;
    int bytes;       // bits / 8 - 3
    int lengthCode;  // passed to SetWL_WriteKey
    int position;    // in the key length list
};
// 128 and 256 bits are themselves; any other value is treated as 64 bits.
KeyLengthInfo KeyLengthForBits(int bits);
// List position 1 is 128 bits, 2 is 256 bits, anything else 64 bits.
KeyLengthInfo KeyLengthForPosition(int position);

// --- Hex text ---------------------------------------------------------------------------
// Bytes as two upper-case hexadecimal digits separated by single spaces ("%.2X " per byte,
// trimmed at both ends).
std::string HexText(const uint8_t* bytes, int count);
// The value of one hexadecimal digit (either case), -1 for any other character.
int HexDigitValue(char c);
std::string TrimWhitespace(std::string_view text);

// --- Rates ------------------------------------------------------------------------------
inline constexpr const char* kDefaultDesiredRate = "02 04 0B 16 0C 12 18 24 30 48 60 6C 00 00 00 00";
inline constexpr const char* kAutoRateText = "Auto";

// "%.1f Mbps" of r * 0.5 for odd r (11 -> 5.5 Mbps), "%d Mbps" of r / 2 for even r.
std::string RateLabel(uint8_t rate);
// "Auto" followed by one label per supported rate (at most 16, ending at the first zero).
std::vector<std::string> RateListTexts(const SupportedRates& rates);
// The rate list of a list position: 0 (or -1, nothing chosen) is all of the supported
// rates; k >= 1 is SupportedRates[k - 1] followed by 15 zero bytes.
std::array<uint8_t, 16> RateListForPosition(const SupportedRates& rates, int position);
// The same as hex text (always 16 groups).
std::string DesiredRateForPosition(const SupportedRates& rates, int position);
// The list position that shows a rate list: "Auto" (0) when two or more of its rates are
// supported or none is, otherwise the position of the one supported rate plus one.
// The text is turned into 16 bytes with the driver library's HexStrToBin.
int RatePositionOfDesiredRate(AdapterLibrary& library, const std::string& desiredRate,
                              const SupportedRates& rates);
int RatePositionOfRateList(const std::array<uint8_t, 16>& desired, const SupportedRates& rates);

// --- Channels ---------------------------------------------------------------------------
std::vector<std::string> ChannelListTexts(const SupportedChannels& channels);

}  // namespace hx
