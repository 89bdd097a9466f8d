// The access point's authenticator and authentication server against the tests' own
// station: the right key authorises the port, a wrong one never does and ends in a
// deauthentication after the handshake timeout.
#include "SimTestSupport.h"
#include "TestStation.h"
#include "sim/core/BeaconElements.h"
#include "sim/core/EapSimulation.h"

namespace {

using simtest::Bytes;
using simtest::SimFixture;
using simtest::TestStation;
namespace eap = hxsim::eapsim;

class Authenticator : public SimFixture {
protected:
    Bytes WpaElementOf(const std::string& ssid) {
        const auto& networks = hxsim::DefaultScenario().networks;
        for (const auto& n : networks)
            if (n.ssid == ssid) return hxsim::WpaElement(n.wpa);
        return {};
    }
    int Deauths() {
        const std::string s = Show();
        const auto at = s.find("deauthentications ");
        return std::stoi(s.substr(at + 18));
    }
};

TEST_F(Authenticator, TheRightPassPhraseAuthorisesThePortWithTheCipherOfTheNetwork) {
    struct Case {
        const char* ssid;
        const char* passphrase;
        int wepStatus;
        const char* keys;
    };
    const Case cases[] = {
        {"WPA-TKIP-Home", "tkip-passphrase", 4, "[pairwise 0 32 bytes matches] [group 1 32 bytes matches]"},
        {"WPA-AES-Office", "aes-passphrase", 6, "[pairwise 0 16 bytes matches] [group 1 16 bytes matches]"},
    };
    for (const Case& c : cases) {
        Join(c.ssid, 1, 4, c.wepStatus);
        ASSERT_EQ(QueryWL_ConnectState(&adapter), 0) << c.ssid;
        EXPECT_TRUE(ShowHas("port.authorised: no"));
        TestStation station(adapter);
        ASSERT_TRUE(station.Handshake(simtest::Pbkdf2(c.passphrase, c.ssid), WpaElementOf(c.ssid))) << c.ssid;
        EXPECT_TRUE(ShowHas("port.authorised: yes")) << Show();
        EXPECT_TRUE(ShowHas(std::string("keys.installed: ") + c.keys)) << Show();
        Advance(20000);  // an authorised port is left alone
        EXPECT_EQ(QueryWL_ConnectState(&adapter), 0);
        EXPECT_EQ(Deauths(), 0);
    }
}

TEST_F(Authenticator, AWrongPassPhraseGetsNoMessage3AndADeauthenticationAfterTheTimeout) {
    Join("WPA-TKIP-Home", 1, 4, 4);
    TestStation station(adapter);
    EXPECT_FALSE(station.Handshake(simtest::Pbkdf2("not-the-passphrase", "WPA-TKIP-Home"), WpaElementOf("WPA-TKIP-Home")));
    EXPECT_TRUE(ShowHas("port.mic-failures: 1"));
    EXPECT_TRUE(ShowHas("keys.installed: none"));
    Advance(4000);
    EXPECT_EQ(QueryWL_ConnectState(&adapter), 0);
    Advance(1100);
    EXPECT_NE(QueryWL_ConnectState(&adapter), 0);  // deauthenticated after 5 s
    EXPECT_EQ(Deauths(), 1);
    EXPECT_NE(hxsim::Control("events").text.find("4-way handshake timeout"), std::string::npos);
    Advance(2500);  // the adapter tries again, as drivers do
    EXPECT_EQ(QueryWL_ConnectState(&adapter), 0);
}

TEST_F(Authenticator, KeysThatDoNotMatchTheAccessPointsNeverAuthorise) {
    Join("WPA-AES-Office", 1, 4, 6);
    TestStation station(adapter);
    ASSERT_TRUE(station.Handshake(simtest::Pbkdf2("aes-passphrase", "WPA-AES-Office"), WpaElementOf("WPA-AES-Office"),
                                  /*corruptKeys=*/true));
    EXPECT_TRUE(ShowHas("port.authorised: no"));
    EXPECT_TRUE(ShowHas("no-match"));
    ASSERT_TRUE(hxsim::Control("timing handshake-timeout 2000").ok);  // applies to the next session
    Advance(5100);
    EXPECT_NE(QueryWL_ConnectState(&adapter), 0);
    EXPECT_NE(hxsim::Control("events").text.find("keys installed do not match"), std::string::npos);
}

TEST_F(Authenticator, UnansweredMessagesComeAgainWithANewReplayCounterAndStaleAnswersAreIgnored) {
    Join("WPA-TKIP-Home", 1, 4, 4);
    TestStation station(adapter);
    const Bytes first = station.NextKeyFrame();
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(station.NextKeyFrame().empty());
    Advance(1000);
    const Bytes second = station.NextKeyFrame();
    ASSERT_FALSE(second.empty());
    EXPECT_GT(Bytes(second.begin() + 9, second.begin() + 17), Bytes(first.begin() + 9, first.begin() + 17));
    EXPECT_EQ(Bytes(second.begin() + 17, second.begin() + 49), Bytes(first.begin() + 17, first.begin() + 49));
    // EAPOL-Start restarts the handshake at once with a new ANonce.
    ASSERT_EQ(station.Send({1, 1, 0, 0}), 0);
    const Bytes restarted = station.NextKeyFrame();
    ASSERT_FALSE(restarted.empty());
    EXPECT_NE(Bytes(restarted.begin() + 17, restarted.begin() + 49), Bytes(first.begin() + 17, first.begin() + 49));
    // A message 2 for an older message 1 is dropped even with the right key: no message 3.
    const Bytes pmk = simtest::Pbkdf2("tkip-passphrase", "WPA-TKIP-Home");
    EXPECT_FALSE(station.Handshake(pmk, WpaElementOf("WPA-TKIP-Home"), false, &second));
    EXPECT_TRUE(ShowHas("port.phase: 4-way: waiting for message 2"));
    EXPECT_TRUE(station.Handshake(pmk, WpaElementOf("WPA-TKIP-Home"), false, &restarted));
    EXPECT_TRUE(ShowHas("port.authorised: yes"));
}

TEST_F(Authenticator, TruncatedAndForeignFramesAreIgnored) {
    Join("WPA-TKIP-Home", 1, 4, 4);
    TestStation station(adapter);
    ASSERT_FALSE(station.NextKeyFrame().empty());
    const Bytes frames[] = {
        {1, 3, 0, 200, 254},                       // body length past the frame
        {1, 3, 0, 1, 254},                         // too short for a key frame
        Bytes(120, 0xFF),                          // garbage
        {1, 9, 0, 0},                              // unknown EAPOL type
    };
    for (const Bytes& f : frames) EXPECT_EQ(station.Send(f), 0);
    EXPECT_TRUE(ShowHas("port.phase: 4-way: waiting for message 2"));
    EXPECT_EQ(HxSimSendEapol(&adapter, nullptr, 10), -1);
    unsigned char small[8];
    Advance(1000);
    EXPECT_EQ(HxSimReceiveEapol(&adapter, small, sizeof small, 0), -1);  // too small: dropped
}

TEST_F(Authenticator, NoEapolWithoutAnAssociation) {
    TestStation station(adapter);
    EXPECT_EQ(station.Send({1, 1, 0, 0}), -1);
    unsigned char frame[512];
    EXPECT_EQ(HxSimReceiveEapol(&adapter, frame, sizeof frame, 0), 0);
}

// --- The simulated 802.1X authentication -----------------------------------------------

class Dot1x : public Authenticator {
protected:
    void SetUp() override {
        Authenticator::SetUp();
        Join("WPA-Enterprise", 1, 3, 4);
        ASSERT_EQ(QueryWL_ConnectState(&adapter), 0);
    }

