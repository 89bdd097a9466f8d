#!/usr/bin/env bash
# The utility's own cost when idle, under Wine against the default simulated world: the CPU
# time its process uses while hidden in the tray and while the window shows Link Info, and
# its resident memory. A measurement to read, not a test: it prints the figures and the
# goals beside them and exits 0 however they come out.
#   bench/idle-cpu.sh [seconds per state]       (default 60)
# Needs the win64 build (cmake --build --preset win64 --target HX88UUtil VUVAVO dot1x_dll hxtour).
# The CPU time is the user and system time of the Wine process that runs HX88UUtil.exe, read
# from /proc/<pid>/stat before and after each state; Wine's server and the tray host are not
# counted.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
bin=build/win64/bin
for f in HX88UUtil.exe VUVAVO.dll dot1x_dll.dll hxtour.exe; do
    [ -f "$bin/$f" ] || { echo "missing $bin/$f: build the win64 preset first" >&2; exit 1; }
done
source scripts/wine-env.sh
hx_wine_setup build/win64
launcher=""
finish() {
    if [ -n "$launcher" ]; then kill "$launcher" 2>/dev/null || true; fi
    hx_wine_teardown
}
trap finish EXIT

tour() { (cd "$bin" && hx_wine hxtour.exe "$@" </dev/null >/dev/null 2>&1); }
# user + system time of a process, in clock ticks (fields 14 and 15 after the command name)
cpu_ticks() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || { echo "the utility (pid $1) has ended" >&2; exit 1; }
    sed 's/^.*) //' <<<"$stat" | awk '{print $12 + $13}'
}
now() { date +%s.%N; }
# The process of this prefix whose command line names the utility (other prefixes on the
# machine may run one too).
utility_process() {
    local p
    for p in $(pgrep -f 'HX88UUtil\.exe' || true); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
        tr '\0' ' ' <"/proc/$p/cmdline" 2>/dev/null | grep -q 'HX88UUtil\.exe' && { echo "$p"; return 0; }
    done
    return 1
}
# measure <label>: CPU share of one core over the given seconds
measure() {
    local t0 c0 t1 c1
    t0=$(now); c0=$(cpu_ticks "$pid")
    sleep "$seconds"
    t1=$(now); c1=$(cpu_ticks "$pid")
    awk -v c="$((c1 - c0))" -v hz="$(getconf CLK_TCK)" -v t0="$t0" -v t1="$t1" -v label="$1" \
        'BEGIN { cpu = c / hz; wall = t1 - t0;
                 printf "%-28s %6.3f s CPU in %5.1f s = %6.3f %% of one core\n", label, cpu, wall, 100 * cpu / wall }'
}

# A first start, as after installing: nothing stored, the default world's open network joined.
hx_wine reg delete 'HKCU\Software\Tessaro\HX88UUtil' /f </dev/null >/dev/null 2>&1 || true
(cd "$bin" && exec "$HX_WINE64" HX88UUtil.exe </dev/null >/dev/null 2>&1) &
launcher=$!
pid=""
for _ in $(seq 1 100); do pid=$(utility_process) && break; sleep 0.1; done
[ -n "$pid" ] || { echo "the utility did not start" >&2; exit 1; }
tour wait-text linkinfo 1000 "Associated BSSID" 30 || { echo "the utility never joined a network" >&2; exit 1; }
sleep 5   # start-up work (the first survey, the link samples) is over
# The window shows briefly at start; on a busy machine its hide can come before it shows.
tour hide || { echo "the window cannot be hidden" >&2; exit 1; }

echo "HX88UUtil.exe (pid $pid) under Wine, default world, ${seconds} s per state"
measure "hidden in the tray"
tour open 20 || { echo "the window did not open" >&2; exit 1; }
tour page linkinfo
sleep 2
measure "window open on Link Info"
awk '/^VmRSS|^VmHWM/ { printf "%-28s %6.1f MB\n", ($1 == "VmRSS:" ? "resident memory" : "resident memory, peak"), $2 / 1024 }' \
    "/proc/$pid/status"
echo "goals: at most 0.2 % hidden and 1 % open"

tour tray-menu 5 && tour menu-exit && tour wait-exit 10 || true
launcher=""
