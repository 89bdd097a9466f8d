#include "adapter/AdapterSession.h"

namespace hx {

AdapterSession::AdapterSession(AdapterLibrary& library, UtilityState& state, LastSettingStore& store,
                               SettingApplier& applier, ShellPort& shell)
    : wzc_(library, state),
      monitor_(library, state, store, shell),
      discovery_(library, state, store, applier, wzc_, monitor_, shell) {}

void AdapterSession::Discover() { discovery_.Discover(); }
bool AdapterSession::Identify() { return discovery_.Identify(); }
void AdapterSession::CheckZeroConfiguration() { wzc_.Check(); }
void AdapterSession::PollLink() { monitor_.Poll(); }

}  // namespace hx
