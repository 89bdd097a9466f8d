// What hxctl's verbs need of the system: the utility's channel, the clock, the console, the
// files and the profile XML. The Win32 shell implements it; the verbs themselves are in
// RunHxctl.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ControlRecord.h"
#include "config/XmlElement.h"

namespace hx::ctl {

// One request sent and its reply read.
struct Exchange {
    bool reached = false;   // false: the utility could not be reached; code and message say why
    bool starting = false;  // not reached, but its window is there: the channel is not open yet
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

// An XML document read into its element tree, or the reason it cannot be.
struct XmlDocument {
    std::string problem;   // empty when the document was read
    XmlElement root;
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
    // The first line of standard input, line end dropped. asked (--passphrase): typed at a
    // console without echo, or read from a redirected input. Not asked: only a redirected
    // input is read, and null when it holds nothing (a console is never waited on).
    virtual std::optional<std::string> ReadPassphraseFromInput(bool asked) = 0;
    virtual FileText ReadFile(const std::string& path, size_t maxBytes) = 0;
    virtual void Out(std::string_view text) = 0;
    virtual void Err(std::string_view text) = 0;
    // A whole document's bytes parsed by the system's XML reader.
    virtual XmlDocument ReadXml(std::string_view bytes) = 0;
};

inline constexpr size_t kMaxProfileXmlBytes = 1024 * 1024;
inline constexpr int kPollMilliseconds = 250;

// Runs one command line (without the program name); returns the exit status.
int RunHxctl(const std::vector<std::string>& args, HxctlPorts& ports);

}  // namespace hx::ctl
