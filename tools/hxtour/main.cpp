// Drives the running utility one step at a time, through the ways a user and Windows reach
// it: the tray icon's notifications, the navigation labels, the pages' controls, the
// message boxes and the tray menu. The run command strings steps together and takes a
// picture between them. Each step waits up to its time limit and exits 0 when it is done,
// 1 when it could not be done (with the reason on stderr), 2 on a usage error.
//
//   hxtour open [s]                      double-click the tray icon until the window shows
//   hxtour hide                          close the window as its close button does (to the tray)
//   hxtour page <page>                   click the page's navigation label
//   hxtour wait-text <page> <id> <text> [s]  until a control's text starts with <text>
//   hxtour wait-rows [s]                 until the Site Survey list shows networks
//   hxtour select <ssid>                 select the first Site Survey row of that network
//   hxtour list <page> <id>              print the items of a list box, one a line
//   hxtour set-text <page> <id> <text>   put text into a control, as typing does
//   hxtour press <page> <id>             click a button of the page
//   hxtour answer <caption> <yes|no|ok> [s]  answer the message box with that caption
//   hxtour editor-name <name> [s]        name the profile in the open profile editor
//   hxtour editor-ok                     close the profile editor with OK
//   hxtour tray-menu [s]                 right-click the tray icon until its menu shows
//   hxtour menu-exit                     choose "Exit" in the open tray menu
//   hxtour wait-exit [s]                 until the utility's window is gone
// Pages: linkinfo configuration encryption sitesurvey profile about.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/win32/UtilityWindow.h"
#include "resources/resource.h"
#include "tests/win/common/RemoteListView.h"

