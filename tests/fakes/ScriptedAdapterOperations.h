// Adapter operations that follow a script: whether an adapter is plugged, whether it can
// be identified, the Zero Configuration status and the link each poll reports; an apply is
// always taken whole. Every call is appended to a log, which a test may share with a
// RecordingShellPort to see one order.
#pragma once

#include <string>
#include <vector>

#include "app/AdapterOperations.h"
#include "app/UtilityState.h"

namespace hx::test {

class ScriptedAdapterOperations : public AdapterOperations {
public:
    ScriptedAdapterOperations(UtilityState& state, std::vector<std::string>& log) : state_(state), log_(log) {}

    bool adapterPlugged = false;
    bool identifySucceeds = true;
    int wzcStatus = Wzc::OwnControl;
    bool pollFails = false;
    LinkStatus linkToReport;

    void Discover() override {
        log_.push_back("Discover");
        state_.adapterReady = adapterPlugged ? 1 : 0;
    }
    bool Identify() override {
        log_.push_back("Identify");
        return identifySucceeds;
    }
    void CheckZeroConfiguration() override {
        log_.push_back("CheckZeroConfiguration");
        state_.wzcState = wzcStatus;
    }
    void ApplySetting() override {
        log_.push_back("ApplySetting");
        ++state_.settingsApplied;
        state_.settingOwed = false;
    }
    void PollLink() override {
        log_.push_back("PollLink");
        if (pollFails || !adapterPlugged) {
            state_.adapterReady = 0;
            return;
        }
        state_.link = linkToReport;
    }

private:
    UtilityState& state_;
    std::vector<std::string>& log_;
};

}  // namespace hx::test
