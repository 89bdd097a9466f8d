// The current user's "MY" and "ROOT" certificate stores, through crypt32.
#pragma once

#include <memory>

#include "sim/dot1x/core/CertificateExport.h"

namespace hxsup {

// A certificate matches when its subject and issuer equal the texts given, each compared
// with the name's X.500 form ("CN=HX Test User, O=Halvorn") and with its common name
// alone ("HX Test User"). From "MY", the private key is exported when the certificate
// has one that may be exported.
std::unique_ptr<CertificateSource> MakeSystemCertificateStore();

}  // namespace hxsup
