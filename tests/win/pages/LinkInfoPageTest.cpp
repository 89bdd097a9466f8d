// The Link Info page in the real main window: its controls as initialised, what it shows
// for each kind of link, and Rescan.
#include "tests/win/pages/PagesHarness.h"

#include <commctrl.h>

#include "config/ValueTables.h"

namespace hx::test {
namespace {


class LinkInfoPageTest : public PagesHarness {
protected:
    void SetUp() override { Start(); }
    HWND Field(int id) const { return ItemOf(linkInfo, id); }
    RECT RectInPage(HWND hwnd) const {
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        ::MapWindowPoints(nullptr, linkInfo.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

constexpr int kDataRateArea[] = {IDC_LI_DATA_RATE_GROUP, IDC_LI_TRANSMIT_LABEL, IDC_LI_TRANSMIT_UNIT,
                                 IDC_LI_RATE_RIGHT,      IDC_LI_GRAPH_RIGHT,    IDC_LI_SCALE_10000,
                                 IDC_LI_SCALE_1000,      IDC_LI_SCALE_100,      IDC_LI_SCALE_10,
                                 IDC_LI_SCALE_0,         IDC_LI_RECEIVE_LABEL,  IDC_LI_RECEIVE_UNIT,
                                 IDC_LI_RATE_LEFT,       IDC_LI_GRAPH_LEFT};

TEST_F(LinkInfoPageTest, GraphPanelsLieHiddenOverTheirRectangles) {
    const struct { const win::GraphPanel& panel; int rectangle; } panels[] = {
        {linkInfo.LeftGraph(), IDC_LI_GRAPH_LEFT}, {linkInfo.RightGraph(), IDC_LI_GRAPH_RIGHT}};
    for (const auto& p : panels) {
        SCOPED_TRACE(p.rectangle);
        ASSERT_NE(p.panel.Hwnd(), nullptr);
        EXPECT_EQ(::GetParent(p.panel.Hwnd()), linkInfo.Hwnd());
        EXPECT_EQ(::GetDlgCtrlID(p.panel.Hwnd()), p.rectangle);
        const RECT panel = RectInPage(p.panel.Hwnd());
        const RECT rectangle = RectInPage(Field(p.rectangle));
        EXPECT_TRUE(::EqualRect(&panel, &rectangle));
        EXPECT_FALSE(Shown(p.panel.Hwnd()));
        EXPECT_TRUE(p.panel.HasSurface()) << "its range was set";
        EXPECT_EQ(p.panel.Minimum(), 0);
        EXPECT_EQ(p.panel.Maximum(), 100);
    }
}

TEST_F(LinkInfoPageTest, MetersRunFromRedToGold) {
    for (const win::GradientMeter* meter : {&linkInfo.QualityMeter(), &linkInfo.SignalMeter()}) {
        EXPECT_EQ(meter->Minimum(), 0);
        EXPECT_EQ(meter->Maximum(), 100);
        EXPECT_EQ(::SendMessageA(meter->Hwnd(), PBM_GETRANGE, TRUE, 0), 0);     // low limit
        EXPECT_EQ(::SendMessageA(meter->Hwnd(), PBM_GETRANGE, FALSE, 0), 100);  // high limit
    }
    state.link.connectState = 0;
    state.link.linkQuality = 100;
    state.link.signalStrength = 100;
    linkInfo.UpdateDisplay();

    const win::GradientMeter& meter = linkInfo.QualityMeter();
    RECT client{};
    ::GetClientRect(meter.Hwnd(), &client);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SendMessageA(meter.Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const COLORREF left = ::GetPixel(memory, 0, client.bottom / 2);
    const COLORREF right = ::GetPixel(memory, client.right - 1, client.bottom / 2);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(GetRValue(left), 255);
    EXPECT_LE(GetGValue(left), 2);  // the first band, a fraction of a pixel wide, may not show
    EXPECT_EQ(GetBValue(left), 0);
    EXPECT_EQ(GetRValue(right), 255);
    EXPECT_GE(GetGValue(right), 200);  // the last band is just short of 215
    EXPECT_EQ(GetBValue(right), 0);
}

TEST_F(LinkInfoPageTest, EachKindOfControlAnswersItsColourRequest) {
    // One of each kind: label, scale label, group box, read-only value field.
    const struct { int id; COLORREF text, background; } cases[] = {
        {IDC_LI_QUALITY_PERCENT, 0, 0xF0FFFF},
        {IDC_LI_SCALE_0, 0xFF0000, 0xF0FFFF},
        {IDC_LI_LINK_GROUP, 0xFF0080, 0xF0FFFF},
        {IDC_LI_CHANNEL, 0xFF0000, 0xD0FFFF},
    };
    HDC dc = ::CreateCompatibleDC(nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const win::CStaticEx* label = linkInfo.Label(c.id);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->Hwnd(), Field(c.id));
        // Read-only edits ask as statics do.
        EXPECT_NE(::SendMessageA(linkInfo.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(label->Hwnd())),
                  0);
        EXPECT_EQ(::GetTextColor(dc), c.text);
        EXPECT_EQ(::GetBkColor(dc), c.background);
    }
    ::DeleteDC(dc);
}

TEST_F(LinkInfoPageTest, UpdateDisplayByKindOfLink) {
    const struct {
        const char* name;
        int connectState, networkType, speed, channel;
        const char* ssid;
        int quality, signal;
        const char* status;
        const char* rate;
        bool areaEnabled;
    } cases[] = {
        {"infrastructure, connected", 0, 1, 5500, 11, "Open-Lobby", 87, 64,
         "Associated BSSID = 06-A0-88-00-00-01", "5.5 Mbps", true},
        {"ad hoc, joined", 0, 0, 11000, 10, "AdHoc-Cell", 0, 0, "Joined IBSSID = 06-A0-88-00-00-01", "11 Mbps",
         false},
        {"not connected", 1, 1, 0, 6, "Wanted", 0, 0, "No connection to Network", "0 Mbps", true},
        {"not connected, ad hoc", 1, 0, 54000, 3, "Cell", 0, 0, "No connection to Network", "54 Mbps", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        state.link.connectState = c.connectState;
        state.link.networkType = c.networkType;
        state.link.linkSpeed = c.speed;
        state.link.channel = c.channel;
        state.link.ssid = c.ssid;
        state.link.bssid = {0x06, 0xA0, 0x88, 0x00, 0x00, 0x01};
        state.link.linkQuality = c.quality;
        state.link.signalStrength = c.signal;
        linkInfo.UpdateDisplay();

        EXPECT_EQ(Text(Field(IDC_LI_STATUS)), c.status);
        EXPECT_EQ(Text(Field(IDC_LI_SSID)), c.ssid);
        EXPECT_EQ(Text(Field(IDC_LI_TX_RATE)), c.rate);
        EXPECT_EQ(Text(Field(IDC_LI_CHANNEL)), std::to_string(c.channel));
        EXPECT_EQ(Text(Field(IDC_LI_QUALITY_PERCENT)), std::to_string(c.quality) + " %");
        EXPECT_EQ(Text(Field(IDC_LI_SIGNAL_PERCENT)), std::to_string(c.signal) + " %");
        EXPECT_EQ(linkInfo.QualityMeter().Position(), c.quality);
        EXPECT_EQ(linkInfo.SignalMeter().Position(), c.signal);

        for (int id : {IDC_LI_LINK_GROUP, IDC_LI_QUALITY_LABEL, IDC_LI_SIGNAL_LABEL})
            EXPECT_EQ(Enabled(Field(id)), c.areaEnabled) << id;
        EXPECT_EQ(Shown(Field(IDC_LI_QUALITY_PERCENT)), c.areaEnabled);
        EXPECT_EQ(Shown(Field(IDC_LI_SIGNAL_LABEL)), c.areaEnabled);
        EXPECT_TRUE(Shown(Field(IDC_LI_SIGNAL_PERCENT)));
        EXPECT_TRUE(Shown(Field(IDC_LI_QUALITY_LABEL)));
        for (int id : kDataRateArea) EXPECT_FALSE(Shown(Field(id))) << id;
    }
}

TEST_F(LinkInfoPageTest, EachValueStandsBesideItsLabel) {
    // The SSID and rate fields lie one above the other: each must stand beside its own label.
    state.link.ssid = "Beside";
    state.link.linkSpeed = 2000;
    linkInfo.UpdateDisplay();
    const struct { int label, field; const char* text; } rows[] = {
        {IDC_LI_SSID_LABEL, IDC_LI_SSID, "Beside"}, {IDC_LI_TX_RATE_LABEL, IDC_LI_TX_RATE, "2 Mbps"}};
    for (const auto& row : rows) {
        const RECT label = RectInPage(Field(row.label));
        const RECT field = RectInPage(Field(row.field));
        EXPECT_EQ(Text(Field(row.field)), row.text);
        EXPECT_LT(field.top, label.bottom) << row.text;
        EXPECT_GT(field.bottom, label.top) << row.text;
    }
}

// Every second brings the same values again: they are not put into the fields anew, so the
// text a user has selected in a field (to copy the network name) stays selected.
TEST_F(LinkInfoPageTest, AnUnchangedValueLeavesItsFieldAlone) {
    state.link.ssid = "Open-Lobby";
    linkInfo.UpdateDisplay();
    ::SendMessageA(Field(IDC_LI_SSID), EM_SETSEL, 0, 4);
    linkInfo.UpdateDisplay();
    DWORD from = 0, to = 0;
    ::SendMessageA(Field(IDC_LI_SSID), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(to - from, 4u);
    state.link.ssid = "Open-Lobby-2";
    linkInfo.UpdateDisplay();
    EXPECT_EQ(Text(Field(IDC_LI_SSID)), "Open-Lobby-2");
}

TEST_F(LinkInfoPageTest, RescanAppliesTheCurrentSettingWhileTheButtonIsDisabled) {
    state.current.SSID = "Open-Lobby";
    state.current.NetworkType = 1;
    state.current.WEPStatus = 1;
    state.current.DesiredRate = kDefaultDesiredRate;
    HWND button = Field(IDC_LI_RESCAN);
    // A failure part-way leaves the SSID unapplied; the button comes back either way.
    const struct { const char* failing; int ssidApplied; } cases[] = {
        {"SetWL_AuthenticationMode", 0}, {nullptr, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing ? c.failing : "no failure");
        library.ClearCalls();
        worker.events.clear();
        bool enabledWhileApplying = true;
        library.OnCall("SetWL_NetworkType", [&] { enabledWhileApplying = Enabled(button); });
        if (c.failing) library.Fail(c.failing);
        Click(linkInfo, IDC_LI_RESCAN);
        EXPECT_FALSE(enabledWhileApplying);
        EXPECT_TRUE(Enabled(button));
        ASSERT_FALSE(worker.events.empty());
        EXPECT_EQ(worker.events.front(), "Stop@0");
        EXPECT_EQ(library.CountOf("SetWL_SSID"), c.ssidApplied);
        EXPECT_EQ(library.ssid, c.ssidApplied ? "Open-Lobby" : "");
    }
}

}  // namespace
}  // namespace hx::test
