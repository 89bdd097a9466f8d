// A crowded street: the default world and 150 more access points, some heard on two
// channels, so the adapter's list is many times the 12004 bytes it is first read into. The
// Site Survey page lists every network, and a WPA-PSK join from it runs the real worker
// and supplicant to installed keys: the worker finds the access point's WPA element in the
// same long list.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "TempFolder.h"
#include "adapter/AdapterLibrary.h"
#include "auth/AuthWorker.h"
#include "auth/SupplicantLibrary.h"
#include "config/LastSettingStore.h"
#include "config/MemoryAppProfile.h"
#include "config/SettingApplier.h"
#include "pages/SiteSurveyModel.h"
#include "tests/fakes/CrowdedStreet.h"
#include "tests/fakes/FolderPort.h"
#include "tests/fakes/RecordingShellPort.h"
#include "tests/native/sim/SimTestSupport.h"

namespace hx {
namespace {

using namespace std::chrono_literals;

class ListedRows final : public SurveyView {
public:
    void EnableRefresh(bool) override {}
    void EnableConnect(bool) override {}
    void EnableList(bool) override {}
    void ShowRows(const std::vector<SurveyRow>& shown) override { rows = shown; }
    void SelectRow(int) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return true; }  // previous WPA setting
    std::vector<SurveyRow> rows;
};

class NoMessages final : public WorkerMessagePort {
public:
    void ShowExclamation(const std::string& text) override { ADD_FAILURE() << text; }
};

std::string Show() { return hxsim::Control("show").text; }

template <typename Done>
bool WaitFor(Done done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

TEST(CrowdedStreet, SiteSurveyListsEveryNetworkAndAWpaPskJoinInstallsTheKeys) {
    hxsim::ResetWorld(simtest::DefaultWorldPlus(test::CrowdedStreetNetworks() +
                                                "\n[timing]\nscan = 100\nscan-jitter = 0\n"),
                      /*manualClock=*/false);
    UtilityState state;
    InitialiseProcessState(state);
    ASSERT_TRUE(simtest::OpenLikeTheUtility(state.adapter));
    state.current.Dot1xPassphrase = "aes-passphrase";  // the stored WPA-PSK setting

    AdapterLibrary& library = ExportedAdapterLibrary();
    MemoryAppProfile profile;
    LastSettingStore store{profile};
    suptest::TempFolder folder;
    test::FolderPort directory{folder.path()};
    NoMessages messages;
    const auto previousFolder = std::filesystem::current_path();
    // The worker waits 30 link polls for the association, which takes 400 ms here.
    AuthWorker worker{library, ExportedSupplicantLibrary(), state, profile, directory, messages, WorkerTiming{50ms}};
    SettingApplier applier{library, state, store, worker};
    test::RecordingShellPort shell;
    ListedRows view;
    SiteSurveyModel page{library, state, applier, worker, shell, view};

    page.Refresh();
    ASSERT_TRUE(WaitFor([] { return Show().find("scanning") == std::string::npos; }, 3s));
    const int unfilteredBytes = hxsim::WithWorld([](hxsim::World& w) { return hxsim::SurveyListSize(w.LastScan()); });
    ASSERT_GT(unfilteredBytes, 2 * kSurveyBufferSize) << "the list needs two larger reads";
    page.FillList();

    std::set<std::string> ssids;
    for (const SurveyRow& row : view.rows) ssids.insert(row[1]);
    EXPECT_EQ(view.rows.size(), 8u + test::kCrowdedStreetNetworks) << "one row per network, echoes filtered";
    std::vector<std::string> missing;
    for (int i = 0; i < test::kCrowdedStreetNetworks; ++i)
        if (ssids.count(test::CrowdedStreetSsid(i)) == 0) missing.push_back(test::CrowdedStreetSsid(i));
    EXPECT_EQ(missing, std::vector<std::string>{});
    int office = -1;
    for (size_t i = 0; i < view.rows.size(); ++i)
        if (view.rows[i][1] == "WPA-AES-Office") office = static_cast<int>(i);
    ASSERT_GE(office, 0);
    EXPECT_EQ(view.rows[static_cast<size_t>(office)][0], "06-A0-88-00-00-04");

    page.Connect(office);
    EXPECT_TRUE(WaitFor([] { return Show().find("port.authorised: yes") != std::string::npos; }, 15s))
        << Show() << hxsim::Control("events").text << store.ReadLastSettingString(kWpaElementValue);
    EXPECT_NE(Show().find("keys.installed: [pairwise 0 16 bytes matches] [group 1 16 bytes matches]"),
              std::string::npos)
        << Show();
    const std::string element = store.ReadLastSettingString(kWpaElementValue);
    EXPECT_EQ(element.rfind("DD ", 0), 0u) << element;
    EXPECT_NE(element.find("00 50 F2 01"), std::string::npos) << "the WPA element, found in the long list: " << element;
    worker.StopWorker();
    std::filesystem::current_path(previousFolder);
}

}  // namespace
}  // namespace hx
