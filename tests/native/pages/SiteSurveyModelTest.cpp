#include <gtest/gtest.h>

#include "adapter/SurveyListRead.h"
#include "pages/SiteSurveyModel.h"
#include "tests/native/adapterops/Fixture.h"
#include "tests/native/pages/SurveyBuffer.h"

namespace hx {
namespace {

class FakeSurveyView : public SurveyView {
public:
    bool refresh = true, connect = false, list = true;
    std::vector<SurveyRow> rows;
    int selected = -1;
    std::vector<std::string> questions;
    bool answer = true;

    void EnableRefresh(bool e) override { refresh = e; }
    void EnableConnect(bool e) override { connect = e; }
    void EnableList(bool e) override { list = e; }
    void ShowRows(const std::vector<SurveyRow>& r) override { rows = r; }
    void SelectRow(int row) override { selected = row; }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        questions.push_back(caption + "|" + text);
        return answer;
    }
    void Tell(const std::string&) override {}
};

class SiteSurveyModelTest : public ::testing::Test, public test::AdapterFixture {
protected:
    void SetUp() override {
        test::TestBss open;
        open.ssid = "cafe";
        open.mac = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
        open.rssi = -70;
        test::TestBss wep = open;
        wep.ssid = "home-wep";
        wep.privacy = 1;
        test::TestBss wpa = open;
        wpa.ssid = "office";
        wpa.privacy = 1;
        wpa.elements = test::WpaElement({2}, {2});
        test::TestBss adhoc = open;
        adhoc.ssid = "cell";
        adhoc.infrastructure = 0;
        adhoc.frequencyKHz = 2462000;
        library.surveyData = test::SurveyBuffer({open, wep, wpa, adhoc});
        state.current.WEPKey = {"01 02 03 04 05", "00 00 00 00 00", "00 00 00 00 00", "00 00 00 00 00"};
        state.current.WEPKeyLength = 64;
        state.current.Dot1xPassphrase = "previous pass";
    }
    FakeSurveyView view;
    SiteSurveyModel model{library, state, applier, worker, shell, view};
};

TEST_F(SiteSurveyModelTest, RefreshWaitsForTheHeartbeat) {
    model.Refresh();
    EXPECT_FALSE(view.refresh);
    EXPECT_FALSE(view.connect);
    EXPECT_FALSE(view.list);
    EXPECT_EQ(state.pendingSurveyCountdown, 4);
    EXPECT_EQ(model.SelectedIndex(), -1);
    EXPECT_EQ(library.surveyStarts, 1);
}

TEST_F(SiteSurveyModelTest, FillListShowsEveryNetworkAndSelectsTheFirst) {
    model.Refresh();
    model.FillList();
    ASSERT_EQ(view.rows.size(), 4u);
    EXPECT_EQ(view.rows[0], (SurveyRow{"00-11-22-33-44-55", "cafe", "No", "Yes", "6", "53 %"}));
    EXPECT_EQ(view.rows[1][2], "Yes");  // WEP
    EXPECT_EQ(view.rows[2][2], "No");   // WPA reads "No"
    EXPECT_EQ(view.rows[3][3], "No");   // ad hoc
    EXPECT_EQ(view.rows[3][4], "11");
    EXPECT_EQ(view.selected, 0);
    EXPECT_TRUE(view.connect && view.refresh && view.list);
}

TEST_F(SiteSurveyModelTest, EmptyOrUnreadableResults) {
    library.surveyData = test::SurveyBuffer({});
    model.Refresh();
    model.FillList();
    EXPECT_TRUE(view.rows.empty());
    EXPECT_FALSE(view.connect);
    EXPECT_TRUE(view.refresh);

    // A read that fails is tried with larger buffers; one that always fails lists nothing.
    library.Fail("WL_RetrieveSiteSurveyData", -1);
    library.ClearCalls();
    model.Refresh();
    model.FillList();
    EXPECT_TRUE(view.rows.empty());
    EXPECT_TRUE(view.connect && view.refresh && view.list);
    EXPECT_EQ(library.CountOf("WL_RetrieveSiteSurveyData"), SurveyReadAttempts());
    EXPECT_EQ(library.CountOf("WL_FilteSiteSurveyData"), 0);
}

TEST_F(SiteSurveyModelTest, ConnectToAnOpenNetworkAsksNothing) {
    model.FillList();
    library.ClearCalls();
    model.Connect(0);
    EXPECT_TRUE(view.questions.empty());
    EXPECT_EQ(worker.events.front(), "Stop@0");
    const auto names = library.CallNames();
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 4),
              (std::vector<std::string>{"SetWL_BSSID", "SetWL_SSID", "SetWL_NetworkType", "SetWL_AuthenticationMode"}));
    EXPECT_EQ(library.CountOf("SetWL_WriteKey"), 4);  // ApplyWepSetting
    EXPECT_EQ(library.wepStatus, 1);
    EXPECT_EQ(state.current.SSID, "cafe");
    EXPECT_EQ(shell.calls.back(), "ShowPage(LinkInfo)");
}

