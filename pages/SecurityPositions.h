// The encryption and authentication lists of the Encryption page and the profile editor:
// which entry shows a setting's codes, and which codes an entry stands for.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace hx {

struct WlanSetting;

// "Disable", "WEP", then in infrastructure mode "TKIP", "AES".
int EncryptionPositionOf(int wepStatus, bool infrastructure);
// The three WEP entries, then in infrastructure mode "WPA-PSK" and "WPA2-PSK". WPA and WPA2
// with 802.1X have no entry: in infrastructure mode they select none (kNoEntry), and the
// list shows empty.
int AuthenticationPositionOf(int authenticationMode, bool infrastructure);
// Codes of the chosen entries; -1 (nothing chosen) gives WEP (0) and auto switch (2).
int WepStatusOfPosition(int position);
int AuthenticationModeOfPosition(int position);

constexpr int kNoEntry = -1;
constexpr int kWepPosition = 1;            // encryption entry that enables the key controls
constexpr int kAutoSwitchPosition = 2;
constexpr int kWpaPskPosition = 3;         // the authentication entries that enable the pass phrase
constexpr int kWpa2PskPosition = 4;
constexpr bool PassphrasePosition(int authenticationPosition) {
    return authenticationPosition == kWpaPskPosition || authenticationPosition == kWpa2PskPosition;
}

// What the security part of either dialog shows of a setting (the keys come from the key
// block, which takes them from the last-setting store).
struct SecurityDisplay {
    std::vector<std::string> encryptionTexts;
    std::vector<std::string> authenticationTexts;
    int encryption = 0;                // list position; may lie past the list (no selection)
    int authentication = 2;
    int defaultKey = -1;               // -1: no default-key button checked
    std::string passphrase;
};
SecurityDisplay SecurityDisplayOf(const WlanSetting& setting, bool infrastructure);

// Which controls the chosen entries enable: the WEP key controls with "WEP", the pass
// phrase with "WPA-PSK" and "WPA2-PSK".
struct SecurityEnables {
    bool keyControls = false;
    bool passphrase = false;
};
SecurityEnables SecurityEnablesFor(int encryptionPosition, int authenticationPosition);

// What the user chose on the security part of the Encryption page or the profile editor.
struct SecurityChoice {
    int encryption = -1;               // list position
    int authentication = -1;           // list position
    int defaultKey = -1;               // first checked default-key button, -1 none
    std::string passphrase;            // the pass phrase box
    std::array<std::string, 4> keys;   // key record texts
    int keyLengthBits = 64;
};

// Writes the choice into the setting: WEPStatus and AuthenticationMode from the entries,
// the pass phrase only with "WPA-PSK" or "WPA2-PSK", the default key only when one is checked, the four
// keys and their length always.
void WriteSecurityChoice(const SecurityChoice& choice, WlanSetting& setting);

}  // namespace hx
