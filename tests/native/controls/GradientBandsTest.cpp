#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "controls/GradientBands.h"

namespace hx::controls {
namespace {

constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b) << 16;
}
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGold = 0x00D7FF;
constexpr std::uint32_t kBlue = 0xFF0000;

TEST(GradientBandsTest, FilledWidth) {
    struct Case {
        int position, minimum, maximum, width;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {0, 0, 100, 172, std::nullopt},    // at the minimum: empty
        {-3, 0, 100, 172, std::nullopt},   // below it
        {101, 0, 100, 172, std::nullopt},  // above the maximum: empty, not full
        {1000, 0, 100, 172, std::nullopt},
        {1, 0, 100, 172, 1},               // 1.72 columns
        {50, 0, 100, 172, 86},
        {87, 0, 100, 172, 149},            // 149.64
        {100, 0, 100, 172, 172},
        {21, 20, 100, 172, 36},            // the minimum is not subtracted: 0.21 * 172
        {20, 20, 100, 172, std::nullopt},
        {5, 0, 0, 172, std::nullopt},      // no range
        {-5, -10, 0, 172, std::nullopt},
        {-5, -10, 100, 172, 0},            // below zero stays on the bar
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MeterFilledWidth(c.position, c.minimum, c.maximum, c.width), c.expected)
            << c.position << " in " << c.minimum << ".." << c.maximum;
    }
}

TEST(GradientBandsTest, RedToGoldHalfFullEndsOnTheFirstBandEdgePastTheMiddle) {
    // 172 columns, 215 steps of green: a band is 0.8 columns wide, band k has green k.
    // Band 107 covers [85, 86), band 108 covers [86, 87): the first edge beyond 86.
    const GradientPlan plan = PlanGradient(kRed, kGold, 172, 86);
    ASSERT_EQ(plan.bands.size(), 109u);
    EXPECT_EQ(plan.bands.front(), (ColourBand{0, 0, Rgb(255, 0, 0)}));
    EXPECT_EQ(plan.bands[107], (ColourBand{85, 86, Rgb(255, 107, 0)}));
    EXPECT_EQ(plan.bands.back(), (ColourBand{86, 87, Rgb(255, 108, 0)}));
    EXPECT_EQ(plan.backgroundFrom, 87);
}

TEST(GradientBandsTest, FullBarReachesTheRightEdgeInTheEndColourStep) {
    const GradientPlan plan = PlanGradient(kRed, kGold, 172, 172);
    ASSERT_EQ(plan.bands.size(), 215u);
    EXPECT_EQ(plan.bands.back(), (ColourBand{171, 172, Rgb(255, 214, 0)}));
    EXPECT_EQ(plan.backgroundFrom, 172);
}

TEST(GradientBandsTest, DecreasingComponentsTruncateTowardsTheEndColour) {
    // Blue to red: red rises and blue falls by one per band over 255 bands.
    const GradientPlan plan = PlanGradient(kBlue, kRed, 510, 510);
    ASSERT_EQ(plan.bands.size(), 255u);
    EXPECT_EQ(plan.bands[0], (ColourBand{0, 2, Rgb(0, 0, 255)}));
    EXPECT_EQ(plan.bands[100], (ColourBand{200, 202, Rgb(100, 0, 155)}));
    EXPECT_EQ(plan.bands[254], (ColourBand{508, 510, Rgb(254, 0, 1)}));
}

TEST(GradientBandsTest, BandsTileTheFilledPartWithoutGapsForAnyWidth) {
    // Single-precision band edges can land a column short of the width (109 columns in
    // 215 steps ends at 108): the last band must still close the bar.
    const std::uint32_t pairs[][2] = {{kRed, kGold}, {kRed, kBlue}, {0x102030, 0x112233}, {0, 0x070707}};
    for (const auto& pair : pairs) {
        for (int width = 1; width <= 400; ++width) {
            for (const int filled : {width / 3, width / 2, width}) {
                const GradientPlan plan = PlanGradient(pair[0], pair[1], width, filled);
                int covered = 0;
                for (const ColourBand& band : plan.bands) {
                    ASSERT_EQ(band.left, covered) << "width " << width;
                    ASSERT_GE(band.right, band.left);
                    covered = band.right;
                }
                ASSERT_EQ(covered, plan.backgroundFrom) << "width " << width;
                ASSERT_GE(covered, filled) << "width " << width << " filled " << filled;
                ASSERT_LE(covered, width);
            }
        }
    }
    EXPECT_EQ(PlanGradient(kRed, kGold, 109, 109).bands.back().right, 109);
}

TEST(GradientBandsTest, EqualColoursFillSolidToTheFilledWidth) {
    struct Case {
        int width, filled;
    };
    for (const Case c : {Case{172, 86}, Case{172, 172}, Case{172, 0}}) {
        const GradientPlan plan = PlanGradient(kGold, kGold, c.width, c.filled);
        if (c.filled == 0) {
            EXPECT_TRUE(plan.bands.empty());
        } else {
            ASSERT_EQ(plan.bands.size(), 1u);
            EXPECT_EQ(plan.bands[0], (ColourBand{0, c.filled, kGold}));
        }
        EXPECT_EQ(plan.backgroundFrom, c.filled);
    }
}

TEST(GradientBandsTest, PercentText) {
    EXPECT_EQ(MeterPercentText(50, 100), "50%");
    EXPECT_EQ(MeterPercentText(100, 100), "100%");
    EXPECT_EQ(MeterPercentText(2, 3), "67%");
    EXPECT_EQ(MeterPercentText(30, 60), "50%");
}

}  // namespace
}  // namespace hx::controls
