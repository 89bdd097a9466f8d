// The profile store: named copies of a complete setting, one key each under "Profile\",
// chained in the order they were added by the value "ProfileLink" (the application key's
// names the first profile, each profile's names the next).
//
// Profile names are key names: two names that differ only in letter case (or in
// separators the registry folds away) name the same key. ProfileExists compares names
// byte for byte; ProfileNameTaken is the check to use before adding a name. Every walk
// of the chain ends at a name whose key it has already visited, so a chain edited into a
// cycle outside the utility still ends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/AppProfile.h"
#include "config/WlanSetting.h"

namespace hx {

inline constexpr const char* kProfileSection = "Profile\\";
inline constexpr const char* kProfileLinkValue = "ProfileLink";

class ProfileStore {
public:
    explicit ProfileStore(AppProfile& profile) : profile_(profile) {}

    // Values of one profile: an empty text or -1 when missing; writes give 0 or -1.
    std::string ReadProfileValueString(std::string_view name, std::string_view value);
    int ReadProfileValueInt(std::string_view name, std::string_view value);
    int WriteProfileValueString(std::string_view name, std::string_view value, std::string_view text);
    int WriteProfileValueInt(std::string_view name, std::string_view value, int number);

    // The single steps of the chain: true when the link read is not empty.
    bool GetFirstProfileName(std::string& first);
    bool GetNextProfileName(std::string_view name, std::string& next);

    // The listed names in chain order (the walk the Profile page fills its list from).
    std::vector<std::string> ListProfileNames();
    // True when the name is listed exactly, letter case included.
    bool ProfileExists(std::string_view name);
    // True when a listed name names the same key: equal ignoring ASCII letter case.
    bool ProfileNameTaken(std::string_view name);

    // Appends the name at the end of the chain and clears its own link; returns 1. A name
    // whose key is already listed is left where it is: appending it again would cut the
    // chain after it.
    int LinkProfile(std::string_view name);
    // Takes the name out of the chain; 1 when it was listed, 0 otherwise. Its values stay.
    int UnlinkProfile(std::string_view name);

    // All 22 fields, as stored: -1 or empty for what is missing; the SSID cut to 32
    // characters, the rate and key texts to 99.
    void LoadProfile(std::string_view name, WlanSetting& setting);
    // All 22 fields; the chain is not touched.
    void SaveProfile(std::string_view name, const WlanSetting& setting);

private:
    static std::string Section(std::string_view name);
    // What identifies the key a name refers to: its normalised path, folded to lower case.
    static std::string KeyIdentity(std::string_view name);

    AppProfile& profile_;
};

}  // namespace hx
