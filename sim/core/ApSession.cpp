#include "sim/core/ApSession.h"

#include <algorithm>

#include "sim/core/ApCrypto.h"
#include "sim/core/Authenticator.h"
#include "sim/core/BeaconElements.h"
#include "sim/core/EapServer.h"
#include "sim/core/EapSimulation.h"

namespace hxsim {
namespace {

const std::vector<uint8_t> kNoKey;

bool IsPskNetwork(const NetworkSpec& n) {
    return std::find(n.wpa.akms.begin(), n.wpa.akms.end(), Suite::AkmPsk) != n.wpa.akms.end();
}

}  // namespace

ApSession::ApSession(const Scenario& world, const NetworkSpec& network, const Mac& stationMac,
                     uint8_t pairwiseCipher, uint8_t groupCipher, Millis now)
    : world_(world),
      network_(network),
      stationMac_(stationMac),
      pairwiseCipher_(pairwiseCipher),
      groupCipher_(groupCipher) {
    if (IsPskNetwork(network_)) {
        StartHandshake(!network_.psk.empty() ? network_.psk
                                             : crypto::PassphraseToPsk(network_.passphrase, network_.ssid),
                       now);
    } else {
        // An 802.1X access point asks the station for its identity as soon as it associates.
        eap_ = std::make_unique<EapServer>(world_, world_.timing.retransmitMs, outbox_);
        eap_->Start(now);
        eapDeadline_ = now + world_.timing.eapTimeoutMs;
    }
}

ApSession::~ApSession() = default;

void ApSession::StartHandshake(const std::vector<uint8_t>& pmk, Millis now) {
    keys_ = std::make_unique<Authenticator>(network_.bssid, stationMac_, pmk, pairwiseCipher_, groupCipher_,
                                            WpaElement(network_.wpa), world_.timing.retransmitMs, outbox_);
    keys_->Start(now);
    pairwiseOk_ = groupOk_ = false;
    keyDeadline_ = now + world_.timing.handshakeTimeoutMs;
}

void ApSession::OnFrameFromStation(const uint8_t* frame, int length, Millis now) {
    if (frame == nullptr || length < eapsim::kEapolHeaderSize) return;
    switch (frame[1]) {
        case eapsim::kEapolStart:
            if (eap_) {
                keys_.reset();
                keyDeadline_.reset();
                pairwiseOk_ = groupOk_ = false;
                eap_->Start(now);
                eapDeadline_ = now + world_.timing.eapTimeoutMs;
            } else if (keys_ && !PortAuthorised()) {
                keys_->Start(now);
                pairwiseOk_ = groupOk_ = false;
                keyDeadline_ = now + world_.timing.handshakeTimeoutMs;
            }
            break;
        case eapsim::kEapolLogoff:
            if (eap_) {
                keys_.reset();
                keyDeadline_.reset();
                pairwiseOk_ = groupOk_ = false;
                eapDeadline_ = now + world_.timing.eapTimeoutMs;
            }
            break;
        case eapsim::kEapolEapPacket:
            if (eap_ && eap_->CurrentState() != EapServer::State::Succeeded) {
                eap_->OnEapPacket(frame, length, now);
                if (eap_->CurrentState() == EapServer::State::Succeeded) {
                    eapDeadline_.reset();
                    StartHandshake(eap_->MasterKey(), now);
                }
            }
            break;
        case eapsim::kEapolKey:
            if (keys_) {
                keys_->OnKeyFrame(frame, length, now);
                if (keys_->Failure()) deauthReason_ = *keys_->Failure();
            }
            break;
        default:
            break;
    }
}

void ApSession::Advance(Millis now) {
    if (PortAuthorised()) {
        keyDeadline_.reset();
        return;
    }
    if (keyDeadline_ && now >= *keyDeadline_) {
        deauthReason_ = keys_ && keys_->GroupDone() ? "keys installed do not match"
                                                    : "4-way handshake timeout";
        keyDeadline_.reset();
        return;
    }
    if (eapDeadline_ && now >= *eapDeadline_) {
        deauthReason_ = "802.1X authentication timeout";
        eapDeadline_.reset();
        return;
    }
    if (eap_) eap_->Advance(now);
    if (keys_) keys_->Advance(now);
}

std::optional<Millis> ApSession::NextDeadline() const {
    if (deauthReason_) return std::nullopt;
    std::optional<Millis> next;
    auto consider = [&](const std::optional<Millis>& at) {
        if (at && (!next || *at < *next)) next = at;
    };
    if (PortAuthorised()) return std::nullopt;
    consider(keyDeadline_);
    consider(eapDeadline_);
    if (eap_) consider(eap_->NextRetransmit());
    if (keys_) consider(keys_->NextRetransmit());
    return next;
}

InstalledKey ApSession::InstallKey(bool pairwise, int index, const uint8_t* material, int length,
                                   const uint8_t rsc[8]) {
    InstalledKey key;
    key.pairwise = pairwise;
    key.index = index;
    key.material.assign(material, material + length);
    std::copy(rsc, rsc + 8, key.rsc.begin());
    if (keys_) {
        if (pairwise) {
            key.matches = !keys_->TemporalKey().empty() && key.material == keys_->TemporalKey();
            pairwiseOk_ = key.matches;
        } else {
            key.matches = key.material == keys_->GroupKey() && index == keys_->GroupKeyIndex();
            groupOk_ = key.matches;
        }
    }
    return key;
}

bool ApSession::PortAuthorised() const {
    return keys_ && keys_->GroupDone() && pairwiseOk_ && groupOk_;
}

std::string ApSession::Phase() const {
    if (deauthReason_) return "failed: " + *deauthReason_;
    if (PortAuthorised()) return "authorised";
    if (eap_ && !keys_) {
        switch (eap_->CurrentState()) {
            case EapServer::State::WaitIdentity: return "EAP: waiting for identity";
            case EapServer::State::WaitMethod: return "EAP: waiting for the method answer";
            case EapServer::State::WaitAck: return "EAP: waiting for the acknowledgement";
            case EapServer::State::Failed: return "EAP failed: " + eap_->Outcome();
            case EapServer::State::Succeeded: return "EAP succeeded";
        }
    }
    if (!keys_) return "idle";
    switch (keys_->CurrentPhase()) {
        case Authenticator::Phase::WaitMessage2: return "4-way: waiting for message 2";
        case Authenticator::Phase::WaitMessage4: return "4-way: waiting for message 4";
        case Authenticator::Phase::WaitGroupMessage2: return "group: waiting for message 2";
        case Authenticator::Phase::Done: return "handshakes done, waiting for the keys";
    }
    return "?";
}

const std::vector<uint8_t>& ApSession::TemporalKey() const { return keys_ ? keys_->TemporalKey() : kNoKey; }
const std::vector<uint8_t>& ApSession::GroupKey() const { return keys_ ? keys_->GroupKey() : kNoKey; }
int ApSession::GroupKeyIndex() const { return keys_ ? keys_->GroupKeyIndex() : 0; }
int ApSession::MicFailures() const { return keys_ ? keys_->MicFailures() : 0; }

}  // namespace hxsim
