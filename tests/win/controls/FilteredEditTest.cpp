#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ControlHarness.h"
#include "controls/win32/FilteredEdit.h"

namespace hx::test {
namespace {

using namespace std::chrono_literals;
using win::FilteredEdit;

constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr int kKeyBoxId = 1025;

std::string Text(HWND hwnd) {
    char buffer[256] = {};
    ::GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

// Chooses "Paste" in the context menu once it is open.
void CALLBACK PressPasteInOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
    if (::FindWindowA("#32768", nullptr) == nullptr) return;
    ::KillTimer(nullptr, id);
    TypeChords({{'P'}});
}

class FilteredEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        box_ = parent_.AddChild("EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 10, 240, 22, kKeyBoxId);
        ASSERT_TRUE(edit_.Attach(parent_.Hwnd(), kKeyBoxId));
        parent_.Activate();
        ::SetFocus(box_);
        PumpMessages();
        ASSERT_EQ(::GetFocus(), box_);
    }

    void SetText(const char* text) {
        ::SetWindowTextA(box_, text);
        ::SendMessageA(box_, EM_SETSEL, 0, -1);
        ::SendMessageA(box_, EM_EMPTYUNDOBUFFER, 0, 0);
    }
    void CaretToEnd() { ::SendMessageA(box_, EM_SETSEL, 1000, 1000); }

    // Posts character messages, as TranslateMessage would, and runs the loop.
    void PostChars(const std::string& chars) {
        for (const char c : chars) ::PostMessageA(box_, WM_CHAR, static_cast<unsigned char>(c), 1);
        PumpMessages();
    }

    // Runs the loop until the box shows expected, or a little while when it should not change.
    std::string TextAfterInput(const std::string& expected) {
        PumpUntil([&] { return Text(box_) == expected; }, 2000ms);
        PumpFor(50ms);
        return Text(box_);
    }

    ReflectingParent parent_;
    HWND box_ = nullptr;
    FilteredEdit edit_;
};

TEST_F(FilteredEditTest, TypedCharactersWithTheHexSet) {
    edit_.SetAllowedCharacters(FilteredEdit::kHexDigits);
    struct Case {
        const char* before;
        std::string typed;
        const char* after;
    };
    const Case cases[] = {
        {"12", "g", "12"},
        {"12", " ", "12"},
        {"12", "Af9", "12Af9"},
        {"12", "x-Z", "12"},
        {"12AB", "\b", "12A"},
        {"12", "\x03\x18\x1A", "12"},  // Ctrl+C, Ctrl+X, Ctrl+Z characters are dropped too
    };
    for (const Case& c : cases) {
        SetText(c.before);
        CaretToEnd();
        PostChars(c.typed);
        EXPECT_EQ(Text(box_), c.after) << "typed after " << c.before;
    }
}

TEST_F(FilteredEditTest, TypedCharactersWithTheEmptySetOrNoneAssigned) {
    for (const bool assigned : {false, true}) {
        if (assigned) edit_.SetAllowedCharacters("");
        SetText("k");
        CaretToEnd();
        PostChars("g -~Z\b!");
        EXPECT_EQ(Text(box_), "kg -~!") << (assigned ? "empty set" : "no set");
    }
}

TEST_F(FilteredEditTest, RealKeystrokesWithTheHexSet) {
    edit_.SetAllowedCharacters(FilteredEdit::kHexDigits);
    SetText("");
    TypeChords({{'G'}, {VK_SPACE}, {'A', true}, {'F'}, {'9'}, {'Q', true}, {VK_BACK}, {'B'}});
    // g, space and Q are refused; backspace takes the 9 back.
    EXPECT_EQ(TextAfterInput("Afb"), "Afb");
}

TEST_F(FilteredEditTest, EveryPastePathGoesThroughTheFilter) {
    enum class Path { Message, CtrlV, ShiftInsert, ShiftMinus, CtrlLowerV, ContextMenu };
    struct Case {
        const char* name;
        Path path;
    };
    const Case paths[] = {
        {"WM_PASTE", Path::Message},
        {"Ctrl+V keys", Path::CtrlV},
        {"Shift+Insert keys", Path::ShiftInsert},
        {"Shift held with '-'", Path::ShiftMinus},
        {"Ctrl held with 'v'", Path::CtrlLowerV},
        {"context menu Paste", Path::ContextMenu},
    };
    struct SetCase {
        const char* allowed;
        const char* expected;
    };
    const SetCase sets[] = {{FilteredEdit::kHexDigits, "1234AB"}, {"", "12-34-AB"}};

    for (const SetCase& set : sets) {
        edit_.SetAllowedCharacters(set.allowed);
        for (const Case& c : paths) {
            SCOPED_TRACE(std::string(c.name) + " with set \"" + set.allowed + "\"");
            ASSERT_TRUE(PutClipboardText(parent_.Hwnd(), "12-34-AB"));
            SetText("");
            switch (c.path) {
            case Path::Message:
                ::SendMessageA(box_, WM_PASTE, 0, 0);
                break;
            case Path::CtrlV:
                TypeChords({{'V', false, true}});
                break;
            case Path::ShiftInsert:
                TypeChords({{VK_INSERT, true, false}});
                break;
            case Path::ShiftMinus: {
                HeldModifiers shift(true, false);
                PostChars("-");
                break;
            }
            case Path::CtrlLowerV: {
                HeldModifiers ctrl(false, true);
                PostChars("v");
                break;
            }
            case Path::ContextMenu: {
                // The menu runs its own loop: press its "Paste" entry from a timer.
                const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &PressPasteInOpenMenu);
                ::SendMessageA(box_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box_), MAKELPARAM(40, 40));
                ::KillTimer(nullptr, timer);
                break;
            }
            }
            EXPECT_EQ(TextAfterInput(set.expected), set.expected);
        }
    }
}

