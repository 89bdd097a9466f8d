#include "tests/fakes/FakeSupplicantLibrary.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "tests/fakes/CallArgumentText.h"

namespace hx::test {

void FakeSupplicantLibrary::SetResult(const std::string& name, int result) {
    std::lock_guard lock(mutex_);
    results_[name] = result;
}

void FakeSupplicantLibrary::Script(const std::string& name, std::deque<int> results) {
    std::lock_guard lock(mutex_);
    scripts_[name] = std::move(results);
}

void FakeSupplicantLibrary::SetStepDelay(std::chrono::microseconds delay) {
    std::lock_guard lock(mutex_);
    stepDelay_ = delay;
}

void FakeSupplicantLibrary::OnCall(const std::string& name, std::function<void()> hook) {
    std::lock_guard lock(mutex_);
    hooks_[name] = std::move(hook);
}

void FakeSupplicantLibrary::OnNegotiationStep(std::function<void(KeyNegotiationRecord&, int)> hook) {
    std::lock_guard lock(mutex_);
    stepHook_ = std::move(hook);
}

void FakeSupplicantLibrary::SetJournal(std::function<void(const std::string&)> journal) {
    std::lock_guard lock(mutex_);
    journal_ = std::move(journal);
}

void FakeSupplicantLibrary::KeepRecordsUntilShutdown() {
    std::lock_guard lock(mutex_);
    keepRecords_ = true;
}

FakeSupplicantLibrary::RecordsAtShutdown FakeSupplicantLibrary::ReadAtShutdown() const {
    std::lock_guard lock(mutex_);
    return atShutdown_;
}

std::vector<std::string> FakeSupplicantLibrary::Calls() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> result;
    for (const auto& [name, args] : calls_) result.push_back(name + "(" + args + ")");
    return result;
}

std::vector<std::string> FakeSupplicantLibrary::CallNames() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> result;
    for (const auto& call : calls_) result.push_back(call.first);
    return result;
}

int FakeSupplicantLibrary::CountOf(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                          [&](const auto& call) { return call.first == name; }));
}

bool FakeSupplicantLibrary::WaitForCount(const std::string& name, int count,
                                         std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return called_.wait_for(lock, timeout, [&] {
        return std::count_if(calls_.begin(), calls_.end(),
                             [&](const auto& call) { return call.first == name; }) >= count;
    });
}

EapConfigRecord FakeSupplicantLibrary::LastEapConfig() const {
    std::lock_guard lock(mutex_);
    return eapConfig_;
}

KeyNegotiationRecord FakeSupplicantLibrary::LastNegotiationRecord() const {
    std::lock_guard lock(mutex_);
    return negotiationRecord_;
}

std::vector<uint8_t> FakeSupplicantLibrary::LastNegotiationElement() const {
    std::lock_guard lock(mutex_);
    return negotiationElement_;
}

int FakeSupplicantLibrary::Enter(const std::string& name, const std::string& args) {
    std::function<void()> hook;
    std::function<void(const std::string&)> journal;
    {
        std::lock_guard lock(mutex_);
        auto it = hooks_.find(name);
        if (it != hooks_.end()) hook = it->second;
        journal = journal_;
    }
    if (hook) hook();
    if (journal) journal(name);
    int result = 0;
    {
        std::lock_guard lock(mutex_);
        calls_.emplace_back(name, args);
        auto script = scripts_.find(name);
        if (script != scripts_.end() && !script->second.empty()) {
            result = script->second.front();
            script->second.pop_front();
        } else if (auto it = results_.find(name); it != results_.end()) {
            result = it->second;
        }
    }
    called_.notify_all();
    return result;
}

void FakeSupplicantLibrary::StepDelay() const {
    std::chrono::microseconds delay;
    {
        std::lock_guard lock(mutex_);
        delay = stepDelay_;
    }
    if (delay.count() > 0) std::this_thread::sleep_for(delay);
}

