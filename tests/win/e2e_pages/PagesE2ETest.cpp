// The built utility against the simulated adapter, driven from outside as a user would: scan
// on the Site Survey page, join the open network and watch the link on Link Info; change the
// radio configuration and apply it.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdlib>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "app/UtilityState.h"
#include "resources/resource.h"
#include "tests/win/common/RemoteListView.h"
#include "tests/win/common/UtilityProcess.h"
#include "tools/hxsim/ControlClient.h"

namespace hx::test {
namespace {

using namespace std::chrono_literals;

std::string SimState(const std::string& key) {
    std::string report;
    if (!hxsim::SendControlCommand(hxsim::ControlPipeName("HX88UUtil"), "show", report)) return "no reply";
    const size_t at = report.find("\n" + key + ": ");
    if (at == std::string::npos) return "";
    const size_t start = at + key.size() + 3;
    return report.substr(start, report.find('\n', start) - start);
}

std::string Text(HWND hwnd) {
    char text[256] = {};
    ::SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string StoredString(const char* name) {
    char value[128] = {};
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_CURRENT_USER, "Software\\Tessaro\\HX88UUtil\\LastSetting", name, RRF_RT_REG_SZ,
                       nullptr, value, &size) != ERROR_SUCCESS)
        return "<none>";
    return value;
}

int StoredInt(const char* name) {
    DWORD value = 0, size = sizeof value;
    if (::RegGetValueA(HKEY_CURRENT_USER, "Software\\Tessaro\\HX88UUtil\\LastSetting", name, RRF_RT_REG_DWORD,
                       nullptr, &value, &size) != ERROR_SUCCESS)
        return -999;
    return static_cast<int>(value);
}

// A network of the default simulated world as the list should show it.
struct ListedNetwork {
    const char* bssid;
    const char* ssid;
    const char* wep;
    const char* ap;
    const char* channel;
    int dbm;
};
const ListedNetwork kDefaultWorld[] = {
    {"06-A0-88-00-00-01", "Open-Lobby", "No", "Yes", "1", -52},
    {"06-A0-88-00-00-11", "Open-Lobby", "No", "Yes", "11", -81},
    {"06-A0-88-00-00-02", "WEP-Lab", "Yes", "Yes", "6", -61},
    {"06-A0-88-00-00-03", "WPA-TKIP-Home", "No", "Yes", "11", -47},
    {"06-A0-88-00-00-04", "WPA-AES-Office", "No", "Yes", "6", -66},
    {"06-A0-88-00-00-05", "WPA-Enterprise", "No", "Yes", "3", -70},
    {"06-A0-88-00-00-06", "RSN-Only", "No", "Yes", "9", -76},
    {"02-48-56-C0-FF-EE", "AdHoc-Cell", "No", "No", "10", -84},
    {"06-A0-88-00-00-08", "Mixed-WPA-WPA2", "No", "Yes", "7", -62},
    {"06-A0-88-00-00-09", "WPA3-Transition", "No", "Yes", "3", -60},
    {"06-A0-88-00-00-0A", "WPA3-Only", "No", "Yes", "10", -68},
    {"06-A0-88-00-00-0B", "WPA2-Enterprise", "No", "Yes", "5", -71},
    {"06-A0-88-00-01-01", "Harbour-Cafe", "No", "Yes", "1", -64},
    {"06-A0-88-00-01-02", "Flat-2B", "No", "Yes", "6", -63},
    {"06-A0-88-00-01-03", "Bakery-Staff", "No", "Yes", "11", -72},
    {"06-A0-88-00-01-04", "Studio-Nord", "No", "Yes", "4", -79},
    {"06-A0-88-00-01-05", "Lindqvist", "No", "Yes", "1", -83},
    {"06-A0-88-00-01-06", "Printshop-3F", "No", "Yes", "8", -69},
    {"06-A0-88-00-01-07", "Dental-Practice", "No", "Yes", "11", -85},
    {"06-A0-88-00-01-08", "Okafor-Home", "No", "Yes", "6", -74},
    {"06-A0-88-00-01-09", "HOME-4F2A", "No", "Yes", "2", -80},
    {"06-A0-88-00-01-0A", "Rooftop-Bar", "No", "Yes", "9", -67},
    {"06-A0-88-00-01-0B", "Workshop-Annex", "No", "Yes", "5", -82},
    {"06-A0-88-00-01-0C", "Pharmacy-Back", "No", "Yes", "3", -77},
};

class PagesEndToEnd : public ::testing::Test {
protected:
    void TearDown() override {
        if (utility.Running() && window != nullptr) {
            ::PostMessageA(window, WM_COMMAND, ID_TRAY_EXIT, 0);
            utility.WaitForExit(5s);
        }
    }