namespace {

constexpr UINT kTrayCallback = 0x125E;

struct PageMark {
    const char* name;
    int label;
    int controlId;       // a control only this page has with this class
    const char* controlClass;
};
constexpr PageMark kPages[] = {
    {"linkinfo", IDC_NAV_LINK_INFO, IDC_LI_QUALITY_METER, "msctls_progress32"},
    {"configuration", IDC_NAV_CONFIGURATION, IDC_CFG_REGION, "ComboBox"},
    {"encryption", IDC_NAV_ENCRYPTION, IDC_WEP_PASSPHRASE, "Edit"},
    {"sitesurvey", IDC_NAV_SITE_SURVEY, IDC_SITE_LIST, "SysListView32"},
    {"profile", IDC_NAV_PROFILE, IDC_PROF_LIST, "ListBox"},
    {"about", IDC_NAV_ABOUT, IDC_ABOUT_MAC, "Edit"},
};

int Fail(const std::string& why) {
    std::fprintf(stderr, "hxtour: %s\n", why.c_str());
    return 1;
}

template <typename F>
bool WaitUntil(DWORD limitMs, F&& done) {
    const DWORD start = ::GetTickCount();
    while (true) {
        if (done()) return true;
        if (::GetTickCount() - start >= limitMs) return done();
        ::Sleep(100);
    }
}

DWORD Seconds(int argc, char** argv, int index, int fallback) {
    return static_cast<DWORD>((argc > index ? std::atoi(argv[index]) : fallback) * 1000);
}

HWND MainWindow() { return hx::win::FindUtilityWindow(); }

std::string Text(HWND hwnd) {
    char text[512] = {};
    ::SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

const PageMark* FindPage(const char* name) {
    for (const PageMark& p : kPages)
        if (std::strcmp(p.name, name) == 0) return &p;
    return nullptr;
}

HWND PageWindow(HWND main, const PageMark& mark) {
    HWND frame = ::GetDlgItem(main, IDC_PAGE_FRAME);
    for (HWND page = ::GetWindow(frame, GW_CHILD); page != nullptr; page = ::GetWindow(page, GW_HWNDNEXT)) {
        char cls[32] = {};
        ::GetClassNameA(::GetDlgItem(page, mark.controlId), cls, sizeof cls);
        if (::lstrcmpiA(cls, mark.controlClass) == 0) return page;
    }
    return nullptr;
}

// A control of a page, given the page's name and the control's id.
HWND PageControl(const char* pageName, const char* id) {
    const PageMark* mark = FindPage(pageName);
    HWND main = MainWindow();
    if (mark == nullptr || main == nullptr) return nullptr;
    HWND page = PageWindow(main, *mark);
    return page == nullptr ? nullptr : ::GetDlgItem(page, std::atoi(id));
}

// A visible dialog of the utility's process with this caption (message boxes, the editor).
struct DialogSearch {
    DWORD processId;
    const char* caption;
    int controlId;  // or a control it must hold, when no caption is given
    HWND found;
};
BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    char cls[16] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (std::strcmp(cls, "#32770") != 0 || pid != search->processId || !::IsWindowVisible(hwnd)) return TRUE;
    const bool match = search->caption != nullptr ? Text(hwnd) == search->caption
                                                  : ::GetDlgItem(hwnd, search->controlId) != nullptr;
    if (match && hwnd != MainWindow()) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
HWND UtilityDialog(const char* caption, int controlId) {
    HWND main = MainWindow();
    if (main == nullptr) return nullptr;
    DialogSearch search{0, caption, controlId, nullptr};
    ::GetWindowThreadProcessId(main, &search.processId);
    ::EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Posted: the click's handler may run a modal loop, which must not hold this program.
void Click(HWND button) {
    ::PostMessageA(::GetParent(button), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
}

// At start-up the window shows for a moment before it hides in the tray, and a heartbeat
// tick without an adapter ready hides it again: open means shown, and still shown after the
// next tick.
int Open(DWORD limit) {
    const bool shown = WaitUntil(limit, [&] {
        HWND main = MainWindow();
        if (main == nullptr) return false;
        if (!::IsWindowVisible(main)) {
            ::PostMessageA(main, kTrayCallback, 1, WM_LBUTTONDBLCLK);
            ::Sleep(200);
            if (!::IsWindowVisible(main)) return false;
        }
        ::Sleep(1500);
        return ::IsWindowVisible(main) != FALSE;
    });
    return shown ? 0 : Fail("the window did not open (no adapter ready?)");
}

// The close button's system command carries the cursor position: the window hides.
int Hide() {
    HWND main = MainWindow();
    if (main == nullptr) return Fail("the utility is not running");
    RECT frame{};
    ::GetWindowRect(main, &frame);
    ::PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(frame.right - 10, frame.top + 5));
    return WaitUntil(3000, [&] { return !::IsWindowVisible(main); }) ? 0 : Fail("the window stayed");
}

int ShowPage(const char* name) {
    const PageMark* mark = FindPage(name);
    HWND main = MainWindow();
    if (mark == nullptr) return Fail(std::string("no page ") + name);
    if (main == nullptr) return Fail("the utility is not running");
    ::SendMessageA(main, WM_COMMAND, MAKEWPARAM(mark->label, STN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(main, mark->label)));
    HWND page = PageWindow(main, *mark);
    return page != nullptr && ::IsWindowVisible(page) ? 0 : Fail(std::string("the page did not show: ") + name);
}

HWND SurveyList() {
    HWND main = MainWindow();
    const PageMark* mark = FindPage("sitesurvey");
    HWND page = main ? PageWindow(main, *mark) : nullptr;
    return page ? ::GetDlgItem(page, IDC_SITE_LIST) : nullptr;
}

int WaitRows(DWORD limit) {
    const bool listed = WaitUntil(limit, [] {
        HWND list = SurveyList();
        return list != nullptr && ::IsWindowEnabled(list) && ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0;
    });
    return listed ? 0 : Fail("the survey list stayed empty");
}

int Select(const char* ssid) {
    HWND list = SurveyList();
    if (list == nullptr) return Fail("no survey list");
    hx::test::RemoteListView rows(list);
    if (!rows.Usable()) return Fail("cannot read the survey list");
    for (int row = 0; row < rows.Count(); ++row) {
        if (rows.Text(row, 1) != ssid) continue;
        return rows.Select(row) ? 0 : Fail(std::string("cannot select the row of ") + ssid);
    }
    return Fail(std::string("no row for ") + ssid);
}

// List box messages below WM_USER are carried across processes by the system; their wide
// forms carry the text whole under Wine too.
int ListItems(HWND list) {
    if (list == nullptr) return Fail("no such list");
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR) return Fail("not a list box");
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length == LB_ERR) return Fail("cannot read item " + std::to_string(i));
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        char narrow[512] = {};
        ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow, sizeof narrow - 1, nullptr, nullptr);
        std::printf("%s\n", narrow);
    }
    return 0;
}

