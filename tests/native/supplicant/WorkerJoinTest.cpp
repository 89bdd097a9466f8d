// The authentication worker, the real supplicant and the real simulator together, on the
// steady clock as in the running utility: the worker reads the survey, derives the key
// or runs PEAP, and drives our key negotiation until the simulated access point
// authorises the port with the keys it negotiated itself.
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "TempFolder.h"
#include "adapter/AdapterLibrary.h"
#include "app/UtilityState.h"
#include "auth/AuthWorker.h"
#include "auth/SupplicantLibrary.h"
#include "config/MemoryAppProfile.h"
#include "tests/fakes/FolderPort.h"
#include "tests/native/sim/SimTestSupport.h"

namespace {

using namespace std::chrono_literals;
using hx::test::FolderPort;

class NoMessages final : public hx::WorkerMessagePort {
public:
    void ShowExclamation(const std::string& text) override { shown = text; }
    std::string shown;
};

template <typename Predicate>
bool WaitUntil(Predicate done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

bool ShowHas(const std::string& text) { return hxsim::Control("show").text.find(text) != std::string::npos; }

class WorkerJoin : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        hxsim::ResetWorld(hxsim::DefaultScenario(), /*manualClock=*/false);
        ASSERT_TRUE(hxsim::Control("timing scan 100").ok);
        ASSERT_TRUE(hxsim::Control("timing scan-jitter 0").ok);
        hx::InitialiseProcessState(state_);
        ASSERT_TRUE(simtest::OpenLikeTheUtility(state_.adapter));
        // The worker reads the list the adapter last collected.
        ASSERT_EQ(WL_SiteSurveyStart(&state_.adapter), 0);
        ASSERT_TRUE(WaitUntil([] { return !ShowHas("scanning"); }, 3s));
    }
    void TearDown() override {
        if (worker_) worker_->StopWorker();
        std::filesystem::current_path(previous_);
    }

    void Associate(const std::string& ssid, int auth, int wepStatus) {
        ASSERT_EQ(SetWL_NetworkType(&state_.adapter, hx::NetworkType::Infrastructure), 0);
        ASSERT_EQ(SetWL_AuthenticationMode(&state_.adapter, auth), 0);
        ASSERT_EQ(SetWL_WEPStatus(&state_.adapter, wepStatus), 0);
        ASSERT_EQ(SetWL_SSID(&state_.adapter, ssid.c_str(), static_cast<int>(ssid.size())), 0);
        hx::WlanSetting& s = state_.current;
        s.SSID = ssid;
        s.NetworkType = hx::NetworkType::Infrastructure;
        s.AuthenticationMode = auth;
        s.WEPStatus = wepStatus;
    }

    void StartWorker() {
        worker_ = std::make_unique<hx::AuthWorker>(hx::ExportedAdapterLibrary(), hx::ExportedSupplicantLibrary(),
                                                   state_, profile_, directory_, messages_,
                                                   hx::WorkerTiming{20ms});
        worker_->StartWorker();
    }

    hx::UtilityState state_;
    hx::MemoryAppProfile profile_;
    suptest::TempFolder folder_;
    FolderPort directory_{folder_.path()};
    NoMessages messages_;
    std::unique_ptr<hx::AuthWorker> worker_;
    std::filesystem::path previous_;
};

TEST_F(WorkerJoin, WpaPskJoinsWithTheRightPassphrase) {
    const struct { const char* ssid; const char* passphrase; int wepStatus; const char* keys; } cases[] = {
        {"WPA-TKIP-Home", "tkip-passphrase", hx::WepStatus::Tkip,
         "[pairwise 0 32 bytes matches] [group 1 32 bytes matches]"},
        {"WPA-AES-Office", "aes-passphrase", hx::WepStatus::Aes,
         "[pairwise 0 16 bytes matches] [group 1 16 bytes matches]"},
    };
    for (const auto& c : cases) {
        Associate(c.ssid, hx::AuthMode::WpaPsk, c.wepStatus);
        state_.current.Dot1xPassphrase = c.passphrase;
        StartWorker();
        EXPECT_TRUE(WaitUntil([] { return ShowHas("port.authorised: yes"); }, 10s)) << hxsim::Control("show").text;
        EXPECT_TRUE(ShowHas(std::string("keys.installed: ") + c.keys)) << hxsim::Control("show").text;
        EXPECT_TRUE(worker_->WorkerActive());
        worker_->StopWorker();
    }
}

TEST_F(WorkerJoin, WpaPskIsRefusedWithAWrongPassphrase) {
    ASSERT_TRUE(hxsim::Control("timing handshake-timeout 1500").ok);
    Associate("WPA-TKIP-Home", hx::AuthMode::WpaPsk, hx::WepStatus::Tkip);
    state_.current.Dot1xPassphrase = "not-the-passphrase";
    StartWorker();
    EXPECT_TRUE(WaitUntil([] { return hxsim::Control("events").text.find("4-way handshake timeout") !=
                                      std::string::npos; },
                          10s))
        << hxsim::Control("events").text;
    EXPECT_TRUE(ShowHas("keys.installed: none")) << hxsim::Control("show").text;
    EXPECT_TRUE(ShowHas("port.authorised: no"));
    const auto before = std::chrono::steady_clock::now();
    worker_->StopWorker();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
}

TEST_F(WorkerJoin, PeapJoinsWithTheUsersPassword) {
    Associate("WPA-Enterprise", hx::AuthMode::Wpa, hx::WepStatus::Tkip);
    hx::WlanSetting& s = state_.current;
    s.Dot1xProtocol = hx::Dot1xMethod::Peap;
    s.Dot1xUsername = "hxuser";
    s.Dot1xPassword = "hx-password";
    s.Dot1xCertSubject = "CN=HX Test Root CA";
    s.Dot1xCertIssuer = "CN=HX Test Root CA";
    StartWorker();
    EXPECT_TRUE(WaitUntil([] { return ShowHas("port.authorised: yes"); }, 10s)) << hxsim::Control("show").text;
    EXPECT_TRUE(std::filesystem::exists(folder_.path() / "caroot.pem"));
    EXPECT_TRUE(messages_.shown.empty());
}

}  // namespace
