#include "adapter/AdapterExports.h"

namespace hx {

AdapterExports LinkedAdapterExports() {
    AdapterExports exports;
#define HX_ADAPTER_EXPORT_LINKED(name) exports.name = &::name;
    HX_ADAPTER_EXPORTS(HX_ADAPTER_EXPORT_LINKED)
#undef HX_ADAPTER_EXPORT_LINKED
    return exports;
}

AdapterLibrary& ExportedAdapterLibrary() {
    static const std::unique_ptr<AdapterLibrary> library = AdapterLibraryOver(LinkedAdapterExports());
    return *library;
}

}  // namespace hx
