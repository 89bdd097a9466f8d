#include "sim/core/ApCrypto.h"

#include <gcrypt.h>

#include <cstdlib>
#include <mutex>

namespace hxsim::crypto {
namespace {

void Initialise() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (!gcry_check_version(GCRYPT_VERSION)) std::abort();
        gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    });
}

Bytes Hmac(int algorithm, const Bytes& key, const Bytes& data) {
    Initialise();
    gcry_md_hd_t h = nullptr;
    if (gcry_md_open(&h, algorithm, GCRY_MD_FLAG_HMAC) != 0) std::abort();
    gcry_md_setkey(h, key.data(), key.size());
    gcry_md_write(h, data.data(), data.size());
    const unsigned int length = gcry_md_get_algo_dlen(algorithm);
    const unsigned char* digest = gcry_md_read(h, algorithm);
    Bytes out(digest, digest + length);
    gcry_md_close(h);
    return out;
}

}  // namespace

Bytes HmacMd5(const Bytes& key, const Bytes& data) { return Hmac(GCRY_MD_MD5, key, data); }
Bytes HmacSha1(const Bytes& key, const Bytes& data) { return Hmac(GCRY_MD_SHA1, key, data); }
Bytes HmacSha256(const Bytes& key, const Bytes& data) { return Hmac(GCRY_MD_SHA256, key, data); }

Bytes Sha256(const Bytes& data) {
    Initialise();
    Bytes out(32);
    gcry_md_hash_buffer(GCRY_MD_SHA256, out.data(), data.data(), data.size());
    return out;
}

Bytes PassphraseToPsk(std::string_view passphrase, std::string_view ssid) {
    Initialise();
    Bytes out(32);
    if (gcry_kdf_derive(passphrase.data(), passphrase.size(), GCRY_KDF_PBKDF2, GCRY_MD_SHA1, ssid.data(),
                        ssid.size(), 4096, out.size(), out.data()) != 0)
        std::abort();
    return out;
}

Bytes Prf(const Bytes& key, std::string_view label, const Bytes& data, size_t length) {
    Bytes out;
    Bytes input(label.begin(), label.end());
    input.push_back(0);
    input.insert(input.end(), data.begin(), data.end());
    input.push_back(0);
    for (uint8_t counter = 0; out.size() < length; ++counter) {
        input.back() = counter;
        const Bytes block = HmacSha1(key, input);
        out.insert(out.end(), block.begin(), block.end());
    }
    out.resize(length);
    return out;
}

Bytes Rc4Skip256(const Bytes& iv, const Bytes& kek, const Bytes& data) {
    Initialise();
    Bytes key(iv);
    key.insert(key.end(), kek.begin(), kek.end());
    gcry_cipher_hd_t h = nullptr;
    if (gcry_cipher_open(&h, GCRY_CIPHER_ARCFOUR, GCRY_CIPHER_MODE_STREAM, 0) != 0) std::abort();
    gcry_cipher_setkey(h, key.data(), key.size());
    Bytes discard(256);
    gcry_cipher_encrypt(h, discard.data(), discard.size(), nullptr, 0);
    Bytes out(data.size());
    gcry_cipher_encrypt(h, out.data(), out.size(), data.data(), data.size());
    gcry_cipher_close(h);
    return out;
}

Bytes AesKeyWrap(const Bytes& kek, const Bytes& data) {
    Initialise();
    gcry_cipher_hd_t h = nullptr;
    if (gcry_cipher_open(&h, GCRY_CIPHER_AES128, GCRY_CIPHER_MODE_AESWRAP, 0) != 0) std::abort();
    gcry_cipher_setkey(h, kek.data(), 16);
    Bytes out(data.size() + 8);
    gcry_cipher_encrypt(h, out.data(), out.size(), data.data(), data.size());
    gcry_cipher_close(h);
    return out;
}

Bytes RandomBytes(size_t count) {
    Initialise();
    Bytes out(count);
    gcry_randomize(out.data(), out.size(), GCRY_STRONG_RANDOM);
    return out;
}

Bytes NonceBytes(size_t count) {
    Initialise();
    Bytes out(count);
    gcry_create_nonce(out.data(), out.size());
    return out;
}

}  // namespace hxsim::crypto
