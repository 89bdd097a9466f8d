// What the machine answers besides the adapter: the system's list of network adapters,
// their registry values, the Zero Configuration service and the certificate stores.
#include "sim/core/World.h"

#include <cstring>

#include "sim/core/TextUtil.h"

namespace hxsim {
namespace {

constexpr const char* kClassKeyNt =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

}  // namespace

int World::ListAdapters(hx::AdapterListEntry* entries, int maxEntries) const {
    if (entries == nullptr || maxEntries <= 0) return kFail;
    int n = 0;
    for (const NicEntry& nic : scenario_.nics) {
        if (nic.isSimulatedAdapter && !plugged_) continue;
        if (n >= maxEntries) break;
        hx::AdapterListEntry& e = entries[n++];
        std::memset(&e, 0, sizeof e);
        std::strncpy(e.name, nic.name.c_str(), sizeof e.name - 1);
        std::strncpy(e.description, nic.description.c_str(), sizeof e.description - 1);
        std::strncpy(e.instanceKey, nic.instanceKey.c_str(), sizeof e.instanceKey - 1);
    }
    return n;
}

int World::ReadMachineRegistry(const char* subKey, const char* valueName, char* buffer,
                               unsigned long* size) const {
    if (subKey == nullptr || valueName == nullptr || buffer == nullptr || size == nullptr) return kFail;
    const std::string key(subKey);
    const std::string prefix(kClassKeyNt);
    if (key.size() <= prefix.size() || !EqualsIgnoreCase(key.substr(0, prefix.size()), prefix)) return kFail;
    const std::string instance = key.substr(prefix.size());
    for (const NicEntry& nic : scenario_.nics) {
        if (!EqualsIgnoreCase(nic.instanceKey, instance)) continue;
        if (nic.isSimulatedAdapter && !plugged_) return kFail;
        std::string value;
        if (EqualsIgnoreCase(valueName, "MatchingDeviceId")) value = nic.matchingDeviceId;
        else if (EqualsIgnoreCase(valueName, "DriverDesc")) value = nic.description;
        else return kFail;
        const unsigned long needed = static_cast<unsigned long>(value.size() + 1);
        if (*size < needed) {
            *size = needed;
            return kFail;
        }
        std::memcpy(buffer, value.c_str(), needed);
        *size = needed;
        return 0;
    }
    return kFail;
}

int World::StopZeroConfigService() {
    if (!wzcRunning_) return kFail;
    wzcRunning_ = false;
    ++wzcStops_;
    Log("Zero Configuration service stopped");
    return 0;
}

int World::StartZeroConfigService() {
    if (wzcRunning_) return kFail;
    wzcRunning_ = true;
    ++wzcStarts_;
    Log("Zero Configuration service started");
    return 0;
}

// While the service runs it reports its own status; a stopped service controls nothing.
int World::ZeroConfigStatus() const { return wzcRunning_ ? scenario_.wzcStatus : 0; }

const CertificateSpec* World::FindCertificate(const std::string& store, const std::string& subject,
                                              const std::string& issuer) const {
    for (const CertificateSpec& c : scenario_.certificates)
        if (EqualsIgnoreCase(c.store, store) && c.subject == subject && c.issuer == issuer) return &c;
    return nullptr;
}
}  // namespace hxsim
