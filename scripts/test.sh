#!/usr/bin/env bash
# Builds everything (native, Windows x86_64, Windows i686, and the trees that check the
# native code again) and runs every test: the native suite, the whole Windows suite of each
# Windows build under Wine in Xvfb (the i686 one under 32-bit Wine, where this machine
# executes 32-bit code; elsewhere its in-process programs under 32-bit Wine emulated by
# qemu-i386), and the stages of scripts/test.d.
# Each build's stages run in a lane of their own, side by side, as soon as that build is
# done: one lane per Windows build (its own Wine prefixes, wineserver and display) and one for
# the native programs (docs/testing.md).
# Ends with a table of the stages and their seconds (build/test-results/stages.txt) and one
# line: "N passed, N failed, N skipped". Exit status 0 only when nothing failed. What cannot
# run on this machine is counted as skipped, never as passed.
#   HX_LOAD_TEST=1     then also the whole Windows suite of each build three times in a row,
#                      with two busy loops of ours beside it (scripts/test.d/95-load.sh)
#   HX_STAGES="10-native-suite 65-dpi"   only the stages of these names (after the builds)
#   HX_NO_BUILD=1      no configure and no build: the stages run on the trees as they are
set -u
case "${1:-}" in
"") ;;
-h | --help)
    sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'
    echo "Usage: scripts/test.sh    (no arguments; results and logs in build/test-results)"
    exit 0 ;;
*) echo "usage: scripts/test.sh [--help]" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."
ROOT=$(pwd)
source scripts/packages.sh
source scripts/wine-env.sh

JOBS=$(nproc)
RESULTS="$ROOT/build/test-results"
rm -rf "$RESULTS"
mkdir -p "$RESULTS"
source scripts/results.sh
source scripts/stages.sh
source scripts/checked-trees.sh
source scripts/emulated-i686.sh
stage_files_check

# A whole run writes about 2.6 GB (the builds, the template Wine prefix and its copies): said
# at the start with what is free, since a full disk stops a build far into the run.
free_mib=$(df -Pm . | awk 'NR == 2 { print $4 }')
echo "disk: $free_mib MiB free here; a whole run needs about 2,700 MiB"
[ "${free_mib:-0}" -ge 2700 ] || echo "WARNING: too little free disk; the run may stop on a full disk"

stage_start "packages"
if ! hx_install_packages; then
    echo "package installation failed"
    hx_record failed 1 "package installation"
    hx_summary
    exit 1
fi

# The Windows builds whose programs run here: x86_64 always, i686 where 32-bit code runs.
# Where the kernel cannot run it, qemu-i386 can: the i686 programs that test in process run
# under 32-bit Wine emulated (scripts/emulated-i686.sh), its end-to-end programs and other
# stages do not (counted as skipped).
# A package mirror whose indexes cannot all be fetched (one in the middle of a sync) can leave
# 32-bit Wine with no consistent set of i386 libraries: that is no fault of ours, so the i686
# build's checks count as skipped, with the reason, rather than failed.
wine32_unreachable() {
    HX_NO_32BIT_REASON="32-bit Wine could not be installed: the package mirror's indexes could not all be fetched"
    echo "$HX_NO_32BIT_REASON; the i686 build's checks are skipped"
}
WINDOWS_BUILDS=(win64)
HX_RUNS_32BIT=""
HX_EMULATES_32BIT=""
HX_NO_32BIT_REASON="this machine cannot execute 32-bit code"
hx_can_run_32bit
case $? in
0)
    hx_install_wine32
    case $? in
    0) HX_RUNS_32BIT=1; WINDOWS_BUILDS+=(win32) ;;
    3) wine32_unreachable ;;
    *) echo "32-bit Wine could not be installed"; hx_record failed 1 "32-bit Wine installation" ;;
    esac
    ;;
