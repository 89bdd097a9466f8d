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

TrayIcon::NotifyFunction g_notify = &::Shell_NotifyIconA;

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
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // The menu closes when the user clicks elsewhere only if its owner is in front.
    ::SetForegroundWindow(owner);
    const BOOL result = ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, owner, nullptr);
    ::PostMessageA(owner, WM_NULL, 0, 0);
    return result;
}

void TrayIcon::Remove() {
    presence_.Remove([this](TrayRequest request) {
        NOTIFYICONDATAA data = NotificationData();
        return g_notify(ShellMessage(request), &data) != FALSE;
    });
}

}  // namespace hx::win
