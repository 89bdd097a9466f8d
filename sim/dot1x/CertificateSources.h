// Where the certificate export finds certificates: the simulated world's stores, then the
// user's own certificate stores on Windows (natively the world's are the only ones).
#pragma once

#include <memory>

#include "sim/dot1x/core/CertificateExport.h"

namespace hxsup {

// The certificates the simulated world's scenario defines, with their 32-byte keys.
std::unique_ptr<CertificateSource> MakeScenarioCertificateSource();
// The chain the library's exports use.
std::unique_ptr<CertificateSource> MakeCertificateSource();

}  // namespace hxsup
