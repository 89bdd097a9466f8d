// The access point's cryptography, all from libgcrypt: hashes and HMACs, the IEEE 802.11i
// pass phrase mapping and PRF, RC4 and AES key wrap for the group key, and random bytes.
// Kept apart from the supplicant's wrappers (sim/dot1x/core/Crypto.h) on purpose, so that
// a mistake in one side's use of libgcrypt shows in the handshake tests.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace hxsim::crypto {

using Bytes = std::vector<uint8_t>;

Bytes HmacMd5(const Bytes& key, const Bytes& data);
Bytes HmacSha1(const Bytes& key, const Bytes& data);
Bytes HmacSha256(const Bytes& key, const Bytes& data);
Bytes Sha256(const Bytes& data);

// PBKDF2-HMAC-SHA1 with the SSID as salt, 4096 rounds, 32 bytes.
Bytes PassphraseToPsk(std::string_view passphrase, std::string_view ssid);
// PRF-n of IEEE 802.11i: HMAC-SHA1(key, label | 0 | data | counter) for counter 0, 1, ...
Bytes Prf(const Bytes& key, std::string_view label, const Bytes& data, size_t length);
// RC4 keyed with iv | kek, the first 256 bytes of key stream discarded (WPA group key).
Bytes Rc4Skip256(const Bytes& iv, const Bytes& kek, const Bytes& data);
// AES key wrap (RFC 3394) with a 128-bit KEK; data a multiple of 8 bytes, at least 16.
Bytes AesKeyWrap(const Bytes& kek, const Bytes& data);
Bytes RandomBytes(size_t count);   // key material
Bytes NonceBytes(size_t count);    // nonces and IVs

}  // namespace hxsim::crypto
