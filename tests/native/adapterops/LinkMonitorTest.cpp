#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "adapter/LinkMonitor.h"
#include "tests/native/adapterops/Fixture.h"

namespace hx::test {
namespace {

struct MonitorFixture : AdapterFixture {
    LinkMonitor monitor{library, state, store, shell};

    MonitorFixture() {
        state.adapterReady = 1;
        library.connectState = 0;
        library.networkType = 1;
        library.channel = 11;
        library.linkSpeed = 54000;
        library.ssid = "corp";
        library.bssid = {0x00, 0x0C, 0xF1, 0x12, 0x34, 0x56};
    }
    void PollSamples(std::deque<int> rssi, std::deque<int> quality) {
        const size_t polls = rssi.size();
        library.Script("QueryWL_RSSI", std::move(rssi));
        library.Script("QueryWL_CommQuality", std::move(quality));
        for (size_t i = 0; i < polls; ++i) monitor.Poll();
    }
};

TEST(LinkMonitor, SmoothsOverTheLastSixSamples) {
    const struct {
        const char* name;
        std::deque<int> rssi;
        std::deque<int> quality;
        int signal;
        int linkQuality;
    } cases[] = {
        {"single -70 dBm", {-70}, {80}, 53, 80},
        {"above the strongest level", {-30}, {120}, 100, 100},
        {"below the weakest level", {-110}, {-5}, 0, 0},
        {"three samples", {-60, -70, -80}, {90, 80, 40}, 53, 70},
        {"means truncate toward zero", {-41, -40}, {1, 2}, 100, 1},
        {"six samples fill the ring", {-40, -40, -40, -40, -40, -40}, {100, 100, 100, 100, 100, 100}, 100, 100},
        // The seventh overwrites the first; the divisor stays six: (5 * -40 - 105) / 6 = -50.
        {"seventh sample wraps", {-40, -40, -40, -40, -40, -40, -105}, {100, 100, 100, 100, 100, 100, 40}, 84, 90},
        {"the ring keeps only six", {-105, -40, -40, -40, -40, -40, -40}, {0, 100, 100, 100, 100, 100, 100}, 100, 100},
    };
    for (const auto& c : cases) {
        MonitorFixture f;
        f.PollSamples(c.rssi, c.quality);
        EXPECT_EQ(f.state.link.signalStrength, c.signal) << c.name;
        EXPECT_EQ(f.state.link.linkQuality, c.linkQuality) << c.name;
        EXPECT_EQ(f.state.adapterReady, 1) << c.name;
    }
}

TEST(LinkMonitor, AssociatedInInfrastructure) {
    MonitorFixture f;
    f.monitor.Poll();
    const LinkStatus& link = f.state.link;
    EXPECT_EQ(link.connectState, 0);
    EXPECT_EQ(link.networkType, 1);
    EXPECT_EQ(link.channel, 11);
    EXPECT_EQ(link.linkSpeed, 54000);
    EXPECT_EQ(link.ssid, "corp");
    EXPECT_EQ(link.bssid, f.library.bssid);
    EXPECT_EQ(f.shell.calls, std::vector<std::string>{"ShowLinkStatus"});
}

TEST(LinkMonitor, AdHocReadsTheNetworkButTakesNoSamples) {
    MonitorFixture f;
    f.PollSamples({-50}, {90});
    f.library.networkType = 0;
    f.library.ssid = "cell";
    f.library.ClearCalls();
    f.monitor.Poll();
    EXPECT_EQ(f.state.link.ssid, "cell");
    EXPECT_EQ(f.state.link.signalStrength, 0);
    EXPECT_EQ(f.state.link.linkQuality, 0);
    EXPECT_EQ(f.library.CountOf("QueryWL_RSSI"), 0);
    EXPECT_EQ(f.library.CountOf("QueryWL_BSSID"), 1);
}

TEST(LinkMonitor, NotAssociatedShowsTheLastAppliedSsidAndKeepsTheBssid) {
    MonitorFixture f;
    f.monitor.Poll();
    f.library.connectState = 1;
    f.library.bssid = {9, 9, 9, 9, 9, 9};
    f.store.WriteLastSettingString("SSID", "home");
    f.monitor.Poll();
    EXPECT_EQ(f.state.link.ssid, "home");
    EXPECT_EQ(f.state.link.bssid, (std::array<uint8_t, 6>{0x00, 0x0C, 0xF1, 0x12, 0x34, 0x56}));
    EXPECT_EQ(f.state.link.signalStrength, 0);
    EXPECT_EQ(f.state.link.linkQuality, 0);
    EXPECT_EQ(f.library.CountOf("QueryWL_SSID"), 1);
}

TEST(LinkMonitor, AFailedQueryEndsThePollAndClearsReady) {
    const char* queries[] = {"QueryWL_ConnectState", "QueryWL_NetworkType", "QueryWL_Channel",
                             "QueryWL_CurrentLinkSpeed", "QueryWL_SSID", "QueryWL_BSSID",
                             "QueryWL_RSSI", "QueryWL_CommQuality"};
    for (const char* query : queries) {
        MonitorFixture f;
        f.state.link.ssid = "before";
        f.library.Fail(query);
        f.monitor.Poll();
        EXPECT_EQ(f.state.adapterReady, 0) << query;
        EXPECT_EQ(f.library.CallNames().back(), query);
        EXPECT_TRUE(f.shell.calls.empty()) << query << ": no refresh";
        EXPECT_EQ(f.state.link.ssid, "before") << query;
    }
}

TEST(LinkMonitor, RefreshesTheLinkInfoPageOnlyWhenItIsInFront) {
    MonitorFixture f;
    f.shell.currentPage = PageId::Configuration;
    f.monitor.Poll();
    EXPECT_TRUE(f.shell.calls.empty());
    f.shell.currentPage = PageId::LinkInfo;
    f.monitor.Poll();
    EXPECT_EQ(f.shell.calls, std::vector<std::string>{"ShowLinkStatus"});
}

TEST(LinkMonitor, ResetStartsTheHistoryAfresh) {
    MonitorFixture f;
    f.PollSamples({-40, -40, -40}, {100, 100, 100});
    f.monitor.ResetHistory();
    f.PollSamples({-70}, {30});
    EXPECT_EQ(f.state.link.signalStrength, 53);
    EXPECT_EQ(f.state.link.linkQuality, 30);
}

}  // namespace
}  // namespace hx::test
