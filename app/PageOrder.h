// The order of the pages as their navigation labels stand in the window, and the keys that
// step through them as in any tabbed window: Ctrl+Tab and Ctrl+PageDown to the next page,
// Ctrl+Shift+Tab and Ctrl+PageUp to the one before, wrapping round at either end. In the
// column of labels itself the arrow keys move as in a tab strip: Up and Down to the label
// before and after (staying put at either end), Home and End to the first and the last.
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
enum class PageKey { Tab, PageDown, PageUp, Up, Down, Home, End, Other };

struct PageKeyState {
    PageKey key = PageKey::Other;
    bool control = false;
    bool shift = false;
    bool inColumn = false;  // the focus is on the column of labels
};

// The page `steps` labels after `from` (before it when negative), wrapping round.
PageId PageAfter(PageId from, int steps);

// The page a key press switches to from the page shown now, or nothing when the press is
// not a page key (it then goes on to the control that has the focus). An arrow key in the
// column at its end gives the page shown: the key is used up and nothing moves.
std::optional<PageId> PageForKey(PageId shown, const PageKeyState& press);

}  // namespace hx
