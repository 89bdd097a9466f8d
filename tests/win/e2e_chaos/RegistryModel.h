// What the utility's registry key may hold after what the script has done, checked against
// what it holds: no key and no value there that the script did not cause.
//
// - Keys: the key itself, LastSetting, Profile, and Profile\<name> for the profiles the
//   script saved (a removed profile keeps its key, as Remove leaves it).
// - The key itself: WepKeyFormat 0 (the script types no key format) and ProfileLink.
// - The chain of ProfileLink names: exactly the profiles the script saved and did not
//   delete, in the order saved; a request that failed changed nothing.
// - A profile's values, but its link, are those stored when it was saved, for good.
// - LastSetting, and every profile: value names the setting has, of their types; an SSID,
//   pass phrase and WEP key the script gave (or the defaults); the region (Domain) as it
//   was, since the script never sets one and the region the adapter reports is not stored.
// - No "Start with Windows" entry appears.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/win/common/RegistryProbe.h"
#include "tests/win/e2e_chaos/ChaosWorld.h"

namespace hx::test::chaos {

class RegistryModel {
public:
    // The key as the run begins (the seeded last setting), and the network it names.
    explicit RegistryModel(const Network& seeded);

    // The script asks for this network: its SSID and key may be stored from now on.
    void Asked(const Network& network);
    // A profile saved by a request that succeeded: its values as stored now are its own.
    void Saved(const std::string& name);
    void Deleted(const std::string& name);
    // The profiles, in the order saved.
    const std::vector<std::string>& Profiles() const { return chain_; }
    // The SSID a profile stores.
    std::string SsidOf(const std::string& profile) const;

    // What the key holds that the script did not cause; empty when nothing.
    std::vector<std::string> Check() const;

private:
    void CheckSetting(const std::string& path, const StoredValues& values, std::vector<std::string>& found) const;

    std::set<std::string> ssids_, passphrases_, wepKeys_;
    std::vector<std::string> chain_;
    std::map<std::string, StoredValues> saved_;  // every profile ever saved, by its key path
    bool runEntryBefore_ = false;
};

}  // namespace hx::test::chaos
