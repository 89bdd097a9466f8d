#include "tests/win/common/WindowProbe.h"

#include "resources/resource.h"
#include "tests/win/common/UtilityProcess.h"

namespace hx::test {

std::string Text(HWND hwnd) {
    char text[512] = {};
    ::SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND PageHolding(HWND main, int controlId) {
    HWND frame = ::GetDlgItem(main, IDC_PAGE_FRAME);
    for (HWND page = ::GetWindow(frame, GW_CHILD); page != nullptr; page = ::GetWindow(page, GW_HWNDNEXT))
        if (::GetDlgItem(page, controlId) != nullptr) return page;
    return nullptr;
}

bool PageShown(HWND main, int controlId) {
    HWND page = PageHolding(main, controlId);
    return page != nullptr && (::GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string PageText(HWND main, int controlId) {
    HWND page = PageHolding(main, controlId);
    return page == nullptr ? "" : Text(::GetDlgItem(page, controlId));
}

void ClickLabel(HWND main, int labelId) {
    HWND label = ::GetDlgItem(main, labelId);
    ::PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

namespace {
struct OwnedBoxSearch {
    HWND owner;
    HWND box;
};

BOOL CALLBACK FindOwnedBox(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<OwnedBoxSearch*>(lParam);
    char cls[16] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) == "#32770" && ::GetWindow(hwnd, GW_OWNER) == search->owner && ::IsWindowVisible(hwnd)) {
        search->box = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND OwnedMessageBox(HWND owner) {
    OwnedBoxSearch search{owner, nullptr};
    ::EnumWindows(&FindOwnedBox, reinterpret_cast<LPARAM>(&search));
    return search.box;
}

HWND WaitForOwnedMessageBox(HWND owner, std::chrono::milliseconds limit) {
    HWND box = nullptr;
    WaitFor([&] { return (box = OwnedMessageBox(owner)) != nullptr; }, limit);
    return box;
}

std::string MessageBoxText(HWND box) { return Text(::GetDlgItem(box, 0xFFFF)); }

bool OpenFromTray(HWND main, std::chrono::milliseconds limit) {
    return WaitFor([&] {
        ::PostMessageA(main, WM_COMMAND, ID_TRAY_OPEN, 0);
        return WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, std::chrono::milliseconds(150));
    }, limit);
}

}  // namespace hx::test