int Answer(const char* caption, const char* answer, DWORD limit) {
    HWND box = nullptr;
    if (!WaitUntil(limit, [&] { return (box = UtilityDialog(caption, 0)) != nullptr; }))
        return Fail(std::string("no message box \"") + caption + "\"");
    const int command = std::strcmp(answer, "yes") == 0 ? IDYES : std::strcmp(answer, "no") == 0 ? IDNO : IDOK;
    ::PostMessageA(box, WM_COMMAND, command, 0);
    return WaitUntil(3000, [&] { return !::IsWindow(box); }) ? 0 : Fail("the message box stayed");
}

int TrayMenu(DWORD limit) {
    HWND main = MainWindow();
    if (main == nullptr) return Fail("the utility is not running");
    HWND menu = nullptr;
    const bool shown = WaitUntil(limit, [&] {
        menu = ::FindWindowA("#32768", nullptr);
        if (menu != nullptr && ::IsWindowVisible(menu)) return true;
        ::PostMessageA(main, kTrayCallback, 1, WM_RBUTTONDOWN);
        ::Sleep(300);
        menu = ::FindWindowA("#32768", nullptr);
        return menu != nullptr && ::IsWindowVisible(menu);
    });
    return shown ? 0 : Fail("the tray menu did not show");
}

// The menu's own keyboard handling: the last item ("Exit") and Enter.
int MenuExit() {
    HWND menu = ::FindWindowA("#32768", nullptr);
    if (menu == nullptr || !::IsWindowVisible(menu)) return Fail("no menu open");
    ::PostMessageA(menu, WM_KEYDOWN, VK_END, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string step = argv[1];
    if (step == "open") return Open(Seconds(argc, argv, 2, 15));
    if (step == "hide") return Hide();
    if (step == "page" && argc > 2) return ShowPage(argv[2]);
    if (step == "wait-text" && argc > 4) {
        const std::string wanted = argv[4];
        const bool seen = WaitUntil(Seconds(argc, argv, 5, 10), [&] {
            HWND control = PageControl(argv[2], argv[3]);
            return control != nullptr && Text(control).rfind(wanted, 0) == 0;
        });
        return seen ? 0 : Fail("\"" + wanted + "\" never showed; last: \"" + Text(PageControl(argv[2], argv[3])) + "\"");
    }
    if (step == "wait-rows") return WaitRows(Seconds(argc, argv, 2, 15));
    if (step == "select" && argc > 2) return Select(argv[2]);
    if (step == "list" && argc > 3) return ListItems(PageControl(argv[2], argv[3]));
    if (step == "set-text" && argc > 4) {
        HWND control = PageControl(argv[2], argv[3]);
        if (control == nullptr) return Fail("no such control");
        ::SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
        return 0;
    }
    if (step == "press" && argc > 3) {
        HWND button = PageControl(argv[2], argv[3]);
        if (button == nullptr) return Fail("no such button");
        Click(button);
        return 0;
    }
    if (step == "answer" && argc > 3) return Answer(argv[2], argv[3], Seconds(argc, argv, 4, 10));
    if (step == "editor-name" && argc > 2) {
        HWND editor = nullptr;
        if (!WaitUntil(Seconds(argc, argv, 3, 10), [&] { return (editor = UtilityDialog(nullptr, IDC_ED_NAME)) != nullptr; }))
            return Fail("the profile editor did not open");
        ::SendMessageA(::GetDlgItem(editor, IDC_ED_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
        return 0;
    }
    if (step == "editor-ok") {
        HWND editor = UtilityDialog(nullptr, IDC_ED_NAME);
        if (editor == nullptr) return Fail("the profile editor is not open");
        Click(::GetDlgItem(editor, IDC_ED_OK));
        return WaitUntil(3000, [&] { return !::IsWindow(editor); }) ? 0 : Fail("the editor stayed open");
    }
    if (step == "tray-menu") return TrayMenu(Seconds(argc, argv, 2, 5));
    if (step == "menu-exit") return MenuExit();
    if (step == "wait-exit")
        return WaitUntil(Seconds(argc, argv, 2, 10), [] { return MainWindow() == nullptr; }) ? 0
                                                                                             : Fail("the utility still runs");
    std::fprintf(stderr, "hxtour: unknown step %s\n", step.c_str());
    return 2;
}
