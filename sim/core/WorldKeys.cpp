// Key installation through WriteOid and the EAPOL frames between the station and the
// access point.
#include "sim/core/World.h"

#include <algorithm>
#include <cstring>

#include "adapter/LittleEndian.h"
#include "adapter/VuvavoApi.h"
#include "auth/SupplicantRecords.h"

namespace hxsim {
namespace {

constexpr size_t kOutboxLimit = 16;
constexpr uint32_t kLongestKey = 64;

}  // namespace

// --- Key installation --------------------------------------------------------------------

// The NDIS 5.1 key record written with the key-install request.
int World::WriteOid(unsigned long oid, const void* buffer, int length) {
    if (buffer == nullptr || length < 0) return kFail;
    if (oid != hx::kOidAddKey) return kFail;
    const auto* p = static_cast<const uint8_t*>(buffer);
    if (length < hx::kNdisKeyHeaderSize) return kFail;
    const uint32_t recordLength = hx::GetLe32(p + hx::NdisKeyOffset::Length);
    const uint32_t keyIndex = hx::GetLe32(p + hx::NdisKeyOffset::KeyIndex);
    const uint32_t keyLength = hx::GetLe32(p + hx::NdisKeyOffset::KeyLength);
    if (keyLength == 0 || keyLength > kLongestKey || recordLength > static_cast<uint32_t>(length) ||
        recordLength < hx::kNdisKeyHeaderSize + keyLength)
        return kFail;
    if (!link_.associated) return kFail;
    Mac bssid;
    std::memcpy(bssid.data(), p + hx::NdisKeyOffset::Bssid, 6);
    const bool pairwise = (keyIndex & hx::kNdisKeyPairwise) != 0;
    const NetworkSpec* n = LinkedNetwork();
    if (pairwise ? bssid != n->bssid : (bssid != n->bssid && !IsBroadcastOrZero(bssid))) return kFail;
    const int index = static_cast<int>(keyIndex & hx::kNdisKeyIndexMask);
    if (index > 3) return kFail;
    InstalledKey key;
    if (session_) {
        key = session_->InstallKey(pairwise, index, p + hx::NdisKeyOffset::KeyMaterial,
                                   static_cast<int>(keyLength), p + hx::NdisKeyOffset::KeyRsc);
    } else {
        key.pairwise = pairwise;
        key.index = index;
        key.material.assign(p + hx::NdisKeyOffset::KeyMaterial, p + hx::NdisKeyOffset::KeyMaterial + keyLength);
        std::memcpy(key.rsc.data(), p + hx::NdisKeyOffset::KeyRsc, 8);
    }
    keys_.erase(std::remove_if(keys_.begin(), keys_.end(),
                               [&](const InstalledKey& k) { return k.pairwise == pairwise && k.index == index; }),
                keys_.end());
    keys_.push_back(key);
    Log(std::string(pairwise ? "pairwise" : "group") + " key installed, index " + std::to_string(index) +
        (key.matches ? ", matches" : session_ ? ", DOES NOT match" : ""));
    return 0;
}

// --- EAPOL ---------------------------------------------------------------------------------

int World::SendEapol(const unsigned char* frame, int length) {
    if (frame == nullptr || length < 4 || length > 4096) return kFail;
    if (!link_.associated) return kFail;
    CaptureEapol(frame, static_cast<size_t>(length), false);
    if (session_) {
        session_->OnFrameFromStation(frame, length, now_);
        auto& outbox = session_->Outbox();
        while (outbox.size() > kOutboxLimit) outbox.pop_front();
    }
    return 0;
}

std::optional<std::vector<uint8_t>> World::TakeEapol() {
    if (!session_ || session_->Outbox().empty()) return std::nullopt;
    auto frame = std::move(session_->Outbox().front());
    session_->Outbox().pop_front();
    CaptureEapol(frame.data(), frame.size(), true);
    return frame;
}
}  // namespace hxsim
