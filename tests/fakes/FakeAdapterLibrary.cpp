#include "tests/fakes/FakeAdapterLibrary.h"

#include <algorithm>
#include <cstring>

#include "tests/fakes/CallArgumentText.h"

namespace hx::test {

void FakeAdapterLibrary::Fail(const std::string& name, int times) {
    auto lock = Lock();
    failures_[name] = times;
}

void FakeAdapterLibrary::ClearFailures() {
    auto lock = Lock();
    failures_.clear();
}

void FakeAdapterLibrary::Script(const std::string& name, std::deque<int> results) {
    auto lock = Lock();
    scripts_[name] = std::move(results);
}

void FakeAdapterLibrary::OnCall(const std::string& name, std::function<void()> hook) {
    auto lock = Lock();
    hooks_[name] = std::move(hook);
}

std::vector<std::string> FakeAdapterLibrary::Calls() const {
    auto lock = Lock();
    std::vector<std::string> result;
    for (const auto& [name, args] : calls_) result.push_back(name + "(" + args + ")");
    return result;
}

std::vector<std::string> FakeAdapterLibrary::CallNames() const {
    auto lock = Lock();
    std::vector<std::string> result;
    for (const auto& call : calls_) result.push_back(call.first);
    return result;
}

int FakeAdapterLibrary::CountOf(const std::string& name) const {
    auto lock = Lock();
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                          [&](const auto& call) { return call.first == name; }));
}

void FakeAdapterLibrary::ClearCalls() {
    auto lock = Lock();
    calls_.clear();
}

bool FakeAdapterLibrary::Enter(const std::string& name, const std::string& args) {
    std::function<void()> hook;
    {
        auto lock = Lock();
        auto it = hooks_.find(name);
        if (it != hooks_.end()) hook = it->second;
    }
    if (hook) hook();
    auto lock = Lock();
    calls_.emplace_back(name, args);
    auto it = failures_.find(name);
    if (it == failures_.end() || it->second == 0) return false;
    if (it->second > 0) --it->second;
    return true;
}

bool FakeAdapterLibrary::Scripted(const std::string& name, int& result) {
    auto lock = Lock();
    auto it = scripts_.find(name);
    if (it == scripts_.end() || it->second.empty()) return false;
    result = it->second.front();
    it->second.pop_front();
    return true;
}

int FakeAdapterLibrary::CreateNICAdapterList(AdapterListEntry* entries, int maxEntries) {
    if (Enter("CreateNICAdapterList", std::to_string(maxEntries))) return 0;
    auto lock = Lock();
    const int n = std::min<int>(maxEntries, static_cast<int>(adapterList.size()));
    for (int i = 0; i < n; ++i) entries[i] = adapterList[static_cast<size_t>(i)];
    return adapterListResult != -2 ? adapterListResult : n;
}

int FakeAdapterLibrary::QueryWL_IsWindows95() {
    Enter("QueryWL_IsWindows95", "");
    auto lock = Lock();
    return isWindows95;
}

int FakeAdapterLibrary::QueryHLMReg(const char* subKey, const char* valueName, char* buffer,
                                    unsigned long* size) {
    if (Enter("QueryHLMReg", Str(subKey) + "," + Str(valueName) + "," +
                                  std::to_string(size ? *size : 0)))
        return -1;
    auto lock = Lock();
    auto it = hlmValues.find(Str(subKey) + "|" + Str(valueName));
    if (it == hlmValues.end() || buffer == nullptr || size == nullptr) return -1;
    if (it->second.size() + 1 > *size) return -1;
    std::memcpy(buffer, it->second.c_str(), it->second.size() + 1);
    *size = static_cast<unsigned long>(it->second.size() + 1);
    return 0;
}

int FakeAdapterLibrary::Query_FixWindisPnPBug() {
    Enter("Query_FixWindisPnPBug", "");
    return 0;
}

int FakeAdapterLibrary::HXStopWZCService() {
    Enter("HXStopWZCService", "");
    auto lock = Lock();
    ++wzcStops;
    return 0;
}

int FakeAdapterLibrary::HXStartWZCService() {
    Enter("HXStartWZCService", "");
    auto lock = Lock();
    ++wzcStarts;
    return 0;
}

