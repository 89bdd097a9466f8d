// The two vendor libraries as the utility binds them when it starts: VUVAVO.dll and
// dot1x_dll.dll from the program's folder, each export looked up by name. A library that is
// not there, does not load or lacks an export is bound as none: every call through it
// fails, so the utility runs and shows "no adapter" (or joins no WPA network) instead of
// not starting at all.
#pragma once

#include <memory>

#include "adapter/AdapterLibrary.h"
#include "app/VendorLibraries.h"
#include "auth/SupplicantLibrary.h"

namespace hx::win {

struct BoundLibraries {
    std::unique_ptr<AdapterLibrary> adapter;
    std::unique_ptr<SupplicantLibrary> supplicant;
    VendorLibraries identity;   // what each is: our stand-in, another library, or none
};

BoundLibraries BindVendorLibraries();

}  // namespace hx::win
