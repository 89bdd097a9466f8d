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

namespace {

std::optional<PageId> PageForColumnKey(PageId shown, PageKey key) {
    const int last = static_cast<int>(kPageLabelOrder.size()) - 1;
    int at = 0;
    while (at < last && kPageLabelOrder[static_cast<size_t>(at)] != shown) ++at;
    switch (key) {
    case PageKey::Up: at = at > 0 ? at - 1 : 0; break;
    case PageKey::Down: at = at < last ? at + 1 : last; break;
    case PageKey::Home: at = 0; break;
    case PageKey::End: at = last; break;
    default: return std::nullopt;
    }
    return kPageLabelOrder[static_cast<size_t>(at)];
}

}  // namespace

std::optional<PageId> PageForKey(PageId shown, const PageKeyState& press) {
    if (press.inColumn && !press.control) return PageForColumnKey(shown, press.key);
    if (!press.control) return std::nullopt;
    switch (press.key) {
    case PageKey::Tab: return PageAfter(shown, press.shift ? -1 : 1);
    case PageKey::PageDown: return PageAfter(shown, 1);
    case PageKey::PageUp: return PageAfter(shown, -1);
    default: break;
    }
    return std::nullopt;
}

}  // namespace hx
