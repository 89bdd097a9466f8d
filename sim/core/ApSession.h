// The access point's side of one association with a WPA or WPA2 network: the 802.1X port,
// the simulated authentication server (802.1X networks), the 4-way and group key handshakes,
// the renewals of the group key, and the check of the keys the station installs. Frames
// to the station wait in an outbox that the station's EAPOL receive drains.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/core/AssociationRules.h"
#include "sim/core/Clock.h"
#include "sim/core/Scenario.h"

namespace hxsim {

class Authenticator;
class EapServer;

// A key record as the station installed it (NDIS 5.1 key record).
struct InstalledKey {
    bool pairwise = false;
    int index = 0;
    std::vector<uint8_t> material;
    std::array<uint8_t, 8> rsc{};
    bool matches = false;             // equals the key the access point uses
};

class ApSession {
public:
    ApSession(const Scenario& world, const NetworkSpec& network, const Mac& stationMac, const Admission& admission,
              Millis now);
    ~ApSession();

    void OnFrameFromStation(const uint8_t* frame, int length, Millis now);
    // Runs retransmissions, timeouts and group key renewals due by now.
    void Advance(Millis now);
    std::optional<Millis> NextDeadline() const;

    // Set when the access point has given up on the station (handshake or EAP timeout).
    const std::optional<std::string>& DeauthReason() const { return deauthReason_; }

    // The station's key install; false when the record does not fit the association.
    InstalledKey InstallKey(bool pairwise, int index, const uint8_t* material, int length,
                            const uint8_t rsc[8]);

    bool PortAuthorised() const;
    // A new group key under the next key index, handed to the station in a group key
    // handshake. An authorised port stays authorised with the old key meanwhile; a
    // station that has not installed the new key within the handshake timeout is
    // deauthenticated. False when the association has no key handshake (yet).
    bool RenewGroupKey(Millis now);
    std::deque<std::vector<uint8_t>>& Outbox() { return outbox_; }

    // For the state report and the tests.
    std::string Phase() const;
    const std::vector<uint8_t>& TemporalKey() const;   // empty until the PTK exists
    const std::vector<uint8_t>& GroupKey() const;
    int GroupKeyIndex() const;
    bool PairwiseKeyInstalled() const { return pairwiseOk_; }
    bool GroupKeyInstalled() const { return groupOk_; }
    int MicFailures() const;

private:
    void StartHandshake(const std::vector<uint8_t>& pmk, Millis now);
    void ForgetKeys();
    // Ends a renewal once the station has answered it and installed the new key.
    void SettleRenewal();
    std::optional<Millis> RenewalDue() const;

    const Scenario& world_;
    const NetworkSpec& network_;
    Mac stationMac_;
    Admission admission_;
    std::unique_ptr<EapServer> eap_;
    std::unique_ptr<Authenticator> keys_;
    std::deque<std::vector<uint8_t>> outbox_;
    std::optional<std::string> deauthReason_;
    std::optional<Millis> eapDeadline_;
    std::optional<Millis> keyDeadline_;
    bool pairwiseOk_ = false;
    bool groupOk_ = false;
    bool renewing_ = false;           // a renewal of an authorised port's group key is under way
    Millis groupKeyMadeAt_ = 0;
};

}  // namespace hxsim
