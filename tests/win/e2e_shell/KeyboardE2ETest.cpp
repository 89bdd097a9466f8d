// The built utility driven from the keyboard, with key presses as the keyboard gives them:
// Ctrl+Tab and Ctrl+PageDown step through the pages and wrap round, and Tab reaches every
// control of a page and of the profile editor that can be used, in reading order, and the
// column of labels as one stop. A screen reader in another process reads a label and
// switches its page through the label's accessible object.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <oleacc.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "resources/resource.h"
#include "tests/win/common/RemoteListView.h"
#include "tests/win/common/UtilityProcess.h"
#include "tests/win/common/WindowProbe.h"

namespace hx::test {
namespace {

using namespace std::chrono_literals;

// Each page told apart by a control only it has with that class (ids repeat across pages).
struct PageMark {
    const char* name;
    int label;
    int control;
    const char* controlClass;
};
constexpr PageMark kLinkInfo{"Link Info", IDC_NAV_LINK_INFO, IDC_LI_QUALITY_METER, "msctls_progress32"};
constexpr PageMark kConfiguration{"Configuration", IDC_NAV_CONFIGURATION, IDC_CFG_REGION, "ComboBox"};
constexpr PageMark kEncryption{"Encryption", IDC_NAV_ENCRYPTION, IDC_WEP_PASSPHRASE, "Edit"};
constexpr PageMark kSiteSurvey{"Site Survey", IDC_NAV_SITE_SURVEY, IDC_SITE_LIST, "SysListView32"};
constexpr PageMark kProfile{"Profile", IDC_NAV_PROFILE, IDC_PROF_LIST, "ListBox"};
constexpr PageMark kAbout{"About", IDC_NAV_ABOUT, IDC_ABOUT_MAC, "Edit"};

// Under Wine with no window manager the tray's own window takes the foreground from time to
// time when an icon changes; keys go to the foreground window, so it is brought back first.
bool BringToFront(HWND top) {
    if (::GetForegroundWindow() == top) return true;
    ::SetForegroundWindow(top);
    const bool front = WaitFor([&] { return ::GetForegroundWindow() == top; }, 1s);
    std::this_thread::sleep_for(200ms);  // as a user's next key comes: after the window has taken the focus
    return front;
}

// The keys pressed together in the window `top`, then let go in reverse order.
void Press(HWND top, std::initializer_list<WORD> keys) {
    ASSERT_TRUE(BringToFront(top));
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The control with the keyboard focus in the window `top` (in front again if need be).
HWND Focus(HWND top) {
    BringToFront(top);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(top, nullptr), &info);
    return info.hwndFocus;
}

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// One place Tab stops at: a control, or a group of radio buttons (Tab enters the group, the
// arrow keys move within it).
struct Stop {
    std::vector<HWND> windows;
    RECT rect;
    int id;
};

// The controls of a dialog a user can reach, in reading order: from the top down; controls
// whose rows overlap form one band, read left to right (a column of fields before the button
// beside it).
std::vector<Stop> ReadingOrder(HWND dialog) {
    std::vector<Stop> stops;
    bool inRadioGroup = false;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = ::GetWindowLongA(child, GWL_STYLE);
        const std::string cls = ClassOf(child);
        const LONG buttonType = style & BS_TYPEMASK;
        const bool radio = cls == "Button" && (buttonType == BS_AUTORADIOBUTTON || buttonType == BS_RADIOBUTTON);
        const bool usable = (style & WS_VISIBLE) && !(style & WS_DISABLED) &&
                            (cls == "Edit" || cls == "ComboBox" || cls == "ListBox" || cls == "SysListView32" ||
                             (cls == "Button" && buttonType != BS_GROUPBOX));
        if (!radio || (style & WS_GROUP)) inRadioGroup = false;
        if (!usable) continue;
        RECT rect{};
        ::GetWindowRect(child, &rect);
        if (radio && inRadioGroup) {
            Stop& group = stops.back();
            group.windows.push_back(child);
            ::UnionRect(&group.rect, &group.rect, &rect);
            continue;
        }
        stops.push_back({{child}, rect, ::GetDlgCtrlID(child)});
        inRadioGroup = radio;
    }
    std::sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) { return a.rect.top < b.rect.top; });
    std::vector<Stop> ordered;
    for (size_t begin = 0; begin < stops.size();) {
        size_t end = begin + 1;
        LONG bottom = stops[begin].rect.bottom;
        while (end < stops.size() && stops[end].rect.top < bottom) bottom = std::max(bottom, stops[end++].rect.bottom);
        std::vector<Stop> band(stops.begin() + static_cast<long>(begin), stops.begin() + static_cast<long>(end));
        std::stable_sort(band.begin(), band.end(), [](const Stop& a, const Stop& b) { return a.rect.left < b.rect.left; });
        ordered.insert(ordered.end(), band.begin(), band.end());
        begin = end;
    }
    return ordered;
}

