// Reading a WLAN profile into a setting: every refusal decided before anything is kept.
#include <cctype>
#include <cstdint>
#include <optional>
#include <string_view>

#include "config/LastSettingStore.h"
#include "config/ValueTables.h"
#include "config/WlanProfileXml.h"
#include "config/WlanSecurityPairs.h"

namespace hx {
namespace {

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

bool AllHex(std::string_view text) {
    for (char c : text) {
        if (HexDigitValue(c) < 0) return false;
    }
    return true;
}

// Pairs of hexadecimal digits as bytes; the caller checked the digits and the even length.
std::string HexBytes(std::string_view digits) {
    std::string bytes;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes += static_cast<char>(HexDigitValue(digits[i]) * 16 + HexDigitValue(digits[i + 1]));
    return bytes;
}

std::string KeyRecord(const std::string& bytes) {
    return HexText(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

// xs:boolean: true, false, 1 or 0; nullopt for anything else.
std::optional<bool> Boolean(const std::string& text) {
    const std::string word = TrimWhitespace(text);
    if (word == "true" || word == "1") return true;
    if (word == "false" || word == "0") return false;
    return std::nullopt;
}

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(text.substr(0, 64));
    quoted += '"';
    return quoted;
}

class Reader {
public:
    explicit Reader(ImportedWlanProfile& out) : out_(out) {}

    bool Refuse(std::string message) {
        out_.error = std::move(message);
        return false;
    }
    const XmlElement* Child(const XmlElement* parent, std::string_view name) const {
        return parent == nullptr ? nullptr : parent->Child(name, kWlanProfileNamespace);
    }
    std::string Text(const XmlElement* parent, std::string_view name) const {
        const XmlElement* child = Child(parent, name);
        return child == nullptr ? std::string() : TrimWhitespace(child->text);
    }

    bool Ssid(const XmlElement& root) {
        const XmlElement* ssid = Child(Child(&root, "SSIDConfig"), "SSID");
        const XmlElement* hex = Child(ssid, "hex");
        const XmlElement* name = Child(ssid, "name");
        std::string bytes;
        if (hex != nullptr && !TrimWhitespace(hex->text).empty()) {
            const std::string digits = TrimWhitespace(hex->text);
            if (!AllHex(digits)) return Refuse("the SSID's hex form holds a character that is not a hexadecimal digit");
            if (digits.size() % 2 != 0) return Refuse("the SSID's hex form has an odd number of digits");
            bytes = HexBytes(digits);
        } else if (name != nullptr) {
            bytes = name->text;
        }
        if (bytes.empty()) return Refuse("the profile names no SSID");
        if (bytes.size() > static_cast<size_t>(kMaxSsidLength)) return Refuse("the SSID is longer than 32 bytes");
        if (bytes.find('\0') != std::string::npos) return Refuse("an SSID with a zero byte cannot be stored");
        out_.setting.SSID = bytes;
        return true;
    }

    bool ConnectionType(const XmlElement& root) {
        const std::string type = Text(&root, "connectionType");
        if (type.empty() || SameWord(type, "ESS")) {
            out_.setting.NetworkType = NetworkType::Infrastructure;
        } else if (SameWord(type, "IBSS")) {
            out_.setting.NetworkType = NetworkType::AdHoc;
        } else {
            return Refuse("unknown connection type " + Quoted(type) + " (ESS or IBSS)");
        }
        return true;
    }

    // The pair, or nullptr after a refusal.
    const WlanSecurityPair* Security(const XmlElement* security) {
        const XmlElement* authEncryption = Child(security, "authEncryption");
        std::string authentication = Text(authEncryption, "authentication");
        std::string encryption = Text(authEncryption, "encryption");
        if (authentication.empty()) authentication = "open";
        if (encryption.empty()) encryption = "none";
        for (const char* unsupported : kWlanUnsupportedAuthentications) {
            if (SameWord(authentication, unsupported))
                return Refuse("the adapter cannot join WPA3 or OWE networks (authentication " + authentication + ")"), nullptr;
        }
        bool knownAuthentication = false, knownEncryption = false;
        for (const char* name : kWlanAuthentications) knownAuthentication |= SameWord(authentication, name);
        for (const char* name : kWlanEncryptions) knownEncryption |= SameWord(encryption, name);
        if (!knownAuthentication) return Refuse("unknown authentication " + Quoted(authentication)), nullptr;
        if (!knownEncryption) return Refuse("the adapter cannot use the encryption " + Quoted(encryption)), nullptr;
        const WlanSecurityPair* pair = nullptr;
        for (const WlanSecurityPair& candidate : kWlanSecurityPairs) {
            if (SameWord(authentication, candidate.authentication) && SameWord(encryption, candidate.encryption))
                pair = &candidate;
        }
        if (pair == nullptr)
            return Refuse("authentication " + authentication + " cannot be used with encryption " + encryption), nullptr;
        if (out_.setting.NetworkType == NetworkType::AdHoc && !pair->adHoc)
            return Refuse("the adapter joins ad hoc (IBSS) networks only open or with WEP"), nullptr;
        const std::string oneXText = Text(authEncryption, "useOneX");
        const std::optional<bool> oneX = oneXText.empty() ? std::optional<bool>(false) : Boolean(oneXText);
        if (!oneX) return Refuse("useOneX must be true or false"), nullptr;
        if (*oneX && !AuthMode::Enterprise(pair->authenticationMode))
            return Refuse("the adapter uses 802.1X (useOneX) only with WPA and WPA2"), nullptr;
        return pair;
    }

    bool SharedKey(const XmlElement* security, const WlanSecurityPair& pair) {
        const XmlElement* sharedKey = Child(security, "sharedKey");
        const bool wep = pair.wepStatus == WepStatus::Wep;
        const bool psk = AuthMode::PreSharedKey(pair.authenticationMode);
        if (sharedKey == nullptr || (!wep && !psk)) return true;
        const std::string protectedText = Text(sharedKey, "protected");
        const std::optional<bool> isProtected = protectedText.empty() ? std::optional<bool>(false) : Boolean(protectedText);
        if (!isProtected) return Refuse("the shared key's protected element must be true or false");
        if (*isProtected) return Refuse("the key is protected by Windows; export it with key=clear");
        const XmlElement* material = Child(sharedKey, "keyMaterial");
        if (material == nullptr) return Refuse("the shared key has no keyMaterial");
        const std::string keyType = Text(sharedKey, "keyType");
        if (psk) {
            if (!SameWord(keyType, "passPhrase"))
                return Refuse("a WPA-PSK or WPA2-PSK key must be given as its pass phrase (keyType passPhrase)");
            if (material->text.size() < 8 || material->text.size() > 63)
                return Refuse("the pass phrase must be 8 to 63 characters");
            out_.setting.Dot1xPassphrase = material->text;
            out_.fields.emplace_back("Dot1xPassphrase");
            return true;
        }
        if (!SameWord(keyType, "networkKey")) return Refuse("a WEP key must be given as a network key (keyType networkKey)");
        return WepKey(security, material->text);
    }

    bool WepKey(const XmlElement* security, const std::string& material) {
        const std::string indexText = Text(security, "keyIndex");
        int index = 0;
        if (!indexText.empty()) {
            if (indexText.size() != 1 || indexText[0] < '0' || indexText[0] > '3')
                return Refuse("keyIndex must be 0, 1, 2 or 3");
            index = indexText[0] - '0';
        }
        std::string bytes;
        if (material.size() == 5 || material.size() == 13 || material.size() == 29) {
            bytes = material;
        } else if ((material.size() == 10 || material.size() == 26 || material.size() == 58) && AllHex(material)) {
            bytes = HexBytes(material);
        } else {
            return Refuse("a WEP key is 5 or 13 characters or 10 or 26 hexadecimal digits (29 or 58 for 256 bits)");
        }
        const int bits = 8 * static_cast<int>(bytes.size()) + 24;
        out_.setting.WEPKeyLength = bits;
        out_.setting.WEPDefaultKeyId = index;
        out_.setting.WEPKey[static_cast<size_t>(index)] = KeyRecord(bytes);
        out_.fields.emplace_back("WEPDefaultKeyId");
        out_.fields.emplace_back("WEPKeyLength");
        out_.fields.push_back(WepKeyValueName(bits, index));
        return true;
    }

private:
    ImportedWlanProfile& out_;
};

void Read(const XmlElement& root, ImportedWlanProfile& out) {
    Reader reader(out);
    if (root.name != "WLANProfile" || root.namespaceUri != kWlanProfileNamespace) {
        reader.Refuse("not a WLAN profile: the document's element is <" + root.name.substr(0, 64) +
                      "> where a WLAN profile has <WLANProfile xmlns=\"" + kWlanProfileNamespace + "\">");
        return;
    }
    if (const XmlElement* name = root.Child("name", kWlanProfileNamespace)) out.name = name->text;
    if (!reader.Ssid(root) || !reader.ConnectionType(root)) return;
    out.fields = {"SSID", "NetworkType", "AuthenticationMode", "WEPStatus"};
    const XmlElement* security = reader.Child(reader.Child(&root, "MSM"), "security");
    const WlanSecurityPair* pair = reader.Security(security);
    if (pair == nullptr || !reader.SharedKey(security, *pair)) return;
    out.setting.AuthenticationMode = pair->authenticationMode;
    out.setting.WEPStatus = pair->wepStatus;
    if (AuthMode::Enterprise(pair->authenticationMode))
        out.notes.emplace_back("the 802.1X (EAP) settings are not imported: choose the method and credentials in the profile editor");
}

}  // namespace

ImportedWlanProfile WlanProfileFromXml(const XmlElement& root) {
    ImportedWlanProfile out;
    Read(root, out);
    if (!out.Accepted()) {
        // A refused profile carries nothing but its reason.
        ImportedWlanProfile refused;
        refused.error = std::move(out.error);
        return refused;
    }
    return out;
}

}  // namespace hx