    // Starts the utility with a last setting that joins nothing, and opens its window.
    void StartAndOpen() {
        ClearUtilityRegistry();
        ::RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Tessaro\\HX88UUtil\\LastSetting", "SSID", REG_SZ,
                          "Nowhere", 8);
        ASSERT_TRUE(utility.Start());
        window = utility.WaitForMainWindow(5s);
        ASSERT_NE(window, nullptr);
        // "Open" works once the adapter is identified; Link Info, in front from the start,
        // shows the first poll after that.
        ASSERT_TRUE(WaitFor([&] { return !Text(Info(IDC_LI_STATUS)).empty(); }, 10s)) << "no adapter found";
        ASSERT_TRUE(WaitFor([&] {
            ::PostMessageA(window, WM_COMMAND, ID_TRAY_OPEN, 0);
            return WaitFor([&] { return ::IsWindowVisible(window) != FALSE; }, 100ms);
        }, 10s)) << "the adapter was never found";
    }
    // Control ids repeat from page to page: a page is told by one control of its own kind.
    enum class Page { LinkInfo, Configuration, SiteSurvey };
    HWND PageWindow(Page which) const {
        const struct { int id; const char* cls; } marks[] = {
            {IDC_LI_QUALITY_METER, "msctls_progress32"}, {IDC_CFG_REGION, "ComboBox"},
            {IDC_SITE_LIST, "SysListView32"}};
        const auto& mark = marks[static_cast<int>(which)];
        HWND frame = ::GetDlgItem(window, IDC_PAGE_FRAME);
        for (HWND page = ::GetWindow(frame, GW_CHILD); page != nullptr; page = ::GetWindow(page, GW_HWNDNEXT)) {
            char cls[32] = {};
            ::GetClassNameA(::GetDlgItem(page, mark.id), cls, sizeof cls);
            if (::lstrcmpiA(cls, mark.cls) == 0) return page;
        }
        return nullptr;
    }
    bool InFront(Page which) const {
        HWND page = PageWindow(which);
        return page != nullptr && (::GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    HWND Item(Page which, int id) const { return ::GetDlgItem(PageWindow(which), id); }
    HWND Info(int id) const { return Item(Page::LinkInfo, id); }
    HWND Config(int id) const { return Item(Page::Configuration, id); }
    HWND Site(int id) const { return Item(Page::SiteSurvey, id); }
    void ClickLabel(int label) {
        ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(label, STN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(window, label)));
    }
    // Posted: a click may open a message box.
    void ClickButton(HWND button) {
        const int id = ::GetDlgCtrlID(button);
        ::PostMessageA(::GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    void Choose(HWND combo, int position) {
        const int comboId = ::GetDlgCtrlID(combo);
        ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        ::SendMessageA(::GetParent(combo), WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(combo));
    }

    UtilityProcess utility;
    HWND window = nullptr;
};

TEST_F(PagesEndToEnd, ScanJoinTheOpenNetworkAndWatchTheLink) {
    StartAndOpen();
    EXPECT_TRUE(WaitFor([&] { return Text(Info(IDC_LI_STATUS)) == "No connection to Network"; }, 5s))
        << Text(Info(IDC_LI_STATUS));

    ClickLabel(IDC_NAV_SITE_SURVEY);
    ASSERT_TRUE(InFront(Page::SiteSurvey));
    HWND refresh = Site(IDC_SITE_REFRESH);
    // The scan started at identification is collected first; then the user's own.
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(refresh) != FALSE; }, 10s));
    const auto pressed = std::chrono::steady_clock::now();
    ClickButton(Site(IDC_SITE_REFRESH));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(refresh) == FALSE; }, 2s));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(refresh) != FALSE; }, 10s));
    EXPECT_GE(std::chrono::steady_clock::now() - pressed, 3500ms) << "collected on the fifth tick";

    RemoteListView list(Site(IDC_SITE_LIST));
    ASSERT_TRUE(list.Usable());
    ASSERT_EQ(list.Count(), static_cast<int>(std::size(kDefaultWorld)));
    std::map<std::string, std::vector<std::string>> rows;
    for (int row = 0; row < list.Count(); ++row) {
        auto texts = list.Row(row, 6);
        rows[texts[0]] = texts;
    }
    int openLobbyRow = -1;
    for (int row = 0; row < list.Count(); ++row)
        if (list.Text(row, 0) == "06-A0-88-00-00-01") openLobbyRow = row;
    for (const ListedNetwork& n : kDefaultWorld) {
        SCOPED_TRACE(n.bssid);
        ASSERT_EQ(rows.count(n.bssid), 1u);
        const auto& r = rows[n.bssid];
        EXPECT_EQ(r[1], n.ssid);
        EXPECT_EQ(r[2], n.wep);
        EXPECT_EQ(r[3], n.ap);
        EXPECT_EQ(r[4], n.channel);
        // The signal wanders up to 4 dB around its mean.
        const int percent = std::atoi(r[5].c_str());
        EXPECT_EQ(r[5], std::to_string(percent) + " %");
        EXPECT_NEAR(percent, (n.dbm + 105) * 100 / 65, 8);
    }
    EXPECT_EQ(list.SelectedRow(), 0);
    EXPECT_TRUE(::IsWindowEnabled(Site(IDC_SITE_CONNECT)));

    ASSERT_TRUE(list.Select(openLobbyRow));
    ClickButton(Site(IDC_SITE_CONNECT));
    ASSERT_TRUE(WaitFor([&] { return InFront(Page::LinkInfo); }, 2s)) << "no question for an open network";

    HWND status = Info(IDC_LI_STATUS);
    EXPECT_TRUE(WaitFor([&] { return Text(status) == "Associated BSSID = 06-A0-88-00-00-01"; }, 5s)) << Text(status);
    EXPECT_EQ(Text(Info(IDC_LI_SSID)), "Open-Lobby");
    EXPECT_EQ(Text(Info(IDC_LI_CHANNEL)), "1");
    const std::string rate = Text(Info(IDC_LI_TX_RATE));
    EXPECT_TRUE(std::regex_match(rate, std::regex("(1|2|5\\.5|11|6|9|12|18|24|36|48|54) Mbps"))) << rate;
    EXPECT_NE(rate, "0 Mbps");
    // Quality and signal are averaged over the last polls: they rise within a few ticks.
    EXPECT_TRUE(WaitFor([&] {
        return std::atoi(Text(Info(IDC_LI_SIGNAL_PERCENT)).c_str()) >= 50 &&
               std::atoi(Text(Info(IDC_LI_QUALITY_PERCENT)).c_str()) > 0;
    }, 8s)) << Text(Info(IDC_LI_SIGNAL_PERCENT)) << " / "
            << Text(Info(IDC_LI_QUALITY_PERCENT));

    EXPECT_EQ(SimState("link.bssid"), "06:A0:88:00:00:01");
    EXPECT_EQ(SimState("settings.fixed-bssid"), "06:A0:88:00:00:01");
    EXPECT_EQ(StoredString("SSID"), "Open-Lobby");
}

