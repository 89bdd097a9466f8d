// What hxctl's verbs need of the system: the utility's channel, the clock, the console, the
// files and the profile XML. The Win32 shell implements it; the verbs themselves are in
// RunHxctl.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ControlRecord.h"

namespace hx::ctl {

// One request sent and its reply read.
struct Exchange {
    bool reached = false;   // false: the utility could not be reached; code and message say why
    std::string reply;
    int code = ExitStatus::NotRunning;
    std::string message;
};

struct FileText {
    bool read = false;
    bool tooLarge = false;
    std::string text;
    std::string problem;   // when not read
};

// A WLAN profile XML file turned into profile-put fields, or the reason it cannot be.
struct ImportedProfile {
    std::string problem;   // empty when the file was taken
    std::string name;      // the file's profile name
    ControlRecord fields;  // named as profile-get names them
};

class HxctlPorts {
public:
    virtual ~HxctlPorts() = default;
    // request: one record with its line end.
    virtual Exchange Transact(const std::string& request) = 0;
    virtual void Sleep(int milliseconds) = 0;
    virtual long long NowMilliseconds() = 0;
    virtual std::string TimeOfDay() = 0;   // "HH:MM:SS", for monitor's lines
    virtual bool Interrupted() = 0;        // Ctrl+C during monitor
    virtual std::optional<std::string> ReadPassphraseFromInput() = 0;   // the first line, line end dropped
    virtual FileText ReadFile(const std::string& path, size_t maxBytes) = 0;
    virtual void Out(std::string_view text) = 0;
    virtual void Err(std::string_view text) = 0;
    // The profile XML mapping.
    virtual std::string ProfileToXml(const std::string& name, const ControlRecord& fields) = 0;
    virtual ImportedProfile ProfileFromXml(std::string_view bytes) = 0;
};

inline constexpr size_t kMaxProfileXmlBytes = 1024 * 1024;
inline constexpr int kPollMilliseconds = 250;

// Runs one command line (without the program name); returns the exit status.
int RunHxctl(const std::vector<std::string>& args, HxctlPorts& ports);

}  // namespace hx::ctl
