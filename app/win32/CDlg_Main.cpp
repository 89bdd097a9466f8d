#include "app/win32/CDlg_Main.h"

#include <utility>

#include "app/MainWindowRule.h"
#include "app/PageOrder.h"
#include "app/StartWithWindows.h"
#include "app/TrayRule.h"
#include "framework/win32/Dpi.h"
#include "framework/win32/Handles.h"
#include "controls/win32/SystemColours.h"
#include "pages/win32/Palette.h"
#include "resources/resource.h"
#include "trayicon/win32/TaskbarIcons.h"

namespace hx::win {

static_assert(SystemCommand::Minimise == SC_MINIMIZE && SystemCommand::Close == SC_CLOSE);

// Used when no adapter operations are given: no adapter is ever found.
class CDlg_Main::NoAdapter : public AdapterOperations {
public:
    explicit NoAdapter(UtilityState& state) : state_(state) {}
    void Discover() override { state_.adapterReady = 0; }
    bool Identify() override { return false; }
    void CheckZeroConfiguration() override {}
    void ApplySetting() override {}
    void PollLink() override { state_.adapterReady = 0; }

private:
    UtilityState& state_;
};

CDlg_Main::CDlg_Main(UtilityState& state, AdapterLibrary& library, WorkerControl& worker,
                     MainWindowPages pages)
    : Dialog(IDD_MAIN),
      state_(state),
      library_(library),
      worker_(worker),
      pages_(pages),
      icon_(::LoadIconA(ResourceModule(), MAKEINTRESOURCEA(IDI_MAIN))),
      entries_{{
          {PageId::LinkInfo, &pages.linkInfo, IDC_NAV_LINK_INFO, nullptr, nullptr, {}},
          {PageId::Configuration, &pages.config, IDC_NAV_CONFIGURATION,
           [this] { pages_.config.LoadFromSetting(); }, nullptr, {}},
          {PageId::Encryption, &pages.wep, IDC_NAV_ENCRYPTION, [this] { pages_.wep.Load(); }, nullptr, {}},
          {PageId::SiteSurvey, &pages.site, IDC_NAV_SITE_SURVEY, nullptr, nullptr, {}},
          {PageId::Profile, &pages.profile, IDC_NAV_PROFILE, nullptr,
           [this] { pages_.profile.RefreshList(); }, {}},
          {PageId::About, &pages.about, IDC_NAV_ABOUT, nullptr, nullptr, {}},
      }} {}

CDlg_Main::~CDlg_Main() {
    if (notice_) notice_->OnNoticeWaiting(nullptr);
}

BOOL CDlg_Main::OnInitDialog() {
    for (PageEntry& entry : entries_) entry.label.Attach(Hwnd(), entry.labelId);

    ::SetWindowTextA(Hwnd(), MainWindowTitle(state_.libraries.SimulatedAdapter()));
    UseIconsForDpi(WindowDpi(Hwnd()));

    PageEntry& linkInfo = *EntryForPage(PageId::LinkInfo);
    CreatePage(linkInfo);
    ::ShowWindow(linkInfo.page->Hwnd(), SW_SHOW);
    linkInfo.label.SetSelected(true);
    current_ = &linkInfo;

    if (operations_ == nullptr) {
        noAdapter_ = std::make_unique<NoAdapter>(state_);
        operations_ = noAdapter_.get();
    }
    if (notice_) notice_->OnNoticeWaiting([hwnd = Hwnd()] { ::PostMessageA(hwnd, kJoinNoticeMessage, 0, 0); });
    heartbeat_.emplace(state_, *this, *operations_, library_);
    if (notice_) heartbeat_->TellRefusalsTo(*notice_);
    heartbeat_->Start();

    ::SetTimer(Hwnd(), kPollTimer, kPollPeriodMs, nullptr);
    ::SetTimer(Hwnd(), kHideTimer, kHidePeriodMs, nullptr);
    // Run modally, the window shows first and is completed right after (OnFirstShown),
    // before any timer or other message is handled.
    if (!StartingModal()) CompleteWindow();
    return TRUE;
}

void CDlg_Main::OnFirstShown() { CompleteWindow(); }

void CDlg_Main::CompleteWindow() {
    if (completed_) return;
    completed_ = true;
    // The libraries before anything that calls them: the first tick's discovery, a request.
    if (bindLibraries_) {
        bindLibraries_();
        ::SetWindowTextA(Hwnd(), MainWindowTitle(state_.libraries.SimulatedAdapter()));
    }
    // Then the channel, before the pages: a request that comes meanwhile waits for this
    // thread (hxctl waits for a window without its pipe as for a utility still starting).
    if (control_) controlServer_ = ControlPipeServer::Start(Hwnd(), kControlRequestMessage);
    for (PageEntry& entry : entries_) CreatePage(entry);
    CreateTrayIcon();
}

void CDlg_Main::CreateTrayIcon() {
    tray_ = std::make_unique<TrayIcon>(ResourceModule(), TraySet::Count, 1, Hwnd());
    for (int set = 0; set < TraySet::Count; ++set)
        tray_->SetIcon(set, 0, kTraySetIcons[static_cast<size_t>(set)], kTrayIconDisplayTimeMs);
    ShowTraySet(TraySet::NoAdapter);
}

void CDlg_Main::CreatePage(PageEntry& entry) {
    if (entry.page->Hwnd() != nullptr) return;
    entry.page->AttachShell(*this);
    entry.page->Create(Item(IDC_PAGE_FRAME));
}

CDlg_Main::PageEntry* CDlg_Main::EntryForPage(PageId page) {
    for (PageEntry& entry : entries_)
        if (entry.id == page) return &entry;
    return nullptr;
}

CDlg_Main::PageEntry* CDlg_Main::EntryForLabel(int labelId) {
    for (PageEntry& entry : entries_)
        if (entry.labelId == labelId) return &entry;
    return nullptr;
}

NavLabel* CDlg_Main::Label(int labelId) {
    PageEntry* entry = EntryForLabel(labelId);
    return entry ? &entry->label : nullptr;
}

void CDlg_Main::ShowPage(PageEntry& entry) {
    if (&entry == current_) return;
    if (current_ != nullptr) {
        ::ShowWindow(current_->page->Hwnd(), SW_HIDE);
        current_->label.SetSelected(false);
    }
    current_ = &entry;
    if (entry.beforeShow) entry.beforeShow();
    ::ShowWindow(entry.page->Hwnd(), SW_SHOW);
    entry.label.SetSelected(true);
    if (entry.afterShow) entry.afterShow();
    KeepFocusOffHiddenPages();
}

void CDlg_Main::ShowPage(PageId page) {
    if (PageEntry* entry = EntryForPage(page)) ShowPage(*entry);
}

bool CDlg_Main::IsCurrentPage(PageId page) const { return current_ != nullptr && current_->id == page; }

void CDlg_Main::HideMainWindow() { ::ShowWindow(Hwnd(), SW_HIDE); }

void CDlg_Main::ShowTraySet(int set) {
    if (!tray_) return;
    tray_->SetTooltip(TrayTooltip(set, state_.link, state_.libraries.SimulatedAdapter()));
    tray_->ShowSet(set);
}

void CDlg_Main::ShowLinkStatus() { pages_.linkInfo.UpdateDisplay(); }
void CDlg_Main::StartSiteSurvey() { pages_.site.StartScan(); }
void CDlg_Main::CollectSiteSurvey() { pages_.site.FillList(); }
void CDlg_Main::FillTxRateList() { pages_.config.FillTxRateList(); }
void CDlg_Main::SetDriverVersionText(const std::string& text) { pages_.about.SetDriverVersionText(text); }
void CDlg_Main::SetMacAddressText(const std::string& text) { pages_.about.SetMacAddressText(text); }

bool CDlg_Main::OnCommand(int id, int code, HWND) {
    switch (id) {
    case ID_TRAY_OPEN:
        OnOpen();
        return true;
    case ID_TRAY_EXIT:
        Shutdown();
        return true;
    case ID_TRAY_START_WITH_WINDOWS:
        ToggleStartWithWindows(runEntry_, RunningProgramPath());
        return true;
    default:
        break;
    }
    if (code == STN_CLICKED) {
        if (PageEntry* entry = EntryForLabel(id)) {
            const bool switching = entry != current_;
            ShowPage(*entry);
            if (switching) FocusPageStart();
            return true;
        }
    }
    return false;
}

void CDlg_Main::OnCancel() { Shutdown(); }

void CDlg_Main::AfterOwnLoopMessage() {
    while (!heldJobs_.empty()) {
        const std::shared_ptr<ControlJob> job = std::move(heldJobs_.front());
        heldJobs_.pop_front();
        RunControlJob(job, [this](const std::string& request) { return control_->Answer(request); });
    }
}

void CDlg_Main::OnOpen() {
    switch (ActionForOpen(state_)) {
    case OpenAction::ExplainZeroConfiguration:
        ::MessageBoxA(Hwnd(), kZeroConfigurationMessage, nullptr, MB_OK);
        break;
    case OpenAction::Show:
        ::ShowWindow(Hwnd(), SW_SHOW);
        ::BringWindowToTop(Hwnd());
        ::SetForegroundWindow(Hwnd());
        break;
    case OpenAction::Nothing:
        break;
    }
}

void CDlg_Main::Shutdown() {
    controlServer_.reset();
    worker_.StopWorker();
    ::KillTimer(Hwnd(), kPollTimer);
    if (tray_) tray_->Remove();
    EndDialog(IDCANCEL);
}

void CDlg_Main::OnEndSession(bool ending) {
    if (ending) Shutdown();
}

void CDlg_Main::OnTimer(UINT_PTR id) {
    if (!heartbeat_) return;
    if (id == kHideTimer) {
        heartbeat_->OnHideTimer();
        ::KillTimer(Hwnd(), kHideTimer);
        return;
    }
    heartbeat_->OnPollTick();
}

bool CDlg_Main::OnSystemCommand(WPARAM command, LPARAM cursor) {
    switch (ActionForSystemCommand(command, cursor)) {
    case SystemCommandAction::Hide:
        ::ShowWindow(Hwnd(), SW_HIDE);
        return true;
    case SystemCommandAction::BringForward:
        ::SetForegroundWindow(Hwnd());
        return true;
    case SystemCommandAction::Default:
        break;
    }
    return false;
}

void CDlg_Main::OnTrayNotification(LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
        OnOpen();
        break;
    case WM_RBUTTONDOWN:
        if (tray_) tray_->PopUpMenu(IDR_TRAY, Hwnd());
        break;
    case NIN_BALLOONUSERCLICK:
        OpenOnEncryptionPage();
        break;
    default:
        break;
    }
}

