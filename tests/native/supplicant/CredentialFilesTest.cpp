// The files the certificate export writes and the EAP exchange reads back: certificate
// names, the private key under its pass phrase, and the export's answers.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "TempFolder.h"
#include "sim/dot1x/core/Base64.h"
#include "sim/dot1x/core/CertificateExport.h"
#include "sim/dot1x/core/CredentialFiles.h"

namespace {

using hxsup::CertificateNames;
using hxsup::CertificateStore;

std::vector<uint8_t> BytesOf(std::string_view s) { return {s.begin(), s.end()}; }

TEST(Base64, EncodesAndDecodesTheRfc4648Examples) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"f", "Zg==\n"}, {"fo", "Zm8=\n"}, {"foo", "Zm9v\n"}, {"foob", "Zm9vYg==\n"},
        {"fooba", "Zm9vYmE=\n"}, {"foobar", "Zm9vYmFy\n"},
    };
    for (const auto& [plain, encoded] : cases) {
        EXPECT_EQ(hxsup::Base64Encode(BytesOf(plain)), encoded) << plain;
        EXPECT_EQ(hxsup::Base64Decode(encoded), BytesOf(plain)) << plain;
    }
}

TEST(Base64, RefusesStrayCharactersAndBadPadding) {
    for (const char* bad : {"Zm9", "Zm9v!A==", "Zg==Zg==", "Z===", "Zm=v"})
        EXPECT_FALSE(hxsup::Base64Decode(bad)) << bad;
    std::vector<uint8_t> long_(100, 0xAB);
    const auto text = hxsup::Base64Encode(long_);
    EXPECT_EQ(text.find('\n'), 64u);
    EXPECT_EQ(hxsup::Base64Decode(text), long_);
}

TEST(CredentialFiles, CertificateNamesComeBackAsWritten) {
    suptest::TempFolder folder;
    const CertificateNames names{"CN=HX Test User, O=Halvorn", "CN=HX Test CA"};
    for (const auto& der : {std::vector<uint8_t>{}, std::vector<uint8_t>(700, 0x30)}) {
        ASSERT_TRUE(hxsup::WriteCertificateFile(folder.path() / "c.pem", names, der));
        const auto back = hxsup::ReadCertificateFile(folder.path() / "c.pem");
        ASSERT_TRUE(back);
        EXPECT_EQ(back->subject, names.subject);
        EXPECT_EQ(back->issuer, names.issuer);
    }
    EXPECT_FALSE(hxsup::WriteCertificateFile(folder.path() / "d.pem", {"CN=a\nissuer=CN=forged", "CN=b"}, {}));
    EXPECT_FALSE(hxsup::WriteCertificateFile(folder.path() / "d.pem", {std::string(256, 'x'), "CN=b"}, {}));
    EXPECT_FALSE(hxsup::ReadCertificateFile(folder.path() / "missing.pem"));
}

TEST(CredentialFiles, PrivateKeyOpensOnlyWithItsPassphrase) {
    suptest::TempFolder folder;
    const auto file = folder.path() / "k.pem";
    for (const size_t size : {size_t{32}, size_t{1}, size_t{596}}) {
        std::vector<uint8_t> key(size);
        for (size_t i = 0; i < size; ++i) key[i] = static_cast<uint8_t>(i * 13 + 1);
        ASSERT_TRUE(hxsup::WritePrivateKeyFile(file, key, "QoRTV"));
        EXPECT_EQ(hxsup::ReadPrivateKeyFile(file, "QoRTV"), key) << size;
        EXPECT_FALSE(hxsup::ReadPrivateKeyFile(file, "qortv")) << size;
        EXPECT_FALSE(hxsup::ReadPrivateKeyFile(file, "")) << size;
    }
    std::string text;
    {
        std::ifstream in(file);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(text.find("\x01\x0E\x1B"), std::string::npos) << "the key is not in the file in the clear";
    // Damage: a changed byte of the wrapped key, a cut file, a salt of the wrong size.
    const auto body = text.find("\n\n") + 2;
    std::string changed = text;
    changed[body + 5] = changed[body + 5] == 'A' ? 'B' : 'A';
    const std::string cut = text.substr(0, text.size() - 30);
    std::string salt = text;
    salt.insert(salt.find("KW,") + 3, "00");
    for (const auto& damaged : {changed, cut, salt}) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << damaged;
        EXPECT_FALSE(hxsup::ReadPrivateKeyFile(file, "QoRTV"));
    }
}

// A certificate store held in memory.
class FakeStore final : public hxsup::CertificateSource {
public:
    std::optional<hxsup::StoredCertificate> Find(CertificateStore store, const std::string& subject,
                                                 const std::string& issuer) override {
        ++lookups;
        const auto it = certificates.find({store, subject + "|" + issuer});
        if (it == certificates.end()) return std::nullopt;
        return it->second;
    }
    std::map<std::pair<CertificateStore, std::string>, hxsup::StoredCertificate> certificates;
    int lookups = 0;
};

