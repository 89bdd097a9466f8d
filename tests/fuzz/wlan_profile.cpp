// The WLAN profile mapping on any element tree. Checked: a refusal keeps nothing; an
// accepted profile has an SSID of 1 to 32 bytes, a network type and security pair the
// adapter can use and keys it can take; it can be written, reads back as the same fields,
// and its text carries no control bytes.
//
// Input: the first byte picks the root's name and namespace; then records [op], by op % 4:
// 0 a child ([name byte], past the list a text; op bit 4: another namespace), entered up to
// 16 deep; 1 a value ([value byte], past the list a text); 2 leave the element; 3 a text.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "config/WlanProfileXml.h"
#include "config/WlanSecurityPairs.h"

namespace {

const char* const kNames[] = {
    "WLANProfile", "name", "SSIDConfig", "SSID", "hex", "connectionType", "connectionMode", "MSM", "security",
    "authEncryption", "authentication", "encryption", "useOneX", "sharedKey", "keyType", "protected",
    "keyMaterial", "keyIndex", "nonBroadcast", "OneX",
};
const char* const kValues[] = {
    "ESS", "IBSS", "open", "shared", "WPA", "WPAPSK", "WPA2PSK", "WPA3SAE", "none", "WEP", "TKIP", "AES",
    "true", "false", "1", "0", "networkKey", "passPhrase", "0", "3", "4", "abcde", "0102030405",
    "abcdefghijklm", "0102030405060708090A0B0C0D", "correct horse", "4F6666696365", "Office", " ", "\xC3\xA9",
};

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::string Text() {
        const size_t length = std::min<size_t>(Byte(), size_ - std::min(at_, size_));
        std::string text(reinterpret_cast<const char*>(data_ + at_), length);
        at_ += length;
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

hx::XmlElement Decode(Input& in) {
    const std::string ns = hx::kWlanProfileNamespace, other = "http://www.microsoft.com/networking/WLAN/profile/v3";
    const uint8_t first = in.Byte();
    hx::XmlElement root{(first & 1) ? kNames[first / 2 % std::size(kNames)] : "WLANProfile", (first & 0x80) ? other : ns, {}, {}};
    std::vector<hx::XmlElement*> open{&root};
    for (int record = 0; record < 512 && !in.Empty(); ++record) {
        const uint8_t op = in.Byte();
        hx::XmlElement& current = *open.back();
        switch (op % 4) {
        case 0: {
            const uint8_t name = in.Byte();
            hx::XmlElement& child = current.Add(name < std::size(kNames) ? kNames[name] : in.Text(), (op & 0x10) ? other : ns);
            if (open.size() < 16) open.push_back(&child);
            break;
        }
        case 1: {
            const uint8_t value = in.Byte();
            current.text += value < std::size(kValues) ? std::string(kValues[value]) : in.Text();
            break;
        }
        case 2: if (open.size() > 1) open.pop_back(); break;
        default: current.text += in.Text(); break;
        }
    }
    return root;
}

bool KnownPair(const hx::WlanSetting& s) {
    return std::any_of(std::begin(hx::kWlanSecurityPairs), std::end(hx::kWlanSecurityPairs), [&](const auto& pair) {
        return pair.authenticationMode == s.AuthenticationMode && pair.wepStatus == s.WEPStatus &&
               (s.NetworkType == hx::NetworkType::Infrastructure || pair.adHoc);
    });
}

void CheckText(const std::string& xml) {
    for (char c : xml) Check(static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\t');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const hx::XmlElement root = Decode(in);
    Check(!hx::XmlDocumentText(root).empty());  // names as they stand: no text check
    const hx::ImportedWlanProfile profile = hx::WlanProfileFromXml(root);
    if (!profile.Accepted()) {
        Check(profile.fields.empty() && profile.name.empty() && profile.setting == hx::WlanSetting{});
        return 0;
    }
    const hx::WlanSetting& s = profile.setting;
    Check(!s.SSID.empty() && s.SSID.size() <= 32 && s.SSID.find('\0') == std::string::npos);
    Check((s.NetworkType == 0 || s.NetworkType == 1) && KnownPair(s));
    Check(profile.fields.size() >= 4 && profile.fields[0] == "SSID");
    Check(hx::MappedFieldValues(profile).size() == profile.fields.size());
    if (s.AuthenticationMode == hx::AuthMode::WpaPsk && profile.fields.size() > 4)
        Check(s.Dot1xPassphrase.size() >= 8 && s.Dot1xPassphrase.size() <= 63);
    if (profile.fields.size() > 4 && s.WEPStatus == hx::WepStatus::Wep) {
        Check(s.WEPKeyLength == 64 || s.WEPKeyLength == 128 || s.WEPKeyLength == 256);
        Check(s.WEPDefaultKeyId >= 0 && s.WEPDefaultKeyId <= 3);
    }
    for (bool clearKey : {true, false}) {
        const hx::ExportedWlanProfile out = hx::WlanProfileToXml(profile.name, s, clearKey);
        Check(out.Written());
        CheckText(out.xml);
        const hx::ImportedWlanProfile back = hx::WlanProfileFromXml(out.root);
        Check(back.Accepted() && back.name == profile.name && back.setting.SSID == s.SSID);
        // A profile read without its key gets the setting's empty key written with it.
        const auto values = hx::MappedFieldValues(profile), backValues = hx::MappedFieldValues(back);
        Check(std::equal(backValues.begin(), backValues.begin() + 4, values.begin()));
        if (clearKey && profile.fields.size() > 4) Check(back.setting == s && back.fields == profile.fields);
        if (!clearKey) Check(back.fields.size() == 4);
    }
    return 0;
}
