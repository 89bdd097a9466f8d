#include "sim/core/ControlCommands.h"

#include <cstdio>
#include <sstream>

#include "sim/core/RadioPlan.h"
#include "sim/core/ScenarioParser.h"
#include "sim/core/TextUtil.h"

namespace hxsim {
namespace {

constexpr const char* kHelp =
    "commands:\n"
    "  show                          the adapter's state (settings, link, port, keys)\n"
    "  plug | unplug                 plug the adapter in or pull it out\n"
    "  wzc [0|1|2]                   status the Zero Configuration service reports while it runs\n"
    "  wzc-service start|stop        start or stop that service from outside\n"
    "  signal <bssid|ssid> <dBm>     move a network's mean signal (below -90 it is out of range)\n"
    "  drift <bssid|ssid> <dB>       how far a network's signal wanders\n"
    "  deauth [reason]               the access point deauthenticates the adapter\n"
    "  group-rekey                   the access point renews its group key (the next key index)\n"
    "  fail <call> once|always|off|<n>   make a library call fail\n"
    "  fail clear                    no call fails any more\n"
    "  timing <name> <ms>            scan, scan-jitter, associate, reconnect, handshake-timeout,\n"
    "                                retransmit, eap-timeout, group-rekey (0: never);\n"
    "  timing link-loss <dBm>        the signal below which a link is lost (-120 to 0)\n"
    "  capture <file> | capture off  record the air into a pcap file (802.11 frames) / stop\n"
    "  networks                      the networks and their signal now\n"
    "  events                        what happened lately\n"
    "  help                          this text\n";

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string out;
    char b[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", bytes[i]);
        out += b;
    }
    return out;
}

std::string CipherName(uint8_t suite) {
    switch (suite) {
        case Suite::Tkip: return "tkip";
        case Suite::Ccmp: return "ccmp";
        case Suite::Wep40: return "wep40";
        case Suite::Wep104: return "wep104";
        default: return "none";
    }
}

std::string YesNo(bool b) { return b ? "yes" : "no"; }

std::string HexCode(int code) {
    char b[8];
    std::snprintf(b, sizeof b, "0x%02X", code);
    return b;
}

ControlReply Fail(std::string text) { return {false, std::move(text) + "\n"}; }
ControlReply Ok(std::string text = "ok") { return {true, std::move(text) + "\n"}; }

int ResolveNetwork(World& world, const std::string& name) { return world.FindNetwork(name); }

ControlReply SetTimingValue(World& world, const std::string& name, long long value) {
    Timing t = world.GetScenario().timing;
    int* field = nullptr;
    if (name == "scan") field = &t.scanMs;
    else if (name == "scan-jitter") field = &t.scanJitterMs;
    else if (name == "associate") field = &t.associateMs;
    else if (name == "reconnect") field = &t.reconnectMs;
    else if (name == "handshake-timeout") field = &t.handshakeTimeoutMs;
    else if (name == "retransmit") field = &t.retransmitMs;
    else if (name == "eap-timeout") field = &t.eapTimeoutMs;
    else if (name == "group-rekey") field = &t.groupRekeyMs;
    if (name == "link-loss") {
        // Not a time: the signal in dBm below which a link is lost, as in [timing].
        if (value < -120 || value > 0) return Fail("link-loss in dBm, -120 to 0");
        t.linkLossDbm = static_cast<int>(value);
        world.SetTiming(t);
        return Ok();
    }
    if (field == nullptr) return Fail("unknown timing " + name);
    if (value < 0 || value > 3600000) return Fail("out of range");
    *field = static_cast<int>(value);
    world.SetTiming(t);
    return Ok();
}

}  // namespace

