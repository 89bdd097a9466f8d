#include "app/ControlService.h"

#include <cstdio>
#include <mutex>

#include "app/MainWindowRule.h"
#include "auth/JoinFailureNotice.h"

namespace hx {
namespace {

const char* AuthText(int mode) {
    switch (mode) {
    case AuthMode::Open: return "open";
    case AuthMode::Shared: return "shared";
    case AuthMode::Wpa: return "wpa";
    case AuthMode::WpaPsk: return "wpa-psk";
    case AuthMode::Wpa2: return "wpa2";
    case AuthMode::Wpa2Psk: return "wpa2-psk";
    default: return "auto";
    }
}

const char* CipherText(int wepStatus) {
    switch (wepStatus) {
    case WepStatus::Wep: return "wep";
    case WepStatus::Tkip: return "tkip";
    case WepStatus::Aes: return "aes";
    default: return "none";
    }
}

}  // namespace

std::string ControlBssidText(const uint8_t* bssid) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", bssid[0], bssid[1], bssid[2], bssid[3],
                  bssid[4], bssid[5]);
    return text;
}

std::string SurveySecurityText(const SurveyEntry& entry) {
    const std::string kind = std::string(AuthMode::Rsn(entry.authenticationMode) ? "WPA2" : "WPA") +
                             (AuthMode::Enterprise(entry.authenticationMode) ? "" : "-PSK");
    switch (entry.refusal) {
    case JoinRefusal::Wpa3Only: return "WPA3-SAE";
    case JoinRefusal::ProtectedFrames: return kind + " PMF";
    case JoinRefusal::Unusable: return "WPA2 unusable";
    case JoinRefusal::None: break;
    }
    switch (entry.encryption) {
    case WepStatus::Disabled: return "open";
    case WepStatus::Tkip: return kind + " TKIP";
    case WepStatus::Aes: return kind + " AES";
    default: return "WEP";
    }
}

std::vector<ControlRecord> Refused(int code, std::string_view message) { return {ErrorStatus(code, message)}; }

const std::string* UnknownField(const ControlRecord& request, std::initializer_list<std::string_view> allowed) {
    for (const auto& [name, value] : request.fields) {
        bool known = name == "verb";
        for (std::string_view a : allowed) known = known || name == a;
        if (!known) return &name;
    }
    return nullptr;
}

std::string WindowsUnavailable(const UtilityState& state) {
    switch (ActionForOpen(state)) {
    case OpenAction::Nothing: return "no HX-88U adapter is present";
    case OpenAction::ExplainZeroConfiguration: return kZeroConfigurationMessage;
    case OpenAction::Show: break;
    }
    return {};
}

std::vector<ControlRecord> AppliedOrOwed(const UtilityState& state) {
    if (!state.settingOwed) return {OkStatus()};
    return Refused(ExitStatus::ConnectFailed,
                   "the adapter refused part of the setting; the utility applies it again until the adapter takes it");
}

std::string ControlService::Answer(std::string_view request) {
    if (!request.empty() && request.back() == '\n') request.remove_suffix(1);
    std::optional<ControlRecord> record;
    if (request.find('\n') == std::string_view::npos) record = ParseControlRecord(request);
    if (!record || record->fields.empty() || record->fields.front().first != "verb")
        return FormatControlMessage(Refused(ExitStatus::Usage, "malformed request"));
    return FormatControlMessage(Handle(*record));
}

