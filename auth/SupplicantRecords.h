// The two records the authentication worker fills for the supplicant library, and the
// key-install callback through which the library hands back each negotiated key. These
// are the library's binary interface: offsets and sizes are fixed.
//
// The 32-bit layout is the library's own. A 64-bit build cannot hold a pointer in four
// bytes, so it uses the one 64-bit layout below, shared by the worker and our supplicant:
// every field up to 0x12F is unchanged; from 0x130 on the pointers are 8 bytes long and
// 8-byte aligned:
//
//   offset 32-bit            64-bit
//   0x130  WPA element ptr   WPA element ptr (8)
//   0x134  element length    -
//   0x136  zero              -
//   0x138  pairwise cipher   element length (2), zero (2) at 0x138, 0x13A
//   0x13C  group cipher      pairwise cipher at 0x13C
//   0x140  callback ptr      group cipher at 0x140, 4 bytes padding at 0x144
//   0x148  (end, 324 bytes)  callback ptr (8) at 0x148; end at 0x150 (336 bytes)
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define HX_CALLBACK __stdcall
#else
#define HX_CALLBACK
#endif

namespace hx {

// kind: 0 pairwise key, 1 group key.
using KeyInstallCallback = void(HX_CALLBACK*)(const uint8_t* receiveSequenceCounter,
                                              const uint8_t* key, int keyLength, int keyIndex,
                                              int keyKind);

// Cipher codes of the key negotiation.
namespace CipherCode { constexpr int Wep40 = 2, Wep104 = 4, Tkip = 8, Ccmp = 16; }

#pragma pack(push, 1)
// The EAP configuration record passed to do_eapol_init. Every text is NUL-terminated.
struct EapConfigRecord {
    char identity[256];          // 0x000
    char password[255];          // 0x100: key-file pass phrase (TLS) or password (PEAP)
    char caCertFile[512];        // 0x1FF
    char clientCertFile[512];    // 0x3FF
    char unusedFile1[512];       // 0x5FF
    char unusedFile2[512];       // 0x7FF
    char privateKeyFile[512];    // 0x9FF
    char eapName[100];           // 0xBFF: "EAP"
    char method[37];             // 0xC63: "TLS" or "PEAP"
    uint8_t fragmentSize[4];     // 0xC88: little-endian 32-bit
    char randomFile[1536];       // 0xC8C
    char innerMethod[50];        // 0x128C: "MS-CHAPv2" for PEAP
    char innerIdentity[256];     // 0x12BE
};
#pragma pack(pop)

static_assert(offsetof(EapConfigRecord, password) == 0x100);
static_assert(offsetof(EapConfigRecord, caCertFile) == 0x1FF);
static_assert(offsetof(EapConfigRecord, clientCertFile) == 0x3FF);
static_assert(offsetof(EapConfigRecord, unusedFile1) == 0x5FF);
static_assert(offsetof(EapConfigRecord, unusedFile2) == 0x7FF);
static_assert(offsetof(EapConfigRecord, privateKeyFile) == 0x9FF);
static_assert(offsetof(EapConfigRecord, eapName) == 0xBFF);
static_assert(offsetof(EapConfigRecord, method) == 0xC63);
static_assert(offsetof(EapConfigRecord, fragmentSize) == 0xC88);
static_assert(offsetof(EapConfigRecord, randomFile) == 0xC8C);
static_assert(offsetof(EapConfigRecord, innerMethod) == 0x128C);
static_assert(offsetof(EapConfigRecord, innerIdentity) == 0x12BE);

// The key-negotiation record passed to do_key_negotiation_init and _run.
struct KeyNegotiationRecord {
    uint8_t ownMac[6];             // 0x000
    uint8_t pairwiseMasterKey[32]; // 0x006
    uint8_t runConstant[16];       // 0x026
    uint8_t reserved[250];         // 0x036
    const uint8_t* wpaElement;     // 0x130: the whole element, id 0xDD, length, body
#if UINTPTR_MAX == 0xFFFFFFFFu
    uint16_t wpaElementLength;     // 0x134: element length byte + 2
    uint16_t zero;                 // 0x136
#else
    uint16_t wpaElementLength;     // 0x138
    uint16_t zero;                 // 0x13A
#endif
    int32_t pairwiseCipher;        // 0x138 / 0x13C
    int32_t groupCipher;           // 0x13C / 0x140
    KeyInstallCallback installKey; // 0x140 / 0x148
};

static_assert(offsetof(KeyNegotiationRecord, pairwiseMasterKey) == 0x006);
static_assert(offsetof(KeyNegotiationRecord, runConstant) == 0x026);
static_assert(offsetof(KeyNegotiationRecord, reserved) == 0x036);
static_assert(offsetof(KeyNegotiationRecord, wpaElement) == 0x130);
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(offsetof(KeyNegotiationRecord, wpaElementLength) == 0x134);
static_assert(offsetof(KeyNegotiationRecord, pairwiseCipher) == 0x138);
static_assert(offsetof(KeyNegotiationRecord, groupCipher) == 0x13C);
static_assert(offsetof(KeyNegotiationRecord, installKey) == 0x140);
static_assert(sizeof(KeyNegotiationRecord) == 324);
#else
static_assert(offsetof(KeyNegotiationRecord, wpaElementLength) == 0x138);
static_assert(offsetof(KeyNegotiationRecord, pairwiseCipher) == 0x13C);
static_assert(offsetof(KeyNegotiationRecord, groupCipher) == 0x140);
static_assert(offsetof(KeyNegotiationRecord, installKey) == 0x148);
static_assert(sizeof(KeyNegotiationRecord) == 336);
#endif

// The NDIS 5.1 key record the key-install callback writes with WriteOid 0xFF12FF1D.
constexpr int kNdisKeyHeaderSize = 32;   // KeyMaterial starts here
constexpr int kNdisKeyRecordExtra = 39;  // buffer size = key length + 39
namespace NdisKeyOffset {
constexpr int Length = 0, KeyIndex = 4, KeyLength = 8, Bssid = 12, KeyRsc = 24, KeyMaterial = 32;
}
// KeyIndex: flag bits above the key's index.
constexpr uint32_t kNdisKeyTransmit = 0x80000000u;
constexpr uint32_t kNdisKeyPairwise = 0x40000000u;
constexpr uint32_t kNdisKeyRscValid = 0x20000000u;
constexpr uint32_t kNdisKeyIndexMask = 0xFFu;
constexpr uint32_t kNdisKeyTransmitPairwiseRsc = kNdisKeyTransmit | kNdisKeyPairwise | kNdisKeyRscValid;

}  // namespace hx
