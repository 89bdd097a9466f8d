// A scripted stand-in for the supplicant library, for tests of the worker on real threads.
// It records every call with its arguments (and, when a journal is set, reports each call
// to it, so that a test can see one order across both libraries), answers each call from a
// scripted list or a default result, keeps copies of the records handed to it, and can
// run test code inside a call, for example to install keys from within a negotiation step
// as the real library does. Safe to call from several threads.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "auth/SupplicantLibrary.h"

namespace hx::test {

class FakeSupplicantLibrary : public SupplicantLibrary {
public:
    // --- Scripting ---
    // The result of every call of `name` once its script is used up (0 unless set).
    void SetResult(const std::string& name, int result);
    // Successive results of `name`, used before its default result.
    void Script(const std::string& name, std::deque<int> results);
    // How long do_eapol_run and do_key_negotiation_run wait, as the real steps wait a
    // bounded time when there is nothing to do.
    void SetStepDelay(std::chrono::microseconds delay);
    // Runs before the named call is answered, on the caller's thread, without the lock.
    void OnCall(const std::string& name, std::function<void()> hook);
    // Runs inside do_key_negotiation_run with the record and the step number (from 1 since
    // the last do_key_negotiation_init).
    void OnNegotiationStep(std::function<void(KeyNegotiationRecord&, int)> hook);
    // Receives "Name" of every call, in order.
    void SetJournal(std::function<void(const std::string&)> journal);
    // Keeps the addresses of the records the init calls are given, as a library may, and
    // reads them (and the element the negotiation record points at) in
    // Shutdown_Dot1x_Module: a record freed before then is a use after free.
    void KeepRecordsUntilShutdown();
    // What those records held when the library was shut down.
    struct RecordsAtShutdown {
        std::optional<EapConfigRecord> eapConfig;
        std::optional<KeyNegotiationRecord> negotiation;
        std::vector<uint8_t> element;
    };
    RecordsAtShutdown ReadAtShutdown() const;
    // What Get_EAP_Derived_Key_32byte and Get_PSK_Key_32byte write.
    std::array<uint8_t, 32> eapKey{}, pskKey{};

    // --- Inspection ---
    std::vector<std::string> Calls() const;      // "Name(args)" in order
    std::vector<std::string> CallNames() const;
    int CountOf(const std::string& name) const;
    // Waits until `name` has been called at least `count` times; false on time-out.
    bool WaitForCount(const std::string& name, int count,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    // Copies of what the last do_eapol_init and do_key_negotiation_init were given; the
    // negotiation record's WPA element is copied from where its pointer points.
    EapConfigRecord LastEapConfig() const;
    KeyNegotiationRecord LastNegotiationRecord() const;
    std::vector<uint8_t> LastNegotiationElement() const;

    // --- SupplicantLibrary ---
    int do_eapol_init(AdapterHandle* adapter, int reserved, const unsigned char ownMac[6],
                      const unsigned char bssid[6], EapConfigRecord* config) override;
    int do_eapol_run() override;
    int do_eapol_halt() override;
    int Get_EAP_Derived_Key_32byte(unsigned char key[32]) override;
    int Get_PSK_Key_32byte(const char* passphrase, const char* ssid, int ssidLength, int iterations,
                           unsigned char* key, int keyLength) override;
    int do_key_negotiation_init(AdapterHandle* adapter, KeyNegotiationRecord* record) override;
    int do_key_negotiation_run(KeyNegotiationRecord* record) override;
    int do_eapol_start(const unsigned char bssid[6], const unsigned char ownMac[6]) override;
    int Shutdown_Dot1x_Module() override;
    int genMyCertFile(const char* subject, const char* issuer) override;
    int genMySSLFile() override;
    int genROOTSSLFile() override;
    int genROOTCertFile(const char* subject, const char* issuer) override;

private:
    // Runs the hook, records the call and returns its result.
    int Enter(const std::string& name, const std::string& args);
    void StepDelay() const;

    mutable std::mutex mutex_;
    mutable std::condition_variable called_;
    std::vector<std::pair<std::string, std::string>> calls_;
    std::map<std::string, int> results_;
    std::map<std::string, std::deque<int>> scripts_;
    std::map<std::string, std::function<void()>> hooks_;
    std::function<void(KeyNegotiationRecord&, int)> stepHook_;
    std::function<void(const std::string&)> journal_;
    std::chrono::microseconds stepDelay_{0};
    int negotiationStep_ = 0;
    EapConfigRecord eapConfig_{};
    KeyNegotiationRecord negotiationRecord_{};
    std::vector<uint8_t> negotiationElement_;
    bool keepRecords_ = false;
    const EapConfigRecord* keptEapConfig_ = nullptr;
    const KeyNegotiationRecord* keptNegotiation_ = nullptr;
    RecordsAtShutdown atShutdown_;
};

}  // namespace hx::test
