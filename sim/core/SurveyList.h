// The adapter's list of networks found by a scan, in the NDIS 5.1 extended BSSID list
// layout of adapter/BssidListLayout.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/core/Scenario.h"

namespace hxsim {

// One network as one scan heard it.
struct SurveyRecord {
    Mac bssid{};
    std::string ssid;               // as announced (empty for a hidden network)
    bool privacy = false;
    int rssi = 0;                   // dBm
    int channel = 1;                // the channel the frame was heard on
    bool adhoc = false;
    int beaconInterval = 100;
    std::vector<uint8_t> rates;     // with basic bits
    std::vector<uint8_t> ies;       // the 12 fixed bytes, then the elements
};

// Bytes the list takes.
int SurveyListSize(const std::vector<SurveyRecord>& records);
// Writes the list; false (and nothing written) when it does not fit into size bytes.
bool WriteSurveyList(const std::vector<SurveyRecord>& records, uint8_t* buffer, int size);
// Keeps one record per BSSID (the one heard strongest) and drops records that are not
// whole (lengths too short, past the buffer, an SSID longer than 32 bytes). Rewrites the
// list in place within capacity bytes; returns the number of records kept, -1 when the
// list header itself is unreadable.
int FilterSurveyList(uint8_t* buffer, int capacity);

}  // namespace hxsim
