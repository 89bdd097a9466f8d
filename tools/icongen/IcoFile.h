// The bytes of a .ico file: the 16 x 16 picture with 16 colours (4 bits a pixel), then each
// larger picture in full colour with alpha (32 bits a pixel), each image with its
// transparency mask.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/icongen/IconArt.h"

namespace hx::icons {

std::vector<uint8_t> IcoFileBytes(const IconDefinition& icon);

}  // namespace hx::icons
