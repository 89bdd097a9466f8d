#include "tests/win/common/WindowProbe.h"

#include "resources/resource.h"
#include "tests/win/common/TrayProbe.h"
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

HWND PageWith(HWND main, int controlId, const char* controlClass) {
    HWND frame = ::GetDlgItem(main, IDC_PAGE_FRAME);
    for (HWND page = ::GetWindow(frame, GW_CHILD); page != nullptr; page = ::GetWindow(page, GW_HWNDNEXT)) {
        char cls[32] = {};
        ::GetClassNameA(::GetDlgItem(page, controlId), cls, sizeof cls);
        if (::lstrcmpiA(cls, controlClass) == 0) return page;
    }
    return nullptr;
}

void SetControlText(HWND dialog, int id, const std::string& text) {
    ::SendMessageA(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ChooseListEntry(HWND dialog, int id, int position) {
    HWND list = ::GetDlgItem(dialog, id);
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void ClickButton(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
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

namespace {
struct CaptionSearch {
    DWORD processId;
    std::string caption;  // or, when empty, a control the dialog holds
    HWND found;
    int controlId = 0;
    HWND except = nullptr;
};

BOOL CALLBACK FindCaptioned(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<CaptionSearch*>(lParam);
    char cls[16] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    const bool match = search->controlId != 0
                           ? hwnd != search->except && ::GetDlgItem(hwnd, search->controlId) != nullptr
                           : Text(hwnd) == search->caption;
    if (std::string(cls) == "#32770" && pid == search->processId && ::IsWindowVisible(hwnd) && match) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND ProcessDialog(DWORD processId, const std::string& caption) {
    CaptionSearch search{processId, caption, nullptr};
    ::EnumWindows(&FindCaptioned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForProcessDialog(DWORD processId, const std::string& caption, std::chrono::milliseconds limit) {
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = ProcessDialog(processId, caption)) != nullptr; }, limit);
    return dialog;
}

HWND ProcessDialogHolding(DWORD processId, int controlId, HWND except) {
    CaptionSearch search{processId, "", nullptr, controlId, except};
    ::EnumWindows(&FindCaptioned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string MessageBoxText(HWND box) { return Text(::GetDlgItem(box, 0xFFFF)); }

bool OpenFromTray(HWND main, std::chrono::milliseconds limit) {
    // The window's brief appearance at start-up is not an "Open": first the utility is
    // whole (its tray icon comes last) and the window hidden.
    if (!WaitFor([&] { return ::IsWindowVisible(main) == FALSE && TraySetOnScreen() >= 0; }, limit)) return false;
    return WaitFor([&] {
        ::PostMessageA(main, WM_COMMAND, ID_TRAY_OPEN, 0);
        return WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, std::chrono::milliseconds(150));
    }, limit);
}

namespace {

constexpr UINT kTrayCallbackMessage = 4702;
constexpr WPARAM kTrayIconId = 1;

struct MenuSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleMenu(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<MenuSearch*>(data);
    char name[16] = {};
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search->processId || !::IsWindowVisible(hwnd)) return TRUE;
    if (::GetClassNameA(hwnd, name, sizeof name) == 0 || std::string(name) != "#32768") return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND VisibleMenuOf(DWORD processId) {
    MenuSearch search{processId, nullptr};
    ::EnumWindows(&FindVisibleMenu, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND OpenTrayMenu(HWND main, DWORD processId) {
    ::PostMessageA(main, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    WaitFor([&] { return (menu = VisibleMenuOf(processId)) != nullptr; }, std::chrono::seconds(3));
    return menu;
}

void ChooseTrayMenuItem(HWND menu, TrayMenuItem item) {
    for (int i = 0; i <= static_cast<int>(item); ++i) ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace hx::test
