// Finds the HX-88U among the network adapters the driver library lists, opens it, reads
// its identity (rates, driver version, MAC address) and brings it into the last applied
// configuration.
#pragma once

#include <cstdint>
#include <string>

#include "adapter/AdapterLibrary.h"
#include "adapter/LinkMonitor.h"
#include "adapter/WzcControl.h"
#include "app/ShellPort.h"
#include "app/UtilityState.h"
#include "config/LastSettingStore.h"
#include "config/SettingApplier.h"

namespace hx {

inline constexpr const char* kHardwareId = "usb\\vid_4856&pid_0088";

class Discovery {
public:
    Discovery(AdapterLibrary& library, UtilityState& state, LastSettingStore& store,
              SettingApplier& applier, WzcControl& wzc, LinkMonitor& monitor, ShellPort& shell)
        : library_(library), state_(state), store_(store), applier_(applier), wzc_(wzc),
          monitor_(monitor), shell_(shell) {}

    // Opens the first listed adapter with the HX-88U's hardware identifier that opens;
    // UtilityState::adapterReady tells whether one did.
    void Discover();
    // Reads rates, driver version and MAC address and publishes them; loads the last
    // setting the first time (an adapter found again gets the setting in force) and, unless
    // Zero Configuration controls the adapter, applies it, starts a survey and shows the
    // Link Info page; until it is applied whole it is owed (UtilityState::settingOwed).
    // False when rates or version cannot be read.
    bool Identify();

private:
    // The registry key of an adapter's instance under the network-adapter class.
    std::string InstanceKeyPath(const AdapterListEntry& entry);
    bool HasHardwareId(const AdapterListEntry& entry);

    AdapterLibrary& library_;
    UtilityState& state_;
    LastSettingStore& store_;
    SettingApplier& applier_;
    WzcControl& wzc_;
    LinkMonitor& monitor_;
    ShellPort& shell_;
    bool lastSettingLoaded_ = false;
};

// "%d.%d.%02d%02X.%04d" of major, minor, month, day (two decimal digits in two nibbles)
// and 2000 + year: 0x02054317 gives 2.5.0317.2004.
std::string DriverVersionText(int packed);
// Six "%.2X" groups joined by ":".
std::string MacAddressText(const uint8_t mac[6]);
// Equal to the HX-88U's identifier, ignoring ASCII letter case.
bool IsHardwareId(const char* matchingDeviceId);

}  // namespace hx
