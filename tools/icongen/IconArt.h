// The utility's icons as 16 x 16 pictures in the 16-colour palette: the window icon and
// the tray icon sets (signal bars empty, green or yellow, crossed out, or behind a
// prohibition sign). Drawn by code so that the .ico files can be made again at any time.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace hx::icons {

constexpr int kSize = 16;

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

struct IconDefinition {
    int resourceId;
    std::string fileName;   // under resources/icons/
    Picture picture;
};

// The bars, left to right: their left column and height (they stand on row 14).
constexpr int kBarCount = 4;
constexpr int kBarWidth = 3;
constexpr std::array<int, kBarCount> kBarLeft{0, 4, 8, 12};
constexpr std::array<int, kBarCount> kBarHeight{4, 7, 10, 13};
constexpr int kBarBottom = 14;

// Every icon the utility's resources hold, in resource id order.
std::vector<IconDefinition> UtilityIcons();

}  // namespace hx::icons
