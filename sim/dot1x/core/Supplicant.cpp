#include "sim/dot1x/core/Supplicant.h"

#include <chrono>
#include <thread>

namespace hxsup {
namespace {

void IdleStep() { std::this_thread::sleep_for(std::chrono::milliseconds(kStepWaitMs)); }

}  // namespace

size_t Supplicant::ReceiveFrame() {
    if (!port_) {
        IdleStep();
        return 0;
    }
    const int length = port_->Receive(frame_, kStepWaitMs);
    if (length < 0 || static_cast<size_t>(length) > frame_.size()) {
        IdleStep();
        return 0;
    }
    return static_cast<size_t>(length);
}

bool Supplicant::InitKeyNegotiation(std::unique_ptr<EapolPort> port, NegotiationSettings settings) {
    handshake_.reset();
    port_ = std::move(port);
    auto handshake = KeyHandshake::Create(std::move(settings));
    if (!port_ || !handshake) return false;
    handshake_ = std::move(handshake);
    if (authenticator_) handshake_->SetAuthenticatorAddress(*authenticator_);
    return true;
}

bool Supplicant::StartEapol(const MacAddress& authenticator) {
    authenticator_ = authenticator;
    if (!handshake_ || !port_) return false;
    handshake_->SetAuthenticatorAddress(authenticator);
    const auto start = BuildEapol(EapolType::Start, {});
    return port_->Send(start);
}

std::optional<FrameVerdict> Supplicant::RunKeyNegotiationStep(const KeyInstaller& install) {
    if (!handshake_) {
        IdleStep();
        return std::nullopt;
    }
    const size_t length = ReceiveFrame();
    if (length == 0) return std::nullopt;
    auto step = handshake_->HandleFrame(std::span(frame_).first(length));
    if (step.verdict != FrameVerdict::Answered) return step.verdict;
    // The reply confirms the key to the access point before the key is put in use.
    port_->Send(step.reply);
    if (install)
        for (const auto& key : step.keys) install(key);
    return step.verdict;
}

bool Supplicant::InitEap(std::unique_ptr<EapolPort> port, const MacAddress& authenticator, EapSettings settings,
                         EapCredentials credentials) {
    eap_.reset();
    eapMasterKey_.reset();
    port_ = std::move(port);
    authenticator_ = authenticator;
    if (handshake_) handshake_->SetAuthenticatorAddress(authenticator);
    if (!port_) return false;
    eap_.emplace(std::move(settings), std::move(credentials));
    // A start (re)opens the exchange even when the access point has begun one already.
    return port_->Send(EapClient::StartFrame());
}

bool Supplicant::RunEapStep() {
    if (!eap_) {
        IdleStep();
        return false;
    }
    if (eap_->Succeeded()) return true;
    const size_t length = ReceiveFrame();
    if (length == 0) return false;
    const auto step = eap_->HandleFrame(std::span(frame_).first(length));
    if (!step.reply.empty()) port_->Send(step.reply);
    if (eap_->Succeeded()) eapMasterKey_ = eap_->MasterKey();
    return eap_->Succeeded();
}

void Supplicant::HaltEap() { eap_.reset(); }

void Supplicant::Shutdown() {
    eap_.reset();
    eapMasterKey_.reset();
    handshake_.reset();
    port_.reset();
    authenticator_.reset();
}

}  // namespace hxsup
