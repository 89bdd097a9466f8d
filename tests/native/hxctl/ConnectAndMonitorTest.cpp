#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/hxctl/ConnectWatch.h"
#include "tools/hxctl/MonitorEvents.h"

namespace hx::ctl {
namespace {

// A status record from its wire text, on a present adapter the utility controls unless the
// text says otherwise.
ControlRecord Status(const std::string& text) {
    ControlRecord status;
    status.Set("adapter", "yes").Set("control", "utility");
    const auto given = ParseControlRecord(text);
    EXPECT_TRUE(given.has_value()) << text;
    if (given)
        for (const auto& [name, value] : given->fields) status.Set(name, value);
    return status;
}

const std::string kBefore = "link=up ssid=Old bssid=00-00-00-00-00-01 auth=open failed-joins=2 joins=5";

TEST(ConnectWatch, JudgesTheJoinFromSuccessiveStatusRecords) {
    struct Case {
        std::string bssid;   // asked for
        std::string status;
        JoinProgress expected;
    } cases[] = {
        {"", "link=up ssid=Old auth=open failed-joins=2 joins=5", JoinProgress::Waiting},   // before the new join
        {"", "link=up ssid=Net auth=open failed-joins=2 joins=5", JoinProgress::Waiting},   // joins not counted up yet
        {"", "link=down auth=open failed-joins=2 joins=6", JoinProgress::Waiting},
        {"", "link=up ssid=Net auth=open failed-joins=2 joins=6", JoinProgress::Joined},
        {"", "link=up ssid=Net auth=shared cipher=wep failed-joins=2 joins=7", JoinProgress::Joined},
        {"", "link=up ssid=Other auth=open failed-joins=2 joins=6", JoinProgress::Waiting},
        {"", "link=up ssid=Net auth=wpa-psk pairwise-key=yes group-key=no failed-joins=2 joins=6", JoinProgress::Waiting},
        {"", "link=up ssid=Net auth=wpa-psk pairwise-key=yes group-key=yes failed-joins=2 joins=6", JoinProgress::Joined},
        {"", "link=up ssid=Net auth=wpa pairwise-key=no group-key=yes failed-joins=2 joins=6", JoinProgress::Waiting},
        {"", "link=down auth=wpa-psk failed-joins=3 joins=6", JoinProgress::Failed},
        {"", "link=up ssid=Net auth=wpa-psk failed-joins=3 joins=5", JoinProgress::Failed},
        {"00-11-22-AA-BB-CC", "link=up ssid=Net bssid=00-11-22-aa-bb-cc auth=open joins=6", JoinProgress::Joined},
        {"00-11-22-AA-BB-CC", "link=up ssid=Net bssid=00-11-22-aa-bb-cd auth=open joins=6", JoinProgress::Waiting},
        {"", "adapter=no link=up ssid=Net auth=open joins=6", JoinProgress::Waiting},
    };
    for (const Case& c : cases) {
        const ConnectWatch watch("Net", c.bssid, Status(kBefore));
        EXPECT_EQ(watch.Judge(Status(c.status)), c.expected) << c.status;
    }
    // A utility that does not count joins: the link on that SSID alone decides.
    EXPECT_EQ(ConnectWatch("Old", "", Status("link=down")).Judge(Status("link=up ssid=Old auth=open")), JoinProgress::Joined);
}

TEST(ConnectWatch, TimeoutIsNoSuchNetworkWhenTheLastSurveyLacksTheSsid) {
    const ConnectWatch watch("Net", "", Status(kBefore));
    std::vector<ControlRecord> survey = {*ParseControlRecord("survey=3 scanning=no"),
                                         *ParseControlRecord("bssid=00-00-00-00-00-09 ssid=Nettle security=open")};
    EXPECT_EQ(watch.TimeoutStatus(survey), ExitStatus::NoSuchThing);
    survey.push_back(*ParseControlRecord("bssid=00-00-00-00-00-0A ssid=Net security=WEP"));
    EXPECT_EQ(watch.TimeoutStatus(survey), ExitStatus::Timeout);
}

TEST(MonitorEvents, EachChangeBetweenTwoStatusRecordsIsOneEvent) {
    const std::string up = "link=up ssid=Net bssid=00-00-00-00-00-01 channel=6 auth=wpa-psk pairwise-key=yes group-key=yes failed-joins=0";
    struct Case {
        std::string before, after;
        std::vector<std::string> events;   // terse name and detail
    } cases[] = {
        {up, up, {}},
        {"link=down failed-joins=0", up, {"link-up Net (00-00-00-00-00-01, channel 6)", "keys-installed Net"}},
        {up, "link=down failed-joins=0", {"link-down Net"}},
        {up, "link=up ssid=Net bssid=00-00-00-00-00-02 channel=6 auth=wpa-psk pairwise-key=yes group-key=yes",
         {"bssid-changed 00-00-00-00-00-01 -> 00-00-00-00-00-02"}},
        {up, "link=up ssid=Cafe bssid=00-00-00-00-00-02 channel=1 auth=open", {"ssid-changed Net -> Cafe"}},
        {"link=up ssid=Net auth=wpa-psk pairwise-key=yes group-key=no", "link=up ssid=Net auth=wpa-psk pairwise-key=yes group-key=yes",
         {"keys-installed Net"}},
        {"link=up ssid=Net failed-joins=1", "link=down failed-joins=2", {"link-down Net", "join-failed 2"}},
        {"adapter=no link=down", "link=down", {"adapter-plugged "}},
        {up, "adapter=no link=down", {"adapter-unplugged ", "link-down Net"}},
        {"link=down", "control=windows link=down", {"zero-config-took "}},
        {"control=windows link=down", "link=down", {"zero-config-gave-back "}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> seen;
        for (const MonitorEvent& event : EventsBetween(Status(c.before), Status(c.after)))
            seen.push_back(std::string(EventName(event.kind)) + " " + event.detail);
        EXPECT_EQ(seen, c.events) << c.before << " => " << c.after;
    }
}

}  // namespace
}  // namespace hx::ctl
