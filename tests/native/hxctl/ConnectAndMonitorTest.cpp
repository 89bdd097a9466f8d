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
        {"", "link=up ssid=Net auth=wpa2-psk pairwise-key=yes group-key=no failed-joins=2 joins=6", JoinProgress::Waiting},
        {"", "link=up ssid=Net auth=wpa2 pairwise-key=no group-key=no failed-joins=2 joins=6", JoinProgress::Waiting},
        {"", "link=up ssid=Net auth=wpa2-psk pairwise-key=yes group-key=yes failed-joins=2 joins=6", JoinProgress::Joined},
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

// Each event as a script sees it (-t): the changed fields as "name: value" lines.
TEST(MonitorEvents, EachChangeBetweenTwoStatusRecordsIsOneEvent) {
    const std::string up = "link=up ssid=Net bssid=00-00-00-00-00-01 channel=6 auth=wpa-psk pairwise-key=yes group-key=yes failed-joins=0";
    struct Case {
        std::string before, after;
        std::string lines;
    } cases[] = {
        {up, up, ""},
        {"link=down failed-joins=0", up,
         "link: up|ssid: Net|bssid: 00-00-00-00-00-01|channel: 6|pairwise-key: yes|group-key: yes|"},
        {up, "link=down failed-joins=0", "link: down|"},
        {up, "link=up ssid=Net bssid=00-00-00-00-00-02 channel=6 auth=wpa-psk pairwise-key=yes group-key=yes",
         "bssid: 00-00-00-00-00-02|"},
        {up, "link=up ssid=Cafe bssid=00-00-00-00-00-02 channel=1 auth=open", "ssid: Cafe|bssid: 00-00-00-00-00-02|"},
        {"link=up ssid=Net auth=wpa-psk pairwise-key=yes group-key=no", "link=up ssid=Net auth=wpa-psk pairwise-key=yes group-key=yes",
         "pairwise-key: yes|group-key: yes|"},
        {"link=up ssid=Net failed-joins=1", "link=down failed-joins=2", "link: down|failed-joins: 2|"},
        {"adapter=no link=down", "link=down", "adapter: yes|"},
        {up, "adapter=no link=down", "adapter: no|link: down|"},
        {"link=down", "control=windows link=down", "control: windows|"},
        {"control=windows link=down", "link=down", "control: utility|"},
    };
    for (const Case& c : cases) {
        std::string lines;
        for (const MonitorEvent& event : EventsBetween(Status(c.before), Status(c.after)))
            for (const auto& [name, value] : event.fields) lines += name + ": " + value + "|";
        EXPECT_EQ(lines, c.lines) << c.before << " => " << c.after;
    }
    // For people, one line each.
    const auto unplugged = EventsBetween(Status(up), Status("adapter=no link=down"));
    ASSERT_EQ(unplugged.size(), 2u);
    EXPECT_EQ(EventText(unplugged[0]), "adapter unplugged");
    EXPECT_EQ(EventText(unplugged[1]), "link down: Net");
}

}  // namespace
}  // namespace hx::ctl
