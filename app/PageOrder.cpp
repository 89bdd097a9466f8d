#include "app/PageOrder.h"

namespace hx {

PageId PageAfter(PageId from, int steps) {
    const int count = static_cast<int>(kPageLabelOrder.size());
    int at = 0;
    while (at < count && kPageLabelOrder[static_cast<size_t>(at)] != from) ++at;
    if (at == count) return from;
    const int to = ((at + steps) % count + count) % count;
    return kPageLabelOrder[static_cast<size_t>(to)];
}

std::optional<PageId> PageForKey(PageId shown, const PageKeyState& press) {
    if (!press.control) return std::nullopt;
    switch (press.key) {
    case PageKey::Tab: return PageAfter(shown, press.shift ? -1 : 1);
    case PageKey::PageDown: return PageAfter(shown, 1);
    case PageKey::PageUp: return PageAfter(shown, -1);
    case PageKey::Other: break;
    }
    return std::nullopt;
}

}  // namespace hx
