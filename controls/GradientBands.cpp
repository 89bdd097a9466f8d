#include "controls/GradientBands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace hx::controls {
namespace {

// Rounds to single precision. x87 builds would otherwise keep intermediate products in
// extended precision and put band edges one pixel off.
float Single(float value) {
    volatile float stored = value;
    return stored;
}

int Component(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

std::uint32_t Rgb(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue) << 16;
}

}  // namespace

std::optional<int> MeterFilledWidth(int position, int minimum, int maximum, int clientWidth) {
    if (position <= minimum || position > maximum || maximum == 0) return std::nullopt;
    const float share = Single(static_cast<float>(position) / static_cast<float>(maximum));
    const float columns = Single(share * static_cast<float>(clientWidth));
    // Ranges that reach below zero can give a share outside 0..1: keep it on the bar.
    return static_cast<int>(std::clamp(columns, 0.0f, static_cast<float>(std::max(clientWidth, 0))));
}

GradientPlan PlanGradient(std::uint32_t startColour, std::uint32_t endColour, int clientWidth,
                          int filledWidth) {
    GradientPlan plan;
    plan.backgroundFrom = clientWidth;
    const int r0 = Component(startColour, 0), g0 = Component(startColour, 8), b0 = Component(startColour, 16);
    const int dR = Component(endColour, 0) - r0;
    const int dG = Component(endColour, 8) - g0;
    const int dB = Component(endColour, 16) - b0;
    const int steps = std::max({std::abs(dR), std::abs(dG), std::abs(dB)});

    if (steps == 0) {
        const int right = std::clamp(filledWidth, 0, std::max(clientWidth, 0));
        if (right > 0) plan.bands.push_back({0, right, startColour});
        plan.backgroundFrom = right;
        return plan;
    }

    const float stepCount = static_cast<float>(steps);
    const float stepWidth = Single(static_cast<float>(clientWidth) / stepCount);
    const float incR = Single(static_cast<float>(dR) / stepCount);
    const float incG = Single(static_cast<float>(dG) / stepCount);
    const float incB = Single(static_cast<float>(dB) / stepCount);
    plan.bands.reserve(static_cast<std::size_t>(steps));
    for (int k = 0; k < steps; ++k) {
        const float fk = static_cast<float>(k);
        ColourBand band;
        band.left = static_cast<int>(Single(fk * stepWidth));
        band.right = static_cast<int>(Single((fk + 1.0f) * stepWidth));
        // The last band closes the bar: single-precision steps can fall a column short of
        // the width, which would leave that column unpainted.
        if (k == steps - 1) band.right = clientWidth;
        band.colour = Rgb(static_cast<int>(Single(static_cast<float>(r0) + Single(fk * incR))),
                          static_cast<int>(Single(static_cast<float>(g0) + Single(fk * incG))),
                          static_cast<int>(Single(static_cast<float>(b0) + Single(fk * incB))));
        plan.bands.push_back(band);
        if (band.right > filledWidth) {
            plan.backgroundFrom = band.right;
            break;
        }
    }
    return plan;
}

std::string MeterPercentText(int position, int maximum) {
    if (maximum == 0) return "0%";
    char text[32];
    std::snprintf(text, sizeof text, "%.0f%%", static_cast<double>(position) * 100.0 / maximum);
    return text;
}

}  // namespace hx::controls
