// The driver library's scan result: an NDIS 802.11 BSSID list in its extended form
// (NDIS_802_11_BSSID_LIST_EX of NDIS_WLAN_BSSID_EX records), as it fills the survey buffer
// (12004 bytes, or the larger buffer a long list was read into). Every read is bounds-checked
// against the buffer's real size: a record or element that claims more bytes than its
// container holds ends the walk there.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "adapter/BssidListLayout.h"

namespace hx {

// A view of one record's bytes.
struct BssidRecordView {
    const uint8_t* bytes = nullptr;
    size_t size = 0;             // the record's Length, known to lie within the buffer
    std::array<uint8_t, 6> Mac() const;
    uint32_t U32(size_t offset) const;
    // The variable information elements (after the 12 fixed bytes), cut to the record.
    const uint8_t* Elements() const;
    size_t ElementsLength() const;
};

// The records of a list, in buffer order: at most NumberOfItems and at most maxRecords. A
// record too short to reach its IEs is stepped over unread; a Length of 0 or one running
// past the buffer ends the walk.
std::vector<BssidRecordView> SurveyRecords(const uint8_t* buffer, size_t size,
                                           int maxRecords);

// Visits the information elements of a block: id, the whole element (header and body) and
// its size. An element whose body runs past the block ends the walk. The visitor returns
// false to stop early.
template <typename Visit>
void ForEachElement(const uint8_t* elements, size_t length, Visit visit) {
    size_t at = 0;
    while (at + 2 <= length) {
        const uint8_t id = elements[at];
        const size_t bodyLength = elements[at + 1];
        if (at + 2 + bodyLength > length) return;
        if (!visit(id, elements + at, 2 + bodyLength)) return;
        at += 2 + bodyLength;
    }
}

}  // namespace hx
