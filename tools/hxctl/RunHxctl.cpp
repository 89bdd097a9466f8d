#include <optional>
#include <string>
#include <vector>

#include "tools/hxctl/CommandLine.h"
#include "tools/hxctl/ConnectWatch.h"
#include "tools/hxctl/HxctlPorts.h"
#include "tools/hxctl/InputChecks.h"
#include "tools/hxctl/MonitorEvents.h"
#include "tools/hxctl/ProfileFields.h"
#include "tools/hxctl/ReplyText.h"

namespace hx::ctl {
namespace {

bool KnownStatus(long long code) {
    for (int known : {ExitStatus::Ok, ExitStatus::Unknown, ExitStatus::Usage, ExitStatus::Timeout, ExitStatus::ConnectFailed,
                      ExitStatus::CannotJoin, ExitStatus::NotRunning, ExitStatus::NoSuchThing})
        if (code == known) return true;
    return false;
}

// One exchange with the utility: the records after the status record, or the exit status
// (not 0) with its message printed.
struct Answer {
    int status = ExitStatus::Ok;
    std::vector<ControlRecord> records;
};

class Session {
public:
    Session(HxctlPorts& ports, const Invocation& call)
        : ports_(ports), call_(call), deadline_(ports.NowMilliseconds() + 1000LL * call.waitSeconds) {}

    int Fail(int status, const std::string& message) {
        ports_.Err("hxctl: " + message + "\n");
        return status;
    }

    Answer Ask(const ControlRecord& request) {
        const std::string text = FormatControlMessage({request});
        if (text.size() > kMaxControlRequestBytes)
            return {Fail(ExitStatus::Usage, "the request is longer than the utility accepts (" +
                                                std::to_string(kMaxControlRequestBytes) + " bytes)"), {}};
        std::optional<std::vector<ControlRecord>> records;
        for (;;) {
            const Exchange exchange = ports_.Transact(text);
            if (!exchange.reached) {
                // A utility still starting is waited for; one not running only when --wait
                // says so (a logon script may run before the utility has started).
                if ((exchange.starting || (call_.waitGiven && exchange.code == ExitStatus::NotRunning)) && WaitOn())
                    continue;
                return {Fail(exchange.code, exchange.message), {}};
            }
            records = ParseControlMessage(exchange.reply);
            if (!records || records->empty() || records->front().Find("status") == nullptr)
                return {Fail(ExitStatus::Unknown, "the utility's reply could not be read"), {}};
            // It has not looked for the adapter yet: every answer would say there is none.
            if (records->front().Get("starting") != "yes" || !WaitOn()) break;
        }
        if (records->front().Get("status") != "ok") {
            const long long code = NumberField(records->front(), "code", ExitStatus::Unknown);
            const int status = KnownStatus(code) && code != ExitStatus::Ok ? static_cast<int>(code) : ExitStatus::Unknown;
            return {Fail(status, records->front().Get("message", "the utility refused the request")), {}};
        }
        records->erase(records->begin());
        return {ExitStatus::Ok, std::move(*records)};
    }

    Answer AskStatus() {
        Answer answer = Ask(ControlRecord().Set("verb", "status"));
        if (answer.status == ExitStatus::Ok && answer.records.empty())
            return {Fail(ExitStatus::Unknown, "the utility's status reply is empty"), {}};
        return answer;
    }

    int Simple(const std::string& done) {
        const Answer answer = Ask(call_.request);
        if (answer.status != ExitStatus::Ok) return answer.status;
        if (!call_.terse && !done.empty()) ports_.Out(done + "\n");
        return ExitStatus::Ok;
    }

    int Status() {
        const Answer answer = AskStatus();
        if (answer.status != ExitStatus::Ok) return answer.status;
        ports_.Out(StatusText(answer.records.front(), call_.terse));
        return ExitStatus::Ok;
    }

    int ProfileList() {
        const Answer answer = Ask(call_.request);
        if (answer.status == ExitStatus::Ok) ports_.Out(ProfileListText(answer.records));
        return answer.status;
    }

    // Starts a survey as Site Survey's Refresh does and waits for its list: the networks, or
    // nothing when the deadline passed first (an exchange that failed has printed why).
    std::optional<Answer> FreshSurvey(long long deadline) {
        const Answer started = Ask(ControlRecord().Set("verb", "scan"));
        if (started.status != ExitStatus::Ok) return started;
        const long long before = started.records.empty() ? 0 : NumberField(started.records.front(), "survey", 0);
        for (;;) {
            ports_.Sleep(kPollMilliseconds);
            Answer survey = Ask(ControlRecord().Set("verb", "survey"));
            if (survey.status != ExitStatus::Ok) return survey;
            if (!survey.records.empty() && NumberField(survey.records.front(), "survey", before) > before) {
                survey.records.erase(survey.records.begin());
                return survey;
            }
            if (ports_.NowMilliseconds() >= deadline) return std::nullopt;
        }
    }

