#!/usr/bin/env bash
# The worked example of docs/hxctl.md under Wine, as it stands: the batch file shown there
# (it must equal docs/examples/join-office.cmd) run by Wine's cmd.exe in a folder holding
# the pass phrase file, with the build's hxctl.exe on the path, twice, as at two logons: the
# first time started before the build's utility (which starts a few seconds later, as it
# may at a logon), the second time with the utility running and the profile of the first
# run stored. Each run must end with status 0 and print the output the page shows, line
# for line (the lines whose values vary are left out of the page's copy); the office
# network must be joined (the simulated access point authorises the port) and a profile
# exported with its key. Prints each step; exit status 0 when all hold.
#   scripts/check-hxctl-example.sh [win64|win32]    (default win64; the build must exist)
set -eu
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
preset=${1:-win64}
case "$preset" in
    win64 | win32) ;;
    *) echo "usage: scripts/check-hxctl-example.sh [win64|win32]" >&2; exit 2 ;;
esac
page=docs/hxctl.md
example=docs/examples/join-office.cmd
bin=build/$preset/bin
work=build/$preset/hxctl-example
for f in HX88UUtil.exe hxctl.exe hxsim.exe; do
    [ -f "$bin/$f" ] || { echo "missing $bin/$f: build the $preset preset first" >&2; exit 1; }
done
fail() { echo "FAIL: $*"; exit 1; }
ok() { echo "ok (${SECONDS} s): $*"; }
# The fenced block that follows the marker line <!-- name --> on the page, without CRs.
block() {
    awk -v marker="<!-- $1 -->" '$0 == marker { on = 1; next }
        on && /^```/ { if (++fences == 2) exit; next }
        on && fences == 1' "$page"
}

[ "$(block example-script)" = "$(tr -d '\r' <"$example")" ] || fail "the batch file on $page is not $example"
expected=$(block example-output)
[ -n "$expected" ] || fail "$page shows no output of the example"
ok "$page shows $example as it stands"

SETTINGS_KEY='HKCU\Software\Tessaro\HX88UUtil'
utility_pid=""
cleanup() {
    if [ -n "$utility_pid" ]; then kill "$utility_pid" 2>/dev/null || true; fi
    "$HX_WINE64" reg delete "$SETTINGS_KEY" /f </dev/null >/dev/null 2>&1 || true
    hx_wine_teardown
}
trap cleanup EXIT
hx_wine_setup "build/$preset"
"$HX_WINE64" reg delete "$SETTINGS_KEY" /f </dev/null >/dev/null 2>&1 || true
hxctl() { (cd "$bin" && hx_wine hxctl.exe "$@" </dev/null 2>/dev/null) | tr -d '\r'; }

rm -rf "$work"
mkdir -p "$work"
cp "$example" "$work/"
printf 'aes-passphrase\r\n' >"$work/office.key"
bin_windows=$(hx_wine winepath -w "$(pwd)/$bin" </dev/null 2>/dev/null | tr -d '\r')
start_example() {  # start_example <run>: the batch file under cmd.exe, in the background
    (cd "$work" && WINEPATH="$bin_windows" exec "$HX_WINE" cmd /c "$(basename "$example")" </dev/null \
        >"output-$1.txt" 2>"errors-$1.txt") &
    example_pid=$!
}
finish_example() {  # finish_example <run>: its status 0 and the lines the page shows
    local status=0 rest after line
    wait "$example_pid" || status=$?
    tr -d '\r' <"$work/output-$1.txt" >"$work/output"
    if [ "$status" -ne 0 ]; then
        # What the utility and its registry hold, so that a failure can be judged from the log.
        fail "run $1 of the example ended with $status: $(cat "$work/output" "$work/errors-$1.txt")
utility's status: $(hxctl -t status | tr '\n' ' ')
registry: $("$HX_WINE64" reg query "$SETTINGS_KEY" /s </dev/null 2>/dev/null | tr -d '\r' | grep -E 'HKEY|SSID|Authentication|WEPStatus')"
    fi
    # Each line the page shows, whole and in the order shown.
    rest=$'\n'"$(cat "$work/output")"$'\n'
    while IFS= read -r line; do
        after=${rest#*$'\n'"$line"$'\n'}
        [ "$after" != "$rest" ] || fail "run $1: the output lacks, or has out of order, \"$line\":
$(cat "$work/output")"
        rest=$'\n'$after
    done <<<"$expected"
}

# A logon where the script runs first: the utility starts a few seconds later.
start_example 1
sleep 3
(cd "$bin" && exec "$HX_WINE" HX88UUtil.exe </dev/null >/dev/null 2>&1) &
utility_pid=$!
finish_example 1
ok "run 1, started before the utility, ran to its end with the $(wc -l <<<"$expected") lines the page shows"
# The next logon: the profile Office is there from the first.
start_example 2
finish_example 2
ok "run 2, with the utility running and the profile stored, ran to its end the same"

authorised=$(cd "$bin" && hx_wine hxsim.exe show </dev/null 2>/dev/null | tr -d '\r' | grep -x 'port.authorised: .*')
[ "$authorised" = "port.authorised: yes" ] || fail "the port is not authorised: $authorised"
ok "the simulated access point authorised the port"
grep -q 'xmlns="http://www.microsoft.com/networking/WLAN/profile/v1"' "$work/Office.xml" ||
    fail "Office.xml is no WLAN profile: $(head -c 300 "$work/Office.xml")"
grep -q '<keyMaterial>aes-passphrase</keyMaterial>' "$work/Office.xml" || fail "Office.xml holds no pass phrase"
ok "Office.xml is a WLAN profile with its pass phrase"
