#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/TrayRule.h"
#include "app/win32/CDlg_Main.h"
#include "app/win32/UtilityWindow.h"
#include "framework/win32/Handles.h"
#include "resources/resource.h"
#include "tests/fakes/FakeAdapterLibrary.h"
#include "tests/fakes/ScriptedAdapterOperations.h"
#include "tests/win/common/UtilityProcess.h"
#include "tests/win/shell/ShellTestSupport.h"

namespace hx::win {
namespace {

using namespace std::chrono_literals;
using Log = std::vector<std::string>;

// Whether a page is shown in its frame (the main window itself may be hidden).
bool Shown(const Dialog& page) { return (::GetWindowLongA(page.Hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }
std::string Visibility(const Dialog& page) { return Shown(page) ? "shown" : "hidden"; }

// Pages that note when their hooks run and whether they were on screen at the time.
struct LinkInfoPage : CPage_LinkInfo {
    explicit LinkInfoPage(Log& log) : log(log) {}
    void UpdateDisplay() override { log.push_back("LinkInfo.UpdateDisplay"); }
    Log& log;
};
struct ConfigPage : CPage_Config {
    explicit ConfigPage(Log& log) : log(log) {}
    void LoadFromSetting() override { log.push_back("Config.LoadFromSetting " + Visibility(*this)); }
    void FillTxRateList() override { log.push_back("Config.FillTxRateList"); }
    Log& log;
};
struct WepPage : CPage_Wep {
    explicit WepPage(Log& log) : log(log) {}
    void Load() override { log.push_back("Wep.Load " + Visibility(*this)); }
    Log& log;
};
struct SitePage : CPage_Site {
    explicit SitePage(Log& log) : log(log) {}
    void StartScan() override { log.push_back("Site.StartScan"); }
    void FillList() override { log.push_back("Site.FillList"); }
    Log& log;
};
struct ProfilePage : CPage_Profile {
    explicit ProfilePage(Log& log) : log(log) {}
    void RefreshList() override { log.push_back("Profile.RefreshList " + Visibility(*this)); }
    Log& log;
};
struct AboutPage : CPage_About {
    explicit AboutPage(Log& log) : log(log) {}
    void SetDriverVersionText(const std::string& text) override { log.push_back("About.Driver " + text); }
    void SetMacAddressText(const std::string& text) override { log.push_back("About.Mac " + text); }
    Log& log;
};

struct RecordingWorker : WorkerControl {
    explicit RecordingWorker(test::NotifyRecorder& tray) : tray(tray) {}
    void StartWorker() override {}
    void StopWorker() override {
        ++stops;
        const auto& records = tray.Records();
        iconStillThereAtStop = std::none_of(records.begin(), records.end(),
                                            [](const test::NotifyRecord& r) { return r.message == NIM_DELETE; });
    }
    bool WorkerActive() const override { return false; }
    test::NotifyRecorder& tray;
    int stops = 0;
    bool iconStillThereAtStop = false;
};

// The main window with the step its modal loop runs before dispatching each message.
struct MainWindow : CDlg_Main {
    using CDlg_Main::CDlg_Main;
    using CDlg_Main::PreTranslateMessage;
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        InitialiseProcessState(state);
        operations.adapterPlugged = true;
        operations.linkToReport.linkSpeed = 11000;
        operations.linkToReport.signalStrength = 60;  // set 4
        main.UseAdapterOperations(operations);
    }
    ~MainWindowTest() override {
        // Leave no menu or message box of ours behind for the next test.
        ::EndMenu();
        if (HWND box = test::FindMessageBox(main.Hwnd())) ::SendMessageA(box, WM_COMMAND, IDOK, 0);
    }

    // Creates the window as the modal run would and lets the start-up hide happen.
    void Start() {
        ASSERT_NE(main.Create(nullptr), nullptr);
        test::WaitFor([] { return false; }, 250ms);
    }
    HWND Window() const { return main.Hwnd(); }
    bool Visible() const { return ::IsWindowVisible(Window()) != FALSE; }
    void ClickLabel(int labelId) {
        HWND label = ::GetDlgItem(Window(), labelId);
        ::SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        ::SendMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    }
    HICON TrayIconOfSet(int set) const { return main.Tray()->Set(set).pIcon[0].hIcon.Get(); }
    // A key pressed in the page frame (or in the window given), with Ctrl and Shift as given,
    // as the modal loop sees it.
    void PressKey(WPARAM key, bool control, bool shift = false, HWND in = nullptr) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        ::SetKeyboardState(keys);
        MSG msg{in ? in : ::GetDlgItem(Window(), IDC_PAGE_FRAME), WM_KEYDOWN, key, 0, 0, {}};
        main.PreTranslateMessage(msg);
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        ::SetKeyboardState(keys);
    }

    test::NotifyRecorder tray;
    Log log;
    UtilityState state;
    test::FakeAdapterLibrary library;
    test::ScriptedAdapterOperations operations{state, log};
    RecordingWorker worker{tray};
    LinkInfoPage linkInfo{log};
    ConfigPage config{log};
    WepPage wep{log};
    SitePage site{log};
    ProfilePage profile{log};
    AboutPage about{log};
    MainWindow main{state, library, worker, {linkInfo, config, wep, site, profile, about}};
};

// On the simulated adapter the window's title and the tray's tooltip say so, and the window
// is found by either title, as another instance, hxctl and the installer look for it.
TEST_F(MainWindowTest, SaysItRunsOnTheSimulatedAdapter) {
    state.libraries.adapter.kind = LibraryKind::StandIn;
    ASSERT_NE(main.Create(nullptr), nullptr);
    EXPECT_EQ(test::WindowText(Window()), "Halvorn HX-88U Utility (simulated)");
    ASSERT_FALSE(tray.Records().empty());
    EXPECT_EQ(tray.Records().back().tip, "HX-88U: no adapter (simulated)");
    EXPECT_EQ(FindUtilityWindow(), Window());
}

TEST_F(MainWindowTest, StartsWithLinkInfoInFrontAndTheAbsentIconAdded) {
    ASSERT_NE(main.Create(nullptr), nullptr);
    EXPECT_EQ(test::WindowText(Window()), "Halvorn HX-88U Utility");
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(Window(), WM_GETICON, ICON_BIG, 0)),
              ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN)));
    EXPECT_EQ(state.pendingSurveyCountdown, -1);
    EXPECT_EQ(state.adapterReady, 0);

    HWND frame = ::GetDlgItem(Window(), IDC_PAGE_FRAME);
    const Dialog* pages[] = {&linkInfo, &config, &wep, &site, &profile, &about};
    for (const Dialog* page : pages) {
        SCOPED_TRACE(page->TemplateId());
        EXPECT_EQ(::GetParent(page->Hwnd()), frame);
        RECT r{};
        ::GetWindowRect(page->Hwnd(), &r);
        ::MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(Shown(*page), page == &linkInfo);
    }
    EXPECT_TRUE(main.IsCurrentPage(PageId::LinkInfo));
    for (int id : {IDC_NAV_LINK_INFO, IDC_NAV_CONFIGURATION, IDC_NAV_ENCRYPTION, IDC_NAV_SITE_SURVEY,
                   IDC_NAV_PROFILE, IDC_NAV_ABOUT})
        EXPECT_EQ(main.Label(id)->Selected(), id == IDC_NAV_LINK_INFO) << id;

    ASSERT_FALSE(tray.Records().empty());
    const test::NotifyRecord& first = tray.Records().front();
    EXPECT_EQ(first.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(first.owner, Window());
    EXPECT_EQ(first.callback, 4702u);
    EXPECT_EQ(first.icon, TrayIconOfSet(TraySet::NoAdapter));
}

