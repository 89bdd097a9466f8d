#include "tools/hxctl/CommandLine.h"

namespace hx::ctl {

const char* HelpText() {
    return R"(hxctl: drives the running HX-88U Utility from a console or a script.

usage: hxctl [-t] VERB [ARGUMENTS] [OPTIONS] [--wait S]

verbs:
  status                      the adapter, who controls it, the libraries, the link and the
                              security in force
  scan                        starts a survey, waits for its list and prints one row per
                              network
  connect SSID [OPTIONS]      joins SSID and waits until the link is up and, for WPA and WPA2,
                              both keys are installed. Without a key, a secured network is
                              joined only with the setting in force when that setting is its
                              own.
      --bssid B               the access point, e.g. 00-11-22-33-44-55
      --wep-key INDEX         WEP key 1 to 4: 5, 13 or 29 characters of text, or 10, 26 or 58
                              hexadecimal digits (64, 128, 256 bits), read as the pass phrase
                              is: the first line of standard input, typed without echo at a
                              console (INDEX:KEY takes it from the command line, where other
                              users can read it)
      --wep-key-file FILE     the WEP key is the text of FILE (key 1 unless --wep-key INDEX)
      --wep-auth open|shared|auto
                              WEP authentication (default auto)
      --passphrase            WPA-PSK and WPA2-PSK: the pass phrase (8 to 63 characters) is
                              the first line of standard input, typed without echo at a
                              console. Piped or redirected in, it needs no option:
                              `hxctl connect Net < key.txt`
      --passphrase-file FILE  WPA-PSK and WPA2-PSK: the pass phrase is the text of FILE (one
                              trailing line end is dropped). It is never taken from the
                              command line.
      --cipher tkip|aes       WPA-PSK and WPA2-PSK cipher
  profile list                the stored profiles, one per line
  profile load NAME           loads and applies a profile
  profile save NAME           stores the setting in force as a new profile
  profile delete NAME         removes a profile
  profile export NAME [--key clear]
                              writes the profile as WLAN profile XML to standard output;
                              without --key clear no key or pass phrase is written
  profile import FILE [--name NAME]
                              stores a WLAN profile XML file (at most 1 MB) as a new profile,
                              named NAME or after the file's profile name
  monitor                     prints one line per event (link up or down, SSID or BSSID
                              change, keys installed, a join that ended without keys, adapter
                              plugged or unplugged, Zero Configuration taking or giving back
                              the adapter) until Ctrl+C; with -t, the status fields whose
                              change is the event ("adapter: no", "link: up", "ssid: ...")

options:
  -t, --terse                 for scripts: "key: value" lines (status: the utility's field
                              names) and tab-separated rows (scan: bssid, ssid, security,
                              mode, channel, signal). Control characters of SSIDs and names
                              show as \xNN, the backslash as \\, in both forms.
  --wait S                    how long to wait in all, 0 to 3600 seconds (default 30): for a
                              utility still starting (its window up but not yet its channel,
                              or not yet looked for the adapter), then for scan's list or
                              connect's link. Given, it also waits for a utility that is not
                              running yet (a logon script may run before it starts).
  -h, --help, /?              this text
  --                          the arguments after it are not options (an SSID with a
                              leading '-')

exit status:
  0   success
  1   unknown error; scan, profile save, delete and import without an adapter or
      under Windows Zero Configuration
  2   wrong invocation or bad input (nothing was sent or changed)
  3   timeout
  4   connect failed (the join ended without keys); connect and profile load without
      an adapter, under Windows Zero Configuration, or when the adapter refused part of
      the setting (the utility applies it again until the adapter takes it)
  5   the network cannot be joined by this adapter (WPA3 only, or protected
      management frames required)
  8   the utility is not running, runs without its control channel, was still starting
      when --wait ran out, or another program serves its pipe (no pass phrase or key goes
      to any program but the utility beside hxctl or the installed one)
  10  no such network or profile

The utility's pipe is \\.\pipe\hx88uutil-<your SID>, or the one HX_CONTROL_PIPE names.
)";
}

}  // namespace hx::ctl
