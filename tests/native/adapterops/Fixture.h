// The core's adapter operations over the recording fake library, an in-memory profile and
// a worker double that notes when it was stopped and started among the library calls.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/UtilityState.h"
#include "auth/WorkerControl.h"
#include "config/LastSettingStore.h"
#include "config/MemoryAppProfile.h"
#include "config/SettingApplier.h"
#include "tests/fakes/FakeAdapterLibrary.h"
#include "tests/fakes/RecordingShellPort.h"

namespace hx::test {

class RecordingWorker : public WorkerControl {
public:
    explicit RecordingWorker(const FakeAdapterLibrary& library) : library_(library) {}
    // "Stop@n" / "Start@n": n library calls had been made at the time.
    std::vector<std::string> events;
    bool active = false;

    void StartWorker() override {
        events.push_back("Start@" + std::to_string(library_.Calls().size()));
        active = true;
    }
    void StopWorker() override {
        events.push_back("Stop@" + std::to_string(library_.Calls().size()));
        active = false;
    }
    bool WorkerActive() const override { return active; }

private:
    const FakeAdapterLibrary& library_;
};

struct AdapterFixture {
    FakeAdapterLibrary library;
    MemoryAppProfile profile;
    LastSettingStore store{profile};
    UtilityState state;
    RecordingWorker worker{library};
    RecordingShellPort shell;
    SettingApplier applier{library, state, store, worker};

    AdapterFixture() { InitialiseProcessState(state); }

    const MemoryAppProfile::Value* Stored(const std::string& name) const {
        return profile.Find(kLastSettingSection, name);
    }
    int StoredInt(const std::string& name) const {
        const auto* value = Stored(name);
        return value && std::holds_alternative<int>(*value) ? std::get<int>(*value) : -999;
    }
    std::string StoredString(const std::string& name) const {
        const auto* value = Stored(name);
        return value && std::holds_alternative<std::string>(*value) ? std::get<std::string>(*value) : "<none>";
    }
    // Makes the nth call (1-based) of a library function fail.
    void FailNth(const std::string& name, int n) {
        auto count = std::make_shared<int>(0);
        library.OnCall(name, [this, name, n, count] {
            if (++*count == n) library.Fail(name, 1);
        });
    }
};

}  // namespace hx::test
