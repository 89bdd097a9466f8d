#include "sim/core/FaultPlan.h"

#include <algorithm>

namespace hxsim {

void FaultPlan::Set(const std::string& call, int times) {
    if (times == 0) plan_.erase(call);
    else plan_[call] = times;
}

bool FaultPlan::ShouldFail(const std::string& call) {
    auto it = plan_.find(call);
    if (it == plan_.end()) return false;
    if (it->second != kAlways && --it->second == 0) plan_.erase(it);
    return true;
}

std::vector<std::pair<std::string, int>> FaultPlan::Planned() const {
    return {plan_.begin(), plan_.end()};
}

const std::vector<std::string>& FaultPlan::KnownCalls() {
    static const std::vector<std::string> calls{
        "CreateNICAdapterList", "QueryWL_IsWindows95", "QueryHLMReg", "Query_FixWindisPnPBug",
        "HXStopWZCService", "HXStartWZCService", "HexStrToBin", "BinToHexStr", "HxOpenAdapter",
        "QueryWL_SupportedRate", "QueryWL_DriverVersion", "GetNICAdapterMAC", "QueryWL_ConnectState",
        "QueryWL_NetworkType", "QueryWL_Channel", "QueryWL_CurrentLinkSpeed", "QueryWL_RSSI",
        "QueryWL_CommQuality", "QueryWL_OperationRegionCode", "QueryWL_SSID", "QueryWL_BSSID",
        "QueryWL_SupportChannel", "SetWL_NetworkType", "SetWL_AuthenticationMode", "SetWL_Channel",
        "SetWL_WEPStatus", "SetWL_PreambleMode", "SetWL_PSMode", "SetWL_OperationRegionCode",
        "SetWL_RegionAndSupportChannel", "SetWL_SSID", "SetWL_DesiredRate", "SetWL_WriteKey",
        "SetWL_BSSID", "SetWL_HXUseHXOidState", "WL_SiteSurveyStart", "WL_RetrieveSiteSurveyData",
        "WL_FilteSiteSurveyData", "WriteOid", "QueryWL_CheckWZCStatus", "HxSimSendEapol",
        "HxSimReceiveEapol", "HxSimAssociationElement"};
    return calls;
}

bool FaultPlan::IsKnownCall(const std::string& call) {
    const auto& calls = KnownCalls();
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

}  // namespace hxsim
