// The adapter library's exports as a table of function pointers, one per export of
// VuvavoApi.h, and the AdapterLibrary that calls through it. The utility fills the table
// from the library it finds beside it when it starts, so that it runs (and shows "no
// adapter") where that library is missing or cannot be loaded; the tests and the native
// build fill it from the exports linked in.
#pragma once

#include <memory>

#include "adapter/AdapterLibrary.h"
#include "adapter/VuvavoApi.h"

// X(name) for every export, in the order of AdapterLibrary.
#define HX_ADAPTER_EXPORTS(X)                                                                   \
    X(CreateNICAdapterList) X(QueryWL_IsWindows95) X(QueryHLMReg) X(Query_FixWindisPnPBug)     \
    X(HXStopWZCService) X(HXStartWZCService) X(HexStrToBin) X(BinToHexStr) X(HxOpenAdapter)    \
    X(QueryWL_SupportedRate) X(QueryWL_DriverVersion) X(GetNICAdapterMAC)                      \
    X(QueryWL_ConnectState) X(QueryWL_NetworkType) X(QueryWL_Channel)                          \
    X(QueryWL_CurrentLinkSpeed) X(QueryWL_RSSI) X(QueryWL_CommQuality)                         \
    X(QueryWL_OperationRegionCode) X(QueryWL_SSID) X(QueryWL_BSSID) X(QueryWL_SupportChannel)  \
    X(SetWL_NetworkType) X(SetWL_AuthenticationMode) X(SetWL_Channel) X(SetWL_WEPStatus)       \
    X(SetWL_PreambleMode) X(SetWL_PSMode) X(SetWL_OperationRegionCode)                         \
    X(SetWL_RegionAndSupportChannel) X(SetWL_SSID) X(SetWL_DesiredRate) X(SetWL_WriteKey)      \
    X(SetWL_BSSID) X(SetWL_HXUseHXOidState) X(WL_SiteSurveyStart) X(WL_RetrieveSiteSurveyData) \
    X(WL_FilteSiteSurveyData) X(WriteOid) X(QueryWL_CheckWZCStatus)

namespace hx {

struct AdapterExports {
#define HX_ADAPTER_EXPORT_POINTER(name) decltype(&::name) name = nullptr;
    HX_ADAPTER_EXPORTS(HX_ADAPTER_EXPORT_POINTER)
#undef HX_ADAPTER_EXPORT_POINTER

    // Every export is there.
    bool Complete() const;
};

// The library over a table. A table that is not complete stands for no library: every call
// fails (-1; no adapter listed, an empty hex text), and nothing is called through it.
std::unique_ptr<AdapterLibrary> AdapterLibraryOver(const AdapterExports& exports);
// The library over a table its caller keeps and may fill later, complete or not at all:
// until then every call fails as above. The table outlives the library, and is filled
// before any other thread calls through it.
std::unique_ptr<AdapterLibrary> AdapterLibraryOverTable(const AdapterExports& table);

// The exports linked into this program: natively the simulator's export layer, on Windows
// the imports of VUVAVO.dll.
AdapterExports LinkedAdapterExports();

}  // namespace hx
