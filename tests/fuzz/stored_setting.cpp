// Loading settings from whatever the registry holds: the input is a list of stored values
// (last setting, profiles, profile links) of any type, name and content, put into an
// application profile; then the last setting and the first listed profiles are loaded,
// shown on the page models and applied to an adapter that checks what it is given.
//
// Checked: the last setting always comes out within its ranges with its defaults; a
// profile's values come out as stored (texts cut to their buffers); the profile walk ends
// and lists no key twice; nothing longer than its buffer reaches the adapter.
//
// Input: records of [kind][name][value]. kind bit 0: integer (4 bytes, little-endian) or
// text (a length byte and the bytes); bits 1-2: the last setting, a profile (named by the
// next byte), or the application key itself. name: one of the known value names, or (for
// a byte past the list) a name taken from the input.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "config/LastSettingStore.h"
#include "config/MemoryAppProfile.h"
#include "config/ProfileStore.h"
#include "config/SettingApplier.h"
#include "config/ValueTables.h"
#include "pages/ConfigPageModel.h"
#include "pages/ProfileEditorModel.h"
#include "sim/core/HexCodec.h"

namespace {

const char* const kValueNames[] = {
    "SSID", "Channel", "NetworkType", "DesiredRate", "AuthenticationMode", "WEPStatus", "WEPDefaultKeyId",
    "WEPKeyLength", "PowerSaveMode", "PreambleMode", "Domain", "Dot1xProtocol", "Dot1xPassphrase",
    "Dot1xUsername", "Dot1xPassword", "Dot1xWPAIEs", "Dot1xCertSubject", "Dot1xCertIssuer", "WEPKey64_0",
    "WEPKey64_3", "WEPKey128_1", "WEPKey256_2", "WEPKey-1_0", "WEPKey100_1", "ProfileLink", "WepKeyFormat",
};
const char* const kProfileNames[] = {"Home", "home", "Office", "Lab\\Bench", "Lab", "", "A", "B"};

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    int Int() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(Byte()) << (8 * i);
        return static_cast<int>(value);
    }
    std::string Text() {
        const size_t length = std::min<size_t>(Byte(), size_ - std::min(at_, size_));
        std::string text(reinterpret_cast<const char*>(data_ + at_), length);
        at_ += length;
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// An adapter that takes every setting and checks what reaches it: SSIDs within their 32
// bytes, key length codes the library knows. The hex conversions are the library's own.
class CheckingAdapter final : public hx::AdapterLibrary {
public:
    using H = hx::AdapterHandle;
    int CreateNICAdapterList(hx::AdapterListEntry*, int) override { return 0; }
    int QueryWL_IsWindows95() override { return 0; }
    int QueryHLMReg(const char*, const char*, char*, unsigned long*) override { return -1; }
    int Query_FixWindisPnPBug() override { return 0; }
    int HXStopWZCService() override { return 0; }
    int HXStartWZCService() override { return 0; }
    int HexStrToBin(const char* text, unsigned char* out, int count) override {
        return hxsim::HexTextToBytes(text, out, count);
    }
    int BinToHexStr(const unsigned char* bytes, char* out, int count, int separated) override {
        return hxsim::BytesToHexText(bytes, out, count, separated != 0);
    }
    int HxOpenAdapter(H*) override { return 1; }
    int QueryWL_SupportedRate(H*, unsigned char*) override { return 0; }
    int QueryWL_DriverVersion(H*) override { return 0; }
    int GetNICAdapterMAC(H*, unsigned char*) override { return 0; }
    int QueryWL_ConnectState(H*) override { return 1; }
    int QueryWL_NetworkType(H*) override { return 1; }
    int QueryWL_Channel(H*) override { return 1; }
    int QueryWL_CurrentLinkSpeed(H*) override { return 0; }
    int QueryWL_RSSI(H*) override { return -60; }
    int QueryWL_CommQuality(H*) override { return 50; }
    int QueryWL_OperationRegionCode(H*) override { return 0x10; }
    int QueryWL_SSID(H*, char*) override { return 0; }
    int QueryWL_BSSID(H*, unsigned char*) override { return 0; }
    int QueryWL_SupportChannel(H*, unsigned char*, int* count) override { return *count = 11, 0; }
    int SetWL_NetworkType(H*, int) override { return 0; }
    int SetWL_AuthenticationMode(H*, int) override { return 0; }
    int SetWL_Channel(H*, int) override { return 0; }
    int SetWL_WEPStatus(H*, int) override { return 0; }
    int SetWL_PreambleMode(H*, int) override { return 0; }
    int SetWL_PSMode(H*, int) override { return 0; }
    int SetWL_OperationRegionCode(H*, int) override { return 0; }
    int SetWL_RegionAndSupportChannel(H*, int) override { return 0; }
    int SetWL_SSID(H*, const char* ssid, int length) override {
        if (length < 0 || length > 32 || std::strlen(ssid) > 32) __builtin_trap();
        return 0;
    }
    int SetWL_DesiredRate(H*, const unsigned char*) override { return 0; }
    int SetWL_WriteKey(H*, int index, int lengthCode, int isDefault, const unsigned char*) override {
        if (index < 0 || index > 3 || lengthCode < 0 || lengthCode > 2 || (isDefault != 0 && isDefault != 1))
            __builtin_trap();
        return 0;
    }
    int SetWL_BSSID(H*, const unsigned char*) override { return 0; }
    int SetWL_HXUseHXOidState(H*, int) override { return 0; }
    int WL_SiteSurveyStart(H*) override { return 0; }
    int WL_RetrieveSiteSurveyData(H*, unsigned char*, int) override { return -1; }
    int WL_FilteSiteSurveyData(H*, unsigned char*) override { return 0; }
    int WriteOid(H*, unsigned long, void*, int) override { return 0; }
    int QueryWL_CheckWZCStatus(H*) override { return 0; }
};

class CountingWorker final : public hx::WorkerControl {
public:
    void StartWorker() override {}
    void StopWorker() override {}
    bool WorkerActive() const override { return false; }
};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

bool Within(int value, int low, int high) { return value >= low && value <= high; }

// What an apply handed the adapter stays inside the buffers it went through.
void ApplyToCheckingAdapter(const hx::WlanSetting& setting) {
    CheckingAdapter adapter;
    hx::UtilityState state;
    hx::InitialiseProcessState(state);
    state.current = setting;
    hx::MemoryAppProfile written;
    hx::LastSettingStore store(written);
    CountingWorker worker;
    hx::SettingApplier applier(adapter, state, store, worker);
    Check(applier.ApplySetting() == 1);
    Check(written.ReadString(hx::kLastSettingSection, "SSID", "").size() <= 32);
    Check(written.ReadString(hx::kLastSettingSection, "DesiredRate", "").size() <= 99);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    hx::MemoryAppProfile profile;
    for (int record = 0; record < 48 && !input.Empty(); ++record) {
        const uint8_t kind = input.Byte();
        std::string section;
        switch ((kind >> 1) & 3) {
        case 0: section = hx::kLastSettingSection; break;
        case 1: section = std::string(hx::kProfileSection) + kProfileNames[input.Byte() % std::size(kProfileNames)]; break;
        default: section = ""; break;
        }
        const uint8_t nameIndex = input.Byte();
        const std::string name = nameIndex < std::size(kValueNames) ? kValueNames[nameIndex] : input.Text();
        if (kind & 1) {
            profile.SetValue(section, name, input.Int());
        } else {
            profile.SetValue(section, name, input.Text());
        }
    }
    const size_t valuesBefore = profile.ValueCount();

    // The last setting: every field within its range, whatever was stored.
    hx::LastSettingStore store(profile);
    hx::WlanSetting last;
    last.Dot1xWPAIEs = "kept";
    store.LoadLastSetting(last);
    const int mode = last.AuthenticationMode;  // 5 has no meaning; WPA2 is 6 and 7
    Check(Within(last.NetworkType, 0, 1) && Within(mode, 0, 7) && mode != 5 && Within(last.Channel, 0, 14));
    Check(Within(last.PreambleMode, 0, 2) && Within(last.PowerSaveMode, 0, 2) && last.Domain >= 0);
    Check(Within(last.WEPDefaultKeyId, 0, 3) && Within(last.WEPStatus, 0, 6) && Within(last.Dot1xProtocol, 0, 1));
    Check(last.WEPKeyLength == 64 || last.WEPKeyLength == 128 || last.WEPKeyLength == 256);
    Check(last.SSID.size() <= 32 && !last.DesiredRate.empty() && last.DesiredRate.size() <= 99);
    for (const auto& key : last.WEPKey) Check(!key.empty() && key.size() <= 99);
    Check(last.Dot1xWPAIEs == "kept");
    Check(profile.ValueCount() == valuesBefore);
    ApplyToCheckingAdapter(last);

    // The profiles: the walk ends, each key once; values as stored, texts cut.
    hx::ProfileStore profiles(profile);
    const std::vector<std::string> names = profiles.ListProfileNames();
    std::set<std::string> keys;
    for (const std::string& name : names) {
        std::string key = hx::NormaliseSection(std::string(hx::kProfileSection) + name);
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
        Check(keys.insert(key).second);
    }
    hx::SupportedChannels channels;
    channels.count = 11;
    for (int i = 0; i < 11; ++i) channels.channel[static_cast<size_t>(i)] = static_cast<uint8_t>(i + 1);
    hx::SupportedRates rates;
    const uint8_t supported[] = {2, 4, 11, 22, 12, 18, 24, 36, 48, 72, 96, 108};
    std::copy(std::begin(supported), std::end(supported), rates.rate.begin());
    CheckingAdapter adapter;
    for (size_t i = 0; i < names.size() && i < 2; ++i) {
        hx::WlanSetting loaded;
        profiles.LoadProfile(names[i], loaded);
        Check(loaded.SSID.size() <= 32 && loaded.DesiredRate.size() <= 99);
        for (const auto& key : loaded.WEPKey) Check(key.size() <= 99);
        Check(loaded.Channel == profiles.ReadProfileValueInt(names[i], "Channel"));
        Check(loaded.Dot1xPassphrase == profiles.ReadProfileValueString(names[i], "Dot1xPassphrase"));

        const hx::ProfileEditorPositions editor = hx::LoadEditorPositions(loaded, names[i], channels);
        Check(editor.channel >= -1 && editor.channel < channels.count);
        Check(Within(editor.region, 0, 7) && Within(editor.encryption, 0, 3) && Within(editor.authentication, -1, 4));
        Check(Within(editor.defaultKey, -1, 3));
        const hx::ConfigPositions config = hx::LoadConfigPositions(loaded, rates, channels, adapter);
        Check(config.channel >= -1 && config.channel < channels.count);
        Check(Within(config.txRate, 0, 12) && Within(config.region, 0, 7));
        ApplyToCheckingAdapter(loaded);
    }
    return 0;
}
