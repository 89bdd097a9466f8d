#include "tools/hxctl/MonitorEvents.h"

#include "tools/hxctl/ConnectWatch.h"
#include "tools/hxctl/ReplyText.h"

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
    const auto add = [&](EventKind kind, std::string detail, std::initializer_list<const char*> names) {
        MonitorEvent event{kind, std::move(detail), {}};
        for (const char* name : names) event.fields.emplace_back(name, after.Get(name));
        events.push_back(std::move(event));
    };
    const bool adapterBefore = Yes(before, "adapter"), adapterAfter = Yes(after, "adapter");
    if (adapterBefore != adapterAfter)
        add(adapterAfter ? EventKind::AdapterPlugged : EventKind::AdapterUnplugged, {}, {"adapter"});

    const std::string controlBefore = before.Get("control"), controlAfter = after.Get("control");
    if (controlBefore == "utility" && controlAfter == "windows") add(EventKind::ZeroConfigTook, {}, {"control"});
    if (controlBefore == "windows" && controlAfter == "utility") add(EventKind::ZeroConfigGaveBack, {}, {"control"});

    const bool upBefore = LinkUp(before), upAfter = LinkUp(after);
    if (upBefore && !upAfter) {
        add(EventKind::LinkDown, before.Get("ssid"), {});
        events.back().fields.emplace_back("link", "down");
    }
    if (!upBefore && upAfter) add(EventKind::LinkUp, LinkDetail(after), {"link", "ssid", "bssid", "channel"});
    if (upBefore && upAfter) {
        if (before.Get("ssid") != after.Get("ssid"))
            add(EventKind::SsidChanged, before.Get("ssid") + " -> " + after.Get("ssid"), {"ssid", "bssid"});
        else if (before.Get("bssid") != after.Get("bssid"))
            add(EventKind::BssidChanged, before.Get("bssid") + " -> " + after.Get("bssid"), {"bssid"});
    }
    if (!KeysIn(before) && KeysIn(after)) add(EventKind::KeysInstalled, after.Get("ssid"), {"pairwise-key", "group-key"});

    const long long failedBefore = NumberField(before, "failed-joins", 0);
    const long long failedAfter = NumberField(after, "failed-joins", failedBefore);
    if (failedAfter > failedBefore) add(EventKind::JoinFailed, std::to_string(failedAfter), {"failed-joins"});
    return events;
}

std::string EventText(const MonitorEvent& event) {
    // The detail holds SSIDs from the air: escaped like every value hxctl prints.
    const std::string detail = TerseValue(event.detail);
    switch (event.kind) {
    case EventKind::AdapterPlugged: return "adapter plugged in";
    case EventKind::AdapterUnplugged: return "adapter unplugged";
    case EventKind::ZeroConfigTook: return "Windows Zero Configuration took the adapter";
    case EventKind::ZeroConfigGaveBack: return "Windows Zero Configuration gave the adapter back";
    case EventKind::LinkUp: return "link up: " + detail;
    case EventKind::LinkDown: return "link down: " + detail;
    case EventKind::SsidChanged: return "SSID changed: " + detail;
    case EventKind::BssidChanged: return "access point changed: " + detail;
    case EventKind::KeysInstalled: return "keys installed: " + detail;
    case EventKind::JoinFailed: return "join failed: the authentication ended without keys (" + detail + " so far)";
    }
    return {};
}

}  // namespace hx::ctl
