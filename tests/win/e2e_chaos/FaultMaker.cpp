#include "tests/win/e2e_chaos/FaultMaker.h"

#include <algorithm>
#include <cstdio>

#include "sim/core/FaultPlan.h"
#include "tests/win/common/ConsoleProgram.h"
#include "tests/win/common/SimulatorProbe.h"
#include "tests/win/e2e_chaos/ChaosWorld.h"

namespace hx::test::chaos {
namespace {

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

std::string HexCode(int code) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", code);
    return text;
}

}  // namespace

void FaultMaker::Loop() {
    while (run_.Pause(milliseconds(Uniform(random_, 800, 4500)))) {
        DueUndos(false);
        Fire();
    }
}

void FaultMaker::UndoAll() {
    DueUndos(true);
    run_.Sim("fail clear");
}

bool FaultMaker::Send(const std::string& kind, const std::string& command) {
    const std::string reply = FirstLine(run_.Sim(command));
    const bool taken = reply.rfind("ok", 0) == 0;
    run_.faults.Add(kind + (taken ? "" : " (refused: " + reply + ")"));
    run_.Log("fault " + command + (taken ? "" : ": " + reply));
    return taken;
}

void FaultMaker::Later(const std::string& kind, milliseconds after, const std::string& command, bool last) {
    undos_.push_back({Clock::now() + after, kind, command, last});
    lasting_.insert(kind);
}

void FaultMaker::DueUndos(bool all) {
    std::stable_sort(undos_.begin(), undos_.end(), [](const Undo& a, const Undo& b) { return a.at < b.at; });
    while (!undos_.empty() && (all || undos_.front().at <= Clock::now())) {
        const Undo undo = undos_.front();
        undos_.erase(undos_.begin());
        const std::string reply = FirstLine(run_.Sim(undo.command));
        run_.Log("undo " + undo.command + (reply.rfind("ok", 0) == 0 ? "" : ": " + reply));
        if (undo.last) lasting_.erase(undo.kind);
    }
}

void FaultMaker::Fire() {
    static const char* const kinds[] = {"fail", "fail", "fail", "unplug", "deauth", "deauth", "group-rekey",
                                        "group-rekey", "region", "wzc", "fade", "fade"};
    const std::string kind = Pick(random_, kinds, std::size(kinds));
    if (lasting_.count(kind) != 0) return;  // one of each lasting kind at a time

    if (kind == "fail") {
        const auto& calls = hxsim::FaultPlan::KnownCalls();
        const std::string call = Pick(random_, calls.data(), calls.size());
        if (Chance(random_, 0.2)) {
            if (Send(kind, "fail " + call + " always")) Later(kind, milliseconds(Uniform(random_, 500, 3000)), "fail " + call + " off");
        } else {
            Send(kind, "fail " + call + " " + std::to_string(Uniform(random_, 1, 3)));
        }
    } else if (kind == "unplug") {
        if (Send(kind, "unplug")) Later(kind, milliseconds(Uniform(random_, 1000, 6000)), "plug");
    } else if (kind == "deauth" || kind == "group-rekey") {
        Send(kind, kind);
    } else if (kind == "region") {
        const int code = Pick(random_, kRegionCodes.data(), kRegionCodes.size());
        if (Send(kind, std::string("region ") + HexCode(code))) Later(kind, milliseconds(Uniform(random_, 2000, 8000)), "region 0");
    } else if (kind == "wzc") {
        if (Send(kind, "wzc 1")) Later(kind, milliseconds(Uniform(random_, 2000, 6000)), "wzc 0");
    } else if (kind == "fade") {
        // Most often the network the adapter is on.
        const std::string linked = ReportValue(run_.Sim("show"), "link.ssid");
        const Network* network = &Pick(random_, kNetworks.data(), kNetworks.size());
        for (const Network& candidate : kNetworks)
            if (linked == Quoted(candidate.ssid) && Chance(random_, 0.7)) network = &candidate;
        const std::string signal = std::string("signal ") + network->bssid + " ";
        if (Send(kind, signal + "-84")) {
            Later(kind, milliseconds(Uniform(random_, 700, 2000)), signal + "-95", false);
            Later(kind, milliseconds(Uniform(random_, 2500, 7000)), signal + std::to_string(network->meanDbm));
        }
    }
}

}  // namespace hx::test::chaos
