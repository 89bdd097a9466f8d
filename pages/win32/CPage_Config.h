// The Configuration page: the radio part of the current setting.
#pragma once

#include "pages/ConfigPageModel.h"
#include "pages/win32/DialogItems.h"
#include "pages/win32/Page.h"
#include "resources/resource.h"

namespace hx::win {

class CPage_Config : public Page {
public:
    static constexpr int kSsidLimit = 32;

    CPage_Config() : Page(IDD_CONFIGURATION) {}

    // Reloads the controls from the current setting; run each time before the page is shown.
    virtual void LoadFromSetting();
    // Rebuilds the transmit-rate list from the rates the adapter supports.
    virtual void FillTxRateList();
    // Rebuilds the channel list from the channels the adapter supports now, selecting the
    // current setting's channel.
    void FillChannelList();
    // Writes the controls into the current setting.
    void StoreToSetting();

    // The controls as list positions.
    ConfigPositions Positions() const;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void ShowPositions(const ConfigPositions& positions);
    void ApplyWirelessModeRule();
    void RegionChanged();
    void Cancel();
    void Apply();

    LabelSet labels_;
};

}  // namespace hx::win
