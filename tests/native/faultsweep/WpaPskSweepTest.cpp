// A WPA-PSK run of the real authentication worker, with the real supplicant against the
// simulated access point, with each driver-library call failing in turn. Whatever fails,
// the worker stops within a second when asked and gives the Zero Configuration service
// back; "Dot1xWPAIEs" holds either the network's WPA element or what it held before,
// never anything else. A failure the run can recover from (a missed link query, a lost
// key write) ends in an authorised port all the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "auth/AuthWorker.h"
#include "auth/SupplicantLibrary.h"
#include "tests/fakes/FolderPort.h"
#include "tests/fakes/ObservedSupplicantLibrary.h"
#include "tests/native/faultsweep/SweepWorld.h"
#include "tests/native/supplicant/TempFolder.h"

namespace hx::sweep {
namespace {

using namespace std::chrono_literals;
using hx::test::FolderPort;

constexpr const char* kEarlierElement = "DD 04 00 50 F2 00";

class NoMessages final : public WorkerMessagePort {
public:
    void ShowExclamation(const std::string&) override { ADD_FAILURE() << "no message in a WPA-PSK run"; }
};

bool ShowHas(const std::string& text) { return hxsim::Control("show").text.find(text) != std::string::npos; }

struct PskWorld {
    Ledger ledger;
    LedgerProfile profile{ledger};
    UtilityState state;
    suptest::TempFolder folder;
    FolderPort directory{folder.path()};
    NoMessages messages;
    test::ObservedSupplicantLibrary supplicant{ExportedSupplicantLibrary(),
                                               [this](const char* call) { ledger.Mark(std::string("sup:") + call); }};
    std::filesystem::path previous = std::filesystem::current_path();
    std::unique_ptr<AuthWorker> worker;

    // Associated with the TKIP network, its survey record in the adapter's last list. The
    // world runs in real time: the worker looks at the link only every 31st handshake step,
    // which the adapter's rejoin after a deauthentication takes longer than.
    PskWorld() {
        hxsim::ResetWorld(simtest::DefaultWorldPlus("[timing]\nscan = 100\nscan-jitter = 0\nhandshake-timeout = 1500\n"),
                          /*manualClock=*/false);
        InitialiseProcessState(state);
        EXPECT_TRUE(simtest::OpenLikeTheUtility(state.adapter));
        const std::string ssid = "WPA-TKIP-Home";
        EXPECT_EQ(SetWL_NetworkType(&state.adapter, NetworkType::Infrastructure), 0);
        EXPECT_EQ(SetWL_AuthenticationMode(&state.adapter, AuthMode::WpaPsk), 0);
        EXPECT_EQ(SetWL_WEPStatus(&state.adapter, WepStatus::Tkip), 0);
        EXPECT_EQ(SetWL_SSID(&state.adapter, ssid.c_str(), static_cast<int>(ssid.size())), 0);
        EXPECT_TRUE(RunUntil([&] { return QueryWL_ConnectState(&state.adapter) == 0 && !ShowHas("scanning"); }, 3s));
        WlanSetting& s = state.current;
        s.SSID = ssid;
        s.NetworkType = NetworkType::Infrastructure;
        s.AuthenticationMode = AuthMode::WpaPsk;
        s.WEPStatus = WepStatus::Tkip;
        s.Dot1xPassphrase = "tkip-passphrase";
        s.Dot1xWPAIEs = kEarlierElement;
        profile.Seed(kLastSettingSection, kWpaElementValue, std::string(kEarlierElement));
        worker = std::make_unique<AuthWorker>(ledger.Library(), supplicant, state, profile, directory, messages,
                                              WorkerTiming{5ms});
    }
    ~PskWorld() {
        worker.reset();
        std::filesystem::current_path(previous);
    }

