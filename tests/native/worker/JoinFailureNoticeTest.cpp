#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "auth/JoinFailureNotice.h"

namespace hx {
namespace {

// Reports at whole seconds: S<s>=<ssid> a start, X stop, F an attempt without a key, K one
// with its key, E an end by itself, T the UI thread taking a waiting text.
std::vector<std::string> Play(const std::string& script) {
    std::chrono::steady_clock::time_point now{};
    JoinFailureNotice notice([&] { return now; });
    std::vector<std::string> taken;
    std::istringstream words(script);
    for (std::string w; words >> w;) {
        now = std::chrono::steady_clock::time_point{} + std::chrono::seconds(std::atoi(w.c_str() + 1));
        switch (w[0]) {
        case 'S': notice.JoinStarted(w.substr(w.find('=') + 1)); break;
        case 'X': notice.JoinStopped(); break;
        case 'F': notice.AttemptEnded(false); break;
        case 'K': notice.AttemptEnded(true); break;
        case 'E': notice.EndedWithoutKeys(); break;
        case 'T': if (auto text = notice.TakeNotice()) taken.push_back(*text); break;
        }
    }
    return taken;
}

TEST(JoinFailureNotice, OncePerSettingAfterRepeatedFailuresOrAnEndWithoutKeys) {
    const std::string home = "Could not join Home: the key or password may be wrong.", lab = JoinFailureText("Lab");
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"S0=Home F8 F16 F24 T", {home}},                  // three failures within a minute
        {"S0=Home F0 F40 F80 T", {}},                      // spread over more than a minute
        {"S0=Home F5 F10 K15 F20 F25 T", {}},              // a key starts the count anew
        {"S0=Home F1 F2 F3 T F4 F5 F6 E7 T", {home}},      // once per setting
        {"S0=Home E1 T S2=Lab F3 F4 F5 T", {home, lab}},   // once for each setting applied
        {"S0=Home F1 F2 F3 X4 T E5 T", {}},                // a stop: no failure, a waiting text dropped
        {"S0=Home E1 S2=Lab T", {}},                       // a new start drops the old text
        {"F1 F2 F3 E4 T", {}},                             // nothing applied yet
    };
    for (const auto& [script, shown] : cases) EXPECT_EQ(Play(script), shown) << script;
}

}  // namespace
}  // namespace hx
