#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "ControlHarness.h"
#include "controls/win32/GraphPanel.h"

namespace hx::test {
namespace {

using win::GraphPanel;

constexpr COLORREF kGreen = RGB(0, 128, 0);

// Green horizontal lines, one row in eight, on black, across the whole surface.
void ExpectHatch(const Canvas& canvas, int width, int height) {
    int firstGreen = -1;
    for (int y = 0; y < height; ++y) {
        const COLORREF rowColour = canvas.Pixel(0, y);
        ASSERT_TRUE(rowColour == kGreen || rowColour == kBlack) << "row " << y;
        ASSERT_EQ(canvas.Count(rowColour, {0, y, width, y + 1}), width) << "row " << y << " is not uniform";
        if (rowColour == kGreen && firstGreen < 0) firstGreen = y;
    }
    ASSERT_GE(firstGreen, 0);
    ASSERT_LT(firstGreen, 8);
    for (int y = 0; y < height; ++y) {
        EXPECT_EQ(canvas.Pixel(0, y) == kGreen, (y - firstGreen) % 8 == 0) << "row " << y;
    }
}

TEST(GraphPanelTest, WindowClassStylesAndPlace) {
    ReflectingParent parent;
    GraphPanel panel;
    const RECT rect{15, 154, 195, 200};
    ASSERT_TRUE(panel.Create(0x50000000, rect, parent.Hwnd(), 1047));
    HWND hwnd = panel.Hwnd();
    EXPECT_EQ(::GetDlgCtrlID(hwnd), 1047);
    EXPECT_EQ(::GetParent(hwnd), parent.Hwnd());
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_EXSTYLE)) & 0x00020200u, 0x00020200u);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE)) & 0x50000000u, 0x50000000u);
    EXPECT_EQ(::GetClassLongPtrA(hwnd, GCL_STYLE), static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(::GetClassLongPtrA(hwnd, GCLP_HCURSOR), 0u);
    EXPECT_EQ(::GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND), 0u);
    EXPECT_EQ(::GetClassLongPtrA(hwnd, GCLP_HICON), 0u);
    RECT placed;
    ::GetWindowRect(hwnd, &placed);
    ::MapWindowPoints(nullptr, parent.Hwnd(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(::EqualRect(&placed, &rect));

    // A second panel reuses the class.
    GraphPanel second;
    EXPECT_TRUE(second.Create(WS_CHILD, {200, 154, 380, 200}, parent.Hwnd(), 1048));
    EXPECT_FALSE(second.Create(WS_CHILD, {200, 154, 380, 200}, parent.Hwnd(), 1049)) << "created twice";
}

TEST(GraphPanelTest, PaintsNothingBeforeTheFirstRangeThenItsHatch) {
    ReflectingParent parent;
    GraphPanel panel;
    ASSERT_TRUE(panel.Create(0x50000000, {15, 20, 195, 70}, parent.Hwnd(), 1047));
    RECT client;
    ::GetClientRect(panel.Hwnd(), &client);
    ASSERT_GT(client.bottom, 16);

    Canvas before(client.right, client.bottom, kSentinel);
    before.PrintClient(panel.Hwnd());
    EXPECT_FALSE(panel.HasSurface());
    EXPECT_EQ(before.Count(kSentinel, client), client.right * client.bottom);

    panel.SetRange(0, 100);
    ASSERT_TRUE(panel.HasSurface());
    Canvas printed(client.right, client.bottom, kSentinel);
    printed.PrintClient(panel.Hwnd());
    ExpectHatch(printed, client.right, client.bottom);

    ::UpdateWindow(panel.Hwnd());
    PumpMessages();
    Canvas screen(client.right, client.bottom, kSentinel);
    screen.CopyFromWindow(panel.Hwnd());
    ExpectHatch(screen, client.right, client.bottom);
}

// Moved to a monitor of another DPI, the panel is resized: its surface covers the new size.
TEST(GraphPanelTest, AResizedPanelHatchesItsWholeNewSize) {
    ReflectingParent parent;
    GraphPanel panel;
    ASSERT_TRUE(panel.Create(0x50000000, {15, 20, 195, 70}, parent.Hwnd(), 1047));
    panel.SetRange(0, 100);
    ::SetWindowPos(panel.Hwnd(), nullptr, 30, 40, 360, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    ::GetClientRect(panel.Hwnd(), &client);
    ASSERT_GT(client.right, 300);
    Canvas printed(client.right, client.bottom, kSentinel);
    printed.PrintClient(panel.Hwnd());
    ExpectHatch(printed, client.right, client.bottom);
}

TEST(GraphPanelTest, DestroyingTheObjectDestroysItsWindow) {
    ReflectingParent parent;
    auto panel = std::make_unique<GraphPanel>();
    ASSERT_TRUE(panel->Create(WS_CHILD | WS_VISIBLE, {0, 0, 50, 30}, parent.Hwnd(), 1048));
    panel->SetRange(0, 100);
    HWND hwnd = panel->Hwnd();
    panel.reset();
    EXPECT_FALSE(::IsWindow(hwnd));
}

}  // namespace
}  // namespace hx::test
