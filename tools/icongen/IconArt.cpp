#include "tools/icongen/IconArt.h"

#include <cmath>
#include <cstdlib>

namespace hx::icons {

const std::array<uint32_t, 16> kPalette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

void Picture::Set(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return;
    colour[y][x] = c;
    opaque[y][x] = true;
}

namespace {

struct BarColours {
    Colour outline;
    Colour fill;
};
constexpr BarColours kEmpty{Grey, Silver};
constexpr BarColours kGreen{DarkGreen, Green};
constexpr BarColours kYellow{Olive, Yellow};
constexpr BarColours kBlue{Navy, Blue};

void DrawBar(Picture& picture, int bar, BarColours colours) {
    const int left = kBarLeft[bar];
    const int right = left + kBarWidth - 1;
    const int top = kBarBottom - kBarHeight[bar] + 1;
    for (int y = top; y <= kBarBottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const bool edge = x == left || x == right || y == top || y == kBarBottom;
            picture.Set(x, y, edge ? colours.outline : colours.fill);
        }
    }
}

// The first `lit` bars in the given colours, the others empty.
Picture Bars(int lit, BarColours colours) {
    Picture picture;
    for (int bar = 0; bar < kBarCount; ++bar) DrawBar(picture, bar, bar < lit ? colours : kEmpty);
    return picture;
}

// Two diagonals, two pixels thick, corner to corner.
void DrawCross(Picture& picture, Colour colour) {
    for (int i = 1; i <= 13; ++i) {
        picture.Set(i, i, colour);
        picture.Set(i + 1, i, colour);
        picture.Set(14 - i, i, colour);
        picture.Set(13 - i, i, colour);
    }
}

// A ring with a bar from its top left to its bottom right.
void DrawProhibitionSign(Picture& picture, Colour colour) {
    const double centre = 7.5;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double distance = std::hypot(x - centre, y - centre);
            const bool ring = distance >= 5.6 && distance <= 7.6;
            const bool bar = distance < 5.6 && std::abs(x - y) <= 1;
            if (ring || bar) picture.Set(x, y, colour);
        }
    }
}

}  // namespace

std::vector<IconDefinition> UtilityIcons() {
    Picture noAdapter = Bars(0, kEmpty);
    DrawCross(noAdapter, Black);
    Picture zeroConfiguration = Bars(0, kEmpty);
    DrawProhibitionSign(zeroConfiguration, Red);

    return {
        {135, "utility.ico", Bars(4, kBlue)},
        {136, "bars4_yellow.ico", Bars(4, kYellow)},
        {137, "bars2_green.ico", Bars(2, kGreen)},
        {138, "bars3_green.ico", Bars(3, kGreen)},
        {139, "bars4_green.ico", Bars(4, kGreen)},
        {140, "bars1_yellow.ico", Bars(1, kYellow)},
        {141, "bars2_yellow.ico", Bars(2, kYellow)},
        {142, "bars3_yellow.ico", Bars(3, kYellow)},
        {143, "bars1_green.ico", Bars(1, kGreen)},
        {144, "no_adapter.ico", noAdapter},
        {145, "bars_empty.ico", Bars(0, kEmpty)},
        {152, "zero_config.ico", zeroConfiguration},
    };
}

}  // namespace hx::icons
