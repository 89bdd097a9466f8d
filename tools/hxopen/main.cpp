// Opens the running utility's window as the tray's "Open" does, and optionally brings a
// page to the front as a click on its navigation label does. For screenshots and demos:
//   hxopen [linkinfo|configuration|encryption|sitesurvey|profile|about] [seconds] [button id]
//   hxopen exit          ends the utility as the tray's "Exit" does
// Waits up to the given time (default 10 s) for the utility to have an adapter ready. With a
// button id it then presses that button of the page, as a click does (e.g. 1040, the
// Profile page's "Modify", to show the profile editor).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/UtilityState.h"
#include "resources/resource.h"

namespace {

int LabelOf(const char* page) {
    const struct { const char* name; int label; } pages[] = {
        {"linkinfo", IDC_NAV_LINK_INFO}, {"configuration", IDC_NAV_CONFIGURATION},
        {"encryption", IDC_NAV_ENCRYPTION}, {"sitesurvey", IDC_NAV_SITE_SURVEY},
        {"profile", IDC_NAV_PROFILE}, {"about", IDC_NAV_ABOUT}};
    for (const auto& p : pages)
        if (std::strcmp(p.name, page) == 0) return p.label;
    return 0;
}

// Posts a click of the button with this id to the page in front (its handler may run a
// modal dialog, which must not hold this program).
void PressOnShownPage(HWND window, int buttonId) {
    HWND frame = ::GetDlgItem(window, IDC_PAGE_FRAME);
    for (HWND page = ::GetWindow(frame, GW_CHILD); page != nullptr; page = ::GetWindow(page, GW_HWNDNEXT)) {
        HWND button = ::GetDlgItem(page, buttonId);
        if (button != nullptr && ::IsWindowVisible(page)) {
            ::PostMessageA(page, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
            return;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "exit") == 0) {
        HWND window = ::FindWindowA(nullptr, hx::kMainWindowTitle);
        if (window == nullptr) return 1;
        ::PostMessageA(window, WM_COMMAND, ID_TRAY_EXIT, 0);
        return 0;
    }
    const int label = argc > 1 ? LabelOf(argv[1]) : IDC_NAV_LINK_INFO;
    if (label == 0) {
        std::fprintf(stderr, "usage: hxopen [linkinfo|configuration|encryption|sitesurvey|profile|about] [seconds]\n");
        return 2;
    }
    const DWORD limitMs = static_cast<DWORD>((argc > 2 ? std::atoi(argv[2]) : 10) * 1000);
    const DWORD start = ::GetTickCount();
    HWND window = nullptr;
    // "Open" does nothing until the utility has found its adapter: ask again until it shows.
    while (::GetTickCount() - start < limitMs) {
        window = ::FindWindowA(nullptr, hx::kMainWindowTitle);
        if (window != nullptr) {
            ::PostMessageA(window, WM_COMMAND, ID_TRAY_OPEN, 0);
            ::Sleep(200);
            if (::IsWindowVisible(window)) break;
        } else {
            ::Sleep(200);
        }
    }
    if (window == nullptr || !::IsWindowVisible(window)) {
        std::fprintf(stderr, "the utility's window did not open\n");
        return 1;
    }
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(label, STN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, label)));
    if (argc > 3) PressOnShownPage(window, std::atoi(argv[3]));
    return 0;
}
