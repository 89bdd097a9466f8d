// The supplicant's exports against the simulated adapter and its access points, called
// in the order the authentication worker calls them, with the worker's key-install
// callback. The access point's own authenticator and authentication server judge the keys.
#include <cstring>
#include <filesystem>

#include "TempFolder.h"
#include "adapter/AdapterLibrary.h"
#include "auth/Dot1xApi.h"
#include "auth/KeyInstaller.h"
#include "sim/core/BeaconElements.h"
#include "tests/native/sim/SimTestSupport.h"

namespace {

// Makes a folder the current directory for as long as it lives, as the worker does with
// the program's folder.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentDirectory() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

class SupplicantJoin : public simtest::SimFixture {
protected:
    void SetUp() override {
        SimFixture::SetUp();
        hx::SetKeyInstallTarget(hx::ExportedAdapterLibrary(), adapter);
    }
    void TearDown() override {
        Shutdown_Dot1x_Module();
        hx::ClearKeyInstallTarget();
    }

    // The network's element as the survey shows it: WPA2 (authentication 6 and 7) asks for
    // the RSN element, WPA for the WPA element.
    std::vector<uint8_t> ElementOf(const std::string& ssid, int auth) {
        return hxsim::WithWorld([&](hxsim::World& w) {
            for (const auto& n : w.GetScenario().networks)
                if (n.ssid == ssid) return auth >= 6 ? hxsim::RsnElement(n.rsn) : hxsim::WpaElement(n.wpa);
            return std::vector<uint8_t>{};
        });
    }

    // The key-negotiation record as the worker fills it, the key left to the caller.
    void FillRecord(const std::string& ssid, int cipher, int auth) {
        element_ = ElementOf(ssid, auth);
        std::memset(&record_, 0, sizeof record_);
        ASSERT_EQ(GetNICAdapterMAC(&adapter, record_.ownMac), 0);
        for (int i = 0; i < 16; ++i) record_.runConstant[i] = static_cast<uint8_t>(0x10 * i + 3);
        record_.wpaElement = element_.data();
        record_.wpaElementLength = static_cast<uint16_t>(element_.size());
        record_.pairwiseCipher = record_.groupCipher = cipher;
        record_.installKey = callback_;
    }

    // The key negotiation loop; true once the port is authorised.
    bool Negotiate(int steps) {
        if (do_key_negotiation_init(&adapter, &record_) != 0) return false;
        for (int i = 0; i < steps; ++i) {
            do_key_negotiation_run(&record_);
            if (ShowHas("port.authorised: yes")) return true;
        }
        return false;
    }

    bool JoinWithPassphrase(const std::string& ssid, const char* passphrase, int wepStatus, int cipher,
                            int auth = 4) {
        Join(ssid, 1, auth, wepStatus);
        if (QueryWL_ConnectState(&adapter) != 0) return false;
        FillRecord(ssid, cipher, auth);
        Get_PSK_Key_32byte(passphrase, ssid.c_str(), static_cast<int>(ssid.size()), 4096,
                           record_.pairwiseMasterKey, 32);
        if (do_key_negotiation_init(&adapter, &record_) != 0) return false;
        unsigned char bssid[6];
        QueryWL_BSSID(&adapter, bssid);
        EXPECT_EQ(do_eapol_start(bssid, record_.ownMac), 0);
        for (int i = 0; i < 20; ++i) {
            do_key_negotiation_run(&record_);
            if (ShowHas("port.authorised: yes")) return true;
        }
        return false;
    }

