// Whether the shell really holds the utility's tray icon, and which request a show, a
// removal or a restarted taskbar takes. The shell can refuse a request: while the taskbar
// is not running yet (a program started at logon), or after it has gone away and come back
// without our icon. The icon is then added again on a later show.
#pragma once

#include <functional>

namespace hx {

enum class TrayRequest { Add, Modify, Delete };

class TrayPresence {
public:
    // Sends one request to the shell; true when the shell accepted it.
    using Send = std::function<bool(TrayRequest)>;

    // Shows the icon: an add while the shell is not known to hold it, a modify once it does.
    // A refused request is followed at once by the other one (the shell may have lost the
    // icon, or may hold it already). Returns whether the shell now shows it.
    bool Show(const Send& send);

    // The taskbar was created anew and holds none of our icons. True when the icon had been
    // shown (and not removed since), so its current set is to be shown again.
    bool ShellRestarted();

    // Deletes the icon if it was shown since the last removal.
    void Remove(const Send& send);

    // The shell accepted the last show.
    bool Present() const { return present_; }

private:
    bool shown_ = false;    // shown since construction or the last removal
    bool present_ = false;  // the shell confirmed holding it
};

}  // namespace hx
