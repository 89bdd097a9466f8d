#include "trayicon/TrayMenuAnchor.h"

namespace hx {

TrayPoint TrayMenuPosition(const std::optional<TrayRect>& icon, TrayPoint pointer) {
    if (!icon || icon->right <= icon->left || icon->bottom <= icon->top) return pointer;
    const bool onIcon = pointer.x >= icon->left && pointer.x < icon->right && pointer.y >= icon->top &&
                        pointer.y < icon->bottom;
    if (onIcon) return pointer;
    return {(icon->left + icon->right) / 2, (icon->top + icon->bottom) / 2};
}

}  // namespace hx