    hx::KeyNegotiationRecord record_{};
    std::vector<uint8_t> element_;
    hx::KeyInstallCallback callback_ = hx::InstallNegotiatedKey;  // the worker's own callback
};

TEST_F(SupplicantJoin, WpaAndWpa2PskWithTheRightPassphraseInstallTheAccessPointsKeys) {
    Start(simtest::DefaultWorldPlus("[network]\nssid = WPA2-TKIP\nbssid = 06:A0:88:00:00:21\nchannel = 4\n"
                                    "rssi = -58\nsecurity = rsn-psk\ncipher = tkip\npassphrase = wpa2-tkip-phrase\n"));
    const struct { const char* ssid; const char* passphrase; int auth, wepStatus, cipher; const char* keys; } cases[] = {
        {"WPA-TKIP-Home", "tkip-passphrase", 4, 4, 8, "[pairwise 0 32 bytes matches] [group 1 32 bytes matches]"},
        {"WPA-AES-Office", "aes-passphrase", 4, 6, 16, "[pairwise 0 16 bytes matches] [group 1 16 bytes matches]"},
        {"RSN-Only", "rsn-passphrase", 7, 6, 16, "[pairwise 0 16 bytes matches] [group 1 16 bytes matches]"},
        {"WPA2-TKIP", "wpa2-tkip-phrase", 7, 4, 8, "[pairwise 0 32 bytes matches] [group 1 32 bytes matches]"},
        // WPA2 on the mixed network: CCMP pairwise, the network's TKIP group key.
        {"Mixed-WPA-WPA2", "mixed-passphrase", 7, 6, 16, "[pairwise 0 16 bytes matches] [group 1 32 bytes matches]"},
        {"WPA3-Transition", "transition-passphrase", 7, 6, 16,
         "[pairwise 0 16 bytes matches] [group 1 16 bytes matches]"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(JoinWithPassphrase(c.ssid, c.passphrase, c.wepStatus, c.cipher, c.auth)) << c.ssid << "\n" << Show();
        EXPECT_TRUE(ShowHas(std::string("keys.installed: ") + c.keys)) << Show();
        Advance(20000);
        EXPECT_EQ(QueryWL_ConnectState(&adapter), 0) << c.ssid << ": an authorised link stays";
        Shutdown_Dot1x_Module();
    }
}

TEST_F(SupplicantJoin, WpaPskWithAWrongPassphraseInstallsNothingAndTheLinkDrops) {
    EXPECT_FALSE(JoinWithPassphrase("WPA-TKIP-Home", "not-the-passphrase", 4, 8));
    EXPECT_TRUE(ShowHas("keys.installed: none")) << Show();
    // The access point asks again and again, and then gives up on the station.
    for (int second = 0; second < 6; ++second) {
        Advance(1000);
        for (int i = 0; i < 3; ++i) do_key_negotiation_run(&record_);
    }
    EXPECT_NE(QueryWL_ConnectState(&adapter), 0);
    EXPECT_TRUE(ShowHas("keys.installed: none")) << Show();
    EXPECT_NE(hxsim::Control("events").text.find("4-way handshake timeout"), std::string::npos);
}

// Every key the library hands over, on its way to the worker's callback.
struct HandedKey {
    int kind, index;
    std::vector<uint8_t> key;
    bool operator==(const HandedKey&) const = default;
};
std::vector<HandedKey> handed;

void HX_CALLBACK RecordAndInstall(const uint8_t* rsc, const uint8_t* key, int length, int index, int kind) {
    handed.push_back({kind, index, std::vector<uint8_t>(key, key + length)});
    hx::InstallNegotiatedKey(rsc, key, length, index, kind);
}

class GroupKeyRenewal : public SupplicantJoin {
protected:
    void SetUp() override {
        SupplicantJoin::SetUp();
        handed.clear();
        callback_ = RecordAndInstall;
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) do_key_negotiation_run(&record_);
    }
    // The access point's group key and index, and what the adapter holds under that index.
    struct GroupKeys {
        std::vector<uint8_t> apKey;
        int index;
        std::vector<uint8_t> adapterKey;
    };
    GroupKeys Current() {
        return hxsim::WithWorld([](hxsim::World& w) {
            GroupKeys keys{w.Session()->GroupKey(), w.Session()->GroupKeyIndex(), {}};
            for (const auto& k : w.InstalledKeys())
                if (!k.pairwise && k.index == keys.index) keys.adapterKey = k.material;
            return keys;
        });
    }
};

TEST_F(GroupKeyRenewal, EachNewGroupKeyReachesTheAdapterOnceUnderItsNewIndex) {
    const struct { const char* how; const char* scenario; const char* control; int advanceMs; int auth; } cases[] = {
        {"the control command", "", "group-rekey", 0, 4},
        {"the scenario's timing", "[timing]\ngroup-rekey = 3000\n", nullptr, 3000, 4},
        {"the control command, WPA2", "", "group-rekey", 0, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        Start(simtest::DefaultWorldPlus(c.scenario));
        handed.clear();
        if (c.auth == 7) {
            ASSERT_TRUE(JoinWithPassphrase("RSN-Only", "rsn-passphrase", 6, 16, 7)) << Show();
        } else {
            ASSERT_TRUE(JoinWithPassphrase("WPA-TKIP-Home", "tkip-passphrase", 4, 8)) << Show();
        }
        std::vector<uint8_t> previous = Current().apKey;
        for (int expectedIndex : {2, 1}) {
            handed.clear();
            // The station's first answer is lost, so the access point sends the same key again.
            ASSERT_TRUE(hxsim::Control("fail HxSimSendEapol once").ok);
            if (c.control) {
                ASSERT_TRUE(hxsim::Control(c.control).ok);
            }
            Advance(c.advanceMs);
            Steps(3);
            Advance(1000);
            Steps(3);
            const GroupKeys now = Current();
            EXPECT_EQ(now.index, expectedIndex);
            EXPECT_NE(now.apKey, previous);
            EXPECT_EQ(now.adapterKey, now.apKey);
            EXPECT_EQ(handed, (std::vector<HandedKey>{{1, expectedIndex, now.apKey}}))
                << "handed over once, the repeat not again";
            EXPECT_TRUE(ShowHas("port.phase: authorised\n")) << "the repeat was answered\n" << Show();
            EXPECT_TRUE(ShowHas("faults: none"));
            previous = now.apKey;
        }
        Shutdown_Dot1x_Module();
    }
}

TEST_F(GroupKeyRenewal, AStationThatDoesNotTakeTheNewKeyIsDeauthenticated) {
    ASSERT_TRUE(JoinWithPassphrase("WPA-AES-Office", "aes-passphrase", 6, 16)) << Show();
    ASSERT_TRUE(hxsim::Control("group-rekey").ok);
    Advance(4900);  // the old key serves until the renewal times out
    EXPECT_TRUE(ShowHas("port.authorised: yes")) << Show();
    Advance(200);
    EXPECT_NE(QueryWL_ConnectState(&adapter), 0);
    EXPECT_NE(hxsim::Control("events").text.find("group key handshake timeout"), std::string::npos);
}

class SupplicantDot1x : public SupplicantJoin {
protected:
    void SetUp() override {
        SupplicantJoin::SetUp();
        Join("WPA-Enterprise", 1, 3, 4);
        ASSERT_EQ(QueryWL_ConnectState(&adapter), 0);
    }

    hx::EapConfigRecord Config(const char* method, const char* password) {
        hx::EapConfigRecord config;
        std::memset(&config, 0, sizeof config);
        std::strcpy(config.identity, "hxuser");
        std::strcpy(config.password, password);
        std::strcpy(config.caCertFile, "caroot.pem");
        std::strcpy(config.eapName, "EAP");
        std::strcpy(config.method, method);
        const uint32_t fragment = 1398;
        std::memcpy(config.fragmentSize, &fragment, 4);
        std::strcpy(config.randomFile, ".rand");
        if (std::strcmp(method, "TLS") == 0) {
            std::strcpy(config.clientCertFile, "ReZID.pem");
            std::strcpy(config.privateKeyFile, "ReZID_key.pem");
        } else {
            std::strcpy(config.innerMethod, "MS-CHAPv2");
            std::strcpy(config.innerIdentity, "hxuser");
        }
        return config;
    }

    // The worker's EAP run: init, up to 62 steps, halt; then the key negotiation with the
    // derived key. True when the port ends up authorised.
    bool RunEap(hx::EapConfigRecord config, const char* ssid = "WPA-Enterprise", int cipher = 8, int auth = 3) {
        unsigned char mac[6], bssid[6];
        GetNICAdapterMAC(&adapter, mac);
        QueryWL_BSSID(&adapter, bssid);
        if (do_eapol_init(&adapter, 0, mac, bssid, &config) != 0) return false;
        bool succeeded = false;
        for (int i = 0; i < 62 && !succeeded; ++i) succeeded = do_eapol_run() != 0;
        do_eapol_halt();
        if (!succeeded) return false;
        FillRecord(ssid, cipher, auth);
        if (Get_EAP_Derived_Key_32byte(record_.pairwiseMasterKey) != 0) return false;
        return Negotiate(20);
    }

    suptest::TempFolder folder_;
};

TEST_F(SupplicantDot1x, PeapWithTheRightPasswordAuthorisesThePort) {
    CurrentDirectory here(folder_.path());
    ASSERT_EQ(genROOTCertFile("CN=HX Test Root CA", "CN=HX Test Root CA"), 0);
    ASSERT_EQ(genROOTSSLFile(), 0);
    EXPECT_TRUE(RunEap(Config("PEAP", "hx-password"))) << Show();
    EXPECT_TRUE(ShowHas("keys.installed: [pairwise 0 32 bytes matches] [group 1 32 bytes matches]")) << Show();
}

TEST_F(SupplicantDot1x, PeapOverWpa2AuthorisesThePortWithCcmpKeys) {
    CurrentDirectory here(folder_.path());
    ASSERT_EQ(genROOTCertFile("CN=HX Test Root CA", "CN=HX Test Root CA"), 0);
    ASSERT_EQ(genROOTSSLFile(), 0);
    Join("WPA2-Enterprise", 1, 6, 6);
    ASSERT_TRUE(ShowHas("link.authentication: wpa2-802.1x")) << Show();
    EXPECT_TRUE(RunEap(Config("PEAP", "hx-password"), "WPA2-Enterprise", 16, 6)) << Show();
    EXPECT_TRUE(ShowHas("keys.installed: [pairwise 0 16 bytes matches] [group 1 16 bytes matches]")) << Show();
}

TEST_F(SupplicantDot1x, PeapWithAWrongPasswordYieldsNoKey) {
    CurrentDirectory here(folder_.path());
    ASSERT_EQ(genROOTCertFile("CN=HX Test Root CA", "CN=HX Test Root CA"), 0);
    ASSERT_EQ(genROOTSSLFile(), 0);
    EXPECT_FALSE(RunEap(Config("PEAP", "hx-guess")));
    unsigned char key[32];
    EXPECT_EQ(Get_EAP_Derived_Key_32byte(key), -1);
    EXPECT_TRUE(ShowHas("keys.installed: none"));
}

TEST_F(SupplicantDot1x, TlsWithTheExportedCertificateAuthorisesThePort) {
    CurrentDirectory here(folder_.path());
    ASSERT_EQ(genMyCertFile("CN=HX Test User", "CN=HX Test Root CA"), 0);
    ASSERT_EQ(genMySSLFile(), 0);
    for (const char* file : {"ReZID.pem", "ReZID_key.pem", ".rand"}) EXPECT_TRUE(std::filesystem::exists(file)) << file;
    EXPECT_TRUE(RunEap(Config("TLS", "QoRTV"))) << Show();
}

TEST_F(SupplicantDot1x, CertificatesThatCannotServeAreRefused) {
    CurrentDirectory here(folder_.path());
    EXPECT_NE(genMyCertFile("CN=HX Locked User", "CN=HX Test Root CA"), 0) << "its key may not be exported";
    EXPECT_NE(genMyCertFile("CN=HX Test User", "CN=Someone Else"), 0);
    EXPECT_NE(genMySSLFile(), 0) << "no certificate file to go with";
    EXPECT_NE(genROOTCertFile("CN=HX Test User", "CN=HX Test Root CA"), 0) << "not in the ROOT store";
    EXPECT_NE(genROOTSSLFile(), 0);
    EXPECT_FALSE(std::filesystem::exists("ReZID_key.pem"));
}

}  // namespace
