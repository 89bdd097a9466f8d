// The cryptographic primitives of the supplicant, all taken from libgcrypt: the pass
// phrase mapping, the 802.11 pseudo-random function, the two EAPOL-Key MICs and the two
// group key unwraps. Every function reports failure by its result and never throws.
// Kept apart from the access point's wrappers (sim/core/ApCrypto.h) on purpose, so that a
// mistake in one side's use of libgcrypt shows in the handshake tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace hxsup {

// Initialises libgcrypt once per process (safe to call from any thread, any number of
// times). False when the library could not be initialised.
bool EnsureCryptoReady();

// PBKDF2 with HMAC-SHA1: the IEEE 802.11i pass phrase to pre-shared key mapping when
// salt is the SSID, iterations 4096 and out 32 bytes. False on failure (empty salt,
// zero iterations, empty output).
bool Pbkdf2Sha1(std::span<const uint8_t> passphrase, std::span<const uint8_t> salt,
                unsigned long iterations, std::span<uint8_t> out);

// HMAC over the concatenation of parts. out must hold the digest (20 / 16 bytes).
bool HmacSha1(std::span<const uint8_t> key, std::initializer_list<std::span<const uint8_t>> parts,
              uint8_t out[20]);
bool HmacMd5(std::span<const uint8_t> key, std::initializer_list<std::span<const uint8_t>> parts,
             uint8_t out[16]);

bool HmacSha256(std::span<const uint8_t> key, std::initializer_list<std::span<const uint8_t>> parts,
                uint8_t out[32]);
bool Sha256(std::span<const uint8_t> data, uint8_t out[32]);

// The 802.11 PRF: HMAC-SHA1(key, label || 0 || data || i) for i = 0, 1, ... until
// out is filled. PRF-384 and PRF-512 are out sizes of 48 and 64 bytes.
bool Prf80211(std::span<const uint8_t> key, std::string_view label, std::span<const uint8_t> data,
              std::span<uint8_t> out);

// The 16-byte EAPOL-Key MIC: HMAC-MD5 for descriptor version 1, HMAC-SHA1 cut to 16
// bytes for version 2. False for any other version.
bool EapolKeyMic(int descriptorVersion, std::span<const uint8_t> kck, std::span<const uint8_t> frame,
                 uint8_t mic[16]);

// RC4 with the first 256 bytes of key stream thrown away (the version 1 key wrap; the
// key is the EAPOL-Key IV followed by the KEK). Encrypts and decrypts alike.
bool Rc4Skip256(std::span<const uint8_t> key, std::span<const uint8_t> in, std::span<uint8_t> out);

// AES key unwrap with a 128-bit KEK. in is a multiple of 8 bytes, at least 24; out gets
// in.size() - 8 bytes. False when the integrity check fails or the sizes are wrong.
bool AesKeyUnwrap(std::span<const uint8_t> kek, std::span<const uint8_t> in, std::vector<uint8_t>& out);
// The inverse, for peers in tests and tools: out gets in.size() + 8 bytes.
bool AesKeyWrap(std::span<const uint8_t> kek, std::span<const uint8_t> in, std::vector<uint8_t>& out);

// Unpredictable bytes for nonces. False when libgcrypt is not usable.
bool RandomNonce(std::span<uint8_t> out);
// Strong random bytes for seeds and salts. False when libgcrypt is not usable.
bool RandomBytes(std::span<uint8_t> out);

// Compares without an early exit.
bool EqualInConstantTime(std::span<const uint8_t> a, std::span<const uint8_t> b);

}  // namespace hxsup
