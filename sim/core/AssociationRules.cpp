#include "sim/core/AssociationRules.h"

#include <algorithm>

#include "sim/core/BeaconElements.h"
#include "sim/core/StationElement.h"

namespace hxsim {
namespace {

Admission Refuse(std::string why) {
    Admission a;
    a.refusal = std::move(why);
    return a;
}

// The challenge came back encrypted with another key than the network's.
Admission RefuseSharedKey() {
    Admission a = Refuse("shared-key authentication failed: WEP key differs");
    a.keyRefused = true;
    return a;
}

bool Contains(const std::vector<uint8_t>& list, uint8_t value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

// The station's transmit key against the network's key of the same index: what decides a
// shared-key authentication (the access point decrypts the challenge with that key).
bool KeysMatch(const NetworkSpec& network, const StationSecurity& station) {
    const int index = station.defaultKey;
    if (index < 0 || index > 3) return false;
    const auto& ours = station.wepKeys[index].key;
    const auto& theirs = network.wepKeys[index];
    return !ours.empty() && ours == theirs;
}

Admission AdmitWep(const NetworkSpec& network, const StationSecurity& station) {
    if (station.wepStatus != WepStatusCode::Enabled) return Refuse("network needs WEP");
    Admission a;
    a.wepKeysMatch = KeysMatch(network, station);
    const bool apOpen = network.wepAuth != WepAuth::Shared;
    const bool apShared = network.wepAuth != WepAuth::Open;
    switch (station.authMode) {
        case AuthCode::Open:
            if (!apOpen) return Refuse("network allows shared-key authentication only");
            a.authentication = AuthKind::Open;
            break;
        case AuthCode::Shared:
            if (!apShared) return Refuse("network allows open authentication only");
            if (!a.wepKeysMatch) return RefuseSharedKey();
            a.authentication = AuthKind::Shared;
            break;
        case AuthCode::AutoSwitch:
            if (apShared && a.wepKeysMatch) a.authentication = AuthKind::Shared;
            else if (apOpen) a.authentication = AuthKind::Open;
            else return RefuseSharedKey();
            break;
        default:
            return Refuse("network is not a WPA network");
    }
    a.admitted = true;
    return a;
}

Admission AdmitWpa(const NetworkSpec& network, const StationSecurity& station) {
    const SecurityElement& wpa = network.wpa;
    if (!wpa.present) return Refuse(network.rsn.present ? "network speaks RSN only" : "network is not a WPA network");
    const uint8_t akm = station.authMode == AuthCode::WpaPsk ? Suite::AkmPsk : Suite::Akm8021X;
    if (!Contains(wpa.akms, akm)) return Refuse("key management differs");
    // The pairwise cipher is the one the encryption setting names when the network offers
    // it; otherwise (another WPA cipher, WEP or no encryption set) the adapter takes the
    // network's first cipher it can run, as it reads the network's WPA element anyway.
    uint8_t pairwise = 0;
    const uint8_t named = station.wepStatus == WepStatusCode::Tkip  ? Suite::Tkip
                          : station.wepStatus == WepStatusCode::Aes ? Suite::Ccmp
                                                                    : 0;
    if (named != 0 && Contains(wpa.pairwiseCiphers, named)) {
        pairwise = named;
    } else {
        for (uint8_t c : wpa.pairwiseCiphers)
            if (c == Suite::Tkip || c == Suite::Ccmp) { pairwise = c; break; }
        if (pairwise == 0) return Refuse("no pairwise cipher the adapter can run");
    }
    if (wpa.groupCipher != Suite::Tkip && wpa.groupCipher != Suite::Ccmp)
        return Refuse("group cipher the adapter cannot run");
    Admission a;
    a.admitted = true;
    a.pairwiseCipher = pairwise;
    a.groupCipher = wpa.groupCipher;
    a.authentication = akm == Suite::AkmPsk ? AuthKind::WpaPsk : AuthKind::Wpa8021X;
    a.associationElement = WpaElement(wpa);
    return a;
}

// WPA2: the adapter offers its RSN element (StationElement.h), and the access point checks it.
Admission AdmitRsn(const NetworkSpec& network, const StationSecurity& station) {
    if (!network.rsn.present) return Refuse(network.wpa.present ? "network speaks WPA only" : "network is not a WPA2 network");
    const uint8_t akm = station.authMode == AuthCode::Wpa2Psk ? Suite::AkmPsk : Suite::Akm8021X;
    StationElement offer = StationRsnElement(RsnElement(network.rsn), akm);
    if (offer.element.empty()) return Refuse(offer.refusal);
    Admission a;
    a.associationElement = std::move(offer.element);
    a.status = RsnAssociationStatus(network, a.associationElement);
    if (a.status != 0) {
        a.refusal = "association refused with status " + std::to_string(a.status) + " (" + StatusText(a.status) + ")";
        return a;
    }
    const auto offered = ReadSecurityElement(a.associationElement);
    a.admitted = true;
    a.pairwiseCipher = offered->pairwiseCiphers.front();
    a.groupCipher = offered->groupCipher;
    a.authentication = akm == Suite::AkmPsk ? AuthKind::Wpa2Psk : AuthKind::Wpa2_8021X;
    return a;
}

}  // namespace

const char* AuthKindName(AuthKind kind) {
    switch (kind) {
    case AuthKind::None: return "none";
    case AuthKind::Open: return "open";
    case AuthKind::Shared: return "shared";
    case AuthKind::WpaPsk: return "wpa-psk";
    case AuthKind::Wpa8021X: return "wpa-802.1x";
    case AuthKind::Wpa2Psk: return "wpa2-psk";
    case AuthKind::Wpa2_8021X: return "wpa2-802.1x";
    }
    return "?";
}

bool HasKeyHandshake(AuthKind kind) {
    return kind == AuthKind::WpaPsk || kind == AuthKind::Wpa8021X || kind == AuthKind::Wpa2Psk ||
           kind == AuthKind::Wpa2_8021X;
}

bool IsPskKind(AuthKind kind) { return kind == AuthKind::WpaPsk || kind == AuthKind::Wpa2Psk; }

uint16_t RsnAssociationStatus(const NetworkSpec& network, std::span<const uint8_t> stationElement) {
    namespace Mfp = RsnCapability;
    const SecurityElement& ours = network.rsn;
    const auto offered = !stationElement.empty() && stationElement[0] == ElementId::Rsn
                             ? ReadSecurityElement(stationElement)
                             : std::nullopt;
    if (!ours.present || !offered) return 40;
    if (offered->groupCipher != ours.groupCipher) return 41;
    if (offered->pairwiseCiphers.size() != 1 || !Contains(ours.pairwiseCiphers, offered->pairwiseCiphers[0])) return 42;
    if (offered->akms.size() != 1 || !Contains(ours.akms, offered->akms[0])) return 43;
    const bool weRequire = ours.capabilities & Mfp::MfpRequired, weCan = ours.capabilities & Mfp::MfpCapable;
    const bool theyRequire = offered->capabilities & Mfp::MfpRequired,
               theyCan = offered->capabilities & Mfp::MfpCapable;
    if ((weRequire && !theyCan) || (theyRequire && !weCan)) return 31;
    return 0;
}

const char* StatusText(uint16_t status) {
    switch (status) {
    case 0: return "success";
    case 31: return "robust management frame policy violation";
    case 40: return "invalid information element";
    case 41: return "invalid group cipher";
    case 42: return "invalid pairwise cipher";
    case 43: return "invalid AKMP";
    }
    return "refused";
}

Admission Admit(const NetworkSpec& network, const StationSecurity& station) {
    const bool wantAdhoc = station.networkType == NetworkTypeCode::AdHoc;
    if (network.adhoc != wantAdhoc) return Refuse("network type differs");
    const bool wpaMode = station.authMode == AuthCode::Wpa || station.authMode == AuthCode::WpaPsk;
    const bool wpa2Mode = station.authMode == AuthCode::Wpa2 || station.authMode == AuthCode::Wpa2Psk;
    if (network.adhoc) {
        // Cells authenticate openly; the privacy bit has to agree with the encryption.
        if (wpaMode || wpa2Mode) return Refuse("no WPA in ad hoc cells");
        if (station.authMode == AuthCode::Shared) return Refuse("cells use open authentication");
        const bool stationPrivacy = station.wepStatus != WepStatusCode::Disabled;
        if (network.privacy != stationPrivacy) return Refuse("privacy differs");
        Admission a;
        a.admitted = true;
        a.wepKeysMatch = network.privacy && KeysMatch(network, station);
        a.authentication = network.privacy ? AuthKind::Open : AuthKind::None;
        return a;
    }
    if (wpaMode) return AdmitWpa(network, station);
    if (wpa2Mode) return AdmitRsn(network, station);
    if (network.wpa.present || network.rsn.present) return Refuse("network needs WPA");
    if (network.privacy) return AdmitWep(network, station);
    if (station.wepStatus != WepStatusCode::Disabled) return Refuse("network is not encrypted");
    if (station.authMode == AuthCode::Shared) return Refuse("network allows open authentication only");
    Admission a;
    a.admitted = true;
    a.authentication = AuthKind::None;
    return a;
}

}  // namespace hxsim