TEST_F(MainWindowTest, ShownAtStartAndHiddenAgainWithinATenthOfASecond) {
    ASSERT_NE(main.Create(nullptr), nullptr);
    ::ShowWindow(Window(), SW_SHOWNORMAL);  // what the modal run does when first idle
    const auto shown = std::chrono::steady_clock::now();
    EXPECT_TRUE(test::WaitFor([&] { return !Visible(); }, 900ms));
    EXPECT_LT(std::chrono::steady_clock::now() - shown, 900ms) << "hidden by the tick, not by the hide timer";
}

TEST_F(MainWindowTest, PagesSwitchWithTheirHooksAroundTheShow) {
    Start();
    log.clear();
    struct Step {
        const char* how;
        std::function<void()> select;
        PageId page;
        int label;
        Log hooks;
    };
    const Step steps[] = {
        {"Configuration label", [&] { ClickLabel(IDC_NAV_CONFIGURATION); }, PageId::Configuration,
         IDC_NAV_CONFIGURATION, {"Config.LoadFromSetting hidden"}},
        {"Configuration again", [&] { ClickLabel(IDC_NAV_CONFIGURATION); }, PageId::Configuration,
         IDC_NAV_CONFIGURATION, {}},
        {"Profile by the port", [&] { main.ShowPage(PageId::Profile); }, PageId::Profile, IDC_NAV_PROFILE,
         {"Profile.RefreshList shown"}},
        {"Encryption label", [&] { ClickLabel(IDC_NAV_ENCRYPTION); }, PageId::Encryption, IDC_NAV_ENCRYPTION,
         {"Wep.Load hidden"}},
        {"Site Survey label", [&] { ClickLabel(IDC_NAV_SITE_SURVEY); }, PageId::SiteSurvey, IDC_NAV_SITE_SURVEY, {}},
        {"About by command", [&] { ::SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_NAV_ABOUT, STN_CLICKED), 0); },
         PageId::About, IDC_NAV_ABOUT, {}},
        {"Profile label", [&] { ClickLabel(IDC_NAV_PROFILE); }, PageId::Profile, IDC_NAV_PROFILE,
         {"Profile.RefreshList shown"}},
        // The page keys take the same way as a click on the next or previous label.
        {"Ctrl+Tab", [&] { PressKey(VK_TAB, true); }, PageId::About, IDC_NAV_ABOUT, {}},
        {"Tab alone", [&] { PressKey(VK_TAB, false); }, PageId::About, IDC_NAV_ABOUT, {}},
        {"Ctrl+PageDown past the last", [&] { PressKey(VK_NEXT, true); }, PageId::LinkInfo, IDC_NAV_LINK_INFO, {}},
        {"Ctrl+PageDown", [&] { PressKey(VK_NEXT, true); }, PageId::Configuration, IDC_NAV_CONFIGURATION,
         {"Config.LoadFromSetting hidden"}},
        {"Ctrl+Shift+Tab", [&] { PressKey(VK_TAB, true, true); }, PageId::LinkInfo, IDC_NAV_LINK_INFO, {}},
        {"Ctrl+PageUp before the first", [&] { PressKey(VK_PRIOR, true); }, PageId::About, IDC_NAV_ABOUT, {}},
        {"Ctrl+PageUp", [&] { PressKey(VK_PRIOR, true); }, PageId::Profile, IDC_NAV_PROFILE,
         {"Profile.RefreshList shown"}},
        {"Link Info label", [&] { ClickLabel(IDC_NAV_LINK_INFO); }, PageId::LinkInfo, IDC_NAV_LINK_INFO, {}},
    };
    const std::pair<PageId, const Dialog*> pages[] = {
        {PageId::LinkInfo, &linkInfo}, {PageId::Configuration, &config}, {PageId::Encryption, &wep},
        {PageId::SiteSurvey, &site},   {PageId::Profile, &profile},      {PageId::About, &about}};
    const int labels[] = {IDC_NAV_LINK_INFO, IDC_NAV_CONFIGURATION, IDC_NAV_ENCRYPTION,
                          IDC_NAV_SITE_SURVEY, IDC_NAV_PROFILE, IDC_NAV_ABOUT};
    for (const Step& step : steps) {
        log.clear();
        step.select();
        Log hooks;
        std::copy_if(log.begin(), log.end(), std::back_inserter(hooks),
                     [](const std::string& entry) { return entry.find('.') != std::string::npos; });
        hooks.erase(std::remove(hooks.begin(), hooks.end(), "LinkInfo.UpdateDisplay"), hooks.end());
        EXPECT_EQ(hooks, step.hooks) << step.how;
        EXPECT_TRUE(main.IsCurrentPage(step.page)) << step.how;
        for (const auto& [id, page] : pages)
            EXPECT_EQ(Shown(*page), id == step.page) << step.how;
        for (int label : labels) EXPECT_EQ(main.Label(label)->Selected(), label == step.label) << step.how;
    }
}

