// Further private exports of our VUVAVO.dll stand-in, beside the EAPOL path
// (EapolTransport.h). The utility never calls them; a real driver library would not have
// them.
//
//   HxSimFindCertificate  the simulated world's certificate stores ("MY" for the user's
//                         certificates with their private keys, "ROOT" for trusted roots),
//                         as defined by the scenario. Our supplicant stand-in writes its
//                         certificate and key files from them where the system's own
//                         certificate stores cannot serve.
//   HxSimControl          runs one control command (the same commands as the hxsim tool
//                         sends over the control channel) on this process's world.
#pragma once

#include "adapter/VuvavoApi.h"

extern "C" {

struct HxSimCertificate {
    char subject[256];          // NUL-terminated, e.g. "CN=HX Test User"
    char issuer[256];           // NUL-terminated
    unsigned char key[32];      // the certificate's private key (zero when it has none)
    int hasPrivateKey;          // 1 when key holds a private key
    int exportable;             // 1 when that private key may be exported
};

// store "MY" or "ROOT" (either case); subject and issuer must both match exactly.
// 0 and *out filled when found; -1 when not found or for a null pointer.
VUVAVO_API int HXAPI HxSimFindCertificate(const char* store, const char* subject,
                                          const char* issuer, HxSimCertificate* out);

// Runs one control command line; the reply text (NUL-terminated, cut to capacity) goes to
// reply. 0 when the command succeeded, -1 when it was refused (the reply says why).
VUVAVO_API int HXAPI HxSimControl(const char* command, char* reply, int capacity);

}  // extern "C"
