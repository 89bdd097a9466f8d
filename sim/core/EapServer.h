// The simulated 802.1X authentication server behind an access point: EAP identity, then
// the simulated TLS or PEAP method of EapSimulation.h, ending in Success with a master
// key, or in Failure.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "sim/core/Clock.h"
#include "sim/core/Scenario.h"

namespace hxsim {

class EapServer {
public:
    enum class State { WaitIdentity, WaitMethod, WaitAck, Succeeded, Failed };

    EapServer(const Scenario& world, int retransmitMs, std::deque<std::vector<uint8_t>>& outbox);

    // (Re)starts the exchange with a Request/Identity.
    void Start(Millis now);
    // An EAPOL EAP-Packet from the station (the whole EAPOL frame).
    void OnEapPacket(const uint8_t* frame, int length, Millis now);
    void Advance(Millis now);
    std::optional<Millis> NextRetransmit() const;

    State CurrentState() const { return state_; }
    const std::vector<uint8_t>& MasterKey() const { return masterKey_; }
    const std::string& Identity() const { return identity_; }
    const std::string& Outcome() const { return outcome_; }

private:
    void SendRequest(std::vector<uint8_t> typeAndData, Millis now);
    void SendFinal(uint8_t code, const std::string& outcome);
    void OnMethodResponse(const uint8_t* data, int length, Millis now);
    const EapUser* FindUser(const std::string& identity) const;

    const Scenario& world_;
    int retransmitMs_;
    std::deque<std::vector<uint8_t>>& outbox_;
    State state_ = State::WaitIdentity;
    uint8_t identifier_ = 0;
    std::vector<uint8_t> lastRequest_;
    Millis lastSent_ = 0;
    std::string identity_;
    std::vector<uint8_t> serverNonce_;
    std::vector<uint8_t> secret_, clientNonce_;
    std::string provingIdentity_;
    std::vector<uint8_t> masterKey_;
    std::string outcome_;
};

}  // namespace hxsim
