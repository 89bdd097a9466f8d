#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "auth/JoinFailureNotice.h"

namespace hx {
namespace {

using namespace std::chrono_literals;

// One report to the notice at a second after the start of the case; "take" is the UI thread
// taking a waiting text.
enum class Report { Start, Stop, Failed, Keys, Ended, Take };
struct Step {
    Report report;
    int second = 0;
    const char* ssid = "";
};

struct NoticeCase {
    const char* what;
    std::vector<Step> steps;
    std::vector<std::string> shown;   // the texts taken, in order
};

TEST(JoinFailureNotice, OncePerSettingAfterRepeatedFailuresOrAnEndWithoutKeys) {
    const std::string home = JoinFailureText("Home"), lab = JoinFailureText("Lab");
    const NoticeCase cases[] = {
        {"three attempts without a key within a minute",
         {{Report::Start, 0, "Home"}, {Report::Failed, 8}, {Report::Failed, 16}, {Report::Failed, 24}, {Report::Take}},
         {home}},
        {"three attempts spread over more than a minute",
         {{Report::Start, 0, "Home"}, {Report::Failed, 0}, {Report::Failed, 40}, {Report::Failed, 80}, {Report::Take}},
         {}},
        {"an attempt that got its key starts the count anew",
         {{Report::Start, 0, "Home"}, {Report::Failed, 5}, {Report::Failed, 10}, {Report::Keys, 15},
          {Report::Failed, 20}, {Report::Failed, 25}, {Report::Take}},
         {}},
        {"once per setting, however long it keeps failing",
         {{Report::Start, 0, "Home"}, {Report::Failed, 1}, {Report::Failed, 2}, {Report::Failed, 3}, {Report::Take},
          {Report::Failed, 4}, {Report::Failed, 5}, {Report::Failed, 6}, {Report::Ended, 7}, {Report::Take}},
         {home}},
        {"each setting applied may fail once",
         {{Report::Start, 0, "Home"}, {Report::Ended, 1}, {Report::Take},
          {Report::Start, 2, "Lab"}, {Report::Failed, 3}, {Report::Failed, 4}, {Report::Failed, 5}, {Report::Take}},
         {home, lab}},
        {"a worker that ends by itself without keys", {{Report::Start, 0, "Lab"}, {Report::Ended, 31}, {Report::Take}}, {lab}},
        {"a stopped worker is no failure, and drops a text not yet taken",
         {{Report::Start, 0, "Home"}, {Report::Failed, 1}, {Report::Failed, 2}, {Report::Failed, 3}, {Report::Stop, 4},
          {Report::Take}, {Report::Ended, 5}, {Report::Take}},
         {}},
        {"a new setting drops the old setting's text not yet taken",
         {{Report::Start, 0, "Home"}, {Report::Ended, 1}, {Report::Start, 2, "Lab"}, {Report::Take}},
         {}},
        {"reports before any setting was applied", {{Report::Failed, 1}, {Report::Failed, 2}, {Report::Failed, 3},
          {Report::Ended, 4}, {Report::Take}}, {}},
    };
    for (const NoticeCase& c : cases) {
        const auto origin = std::chrono::steady_clock::time_point{} + 1000s;
        auto now = origin;
        JoinFailureNotice notice([&] { return now; });
        int wakes = 0;
        notice.OnNoticeWaiting([&] { ++wakes; });
        std::vector<std::string> shown;
        for (const Step& step : c.steps) {
            now = origin + std::chrono::seconds(step.second);
            switch (step.report) {
            case Report::Start: notice.JoinStarted(step.ssid); break;
            case Report::Stop: notice.JoinStopped(); break;
            case Report::Failed: notice.AttemptEnded(false); break;
            case Report::Keys: notice.AttemptEnded(true); break;
            case Report::Ended: notice.EndedWithoutKeys(); break;
            case Report::Take:
                if (auto text = notice.TakeNotice()) shown.push_back(*text);
                break;
            }
        }
        EXPECT_EQ(shown, c.shown) << c.what;
        EXPECT_GE(wakes, static_cast<int>(c.shown.size())) << c.what << ": every notice wakes the UI thread";
    }
    EXPECT_EQ(JoinFailureText("Open-Lobby"), "Could not join Open-Lobby: the key or password may be wrong.");
}

}  // namespace
}  // namespace hx
