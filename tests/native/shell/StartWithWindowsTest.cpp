// The tray menu's "Start with Windows" over a logon entry in memory: the cases the registry
// test does not reach (an empty entry, a refused write or removal).
#include <gtest/gtest.h>

#include "app/StartWithWindows.h"

namespace hx {
namespace {

struct MemoryRunEntry : RunEntryPort {
    std::optional<std::string> Read() override { return value; }
    bool Write(const std::string& commandLine) override { return !refuse && (value = commandLine, true); }
    bool Remove() override { return !refuse && (value.reset(), true); }
    std::optional<std::string> value;
    bool refuse = false;
};

TEST(StartWithWindows, ToggleWritesTheQuotedPathOrRemovesTheEntry) {
    const std::string program = R"(C:\Program Files\HX\HX88UUtil.exe)", old = R"("D:\old\HX88UUtil.exe")";
    struct Case { std::optional<std::string> before; bool refuse; std::optional<std::string> after; bool on; };
    const Case cases[] = {
        {std::nullopt, false, "\"" + program + "\"", true}, {"", false, "\"" + program + "\"", true},
        {old, false, std::nullopt, false}, {std::nullopt, true, std::nullopt, false}, {old, true, old, true},
    };
    for (const Case& c : cases) {
        MemoryRunEntry entry;
        entry.value = c.before;
        entry.refuse = c.refuse;
        EXPECT_EQ(ToggleStartWithWindows(entry, program), c.on) << c.before.value_or("(none)");
        EXPECT_EQ(entry.value, c.after) << c.before.value_or("(none)");
        EXPECT_EQ(StartsWithWindows(entry), c.on);
    }
}

}  // namespace
}  // namespace hx
