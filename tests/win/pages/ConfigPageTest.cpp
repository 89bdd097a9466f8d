// The Configuration page in the real main window: its lists, loading the current setting
// each time it comes forward, Apply, the Wireless Mode rule, the region applied at once, Cancel.
#include <algorithm>

#include "config/ValueTables.h"
#include "tests/win/pages/PagesHarness.h"

namespace hx::test {
namespace {

using Texts = std::vector<std::string>;

class ConfigPageTest : public PagesHarness {
protected:
    void SetUp() override {
        state.supportedRates.rate = {0x02, 0x04, 0x0B, 0x16};
        library.supportChannels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
        state.supportedChannels.channel = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
        state.supportedChannels.count = 11;
        WlanSetting& s = state.current;
        s.SSID = "home";
        s.NetworkType = 1;
        s.Channel = 6;
        s.DesiredRate = kDefaultDesiredRate;
        s.PreambleMode = 2;
        s.PowerSaveMode = 1;
        s.Domain = 0x10;
        s.WEPStatus = 1;
        Start();
        config.FillTxRateList();  // as identification does
    }
    HWND Control(int id) const { return ItemOf(config, id); }
    void BringForward() {
        main.ShowPage(PageId::LinkInfo);
        main.ShowPage(PageId::Configuration);
    }
    int RegionCalls(int code) const {
        const auto calls = library.Calls();
        return static_cast<int>(std::count(calls.begin(), calls.end(),
                                           "SetWL_OperationRegionCode(" + std::to_string(code) + ")"));
    }
};

TEST_F(ConfigPageTest, ListsHoldTheirChoices) {
    EXPECT_EQ(ComboTexts(Control(IDC_CFG_MODE)), (Texts{"Ad-Hoc", "Infrastructure"}));
    EXPECT_EQ(ComboTexts(Control(IDC_CFG_PREAMBLE)), (Texts{"Long Preamble", "Short Preamble", "Auto"}));
    EXPECT_EQ(ComboTexts(Control(IDC_CFG_POWER)),
              (Texts{"Continuous Access Mode", "Maximum Power Save", "Fast Power Save"}));
    EXPECT_EQ(ComboTexts(Control(IDC_CFG_REGION)),
              (Texts{"Factory default", "USA", "Canada", "Most of Europe/Australia", "Spain", "France", "Japan",
                     "Israel"}));
    EXPECT_EQ(ComboTexts(Control(IDC_CFG_RATE)), (Texts{"Auto", "1 Mbps", "2 Mbps", "5.5 Mbps", "11 Mbps"}));
    EXPECT_TRUE(Shown(Control(IDC_CFG_REGION)));
    EXPECT_TRUE(Shown(Control(IDC_CFG_REGION_LABEL)));

    // Identification of an adapter with other rates rebuilds the list.
    state.supportedRates.rate = {0x16, 0x6C};
    main.FillTxRateList();
    EXPECT_EQ(ComboTexts(Control(IDC_CFG_RATE)), (Texts{"Auto", "11 Mbps", "54 Mbps"}));
}

TEST_F(ConfigPageTest, LabelsTakeThePageBackground) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    for (int id : {IDC_CFG_SSID_LABEL, IDC_CFG_MODE_LABEL, IDC_CFG_CHANNEL_LABEL, IDC_CFG_RATE_LABEL,
                   IDC_CFG_PREAMBLE_LABEL, IDC_CFG_POWER_LABEL, IDC_CFG_REGION_LABEL}) {
        ::SetBkColor(dc, 0);
        ::SendMessageA(config.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(Control(id)));
        EXPECT_EQ(::GetBkColor(dc), RGB(255, 255, 240)) << id;
    }
    ::DeleteDC(dc);
}

TEST_F(ConfigPageTest, ComingForwardLoadsTheCurrentSetting) {
    const struct {
        const char* name;
        const char* ssid;
        int networkType, channel;
        const char* desiredRate;
        int domain;
        int modeShown, channelShown, rateShown, regionShown;
        bool channelEnabled;
    } cases[] = {
        {"infrastructure, every rate", "home", 1, 6, kDefaultDesiredRate, 0x10, 1, 5, 0, 1, false},
        {"ad hoc, 5.5 Mbps", "", 0, 3, "0B 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", 0x40, 0, 2, 3, 6, true},
        {"an unlisted channel, an unsupported rate, an unknown region", "Open-Lobby", 0, 14,
         "6C 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", 0x35, 0, -1, 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        state.current.SSID = c.ssid;
        state.current.NetworkType = c.networkType;
        state.current.Channel = c.channel;
        state.current.DesiredRate = c.desiredRate;
        state.current.Domain = c.domain;
        BringForward();
        EXPECT_EQ(Text(Control(IDC_CFG_SSID)), c.ssid);
        EXPECT_EQ(ComboSelection(Control(IDC_CFG_MODE)), c.modeShown);
        EXPECT_EQ(ComboSelection(Control(IDC_CFG_CHANNEL)), c.channelShown);
        EXPECT_EQ(ComboSelection(Control(IDC_CFG_RATE)), c.rateShown);
        EXPECT_EQ(ComboSelection(Control(IDC_CFG_REGION)), c.regionShown);
        EXPECT_EQ(ComboSelection(Control(IDC_CFG_PREAMBLE)), 2);
        EXPECT_EQ(ComboSelection(Control(IDC_CFG_POWER)), 1);
        EXPECT_EQ(Enabled(Control(IDC_CFG_CHANNEL)), c.channelEnabled);
        EXPECT_EQ(ComboTexts(Control(IDC_CFG_CHANNEL)).size(), 11u);
    }
    EXPECT_EQ(library.CountOf("SetWL_OperationRegionCode"), 0) << "showing the page applies nothing";
}

TEST_F(ConfigPageTest, SsidBoxTakesAtMost32Characters) {
    BringForward();
    HWND edit = Control(IDC_CFG_SSID);
    ::SetWindowTextA(edit, "");
    for (int i = 0; i < 40; ++i) ::SendMessageA(edit, WM_CHAR, 'a' + i % 26, 1);
    EXPECT_EQ(Text(edit).size(), 32u);

    state.current.SSID = std::string(40, 'x');  // longer than any network name
    BringForward();
    EXPECT_EQ(Text(Control(IDC_CFG_SSID)), std::string(32, 'x'));
    Click(config, IDC_CFG_APPLY);
    EXPECT_EQ(state.current.SSID, std::string(32, 'x'));
    EXPECT_EQ(library.ssid, std::string(32, 'x'));
}

TEST_F(ConfigPageTest, WirelessModeDecidesWhetherTheChannelCanBeChosen) {
    BringForward();
    const struct { int mode; bool enabled; } steps[] = {{0, true}, {1, false}, {0, true}};
    for (const auto& step : steps) {
        Choose(config, IDC_CFG_MODE, step.mode);
        EXPECT_EQ(Enabled(Control(IDC_CFG_CHANNEL)), step.enabled) << step.mode;
    }
}

TEST_F(ConfigPageTest, ApplyStoresAppliesAndBringsLinkInfoForward) {
    const struct {
        const char* name;
        int mode, channelPosition, ratePosition, preamble, power, region;
        int channel;
        const char* desiredRate;
        int domain;
    } cases[] = {
        {"infrastructure keeps the channel; Auto stores every supported rate", 1, 0, 0, 0, 2, 3, 6,
         "02 04 0B 16 00 00 00 00 00 00 00 00 00 00 00 00", 0x30},
        {"ad hoc takes the channel; one rate", 0, 2, 3, 1, 1, 6, 3,
         "0B 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", 0x40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        state.current.Channel = 6;
        BringForward();
        ::SetWindowTextA(Control(IDC_CFG_SSID), "lab");
        Choose(config, IDC_CFG_MODE, c.mode);
        ::SendMessageA(Control(IDC_CFG_CHANNEL), CB_SETCURSEL, static_cast<WPARAM>(c.channelPosition), 0);
        ::SendMessageA(Control(IDC_CFG_RATE), CB_SETCURSEL, static_cast<WPARAM>(c.ratePosition), 0);
        ::SendMessageA(Control(IDC_CFG_PREAMBLE), CB_SETCURSEL, static_cast<WPARAM>(c.preamble), 0);
        ::SendMessageA(Control(IDC_CFG_POWER), CB_SETCURSEL, static_cast<WPARAM>(c.power), 0);
        ::SendMessageA(Control(IDC_CFG_REGION), CB_SETCURSEL, static_cast<WPARAM>(c.region), 0);
        library.ClearCalls();
        worker.events.clear();

        Click(config, IDC_CFG_APPLY);

        const WlanSetting& s = state.current;
        EXPECT_EQ(s.SSID, "lab");
        EXPECT_EQ(s.NetworkType, c.mode);
        EXPECT_EQ(s.Channel, c.channel);
        EXPECT_EQ(s.DesiredRate, c.desiredRate);
        EXPECT_EQ(s.PreambleMode, c.preamble);
        EXPECT_EQ(s.PowerSaveMode, c.power);
        EXPECT_EQ(s.Domain, c.domain);
        // The whole setting went to the adapter, the worker stopped first.
        EXPECT_EQ(worker.events.front(), "Stop@0");
        EXPECT_EQ(library.ssid, "lab");
        EXPECT_EQ(library.preamble, c.preamble);
        EXPECT_EQ(library.CountOf("SetWL_Channel"), c.mode == 0 ? 1 : 0);
        EXPECT_EQ(StoredString("DesiredRate"), c.desiredRate);
        EXPECT_EQ(StoredInt("Domain"), c.domain);
        EXPECT_TRUE(main.IsCurrentPage(PageId::LinkInfo));

        BringForward();
        EXPECT_EQ(ComboSelection(Control(IDC_CFG_RATE)), c.ratePosition) << "reloads to the same row";
    }
}

TEST_F(ConfigPageTest, RegionIsAppliedAtOnceAndCancelAppliesTheShownOneAgain) {
    BringForward();
    library.supportChannels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    Choose(config, IDC_CFG_REGION, 6);  // Japan
    EXPECT_EQ(RegionCalls(0x40), 1);
    EXPECT_EQ(state.supportedChannels.count, 14);
    EXPECT_EQ(ComboTexts(Control(IDC_CFG_CHANNEL)).size(), 14u);
    EXPECT_EQ(Text(Control(IDC_CFG_CHANNEL)), "6") << "the setting's channel stays chosen";
    EXPECT_EQ(state.current.Domain, 0x10) << "only Apply changes the setting";

    // Leaving and coming back shows the setting's region without applying it.
    BringForward();
    EXPECT_EQ(ComboSelection(Control(IDC_CFG_REGION)), 1);
    EXPECT_EQ(RegionCalls(0x10), 0);

    // Cancel reloads and applies the shown region again.
    library.supportChannels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    ::SetWindowTextA(Control(IDC_CFG_SSID), "edited");
    Choose(config, IDC_CFG_REGION, 3);
    Click(config, IDC_CFG_CANCEL);
    EXPECT_EQ(Text(Control(IDC_CFG_SSID)), "home");
    EXPECT_EQ(ComboSelection(Control(IDC_CFG_REGION)), 1);
    EXPECT_EQ(RegionCalls(0x10), 1);
    EXPECT_EQ(ComboTexts(Control(IDC_CFG_CHANNEL)).size(), 11u);
    EXPECT_EQ(StoredInt("Domain"), 0x10);
    EXPECT_TRUE(main.IsCurrentPage(PageId::Configuration));
}

}  // namespace
}  // namespace hx::test
