// The process-wide state of the utility: everything that lives for the whole run and is
// shared by the heartbeat, the pages, the apply operations and the authentication worker.
// One instance exists in the running utility; tests make their own.
#pragma once

#include <mutex>

#include "adapter/AdapterHandle.h"
#include "adapter/LinkStatus.h"
#include "app/VendorLibraries.h"
#include "config/WlanSetting.h"

namespace hx {

inline constexpr const char* kMainWindowTitle = "Halvorn HX-88U Utility";
inline constexpr const char* kRegistryRoot = "Tessaro";
inline constexpr const char* kKeyFormatValue = "WepKeyFormat";
inline constexpr const char* kUtilityVersion = "1.2.0.1";

// Zero Configuration status as last seen: -1 not yet known, else 0, 1 or 2.
namespace Wzc { constexpr int Unknown = -1, OwnControl = 0, ServiceControl = 1, OwnNoStop = 2; }

// pendingSurveyCountdown while no scan waits to be collected.
inline constexpr int kNoSurveyPending = -1;

struct UtilityState {
    AdapterHandle adapter{};
    int wzcState = Wzc::Unknown;
    int keyFormat = 0;                  // in-memory copy of "WepKeyFormat"
    WlanSetting current;                // the configuration in force
    // Guards `current` against the authentication worker, which writes its Dot1xWPAIEs from
    // its own thread. The UI thread holds it whenever it reads or writes Dot1xWPAIEs, or
    // copies or assigns the whole current setting, while a worker may run.
    std::mutex currentSettingMutex;
    WlanSetting editor;                 // the profile editor's working copy
    LinkStatus link;
    SupportedRates supportedRates;
    SupportedChannels supportedChannels;
    int adapterReady = 0;               // 1 once the adapter is found, opened and identified
    int pendingSurveyCountdown = kNoSurveyPending;  // ticks until a started scan is collected
    unsigned long surveysCollected = 0;  // scan lists the heartbeat has collected
    unsigned long settingsApplied = 0;   // whole settings applied and networks joined from the list
    unsigned long linkReadAtJoin = 0;    // settingsApplied when `link` was last read from the adapter
    // The setting in force is not wholly on the adapter present: the adapter was identified
    // while Windows' service held it, or an apply stopped at a call the adapter refused.
    bool settingOwed = false;
    bool adapterLookedFor = false;       // a heartbeat tick has looked for the adapter
    VendorLibraries libraries;           // what the two libraries are, found at start-up
};

// Start-up values before anything else runs: the adapter record not open, with the words
// at offsets 532 and 540 cleared, and the Zero Configuration status unknown.
void InitialiseProcessState(UtilityState& state);

}  // namespace hx
