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

}  // namespace

ApSession::ApSession(const Scenario& world, const NetworkSpec& network, const Mac& stationMac,
                     const Admission& admission, Millis now)
    : world_(world), network_(network), stationMac_(stationMac), admission_(admission) {
    if (IsPskKind(admission_.authentication)) {
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
    KeyProtocol protocol;
    protocol.rsn = admission_.authentication == AuthKind::Wpa2Psk || admission_.authentication == AuthKind::Wpa2_8021X;
    protocol.networkElement = protocol.rsn ? RsnElement(network_.rsn) : WpaElement(network_.wpa);
    protocol.stationElement = admission_.associationElement;
    keys_ = std::make_unique<Authenticator>(network_.bssid, stationMac_, pmk, admission_.pairwiseCipher,
                                            admission_.groupCipher, std::move(protocol), world_.timing.retransmitMs,
                                            outbox_);
    keys_->Start(now);
    ForgetKeys();
    groupKeyMadeAt_ = now;
    keyDeadline_ = now + world_.timing.handshakeTimeoutMs;
}

void ApSession::ForgetKeys() { pairwiseOk_ = groupOk_ = renewing_ = false; }

void ApSession::OnFrameFromStation(const uint8_t* frame, int length, Millis now) {
    if (frame == nullptr || length < eapsim::kEapolHeaderSize) return;
    switch (frame[1]) {
        case eapsim::kEapolStart:
            if (eap_) {
                keys_.reset();
                keyDeadline_.reset();
                ForgetKeys();
                eap_->Start(now);
                eapDeadline_ = now + world_.timing.eapTimeoutMs;
            } else if (keys_ && !PortAuthorised()) {
                keys_->Start(now);
                ForgetKeys();
                keyDeadline_ = now + world_.timing.handshakeTimeoutMs;
            }
            break;
        case eapsim::kEapolLogoff:
            if (eap_) {
                keys_.reset();
                keyDeadline_.reset();
                ForgetKeys();
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
                SettleRenewal();
            }
            break;
        default:
            break;
    }
}

void ApSession::Advance(Millis now) {
    if (PortAuthorised() && !renewing_) keyDeadline_.reset();
    if (const auto due = RenewalDue(); due && now >= *due) RenewGroupKey(now);
    if (PortAuthorised() && !renewing_) return;
    if (keyDeadline_ && now >= *keyDeadline_) {
        if (keys_ && keys_->GroupDone()) deauthReason_ = "keys installed do not match";
        else if (renewing_) deauthReason_ = "group key handshake timeout";
        else deauthReason_ = "4-way handshake timeout";
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
    consider(RenewalDue());
    if (PortAuthorised() && !renewing_) return next;
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
        SettleRenewal();
    }
    return key;
}

// While a group key is being renewed the station still holds the previous one, which
// the port was authorised with.
bool ApSession::PortAuthorised() const {
    return keys_ && pairwiseOk_ && (renewing_ || (keys_->GroupDone() && groupOk_));
}

bool ApSession::RenewGroupKey(Millis now) {
    if (!keys_) return false;
    if (PortAuthorised() && !renewing_) {
        renewing_ = true;
        keyDeadline_ = now + world_.timing.handshakeTimeoutMs;
    }
    groupOk_ = false;  // what the station installed is not the access point's key any more
    keys_->RenewGroupKey(now);
    groupKeyMadeAt_ = now;
    return true;
}

void ApSession::SettleRenewal() {
    if (renewing_ && keys_ && keys_->GroupDone() && groupOk_) {
        renewing_ = false;
        keyDeadline_.reset();
    }
}

std::optional<Millis> ApSession::RenewalDue() const {
    if (!keys_ || world_.timing.groupRekeyMs <= 0) return std::nullopt;
    return groupKeyMadeAt_ + world_.timing.groupRekeyMs;
}

std::string ApSession::Phase() const {
    if (deauthReason_) return "failed: " + *deauthReason_;
    if (PortAuthorised()) return renewing_ ? "authorised, renewing the group key" : "authorised";
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
