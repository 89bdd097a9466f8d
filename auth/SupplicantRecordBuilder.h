// Filling the records the worker hands to the supplicant library (SupplicantRecords.h):
// the cipher code of a setting, the EAP configuration record of EAP-TLS and PEAP, and the
// key-negotiation record.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "auth/SupplicantRecords.h"

namespace hx {

// The cipher code negotiated as both the pairwise and the group cipher, from WEPStatus and
// WEPKeyLength: TKIP 8, AES 16, WEP with 128-bit keys 4, WEP with any other length 2,
// except 256-bit WEP, which is given 4 as well: the key negotiation knows no longer WEP
// than WEP-104, and offering WEP-40 would settle below what the user chose. No code (the
// worker does not authenticate) for any other WEPStatus.
std::optional<int> CipherCodeFor(int wepStatus, int wepKeyLength);

// Files of the EAP methods, relative to the program's directory.
inline constexpr const char* kCaCertificateFile = "caroot.pem";
inline constexpr const char* kClientCertificateFile = "ReZID.pem";
inline constexpr const char* kPrivateKeyFile = "ReZID_key.pem";
inline constexpr const char* kRandomSeedFile = ".rand";
// The pass phrase the exported private key file is protected with.
inline constexpr const char* kPrivateKeyPassphrase = "QoRTV";
inline constexpr int kEapFragmentSize = 1398;

// Zero-fills the record and fills it for EAP-TLS (Dot1xMethod::EapTls) or PEAP with
// MS-CHAPv2 inside (Dot1xMethod::Peap; the password is used only there). Texts longer than
// their field are cut so that the field keeps its terminating NUL. False, with the record
// only zero-filled, for any other method.
bool FillEapConfigRecord(EapConfigRecord& record, int dot1xProtocol, std::string_view username,
                         std::string_view password);

// The 16 bytes every run puts at offset 0x026 of the key-negotiation record.
const std::array<uint8_t, 16>& NegotiationRunConstant();

// Zero-fills the record and fills in the own MAC address, the WPA element (pointer and
// length: the element must stay alive while the supplicant uses the record), the cipher
// code as both ciphers and the key-install callback. The pairwise master key and the run
// constant are left for the run to put in.
void PrepareKeyNegotiationRecord(KeyNegotiationRecord& record, const uint8_t ownMac[6],
                                 std::span<const uint8_t> wpaElement, int cipherCode,
                                 KeyInstallCallback installKey);
void PutRunConstant(KeyNegotiationRecord& record);

}  // namespace hx
