#include "tools/hxctl/ConnectWatch.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

namespace hx::ctl {

long long NumberField(const ControlRecord& record, const char* name, long long fallback) {
    const std::string* text = record.Find(name);
    if (text == nullptr) return fallback;
    long long value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    return error == std::errc() && end == text->data() + text->size() ? value : fallback;
}

bool NegotiatesKeys(const std::string& auth) {
    return auth == "wpa" || auth == "wpa-psk" || auth == "wpa2" || auth == "wpa2-psk";
}

ConnectWatch::ConnectWatch(std::string ssid, std::string bssid, const ControlRecord& before)
    : ssid_(std::move(ssid)),
      bssid_(std::move(bssid)),
      failedJoinsBefore_(NumberField(before, "failed-joins", 0)),
      joinsBefore_(NumberField(before, "joins", -1)) {}

JoinProgress ConnectWatch::Judge(const ControlRecord& status) const {
    if (NumberField(status, "failed-joins", failedJoinsBefore_) > failedJoinsBefore_) return JoinProgress::Failed;
    // A link seen before the utility began the new join is the old one.
    if (joinsBefore_ >= 0 && NumberField(status, "joins", joinsBefore_) <= joinsBefore_) return JoinProgress::Waiting;
    if (status.Get("adapter") != "yes" || status.Get("link") != "up" || status.Get("ssid") != ssid_)
        return JoinProgress::Waiting;
    const std::string bssid = status.Get("bssid");
    const auto sameLetter = [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b)); };
    if (!bssid_.empty() && !std::equal(bssid.begin(), bssid.end(), bssid_.begin(), bssid_.end(), sameLetter))
        return JoinProgress::Waiting;
    if (NegotiatesKeys(status.Get("auth")) && (status.Get("pairwise-key") != "yes" || status.Get("group-key") != "yes"))
        return JoinProgress::Waiting;
    return JoinProgress::Joined;
}

int ConnectWatch::TimeoutStatus(const std::vector<ControlRecord>& survey) const {
    for (const ControlRecord& network : survey)
        if (network.Find("ssid") != nullptr && network.Get("ssid") == ssid_) return ExitStatus::Timeout;
    return ExitStatus::NoSuchThing;
}

}  // namespace hx::ctl
