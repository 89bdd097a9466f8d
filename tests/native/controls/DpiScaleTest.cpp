#include <gtest/gtest.h>

#include <climits>

#include "controls/DpiScale.h"

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

}  // namespace
}  // namespace hx::controls
