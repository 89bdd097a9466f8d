// Writing a setting as a WLAN profile, in the element order Windows' own export uses.
#include "config/WlanProfileXml.h"

#include <cstdint>
#include <cstdio>

#include "config/LastSettingStore.h"
#include "config/ValueTables.h"
#include "config/WlanSecurityPairs.h"

namespace hx {
namespace {

std::string HexDigits(const uint8_t* bytes, size_t count) {
    std::string digits;
    char pair[3];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        digits += pair;
    }
    return digits;
}

// A stored key text as the key's bytes, read the way the driver library reads it before a
// key is written to the adapter: pairs of digits, spaces between them skipped, the text
// ending at the first other character, the rest of the key zero.
std::vector<uint8_t> StoredKeyBytes(const std::string& text, int count) {
    std::vector<uint8_t> bytes(static_cast<size_t>(count), 0);
    size_t at = 0;
    for (int written = 0; written < count; ++written) {
        while (at < text.size() && text[at] == ' ') ++at;
        const int high = at < text.size() ? HexDigitValue(text[at]) : -1;
        if (high < 0) break;
        const int low = at + 1 < text.size() ? HexDigitValue(text[at + 1]) : -1;
        if (low < 0) {
            bytes[static_cast<size_t>(written)] = static_cast<uint8_t>(high);
            break;
        }
        bytes[static_cast<size_t>(written)] = static_cast<uint8_t>(high * 16 + low);
        at += 2;
    }
    return bytes;
}

const WlanSecurityPair* PairOf(const WlanSetting& setting) {
    // "WEP Auto Switch" has no counterpart in the schema; open is what it tries first.
    const int mode = setting.AuthenticationMode == AuthMode::AutoSwitch ? AuthMode::Open : setting.AuthenticationMode;
    for (const WlanSecurityPair& pair : kWlanSecurityPairs) {
        if (pair.authenticationMode == mode && pair.wepStatus == setting.WEPStatus) return &pair;
    }
    return nullptr;
}

// The reason the setting cannot be written, or empty.
std::string Unwritable(const WlanSetting& setting, const WlanSecurityPair* pair, bool clearKey) {
    if (setting.SSID.empty()) return "the setting has no SSID";
    if (setting.SSID.size() > static_cast<size_t>(kMaxSsidLength)) return "the SSID is longer than 32 bytes";
    if (setting.NetworkType != NetworkType::AdHoc && setting.NetworkType != NetworkType::Infrastructure)
        return "the network type " + std::to_string(setting.NetworkType) + " has no counterpart in a WLAN profile";
    if (pair == nullptr)
        return "the authentication mode " + std::to_string(setting.AuthenticationMode) + " with the encryption " +
               std::to_string(setting.WEPStatus) + " has no counterpart in a WLAN profile";
    if (setting.NetworkType == NetworkType::AdHoc && !pair->adHoc)
        return "an ad hoc network with WPA has no counterpart in a WLAN profile";
    if (!clearKey) return {};
    if (pair->wepStatus == WepStatus::Wep && (setting.WEPDefaultKeyId < 0 || setting.WEPDefaultKeyId > 3))
        return "the default key " + std::to_string(setting.WEPDefaultKeyId) + " is not one of the four keys";
    if (AuthMode::PreSharedKey(pair->authenticationMode) && !setting.Dot1xPassphrase.empty() &&
        (setting.Dot1xPassphrase.size() < 8 || setting.Dot1xPassphrase.size() > 63))
        return "the stored pass phrase is not 8 to 63 characters";
    return {};
}

XmlElement ProfileTree(const std::string& name, const WlanSetting& setting, const WlanSecurityPair& pair, bool clearKey) {
    const std::string ns = kWlanProfileNamespace;
    XmlElement root{"WLANProfile", ns, {}, {}};
    root.Add("name", ns, name);
    XmlElement& ssid = root.Add("SSIDConfig", ns).Add("SSID", ns);
    ssid.Add("hex", ns, HexDigits(reinterpret_cast<const uint8_t*>(setting.SSID.data()), setting.SSID.size()));
    ssid.Add("name", ns, setting.SSID);
    root.Add("connectionType", ns, setting.NetworkType == NetworkType::AdHoc ? "IBSS" : "ESS");
    // Windows should not start joining the network by itself beside this utility.
    root.Add("connectionMode", ns, "manual");
    XmlElement& security = root.Add("MSM", ns).Add("security", ns);
    XmlElement& authEncryption = security.Add("authEncryption", ns);
    authEncryption.Add("authentication", ns, pair.authentication);
    authEncryption.Add("encryption", ns, pair.encryption);
    authEncryption.Add("useOneX", ns, AuthMode::Enterprise(pair.authenticationMode) ? "true" : "false");
    if (!clearKey) return root;
    if (pair.wepStatus == WepStatus::Wep) {
        const int index = setting.WEPDefaultKeyId;
        const std::vector<uint8_t> key =
            StoredKeyBytes(setting.WEPKey[static_cast<size_t>(index)], KeyLengthForBits(setting.WEPKeyLength).bytes);
        XmlElement& sharedKey = security.Add("sharedKey", ns);
        sharedKey.Add("keyType", ns, "networkKey");
        sharedKey.Add("protected", ns, "false");
        sharedKey.Add("keyMaterial", ns, HexDigits(key.data(), key.size()));
        security.Add("keyIndex", ns, std::to_string(index));
    } else if (AuthMode::PreSharedKey(pair.authenticationMode) && !setting.Dot1xPassphrase.empty()) {
        XmlElement& sharedKey = security.Add("sharedKey", ns);
        sharedKey.Add("keyType", ns, "passPhrase");
        sharedKey.Add("protected", ns, "false");
        sharedKey.Add("keyMaterial", ns, setting.Dot1xPassphrase);
    }
    return root;
}

}  // namespace

ExportedWlanProfile WlanProfileToXml(const std::string& name, const WlanSetting& setting, bool clearKey) {
    ExportedWlanProfile out;
    const WlanSecurityPair* pair = PairOf(setting);
    out.error = Unwritable(setting, pair, clearKey);
    if (!out.Written()) return out;
    out.root = ProfileTree(name, setting, *pair, clearKey);
    out.xml = XmlDocumentText(out.root);
    return out;
}

std::vector<std::pair<std::string, std::string>> MappedFieldValues(const ImportedWlanProfile& profile) {
    std::vector<std::pair<std::string, std::string>> values;
    const WlanSetting& s = profile.setting;
    for (const std::string& field : profile.fields) {
        std::string text;
        if (field == "SSID") text = s.SSID;
        else if (field == "NetworkType") text = std::to_string(s.NetworkType);
        else if (field == "AuthenticationMode") text = std::to_string(s.AuthenticationMode);
        else if (field == "WEPStatus") text = std::to_string(s.WEPStatus);
        else if (field == "WEPDefaultKeyId") text = std::to_string(s.WEPDefaultKeyId);
        else if (field == "WEPKeyLength") text = std::to_string(s.WEPKeyLength);
        else if (field == "Dot1xPassphrase") text = s.Dot1xPassphrase;
        else if (field == WepKeyValueName(s.WEPKeyLength, s.WEPDefaultKeyId))
            text = s.WEPKey[static_cast<size_t>(s.WEPDefaultKeyId)];
        else continue;
        values.emplace_back(field, text);
    }
    return values;
}

}  // namespace hx