TEST_F(MainWindowTest, CoreRequestsReachTheirPages) {
    Start();
    const std::pair<std::function<void()>, std::string> requests[] = {
        {[&] { main.StartSiteSurvey(); }, "Site.StartScan"},
        {[&] { main.CollectSiteSurvey(); }, "Site.FillList"},
        {[&] { main.FillTxRateList(); }, "Config.FillTxRateList"},
        {[&] { main.ShowLinkStatus(); }, "LinkInfo.UpdateDisplay"},
        {[&] { main.SetDriverVersionText("2.5.0317.2004"); }, "About.Driver 2.5.0317.2004"},
        {[&] { main.SetMacAddressText("00:0A:EB:12:34:56"); }, "About.Mac 00:0A:EB:12:34:56"},
    };
    for (const auto& [request, expected] : requests) {
        log.clear();
        request();
        EXPECT_EQ(log, Log{expected});
    }
}

TEST_F(MainWindowTest, CloseAndMinimiseHideButNeverEndTheWindow) {
    Start();
    struct Case {
        WPARAM command;
        LPARAM cursor;
        bool visibleAfter;
    };
    const Case cases[] = {
        {SC_CLOSE, MAKELPARAM(300, 10), false},
        {SC_MINIMIZE, MAKELPARAM(280, 10), false},
        {SC_CLOSE | 0x2, MAKELPARAM(300, 10), false},   // low bits are not part of the command
        {SC_CLOSE, 0, true},                            // from the keyboard: only brought forward
        {SC_MINIMIZE, 0, true},
    };
    for (const Case& c : cases) {
        ::ShowWindow(Window(), SW_SHOW);
        ::SendMessageA(Window(), WM_SYSCOMMAND, c.command, c.cursor);
        test::PumpMessages();
        EXPECT_TRUE(::IsWindow(Window()));
        EXPECT_FALSE(::IsIconic(Window())) << std::hex << c.command;
        EXPECT_EQ(Visible(), c.visibleAfter) << std::hex << c.command << " at " << c.cursor;
    }
}

