// The supplicant library's exports as a table of function pointers, one per export of
// Dot1xApi.h, and the SupplicantLibrary that calls through it: the utility fills the table
// from the library it finds beside it when it starts, the tests and the native build from
// the exports linked in.
#pragma once

#include <memory>

#include "auth/Dot1xApi.h"
#include "auth/SupplicantLibrary.h"

// X(name) for every export, in the order of SupplicantLibrary.
#define HX_SUPPLICANT_EXPORTS(X)                                                                 \
    X(do_eapol_init) X(do_eapol_run) X(do_eapol_halt) X(Get_EAP_Derived_Key_32byte)              \
    X(Get_PSK_Key_32byte) X(do_key_negotiation_init) X(do_key_negotiation_run) X(do_eapol_start) \
    X(Shutdown_Dot1x_Module) X(genMyCertFile) X(genMySSLFile) X(genROOTSSLFile) X(genROOTCertFile)

namespace hx {

struct SupplicantExports {
#define HX_SUPPLICANT_EXPORT_POINTER(name) decltype(&::name) name = nullptr;
    HX_SUPPLICANT_EXPORTS(HX_SUPPLICANT_EXPORT_POINTER)
#undef HX_SUPPLICANT_EXPORT_POINTER

    // Every export is there.
    bool Complete() const;
};

// The library over a table. A table that is not complete stands for no library: every call
// fails (-1; do_eapol_run reports no success) and nothing is called through it.
std::unique_ptr<SupplicantLibrary> SupplicantLibraryOver(const SupplicantExports& exports);
// The library over a table its caller keeps and fills later (AdapterLibraryOverTable).
std::unique_ptr<SupplicantLibrary> SupplicantLibraryOverTable(const SupplicantExports& table);

// The exports linked into this program: natively our supplicant's export layer, on Windows
// the imports of dot1x_dll.dll.
SupplicantExports LinkedSupplicantExports();

}  // namespace hx
