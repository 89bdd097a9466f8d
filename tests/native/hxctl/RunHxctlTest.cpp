#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "tools/hxctl/HxctlPorts.h"

namespace hx::ctl {
namespace {

// The utility as a queue of replies; every request sent is recorded. An empty queue is a
// utility that is not running, an empty reply one whose window is up but not its channel.
// The clock moves on with each sleep.
class ScriptedPorts : public HxctlPorts {
public:
    std::deque<std::string> replies;
    std::vector<std::string> sent;
    std::optional<std::string> input;
    std::string out, err;
    long long now = 0;

    Exchange Transact(const std::string& request) override {
        sent.push_back(request.substr(0, request.size() - 1));
        Exchange exchange;
        if (replies.empty()) {
            exchange.message = "HX-88U Utility is not running";
            return exchange;
        }
        if (replies.front().empty()) {
            replies.pop_front();
            exchange.starting = true;
            return exchange;
        }
        exchange.reached = true;
        exchange.reply = replies.front();
        replies.pop_front();
        return exchange;
    }
    void Sleep(int milliseconds) override { now += milliseconds; }
    long long NowMilliseconds() override { return now; }
    std::string TimeOfDay() override { return "12:00:00"; }
    bool Interrupted() override { return replies.empty(); }
    std::optional<std::string> ReadPassphraseFromInput(bool) override { return input; }
    FileText ReadFile(const std::string&, size_t) override { return {}; }
    void Out(std::string_view text) override { out += text; }
    void Err(std::string_view text) override { err += text; }
    XmlDocument ReadXml(std::string_view) override { return {}; }
};

// Whole invocations: what was sent, in order, and the exit status.
TEST(RunHxctl, EachVerbSendsItsRequestsAndEndsWithItsStatus) {
    const std::string idle = "status=ok\nadapter=yes control=utility link=down auth=open failed-joins=0 joins=1\n";
    const std::string joined = "status=ok\nadapter=yes control=utility link=up ssid=Net auth=wpa-psk pairwise-key=yes "
                               "group-key=yes failed-joins=0 joins=2\n";
    const std::string failed = "status=ok\nadapter=yes control=utility link=down auth=wpa-psk failed-joins=1 joins=2\n";
    const std::string starting = "status=error code=8 message=starting starting=yes\n";
    const std::vector<std::string> fiveStatus(5, "verb=status");
    struct Case {
        std::vector<std::string> args;
        std::optional<std::string> input;
        std::vector<std::string> replies;
        std::vector<std::string> sent;
        int status;
    } cases[] = {
        {{"status"}, {}, {idle}, {"verb=status"}, 0},
        {{"status"}, {}, {}, {"verb=status"}, 8},
        {{"status"}, {}, {"status=ok"}, {"verb=status"}, 1},   // no line end: unreadable
        {{"profile", "load", "X"}, {}, {"status=error code=10 message=no\n"}, {"verb=profile-load name=X"}, 10},
        {{"connect", "X"}, {}, {idle, "status=error code=5 message=no\n"}, {"verb=status", "verb=connect ssid=X"}, 5},
        {{"profile", "load", "X"}, {}, {"status=error code=77 message=odd\n"}, {"verb=profile-load name=X"}, 1},
        {{"connect", "Net"}, std::string("1234567"), {idle}, {}, 2},
        {{"connect", "Net", "--passphrase"}, {}, {idle}, {}, 2},
        {{"connect", "Net"}, std::string("secret123"),
         {"status=ok\nsurvey=1 scanning=no\nssid=Net\n", idle, "status=ok\n", idle, joined},
         {"verb=survey", "verb=status", "verb=connect ssid=Net passphrase=secret123", "verb=status", "verb=status"}, 0},
        // A WPA network the last survey did not list is surveyed first, so that its cipher is known.
        {{"connect", "Net"}, std::string("secret123"),
         {"status=ok\nsurvey=1 scanning=no\n", "status=ok\nsurvey=1\n", "status=ok\nsurvey=2 scanning=no\nssid=Net\n",
          idle, "status=ok\n", idle, joined},
         {"verb=survey", "verb=scan", "verb=survey", "verb=status", "verb=connect ssid=Net passphrase=secret123",
          "verb=status", "verb=status"}, 0},
        {{"connect", "Net"}, {}, {idle, "status=ok\n", idle, failed},
         {"verb=status", "verb=connect ssid=Net", "verb=status", "verb=status"}, 4},
        {{"connect", "Net", "--wait", "0"}, {}, {idle, "status=ok\n", idle, "status=ok\nsurvey=1 scanning=no\n"},
         {"verb=status", "verb=connect ssid=Net", "verb=status", "verb=survey"}, 10},
        {{"scan"}, {}, {"status=ok\nsurvey=4\n", "status=ok\nsurvey=4 scanning=yes\n", "status=ok\nsurvey=5 scanning=no\nssid=Net\n"},
         {"verb=scan", "verb=survey", "verb=survey"}, 0},
        {{"scan", "--wait", "0"}, {}, {"status=ok\nsurvey=4\n", "status=ok\nsurvey=4 scanning=yes\n"},
         {"verb=scan", "verb=survey"}, 3},
        {{"monitor"}, {}, {idle, joined}, {"verb=status", "verb=status"}, 0},
        // A starting utility is asked again: its window up before its channel, then its
        // channel up before its first look for the adapter.
        {{"profile", "load", "X"}, {}, {"", starting, "status=ok\n"}, std::vector<std::string>(3, "verb=profile-load name=X"), 0},
        {{"status", "--wait", "0"}, {}, {starting}, {"verb=status"}, 8},
        // One not running at all only with --wait, for as long as it says.
        {{"status", "--wait", "1"}, {}, {}, fiveStatus, 8},
    };
    for (const Case& c : cases) {
        ScriptedPorts ports;
        ports.input = c.input;
        ports.replies.assign(c.replies.begin(), c.replies.end());
        EXPECT_EQ(RunHxctl(c.args, ports), c.status) << c.args.front() << ports.err;
        EXPECT_EQ(ports.sent, c.sent) << c.args.front();
        EXPECT_EQ(ports.err.empty(), c.status == 0) << ports.err;
    }
}

}  // namespace
}  // namespace hx::ctl
