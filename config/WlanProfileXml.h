// Profiles in the WLAN profile XML that Windows exports and imports, mapped to and from a
// setting. What the adapter has is mapped; everything else is left as it is.
//
//   name                                  the profile name
//   SSIDConfig/SSID/hex, name             SSID; when both are given the hex form wins, as it
//                                         holds the bytes exactly (the name is for people)
//   connectionType ESS | IBSS             NetworkType infrastructure | ad hoc
//   MSM/security/authEncryption
//     authentication open | shared | WPA | WPAPSK | WPA2 | WPA2PSK
//                                         AuthenticationMode 0 | 1 | 3 | 4 | 6 | 7
//     encryption none | WEP | TKIP | AES              WEPStatus 1 | 0 | 4 | 6
//     useOneX                             true exactly with WPA and WPA2 (802.1X); the EAP
//                                         settings themselves are neither read nor written
//   MSM/security/sharedKey
//     keyType networkKey (WEP)            the key: 5, 13 or 29 characters or 10, 26 or 58
//                                         hexadecimal digits (64, 128 or 256 bits, the last
//                                         beyond Windows); exported as hexadecimal digits
//     keyType passPhrase (WPA(2)PSK)      Dot1xPassphrase, 8 to 63 characters
//     protected                           must be false: Windows alone can decrypt the key
//   MSM/security/keyIndex 0..3            WEPDefaultKeyId and the key's slot (default 0)
//
// The pairs that map are open/none, open/WEP, shared/WEP, WPA, WPAPSK, WPA2 and WPA2PSK
// with TKIP or AES, and in ad hoc networks only the first three. "WEP Auto Switch"
// (AuthenticationMode 2) has no counterpart: it is written as open and comes back as
// open. Read leniently where the schema has a plain default: no connectionType is ESS, no
// authEncryption open/none, no protected false. An SSID with a zero byte, or a WPA-PSK key
// given as 64 hexadecimal digits instead of its pass phrase, is refused: neither can be
// stored.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "config/WlanSetting.h"
#include "config/XmlElement.h"

namespace hx {

inline constexpr const char* kWlanProfileNamespace = "http://www.microsoft.com/networking/WLAN/profile/v1";

struct ImportedWlanProfile {
    std::string error;  // why the profile is refused; empty when it is accepted
    std::string name;   // empty when the file names none
    // The mapped fields; every other field as a fresh setting has it.
    WlanSetting setting;
    // The stored value names of the mapped fields, in the order a profile stores them;
    // a key under its stored name ("WEPKey128_0").
    std::vector<std::string> fields;
    // What the file holds that was left out.
    std::vector<std::string> notes;

    bool Accepted() const { return error.empty(); }
};

ImportedWlanProfile WlanProfileFromXml(const XmlElement& root);

// The mapped fields as stored value names and their texts (numbers in decimal), in the
// order of `fields`.
std::vector<std::pair<std::string, std::string>> MappedFieldValues(const ImportedWlanProfile& profile);

struct ExportedWlanProfile {
    std::string error;  // why the setting cannot be written; empty when it can
    XmlElement root;
    std::string xml;    // the document (UTF-8) when it can be written

    bool Written() const { return error.empty(); }
};

// Without clearKey neither the key, nor the pass phrase, nor the key index is written; nor
// is a pass phrase the setting does not have.
ExportedWlanProfile WlanProfileToXml(const std::string& name, const WlanSetting& setting, bool clearKey);

}  // namespace hx
