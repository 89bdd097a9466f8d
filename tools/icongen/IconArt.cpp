#include "tools/icongen/IconArt.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

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
// For a dark taskbar: a light outline keeps the bars apart from the dark behind them.
constexpr BarColours kBlueOnDark{Cyan, Blue};

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

// What a larger picture is drawn from: the same design as its 16 x 16 picture.
enum class Overlay { None, Cross, ProhibitionSign };
struct Design {
    int lit;
    BarColours colours;
    Overlay overlay;
    Colour mark = Black;   // the overlay's colour
};

uint32_t Argb(Colour colour) { return 0xFF000000u | kPalette[colour]; }

// The design's colour at a point of a picture of the given size (in its pixels), or 0 where
// the picture is transparent. The overlays are drawn over the bars; they are worked in the
// 16 x 16 picture's units, so they keep their shape at every size.
uint32_t ColourAt(const Design& design, int size, const std::array<BarBox, kBarCount>& bars, double x, double y) {
    const double unit = size / static_cast<double>(kSize);
    const double u = x / unit, v = y / unit;
    if (design.overlay == Overlay::Cross) {
        // Two strokes corner to corner, like the 16 x 16 picture's two-pixel diagonals.
        const bool inSquare = u >= 1 && u <= 15 && v >= 1 && v <= 15;
        const double halfWidth = 0.75 * std::sqrt(2.0);
        if (inSquare && (std::abs(u - v) <= halfWidth || std::abs(u + v - 16) <= halfWidth)) return Argb(design.mark);
    } else if (design.overlay == Overlay::ProhibitionSign) {
        const double distance = std::hypot(u - 8, v - 8);
        const bool ring = distance >= 5.6 && distance <= 7.6;
        const bool bar = distance < 5.6 && std::abs(u - v) <= 1.5;
        if (ring || bar) return Argb(design.mark);
    }
    for (int bar = 0; bar < kBarCount; ++bar) {
        const BarBox& box = bars[static_cast<size_t>(bar)];
        if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) continue;
        const bool edge = x < box.left + box.outline || x >= box.right - box.outline ||
                          y < box.top + box.outline || y >= box.bottom - box.outline;
        const BarColours colours = bar < design.lit ? design.colours : kEmpty;
        return Argb(edge ? colours.outline : colours.fill);
    }
    return 0;
}

// Each pixel is the average of 4 x 4 points of the design, so the diagonals and the ring
// come out smooth; the bars lie on whole pixels and stay sharp.
ColourPicture DrawAt(const Design& design, int size) {
    constexpr int kSamples = 4;
    std::array<BarBox, kBarCount> bars{};
    for (int bar = 0; bar < kBarCount; ++bar) bars[static_cast<size_t>(bar)] = BarBoxAt(bar, size);
    ColourPicture picture;
    picture.size = size;
    picture.argb.resize(static_cast<size_t>(size * size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double alpha = 0, red = 0, green = 0, blue = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const uint32_t c = ColourAt(design, size, bars, x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                    const double a = (c >> 24) / 255.0;
                    alpha += a;
                    red += a * ((c >> 16) & 0xFF);
                    green += a * ((c >> 8) & 0xFF);
                    blue += a * (c & 0xFF);
                }
            }
            if (alpha == 0) continue;
            const auto channel = [](double value) { return static_cast<uint32_t>(std::lround(std::clamp(value, 0.0, 255.0))); };
            picture.argb[static_cast<size_t>(y * size + x)] =
                channel(alpha * 255 / (kSamples * kSamples)) << 24 | channel(red / alpha) << 16 |
                channel(green / alpha) << 8 | channel(blue / alpha);
        }
    }
    return picture;
}

IconDefinition Icon(int resourceId, std::string fileName, Picture picture, const Design& design) {
    IconDefinition icon{resourceId, std::move(fileName), picture, {}};
    for (int size : kLargerSizes) icon.larger.push_back(DrawAt(design, size));
    return icon;
}

IconDefinition BarIcon(int resourceId, std::string fileName, int lit, BarColours colours) {
    return Icon(resourceId, std::move(fileName), Bars(lit, colours), {lit, colours, Overlay::None});
}

}  // namespace

BarBox BarBoxAt(int bar, int size) {
    const double unit = size / static_cast<double>(kSize);
    const auto at = [unit](int units) { return static_cast<int>(std::lround(units * unit)); };
    const int left = kBarLeft[static_cast<size_t>(bar)];
    const int top = kBarBottom + 1 - kBarHeight[static_cast<size_t>(bar)];
    const int outline = std::max(1, static_cast<int>(std::lround(size / 24.0)));
    return {at(left), at(left + kBarWidth), at(top), at(kBarBottom + 1), outline};
}

std::vector<IconDefinition> UtilityIcons() {
    Picture noAdapter = Bars(0, kEmpty);
    DrawCross(noAdapter, Black);
    Picture zeroConfiguration = Bars(0, kEmpty);
    DrawProhibitionSign(zeroConfiguration, Red);
    // The black cross in white for a dark taskbar.
    Picture noAdapterOnDark = Bars(0, kEmpty);
    DrawCross(noAdapterOnDark, White);

    return {
        BarIcon(135, "utility.ico", 4, kBlue),
        BarIcon(136, "bars4_yellow.ico", 4, kYellow),
        BarIcon(137, "bars2_green.ico", 2, kGreen),
        BarIcon(138, "bars3_green.ico", 3, kGreen),
        BarIcon(139, "bars4_green.ico", 4, kGreen),
        BarIcon(140, "bars1_yellow.ico", 1, kYellow),
        BarIcon(141, "bars2_yellow.ico", 2, kYellow),
        BarIcon(142, "bars3_yellow.ico", 3, kYellow),
        BarIcon(143, "bars1_green.ico", 1, kGreen),
        Icon(144, "no_adapter.ico", noAdapter, {0, kEmpty, Overlay::Cross}),
        BarIcon(145, "bars_empty.ico", 0, kEmpty),
        Icon(152, "zero_config.ico", zeroConfiguration, {0, kEmpty, Overlay::ProhibitionSign, Red}),
        BarIcon(160, "utility_dark.ico", 4, kBlueOnDark),
        Icon(161, "no_adapter_dark.ico", noAdapterOnDark, {0, kEmpty, Overlay::Cross, White}),
    };
}

}  // namespace hx::icons
