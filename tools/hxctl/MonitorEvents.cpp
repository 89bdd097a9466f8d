#include "tools/hxctl/MonitorEvents.h"

#include "tools/hxctl/ConnectWatch.h"

namespace hx::ctl {
namespace {

bool Yes(const ControlRecord& status, const char* name) { return status.Get(name) == "yes"; }

bool LinkUp(const ControlRecord& status) { return Yes(status, "adapter") && status.Get("link") == "up"; }

bool KeysIn(const ControlRecord& status) { return LinkUp(status) && Yes(status, "pairwise-key") && Yes(status, "group-key"); }

std::string LinkDetail(const ControlRecord& status) {
    return status.Get("ssid") + " (" + status.Get("bssid") + ", channel " + status.Get("channel") + ")";
}

}  // namespace

std::vector<MonitorEvent> EventsBetween(const ControlRecord& before, const ControlRecord& after) {
    std::vector<MonitorEvent> events;
    const bool adapterBefore = Yes(before, "adapter"), adapterAfter = Yes(after, "adapter");
    if (!adapterBefore && adapterAfter) events.push_back({EventKind::AdapterPlugged, {}});
    if (adapterBefore && !adapterAfter) events.push_back({EventKind::AdapterUnplugged, {}});

    const std::string controlBefore = before.Get("control"), controlAfter = after.Get("control");
    if (controlBefore == "utility" && controlAfter == "windows") events.push_back({EventKind::ZeroConfigTook, {}});
    if (controlBefore == "windows" && controlAfter == "utility") events.push_back({EventKind::ZeroConfigGaveBack, {}});

    const bool upBefore = LinkUp(before), upAfter = LinkUp(after);
    if (upBefore && !upAfter) events.push_back({EventKind::LinkDown, before.Get("ssid")});
    if (!upBefore && upAfter) events.push_back({EventKind::LinkUp, LinkDetail(after)});
    if (upBefore && upAfter) {
        if (before.Get("ssid") != after.Get("ssid"))
            events.push_back({EventKind::SsidChanged, before.Get("ssid") + " -> " + after.Get("ssid")});
        else if (before.Get("bssid") != after.Get("bssid"))
            events.push_back({EventKind::BssidChanged, before.Get("bssid") + " -> " + after.Get("bssid")});
    }
    if (!KeysIn(before) && KeysIn(after)) events.push_back({EventKind::KeysInstalled, after.Get("ssid")});

    const long long failedBefore = NumberField(before, "failed-joins", 0);
    const long long failedAfter = NumberField(after, "failed-joins", failedBefore);
    if (failedAfter > failedBefore) events.push_back({EventKind::JoinFailed, std::to_string(failedAfter)});
    return events;
}

const char* EventName(EventKind kind) {
    switch (kind) {
    case EventKind::AdapterPlugged: return "adapter-plugged";
    case EventKind::AdapterUnplugged: return "adapter-unplugged";
    case EventKind::ZeroConfigTook: return "zero-config-took";
    case EventKind::ZeroConfigGaveBack: return "zero-config-gave-back";
    case EventKind::LinkUp: return "link-up";
    case EventKind::LinkDown: return "link-down";
    case EventKind::SsidChanged: return "ssid-changed";
    case EventKind::BssidChanged: return "bssid-changed";
    case EventKind::KeysInstalled: return "keys-installed";
    case EventKind::JoinFailed: return "join-failed";
    }
    return "unknown";
}

std::string EventText(const MonitorEvent& event) {
    switch (event.kind) {
    case EventKind::AdapterPlugged: return "adapter plugged in";
    case EventKind::AdapterUnplugged: return "adapter unplugged";
    case EventKind::ZeroConfigTook: return "Windows Zero Configuration took the adapter";
    case EventKind::ZeroConfigGaveBack: return "Windows Zero Configuration gave the adapter back";
    case EventKind::LinkUp: return "link up: " + event.detail;
    case EventKind::LinkDown: return "link down: " + event.detail;
    case EventKind::SsidChanged: return "SSID changed: " + event.detail;
    case EventKind::BssidChanged: return "access point changed: " + event.detail;
    case EventKind::KeysInstalled: return "keys installed: " + event.detail;
    case EventKind::JoinFailed: return "join failed: the authentication ended without keys (" + event.detail + " so far)";
    }
    return {};
}

}  // namespace hx::ctl
