#include "config/ProfileStore.h"

#include <set>

#include "config/LastSettingStore.h"

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
    return profile_.GetProfileString(Section(name), value, "");
}

int ProfileStore::ReadProfileValueInt(std::string_view name, std::string_view value) {
    return profile_.GetProfileInt(Section(name), value, -1);
}

int ProfileStore::WriteProfileValueString(std::string_view name, std::string_view value,
                                          std::string_view text) {
    return profile_.WriteProfileString(Section(name), value, text) ? 0 : -1;
}

int ProfileStore::WriteProfileValueInt(std::string_view name, std::string_view value, int number) {
    return profile_.WriteProfileInt(Section(name), value, number) ? 0 : -1;
}

bool ProfileStore::GetFirstProfileName(std::string& first) {
    first = profile_.GetProfileString("", kProfileLinkValue, "");
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
        profile_.WriteProfileString("", kProfileLinkValue, name);
    } else {
        // The last listed profile: its link is empty, missing, or leads back into the chain.
        WriteProfileValueString(names.back(), kProfileLinkValue, name);
    }
    profile_.DeleteProfileValue(Section(name), kProfileLinkValue);
    return 1;
}

int ProfileStore::UnlinkProfile(std::string_view name) {
    const std::vector<std::string> names = ListProfileNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] != name) continue;
        const std::string successor = i + 1 < names.size() ? names[i + 1] : std::string();
        if (i == 0) {
            profile_.WriteProfileString("", kProfileLinkValue, successor);
        } else {
            WriteProfileValueString(names[i - 1], kProfileLinkValue, successor);
        }
        return 1;
    }
    return 0;
}

void ProfileStore::LoadProfile(std::string_view name, WlanSetting& s) {
    s.SSID = CutText(ReadProfileValueString(name, "SSID"), kMaxSsidLength);
    s.Channel = ReadProfileValueInt(name, "Channel");
    s.NetworkType = ReadProfileValueInt(name, "NetworkType");
    s.DesiredRate = CutText(ReadProfileValueString(name, "DesiredRate"), kMaxHexTextLength);
    s.AuthenticationMode = ReadProfileValueInt(name, "AuthenticationMode");
    s.WEPStatus = ReadProfileValueInt(name, "WEPStatus");
    s.WEPDefaultKeyId = ReadProfileValueInt(name, "WEPDefaultKeyId");
    s.WEPKeyLength = ReadProfileValueInt(name, "WEPKeyLength");
    for (int i = 0; i < 4; ++i) {
        s.WEPKey[static_cast<size_t>(i)] =
            CutText(ReadProfileValueString(name, WepKeyValueName(s.WEPKeyLength, i)), kMaxHexTextLength);
    }
    s.PowerSaveMode = ReadProfileValueInt(name, "PowerSaveMode");
    s.PreambleMode = ReadProfileValueInt(name, "PreambleMode");
    s.Domain = ReadProfileValueInt(name, "Domain");
    s.Dot1xProtocol = ReadProfileValueInt(name, "Dot1xProtocol");
    s.Dot1xPassphrase = ReadProfileValueString(name, "Dot1xPassphrase");
    s.Dot1xUsername = ReadProfileValueString(name, "Dot1xUsername");
    s.Dot1xPassword = ReadProfileValueString(name, "Dot1xPassword");
    s.Dot1xWPAIEs = ReadProfileValueString(name, "Dot1xWPAIEs");
    s.Dot1xCertSubject = ReadProfileValueString(name, "Dot1xCertSubject");
    s.Dot1xCertIssuer = ReadProfileValueString(name, "Dot1xCertIssuer");
}

void ProfileStore::SaveProfile(std::string_view name, const WlanSetting& s) {
    WriteProfileValueString(name, "SSID", s.SSID);
    WriteProfileValueInt(name, "Channel", s.Channel);
    WriteProfileValueInt(name, "NetworkType", s.NetworkType);
    WriteProfileValueString(name, "DesiredRate", s.DesiredRate);
    WriteProfileValueInt(name, "AuthenticationMode", s.AuthenticationMode);
    WriteProfileValueInt(name, "WEPStatus", s.WEPStatus);
    WriteProfileValueInt(name, "WEPDefaultKeyId", s.WEPDefaultKeyId);
    WriteProfileValueInt(name, "WEPKeyLength", s.WEPKeyLength);
    for (int i = 0; i < 4; ++i) {
        WriteProfileValueString(name, WepKeyValueName(s.WEPKeyLength, i), s.WEPKey[static_cast<size_t>(i)]);
    }
    WriteProfileValueInt(name, "PowerSaveMode", s.PowerSaveMode);
    WriteProfileValueInt(name, "PreambleMode", s.PreambleMode);
    WriteProfileValueInt(name, "Domain", s.Domain);
    WriteProfileValueInt(name, "Dot1xProtocol", s.Dot1xProtocol);
    WriteProfileValueString(name, "Dot1xPassphrase", s.Dot1xPassphrase);
    WriteProfileValueString(name, "Dot1xUsername", s.Dot1xUsername);
    WriteProfileValueString(name, "Dot1xPassword", s.Dot1xPassword);
    WriteProfileValueString(name, "Dot1xWPAIEs", s.Dot1xWPAIEs);
    WriteProfileValueString(name, "Dot1xCertSubject", s.Dot1xCertSubject);
    WriteProfileValueString(name, "Dot1xCertIssuer", s.Dot1xCertIssuer);
}

}  // namespace hx
