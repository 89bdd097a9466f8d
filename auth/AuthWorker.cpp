#include "auth/AuthWorker.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "adapter/AdapterLibrary.h"
#include "adapter/RsnElement.h"
#include "adapter/SurveyListRead.h"
#include "adapter/VuvavoApi.h"
#include "app/UtilityState.h"
#include "auth/KeyInstaller.h"
#include "auth/SupplicantLibrary.h"
#include "auth/SupplicantRecordBuilder.h"
#include "auth/WpaElement.h"

namespace hx {
namespace {

constexpr int kConnected = ConnectState::Associated;
constexpr int kMasterKeySize = 32;

class NoOutcomeReports final : public JoinOutcomePort {
public:
    void JoinStarted(const std::string&) override {}
    void JoinStopped() override {}
    void AttemptEnded(AttemptEnd) override {}
    void EndedWithoutKeys() override {}
};

JoinOutcomePort& NoOutcomes() {
    static NoOutcomeReports none;
    return none;
}

}  // namespace

AuthWorker::AuthWorker(AdapterLibrary& adapter, SupplicantLibrary& supplicant, UtilityState& state,
                       AppProfile& profile, ProgramDirectoryPort& directory,
                       WorkerMessagePort& messages, WorkerTiming timing)
    : adapter_(adapter), supplicant_(supplicant), state_(state), store_(profile),
      directory_(directory), messages_(messages), outcome_(&NoOutcomes()), timing_(timing) {}

AuthWorker::~AuthWorker() { ClearRunFlagAndJoin(); }

// --- Start and stop (UI thread) ---------------------------------------------------------

void AuthWorker::StartWorker() {
    // A running worker is ended first; the service it had stopped stays stopped.
    if (Running()) ClearRunFlagAndJoin();

    running_.store(true);
    if (adapter_.QueryWL_CheckWZCStatus(&state_.adapter) != Wzc::OwnNoStop) {
        serviceStopped_ = true;
        adapter_.HXStopWZCService();
    }
    Snapshot setting = TakeSnapshot();
    outcome_->JoinStarted(setting.ssid);
    thread_ = std::thread([this, setting = std::move(setting)] { Procedure(setting); });
}

void AuthWorker::StopWorker() {
    if (!Running()) return;
    ClearRunFlagAndJoin();
    outcome_->JoinStopped();
    if (serviceStopped_) {
        serviceStopped_ = false;
        adapter_.HXStartWZCService();
    }
}

bool AuthWorker::WorkerActive() const { return Running(); }

AuthWorker::Snapshot AuthWorker::TakeSnapshot() {
    std::lock_guard lock(state_.currentSettingMutex);
    const WlanSetting& current = state_.current;
    Snapshot snapshot;
    snapshot.ssid = current.SSID.substr(0, kMaxSsidLength);
    snapshot.authenticationMode = current.AuthenticationMode;
    snapshot.wepStatus = current.WEPStatus;
    snapshot.wepKeyLength = current.WEPKeyLength;
    snapshot.dot1xProtocol = current.Dot1xProtocol;
    snapshot.passphrase = current.Dot1xPassphrase;
    snapshot.username = current.Dot1xUsername;
    snapshot.password = current.Dot1xPassword;
    snapshot.certSubject = current.Dot1xCertSubject;
    snapshot.certIssuer = current.Dot1xCertIssuer;
    return snapshot;
}

void AuthWorker::ClearRunFlagAndJoin() {
    {
        // Under the wake mutex, so that a worker about to sleep either sees the cleared
        // flag or is already waiting when the notification comes.
        std::lock_guard lock(wakeMutex_);
        running_.store(false);
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    thread_ = std::thread();
}

bool AuthWorker::SleepWhileRunning() {
    std::unique_lock lock(wakeMutex_);
    return !wake_.wait_for(lock, timing_.linkPollInterval, [this] { return !Running(); });
}

// --- The worker procedure (worker thread) -----------------------------------------------

void AuthWorker::Procedure(const Snapshot& setting) {
    Authenticate(setting);
    // Not stopped, yet ended: the runs end only when stopped, so no key was ever negotiated.
    if (Running()) outcome_->EndedWithoutKeys();
    // However the worker ended (stopped, nothing to authenticate with, a failed certificate
    // file, or a run that ended), the supplicant library is released, once.
    supplicant_.Shutdown_Dot1x_Module();
    // The library may hold on to the records it was given until then.
    records_ = {};
}

void AuthWorker::Authenticate(const Snapshot& setting) {
    directory_.EnterProgramDirectory();
    WaitForLinkAfterStart();
    // Stopped before it read the survey list: the worker stores nothing.
    if (!Running()) return;

    Peer peer;
    adapter_.GetNICAdapterMAC(&state_.adapter, peer.ownMac);
    adapter_.QueryWL_BSSID(&state_.adapter, peer.bssid);

    const std::string elementText = FindWpaElementText(peer.bssid, AuthMode::Rsn(setting.authenticationMode));
    if (elementText.empty()) return;

    // The element as the key negotiation gets it: the stored text back in bytes. The text
    // of a whole element never holds more than kMaxElementSize bytes.
    std::vector<uint8_t> element(kMaxElementSize, 0);
    const int textLength = static_cast<int>(std::min(elementText.size(), kMaxElementSize));
    adapter_.HexStrToBin(elementText.c_str(), element.data(), textLength);
    peer.wpaElement = std::span<const uint8_t>(element.data(), 2 + size_t{element[1]});

    const std::optional<int> cipherCode = CipherCodeFor(setting.wepStatus, setting.wepKeyLength);
    if (!cipherCode) return;
    peer.cipherCode = *cipherCode;

    if (AuthMode::PreSharedKey(setting.authenticationMode)) {
        RunWpaPsk(setting, peer);
    } else if (AuthMode::Enterprise(setting.authenticationMode)) {
        if (setting.dot1xProtocol == Dot1xMethod::EapTls) {
            if (supplicant_.genMyCertFile(setting.certSubject.c_str(), setting.certIssuer.c_str()) != 0) {
                messages_.ShowExclamation(kCertificateExportFailureText);
                return;
            }
            if (supplicant_.genMySSLFile() != 0) return;
        } else if (setting.dot1xProtocol == Dot1xMethod::Peap) {
            if (supplicant_.genROOTCertFile(setting.certSubject.c_str(), setting.certIssuer.c_str()) != 0)
                return;
            if (supplicant_.genROOTSSLFile() != 0) return;
        } else {
            return;
        }
        RunEap(setting, peer);
    }
}

void AuthWorker::WaitForLinkAfterStart() {
    for (int round = 0; round < kLinkWaitRounds; ++round) {
        if (!SleepWhileRunning()) return;
        if (adapter_.QueryWL_ConnectState(&state_.adapter) == kConnected) return;
    }
}

bool AuthWorker::WaitForLink() {
    int connectState = adapter_.QueryWL_ConnectState(&state_.adapter);
    for (int sleeps = 0; connectState != kConnected && sleeps < kLinkWaitRounds; ++sleeps) {
        if (!SleepWhileRunning()) return false;
        connectState = adapter_.QueryWL_ConnectState(&state_.adapter);
    }
    return connectState == kConnected;
}

std::string AuthWorker::FindWpaElementText(const uint8_t bssid[6], bool rsn) {
    std::vector<uint8_t> list;
    if (!ReadSurveyList(adapter_, &state_.adapter, list)) return {};
    adapter_.WL_FilteSiteSurveyData(&state_.adapter, list.data());

    const auto record = FindSurveyRecord(list, bssid);
    if (!record) return {};

    // Every vendor element is stored in turn, so the last one is what remains; of RSN
    // elements an access point announces one, and only the first is taken. An element the
    // library could not turn into text is passed over: storing its empty text would wipe
    // out the element stored before.
    auto elements = rsn ? ElementsWithId(*record, kRsnElementId) : VendorElements(*record);
    if (elements.size() > 1 && rsn) elements.resize(1);
    std::string text;
    for (const auto element : elements) {
        std::vector<char> buffer(SeparatedHexTextSize(kMaxElementSize), '\0');
        if (adapter_.BinToHexStr(element.data(), buffer.data(), static_cast<int>(element.size()), 1) == -1) continue;
        std::string converted(buffer.data(), strnlen(buffer.data(), buffer.size() - 1));
        if (converted.empty()) continue;
        text = std::move(converted);
        StoreWpaElementText(text);
    }
    return text;
}

void AuthWorker::StoreWpaElementText(const std::string& text) {
    store_.WriteLastSettingString(kWpaElementValue, text);
    std::lock_guard lock(state_.currentSettingMutex);
    state_.current.Dot1xWPAIEs = text;
}

// --- The runs ---------------------------------------------------------------------------

void AuthWorker::RunEap(const Snapshot& setting, const Peer& peer) {
    SetKeyInstallTarget(adapter_, state_.adapter);
    const std::span<const uint8_t> element = KeepElement(peer.wpaElement);
    records_.negotiation = std::make_unique<KeyNegotiationRecord>();
    records_.eapConfig = std::make_unique<EapConfigRecord>();
    KeyNegotiationRecord& record = *records_.negotiation;
    EapConfigRecord& config = *records_.eapConfig;
    while (Running()) {
        const bool answered = WaitForLink();
        if (!Running()) break;

        FillEapConfigRecord(config, setting.dot1xProtocol, setting.username, setting.password);
        supplicant_.do_eapol_init(&state_.adapter, 0, peer.ownMac, peer.bssid, &config);
        bool succeeded = false;
        for (int failedSteps = 0; Running();) {
            if (supplicant_.do_eapol_run() != 0) {
                succeeded = true;
                break;
            }
            if (++failedSteps == kEapStepsPerAttempt) {
                outcome_->AttemptEnded(answered ? AttemptEnd::RefusedAfterAnswer : AttemptEnd::Unanswered);
                Reassociate();
                break;
            }
        }
        supplicant_.do_eapol_halt();
        if (!succeeded) continue;

        uint8_t masterKey[kMasterKeySize] = {};
        supplicant_.Get_EAP_Derived_Key_32byte(masterKey);
        PrepareKeyNegotiationRecord(record, peer.ownMac, element, peer.cipherCode, &InstallNegotiatedKey);
        std::memcpy(record.pairwiseMasterKey, masterKey, kMasterKeySize);
        PutRunConstant(record);
        supplicant_.do_key_negotiation_init(&state_.adapter, &record);
        NegotiateWhileLinked(record, true);
    }
    ClearKeyInstallTarget();
}

void AuthWorker::RunWpaPsk(const Snapshot& setting, const Peer& peer) {
    SetKeyInstallTarget(adapter_, state_.adapter);
    const std::span<const uint8_t> element = KeepElement(peer.wpaElement);
    records_.negotiation = std::make_unique<KeyNegotiationRecord>();
    KeyNegotiationRecord& record = *records_.negotiation;
    while (Running()) {
        const bool answered = WaitForLink();
        if (!Running()) break;

        PrepareKeyNegotiationRecord(record, peer.ownMac, element, peer.cipherCode, &InstallNegotiatedKey);
        supplicant_.Get_PSK_Key_32byte(setting.passphrase.c_str(), setting.ssid.c_str(),
                                       static_cast<int>(setting.ssid.size()), kPskIterations,
                                       record.pairwiseMasterKey, kMasterKeySize);
        PutRunConstant(record);
        supplicant_.do_key_negotiation_init(&state_.adapter, &record);
        supplicant_.do_eapol_start(peer.bssid, peer.ownMac);
        NegotiateWhileLinked(record, answered);
    }
    ClearKeyInstallTarget();
}

// The negotiation record points at the element, so it is kept as long as the records.
std::span<const uint8_t> AuthWorker::KeepElement(std::span<const uint8_t> element) {
    records_.element.assign(element.begin(), element.end());
    return records_.element;
}

void AuthWorker::NegotiateWhileLinked(KeyNegotiationRecord& record, bool answered) {
    const unsigned long keysBefore = PairwiseKeysInstalled();
    int steps = 0;
    while (Running()) {
        supplicant_.do_key_negotiation_run(&record);
        if (++steps < kNegotiationStepsPerLinkCheck) continue;
        steps = 0;
        if (adapter_.QueryWL_ConnectState(&state_.adapter) == kConnected) {
            answered = true;
            continue;
        }
        if (PairwiseKeysInstalled() != keysBefore) outcome_->AttemptEnded(AttemptEnd::KeyInstalled);
        else outcome_->AttemptEnded(answered ? AttemptEnd::RefusedAfterAnswer : AttemptEnd::Unanswered);
        return;
    }
}

// Gives up on an EAP attempt: setting the adapter's own SSID again makes it associate anew.
void AuthWorker::Reassociate() {
    char ssid[kMaxSsidLength + 1] = {};
    const int length = adapter_.QueryWL_SSID(&state_.adapter, ssid);
    if (length < 0 || length > kMaxSsidLength) return;
    adapter_.SetWL_SSID(&state_.adapter, ssid, length);
}

}  // namespace hx