int FakeAdapterLibrary::HexStrToBin(const char* text, unsigned char* out, int count) {
    if (Enter("HexStrToBin", Str(text) + "," + std::to_string(count))) return -1;
    return hxsim::HexTextToBytes(text, out, count);
}

int FakeAdapterLibrary::BinToHexStr(const unsigned char* bytes, char* out, int count, int separated) {
    if (Enter("BinToHexStr", Hex(bytes, count) + "," + std::to_string(separated))) return -1;
    return hxsim::BytesToHexText(bytes, out, count, separated != 0);
}

int FakeAdapterLibrary::HxOpenAdapter(AdapterHandle* adapter) {
    const std::string key = adapter ? std::string(adapter->instanceKey, strnlen(adapter->instanceKey, 5)) : "";
    if (Enter("HxOpenAdapter", key)) return 0;
    auto lock = Lock();
    auto it = openResults.find(key);
    const int result = it == openResults.end() ? 1 : it->second;
    if (result != 0 && adapter) adapter->deviceHandle = 0x100;
    return result;
}

int FakeAdapterLibrary::QueryWL_SupportedRate(AdapterHandle*, unsigned char rates[16]) {
    if (Enter("QueryWL_SupportedRate", "")) return -1;
    auto lock = Lock();
    std::memcpy(rates, supportedRates.data(), 16);
    return 0;
}

