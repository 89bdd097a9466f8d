#include "sim/dot1x/core/KeyRecord.h"

#include <algorithm>

namespace hxsup {

NegotiationSettings SettingsFromRecord(const hx::KeyNegotiationRecord& record) {
    NegotiationSettings settings;
    std::copy_n(record.ownMac, settings.ownAddress.size(), settings.ownAddress.begin());
    std::copy_n(record.pairwiseMasterKey, settings.pmk.size(), settings.pmk.begin());
    std::copy_n(record.runConstant, settings.runConstant.size(), settings.runConstant.begin());
    const size_t length = record.wpaElementLength;
    if (record.wpaElement && length >= 2 && length <= kMaxElementSize)
        settings.wpaElement.assign(record.wpaElement, record.wpaElement + length);
    settings.pairwiseCipher = record.pairwiseCipher;
    settings.groupCipher = record.groupCipher;
    return settings;
}

void InstallThroughRecord(const hx::KeyNegotiationRecord& record, const NegotiatedKey& key) {
    if (!record.installKey || key.key.empty()) return;
    record.installKey(key.rsc.data(), key.key.data(), static_cast<int>(key.key.size()), key.index,
                      static_cast<int>(key.kind));
}

}  // namespace hxsup
