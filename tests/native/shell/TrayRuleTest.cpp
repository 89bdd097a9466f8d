#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/TrayRule.h"

namespace hx {
namespace {

struct TrayCase {
    int linkSpeed;
    int signalStrength;
    int expectedSet;
};

class TrayRuleTest : public ::testing::TestWithParam<TrayCase> {};

TEST_P(TrayRuleTest, PicksTheRateFamilyAndTheBars) {
    LinkStatus link;
    link.linkSpeed = GetParam().linkSpeed;
    link.signalStrength = GetParam().signalStrength;
    EXPECT_EQ(TraySetForLink(link), GetParam().expectedSet)
        << link.linkSpeed << " kbit/s at " << link.signalStrength << " %";
}

INSTANTIATE_TEST_SUITE_P(Sets, TrayRuleTest, ::testing::Values(
    // No signal sample: empty bars, whatever the rate.
    TrayCase{11000, 0, 1}, TrayCase{54000, 0, 1}, TrayCase{0, 0, 1},
    // 802.11b rates are green; 25 % is still one bar, 26 % two, 100 % four.
    TrayCase{1000, 1, 2}, TrayCase{2000, 25, 2}, TrayCase{5500, 26, 3}, TrayCase{11000, 50, 3},
    TrayCase{11000, 51, 4}, TrayCase{11000, 75, 4}, TrayCase{11000, 76, 5}, TrayCase{1000, 100, 5},
    // Every other rate is yellow, 12 and 6 Mbit/s included.
    TrayCase{6000, 25, 6}, TrayCase{12000, 26, 7}, TrayCase{54000, 75, 8}, TrayCase{54000, 100, 9},
    TrayCase{9000, 100, 9}, TrayCase{0, 60, 8},
    // Out-of-range strengths stay within their family's four bar icons.
    TrayCase{11000, 130, 5}, TrayCase{54000, -20, 6}));

TEST(TrayRule, EverySetHasItsOwnIcon) {
    for (size_t a = 0; a < kTraySetIcons.size(); ++a)
        for (size_t b = a + 1; b < kTraySetIcons.size(); ++b)
            EXPECT_NE(kTraySetIcons[a], kTraySetIcons[b]) << "sets " << a << " and " << b;
}

}  // namespace
}  // namespace hx

namespace hx {
namespace {

TEST(TrayRule, TooltipNamesTheUtilityAndTheLinkWithinTheRecord) {
    const int up = ConnectState::Associated, down = ConnectState::NotAssociated;
    // Longer than any SSID the adapter reports; the cut falls inside the two bytes of "é".
    const std::string overlong = std::string(48, 'a') + "\xC3\xA9" + "bb", longest(32, 'W');
    const std::tuple<int, int, std::string, int, bool, std::string> cases[] = {
        {5, up, "Open-Lobby", 80, false, "HX-88U: Open-Lobby, 80 %"},
        {5, up, longest, 140, false, "HX-88U: " + longest + ", 100 %"},
        {3, up, "a\nb\x7F", 7, false, "HX-88U: a?b?, 7 %"},
        {1, down, "Wanted", 0, false, "HX-88U: not connected"},
        {TraySet::NoAdapter, up, "Old", 50, false, "HX-88U: no adapter"},
        {TraySet::ZeroConfiguration, up, "Old", 50, false, "HX-88U: controlled by Windows Zero Configuration"},
        {5, up, overlong, 42, false, "HX-88U: " + std::string(48, 'a') + ", 42 %"},
        // While the simulated adapter is loaded the tooltip says so last; the SSID gives way to it.
        {5, up, "Open-Lobby", 80, true, "HX-88U: Open-Lobby, 80 % (simulated)"},
        {5, up, overlong, 42, true, "HX-88U: " + std::string(37, 'a') + ", 42 % (simulated)"},
        {TraySet::ZeroConfiguration, up, "Old", 50, true, "HX-88U: controlled by Windows Zero Configuration (simulated)"},
        {TraySet::NoAdapter, up, "Old", 50, true, "HX-88U: no adapter (simulated)"},
    };
    for (const auto& [set, state, ssid, quality, simulated, expected] : cases) {
        LinkStatus link;
        link.connectState = state;
        link.ssid = ssid;
        link.linkQuality = quality;
        EXPECT_EQ(TrayTooltip(set, link, simulated), expected) << ssid;
    }
}

}  // namespace
}  // namespace hx
