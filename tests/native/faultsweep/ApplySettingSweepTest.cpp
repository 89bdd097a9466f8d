// ApplySetting with each of its driver-library calls failing in turn. Whatever fails, the
// operation returns 0 at once: the values applied before the failure stay stored, nothing
// after it is stored, and the worker stays stopped. Only the rate and key conversions go
// unchecked, and their failure changes nothing that is stored.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

#include "config/ValueTables.h"
#include "tests/native/faultsweep/SweepWorld.h"

namespace hx::sweep {
namespace {

struct SettingCase {
    const char* name;
    WlanSetting setting;
};

WlanSetting AdHocWep() {
    WlanSetting s;
    s.SSID = "AdHoc-Cell";
    s.NetworkType = NetworkType::AdHoc;
    s.Channel = 10;
    s.AuthenticationMode = AuthMode::Shared;
    s.WEPStatus = WepStatus::Wep;
    s.WEPKeyLength = 64;
    s.WEPDefaultKeyId = 1;
    s.WEPKey = {"12 34 56 78 90", "01 02 03 04 05", "0A 0B 0C 0D 0E", "10 11 12 13 14"};
    s.DesiredRate = "02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00";
    s.PreambleMode = Preamble::Short;
    s.PowerSaveMode = PowerSave::FastPowerSave;
    s.Domain = 0x10;
    return s;
}

WlanSetting InfrastructureWpaPsk() {
    WlanSetting s;
    s.SSID = "WPA-TKIP-Home";
    s.NetworkType = NetworkType::Infrastructure;
    s.Channel = 6;
    s.AuthenticationMode = AuthMode::WpaPsk;
    s.WEPStatus = WepStatus::Tkip;
    s.WEPKeyLength = 128;
    s.WEPKey = {"", "", "", ""};
    s.DesiredRate = kDefaultDesiredRate;
    s.Dot1xPassphrase = "tkip-passphrase";
    s.Domain = 0x30;
    return s;
}

// The channels a world's adapter reports before the sweep, so that a failure can be seen
// to leave them as they were.
constexpr SupportedChannels kChannelsBefore{{1, 2, 3}, 3};

struct Outcome {
    int result = -1;
    std::vector<std::string> entries;
    std::vector<CallSite> calls;
    std::vector<std::string> stores;
    std::optional<size_t> failedAt;
    bool workerStarted = false;
    SupportedChannels channels;
};

Outcome ApplyOnce(const WlanSetting& setting, const std::optional<CallSite>& failing) {
    SweepWorld world;
    world.state.current = setting;
    world.state.supportedChannels = kChannelsBefore;
    if (failing) world.ledger.Arm(*failing);
    Outcome run;
    run.result = world.applier.ApplySetting();
    run.entries = world.ledger.Entries();
    run.calls = world.ledger.Calls();
    run.stores = world.ledger.Stores();
    run.failedAt = world.ledger.FailedAt();
    run.workerStarted = world.WorkerStarted();
    run.channels = world.state.supportedChannels;
    EXPECT_EQ(world.state.adapterReady, 1) << "applying never touches adapterReady";
    if (!run.entries.empty()) {
        EXPECT_EQ(run.entries.front(), "worker:stop") << "the worker is stopped first";
    }
    return run;
}

// The value the step of a failing call would have stored, if it stores one.
std::optional<std::string> ValueOfStep(const CallSite& site, const WlanSetting& setting) {
    static const std::map<std::string, std::string> values{
        {"SetWL_NetworkType", "NetworkType"}, {"SetWL_Channel", "Channel"},
        {"SetWL_AuthenticationMode", "AuthenticationMode"}, {"SetWL_WEPStatus", "WEPStatus"},
        {"SetWL_DesiredRate", "DesiredRate"}, {"SetWL_SSID", "SSID"},
        {"SetWL_PreambleMode", "PreambleMode"}, {"SetWL_PSMode", "PowerSaveMode"},
        {"SetWL_OperationRegionCode", "Domain"}, {"QueryWL_OperationRegionCode", "Domain"},
        {"SetWL_RegionAndSupportChannel", "Domain"}, {"QueryWL_SupportChannel", "Domain"}};
    if (site.call == "SetWL_WriteKey") return WepKeyValueName(setting.WEPKeyLength, site.occurrence - 1);
    auto it = values.find(site.call);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

int WritesOf(const std::vector<std::string>& stores, const std::string& value) {
    return static_cast<int>(std::count_if(stores.begin(), stores.end(),
                                          [&](const std::string& store) { return Writes(store, value); }));
}

bool ChannelsEqual(const SupportedChannels& a, const SupportedChannels& b) {
    return a.count == b.count && a.channel == b.channel;
}

TEST(ApplySettingSweep, EveryFailingCallEndsTheApplyWithNothingStoredAfterIt) {
    const SettingCase cases[] = {
        {"ad hoc with WEP keys", AdHocWep()},
        {"infrastructure with WPA-PSK", InfrastructureWpaPsk()},
    };
    for (const SettingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome reference = ApplyOnce(c.setting, std::nullopt);
        ASSERT_EQ(reference.result, 1) << "the setting applies when nothing fails";
        const bool wpa = c.setting.AuthenticationMode == AuthMode::WpaPsk;
        EXPECT_EQ(reference.workerStarted, wpa);

        ASSERT_GE(reference.calls.size(), 12u);

        for (const CallSite& site : reference.calls) {
            SCOPED_TRACE(site.Describe());
            const Outcome run = ApplyOnce(c.setting, site);
            ASSERT_TRUE(run.failedAt.has_value()) << "the call was reached";
            const size_t referenceAt = EntryOfCall(reference.entries, site);
            const std::vector<std::string> storedBefore = StoresIn(reference.entries, referenceAt);

            if (site.call == "HexStrToBin") {
                // The conversion's result is not checked: the text is still what is stored.
                EXPECT_EQ(run.result, 1);
                EXPECT_EQ(run.stores, reference.stores);
                EXPECT_EQ(run.workerStarted, wpa);
                continue;
            }
            EXPECT_EQ(run.result, 0);
            EXPECT_EQ(run.stores, storedBefore) << "what was applied before stays stored, nothing after it is";
            EXPECT_FALSE(run.workerStarted) << "the worker stays stopped";
            if (const auto value = ValueOfStep(site, c.setting)) {
                // Power save goes to the adapter twice; the first call's value stays stored.
                const int earlier = site.call == "SetWL_PSMode" ? site.occurrence - 1 : 0;
                EXPECT_EQ(WritesOf(run.stores, *value), earlier) << *value << " is not stored for a refused call";
            }

            if (site.call == "QueryWL_SupportChannel") {
                EXPECT_EQ(run.channels.count, 0) << "the new region's channels are unknown";
            } else {
                EXPECT_TRUE(ChannelsEqual(run.channels, kChannelsBefore)) << "the channel list is left as it was";
            }
        }
    }
}

}  // namespace
}  // namespace hx::sweep
