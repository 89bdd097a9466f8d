#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "ControlHarness.h"
#include "controls/win32/CStaticEx.h"

namespace hx::test {
namespace {

using win::CStaticEx;

constexpr COLORREF kIvory = 0xF0FFFF;     // the pages' background
constexpr COLORREF kBlueText = 0xFF0000;  // the value fields' text

// Counts the paints and background erases a window receives.
class PaintCounter {
public:
    explicit PaintCounter(HWND hwnd) : hwnd_(hwnd) { ::SetWindowSubclass(hwnd, &Proc, 77, reinterpret_cast<DWORD_PTR>(this)); }
    ~PaintCounter() { ::RemoveWindowSubclass(hwnd_, &Proc, 77); }
    int paints = 0;
    int erases = 0;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
        auto* counter = reinterpret_cast<PaintCounter*>(self);
        if (message == WM_PAINT) ++counter->paints;
        if (message == WM_ERASEBKGND) ++counter->erases;
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    HWND hwnd_;
};

class CStaticExTest : public ::testing::Test {
protected:
    ReflectingParent parent_;
};

TEST_F(CStaticExTest, NeverSetPaintsBlackTextOnWhite) {
    HWND label = parent_.AddChild("STATIC", "Signal Strength", SS_LEFT, 10, 10, 160, 20, 1034);
    CStaticEx control;
    ASSERT_TRUE(control.Attach(parent_.Hwnd(), 1034));

    Canvas canvas(160, 20, kSentinel);
    canvas.PrintClient(label);
    EXPECT_EQ(canvas.Pixel(155, 10), kWhite);  // right of the text
    EXPECT_EQ(canvas.Count(kSentinel, {0, 0, 160, 20}), 0);
    EXPECT_GT(canvas.Count(kBlack, {0, 0, 160, 20}), 10);
}

TEST_F(CStaticExTest, ChosenColoursOnEveryKindOfControl) {
    struct Case {
        const char* kind;
        const char* className;
        DWORD style;
        POINT background;  // a pixel the control fills with its background
        bool textColoured;
    };
    const Case cases[] = {
        {"static", "STATIC", SS_LEFT, {150, 10}, true},
        {"radio button", "BUTTON", BS_AUTORADIOBUTTON, {150, 10}, true},
        {"read-only edit", "EDIT", ES_READONLY | ES_AUTOHSCROLL, {150, 10}, true},
        // A group box fills only behind its caption; the caption takes the text colour
        // although the version 6 common controls would draw it in the theme's colour.
        {"group box", "BUTTON", BS_GROUPBOX, {20, 1}, true},
    };
    int id = 1100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        HWND hwnd = parent_.AddChild(c.className, "WWW 100 %", c.style, 10, 40, 160, 20, ++id);
        CStaticEx control;
        ASSERT_TRUE(control.Attach(parent_.Hwnd(), id));
        control.SetTextColour(kBlueText);
        control.SetBackgroundColour(kIvory);

        Canvas canvas(160, 20, kSentinel);
        canvas.PrintClient(hwnd);
        ASSERT_NE(control.CurrentBrush(), nullptr);  // the control answered the request
        EXPECT_EQ(canvas.Pixel(c.background.x, c.background.y), kIvory);
        if (c.textColoured) {
            EXPECT_GT(canvas.Count(kBlueText, {0, 0, 160, 20}), 10);
            EXPECT_EQ(canvas.Count(kBlack, {0, 0, 160, 20}), 0) << "text in the default colour";
        }
        ::DestroyWindow(hwnd);
    }
}

TEST_F(CStaticExTest, RepaintsOnlyWhenAColourChanges) {
    HWND label = parent_.AddChild("STATIC", "Encrypt", SS_LEFT, 10, 10, 100, 16, 1036);
    CStaticEx control;
    ASSERT_TRUE(control.Attach(parent_.Hwnd(), 1036));
    ::UpdateWindow(parent_.Hwnd());
    PumpMessages();
    PaintCounter counter(label);

    struct Step {
        const char* what;
        bool text;
        COLORREF colour;
        int paintsAfter;
    };
    const Step steps[] = {
        {"new background", false, kIvory, 1},
        {"same background again", false, kIvory, 1},
        {"text left black", true, kBlack, 1},
        {"new text colour", true, kBlueText, 2},
        {"same text colour again", true, kBlueText, 2},
        {"background back to white", false, kWhite, 3},
    };
    for (const Step& step : steps) {
        if (step.text) control.SetTextColour(step.colour);
        else control.SetBackgroundColour(step.colour);
        ::UpdateWindow(label);
        PumpMessages();
        EXPECT_EQ(counter.paints, step.paintsAfter) << step.what;
        EXPECT_EQ(counter.erases, step.paintsAfter) << step.what << ": repaint with background erase";
    }
}

TEST_F(CStaticExTest, EachRequestHandsOutANewBrushAndDeletesTheOldOne) {
    HWND label = parent_.AddChild("STATIC", "Channel", SS_LEFT, 10, 10, 100, 16, 1017);
    CStaticEx control;
    ASSERT_TRUE(control.Attach(parent_.Hwnd(), 1017));
    control.SetBackgroundColour(kIvory);
    HDC dc = ::GetDC(label);
    auto request = [&] {
        return reinterpret_cast<HBRUSH>(::SendMessageA(parent_.Hwnd(), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)));
    };

    const HBRUSH first = request();
    ASSERT_NE(first, nullptr);
    LOGBRUSH brush{};
    ASSERT_EQ(::GetObjectA(first, sizeof brush, &brush), static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(brush.lbColor, kIvory);
    EXPECT_EQ(::GetTextColor(dc), kBlack);
    EXPECT_EQ(::GetBkColor(dc), kIvory);
    EXPECT_EQ(::GetBkMode(dc), OPAQUE);

    const HBRUSH second = request();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(::GetObjectType(second), static_cast<DWORD>(OBJ_BRUSH));
    if (second != first) {
        EXPECT_EQ(::GetObjectType(first), 0u) << "the previous brush is still alive";
    }

    // At any time the control owns exactly one brush: each request frees the one before.
    HBRUSH previous = second;
    for (int i = 0; i < 200; ++i) {
        const HBRUSH next = request();
        ASSERT_EQ(::GetObjectType(next), static_cast<DWORD>(OBJ_BRUSH)) << "request " << i;
        if (next != previous) {
            ASSERT_EQ(::GetObjectType(previous), 0u) << "request " << i;
        }
        previous = next;
    }
    ::ReleaseDC(label, dc);
}

}  // namespace
}  // namespace hx::test