    int Scan() {
        const std::optional<Answer> survey = FreshSurvey(deadline_);
        if (!survey)
            return Fail(ExitStatus::Timeout, "the survey brought no list within " + std::to_string(call_.waitSeconds) + " s");
        if (survey->status == ExitStatus::Ok) ports_.Out(SurveyText(survey->records, call_.terse));
        return survey->status;
    }

    // The utility takes a WPA network's cipher from its last survey (TKIP for a network not
    // listed there). Without --cipher, a network not yet surveyed is surveyed first, as a
    // user would press Refresh before joining: an AES network would otherwise be joined with
    // TKIP and refused. Nothing here fails the join; it only informs it.
    int SurveyBeforeJoin(const ControlRecord& request, long long deadline) {
        const Answer last = Ask(ControlRecord().Set("verb", "survey"));
        if (last.status != ExitStatus::Ok) return last.status;
        for (size_t i = 1; i < last.records.size(); ++i)
            if (last.records[i].Get("ssid") == request.Get("ssid")) return ExitStatus::Ok;
        const std::optional<Answer> fresh = FreshSurvey(deadline);
        return fresh ? fresh->status : ExitStatus::Ok;
    }

    int Connect() {
        ControlRecord request = call_.request;
        std::optional<std::string> passphrase;
        if (call_.passphraseSource == PassphraseSource::File) {
            const FileText file = ports_.ReadFile(call_.passphraseFile, 4096);
            if (!file.read)
                return Fail(ExitStatus::Usage,
                            file.tooLarge ? call_.passphraseFile + " is too large for a pass phrase" : file.problem);
            passphrase = WithoutOneLineEnd(file.text);
        } else if (call_.passphraseSource == PassphraseSource::Stdin) {
            passphrase = ports_.ReadPassphraseFromInput(true);
            if (!passphrase) return Fail(ExitStatus::Usage, "no pass phrase on standard input");
        } else if (request.Find("wep-key") == nullptr) {
            // A pass phrase piped in needs no option; an empty input means none.
            passphrase = ports_.ReadPassphraseFromInput(false);
            if (passphrase && passphrase->empty()) passphrase.reset();
        }
        if (passphrase) {
            if (std::string problem = CheckPassphrase(*passphrase); !problem.empty()) return Fail(ExitStatus::Usage, problem);
            request.Set("passphrase", *passphrase);
        }
        const long long deadline = deadline_;
        if (passphrase && request.Find("cipher") == nullptr)
            if (const int surveyed = SurveyBeforeJoin(request, deadline); surveyed != ExitStatus::Ok) return surveyed;
        const Answer before = AskStatus();
        if (before.status != ExitStatus::Ok) return before.status;
        const ConnectWatch watch(call_.ssid, request.Get("bssid"), before.records.front());
        const Answer asked = Ask(request);
        if (asked.status != ExitStatus::Ok) return asked.status;

        for (;;) {
            const Answer status = AskStatus();
            if (status.status != ExitStatus::Ok) return status.status;
            const JoinProgress progress = watch.Judge(status.records.front());
            if (progress == JoinProgress::Joined) {
                ports_.Out(call_.terse ? "result: connected\nssid: " + TerseValue(call_.ssid) + "\n"
                                       : "Connected to " + call_.ssid + ".\n");
                return ExitStatus::Ok;
            }
            if (progress == JoinProgress::Failed)
                return Fail(ExitStatus::ConnectFailed, "could not join " + call_.ssid +
                                                           ": the authentication ended without keys (is the key or pass phrase right?)");
            if (ports_.NowMilliseconds() >= deadline) break;
            ports_.Sleep(kPollMilliseconds);
        }
        const Answer survey = Ask(ControlRecord().Set("verb", "survey"));
        if (survey.status != ExitStatus::Ok) return survey.status;
        const std::string waited = std::to_string(call_.waitSeconds) + " s";
        if (watch.TimeoutStatus(survey.records) == ExitStatus::NoSuchThing)
            return Fail(ExitStatus::NoSuchThing, "no link to " + call_.ssid + " within " + waited +
                                                     ", and it is not among the networks of the utility's last survey");
        return Fail(ExitStatus::Timeout, "no link to " + call_.ssid + " within " + waited);
    }

