// The utility's authentication worker over both DLLs under Wine: WPA-PSK networks of the
// default world are joined with the right pass phrase and refused with a wrong one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "adapter/VuvavoApi.h"
#include "app/UtilityState.h"
#include "auth/win32/UtilityAuthWorker.h"
#include "config/MemoryAppProfile.h"
#include "sim/SimulatorExports.h"

namespace {

std::string Control(const std::string& command) {
    std::vector<char> reply(64 * 1024);
    HxSimControl(command.c_str(), reply.data(), static_cast<int>(reply.size()));
    return reply.data();
}

bool ShowHas(const std::string& text) { return Control("show").find(text) != std::string::npos; }

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

template <typename Predicate>
bool WaitUntil(Predicate done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(20);
    }
    return true;
}

bool OpenAdapter(hx::AdapterHandle& record) {
    std::vector<hx::AdapterListEntry> list(100);
    const int n = CreateNICAdapterList(list.data(), 100);
    for (int i = 0; i < n; ++i) {
        const std::string key = std::string("SYSTEM\\CurrentControlSet\\Control\\Class\\"
                                            "{4D36E972-E325-11CE-BFC1-08002BE10318}\\") + list[i].instanceKey;
        char value[256] = {};
        unsigned long size = sizeof value;
        if (QueryHLMReg(key.c_str(), "MatchingDeviceId", value, &size) != 0) continue;
        if (_stricmp(value, "usb\\vid_4856&pid_0088") != 0) continue;
        std::memcpy(record.name, list[i].name, sizeof record.name);
        std::memcpy(record.description, list[i].description, sizeof record.description);
        std::memcpy(record.instanceKey, list[i].instanceKey, sizeof record.instanceKey);
        if (HxOpenAdapter(&record) != 0) return true;
    }
    return false;
}

class WorkerJoin : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Control("plug").substr(0, 2), "ok");
        Control("timing scan 100");
        Control("timing scan-jitter 0");
        hx::InitialiseProcessState(state_);
        ASSERT_TRUE(OpenAdapter(state_.adapter));
        ASSERT_EQ(WL_SiteSurveyStart(&state_.adapter), 0);
        ASSERT_TRUE(WaitUntil([] { return !ShowHas("scanning"); }, 3000));
    }

    void Associate(const char* ssid, const char* passphrase, int wepStatus) {
        SetWL_NetworkType(&state_.adapter, hx::NetworkType::Infrastructure);
        SetWL_AuthenticationMode(&state_.adapter, hx::AuthMode::WpaPsk);
        SetWL_WEPStatus(&state_.adapter, wepStatus);
        SetWL_SSID(&state_.adapter, ssid, static_cast<int>(std::strlen(ssid)));
        state_.current.SSID = ssid;
        state_.current.AuthenticationMode = hx::AuthMode::WpaPsk;
        state_.current.WEPStatus = wepStatus;
        state_.current.Dot1xPassphrase = passphrase;
    }

    hx::UtilityState state_;
    hx::MemoryAppProfile profile_;
};

TEST_F(WorkerJoin, WpaPskNetworksJoinWithTheRightPassphrase) {
    const struct { const char* ssid; const char* passphrase; int wepStatus; const char* keys; } cases[] = {
        {"WPA-TKIP-Home", "tkip-passphrase", hx::WepStatus::Tkip,
         "[pairwise 0 32 bytes matches] [group 1 32 bytes matches]"},
        {"WPA-AES-Office", "aes-passphrase", hx::WepStatus::Aes,
         "[pairwise 0 16 bytes matches] [group 1 16 bytes matches]"},
    };
    for (const auto& c : cases) {
        Associate(c.ssid, c.passphrase, c.wepStatus);
        hx::win::UtilityAuthWorker worker(state_, profile_);
        worker.StartWorker();
        EXPECT_TRUE(WaitUntil([] { return ShowHas("port.authorised: yes"); }, 15000)) << c.ssid << Control("show");
        EXPECT_TRUE(ShowHas(std::string("keys.installed: ") + c.keys)) << Control("show");
        worker.StopWorker();
    }
}

TEST_F(WorkerJoin, AWrongPassphraseIsRefused) {
    Control("timing handshake-timeout 1500");
    const size_t timeoutsBefore = Count(Control("events"), "4-way handshake timeout");
    Associate("WPA-TKIP-Home", "not-the-passphrase", hx::WepStatus::Tkip);
    hx::win::UtilityAuthWorker worker(state_, profile_);
    worker.StartWorker();
    EXPECT_TRUE(WaitUntil([&] { return Count(Control("events"), "4-way handshake timeout") > timeoutsBefore; }, 15000))
        << Control("events");
    EXPECT_TRUE(ShowHas("keys.installed: none")) << Control("show");
    EXPECT_TRUE(ShowHas("port.authorised: no"));
    const DWORD stopStart = ::GetTickCount();
    worker.StopWorker();
    EXPECT_LT(::GetTickCount() - stopStart, 1000u);
    Control("timing handshake-timeout 5000");
}

}  // namespace