TEST_F(FilteredEditTest, PasteReplacesTheSelectionAsOneUndoableChange) {
    edit_.SetAllowedCharacters(FilteredEdit::kHexDigits);
    SetText("0011");
    ::SendMessageA(box_, EM_SETSEL, 1, 3);
    ASSERT_TRUE(PutClipboardText(parent_.Hwnd(), "a-b"));
    ::SendMessageA(box_, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(box_), "0ab1");
    EXPECT_TRUE(::SendMessageA(box_, EM_CANUNDO, 0, 0));
    ::SendMessageA(box_, WM_UNDO, 0, 0);
    EXPECT_EQ(Text(box_), "0011");
}

TEST_F(FilteredEditTest, PastesThatMustNotChangeTheBox) {
    edit_.SetAllowedCharacters("");
    struct Case {
        const char* name;
        const char* clipboard;  // null: no text on the clipboard
        bool readOnly;
        bool clipboardBusy;
    };
    const Case cases[] = {
        {"no text on the clipboard", nullptr, false, false},
        {"read-only box", "XYZ", true, false},
        {"clipboard held open elsewhere", "XYZ", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PutClipboardText(parent_.Hwnd(), c.clipboard));
        SetText("keep");
        ::SendMessageA(box_, EM_SETREADONLY, c.readOnly, 0);
        if (c.clipboardBusy) {
            ASSERT_TRUE(::OpenClipboard(parent_.Hwnd()));
        }
        ::SendMessageA(box_, WM_PASTE, 0, 0);
        if (c.clipboardBusy) ::CloseClipboard();
        EXPECT_EQ(Text(box_), "keep");
        ::SendMessageA(box_, EM_SETREADONLY, FALSE, 0);
    }
}

TEST_F(FilteredEditTest, FocusColourOnlyWhileFocusedEnabledAndWritable) {
    HWND other = parent_.AddChild("EDIT", "", WS_BORDER | WS_TABSTOP, 10, 60, 100, 22, 1026);
    SetText("12");
    struct Case {
        const char* name;
        bool focused;
        bool readOnly;
        bool disabled;
        bool yellow;
    };
    const Case cases[] = {
        {"focused", true, false, false, true},
        {"not focused", false, false, false, false},
        {"focused but read-only", true, true, false, false},
        {"disabled while focused", true, false, true, false},
    };
    RECT client;
    ::GetClientRect(box_, &client);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::SendMessageA(box_, EM_SETREADONLY, c.readOnly, 0);
        ::EnableWindow(box_, TRUE);
        ::SetFocus(c.focused ? box_ : other);
        if (c.disabled) ::EnableWindow(box_, FALSE);
        ::InvalidateRect(box_, nullptr, TRUE);
        ::UpdateWindow(box_);
        PumpMessages();
        EXPECT_EQ(edit_.ShowsFocusColour(), c.yellow);

        // On screen, right of the text.
        Canvas screen(client.right, client.bottom, kSentinel);
        screen.CopyFromWindow(box_);
        EXPECT_EQ(screen.Pixel(client.right - 4, client.bottom / 2) == kYellow, c.yellow) << "on screen";
        // Painted anew into memory.
        Canvas printed(client.right, client.bottom, kSentinel);
        printed.PrintClient(box_);
        EXPECT_EQ(printed.Pixel(client.right - 4, client.bottom / 2) == kYellow, c.yellow) << "printed";
        // The background erase alone.
        Canvas erased(client.right, client.bottom, kSentinel);
        ::SendMessageA(box_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.Dc()), 0);
        EXPECT_EQ(erased.Count(kYellow, client) == client.right * client.bottom, c.yellow) << "erased";
    }
}

}  // namespace
}  // namespace hx::test
