#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/TrayRule.h"
#include "resources/resource.h"
#include "tests/win/common/UtilityProcess.h"
#include "tests/win/shell/ShellTestSupport.h"
#include "trayicon/win32/TrayIcon.h"

namespace hx::win {
namespace {

using test::NotifyRecord;

struct BrokenPrecondition : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void ThrowOnBrokenPrecondition(const char* condition) { throw BrokenPrecondition(condition); }

// A hidden window that owns the icon and receives the menu's commands.
class OwnerWindow {
public:
    OwnerWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "HxTrayOwner";
        ::RegisterClassA(&wc);
        hwnd = ::CreateWindowExA(0, "HxTrayOwner", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        lastCommand = 0;
    }
    ~OwnerWindow() { ::DestroyWindow(hwnd); }
    HWND hwnd;
    static inline UINT lastCommand = 0;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) lastCommand = LOWORD(wParam);
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
};

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override { TrayIcon::SetAssertionHandler(&ThrowOnBrokenPrecondition); }
    void TearDown() override { TrayIcon::SetAssertionHandler(nullptr); }

    // The eleven sets the main window assigns.
    void AssignUtilitySets(TrayIcon& tray) {
        for (int set = 0; set < TraySet::Count; ++set)
            tray.SetIcon(set, 0, kTraySetIcons[static_cast<size_t>(set)], kTrayIconDisplayTimeMs);
    }

    test::NotifyRecorder recorder;
    OwnerWindow owner;
};

TEST_F(TrayIconTest, ShowAddsThenModifiesAndRemoveDeletes) {
    TrayIcon tray(::GetModuleHandleA(nullptr), TraySet::Count, 1, owner.hwnd);
    AssignUtilitySets(tray);
    EXPECT_TRUE(recorder.Records().empty()) << "nothing is shown before the first show";

    EXPECT_TRUE(tray.ShowSet(0));
    EXPECT_TRUE(tray.ShowSet(9));
    EXPECT_TRUE(tray.ShowSet(9));   // sent again although unchanged
    EXPECT_TRUE(tray.ShowSet(-1));  // the set shown now
    tray.Remove();
    tray.Remove();                  // nothing left to delete

    const auto& records = recorder.Records();
    ASSERT_EQ(records.size(), 5u);
    const DWORD expectedMessages[] = {NIM_ADD, NIM_MODIFY, NIM_MODIFY, NIM_MODIFY, NIM_DELETE};
    const HICON expectedIcons[] = {tray.Set(0).pIcon[0].hIcon.Get(), tray.Set(9).pIcon[0].hIcon.Get(),
                                   tray.Set(9).pIcon[0].hIcon.Get(), tray.Set(9).pIcon[0].hIcon.Get()};
    for (size_t i = 0; i < records.size(); ++i) {
        const NotifyRecord& r = records[i];
        SCOPED_TRACE("record " + std::to_string(i));
        EXPECT_EQ(r.message, expectedMessages[i]);
        EXPECT_EQ(r.size, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
        EXPECT_EQ(r.owner, owner.hwnd);
        EXPECT_EQ(r.id, 1u);
        if (i == 4) continue;
        EXPECT_EQ(r.flags, 7u);
        EXPECT_EQ(r.callback, 4702u);
        EXPECT_EQ(r.icon, expectedIcons[i]);
        EXPECT_EQ(r.tip, "");
    }
    EXPECT_FALSE(tray.Present());
}

// The shell refuses while the taskbar is not there; the icon is added once it takes it, and
// a taskbar created anew gets it again with the set shown then.
TEST_F(TrayIconTest, ARefusedAddIsTriedAgainAndANewTaskbarGetsTheIconBack) {
    TrayIcon tray(::GetModuleHandleA(nullptr), TraySet::Count, 1, owner.hwnd);
    AssignUtilitySets(tray);
    const UINT taskbarCreated = TrayIcon::TaskbarCreatedMessage();
    recorder.result = FALSE;
    EXPECT_FALSE(tray.ShowSet(0));
    EXPECT_FALSE(tray.Present());
    recorder.result = TRUE;
    EXPECT_TRUE(tray.ShowSet(3));
    EXPECT_TRUE(tray.ShowSet(3));
    EXPECT_FALSE(tray.OnOwnerMessage(WM_USER + 1));
    EXPECT_TRUE(tray.OnOwnerMessage(taskbarCreated));
    tray.Remove();
    EXPECT_TRUE(tray.OnOwnerMessage(taskbarCreated)) << "the broadcast is recognised";

    const HICON three = tray.Set(3).pIcon[0].hIcon.Get();
    const std::vector<std::pair<DWORD, HICON>> expected{
        {NIM_ADD, tray.Set(0).pIcon[0].hIcon.Get()}, {NIM_MODIFY, tray.Set(0).pIcon[0].hIcon.Get()},  // refused
        {NIM_ADD, three}, {NIM_MODIFY, three},
        {NIM_ADD, three},    // the new taskbar
        {NIM_DELETE, nullptr},
    };  // and nothing for the broadcast after the removal
    std::vector<std::pair<DWORD, HICON>> sent;
    for (const NotifyRecord& r : recorder.Records())
        sent.emplace_back(r.message, r.message == NIM_DELETE ? nullptr : r.icon);
    ASSERT_EQ(sent, expected);
    EXPECT_EQ(recorder.Records()[4].tip, "") << "the icon keeps its empty tip";
}

TEST_F(TrayIconTest, EverySetHoldsASixteenPixelIconShownForHalfASecond) {
    TrayIcon tray(::GetModuleHandleA(nullptr), TraySet::Count, 1, owner.hwnd);
    AssignUtilitySets(tray);
    for (int set = 0; set < TraySet::Count; ++set) {
        const auto& entry = tray.Set(set).pIcon[0];
        ASSERT_NE(entry.hIcon.Get(), nullptr) << "set " << set;
        EXPECT_EQ(entry.displayTimeMs, 500);
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(entry.hIcon.Get(), &info));
        BITMAP mask{};
        ::GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, 16) << "set " << set;
        ::DeleteObject(info.hbmMask);
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
    }
}

