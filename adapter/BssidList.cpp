#include "adapter/BssidList.h"

#include <algorithm>
#include <cstring>

#include "adapter/LittleEndian.h"

namespace hx {

std::array<uint8_t, 6> BssidRecordView::Mac() const {
    std::array<uint8_t, 6> mac{};
    std::memcpy(mac.data(), bytes + BssidRecord::MacAddress, mac.size());
    return mac;
}

uint32_t BssidRecordView::U32(size_t offset) const { return GetLe32(bytes + offset); }

const uint8_t* BssidRecordView::Elements() const {
    return bytes + BssidRecord::Ies + BssidRecord::FixedIes;
}

size_t BssidRecordView::ElementsLength() const {
    const size_t ieLength = U32(BssidRecord::IeLength);
    const size_t room = size - BssidRecord::Ies;  // what the record holds after its fixed part
    const size_t ies = std::min(ieLength, room);
    return ies > BssidRecord::FixedIes ? ies - BssidRecord::FixedIes : 0;
}

std::vector<BssidRecordView> SurveyRecords(const uint8_t* buffer, size_t size, int maxRecords) {
    std::vector<BssidRecordView> records;
    if (buffer == nullptr || size < kSurveyListHeader) return records;
    const uint32_t count = GetLe32(buffer);
    size_t at = kSurveyListHeader;
    for (uint32_t i = 0; i < count && static_cast<int>(records.size()) < maxRecords; ++i) {
        if (size - at < 4) break;
        const size_t length = GetLe32(buffer + at);
        if (length == 0 || length > size - at) break;
        if (length >= BssidRecord::MinimumSize) records.push_back({buffer + at, length});
        at += length;
    }
    return records;
}

}  // namespace hx
