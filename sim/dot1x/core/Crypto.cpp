#include "sim/dot1x/core/Crypto.h"

#include <gcrypt.h>

#include <algorithm>
#include <array>
#include <mutex>

namespace hxsup {
namespace {

// Closes a libgcrypt cipher handle on every path.
class CipherHandle {
public:
    CipherHandle(int algorithm, int mode) {
        if (gcry_cipher_open(&handle_, algorithm, mode, 0) != 0) handle_ = nullptr;
    }
    ~CipherHandle() {
        if (handle_) gcry_cipher_close(handle_);
    }
    CipherHandle(const CipherHandle&) = delete;
    CipherHandle& operator=(const CipherHandle&) = delete;
    gcry_cipher_hd_t get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    gcry_cipher_hd_t handle_ = nullptr;
};

bool Hmac(int algorithm, std::span<const uint8_t> key,
          std::initializer_list<std::span<const uint8_t>> parts, uint8_t* out) {
    if (!EnsureCryptoReady()) return false;
    // gcry_md_hash_buffers with the HMAC flag takes the key as the first buffer.
    constexpr size_t kMaxParts = 8;
    if (parts.size() + 1 > kMaxParts) return false;
    std::array<gcry_buffer_t, kMaxParts> buffers{};
    buffers[0].data = const_cast<uint8_t*>(key.data());
    buffers[0].len = key.size();
    size_t n = 1;
    for (const auto& part : parts) {
        buffers[n].data = const_cast<uint8_t*>(part.data());
        buffers[n].len = part.size();
        ++n;
    }
    return gcry_md_hash_buffers(algorithm, GCRY_MD_FLAG_HMAC, out, buffers.data(),
                                static_cast<int>(n)) == 0;
}

}  // namespace

bool EnsureCryptoReady() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] {
        // Another part of the process may have initialised the library already.
        if (!gcry_control(GCRYCTL_INITIALIZATION_FINISHED_P)) {
            if (!gcry_check_version(GCRYPT_VERSION)) return;
            gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
            gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        }
        ready = true;
    });
    return ready;
}

bool Pbkdf2Sha1(std::span<const uint8_t> passphrase, std::span<const uint8_t> salt,
                unsigned long iterations, std::span<uint8_t> out) {
    if (!EnsureCryptoReady() || salt.empty() || iterations == 0 || out.empty()) return false;
    return gcry_kdf_derive(passphrase.data(), passphrase.size(), GCRY_KDF_PBKDF2, GCRY_MD_SHA1,
                           salt.data(), salt.size(), iterations, out.size(), out.data()) == 0;
}

bool HmacSha1(std::span<const uint8_t> key, std::initializer_list<std::span<const uint8_t>> parts,
              uint8_t out[20]) {
    return Hmac(GCRY_MD_SHA1, key, parts, out);
}

bool HmacMd5(std::span<const uint8_t> key, std::initializer_list<std::span<const uint8_t>> parts,
             uint8_t out[16]) {
    return Hmac(GCRY_MD_MD5, key, parts, out);
}

bool HmacSha256(std::span<const uint8_t> key, std::initializer_list<std::span<const uint8_t>> parts,
                uint8_t out[32]) {
    return Hmac(GCRY_MD_SHA256, key, parts, out);
}

bool Sha256(std::span<const uint8_t> data, uint8_t out[32]) {
    if (!EnsureCryptoReady()) return false;
    gcry_md_hash_buffer(GCRY_MD_SHA256, out, data.data(), data.size());
    return true;
}

