// Installing the keys the supplicant library negotiates.
//
// The library calls the key-install callback, a plain function with no context argument,
// from within do_key_negotiation_run on the worker's thread. The callback therefore
// reaches a process-wide install target (the driver library and the adapter record) that
// the worker sets before it starts negotiating and clears when its run ends.
#pragma once

#include <cstdint>
#include <vector>

#include "adapter/AdapterHandle.h"
#include "auth/SupplicantRecords.h"

namespace hx {

class AdapterLibrary;

// The longest key a WPA key handshake hands over (TKIP: 16 bytes of key, 16 of MIC keys).
constexpr int kMaxNegotiatedKeyLength = 32;

namespace KeyKind { constexpr int Pairwise = 0, Group = 1; }

void SetKeyInstallTarget(AdapterLibrary& library, AdapterHandle& adapter);
void ClearKeyInstallTarget();

// How many pairwise keys the callback has written to an adapter that took them, since the
// process started: the worker compares it across one negotiation.
unsigned long PairwiseKeysInstalled();
// The same for group keys.
unsigned long GroupKeysInstalled();

// The NDIS 802.11 key record of one key, key length + 39 bytes, zero-filled around its
// fields: Length, KeyIndex (pairwise: transmit, pairwise, RSC valid; group: RSC valid with
// the key index; any other kind: RSC valid), KeyLength, BSSID, KeyRSC, KeyMaterial. Empty
// when the key length cannot be real (below 1 or above kMaxNegotiatedKeyLength) or a
// pointer is missing.
std::vector<uint8_t> BuildNdisKeyRecord(const uint8_t* receiveSequenceCounter, const uint8_t* key,
                                        int keyLength, int keyIndex, int keyKind,
                                        const uint8_t bssid[6]);

// The key-install callback placed in the key-negotiation record: reads the adapter's
// current BSSID, builds the key record and writes it with WriteOid(kOidAddKey). A key
// whose record cannot be built, or a call while no target is set, installs nothing.
void HX_CALLBACK InstallNegotiatedKey(const uint8_t* receiveSequenceCounter, const uint8_t* key,
                                      int keyLength, int keyIndex, int keyKind);

}  // namespace hx
