// The main window: navigation labels, the page frame, the heartbeat timers.
#pragma once

#include "app/UtilityState.h"
#include "app/win32/framework/Dialog.h"
#include "config/AppProfile.h"

namespace hx::win {

class CDlg_Main : public Dialog {
public:
    CDlg_Main(UtilityState& state, AppProfile& profile);

    static constexpr UINT_PTR kPollTimer = 1;
    static constexpr UINT_PTR kHideTimer = 2;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void OnTimer(UINT_PTR id);
    void Shutdown();

    UtilityState& state_;
    AppProfile& profile_;
    int hidePending_ = 0;
};

}  // namespace hx::win
