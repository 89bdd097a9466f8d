// verb=connect: every field is checked before anything changes; then the network is joined
// as the Configuration page's SSID and the Encryption page's Apply join it (the Site
// Survey list gives the network type, the channel and the BSSID, as its Connect does), and
// the windows show Link Info.
#include <array>
#include <cstring>
#include <mutex>
#include <optional>

#include "adapter/AdapterLibrary.h"
#include "app/ControlService.h"
#include "config/LastSettingStore.h"
#include "config/SettingApplier.h"
#include "config/ValueTables.h"
#include "pages/EncryptionPageModel.h"
#include "pages/WepKeyEntry.h"

namespace hx {
namespace {

constexpr const char* kSsidMessage = "SSID must be 1 to 32 bytes";
constexpr const char* kBssidMessage = "BSSID must be six hex pairs, as 00-11-22-33-44-55";
constexpr const char* kWepKeyMessage =
    "WEP key must be INDEX:KEY with INDEX 1 to 4 and KEY of 5, 13 or 29 characters or 10, 26 or 58 hex digits";

std::optional<std::array<uint8_t, 6>> ParseBssid(const std::string& text) {
    if (text.size() != 17) return std::nullopt;
    std::array<uint8_t, 6> bssid{};
    for (size_t i = 0; i < 6; ++i) {
        const int high = HexDigitValue(text[3 * i]), low = HexDigitValue(text[3 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        if (i < 5 && text[3 * i + 2] != '-' && text[3 * i + 2] != ':') return std::nullopt;
        bssid[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return bssid;
}

struct WepKey {
    int index = 0;  // 0..3
    int bits = 64;
    std::vector<uint8_t> bytes;
};

// "N:KEY": text of 5, 13 or 29 characters, or twice as many hex digits.
std::optional<WepKey> ParseWepKey(const std::string& text) {
    if (text.size() < 3 || text[0] < '1' || text[0] > '4' || text[1] != ':') return std::nullopt;
    const std::string key = text.substr(2);
    WepKey wep;
    wep.index = text[0] - '1';
    for (const int bits : {64, 128, 256}) {
        const size_t bytes = static_cast<size_t>(bits / 8 - 3);
        wep.bits = bits;
        if (key.size() == bytes) {
            wep.bytes.assign(key.begin(), key.end());
            return wep;
        }
        if (key.size() == 2 * bytes) {
            for (size_t i = 0; i < bytes; ++i) {
                const int high = HexDigitValue(key[2 * i]), low = HexDigitValue(key[2 * i + 1]);
                if (high < 0 || low < 0) return std::nullopt;
                wep.bytes.push_back(static_cast<uint8_t>(high * 16 + low));
            }
            return wep;
        }
    }
    return std::nullopt;
}

// The key as the page puts it into the setting: the stored text read into bytes and written
// again. A text the library fails to read stays as stored: its zeros are no key anyone gave.
std::string StoredKeyRecordText(ControlContext& c, int index, int bits) {
    const int bytes = KeyLengthForBits(bits).bytes;
    char text[100] = {};
    std::strncpy(text, c.lastSetting.LoadLastWepKey(index, bits).c_str(), sizeof text - 1);
    std::array<uint8_t, 32> key{};
    if (c.library.HexStrToBin(text, key.data(), bytes) == -1) return text;
    return HexText(key.data(), bytes);
}

// Whether the setting is for the listed network: its SSID, and its kind of security.
bool SettingIsFor(const WlanSetting& setting, const SurveyEntry& entry) {
    if (setting.SSID != entry.ssid) return false;
    if (entry.encryption == WepStatus::Wep) return setting.WEPStatus == WepStatus::Wep;
    return setting.AuthenticationMode == entry.authenticationMode;
}

}  // namespace

std::vector<ControlRecord> ConnectRequest(ControlContext& c, const ControlRecord& r) {
    if (const std::string* field = UnknownField(r, {"ssid", "bssid", "wep-key", "wep-auth", "passphrase", "cipher"}))
        return Refused(ExitStatus::Usage, "unknown field " + *field);
    const std::string ssid = r.Get("ssid");
    if (ssid.empty() || ssid.size() > static_cast<size_t>(kMaxSsidLength)) return Refused(ExitStatus::Usage, kSsidMessage);
    std::optional<std::array<uint8_t, 6>> bssid;
    if (const std::string* text = r.Find("bssid")) {
        bssid = ParseBssid(*text);
        if (!bssid) return Refused(ExitStatus::Usage, kBssidMessage);
    }
    const std::string* wepText = r.Find("wep-key");
    const std::string* passphrase = r.Find("passphrase");
    if (wepText && passphrase) return Refused(ExitStatus::Usage, "give a WEP key or a pass phrase, not both");
    if (r.Find("wep-auth") && !wepText) return Refused(ExitStatus::Usage, "wep-auth needs a WEP key");
    if (r.Find("cipher") && !passphrase) return Refused(ExitStatus::Usage, "cipher needs a pass phrase");
    std::optional<WepKey> wep;
    if (wepText && !(wep = ParseWepKey(*wepText))) return Refused(ExitStatus::Usage, kWepKeyMessage);
    const std::string wepAuth = r.Get("wep-auth", "auto");
    const int wepAuthPosition = wepAuth == "open" ? 0 : wepAuth == "shared" ? 1 : wepAuth == "auto" ? 2 : -1;
    if (wepAuthPosition < 0) return Refused(ExitStatus::Usage, "wep-auth must be open, shared or auto");
    if (passphrase && !PassphraseLengthValid(*passphrase)) return Refused(ExitStatus::Usage, kPassphraseLengthMessage);
    const std::string cipher = r.Get("cipher");
    if (!cipher.empty() && cipher != "tkip" && cipher != "aes")
        return Refused(ExitStatus::Usage, "cipher must be tkip or aes");
    if (const std::string why = WindowsUnavailable(c.state); !why.empty()) return Refused(ExitStatus::ConnectFailed, why);

    std::optional<SurveyEntry> entry;
    for (const SurveyEntry& listed : c.window.SurveyEntries()) {
        if (bssid ? listed.bssid == *bssid : listed.ssid == ssid) {
            entry = listed;
            break;
        }
    }
    if (entry && entry->ssid != ssid) entry.reset();  // that BSSID names another network
    if (entry && entry->refusal != JoinRefusal::None)
        return Refused(ExitStatus::CannotJoin, JoinRefusalText(entry->refusal));

    WlanSetting& setting = c.state.current;
    // The Encryption page offers WPA-PSK in infrastructure mode only.
    if (passphrase && (entry ? entry->networkType : setting.NetworkType) != NetworkType::Infrastructure)
        return Refused(ExitStatus::Usage, "WPA-PSK needs an access point, not an ad hoc network");
    // A listed network with security and no key given: the setting in force is used, as
    // Site Survey's question answered Yes, only when it is that network's own. Another
    // network's key would be handed to whoever answers under this name.
    const bool previous = !wep && !passphrase && entry && entry->encryption != WepStatus::Disabled;
    if (previous && !SettingIsFor(setting, *entry))
        return Refused(ExitStatus::Usage, ssid + " needs its key: the setting in force is for another network");
    c.worker.StopWorker();
    SecurityChoice choice;
    choice.passphrase = setting.Dot1xPassphrase;
    choice.keyLengthBits = KeyLengthForBits(setting.WEPKeyLength).bits;
    if (wep) {
        choice.encryption = kWepPosition;
        choice.authentication = wepAuthPosition;
        choice.defaultKey = wep->index;
        choice.keyLengthBits = wep->bits;
    } else if (passphrase) {
        const bool aes = cipher == "aes" || (cipher.empty() && entry && entry->encryption == WepStatus::Aes);
        choice.encryption = aes ? 3 : 2;
        // WPA2 for a listed WPA2 network, WPA where the survey says nothing else.
        choice.authentication = entry && AuthMode::Rsn(entry->authenticationMode) ? kWpa2PskPosition : kWpaPskPosition;
        choice.passphrase = *passphrase;
    } else {
        choice.encryption = 0;  // "Disable"
        choice.authentication = 0;
    }
    for (int i = 0; i < 4; ++i)
        choice.keys[static_cast<size_t>(i)] = wep && wep->index == i
                                                  ? HexText(wep->bytes.data(), static_cast<int>(wep->bytes.size()))
                                                  : StoredKeyRecordText(c, i, choice.keyLengthBits);
    {
        std::lock_guard lock(c.state.currentSettingMutex);
        setting.SSID = ssid;
        if (entry) {
            setting.NetworkType = entry->networkType;
            if (entry->networkType == NetworkType::AdHoc) setting.Channel = entry->channel;
        }
    }
    if (entry) c.library.SetWL_BSSID(&c.state.adapter, entry->bssid.data());
    else if (bssid) c.library.SetWL_BSSID(&c.state.adapter, bssid->data());
    if (previous) {
        c.applier.ApplySetting();
    } else {
        EncryptionPageModel(c.state, c.lastSetting, c.applier).Apply(choice, c.state.keyFormat);
    }
    c.shell.ShowPage(PageId::LinkInfo);
    return AppliedOrOwed(c.state);
}

}  // namespace hx
