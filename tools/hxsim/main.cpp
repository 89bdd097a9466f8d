// hxsim: the simulated adapter's control tool.
//
//   Windows: hxsim [--target PROGRAM | --pipe NAME] [--until LINE [--within S]] COMMAND...
//     sends COMMAND to the simulated adapter inside the running PROGRAM (default
//     HX88UUtil) and prints the reply; exit status 0 when the command succeeded, 1 when
//     it was refused, 2 when no program answered. With --until it sends the command again,
//     five times a second, until a line of the reply is LINE (e.g. "port.authorised: yes"),
//     for at most S seconds (default 30): one process waits, where a loop of hxsim calls
//     would start one process after another.
//   Native:  hxsim [--scenario FILE] [--advance MS] COMMAND...
//     runs the commands (separated by ";") on a world of its own, for trying out a
//     scenario file; --advance moves its clock on before each command.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <chrono>
#include <thread>

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
    std::fprintf(stderr, "usage: hxsim [--target PROGRAM | --pipe NAME] [--until LINE [--within S]] COMMAND...  "
                         "(hxsim help lists commands)\n");
#else
    std::fprintf(stderr, "usage: hxsim [--scenario FILE] [--advance MS] COMMAND [; COMMAND...]\n");
#endif
    return 2;
}

#if defined(_WIN32)
bool HasLine(const std::string& text, const std::string& line) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string one = text.substr(start, end - start);
        if (!one.empty() && one.back() == '\r') one.pop_back();
        if (one == line) return true;
        start = end + 1;
    }
    return false;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string command;
#if defined(_WIN32)
    std::string pipe = hxsim::ControlPipeName("HX88UUtil");
    std::string until;
    int withinSeconds = 30;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--target" && i + 1 < args.size()) pipe = hxsim::ControlPipeName(args[++i]);
        else if (args[i] == "--pipe" && i + 1 < args.size()) pipe = args[++i];
        else if (args[i] == "--until" && i + 1 < args.size()) until = args[++i];
        else if (args[i] == "--within" && i + 1 < args.size()) withinSeconds = std::atoi(args[++i].c_str());
        else break;
    }
    for (; i < args.size(); ++i) command += (command.empty() ? "" : " ") + args[i];
    if (command.empty()) return Usage();
    // With --until, a program not (yet) answering is waited for like a reply without the line.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(withinSeconds);
    std::string reply;
    for (;;) {
        reply.clear();
        const bool answered = hxsim::SendControlCommand(pipe, command, reply);
        if (answered && (until.empty() || HasLine(reply, until))) break;
        if (until.empty() || std::chrono::steady_clock::now() >= deadline) {
            if (!answered) {
                std::fprintf(stderr, "hxsim: nothing answers on %s\n", pipe.c_str());
                return 2;
            }
            std::fprintf(stderr, "hxsim: no line \"%s\" within %d s; last reply:\n%s", until.c_str(),
                         withinSeconds, reply.c_str());
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
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