1)
    echo "This machine cannot execute 32-bit code: the i686 build's in-process test programs run under 32-bit Wine emulated by qemu-i386; its other programs and checks do not run (counted as skipped)."
    trap hx_emulate_32bit_end EXIT
    if ! hx_emulate_32bit; then
        echo "32-bit emulation could not be set up"
        hx_record failed 1 "32-bit emulation (qemu-i386 through binfmt_misc)"
    else
        hx_install_wine32
        case $? in
        0) HX_EMULATES_32BIT=1 ;;
        3) wine32_unreachable ;;
        *) echo "32-bit Wine could not be installed"; hx_record failed 1 "32-bit Wine installation" ;;
        esac
    fi
    ;;
*)
    echo "The 32-bit probe could not be built (as or ld): whether this machine runs 32-bit code is unknown, and the run fails."
    hx_record failed 1 "32-bit probe build (as, ld)"
    HX_NO_32BIT_REASON="the 32-bit probe could not be built"
    ;;
esac
# skip_32bit <name>: a check of the i686 build that this machine cannot run.
skip_32bit() { skip "$1" "$HX_NO_32BIT_REASON"; }
stage_end

# Every Wine prefix of the run is a fresh copy of one template, made here while the first
# build runs (scripts/wine-env.sh).
hx_wine_template >"$RESULTS/wine-template.log" 2>&1 &

# Two lanes per Windows build: "<preset>" runs its stages numbered below 50
# (scripts/test.d/NN-*.windows.sh: the whole Windows suite), "<preset>-checks" those from 50
# on (benchmarks, installer, DPI, examples, chaos, stress), side by side, each with $preset
# set, in a fresh copy of the template as its prefix (wineprefix, wineprefix-checks) and with
# an Xvfb of its own. Their programs mostly wait on Wine's and the simulator's timers.
# lane_runs says whether this machine runs the build's programs; where it does not, a stage
# counts each of its checks as skipped (lane_skip <name>).
windows_lane() {  # windows_lane <preset> suite|checks
    local lane_xvfb="" prefix=wineprefix
    preset=$1
    HX_LANE_PART=$2
    stages_selected windows "$HX_LANE_PART" || return 0
    HX_LANE_RUNS=""
    [[ " ${WINDOWS_BUILDS[*]} " == *" $preset "* ]] && HX_LANE_RUNS=1
    if [ "$HX_LANE_PART" = checks ]; then
        prefix=wineprefix-checks
        export HX_WINE_PREFIX_NAME=$prefix
    fi
    if [ -n "$HX_LANE_RUNS" ] || { [ "$preset" = win32 ] && [ -n "$HX_EMULATES_32BIT" ] && [ "$HX_LANE_PART" = suite ]; }; then
        wait_template
        hx_xvfb_start
        lane_xvfb=$HX_XVFB_STARTED
        hx_wine_fresh_prefix "build/$preset/$prefix"
    fi
    lane_stages windows "$HX_LANE_PART"
    hx_xvfb_stop "$lane_xvfb"
}
windows_lanes() {  # windows_lanes <preset>: starts both of the build's lanes
    lane_start "$1" windows_lane "$1" suite
    lane_start "$1-checks" windows_lane "$1" checks
}
lane_runs() { [ -n "$HX_LANE_RUNS" ]; }
# The build's test programs that the Windows suite runs, by name: every win_* program but the
# stress program and the end of the session, which run in prefixes of their own.
windows_programs() {
    local t name
    for t in "build/$preset"/bin/win_*.exe; do
        [ -f "$t" ] || continue
        name=$(basename "$t" .exe)
        [ "$name" = win_stress ] || [ "$name" = win_e2e_session ] || echo "$name"
    done
}
# windows_suite [result name prefix] [prefix]: the Windows suite of $preset's build, results
# named [<result name prefix>]<preset>/<program>.
windows_suite() {
    local name
    hx_wine_setup "build/$preset" "${2:-wineprefix}"
    for name in $(windows_programs); do
        HX_RUN_DIR="build/$preset/bin" HX_XML_PREFIX="Z:" run_gtest "${1:-}$preset/$name" 900 "$HX_WINE" "$name.exe"
    done
    hx_wine_teardown
}
lane_skip() { skip_32bit "$1"; }
# Waits for the template that the main shell is making (or makes it, whichever comes first:
# hx_wine_template takes a lock); a lane without it counts that as a failure of its own.
wait_template() {
    hx_wine_template >>"$RESULTS/wine-template.log" 2>&1 && return 0
    cat "$RESULTS/wine-template.log"
    hx_record failed 1 "$preset/wine-prefix" "the template Wine prefix could not be made"
    return 1
}
native_lane() { lane_stages native; }

