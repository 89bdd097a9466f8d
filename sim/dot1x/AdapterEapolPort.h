// EAPOL PDUs to and from the access point through the adapter library's private EAPOL
// exports, on the adapter record the worker handed over.
#pragma once

#include <memory>

#include "adapter/AdapterHandle.h"
#include "sim/dot1x/core/EapolPort.h"

namespace hxsup {

std::unique_ptr<EapolPort> MakeAdapterEapolPort(hx::AdapterHandle* adapter);

}  // namespace hxsup
