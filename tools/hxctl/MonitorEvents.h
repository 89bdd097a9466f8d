// monitor's events: what changed between two successive status records of the utility.
#pragma once

#include <string>
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
    std::string detail;   // the SSID, BSSID or count the event is about; may be empty
};

// In the order a reader follows them: the adapter, who controls it, the link, the keys.
std::vector<MonitorEvent> EventsBetween(const ControlRecord& before, const ControlRecord& after);

// "link-up", "adapter-unplugged", ...: the terse name.
const char* EventName(EventKind kind);
// One line for people, without a line end.
std::string EventText(const MonitorEvent& event);

}  // namespace hx::ctl
