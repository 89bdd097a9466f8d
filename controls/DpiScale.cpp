#include "controls/DpiScale.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace hx::controls {

int RescaleForDpi(int length, int fromDpi, int toDpi) {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return length;
    const std::int64_t product = static_cast<std::int64_t>(length) * toDpi;
    const std::int64_t magnitude = (std::llabs(product) + fromDpi / 2) / fromDpi;
    const std::int64_t scaled = product < 0 ? -magnitude : magnitude;
    if (scaled > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (scaled < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(scaled);
}

}  // namespace hx::controls