int FakeSupplicantLibrary::do_eapol_init(AdapterHandle*, int reserved, const unsigned char ownMac[6],
                                         const unsigned char bssid[6], EapConfigRecord* config) {
    {
        std::lock_guard lock(mutex_);
        if (config) eapConfig_ = *config;
        if (keepRecords_) keptEapConfig_ = config;
    }
    return Enter("do_eapol_init", std::to_string(reserved) + "," + Hex(ownMac, 6) + "," + Hex(bssid, 6));
}

int FakeSupplicantLibrary::do_eapol_run() {
    StepDelay();
    return Enter("do_eapol_run", "");
}

int FakeSupplicantLibrary::do_eapol_halt() { return Enter("do_eapol_halt", ""); }

int FakeSupplicantLibrary::Get_EAP_Derived_Key_32byte(unsigned char key[32]) {
    {
        std::lock_guard lock(mutex_);
        std::memcpy(key, eapKey.data(), 32);
    }
    return Enter("Get_EAP_Derived_Key_32byte", "");
}

int FakeSupplicantLibrary::Get_PSK_Key_32byte(const char* passphrase, const char* ssid, int ssidLength,
                                              int iterations, unsigned char* key, int keyLength) {
    {
        std::lock_guard lock(mutex_);
        if (key) std::memcpy(key, pskKey.data(), static_cast<size_t>(std::clamp(keyLength, 0, 32)));
    }
    return Enter("Get_PSK_Key_32byte", Str(passphrase) + "," + Str(ssid) + "," +
                                           std::to_string(ssidLength) + "," +
                                           std::to_string(iterations) + "," + std::to_string(keyLength));
}

int FakeSupplicantLibrary::do_key_negotiation_init(AdapterHandle*, KeyNegotiationRecord* record) {
    {
        std::lock_guard lock(mutex_);
        negotiationStep_ = 0;
        if (keepRecords_) keptNegotiation_ = record;
        if (record) {
            negotiationRecord_ = *record;
            negotiationElement_.assign(record->wpaElement,
                                       record->wpaElement ? record->wpaElement + record->wpaElementLength
                                                          : record->wpaElement);
        }
    }
    return Enter("do_key_negotiation_init", "");
}

int FakeSupplicantLibrary::do_key_negotiation_run(KeyNegotiationRecord* record) {
    StepDelay();
    std::function<void(KeyNegotiationRecord&, int)> hook;
    int step;
    {
        std::lock_guard lock(mutex_);
        hook = stepHook_;
        step = ++negotiationStep_;
    }
    const int result = Enter("do_key_negotiation_run", "");
    if (hook && record) hook(*record, step);
    return result;
}

int FakeSupplicantLibrary::do_eapol_start(const unsigned char bssid[6], const unsigned char ownMac[6]) {
    return Enter("do_eapol_start", Hex(bssid, 6) + "," + Hex(ownMac, 6));
}

int FakeSupplicantLibrary::Shutdown_Dot1x_Module() {
    {
        std::lock_guard lock(mutex_);
        if (keptEapConfig_) atShutdown_.eapConfig = *keptEapConfig_;
        if (keptNegotiation_) {
            atShutdown_.negotiation = *keptNegotiation_;
            const uint8_t* element = keptNegotiation_->wpaElement;
            if (element) atShutdown_.element.assign(element, element + keptNegotiation_->wpaElementLength);
        }
        keptEapConfig_ = nullptr;
        keptNegotiation_ = nullptr;
    }
    return Enter("Shutdown_Dot1x_Module", "");
}

int FakeSupplicantLibrary::genMyCertFile(const char* subject, const char* issuer) {
    return Enter("genMyCertFile", Str(subject) + "," + Str(issuer));
}

int FakeSupplicantLibrary::genMySSLFile() { return Enter("genMySSLFile", ""); }

int FakeSupplicantLibrary::genROOTSSLFile() { return Enter("genROOTSSLFile", ""); }

int FakeSupplicantLibrary::genROOTCertFile(const char* subject, const char* issuer) {
    return Enter("genROOTCertFile", Str(subject) + "," + Str(issuer));
}

}  // namespace hx::test
