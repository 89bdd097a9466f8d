// The pass phrase to pre-shared key mapping as the library's callers hand over its
// arguments: raw pointers and lengths, checked here.
#pragma once

namespace hxsup {

// PBKDF2-HMAC-SHA1 of the pass phrase (NUL-terminated) with the SSID's ssidLength bytes
// as salt. 0 on success; -1 for null pointers, an SSID length outside 1..32, fewer than
// one iteration or a key length outside 1..64 (nothing is written then).
int DerivePassphraseKey(const char* passphrase, const char* ssid, int ssidLength, int iterations,
                        unsigned char* key, int keyLength);

}  // namespace hxsup
