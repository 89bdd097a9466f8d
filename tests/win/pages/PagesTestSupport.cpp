#include "tests/win/pages/PagesTestSupport.h"

#include <chrono>

#include "tests/win/common/UtilityProcess.h"

namespace hx::test {
namespace {

ModalScript* g_script = nullptr;

std::string KeyPath(const std::string& application, const std::string& section) {
    std::string path = "Software\\Tessaro\\" + application;
    if (!section.empty()) path += "\\" + section;
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

int CountEntries(HKEY key) {
    DWORD subKeys = 0, values = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    int count = static_cast<int>(values + subKeys);
    for (DWORD i = 0; i < subKeys; ++i) {
        char name[256] = {};
        DWORD length = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
        HKEY sub = nullptr;
        if (::RegOpenKeyExA(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
        count += CountEntries(sub);
        ::RegCloseKey(sub);
    }
    return count;
}

struct Search {
    bool (*match)(HWND);
    HWND found = nullptr;
};

BOOL CALLBACK SearchProc(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char cls[32] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == ::GetCurrentProcessId() && std::string(cls) == "#32770" && ::IsWindowVisible(hwnd) &&
        search->match(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(bool (*match)(HWND)) {
    Search search{match};
    ::EnumWindows(&SearchProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

HostWindow::HostWindow() {
    hwnd_ = ::CreateWindowExA(0, "STATIC", "pages host", WS_POPUP | WS_VISIBLE, 10, 10, 700, 560, nullptr,
                              nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SetForegroundWindow(hwnd_);
}

HostWindow::~HostWindow() { ::DestroyWindow(hwnd_); }

PageWorld::PageWorld()
    : application("HxPagesTest" + std::to_string(::GetCurrentProcessId())), profile("Tessaro", application) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, KeyPath(application, "").c_str());
    InitialiseProcessState(state);
    state.supportedRates.rate = {0x02, 0x04, 0x0B, 0x16, 0x0C, 0x12, 0x18, 0x24, 0x30, 0x48, 0x60, 0x6C};
    state.supportedChannels.channel = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    state.supportedChannels.count = 11;
}

PageWorld::~PageWorld() { ::RegDeleteTreeA(HKEY_CURRENT_USER, KeyPath(application, "").c_str()); }

DWORD PageWorld::TypeOf(const std::string& section, const std::string& name) const {
    DWORD type = REG_NONE;
    if (::RegGetValueA(HKEY_CURRENT_USER, KeyPath(application, section).c_str(), name.c_str(), RRF_RT_ANY, &type,
                       nullptr, nullptr) != ERROR_SUCCESS)
        return REG_NONE;
    return type;
}

std::string PageWorld::StringValue(const std::string& section, const std::string& name) const {
    char text[512] = {};
    DWORD size = sizeof text;
    if (::RegGetValueA(HKEY_CURRENT_USER, KeyPath(application, section).c_str(), name.c_str(), RRF_RT_REG_SZ,
                       nullptr, text, &size) != ERROR_SUCCESS)
        return "<missing>";
    return text;
}

DWORD PageWorld::DwordValue(const std::string& section, const std::string& name) const {
    DWORD value = 0xDEADBEEF;
    DWORD size = sizeof value;
    ::RegGetValueA(HKEY_CURRENT_USER, KeyPath(application, section).c_str(), name.c_str(), RRF_RT_REG_DWORD,
                   nullptr, &value, &size);
    return value;
}

int PageWorld::EntryCount() const {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(application, "").c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    const int count = CountEntries(key);
    ::RegCloseKey(key);
    return count;
}

ModalScript::ModalScript() {
    g_script = this;
    timer_ = ::SetTimer(nullptr, 0, 20, &ModalScript::Tick);
}

ModalScript::~ModalScript() {
    ::KillTimer(nullptr, timer_);
    g_script = nullptr;
}

ModalScript& ModalScript::Then(std::function<bool()> step) {
    steps_.push_back(std::move(step));
    return *this;
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    static bool running = false;  // a step may itself run a modal loop
    ModalScript* script = g_script;
    if (running || script == nullptr || script->Finished()) return;
    running = true;
    if (script->steps_[script->next_]()) ++script->next_;
    running = false;
}

HWND FindMessageBox() {
    return FindDialog([](HWND hwnd) { return ::GetDlgItem(hwnd, 0xFFFF) != nullptr; });
}

std::string WindowText(HWND hwnd) {
    char text[512] = {};
    ::GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string MessageBoxText(HWND box) { return WindowText(::GetDlgItem(box, 0xFFFF)); }

HWND FindEditor() {
    return FindDialog([](HWND hwnd) { return WindowText(hwnd) == "Dialog"; });
}

void Click(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void ClickNow(HWND dialog, int id) {
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void Choose(HWND dialog, int listId, int position) {
    HWND list = ::GetDlgItem(dialog, listId);
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void SetText(HWND dialog, int id, const std::string& text) { ::SetDlgItemTextA(dialog, id, text.c_str()); }

std::string Text(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

int Selected(HWND dialog, int listId) {
    return static_cast<int>(::SendDlgItemMessageA(dialog, listId, CB_GETCURSEL, 0, 0));
}

int ListCount(HWND dialog, int listId) {
    return static_cast<int>(::SendDlgItemMessageA(dialog, listId, CB_GETCOUNT, 0, 0));
}

bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

void Focus(HWND dialog, int id) { ::SetFocus(::GetDlgItem(dialog, id)); }

void Type(HWND dialog, int id, const std::string& text) {
    HWND box = ::GetDlgItem(dialog, id);
    for (char c : text) ::SendMessageA(box, WM_CHAR, static_cast<unsigned char>(c), 0);
}

bool Settle(const std::function<bool()>& cond, int limitMs) {
    return WaitFor(cond, std::chrono::milliseconds(limitMs));
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

}  // namespace hx::test