// Presses Tab once per stop and notes which stop has the focus after each press (its id; 0
// for a window that is none of them).
std::vector<int> TabRound(HWND window, const std::vector<Stop>& stops) {
    std::vector<int> reached;
    for (size_t i = 0; i < stops.size(); ++i) {
        const HWND before = Focus(window);
        Press(window, {VK_TAB});
        WaitFor([&] { return Focus(window) != before; }, 1s);
        const HWND now = Focus(window);
        int id = 0;
        for (const Stop& stop : stops)
            if (std::find(stop.windows.begin(), stop.windows.end(), now) != stop.windows.end()) id = stop.id;
        reached.push_back(id);
    }
    return reached;
}

std::vector<int> Ids(const std::vector<Stop>& stops) {
    std::vector<int> ids;
    for (const Stop& stop : stops) ids.push_back(stop.id);
    return ids;
}

class KeyboardEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ClearUtilityRegistry();
        ASSERT_TRUE(utility.Start());
        window = utility.WaitForMainWindow(5s);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(OpenFromTray(window, 10s));
        // The first start's own page changes are over once the first survey is listed.
        ASSERT_TRUE(WaitFor([&] {
            return ::SendMessageA(::GetDlgItem(Page(kSiteSurvey), IDC_SITE_LIST), LVM_GETITEMCOUNT, 0, 0) > 0;
        }, 15s));
        ClickLabel(window, kLinkInfo.label);
    }
    void TearDown() override {
        if (utility.Running()) {
            ::PostMessageA(window, WM_COMMAND, ID_TRAY_EXIT, 0);
            if (!utility.WaitForExit(5s)) utility.Kill();
        }
        ClearUtilityRegistry();
    }
    HWND Page(const PageMark& mark) const { return PageWith(window, mark.control, mark.controlClass); }
    bool InFront(const PageMark& mark) const {
        HWND page = Page(mark);
        return page != nullptr && (::GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) != 0;
    }

    UtilityProcess utility;
    HWND window = nullptr;
};

TEST_F(KeyboardEndToEnd, CtrlTabAndCtrlPageKeysStepThroughThePagesAndWrapRound) {
    ASSERT_TRUE(WaitFor([&] { return InFront(kLinkInfo); }, 2s));
    struct Step {
        std::initializer_list<WORD> keys;
        const PageMark& page;
    };
    const Step steps[] = {
        {{VK_CONTROL, VK_TAB}, kConfiguration},     {{VK_CONTROL, VK_NEXT}, kEncryption},
        {{VK_CONTROL, VK_TAB}, kSiteSurvey},        {{VK_CONTROL, VK_NEXT}, kProfile},
        {{VK_CONTROL, VK_TAB}, kAbout},             {{VK_CONTROL, VK_TAB}, kLinkInfo},
        {{VK_CONTROL, VK_SHIFT, VK_TAB}, kAbout},   {{VK_CONTROL, VK_PRIOR}, kProfile},
        {{VK_CONTROL, VK_SHIFT, VK_TAB}, kSiteSurvey},
        {{VK_TAB}, kSiteSurvey},                    // Tab alone stays on the page
    };
    for (const Step& step : steps) {
        Press(window, step.keys);
        EXPECT_TRUE(WaitFor([&] { return InFront(step.page); }, 2s)) << "expected " << step.page.name;
        std::this_thread::sleep_for(100ms);
        EXPECT_TRUE(InFront(step.page)) << step.page.name << " stays in front";
    }
}