    // Waits until done() or the time is up.
    template <typename Done>
    static bool RunUntil(Done done, std::chrono::milliseconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }
    std::chrono::steady_clock::duration TimedStop() {
        const auto start = std::chrono::steady_clock::now();
        worker->StopWorker();
        return std::chrono::steady_clock::now() - start;
    }
    std::string StoredElement() { return profile.ReadString(kLastSettingSection, kWpaElementValue, ""); }
    std::string CurrentElement() {
        std::lock_guard lock(state.currentSettingMutex);
        return state.current.Dot1xWPAIEs;
    }
    bool Reached(const std::string& supplicantCall) {
        const auto entries = ledger.Entries();
        return std::find(entries.begin(), entries.end(), "sup:" + supplicantCall) != entries.end();
    }
};

enum class PskOutcome {
    Authorised,    // the run recovers (or the failure is not on its path)
    EndsQuietly,   // the worker ends by itself before the key negotiation
    KeepsTrying,   // negotiates with a wrong input and is refused, until stopped
};

PskOutcome ExpectedOutcome(const CallSite& site) {
    // The access point's BSSID (read once, before the survey) and the text of the
    // network's only vendor element: without them there is nothing to negotiate with. (A
    // failed read of the survey list is tried again with a larger buffer.)
    if ((site.call == "QueryWL_BSSID" && site.occurrence == 1) || site.call == "BinToHexStr")
        return PskOutcome::EndsQuietly;
    // The own address and the element's bytes go into the handshake unchecked: the access
    // point cannot verify what the supplicant derives from them.
    if (site.call == "GetNICAdapterMAC" || site.call == "HexStrToBin") return PskOutcome::KeepsTrying;
    return PskOutcome::Authorised;
}

TEST(WpaPskSweep, EveryFailingCallLeavesAWorkerThatStopsAndAnElementThatIsWhole) {
    std::vector<CallSite> sites;
    std::string element;
    {
        PskWorld reference;
        reference.worker->StartWorker();
        ASSERT_TRUE(reference.RunUntil([] { return ShowHas("port.authorised: yes"); }, 10s))
            << hxsim::Control("show").text;
        sites = reference.ledger.Calls();
        element = reference.StoredElement();
        EXPECT_LT(reference.TimedStop(), 1s);
        ASSERT_EQ(reference.ledger.Calls().back().call, "HXStartWZCService");
        sites.push_back(reference.ledger.Calls().back());
        ASSERT_EQ(element.rfind("DD ", 0), 0u) << element;
        ASSERT_EQ(reference.CurrentElement(), element);
    }

    std::set<PskOutcome> outcomesSeen;
    for (const CallSite& site : sites) {
        SCOPED_TRACE(site.Describe());
        const PskOutcome expected = ExpectedOutcome(site);
        outcomesSeen.insert(expected);
        PskWorld world;
        world.ledger.Arm(site);
        world.worker->StartWorker();

        switch (expected) {
        case PskOutcome::Authorised:
            EXPECT_TRUE(world.RunUntil([] { return ShowHas("port.authorised: yes"); }, 15s))
                << hxsim::Control("show").text << hxsim::Control("events").text;
            break;
        case PskOutcome::EndsQuietly:
            world.RunUntil([] { return false; }, 300ms);
            EXPECT_FALSE(world.Reached("do_key_negotiation_init")) << "nothing to negotiate with";
            EXPECT_TRUE(world.worker->WorkerActive()) << "a worker that ended by itself keeps its run flag";
            break;
        case PskOutcome::KeepsTrying:
            EXPECT_TRUE(world.RunUntil([&] { return world.Reached("do_key_negotiation_init"); }, 3s));
            world.RunUntil([] { return false; }, 2500ms);
            EXPECT_TRUE(ShowHas("keys.installed: none")) << hxsim::Control("show").text;
            break;
        }
        // A link check of the negotiation may come after the port was authorised.
        if (site.call != "HXStartWZCService") {
            ASSERT_TRUE(world.RunUntil([&] { return world.ledger.FailedAt().has_value(); }, 3s));
        }

        EXPECT_LT(world.TimedStop(), 1s);
        EXPECT_FALSE(world.worker->WorkerActive());
        ASSERT_TRUE(world.ledger.FailedAt().has_value());
        if (site.call != "HXStartWZCService") {
            EXPECT_TRUE(ShowHas("wzc.service: running")) << "the service the worker stopped runs again";
        }
        if (world.Reached("do_key_negotiation_init")) {
            EXPECT_TRUE(world.Reached("Shutdown_Dot1x_Module"));
        }

        const std::string stored = world.StoredElement();
        if (expected == PskOutcome::EndsQuietly) {
            EXPECT_EQ(stored, kEarlierElement) << "an element that was not read leaves the stored one";
            EXPECT_EQ(world.CurrentElement(), kEarlierElement);
        } else {
            EXPECT_EQ(stored, element);
            EXPECT_EQ(world.CurrentElement(), element);
        }
    }
    EXPECT_EQ(outcomesSeen.size(), 3u);
}

}  // namespace
}  // namespace hx::sweep
