// The Site Survey page's Connect with each driver-library call failing in turn. Connect
// checks no result: a refused value is simply not stored, the steps after it still run,
// the worker and the page switch go as without the failure. Only the WEP keys go as one
// unit: a refused key ends the key writes, and neither the keys after it nor the length,
// default key and encryption are stored.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "pages/SiteSurveyModel.h"
#include "tests/fakes/RecordingShellPort.h"
#include "tests/native/faultsweep/SweepWorld.h"

namespace hx::sweep {
namespace {

class AnsweringView final : public SurveyView {
public:
    explicit AnsweringView(bool answer) : answer_(answer) {}
    void EnableRefresh(bool) override {}
    void EnableConnect(bool) override {}
    void EnableList(bool) override {}
    void ShowRows(const std::vector<SurveyRow>&) override {}
    void SelectRow(int) override {}
    bool AskYesNo(const std::string&, const std::string&) override {
        ++questions;
        return answer_;
    }
    void Tell(const std::string&) override {}
    int questions = 0;

private:
    bool answer_;
};

struct ConnectWorld : SweepWorld {
    test::RecordingShellPort shell;
    AnsweringView view;
    SiteSurveyModel model{ledger.Library(), state, applier, worker, shell, view};
    int row = -1;

    ConnectWorld(const std::string& ssid, bool answer) : view(answer) {
        state.current.WEPKeyLength = 64;
        state.current.WEPKey = {"12 34 56 78 90", "01 02 03 04 05", "0A 0B 0C 0D 0E", "10 11 12 13 14"};
        state.current.Dot1xPassphrase = "tkip-passphrase";
        hxsim::AdvanceClock(3000);  // the power-on scan has ended
        model.FillList();
        const auto& entries = model.Entries();
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].ssid == ssid && row < 0) row = static_cast<int>(i);
        EXPECT_GE(row, 0) << ssid << " is listed";
        ledger.Mark("connect");
    }
    std::string LastPage() const {
        for (auto it = shell.calls.rbegin(); it != shell.calls.rend(); ++it)
            if (it->rfind("ShowPage(", 0) == 0) return *it;
        return "";
    }
};

// The values a failing call keeps from being stored during Connect.
std::set<std::string> NotStoredWhenFailing(const CallSite& site) {
    if (site.call == "SetWL_Channel") return {"Channel"};
    if (site.call == "SetWL_SSID") return {"SSID"};
    if (site.call == "SetWL_NetworkType") return {"NetworkType"};
    if (site.call == "SetWL_AuthenticationMode") return {"AuthenticationMode"};
    if (site.call == "SetWL_WEPStatus") return {"WEPStatus"};
    if (site.call == "SetWL_WriteKey") {
        std::set<std::string> values{"WEPKeyLength", "WEPDefaultKeyId", "WEPStatus"};
        for (int i = site.occurrence - 1; i < 4; ++i) values.insert(WepKeyValueName(64, i));
        return values;
    }
    return {};
}

std::vector<std::string> StoresAfterConnect(const Ledger& ledger) {
    const auto entries = ledger.Entries();
    const auto start = std::find(entries.begin(), entries.end(), "connect");
    return StoresIn(std::vector<std::string>(start, entries.end()));
}

TEST(ConnectSweep, EveryFailingCallLeavesOnlyItsOwnValueUnstored) {
    const struct {
        const char* ssid;
        bool answer;
        const char* page;
        bool workerStarts;
    } cases[] = {
        {"Open-Lobby", true, "ShowPage(LinkInfo)", false},
        {"AdHoc-Cell", true, "ShowPage(LinkInfo)", false},
        {"WEP-Lab", true, "ShowPage(LinkInfo)", false},
        {"WPA-TKIP-Home", true, "ShowPage(LinkInfo)", true},
        {"WPA-TKIP-Home", false, "ShowPage(Encryption)", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.ssid) + (c.answer ? ", Yes" : ", No"));
        ConnectWorld reference(c.ssid, c.answer);
        const size_t before = reference.ledger.Calls().size();
        reference.model.Connect(reference.row);
        ASSERT_EQ(reference.LastPage(), c.page);
        ASSERT_EQ(reference.WorkerStarted(), c.workerStarts);
        const std::vector<std::string> referenceStores = StoresAfterConnect(reference.ledger);
        const std::vector<CallSite> calls = reference.ledger.Calls();
        ASSERT_GT(calls.size(), before + 3);

        for (size_t i = before; i < calls.size(); ++i) {
            const CallSite& site = calls[i];
            SCOPED_TRACE(site.Describe());
            ConnectWorld world(c.ssid, c.answer);
            world.ledger.Arm(site);
            world.model.Connect(world.row);
            ASSERT_TRUE(world.ledger.FailedAt().has_value());

            const std::set<std::string> dropped = NotStoredWhenFailing(site);
            std::vector<std::string> expected;
            std::copy_if(referenceStores.begin(), referenceStores.end(), std::back_inserter(expected),
                         [&](const std::string& store) {
                             return std::none_of(dropped.begin(), dropped.end(),
                                                 [&](const std::string& value) { return Writes(store, value); });
                         });
            EXPECT_EQ(StoresAfterConnect(world.ledger), expected);
            EXPECT_EQ(world.LastPage(), c.page);
            EXPECT_EQ(world.WorkerStarted(), c.workerStarts) << "the worker does not depend on the applied values";
            EXPECT_EQ(world.view.questions, reference.view.questions);
            EXPECT_EQ(world.state.current.SSID, c.ssid) << "the joined network's fields are in the setting";
            EXPECT_TRUE(world.Has("worker:stop"));
        }
    }
}

}  // namespace
}  // namespace hx::sweep
