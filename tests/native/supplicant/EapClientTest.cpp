// The simulated EAP methods of the supplicant against the test server: a right password
// or the exported certificate and key yield the server's master key; anything the server
// refuses, or a server that cannot prove itself, yields none.
#include <gtest/gtest.h>

#include <cstring>

#include "TempFolder.h"
#include "TestEapServer.h"
#include "TestSupport.h"
#include "sim/dot1x/core/CertificateExport.h"
#include "sim/dot1x/core/EapConfig.h"
#include "sim/dot1x/core/Supplicant.h"

namespace {

using hxsup::EapVerdict;

constexpr hxsup::MacAddress kAccessPoint{0x00, 0x0A, 0xEB, 0x11, 0x22, 0x33};

suptest::EapUser PeapUser() {
    suptest::EapUser user;
    user.outerIdentity = "alice";
    user.innerIdentity = "alice";
    user.password = "Wonderland7";
    return user;
}

suptest::EapUser TlsUser() {
    suptest::EapUser user;
    user.tls = true;
    user.outerIdentity = "bob";
    user.certificateSubject = "CN=HX Test User";
    user.certificateIssuer = "CN=HX Test Root";
    user.key.assign(32, 0);
    for (size_t i = 0; i < 32; ++i) user.key[i] = static_cast<uint8_t>(200 - i);
    return user;
}

hxsup::EapSettings PeapSettings(const char* password) {
    return {"alice", password, hxsup::EapMethod::Peap, "alice"};
}

class EapRun {
public:
    EapRun(hxsup::EapSettings settings, hxsup::EapCredentials credentials = {}) {
        started = supplicant.InitEap(std::make_unique<suptest::ScriptedPort>(log), kAccessPoint, std::move(settings),
                                     std::move(credentials));
    }
    // Delivers a frame, runs one step; true when the exchange has succeeded.
    bool Deliver(const std::vector<uint8_t>& frame) {
        log.inbound.push_back(frame);
        return supplicant.RunEapStep();
    }
    const std::vector<uint8_t>& LastSent() const { return log.sent.back(); }

