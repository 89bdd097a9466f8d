#include "adapter/Discovery.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace hx {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsHardwareId(const char* matchingDeviceId) {
    const size_t length = std::strlen(kHardwareId);
    if (std::strlen(matchingDeviceId) != length) return false;
    for (size_t i = 0; i < length; ++i) {
        if (Upper(matchingDeviceId[i]) != Upper(kHardwareId[i])) return false;
    }
    return true;
}

std::string DriverVersionText(int packed) {
    const auto v = static_cast<uint32_t>(packed);
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%02d%02X.%04d", static_cast<int>(v >> 24 & 0xFF),
                  static_cast<int>(v >> 16 & 0xFF), static_cast<int>(v >> 8 & 0xF),
                  static_cast<unsigned>(v & 0xFF), 2000 + static_cast<int>(v >> 12 & 0xF));
    return text;
}

std::string MacAddressText(const uint8_t mac[6]) {
    char text[24];
    std::snprintf(text, sizeof text, "%.2X:%.2X:%.2X:%.2X:%.2X:%.2X", mac[0], mac[1], mac[2], mac[3],
                  mac[4], mac[5]);
    return text;
}

std::string Discovery::InstanceKeyPath(const AdapterListEntry& entry) {
    // The sub-key name need not end inside its five bytes.
    const std::string instance(entry.instanceKey, strnlen(entry.instanceKey, kInstanceKeySize));
    const char* format = library_.QueryWL_IsWindows95() != 0
                             ? "System\\CurrentControlSet\\Services\\Class\\Net\\%s"
                             : "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\%s";
    char path[256] = {};
    std::snprintf(path, sizeof path, format, instance.c_str());
    return path;
}

bool Discovery::HasHardwareId(const AdapterListEntry& entry) {
    const std::string path = InstanceKeyPath(entry);
    char value[257] = {};  // one byte more than the library may fill, so the text always ends
    unsigned long size = 256;
    if (library_.QueryHLMReg(path.c_str(), "MatchingDeviceId", value, &size) != 0) return false;
    return IsHardwareId(value);
}

void Discovery::Discover() {
    state_.adapterReady = 0;
    auto list = std::make_unique<AdapterListEntry[]>(kMaxListedAdapters);  // zero-filled
    int count = library_.CreateNICAdapterList(list.get(), kMaxListedAdapters);
    if (count == 0) {
        state_.adapter.deviceHandle = kAdapterNotOpen;
        return;
    }
    if (count < 0) return;
    if (count > kMaxListedAdapters) count = kMaxListedAdapters;

    for (int i = 0; i < count; ++i) {
        const AdapterListEntry& entry = list[static_cast<size_t>(i)];
        if (!HasHardwareId(entry)) continue;
        AdapterHandle& adapter = state_.adapter;
        adapter.deviceHandle = kAdapterNotOpen;
        std::memcpy(adapter.name, entry.name, sizeof adapter.name);
        std::memcpy(adapter.description, entry.description, sizeof adapter.description);
        std::memcpy(adapter.instanceKey, entry.instanceKey, sizeof adapter.instanceKey);
        if (library_.HxOpenAdapter(&adapter) != 0) {
            state_.adapterReady = 1;
            return;
        }
    }
}

bool Discovery::Identify() {
    state_.supportedRates = SupportedRates{};
    monitor_.ResetHistory();

    unsigned char rates[16] = {};
    if (library_.QueryWL_SupportedRate(&state_.adapter, rates) != 0) return false;
    for (size_t i = 0; i < 16; ++i) state_.supportedRates.rate[i] = static_cast<uint8_t>(rates[i] & 0x7F);

    const int version = library_.QueryWL_DriverVersion(&state_.adapter);
    if (version == -1) return false;
    shell_.SetDriverVersionText(DriverVersionText(version));

    // When the query fails the address shows as zeros.
    unsigned char mac[6] = {};
    library_.GetNICAdapterMAC(&state_.adapter, mac);
    shell_.SetMacAddressText(MacAddressText(mac));
    shell_.FillTxRateList();

    // Once: an adapter found again gets the setting in force. The store holds only what an
    // adapter took (none of an apply cut short), over the settings before it.
    if (!lastSettingLoaded_) store_.LoadLastSetting(state_.current);
    lastSettingLoaded_ = true;
    state_.settingOwed = true;  // a new adapter holds none of it
    wzc_.NewAdapter();
    wzc_.Check();
    if (state_.wzcState != Wzc::ServiceControl) {
        applier_.ApplySetting();
        shell_.StartSiteSurvey();
        shell_.ShowPage(PageId::LinkInfo);
    }
    return true;
}

}  // namespace hx