    Bytes Eap(uint8_t code, uint8_t id, const Bytes& typeData) {
        const size_t n = 4 + typeData.size();
        const Bytes length{static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
        return simtest::Cat({Bytes{1, 0}, length, Bytes{code, id}, length, typeData});
    }
    Bytes NextEap(TestStation& station) {
        for (int i = 0; i < 20; ++i) {
            Bytes f = station.Receive();
            if (f.size() >= 8 && f[1] == 0) return f;
        }
        return {};
    }
    static Bytes Field(const std::string& s) {
        return simtest::Cat({Bytes(1, static_cast<uint8_t>(s.size())), simtest::Text(s)});
    }

    // Runs the exchange; returns the final EAP code and the master key the station derives.
    std::pair<int, Bytes> Run(TestStation& station, uint8_t method, const std::string& identity,
                              const Bytes& secret, const std::string& certSubject = "") {
        station.Send({1, 1, 0, 0});
        // The identity request sent on association may still wait: answer the newest one.
        Bytes request;
        for (Bytes f = NextEap(station); !f.empty(); f = station.Receive(0))
            if (f.size() >= 9 && f[1] == 0 && f[8] == eap::kEapTypeIdentity) request = f;
        if (request.empty()) return {0, {}};
        station.Send(Eap(eap::kEapResponse, request[5], simtest::Cat({Bytes{1}, simtest::Text(identity)})));
        const Bytes hello = NextEap(station);
        if (hello.size() < 12 || hello[4] != eap::kEapRequest) return {hello.size() > 4 ? hello[4] : 0, {}};
        EXPECT_EQ(hello[8], eap::kEapTypeSimulated);
        EXPECT_EQ(hello[10], eap::kOpServerHello);
        const Bytes serverNonce(hello.begin() + 11, hello.begin() + 43);
        Bytes clientNonce(32, 0x5A);
        const Bytes who = simtest::Text(identity);
        const Bytes proof = simtest::Mac(GCRY_MD_SHA256, secret,
                                         simtest::Cat({simtest::Text("HXSIM client"), serverNonce, clientNonce, who}));
        Bytes answer{eap::kEapTypeSimulated, method, method == eap::kMethodTls ? eap::kOpClientTls : eap::kOpClientPeap};
        if (method == eap::kMethodTls)
            answer = simtest::Cat({answer, clientNonce, Field(certSubject), Field("CN=HX Test Root CA"), proof});
        else
            answer = simtest::Cat({answer, clientNonce, Field(identity), proof});
        station.Send(Eap(eap::kEapResponse, hello[5], answer));
        const Bytes finished = NextEap(station);
        if (finished.size() < 12 || finished[4] != eap::kEapRequest) return {finished.size() > 4 ? finished[4] : 0, {}};
        const Bytes serverProof(finished.begin() + 11, finished.begin() + 43);
        EXPECT_EQ(serverProof, simtest::Mac(GCRY_MD_SHA256, secret,
                                            simtest::Cat({simtest::Text("HXSIM server"), serverNonce, clientNonce, who})));
        station.Send(Eap(eap::kEapResponse, finished[5], {eap::kEapTypeSimulated, method, eap::kOpClientAck}));
        const Bytes final = NextEap(station);
        return {final.size() > 4 ? final[4] : 0,
                simtest::Mac(GCRY_MD_SHA256, secret, simtest::Cat({simtest::Text("HXSIM pmk"), serverNonce, clientNonce}))};
    }

    Bytes PasswordSecret(const std::string& password) {
        Bytes out(32);
        gcry_md_hash_buffer(GCRY_MD_SHA256, out.data(), password.data(), password.size());
        return out;
    }
    Bytes CertificateKey(const std::string& subject) {
        for (const auto& c : hxsim::DefaultScenario().certificates)
            if (c.subject == subject) return Bytes(c.key.begin(), c.key.end());
        return {};
    }
};

TEST_F(Dot1x, PeapWithTheRightPasswordSucceedsAndItsKeyDrivesTheHandshake) {
    TestStation station(adapter);
    const auto [code, pmk] = Run(station, eap::kMethodPeap, "hxuser", PasswordSecret("hx-password"));
    ASSERT_EQ(code, eap::kEapSuccess);
    ASSERT_TRUE(station.Handshake(pmk, WpaElementOf("WPA-Enterprise")));
    EXPECT_TRUE(ShowHas("port.authorised: yes")) << Show();
}

TEST_F(Dot1x, TlsWithTheCertificatesKeySucceeds) {
    TestStation station(adapter);
    const auto [code, pmk] =
        Run(station, eap::kMethodTls, "hxuser", CertificateKey("CN=HX Test User"), "CN=HX Test User");
    ASSERT_EQ(code, eap::kEapSuccess);
    ASSERT_TRUE(station.Handshake(pmk, WpaElementOf("WPA-Enterprise")));
    EXPECT_TRUE(ShowHas("port.authorised: yes"));
}

TEST_F(Dot1x, WrongCredentialsFail) {
    struct Case {
        const char* what;
        uint8_t method;
        const char* identity;
        Bytes secret;
        const char* certificate;
    };
    const Case cases[] = {
        {"PEAP wrong password", eap::kMethodPeap, "hxuser", PasswordSecret("guess"), ""},
        {"PEAP unknown user", eap::kMethodPeap, "nobody", PasswordSecret("hx-password"), ""},
        {"TLS key of another certificate", eap::kMethodTls, "hxuser", CertificateKey("CN=HX Locked User"),
         "CN=HX Test User"},
        {"TLS certificate not the user's", eap::kMethodTls, "hxuser", CertificateKey("CN=HX Locked User"),
         "CN=HX Locked User"},
    };
    for (const Case& c : cases) {
        TestStation station(adapter);
        const auto result = Run(station, c.method, c.identity, c.secret, c.certificate);
        EXPECT_EQ(result.first, eap::kEapFailure) << c.what;
        EXPECT_TRUE(ShowHas("port.authorised: no")) << c.what;
    }
    ASSERT_TRUE(hxsim::Control("timing eap-timeout 3000").ok);
    Join("WPA-Enterprise", 1, 3, 4);  // a new association: the new timeout applies
    Advance(3100);
    EXPECT_NE(hxsim::Control("events").text.find("802.1X authentication timeout"), std::string::npos);
}

TEST_F(Dot1x, TheServerAsksForTheIdentityUnaskedAfterAssociation) {
    TestStation station(adapter);
    const Bytes first = NextEap(station);
    ASSERT_GE(first.size(), 9u);
    EXPECT_EQ(first[4], eap::kEapRequest);
    EXPECT_EQ(first[8], eap::kEapTypeIdentity);
}

}  // namespace
