#include "pages/win32/CPage_Config.h"

#include "config/ValueTables.h"

namespace hx::win {
namespace {

constexpr int kLabelIds[] = {IDC_CFG_SSID_LABEL, IDC_CFG_MODE_LABEL,     IDC_CFG_CHANNEL_LABEL,
                             IDC_CFG_RATE_LABEL, IDC_CFG_PREAMBLE_LABEL, IDC_CFG_POWER_LABEL,
                             IDC_CFG_REGION_LABEL};

}  // namespace

BOOL CPage_Config::OnInitDialog() {
    labels_.Attach(Hwnd(), kLabelIds, kPageBackground);
    ::SendMessageA(Item(IDC_CFG_SSID), EM_LIMITTEXT, kSsidLimit, 0);

    FillList(Hwnd(), IDC_CFG_MODE, kNetworkTypeTexts);
    FillList(Hwnd(), IDC_CFG_PREAMBLE, kPreambleTexts);
    FillList(Hwnd(), IDC_CFG_POWER, kPowerSaveTexts);
    FillList(Hwnd(), IDC_CFG_REGION, RegionListTexts());

    ::ShowWindow(Item(IDC_CFG_REGION_LABEL), SW_SHOW);
    ::ShowWindow(Item(IDC_CFG_REGION), SW_SHOW);
    return TRUE;
}

void CPage_Config::FillTxRateList() {
    const PageContext* context = Context();
    if (context == nullptr || Hwnd() == nullptr) return;
    FillList(Hwnd(), IDC_CFG_RATE, RateListTexts(context->state.supportedRates));
}

void CPage_Config::FillChannelList() {
    const PageContext* context = Context();
    if (context == nullptr || Hwnd() == nullptr) return;
    const SupportedChannels& channels = context->state.supportedChannels;
    FillList(Hwnd(), IDC_CFG_CHANNEL, ChannelListTexts(channels));
    SelectPosition(Hwnd(), IDC_CFG_CHANNEL, ChannelPosition(channels, context->state.current.Channel));
}

void CPage_Config::LoadFromSetting() {
    const PageContext* context = Context();
    if (context == nullptr || Hwnd() == nullptr) return;
    const UtilityState& state = context->state;
    ShowPositions(LoadConfigPositions(state.current, state.supportedRates, state.supportedChannels,
                                      context->library));
}

void CPage_Config::ShowPositions(const ConfigPositions& positions) {
    SetItemText(Hwnd(), IDC_CFG_SSID, positions.ssid.substr(0, kSsidLimit));
    SelectPosition(Hwnd(), IDC_CFG_MODE, positions.wirelessMode);
    SelectPosition(Hwnd(), IDC_CFG_PREAMBLE, positions.preamble);
    SelectPosition(Hwnd(), IDC_CFG_POWER, positions.powerMode);
    FillChannelList();
    SelectPosition(Hwnd(), IDC_CFG_RATE, positions.txRate);
    ApplyWirelessModeRule();
    SelectPosition(Hwnd(), IDC_CFG_REGION, positions.region);
}

ConfigPositions CPage_Config::Positions() const {
    ConfigPositions positions;
    char ssid[kSsidLimit + 1] = {};
    ::GetDlgItemTextA(Hwnd(), IDC_CFG_SSID, ssid, sizeof ssid);
    positions.ssid = ssid;
    positions.wirelessMode = SelectedPosition(Hwnd(), IDC_CFG_MODE);
    positions.channel = SelectedPosition(Hwnd(), IDC_CFG_CHANNEL);
    positions.txRate = SelectedPosition(Hwnd(), IDC_CFG_RATE);
    positions.preamble = SelectedPosition(Hwnd(), IDC_CFG_PREAMBLE);
    positions.powerMode = SelectedPosition(Hwnd(), IDC_CFG_POWER);
    positions.region = SelectedPosition(Hwnd(), IDC_CFG_REGION);
    return positions;
}

void CPage_Config::StoreToSetting() {
    const PageContext* context = Context();
    if (context == nullptr || Hwnd() == nullptr) return;
    UtilityState& state = context->state;
    StoreConfigPositions(Positions(), state.current, state.supportedRates, state.supportedChannels);
}

void CPage_Config::ApplyWirelessModeRule() {
    ::EnableWindow(Item(IDC_CFG_CHANNEL), ChannelListEnabled(SelectedPosition(Hwnd(), IDC_CFG_MODE)) ? TRUE : FALSE);
}

void CPage_Config::RegionChanged() {
    const PageContext* context = Context();
    if (context == nullptr) return;
    // Nothing chosen reads as the first region.
    context->applier.ApplyDomain(RegionCodeAtPosition(SelectedPosition(Hwnd(), IDC_CFG_REGION)));
    FillChannelList();
}

void CPage_Config::Cancel() {
    LoadFromSetting();
    RegionChanged();
}

void CPage_Config::Apply() {
    const PageContext* context = Context();
    if (context == nullptr) return;
    StoreToSetting();
    context->applier.ApplySetting();
    if (ShellPort* shell = Shell()) shell->ShowPage(PageId::LinkInfo);
}

bool CPage_Config::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_CFG_MODE:
        if (code != CBN_SELCHANGE) return false;
        ApplyWirelessModeRule();
        return true;
    case IDC_CFG_REGION:
        if (code != CBN_SELCHANGE) return false;
        RegionChanged();
        return true;
    case IDC_CFG_CANCEL:
        if (code != BN_CLICKED) return false;
        Cancel();
        return true;
    case IDC_CFG_APPLY:
        if (code != BN_CLICKED) return false;
        Apply();
        return true;
    default:
        return false;
    }
}

}  // namespace hx::win
