// The heartbeat with each driver-library call failing in turn: the first tick, which
// finds, opens and identifies the adapter and applies the last setting, and a later tick
// whose link poll reads an associated link. The outcome of a failure depends on where it
// happens: discovery and identification leave no adapter ready and the absent icon; a
// failing apply step only cuts the apply short; the liveness check withdraws to the
// absent icon; a failing poll leaves the fields after it untouched and clears
// adapterReady, and the next tick finds the adapter again.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

#include "adapter/AdapterSession.h"
#include "app/Heartbeat.h"
#include "app/TrayRule.h"
#include "tests/fakes/RecordingShellPort.h"
#include "tests/native/faultsweep/SweepWorld.h"

namespace hx::sweep {
namespace {

// The adapter operations of the tick, each marked in the ledger while it runs, so that a
// failing call can be told apart by the operation that made it.
class MarkedOperations final : public AdapterOperations {
public:
    MarkedOperations(AdapterOperations& inner, Ledger& ledger) : inner_(inner), ledger_(ledger) {}
    void Discover() override { Marked("Discover", [&] { inner_.Discover(); }); }
    bool Identify() override {
        bool identified = false;
        Marked("Identify", [&] { identified = inner_.Identify(); });
        return identified;
    }
    void CheckZeroConfiguration() override { Marked("Zero", [&] { inner_.CheckZeroConfiguration(); }); }
    void ApplySetting() override { Marked("Apply", [&] { inner_.ApplySetting(); }); }
    void PollLink() override { Marked("Poll", [&] { inner_.PollLink(); }); }

private:
    void Marked(const std::string& operation, const std::function<void()>& run) {
        ledger_.Mark("op:" + operation);
        run();
        ledger_.Mark("op:end");
    }
    AdapterOperations& inner_;
    Ledger& ledger_;
};

// The operation during which the ledger's entry at `at` happened; "Heartbeat" for the
// tick's own calls (the liveness check).
std::string OperationAt(const std::vector<std::string>& entries, size_t at) {
    for (size_t i = at; i-- > 0;) {
        if (entries[i] == "op:end") return "Heartbeat";
        if (entries[i].rfind("op:", 0) == 0) return entries[i].substr(3);
    }
    return "Heartbeat";
}

struct TickWorld : SweepWorld {
    test::RecordingShellPort shell;
    AdapterSession session{ledger.Library(), state, store, applier, shell};
    MarkedOperations operations{session, ledger};
    Heartbeat heartbeat{state, shell, operations, ledger.Library()};

