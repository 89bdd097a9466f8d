// hxsim: the simulated adapter's control tool.
//
//   Windows: hxsim [--target PROGRAM | --pipe NAME] COMMAND...
//     sends COMMAND to the simulated adapter inside the running PROGRAM (default
//     HX88UUtil) and prints the reply; exit status 0 when the command succeeded, 1 when
//     it was refused, 2 when no program answered.
//   Native:  hxsim [--scenario FILE] [--advance MS] COMMAND...
//     runs the commands (separated by ";") on a world of its own, for trying out a
//     scenario file; --advance moves its clock on before each command.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#if defined(_WIN32)
#include "tools/hxsim/ControlClient.h"
#else
#include <fstream>
#include <sstream>

#include "sim/core/DefaultWorld.h"
#include "sim/core/ScenarioParser.h"
#include "sim/vuvavo/SimulatorHost.h"
#endif

namespace {

int Usage() {
#if defined(_WIN32)
    std::fprintf(stderr, "usage: hxsim [--target PROGRAM | --pipe NAME] COMMAND...  (hxsim help lists commands)\n");
#else
    std::fprintf(stderr, "usage: hxsim [--scenario FILE] [--advance MS] COMMAND [; COMMAND...]\n");
#endif
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string command;
#if defined(_WIN32)
    std::string pipe = hxsim::ControlPipeName("HX88UUtil");
    size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--target" && i + 1 < args.size()) pipe = hxsim::ControlPipeName(args[++i]);
        else if (args[i] == "--pipe" && i + 1 < args.size()) pipe = args[++i];
        else break;
    }
    for (; i < args.size(); ++i) command += (command.empty() ? "" : " ") + args[i];
    if (command.empty()) return Usage();
    std::string reply;
    if (!hxsim::SendControlCommand(pipe, command, reply)) {
        std::fprintf(stderr, "hxsim: nothing answers on %s\n", pipe.c_str());
        return 2;
    }
    const bool ok = reply.rfind("ok\n", 0) == 0;
    const size_t body = reply.find('\n');
    std::fputs(body == std::string::npos ? reply.c_str() : reply.c_str() + body + 1, ok ? stdout : stderr);
    return ok ? 0 : 1;
#else
    hxsim::Scenario scenario = hxsim::DefaultScenario();
    long advance = 0;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--scenario" && i + 1 < args.size()) {
            std::ifstream in(args[++i]);
            if (!in) {
                std::fprintf(stderr, "hxsim: cannot read %s\n", args[i].c_str());
                return 2;
            }
            std::ostringstream text;
            text << in.rdbuf();
            auto parsed = hxsim::ParseScenario(text.str());
            if (!parsed.scenario) {
                std::fprintf(stderr, "hxsim: %s: %s\n", args[i].c_str(), parsed.error.c_str());
                return 1;
            }
            scenario = *parsed.scenario;
        } else if (args[i] == "--advance" && i + 1 < args.size()) {
            advance = std::strtol(args[++i].c_str(), nullptr, 10);
        } else {
            break;
        }
    }
    for (; i < args.size(); ++i) command += (command.empty() ? "" : " ") + args[i];
    if (command.empty()) return Usage();
    hxsim::ResetWorld(scenario, true);
    bool allOk = true;
    size_t start = 0;
    while (start <= command.size()) {
        const size_t end = command.find(';', start);
        const std::string one = command.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? command.size() + 1 : end + 1;
        if (one.find_first_not_of(' ') == std::string::npos) continue;
        hxsim::AdvanceClock(advance);
        const hxsim::ControlReply reply = hxsim::Control(one);
        std::fputs(reply.text.c_str(), reply.ok ? stdout : stderr);
        allOk = allOk && reply.ok;
    }
    return allOk ? 0 : 1;
#endif
}
