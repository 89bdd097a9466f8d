// The path the supplicant's EAPOL PDUs take to and from the access point. The library
// uses the adapter's private EAPOL exports; tests use an in-memory peer.
#pragma once

#include <cstdint>
#include <span>

namespace hxsup {

class EapolPort {
public:
    virtual ~EapolPort() = default;
    // False when the PDU could not be sent (no association, for one).
    virtual bool Send(std::span<const uint8_t> pdu) = 0;
    // Waits at most timeoutMs for one PDU. Returns its length, 0 when none came in time,
    // -1 on failure or when it did not fit into buffer.
    virtual int Receive(std::span<uint8_t> buffer, int timeoutMs) = 0;
};

}  // namespace hxsup
