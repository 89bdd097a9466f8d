// EAPOL PDUs to and from the access point through the adapter library's private EAPOL
// exports, on the adapter record the worker handed over.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "adapter/AdapterHandle.h"
#include "sim/dot1x/core/EapolPort.h"

namespace hxsup {

std::unique_ptr<EapolPort> MakeAdapterEapolPort(hx::AdapterHandle* adapter);

// The security element of the adapter's association request, read back from the adapter
// (for WPA2 the RSN element message 2 must repeat); empty when there is none.
std::vector<uint8_t> AdapterAssociationElement(hx::AdapterHandle* adapter);

}  // namespace hxsup
