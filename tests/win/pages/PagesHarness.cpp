#include "tests/win/pages/PagesHarness.h"

namespace hx::test {

PagesHarness::PagesHarness() {
    const win::PageContext context{state, library, applier, worker, store, profiles};
    for (win::Page* page : std::initializer_list<win::Page*>{&linkInfo, &config, &wep, &site, &profile, &about})
        page->UseContext(context);
    operations.adapterPlugged = true;
    main.UseAdapterOperations(operations);
}

PagesHarness::~PagesHarness() {
    if (Window() != nullptr) ::DestroyWindow(Window());
}

void PagesHarness::Start() {
    ASSERT_NE(main.Create(nullptr), nullptr);
    // The test drives the timers itself.
    ::KillTimer(Window(), win::CDlg_Main::kPollTimer);
    ::KillTimer(Window(), win::CDlg_Main::kHideTimer);
    Tick();
    ASSERT_EQ(state.adapterReady, 1);
    ::ShowWindow(Window(), SW_SHOWNORMAL);
}

void PagesHarness::Tick() { ::SendMessageA(Window(), WM_TIMER, win::CDlg_Main::kPollTimer, 0); }

void PagesHarness::Click(const win::Dialog& page, int id) {
    ::SendMessageA(page.Hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(ItemOf(page, id)));
}

void PagesHarness::Choose(const win::Dialog& page, int comboId, int position) {
    HWND combo = ItemOf(page, comboId);
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    ::SendMessageA(page.Hwnd(), WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

std::string Text(HWND hwnd) {
    char text[256] = {};
    ::GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::vector<std::string> ComboTexts(HWND combo) {
    std::vector<std::string> texts;
    const int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[128] = {};
        ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    return texts;
}

int ComboSelection(HWND combo) { return static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

// --- MessageBoxAnswer ---------------------------------------------------------------------

namespace {

struct PendingAnswer {
    int button = 0;
    bool answered = false;
    std::string caption, text;
    UINT style = 0;
    UINT_PTR timer = 0;
};
PendingAnswer g_answer;

BOOL CALLBACK FindOurBox(HWND hwnd, LPARAM found) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char cls[16] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == ::GetCurrentProcessId() && std::string(cls) == "#32770" && ::IsWindowVisible(hwnd) &&
        ::GetDlgItem(hwnd, 0xFFFF) != nullptr) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindQuestionIcon(HWND child, LPARAM found) {
    char cls[16] = {};
    ::GetClassNameA(child, cls, sizeof cls);
    if (::lstrcmpiA(cls, "Static") != 0 || (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    const auto icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
    if (icon != nullptr && icon == ::LoadIconA(nullptr, IDI_QUESTION)) *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

bool ShowsQuestionIcon(HWND box) {
    bool found = false;
    ::EnumChildWindows(box, &FindQuestionIcon, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_answer.answered) return;
    HWND box = nullptr;
    ::EnumWindows(&FindOurBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) return;
    g_answer.answered = true;
    g_answer.caption = Text(box);
    g_answer.text = Text(::GetDlgItem(box, 0xFFFF));
    g_answer.style = ShowsQuestionIcon(box) ? MB_ICONQUESTION : 0;
    if (::GetDlgItem(box, IDYES) != nullptr && ::GetDlgItem(box, IDNO) != nullptr) g_answer.style |= MB_YESNO;
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(g_answer.button, BN_CLICKED), 0);
}

}  // namespace

MessageBoxAnswer::MessageBoxAnswer(int button) {
    g_answer = PendingAnswer{};
    g_answer.button = button;
    g_answer.timer = ::SetTimer(nullptr, 0, 50, &AnswerTimer);
}

MessageBoxAnswer::~MessageBoxAnswer() { ::KillTimer(nullptr, g_answer.timer); }
bool MessageBoxAnswer::Answered() const { return g_answer.answered; }
std::string MessageBoxAnswer::Caption() const { return g_answer.caption; }
std::string MessageBoxAnswer::Text() const { return g_answer.text; }
UINT MessageBoxAnswer::Style() const { return g_answer.style; }

}  // namespace hx::test
