// What a fault sweep needs: one ordered ledger of the driver-library calls an operation
// makes and of the values it stores, and a way to make exactly one of those calls fail
// through the simulator's own failure injection.
//
// A sweep runs its operation once untouched (the reference), then once per call of the
// reference with that one call failing, each time on a fresh simulated world, and compares
// what was stored and what state was left with what the reference did.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "adapter/AdapterLibrary.h"
#include "config/AppProfile.h"
#include "config/MemoryAppProfile.h"
#include "sim/vuvavo/SimulatorHost.h"
#include "tests/fakes/ObservedAdapterLibrary.h"

namespace hx::sweep {

// The stores of a ledger's entries ("<value>=<text>"), in order; with `before`, only those
// ahead of that entry.
inline std::vector<std::string> StoresIn(const std::vector<std::string>& entries, size_t before = SIZE_MAX) {
    std::vector<std::string> stores;
    for (size_t i = 0; i < entries.size() && i < before; ++i)
        if (entries[i].rfind("store:", 0) == 0) stores.push_back(entries[i].substr(6));
    return stores;
}

// One call of the reference: the export's name and which of its calls it was (from 1).
struct CallSite {
    std::string call;
    int occurrence = 0;
    std::string Describe() const { return call + " #" + std::to_string(occurrence); }
    bool operator==(const CallSite&) const = default;
};

// Everything in one order: "call:<name>" for a library call, "store:<value>=<text>" for a
// value written to the application profile, and marks a test adds of its own.
class Ledger {
public:
    // The library the operation under test is given.
    AdapterLibrary& Library() { return library_; }

    // The next time this call reaches the library, the simulator answers it with its
    // failure value, once.
    void Arm(const CallSite& site) {
        std::lock_guard lock(mutex_);
        armed_ = site;
    }
    // Where in the ledger the armed call failed; nothing when it was never reached.
    std::optional<size_t> FailedAt() const {
        std::lock_guard lock(mutex_);
        return failedAt_;
    }

    void Mark(const std::string& entry) {
        std::lock_guard lock(mutex_);
        entries_.push_back(entry);
    }
    std::vector<std::string> Entries() const {
        std::lock_guard lock(mutex_);
        return entries_;
    }
    // The library calls in order, each with its occurrence.
    std::vector<CallSite> Calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    // The stores ("<value>=<text>"), in order.
    std::vector<std::string> Stores() const { return StoresIn(Entries()); }

private:
    void Observe(const char* call) {
        std::lock_guard lock(mutex_);
        const int occurrence = ++counts_[call];
        calls_.push_back({call, occurrence});
        if (armed_ && armed_->call == call && armed_->occurrence == occurrence) {
            const auto reply = hxsim::Control(std::string("fail ") + call + " once");
            EXPECT_TRUE(reply.ok) << reply.text;
            failedAt_ = entries_.size();
            armed_.reset();
        }
        entries_.push_back(std::string("call:") + call);
    }

    mutable std::mutex mutex_;
    std::vector<std::string> entries_;
    std::vector<CallSite> calls_;
    std::map<std::string, int> counts_;
    std::optional<CallSite> armed_;
    std::optional<size_t> failedAt_;
    test::ObservedAdapterLibrary library_{ExportedAdapterLibrary(), [this](const char* call) { Observe(call); }};
};

// An application profile in memory that writes every value it takes into the ledger.
class LedgerProfile final : public AppProfile {
public:
    explicit LedgerProfile(Ledger& ledger) : ledger_(ledger) {}

    int ReadInt(std::string_view section, std::string_view entry, int defaultValue) override {
        std::lock_guard lock(mutex_);
        return memory_.ReadInt(section, entry, defaultValue);
    }
    std::string ReadString(std::string_view section, std::string_view entry,
                           std::string_view defaultValue) override {
        std::lock_guard lock(mutex_);
        return memory_.ReadString(section, entry, defaultValue);
    }
    bool WriteInt(std::string_view section, std::string_view entry, int value) override {
        std::lock_guard lock(mutex_);
        ledger_.Mark("store:" + std::string(entry) + "=" + std::to_string(value));
        return memory_.WriteInt(section, entry, value);
    }
    bool WriteString(std::string_view section, std::string_view entry,
                     std::string_view value) override {
        std::lock_guard lock(mutex_);
        ledger_.Mark("store:" + std::string(entry) + "=" + std::string(value));
        return memory_.WriteString(section, entry, value);
    }
    // A value stored before the operation under test, kept out of the ledger.
    void Seed(std::string_view section, std::string_view entry, MemoryAppProfile::Value value) {
        std::lock_guard lock(mutex_);
        memory_.SetValue(section, entry, std::move(value));
    }
    bool DeleteValue(std::string_view section, std::string_view entry) override {
        std::lock_guard lock(mutex_);
        ledger_.Mark("store:" + std::string(entry) + " deleted");
        return memory_.DeleteValue(section, entry);
    }

private:
    Ledger& ledger_;
    std::mutex mutex_;
    MemoryAppProfile memory_;
};

// Whether a store entry ("<value>=<text>") writes the named value.
inline bool Writes(const std::string& store, const std::string& value) {
    return store.rfind(value + "=", 0) == 0;
}

}  // namespace hx::sweep