hxsup::StoredCertificate Certificate(const char* subject, const char* issuer, bool hasKey, bool exportable) {
    hxsup::StoredCertificate c;
    c.names = {subject, issuer};
    c.hasPrivateKey = hasKey;
    c.exportable = exportable;
    if (hasKey && exportable) c.privateKey.assign(32, 0x6B);
    return c;
}

TEST(CertificateExport, ClientCertificateIsWrittenOnlyWithAnExportableKey) {
    FakeStore store;
    store.certificates[{CertificateStore::My, "CN=Ok|CN=CA"}] = Certificate("CN=Ok", "CN=CA", true, true);
    store.certificates[{CertificateStore::My, "CN=Locked|CN=CA"}] = Certificate("CN=Locked", "CN=CA", true, false);
    store.certificates[{CertificateStore::My, "CN=NoKey|CN=CA"}] = Certificate("CN=NoKey", "CN=CA", false, false);
    store.certificates[{CertificateStore::Root, "CN=Root|CN=Root"}] = Certificate("CN=Root", "CN=Root", false, false);
    const struct { const char* subject; int result; } cases[] = {
        {"CN=Locked", 1}, {"CN=NoKey", 1}, {"CN=Missing", 1}, {"CN=Root", 1}, {"CN=Ok", 0},
    };
    for (const auto& c : cases) {
        suptest::TempFolder folder;
        const char* issuer = std::string(c.subject) == "CN=Root" ? "CN=Root" : "CN=CA";
        EXPECT_EQ(hxsup::ExportClientCertificate(store, c.subject, issuer, folder.path()), c.result) << c.subject;
        EXPECT_EQ(std::filesystem::exists(folder.path() / "ReZID.pem"), c.result == 0) << c.subject;
        EXPECT_EQ(std::filesystem::exists(folder.path() / "ReZID_key.pem"), c.result == 0) << c.subject;
        EXPECT_EQ(hxsup::PrepareClientTlsFiles(folder.path()), c.result == 0 ? 0 : -1) << c.subject;
        EXPECT_EQ(std::filesystem::exists(folder.path() / ".rand"), c.result == 0) << c.subject;
        if (c.result == 0) {
            EXPECT_EQ(hxsup::ReadPrivateKeyFile(folder.path() / "ReZID_key.pem", "QoRTV"), std::vector<uint8_t>(32, 0x6B));
            EXPECT_EQ(hxsup::ReadCertificateFile(folder.path() / "ReZID.pem")->subject, "CN=Ok");
        }
    }
    suptest::TempFolder folder;
    EXPECT_EQ(hxsup::ExportClientCertificate(store, nullptr, "CN=CA", folder.path()), -1);
}

TEST(CertificateExport, RootCertificateComesFromTheRootStore) {
    FakeStore store;
    store.certificates[{CertificateStore::Root, "CN=Root|CN=Root"}] = Certificate("CN=Root", "CN=Root", false, false);
    suptest::TempFolder folder;
    EXPECT_EQ(hxsup::PrepareRootTlsFiles(folder.path()), -1) << "no root certificate file yet";
    EXPECT_EQ(hxsup::ExportRootCertificate(store, "CN=Other", "CN=Root", folder.path()), 1);
    EXPECT_EQ(hxsup::ExportRootCertificate(store, "CN=Root", nullptr, folder.path()), -1);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "caroot.pem"));
    EXPECT_EQ(hxsup::ExportRootCertificate(store, "CN=Root", "CN=Root", folder.path()), 0);
    EXPECT_EQ(hxsup::ReadCertificateFile(folder.path() / "caroot.pem")->subject, "CN=Root");
    EXPECT_EQ(hxsup::PrepareRootTlsFiles(folder.path()), 0);
    EXPECT_EQ(std::filesystem::file_size(folder.path() / ".rand"), 1024u);
}

TEST(CertificateExport, ChainAsksEachSourceUntilOneHasIt) {
    auto first = std::make_unique<FakeStore>();
    auto second = std::make_unique<FakeStore>();
    first->certificates[{CertificateStore::My, "CN=A|CN=CA"}] = Certificate("CN=A", "CN=CA", true, false);
    second->certificates[{CertificateStore::My, "CN=A|CN=CA"}] = Certificate("CN=A", "CN=CA", true, true);
    second->certificates[{CertificateStore::My, "CN=B|CN=CA"}] = Certificate("CN=B", "CN=CA", true, true);
    FakeStore* firstView = first.get();
    std::vector<std::unique_ptr<hxsup::CertificateSource>> sources;
    sources.push_back(std::move(first));
    sources.push_back(std::move(second));
    hxsup::ChainedCertificateSource chain(std::move(sources));
    EXPECT_FALSE(chain.Find(CertificateStore::My, "CN=A", "CN=CA")->exportable) << "the first source answers";
    EXPECT_TRUE(chain.Find(CertificateStore::My, "CN=B", "CN=CA")->exportable);
    EXPECT_FALSE(chain.Find(CertificateStore::Root, "CN=B", "CN=CA"));
    EXPECT_EQ(firstView->lookups, 3);
}

}  // namespace
