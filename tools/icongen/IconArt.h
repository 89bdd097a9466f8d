// The utility's icons: the window icon and the tray icon sets (signal bars empty, green or
// yellow, crossed out, or behind a prohibition sign), and the window icon and the crossed-out
// bars drawn again for a dark taskbar. Each is a 16 x 16 picture in the
// 16-colour palette, and the same design drawn again in full colour at each larger size
// Windows asks for at higher DPI. Drawn by code so that the .ico files can be made again at
// any time.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace hx::icons {

constexpr int kSize = 16;

// The larger sizes, drawn at their size (not scaled from the 16 x 16 picture): the small
// icon at 125 %, 150 % and 200 %, and the large icon's sizes up to 150 %.
constexpr std::array<int, 5> kLargerSizes{20, 24, 32, 40, 48};

// Indexes into the standard 16-colour palette.
enum Colour : uint8_t {
    Black = 0, DarkRed, DarkGreen, Olive, Navy, Purple, Teal, Silver,
    Grey, Red, Green, Yellow, Blue, Magenta, Cyan, White
};

// Palette entries as 0x00RRGGBB, in index order.
extern const std::array<uint32_t, 16> kPalette;

struct Picture {
    std::array<std::array<uint8_t, kSize>, kSize> colour{};   // [y][x], y = 0 is the top row
    std::array<std::array<bool, kSize>, kSize> opaque{};      // false: transparent

    void Set(int x, int y, Colour c);
};

// A square picture in full colour with an alpha channel (0xAARRGGBB, straight alpha).
struct ColourPicture {
    int size = 0;
    std::vector<uint32_t> argb;  // [y * size + x], y = 0 is the top row

    uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y * size + x)]; }
};

struct IconDefinition {
    int resourceId;
    std::string fileName;   // under resources/icons/
    Picture picture;
    std::vector<ColourPicture> larger;  // one per kLargerSizes entry, in that order
};

// The bars, left to right: their left column and height (they stand on row 14).
constexpr int kBarCount = 4;
constexpr int kBarWidth = 3;
constexpr std::array<int, kBarCount> kBarLeft{0, 4, 8, 12};
constexpr std::array<int, kBarCount> kBarHeight{4, 7, 10, 13};
constexpr int kBarBottom = 14;

// A bar in a picture of the given size, on whole pixels: columns [left, right), rows
// [top, bottom), and the width of its outline.
struct BarBox {
    int left, right, top, bottom, outline;
};
BarBox BarBoxAt(int bar, int size);

// Every icon the utility's resources hold, in resource id order.
std::vector<IconDefinition> UtilityIcons();

}  // namespace hx::icons
