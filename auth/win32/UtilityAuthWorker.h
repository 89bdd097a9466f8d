// The authentication worker as the utility runs it: over the exported driver and
// supplicant libraries, with the Win32 ports. The application object owns one; the apply
// operations, the Site Survey page and the exit path use it as their WorkerControl.
#pragma once

#include "auth/AuthWorker.h"
#include "auth/win32/Win32WorkerPorts.h"

namespace hx::win {

class UtilityAuthWorker final : public WorkerControl {
public:
    UtilityAuthWorker(UtilityState& state, AppProfile& profile);

    void StartWorker() override { worker_.StartWorker(); }
    void StopWorker() override { worker_.StopWorker(); }
    bool WorkerActive() const override { return worker_.WorkerActive(); }

private:
    ModuleDirectoryPort directory_;
    OwnerlessMessageBoxPort messages_;
    AuthWorker worker_;   // last: its thread ends before the ports go
};

}  // namespace hx::win
