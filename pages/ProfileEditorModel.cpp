#include "pages/ProfileEditorModel.h"

#include "config/ValueTables.h"

namespace hx {

ProfileEditorPositions LoadEditorPositions(const WlanSetting& copy, const std::string& profileName,
                                           const SupportedChannels& channels) {
    ProfileEditorPositions positions;
    positions.profileName = profileName;
    positions.ssid = copy.SSID;
    positions.wirelessMode = copy.NetworkType;
    // A stored channel can be any integer: compared before anything is subtracted from it.
    positions.channel = copy.Channel >= 1 && copy.Channel <= channels.count ? copy.Channel - 1 : -1;
    positions.txRate = 0;
    positions.preamble = copy.PreambleMode;
    positions.powerMode = copy.PowerSaveMode;
    positions.region = RegionPositionOfCode(copy.Domain);
    ReselectSecurityForMode(copy, copy.NetworkType, positions);
    positions.passphrase = copy.Dot1xPassphrase;
    positions.defaultKey = copy.WEPDefaultKeyId >= 0 && copy.WEPDefaultKeyId <= 3 ? copy.WEPDefaultKeyId : -1;
    return positions;
}

void ReselectSecurityForMode(const WlanSetting& copy, int wirelessMode, ProfileEditorPositions& positions) {
    const bool infrastructure = wirelessMode != NetworkType::AdHoc;
    positions.encryption = EncryptionPositionOf(copy.WEPStatus, infrastructure);
    positions.authentication = AuthenticationPositionOf(copy.AuthenticationMode, infrastructure);
}

SecurityDisplay EditorSecurityDisplay(const ProfileEditorPositions& positions) {
    const bool infrastructure = positions.wirelessMode == NetworkType::Infrastructure;
    SecurityDisplay display;
    display.encryptionTexts = EncryptionListTexts(infrastructure);
    display.authenticationTexts = AuthenticationListTexts(infrastructure);
    display.encryption = positions.encryption;
    display.authentication = positions.authentication;
    display.defaultKey = positions.defaultKey;
    display.passphrase = positions.passphrase;
    return display;
}

void StoreEditorPositions(const ProfileEditorPositions& positions,
                          const std::array<std::string, 4>& keys, int keyLengthBits,
                          const SupportedRates& rates, const SupportedChannels& channels,
                          WlanSetting& copy, std::string& editedProfileName) {
    editedProfileName = positions.profileName;
    copy.SSID = positions.ssid;
    copy.NetworkType = positions.wirelessMode;
    const bool chosen = positions.channel >= 0 && positions.channel < 14;
    copy.Channel = channels.channel[static_cast<size_t>(chosen ? positions.channel : 0)];
    copy.DesiredRate = DesiredRateForPosition(rates, positions.txRate);
    copy.PreambleMode = positions.preamble;
    copy.PowerSaveMode = positions.powerMode;
    copy.Domain = RegionCodeAtPosition(positions.region);
    SecurityChoice choice;
    choice.encryption = positions.encryption;
    choice.authentication = positions.authentication;
    choice.defaultKey = positions.defaultKey;
    choice.passphrase = positions.passphrase;
    choice.keys = keys;
    choice.keyLengthBits = keyLengthBits;
    WriteSecurityChoice(choice, copy);
}

}  // namespace hx
