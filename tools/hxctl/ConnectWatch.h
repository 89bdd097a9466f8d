// How connect decides from the utility's status records whether the join it asked for has
// ended: the link up on that SSID (and access point, when one was named) with, for WPA,
// both keys installed; or the authentication worker ended without keys since the request.
#pragma once

#include <string>
#include <vector>

#include "app/ControlRecord.h"

namespace hx::ctl {

enum class JoinProgress { Waiting, Joined, Failed };

class ConnectWatch {
public:
    // before: the status record taken just before the connect request.
    ConnectWatch(std::string ssid, std::string bssid, const ControlRecord& before);

    JoinProgress Judge(const ControlRecord& status) const;

    // The exit status once the wait ran out: 10 when the SSID is not among the networks of
    // the utility's last survey (the survey reply's records after its first), else 3.
    int TimeoutStatus(const std::vector<ControlRecord>& survey) const;

private:
    std::string ssid_;
    std::string bssid_;
    long long failedJoinsBefore_;
    long long joinsBefore_;
};

// A record's number field, or the fallback when it is missing or not a number.
long long NumberField(const ControlRecord& record, const char* name, long long fallback);
// Whether the status's auth (wpa, wpa-psk, wpa2, wpa2-psk) is one the worker negotiates keys for.
bool NegotiatesKeys(const std::string& auth);

}  // namespace hx::ctl
