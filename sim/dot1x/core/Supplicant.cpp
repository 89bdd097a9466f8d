#include "sim/dot1x/core/Supplicant.h"

namespace hxsup {

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
    if (!handshake_ || !port_) return std::nullopt;
    const int length = port_->Receive(frame_, kStepWaitMs);
    if (length <= 0 || static_cast<size_t>(length) > frame_.size()) return std::nullopt;
    auto step = handshake_->HandleFrame(std::span(frame_).first(static_cast<size_t>(length)));
    if (step.verdict != FrameVerdict::Answered) return step.verdict;
    // The reply confirms the key to the access point before the key is put in use.
    port_->Send(step.reply);
    if (install)
        for (const auto& key : step.keys) install(key);
    return step.verdict;
}

void Supplicant::Shutdown() {
    handshake_.reset();
    port_.reset();
    authenticator_.reset();
}

}  // namespace hxsup
