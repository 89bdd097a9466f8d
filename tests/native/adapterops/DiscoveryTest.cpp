#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "adapter/AdapterSession.h"
#include "adapter/Discovery.h"
#include "tests/native/adapterops/Fixture.h"

namespace hx::test {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kClassKey = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

AdapterListEntry Entry(const std::string& instance) {
    AdapterListEntry entry{};
    std::snprintf(entry.name, sizeof entry.name, "\\Device\\{%s}", instance.c_str());
    std::snprintf(entry.description, sizeof entry.description, "Adapter %s", instance.c_str());
    std::memcpy(entry.instanceKey, instance.data(), std::min<size_t>(instance.size(), kInstanceKeySize));
    return entry;
}

struct SessionFixture : AdapterFixture {
    AdapterSession session{library, state, store, applier, shell};

    // Lists an adapter whose registry entry holds the given identifier ("" = no value).
    void List(const std::string& instance, const std::string& deviceId) {
        library.adapterList.push_back(Entry(instance));
        if (!deviceId.empty()) library.hlmValues[kClassKey + instance + "|MatchingDeviceId"] = deviceId;
    }
    Strings Opened() const {
        Strings opened;
        for (const std::string& call : library.Calls())
            if (call.rfind("HxOpenAdapter(", 0) == 0) opened.push_back(call.substr(14, call.size() - 15));
        return opened;
    }
};

TEST(Discover, HardwareIdentifierMatchesExactlyIgnoringCase) {
    const struct {
        const char* id;
        bool matches;
    } cases[] = {
        {"usb\\vid_4856&pid_0088", true},
        {"USB\\VID_4856&PID_0088", true},
        {"Usb\\Vid_4856&Pid_0088", true},
        {"usb\\vid_4856&pid_0088&rev_0001", false},
        {"usb\\vid_4856&pid_008", false},
        {"usb\\vid_4856&pid_0089", false},
        {"pci\\ven_10ec&dev_8139", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsHardwareId(c.id), c.matches) << c.id;
        SessionFixture f;
        f.List("0007", c.id);
        f.session.Discover();
        EXPECT_EQ(f.state.adapterReady, c.matches ? 1 : 0) << c.id;
        EXPECT_EQ(f.Opened().size(), c.matches ? 1u : 0u) << c.id;
    }
}

TEST(Discover, OpensTheFirstMatchingAdapterThatOpens) {
    SessionFixture f;
    f.List("0000", "pci\\ven_10ec&dev_8139");
    f.List("0001", "");  // no readable identifier
    f.List("0002", "USB\\VID_4856&PID_0088");
    f.List("0003", "usb\\vid_4856&pid_0088");
    f.List("0004", "usb\\vid_4856&pid_0088");
    f.library.openResults["0002"] = 0;

    f.session.Discover();
    EXPECT_EQ(f.state.adapterReady, 1);
    EXPECT_EQ(f.Opened(), (Strings{"0002", "0003"}));
    EXPECT_STREQ(f.state.adapter.instanceKey, "0003");
    EXPECT_STREQ(f.state.adapter.name, "\\Device\\{0003}");
    EXPECT_STREQ(f.state.adapter.description, "Adapter 0003");
    EXPECT_EQ(f.library.CountOf("QueryWL_IsWindows95"), 4) << "asked anew for every entry examined";
    EXPECT_EQ(f.library.Calls()[0], "CreateNICAdapterList(100)");
    EXPECT_EQ(f.library.Calls()[2], std::string("QueryHLMReg(") + kClassKey + "0000,MatchingDeviceId,256)");
}

TEST(Discover, Windows9xLooksUnderItsOwnClassKey) {
    SessionFixture f;
    f.library.isWindows95 = 1;
    f.library.adapterList.push_back(Entry("0007"));
    f.library.hlmValues["System\\CurrentControlSet\\Services\\Class\\Net\\0007|MatchingDeviceId"] =
        "usb\\vid_4856&pid_0088";
    f.session.Discover();
    EXPECT_EQ(f.state.adapterReady, 1);
}

TEST(Discover, NothingFound) {
    const struct {
        const char* name;
        int listResult;
        int32_t handleAfter;
    } cases[] = {
        {"empty list", 0, kAdapterNotOpen},
        {"list failed", -1, 0x100},  // the record is left as it was
    };
    for (const auto& c : cases) {
        SessionFixture f;
        f.state.adapterReady = 1;
        f.state.adapter.deviceHandle = 0x100;
        f.library.adapterListResult = c.listResult;
        f.session.Discover();
        EXPECT_EQ(f.state.adapterReady, 0) << c.name;
        EXPECT_EQ(f.state.adapter.deviceHandle, c.handleAfter) << c.name;
    }
}

TEST(Discover, OnlyTheFirstHundredEntriesAreSeen) {
    for (const auto& [matchAt, found] : {std::pair{99, true}, std::pair{100, false}, std::pair{120, false}}) {
        SessionFixture f;
        for (int i = 0; i < 150; ++i) {
            char key[8];
            std::snprintf(key, sizeof key, "%04d", i);
            f.List(key, i == matchAt ? "usb\\vid_4856&pid_0088" : "");
        }
        f.library.adapterListResult = 150;  // the library claims more than it may fill
        f.session.Discover();
        EXPECT_EQ(f.state.adapterReady, found ? 1 : 0) << matchAt;
        EXPECT_LE(f.library.CountOf("QueryHLMReg"), 100) << matchAt;
    }
}

TEST(Discover, AnInstanceNameFillingItsFieldIsReadNoFurther) {
    SessionFixture f;
    // Five characters and no terminating zero; the next entry's text follows directly.
    f.library.adapterList.push_back(Entry("00071"));
    f.library.adapterList.push_back(Entry("0008"));
    f.library.hlmValues[std::string(kClassKey) + "00071|MatchingDeviceId"] = "usb\\vid_4856&pid_0088";
    f.session.Discover();
    EXPECT_EQ(f.state.adapterReady, 1);
}

TEST(DriverVersionText, FieldsInTheirPlaces) {
    const struct {
        int packed;
        const char* text;
    } cases[] = {
        {0x02054317, "2.5.0317.2004"},
        {0x01004109, "1.0.0109.2004"},   // day 09
        {0x02057C31, "2.5.1231.2007"},   // month 12
        {static_cast<int>(0xFFFFFFFE), "255.255.15FE.2015"},
    };
    for (const auto& c : cases) EXPECT_EQ(DriverVersionText(c.packed), c.text);
}

TEST(Identify, PublishesTheIdentityAndAppliesTheLastSetting) {
    SessionFixture f;
    f.store.WriteLastSettingString("SSID", "lab");
    f.store.WriteLastSettingInt("AuthenticationMode", 4);
    f.state.current.Dot1xWPAIEs = "DD 00";

    EXPECT_TRUE(f.session.Identify());
    EXPECT_EQ(f.state.supportedRates.rate,
              (std::array<uint8_t, 16>{2, 4, 11, 22, 12, 18, 24, 36, 48, 72, 96, 108}));
    EXPECT_EQ(f.shell.calls, (Strings{"SetDriverVersionText(2.5.0317.2004)", "SetMacAddressText(00:0A:EB:12:34:56)",
                                      "FillTxRateList", "StartSiteSurvey", "ShowPage(LinkInfo)"}));
    EXPECT_EQ(f.state.current.SSID, "lab");
    EXPECT_EQ(f.state.current.Dot1xWPAIEs, "DD 00");
    EXPECT_EQ(f.state.wzcState, 0);
    EXPECT_EQ(f.library.useOwnOids, 1);
    EXPECT_EQ(f.library.ssid, "lab") << "the setting went to the adapter";
    EXPECT_EQ(f.worker.events.back().substr(0, 6), "Start@");
}

TEST(Identify, LeavesTheAdapterAloneWhileZeroConfigurationControlsIt) {
    SessionFixture f;
    f.library.wzcStatus = 1;
    EXPECT_TRUE(f.session.Identify());
    EXPECT_EQ(f.state.wzcState, 1);
    EXPECT_EQ(f.shell.calls, (Strings{"SetDriverVersionText(2.5.0317.2004)", "SetMacAddressText(00:0A:EB:12:34:56)",
                                      "FillTxRateList"}));
    EXPECT_EQ(f.library.CountOf("SetWL_SSID"), 0);
    EXPECT_EQ(f.state.current.Channel, 6) << "the last setting is still loaded";
}

TEST(Identify, FailsWhenRatesOrVersionCannotBeRead) {
    for (const char* failing : {"QueryWL_SupportedRate", "QueryWL_DriverVersion"}) {
        SessionFixture f;
        f.state.supportedRates.rate[0] = 99;
        f.library.Fail(failing);
        EXPECT_FALSE(f.session.Identify()) << failing;
        EXPECT_EQ(f.library.CallNames().back(), failing);
        EXPECT_TRUE(f.shell.calls.empty()) << failing;
        EXPECT_EQ(f.state.supportedRates.rate[0], std::string(failing) == "QueryWL_SupportedRate" ? 0 : 2);
    }
}

TEST(Identify, AnUnreadableMacShowsAsZeros) {
    SessionFixture f;
    f.library.Fail("GetNICAdapterMAC");
    EXPECT_TRUE(f.session.Identify());
    EXPECT_EQ(f.shell.macAddressText, "00:00:00:00:00:00");
}

TEST(ZeroConfigurationCheck, EveryIdentifiedAdapterIsToldItsControlState) {
    // I: the adapter is identified (again after it was unplugged and plugged in); C: a tick's check.
    const struct {
        const char* name;
        const char* steps;
        std::deque<int> statuses;
        int told;         // SetWL_HXUseHXOidState calls
        int finalState;
        int applied;      // settings sent to the adapter
    } cases[] = {
        {"the new adapter hears the unchanged status, once", "ICIC", {0, 0, 0, 0}, 2, 0, 2},
        {"a status outside 0-2 keeps the service in control; the next one is told", "IIC", {1, 5, 1}, 2, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SessionFixture f;
        f.library.Script("QueryWL_CheckWZCStatus", c.statuses);
        for (const char* step = c.steps; *step != '\0'; ++step) {
            if (*step == 'C') {
                f.session.CheckZeroConfiguration();
            } else {
                EXPECT_TRUE(f.session.Identify());
            }
        }
        EXPECT_EQ(f.library.CountOf("SetWL_HXUseHXOidState"), c.told);
        EXPECT_EQ(f.state.wzcState, c.finalState);
        EXPECT_EQ(f.library.CountOf("SetWL_SSID"), c.applied);
    }
}

TEST(ZeroConfigurationCheck, TellsTheDriverOnlyOnChanges) {
    const struct {
        std::deque<int> statuses;
        Strings told;
        int finalState;
    } cases[] = {
        {{0, 0, 1, 1, 0}, {"SetWL_HXUseHXOidState(1)", "SetWL_HXUseHXOidState(0)", "SetWL_HXUseHXOidState(1)"}, 0},
        {{2}, {"SetWL_HXUseHXOidState(0)"}, 2},
        {{2, 1, 2}, {"SetWL_HXUseHXOidState(0)", "SetWL_HXUseHXOidState(0)", "SetWL_HXUseHXOidState(0)"}, 2},
        {{3, -1, 7}, {}, -1},
        {{1, 5, 1}, {"SetWL_HXUseHXOidState(0)"}, 1},
    };
    for (const auto& c : cases) {
        SessionFixture f;
        const size_t checks = c.statuses.size();
        f.library.Script("QueryWL_CheckWZCStatus", c.statuses);
        for (size_t i = 0; i < checks; ++i) f.session.CheckZeroConfiguration();
        Strings told;
        for (const std::string& call : f.library.Calls())
            if (call.rfind("SetWL_HXUseHXOidState", 0) == 0) told.push_back(call);
        EXPECT_EQ(told, c.told);
        EXPECT_EQ(f.state.wzcState, c.finalState);
    }
}

}  // namespace
}  // namespace hx::test
