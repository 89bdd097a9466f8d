// The Site Survey page in the real main window: the list as initialised, Refresh collected
// by the heartbeat on its fifth tick, and joining a network with its questions.
#include "tests/native/pages/SurveyBuffer.h"
#include "tests/win/pages/PagesHarness.h"

#include <commctrl.h>

namespace hx::test {
namespace {

using Texts = std::vector<std::string>;

class SitePageTest : public PagesHarness {
protected:
    void SetUp() override {
        TestBss open;
        open.ssid = "cafe";
        open.mac = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
        open.rssi = -70;
        TestBss wep = open;
        wep.ssid = "home-wep";
        wep.mac = {0x00, 0x11, 0x22, 0x33, 0x44, 0x66};
        wep.privacy = 1;
        TestBss wpa = open;
        wpa.ssid = "office";
        wpa.mac = {0x00, 0x11, 0x22, 0x33, 0x44, 0x77};
        wpa.privacy = 1;
        wpa.elements = WpaElement({2}, {2});
        wpa.frequencyKHz = 2484000;
        TestBss adhoc = open;
        adhoc.ssid = "cell";
        adhoc.infrastructure = 0;
        adhoc.frequencyKHz = 2462000;
        adhoc.rssi = -30;
        library.surveyData = SurveyBuffer({open, wep, wpa, adhoc});
        state.current.WEPKeyLength = 64;
        Start();
        main.ShowPage(PageId::SiteSurvey);
    }
    HWND List() const { return ItemOf(site, IDC_SITE_LIST); }
    int Rows() const { return static_cast<int>(::SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
    Texts Row(int row) const {
        Texts texts;
        for (int column = 0; column < 6; ++column) {
            char text[64] = {};
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            ::SendMessageA(List(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            texts.push_back(text);
        }
        return texts;
    }
    bool Waiting() const {
        return !Enabled(ItemOf(site, IDC_SITE_REFRESH)) && !Enabled(ItemOf(site, IDC_SITE_CONNECT)) &&
               !Enabled(List());
    }
    void Scan() {
        Click(site, IDC_SITE_REFRESH);
        for (int tick = 0; tick < 5; ++tick) Tick();
    }
    void Select(int row) {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = row >= 0 ? LVIS_SELECTED | LVIS_FOCUSED : 0;
        ::SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        if (row >= 0) ::SendMessageA(List(), LVM_SETSELECTIONMARK, 0, row);
    }
    // A click on the list as the list reports it to the page.
    void ListClicked() {
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = List();
        click.hdr.idFrom = IDC_SITE_LIST;
        click.hdr.code = NM_CLICK;
        click.iItem = -1;
        ::SendMessageA(site.Hwnd(), WM_NOTIFY, IDC_SITE_LIST, reinterpret_cast<LPARAM>(&click));
    }
    void DoubleClickRow(int row) {
        RECT r{};
        r.left = LVIR_BOUNDS;
        ::SendMessageA(List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        ::SendMessageA(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    }
};

TEST_F(SitePageTest, ListAsInitialised) {
    EXPECT_EQ(::SendMessageA(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT,
              LVS_EX_FULLROWSELECT);
    const Texts headers{"BSS/IBSSID", "SSID", "WEP", "AP", "Channel", "Signal"};
    HWND header = reinterpret_cast<HWND>(::SendMessageA(List(), LVM_GETHEADER, 0, 0));
    ASSERT_EQ(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 6);
    HDC dc = ::GetDC(header);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(header, WM_GETFONT, 0, 0)));
    const int margin = static_cast<int>(::SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));
    for (int column = 0; column < 6; ++column) {
        SCOPED_TRACE(column);
        char text[32] = {};
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        c.pszText = text;
        c.cchTextMax = sizeof text;
        ASSERT_TRUE(::SendMessageA(List(), LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c)));
        EXPECT_EQ(text, headers[static_cast<size_t>(column)]);
        EXPECT_EQ(c.fmt & LVCFMT_JUSTIFYMASK, column < 2 ? LVCFMT_LEFT : LVCFMT_CENTER);
        // Wide enough for its header to read in full.
        SIZE extent{};
        ::GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &extent);
        EXPECT_GE(c.cx, extent.cx + 2 * margin);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(header, dc);

    EXPECT_TRUE(Enabled(ItemOf(site, IDC_SITE_REFRESH)));
    EXPECT_FALSE(Enabled(ItemOf(site, IDC_SITE_CONNECT)));
    HDC colours = ::CreateCompatibleDC(nullptr);
    ::SendMessageA(site.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(colours),
                   reinterpret_cast<LPARAM>(ItemOf(site, IDC_SITE_GROUP)));
    EXPECT_EQ(::GetTextColor(colours), RGB(128, 0, 255));
    EXPECT_EQ(::GetBkColor(colours), RGB(255, 255, 240));
    ::DeleteDC(colours);
}

TEST_F(SitePageTest, RefreshIsCollectedOnTheFifthTickTheHeartbeatReaches) {
    Click(site, IDC_SITE_REFRESH);
    EXPECT_TRUE(Waiting());
    EXPECT_EQ(library.surveyStarts, 1);
    EXPECT_EQ(state.pendingSurveyCountdown, 4);

    // Ticks under Zero Configuration stop before the survey step: they do not count.
    operations.wzcStatus = Wzc::ServiceControl;
    for (int tick = 0; tick < 6; ++tick) Tick();
    operations.wzcStatus = Wzc::OwnControl;
    for (int tick = 1; tick <= 4; ++tick) {
        Tick();
        EXPECT_TRUE(Waiting()) << tick;
        EXPECT_EQ(Rows(), 0) << tick;
    }
    Tick();
    EXPECT_EQ(state.pendingSurveyCountdown, -1);
    ASSERT_EQ(Rows(), 4);
    EXPECT_EQ(Row(0), (Texts{"00-11-22-33-44-55", "cafe", "No", "Yes", "6", "53 %"}));
    EXPECT_EQ(Row(1), (Texts{"00-11-22-33-44-66", "home-wep", "Yes", "Yes", "6", "53 %"}));
    EXPECT_EQ(Row(2), (Texts{"00-11-22-33-44-77", "office", "No", "Yes", "14", "53 %"}));
    EXPECT_EQ(Row(3), (Texts{"00-11-22-33-44-55", "cell", "No", "No", "11", "100 %"}));
    EXPECT_EQ(::SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
    EXPECT_EQ(::SendMessageA(List(), LVM_GETSELECTIONMARK, 0, 0), 0);
    EXPECT_TRUE(Enabled(ItemOf(site, IDC_SITE_CONNECT)));
    EXPECT_TRUE(Enabled(ItemOf(site, IDC_SITE_REFRESH)));
    EXPECT_TRUE(Enabled(List()));
}

TEST_F(SitePageTest, UnreadableOrEmptyResults) {
    library.Fail("WL_RetrieveSiteSurveyData", -1);  // at every buffer size
    Scan();
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(Enabled(ItemOf(site, IDC_SITE_REFRESH)));
    EXPECT_TRUE(Enabled(ItemOf(site, IDC_SITE_CONNECT)));
    EXPECT_TRUE(Enabled(List()));
    Click(site, IDC_SITE_CONNECT);  // nothing to join
    EXPECT_EQ(library.CountOf("SetWL_BSSID"), 0);

    library.ClearFailures();
    library.surveyData = SurveyBuffer({});
    Scan();
    EXPECT_EQ(Rows(), 0);
    EXPECT_FALSE(Enabled(ItemOf(site, IDC_SITE_CONNECT)));
    EXPECT_TRUE(Enabled(ItemOf(site, IDC_SITE_REFRESH)));
}

TEST_F(SitePageTest, ConnectFollowsTheSelection) {
    Scan();
    Select(-1);
    ListClicked();
    EXPECT_FALSE(Enabled(ItemOf(site, IDC_SITE_CONNECT)));
    Select(2);
    ListClicked();
    EXPECT_TRUE(Enabled(ItemOf(site, IDC_SITE_CONNECT)));
}

TEST_F(SitePageTest, ConnectOnAnOpenNetworkGoesStraightToLinkInfo) {
    Scan();
    library.ClearCalls();
    MessageBoxAnswer answer(IDYES);
    Click(site, IDC_SITE_CONNECT);  // row 0 is selected after the scan
    EXPECT_FALSE(answer.Answered()) << "no question for an open network";
    EXPECT_TRUE(main.IsCurrentPage(PageId::LinkInfo));
    EXPECT_EQ(library.ssid, "cafe");
    EXPECT_EQ(library.bssid, (std::array<uint8_t, 6>{0x00, 0x11, 0x22, 0x33, 0x44, 0x55}));
    EXPECT_EQ(library.wepStatus, 1);
    EXPECT_EQ(state.current.SSID, "cafe");
}

TEST_F(SitePageTest, EncryptedNetworksAskAndTheAnswerDecides) {
    const struct {
        const char* name;
        int row;
        bool doubleClick;
        int button;
        const char* caption;
        const char* text;
        PageId page;
        bool workerStarted;
    } cases[] = {
        {"WEP, Yes", 1, false, IDYES, "Use Previous WEP Setting",
         "You have selected to connect to the WEP encryption network.\nDo you want to use the previous WEP setting",
         PageId::LinkInfo, false},
        {"WEP, No, by double click", 1, true, IDNO, "Use Previous WEP Setting", nullptr, PageId::Encryption, false},
        {"WPA, Yes, by double click", 2, true, IDYES, "Use Previous WPA Setting",
         "You have selected to connect to the WPA encryption network.\nDo you want to use the previous WPA setting",
         PageId::LinkInfo, true},
        {"WPA, No", 2, false, IDNO, "Use Previous WPA Setting", nullptr, PageId::Encryption, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main.ShowPage(PageId::SiteSurvey);
        Scan();
        Select(c.row);
        library.ClearCalls();
        worker.events.clear();
        {
            MessageBoxAnswer answer(c.button);
            if (c.doubleClick) {
                DoubleClickRow(c.row);
            } else {
                Click(site, IDC_SITE_CONNECT);
            }
            ASSERT_TRUE(answer.Answered());
            EXPECT_EQ(answer.Caption(), c.caption);
            if (c.text) {
                EXPECT_EQ(answer.Text(), c.text);
            }
            EXPECT_EQ(answer.Style(), static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        }
        EXPECT_TRUE(main.IsCurrentPage(c.page));
        EXPECT_EQ(worker.events.front(), "Stop@0");
        EXPECT_EQ(worker.events.back().rfind("Start", 0) == 0, c.workerStarted);
        // Either way the adapter is already set to the network.
        const SurveyEntry& entry = site.Entries()[static_cast<size_t>(c.row)];
        EXPECT_EQ(library.ssid, entry.ssid);
        EXPECT_EQ(library.bssid, entry.bssid);
        EXPECT_EQ(library.networkType, 1);
        EXPECT_EQ(library.authMode, entry.authenticationMode);
        EXPECT_EQ(state.current.WEPStatus, entry.encryption);
    }
}

TEST_F(SitePageTest, JoiningACellSetsItsChannel) {
    Scan();
    Select(3);
    library.ClearCalls();
    Click(site, IDC_SITE_CONNECT);
    EXPECT_EQ(library.CallNames().front(), "SetWL_Channel");
    EXPECT_EQ(library.channel, 11);
    EXPECT_EQ(library.networkType, 0);
    EXPECT_TRUE(main.IsCurrentPage(PageId::LinkInfo));
}

}  // namespace
}  // namespace hx::test