// A message box runs its own modal loop: it is read and closed from a timer inside it.
HWND g_boxOwner = nullptr;
std::string g_boxText, g_boxCaption;
bool g_boxSeen = false;

void ReadAndCloseBox() {
    HWND box = test::FindMessageBox(g_boxOwner);
    if (box == nullptr) return;
    g_boxSeen = true;
    g_boxText = test::MessageBoxText(box);
    g_boxCaption = test::WindowText(box);
    ::SendMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(MainWindowTest, OpenDependsOnTheAdapterAndZeroConfiguration) {
    Start();
    struct Case {
        const char* what;
        bool plugged;
        int wzc;
        bool shows;
        bool messageBox;
    };
    const Case cases[] = {
        {"no adapter", false, Wzc::OwnControl, false, false},
        {"service in control", true, Wzc::ServiceControl, false, true},
        {"ready", true, Wzc::OwnControl, true, false},
    };
    g_boxOwner = Window();
    for (const Case& c : cases) {
        operations.adapterPlugged = c.plugged;
        operations.wzcStatus = c.wzc;
        state.adapterReady = c.plugged ? 1 : 0;
        state.wzcState = c.wzc;
        ::ShowWindow(Window(), SW_HIDE);
        g_boxSeen = false;
        test::RunSoon(200, &ReadAndCloseBox);
        ::PostMessageA(Window(), WM_COMMAND, ID_TRAY_OPEN, 0);
        test::WaitFor([] { return false; }, 400ms);
        EXPECT_EQ(Visible(), c.shows) << c.what;
        EXPECT_EQ(g_boxSeen, c.messageBox) << c.what;
        if (g_boxSeen) {
            EXPECT_EQ(g_boxText, "Wireless LAN is Controlled by the Windows Zero Configuration");
            EXPECT_EQ(g_boxCaption, "Error") << "the platform's own caption";
        }
    }
    EXPECT_EQ(::GetForegroundWindow(), Window());
}

TEST_F(MainWindowTest, TrayDoubleClickOpensAndRightClickPopsTheMenu) {
    Start();
    state.adapterReady = 1;
    ::SendMessageA(Window(), TrayIcon::kCallbackMessage, TrayIcon::kIconId, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Visible());

    ::ShowWindow(Window(), SW_HIDE);
    static std::vector<test::MenuItem> seen;
    seen.clear();
    test::RunSoon(150, [] {
        seen = test::VisiblePopupMenuItems();
        HWND menu = ::FindWindowA("#32768", nullptr);
        ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);   // "Open"
    });
    ::SendMessageA(Window(), TrayIcon::kCallbackMessage, TrayIcon::kIconId, WM_RBUTTONDOWN);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].text, "Open");
    EXPECT_EQ(seen[2].text, "Start with Windows");
    EXPECT_EQ(seen[3].text, "Exit");
    EXPECT_TRUE(test::WaitFor([&] { return Visible(); }, 1s)) << "choosing Open opens the window";
}

