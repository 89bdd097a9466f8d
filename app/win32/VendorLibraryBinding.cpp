#include "app/win32/VendorLibraryBinding.h"

#include "adapter/AdapterExports.h"
#include "auth/SupplicantExports.h"
#include "framework/win32/ProgramLibrary.h"

namespace hx::win {
namespace {

template <typename Pointer>
void Bind(HMODULE module, const char* name, Pointer& pointer) {
    pointer = module ? reinterpret_cast<Pointer>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

LibraryIdentity Identify(HMODULE module, bool complete) {
    if (module == nullptr || !complete) return {};
    return IdentifyLibrary(ModuleVersionStrings(module, kVersionStringNames));
}

}  // namespace

BoundLibraries BindVendorLibraries() {
    BoundLibraries bound;
    const HMODULE adapterModule = LoadProgramLibrary(L"VUVAVO.dll");
    AdapterExports adapter;
#define HX_BIND_ADAPTER(name) Bind(adapterModule, #name, adapter.name);
    HX_ADAPTER_EXPORTS(HX_BIND_ADAPTER)
#undef HX_BIND_ADAPTER
    bound.adapter = AdapterLibraryOver(adapter);
    bound.identity.adapter = Identify(adapterModule, adapter.Complete());

    const HMODULE supplicantModule = LoadProgramLibrary(L"dot1x_dll.dll");
    SupplicantExports supplicant;
#define HX_BIND_SUPPLICANT(name) Bind(supplicantModule, #name, supplicant.name);
    HX_SUPPLICANT_EXPORTS(HX_BIND_SUPPLICANT)
#undef HX_BIND_SUPPLICANT
    bound.supplicant = SupplicantLibraryOver(supplicant);
    bound.identity.supplicant = Identify(supplicantModule, supplicant.Complete());
    return bound;
}

}  // namespace hx::win
