// The certificate, private key and random seed files the library writes for its EAP
// methods and reads back when an exchange begins. Their formats are the library's own:
//
//   certificate  "subject=" and "issuer=" lines, then a PEM CERTIFICATE block (the DER
//                certificate; for a certificate of the simulated world, which has no
//                DER form, a short text naming it)
//   private key  a PEM PRIVATE KEY block, encrypted: AES key wrap under a key derived
//                from the pass phrase with PBKDF2-HMAC-SHA1 and the salt of its
//                DEK-Info line; a wrong pass phrase fails the unwrap's check
//   seed         random bytes for the TLS layer
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hxsup {

struct CertificateNames {
    std::string subject;
    std::string issuer;
};

// The file names the library uses; the worker's records name the same files.
inline constexpr char kClientCertificateFile[] = "ReZID.pem";
inline constexpr char kPrivateKeyFile[] = "ReZID_key.pem";
inline constexpr char kRootCertificateFile[] = "caroot.pem";
inline constexpr char kRandomSeedFile[] = ".rand";
// The pass phrase the worker gives for the private key file in an EAP-TLS run.
inline constexpr char kPrivateKeyPassphrase[] = "QoRTV";

// False when a name holds a line break or is longer than 255 bytes, or the file cannot
// be written. der may be empty (a simulated certificate).
bool WriteCertificateFile(const std::filesystem::path& file, const CertificateNames& names,
                          const std::vector<uint8_t>& der);
std::optional<CertificateNames> ReadCertificateFile(const std::filesystem::path& file);

bool WritePrivateKeyFile(const std::filesystem::path& file, const std::vector<uint8_t>& key,
                         std::string_view passphrase);
// nullopt when the file is missing, damaged, or the pass phrase is wrong.
std::optional<std::vector<uint8_t>> ReadPrivateKeyFile(const std::filesystem::path& file,
                                                       std::string_view passphrase);

bool WriteRandomSeedFile(const std::filesystem::path& file);

}  // namespace hxsup
