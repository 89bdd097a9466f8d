// The authentication worker as the utility runs it: over the driver and supplicant
// libraries the utility bound, with the Win32 ports. The application object owns one; the
// apply operations, the Site Survey page and the exit path use it as their WorkerControl.
// Without a usable supplicant library no worker starts: nothing could negotiate its keys.
#pragma once

#include "auth/AuthWorker.h"
#include "auth/JoinFailureNotice.h"
#include "auth/win32/Win32WorkerPorts.h"

namespace hx::win {

class UtilityAuthWorker final : public WorkerControl {
public:
    // Whether the supplicant library is usable is read from the state when a worker starts:
    // the libraries are bound after the utility has started.
    UtilityAuthWorker(AdapterLibrary& adapter, SupplicantLibrary& supplicant, UtilityState& state,
                      AppProfile& profile);

    void StartWorker() override;
    void StopWorker() override { worker_.StopWorker(); }
    bool WorkerActive() const override { return worker_.WorkerActive(); }

    // Whether a join of the setting applied last is failing; the main window shows it.
    JoinFailureNotice& Notice() { return notice_; }

private:
    ModuleDirectoryPort directory_;
    OwnerlessMessageBoxPort messages_;
    JoinFailureNotice notice_;
    const UtilityState& state_;
    AuthWorker worker_;   // last: its thread ends before the ports go
};

}  // namespace hx::win
