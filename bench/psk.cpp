// Pass phrase to PSK (PBKDF2-HMAC-SHA1, 4096 rounds, 32 bytes): our export, built on
// libgcrypt, against OpenSSL's PKCS5_PBKDF2_HMAC_SHA1 in the same run. Both must give the
// same key, or the run stops before measuring.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "auth/Dot1xApi.h"

namespace {

constexpr const char* kPassphrase = "ThisIsAPassword";
constexpr const char* kSsid = "ThisIsASSID";

bool BothAgree() {
    unsigned char ours[32], theirs[32];
    if (Get_PSK_Key_32byte(kPassphrase, kSsid, 11, 4096, ours, 32) != 0) return false;
    if (PKCS5_PBKDF2_HMAC_SHA1(kPassphrase, 15, reinterpret_cast<const unsigned char*>(kSsid), 11, 4096, 32,
                               theirs) != 1)
        return false;
    return std::memcmp(ours, theirs, 32) == 0;
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
    if (!BothAgree()) {
        std::fprintf(stderr, "the two derivations disagree\n");
        return EXIT_FAILURE;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
