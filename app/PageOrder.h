// The order of the pages as their navigation labels stand in the window, and the keys that
// step through them as in any tabbed window: Ctrl+Tab and Ctrl+PageDown to the next page,
// Ctrl+Shift+Tab and Ctrl+PageUp to the one before, wrapping round at either end.
#pragma once

#include <array>
#include <optional>

#include "app/ShellPort.h"

namespace hx {

inline constexpr std::array<PageId, 6> kPageLabelOrder{
    PageId::LinkInfo, PageId::Configuration, PageId::Encryption,
    PageId::SiteSurvey, PageId::Profile, PageId::About,
};

// The keys that take part; the window system's key codes are mapped onto these.
enum class PageKey { Tab, PageDown, PageUp, Other };

struct PageKeyState {
    PageKey key = PageKey::Other;
    bool control = false;
    bool shift = false;
};

// The page `steps` labels after `from` (before it when negative), wrapping round.
PageId PageAfter(PageId from, int steps);

// The page a key press switches to from the page shown now, or nothing when the press is
// not a page key (it then goes on to the control that has the focus).
std::optional<PageId> PageForKey(PageId shown, const PageKeyState& press);

}  // namespace hx
