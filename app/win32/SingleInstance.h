// One utility at a time in the user's session. A top-level window titled like the utility's
// main window means one runs (whatever program made it); beside that search a named mutex
// in the session's namespace closes the gap while a first instance starts and has no
// window yet, so that two utilities started at the same instant never both run.
#pragma once

#include <windows.h>

namespace hx::win {

// Brings forward the window of a running instance; false when there is none.
bool ActivateRunningInstance();

class InstanceClaim {
public:
    static constexpr const char* kMutexName = "Local\\HX88UUtil";
    // How long a second start waits for the window of a first one that is still starting.
    static constexpr DWORD kStartingLimitMs = 30000;

    InstanceClaim() = default;
    ~InstanceClaim();
    InstanceClaim(const InstanceClaim&) = delete;
    InstanceClaim& operator=(const InstanceClaim&) = delete;

    // True when this process is the one instance (it keeps the claim until destroyed);
    // false when another runs, whose window has then been brought forward.
    bool Claim();

private:
    HANDLE mutex_ = nullptr;
    bool owned_ = false;
};

}  // namespace hx::win