TEST_F(MainWindowTest, TheTrayIconsAreLoadedAgainWhenTheDisplayOrTheThemeChanges) {
    test::TaskbarTheme theme;
    operations.adapterPlugged = false;
    Start();
    const struct { int light; UINT message; LPARAM area; int loaded; } steps[] = {
        {0, WM_DISPLAYCHANGE, MAKELPARAM(1024, 768), IDI_NO_ADAPTER_DARK},
        {1, WM_SETTINGCHANGE, reinterpret_cast<LPARAM>("ImmersiveColorSet"), IDI_NO_ADAPTER},
    };
    for (const auto& step : steps) {
        theme.Set(step.light);
        const HICON before = TrayIconOfSet(0);
        tray.Records().clear();
        ::SendMessageA(Window(), step.message, 32, step.area);
        EXPECT_EQ(main.Tray()->Set(0).pIcon[0].loadedId, step.loaded) << step.message;
        EXPECT_NE(TrayIconOfSet(0), before) << "loaded anew";
        ASSERT_EQ(tray.Records().size(), 1u) << step.message;
        EXPECT_EQ(tray.Records()[0].message, static_cast<DWORD>(NIM_MODIFY));
        EXPECT_EQ(tray.Records()[0].icon, TrayIconOfSet(0)) << "the shell shows the new picture";
    }
}

TEST_F(MainWindowTest, StartWithWindowsInTheTrayMenuWritesAndRemovesTheRunEntry) {
    static constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRun, "HX88UUtil");
    // Left behind, the entry would start this test program with the next Wine session.
    const struct Remove { ~Remove() { ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRun, "HX88UUtil"); } } remove;
    char program[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    Start();
    UniqueMenu menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY)));
    HMENU popup = ::GetSubMenu(menu.Get(), 0);
    for (const std::string& expected : {std::string("\"") + program + "\"", std::string()}) {
        ::SendMessageA(Window(), WM_COMMAND, ID_TRAY_START_WITH_WINDOWS, 0);
        char value[MAX_PATH + 8] = {};
        DWORD size = sizeof value;
        ::RegGetValueA(HKEY_CURRENT_USER, kRun, "HX88UUtil", RRF_RT_REG_SZ, nullptr, value, &size);
        EXPECT_EQ(std::string(value), expected);
        ::SendMessageA(Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        const bool checked = (::GetMenuState(popup, ID_TRAY_START_WITH_WINDOWS, MF_BYCOMMAND) & MF_CHECKED) != 0;
        EXPECT_EQ(checked, !expected.empty()) << "the check shows the entry when the menu opens";
    }
}

TEST_F(MainWindowTest, TheHeartbeatDrivesTheTrayIcon) {
    Start();
    const auto lastIcon = [&] { return tray.Records().empty() ? nullptr : tray.Records().back().icon; };
    EXPECT_TRUE(test::WaitFor([&] { return lastIcon() == TrayIconOfSet(4); }, 2500ms))
        << "11 Mbit/s at 60 % shows three green bars";
    EXPECT_EQ(state.adapterReady, 1);

    ::ShowWindow(Window(), SW_SHOW);
    operations.adapterPlugged = false;
    library.Fail("QueryWL_DriverVersion", -1);
    EXPECT_TRUE(test::WaitFor([&] { return lastIcon() == TrayIconOfSet(0) && !Visible(); }, 2500ms));
    EXPECT_EQ(state.adapterReady, 0);
}

