// The adapter record handed to every call of the adapter's driver library, and the entry
// layout of the library's adapter list. Both are the library's binary interface: every
// offset below is fixed and checked at compile time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hx {

constexpr int kAdapterTextSize = 260;
constexpr int kInstanceKeySize = 5;
constexpr int kMaxListedAdapters = 100;
constexpr int32_t kAdapterNotOpen = -1;

// One entry of the list that CreateNICAdapterList fills: 525 bytes, no padding.
struct AdapterListEntry {
    char name[kAdapterTextSize];             // copied into the adapter record unread
    char description[kAdapterTextSize];      // copied into the adapter record unread
    char instanceKey[kInstanceKeySize];      // sub-key under the network-adapter class key, e.g. "0007"
};

// The one adapter record of the process. Zero-filled; the device handle is -1 while the
// adapter is not open. The words from offset 532 on belong to the library, which fills
// them when it opens the adapter; start-up clears the words at 532 and 540.
struct AdapterHandle {
    int32_t deviceHandle;                    // 0
    char name[kAdapterTextSize];             // 4
    char description[kAdapterTextSize];      // 264
    char instanceKey[kInstanceKeySize];      // 524
    uint8_t unused[3];                       // 529
    int32_t libraryWord532;                  // 532
    int32_t libraryWord536;                  // 536
    int32_t libraryWord540;                  // 540
};

static_assert(sizeof(AdapterListEntry) == 525);
static_assert(offsetof(AdapterListEntry, description) == 260);
static_assert(offsetof(AdapterListEntry, instanceKey) == 520);
static_assert(sizeof(AdapterHandle) >= 544);
static_assert(offsetof(AdapterHandle, deviceHandle) == 0);
static_assert(offsetof(AdapterHandle, name) == 4);
static_assert(offsetof(AdapterHandle, description) == 264);
static_assert(offsetof(AdapterHandle, instanceKey) == 524);
static_assert(offsetof(AdapterHandle, libraryWord532) == 532);
static_assert(offsetof(AdapterHandle, libraryWord540) == 540);

}  // namespace hx
