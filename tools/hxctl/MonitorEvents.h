// monitor's events: what changed between two successive status records of the utility.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/ControlRecord.h"

namespace hx::ctl {

enum class EventKind {
    AdapterPlugged, AdapterUnplugged,
    ZeroConfigTook, ZeroConfigGaveBack,
    LinkUp, LinkDown, SsidChanged, BssidChanged,
    KeysInstalled, JoinFailed,
};

struct MonitorEvent {
    EventKind kind;
    std::string detail;   // for people: the SSID, BSSID or count the event is about; may be empty
    // For scripts: the status fields whose change is the event, with their new values
    // ("adapter: no", "link: up" with the new link's ssid, bssid and channel, ...).
    std::vector<std::pair<std::string, std::string>> fields;
};

// In the order a reader follows them: the adapter, who controls it, the link, the keys.
std::vector<MonitorEvent> EventsBetween(const ControlRecord& before, const ControlRecord& after);

// One line for people, without a line end.
std::string EventText(const MonitorEvent& event);

}  // namespace hx::ctl
