// The two vendor libraries as the utility calls them: VUVAVO.dll and dot1x_dll.dll from the
// program's folder, each export looked up by name. Loading them takes longer than making
// the main window, which needs neither, so they are bound right after it has first shown;
// until then every call through them fails. A library that is not there, does not load or
// lacks an export stays unbound, so the utility runs and shows "no adapter" (or joins no
// WPA network) instead of not starting at all.
#pragma once

#include <memory>

#include "adapter/AdapterExports.h"
#include "app/VendorLibraries.h"
#include "auth/SupplicantExports.h"

namespace hx::win {

class VendorLibraryBinding {
public:
    VendorLibraryBinding();
    VendorLibraryBinding(const VendorLibraryBinding&) = delete;
    VendorLibraryBinding& operator=(const VendorLibraryBinding&) = delete;

    AdapterLibrary& Adapter() { return *adapter_; }
    SupplicantLibrary& Supplicant() { return *supplicant_; }

    // Once, on the thread that calls the libraries and before any other thread does: loads
    // both and binds their exports. Returns what each is.
    VendorLibraries Bind();

private:
    AdapterExports adapterTable_;
    SupplicantExports supplicantTable_;
    std::unique_ptr<AdapterLibrary> adapter_;
    std::unique_ptr<SupplicantLibrary> supplicant_;
};

// What the adapter library beside the program says it is in its version resource, read
// without loading it: what the window's title shows until the libraries are bound. Unusable
// when the file has no version resource or is not there.
LibraryIdentity AnnouncedAdapterLibrary();

}  // namespace hx::win