std::string StateReport(World& world) {
    std::ostringstream out;
    const AdapterSettings& s = world.Settings();
    out << "time: " << world.Now() << " ms\n";
    out << "plugged: " << YesNo(world.Plugged()) << "\n";
    out << "open-handles: " << world.OpenHandles() << "\n";
    out << "wzc.status: " << world.ZeroConfigStatus() << "\n";
    out << "wzc.service: " << (world.ZeroConfigServiceRunning() ? "running" : "stopped") << ", stopped "
        << world.WzcStops() << " times, started " << world.WzcStarts() << " times\n";
    out << "use-own-oids: " << s.useOwnOids << "\n";
    out << "use-own-oids.told: " << world.UseOwnOidsCalls() << " times\n";
    out << "settings.network-type: " << s.security.networkType << "\n";
    out << "settings.auth-mode: " << s.security.authMode << "\n";
    out << "settings.wep-status: " << s.security.wepStatus << "\n";
    out << "settings.ssid: " << (s.ssidSet ? "\"" + s.ssid + "\"" : "(not set)") << "\n";
    out << "settings.fixed-bssid: " << (s.fixedBssid ? MacText(*s.fixedBssid) : "none") << "\n";
    out << "settings.channel: " << s.channel << "\n";
    out << "settings.preamble: " << s.preamble << "\n";
    out << "settings.power-save: " << s.powerSave << "\n";
    out << "settings.region: " << HexCode(s.regionInForce) << "\n";
    out << "settings.channel-plan: " << HexCode(s.channelPlanRegion) << "\n";
    out << "settings.desired-rates: "
        << Hex(std::vector<uint8_t>(s.desiredRates.begin(), s.desiredRates.end())) << "\n";
    out << "settings.wep-keys:";
    for (int i = 0; i < 4; ++i) {
        const auto& k = s.security.wepKeys[i].key;
        out << " [" << i << (i == s.security.defaultKey ? "*" : "") << "] " << (k.empty() ? "-" : Hex(k));
    }
    out << "\n";
    const Link& link = world.CurrentLink();
    out << "link.associated: " << YesNo(link.associated) << "\n";
    if (const NetworkSpec* n = world.LinkedNetwork()) {
        out << "link.bssid: " << MacText(n->bssid) << "\n";
        out << "link.ssid: \"" << n->ssid << "\"\n";
        out << "link.mode: " << (n->adhoc ? (link.network < 0 ? "adhoc (own cell)" : "adhoc") : "infrastructure") << "\n";
        out << "link.channel: " << n->channel << "\n";
        out << "link.authentication: " << AuthKindName(link.admission.authentication) << "\n";
        out << "link.pairwise-cipher: " << CipherName(link.admission.pairwiseCipher) << "\n";
        out << "link.group-cipher: " << CipherName(link.admission.groupCipher) << "\n";
        out << "link.wep-keys-match: " << YesNo(link.admission.wepKeysMatch) << "\n";
        out << "link.rssi: " << world.Rssi() << "\n";
        out << "link.quality: " << world.Quality() << "\n";
        out << "link.speed-kbps: " << world.LinkSpeedKbps() << "\n";
        out << "link.since: " << link.since << " ms\n";
    }
    out << "port.authorised: " << YesNo(world.PortAuthorised()) << "\n";
    if (const ApSession* session = world.Session()) {
        out << "port.phase: " << session->Phase() << "\n";
        out << "port.mic-failures: " << session->MicFailures() << "\n";
        out << "port.group-key-index: " << session->GroupKeyIndex() << "\n";
    }
    out << "keys.installed:";
    if (world.InstalledKeys().empty()) out << " none";
    for (const InstalledKey& k : world.InstalledKeys())
        out << " [" << (k.pairwise ? "pairwise" : "group") << " " << k.index << " " << k.material.size()
            << " bytes " << (k.matches ? "matches" : "no-match") << "]";
    out << "\n";
    out << "counters: associations " << world.Associations() << ", deauthentications "
        << world.Deauthentications() << "\n";
    out << "scan: " << world.LastScan().size() << " records" << (world.Scanning() ? ", scanning" : "") << "\n";
    if (const AirCapture* capture = world.Capture())
        out << "capture: " << capture->Path() << ", " << capture->Written() << " bytes\n";
    else
        out << "capture: off\n";
    out << "faults:";
    const auto planned = world.Faults().Planned();
    if (planned.empty()) out << " none";
    for (const auto& [call, times] : planned)
        out << " " << call << "=" << (times == FaultPlan::kAlways ? std::string("always") : std::to_string(times));
    out << "\n";
    return out.str();
}

