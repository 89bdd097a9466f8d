// Where the tray icon's menu opens. A right-click opens it under the pointer. The keyboard
// (the context-menu key or Shift+F10 on the focused icon) reaches the owner as the same
// right-button message, with the pointer anywhere on the screen: the menu then opens at the
// icon, when the shell tells where the icon is.
#pragma once

#include <optional>

namespace hx {

struct TrayPoint {
    int x = 0, y = 0;
    bool operator==(const TrayPoint&) const = default;
};

struct TrayRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The pointer when it lies on the icon (a click) or when the icon's place is unknown or
// empty; otherwise the icon's centre.
TrayPoint TrayMenuPosition(const std::optional<TrayRect>& icon, TrayPoint pointer);

}  // namespace hx