#define HX_FAKE_QUERY(Name, field)                  \
    int FakeAdapterLibrary::Name(AdapterHandle*) {  \
        if (Enter(#Name, "")) return -1;            \
        int scripted;                               \
        if (Scripted(#Name, scripted)) return scripted; \
        auto lock = Lock();                         \
        return field;                               \
    }

HX_FAKE_QUERY(QueryWL_DriverVersion, driverVersion)
HX_FAKE_QUERY(QueryWL_ConnectState, connectState)
HX_FAKE_QUERY(QueryWL_NetworkType, networkType)
HX_FAKE_QUERY(QueryWL_Channel, channel)
HX_FAKE_QUERY(QueryWL_CurrentLinkSpeed, linkSpeed)
HX_FAKE_QUERY(QueryWL_RSSI, rssi)
HX_FAKE_QUERY(QueryWL_CommQuality, commQuality)
HX_FAKE_QUERY(QueryWL_CheckWZCStatus, wzcStatus)
#undef HX_FAKE_QUERY

int FakeAdapterLibrary::QueryWL_OperationRegionCode(AdapterHandle*) {
    if (Enter("QueryWL_OperationRegionCode", "")) return -1;
    int scripted;
    if (Scripted("QueryWL_OperationRegionCode", scripted)) return scripted;
    auto lock = Lock();
    return regionAnswer != -2 ? regionAnswer : regionCode;
}

int FakeAdapterLibrary::GetNICAdapterMAC(AdapterHandle*, unsigned char out[6]) {
    if (Enter("GetNICAdapterMAC", "")) return -1;
    auto lock = Lock();
    std::memcpy(out, mac.data(), 6);
    return 0;
}

int FakeAdapterLibrary::QueryWL_SSID(AdapterHandle*, char* buffer) {
    if (Enter("QueryWL_SSID", "")) return -1;
    auto lock = Lock();
    const size_t n = std::min<size_t>(ssid.size(), 32);
    std::memcpy(buffer, ssid.data(), n);
    return static_cast<int>(n);
}

int FakeAdapterLibrary::QueryWL_BSSID(AdapterHandle*, unsigned char out[6]) {
    if (Enter("QueryWL_BSSID", "")) return -1;
    auto lock = Lock();
    std::memcpy(out, bssid.data(), 6);
    return 0;
}

int FakeAdapterLibrary::QueryWL_SupportChannel(AdapterHandle*, unsigned char channels[14], int* count) {
    if (Enter("QueryWL_SupportChannel", std::to_string(count ? *count : -1))) return -1;
    auto lock = Lock();
    const int n = std::min<int>(count ? *count : 0, static_cast<int>(supportChannels.size()));
    for (int i = 0; i < n; ++i) channels[i] = supportChannels[static_cast<size_t>(i)];
    if (count) *count = n;
    return 0;
}

#define HX_FAKE_SETTER(Name, field)                              \
    int FakeAdapterLibrary::Name(AdapterHandle*, int value) {    \
        if (Enter(#Name, std::to_string(value))) return -1;      \
        auto lock = Lock();                                      \
        field = value;                                           \
        return 0;                                                \
    }

HX_FAKE_SETTER(SetWL_NetworkType, networkType)
HX_FAKE_SETTER(SetWL_AuthenticationMode, authMode)
HX_FAKE_SETTER(SetWL_Channel, channel)
HX_FAKE_SETTER(SetWL_WEPStatus, wepStatus)
HX_FAKE_SETTER(SetWL_PreambleMode, preamble)
HX_FAKE_SETTER(SetWL_PSMode, powerSave)
HX_FAKE_SETTER(SetWL_OperationRegionCode, regionCode)
HX_FAKE_SETTER(SetWL_HXUseHXOidState, useOwnOids)
#undef HX_FAKE_SETTER

int FakeAdapterLibrary::SetWL_RegionAndSupportChannel(AdapterHandle*, int region) {
    if (Enter("SetWL_RegionAndSupportChannel", std::to_string(region))) return -1;
    return 0;
}

int FakeAdapterLibrary::SetWL_SSID(AdapterHandle*, const char* text, int length) {
    const std::string value = text ? std::string(text, static_cast<size_t>(std::max(0, length))) : "";
    if (Enter("SetWL_SSID", value + "," + std::to_string(length))) return -1;
    auto lock = Lock();
    ssid = value;
    return 0;
}

int FakeAdapterLibrary::SetWL_DesiredRate(AdapterHandle*, const unsigned char rates[16]) {
    if (Enter("SetWL_DesiredRate", Hex(rates, 16))) return -1;
    auto lock = Lock();
    std::memcpy(desiredRate.data(), rates, 16);
    return 0;
}

int FakeAdapterLibrary::SetWL_WriteKey(AdapterHandle*, int index, int lengthCode, int isDefault,
                                       const unsigned char* key) {
    const int bytes = lengthCode == 1 ? 13 : (lengthCode == 2 ? 29 : 5);
    if (Enter("SetWL_WriteKey", std::to_string(index) + "," + std::to_string(lengthCode) + "," +
                                    std::to_string(isDefault) + "," + Hex(key, bytes)))
        return -1;
    auto lock = Lock();
    keys.push_back({index, lengthCode, isDefault, std::vector<uint8_t>(key, key + bytes)});
    return 0;
}

int FakeAdapterLibrary::SetWL_BSSID(AdapterHandle*, const unsigned char value[6]) {
    if (Enter("SetWL_BSSID", Hex(value, 6))) return -1;
    auto lock = Lock();
    std::memcpy(bssid.data(), value, 6);
    return 0;
}

int FakeAdapterLibrary::WL_SiteSurveyStart(AdapterHandle*) {
    if (Enter("WL_SiteSurveyStart", "")) return -1;
    auto lock = Lock();
    ++surveyStarts;
    return 0;
}

int FakeAdapterLibrary::WL_RetrieveSiteSurveyData(AdapterHandle*, unsigned char* buffer, int size) {
    if (Enter("WL_RetrieveSiteSurveyData", std::to_string(size))) return -1;
    auto lock = Lock();
    if (static_cast<int>(surveyData.size()) > size) return -1;
    std::memcpy(buffer, surveyData.data(), surveyData.size());
    return 0;
}

int FakeAdapterLibrary::WL_FilteSiteSurveyData(AdapterHandle*, unsigned char*) {
    Enter("WL_FilteSiteSurveyData", "");
    return 0;
}

int FakeAdapterLibrary::WriteOid(AdapterHandle*, unsigned long oid, void* buffer, int length) {
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    if (Enter("WriteOid", std::to_string(oid) + "," + std::to_string(length))) return -1;
    auto lock = Lock();
    oids.push_back({oid, bytes ? std::vector<uint8_t>(bytes, bytes + std::max(0, length))
                               : std::vector<uint8_t>{}});
    return 0;
}

}  // namespace hx::test
