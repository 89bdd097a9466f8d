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

// Reports at whole seconds: S<s>=<ssid> a start, X stop, F an attempt refused after the
// access point answered, U one never answered, K one with its key, E an end by itself,
// R<s>=<ssid>:<n> a refused shared-key authentication seen with n settings applied, T the
// UI thread taking a waiting text.
std::vector<std::string> Play(const std::string& script) {
    std::chrono::steady_clock::time_point now{};
    JoinFailureNotice notice([&] { return now; });
    std::vector<std::string> taken;
    std::istringstream words(script);
    for (std::string w; words >> w;) {
        now = std::chrono::steady_clock::time_point{} + std::chrono::seconds(std::atoi(w.c_str() + 1));
        const std::string arg = w.substr(w.find('=') + 1);
        switch (w[0]) {
        case 'S': notice.JoinStarted(arg); break;
        case 'X': notice.JoinStopped(); break;
        case 'F': notice.AttemptEnded(AttemptEnd::RefusedAfterAnswer); break;
        case 'U': notice.AttemptEnded(AttemptEnd::Unanswered); break;
        case 'K': notice.AttemptEnded(AttemptEnd::KeyInstalled); break;
        case 'E': notice.EndedWithoutKeys(); break;
        case 'R':
            notice.AuthenticationRefused(arg.substr(0, arg.find(':')),
                                         std::strtoul(arg.c_str() + arg.find(':') + 1, nullptr, 10));
            break;
        case 'T': if (auto text = notice.TakeNotice()) taken.push_back(*text); break;
        }
    }
    return taken;
}

TEST(JoinFailureNotice, OncePerSettingWhenTheAccessPointRefusedTheKey) {
    const std::string home = "Could not join Home: the key or password may be wrong.", lab = JoinFailureText("Lab");
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"S0=Home F8 F16 F24 T", {home}},                  // three refusals within a minute
        {"S0=Home F0 F40 F80 T", {}},                      // spread over more than a minute
        {"S0=Home F5 F10 K15 F20 F25 T", {}},              // a key starts the count anew
        {"S0=Home F1 F2 F3 T F4 F5 F6 T", {home}},         // once per setting
        {"S0=Home U1 U2 U3 E4 T", {}},                     // out of range, or ended by itself: not the key
        {"S0=Home F1 U2 F3 U4 T", {}},                     // unanswered attempts do not count
        {"S0=Home F1 F2 F3 T S4=Lab F5 F6 F7 T", {home, lab}},  // once for each setting applied
        {"S0=Home F1 F2 F3 X4 T", {}},                     // a stop drops a waiting text
        {"S0=Home F1 F2 F3 S4=Lab T", {}},                 // so does a new start
        {"F1 F2 F3 T", {}},                                // nothing applied yet
        {"R1=Lab:1 T R2=Lab:1 T R3=Lab:2 T", {lab, lab}},  // WEP: once per setting applied
    };
    for (const auto& [script, shown] : cases) EXPECT_EQ(Play(script), shown) << script;
}

}  // namespace
}  // namespace hx
