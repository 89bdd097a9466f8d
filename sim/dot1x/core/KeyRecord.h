// Reading the key-negotiation record that the authentication worker fills.
#pragma once

#include "auth/SupplicantRecords.h"
#include "sim/dot1x/core/KeyHandshake.h"

namespace hxsup {

// The negotiation settings the record holds. The WPA element is copied out through its
// pointer for the record's length, and only when that length is 2 to 257 bytes;
// otherwise the element stays empty (and the negotiation cannot be set up).
NegotiationSettings SettingsFromRecord(const hx::KeyNegotiationRecord& record);

// Hands one key to the record's key-install callback, if it has one.
void InstallThroughRecord(const hx::KeyNegotiationRecord& record, const NegotiatedKey& key);

}  // namespace hxsup
