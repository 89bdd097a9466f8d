// Where the certificate export finds certificates: the user's own certificate stores on
// Windows, then the simulated world's stores (the only ones natively).
#pragma once

#include <memory>

#include "sim/dot1x/core/CertificateExport.h"

namespace hxsup {

// The certificates the simulated world's scenario defines, with their 32-byte keys.
std::unique_ptr<CertificateSource> MakeScenarioCertificateSource();
// The chain the library's exports use.
std::unique_ptr<CertificateSource> MakeCertificateSource();

}  // namespace hxsup