TEST_F(MainWindowTest, ANewTaskbarGetsTheSetShownNow) {
    Start();
    ASSERT_TRUE(test::WaitFor([&] { return !tray.Records().empty() && tray.Records().back().icon == TrayIconOfSet(4); },
                              2500ms));
    tray.Records().clear();
    ::SendMessageA(Window(), TrayIcon::TaskbarCreatedMessage(), 0, 0);  // as broadcast by the shell
    ASSERT_EQ(tray.Records().size(), 1u);
    EXPECT_EQ(tray.Records()[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(tray.Records()[0].icon, TrayIconOfSet(4));
}

// An icon drawn on white at its own size, pixel by pixel.
std::vector<COLORREF> Pixels(HICON icon, int size) {
    WindowDc screen(nullptr);
    UniqueMemoryDc memory(::CreateCompatibleDC(screen.Get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), size, size));
    SelectedObject selected(memory.Get(), bitmap.Get());
    const RECT area{0, 0, size, size};
    ::FillRect(memory.Get(), &area, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::DrawIconEx(memory.Get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) pixels.push_back(::GetPixel(memory.Get(), x, y));
    return pixels;
}

int IconSize(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return 0;
    BITMAP mask{};
    ::GetObjectA(info.hbmMask, sizeof mask, &mask);
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    return mask.bmWidth;
}

TEST_F(MainWindowTest, EachTraySetHoldsTheIconOfItsState) {
    // Set by set: no adapter, no signal, one to four green bars, one to four yellow bars,
    // Zero Configuration in control.
    const int expected[TraySet::Count] = {144, 145, 143, 137, 138, 139, 140, 141, 142, 136, 152};
    Start();
    for (int set = 0; set < TraySet::Count; ++set) {
        const HICON shown = TrayIconOfSet(set);
        const int size = IconSize(shown);
        UniqueIcon resource(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                            MAKEINTRESOURCEA(expected[set]), IMAGE_ICON, size, size, 0)));
        EXPECT_EQ(Pixels(shown, size), Pixels(resource.Get(), size)) << "set " << set;
    }
}