# The builds, one after the other with every processor, each lane started as soon as its
# build is done; the builds after the first one run at a lower priority than the lanes, whose
# Windows programs mostly wait on timers and get a processor whenever they want one. The i686
# build first wherever its programs run, natively or emulated: its lane is the longest;
# last where they do not run at all.
build() {  # build <preset> <niceness>: its output is the check's log, build-<preset>.log
    if [ -n "${HX_NO_BUILD:-}" ]; then
        [ -f "build/$1/CMakeCache.txt" ] || { echo "HX_NO_BUILD: build/$1 was never built"; return 1; }
        echo "HX_NO_BUILD: build/$1 as it is"
        return 0
    fi
    (
        renice -n "$2" -p "$BASHPID" >/dev/null 2>&1
        cmake --preset "$1" >"$RESULTS/configure-$1.log" 2>&1 || { cat "$RESULTS/configure-$1.log"; exit 1; }
        cmake --build --preset "$1" -j "$JOBS"
    )
}
build_and_start() {  # build_and_start <preset> <command that starts its lanes...>
    local preset=$1 status
    shift
    stage_start "build $preset"
    check "build-$preset" build "$preset" "$build_nice"
    status=$?
    stage_end
    echo "$status" >"$RESULTS/built-$preset"
    build_nice=10
    "$@"
}
# built <preset>: waits until that build has ended; true when it built (for a lane that needs
# another build's programs too).
built() {
    while [ ! -f "$RESULTS/built-$1" ]; do sleep 2; done
    [ "$(cat "$RESULTS/built-$1")" = 0 ]
}
build_nice=0
# The trees that check the native code again (the native lane waits for them before its
# sanitizer and fuzz stages), when a stage that runs uses them.
checked_trees_wanted() {
    local stage
    for stage in scripts/test.d/*.native.sh; do
        stage_selected "$stage" && grep -q checked_tree_built "$stage" && return 0
    done
    return 1
}
if [ -n "$HX_RUNS_32BIT" ]; then
    build_and_start win32 windows_lanes win32
    build_and_start win64 windows_lanes win64
    build_and_start native lane_start native native_lane
    # At the lowest priority, beside the lanes.
    checked_trees_wanted && start_checked_trees 19
else
    # The i686 programs do not run here, or run emulated (a few minutes of both processors):
    # the win64 suite, which waits longest on Wine's timers, starts first, and the native lane
    # waits for the checked trees. The i686 build comes last: beside the checked trees where
    # its emulated lane waits for it, at the lowest priority where nothing does.
    build_and_start win64 windows_lanes win64
    build_and_start native lane_start native native_lane
    checked_trees_wanted && start_checked_trees 10
    [ -n "$HX_EMULATES_32BIT" ] || build_nice=19
    build_and_start win32 windows_lanes win32
fi

lanes_wait

# The stages that run once every lane has ended (scripts/test.d/NN-name.sh), in name order:
# each is sourced and reports through check, skip, run_gtest or count_gtest, and runs its
# Windows checks for each of WINDOWS_BUILDS itself.
lane_stages after

stage_table
hx_summary
[ "$(hx_totals | cut -d' ' -f2)" -eq 0 ]
