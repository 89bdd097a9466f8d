// dot1x_dll.dll through its import library, against VUVAVO.dll's simulated world: the
// pass phrase mapping, and WPA-PSK joins driven in the authentication worker's order
// with the worker's key-install callback.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "adapter/VuvavoApi.h"
#include "adapter/AdapterLibrary.h"
#include "auth/Dot1xApi.h"
#include "auth/KeyInstaller.h"
#include "SimulatedWorld.h"
#include "sim/core/BeaconElements.h"
#include "sim/core/DefaultWorld.h"

namespace {

using suptest::Control;
using suptest::ShowHas;
using suptest::WaitUntil;

hx::AdapterHandle g_adapter{};

TEST(Dot1xDll, PassphraseKeyMatchesThe80211iVectors) {
    const struct { const char* passphrase; const char* ssid; unsigned char first, last; } cases[] = {
        {"password", "IEEE", 0xf4, 0x2e},
        {"ThisIsAPassword", "ThisIsASSID", 0x0d, 0xaf},
    };
    for (const auto& c : cases) {
        unsigned char key[32] = {};
        ASSERT_EQ(Get_PSK_Key_32byte(c.passphrase, c.ssid, static_cast<int>(std::strlen(c.ssid)), 4096, key, 32), 0);
        EXPECT_EQ(key[0], c.first) << c.passphrase;
        EXPECT_EQ(key[31], c.last) << c.passphrase;
    }
    unsigned char key[32];
    EXPECT_EQ(Get_PSK_Key_32byte("password", "IEEE", 0, 4096, key, 32), -1);
}

class Dot1xJoin : public ::testing::Test {
protected:
    void SetUp() override {
        // As the worker's joins: these drive the simulated air through its control pipe,
        // which hung under emulated 32-bit Wine in a loaded run.
        if (::GetEnvironmentVariableA("HX_EMULATED_32BIT", nullptr, 0) > 0)
            GTEST_SKIP() << "hung under emulated 32-bit Wine in a loaded run: run where 32-bit code runs natively";
        ASSERT_EQ(Control("plug").substr(0, 2), "ok");
        ASSERT_TRUE(suptest::OpenAdapter(g_adapter));
        hx::SetKeyInstallTarget(hx::ExportedAdapterLibrary(), g_adapter);
    }
    void TearDown() override {
        Shutdown_Dot1x_Module();
        hx::ClearKeyInstallTarget();
    }

    bool Associate(const std::string& ssid, int wepStatus) {
        SetWL_NetworkType(&g_adapter, 1);
        SetWL_AuthenticationMode(&g_adapter, 4);
        SetWL_WEPStatus(&g_adapter, wepStatus);
        SetWL_SSID(&g_adapter, ssid.c_str(), static_cast<int>(ssid.size()));
        for (int i = 0; i < 60; ++i) {
            if (QueryWL_ConnectState(&g_adapter) == 0) return true;
            ::Sleep(50);
        }
        return false;
    }

    // WPA-PSK in the worker's order: record, key, init, EAPOL start, steps.
    bool JoinWithPassphrase(const std::string& ssid, const char* passphrase, int wepStatus, int cipher, int steps) {
        if (!Associate(ssid, wepStatus)) return false;
        for (const auto& n : hxsim::DefaultScenario().networks)
            if (n.ssid == ssid) element_ = hxsim::WpaElement(n.wpa);
        std::memset(&record_, 0, sizeof record_);
        GetNICAdapterMAC(&g_adapter, record_.ownMac);
        record_.wpaElement = element_.data();
        record_.wpaElementLength = static_cast<uint16_t>(element_.size());
        record_.pairwiseCipher = record_.groupCipher = cipher;
        record_.installKey = hx::InstallNegotiatedKey;  // the worker's own callback
        Get_PSK_Key_32byte(passphrase, ssid.c_str(), static_cast<int>(ssid.size()), 4096, record_.pairwiseMasterKey,
                           32);
        for (int i = 0; i < 16; ++i) record_.runConstant[i] = static_cast<uint8_t>(i * 7);
        unsigned char bssid[6];
        QueryWL_BSSID(&g_adapter, bssid);
        if (do_key_negotiation_init(&g_adapter, &record_) != 0) return false;
        do_eapol_start(bssid, record_.ownMac);
        for (int i = 0; i < steps; ++i) {
            do_key_negotiation_run(&record_);
            if (ShowHas("port.authorised: yes")) return true;
        }
        return false;
    }

    hx::KeyNegotiationRecord record_{};
    std::vector<uint8_t> element_;
};

TEST_F(Dot1xJoin, WpaPskTkipAndAesJoinWithTheRightPassphrase) {
    const struct { const char* ssid; const char* passphrase; int wepStatus, cipher; const char* keys; } cases[] = {
        {"WPA-TKIP-Home", "tkip-passphrase", 4, 8, "[pairwise 0 32 bytes matches] [group 1 32 bytes matches]"},
        {"WPA-AES-Office", "aes-passphrase", 6, 16, "[pairwise 0 16 bytes matches] [group 1 16 bytes matches]"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(JoinWithPassphrase(c.ssid, c.passphrase, c.wepStatus, c.cipher, 50)) << c.ssid << Control("show");
        EXPECT_TRUE(ShowHas(std::string("keys.installed: ") + c.keys)) << Control("show");
        Shutdown_Dot1x_Module();
    }
}

TEST_F(Dot1xJoin, AWrongPassphraseInstallsNothingAndTheLinkDrops) {
    ASSERT_EQ(Control("timing handshake-timeout 1500").substr(0, 2), "ok");
    const size_t timeoutsBefore = suptest::HandshakeTimeouts();
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(JoinWithPassphrase("WPA-TKIP-Home", "not-the-passphrase", 4, 8, 30));
    EXPECT_TRUE(ShowHas("keys.installed: none")) << Control("show");
    // Steps go on, each a short wait, until the access point gives up on the station.
    bool dropped = false;
    for (int i = 0; i < 200 && !dropped; ++i) {
        do_key_negotiation_run(&record_);
        dropped = suptest::HandshakeTimeouts() > timeoutsBefore;
    }
    EXPECT_TRUE(dropped) << Control("events");
    EXPECT_TRUE(ShowHas("keys.installed: none"));
    EXPECT_LT(::GetTickCount() - start, 10000u);
    Control("timing handshake-timeout 5000");
}

TEST_F(Dot1xJoin, AStepWithNothingToDoReturnsWithinTensOfMilliseconds) {
    ASSERT_TRUE(JoinWithPassphrase("WPA-TKIP-Home", "tkip-passphrase", 4, 8, 50));
    const DWORD start = ::GetTickCount();
    for (int i = 0; i < 10; ++i) do_key_negotiation_run(&record_);
    EXPECT_LT(::GetTickCount() - start, 10u * 60u);
}

}  // namespace
