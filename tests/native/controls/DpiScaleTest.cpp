#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "controls/DpiScale.h"
#include "controls/GradientBands.h"

namespace hx::controls {
namespace {

TEST(DpiScaleTest, LengthsAndFontHeightsRoundToTheNearestPixel) {
    struct Case {
        int length, fromDpi, toDpi, expected;
    };
    const Case cases[] = {
        {10, 96, 96, 10},    {10, 96, 120, 13},     // 12.5 rounds up
        {16, 96, 144, 24},   {32, 96, 192, 64},     // icon sizes
        {-11, 96, 144, -17}, {-17, 144, 96, -11},   // 8 pt: -16.5 rounds away from zero, and back
        {-16, 144, 192, -21}, {1, 96, 72, 1},       // 0.75
        {7, 0, 144, 7},      {7, 96, -1, 7},        // an unknown DPI keeps the length
        {INT_MAX, 96, 192, INT_MAX}, {INT_MIN, 96, 192, INT_MIN},  // no overflow
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RescaleForDpi(c.length, c.fromDpi, c.toDpi), c.expected)
            << c.length << " from " << c.fromDpi << " to " << c.toDpi;
    }
    EXPECT_EQ(ScaleForDpi(10, 144), 15);
}

// The meter's fill keeps its share of the bar when the bar is scaled: it ends within one
// band of position / maximum of the width, at every DPI.
TEST(DpiScaleTest, MeterFillStaysProportionalWhenTheBarIsScaled) {
    constexpr std::uint32_t kRed = 0x0000FF, kGold = 0x00D7FF;
    for (int dpi : {96, 120, 144, 192}) {
        const int width = ScaleForDpi(172, dpi);
        for (int position : {1, 25, 50, 87, 100}) {
            const auto filled = MeterFilledWidth(position, 0, 100, width);
            ASSERT_TRUE(filled.has_value());
            const GradientPlan plan = PlanGradient(kRed, kGold, width, *filled);
            const double share = plan.backgroundFrom / static_cast<double>(width);
            const double band = 1.0 / 215 + 1.0 / width;  // one band, and the column it ends in
            EXPECT_NEAR(share, position / 100.0, band) << position << " at " << dpi << " DPI";
            EXPECT_GE(plan.backgroundFrom, *filled);
        }
    }
}

}  // namespace
}  // namespace hx::controls
