// The geometry and colours of a gradient meter: how much of the bar is filled, and the solid
// colour bands that draw the fill. Worked in single precision, band by band, so the bands
// fall on the same pixels on every build.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hx::controls {

// A solid band over client columns [left, right); colour is 0x00BBGGRR.
struct ColourBand {
    int left = 0;
    int right = 0;
    std::uint32_t colour = 0;
    bool operator==(const ColourBand&) const = default;
};

struct GradientPlan {
    std::vector<ColourBand> bands;  // painted in this order, each from the top to below the bottom
    int backgroundFrom = 0;         // columns from here to the client width take the background colour
};

// Columns the fill reaches: position / maximum of the client width (the minimum is not
// subtracted). Nothing when the bar is empty: position at or below the minimum, above the
// maximum, or a maximum of zero.
std::optional<int> MeterFilledWidth(int position, int minimum, int maximum, int clientWidth);

// The bands from the start colour at the left edge towards the end colour at the right edge,
// one per step of the largest colour component difference, up to the first band that ends
// beyond filledWidth. Equal colours have no steps: the fill is then one solid band of that
// colour, exactly filledWidth wide.
GradientPlan PlanGradient(std::uint32_t startColour, std::uint32_t endColour, int clientWidth,
                          int filledWidth);

// The percentage shown on the bar: position * 100 / maximum with no decimals, e.g. "50%".
std::string MeterPercentText(int position, int maximum);

}  // namespace hx::controls
