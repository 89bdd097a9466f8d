#include "sim/dot1x/core/PassphraseKey.h"

#include <cstdint>
#include <cstring>
#include <span>

#include "sim/dot1x/core/Crypto.h"

namespace hxsup {

int DerivePassphraseKey(const char* passphrase, const char* ssid, int ssidLength, int iterations,
                        unsigned char* key, int keyLength) {
    constexpr int kMaxSsid = 32, kMaxKey = 64;
    if (!passphrase || !ssid || !key || ssidLength < 1 || ssidLength > kMaxSsid || iterations < 1 ||
        keyLength < 1 || keyLength > kMaxKey)
        return -1;
    const std::span<const uint8_t> phrase(reinterpret_cast<const uint8_t*>(passphrase), std::strlen(passphrase));
    const std::span<const uint8_t> salt(reinterpret_cast<const uint8_t*>(ssid), static_cast<size_t>(ssidLength));
    uint8_t derived[kMaxKey];
    if (!Pbkdf2Sha1(phrase, salt, static_cast<unsigned long>(iterations),
                    std::span(derived, static_cast<size_t>(keyLength))))
        return -1;
    std::memcpy(key, derived, static_cast<size_t>(keyLength));
    return 0;
}

}  // namespace hxsup