TEST_F(KeyboardEndToEnd, TabReachesEveryUsableControlOfEachPageInReadingOrder) {
    // Each page with as many of its controls usable as a plain setting allows: WEP enables
    // the keys and their format and length, a chosen network enables "Connect".
    const std::pair<const PageMark*, std::function<void(HWND)>> pages[] = {
        {&kConfiguration, nullptr},
        {&kEncryption, [](HWND page) { ChooseListEntry(page, IDC_WEP_ENCRYPT, 1); }},
        {&kSiteSurvey, [](HWND page) { EXPECT_TRUE(RemoteListView(::GetDlgItem(page, IDC_SITE_LIST)).Select(0)); }},
        {&kProfile, nullptr},
        {&kAbout, nullptr},
        {&kLinkInfo, nullptr},
    };
    // Each page is entered from the one before, whose control had the focus: the click puts
    // the focus on the new page's first control, and Tab goes round the page and the column
    // of labels (one stop, at the selected label) to it again.
    for (const auto& [mark, prepare] : pages) {
        ClickLabel(window, mark->label);
        ASSERT_TRUE(WaitFor([&] { return InFront(*mark); }, 2s)) << mark->name;
        if (prepare) prepare(Page(*mark));
        std::vector<Stop> stops = ReadingOrder(Page(*mark));
        EXPECT_GE(stops.size(), 2u) << mark->name;
        // The page shows before the focus moves into it: wait for both.
        const HWND first = stops.front().windows.front();
        EXPECT_TRUE(WaitFor([&] { return Focus(window) == first; }, 3s)) << mark->name;
        stops.push_back({{::GetDlgItem(window, mark->label)}, {}, mark->label});
        std::vector<int> round = Ids(stops);
        std::rotate(round.begin(), round.begin() + 1, round.end());
        EXPECT_EQ(TabRound(window, stops), round) << mark->name;
    }
}

TEST_F(KeyboardEndToEnd, TabReachesEveryUsableControlOfTheProfileEditorInReadingOrder) {
    ClickLabel(window, kProfile.label);
    ASSERT_TRUE(WaitFor([&] { return InFront(kProfile); }, 2s));
    ClickButton(Page(kProfile), IDC_PROF_ADD);
    HWND editor = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (editor = ProcessDialogHolding(utility.ProcessId(), IDC_ED_NAME, window)) != nullptr; },
                        3s));
    ChooseListEntry(editor, IDC_ED_ENCRYPT, 1);  // WEP: the keys, their format and length too
    const std::vector<Stop> stops = ReadingOrder(editor);
    ASSERT_GE(stops.size(), 17u);
    EXPECT_TRUE(WaitFor([&] { return Focus(editor) == stops.front().windows.front(); }, 2s))
        << "the editor opens on its first control";
    std::vector<int> round = Ids(stops);
    std::rotate(round.begin(), round.begin() + 1, round.end());
    EXPECT_EQ(TabRound(editor, stops), round);
    ClickButton(editor, IDC_ED_CANCEL);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(editor); }, 2s));
}

TEST_F(KeyboardEndToEnd, AScreenReaderInAnotherProcessReadsALabelAndSwitchesItsPage) {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    IAccessible* about = nullptr;
    ASSERT_EQ(::AccessibleObjectFromWindow(::GetDlgItem(window, IDC_NAV_ABOUT), static_cast<DWORD>(OBJID_CLIENT),
                                           __uuidof(IAccessible), reinterpret_cast<void**>(&about)), S_OK);
    ASSERT_NE(about, nullptr);
    VARIANT self{}, role{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_EQ(about->get_accName(self, &name), S_OK);
    EXPECT_EQ(name != nullptr ? std::wstring(name) : L"", L"About");
    ::SysFreeString(name);
    EXPECT_EQ(about->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PAGETAB);
    EXPECT_EQ(about->accDoDefaultAction(self), S_OK);
    EXPECT_TRUE(WaitFor([&] { return InFront(kAbout); }, 2s));
    about->Release();
    ::CoUninitialize();
}

}  // namespace
}  // namespace hx::test
