// The checks hxctl makes of what the user gives before anything is sent. Each returns an
// empty text when the input is good, else the message to print.
#pragma once

#include <string>
#include <string_view>

namespace hx::ctl {

std::string CheckSsid(std::string_view ssid);
// "INDEX:KEY": index 1 to 4; the key as text (5, 13 or 29 characters for 64, 128 or 256
// bits) or as hexadecimal digits (10, 26 or 58).
std::string CheckWepKey(std::string_view indexAndKey);
// The pass phrase as read (line end already stripped): 8 to 63 characters, one line.
std::string CheckPassphrase(std::string_view passphrase);

// Six bytes in hex, separated by '-' or ':', as "00-11-22-AA-BB-CC"; empty when malformed.
std::string NormalisedBssid(std::string_view text);

// A pass phrase file's or standard input's text without one trailing CR LF, LF or CR.
std::string WithoutOneLineEnd(std::string text);

}  // namespace hx::ctl
