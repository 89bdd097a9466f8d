#include "pages/win32/CPage_LinkInfo.h"

#include <initializer_list>

namespace hx::win {
namespace {

constexpr int kValueFields[] = {IDC_LI_STATUS, IDC_LI_SSID, IDC_LI_TX_RATE, IDC_LI_CHANNEL,
                                IDC_LI_RATE_LEFT, IDC_LI_RATE_RIGHT};
constexpr int kScaleLabels[] = {IDC_LI_SCALE_10000, IDC_LI_SCALE_1000, IDC_LI_SCALE_100,
                                IDC_LI_SCALE_10, IDC_LI_SCALE_0};
constexpr int kGroups[] = {IDC_LI_LINK_GROUP, IDC_LI_DATA_RATE_GROUP};
constexpr int kPlainLabels[] = {IDC_LI_STATUS_LABEL, IDC_LI_SSID_LABEL, IDC_LI_TX_RATE_LABEL,
                                IDC_LI_CHANNEL_LABEL, IDC_LI_QUALITY_LABEL, IDC_LI_QUALITY_PERCENT,
                                IDC_LI_SIGNAL_LABEL, IDC_LI_SIGNAL_PERCENT, IDC_LI_TRANSMIT_LABEL,
                                IDC_LI_TRANSMIT_UNIT, IDC_LI_RECEIVE_LABEL, IDC_LI_RECEIVE_UNIT};

}  // namespace

const CStaticEx* CPage_LinkInfo::Label(int id) const {
    for (const BoundLabel& label : labels_)
        if (label.id == id) return &label.control;
    return nullptr;
}

CStaticEx& CPage_LinkInfo::Bound(int id) {
    for (BoundLabel& label : labels_)
        if (label.id == id) return label.control;
    return labels_.front().control;  // every id used here is bound
}

BOOL CPage_LinkInfo::OnInitDialog() {
    shownTexts_.clear();  // a new window shows its template's texts
    for (BoundLabel& label : labels_) label.control.Attach(Hwnd(), label.id);
    qualityMeter_.Attach(Hwnd(), IDC_LI_QUALITY_METER);
    signalMeter_.Attach(Hwnd(), IDC_LI_SIGNAL_METER);
    qualityMeter_.SetNameLabel(Item(IDC_LI_QUALITY_LABEL));
    signalMeter_.SetNameLabel(Item(IDC_LI_SIGNAL_LABEL));

    CreateGraphPanel(leftGraph_, IDC_LI_GRAPH_LEFT);
    CreateGraphPanel(rightGraph_, IDC_LI_GRAPH_RIGHT);
    ::ShowWindow(leftGraph_.Hwnd(), SW_HIDE);
    ::ShowWindow(rightGraph_.Hwnd(), SW_HIDE);

    for (GradientMeter* meter : {&qualityMeter_, &signalMeter_}) {
        meter->SetStartColour(kMeterStart);
        meter->SetEndColour(kMeterEnd);
        meter->SetRange(0, 100);
    }

    for (int id : kScaleLabels) Bound(id).SetTextColour(kValueText);
    for (int id : kValueFields) Bound(id).SetTextColour(kValueText);
    for (int id : kGroups) Bound(id).SetTextColour(kGroupText);
    for (int id : kPlainLabels) Bound(id).SetBackgroundColour(kPageBackground);
    for (int id : kScaleLabels) Bound(id).SetBackgroundColour(kPageBackground);
    for (int id : kGroups) Bound(id).SetBackgroundColour(kPageBackground);
    for (int id : kValueFields) Bound(id).SetBackgroundColour(kValueBackground);
    return TRUE;
}

void CPage_LinkInfo::CreateGraphPanel(GraphPanel& panel, int rectangleId) {
    RECT rect{};
    ::GetWindowRect(Item(rectangleId), &rect);
    ::MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    if (panel.Create(WS_CHILD | WS_VISIBLE, rect, Hwnd(), rectangleId)) panel.SetRange(0, 100);
}

void CPage_LinkInfo::UpdateDisplay() {
    const PageContext* context = Context();
    if (context == nullptr || Hwnd() == nullptr) return;
    Show(MakeLinkInfoView(context->state.link, context->library));
}

void CPage_LinkInfo::Show(const LinkInfoView& view) {
    SetText(IDC_LI_CHANNEL, view.channel);
    SetText(IDC_LI_TX_RATE, view.txRate);
    SetText(IDC_LI_SSID, view.ssid);
    SetText(IDC_LI_STATUS, view.status);

    for (int id : {IDC_LI_LINK_GROUP, IDC_LI_QUALITY_LABEL, IDC_LI_SIGNAL_LABEL})
        SetEnabled(id, view.qualityAreaEnabled);
    SetShown(IDC_LI_QUALITY_PERCENT, view.qualityPercentShown);
    SetShown(IDC_LI_SIGNAL_LABEL, view.signalLabelShown);

    SetText(IDC_LI_QUALITY_PERCENT, view.qualityPercent);
    SetText(IDC_LI_SIGNAL_PERCENT, view.signalPercent);
    qualityMeter_.SetPosition(view.qualityPosition);
    signalMeter_.SetPosition(view.signalPosition);
}

// The page is brought up to date every second, mostly with the values it already shows: a
// control is only changed when its value differs, since every change repaints it and tells
// the page (and a read-only field would lose the text the user has selected in it). Only
// this page writes these controls.
void CPage_LinkInfo::SetText(int id, const std::string& text) {
    const auto shown = shownTexts_.find(id);
    if (shown != shownTexts_.end() && shown->second == text) return;
    ::SetDlgItemTextA(Hwnd(), id, text.c_str());
    shownTexts_[id] = text;
}

void CPage_LinkInfo::SetEnabled(int id, bool enabled) {
    HWND item = Item(id);
    if ((::IsWindowEnabled(item) != FALSE) != enabled) ::EnableWindow(item, enabled ? TRUE : FALSE);
}

void CPage_LinkInfo::SetShown(int id, bool shown) {
    HWND item = Item(id);
    const bool visible = (::GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible != shown) ::ShowWindow(item, shown ? SW_SHOW : SW_HIDE);
}

bool CPage_LinkInfo::OnCommand(int id, int code, HWND) {
    if (id != IDC_LI_RESCAN || code != BN_CLICKED) return false;
    Rescan();
    return true;
}

void CPage_LinkInfo::Rescan() {
    HWND button = Item(IDC_LI_RESCAN);
    ::EnableWindow(button, FALSE);
    if (const PageContext* context = Context()) context->applier.ApplySetting();
    ::EnableWindow(button, TRUE);
}

}  // namespace hx::win
