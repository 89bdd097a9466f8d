#include "config/ProfileStore.h"

#include <set>

#include "config/LastSettingStore.h"
#include "config/SettingFields.h"

namespace hx {

std::string ProfileStore::Section(std::string_view name) {
    return std::string(kProfileSection) + std::string(name);
}

std::string ProfileStore::KeyIdentity(std::string_view name) {
    std::string identity = NormaliseSection(Section(name));
    for (char& c : identity) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return identity;
}

std::string ProfileStore::ReadProfileValueString(std::string_view name, std::string_view value) {
    return profile_.ReadString(Section(name), value, "");
}

int ProfileStore::ReadProfileValueInt(std::string_view name, std::string_view value) {
    return profile_.ReadInt(Section(name), value, -1);
}

int ProfileStore::WriteProfileValueString(std::string_view name, std::string_view value,
                                          std::string_view text) {
    return profile_.WriteString(Section(name), value, text) ? 0 : -1;
}

int ProfileStore::WriteProfileValueInt(std::string_view name, std::string_view value, int number) {
    return profile_.WriteInt(Section(name), value, number) ? 0 : -1;
}

bool ProfileStore::GetFirstProfileName(std::string& first) {
    first = profile_.ReadString("", kProfileLinkValue, "");
    return !first.empty();
}

bool ProfileStore::GetNextProfileName(std::string_view name, std::string& next) {
    next = ReadProfileValueString(name, kProfileLinkValue);
    return !next.empty();
}

std::vector<std::string> ProfileStore::ListProfileNames() {
    std::vector<std::string> names;
    std::set<std::string> visited;
    std::string name;
    bool found = GetFirstProfileName(name);
    while (found && visited.insert(KeyIdentity(name)).second) {
        names.push_back(name);
        std::string next;
        found = GetNextProfileName(name, next);
        name = std::move(next);
    }
    return names;
}

bool ProfileStore::ProfileExists(std::string_view name) {
    for (const std::string& listed : ListProfileNames()) {
        if (listed == name) return true;
    }
    return false;
}

bool ProfileStore::ProfileNameTaken(std::string_view name) {
    const std::string identity = KeyIdentity(name);
    for (const std::string& listed : ListProfileNames()) {
        if (KeyIdentity(listed) == identity) return true;
    }
    return false;
}

int ProfileStore::LinkProfile(std::string_view name) {
    const std::vector<std::string> names = ListProfileNames();
    const std::string identity = KeyIdentity(name);
    for (const std::string& listed : names) {
        if (KeyIdentity(listed) == identity) return 1;
    }
    if (names.empty()) {
        profile_.WriteString("", kProfileLinkValue, name);
    } else {
        // The last listed profile: its link is empty, missing, or leads back into the chain.
        WriteProfileValueString(names.back(), kProfileLinkValue, name);
    }
    profile_.DeleteValue(Section(name), kProfileLinkValue);
    return 1;
}

int ProfileStore::UnlinkProfile(std::string_view name) {
    const std::vector<std::string> names = ListProfileNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] != name) continue;
        const std::string successor = i + 1 < names.size() ? names[i + 1] : std::string();
        if (i == 0) {
            profile_.WriteString("", kProfileLinkValue, successor);
        } else {
            WriteProfileValueString(names[i - 1], kProfileLinkValue, successor);
        }
        return 1;
    }
    return 0;
}

void ProfileStore::LoadProfile(std::string_view name, WlanSetting& setting) {
    for (const SettingField& field : kSettingFields) {
        if (field.integer != nullptr) {
            setting.*field.integer = ReadProfileValueInt(name, field.name);
        } else if (field.text != nullptr) {
            setting.*field.text = CutText(ReadProfileValueString(name, field.name), field.limit);
        } else {
            // Under the names of the key length just read.
            for (int i = 0; i < 4; ++i) {
                setting.WEPKey[static_cast<size_t>(i)] =
                    CutText(ReadProfileValueString(name, WepKeyValueName(setting.WEPKeyLength, i)), field.limit);
            }
        }
    }
}

void ProfileStore::SaveProfile(std::string_view name, const WlanSetting& setting) {
    for (const SettingField& field : kSettingFields) {
        if (field.integer != nullptr) {
            WriteProfileValueInt(name, field.name, setting.*field.integer);
        } else if (field.text != nullptr) {
            WriteProfileValueString(name, field.name, setting.*field.text);
        } else {
            for (int i = 0; i < 4; ++i) {
                WriteProfileValueString(name, WepKeyValueName(setting.WEPKeyLength, i),
                                        setting.WEPKey[static_cast<size_t>(i)]);
            }
        }
    }
}

}  // namespace hx