bool Prf80211(std::span<const uint8_t> key, std::string_view label, std::span<const uint8_t> data,
              std::span<uint8_t> out) {
    const uint8_t zero = 0;
    size_t done = 0;
    for (uint8_t counter = 0; done < out.size(); ++counter) {
        uint8_t block[20];
        const std::span<const uint8_t> labelBytes(reinterpret_cast<const uint8_t*>(label.data()),
                                                  label.size());
        if (!HmacSha1(key, {labelBytes, {&zero, 1}, data, {&counter, 1}}, block)) return false;
        const size_t take = std::min(sizeof block, out.size() - done);
        std::copy_n(block, take, out.begin() + static_cast<std::ptrdiff_t>(done));
        done += take;
        if (counter == 255 && done < out.size()) return false;
    }
    return true;
}

bool EapolKeyMic(int descriptorVersion, std::span<const uint8_t> kck, std::span<const uint8_t> frame,
                 uint8_t mic[16]) {
    if (descriptorVersion == 1) return HmacMd5(kck, {frame}, mic);
    if (descriptorVersion == 2) {
        uint8_t full[20];
        if (!HmacSha1(kck, {frame}, full)) return false;
        std::copy_n(full, 16, mic);
        return true;
    }
    return false;
}

bool Rc4Skip256(std::span<const uint8_t> key, std::span<const uint8_t> in, std::span<uint8_t> out) {
    if (!EnsureCryptoReady() || out.size() < in.size() || key.empty()) return false;
    CipherHandle rc4(GCRY_CIPHER_ARCFOUR, GCRY_CIPHER_MODE_STREAM);
    if (!rc4 || gcry_cipher_setkey(rc4.get(), key.data(), key.size()) != 0) return false;
    uint8_t discard[256] = {};
    if (gcry_cipher_encrypt(rc4.get(), discard, sizeof discard, nullptr, 0) != 0) return false;
    if (in.empty()) return true;
    return gcry_cipher_encrypt(rc4.get(), out.data(), in.size(), in.data(), in.size()) == 0;
}

bool AesKeyUnwrap(std::span<const uint8_t> kek, std::span<const uint8_t> in, std::vector<uint8_t>& out) {
    out.clear();
    if (!EnsureCryptoReady() || kek.size() != 16 || in.size() < 24 || in.size() % 8 != 0) return false;
    CipherHandle wrap(GCRY_CIPHER_AES128, GCRY_CIPHER_MODE_AESWRAP);
    if (!wrap || gcry_cipher_setkey(wrap.get(), kek.data(), kek.size()) != 0) return false;
    std::vector<uint8_t> plain(in.size() - 8);
    if (gcry_cipher_decrypt(wrap.get(), plain.data(), plain.size(), in.data(), in.size()) != 0)
        return false;
    out = std::move(plain);
    return true;
}

bool AesKeyWrap(std::span<const uint8_t> kek, std::span<const uint8_t> in, std::vector<uint8_t>& out) {
    out.clear();
    if (!EnsureCryptoReady() || kek.size() != 16 || in.size() < 16 || in.size() % 8 != 0) return false;
    CipherHandle wrap(GCRY_CIPHER_AES128, GCRY_CIPHER_MODE_AESWRAP);
    if (!wrap || gcry_cipher_setkey(wrap.get(), kek.data(), kek.size()) != 0) return false;
    std::vector<uint8_t> wrapped(in.size() + 8);
    if (gcry_cipher_encrypt(wrap.get(), wrapped.data(), wrapped.size(), in.data(), in.size()) != 0)
        return false;
    out = std::move(wrapped);
    return true;
}

bool RandomNonce(std::span<uint8_t> out) {
    if (!EnsureCryptoReady()) return false;
    gcry_create_nonce(out.data(), out.size());
    return true;
}

bool RandomBytes(std::span<uint8_t> out) {
    if (!EnsureCryptoReady()) return false;
    gcry_randomize(out.data(), out.size(), GCRY_STRONG_RANDOM);
    return true;
}

bool EqualInConstantTime(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    if (a.size() != b.size()) return false;
    uint8_t difference = 0;
    for (size_t i = 0; i < a.size(); ++i) difference |= static_cast<uint8_t>(a[i] ^ b[i]);
    return difference == 0;
}

}  // namespace hxsup