    int Monitor() {
        Answer last = AskStatus();
        if (last.status != ExitStatus::Ok) return last.status;
        while (!ports_.Interrupted()) {
            ports_.Sleep(kPollMilliseconds);
            if (ports_.Interrupted()) break;
            Answer now = AskStatus();
            if (now.status != ExitStatus::Ok) return now.status;
            std::string text;
            for (const MonitorEvent& event : EventsBetween(last.records.front(), now.records.front())) {
                if (!call_.terse) text += ports_.TimeOfDay() + "  " + EventText(event) + "\n";
                for (const auto& [name, value] : call_.terse ? event.fields : decltype(event.fields)())
                    text += name + ": " + TerseValue(value) + "\n";
            }
            if (!text.empty()) ports_.Out(text);
            last = std::move(now);
        }
        return ExitStatus::Ok;
    }

    int Export() {
        const Answer answer = Ask(call_.request);
        if (answer.status != ExitStatus::Ok) return answer.status;
        if (answer.records.empty()) return Fail(ExitStatus::Unknown, "the utility sent no profile");
        const ExportedWlanProfile exported =
            WlanProfileToXml(call_.profileName, SettingFromProfileFields(answer.records.front()), call_.keysInClear);
        if (!exported.Written()) return Fail(ExitStatus::Usage, call_.profileName + ": " + exported.error);
        ports_.Out(exported.xml);
        return ExitStatus::Ok;
    }

    int Import() {
        const FileText file = ports_.ReadFile(call_.importFile, kMaxProfileXmlBytes);
        if (!file.read)
            return Fail(ExitStatus::Usage, file.tooLarge ? call_.importFile + " is larger than 1 MB; it is not a WLAN profile"
                                                         : file.problem);
        const XmlDocument document = ports_.ReadXml(file.text);
        if (!document.problem.empty()) return Fail(ExitStatus::Usage, call_.importFile + ": " + document.problem);
        const ImportedWlanProfile imported = WlanProfileFromXml(document.root);
        if (!imported.Accepted()) return Fail(ExitStatus::Usage, call_.importFile + ": " + imported.error);
        const std::string name = call_.profileName.empty() ? imported.name : call_.profileName;
        if (name.empty()) return Fail(ExitStatus::Usage, call_.importFile + " names no profile: give --name NAME");
        ControlRecord request = call_.request;
        request.Set("name", name);
        for (const auto& field : ProfilePutFields(imported).fields) request.fields.push_back(field);
        const Answer answer = Ask(request);
        if (answer.status != ExitStatus::Ok) return answer.status;
        if (!call_.terse) {
            for (const std::string& note : imported.notes) ports_.Err("hxctl: note: " + note + "\n");
            ports_.Out("Profile " + name + " imported.\n");
        }
        return ExitStatus::Ok;
    }

private:
    // Sleeps one poll when the deadline allows another try.
    bool WaitOn() {
        if (ports_.NowMilliseconds() >= deadline_) return false;
        ports_.Sleep(kPollMilliseconds);
        return true;
    }

    HxctlPorts& ports_;
    const Invocation& call_;
    const long long deadline_;   // --wait seconds after hxctl started
};

}  // namespace

int RunHxctl(const std::vector<std::string>& args, HxctlPorts& ports) {
    const std::variant<Invocation, UsageError> parsed = ParseCommandLine(args);
    if (const UsageError* error = std::get_if<UsageError>(&parsed)) {
        ports.Err("hxctl: " + error->message + "\n");
        return ExitStatus::Usage;
    }
    const Invocation& call = std::get<Invocation>(parsed);
    Session session(ports, call);
    const std::string name = call.request.Get("name");
    switch (call.verb) {
    case Verb::Help: ports.Out(HelpText()); return ExitStatus::Ok;
    case Verb::Status: return session.Status();
    case Verb::Scan: return session.Scan();
    case Verb::Connect: return session.Connect();
    case Verb::Monitor: return session.Monitor();
    case Verb::ProfileList: return session.ProfileList();
    case Verb::ProfileLoad: return session.Simple("Profile " + name + " loaded.");
    case Verb::ProfileSave: return session.Simple("Profile " + name + " saved.");
    case Verb::ProfileDelete: return session.Simple("Profile " + name + " deleted.");
    case Verb::ProfileExport: return session.Export();
    case Verb::ProfileImport: return session.Import();
    }
    return ExitStatus::Unknown;
}

}  // namespace hx::ctl
