// The Link Info page: the state of the wireless link as last polled.
#pragma once

#include <array>
#include <map>
#include <string>

#include "controls/win32/CStaticEx.h"
#include "controls/win32/GradientMeter.h"
#include "controls/win32/GraphPanel.h"
#include "pages/LinkInfoView.h"
#include "pages/win32/Page.h"
#include "resources/resource.h"

namespace hx::win {

class CPage_LinkInfo : public Page {
public:
    CPage_LinkInfo() : Page(IDD_LINK_INFO) {}

    // Shows the link state just polled; called after every poll while this page is in front.
    virtual void UpdateDisplay();

    // Shows a view of the link (what UpdateDisplay shows for the polled state).
    void Show(const LinkInfoView& view);

    const GradientMeter& QualityMeter() const { return qualityMeter_; }
    const GradientMeter& SignalMeter() const { return signalMeter_; }
    const GraphPanel& LeftGraph() const { return leftGraph_; }
    const GraphPanel& RightGraph() const { return rightGraph_; }
    // The label bound to a control id of the template, or null.
    const CStaticEx* Label(int id) const;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    struct BoundLabel {
        int id;
        CStaticEx control;
    };
    CStaticEx& Bound(int id);
    void CreateGraphPanel(GraphPanel& panel, int rectangleId);
    void SetText(int id, const std::string& text);
    void SetEnabled(int id, bool enabled);
    void SetShown(int id, bool shown);
    void Rescan();

    // The texts this page last put into its value fields and percentages, by control id.
    std::map<int, std::string> shownTexts_;

    // Labels, group boxes and read-only value fields, in template order.
    std::array<BoundLabel, 25> labels_{{
        {IDC_LI_STATUS_LABEL, {}}, {IDC_LI_STATUS, {}}, {IDC_LI_SSID_LABEL, {}},
        {IDC_LI_SSID, {}}, {IDC_LI_TX_RATE_LABEL, {}}, {IDC_LI_TX_RATE, {}},
        {IDC_LI_CHANNEL_LABEL, {}}, {IDC_LI_CHANNEL, {}}, {IDC_LI_QUALITY_LABEL, {}},
        {IDC_LI_QUALITY_PERCENT, {}}, {IDC_LI_TRANSMIT_LABEL, {}}, {IDC_LI_TRANSMIT_UNIT, {}},
        {IDC_LI_RATE_RIGHT, {}}, {IDC_LI_LINK_GROUP, {}}, {IDC_LI_DATA_RATE_GROUP, {}},
        {IDC_LI_SCALE_10000, {}}, {IDC_LI_SCALE_1000, {}}, {IDC_LI_SCALE_100, {}},
        {IDC_LI_SCALE_10, {}}, {IDC_LI_SCALE_0, {}}, {IDC_LI_SIGNAL_LABEL, {}},
        {IDC_LI_SIGNAL_PERCENT, {}}, {IDC_LI_RECEIVE_LABEL, {}}, {IDC_LI_RECEIVE_UNIT, {}},
        {IDC_LI_RATE_LEFT, {}},
    }};
    GradientMeter qualityMeter_;
    GradientMeter signalMeter_;
    GraphPanel leftGraph_;    // over rectangle 1047
    GraphPanel rightGraph_;   // over rectangle 1048
};

}  // namespace hx::win
