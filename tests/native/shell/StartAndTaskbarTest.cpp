// The tray menu's "Start with Windows" over a logon entry in memory, and the choice of an
// icon's picture for the taskbar's theme.
#include <gtest/gtest.h>

#include "app/StartWithWindows.h"
#include "resources/resource.h"
#include "trayicon/TaskbarTheme.h"

namespace hx {
namespace {

struct MemoryRunEntry : RunEntryPort {
    std::optional<std::string> Read() override { return value; }
    bool Write(const std::string& commandLine) override {
        if (refuse) return false;
        value = commandLine;
        return true;
    }
    bool Remove() override {
        if (refuse) return false;
        value.reset();
        return true;
    }
    std::optional<std::string> value;
    bool refuse = false;
};

TEST(StartWithWindows, ToggleWritesTheQuotedPathOrRemovesTheEntry) {
    const std::string program = R"(C:\Program Files\HX\HX88UUtil.exe)";
    struct Case { std::optional<std::string> before; bool refuse; std::optional<std::string> after; bool on; };
    const Case cases[] = {
        {std::nullopt, false, "\"" + program + "\"", true},
        {"", false, "\"" + program + "\"", true},              // an empty entry starts nothing
        {R"("D:\old\HX88UUtil.exe")", false, std::nullopt, false},
        {std::nullopt, true, std::nullopt, false},             // a refused write leaves it off
        {R"("D:\old\HX88UUtil.exe")", true, R"("D:\old\HX88UUtil.exe")", true},
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

TEST(TaskbarTheme, OnlyADarkTaskbarSwapsTheIconsThatVanishOnIt) {
    struct Case { std::optional<std::uint32_t> light; int id; int shown; };
    const Case cases[] = {
        {std::nullopt, IDI_NO_ADAPTER, IDI_NO_ADAPTER}, {1u, IDI_NO_ADAPTER, IDI_NO_ADAPTER},
        {0u, IDI_NO_ADAPTER, IDI_NO_ADAPTER_DARK},      {0u, IDI_MAIN, IDI_MAIN_DARK},
        {2u, IDI_MAIN, IDI_MAIN},                       {0u, IDI_BARS4_GREEN, IDI_BARS4_GREEN},
        {0u, IDI_ZERO_CONFIG, IDI_ZERO_CONFIG},
    };
    for (const Case& c : cases) EXPECT_EQ(IconForTaskbar(c.id, TaskbarIsLight(c.light)), c.shown) << c.id;
}

}  // namespace
}  // namespace hx
