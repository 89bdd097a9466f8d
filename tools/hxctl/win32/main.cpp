// hxctl.exe: the running HX-88U Utility under a script's control, over its control pipe.
//
//   hxctl [-t] status
//   hxctl [-t] scan
//   hxctl [-t] connect SSID [--bssid B] [--wep-key INDEX:KEY [--wep-auth open|shared|auto]]
//                           [--passphrase | --passphrase-file FILE] [--cipher tkip|aes]
//   hxctl [-t] profile list | load NAME | save NAME | delete NAME
//   hxctl profile export NAME [--key clear] > FILE.xml
//   hxctl profile import FILE.xml [--name NAME]
//   hxctl [-t] monitor            (until Ctrl+C)
//   hxctl --help
// Every verb takes --wait S (0 to 3600, default 30): how long to wait in all, for a utility
// still starting, then for scan's list or connect's link; given, for one not running yet too.
//
// The pass phrase is never on the command line. Without an option it is the first line of a
// redirected or piped standard input (`hxctl connect Net < key.txt`; an empty input means
// none; a console is never waited on); --passphrase reads that line from a console too,
// typed without echo; --passphrase-file FILE takes the file's text. One trailing CR LF or LF
// is dropped. A WEP key is 5, 13 or 29 characters of text or 10, 26 or 58 hex digits;
// --wep-auth defaults to auto. connect waits until the link to SSID is up and, for WPA,
// both keys are installed.
// -t prints "key: value" lines (status: the fields of the utility's status record, in its
// names; connect: "result: connected"; monitor: for each event the status fields whose
// change it is: "adapter: yes|no", "control: windows|utility", "link: up" with ssid, bssid
// and channel, "link: down", "ssid: ...", "bssid: ...", "pairwise-key: yes" and
// "group-key: yes", "failed-joins: N"), tab-separated rows (scan: bssid ssid security mode
// channel signal) and plain lines (profile list: one name each).
// Exit status: 0 ok, 1 unknown error, 2 wrong invocation or bad input (nothing sent),
// 3 timeout, 4 connect failed (the join ended without keys), 8 not running, without its
// channel or still starting, 10 no such network or profile. Errors go to standard error as "hxctl: <text>".
// The pipe is \\.\pipe\hx88uutil-<the user's SID>, or HX_CONTROL_PIPE when set.
#include <string>
#include <vector>

#include "tools/hxctl/HxctlPorts.h"
#include "tools/hxctl/win32/ConsolePorts.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    hx::ctl::win::ConsolePorts ports;
    return hx::ctl::RunHxctl(args, ports);
}
