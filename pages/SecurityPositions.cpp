#include "pages/SecurityPositions.h"

#include "config/ValueTables.h"
#include "config/WlanSetting.h"

namespace hx {

int EncryptionPositionOf(int wepStatus, bool infrastructure) {
    switch (wepStatus) {
    case WepStatus::Wep: return 1;
    case WepStatus::Tkip: return infrastructure ? 2 : 0;
    case WepStatus::Aes: return infrastructure ? 3 : 0;
    default: return 0;
    }
}

int AuthenticationPositionOf(int authenticationMode, bool infrastructure) {
    switch (authenticationMode) {
    case AuthMode::Open:
    case AuthMode::Shared:
    case AuthMode::AutoSwitch: return authenticationMode;
    case AuthMode::WpaPsk: return infrastructure ? kWpaPskPosition : kAutoSwitchPosition;
    case AuthMode::Wpa2Psk: return infrastructure ? kWpa2PskPosition : kAutoSwitchPosition;
    case AuthMode::Wpa:
    case AuthMode::Wpa2: return infrastructure ? kNoEntry : kAutoSwitchPosition;
    default: return kAutoSwitchPosition;
    }
}

int WepStatusOfPosition(int position) {
    switch (position) {
    case 0: return WepStatus::Disabled;
    case 2: return WepStatus::Tkip;
    case 3: return WepStatus::Aes;
    default: return WepStatus::Wep;  // "WEP", or nothing chosen
    }
}

int AuthenticationModeOfPosition(int position) {
    switch (position) {
    case 0:
    case 1:
    case 2: return position;
    case kWpaPskPosition: return AuthMode::WpaPsk;
    case kWpa2PskPosition: return AuthMode::Wpa2Psk;
    default: return AuthMode::AutoSwitch;
    }
}

SecurityDisplay SecurityDisplayOf(const WlanSetting& setting, bool infrastructure) {
    SecurityDisplay display;
    display.encryptionTexts = EncryptionListTexts(infrastructure);
    display.authenticationTexts = AuthenticationListTexts(infrastructure);
    display.encryption = EncryptionPositionOf(setting.WEPStatus, infrastructure);
    display.authentication = AuthenticationPositionOf(setting.AuthenticationMode, infrastructure);
    const bool keyIdValid = setting.WEPDefaultKeyId >= 0 && setting.WEPDefaultKeyId <= 3;
    display.defaultKey = keyIdValid ? setting.WEPDefaultKeyId : -1;
    display.passphrase = setting.Dot1xPassphrase;
    return display;
}

SecurityEnables SecurityEnablesFor(int encryptionPosition, int authenticationPosition) {
    return {encryptionPosition == kWepPosition, PassphrasePosition(authenticationPosition)};
}

void WriteSecurityChoice(const SecurityChoice& choice, WlanSetting& setting) {
    setting.WEPStatus = WepStatusOfPosition(choice.encryption);
    setting.AuthenticationMode = AuthenticationModeOfPosition(choice.authentication);
    if (PassphrasePosition(choice.authentication)) setting.Dot1xPassphrase = choice.passphrase;
    if (choice.defaultKey >= 0 && choice.defaultKey <= 3) setting.WEPDefaultKeyId = choice.defaultKey;
    setting.WEPKey = choice.keys;
    setting.WEPKeyLength = choice.keyLengthBits;
}

}  // namespace hx
