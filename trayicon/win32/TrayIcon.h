// The utility's icon in the notification area: a table of icon sets of which one is
// shown, its notification messages to the owner window, and its pop-up menu.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/win32/framework/Handles.h"

namespace hx::win {

class TrayIcon {
public:
    static constexpr UINT kCallbackMessage = 4702;
    static constexpr UINT kIconId = 1;
    static constexpr int kDefaultDisplayTimeMs = 500;

    struct IconEntry {
        UniqueIcon hIcon;
        int displayTimeMs = kDefaultDisplayTimeMs;
    };
    struct IconSet {
        std::vector<IconEntry> pIcon;
        int nCurrentIcon = 0;
        int highestIndex = 0;
        std::string tooltip;   // stays empty: the icon has no tooltip text
    };

    // How the component talks to the shell; tests replace it to see the records sent.
    using NotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);
    static void SetNotifyFunction(NotifyFunction notify);
    // What a broken precondition does; the default names the condition and stops the
    // program. Tests install one that throws.
    using AssertionHandler = void (*)(const char* condition);
    static void SetAssertionHandler(AssertionHandler handler);

    TrayIcon(HINSTANCE resourceModule, int maxIconSets, int maxIconsPerSet, HWND owner);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    int MaxIconSets() const { return static_cast<int>(sets_.size()); }
    int MaxIconsPerSet() const { return maxIconsPerSet_; }

    // Loads an icon resource into a set.
    void SetIcon(int iconSet, int index, int iconResourceId, int displayTimeMs);
    // Shows a set (-1: the set shown now): added the first time, modified afterwards.
    // Returns the shell's result.
    BOOL ShowSet(int iconSet = -1);
    // Tracks the first pop-up of a menu resource at the cursor; the chosen command goes to
    // the owner as a menu command. Returns the tracking result.
    BOOL PopUpMenu(int menuResourceId, HWND owner);
    // Deletes the icon from the notification area if it is there.
    void Remove();

    bool Present() const { return present_; }
    int CurrentSet() const { return currentSet_; }
    const IconSet& Set(int iconSet) const { return sets_.at(iconSet); }

private:
    NOTIFYICONDATAA NotificationData() const;

    HINSTANCE module_;
    int maxIconsPerSet_;
    HWND owner_;
    std::vector<IconSet> sets_;
    bool present_ = false;
    int currentSet_ = 0;
};

}  // namespace hx::win
