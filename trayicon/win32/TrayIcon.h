// The utility's icon in the notification area: a table of icon sets of which one is
// shown, its tooltip, its notification messages to the owner window, its pop-up menu and
// its balloon notices.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/win32/Handles.h"
#include "trayicon/TrayMenuAnchor.h"
#include "trayicon/TrayPresence.h"

namespace hx::win {

class TrayIcon {
public:
    static constexpr UINT kCallbackMessage = 4702;
    static constexpr UINT kIconId = 1;
    static constexpr int kDefaultDisplayTimeMs = 500;

    struct IconEntry {
        UniqueIcon hIcon;
        int displayTimeMs = kDefaultDisplayTimeMs;
        int resourceId = 0;   // the icon asked for...
        int loadedId = 0;     // ...and the picture loaded for it (its dark-taskbar one, or itself)
    };
    struct IconSet {
        std::vector<IconEntry> pIcon;
        int nCurrentIcon = 0;
        int highestIndex = 0;
        std::string tooltip;   // the text SetTooltip gave every set
    };

    // How the component talks to the shell; tests replace it to see the records sent.
    using NotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);
    static void SetNotifyFunction(NotifyFunction notify);
    // What a broken precondition does; the default names the condition and stops the
    // program. Tests install one that throws.
    using AssertionHandler = void (*)(const char* condition);
    static void SetAssertionHandler(AssertionHandler handler);
    // Where the shell says the icon is (Shell_NotifyIconGetRect where the shell has it);
    // tests replace it.
    using IconRectFunction = HRESULT(WINAPI*)(const NOTIFYICONIDENTIFIER* icon, RECT* location);
    static void SetIconRectFunction(IconRectFunction iconRect);

    TrayIcon(HINSTANCE resourceModule, int maxIconSets, int maxIconsPerSet, HWND owner);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    int MaxIconSets() const { return static_cast<int>(sets_.size()); }
    int MaxIconsPerSet() const { return maxIconsPerSet_; }

    // Loads an icon resource into a set, in the picture that suits the taskbar's theme, at
    // the shell's small icon size.
    void SetIcon(int iconSet, int index, int iconResourceId, int displayTimeMs);
    // The tooltip every set shows from its next show on, cut to the record's 63 characters.
    // It makes no request of its own: it goes with the next show. True when it changed.
    bool SetTooltip(const std::string& text);
    // Loads every icon again, for the taskbar's theme and the small icon size now in force
    // (after a theme, DPI or display change), and shows the new picture if the shell holds
    // the icon.
    void ReloadIcons();
    // Shows a set (-1: the set shown now): added while the shell does not hold the icon,
    // modified once it does. Returns whether the shell took it.
    BOOL ShowSet(int iconSet = -1);
    // The message the shell broadcasts when the taskbar has been created anew.
    static UINT TaskbarCreatedMessage();
    // For the owner's window procedure: a new taskbar gets the icon again, with the set
    // shown now. True when the message was that broadcast.
    bool OnOwnerMessage(UINT message);
    // Tracks the first pop-up of a menu resource, its first item the default (bold): under
    // the pointer for a click, at the icon when it was opened from the keyboard (see
    // TrayMenuPosition). The chosen command goes to the owner as a menu command; a menu
    // left without a choice gives the focus back to the notification area. Returns whether
    // a command was chosen.
    BOOL PopUpMenu(int menuResourceId, HWND owner);
    // A balloon notice over the icon, sent in a record of the larger layout that has the
    // balloon's fields; a warning that respects the user's quiet time. Returns the shell's
    // answer.
    BOOL ShowBalloon(const std::string& title, const std::string& text);
    // Deletes the icon from the notification area if it was shown since the last removal.
    void Remove();

    // Whether the shell holds the icon now, as far as its answers tell.
    bool Present() const { return presence_.Present(); }
    int CurrentSet() const { return currentSet_; }
    const IconSet& Set(int iconSet) const { return sets_.at(iconSet); }

private:
    NOTIFYICONDATAA NotificationData() const;
    std::optional<TrayRect> IconRect() const;

    HINSTANCE module_;
    int maxIconsPerSet_;
    HWND owner_;
    std::vector<IconSet> sets_;
    TrayPresence presence_;
    int currentSet_ = 0;
};

}  // namespace hx::win