ControlReply RunControlCommand(World& world, const std::string& line) {
    world.Sync();
    const auto words = SplitWords(line);
    if (words.empty()) return Fail("empty command; try help");
    const std::string command = Lower(words[0]);
    const size_t argc = words.size() - 1;

    if (command == "help") return {true, kHelp};
    if (command == "show" || command == "state") return {true, StateReport(world)};
    if (command == "plug") { world.Plug(); return Ok(); }
    if (command == "unplug") { world.Unplug(); return Ok(); }
    if (command == "wzc") {
        if (argc == 0) return Ok("wzc.status: " + std::to_string(world.ZeroConfigStatus()));
        const auto status = ParseInteger(words[1]);
        if (!status || *status < 0 || *status > 2) return Fail("wzc takes 0, 1 or 2");
        world.SetZeroConfigStatus(static_cast<int>(*status));
        return Ok();
    }
    if (command == "wzc-service" && argc == 1) {
        if (words[1] == "start") { world.StartZeroConfigService(); return Ok(); }
        if (words[1] == "stop") { world.StopZeroConfigService(); return Ok(); }
        return Fail("wzc-service start|stop");
    }
    if ((command == "signal" || command == "drift") && argc == 2) {
        const int network = ResolveNetwork(world, words[1]);
        if (network < 0) return Fail("no network " + words[1]);
        const auto value = ParseInteger(words[2]);
        if (command == "signal") {
            if (!value || *value < -120 || *value > 0) return Fail("signal in dBm, -120 to 0");
            world.SetNetworkSignal(network, static_cast<int>(*value));
        } else {
            if (!value || *value < 0 || *value > 20) return Fail("drift in dB, 0 to 20");
            world.SetNetworkDrift(network, static_cast<int>(*value));
        }
        world.Sync();
        return Ok();
    }
    if (command == "deauth" || command == "drop") {
        if (!world.CurrentLink().associated) return Fail("not associated");
        std::string reason = "by control";
        if (argc > 0) reason = line.substr(line.find(words[1]));
        world.Deauthenticate(reason);
        return Ok();
    }
    if (command == "group-rekey" && argc == 0) {
        ApSession* session = world.Session();
        if (session == nullptr || !session->RenewGroupKey(world.Now()))
            return Fail("no WPA key handshake on this link");
        return Ok("ok: group key index " + std::to_string(session->GroupKeyIndex()));
    }
    if (command == "fail") {
        if (argc == 1 && Lower(words[1]) == "clear") { world.Faults().Clear(); return Ok(); }
        if (argc != 2) return Fail("fail <call> once|always|off|<n>");
        if (!FaultPlan::IsKnownCall(words[1])) return Fail("unknown call " + words[1]);
        const std::string mode = Lower(words[2]);
        int times = 0;
        if (mode == "once") times = 1;
        else if (mode == "always") times = FaultPlan::kAlways;
        else if (mode == "off") times = 0;
        else {
            const auto n = ParseInteger(mode);
            if (!n || *n < 1 || *n > 1000000) return Fail("once, always, off or a count");
            times = static_cast<int>(*n);
        }
        world.Faults().Set(words[1], times);
        return Ok();
    }
    if (command == "timing" && argc == 2) {
        const auto value = ParseInteger(words[2]);
        if (!value) return Fail("timing <name> <ms>");
        return SetTimingValue(world, Lower(words[1]), *value);
    }
    if (command == "capture" && argc > 0) {
        if (argc == 1 && Lower(words[1]) == "off") {
            world.StopCapture();
            return Ok();
        }
        const std::string path = line.substr(line.find(words[1]));
        return world.StartCapture(path) ? Ok() : Fail("cannot write " + path);
    }
    if (command == "networks") {
        std::ostringstream out;
        const auto& networks = world.GetScenario().networks;
        for (int i = 0; i < static_cast<int>(networks.size()); ++i) {
            const NetworkSpec& n = networks[i];
            out << MacText(n.bssid) << " \"" << n.ssid << "\" ch " << n.channel << " " << world.SignalOf(i)
                << " dBm (mean " << n.meanRssi << ")" << (n.adhoc ? " adhoc" : "") << "\n";
        }
        return {true, out.str()};
    }
    if (command == "events") {
        std::ostringstream out;
        for (const WorldEvent& e : world.Events()) out << e.at << " ms: " << e.text << "\n";
        return {true, out.str()};
    }
    return Fail("unknown command " + words[0] + "; try help");
}

}  // namespace hxsim
