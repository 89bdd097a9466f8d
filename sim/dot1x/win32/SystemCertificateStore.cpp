#include "sim/dot1x/win32/SystemCertificateStore.h"

#include <windows.h>
#include <wincrypt.h>

#include <string>
#include <vector>

namespace hxsup {
namespace {

struct StoreCloser {
    void operator()(void* store) const { ::CertCloseStore(static_cast<HCERTSTORE>(store), 0); }
};
using StoreHandle = std::unique_ptr<void, StoreCloser>;

struct CertificateFreer {
    void operator()(const CERT_CONTEXT* context) const { ::CertFreeCertificateContext(context); }
};
using CertificateHandle = std::unique_ptr<const CERT_CONTEXT, CertificateFreer>;

// The provider handle CryptAcquireCertificatePrivateKey hands out, released when it says so.
class PrivateKeyProvider {
public:
    explicit PrivateKeyProvider(const CERT_CONTEXT* certificate) {
        BOOL callerFrees = FALSE;
        acquired_ = ::CryptAcquireCertificatePrivateKey(certificate, CRYPT_ACQUIRE_SILENT_FLAG, nullptr, &handle_,
                                                        &keySpec_, &callerFrees) != FALSE;
        callerFrees_ = acquired_ && callerFrees;
    }
    ~PrivateKeyProvider() {
        if (callerFrees_ && keySpec_ != CERT_NCRYPT_KEY_SPEC) ::CryptReleaseContext(handle_, 0);
    }
    PrivateKeyProvider(const PrivateKeyProvider&) = delete;
    PrivateKeyProvider& operator=(const PrivateKeyProvider&) = delete;

    bool Acquired() const { return acquired_; }
    // The key as a PRIVATEKEYBLOB; empty when the key may not be exported.
    std::vector<uint8_t> Export() const {
        if (!acquired_ || keySpec_ == CERT_NCRYPT_KEY_SPEC) return {};
        HCRYPTKEY key = 0;
        if (!::CryptGetUserKey(handle_, keySpec_, &key)) return {};
        std::vector<uint8_t> blob;
        DWORD size = 0;
        if (::CryptExportKey(key, 0, PRIVATEKEYBLOB, 0, nullptr, &size) && size > 0) {
            blob.resize(size);
            if (!::CryptExportKey(key, 0, PRIVATEKEYBLOB, 0, blob.data(), &size)) blob.clear();
            else blob.resize(size);
        }
        ::CryptDestroyKey(key);
        return blob;
    }

private:
    HCRYPTPROV_OR_NCRYPT_KEY_HANDLE handle_ = 0;
    DWORD keySpec_ = 0;
    bool acquired_ = false;
    bool callerFrees_ = false;
};

std::string NameText(const CERT_NAME_BLOB& name, DWORD form) {
    CERT_NAME_BLOB copy = name;
    const DWORD size = ::CertNameToStrA(X509_ASN_ENCODING, &copy, form, nullptr, 0);
    if (size <= 1) return {};
    std::string text(size, '\0');
    ::CertNameToStrA(X509_ASN_ENCODING, &copy, form, text.data(), size);
    text.resize(size - 1);
    return text;
}

std::string CommonName(const CERT_CONTEXT* certificate, DWORD flags) {
    char text[256] = {};
    ::CertGetNameStringA(certificate, CERT_NAME_ATTR_TYPE, flags, const_cast<char*>(szOID_COMMON_NAME), text,
                         sizeof text);
    return text;
}

bool Matches(const std::string& wanted, const std::string& x500, const std::string& commonName) {
    return !wanted.empty() && (wanted == x500 || wanted == commonName);
}

class SystemCertificateStore final : public CertificateSource {
public:
    std::optional<StoredCertificate> Find(CertificateStore store, const std::string& subject,
                                          const std::string& issuer) override {
        const char* storeName = store == CertificateStore::My ? "MY" : "ROOT";
        StoreHandle handle(::CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0,
                                           CERT_SYSTEM_STORE_CURRENT_USER | CERT_STORE_OPEN_EXISTING_FLAG |
                                               CERT_STORE_READONLY_FLAG,
                                           storeName));
        if (!handle) return std::nullopt;
        const CERT_CONTEXT* context = nullptr;
        while ((context = ::CertEnumCertificatesInStore(handle.get(), context)) != nullptr) {
            const std::string subjectText = NameText(context->pCertInfo->Subject, CERT_X500_NAME_STR);
            const std::string issuerText = NameText(context->pCertInfo->Issuer, CERT_X500_NAME_STR);
            if (!Matches(subject, subjectText, CommonName(context, 0)) ||
                !Matches(issuer, issuerText, CommonName(context, CERT_NAME_ISSUER_FLAG)))
                continue;
            // Enumeration frees the context it is handed; keep a duplicate of the match.
            CertificateHandle found(::CertDuplicateCertificateContext(context));
            ::CertFreeCertificateContext(context);
            return Describe(found.get(), store == CertificateStore::My, subjectText, issuerText);
        }
        return std::nullopt;
    }

private:
    static StoredCertificate Describe(const CERT_CONTEXT* certificate, bool withKey, const std::string& subject,
                                      const std::string& issuer) {
        StoredCertificate found;
        found.names = {subject, issuer};
        found.der.assign(certificate->pbCertEncoded, certificate->pbCertEncoded + certificate->cbCertEncoded);
        if (withKey) {
            PrivateKeyProvider provider(certificate);
            found.hasPrivateKey = provider.Acquired();
            found.privateKey = provider.Export();
            found.exportable = !found.privateKey.empty();
        }
        return found;
    }
};

}  // namespace

std::unique_ptr<CertificateSource> MakeSystemCertificateStore() {
    return std::make_unique<SystemCertificateStore>();
}

}  // namespace hxsup
