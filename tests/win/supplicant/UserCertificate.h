// Certificates of the current user's own store for the supplicant's Windows tests.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <string>
#include <vector>

namespace suptest {

// A certificate in the current user's "MY" store, with an RSA key of its own in a key
// container; both removed again at the end. Self-signed unless another issuer is named (it
// is then signed with its own key all the same: nothing here checks the signature). It is
// signed and encoded by hand rather than with CertCreateSelfSignCertificate, whose key
// handling differs under Wine.
class UserCertificate {
public:
    UserCertificate(const std::string& commonName, bool exportable, const std::string& issuerName = "")
        : container_("hx-test-" + commonName) {
        HCRYPTPROV provider = 0;
        ::CryptAcquireContextA(&provider, container_.c_str(), MS_ENHANCED_PROV_A, PROV_RSA_FULL, CRYPT_DELETEKEYSET);
        if (!::CryptAcquireContextA(&provider, container_.c_str(), MS_ENHANCED_PROV_A, PROV_RSA_FULL,
                                    CRYPT_NEWKEYSET))
            return;
        const std::vector<BYTE> der = MakeCertificate(provider, "CN=" + commonName,
                                                      "CN=" + (issuerName.empty() ? commonName : issuerName), exportable);
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
    ~UserCertificate() {
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
    static bool EncodeName(const std::string& x500, std::vector<BYTE>& name) {
        name.resize(256);
        DWORD size = static_cast<DWORD>(name.size());
        if (!::CertStrToNameA(X509_ASN_ENCODING, x500.c_str(), CERT_X500_NAME_STR, nullptr, name.data(), &size, nullptr))
            return false;
        name.resize(size);
        return true;
    }
    static std::vector<BYTE> MakeCertificate(HCRYPTPROV provider, const std::string& subject, const std::string& issuer,
                                             bool exportable) {
        HCRYPTKEY key = 0;
        if (!::CryptGenKey(provider, AT_KEYEXCHANGE, (1024u << 16) | (exportable ? CRYPT_EXPORTABLE : 0u), &key))
            return {};
        ::CryptDestroyKey(key);
        DWORD size = 0;
        ::CryptExportPublicKeyInfo(provider, AT_KEYEXCHANGE, X509_ASN_ENCODING, nullptr, &size);
        std::vector<BYTE> publicKey(size);
        auto* publicKeyInfo = reinterpret_cast<CERT_PUBLIC_KEY_INFO*>(publicKey.data());
        if (!::CryptExportPublicKeyInfo(provider, AT_KEYEXCHANGE, X509_ASN_ENCODING, publicKeyInfo, &size)) return {};
        std::vector<BYTE> subjectName, issuerName;
        if (!EncodeName(subject, subjectName) || !EncodeName(issuer, issuerName)) return {};
        CERT_INFO info{};
        BYTE serial = 1;
        info.dwVersion = CERT_V3;
        info.SerialNumber = {1, &serial};
        info.SignatureAlgorithm.pszObjId = const_cast<char*>(szOID_RSA_SHA1RSA);
        info.Subject = {static_cast<DWORD>(subjectName.size()), subjectName.data()};
        info.Issuer = {static_cast<DWORD>(issuerName.size()), issuerName.data()};
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

}  // namespace suptest
