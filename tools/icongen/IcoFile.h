// The bytes of a .ico file holding one 16 x 16 image with 16 colours (4 bits a pixel) and
// its transparency mask.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/icongen/IconArt.h"

namespace hx::icons {

std::vector<uint8_t> IcoFileBytes(const Picture& picture);

}  // namespace hx::icons
