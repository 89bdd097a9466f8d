#include <gtest/gtest.h>

#include <string>

#include "controls/CharacterFilter.h"

namespace hx::controls {
namespace {

constexpr const char* kHex = "abcdefABCDEF0123456789";

enum class SetState { NeverAssigned, Empty, Hex };

CharacterFilter MakeFilter(SetState state) {
    CharacterFilter filter;
    if (state == SetState::Empty) filter.SetAllowedCharacters("");
    if (state == SetState::Hex) filter.SetAllowedCharacters(kHex);
    return filter;
}

struct TypedCase {
    const char* name;
    SetState set;
    unsigned code;
    bool shift;
    bool ctrl;
    CharacterAction expected;
};

TEST(CharacterFilterTest, TypedCharacters) {
    using A = CharacterAction;
    const TypedCase cases[] = {
        {"hex refuses g", SetState::Hex, 'g', false, false, A::Discard},
        {"hex refuses space", SetState::Hex, ' ', false, false, A::Discard},
        {"hex refuses minus", SetState::Hex, '-', false, false, A::Discard},
        {"hex takes A", SetState::Hex, 'A', false, false, A::Pass},
        {"hex takes f", SetState::Hex, 'f', false, false, A::Pass},
        {"hex takes 9", SetState::Hex, '9', false, false, A::Pass},
        {"hex keeps backspace", SetState::Hex, 0x08, false, false, A::Pass},
        {"hex drops Ctrl+C", SetState::Hex, 0x03, false, true, A::Discard},
        {"hex drops Ctrl+Z", SetState::Hex, 0x1A, false, true, A::Discard},
        {"hex drops NUL", SetState::Hex, 0, false, false, A::Discard},
        {"hex drops a code past one byte", SetState::Hex, 0x141, false, false, A::Discard},
        {"hex: Shift+minus pastes", SetState::Hex, '-', true, false, A::Paste},
        {"hex: Ctrl+v pastes", SetState::Hex, 'v', false, true, A::Paste},
        {"hex: v alone is refused", SetState::Hex, 'v', false, false, A::Discard},
        {"hex: the Ctrl+V character pastes", SetState::Hex, 0x16, false, true, A::Paste},
        {"empty set takes g", SetState::Empty, 'g', false, false, A::Pass},
        {"empty set takes space", SetState::Empty, ' ', false, false, A::Pass},
        {"empty set passes Ctrl+C", SetState::Empty, 0x03, false, true, A::Pass},
        {"empty set: Shift+minus pastes", SetState::Empty, '-', true, false, A::Paste},
        {"empty set: the Ctrl+V character pastes", SetState::Empty, 0x16, false, true, A::Paste},
        {"never assigned takes g", SetState::NeverAssigned, 'g', false, false, A::Pass},
        {"never assigned takes a high code", SetState::NeverAssigned, 0x141, false, false, A::Pass},
    };
    for (const TypedCase& c : cases) {
        const CharacterFilter filter = MakeFilter(c.set);
        EXPECT_EQ(filter.Classify(c.code, c.shift, c.ctrl), c.expected) << c.name;
    }
}

TEST(CharacterFilterTest, PastedText) {
    struct Case {
        SetState set;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {SetState::Hex, "12-34-AB", "1234AB"},
        {SetState::Hex, "g g", ""},
        {SetState::Hex, "", ""},
        {SetState::Hex, "\xE9" "a\tB\r\n0", "aB0"},
        {SetState::Hex, std::string("1\0" "2", 3), "12"},
        {SetState::Empty, "12-34-AB g", "12-34-AB g"},
        {SetState::NeverAssigned, "x\ty", "x\ty"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MakeFilter(c.set).FilterText(c.text), c.expected) << "text: " << c.text;
    }
}

TEST(CharacterFilterTest, SwitchingSetsLiftsAndRestoresTheRestriction) {
    CharacterFilter filter;
    EXPECT_FALSE(filter.Restricting());
    filter.SetAllowedCharacters(kHex);
    EXPECT_TRUE(filter.Restricting());
    EXPECT_EQ(filter.FilterText("xyz1"), "1");
    filter.SetAllowedCharacters("");
    EXPECT_FALSE(filter.Restricting());
    EXPECT_EQ(filter.FilterText("xyz1"), "xyz1");
    filter.SetAllowedCharacters(kHex);
    EXPECT_EQ(filter.Classify('x', false, false), CharacterAction::Discard);
}

}  // namespace
}  // namespace hx::controls
