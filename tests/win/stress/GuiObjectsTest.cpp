// The running utility, in this process with its real main window, pages and controls over
// the simulated adapter: every page painted a thousand times and the pages switched two
// hundred times, the GDI and USER objects it holds stay where they were (an object lost
// per repaint or switch would show as hundreds). A brush made for a colour request must go
// again, fonts and cursors are made once.
//
// A repaint here is the page painting itself and every one of its controls into a memory
// DC (WM_PRINT of each window: background, client area, the colour requests of every
// control), as a window-manager repaint of a whole page costs a server round trip per
// control under Wine; a few hundred repaints of every page on screen go through WM_PAINT
// as well (the path where the drawing controls make their off-screen bitmaps).
//
// The utility runs on this test's main thread exactly as WinMain runs it. A second thread
// hooks the utility's thread and hands it each step as a message, so that the painting
// and the counting happen on the utility's own thread, between two of its messages, with
// nothing else of it running meanwhile.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdlib>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/UtilityState.h"
#include "app/win32/CUtilityApp.h"
#include "app/win32/UtilityWindow.h"
#include "resources/resource.h"
#include "tests/win/stress/GuiObjectCount.h"

namespace hx::test {
namespace {

// More or fewer by hand: HX_GUI_REPAINTS, HX_GUI_SCREEN_REPAINTS, HX_GUI_SWITCHES (a thousand
// repaints of every page take about two minutes under Wine here).
int FromEnvironment(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::atoi(value) : fallback;
}
const int kRepaintsPerPage = FromEnvironment("HX_GUI_REPAINTS", 1000);
const int kScreenRepaintsPerPage = FromEnvironment("HX_GUI_SCREEN_REPAINTS", 100);
const int kPageSwitches = FromEnvironment("HX_GUI_SWITCHES", 200);
constexpr std::array<int, 6> kLabels{IDC_NAV_LINK_INFO, IDC_NAV_CONFIGURATION, IDC_NAV_ENCRYPTION,
                                     IDC_NAV_SITE_SURVEY, IDC_NAV_PROFILE, IDC_NAV_ABOUT};

enum Step : WPARAM { kWarmUp = 1, kRepaintEveryPage, kSwitchPages };

struct Figures {
    GuiObjects atStart;            // after the warm-up
    GuiObjects beforeRepaints, beforeSwitches;
    std::array<GuiObjects, kLabels.size()> afterRepaints;
    GuiObjects afterSwitches;
    std::array<long, kLabels.size()> erasesSeen{};
    std::array<long, kLabels.size()> paintsSeen{};
    int switchesMade = 0;
    std::string problem;
};

Figures figures;
HWND mainWindow = nullptr;
HANDLE stepDone = nullptr;
long paints = 0;
long erases = 0;

// On the utility's thread, between a page and its own window procedure: counts what the
// page is asked to paint.
LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_PAINT) ++paints;
    if (message == WM_ERASEBKGND) ++erases;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

UINT StepMessage() {
    static const UINT message = ::RegisterWindowMessageA("HX88U GUI object test step");
    return message;
}

// The page in the frame that is shown now.
HWND ShownPage() {
    HWND frame = ::GetDlgItem(mainWindow, IDC_PAGE_FRAME);
    for (HWND child = ::GetWindow(frame, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) return child;
    return nullptr;
}

// A repaint on screen, through the window manager.
void Repaint(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// A repaint of a page and its controls into a memory DC: each visible window of the page
// prints itself at its place (what PRF_CHILDREN asks for, which Wine leaves to the caller).
class PageCanvas {
public:
    explicit PageCanvas(HWND page) {
        RECT client{};
        ::GetClientRect(page, &client);
        HDC screen = ::GetDC(page);
        dc_ = ::CreateCompatibleDC(screen);
        bitmap_ = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
        ::ReleaseDC(page, screen);
        previous_ = ::SelectObject(dc_, bitmap_);
        Collect(page, page);
    }
    ~PageCanvas() {
        ::SelectObject(dc_, previous_);
        ::DeleteObject(bitmap_);
        ::DeleteDC(dc_);
    }
    void Repaint() {
        for (const Part& part : parts_) {
            ::SetViewportOrgEx(dc_, part.at.x, part.at.y, nullptr);
            ::SendMessageA(part.window, WM_PRINT, reinterpret_cast<WPARAM>(dc_),
                           PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT);
        }
        ::SetViewportOrgEx(dc_, 0, 0, nullptr);
    }

private:
    struct Part {
        HWND window;
        POINT at;
    };
    // The window and its visible children, parents before children, each with its place.
    void Collect(HWND window, HWND page) {
        RECT place{};
        ::GetWindowRect(window, &place);
        ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&place), 2);
        parts_.push_back({window, {window == page ? 0 : place.left, window == page ? 0 : place.top}});
        for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
            if (::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) Collect(child, page);
    }

    std::vector<Part> parts_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// A user's click on a navigation label, or the command it sends.
void SelectPage(int label, bool byClick) {
    HWND control = ::GetDlgItem(mainWindow, label);
    if (byClick) {
        ::SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    } else {
        ::SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(label, STN_CLICKED), reinterpret_cast<LPARAM>(control));
    }
}

// The main window on screen (the utility may have hidden it between two steps; a hidden
// window holds no surface to paint on, one bitmap fewer).
void ShowWholeWindow() {
    ::ShowWindow(mainWindow, SW_SHOWNORMAL);
    Repaint(mainWindow);
}

// The objects counted with the keyboard focus on the navigation column. The focus follows
// the page shown to its first control, and while an edit box holds it there is a caret,
// which Wine makes of a bitmap: counted elsewhere, one bitmap more or less says nothing.
GuiObjects CountAtRest() {
    ::SetFocus(::GetDlgItem(mainWindow, IDC_NAV_LINK_INFO));
    return CountGuiObjects();
}

void RunStep(WPARAM step) {
    switch (step) {
    case kWarmUp:
        // Everything made once is made here: every page shown and painted, every label
        // hovered and clicked.
        ShowWholeWindow();
        for (int label : kLabels) {
            SelectPage(label, true);
            ::SendMessageA(::GetDlgItem(mainWindow, label), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
            for (int i = 0; i < 20; ++i) Repaint(mainWindow);
        }
        SelectPage(IDC_NAV_LINK_INFO, false);
        Repaint(mainWindow);
        figures.atStart = CountAtRest();
        break;
    case kRepaintEveryPage:
        ShowWholeWindow();
        figures.beforeRepaints = CountAtRest();
        for (size_t p = 0; p < kLabels.size(); ++p) {
            SelectPage(kLabels[p], false);
            HWND page = ShownPage();
            if (page == nullptr) {
                figures.problem = "no page shown for label " + std::to_string(kLabels[p]);
                return;
            }
            paints = 0;
            erases = 0;
            ::SetWindowSubclass(page, CountPaints, 1, 0);
            {
                PageCanvas canvas(page);
                for (int i = 0; i < kRepaintsPerPage; ++i) canvas.Repaint();
            }
            for (int i = 0; i < kScreenRepaintsPerPage; ++i) Repaint(page);
            ::RemoveWindowSubclass(page, CountPaints, 1);
            figures.erasesSeen[p] = erases;
            figures.paintsSeen[p] = paints;
            figures.afterRepaints[p] = CountAtRest();
        }
        break;
    case kSwitchPages:
        ShowWholeWindow();
        figures.beforeSwitches = CountAtRest();
        for (int i = 0; i < kPageSwitches; ++i) {
            SelectPage(kLabels[static_cast<size_t>(i + 1) % kLabels.size()], i % 2 == 0);
            ::UpdateWindow(mainWindow);
            ++figures.switchesMade;
        }
        figures.afterSwitches = CountAtRest();
        break;
    default:
        break;
    }
}

// On the utility's thread: the steps, as the message loop takes them.
LRESULT CALLBACK TakeStep(int code, WPARAM removal, LPARAM message) {
    auto* msg = reinterpret_cast<MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && msg->message == StepMessage()) {
        RunStep(msg->wParam);
        msg->message = WM_NULL;
        ::SetEvent(stepDone);
    }
    return ::CallNextHookEx(nullptr, code, removal, message);
}

HWND FindOwnMainWindow() {
    for (int i = 0; i < 1000; ++i) {
        HWND window = win::FindUtilityWindow();
        DWORD process = 0;
        if (window != nullptr && ::GetWindowThreadProcessId(window, &process) && process == ::GetCurrentProcessId())
            return window;
        ::Sleep(10);
    }
    return nullptr;
}

void Drive() {
    mainWindow = FindOwnMainWindow();
    if (mainWindow == nullptr) {
        figures.problem = "the utility's main window did not appear";
        return;
    }
    // Once the adapter is identified and the last setting applied, the utility keeps its
    // window where it is put.
    bool applied = false;
    for (int i = 0; i < 1000 && !applied; ++i) {
        DWORD type = 0;
        applied = ::RegGetValueA(HKEY_CURRENT_USER, "Software\\Tessaro\\win_stress\\LastSetting", "Domain",
                                 RRF_RT_REG_DWORD, &type, nullptr, nullptr) == ERROR_SUCCESS;
        if (!applied) ::Sleep(10);
    }
    if (!applied) figures.problem = "the adapter was not identified";
    const DWORD uiThread = ::GetWindowThreadProcessId(mainWindow, nullptr);
    HHOOK steps = ::SetWindowsHookExA(WH_GETMESSAGE, TakeStep, nullptr, uiThread);
    if (steps == nullptr) figures.problem = "the utility's thread could not be hooked";
    for (WPARAM step : {kWarmUp, kRepaintEveryPage, kSwitchPages}) {
        if (!figures.problem.empty()) break;
        ::PostMessageA(mainWindow, StepMessage(), step, 0);
        // Messages are taken meanwhile: the system may call this thread's hook through it.
        const DWORD deadline = ::GetTickCount() + 600000;
        while (::MsgWaitForMultipleObjects(1, &stepDone, FALSE, 1000, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
            if (::GetTickCount() > deadline) {
                figures.problem = "a step did not end";
                break;
            }
        }
    }
    if (steps) ::UnhookWindowsHookEx(steps);
    ::PostMessageA(mainWindow, WM_COMMAND, ID_TRAY_EXIT, 0);
}

TEST(GuiObjects, FlatAcrossRepaintsOfEveryPageAndPageSwitches) {
    // A profile of its own, empty: the utility starts with the default setting.
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tessaro\\win_stress");
    stepDone = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::thread driver(Drive);
    win::TheApp().Run(::GetModuleHandleA(nullptr));
    driver.join();
    ::CloseHandle(stepDone);

    ASSERT_EQ(figures.problem, "");
    std::printf("GUI objects (%s): %s after the warm-up, %s before the repaints\n", GuiObjectCountMethod(),
                figures.atStart.Describe().c_str(), figures.beforeRepaints.Describe().c_str());
    for (size_t p = 0; p < kLabels.size(); ++p) {
        std::printf("  after %d repaints of page %d into memory and %d on screen (%ld erased, %ld painted): %s\n",
                    kRepaintsPerPage, kLabels[p], kScreenRepaintsPerPage, figures.erasesSeen[p], figures.paintsSeen[p],
                    figures.afterRepaints[p].Describe().c_str());
        EXPECT_GE(figures.erasesSeen[p], kRepaintsPerPage + kScreenRepaintsPerPage) << "page " << kLabels[p];
        EXPECT_GE(figures.paintsSeen[p], kScreenRepaintsPerPage) << "page " << kLabels[p];
        EXPECT_EQ(figures.afterRepaints[p].gdi, figures.beforeRepaints.gdi) << "page " << kLabels[p];
        EXPECT_EQ(figures.afterRepaints[p].user, figures.beforeRepaints.user) << "page " << kLabels[p];
    }
    std::printf("  %s before %d page switches, %s after\n", figures.beforeSwitches.Describe().c_str(),
                figures.switchesMade, figures.afterSwitches.Describe().c_str());
    EXPECT_EQ(figures.switchesMade, kPageSwitches);
    EXPECT_EQ(figures.afterSwitches.gdi, figures.beforeSwitches.gdi);
    EXPECT_EQ(figures.afterSwitches.user, figures.beforeSwitches.user);
    EXPECT_GT(figures.atStart.gdi, 0) << "the count sees the objects there are";
    EXPECT_GT(figures.atStart.user, 0);
}

}  // namespace
}  // namespace hx::test
