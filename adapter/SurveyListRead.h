// Reading the scan list from the driver library. The library hands the list over whole or
// not at all: a list that does not fit into the buffer fails the read (-1), as NDIS drivers
// do, and the size it would need is not told. A failed read is therefore tried again with
// twice the buffer, from the usual 12004 bytes up to kSurveyBufferCeiling.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "adapter/VuvavoApi.h"

namespace hx {

class AdapterLibrary;

// The largest buffer a scan list is read into (256 KiB): more than a thousand networks
// with their elements. Past it a failed read is taken as the library's answer.
inline constexpr int kSurveyBufferCeiling = 256 * 1024;

// The buffer size of the read after one that failed with `size` bytes; 0 after the ceiling.
constexpr int NextSurveyBufferSize(int size) {
    return size >= kSurveyBufferCeiling ? 0 : std::min(size * 2, kSurveyBufferCeiling);
}

// How many reads a library that never hands the list over is asked for it.
constexpr int SurveyReadAttempts() {
    int attempts = 1;
    for (int size = kSurveyBufferSize; (size = NextSurveyBufferSize(size)) != 0;) ++attempts;
    return attempts;
}

// Reads the list into `list` (`WL_RetrieveSiteSurveyData`), first with 12004 bytes, then
// with larger buffers while the read fails. Each buffer is zero-filled before its read.
// True: `list` is the buffer the read succeeded with, its size the bound of every walk over
// it. False: every size failed, and `list` is 12004 zero bytes again.
bool ReadSurveyList(AdapterLibrary& library, AdapterHandle* adapter, std::vector<uint8_t>& list);

}  // namespace hx
