#include <gtest/gtest.h>

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

struct TooltipCase {
    const char* what;
    int set;
    int connectState;
    std::string ssid;
    int quality;
    std::string expected;
};

TEST(TrayRule, TooltipNamesTheUtilityAndTheLinkWithinTheRecord) {
    const std::string longSsid(32, 'W');
    // Longer than any SSID the adapter reports; the cut for the record falls between the
    // two bytes of the "é".
    const std::string overlong = std::string(48, 'a') + "\xC3\xA9" + "bb";
    const TooltipCase cases[] = {
        {"a link", 5, ConnectState::Associated, "Open-Lobby", 80, "HX-88U: Open-Lobby, 80 %"},
        {"quality kept within 0..100", 9, ConnectState::Associated, "Lab", 140, "HX-88U: Lab, 100 %"},
        {"the longest SSID fits whole", 5, ConnectState::Associated, longSsid, 100, "HX-88U: " + longSsid + ", 100 %"},
        {"control characters", 3, ConnectState::Associated, "a\nb\x7F", 7, "HX-88U: a?b?, 7 %"},
        {"not associated", 1, ConnectState::NotAssociated, "Wanted", 0, "HX-88U: not connected"},
        {"associated without an SSID", 1, ConnectState::Associated, "", 0, "HX-88U: not connected"},
        {"no adapter", TraySet::NoAdapter, ConnectState::Associated, "Old", 50, "HX-88U: no adapter"},
        {"Zero Configuration", TraySet::ZeroConfiguration, ConnectState::Associated, "Old", 50,
         "HX-88U: controlled by Windows Zero Configuration"},
        {"too long for the record: cut before the quality, never inside a character", 5,
         ConnectState::Associated, overlong, 42,
         "HX-88U: " + std::string(48, 'a') + ", 42 %"},
    };
    for (const TooltipCase& c : cases) {
        LinkStatus link;
        link.connectState = c.connectState;
        link.ssid = c.ssid;
        link.linkQuality = c.quality;
        const std::string tip = TrayTooltip(c.set, link);
        EXPECT_EQ(tip, c.expected) << c.what;
        EXPECT_LE(tip.size(), kTrayTooltipMaxBytes) << c.what;
    }
}

}  // namespace
}  // namespace hx
