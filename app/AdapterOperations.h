// What the heartbeat asks of the adapter on each tick: find and identify it while it is
// not ready, follow the Zero Configuration service, give it the setting it is owed, and
// poll the link.
#pragma once

namespace hx {
class AdapterOperations {
public:
    virtual ~AdapterOperations() = default;
    virtual void Discover() = 0;               // sets UtilityState::adapterReady
    virtual bool Identify() = 0;               // false when rates or version cannot be read
    virtual void CheckZeroConfiguration() = 0; // updates UtilityState::wzcState, tells the driver on changes
    virtual void ApplySetting() = 0;           // the whole setting in force; clears settingOwed once it is taken
    virtual void PollLink() = 0;               // fills UtilityState::link; a failure clears adapterReady
};
}
