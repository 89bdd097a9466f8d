// Shared set-up of the simulator's tests: a fresh world on a manual clock, and an adapter
// record found and opened the way the utility does it, through the library's exports.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "adapter/VuvavoApi.h"
#include "sim/core/DefaultWorld.h"
#include "sim/core/ScenarioParser.h"
#include "sim/core/SurveyList.h"
#include "sim/vuvavo/SimulatorHost.h"

namespace simtest {

inline constexpr const char* kClassKey =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

// Finds the entry whose MatchingDeviceId is the HX-88U's and opens it; false if none.
inline bool OpenLikeTheUtility(hx::AdapterHandle& record) {
    std::vector<hx::AdapterListEntry> list(100);
    std::memset(list.data(), 0, list.size() * sizeof list[0]);
    const int n = CreateNICAdapterList(list.data(), 100);
    for (int i = 0; i < n; ++i) {
        const std::string key = std::string(kClassKey) + list[i].instanceKey;
        char value[256] = {};
        unsigned long size = sizeof value;
        if (QueryHLMReg(key.c_str(), "MatchingDeviceId", value, &size) != 0) continue;
        std::string id(value);
        for (char& c : id) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (id != "USB\\VID_4856&PID_0088") continue;
        std::memset(&record, 0, sizeof record);
        record.deviceHandle = -1;
        std::memcpy(record.name, list[i].name, sizeof record.name);
        std::memcpy(record.description, list[i].description, sizeof record.description);
        std::memcpy(record.instanceKey, list[i].instanceKey, sizeof record.instanceKey);
        if (HxOpenAdapter(&record) != 0) return true;
    }
    return false;
}

inline hxsim::Scenario ParseOrDie(const std::string& text) {
    auto parsed = hxsim::ParseScenario(text);
    EXPECT_TRUE(parsed.scenario.has_value()) << parsed.error;
    return parsed.scenario ? *parsed.scenario : hxsim::Scenario{};
}

// The default world's scenario text with more sections added.
inline hxsim::Scenario DefaultWorldPlus(const std::string& extra) {
    return ParseOrDie(std::string(hxsim::DefaultScenarioText()) + "\n" + extra);
}

// A fresh world on a manual clock with the adapter opened.
class SimFixture : public ::testing::Test {
protected:
    void Start(const hxsim::Scenario& scenario) {
        hxsim::ResetWorld(scenario, true);
        ASSERT_TRUE(OpenLikeTheUtility(adapter));
    }
    void SetUp() override { Start(hxsim::DefaultScenario()); }
    void Advance(hxsim::Millis ms) { hxsim::AdvanceClock(ms); }
    std::string Show() { return hxsim::Control("show").text; }
    bool ShowHas(const std::string& line) { return Show().find(line) != std::string::npos; }

    // Sets the fields association looks at, then the SSID, and lets association run.
    void Join(const std::string& ssid, int type, int auth, int wep) {
        ASSERT_EQ(SetWL_NetworkType(&adapter, type), 0);
        ASSERT_EQ(SetWL_AuthenticationMode(&adapter, auth), 0);
        ASSERT_EQ(SetWL_WEPStatus(&adapter, wep), 0);
        ASSERT_EQ(SetWL_SSID(&adapter, ssid.c_str(), static_cast<int>(ssid.size())), 0);
        Advance(1000);
    }
    std::string CurrentSsid() {
        char buffer[100] = {};
        return QueryWL_SSID(&adapter, buffer) >= 0 ? std::string(buffer) : std::string("<fail>");
    }

    hx::AdapterHandle adapter{};
};

}  // namespace simtest
