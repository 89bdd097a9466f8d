// The main window: six navigation labels on the left, the page frame with one page in
// front on the right, the tray icon, and the two timers of the heartbeat. It is what the
// portable core sees of the window system (ShellPort).
#pragma once

#include <windows.h>

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "adapter/AdapterLibrary.h"
#include "app/AdapterOperations.h"
#include "app/ControlService.h"
#include "app/Heartbeat.h"
#include "app/ShellPort.h"
#include "app/UtilityState.h"
#include "app/win32/ControlPipeServer.h"
#include "app/win32/RegistryRunEntry.h"
#include "framework/win32/Dialog.h"
#include "framework/win32/Handles.h"
#include "auth/JoinFailureNotice.h"
#include "auth/WorkerControl.h"
#include "controls/win32/NavLabel.h"
#include "pages/win32/CPage_About.h"
#include "pages/win32/CPage_Config.h"
#include "pages/win32/CPage_LinkInfo.h"
#include "pages/win32/CPage_Profile.h"
#include "pages/win32/CPage_Site.h"
#include "pages/win32/CPage_Wep.h"
#include "trayicon/win32/TrayIcon.h"

namespace hx::win {

// The six page objects; they live for the whole run, their windows are made by the main window.
struct MainWindowPages {
    CPage_LinkInfo& linkInfo;
    CPage_Config& config;
    CPage_Wep& wep;
    CPage_Site& site;
    CPage_Profile& profile;
    CPage_About& about;
};

class CDlg_Main : public Dialog, public ShellPort, public ControlWindowPort {
public:
    static constexpr UINT_PTR kPollTimer = 1;
    static constexpr UINT_PTR kHideTimer = 2;
    static constexpr UINT kPollPeriodMs = 1000;
    static constexpr UINT kHidePeriodMs = 100;
    static constexpr UINT kCheckFocusMessage = WM_APP + 1;
    static constexpr UINT kJoinNoticeMessage = WM_APP + 2;
    static constexpr UINT kControlRequestMessage = WM_APP + 3;

    CDlg_Main(UtilityState& state, AdapterLibrary& library, WorkerControl& worker, MainWindowPages pages);
    ~CDlg_Main() override;

    // The adapter operations the heartbeat drives; set before the window is created.
    // Without them the heartbeat never finds an adapter.
    void UseAdapterOperations(AdapterOperations& operations) { operations_ = &operations; }
    // Where a failing join is told; set before the window is created. Its notice shows as a
    // balloon over the tray icon, and a click on the balloon opens the Encryption page.
    void UseJoinFailureNotice(JoinFailureNotice& notice) { notice_ = &notice; }

    // The requests of the control channel; set before the window is created. The window
    // serves the channel's pipe while it runs, unless another process holds its name. A
    // request never runs inside a modal loop (a message box, the profile editor, the tray
    // menu): it waits until the loop has ended, within its time limit.
    void UseControlService(ControlService& service) { control_ = &service; }
    bool ServesControlChannel() const { return controlServer_ != nullptr; }
    // Binds the two libraries (and updates what the state says of them); run once the window
    // has first shown, before anything calls them. The title then says what they are.
    void UseLibraryBinding(std::function<void()> bind) { bindLibraries_ = std::move(bind); }

    // ControlWindowPort
    std::vector<SurveyEntry> SurveyEntries() override { return pages_.site.Entries(); }
    void RefreshProfileList() override { pages_.profile.RefreshList(); }

    // ShellPort
    void HideMainWindow() override;
    void ShowTraySet(int set) override;
    void ShowPage(PageId page) override;
    bool IsCurrentPage(PageId page) const override;
    void ShowLinkStatus() override;
    void StartSiteSurvey() override;
    void CollectSiteSurvey() override;
    void FillTxRateList() override;
    void SetDriverVersionText(const std::string& text) override;
    void SetMacAddressText(const std::string& text) override;

    const TrayIcon* Tray() const { return tray_.get(); }
    NavLabel* Label(int labelId);
    Page* CurrentPage() const { return current_ ? current_->page : nullptr; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override {}
    void OnCancel() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    bool PreTranslateMessage(MSG& msg) override;
    void AfterOwnLoopMessage() override;

private:
    struct PageEntry {
        PageId id;
        Page* page;
        int labelId;
        std::function<void()> beforeShow;
        std::function<void()> afterShow;
        NavLabel label;
    };

    PageEntry* EntryForPage(PageId page);
    PageEntry* EntryForLabel(int labelId);
    // Hidden, at the frame's top left; once.
    void CreatePage(PageEntry& entry);
    // What the first sight of the window does not need: the tray icon, the pages behind
    // Link Info and the control channel.
    void CompleteWindow();
    void OnFirstShown() override;
    void ShowPage(PageEntry& entry);
    void CreateTrayIcon();
    void OnTimer(UINT_PTR id);
    void OnOpen();
    // Exit, Escape and the end of the Windows session: stop the worker (which gives the
    // Zero Configuration service back), stop the heartbeat, remove the tray icon, end.
    void Shutdown();
    // The session may always end; when it does, the process is ended right after the
    // answer, so the shutdown runs before it.
    void OnEndSession(bool ending);
    bool OnSystemCommand(WPARAM command, LPARAM cursor);
    void OnTrayNotification(LPARAM mouseMessage);
    void ShowJoinNotice();
    // A click on the balloon: "Open", on the Encryption page.
    void OpenOnEncryptionPage();
    // Ctrl+Tab, Ctrl+PageDown and their reverse: the next or previous page, as its label's
    // click; in the column of labels also the arrow keys, Home and End.
    bool SwitchPageByKey(const MSG& msg);
    void KeepFocusOffHiddenPages();
    void FocusPageStart();
    void PaintMinimised();
    void EraseBackground(HDC dc);
    void UseIconsForDpi(UINT dpi);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    // High contrast turned on or off, or the taskbar's theme changed.
    void OnSettingChange(const char* area);
    // The tray menu about to open: "Start with Windows" shows its check from the registry.
    void OnMenuOpening(HMENU menu);
    HICON LargeIcon() const { return dpiLargeIcon_ ? dpiLargeIcon_.Get() : icon_; }

    UtilityState& state_;
    AdapterLibrary& library_;
    WorkerControl& worker_;
    MainWindowPages pages_;
    AdapterOperations* operations_ = nullptr;
    JoinFailureNotice* notice_ = nullptr;
    ControlService* control_ = nullptr;
    std::function<void()> bindLibraries_;
    std::unique_ptr<ControlPipeServer> controlServer_;
    std::deque<std::shared_ptr<ControlJob>> heldJobs_;  // came while a modal loop ran
    class NoAdapter;
    std::unique_ptr<NoAdapter> noAdapter_;

    HICON icon_ = nullptr;      // icon 135 at the large icon size of the system DPI
    UniqueIcon dpiLargeIcon_;   // icon 135 at the large size of the window's DPI, when that is another DPI
    UniqueIcon smallIcon_;      // icon 135 at the small size of the window's DPI
    PageEntry* current_ = nullptr;
    bool completed_ = false;
    HWND pendingFocus_ = nullptr;  // where the focus goes when the window is next activated
    std::unique_ptr<TrayIcon> tray_;
    std::optional<Heartbeat> heartbeat_;
    std::array<PageEntry, 6> entries_;
    RegistryRunEntry runEntry_;
};

}  // namespace hx::win
