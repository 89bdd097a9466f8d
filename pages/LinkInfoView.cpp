#include "pages/LinkInfoView.h"

#include <cstdio>
#include <cstring>

#include "adapter/AdapterLibrary.h"
#include "config/WlanSetting.h"

namespace hx {
namespace {

std::string Percent(int value) {
    char text[24];
    std::snprintf(text, sizeof text, "%d %%", value);
    return text;
}

}  // namespace

std::string TxRateText(int linkSpeedKbps) {
    char text[32];
    if (linkSpeedKbps % 1000 == 0) {
        std::snprintf(text, sizeof text, "%d Mbps", linkSpeedKbps / 1000);
    } else {
        std::snprintf(text, sizeof text, "%.1f Mbps", linkSpeedKbps * 0.001);
    }
    return text;
}

std::string DashedAddress(AdapterLibrary& library, const uint8_t address[6]) {
    constexpr size_t kAddressBytes = 6;
    char text[SeparatedHexTextSize(kAddressBytes)] = {};
    library.BinToHexStr(address, text, kAddressBytes, 1);
    // Six pairs and the five separators between them: a separator the library puts after
    // the last pair is not shown.
    text[3 * kAddressBytes - 1] = '\0';
    for (size_t at : {2u, 5u, 8u, 11u, 14u}) {
        if (at < std::strlen(text)) text[at] = '-';
    }
    return text;
}

LinkInfoView MakeLinkInfoView(const LinkStatus& link, AdapterLibrary& library) {
    LinkInfoView view;
    view.channel = std::to_string(link.channel);
    view.txRate = TxRateText(link.linkSpeed);
    view.ssid = link.ssid;
    if (link.connectState == ConnectState::NotAssociated || link.connectState == ConnectState::AuthenticationRefused) {
        view.status = "No connection to Network";
    } else if (link.networkType != NetworkType::AdHoc) {
        view.status = "Associated BSSID = " + DashedAddress(library, link.bssid.data());
    } else {
        view.status = "Joined IBSSID = " + DashedAddress(library, link.bssid.data());
    }
    const bool infrastructure = link.networkType == NetworkType::Infrastructure;
    view.qualityAreaEnabled = infrastructure;
    view.qualityPercentShown = infrastructure;
    view.signalLabelShown = infrastructure;
    view.qualityPercent = Percent(link.linkQuality);
    view.signalPercent = Percent(link.signalStrength);
    view.qualityPosition = link.linkQuality;
    view.signalPosition = link.signalStrength;
    return view;
}

}  // namespace hx
