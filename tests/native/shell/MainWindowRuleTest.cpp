#include <gtest/gtest.h>

#include "app/MainWindowRule.h"

namespace hx {
namespace {

TEST(MainWindowRule, OpenShowsOnlyAReadyAdapterOutsideZeroConfiguration) {
    const struct {
        int adapterReady;
        int wzc;
        OpenAction expected;
    } cases[] = {
        {0, Wzc::OwnControl, OpenAction::Nothing},
        {0, Wzc::ServiceControl, OpenAction::Nothing},
        {1, Wzc::ServiceControl, OpenAction::ExplainZeroConfiguration},
        {1, Wzc::OwnControl, OpenAction::Show},
        {1, Wzc::OwnNoStop, OpenAction::Show},
        {1, Wzc::Unknown, OpenAction::Show},
    };
    for (const auto& c : cases) {
        UtilityState state;
        state.adapterReady = c.adapterReady;
        state.wzcState = c.wzc;
        EXPECT_EQ(ActionForOpen(state), c.expected) << c.adapterReady << "/" << c.wzc;
    }
}

TEST(MainWindowRule, MinimiseAndCloseHideOrBringForwardByTheCursor) {
    // The platform's codes: 0xF020 minimise, 0xF060 close, 0xF030 maximise, 0xF100 key menu.
    const intptr_t atCursor = (10 << 16) | 300;
    const struct {
        uintptr_t command;
        intptr_t cursor;
        SystemCommandAction expected;
    } cases[] = {
        {0xF060, atCursor, SystemCommandAction::Hide},
        {0xF020, atCursor, SystemCommandAction::Hide},
        {0xF062, atCursor, SystemCommandAction::Hide},  // low bits are not part of the command
        {0xF060, -1, SystemCommandAction::Hide},        // a position left of the primary screen
        {0xF060, 0, SystemCommandAction::BringForward},
        {0xF021, 0, SystemCommandAction::BringForward},
        {0xF030, atCursor, SystemCommandAction::Default},
        {0xF100, 0, SystemCommandAction::Default},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ActionForSystemCommand(c.command, c.cursor), c.expected) << std::hex << c.command << " " << c.cursor;
}

}  // namespace
}  // namespace hx