TEST_F(SiteSurveyModelTest, QuestionsByEncryptionAndTheirAnswers) {
    const struct {
        int row;
        bool yes;
        const char* caption;
        bool workerStarted;
        int keyWrites;
        const char* page;
    } cases[] = {
        {1, true, kUseWepCaption, false, 4, "ShowPage(LinkInfo)"},
        {1, false, kUseWepCaption, false, 0, "ShowPage(Encryption)"},
        {2, true, kUseWpaCaption, true, 0, "ShowPage(LinkInfo)"},
        {2, false, kUseWpaCaption, false, 0, "ShowPage(Encryption)"},
    };
    for (const auto& c : cases) {
        view.questions.clear();
        worker.events.clear();
        library.ClearCalls();
        view.answer = c.yes;
        model.FillList();
        model.Connect(c.row);
        ASSERT_EQ(view.questions.size(), 1u);
        EXPECT_EQ(view.questions[0].substr(0, view.questions[0].find('|')), c.caption);
        EXPECT_EQ(worker.events.back().rfind("Start", 0) == 0, c.workerStarted) << c.row << c.yes;
        EXPECT_EQ(library.CountOf("SetWL_WriteKey"), c.keyWrites) << c.row << c.yes;
        EXPECT_EQ(shell.calls.back(), c.page);
        // Either way the adapter is already set to the new network.
        EXPECT_EQ(library.ssid, c.row == 1 ? "home-wep" : "office");
        EXPECT_EQ(library.CountOf("SetWL_BSSID"), 1);
    }
    EXPECT_EQ(state.current.WEPStatus, 4);
    EXPECT_EQ(state.current.AuthenticationMode, 4);
}

TEST_F(SiteSurveyModelTest, AdHocAppliesTheChannelAndNothingSelectedDoesNothing) {
    model.FillList();
    library.ClearCalls();
    model.Connect(-1);
    EXPECT_TRUE(library.Calls().empty());
    EXPECT_TRUE(worker.events.empty());
    model.Connect(3);
    EXPECT_EQ(library.CallNames().front(), "SetWL_Channel");
    EXPECT_EQ(library.channel, 11);
    EXPECT_EQ(StoredInt("Channel"), 11);
}

TEST_F(SiteSurveyModelTest, ConnectAndActivationJoinTheSelectionMarkWhileARowIsSelected) {
    const struct {
        bool activated;  // a double click or Enter instead of the button
        int selected, mark;
        const char* joined;
    } cases[] = {
        {false, -1, 2, nullptr},  // nothing selected: the mark does not count
        {false, 2, 2, "office"},
        {false, 0, 3, "cell"},    // the mark is joined, not the first selected row
        {true, -1, 1, nullptr},
        {true, 1, 1, "home-wep"},
    };
    for (const auto& c : cases) {
        model.FillList();
        library.ClearCalls();
        library.ssid.clear();
        if (c.activated) {
            model.RowActivated(c.selected, c.mark);
            EXPECT_EQ(view.connect, c.selected >= 0) << "Connect follows the selection";
        } else {
            model.ConnectSelection(c.selected, c.mark);
        }
        EXPECT_EQ(library.CountOf("SetWL_SSID"), c.joined ? 1 : 0) << c.selected << "/" << c.mark;
        EXPECT_EQ(library.ssid, c.joined ? c.joined : "") << c.selected << "/" << c.mark;
    }
}

}  // namespace
}  // namespace hx
