#include "tools/icongen/IcoFile.h"

namespace hx::icons {
namespace {

class Writer {
public:
    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v) { U8(v & 0xFF); U8(v >> 8); }
    void U32(uint32_t v) { U16(v & 0xFFFF); U16(v >> 16); }
    std::vector<uint8_t> bytes;
};

constexpr int kXorRowBytes = 8;   // 16 pixels of 4 bits, already a multiple of 4
constexpr int kAndRowBytes = 4;   // 16 bits, padded to 4 bytes
constexpr uint32_t kHeaderSize = 40;
constexpr uint32_t kPaletteSize = 16 * 4;
constexpr uint32_t kXorSize = kXorRowBytes * kSize;
constexpr uint32_t kAndSize = kAndRowBytes * kSize;
constexpr uint32_t kImageSize = kHeaderSize + kPaletteSize + kXorSize + kAndSize;
constexpr uint32_t kImageOffset = 6 + 16;

}  // namespace

std::vector<uint8_t> IcoFileBytes(const Picture& picture) {
    Writer w;
    // Icon directory with one entry.
    w.U16(0); w.U16(1); w.U16(1);
    w.U8(kSize); w.U8(kSize); w.U8(16); w.U8(0);
    w.U16(1); w.U16(4);
    w.U32(kImageSize); w.U32(kImageOffset);

    // Bitmap header: the height counts the colour image and the mask.
    w.U32(kHeaderSize); w.U32(kSize); w.U32(kSize * 2);
    w.U16(1); w.U16(4);
    w.U32(0); w.U32(kXorSize + kAndSize);
    w.U32(0); w.U32(0); w.U32(16); w.U32(0);
    for (uint32_t rgb : kPalette) {
        w.U8(rgb & 0xFF); w.U8((rgb >> 8) & 0xFF); w.U8((rgb >> 16) & 0xFF); w.U8(0);
    }

    // Rows bottom-up. Transparent pixels are black in the colour image and set in the mask.
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; x += 2) {
            const auto index = [&](int px) { return picture.opaque[y][px] ? picture.colour[y][px] : 0; };
            w.U8(static_cast<uint8_t>(index(x) << 4 | index(x + 1)));
        }
    }
    for (int y = kSize - 1; y >= 0; --y) {
        uint16_t mask = 0;
        for (int x = 0; x < kSize; ++x)
            if (!picture.opaque[y][x]) mask |= static_cast<uint16_t>(0x8000 >> x);
        w.U8(mask >> 8); w.U8(mask & 0xFF); w.U8(0); w.U8(0);
    }
    return w.bytes;
}

}  // namespace hx::icons
