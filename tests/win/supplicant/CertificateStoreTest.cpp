// The certificate exports of dot1x_dll.dll under Windows: certificates of the current
// user's "MY" store come out with their private key when it may be exported, and not at
// all when it may not; certificates of the simulated world's scenario come from there.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "UserCertificate.h"
#include "auth/Dot1xApi.h"

namespace {

using suptest::UserCertificate;

std::string ReadFile(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class CertificateFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char previous[MAX_PATH];
        ::GetCurrentDirectoryA(MAX_PATH, previous);
        previous_ = previous;
        std::random_device random;
        folder_ = std::filesystem::temp_directory_path() / ("hx-certs-" + std::to_string(random()));
        std::filesystem::create_directories(folder_);
        ::SetCurrentDirectoryA(folder_.string().c_str());
    }
    void TearDown() override {
        ::SetCurrentDirectoryA(previous_.c_str());
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string previous_;
    std::filesystem::path folder_;
};

TEST_F(CertificateFiles, AUserCertificateWithAnExportableKeyIsWrittenWithItsDer) {
    UserCertificate certificate("HX Wine Exportable", true);
    ASSERT_TRUE(certificate.InStore()) << "crypt32 could not make the certificate: " << ::GetLastError();
    ASSERT_EQ(genMyCertFile("CN=HX Wine Exportable", "CN=HX Wine Exportable"), 0);
    const std::string pem = ReadFile("ReZID.pem");
    EXPECT_NE(pem.find("subject=CN=HX Wine Exportable"), std::string::npos) << pem;
    EXPECT_NE(pem.find("-----BEGIN CERTIFICATE-----\nMII"), std::string::npos) << "the DER in base64\n" << pem;
    EXPECT_NE(ReadFile("ReZID_key.pem").find("ENCRYPTED"), std::string::npos);
    EXPECT_EQ(genMySSLFile(), 0);
    // The common name alone finds it too.
    std::filesystem::remove("ReZID.pem");
    EXPECT_EQ(genMyCertFile("HX Wine Exportable", "HX Wine Exportable"), 0);
    EXPECT_TRUE(std::filesystem::exists("ReZID.pem"));
}

TEST_F(CertificateFiles, AUserCertificateWhoseKeyMayNotBeExportedIsRefused) {
    UserCertificate certificate("HX Wine Locked", false);
    ASSERT_TRUE(certificate.InStore()) << "crypt32 could not make the certificate: " << ::GetLastError();
    EXPECT_NE(genMyCertFile("CN=HX Wine Locked", "CN=HX Wine Locked"), 0);
    EXPECT_FALSE(std::filesystem::exists("ReZID.pem"));
    EXPECT_FALSE(std::filesystem::exists("ReZID_key.pem"));
    EXPECT_NE(genMySSLFile(), 0);
}

TEST_F(CertificateFiles, CertificatesTheSystemStoresLackComeFromTheScenario) {
    EXPECT_EQ(genMyCertFile("CN=HX Test User", "CN=HX Test Root CA"), 0);
    EXPECT_NE(ReadFile("ReZID.pem").find("subject=CN=HX Test User"), std::string::npos);
    EXPECT_NE(genMyCertFile("CN=HX Locked User", "CN=HX Test Root CA"), 0);
    EXPECT_EQ(genROOTCertFile("CN=HX Test Root CA", "CN=HX Test Root CA"), 0);
    EXPECT_EQ(genROOTSSLFile(), 0);
    EXPECT_EQ(std::filesystem::file_size(".rand"), 1024u);
    EXPECT_NE(genROOTCertFile("CN=Nobody", "CN=Nobody"), 0);
}

}  // namespace