TEST_F(TrayIconTest, BrokenPreconditionsNameTheirCondition) {
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    TrayIcon tray(module, 2, 1, owner.hwnd);
    tray.SetIcon(0, 0, IDI_NO_ADAPTER, 500);
    struct Case {
        const char* what;
        std::function<void()> call;
        std::string condition;
    };
    const Case cases[] = {
        {"no sets", [&] { TrayIcon(module, 0, 1, owner.hwnd); }, "nMaxIconSets > 0"},
        {"no icons per set", [&] { TrayIcon(module, 1, 0, owner.hwnd); }, "nMaxIconsPerSet > 0"},
        {"set past the end", [&] { tray.SetIcon(2, 0, IDI_NO_ADAPTER, 500); }, "nIconSet < MaxIconSets()"},
        {"negative set", [&] { tray.SetIcon(-3, 0, IDI_NO_ADAPTER, 500); }, "nIconSet < MaxIconSets()"},
        {"index past the end", [&] { tray.SetIcon(0, 1, IDI_NO_ADAPTER, 500); }, "nIndex < MaxIconsPerSet()"},
        {"show past the end", [&] { tray.ShowSet(2); }, "nIconSet < MaxIconSets()"},
        {"show a set with no icon", [&] { tray.ShowSet(1); },
         "IconSet(nIconSet).pIcon[IconSet(nIconSet).nCurrentIcon].hIcon != NULL"},
        {"menu that does not exist", [&] { tray.PopUpMenu(9999, owner.hwnd); }, "hPopup != NULL"},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.what << ": no assertion";
        } catch (const BrokenPrecondition& e) {
            EXPECT_EQ(std::string(e.what()), c.condition) << c.what;
        }
    }
    EXPECT_TRUE(recorder.Records().empty()) << "nothing reaches the shell after a broken precondition";
}

TEST_F(TrayIconTest, PopUpMenuOffersOpenStartWithWindowsAndExitAndSendsTheChoiceToTheOwner) {
    TrayIcon tray(::GetModuleHandleA(nullptr), 1, 1, owner.hwnd);
    static std::vector<test::MenuItem> seen;
    seen.clear();
    // Inside the menu's own loop: look at the menu, then choose the last item (the keys pass
    // over the separator).
    test::RunSoon(200, [] {
        seen = test::VisiblePopupMenuItems();
        HWND menu = ::FindWindowA("#32768", nullptr);
        ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    });
    tray.PopUpMenu(IDR_TRAY, owner.hwnd);
    test::WaitFor([] { return OwnerWindow::lastCommand != 0; }, std::chrono::milliseconds(2000));
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].id, static_cast<UINT>(ID_TRAY_OPEN));
    EXPECT_EQ(seen[0].text, "Open");
    EXPECT_EQ(seen[1].id, 0u) << "a separator";
    EXPECT_EQ(seen[2].id, static_cast<UINT>(ID_TRAY_START_WITH_WINDOWS));
    EXPECT_EQ(seen[2].text, "Start with Windows");
    EXPECT_EQ(seen[3].id, static_cast<UINT>(ID_TRAY_EXIT));
    EXPECT_EQ(seen[3].text, "Exit");
    EXPECT_EQ(OwnerWindow::lastCommand, static_cast<UINT>(ID_TRAY_EXIT));
}

HRESULT WINAPI IconAt300By200(const NOTIFYICONIDENTIFIER*, RECT* location) {
    *location = RECT{300, 200, 316, 216};
    return S_OK;
}

// The keyboard's menu comes with the pointer anywhere: it opens at the icon; a click's
// opens under the pointer. "Open" is the default; leaving gives the focus back.
TEST_F(TrayIconTest, FromTheKeyboardTheMenuOpensAtTheIconAndLeavingItGivesTheFocusBack) {
    TrayIcon::SetIconRectFunction(&IconAt300By200);
    static RECT menuRect;
    static UINT defaultItem;
    for (const auto& [pointer, menu] : {std::pair{POINT{20, 20}, POINT{308, 208}}, {POINT{303, 211}, POINT{303, 211}}}) {
        TrayIcon tray(::GetModuleHandleA(nullptr), 1, 1, owner.hwnd);
        ::SetCursorPos(pointer.x, pointer.y);
        test::RunSoon(200, [] {
            HWND window = ::FindWindowA("#32768", nullptr);
            ::GetWindowRect(window, &menuRect);
            defaultItem = ::GetMenuDefaultItem(reinterpret_cast<HMENU>(::SendMessageA(window, MN_GETHMENU, 0, 0)), FALSE, 0);
            ::PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        });
        EXPECT_FALSE(tray.PopUpMenu(IDR_TRAY, owner.hwnd)) << "left without a choice";
        EXPECT_EQ(std::pair(menuRect.left, menuRect.top), std::pair(menu.x, menu.y)) << pointer.x;
        EXPECT_EQ(defaultItem, static_cast<UINT>(ID_TRAY_OPEN));
        ASSERT_EQ(recorder.Records().size(), 1u);
        EXPECT_EQ(recorder.Records()[0].message, static_cast<DWORD>(NIM_SETFOCUS));
        EXPECT_EQ(recorder.Records()[0].owner, owner.hwnd);
        recorder.Records().clear();
    }
    TrayIcon::SetIconRectFunction(nullptr);
}

}  // namespace
}  // namespace hx::win