void CDlg_Main::ShowJoinNotice() {
    if (!notice_ || !tray_) return;
    if (const std::optional<std::string> text = notice_->TakeNotice())
        tray_->ShowBalloon(MainWindowTitle(state_.libraries.SimulatedAdapter()), *text);
}

void CDlg_Main::OpenOnEncryptionPage() {
    if (ActionForOpen(state_) == OpenAction::Show) ShowPage(PageId::Encryption);
    OnOpen();
}

void CDlg_Main::EraseBackground(HDC dc) {
    RECT client{};
    ::GetClientRect(Hwnd(), &client);
    UniqueBrush brush(::CreateSolidBrush(Resolve(controls::Surface::MainWindow, kMainWindowBackground)));
    ::FillRect(dc, &client, brush.Get());
    for (const PageEntry& entry : entries_) entry.label.DrawFocusCue(dc);
}

INT_PTR CDlg_Main::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
    case WM_TIMER:
        OnTimer(wParam);
        handled = true;
        return 0;
    case WM_SYSCOMMAND:
        handled = OnSystemCommand(wParam, lParam);
        return 0;
    case WM_QUERYENDSESSION:
        handled = true;
        return TRUE;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        handled = true;
        return 0;
    case TrayIcon::kCallbackMessage:
        OnTrayNotification(lParam);
        return 0;  // and the default processing as well
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(wParam));
        handled = true;
        return TRUE;
    case WM_PAINT:
        if (::IsIconic(Hwnd())) {
            PaintMinimised();
            handled = true;
        }
        return 0;
    case WM_SETFOCUS:
        // The window itself got the focus: no control had it when the window was activated
        // (Wine forgets it when the window loses the foreground). It goes into the page in front.
        if (heartbeat_ && !heartbeat_->HidePending()) {
            FocusPageStart();
            handled = true;
        }
        return 0;
    case WM_ACTIVATE:
        // The dialog gives the focus back to the control that had it when the window was
        // left; the page may have been switched since. (Not while starting: the window is
        // shown when its queue is first idle, which a message of ours would put off.)
        if (LOWORD(wParam) != WA_INACTIVE && heartbeat_ && !heartbeat_->HidePending())
            ::PostMessageA(Hwnd(), kCheckFocusMessage, 0, 0);
        return 0;  // and the default processing
    case kCheckFocusMessage:
        if (HWND pending = std::exchange(pendingFocus_, nullptr); pending && ::IsChild(current_->page->Hwnd(), pending))
            ::SendMessageA(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pending), TRUE);
        KeepFocusOffHiddenPages();
        handled = true;
        return 0;
    case kJoinNoticeMessage:
        ShowJoinNotice();
        handled = true;
        return 0;
    case kControlRequestMessage:
        heldJobs_.push_back(TakeControlJob(lParam));
        if (FromOwnLoop(message, wParam, lParam)) AfterOwnLoopMessage();
        handled = true;
        return 0;
    case WM_QUERYDRAGICON:
        handled = true;
        return reinterpret_cast<INT_PTR>(LargeIcon());
    case WM_SYSCOLORCHANGE:  // the colours of the scheme in force changed
        RefreshHighContrast();
        SpreadColourChange(Hwnd());
        return 0;
    case WM_SETTINGCHANGE:
        OnSettingChange(reinterpret_cast<const char*>(lParam));
        return 0;
    case WM_DISPLAYCHANGE:  // the small icon size may have changed with the display
        if (tray_) tray_->ReloadIcons();
        return 0;
    case WM_INITMENUPOPUP:
        OnMenuOpening(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;  // and the default processing as well
    default:
        // A restarted taskbar gets the tray icon again.
        if (tray_ && tray_->OnOwnerMessage(message)) handled = true;
        return 0;
    }
}

}  // namespace hx::win
