#include "adapter/LinkMonitor.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace hx {

void LinkMonitor::ResetHistory() {
    qualitySamples_.fill(0);
    signalSamples_.fill(0);
    ringIndex_ = 0;
    sampleCount_ = 0;
}

bool LinkMonitor::Read(int value, int& field) {
    if (value == -1) {
        Fail();
        return false;
    }
    field = value;
    return true;
}

int SignalPercent(int meanDbm) { return (meanDbm - kWeakestSignalDbm) * 100 / (kStrongestSignalDbm - kWeakestSignalDbm); }

void LinkMonitor::Poll() {
    LinkStatus& link = state_.link;
    AdapterHandle* adapter = &state_.adapter;

    if (!Read(library_.QueryWL_ConnectState(adapter), link.connectState)) return;
    if (!Read(library_.QueryWL_NetworkType(adapter), link.networkType)) return;
    if (!Read(library_.QueryWL_Channel(adapter), link.channel)) return;
    if (!Read(library_.QueryWL_CurrentLinkSpeed(adapter), link.linkSpeed)) return;
    link.linkQuality = 0;
    link.signalStrength = 0;

    std::string ssid;
    if (link.connectState == ConnectState::Associated) {
        char buffer[100] = {};
        if (library_.QueryWL_SSID(adapter, buffer) == -1) return Fail();
        ssid.assign(buffer, strnlen(buffer, sizeof buffer - 1));

        unsigned char bssid[6] = {};
        if (library_.QueryWL_BSSID(adapter, bssid) == -1) return Fail();
        std::memcpy(link.bssid.data(), bssid, sizeof bssid);

        if (link.networkType == NetworkType::Infrastructure) {
            const auto slot = static_cast<size_t>(ringIndex_);
            const int rssi = library_.QueryWL_RSSI(adapter);
            if (rssi == -1) return Fail();
            signalSamples_[slot] = std::clamp(rssi, kWeakestSignalDbm, kStrongestSignalDbm);
            const int quality = library_.QueryWL_CommQuality(adapter);
            if (quality == -1) return Fail();
            qualitySamples_[slot] = std::clamp(quality, 0, 100);
            ringIndex_ = (ringIndex_ + 1) % kLinkSamples;
            sampleCount_ = std::min(sampleCount_ + 1, kLinkSamples);

            const int signalSum = std::accumulate(signalSamples_.begin(), signalSamples_.end(), 0);
            const int qualitySum = std::accumulate(qualitySamples_.begin(), qualitySamples_.end(), 0);
            link.signalStrength = SignalPercent(signalSum / sampleCount_);
            link.linkQuality = qualitySum / sampleCount_;
        }
    } else {
        ssid = CutText(store_.ReadLastSettingString("SSID"), kMaxSsidLength);
    }
    link.ssid = std::move(ssid);

    if (shell_.IsCurrentPage(PageId::LinkInfo)) shell_.ShowLinkStatus();
}

}  // namespace hx
