#include <gtest/gtest.h>

#include <optional>

#include "app/PageOrder.h"
#include "tests/fakes/RecordingShellPort.h"

namespace hx {
namespace {

using test::RecordingShellPort;

TEST(PageOrder, CtrlKeysStepThroughTheLabelsAndWrapRound) {
    constexpr PageKey Tab = PageKey::Tab, Down = PageKey::PageDown, Up = PageKey::PageUp;
    struct Case {
        PageId shown;
        PageKey key;
        bool control, shift;
        std::optional<PageId> to;
        bool inColumn = false;
    };
    const Case cases[] = {
        {PageId::LinkInfo, Tab, true, false, PageId::Configuration},
        {PageId::Configuration, Down, true, false, PageId::Encryption},
        {PageId::Encryption, Down, true, true, PageId::SiteSurvey},   // Shift does not turn PageDown round
        {PageId::SiteSurvey, Tab, true, false, PageId::Profile},
        {PageId::Profile, Tab, true, false, PageId::About},
        {PageId::About, Tab, true, false, PageId::LinkInfo},          // past the last label: the first
        {PageId::About, Down, true, false, PageId::LinkInfo},
        {PageId::LinkInfo, Tab, true, true, PageId::About},           // before the first: the last
        {PageId::LinkInfo, Up, true, false, PageId::About},
        {PageId::Profile, Up, true, false, PageId::SiteSurvey},
        {PageId::Encryption, Tab, true, true, PageId::Configuration},
        // Without Ctrl the keys belong to the controls: Tab moves the focus, PageDown scrolls.
        {PageId::LinkInfo, Tab, false, false, std::nullopt},
        {PageId::LinkInfo, Tab, false, true, std::nullopt},
        {PageId::Profile, Down, false, false, std::nullopt},
        {PageId::Profile, PageKey::Other, true, false, std::nullopt},
        // Arrow keys away from the column belong to the controls.
        {PageId::Profile, PageKey::Down, false, false, std::nullopt},
        // In the column: one step without wrapping, the ends, and the page keys as anywhere.
        {PageId::Encryption, PageKey::Down, false, false, PageId::SiteSurvey, true},
        {PageId::Encryption, PageKey::Up, false, false, PageId::Configuration, true},
        {PageId::About, PageKey::Down, false, false, PageId::About, true},
        {PageId::LinkInfo, PageKey::Up, false, false, PageId::LinkInfo, true},
        {PageId::Profile, PageKey::Home, false, false, PageId::LinkInfo, true},
        {PageId::Configuration, PageKey::End, false, false, PageId::About, true},
        {PageId::About, Tab, true, false, PageId::LinkInfo, true},
        {PageId::Encryption, Tab, false, false, std::nullopt, true},
    };
    for (const Case& c : cases) {
        const std::optional<PageId> to = PageForKey(c.shown, {c.key, c.control, c.shift, c.inColumn});
        EXPECT_EQ(to, c.to) << RecordingShellPort::Name(c.shown) << " key " << static_cast<int>(c.key)
                            << (c.control ? " ctrl" : "") << (c.shift ? " shift" : "")
                            << (c.inColumn ? " in the column" : "");
    }
}

TEST(PageOrder, SixStepsEitherWayComeBackAfterVisitingEveryPage) {
    for (int direction : {1, -1}) {
        PageId page = PageId::Encryption;
        int visited = 0;
        for (int step = 0; step < 6; ++step) {
            page = PageAfter(page, direction);
            visited |= 1 << static_cast<int>(page);
        }
        EXPECT_EQ(page, PageId::Encryption) << direction;
        EXPECT_EQ(visited, 0b111111) << direction;
    }
}

}  // namespace
}  // namespace hx
