#include "app/win32/VendorLibraryBinding.h"

#include "framework/win32/ProgramLibrary.h"

namespace hx::win {
namespace {

template <typename Pointer>
void BindExport(HMODULE module, const char* name, Pointer& pointer) {
    pointer = module ? reinterpret_cast<Pointer>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

LibraryIdentity Identify(HMODULE module, bool complete) {
    if (module == nullptr || !complete) return {};
    return IdentifyLibrary(ModuleVersionStrings(module, kVersionStringNames));
}

}  // namespace

VendorLibraryBinding::VendorLibraryBinding()
    : adapter_(AdapterLibraryOverTable(adapterTable_)), supplicant_(SupplicantLibraryOverTable(supplicantTable_)) {}

VendorLibraries VendorLibraryBinding::Bind() {
    VendorLibraries identity;
    const HMODULE adapterModule = LoadProgramLibrary(L"VUVAVO.dll");
    AdapterExports adapter;
#define HX_BIND_ADAPTER(name) BindExport(adapterModule, #name, adapter.name);
    HX_ADAPTER_EXPORTS(HX_BIND_ADAPTER)
#undef HX_BIND_ADAPTER
    // A table is filled whole or not at all: nothing is called through half a library.
    if (adapter.Complete()) adapterTable_ = adapter;
    identity.adapter = Identify(adapterModule, adapter.Complete());

    const HMODULE supplicantModule = LoadProgramLibrary(L"dot1x_dll.dll");
    SupplicantExports supplicant;
#define HX_BIND_SUPPLICANT(name) BindExport(supplicantModule, #name, supplicant.name);
    HX_SUPPLICANT_EXPORTS(HX_BIND_SUPPLICANT)
#undef HX_BIND_SUPPLICANT
    if (supplicant.Complete()) supplicantTable_ = supplicant;
    identity.supplicant = Identify(supplicantModule, supplicant.Complete());
    return identity;
}

LibraryIdentity AnnouncedAdapterLibrary() {
    const VersionStrings strings = ProgramLibraryVersionStrings(L"VUVAVO.dll", kVersionStringNames);
    return strings.empty() ? LibraryIdentity{} : IdentifyLibrary(strings);
}

}  // namespace hx::win
