#include "adapter/AdapterSession.h"

namespace hx {

AdapterSession::AdapterSession(AdapterLibrary& library, UtilityState& state, LastSettingStore& store,
                               SettingApplier& applier, ShellPort& shell)
    : applier_(applier),
      wzc_(library, state),
      monitor_(library, state, store, shell),
      discovery_(library, state, store, applier, wzc_, monitor_, shell) {}

void AdapterSession::Discover() { discovery_.Discover(); }
bool AdapterSession::Identify() { return discovery_.Identify(); }
void AdapterSession::CheckZeroConfiguration() { wzc_.Check(); }
void AdapterSession::ApplySetting() { applier_.ApplySetting(); }
void AdapterSession::PollLink() { monitor_.Poll(); }

}  // namespace hx
