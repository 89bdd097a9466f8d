#include "tools/icongen/IcoFile.h"

namespace hx::icons {
namespace {

class Writer {
public:
    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v) { U8(v & 0xFF); U8(v >> 8); }
    void U32(uint32_t v) { U16(v & 0xFFFF); U16(v >> 16); }
    void Append(const Writer& other) { bytes.insert(bytes.end(), other.bytes.begin(), other.bytes.end()); }
    std::vector<uint8_t> bytes;
};

constexpr uint32_t kHeaderSize = 40;
constexpr uint32_t kDirectorySize = 6;
constexpr uint32_t kEntrySize = 16;

uint32_t MaskRowBytes(int size) { return static_cast<uint32_t>((size + 31) / 32 * 4); }

// Bitmap header: the height counts the colour image and the mask.
void WriteHeader(Writer& w, int size, uint16_t bitsPerPixel, uint32_t imageBytes, uint32_t colours) {
    w.U32(kHeaderSize); w.U32(static_cast<uint32_t>(size)); w.U32(static_cast<uint32_t>(size * 2));
    w.U16(1); w.U16(bitsPerPixel);
    w.U32(0); w.U32(imageBytes);
    w.U32(0); w.U32(0); w.U32(colours); w.U32(0);
}

// The transparency mask, rows bottom-up: a set bit is a transparent pixel.
template <typename Transparent>
void WriteMask(Writer& w, int size, Transparent&& transparent) {
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(MaskRowBytes(size), 0);
        for (int x = 0; x < size; ++x)
            if (transparent(x, y)) row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        for (uint8_t b : row) w.U8(b);
    }
}

Writer SixteenColourImage(const Picture& picture) {
    constexpr uint32_t kColourRowBytes = 8;  // 16 pixels of 4 bits, already a multiple of 4
    Writer w;
    WriteHeader(w, kSize, 4, kColourRowBytes * kSize + MaskRowBytes(kSize) * kSize, 16);
    for (uint32_t rgb : kPalette) {
        w.U8(rgb & 0xFF); w.U8((rgb >> 8) & 0xFF); w.U8((rgb >> 16) & 0xFF); w.U8(0);
    }
    // Transparent pixels are black in the colour image and set in the mask.
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; x += 2) {
            const auto index = [&](int px) { return picture.opaque[y][px] ? picture.colour[y][px] : 0; };
            w.U8(static_cast<uint8_t>(index(x) << 4 | index(x + 1)));
        }
    }
    WriteMask(w, kSize, [&](int x, int y) { return !picture.opaque[y][x]; });
    return w;
}

Writer FullColourImage(const ColourPicture& picture) {
    const int size = picture.size;
    Writer w;
    WriteHeader(w, size, 32, static_cast<uint32_t>(size * size * 4) + MaskRowBytes(size) * static_cast<uint32_t>(size), 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const uint32_t argb = picture.At(x, y);
            w.U8(argb & 0xFF); w.U8((argb >> 8) & 0xFF); w.U8((argb >> 16) & 0xFF); w.U8(argb >> 24);
        }
    }
    WriteMask(w, size, [&](int x, int y) { return (picture.At(x, y) >> 24) == 0; });
    return w;
}

}  // namespace

std::vector<uint8_t> IcoFileBytes(const IconDefinition& icon) {
    struct Image {
        int size;
        uint8_t colours;
        uint16_t bitsPerPixel;
        Writer bytes;
    };
    std::vector<Image> images;
    images.push_back({kSize, 16, 4, SixteenColourImage(icon.picture)});
    for (const ColourPicture& picture : icon.larger) images.push_back({picture.size, 0, 32, FullColourImage(picture)});

    Writer w;
    w.U16(0); w.U16(1); w.U16(static_cast<uint16_t>(images.size()));
    uint32_t offset = kDirectorySize + kEntrySize * static_cast<uint32_t>(images.size());
    for (const Image& image : images) {
        w.U8(static_cast<uint8_t>(image.size)); w.U8(static_cast<uint8_t>(image.size));
        w.U8(image.colours); w.U8(0);
        w.U16(1); w.U16(image.bitsPerPixel);
        w.U32(static_cast<uint32_t>(image.bytes.bytes.size())); w.U32(offset);
        offset += static_cast<uint32_t>(image.bytes.bytes.size());
    }
    for (const Image& image : images) w.Append(image.bytes);
    return w.bytes;
}

}  // namespace hx::icons