    // The adapter is not open yet; its last setting joins the WEP network.
    TickWorld() : SweepWorld(/*open=*/false) {
        profile.Seed(kLastSettingSection, "SSID", std::string("WEP-Lab"));
        profile.Seed(kLastSettingSection, "WEPStatus", WepStatus::Wep);
        profile.Seed(kLastSettingSection, "AuthenticationMode", AuthMode::Shared);
        profile.Seed(kLastSettingSection, "WEPKey64_0", std::string("12 34 56 78 90"));
        heartbeat.Start();
    }
    std::string LastShellCall() const { return shell.calls.empty() ? "" : shell.calls.back(); }
    std::string Tray(int set) const { return "ShowTraySet(" + std::to_string(set) + ")"; }
    bool ShellCalled(const std::string& call) const {
        return std::find(shell.calls.begin(), shell.calls.end(), call) != shell.calls.end();
    }
};

// What the first tick leaves when one call fails.
enum class FirstTick {
    AsReference,       // the failure is ignored or the adapter is found anyway
    NoAdapter,         // not found, not opened or not identified: nothing applied
    ApplyCut,          // identified, but the apply stopped at the failed step
    LivenessFailed,    // identified and applied, then withdrawn by the liveness check
    PollFailed,        // identified and applied; the poll ended early
};

FirstTick ExpectedFirstTick(const CallSite& site, const std::string& operation) {
    if (operation == "Discover") {
        // The default world lists a wired adapter first: failures while looking at it
        // change nothing, failures on the HX-88U's entry leave it unfound.
        if ((site.call == "QueryWL_IsWindows95" || site.call == "QueryHLMReg") && site.occurrence == 1)
            return FirstTick::AsReference;
        return FirstTick::NoAdapter;
    }
    if (operation == "Identify") {
        if (site.call == "QueryWL_SupportedRate" || site.call == "QueryWL_DriverVersion") return FirstTick::NoAdapter;
        // The MAC, the Zero Configuration status and the driver's OID state are not checked.
        if (site.call == "GetNICAdapterMAC" || site.call == "QueryWL_CheckWZCStatus" ||
            site.call == "SetWL_HXUseHXOidState" || site.call == "HexStrToBin")
            return FirstTick::AsReference;
        return FirstTick::ApplyCut;
    }
    if (operation == "Heartbeat") return FirstTick::LivenessFailed;
    if (operation == "Zero") return FirstTick::AsReference;
    return FirstTick::PollFailed;
}

TEST(HeartbeatSweep, FirstTickWithEachCallFailing) {
    TickWorld reference;
    reference.heartbeat.OnPollTick();
    ASSERT_EQ(reference.state.adapterReady, 1) << "the adapter is found when nothing fails";
    ASSERT_TRUE(reference.ShellCalled("ShowPage(LinkInfo)"));
    const std::vector<std::string> referenceEntries = reference.ledger.Entries();
    const std::vector<std::string> referenceStores = reference.ledger.Stores();
    ASSERT_FALSE(referenceStores.empty());

    std::set<FirstTick> outcomesSeen;
    for (const CallSite& site : reference.ledger.Calls()) {
        SCOPED_TRACE(site.Describe());
        const size_t referenceAt = EntryOfCall(referenceEntries, site);
        const FirstTick expected = ExpectedFirstTick(site, OperationAt(referenceEntries, referenceAt));
        outcomesSeen.insert(expected);

        TickWorld world;
        world.ledger.Arm(site);
        world.heartbeat.OnPollTick();
        ASSERT_TRUE(world.ledger.FailedAt().has_value());
        const std::vector<std::string> stores = world.ledger.Stores();

        switch (expected) {
        case FirstTick::AsReference:
            EXPECT_EQ(world.state.adapterReady, 1);
            EXPECT_EQ(stores, referenceStores);
            EXPECT_EQ(world.LastShellCall(), world.Tray(TraySetForLink(world.state.link)));
            break;
        case FirstTick::NoAdapter:
            EXPECT_EQ(world.state.adapterReady, 0);
            EXPECT_TRUE(stores.empty()) << "nothing is applied to an adapter not identified";
            EXPECT_FALSE(world.Has("worker:stop")) << "the worker is left alone";
            EXPECT_EQ(world.LastShellCall(), world.Tray(TraySet::NoAdapter));
            EXPECT_TRUE(world.ShellCalled("HideMainWindow"));
            EXPECT_FALSE(world.ShellCalled("ShowPage(LinkInfo)"));
            break;
        case FirstTick::ApplyCut:
            EXPECT_EQ(world.state.adapterReady, 1) << "the apply's result does not decide identification";
            EXPECT_EQ(stores, StoresIn(referenceEntries, referenceAt)) << "nothing is stored after the failure";
            EXPECT_TRUE(world.ShellCalled("StartSiteSurvey"));
            EXPECT_TRUE(world.ShellCalled("ShowPage(LinkInfo)"));
            EXPECT_EQ(world.LastShellCall().rfind("ShowTraySet(", 0), 0u);
            break;
        case FirstTick::LivenessFailed:
            EXPECT_EQ(world.state.adapterReady, 0);
            EXPECT_EQ(stores, referenceStores);
            EXPECT_EQ(world.LastShellCall(), world.Tray(TraySet::NoAdapter));
            break;
        case FirstTick::PollFailed:
            EXPECT_EQ(world.state.adapterReady, 0);
            EXPECT_EQ(stores, referenceStores);
            EXPECT_EQ(world.LastShellCall(), world.Tray(TraySetForLink(world.state.link)))
                << "the icon still follows what was read";
            break;
        }
        EXPECT_FALSE(world.WorkerStarted()) << "the last setting does not use WPA";
    }
    EXPECT_EQ(outcomesSeen.size(), 5u) << "every kind of outcome was met";
}

TEST(HeartbeatSweep, LinkPollWithEachCallFailing) {
    // A ready adapter associated with the WEP network in infrastructure mode.
    auto ready = [](TickWorld& world) {
        world.heartbeat.OnPollTick();
        hxsim::AdvanceClock(2000);
        world.heartbeat.OnPollTick();
        hxsim::AdvanceClock(1000);
        world.ledger.Mark("tick");
    };
    LinkStatus sentinel;
    sentinel.connectState = sentinel.networkType = sentinel.channel = sentinel.linkSpeed = 77;
    sentinel.linkQuality = sentinel.signalStrength = 77;
    sentinel.ssid = "untouched";
    sentinel.bssid = {7, 7, 7, 7, 7, 7};

    TickWorld reference;
    ready(reference);
    ASSERT_EQ(reference.state.link.connectState, 0) << "associated before the swept tick";
    ASSERT_EQ(reference.state.link.networkType, 1);
    const std::vector<CallSite> before = reference.ledger.Calls();
    reference.state.link = sentinel;
    reference.shell.calls.clear();
    reference.heartbeat.OnPollTick();
    const LinkStatus polled = reference.state.link;
    ASSERT_EQ(polled.ssid, "WEP-Lab");
    ASSERT_GT(polled.signalStrength, 0);
    ASSERT_TRUE(reference.ShellCalled("ShowLinkStatus"));

    // The poll's queries in the order it makes them; a failing one leaves itself and every
    // field after it as it was (the SSID is written last of all).
    const std::vector<std::pair<std::string, std::vector<std::string>>> pollOrder{
        {"QueryWL_ConnectState", {"connectState"}},
        {"QueryWL_NetworkType", {"networkType"}},
        {"QueryWL_Channel", {"channel"}},
        {"QueryWL_CurrentLinkSpeed", {"linkSpeed", "linkQuality", "signalStrength"}},
        {"QueryWL_SSID", {}},
        {"QueryWL_BSSID", {"bssid"}},
        {"QueryWL_RSSI", {}},
        {"QueryWL_CommQuality", {}},
    };
    auto fieldEquals = [](const std::string& field, const LinkStatus& a, const LinkStatus& b) {
        if (field == "connectState") return a.connectState == b.connectState;
        if (field == "networkType") return a.networkType == b.networkType;
        if (field == "channel") return a.channel == b.channel;
        if (field == "linkSpeed") return a.linkSpeed == b.linkSpeed;
        if (field == "linkQuality") return a.linkQuality == b.linkQuality;
        if (field == "signalStrength") return a.signalStrength == b.signalStrength;
        if (field == "bssid") return a.bssid == b.bssid;
        return a.ssid == b.ssid;
    };

    const std::vector<CallSite> all = reference.ledger.Calls();
    int swept = 0;
    for (size_t i = before.size(); i < all.size(); ++i) {
        const CallSite& site = all[i];
        SCOPED_TRACE(site.Describe());
        TickWorld world;
        ready(world);
        world.state.link = sentinel;
        world.shell.calls.clear();
        world.ledger.Arm(site);
        world.heartbeat.OnPollTick();
        ASSERT_TRUE(world.ledger.FailedAt().has_value());
        const LinkStatus& link = world.state.link;
        EXPECT_EQ(world.ledger.Stores(), reference.ledger.Stores()) << "a tick of a ready adapter stores nothing";
        ++swept;

        const auto step = std::find_if(pollOrder.begin(), pollOrder.end(),
                                       [&](const auto& entry) { return entry.first == site.call; });
        if (site.call == "QueryWL_DriverVersion") {
            EXPECT_EQ(world.state.adapterReady, 0) << "the adapter is gone";
            EXPECT_EQ(world.LastShellCall(), world.Tray(TraySet::NoAdapter));
            EXPECT_EQ(link.ssid, sentinel.ssid) << "no poll after a failed liveness check";
        } else if (step == pollOrder.end()) {
            // The Zero Configuration status is not checked; the tick goes on as usual.
            EXPECT_EQ(world.state.adapterReady, 1);
            EXPECT_EQ(link.ssid, polled.ssid);
        } else {
            EXPECT_EQ(world.state.adapterReady, 0);
            EXPECT_FALSE(world.ShellCalled("ShowLinkStatus")) << "no refresh after a failed poll";
            EXPECT_EQ(world.LastShellCall(), world.Tray(TraySetForLink(link)));
            // Once the rate is read both percentages start again from 0.
            LinkStatus cleared = polled;
            cleared.linkQuality = cleared.signalStrength = 0;
            for (auto it = pollOrder.begin(); it != pollOrder.end(); ++it) {
                for (const std::string& field : it->second) {
                    const LinkStatus& expected = it >= step ? sentinel : cleared;
                    EXPECT_TRUE(fieldEquals(field, link, expected))
                        << field << (it < step ? " was read before the failure" : " is left as it was");
                }
            }
            EXPECT_EQ(link.ssid, sentinel.ssid) << "the SSID is written only by a complete poll";

            // The next tick finds the adapter again, as after a re-plug.
            hxsim::AdvanceClock(1000);
            world.heartbeat.OnPollTick();
            EXPECT_EQ(world.state.adapterReady, 1);
            EXPECT_TRUE(world.ShellCalled("ShowPage(LinkInfo)"));
        }
    }
    EXPECT_GE(swept, 10) << "liveness, Zero Configuration and every poll query were swept";
}

}  // namespace
}  // namespace hx::sweep
