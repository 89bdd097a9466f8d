// The control channel's wire format, shared by the utility and hxctl.
//
// A message is one or more records, one per line ("\n" after each). A record is a list of
// name=value fields separated by single spaces. Names are non-empty runs of [A-Za-z0-9_.-] (the
// profile fields carry their registry value names, as WEPKey64_0);
// values may hold any bytes: every byte outside '!'..'~', and '%', '=' and ' ', is written
// as %XX (two upper-case hex digits). A request is one record whose first field is
// verb=<verb>; a reply's first record is status=ok, or status=error with code=<exit status>
// and message=<text>, and the records after it carry the answer.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hx {

// The channel's pipe: this prefix and the user's SID as text ("S-1-5-21-..."), or the name
// given in this environment variable (tests run more than one utility).
inline constexpr const char* kControlPipePrefix = "\\\\.\\pipe\\hx88uutil-";
inline constexpr const char* kControlPipeVariable = "HX_CONTROL_PIPE";

// The longest request the utility reads, and the longest reply hxctl reads.
inline constexpr size_t kMaxControlRequestBytes = 4096;
inline constexpr size_t kMaxControlReplyBytes = 512 * 1024;

// hxctl's exit statuses; an error reply carries one of them as its code.
namespace ExitStatus {
constexpr int Ok = 0, Unknown = 1, Usage = 2, Timeout = 3, ConnectFailed = 4, CannotJoin = 5, NotRunning = 8,
              NoSuchThing = 10;
}

struct ControlRecord {
    std::vector<std::pair<std::string, std::string>> fields;

    // The first field of that name, or null.
    const std::string* Find(std::string_view name) const;
    std::string Get(std::string_view name, std::string_view fallback = {}) const;
    // Replaces the first field of that name, or appends one.
    ControlRecord& Set(std::string_view name, std::string_view value);
    ControlRecord& Set(std::string_view name, long long value);
};

std::string EscapeControlValue(std::string_view value);
// Null when a '%' is not followed by two hex digits.
std::optional<std::string> UnescapeControlValue(std::string_view text);

// One record without its line end.
std::string FormatControlRecord(const ControlRecord& record);
// Null when a field has no '=', an empty or invalid name, or a bad escape.
std::optional<ControlRecord> ParseControlRecord(std::string_view line);

std::string FormatControlMessage(const std::vector<ControlRecord>& records);
// Null when any line is malformed or the text does not end with "\n"; empty lines are refused.
std::optional<std::vector<ControlRecord>> ParseControlMessage(std::string_view text);

// The first record of a reply.
ControlRecord OkStatus();
ControlRecord ErrorStatus(int code, std::string_view message);

}  // namespace hx
