#include "auth/SupplicantExports.h"

namespace hx {

SupplicantExports LinkedSupplicantExports() {
    SupplicantExports exports;
#define HX_SUPPLICANT_EXPORT_LINKED(name) exports.name = &::name;
    HX_SUPPLICANT_EXPORTS(HX_SUPPLICANT_EXPORT_LINKED)
#undef HX_SUPPLICANT_EXPORT_LINKED
    return exports;
}

SupplicantLibrary& ExportedSupplicantLibrary() {
    static const std::unique_ptr<SupplicantLibrary> library = SupplicantLibraryOver(LinkedSupplicantExports());
    return *library;
}

}  // namespace hx
