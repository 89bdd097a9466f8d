#include "trayicon/win32/TrayIcon.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "trayicon/win32/TaskbarIcons.h"

namespace hx::win {
namespace {

// The first and shortest layout of the shell's record (88 bytes on 32-bit Windows).
constexpr DWORD kNotifyRecordSize = NOTIFYICONDATAA_V1_SIZE;
#ifndef _WIN64
static_assert(kNotifyRecordSize == 88);
#endif

// The record of a balloon notice: the Vista layout, which ends with the balloon's icon.
constexpr DWORD kBalloonRecordSize = sizeof(NOTIFYICONDATAA);
static_assert(kBalloonRecordSize > NOTIFYICONDATAA_V3_SIZE);

TrayIcon::NotifyFunction g_notify = &::Shell_NotifyIconA;

// Shell_NotifyIconGetRect, looked up where the shell has it; E_NOTIMPL elsewhere.
HRESULT WINAPI ShellIconRect(const NOTIFYICONIDENTIFIER* icon, RECT* location) {
    using Function = TrayIcon::IconRectFunction;
    static const Function shell = [] {
        HMODULE module = ::GetModuleHandleA("shell32.dll");
        return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(
                            ::GetProcAddress(module, "Shell_NotifyIconGetRect")))
                      : nullptr;
    }();
    return shell ? shell(icon, location) : E_NOTIMPL;
}

TrayIcon::IconRectFunction g_iconRect = &ShellIconRect;

// Copies text into a fixed field of the record, cut to the field and ended.
template <size_t N>
void CopyField(CHAR (&field)[N], const std::string& text) {
    const size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

void StopOnBrokenPrecondition(const char* condition) {
    char text[256];
    std::snprintf(text, sizeof text, "Assertion failed: %s (tray icon)", condition);
    ::OutputDebugStringA(text);
    std::fprintf(stderr, "%s\n", text);
    ::MessageBoxA(nullptr, text, "HX-88U Utility", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    std::abort();
}

TrayIcon::AssertionHandler g_assertionHandler = &StopOnBrokenPrecondition;

// True when the condition holds; otherwise the handler runs (and, by default, never returns).
bool Expect(bool holds, const char* condition) {
    if (!holds) g_assertionHandler(condition);
    return holds;
}

// An index within [0, limit): the negative values are as far out of range as the large ones.
bool Within(int index, int limit) { return static_cast<unsigned>(index) < static_cast<unsigned>(limit); }

DWORD ShellMessage(TrayRequest request) {
    switch (request) {
    case TrayRequest::Add: return NIM_ADD;
    case TrayRequest::Modify: return NIM_MODIFY;
    case TrayRequest::Delete: break;
    }
    return NIM_DELETE;
}

}  // namespace

void TrayIcon::SetNotifyFunction(NotifyFunction notify) { g_notify = notify ? notify : &::Shell_NotifyIconA; }

void TrayIcon::SetAssertionHandler(AssertionHandler handler) {
    g_assertionHandler = handler ? handler : &StopOnBrokenPrecondition;
}

void TrayIcon::SetIconRectFunction(IconRectFunction iconRect) { g_iconRect = iconRect ? iconRect : &ShellIconRect; }

TrayIcon::TrayIcon(HINSTANCE resourceModule, int maxIconSets, int maxIconsPerSet, HWND owner)
    : module_(resourceModule), maxIconsPerSet_(maxIconsPerSet), owner_(owner) {
    const bool setsOk = Expect(maxIconSets > 0, "nMaxIconSets > 0");
    const bool iconsOk = Expect(maxIconsPerSet > 0, "nMaxIconsPerSet > 0");
    if (!setsOk || !iconsOk) {
        maxIconsPerSet_ = 0;
        return;
    }
    sets_.resize(static_cast<size_t>(maxIconSets));
    for (IconSet& set : sets_) set.pIcon.resize(static_cast<size_t>(maxIconsPerSet));
}

TrayIcon::~TrayIcon() { Remove(); }

void TrayIcon::SetIcon(int iconSet, int index, int iconResourceId, int displayTimeMs) {
    if (!Expect(Within(iconSet, MaxIconSets()), "nIconSet < MaxIconSets()")) return;
    if (!Expect(Within(index, MaxIconsPerSet()), "nIndex < MaxIconsPerSet()")) return;
    IconSet& set = sets_[static_cast<size_t>(iconSet)];
    IconEntry& entry = set.pIcon[static_cast<size_t>(index)];
    entry.resourceId = iconResourceId;
    entry.loadedId = TaskbarIconResource(iconResourceId);
    entry.hIcon.Reset(LoadSmallIcon(module_, entry.loadedId));
    entry.displayTimeMs = displayTimeMs;
    if (index > set.highestIndex) set.highestIndex = index;
}

void TrayIcon::ReloadIcons() {
    for (IconSet& set : sets_) {
        for (IconEntry& entry : set.pIcon) {
            if (entry.resourceId == 0) continue;
            entry.loadedId = TaskbarIconResource(entry.resourceId);
            entry.hIcon.Reset(LoadSmallIcon(module_, entry.loadedId));
        }
    }
    if (Present()) ShowSet(-1);
}

NOTIFYICONDATAA TrayIcon::NotificationData() const {
    NOTIFYICONDATAA data{};
    data.cbSize = kNotifyRecordSize;
    data.hWnd = owner_;
    data.uID = kIconId;
    return data;
}

bool TrayIcon::SetTooltip(const std::string& text) {
    const std::string cut = text.substr(0, sizeof(NOTIFYICONDATAA::szTip) - 1);
    bool changed = false;
    for (IconSet& set : sets_) {
        if (set.tooltip == cut) continue;
        set.tooltip = cut;
        changed = true;
    }
    return changed;
}

BOOL TrayIcon::ShowSet(int iconSet) {
    if (iconSet == -1) iconSet = currentSet_;
    if (!Expect(Within(iconSet, MaxIconSets()), "nIconSet < MaxIconSets()")) return FALSE;
    const IconSet& set = sets_[static_cast<size_t>(iconSet)];
    if (!Expect(set.pIcon[static_cast<size_t>(set.nCurrentIcon)].hIcon.Get() != nullptr,
                "IconSet(nIconSet).pIcon[IconSet(nIconSet).nCurrentIcon].hIcon != NULL"))
        return FALSE;
    currentSet_ = iconSet;

    NOTIFYICONDATAA data = NotificationData();
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = set.pIcon[static_cast<size_t>(set.nCurrentIcon)].hIcon.Get();
    std::strncpy(data.szTip, set.tooltip.c_str(), sizeof data.szTip - 1);
    const bool shown = presence_.Show([&](TrayRequest request) {
        return g_notify(ShellMessage(request), &data) != FALSE;
    });
    return shown ? TRUE : FALSE;
}

UINT TrayIcon::TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

bool TrayIcon::OnOwnerMessage(UINT message) {
    if (message == 0 || message != TaskbarCreatedMessage()) return false;
    if (presence_.ShellRestarted()) ShowSet(-1);
    return true;
}

BOOL TrayIcon::PopUpMenu(int menuResourceId, HWND owner) {
    UniqueMenu menu(::LoadMenuA(module_, MAKEINTRESOURCEA(menuResourceId)));
    HMENU hPopup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
    if (!Expect(hPopup != nullptr, "hPopup != NULL")) return FALSE;
    // "Open", what a double-click does, shows in bold and is what Enter chooses.
    ::SetMenuDefaultItem(hPopup, 0, TRUE);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const TrayPoint at = TrayMenuPosition(IconRect(), {cursor.x, cursor.y});
    // The menu closes when the user clicks elsewhere only if its owner is in front.
    ::SetForegroundWindow(owner);
    const UINT command = static_cast<UINT>(
        ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
    ::PostMessageA(owner, WM_NULL, 0, 0);
    if (command != 0) {
        ::PostMessageA(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        return TRUE;
    }
    NOTIFYICONDATAA data = NotificationData();
    g_notify(NIM_SETFOCUS, &data);
    return FALSE;
}

std::optional<TrayRect> TrayIcon::IconRect() const {
    NOTIFYICONIDENTIFIER icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = owner_;
    icon.uID = kIconId;
    RECT location{};
    if (FAILED(g_iconRect(&icon, &location))) return std::nullopt;
    return TrayRect{location.left, location.top, location.right, location.bottom};
}

BOOL TrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
    NOTIFYICONDATAA data{};
    data.cbSize = kBalloonRecordSize;
    data.hWnd = owner_;
    data.uID = kIconId;
    data.uFlags = NIF_INFO;
    CopyField(data.szInfo, text);
    CopyField(data.szInfoTitle, title);
    data.dwInfoFlags = NIIF_WARNING | NIIF_RESPECT_QUIET_TIME;
    return g_notify(NIM_MODIFY, &data);
}

void TrayIcon::Remove() {
    presence_.Remove([this](TrayRequest request) {
        NOTIFYICONDATAA data = NotificationData();
        return g_notify(ShellMessage(request), &data) != FALSE;
    });
}

}  // namespace hx::win
