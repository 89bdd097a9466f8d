#include "tests/win/e2e_pages/DrivingTheUtility.h"

#include "resources/resource.h"
#include "tools/hxsim/ControlClient.h"

namespace hx::test {
namespace {

std::string Command(const std::string& command) {
    std::string reply;
    if (!hxsim::SendControlCommand(hxsim::ControlPipeName("HX88UUtil"), command, reply)) return "";
    return reply;
}

std::string KeyPath(const std::string& section) {
    std::string path = "Software\\Tessaro\\HX88UUtil";
    if (!section.empty()) path += "\\" + section;
    return path;
}

struct EditorSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindEditorProc(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<EditorSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char cls[32] = {}, title[32] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    ::GetWindowTextA(hwnd, title, sizeof title);
    if (pid == search->processId && std::string(cls) == "#32770" && std::string(title) == "Dialog" &&
        ::IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::string SimulatorState(const std::string& key) {
    const std::string report = Command("show");
    const size_t at = report.find("\n" + key + ": ");
    if (at == std::string::npos) return "";
    const size_t start = at + key.size() + 3;
    return report.substr(start, report.find('\n', start) - start);
}

std::string SimulatorEvents() { return Command("events"); }

HWND UtilityDriver::PageHolding(int controlId) const {
    HWND frame = ::GetDlgItem(main_, IDC_PAGE_FRAME);
    for (HWND page = ::GetWindow(frame, GW_CHILD); page != nullptr; page = ::GetWindow(page, GW_HWNDNEXT))
        if (::GetDlgItem(page, controlId) != nullptr) return page;
    return nullptr;
}

HWND UtilityDriver::ShowPage(int labelId, int controlOnPage) {
    ::SendMessageA(main_, WM_COMMAND, MAKEWPARAM(labelId, STN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(main_, labelId)));
    return PageHolding(controlOnPage);
}

HWND UtilityDriver::Editor() const {
    EditorSearch search{utility_.ProcessId(), nullptr};
    ::EnumWindows(&FindEditorProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND UtilityDriver::WaitForEditor(std::chrono::milliseconds limit) const {
    HWND editor = nullptr;
    WaitFor([&] { return (editor = Editor()) != nullptr; }, limit);
    return editor;
}

std::string UtilityDriver::Text(HWND dialog, int id) {
    char text[256] = {};
    ::SendMessageA(::GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void UtilityDriver::SetText(HWND dialog, int id, const std::string& text) {
    ::SendMessageA(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void UtilityDriver::Choose(HWND dialog, int listId, int position) {
    HWND list = ::GetDlgItem(dialog, listId);
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void UtilityDriver::Click(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

DWORD RegistryType(const std::string& section, const std::string& name) {
    DWORD type = REG_NONE;
    if (::RegGetValueA(HKEY_CURRENT_USER, KeyPath(section).c_str(), name.c_str(), RRF_RT_ANY, &type, nullptr,
                       nullptr) != ERROR_SUCCESS)
        return REG_NONE;
    return type;
}

std::string RegistryString(const std::string& section, const std::string& name) {
    char text[512] = {};
    DWORD size = sizeof text;
    if (::RegGetValueA(HKEY_CURRENT_USER, KeyPath(section).c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text,
                       &size) != ERROR_SUCCESS)
        return "<missing>";
    return text;
}

DWORD RegistryDword(const std::string& section, const std::string& name) {
    DWORD value = 0xDEADBEEF, size = sizeof value;
    ::RegGetValueA(HKEY_CURRENT_USER, KeyPath(section).c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                   &size);
    return value;
}

void SeedRegistryString(const std::string& section, const std::string& name, const std::string& text) {
    ::RegSetKeyValueA(HKEY_CURRENT_USER, KeyPath(section).c_str(), name.c_str(), REG_SZ, text.c_str(),
                      static_cast<DWORD>(text.size() + 1));
}

void SeedRegistryDword(const std::string& section, const std::string& name, DWORD value) {
    ::RegSetKeyValueA(HKEY_CURRENT_USER, KeyPath(section).c_str(), name.c_str(), REG_DWORD, &value, sizeof value);
}

}  // namespace hx::test
