#include "tools/hxctl/CommandLine.h"

#include <algorithm>
#include <optional>

#include "tools/hxctl/InputChecks.h"

namespace hx::ctl {
namespace {

// The options each verb takes.
struct VerbRule {
    const char* words;   // "status", "profile load", ...
    Verb verb;
    int operands;        // positional arguments after the verb's words
    std::vector<std::string> options;
};

const std::vector<VerbRule>& Rules() {
    static const std::vector<VerbRule> rules = {
        {"status", Verb::Status, 0, {"--wait"}},
        {"scan", Verb::Scan, 0, {"--wait"}},
        {"connect", Verb::Connect, 1,
         {"--bssid", "--wep-key", "--wep-auth", "--passphrase", "--passphrase-file", "--cipher", "--wait"}},
        {"profile list", Verb::ProfileList, 0, {"--wait"}},
        {"profile load", Verb::ProfileLoad, 1, {"--wait"}},
        {"profile save", Verb::ProfileSave, 1, {"--wait"}},
        {"profile delete", Verb::ProfileDelete, 1, {"--wait"}},
        {"profile export", Verb::ProfileExport, 1, {"--key", "--wait"}},
        {"profile import", Verb::ProfileImport, 1, {"--name", "--wait"}},
        {"monitor", Verb::Monitor, 0, {"--wait"}},
    };
    return rules;
}

struct Option {
    std::string name;
    std::string value;
};

bool TakesValue(const std::string& name) {
    for (const char* option : {"--wait", "--bssid", "--wep-key", "--wep-auth", "--passphrase-file", "--cipher", "--key", "--name"})
        if (name == option) return true;
    return false;
}

UsageError Refuse(std::string message) { return UsageError{std::move(message)}; }

std::optional<int> Seconds(const std::string& text) {
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int seconds = std::stoi(text);
    if (seconds > kMaxWaitSeconds) return std::nullopt;
    return seconds;
}

// Turns the connect options into request fields.
std::optional<UsageError> BuildConnect(Invocation& call, const std::vector<Option>& options) {
    if (std::string problem = CheckSsid(call.ssid); !problem.empty()) return Refuse(problem);
    call.request.Set("verb", "connect").Set("ssid", call.ssid);
    std::string wepKey, wepAuth, cipher;
    for (const Option& option : options) {
        if (option.name == "--bssid") {
            const std::string bssid = NormalisedBssid(option.value);
            if (bssid.empty()) return Refuse("--bssid takes six hexadecimal bytes, e.g. 00-11-22-33-44-55");
            call.request.Set("bssid", bssid);
        } else if (option.name == "--wep-key") {
            if (std::string problem = CheckWepKey(option.value); !problem.empty()) return Refuse(problem);
            wepKey = option.value;
        } else if (option.name == "--wep-auth") {
            if (option.value != "open" && option.value != "shared" && option.value != "auto")
                return Refuse("--wep-auth takes open, shared or auto");
            wepAuth = option.value;
        } else if (option.name == "--cipher") {
            if (option.value != "tkip" && option.value != "aes") return Refuse("--cipher takes tkip or aes");
            cipher = option.value;
        } else if (option.name == "--passphrase") {
            if (call.passphraseSource == PassphraseSource::File)
                return Refuse("give either --passphrase or --passphrase-file, not both");
            call.passphraseSource = PassphraseSource::Stdin;
        } else if (option.name == "--passphrase-file") {
            if (call.passphraseSource == PassphraseSource::Stdin)
                return Refuse("give either --passphrase or --passphrase-file, not both");
            call.passphraseSource = PassphraseSource::File;
            call.passphraseFile = option.value;
            if (call.passphraseFile.empty()) return Refuse("--passphrase-file needs a file name");
        }
    }
    const bool passphrase = call.passphraseSource != PassphraseSource::None;
    if (!wepKey.empty() && passphrase) return Refuse("give either a WEP key or a pass phrase, not both");
    if (!wepAuth.empty() && wepKey.empty()) return Refuse("--wep-auth needs --wep-key");
    if (!cipher.empty() && !wepKey.empty()) return Refuse("--cipher is WPA-PSK's and does not go with a WEP key");
    if (!wepKey.empty()) call.request.Set("wep-key", wepKey).Set("wep-auth", wepAuth.empty() ? "auto" : wepAuth);
    if (!cipher.empty()) call.request.Set("cipher", cipher);
    return std::nullopt;
}

}  // namespace

std::variant<Invocation, UsageError> ParseCommandLine(const std::vector<std::string>& args) {
    Invocation call;
    std::vector<std::string> words;
    std::vector<Option> options;
    bool optionsEnded = false;   // after "--" every argument is a word: an SSID may start with '-'
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded) {
            words.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-t" || arg == "--terse") {
            call.terse = true;
        } else if (arg == "-h" || arg == "--help" || arg == "/?") {
            return Invocation{};
        } else if (arg.size() > 1 && arg[0] == '-') {
            const size_t equals = arg.find('=');
            Option option{arg.substr(0, equals), equals == std::string::npos ? std::string() : arg.substr(equals + 1)};
            if (option.name == "--passphrase") {
                if (equals != std::string::npos)
                    return Refuse("the pass phrase is never taken from the command line (other users can read "
                                  "it): give --passphrase alone to type it or pipe it in, or --passphrase-file FILE");
            } else if (equals == std::string::npos && TakesValue(option.name)) {
                if (i + 1 >= args.size()) return Refuse(option.name + " needs a value");
                option.value = args[++i];
            } else if (equals != std::string::npos && !TakesValue(option.name)) {
                return Refuse(option.name + " takes no value");
            }
            options.push_back(std::move(option));
        } else {
            words.push_back(arg);
        }
    }
    if (words.empty()) return Refuse("no verb given (hxctl --help lists the verbs)");

    const VerbRule* rule = nullptr;
    for (const VerbRule& candidate : Rules()) {
        const std::string spelled = candidate.words;
        const bool twoWords = spelled.find(' ') != std::string::npos;
        if (twoWords ? words.size() >= 2 && words[0] + " " + words[1] == spelled : words[0] == spelled) rule = &candidate;
    }
    if (rule == nullptr) {
        if (words[0] == "profile")
            return Refuse(words.size() < 2 ? "profile needs list, load, save, delete, export or import"
                                            : "unknown profile verb '" + words[1] + "' (hxctl --help lists the verbs)");
        return Refuse("unknown verb '" + words[0] + "' (hxctl --help lists the verbs)");
    }
    const std::string verbWords = rule->words;
    const size_t skip = verbWords.find(' ') != std::string::npos ? 2 : 1;
    const std::vector<std::string> operands(words.begin() + static_cast<long>(skip), words.end());
    const bool passphraseFlag =
        std::any_of(options.begin(), options.end(), [](const Option& option) { return option.name == "--passphrase"; });
    if (rule->verb == Verb::Connect && passphraseFlag && operands.size() > 1)
        return Refuse("the pass phrase is never taken from the command line (other users can read it): "
                      "give it on standard input or in --passphrase-file FILE");
    if (static_cast<int>(operands.size()) != rule->operands)
        return Refuse(verbWords + (rule->operands == 0 ? " takes no argument" : operands.empty() ? " needs an argument"
                                                                                                 : " takes one argument") +
                      " (hxctl --help)");
    for (size_t i = 0; i < options.size(); ++i) {
        const auto& allowed = rule->options;
        if (std::find(allowed.begin(), allowed.end(), options[i].name) == allowed.end())
            return Refuse("unknown option " + options[i].name + " for " + verbWords + " (hxctl --help)");
        for (size_t j = 0; j < i; ++j)
            if (options[j].name == options[i].name) return Refuse(options[i].name + " is given twice");
    }

    call.verb = rule->verb;
    const std::string operand = operands.empty() ? std::string() : operands.front();
    for (const Option& option : options) {
        if (option.name != "--wait") continue;
        const std::optional<int> seconds = Seconds(option.value);
        if (!seconds) return Refuse("--wait takes a whole number of seconds, 0 to " + std::to_string(kMaxWaitSeconds));
        call.waitSeconds = *seconds;
        call.waitGiven = true;
    }
    switch (call.verb) {
    case Verb::Help:
        break;
    case Verb::Status: call.request.Set("verb", "status"); break;
    case Verb::Scan: call.request.Set("verb", "scan"); break;
    case Verb::Monitor: call.request.Set("verb", "status"); break;
    case Verb::ProfileList: call.request.Set("verb", "profile-list"); break;
    case Verb::ProfileLoad: call.request.Set("verb", "profile-load").Set("name", operand); break;
    case Verb::ProfileSave: call.request.Set("verb", "profile-save").Set("name", operand); break;
    case Verb::ProfileDelete: call.request.Set("verb", "profile-delete").Set("name", operand); break;
    case Verb::ProfileExport:
        for (const Option& option : options) {
            if (option.name != "--key") continue;
            if (option.value != "clear") return Refuse("--key takes clear");
            call.keysInClear = true;
        }
        call.profileName = operand;
        call.request.Set("verb", "profile-get").Set("name", operand).Set("keys", call.keysInClear ? "clear" : "none");
        break;
    case Verb::ProfileImport:
        call.importFile = operand;
        for (const Option& option : options) {
            if (option.name != "--name") continue;
            if (option.value.empty()) return Refuse("--name takes a profile name");
            call.profileName = option.value;
        }
        call.request.Set("verb", "profile-put");
        break;
    case Verb::Connect:
        call.ssid = operand;
        if (std::optional<UsageError> refused = BuildConnect(call, options)) return *refused;
        break;
    }
    if (call.verb != Verb::Connect && call.verb != Verb::ProfileImport && call.request.Find("name") != nullptr &&
        operand.empty())
        return Refuse("the profile name is empty");
    return call;
}

}  // namespace hx::ctl