std::vector<ControlRecord> ControlService::Handle(const ControlRecord& request) {
    // Until the heartbeat has first looked for the adapter every answer would say there is
    // none: the client is told the utility is starting, and may ask again.
    if (!c_.state.adapterLookedFor)
        return {ErrorStatus(ExitStatus::NotRunning, "HX-88U Utility is starting").Set("starting", "yes")};
    // The registry ends a key name or a text at a zero byte: "Home%00x" would name Home.
    for (const auto& [name, value] : request.fields)
        if (value.find('\0') != std::string::npos)
            return Refused(ExitStatus::Usage, name + " holds a zero byte, which cannot be stored");
    const std::string verb = request.Get("verb");
    if (verb == "status" || verb == "scan" || verb == "survey") {
        if (const std::string* field = UnknownField(request, {}))
            return Refused(ExitStatus::Usage, "unknown field " + *field);
        if (verb == "status") return Status();
        return verb == "scan" ? Scan() : Survey();
    }
    if (verb == "connect") return ConnectRequest(c_, request);
    if (verb.rfind("profile-", 0) == 0) return ProfileRequest(c_, verb, request);
    return Refused(ExitStatus::Usage, "unknown verb " + verb);
}

std::vector<ControlRecord> ControlService::Status() {
    const UtilityState& s = c_.state;
    ControlRecord record;
    const bool adapter = s.adapterReady != 0;
    record.Set("adapter", adapter ? "yes" : "no");
    record.Set("control", s.wzcState == Wzc::ServiceControl ? "windows" : "utility");
    // A link read before the last apply is the one the adapter has just left.
    const bool up = adapter && s.link.connectState == ConnectState::Associated && s.linkReadAtJoin == s.settingsApplied;
    record.Set("link", up ? "up" : "down");
    if (up) {
        record.Set("ssid", s.link.ssid).Set("bssid", ControlBssidText(s.link.bssid.data()));
        record.Set("channel", s.link.channel).Set("rate-kbps", s.link.linkSpeed);
        record.Set("quality", s.link.linkQuality).Set("signal", s.link.signalStrength);
        record.Set("signal-dbm", s.link.signalStrength / 2 - 100);
        record.Set("network", s.link.networkType == NetworkType::AdHoc ? "adhoc" : "infrastructure");
    }
    int auth, cipher;
    {
        std::lock_guard lock(c_.state.currentSettingMutex);
        auth = s.current.AuthenticationMode;
        cipher = s.current.WEPStatus;
    }
    record.Set("auth", AuthText(auth)).Set("cipher", CipherText(cipher));
    const JoinTally tally = c_.notice ? c_.notice->Tally() : JoinTally{};
    // The keys went with the adapter: a worker still running counts those it installed before.
    const bool pairwise = adapter && tally.pairwiseKey, group = adapter && tally.groupKey;
    record.Set("pairwise-key", pairwise ? "yes" : "no").Set("group-key", group ? "yes" : "no");
    record.Set("failed-joins", static_cast<long long>(tally.failedJoins));
    record.Set("joins", static_cast<long long>(s.settingsApplied));
    record.Set("adapter-library", LibraryStatusValue(s.libraries.adapter.kind));
    record.Set("supplicant-library", LibraryStatusValue(s.libraries.supplicant.kind));
    return {OkStatus(), record};
}

std::vector<ControlRecord> ControlService::Scan() {
    if (const std::string why = WindowsUnavailable(c_.state); !why.empty()) return Refused(ExitStatus::Unknown, why);
    const auto collected = static_cast<long long>(c_.state.surveysCollected);
    c_.shell.StartSiteSurvey();
    return {OkStatus(), ControlRecord{}.Set("survey", collected)};
}

std::vector<ControlRecord> ControlService::Survey() {
    std::vector<ControlRecord> reply{OkStatus()};
    ControlRecord head;
    head.Set("survey", static_cast<long long>(c_.state.surveysCollected));
    head.Set("scanning", c_.state.pendingSurveyCountdown != kNoSurveyPending ? "yes" : "no");
    reply.push_back(head);
    for (const SurveyEntry& entry : c_.window.SurveyEntries()) {
        ControlRecord row;
        row.Set("bssid", ControlBssidText(entry.bssid.data())).Set("ssid", entry.ssid);
        row.Set("security", SurveySecurityText(entry));
        row.Set("mode", entry.networkType == NetworkType::Infrastructure ? "ap" : "adhoc");
        row.Set("channel", entry.channel).Set("signal", entry.signal);
        reply.push_back(row);
    }
    return reply;
}

}  // namespace hx
