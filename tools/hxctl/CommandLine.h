// hxctl's command line: the verbs and options a user types, checked and turned into what
// is sent to the utility. Nothing here reaches the utility: a refused command line sends
// nothing.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "app/ControlRecord.h"

namespace hx::ctl {

enum class Verb { Help, Status, Scan, Connect, ProfileList, ProfileLoad, ProfileSave, ProfileDelete,
                  ProfileExport, ProfileImport, Monitor };

enum class PassphraseSource { None, Stdin, File };

// --wait: how long hxctl waits in all, for a utility still starting and then for what
// scan and connect wait for.
inline constexpr int kDefaultWaitSeconds = 30;
inline constexpr int kMaxWaitSeconds = 3600;

struct Invocation {
    Verb verb = Verb::Help;
    bool terse = false;
    // The request as it goes out. Connect's pass phrase is added once it has been read;
    // export and import build theirs from the XML side.
    ControlRecord request;
    int waitSeconds = kDefaultWaitSeconds;
    bool waitGiven = false;                  // then a utility not running yet is waited for too
    // connect
    std::string ssid;
    PassphraseSource passphraseSource = PassphraseSource::None;
    std::string passphraseFile;
    // profile export / import
    std::string profileName;                 // export: the profile; import: --name (may be empty)
    bool keysInClear = false;
    std::string importFile;
};

struct UsageError {
    std::string message;
};

// args without the program name.
std::variant<Invocation, UsageError> ParseCommandLine(const std::vector<std::string>& args);

// hxctl --help.
const char* HelpText();

}  // namespace hx::ctl