TEST_F(PagesEndToEnd, ChangeTheRadioConfigurationAndApplyIt) {
    StartAndOpen();
    ClickLabel(IDC_NAV_CONFIGURATION);
    ASSERT_TRUE(InFront(Page::Configuration));
    EXPECT_EQ(Text(Config(IDC_CFG_SSID)), "Nowhere");
    HWND channels = Config(IDC_CFG_CHANNEL);
    HWND rates = Config(IDC_CFG_RATE);
    // The adapter's rates, from identification: "Auto" and twelve rates.
    EXPECT_EQ(::SendMessageA(rates, CB_GETCOUNT, 0, 0), 13);

    // A region takes effect at once: Japan allows channel 14.
    Choose(Config(IDC_CFG_REGION), 6);
    EXPECT_TRUE(WaitFor([&] { return SimState("settings.region") == "0x40"; }, 2s)) << SimState("settings.region");
    EXPECT_EQ(::SendMessageA(channels, CB_GETCOUNT, 0, 0), 14);

    ::SendMessageA(Config(IDC_CFG_SSID), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Open-Lobby"));
    Choose(Config(IDC_CFG_MODE), 1);
    ::SendMessageA(rates, CB_SETCURSEL, 4, 0);  // 11 Mbps
    ::SendMessageA(Config(IDC_CFG_PREAMBLE), CB_SETCURSEL, 1, 0);
    ::SendMessageA(Config(IDC_CFG_POWER), CB_SETCURSEL, 2, 0);
    ClickButton(Config(IDC_CFG_APPLY));
    ASSERT_TRUE(WaitFor([&] { return InFront(Page::LinkInfo); }, 3s));

    EXPECT_EQ(SimState("settings.ssid"), "\"Open-Lobby\"");
    EXPECT_EQ(SimState("settings.preamble"), "1");
    EXPECT_EQ(SimState("settings.power-save"), "2");
    EXPECT_EQ(SimState("settings.region"), "0x40");
    EXPECT_EQ(SimState("settings.desired-rates"), "16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(StoredString("DesiredRate"), "16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(StoredInt("PreambleMode"), 1);
    EXPECT_EQ(StoredInt("Domain"), 0x40);
    HWND status = Info(IDC_LI_STATUS);
    EXPECT_TRUE(WaitFor([&] { return Text(status).rfind("Associated BSSID = ", 0) == 0; }, 5s)) << Text(status);
    EXPECT_TRUE(WaitFor([&] { return Text(Info(IDC_LI_TX_RATE)) == "11 Mbps"; }, 3s))
        << "the only rate allowed";
}

}  // namespace
}  // namespace hx::test
