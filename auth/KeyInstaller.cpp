#include "auth/KeyInstaller.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include "adapter/AdapterLibrary.h"
#include "adapter/LittleEndian.h"
#include "adapter/VuvavoApi.h"

namespace hx {
namespace {

struct InstallTarget {
    std::mutex mutex;
    AdapterLibrary* library = nullptr;
    AdapterHandle* adapter = nullptr;
};

std::atomic<unsigned long> g_pairwiseKeysInstalled{0};
std::atomic<unsigned long> g_groupKeysInstalled{0};

InstallTarget& Target() {
    static InstallTarget target;
    return target;
}

uint32_t KeyIndexField(int keyIndex, int keyKind) {
    switch (keyKind) {
    case KeyKind::Pairwise: return kNdisKeyTransmitPairwiseRsc;
    case KeyKind::Group: return kNdisKeyRscValid | static_cast<uint32_t>(keyIndex);
    default: return kNdisKeyRscValid;
    }
}

bool Installable(const uint8_t* receiveSequenceCounter, const uint8_t* key, int keyLength) {
    return keyLength >= 1 && keyLength <= kMaxNegotiatedKeyLength &&
           receiveSequenceCounter != nullptr && key != nullptr;
}

}  // namespace

unsigned long PairwiseKeysInstalled() { return g_pairwiseKeysInstalled.load(); }
unsigned long GroupKeysInstalled() { return g_groupKeysInstalled.load(); }

void SetKeyInstallTarget(AdapterLibrary& library, AdapterHandle& adapter) {
    std::lock_guard lock(Target().mutex);
    Target().library = &library;
    Target().adapter = &adapter;
}

void ClearKeyInstallTarget() {
    std::lock_guard lock(Target().mutex);
    Target().library = nullptr;
    Target().adapter = nullptr;
}

std::vector<uint8_t> BuildNdisKeyRecord(const uint8_t* receiveSequenceCounter, const uint8_t* key,
                                        int keyLength, int keyIndex, int keyKind,
                                        const uint8_t bssid[6]) {
    if (!Installable(receiveSequenceCounter, key, keyLength) || bssid == nullptr) return {};

    const int size = keyLength + kNdisKeyRecordExtra;
    std::vector<uint8_t> record(static_cast<size_t>(size), 0);
    PutLe32(&record[NdisKeyOffset::Length], static_cast<uint32_t>(size));
    PutLe32(&record[NdisKeyOffset::KeyIndex], KeyIndexField(keyIndex, keyKind));
    PutLe32(&record[NdisKeyOffset::KeyLength], static_cast<uint32_t>(keyLength));
    std::memcpy(&record[NdisKeyOffset::Bssid], bssid, 6);
    std::memcpy(&record[NdisKeyOffset::KeyRsc], receiveSequenceCounter, 8);
    std::memcpy(&record[NdisKeyOffset::KeyMaterial], key, static_cast<size_t>(keyLength));
    return record;
}

void HX_CALLBACK InstallNegotiatedKey(const uint8_t* receiveSequenceCounter, const uint8_t* key,
                                      int keyLength, int keyIndex, int keyKind) {
    AdapterLibrary* library;
    AdapterHandle* adapter;
    {
        std::lock_guard lock(Target().mutex);
        library = Target().library;
        adapter = Target().adapter;
    }
    if (library == nullptr || !Installable(receiveSequenceCounter, key, keyLength)) return;

    uint8_t bssid[6] = {};
    library->QueryWL_BSSID(adapter, bssid);
    std::vector<uint8_t> record =
        BuildNdisKeyRecord(receiveSequenceCounter, key, keyLength, keyIndex, keyKind, bssid);
    const int written = library->WriteOid(adapter, kOidAddKey, record.data(), static_cast<int>(record.size()));
    if (written == -1) return;
    if (keyKind == KeyKind::Pairwise) ++g_pairwiseKeysInstalled;
    if (keyKind == KeyKind::Group) ++g_groupKeysInstalled;
}

}  // namespace hx
