// The EAPOL-Key parser and the handshake behind it over arbitrary bytes. The first byte
// picks the cipher; then come frames, each after a two-byte big-endian length (cut to
// what is left). Each frame goes to the parser and then to a handshake that knows its
// access point. Checked: a parsed frame rebuilds to the bytes it came from (up to the end
// of its key data: a body may run on past it), and a dropped frame leaves no reply and no
// key.
#include <cstdint>
#include <gcrypt.h>
#include <cstring>
#include <vector>

#include "sim/dot1x/core/EapolFrame.h"
#include "sim/dot1x/core/KeyHandshake.h"

namespace {

hxsup::KeyHandshake MakeHandshake(int cipher) {
    hxsup::NegotiationSettings s;
    s.ownAddress = {0x00, 0x0E, 0x2E, 0x44, 0x55, 0x66};
    s.pmk.fill(0x42);
    s.wpaElement = {0xDD, 0x06, 0x00, 0x50, 0xF2, 0x01, 0x01, 0x00};
    s.pairwiseCipher = cipher;
    s.groupCipher = cipher;
    auto handshake = hxsup::KeyHandshake::Create(s);
    if (!handshake) __builtin_trap();
    handshake->SetAuthenticatorAddress({0x00, 0x0A, 0xEB, 0x11, 0x22, 0x33});
    return *handshake;
}

}  // namespace

// Random numbers from the system's generator, without the pool of libgcrypt's own: that pool
// gathers timings and resource figures at every hash once it exists, a system call or two
// per hash, which in a sandbox that traps system calls costs more than the handshake itself.
// Must come before anything starts the library.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gcry_control(GCRYCTL_SET_PREFERRED_RNG_TYPE, GCRY_RNG_TYPE_SYSTEM);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int cipher = (data[0] & 1) ? hxsup::Cipher::Ccmp : hxsup::Cipher::Tkip;
    auto handshake = MakeHandshake(cipher);
    const uint8_t* p = data + 1;
    size_t left = size - 1;
    for (int i = 0; i < 8 && left >= 2; ++i) {
        size_t length = size_t{p[0]} << 8 | p[1];
        p += 2;
        left -= 2;
        if (length > left) length = left;
        // A heap copy of exactly the frame's length lets the sanitizer see a read past it.
        const std::vector<uint8_t> frame(p, p + length);
        p += length;
        left -= length;

        if (const auto parsed = hxsup::ParseKeyFrame(frame)) {
            const auto rebuilt = hxsup::BuildKeyFrame(parsed->frame);
            const auto& pdu = parsed->pdu;
            if (rebuilt.size() > pdu.size() || std::memcmp(rebuilt.data(), pdu.data(), 2) != 0 ||
                std::memcmp(rebuilt.data() + 4, pdu.data() + 4, rebuilt.size() - 4) != 0)
                __builtin_trap();
        }
        const auto step = handshake.HandleFrame(frame);
        if (step.verdict != hxsup::FrameVerdict::Answered && (!step.reply.empty() || !step.keys.empty()))
            __builtin_trap();
        for (const auto& key : step.keys)
            if (key.key.empty() || key.key.size() > 32) __builtin_trap();
    }
    return 0;
}
