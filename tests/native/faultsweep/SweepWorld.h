// The objects an operation under sweep works with, over a fresh simulated world on a
// manual clock with the adapter already opened (outside the ledger).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/UtilityState.h"
#include "auth/WorkerControl.h"
#include "config/LastSettingStore.h"
#include "config/SettingApplier.h"
#include "tests/native/faultsweep/SweepLedger.h"
#include "tests/native/sim/SimTestSupport.h"

namespace hx::sweep {

// Stands in for the authentication worker where its thread is not under test: its starts
// and stops go into the ledger, in order with everything else.
class LedgerWorker final : public WorkerControl {
public:
    explicit LedgerWorker(Ledger& ledger) : ledger_(ledger) {}
    void StartWorker() override {
        ledger_.Mark("worker:start");
        active_ = true;
    }
    void StopWorker() override {
        ledger_.Mark("worker:stop");
        active_ = false;
    }
    bool WorkerActive() const override { return active_; }

private:
    Ledger& ledger_;
    bool active_ = false;
};

struct SweepWorld {
    Ledger ledger;
    LedgerProfile profile{ledger};
    LastSettingStore store{profile};
    UtilityState state;
    LedgerWorker worker{ledger};
    SettingApplier applier{ledger.Library(), state, store, worker};

    // With open: the adapter found and opened as the utility does it, before the ledger
    // starts counting.
    explicit SweepWorld(bool open = true) {
        hxsim::ResetWorld(true);
        InitialiseProcessState(state);
        if (open) {
            EXPECT_TRUE(simtest::OpenLikeTheUtility(state.adapter));
            state.adapterReady = 1;
        }
    }
    bool WorkerStarted() const { return Has("worker:start"); }
    bool Has(const std::string& entry) const {
        const auto entries = ledger.Entries();
        return std::find(entries.begin(), entries.end(), entry) != entries.end();
    }
};

// The entry of the ledger at which the reference made this call.
inline size_t EntryOfCall(const std::vector<std::string>& entries, const CallSite& site) {
    int seen = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == "call:" + site.call && ++seen == site.occurrence) return i;
    }
    return entries.size();
}

}  // namespace hx::sweep