TEST_F(MainWindowTest, ClientAreaIsPaintedInTheWindowColour) {
    Start();
    RECT client{};
    ::GetClientRect(Window(), &client);
    WindowDc screen(nullptr);
    UniqueMemoryDc memory(::CreateCompatibleDC(screen.Get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    SelectedObject selected(memory.Get(), bitmap.Get());
    ::SendMessageA(Window(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()), 0);
    EXPECT_EQ(::GetPixel(memory.Get(), 2, client.bottom - 3), RGB(46, 92, 199));
    EXPECT_EQ(::GetPixel(memory.Get(), client.right / 2, client.bottom / 2), RGB(46, 92, 199));
}

// Exit from the tray menu, Escape and the end of the Windows session all end the modal run:
// the worker is stopped first, then the icon is removed, before the message is answered
// (at the end of a session the process is ended right after the answer).
struct EndingMessage {
    const char* name;
    UINT message;
    WPARAM wParam;
};

class MainWindowShutdownTest : public MainWindowTest, public ::testing::WithParamInterface<EndingMessage> {};

CDlg_Main* g_running = nullptr;
RecordingWorker* g_worker = nullptr;
EndingMessage g_ending{};
int g_stopsWhenAnswered = -1;
bool g_iconWhenAnswered = true;

TEST_P(MainWindowShutdownTest, EndsTheDialogAndRemovesTheIconBeforeAnswering) {
    g_running = &main;
    g_worker = &worker;
    g_ending = GetParam();
    g_stopsWhenAnswered = -1;
    g_iconWhenAnswered = true;
    test::RunSoon(300, [] {
        ::SendMessageA(g_running->Hwnd(), g_ending.message, g_ending.wParam, 0);
        g_stopsWhenAnswered = g_worker->stops;
        g_iconWhenAnswered = g_running->Tray()->Present();
    });
    EXPECT_EQ(main.DoModal(nullptr), IDCANCEL);
    EXPECT_EQ(g_stopsWhenAnswered, 1);
    EXPECT_FALSE(g_iconWhenAnswered);
    EXPECT_TRUE(worker.iconStillThereAtStop);
    ASSERT_FALSE(tray.Records().empty());
    EXPECT_EQ(tray.Records().back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(main.Hwnd(), nullptr) << "the window is gone";
}

INSTANTIATE_TEST_SUITE_P(Ending, MainWindowShutdownTest,
                         ::testing::Values(EndingMessage{"Exit", WM_COMMAND, ID_TRAY_EXIT},
                                           EndingMessage{"Escape", WM_COMMAND, IDCANCEL},
                                           EndingMessage{"SessionEnds", WM_ENDSESSION, TRUE}),
                         [](const ::testing::TestParamInfo<EndingMessage>& info) { return info.param.name; });

// Asked whether the session may end, the utility says yes; a session that goes on after
// all (another program refused) leaves it running.
TEST_F(MainWindowTest, NeverHoldsUpTheEndOfTheSessionAndOutlivesOneThatGoesOn) {
    Start();
    EXPECT_EQ(::SendMessageA(Window(), WM_QUERYENDSESSION, 0, 0), TRUE);
    ::SendMessageA(Window(), WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(worker.stops, 0);
    EXPECT_TRUE(main.Tray()->Present());
    EXPECT_TRUE(::IsWindow(Window()));
}

TEST_F(MainWindowTest, TheLabelsAreOneTabStopWalkedWithArrowsAndASwitchFocusesThePage) {
    Start();
    ::ShowWindow(Window(), SW_SHOWNORMAL);
    auto label = [&](int id) { return ::GetDlgItem(Window(), id); };
    auto item = [](const Dialog& page, int id) { return ::GetDlgItem(page.Hwnd(), id); };
    auto inColumn = [&](WPARAM key) { return [=, this] { PressKey(key, false, false, ::GetFocus()); }; };
    HWND status = item(linkInfo, IDC_LI_STATUS);
    // Tab reaches the column at the selected label, between the page's last and first controls.
    EXPECT_EQ(::GetNextDlgTabItem(Window(), status, TRUE), label(IDC_NAV_LINK_INFO));
    EXPECT_EQ(::GetNextDlgTabItem(Window(), label(IDC_NAV_LINK_INFO), FALSE), status);
    ::SetFocus(label(IDC_NAV_LINK_INFO));
    ASSERT_TRUE(main.Label(IDC_NAV_LINK_INFO)->HasFocus());
    const struct { const char* how; std::function<void()> press; PageId page; HWND focus; } steps[] = {
        {"Down", inColumn(VK_DOWN), PageId::Configuration, label(IDC_NAV_CONFIGURATION)},
        {"End", inColumn(VK_END), PageId::About, label(IDC_NAV_ABOUT)},
        {"Down at the end", inColumn(VK_DOWN), PageId::About, label(IDC_NAV_ABOUT)},
        {"Up", inColumn(VK_UP), PageId::Profile, label(IDC_NAV_PROFILE)},
        {"Home", inColumn(VK_HOME), PageId::LinkInfo, label(IDC_NAV_LINK_INFO)},
        {"Up at the start", inColumn(VK_UP), PageId::LinkInfo, label(IDC_NAV_LINK_INFO)},
        // Away from the column a switch puts the focus on the new page's first control.
        {"Ctrl+Tab in a page", [&] { PressKey(VK_TAB, true, false, status); }, PageId::Configuration,
         item(config, IDC_CFG_SSID)},
        {"Ctrl+PageDown", [&] { PressKey(VK_NEXT, true, false, ::GetFocus()); }, PageId::Encryption,
         item(wep, IDC_WEP_ENCRYPT)},
        {"label click", [&] { ClickLabel(IDC_NAV_SITE_SURVEY); }, PageId::SiteSurvey, item(site, IDC_SITE_LIST)},
        {"switch by the core", [&] { main.ShowPage(PageId::About); }, PageId::About,
         item(about, IDC_ABOUT_UTILITY_VERSION)},
    };
    for (const auto& step : steps) {
        step.press();
        EXPECT_TRUE(main.IsCurrentPage(step.page)) << step.how;
        EXPECT_EQ(::GetFocus(), step.focus) << step.how;
        for (int id : {IDC_NAV_LINK_INFO, IDC_NAV_CONFIGURATION, IDC_NAV_ENCRYPTION, IDC_NAV_SITE_SURVEY,
                       IDC_NAV_PROFILE, IDC_NAV_ABOUT})  // the column's one tab stop is the selected label
            EXPECT_EQ((::GetWindowLongA(label(id), GWL_STYLE) & WS_TABSTOP) != 0, main.Label(id)->Selected())
                << step.how << " " << id;
    }
}

}  // namespace
}  // namespace hx::win
