// Pass phrase to PSK (PBKDF2-HMAC-SHA1, 4096 rounds, 32 bytes): our export, built on
// libgcrypt, against OpenSSL's PKCS5_PBKDF2_HMAC_SHA1 in the same run. Both must give the
// same keys, for the measured pair and for pass phrases and SSIDs of the extreme lengths,
// or the run ends with a failure before measuring.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "auth/Dot1xApi.h"

namespace {

constexpr const char* kPassphrase = "ThisIsAPassword";
constexpr const char* kSsid = "ThisIsASSID";

bool Agree(const std::string& passphrase, const std::string& ssid) {
    unsigned char ours[32], theirs[32];
    if (Get_PSK_Key_32byte(passphrase.c_str(), ssid.data(), static_cast<int>(ssid.size()), 4096, ours, 32) != 0)
        return false;
    if (PKCS5_PBKDF2_HMAC_SHA1(passphrase.data(), static_cast<int>(passphrase.size()),
                               reinterpret_cast<const unsigned char*>(ssid.data()), static_cast<int>(ssid.size()),
                               4096, 32, theirs) != 1)
        return false;
    return std::memcmp(ours, theirs, 32) == 0;
}

bool BothAgree() {
    const std::pair<std::string, std::string> pairs[] = {
        {kPassphrase, kSsid},
        {"8 chars!", "A"},                                          // shortest pass phrase, one-byte SSID
        {std::string(63, 'z'), std::string(32, 'S')},               // longest of both
        {"p\xE4ss w\xF6rd \x7F~", "caf\xE9\x01 net"},              // bytes above 0x7F, a control byte
    };
    for (const auto& [passphrase, ssid] : pairs) {
        if (!Agree(passphrase, ssid)) {
            std::fprintf(stderr, "the two derivations disagree for \"%s\" on \"%s\"\n", passphrase.c_str(),
                         ssid.c_str());
            return false;
        }
    }
    // On stderr: stdout carries the benchmark report alone (JSON when asked for).
    std::fprintf(stderr, "our pass phrase mapping agrees with OpenSSL's on %zu pairs\n", std::size(pairs));
    return true;
}

void PskOurs(benchmark::State& state) {
    unsigned char key[32];
    for (auto _ : state) {
        Get_PSK_Key_32byte(kPassphrase, kSsid, 11, 4096, key, 32);
        benchmark::DoNotOptimize(key);
    }
}

void PskOpenSsl(benchmark::State& state) {
    unsigned char key[32];
    for (auto _ : state) {
        PKCS5_PBKDF2_HMAC_SHA1(kPassphrase, 15, reinterpret_cast<const unsigned char*>(kSsid), 11, 4096, 32, key);
        benchmark::DoNotOptimize(key);
    }
}

BENCHMARK(PskOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(PskOpenSsl)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!BothAgree()) return EXIT_FAILURE;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
