// The adapter session against the simulated adapter through the library's exports: the
// adapter is found and identified, the last setting goes to it, and the poll shows the
// link it joined; under the heartbeat, an adapter back in our hands without that setting
// is given it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "adapter/AdapterLibrary.h"
#include "adapter/AdapterSession.h"
#include "app/Heartbeat.h"
#include "app/UtilityState.h"
#include "auth/WorkerControl.h"
#include "config/LastSettingStore.h"
#include "config/MemoryAppProfile.h"
#include "config/SettingApplier.h"
#include "sim/vuvavo/SimulatorHost.h"
#include "tests/fakes/RecordingShellPort.h"

namespace hx {
namespace {

class NoWorker : public WorkerControl {
public:
    void StartWorker() override { ++starts; }
    void StopWorker() override {}
    bool WorkerActive() const override { return false; }
    int starts = 0;
};

struct OnSimulator {
    AdapterLibrary& library = ExportedAdapterLibrary();
    UtilityState state;
    MemoryAppProfile profile;
    LastSettingStore store{profile};
    NoWorker worker;
    test::RecordingShellPort shell;
    SettingApplier applier{library, state, store, worker};
    AdapterSession session{library, state, store, applier, shell};

    OnSimulator() {
        hxsim::ResetWorld(true);
        InitialiseProcessState(state);
    }
    // One heartbeat after the adapter is ready: Zero Configuration check and link poll.
    void Tick() {
        hxsim::AdvanceClock(1000);
        session.CheckZeroConfiguration();
        session.PollLink();
    }
};

TEST(SessionOnSimulator, IdentifiesTheAdapterAndJoinsWithTheLastSetting) {
    const struct {
        const char* name;
        std::function<void(LastSettingStore&)> stored;
        std::string ssid;
        std::array<uint8_t, 6> bssid;
        int networkType;
        int channel;
        bool sampled;
    } cases[] = {
        {"the default setting joins the strongest open network", [](LastSettingStore&) {}, "Open-Lobby",
         {0x06, 0xA0, 0x88, 0x00, 0x00, 0x01}, 1, 1, true},
        {"a WEP setting joins the WEP network",
         [](LastSettingStore& s) {
             s.WriteLastSettingString("SSID", "WEP-Lab");
             s.WriteLastSettingInt("WEPStatus", 0);
             s.WriteLastSettingInt("AuthenticationMode", 1);
             s.WriteLastSettingString("WEPKey64_0", "12 34 56 78 90");
         },
         "WEP-Lab", {0x06, 0xA0, 0x88, 0x00, 0x00, 0x02}, 1, 6, true},
        {"an ad hoc setting joins the cell",
         [](LastSettingStore& s) {
             s.WriteLastSettingString("SSID", "AdHoc-Cell");
             s.WriteLastSettingInt("NetworkType", 0);
             s.WriteLastSettingInt("Channel", 10);
         },
         "AdHoc-Cell", {0x02, 0x48, 0x56, 0xC0, 0xFF, 0xEE}, 0, 10, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OnSimulator sim;
        c.stored(sim.store);

        sim.session.Discover();
        ASSERT_EQ(sim.state.adapterReady, 1);
        ASSERT_TRUE(sim.session.Identify());
        EXPECT_EQ(sim.shell.driverVersionText, "1.2.1215.2004");
        EXPECT_EQ(sim.shell.macAddressText, "00:48:56:88:00:01");
        EXPECT_EQ(sim.state.supportedRates.rate[0], 2);
        EXPECT_EQ(sim.state.wzcState, 0);
        EXPECT_GT(sim.state.supportedChannels.count, 0) << "the region's channels were read";
        EXPECT_EQ(sim.store.ReadLastSettingString("SSID"), c.ssid == "Open-Lobby" ? "" : c.ssid);

        sim.Tick();
        const LinkStatus& link = sim.state.link;
        ASSERT_EQ(sim.state.adapterReady, 1);
        EXPECT_EQ(link.connectState, 0);
        EXPECT_EQ(link.ssid, c.ssid);
        EXPECT_EQ(link.bssid, c.bssid);
        EXPECT_EQ(link.networkType, c.networkType);
        EXPECT_EQ(link.channel, c.channel);
        EXPECT_GT(link.linkSpeed, 0);
        EXPECT_EQ(link.signalStrength > 0, c.sampled);
        EXPECT_EQ(link.linkQuality > 0, c.sampled);
        EXPECT_EQ(sim.worker.starts, 0);
    }
}

TEST(SessionOnSimulator, AnUnpluggedAdapterEndsThePollAndIsFoundAgain) {
    OnSimulator sim;
    sim.session.Discover();
    ASSERT_TRUE(sim.session.Identify());
    sim.Tick();
    ASSERT_EQ(sim.state.link.connectState, 0);

    ASSERT_TRUE(hxsim::Control("unplug").ok);
    sim.Tick();
    EXPECT_EQ(sim.state.adapterReady, 0);
    sim.session.Discover();
    EXPECT_EQ(sim.state.adapterReady, 0);

    ASSERT_TRUE(hxsim::Control("plug").ok);
    sim.session.Discover();
    ASSERT_EQ(sim.state.adapterReady, 1);
    ASSERT_TRUE(sim.session.Identify());
    sim.Tick();
    EXPECT_EQ(sim.state.adapterReady, 1);
    EXPECT_EQ(sim.state.link.ssid, "Open-Lobby");
}

TEST(SessionOnSimulator, ZeroConfigurationInControlKeepsTheSettingOffTheAdapter) {
    OnSimulator sim;
    ASSERT_TRUE(hxsim::Control("wzc 1").ok);
    sim.store.WriteLastSettingString("SSID", "WEP-Lab");
    sim.session.Discover();
    ASSERT_TRUE(sim.session.Identify());
    EXPECT_EQ(sim.state.wzcState, 1);
    hxsim::AdvanceClock(2000);
    const std::string report = hxsim::Control("show").text;
    EXPECT_NE(report.find("settings.ssid: (not set)"), std::string::npos) << report;
    EXPECT_NE(report.find("link.associated: no"), std::string::npos) << report;

    // The service lets go: the driver is told at once.
    ASSERT_TRUE(hxsim::Control("wzc 0").ok);
    sim.session.CheckZeroConfiguration();
    EXPECT_NE(hxsim::Control("show").text.find("use-own-oids: 1"), std::string::npos);
    ASSERT_TRUE(hxsim::Control("wzc 1").ok);
    sim.session.CheckZeroConfiguration();
    EXPECT_NE(hxsim::Control("show").text.find("use-own-oids: 0"), std::string::npos);
    EXPECT_EQ(sim.state.wzcState, 1);
}

// The adapter is ours again without the setting in force on it: the heartbeat applies it
// as at start, and the link comes back with nobody applying it again.
TEST(SessionOnSimulator, TheHeartbeatRejoinsTheSettingInForceOnceTheAdapterIsOurs) {
    using Tick = std::function<void()>;
    const std::array<uint8_t, 6> lab{0x06, 0xA0, 0x88, 0x00, 0x00, 0x02}, lobby{0x06, 0xA0, 0x88, 0x00, 0x00, 0x01};
    const struct {
        const char* name;
        std::function<void(OnSimulator&, const Tick&)> meanwhile;
        std::array<uint8_t, 6> joined;
    } cases[] = {
        {"a refused call cut the apply at identification short",
         [](OnSimulator&, const Tick& tick) {
             ASSERT_TRUE(hxsim::Control("fail SetWL_SSID 1").ok);
             tick();
         },
         lab},
        {"Zero Configuration held the adapter at identification, then gave it back",
         [](OnSimulator&, const Tick& tick) {
             ASSERT_TRUE(hxsim::Control("wzc 1").ok);
             tick();
             tick();
             ASSERT_TRUE(hxsim::Control("wzc 0").ok);
         },
         lab},
        {"the adapter was pulled out under an apply and plugged in again",
         [](OnSimulator& sim, const Tick& tick) {
             tick();
             ASSERT_TRUE(hxsim::Control("unplug").ok);
             sim.state.current.SSID = "Open-Lobby";
             sim.state.current.WEPStatus = WepStatus::Disabled;
             sim.state.current.AuthenticationMode = AuthMode::Open;
             sim.applier.ApplySetting();
             tick();
             ASSERT_TRUE(hxsim::Control("plug").ok);
         },
         lobby},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OnSimulator sim;
        sim.store.WriteLastSettingString("SSID", "WEP-Lab");
        sim.store.WriteLastSettingInt("WEPStatus", 0);
        sim.store.WriteLastSettingInt("AuthenticationMode", 1);
        sim.store.WriteLastSettingString("WEPKey64_0", "12 34 56 78 90");
        Heartbeat heartbeat{sim.state, sim.shell, sim.session, sim.library};
        heartbeat.Start();
        const Tick tick = [&] {
            heartbeat.OnPollTick();
            hxsim::AdvanceClock(1000);
        };
        c.meanwhile(sim, tick);
        for (int i = 0; i < 3; ++i) tick();
        EXPECT_EQ(sim.state.link.connectState, ConnectState::Associated) << hxsim::Control("show").text;
        EXPECT_EQ(sim.state.link.bssid, c.joined);
    }
}

}  // namespace
}  // namespace hx
