// The supplicant behind the library's exports: one key negotiation and one EAP exchange
// at a time, each driven by step calls that wait a bounded, short time for a frame.
// Not thread-safe by itself; the export layer serialises the calls.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "sim/dot1x/core/EapClient.h"
#include "sim/dot1x/core/EapolFrame.h"
#include "sim/dot1x/core/EapolPort.h"
#include "sim/dot1x/core/KeyHandshake.h"

namespace hxsup {

// How long one step waits for a frame when none is there.
constexpr int kStepWaitMs = 20;
// Large enough for any EAPOL PDU the access point sends (an EAP fragment of 1398 bytes
// and its headers included).
constexpr size_t kMaxEapolPdu = 2048;

using KeyInstaller = std::function<void(const NegotiatedKey&)>;

class Supplicant {
public:
    // --- Key negotiation -------------------------------------------------------------------
    // Starts a new negotiation over port; false (and no negotiation) when the settings
    // cannot be used. A known access point address (from StartEapol or the EAP start)
    // carries over.
    bool InitKeyNegotiation(std::unique_ptr<EapolPort> port, NegotiationSettings settings);
    // Names the access point and asks it, with an EAPOL-Start, to begin. False when no
    // negotiation is set up or the frame could not be sent.
    bool StartEapol(const MacAddress& authenticator);
    // One step: waits up to kStepWaitMs for a frame, answers it and installs the keys it
    // brings. The verdict on the frame, or nullopt when none came (or nothing is set up).
    // A step never returns at once with nothing done: with nothing set up, or a port that
    // fails, it waits kStepWaitMs all the same, so that callers stepping back to back do
    // not spin.
    std::optional<FrameVerdict> RunKeyNegotiationStep(const KeyInstaller& install);
    const KeyHandshake* Handshake() const { return handshake_ ? &*handshake_ : nullptr; }

    // --- EAP ----------------------------------------------------------------------------------
    // Starts an exchange with the access point over port (an EAPOL-Start goes out) and
    // remembers the access point's address for the key negotiation that follows.
    bool InitEap(std::unique_ptr<EapolPort> port, const MacAddress& authenticator, EapSettings settings,
                 EapCredentials credentials);
    // One step: waits up to kStepWaitMs for a frame and answers it. True once the
    // exchange has succeeded (and on every call after that, until halted).
    bool RunEapStep();
    // Ends the exchange; a master key it produced stays available.
    void HaltEap();
    std::optional<std::array<uint8_t, 32>> EapMasterKey() const { return eapMasterKey_; }
    const EapClient* Eap() const { return eap_ ? &*eap_ : nullptr; }

    // Releases everything; the supplicant can be set up again afterwards.
    void Shutdown();

private:
    // Waits for one frame; its length, or 0 (after a step's wait) when none came.
    size_t ReceiveFrame();

    std::unique_ptr<EapolPort> port_;
    std::optional<MacAddress> authenticator_;
    std::optional<KeyHandshake> handshake_;
    std::optional<EapClient> eap_;
    std::optional<std::array<uint8_t, 32>> eapMasterKey_;
    std::array<uint8_t, kMaxEapolPdu> frame_{};
};

}  // namespace hxsup
