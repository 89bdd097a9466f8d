// The authentication worker: the one background thread of the utility. It waits for the
// adapter to associate, finds the access point's WPA element in the last survey list (for
// WPA2, its RSN element: handed to the supplicant in the same field, the element's id tells
// it to run the RSN handshakes), obtains the pairwise master key (from the pass phrase, or
// from an EAP-TLS or PEAP exchange) and keeps the supplicant's key negotiation running
// while the link lasts. Each negotiated key comes back through InstallNegotiatedKey
// (KeyInstaller.h).
//
// Threads. StartWorker and StopWorker are called on the UI thread only. The run flag is
// atomic; every wait of the worker is a sleep that StopWorker cuts short, so Stop returns
// after at most one supplicant step. The Zero Configuration service is restarted only
// once the worker's thread has ended.
//
// Sharing the current setting. StartWorker takes a snapshot of the fields the worker reads
// (SSID, AuthenticationMode, WEPStatus, WEPKeyLength and the Dot1x texts); the worker
// never reads the current setting after that. Its one write, Dot1xWPAIEs, is made while
// holding UtilityState::currentSettingMutex. The UI thread holds the same mutex whenever
// it reads or writes Dot1xWPAIEs, or copies or assigns the whole current setting, while a
// worker may run; single other fields it may use freely.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "auth/SupplicantRecords.h"
#include "auth/WorkerControl.h"
#include "auth/WorkerPorts.h"
#include "config/LastSettingStore.h"

namespace hx {

class AdapterLibrary;
class AppProfile;
class SupplicantLibrary;
struct UtilityState;

inline constexpr const char* kCertificateExportFailureText =
    "Can not Export Private Key!! Please make the private key of this certifacate EXPORTABLE!";
inline constexpr const char* kWpaElementValue = "Dot1xWPAIEs";

struct WorkerTiming {
    // One sleep of the link waits; tests shorten it.
    std::chrono::milliseconds linkPollInterval{1000};
};

class AuthWorker final : public WorkerControl {
public:
    static constexpr int kLinkWaitRounds = 30;
    static constexpr int kEapStepsPerAttempt = 62;
    static constexpr int kNegotiationStepsPerLinkCheck = 31;
    static constexpr int kPskIterations = 4096;

    AuthWorker(AdapterLibrary& adapter, SupplicantLibrary& supplicant, UtilityState& state,
               AppProfile& profile, ProgramDirectoryPort& directory, WorkerMessagePort& messages,
               WorkerTiming timing = {});
    // Ends a running worker's thread; the Zero Configuration service is left as it is (the
    // utility's exit path calls StopWorker first).
    ~AuthWorker() override;

    AuthWorker(const AuthWorker&) = delete;
    AuthWorker& operator=(const AuthWorker&) = delete;

    // Where the worker reports how its attempts end (by default, nowhere). Set before the
    // first start.
    void ReportJoinsTo(JoinOutcomePort& outcome) { outcome_ = &outcome; }

    void StartWorker() override;
    void StopWorker() override;
    bool WorkerActive() const override;

private:
    // The setting fields the worker reads, copied when it starts.
    struct Snapshot {
        std::string ssid;
        int authenticationMode = 0;
        int wepStatus = 0;
        int wepKeyLength = 0;
        int dot1xProtocol = 0;
        std::string passphrase, username, password, certSubject, certIssuer;
    };
    // What every run needs from the preparation.
    struct Peer {
        uint8_t ownMac[6] = {};
        uint8_t bssid[6] = {};
        std::span<const uint8_t> wpaElement;
        int cipherCode = 0;
    };

    Snapshot TakeSnapshot();
    void ClearRunFlagAndJoin();
    bool Running() const { return running_.load(); }
    // Sleeps one poll interval; false when the run flag was cleared.
    bool SleepWhileRunning();

    void Procedure(const Snapshot& setting);
    // The procedure up to the end of its run, or to the first reason to end.
    void Authenticate(const Snapshot& setting);
    void WaitForLinkAfterStart();
    // True when the adapter is associated at its end.
    bool WaitForLink();
    // Reads the survey list and stores every vendor element of the associated access
    // point, or for WPA2 (rsn) its first RSN element; the text of the last one stored, or
    // empty when there is none (or no list, no BSS).
    std::string FindWpaElementText(const uint8_t bssid[6], bool rsn);
    void StoreWpaElementText(const std::string& text);
    void RunEap(const Snapshot& setting, const Peer& peer);
    void RunWpaPsk(const Snapshot& setting, const Peer& peer);
    std::span<const uint8_t> KeepElement(std::span<const uint8_t> element);
    // answered: the adapter was associated when the negotiation began.
    void NegotiateWhileLinked(KeyNegotiationRecord& record, bool answered);
    void Reassociate();

    AdapterLibrary& adapter_;
    SupplicantLibrary& supplicant_;
    UtilityState& state_;
    LastSettingStore store_;
    ProgramDirectoryPort& directory_;
    WorkerMessagePort& messages_;
    JoinOutcomePort* outcome_;
    const WorkerTiming timing_;

    // What a run hands the supplicant library: the library may keep the addresses until it
    // is shut down, so the records live from the run's start until after that shutdown.
    // Worker thread only.
    struct RunRecords {
        std::unique_ptr<KeyNegotiationRecord> negotiation;
        std::unique_ptr<EapConfigRecord> eapConfig;
        std::vector<uint8_t> element;   // where the negotiation record's element points
    };
    RunRecords records_;

    std::atomic<bool> running_{false};
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    std::thread thread_;
    bool serviceStopped_ = false;   // UI thread only
};

}  // namespace hx
