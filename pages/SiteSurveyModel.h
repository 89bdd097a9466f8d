// The Site Survey page: starting a scan, listing what it found, and joining a network.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/ShellPort.h"
#include "app/UtilityState.h"
#include "pages/SurveyList.h"

namespace hx {

class AdapterLibrary;
class SettingApplier;
class WorkerControl;

// One row as the list shows it: BSS/IBSSID, SSID, WEP, AP, Channel, Signal.
using SurveyRow = std::vector<std::string>;
inline constexpr const char* kSurveyColumns[6] = {"BSS/IBSSID", "SSID", "WEP", "AP", "Channel", "Signal"};

// Refresh sets the survey countdown to this: the heartbeat collects the scan on the tick
// after the countdown has run down, the fifth.
inline constexpr int kSurveyCountdownTicks = 4;

inline constexpr const char* kUseWepQuestion =
    "You have selected to connect to the WEP encryption network.\nDo you want to use the previous WEP setting";
inline constexpr const char* kUseWepCaption = "Use Previous WEP Setting";
inline constexpr const char* kUseWpaQuestion =
    "You have selected to connect to the WPA encryption network.\nDo you want to use the previous WPA setting";
inline constexpr const char* kUseWpaCaption = "Use Previous WPA Setting";

// The page's controls.
class SurveyView {
public:
    virtual ~SurveyView() = default;
    virtual void EnableRefresh(bool enable) = 0;
    virtual void EnableConnect(bool enable) = 0;
    virtual void EnableList(bool enable) = 0;
    // Replaces every row, then fits the columns to their headers again.
    virtual void ShowRows(const std::vector<SurveyRow>& rows) = 0;
    virtual void SelectRow(int row) = 0;
    // The question box (Yes and No buttons, question icon); true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // A message box with an OK button, captioned with the application's name.
    virtual void Tell(const std::string& text) = 0;
};

// The row "Connect" joins: the list's selection mark while a row is selected (the first
// selected row is selectedRow), else -1.
int RowToJoin(int selectedRow, int selectionMark);

class SiteSurveyModel {
public:
    SiteSurveyModel(AdapterLibrary& library, UtilityState& state, SettingApplier& applier,
                    WorkerControl& worker, ShellPort& shell, SurveyView& view);

    // "Refresh": the controls wait while the adapter scans; the heartbeat collects the
    // result on the fifth tick.
    void Refresh();
    // Reads the scan result into the list.
    void FillList();
    // A click or activation of the list: Connect follows the selection.
    void SelectionChanged(int selectedRow);
    // Joins the network of a row (-1: nothing selected, nothing happens). A network the
    // adapter cannot join is refused with one message, and nothing changes.
    void Connect(int row);
    // "Connect": joins the row RowToJoin names.
    void ConnectSelection(int selectedRow, int selectionMark);
    // A row activated (a double click or Enter): Connect follows the selection, and a
    // selection is joined.
    void RowActivated(int selectedRow, int selectionMark);

    const std::vector<SurveyEntry>& Entries() const { return entries_; }
    int SelectedIndex() const { return selectedIndex_; }

    static SurveyRow RowOf(const SurveyEntry& entry, AdapterLibrary& library);

private:
    AdapterLibrary& library_;
    UtilityState& state_;
    SettingApplier& applier_;
    WorkerControl& worker_;
    ShellPort& shell_;
    SurveyView& view_;
    std::vector<uint8_t> buffer_;      // the scan result: 12004 bytes, more for a list that needs them
    std::vector<SurveyEntry> entries_;
    int selectedIndex_ = -1;
};

}  // namespace hx
