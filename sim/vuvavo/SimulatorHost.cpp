#include "sim/vuvavo/SimulatorHost.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "sim/core/DefaultWorld.h"
#include "sim/core/ScenarioParser.h"

namespace hxsim {
namespace {

Scenario ScenarioFromEnvironment(std::string& error) {
    const char* path = std::getenv("HXSIM_SCENARIO");
    if (path == nullptr || *path == '\0') return DefaultScenario();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::string("cannot read ") + path + "; default world in use";
        return DefaultScenario();
    }
    std::ostringstream text;
    text << in.rdbuf();
    ParseResult parsed = ParseScenario(text.str());
    if (!parsed.scenario) {
        error = std::string(path) + ": " + parsed.error + "; default world in use";
        return DefaultScenario();
    }
    return *parsed.scenario;
}

}  // namespace

SimulatorHost& SimulatorHost::Instance() {
    static SimulatorHost* host = new SimulatorHost();  // lives until the process ends
    return *host;
}

void SimulatorHost::EnsureWorld() {
    if (world_) return;
    clock_ = std::make_shared<SteadyClock>();
    world_ = std::make_unique<World>(ScenarioFromEnvironment(scenarioError_), clock_);
    // HXSIM_CAPTURE names a pcap file the air is recorded into from the start.
    if (const char* capture = std::getenv("HXSIM_CAPTURE"); capture != nullptr && *capture != '\0')
        world_->StartCapture(capture);
}

World& SimulatorHost::SyncedWorld() {
    EnsureWorld();
    world_->Sync();
    return *world_;
}

void SimulatorHost::Reset(const Scenario& scenario, bool manualClock) {
    auto lock = Lock();
    if (manualClock) {
        manualClock_ = std::make_shared<ManualClock>();
        clock_ = manualClock_;
    } else {
        manualClock_.reset();
        clock_ = std::make_shared<SteadyClock>();
    }
    world_ = std::make_unique<World>(scenario, clock_);
    scenarioError_.clear();
    frameArrived_.notify_all();
}

void SimulatorHost::AdvanceClock(Millis delta) {
    auto lock = Lock();
    EnsureWorld();
    if (manualClock_) manualClock_->Advance(delta);
    world_->Sync();
    frameArrived_.notify_all();
}

std::string SimulatorHost::ScenarioError() {
    auto lock = Lock();
    EnsureWorld();
    return scenarioError_;
}

std::string SimulatorHost::FinalReport() {
    std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
    if (!world_) return "";
    world_->Sync();
    return WorldReport(*world_);
}

std::string WorldReport(World& world) {
    std::string report = StateReport(world);
    report += "events:\n";
    for (const WorldEvent& e : world.Events()) report += std::to_string(e.at) + " ms: " + e.text + "\n";
    return report;
}

void ResetWorld(bool manualClock) { SimulatorHost::Instance().Reset(DefaultScenario(), manualClock); }

void ResetWorld(const Scenario& scenario, bool manualClock) {
    SimulatorHost::Instance().Reset(scenario, manualClock);
}

void AdvanceClock(Millis delta) { SimulatorHost::Instance().AdvanceClock(delta); }

ControlReply Control(const std::string& line) {
    SimulatorHost& host = SimulatorHost::Instance();
    ControlReply reply;
    {
        auto lock = host.Lock();
        World& world = host.SyncedWorld();
        reply = RunControlCommand(world, line);
        host.FrameArrived().notify_all();
    }
    if (reply.ok && line.find("show") != std::string::npos) {
        const std::string error = host.ScenarioError();
        if (!error.empty()) reply.text += "scenario-error: " + error + "\n";
    }
    return reply;
}

}  // namespace hxsim
