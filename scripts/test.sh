#!/usr/bin/env bash
# Builds everything (native, Windows x86_64, Windows i686) and runs every test: the native
# suite, the whole Windows suite of each Windows build under Wine in Xvfb (the i686 one under
# 32-bit Wine, where this machine executes 32-bit code; elsewhere its in-process programs
# under 32-bit Wine emulated by qemu-i386), and the stages of scripts/test.d.
# Ends with one line: "N passed, N failed, N skipped". Exit status 0 only when nothing
# failed. What cannot run on this machine is counted as skipped, never as passed.
set -u
case "${1:-}" in
"") ;;
-h | --help)
    sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'
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

if ! hx_install_packages; then
    echo "package installation failed"
    echo "0 passed, 1 failed, 0 skipped"
    exit 1
fi

# The Windows builds whose programs run here: x86_64 always, i686 where 32-bit code runs.
# Where the kernel cannot run it, qemu-i386 can: the i686 programs that test in process run
# under 32-bit Wine emulated (scripts/emulated-i686.sh), its end-to-end programs and other
# stages do not (counted as skipped).
WINDOWS_BUILDS=(win64)
HX_RUNS_32BIT=""
HX_EMULATES_32BIT=""
HX_NO_32BIT_REASON="this machine cannot execute 32-bit code"
hx_can_run_32bit
case $? in
0)
    if ! hx_install_wine32; then
        echo "32-bit Wine could not be installed"
        failed=$((failed + 1))
        failed_names+=("32-bit Wine installation")
    else
        HX_RUNS_32BIT=1
        WINDOWS_BUILDS+=(win32)
    fi
    ;;
1)
    echo "This machine cannot execute 32-bit code: the i686 build's in-process test programs run under 32-bit Wine emulated by qemu-i386; its other programs and checks do not run (counted as skipped)."
    trap hx_emulate_32bit_end EXIT
    if ! hx_emulate_32bit; then
        echo "32-bit emulation could not be set up"
        failed=$((failed + 1))
        failed_names+=("32-bit emulation (qemu-i386 through binfmt_misc)")
    elif ! hx_install_wine32; then
        echo "32-bit Wine could not be installed"
        failed=$((failed + 1))
        failed_names+=("32-bit Wine installation")
    else
        HX_EMULATES_32BIT=1
    fi
    ;;
*)
    echo "The 32-bit probe could not be built (as or ld): whether this machine runs 32-bit code is unknown, and the run fails."
    failed=$((failed + 1))
    failed_names+=("32-bit probe build (as, ld)")
    HX_NO_32BIT_REASON="the 32-bit probe could not be built"
    ;;
esac
# skip_32bit <name>: a check of the i686 build that this machine cannot run.
skip_32bit() { skip "$1" "$HX_NO_32BIT_REASON"; }

build() {  # build <preset>
    cmake --preset "$1" >"$RESULTS/configure-$1.log" 2>&1 &&
        cmake --build --preset "$1" -j "$JOBS" >"$RESULTS/build-$1.log" 2>&1
}

stage_start() { stage_began=$(date +%s); echo "== $*"; }
stage_end() { echo "   $1: $(($(date +%s) - stage_began)) s"; }

start=$(date +%s)
stage_start "builds: native, win64, win32"
for preset in native win64 win32; do
    check "build-$preset" build "$preset"
done
stage_end "builds"
source scripts/checked-trees.sh
start_checked_trees
source scripts/emulated-i686.sh
[ -z "$HX_EMULATES_32BIT" ] || start_emulated_i686

stage_start "native tests"
for t in build/native/bin/native_*; do
    [ -x "$t" ] || continue
    run_gtest "$(basename "$t")" 900 "$t"
done
stage_end "native tests"

# windows_suite <preset>: every win_* program of that build under Wine, but the stress
# program, which runs beside the later stages (75 and 99), and the end of the session, which
# ends the Wine session it runs in (stage 67). Results are named <preset>/<program>.
windows_suite() {
    local preset=$1 t name
    hx_wine_setup "build/$preset"
    for t in "build/$preset"/bin/win_*.exe; do
        [ -f "$t" ] || continue
        name=$(basename "$t" .exe)
        [ "$name" = win_stress ] || [ "$name" = win_e2e_session ] && continue
        HX_RUN_DIR="build/$preset/bin" HX_XML_PREFIX="Z:" run_gtest "$preset/$name" 900 "$HX_WINE" "$name.exe"
    done
    hx_wine_teardown
}
for preset in win64 win32; do
    if [[ " ${WINDOWS_BUILDS[*]} " == *" $preset "* ]]; then
        stage_start "Windows tests of $preset under $([ "$preset" = win32 ] && echo "32-bit Wine" || echo wine64)"
        windows_suite "$preset"
        stage_end "Windows tests of $preset"
    elif [ -z "$HX_EMULATES_32BIT" ]; then
        for t in "build/$preset"/bin/win_*.exe; do
            case "$(basename "$t")" in win_stress.exe | win_e2e_session.exe) continue ;; esac
            [ -f "$t" ] && skip_32bit "$preset/$(basename "$t" .exe)"
        done
    fi
done

# Further stages, in name order: each is sourced and reports through check, skip, run_gtest
# or count_gtest, and runs its Windows checks for each of WINDOWS_BUILDS.
for stage in scripts/test.d/*.sh; do
    [ -f "$stage" ] || continue
    source "$stage"
done

end=$(date +%s)
echo "== done in $((end - start)) s"
[ ${#skipped_names[@]} -gt 0 ] && printf 'skipped: %s\n' "${skipped_names[@]}"
[ ${#failed_names[@]} -gt 0 ] && printf 'failed: %s\n' "${failed_names[@]}"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
