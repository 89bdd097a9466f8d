// Text from the air (an SSID) reaches a screen escaped on every path: hxctl's texts for
// people and for scripts, monitor's lines, the tray tooltip and the balloon. An SSID of
// terminal sequences must not retitle or clear the user's console.
#include <gtest/gtest.h>

#include "app/TrayRule.h"
#include "auth/JoinFailureNotice.h"
#include "tools/hxctl/MonitorEvents.h"
#include "tools/hxctl/ReplyText.h"

namespace hx::ctl {
namespace {

TEST(AirText, IsEscapedOnEveryOutputPath) {
    const std::string ssid = "\x1B]0;owned\x07\x1B[2J\xC2\x9B" "Caf\xC3\xA9";
    const std::string shown = "\\x1B]0;owned\\x07\\x1B[2J\\xC2\\x9BCaf\xC3\xA9";
    ControlRecord down, up;
    down.Set("adapter", "yes").Set("link", "down");
    up.Set("adapter", "yes").Set("link", "up").Set("ssid", ssid).Set("bssid", "00-11-22-33-44-55").Set("channel", "6");
    LinkStatus link;
    link.connectState = ConnectState::Associated;
    link.ssid = ssid;
    link.linkQuality = 80;
    const struct { const char* path; std::string text; } paths[] = {
        {"status", StatusText(up, false)},
        {"-t status", StatusText(up, true)},
        {"scan", SurveyText({up}, false)},
        {"-t scan", SurveyText({up}, true)},
        {"monitor", EventText(EventsBetween(down, up).at(0))},
        {"tooltip", TrayTooltip(TraySet::GreenBars, link, false)},
        {"balloon", JoinFailureText(ssid)},
    };
    for (const auto& p : paths) {
        EXPECT_NE(p.text.find(shown), std::string::npos) << p.path << ": " << p.text;
        EXPECT_EQ(p.text.find_first_of("\x1B\x07"), std::string::npos) << p.path;
    }
}

}  // namespace
}  // namespace hx::ctl
