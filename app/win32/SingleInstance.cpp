#include "app/win32/SingleInstance.h"

#include "app/win32/UtilityWindow.h"

namespace hx::win {

bool ActivateRunningInstance() {
    HWND running = FindUtilityWindow();
    if (running == nullptr) return false;
    ::ShowWindow(running, SW_SHOW);
    ::BringWindowToTop(running);
    ::SetForegroundWindow(running);
    return true;
}

InstanceClaim::~InstanceClaim() {
    if (owned_) ::ReleaseMutex(mutex_);
    if (mutex_ != nullptr) ::CloseHandle(mutex_);
}

bool InstanceClaim::Claim() {
    if (ActivateRunningInstance()) return false;
    mutex_ = ::CreateMutexA(nullptr, TRUE, kMutexName);
    // Without the mutex only the window search tells, as before it.
    if (mutex_ == nullptr) return true;
    owned_ = ::GetLastError() != ERROR_ALREADY_EXISTS;
    if (owned_) return true;
    // Another instance holds it: starting (its window comes soon) or ending (the mutex comes free).
    const ULONGLONG giveUp = ::GetTickCount64() + kStartingLimitMs;
    for (;;) {
        const DWORD waited = ::WaitForSingleObject(mutex_, 20);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
            owned_ = true;
            return !ActivateRunningInstance();
        }
        if (ActivateRunningInstance() || ::GetTickCount64() >= giveUp) return false;
    }
}

}  // namespace hx::win
