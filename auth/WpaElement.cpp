#include "auth/WpaElement.h"

#include <cstring>

namespace hx {
namespace {

uint32_t ReadLittleEndian32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace

std::optional<std::span<const uint8_t>> FindSurveyRecord(std::span<const uint8_t> list,
                                                         const uint8_t bssid[6]) {
    if (list.size() < kSurveyListHeaderSize) return std::nullopt;
    const uint32_t items = ReadLittleEndian32(list.data());
    size_t offset = kSurveyListHeaderSize;
    for (uint32_t item = 0; item < items; ++item) {
        const size_t left = list.size() - offset;
        if (left < SurveyRecordOffset::Length + 4) break;
        const uint32_t length = ReadLittleEndian32(list.data() + offset);
        if (length == 0 || length > left) break;
        const auto record = list.subspan(offset, length);
        offset += length;
        if (record.size() < SurveyRecordOffset::IEs) continue;
        if (std::memcmp(record.data() + SurveyRecordOffset::MacAddress, bssid, 6) == 0)
            return record;
    }
    return std::nullopt;
}

std::vector<std::span<const uint8_t>> VendorElements(std::span<const uint8_t> record) {
    std::vector<std::span<const uint8_t>> found;
    if (record.size() < SurveyRecordOffset::IEs) return found;
    const uint32_t ieLength = ReadLittleEndian32(record.data() + SurveyRecordOffset::IELength);
    const size_t available = record.size() - SurveyRecordOffset::IEs;
    const size_t ieBytes = ieLength < available ? ieLength : available;
    if (ieBytes <= kFixedIeSize) return found;

    const auto elements = record.subspan(SurveyRecordOffset::IEs + kFixedIeSize, ieBytes - kFixedIeSize);
    size_t offset = 0;
    while (elements.size() - offset >= 2) {
        const size_t size = 2 + static_cast<size_t>(elements[offset + 1]);
        if (size > elements.size() - offset) break;
        if (elements[offset] == kVendorElementId) found.push_back(elements.subspan(offset, size));
        offset += size;
    }
    return found;
}

}  // namespace hx
