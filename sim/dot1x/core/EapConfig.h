// Reading the EAP configuration record that the authentication worker fills, and the
// files it names.
#pragma once

#include <filesystem>

#include "auth/SupplicantRecords.h"
#include "sim/dot1x/core/EapClient.h"

namespace hxsup {

// Every text field is read up to its NUL or the end of its field, whichever comes first.
EapSettings SettingsFromConfig(const hx::EapConfigRecord& config);

// The certificate and key files the record names, relative to folder: for TLS the client
// certificate and the private key (opened with the record's pass phrase); for either
// method the CA certificate, when that file is there. A file that is missing or does not
// open leaves its part empty.
EapCredentials LoadCredentials(const hx::EapConfigRecord& config, const std::filesystem::path& folder);

}  // namespace hxsup
