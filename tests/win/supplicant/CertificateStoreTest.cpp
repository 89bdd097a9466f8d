// The certificate exports of dot1x_dll.dll under Windows: certificates of the current
// user's "MY" store come out with their private key when it may be exported, and not at
// all when it may not; certificates the system stores do not hold come from the
// simulated world's scenario.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "auth/Dot1xApi.h"

namespace {

std::string ReadFile(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A self-signed certificate in the current user's "MY" store, with an RSA key of its own
// in a key container; both removed again at the end. It is signed and encoded by hand
// rather than with CertCreateSelfSignCertificate, whose key handling differs under Wine.
class SelfSignedCertificate {
public:
    SelfSignedCertificate(const std::string& commonName, bool exportable) : container_("hx-test-" + commonName) {
        HCRYPTPROV provider = 0;
        ::CryptAcquireContextA(&provider, container_.c_str(), MS_ENHANCED_PROV_A, PROV_RSA_FULL, CRYPT_DELETEKEYSET);
        if (!::CryptAcquireContextA(&provider, container_.c_str(), MS_ENHANCED_PROV_A, PROV_RSA_FULL,
                                    CRYPT_NEWKEYSET))
            return;
        const std::vector<BYTE> der = MakeCertificate(provider, "CN=" + commonName, exportable);
        // Wine's key store keeps a new key only once its container is released.
        ::CryptReleaseContext(provider, 0);
        if (der.empty()) return;
        const CERT_CONTEXT* certificate =
            ::CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()));
        if (!certificate) return;
        std::wstring wideContainer(container_.begin(), container_.end());
        CRYPT_KEY_PROV_INFO keyInfo{};
        keyInfo.pwszContainerName = wideContainer.data();
        keyInfo.pwszProvName = const_cast<wchar_t*>(MS_ENHANCED_PROV_W);
        keyInfo.dwProvType = PROV_RSA_FULL;
        keyInfo.dwKeySpec = AT_KEYEXCHANGE;
        BYTE hash[20];
        DWORD hashSize = sizeof hash;
        if (::CertSetCertificateContextProperty(certificate, CERT_KEY_PROV_INFO_PROP_ID, 0, &keyInfo) &&
            ::CertGetCertificateContextProperty(certificate, CERT_SHA1_HASH_PROP_ID, hash, &hashSize)) {
            static const char digits[] = "0123456789ABCDEF";
            for (DWORD i = 0; i < hashSize; ++i) (thumbprint_ += digits[hash[i] >> 4]) += digits[hash[i] & 15];
            HCERTSTORE store = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "MY");
            if (store) {
                added_ = ::CertAddCertificateContextToStore(store, certificate, CERT_STORE_ADD_REPLACE_EXISTING,
                                                            nullptr) != FALSE;
                ::CertCloseStore(store, 0);
            }
        }
        ::CertFreeCertificateContext(certificate);
    }
    ~SelfSignedCertificate() {
        // Wine does not carry a deletion from a system store into the registry: remove the
        // certificate's key there, where the store keeps it.
        if (!thumbprint_.empty())
            ::RegDeleteKeyA(HKEY_CURRENT_USER, ("Software\\Microsoft\\SystemCertificates\\MY\\Certificates\\" +
                                                thumbprint_).c_str());
        HCRYPTPROV gone = 0;
        ::CryptAcquireContextA(&gone, container_.c_str(), MS_ENHANCED_PROV_A, PROV_RSA_FULL, CRYPT_DELETEKEYSET);
    }
    bool InStore() const { return added_; }

private:
    static std::vector<BYTE> MakeCertificate(HCRYPTPROV provider, const std::string& x500, bool exportable) {
        HCRYPTKEY key = 0;
        if (!::CryptGenKey(provider, AT_KEYEXCHANGE, (1024u << 16) | (exportable ? CRYPT_EXPORTABLE : 0u), &key))
            return {};
        ::CryptDestroyKey(key);
        DWORD size = 0;
        ::CryptExportPublicKeyInfo(provider, AT_KEYEXCHANGE, X509_ASN_ENCODING, nullptr, &size);
        std::vector<BYTE> publicKey(size);
        auto* publicKeyInfo = reinterpret_cast<CERT_PUBLIC_KEY_INFO*>(publicKey.data());
        if (!::CryptExportPublicKeyInfo(provider, AT_KEYEXCHANGE, X509_ASN_ENCODING, publicKeyInfo, &size)) return {};
        BYTE name[256];
        DWORD nameSize = sizeof name;
        if (!::CertStrToNameA(X509_ASN_ENCODING, x500.c_str(), CERT_X500_NAME_STR, nullptr, name, &nameSize, nullptr))
            return {};
        CERT_INFO info{};
        BYTE serial = 1;
        info.dwVersion = CERT_V3;
        info.SerialNumber = {1, &serial};
        info.SignatureAlgorithm.pszObjId = const_cast<char*>(szOID_RSA_SHA1RSA);
        info.Issuer = info.Subject = {nameSize, name};
        SYSTEMTIME now;
        ::GetSystemTime(&now);
        ::SystemTimeToFileTime(&now, &info.NotBefore);
        now.wYear += 1;
        ::SystemTimeToFileTime(&now, &info.NotAfter);
        info.SubjectPublicKeyInfo = *publicKeyInfo;
        DWORD length = 0;
        ::CryptSignAndEncodeCertificate(provider, AT_KEYEXCHANGE, X509_ASN_ENCODING, X509_CERT_TO_BE_SIGNED, &info,
                                        &info.SignatureAlgorithm, nullptr, nullptr, &length);
        std::vector<BYTE> der(length);
        if (!::CryptSignAndEncodeCertificate(provider, AT_KEYEXCHANGE, X509_ASN_ENCODING, X509_CERT_TO_BE_SIGNED,
                                             &info, &info.SignatureAlgorithm, nullptr, der.data(), &length))
            return {};
        der.resize(length);
        return der;
    }

    std::string container_;
    std::string thumbprint_;
    bool added_ = false;
};

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
    SelfSignedCertificate certificate("HX Wine Exportable", true);
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
    SelfSignedCertificate certificate("HX Wine Locked", false);
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
