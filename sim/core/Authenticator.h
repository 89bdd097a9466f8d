// The access point's side of the WPA (version 1) and RSN (WPA2) key handshakes with one
// station: the 4-way handshake that turns the pairwise master key into the pairwise
// transient key, and the group key handshake that hands over the group key (WPA: after
// every 4-way; RSN: message 3 carries the group key, the group handshake only renews it).
// Messages the station does not answer are sent again, each time with a new replay counter.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "sim/core/Clock.h"
#include "sim/core/EapolKeyFrame.h"
#include "sim/core/Scenario.h"

namespace hxsim {

struct KeyProtocol {
    bool rsn = false;                      // key descriptor 2, key data encrypted, the GTK in a KDE
    std::vector<uint8_t> networkElement;   // the network's WPA or RSN element, which message 3 carries
    std::vector<uint8_t> stationElement;   // RSN: the association request's element, which message 2 repeats
};

class Authenticator {
public:
    enum class Phase { WaitMessage2, WaitMessage4, WaitGroupMessage2, Done };

    Authenticator(const Mac& accessPoint, const Mac& station, std::vector<uint8_t> pmk,
                  uint8_t pairwiseCipher, uint8_t groupCipher, KeyProtocol protocol,
                  int retransmitMs, std::deque<std::vector<uint8_t>>& outbox);

    // (Re)starts the 4-way handshake: a new ANonce and message 1.
    void Start(Millis now);
    // A new group key under the other key index (1 and 2 take turns). Once the pairwise
    // key exists it goes out at once in a group key handshake; before that, the group
    // handshake that follows the 4-way carries it.
    void RenewGroupKey(Millis now);
    void OnKeyFrame(const uint8_t* frame, int length, Millis now);
    void Advance(Millis now);
    std::optional<Millis> NextRetransmit() const;

    Phase CurrentPhase() const { return phase_; }
    bool PairwiseDone() const { return phase_ == Phase::WaitGroupMessage2 || phase_ == Phase::Done; }
    bool GroupDone() const { return phase_ == Phase::Done; }
    // Set when the station's message 2 carried another element than the one it may (WPA:
    // one the network's element allows; RSN: the one of its association request).
    const std::optional<std::string>& Failure() const { return failure_; }
    int MicFailures() const { return micFailures_; }

    // The temporal key the station must install: TKIP 32 bytes (key and both MIC keys),
    // CCMP 16. Empty until message 2 has been verified.
    const std::vector<uint8_t>& TemporalKey() const { return temporalKey_; }
    const std::vector<uint8_t>& GroupKey() const { return groupKey_; }
    int GroupKeyIndex() const { return groupKeyIndex_; }
    int KeyVersion() const { return version_; }

private:
    void SendCurrent(Millis now);
    std::vector<uint8_t> Sealed(EapolKeyFrame frame) const;
    bool ElementFits(const std::vector<uint8_t>& element) const;
    // RSN key data encrypted under the KEK: RC4 with a fresh IV (version 1) or AES key wrap
    // of the data padded to whole blocks (version 2).
    std::vector<uint8_t> SealKeyData(std::vector<uint8_t> data, EapolKeyFrame& frame) const;
    std::vector<uint8_t> GroupKeyKde() const;

    Mac accessPoint_, station_;
    std::vector<uint8_t> pmk_;
    uint8_t pairwiseCipher_, groupCipher_;
    KeyProtocol protocol_;
    int retransmitMs_;
    std::deque<std::vector<uint8_t>>& outbox_;
    int version_;
    int temporalKeyLength_;
    Phase phase_ = Phase::WaitMessage2;
    uint64_t replayCounter_ = 0;
    Millis lastSent_ = 0;
    std::vector<uint8_t> anonce_, gnonce_;
    std::vector<uint8_t> kck_, kek_, temporalKey_;
    std::vector<uint8_t> groupKey_;
    std::vector<uint8_t> groupKeyInMessage3_;  // RSN: the group key the last message 3 carried
    int groupKeyIndex_ = 1;
    std::optional<std::string> failure_;
    int micFailures_ = 0;
};

}  // namespace hxsim
