#include "tests/win/shell/ShellTestSupport.h"

#include "trayicon/win32/TrayIcon.h"

namespace hx::test {
namespace {

NotifyRecorder* g_recorder = nullptr;
std::vector<NotifyRecord> g_records;

BOOL WINAPI RecordNotify(DWORD message, PNOTIFYICONDATAA data) {
    g_records.push_back({message, data->cbSize, data->hWnd, data->uID, data->uFlags,
                         data->uCallbackMessage, data->hIcon, data->szTip});
    return g_recorder ? g_recorder->result : TRUE;
}

struct FindBox {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindBoxProc(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<FindBox*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char cls[32] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == ::GetCurrentProcessId() && std::string(cls) == "#32770" &&
        ::GetWindow(hwnd, GW_OWNER) == search->owner && ::IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

void (*g_soonAction)() = nullptr;

void CALLBACK SoonTimer(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    if (auto action = g_soonAction) {
        g_soonAction = nullptr;
        action();
    }
}

}  // namespace

NotifyRecorder::NotifyRecorder() {
    g_records.clear();
    g_recorder = this;
    win::TrayIcon::SetNotifyFunction(&RecordNotify);
}

NotifyRecorder::~NotifyRecorder() {
    win::TrayIcon::SetNotifyFunction(nullptr);
    g_recorder = nullptr;
}

std::vector<NotifyRecord>& NotifyRecorder::Records() { return g_records; }

void TaskbarTheme::Set(int systemUsesLightTheme) {
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
    const DWORD value = static_cast<DWORD>(systemUsesLightTheme);
    if (systemUsesLightTheme < 0)
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "SystemUsesLightTheme");
    else
        ::RegSetKeyValueA(HKEY_CURRENT_USER, key, "SystemUsesLightTheme", REG_DWORD, &value, sizeof value);
}

std::vector<MenuItem> VisiblePopupMenuItems() {
    std::vector<MenuItem> items;
    HWND menuWindow = ::FindWindowA("#32768", nullptr);
    if (menuWindow == nullptr || !::IsWindowVisible(menuWindow)) return items;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    for (int i = 0; menu != nullptr && i < ::GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        items.push_back({::GetMenuItemID(menu, i), text});
    }
    return items;
}

HWND FindMessageBox(HWND owner) {
    FindBox search{owner, nullptr};
    ::EnumWindows(&FindBoxProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowText(HWND hwnd) {
    char text[512] = {};
    ::GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string MessageBoxText(HWND box) { return WindowText(::GetDlgItem(box, 0xFFFF)); }

void RunSoon(UINT delayMs, void (*action)()) {
    g_soonAction = action;
    ::SetTimer(nullptr, 0, delayMs, &SoonTimer);
}

}  // namespace hx::test
