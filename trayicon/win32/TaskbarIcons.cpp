#include "trayicon/win32/TaskbarIcons.h"

#include "framework/win32/Handles.h"
#include "trayicon/TaskbarTheme.h"

namespace hx::win {
namespace {

constexpr const char* kPersonalizeKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr int kLimSmall = 0;  // LIM_SMALL
using LoadIconMetricFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);

}  // namespace

std::optional<std::uint32_t> ReadSystemUsesLightTheme() {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kPersonalizeKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    UniqueRegKey key(opened);
    DWORD type = 0, value = 0, size = sizeof value;
    if (::RegQueryValueExA(key.Get(), "SystemUsesLightTheme", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                           &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return value;
}

int TaskbarIconResource(int resourceId) {
    return IconForTaskbar(resourceId, TaskbarIsLight(ReadSystemUsesLightTheme()));
}

HICON LoadSmallIcon(HINSTANCE module, int resourceId) {
    HMODULE comctl = ::GetModuleHandleA("comctl32.dll");
    const auto loadIconMetric = comctl == nullptr ? nullptr
        : reinterpret_cast<LoadIconMetricFunction>(reinterpret_cast<void*>(::GetProcAddress(comctl, "LoadIconMetric")));
    HICON icon = nullptr;
    if (loadIconMetric != nullptr &&
        SUCCEEDED(loadIconMetric(module, MAKEINTRESOURCEW(resourceId), kLimSmall, &icon)) && icon != nullptr)
        return icon;
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    return static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(resourceId), IMAGE_ICON, size, size, 0));
}

}  // namespace hx::win
