#include "tests/win/e2e_chaos/RegistryModel.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "config/LastSettingStore.h"
#include "config/SettingFields.h"

namespace hx::test::chaos {
namespace {

bool RunEntryPresent() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_QUERY_VALUE,
                        &key) != ERROR_SUCCESS)
        return false;
    const bool present = ::RegQueryValueExA(key, "HX88UUtil", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return present;
}

bool Same(const StoredValue& a, const StoredValue& b) {
    return a.type == b.type && a.number == b.number && a.text == b.text;
}

std::string Shown(const StoredValue& value) {
    return value.type == REG_DWORD ? std::to_string(value.number) : "\"" + value.text + "\"";
}

// A key's hex digits, upper case, without the spaces between pairs.
std::string HexDigits(const std::string& text) {
    std::string digits;
    for (const char c : text)
        if (c != ' ') digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return digits;
}

bool IsWepKeyName(const std::string& name) {
    for (const int bits : {64, 128, 256})
        for (int i = 0; i < 4; ++i)
            if (name == WepKeyValueName(bits, i)) return true;
    return false;
}

std::string ProfilePath(const std::string& name) { return "Profile\\" + name; }

}  // namespace

RegistryModel::RegistryModel(const Network& seeded) : runEntryBefore_(RunEntryPresent()) {
    ssids_.insert("");
    passphrases_.insert("");
    for (const int bits : {64, 128, 256}) wepKeys_.insert(HexDigits(DefaultWepKeyText(bits)));
    Asked(seeded);
}

void RegistryModel::Asked(const Network& network) {
    ssids_.insert(network.ssid);
    if (network.security == Security::Wep) wepKeys_.insert(HexDigits(network.key));
    if (IsWpa(network)) passphrases_.insert(network.key);
}

void RegistryModel::Saved(const std::string& name) {
    chain_.push_back(name);
    saved_[ProfilePath(name)] = ReadUtilityKeys()[ProfilePath(name)];
}

void RegistryModel::Deleted(const std::string& name) {
    chain_.erase(std::remove(chain_.begin(), chain_.end(), name), chain_.end());
}

std::string RegistryModel::SsidOf(const std::string& profile) const {
    const auto stored = saved_.find(ProfilePath(profile));
    if (stored == saved_.end()) return "";
    const auto ssid = stored->second.find("SSID");
    return ssid == stored->second.end() ? "" : ssid->second.text;
}

void RegistryModel::CheckSetting(const std::string& path, const StoredValues& values,
                                 std::vector<std::string>& found) const {
    for (const auto& [name, value] : values) {
        const std::string where = path + "\\" + name + " = " + Shown(value);
        if (name == "ProfileLink" && path != "LastSetting") continue;
        if (IsWepKeyName(name)) {
            if (value.type != REG_SZ || wepKeys_.count(HexDigits(value.text)) == 0) found.push_back("a WEP key no one gave: " + where);
            continue;
        }
        const auto field = std::find_if(std::begin(kSettingFields), std::end(kSettingFields),
                                        [&](const SettingField& f) { return name == f.name; });
        if (field == std::end(kSettingFields) || (field->text == nullptr && field->integer == nullptr)) {
            found.push_back("a value the setting does not have: " + where);
        } else if ((field->integer != nullptr) != (value.type == REG_DWORD)) {
            found.push_back("a value of the wrong type: " + where);
        } else if (name == "Domain" && value.number != 0) {
            found.push_back("a region the script never set: " + where);
        } else if ((name == "SSID" && ssids_.count(value.text) == 0) ||
                   (name == "Dot1xPassphrase" && passphrases_.count(value.text) == 0)) {
            found.push_back("a value no one gave: " + where);
        }
    }
}

std::vector<std::string> RegistryModel::Check() const {
    std::vector<std::string> found;
    std::map<std::string, StoredValues> keys = ReadUtilityKeys();
    for (const auto& [path, values] : keys) {
        if (path.empty()) {
            for (const auto& [name, value] : values) {
                const bool expected = (name == "WepKeyFormat" && value.type == REG_DWORD && value.number == 0) ||
                                      (name == "ProfileLink" && value.type == REG_SZ);
                if (!expected) found.push_back("a value the script did not cause: " + name + " = " + Shown(value));
            }
        } else if (path == "LastSetting") {
            CheckSetting(path, values, found);
        } else if (path == "Profile") {
            if (!values.empty()) found.push_back("values in Profile itself");
        } else if (const auto saved = saved_.find(path); saved != saved_.end()) {
            CheckSetting(path, values, found);
            for (const auto* side : {&values, &saved->second}) {
                for (const auto& [name, value] : *side) {
                    if (name == "ProfileLink") continue;
                    const auto now = values.find(name), then = saved->second.find(name);
                    if (now == values.end() || then == saved->second.end() || !Same(now->second, then->second)) {
                        found.push_back(path + "\\" + name + " changed after the profile was saved");
                        break;
                    }
                }
            }
        } else {
            found.push_back("a key the script did not cause: " + path);
        }
    }
    // The chain, followed from the key itself.
    std::vector<std::string> chain;
    std::string next = keys[""]["ProfileLink"].text;
    while (!next.empty() && chain.size() < 1000) {
        chain.push_back(next);
        next = keys[ProfilePath(next)]["ProfileLink"].text;
    }
    if (chain != chain_) {
        std::string text = "the profile chain is";
        for (const std::string& name : chain) text += " " + name;
        text += "; the script made";
        for (const std::string& name : chain_) text += " " + name;
        found.push_back(text);
    }
    if (!runEntryBefore_ && RunEntryPresent()) found.push_back("a Start with Windows entry the script did not make");
    return found;
}

}  // namespace hx::test::chaos