    suptest::PortLog log;
    hxsup::Supplicant supplicant;
    bool started = false;
};

// The whole exchange; false at the first step the server or client refuses.
bool Exchange(EapRun& run, suptest::TestEapServer& server) {
    if (!run.started || run.log.sent.empty() || run.log.sent[0] != std::vector<uint8_t>{1, 1, 0, 0}) return false;
    run.Deliver(server.IdentityRequest());
    if (!server.AcceptIdentity(run.LastSent())) return false;
    run.Deliver(server.ServerHello());
    if (!server.AcceptClientAnswer(run.LastSent())) {
        run.Deliver(server.Failure());
        return false;
    }
    run.Deliver(server.ServerFinished());
    if (!server.AcceptClientAck(run.LastSent())) return false;
    return run.Deliver(server.Success());
}

TEST(EapExchange, PeapWithTheRightPasswordYieldsTheServersMasterKey) {
    suptest::TestEapServer server(PeapUser());
    EapRun run(PeapSettings("Wonderland7"));
    ASSERT_TRUE(Exchange(run, server));
    ASSERT_TRUE(server.MasterKey());
    EXPECT_EQ(run.supplicant.EapMasterKey(), server.MasterKey());
    EXPECT_TRUE(run.supplicant.RunEapStep()) << "stays successful until halted";
    run.supplicant.HaltEap();
    EXPECT_FALSE(run.supplicant.RunEapStep());
    EXPECT_EQ(run.supplicant.EapMasterKey(), server.MasterKey()) << "the key outlives the halt";
    run.supplicant.Shutdown();
    EXPECT_FALSE(run.supplicant.EapMasterKey());
}

TEST(EapExchange, PeapWithAWrongPasswordEndsWithoutAKey) {
    suptest::TestEapServer server(PeapUser());
    EapRun run(PeapSettings("wonderland7"));
    EXPECT_FALSE(Exchange(run, server));
    EXPECT_FALSE(run.supplicant.RunEapStep());
    EXPECT_FALSE(run.supplicant.EapMasterKey());
}

// A certificate store holding the TLS user's certificate with its key.
class ScenarioLikeStore final : public hxsup::CertificateSource {
public:
    std::optional<hxsup::StoredCertificate> Find(hxsup::CertificateStore store, const std::string& subject,
                                                 const std::string& issuer) override {
        const auto user = TlsUser();
        if (store == hxsup::CertificateStore::My && subject == user.certificateSubject &&
            issuer == user.certificateIssuer)
            return hxsup::StoredCertificate{{subject, issuer}, {}, true, true, user.key};
        if (store == hxsup::CertificateStore::Root && subject == "CN=HX Test Root" && issuer == subject)
            return hxsup::StoredCertificate{{subject, issuer}, {}, false, false, {}};
        return std::nullopt;
    }
};

hx::EapConfigRecord TlsRecord(const char* passphrase) {
    hx::EapConfigRecord record;
    std::memset(&record, 0, sizeof record);
    std::strcpy(record.identity, "bob");
    std::strcpy(record.password, passphrase);
    std::strcpy(record.caCertFile, "caroot.pem");
    std::strcpy(record.clientCertFile, "ReZID.pem");
    std::strcpy(record.privateKeyFile, "ReZID_key.pem");
    std::strcpy(record.eapName, "EAP");
    std::strcpy(record.method, "TLS");
    std::strcpy(record.randomFile, ".rand");
    return record;
}

TEST(EapExchange, TlsWithTheExportedCertificateAndKeyYieldsTheServersMasterKey) {
    suptest::TempFolder folder;
    ScenarioLikeStore store;
    ASSERT_EQ(hxsup::ExportClientCertificate(store, "CN=HX Test User", "CN=HX Test Root", folder.path()), 0);
    ASSERT_EQ(hxsup::PrepareClientTlsFiles(folder.path()), 0);
    const auto record = TlsRecord("QoRTV");
    suptest::TestEapServer server(TlsUser());
    EapRun run(hxsup::SettingsFromConfig(record), hxsup::LoadCredentials(record, folder.path()));
    ASSERT_TRUE(Exchange(run, server));
    EXPECT_EQ(run.supplicant.EapMasterKey(), server.MasterKey());
}

TEST(EapExchange, TlsDeclinesWhenItsKeyFileDoesNotOpen) {
    suptest::TempFolder folder;
    ScenarioLikeStore store;
    ASSERT_EQ(hxsup::ExportClientCertificate(store, "CN=HX Test User", "CN=HX Test Root", folder.path()), 0);
    const auto record = TlsRecord("not the pass phrase");
    const auto credentials = hxsup::LoadCredentials(record, folder.path());
    EXPECT_TRUE(credentials.clientCertificate);
    EXPECT_FALSE(credentials.privateKey);
    suptest::TestEapServer server(TlsUser());
    EapRun run(hxsup::SettingsFromConfig(record), credentials);
    EXPECT_FALSE(Exchange(run, server));
    EXPECT_EQ(run.LastSent()[8], 3) << "a Nak";
    EXPECT_FALSE(run.supplicant.EapMasterKey());
}

TEST(EapExchange, TheServerMustChainToTheTrustedRoot) {
    suptest::TempFolder folder;
    ScenarioLikeStore store;
    ASSERT_EQ(hxsup::ExportRootCertificate(store, "CN=HX Test Root", "CN=HX Test Root", folder.path()), 0);
    auto record = TlsRecord("x");
    std::strcpy(record.method, "PEAP");
    std::strcpy(record.password, "Wonderland7");
    std::strcpy(record.innerMethod, "MS-CHAPv2");
    std::strcpy(record.innerIdentity, "alice");
    std::strcpy(record.identity, "alice");
    const auto credentials = hxsup::LoadCredentials(record, folder.path());
    ASSERT_TRUE(credentials.trustedRoot);

    suptest::TestEapServer trusted(PeapUser(), "CN=HX Test Root");
    EapRun good(hxsup::SettingsFromConfig(record), credentials);
    EXPECT_TRUE(Exchange(good, trusted));

    suptest::TestEapServer impostor(PeapUser(), "CN=Someone Else");
    EapRun bad(hxsup::SettingsFromConfig(record), credentials);
    EXPECT_FALSE(Exchange(bad, impostor));
    EXPECT_FALSE(bad.supplicant.EapMasterKey());
}

TEST(EapExchange, SuccessCountsOnlyAfterTheServerHasProvedItself) {
    suptest::TestEapServer server(PeapUser());
    EapRun run(PeapSettings("Wonderland7"));
    EXPECT_FALSE(run.Deliver(server.Success())) << "Success before anything";
    run.Deliver(server.IdentityRequest());
    EXPECT_FALSE(run.Deliver(server.Success())) << "Success after the identity";
    run.Deliver(server.ServerHello());
    ASSERT_TRUE(server.AcceptClientAnswer(run.LastSent()));
    EXPECT_FALSE(run.Deliver(server.Success())) << "Success before the server's proof";
    const size_t sent = run.log.sent.size();
    EXPECT_FALSE(run.Deliver(server.ServerFinished(/*corruptProof=*/true)));
    EXPECT_EQ(run.log.sent.size(), sent) << "no acknowledgement of a false proof";
    EXPECT_FALSE(run.Deliver(server.Success()));
    EXPECT_FALSE(run.supplicant.EapMasterKey());
}

TEST(EapExchange, ARepeatedRequestGetsTheSameAnswerAndANewIdentityRequestStartsOver) {
    suptest::TestEapServer server(PeapUser());
    EapRun run(PeapSettings("Wonderland7"));
    run.Deliver(server.IdentityRequest());
    const auto hello = server.ServerHello();
    run.Deliver(hello);
    const auto answer = run.LastSent();
    run.Deliver(hello);
    EXPECT_EQ(run.LastSent(), answer) << "same nonce and proof for the same request";
    EXPECT_TRUE(Exchange(run, server));
}

TEST(EapExchange, OtherMethodsAreDeclinedAndBrokenPacketsIgnored) {
    suptest::TestEapServer server(PeapUser());
    EapRun run(PeapSettings("Wonderland7"));
    run.Deliver(server.Request(25, {0x20}));  // a real PEAP start
    EXPECT_EQ(run.LastSent()[8], 3) << "a Nak";

    const size_t sent = run.log.sent.size();
    auto longer = server.IdentityRequest();
    longer[7] += 1;  // EAP length past the body
    auto noType = server.IdentityRequest();
    noType.resize(8);
    noType[3] = 4;
    noType[7] = 4;
    auto key = std::vector<uint8_t>{1, 3, 0, 0};
    for (const auto& frame : {longer, noType, key, std::vector<uint8_t>{1, 0}}) EXPECT_FALSE(run.Deliver(frame));
    EXPECT_EQ(run.log.sent.size(), sent);
}

TEST(EapConfig, FieldsAreReadUpToTheirEndEvenWithoutATerminatingZero) {
    hx::EapConfigRecord record;
    std::memset(&record, 'A', sizeof record);
    std::memcpy(record.method, "peap", 5);
    std::memcpy(record.innerMethod, "ms-chapv2", 10);
    const auto settings = hxsup::SettingsFromConfig(record);
    EXPECT_EQ(settings.identity, std::string(256, 'A'));
    EXPECT_EQ(settings.password, std::string(255, 'A'));
    EXPECT_EQ(settings.innerIdentity.size(), 256u);
    EXPECT_EQ(settings.method, hxsup::EapMethod::Peap);

    const struct { const char* method; const char* inner; hxsup::EapMethod expected; } cases[] = {
        {"TLS", "", hxsup::EapMethod::Tls}, {"PEAP", "", hxsup::EapMethod::Peap},
        {"PEAP", "GTC", hxsup::EapMethod::Unsupported}, {"TTLS", "", hxsup::EapMethod::Unsupported},
    };
    for (const auto& c : cases) EXPECT_EQ(hxsup::MethodFromName(c.method, c.inner), c.expected) << c.method;
}

}  // namespace
