#include "tests/win/e2e_chaos/ScriptedUser.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "resources/resource.h"
#include "tests/win/common/SimulatorProbe.h"
#include "tests/win/common/UtilityProcess.h"
#include "tests/win/common/WindowProbe.h"

namespace hx::test::chaos {
namespace {

// What the utility answers a request that needs the adapter while it has none, or while
// Windows' Zero Configuration controls it.
constexpr const char* kUnavailable[] = {"no HX-88U adapter is present",
                                        "Wireless LAN is Controlled by the Windows Zero Configuration"};
// hxctl waits this long for a request the utility holds while one of its dialogs is open.
constexpr auto kRequestLimit = std::chrono::seconds(90);

// hxctl's message: the first line of its error output, without its name.
std::string Message(const ConsoleRun& run) {
    std::string line = run.err.substr(0, run.err.find('\n'));
    if (line.rfind("hxctl: ", 0) == 0) line.erase(0, 7);
    return line;
}

// hxctl's words for a request the utility held behind one of its dialogs until hxctl gave
// up, and for a setting in force whose apply a failing library call cut short (still owed).
bool NotCarriedOut(const std::string& message) { return message.find("the request was not carried out") != std::string::npos; }
bool Owed(const std::string& message) { return message.find("refused part of the setting") != std::string::npos; }

bool Unavailable(const std::string& message) {
    return std::any_of(std::begin(kUnavailable), std::end(kUnavailable),
                       [&](const char* text) { return message == text; });
}

// Text sent to another process's window, without waiting on it for long.
std::string WindowText(HWND hwnd) {
    char text[512] = {};
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &result);
    return text;
}

struct DialogSearch {
    DWORD processId;
    HWND main;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialogs(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    char cls[16] = {};
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (owner == search->processId && hwnd != search->main && ::IsWindowVisible(hwnd) && std::string(cls) == "#32770")
        search->found.push_back(hwnd);
    return TRUE;
}

}  // namespace

ConsoleRun HxctlUser::Request(const std::string& verb, const std::string& arguments,
                              std::initializer_list<DWORD> expected, const std::string& input) {
    const ConsoleRun run = RunConsole(ProgramCommand("hxctl.exe", arguments), input, kRequestLimit);
    const double took = std::chrono::duration<double>(run.took).count();
    slowest_[verb] = std::max(slowest_[verb], took);
    const std::string message = Message(run);
    const std::string outcome = !run.ended           ? "did not end"
                                : run.exitCode == 0  ? "ok"
                                                     : std::string("exit ") + std::to_string(run.exitCode) + ": " + message;
    run_.requests.Add(verb + ": " + outcome);
    char line[64];
    std::snprintf(line, sizeof line, " (%.1f s)", took);
    run_.Log("hxctl " + arguments + ": " + outcome + line);
    const bool expectedStatus = std::find(expected.begin(), expected.end(), run.exitCode) != expected.end();
    if (!run.ended) {
        run_.Problem("hxctl " + arguments + " did not end within " + std::to_string(kRequestLimit.count()) + " s");
    } else if (!expectedStatus || (run.exitCode == 1 && !Unavailable(message))) {
        run_.Problem("hxctl " + arguments + " ended with " + std::to_string(run.exitCode) + "\nout:\n" + run.out +
                     "err:\n" + run.err);
    }
    return run;
}

void HxctlUser::CheckRegistry() {
    for (const std::string& finding : registry_.Check())
        if (reported_.insert(finding).second) run_.Problem("registry: " + finding);
}

ConsoleRun HxctlUser::Connect(const Network& network, int waitSeconds) {
    registry_.Asked(network);
    lastConnect_ = &network;
    std::string arguments = std::string("-t connect ") + network.ssid + " --wait " + std::to_string(waitSeconds);
    std::string input;
    if (network.security == Security::Wep) {
        static const char* const auths[] = {"open", "shared", "auto"};
        arguments += std::string(" --wep-key 1:") + network.key + " --wep-auth " + Pick(random_, auths, 3);
    } else if (IsWpa(network)) {
        // The cipher named, or taken from the utility's survey (always for WPA2, which only
        // the survey tells).
        if (network.security != Security::Wpa2Aes && Chance(random_, 0.5))
            arguments += network.security == Security::WpaTkip ? " --cipher tkip" : " --cipher aes";
        arguments += " --passphrase";
        input = std::string(network.key) + "\n";
    }
    // 10: the network was out of reach (faded, or a region without its channel) at the last survey.
    const ConsoleRun run = Request("connect", arguments, {0, 3, 4, 10}, input);
    const std::string message = Message(run);
    // Refused for want of the adapter, or held past hxctl's patience behind a dialog, it left
    // the setting in force as it was.
    if (run.ended && !Unavailable(message) && !NotCarriedOut(message)) {
        lastApplied_ = &network;
        lastJoinGaveUp_ = run.exitCode == 4 && message.find("ended without keys") != std::string::npos;
    }
    return run;
}

void HxctlUser::Loop() {
    static const char* const verbs[] = {"status", "status", "status", "scan", "scan", "connect", "connect",
                                        "connect", "connect", "save", "save", "load", "load", "delete"};
    while (run_.Pause(milliseconds(Uniform(random_, 300, 2500)))) {
        std::string verb = Pick(random_, verbs, std::size(verbs));
        const std::vector<std::string> profiles = registry_.Profiles();
        if ((verb == "load" || verb == "delete") && profiles.empty()) verb = "save";
        if (verb == "status") {
            Request(verb, "-t status", {0});
        } else if (verb == "scan") {
            Request(verb, "-t scan --wait 15", {0, 1, 3});
        } else if (verb == "connect") {
            Connect(Pick(random_, kNetworks.data(), kNetworks.size()), 20);
        } else if (verb == "save") {
            const std::string name = std::string("Chaos-") + std::to_string(nextProfile_++);
            if (Request("profile save", "-t profile save " + name, {0, 1}).exitCode == 0) registry_.Saved(name);
        } else {
            const std::string name = Pick(random_, profiles.data(), profiles.size());
            if (verb == "load") {
                if (const ConsoleRun run = Request("profile load", "-t profile load " + name, {0, 4});
                    run.exitCode == 0 || (run.exitCode == 4 && Owed(Message(run)))) {
                    const std::string ssid = registry_.SsidOf(name);
                    const auto network = std::find_if(kNetworks.begin(), kNetworks.end(),
                                                      [&](const Network& n) { return ssid == n.ssid; });
                    lastApplied_ = network != kNetworks.end() ? &*network : nullptr;
                    lastJoinGaveUp_ = false;
                }
            } else if (Request("profile delete", "-t profile delete " + name, {0, 1}).exitCode == 0) {
                registry_.Deleted(name);
            }
        }
        CheckRegistry();
    }
}

void HxctlUser::LastConnectHolds(std::chrono::seconds hold) {
    const Network& network = lastConnect_ != nullptr ? *lastConnect_ : kNetworks.back();
    // A failed call of the last faults may have had the utility take its adapter for gone, and
    // Zero Configuration may have given it back only now; the utility sees both at its next
    // ticks (a connect before then is refused, rightly).
    constexpr auto kBack = std::chrono::seconds(15);
    const bool ready = WaitFor([&] {
        const std::string status = RunConsole(ProgramCommand("hxctl.exe", "-t status")).out;
        return ReportValue(status, "adapter") == "yes" && ReportValue(status, "control") == "utility";
    }, kBack);
    if (!ready)
        run_.Problem("the utility did not have its adapter back within " + std::to_string((kBack * kPatience).count()) +
                     " s of the faults' end");
    run_.Log(std::string("the last connect again, with the faults stopped: ") + network.ssid);
    if (const ConsoleRun run = Connect(network, 60); run.exitCode != 0) {
        run_.Problem(std::string("the last connect, to ") + network.ssid + ", failed with the faults stopped: exit " +
                     std::to_string(run.exitCode) + ": " + Message(run) + "\n" + run_.Sim("show") + run_.Sim("events"));
        return;
    }
    const std::string linked = Quoted(network.ssid);
    const auto deauthentications = [&] { return CountAfter(run_.Sim("show"), "deauthentications"); };
    const int before = deauthentications();
    const auto end = Clock::now() + hold;
    while (Clock::now() < end) {
        const std::string show = run_.Sim("show");
        const bool holds = ReportValue(show, "link.ssid") == linked && ReportValue(show, "link.associated") == "yes" &&
                           (!IsWpa(network) || ReportValue(show, "port.authorised") == "yes");
        if (!holds) {
            run_.Problem(std::string("the last connect, to ") + network.ssid + ", did not hold:\n" + show);
            return;
        }
        ::Sleep(1000);
    }
    if (deauthentications() != before) run_.Problem("the last connect was deauthenticated while it should hold");
    const ConsoleRun status = Request("status", "-t status", {0});
    if (ReportValue(status.out, "link") != "up" || ReportValue(status.out, "ssid") != network.ssid)
        run_.Problem("hxctl status does not show the last connect:\n" + status.out);
    if (StoredText("LastSetting", "SSID") != network.ssid)
        run_.Problem("the last setting stored is not the last connect's: " + StoredText("LastSetting", "SSID"));
    CheckRegistry();
}

std::string HxctlUser::Slowest() const {
    std::string text;
    for (const auto& [verb, seconds] : slowest_) {
        char line[96];
        std::snprintf(line, sizeof line, "  %s: %.1f s\n", verb.c_str(), seconds);
        text += line;
    }
    return text;
}

void WindowUser::AnswerDialogs() {
    DialogSearch search{processId_, main_, {}};
    ::EnumWindows(&CollectDialogs, reinterpret_cast<LPARAM>(&search));
    for (HWND dialog : search.found) {
        const std::string text = WindowText(dialog) + ": " + WindowText(::GetDlgItem(dialog, 0xFFFF));
        run_.dialogs.Add(text);
        run_.Log("dialog " + text);
        ::Sleep(static_cast<DWORD>(Uniform(random_, 200, 1200)));  // read
        for (const int answer : {IDOK, IDCANCEL, IDNO}) {
            ::PostMessageA(dialog, WM_COMMAND, answer, 0);
            if (WaitFor([&] { return !::IsWindowVisible(dialog); }, milliseconds(1500))) break;
        }
        if (::IsWindowVisible(dialog)) run_.Problem("a dialog that neither OK, Cancel nor No closes: " + text);
    }
}

constexpr std::array<int, 6> kPageLabels{IDC_NAV_LINK_INFO, IDC_NAV_CONFIGURATION, IDC_NAV_ENCRYPTION,
                                         IDC_NAV_SITE_SURVEY, IDC_NAV_PROFILE, IDC_NAV_ABOUT};

void WindowUser::Tour() {
    ::PostMessageA(main_, WM_COMMAND, ID_TRAY_OPEN, 0);
    // Twice round: a page's second showing still made DCs, regions and bitmaps of its own
    // (about twenty objects) that stay for the rest of the run.
    for (int round = 0; round < 2; ++round) {
        for (const int label : kPageLabels) {
            ::Sleep(500);
            ClickLabel(main_, label);
        }
    }
    ::Sleep(500);
    ClickLabel(main_, IDC_NAV_LINK_INFO);
    ::PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ::Sleep(500);
}

void WindowUser::Loop() {
    const auto& labels = kPageLabels;
    while (run_.Pause(milliseconds(Uniform(random_, 400, 2500)))) {
        AnswerDialogs();
        switch (Uniform(random_, 0, 9)) {
        case 0: case 1: case 2:
            run_.window.Add("open");
            ::PostMessageA(main_, WM_COMMAND, ID_TRAY_OPEN, 0);
            break;
        case 3: case 4:
            run_.window.Add("close");
            ::PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        default:
            run_.window.Add("switch page");
            ClickLabel(main_, Pick(random_, labels.data(), labels.size()));
            break;
        }
    }
}

}  // namespace hx::test::chaos
