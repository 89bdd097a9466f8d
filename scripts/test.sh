#!/usr/bin/env bash
# Builds everything (native, Windows x86_64, Windows i686) and runs every test: the native
# suite, the Windows suite under wine64 in Xvfb, and the build checks. Ends with one line:
# "N passed, N failed". Exit status 0 only when nothing failed.
set -u
cd "$(dirname "$0")/.."
ROOT=$(pwd)
source scripts/packages.sh
source scripts/wine-env.sh

hx_install_packages || { echo "package installation failed"; echo "0 passed, 1 failed"; exit 1; }

JOBS=$(nproc)
RESULTS="$ROOT/build/test-results"
rm -rf "$RESULTS"
mkdir -p "$RESULTS"
passed=0
failed=0
failed_names=()

check() {  # check <name> <command...>: one pass or fail of its own
    local name=$1
    shift
    if "$@" >"$RESULTS/$name.log" 2>&1; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        failed_names+=("$name")
        echo "FAILED: $name (see $RESULTS/$name.log)"
        tail -n 20 "$RESULTS/$name.log"
    fi
}

build() {  # build <preset>
    cmake --preset "$1" >"$RESULTS/configure-$1.log" 2>&1 &&
        cmake --build --preset "$1" -j "$JOBS" >"$RESULTS/build-$1.log" 2>&1
}

# Counts a GoogleTest program's cases from its XML report.
count_gtest() {  # count_gtest <name> <xml> <exit status>
    local name=$1 xml=$2 status=$3
    if [ ! -s "$xml" ]; then
        failed=$((failed + 1))
        failed_names+=("$name (no report, exit $status)")
        return
    fi
    local head tests failures errors disabled
    head=$(grep -m1 '<testsuites' "$xml")
    tests=$(sed -E 's/.* tests="([0-9]+)".*/\1/' <<<"$head")
    failures=$(sed -E 's/.* failures="([0-9]+)".*/\1/' <<<"$head")
    errors=$(sed -E 's/.* errors="([0-9]+)".*/\1/' <<<"$head")
    disabled=$(sed -E 's/.* disabled="([0-9]+)".*/\1/' <<<"$head")
    local bad=$((failures + errors))
    passed=$((passed + tests - disabled - bad))
    failed=$((failed + bad))
    if [ "$bad" -gt 0 ] || [ "$status" -ne 0 ]; then
        [ "$bad" -eq 0 ] && { failed=$((failed + 1)); }
        failed_names+=("$name")
        echo "FAILED: $name"
        grep -o 'testcase name="[^"]*"[^>]*>[[:space:]]*<failure' "$xml" | sed -E 's/testcase name="([^"]*)".*/  \1/' | head -20
    fi
}

start=$(date +%s)
for preset in native win64 win32; do
    echo "== build $preset"
    check "build-$preset" build "$preset"
done

echo "== native tests"
for t in build/native/bin/native_*; do
    [ -x "$t" ] || continue
    name=$(basename "$t")
    "$t" --gtest_output="xml:$RESULTS/$name.xml" >"$RESULTS/$name.log" 2>&1
    count_gtest "$name" "$RESULTS/$name.xml" $?
done

echo "== Windows tests under wine64"
hx_wine_setup build/win64
for t in build/win64/bin/win_*.exe; do
    [ -f "$t" ] || continue
    name=$(basename "$t" .exe)
    [ "$name" = win_stress ] && continue  # a stage of its own, in the background
    (cd build/win64/bin && timeout 900 "$HX_WINE64" "$name.exe" --gtest_output="xml:Z:$RESULTS/$name.xml" \
        </dev/null >"$RESULTS/$name.log" 2>&1)
    count_gtest "$name" "$RESULTS/$name.xml" $?
done
hx_wine_teardown

# Further stages, in name order: each is sourced and reports through check / count_gtest.
for stage in scripts/test.d/*.sh; do
    [ -f "$stage" ] || continue
    source "$stage"
done

end=$(date +%s)
echo "== done in $((end - start)) s"
[ ${#failed_names[@]} -gt 0 ] && printf 'failed: %s\n' "${failed_names[@]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
