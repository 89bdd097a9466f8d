#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Heartbeat.h"
#include "tests/fakes/FakeAdapterLibrary.h"
#include "tests/fakes/ScriptedAdapterOperations.h"
#include "tests/fakes/RecordingShellPort.h"

namespace hx {
namespace {

using Calls = std::vector<std::string>;

class HeartbeatTest : public ::testing::Test {
protected:
    HeartbeatTest() {
        InitialiseProcessState(state);
        library.OnCall("QueryWL_DriverVersion", [this] { shell.calls.push_back("DriverVersion"); });
        heartbeat.Start();
        operations.linkToReport.linkSpeed = 54000;
        operations.linkToReport.signalStrength = 80;  // set 9
    }

    // Runs one tick and returns what it did.
    Calls Tick() {
        shell.calls.clear();
        heartbeat.OnPollTick();
        return shell.calls;
    }
    // Brings the adapter to the ready state and forgets the start-up hide.
    void MakeReady() {
        operations.adapterPlugged = true;
        Tick();
        ASSERT_EQ(state.adapterReady, 1);
    }

    UtilityState state;
    test::RecordingShellPort shell;
    test::FakeAdapterLibrary library;
    test::ScriptedAdapterOperations operations{state, shell.calls};
    Heartbeat heartbeat{state, shell, operations, library};
};

TEST_F(HeartbeatTest, WithoutAnAdapterEveryTickHidesAndShowsTheAbsentSet) {
    EXPECT_EQ(Tick(), (Calls{"HideMainWindow", "Discover", "HideMainWindow", "ShowTraySet(0)"}));
    EXPECT_EQ(Tick(), (Calls{"Discover", "HideMainWindow", "ShowTraySet(0)"}));
    EXPECT_EQ(state.adapterReady, 0);
    EXPECT_EQ(library.CountOf("QueryWL_DriverVersion"), 0);
}

TEST_F(HeartbeatTest, APluggedAdapterIsFoundIdentifiedAndPolledInOneTick) {
    Tick();
    operations.adapterPlugged = true;
    EXPECT_EQ(Tick(), (Calls{"Discover", "Identify", "DriverVersion", "CheckZeroConfiguration",
                             "PollLink", "ShowTraySet(9)"}));
    EXPECT_EQ(state.adapterReady, 1);
    // Once ready, discovery is not run again.
    EXPECT_EQ(Tick(), (Calls{"DriverVersion", "CheckZeroConfiguration", "PollLink", "ShowTraySet(9)"}));
}

TEST_F(HeartbeatTest, FailedIdentificationLeavesTheAdapterAbsent) {
    operations.adapterPlugged = true;
    operations.identifySucceeds = false;
    Tick();
    EXPECT_EQ(Tick(), (Calls{"Discover", "Identify", "HideMainWindow", "ShowTraySet(0)"}));
    EXPECT_EQ(state.adapterReady, 0);
    EXPECT_EQ(library.CountOf("QueryWL_DriverVersion"), 0);
}

TEST_F(HeartbeatTest, ALostAdapterIsLookedForAgainOnTheNextTick) {
    MakeReady();
    library.Fail("QueryWL_DriverVersion");
    EXPECT_EQ(Tick(), (Calls{"DriverVersion", "HideMainWindow", "ShowTraySet(0)"}));
    EXPECT_EQ(state.adapterReady, 0);
    EXPECT_EQ(Tick(), (Calls{"Discover", "Identify", "DriverVersion", "CheckZeroConfiguration",
                             "PollLink", "ShowTraySet(9)"}));
}

TEST_F(HeartbeatTest, ZeroConfigurationInControlWithdrawsWithoutPolling) {
    MakeReady();
    operations.wzcStatus = Wzc::ServiceControl;
    EXPECT_EQ(Tick(), (Calls{"DriverVersion", "CheckZeroConfiguration", "HideMainWindow", "ShowTraySet(10)"}));
    EXPECT_EQ(state.adapterReady, 1) << "the adapter stays ready while the service has it";
    operations.wzcStatus = Wzc::OwnNoStop;
    EXPECT_EQ(Tick(), (Calls{"DriverVersion", "CheckZeroConfiguration", "PollLink", "ShowTraySet(9)"}));
}

TEST_F(HeartbeatTest, AFailedPollStillShowsTheLinkAndRediscoversNextTick) {
    MakeReady();
    operations.linkToReport.linkSpeed = 11000;
    operations.linkToReport.signalStrength = 30;
    Tick();
    operations.pollFails = true;
    // The icon follows the values the failed poll left behind.
    EXPECT_EQ(Tick(), (Calls{"DriverVersion", "CheckZeroConfiguration", "PollLink", "ShowTraySet(3)"}));
    EXPECT_EQ(state.adapterReady, 0);
    operations.pollFails = false;
    EXPECT_EQ(Tick().front(), "Discover");
}

TEST_F(HeartbeatTest, StartUpHideHappensOnceWhicheverTimerComesFirst) {
    heartbeat.OnHideTimer();
    EXPECT_EQ(shell.calls, (Calls{"HideMainWindow"}));
    EXPECT_FALSE(heartbeat.HidePending());
    operations.adapterPlugged = true;
    EXPECT_EQ(Tick().front(), "Discover") << "the first tick hides only while the hide is pending";

    Heartbeat other{state, shell, operations, library};
    other.Start();
    shell.calls.clear();
    other.OnPollTick();
    EXPECT_EQ(shell.calls.front(), "HideMainWindow");
    EXPECT_FALSE(other.HidePending());
}

// The survey countdown runs only on ticks that reach its step (a ready adapter that this
// utility controls): a scan started with 4 is collected on the fifth such tick.
TEST_F(HeartbeatTest, SurveyIsCollectedOnTheFifthTickThatReachesTheStep) {
    MakeReady();
    struct Step {
        bool plugged;
        int wzc;
        bool collects;
        int countdownAfter;
    };
    const std::vector<Step> steps{
        {true, Wzc::OwnControl, false, 3},
        {true, Wzc::OwnControl, false, 2},
        {false, Wzc::OwnControl, false, 2},      // unplugged: the tick ends before the step
        {true, Wzc::ServiceControl, false, 2},   // replugged, but the service has it
        {true, Wzc::OwnControl, false, 1},
        {true, Wzc::OwnControl, false, 0},
        {true, Wzc::OwnControl, true, -1},       // fifth tick that counts
        {true, Wzc::OwnControl, false, -1},
    };
    state.pendingSurveyCountdown = 4;
    for (size_t i = 0; i < steps.size(); ++i) {
        operations.adapterPlugged = steps[i].plugged;
        if (!steps[i].plugged) library.Fail("QueryWL_DriverVersion");
        operations.wzcStatus = steps[i].wzc;
        const Calls calls = Tick();
        const bool collected = std::find(calls.begin(), calls.end(), "CollectSiteSurvey") != calls.end();
        EXPECT_EQ(collected, steps[i].collects) << "tick " << i;
        EXPECT_EQ(state.pendingSurveyCountdown, steps[i].countdownAfter) << "tick " << i;
    }
}

TEST_F(HeartbeatTest, ATickStartedInsideAnotherIsIgnored) {
    operations.adapterPlugged = true;
    int nested = 0;
    library.OnCall("QueryWL_DriverVersion", [&] {
        if (nested++ == 0) heartbeat.OnPollTick();  // as from a modal loop inside the tick
    });
    const Calls calls = Tick();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Discover"), 1);
    EXPECT_EQ(library.CountOf("QueryWL_DriverVersion"), 1);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "PollLink"), 1);
}

}  // namespace
}  // namespace hx
