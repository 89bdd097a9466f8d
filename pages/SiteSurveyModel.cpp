#include "pages/SiteSurveyModel.h"

#include <cstring>

#include "adapter/AdapterLibrary.h"
#include "adapter/SurveyListRead.h"
#include "adapter/VuvavoApi.h"
#include "auth/WorkerControl.h"
#include "config/SettingApplier.h"
#include "pages/LinkInfoView.h"

namespace hx {

SiteSurveyModel::SiteSurveyModel(AdapterLibrary& library, UtilityState& state, SettingApplier& applier,
                                 WorkerControl& worker, ShellPort& shell, SurveyView& view)
    : library_(library), state_(state), applier_(applier), worker_(worker), shell_(shell), view_(view),
      buffer_(kSurveyBufferSize, 0) {}

void SiteSurveyModel::Refresh() {
    view_.EnableRefresh(false);
    view_.EnableConnect(false);
    view_.EnableList(false);
    library_.WL_SiteSurveyStart(&state_.adapter);
    state_.pendingSurveyCountdown = kSurveyCountdownTicks;
    selectedIndex_ = -1;
}

SurveyRow SiteSurveyModel::RowOf(const SurveyEntry& entry, AdapterLibrary& library) {
    return {DashedAddress(library, entry.bssid.data()),
            entry.ssid,
            entry.encryption == WepStatus::Wep ? "Yes" : "No",
            entry.networkType == NetworkType::Infrastructure ? "Yes" : "No",
            std::to_string(entry.channel),
            std::to_string(entry.signal) + " %"};
}

void SiteSurveyModel::FillList() {
    entries_.clear();
    view_.ShowRows({});
    if (!ReadSurveyList(library_, &state_.adapter, buffer_)) {
        view_.EnableRefresh(true);
        view_.EnableConnect(true);
        view_.EnableList(true);
        return;
    }
    library_.WL_FilteSiteSurveyData(&state_.adapter, buffer_.data());
    entries_ = ParseSurveyList(buffer_.data(), buffer_.size());
    std::vector<SurveyRow> rows;
    for (const SurveyEntry& entry : entries_) rows.push_back(RowOf(entry, library_));
    view_.ShowRows(rows);
    if (!entries_.empty()) {
        selectedIndex_ = 0;
        view_.SelectRow(0);
        view_.EnableConnect(true);
    } else {
        view_.EnableConnect(false);
    }
    view_.EnableRefresh(true);
    view_.EnableList(true);
}

int RowToJoin(int selectedRow, int selectionMark) { return selectedRow < 0 ? -1 : selectionMark; }

void SiteSurveyModel::SelectionChanged(int selectedRow) { view_.EnableConnect(selectedRow >= 0); }

void SiteSurveyModel::ConnectSelection(int selectedRow, int selectionMark) {
    Connect(RowToJoin(selectedRow, selectionMark));
}

void SiteSurveyModel::RowActivated(int selectedRow, int selectionMark) {
    SelectionChanged(selectedRow);
    if (selectedRow >= 0) ConnectSelection(selectedRow, selectionMark);
}

void SiteSurveyModel::Connect(int row) {
    selectedIndex_ = row;
    if (row < 0 || row >= static_cast<int>(entries_.size())) return;
    const SurveyEntry entry = entries_[static_cast<size_t>(row)];
    if (entry.refusal != JoinRefusal::None) {
        view_.Tell(JoinRefusalText(entry.refusal));
        return;
    }
    worker_.StopWorker();
    // This join replaces an apply still owed: the heartbeat must not hand the keys in
    // force to the network chosen here while its question is open.
    state_.settingOwed = false;

    WlanSetting& setting = state_.current;
    setting.SSID = entry.ssid;
    setting.Channel = entry.channel;
    setting.NetworkType = entry.networkType;
    setting.WEPStatus = entry.encryption;
    setting.AuthenticationMode = entry.authenticationMode;

    if (setting.NetworkType == NetworkType::AdHoc) applier_.ApplyChannel(setting.Channel);
    library_.SetWL_BSSID(&state_.adapter, entry.bssid.data());
    applier_.ApplySsid(setting.SSID);
    applier_.ApplyNetworkType(setting.NetworkType);
    applier_.ApplyAuthenticationMode(setting.AuthenticationMode);

    if (entry.encryption == WepStatus::Disabled) {
        ++state_.settingsApplied;
        applier_.ApplyWepSetting();
        shell_.ShowPage(PageId::LinkInfo);
        return;
    }
    const bool wep = entry.encryption == WepStatus::Wep;
    if (!view_.AskYesNo(wep ? kUseWepQuestion : kUseWpaQuestion, wep ? kUseWepCaption : kUseWpaCaption)) {
        shell_.ShowPage(PageId::Encryption);
        return;
    }
    ++state_.settingsApplied;
    if (AuthMode::RunsWorker(setting.AuthenticationMode)) {
        worker_.StartWorker();
    } else {
        applier_.ApplyWepSetting();
    }
    shell_.ShowPage(PageId::LinkInfo);
}

}  // namespace hx
