// The adapter operations of the heartbeat over the driver library: discovery and identity,
// the Zero Configuration check and the link monitor, sharing the process state.
#pragma once

#include "adapter/AdapterLibrary.h"
#include "adapter/Discovery.h"
#include "adapter/LinkMonitor.h"
#include "adapter/WzcControl.h"
#include "app/AdapterOperations.h"
#include "app/ShellPort.h"
#include "app/UtilityState.h"
#include "config/LastSettingStore.h"
#include "config/SettingApplier.h"

namespace hx {

class AdapterSession final : public AdapterOperations {
public:
    AdapterSession(AdapterLibrary& library, UtilityState& state, LastSettingStore& store,
                   SettingApplier& applier, ShellPort& shell);

    void Discover() override;
    bool Identify() override;
    void CheckZeroConfiguration() override;
    void ApplySetting() override;
    void PollLink() override;

private:
    SettingApplier& applier_;
    WzcControl wzc_;
    LinkMonitor monitor_;
    Discovery discovery_;
};

}  // namespace hx
