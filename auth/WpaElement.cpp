#include "auth/WpaElement.h"

#include <climits>
#include <cstring>

namespace hx {

std::optional<std::span<const uint8_t>> FindSurveyRecord(std::span<const uint8_t> list,
                                                         const uint8_t bssid[6]) {
    for (const BssidRecordView& record : SurveyRecords(list.data(), list.size(), INT_MAX)) {
        if (std::memcmp(record.bytes + BssidRecord::MacAddress, bssid, 6) == 0)
            return std::span<const uint8_t>(record.bytes, record.size);
    }
    return std::nullopt;
}

std::vector<std::span<const uint8_t>> ElementsWithId(std::span<const uint8_t> record, uint8_t wanted) {
    std::vector<std::span<const uint8_t>> found;
    if (record.size() < BssidRecord::MinimumSize) return found;
    const BssidRecordView view{record.data(), record.size()};
    ForEachElement(view.Elements(), view.ElementsLength(), [&](uint8_t id, const uint8_t* element, size_t size) {
        if (id == wanted) found.emplace_back(element, size);
        return true;
    });
    return found;
}

std::vector<std::span<const uint8_t>> VendorElements(std::span<const uint8_t> record) {
    return ElementsWithId(record, kVendorElementId);
}

}  // namespace hx
