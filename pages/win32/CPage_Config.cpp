#include "pages/win32/CPage_Config.h"

#include <span>
#include <string>
#include <vector>

#include "config/ValueTables.h"

namespace hx::win {
namespace {

constexpr int kLabelIds[] = {IDC_CFG_SSID_LABEL,     IDC_CFG_MODE_LABEL,  IDC_CFG_CHANNEL_LABEL,
                             IDC_CFG_RATE_LABEL,     IDC_CFG_PREAMBLE_LABEL, IDC_CFG_POWER_LABEL,
                             IDC_CFG_REGION_LABEL};

void FillCombo(HWND combo, std::span<const char* const> texts) {
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const char* text : texts) ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void FillCombo(HWND combo, const std::vector<std::string>& texts) {
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& text : texts)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int Selection(HWND combo) { return static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0)); }
void Select(HWND combo, int position) { ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0); }

}  // namespace

BOOL CPage_Config::OnInitDialog() {
    for (size_t i = 0; i < labels_.size(); ++i) {
        labels_[i].Attach(Hwnd(), kLabelIds[i]);
        labels_[i].SetBackgroundColour(kLabelBackground);
    }
    ::SendMessageA(Item(IDC_CFG_SSID), EM_LIMITTEXT, kSsidLimit, 0);

    FillCombo(Item(IDC_CFG_MODE), kNetworkTypeTexts);
    FillCombo(Item(IDC_CFG_PREAMBLE), kPreambleTexts);
    FillCombo(Item(IDC_CFG_POWER), kPowerSaveTexts);
    std::vector<const char*> regions;
    for (const RegionEntry& region : kRegionTable) regions.push_back(region.name);
    FillCombo(Item(IDC_CFG_REGION), regions);

    ::ShowWindow(Item(IDC_CFG_REGION_LABEL), SW_SHOW);
    ::ShowWindow(Item(IDC_CFG_REGION), SW_SHOW);
    return TRUE;
}

void CPage_Config::FillTxRateList() {
    const PageContext* context = Context();
    if (context == nullptr || Hwnd() == nullptr) return;
    FillCombo(Item(IDC_CFG_RATE), RateListTexts(context->state.supportedRates));
}

void CPage_Config::FillChannelList() {
    const PageContext* context = Context();
    if (context == nullptr || Hwnd() == nullptr) return;
    const SupportedChannels& channels = context->state.supportedChannels;
    HWND combo = Item(IDC_CFG_CHANNEL);
    FillCombo(combo, ChannelListTexts(channels));
    Select(combo, ChannelPosition(channels, context->state.current.Channel));
}

void CPage_Config::LoadFromSetting() {
    const PageContext* context = Context();
    if (context == nullptr || Hwnd() == nullptr) return;
    const UtilityState& state = context->state;
    ShowPositions(LoadConfigPositions(state.current, state.supportedRates, state.supportedChannels,
                                      context->library));
}

void CPage_Config::ShowPositions(const ConfigPositions& positions) {
    ::SetDlgItemTextA(Hwnd(), IDC_CFG_SSID, positions.ssid.substr(0, kSsidLimit).c_str());
    Select(Item(IDC_CFG_MODE), positions.wirelessMode);
    Select(Item(IDC_CFG_PREAMBLE), positions.preamble);
    Select(Item(IDC_CFG_POWER), positions.powerMode);
    FillChannelList();
    Select(Item(IDC_CFG_RATE), positions.txRate);
    ApplyWirelessModeRule();
    Select(Item(IDC_CFG_REGION), positions.region);
}

ConfigPositions CPage_Config::Positions() const {
    ConfigPositions positions;
    char ssid[kSsidLimit + 1] = {};
    ::GetDlgItemTextA(Hwnd(), IDC_CFG_SSID, ssid, sizeof ssid);
    positions.ssid = ssid;
    positions.wirelessMode = Selection(Item(IDC_CFG_MODE));
    positions.channel = Selection(Item(IDC_CFG_CHANNEL));
    positions.txRate = Selection(Item(IDC_CFG_RATE));
    positions.preamble = Selection(Item(IDC_CFG_PREAMBLE));
    positions.powerMode = Selection(Item(IDC_CFG_POWER));
    positions.region = Selection(Item(IDC_CFG_REGION));
    return positions;
}

void CPage_Config::StoreToSetting() {
    const PageContext* context = Context();
    if (context == nullptr || Hwnd() == nullptr) return;
    UtilityState& state = context->state;
    StoreConfigPositions(Positions(), state.current, state.supportedRates, state.supportedChannels);
}

void CPage_Config::ApplyWirelessModeRule() {
    ::EnableWindow(Item(IDC_CFG_CHANNEL), ChannelListEnabled(Selection(Item(IDC_CFG_MODE))) ? TRUE : FALSE);
}

void CPage_Config::RegionChanged() {
    const PageContext* context = Context();
    if (context == nullptr) return;
    // Nothing chosen reads as the first region.
    context->applier.ApplyDomain(RegionCodeAtPosition(Selection(Item(IDC_CFG_REGION))));
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
