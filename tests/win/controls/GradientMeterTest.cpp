#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "ControlHarness.h"
#include "controls/win32/GradientMeter.h"

namespace hx::test {
namespace {

using win::GradientMeter;

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGold = 0x00D7FF;
constexpr int kWidth = 172;  // 0.8 columns per band from red to gold (215 bands)
constexpr int kHeight = 20;

class GradientMeterTest : public ::testing::Test {
protected:
    void SetUp() override {
        bar_ = parent_.AddChild(PROGRESS_CLASSA, "", 0, 10, 10, kWidth, kHeight, 1030);
        RECT client;
        ::GetClientRect(bar_, &client);
        ASSERT_EQ(client.right, kWidth);
        ASSERT_EQ(client.bottom, kHeight);
        ASSERT_TRUE(meter_.Attach(parent_.Hwnd(), 1030));
        meter_.SetStartColour(kRed);
        meter_.SetEndColour(kGold);
        meter_.SetRange(0, 100);
        buttonFace_ = ::GetSysColor(COLOR_BTNFACE);
    }

    // The row at y of the meter painted into memory.
    std::vector<COLORREF> PrintedRow(int y) {
        Canvas canvas(kWidth, kHeight, kSentinel);
        canvas.PrintClient(bar_);
        std::vector<COLORREF> row;
        for (int x = 0; x < kWidth; ++x) row.push_back(canvas.Pixel(x, y));
        return row;
    }

    ReflectingParent parent_;
    HWND bar_ = nullptr;
    GradientMeter meter_;
    COLORREF buttonFace_ = 0;
};

TEST_F(GradientMeterTest, FillAndBandColoursByPosition) {
    struct Probe {
        int x;
        COLORREF colour;  // 0xFFFFFFFF: the button face
    };
    constexpr COLORREF kFace = 0xFFFFFFFF;
    struct Case {
        int position;
        std::vector<Probe> probes;
        int filledColumns;  // columns not in the button face
    };
    const Case cases[] = {
        {0, {{0, kFace}, {171, kFace}}, 0},
        // Band k has green k; x = 0 falls in band 1 (band 0 is empty), x = 40 in band 51.
        {100, {{0, RGB(255, 1, 0)}, {40, RGB(255, 51, 0)}, {86, RGB(255, 108, 0)}, {171, RGB(255, 214, 0)}}, kWidth},
        // Half: 86 columns, and the fill runs on to the end of the band that crosses 86.
        {50, {{85, RGB(255, 107, 0)}, {86, RGB(255, 108, 0)}, {87, kFace}, {171, kFace}}, 87},
        {101, {{0, kFace}, {86, kFace}, {171, kFace}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "position " << c.position);
        meter_.SetPosition(c.position);
        for (const int y : {0, kHeight / 2, kHeight - 1}) {
            const std::vector<COLORREF> row = PrintedRow(y);
            for (const Probe& probe : c.probes) {
                EXPECT_EQ(row[probe.x], probe.colour == kFace ? buttonFace_ : probe.colour) << "x " << probe.x << " y " << y;
            }
            int filled = 0;
            for (const COLORREF pixel : row) filled += pixel != buttonFace_;
            EXPECT_EQ(filled, c.filledColumns) << "y " << y;
        }
    }
}

TEST_F(GradientMeterTest, EqualColoursFillSolidlyToThePosition) {
    meter_.SetStartColour(kGold);
    meter_.SetEndColour(kGold);
    meter_.SetPosition(50);
    const std::vector<COLORREF> row = PrintedRow(kHeight / 2);
    EXPECT_EQ(row[0], kGold);
    EXPECT_EQ(row[85], kGold);
    EXPECT_EQ(row[86], buttonFace_);
    EXPECT_EQ(row[171], buttonFace_);
}

TEST_F(GradientMeterTest, PercentTextOnlyWhenAskedAndCentred) {
    meter_.SetPosition(50);
    for (const bool show : {false, true}) {
        meter_.SetShowText(show);
        Canvas canvas(kWidth, kHeight, kSentinel);
        canvas.PrintClient(bar_);
        int count = 0, left = kWidth, right = -1;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (canvas.Pixel(x, y) != kWhite) continue;
                ++count;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        if (!show) {
            EXPECT_EQ(count, 0);
        } else {
            EXPECT_GT(count, 10);
            EXPECT_NEAR((left + right) / 2, kWidth / 2, 3);
        }
    }
}

TEST_F(GradientMeterTest, OnScreenAStepAboveTheMaximumEmptiesTheBar) {
    // The native bar stops at 100: it has no reason to repaint for 150.
    for (const auto& [position, filled] : {std::pair{100, true}, std::pair{150, false}, std::pair{50, true}}) {
        meter_.SetPosition(position);
        EXPECT_TRUE(::GetUpdateRect(bar_, nullptr, FALSE)) << "no repaint due for position " << position;
        ::UpdateWindow(bar_);
        PumpMessages();
        Canvas screen(kWidth, kHeight, kSentinel);
        screen.CopyFromWindow(bar_);
        EXPECT_EQ(screen.Pixel(40, kHeight / 2), filled ? RGB(255, 51, 0) : buttonFace_) << "position " << position;
    }
}

TEST_F(GradientMeterTest, KeepsTheNativeBarInStep) {
    meter_.SetRange(10, 90);
    EXPECT_EQ(meter_.Position(), 10);
    PBRANGE range{};
    ::SendMessageA(bar_, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 10);
    EXPECT_EQ(range.iHigh, 90);
    meter_.SetPosition(40);
    EXPECT_EQ(::SendMessageA(bar_, PBM_GETPOS, 0, 0), 40);
    meter_.SetRange(10, 90);  // back to the start of the range, the native bar too
    meter_.SetPosition(10);
    EXPECT_EQ(::SendMessageA(bar_, PBM_GETPOS, 0, 0), 10);

    Canvas canvas(kWidth, kHeight, kSentinel);
    EXPECT_NE(::SendMessageA(bar_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0), 0);
    EXPECT_EQ(canvas.Count(kSentinel, {0, 0, kWidth, kHeight}), kWidth * kHeight) << "erasing paints nothing";
}

}  // namespace
}  // namespace hx::test
