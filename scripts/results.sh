# Sourced by scripts/test.sh and its stages: how results are counted. Every count is of
# something that ran and was seen: a case that skipped itself is skipped, not passed; a
# program that ran no case, or did not end within its time limit, has failed.
#   check <name> <command...>          one check of its own: passed when the command succeeds
#   skip <name> <reason>               one check that cannot run on this machine
#   run_gtest <name> <seconds> <command...>
#                                      a GoogleTest program, its cases counted from its report;
#                                      it runs in $HX_RUN_DIR when set, and writes its report
#                                      to a path prefixed with $HX_XML_PREFIX (Z: under Wine);
#                                      returns the program's exit status; a log line matching
#                                      $HX_FAIL_ON_LOG fails a program that exited with 0
#   count_gtest <name> <xml> <exit status>
# Each name's output goes to $RESULTS/<name>.log ("/" in a name becomes "-").
passed=0
failed=0
skipped=0
failed_names=()
skipped_names=()

hx_result_file() { echo "$RESULTS/${1//\//-}"; }

check() {
    local name=$1 log
    shift
    log="$(hx_result_file "$name").log"
    if "$@" >"$log" 2>&1; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        failed_names+=("$name")
        echo "FAILED: $name (see $log)"
        tail -n 20 "$log"
    fi
}

skip() {
    skipped=$((skipped + 1))
    skipped_names+=("$1: $2")
}

# The value of one attribute of the report's <testsuites> element.
hx_gtest_attribute() {  # hx_gtest_attribute <head> <name>
    sed -nE "s/.* $2=\"([0-9]+)\".*/\1/p" <<<"$1"
}

count_gtest() {
    local name=$1 xml=$2 status=$3
    if [ ! -s "$xml" ]; then
        failed=$((failed + 1))
        if [ "$status" -eq 124 ]; then
            failed_names+=("$name (did not end within its time limit)")
        else
            failed_names+=("$name (no report, exit $status)")
        fi
        echo "FAILED: $name: no report (exit $status)"
        return
    fi
    local head tests failures errors disabled skips
    head=$(grep -m1 '<testsuites' "$xml")
    tests=$(hx_gtest_attribute "$head" tests)
    failures=$(hx_gtest_attribute "$head" failures)
    errors=$(hx_gtest_attribute "$head" errors)
    # Disabled cases that did not run: the head's count holds those run on request too.
    disabled=$(grep -c 'status="notrun"' "$xml")
    skips=$(grep -c 'result="skipped"' "$xml")
    local ran=$((tests - disabled)) bad=$((failures + errors))
    if [ "$ran" -le 0 ]; then
        failed=$((failed + 1))
        failed_names+=("$name (ran no test)")
        echo "FAILED: $name ran no test"
        return
    fi
    passed=$((passed + ran - bad - skips))
    failed=$((failed + bad))
    skipped=$((skipped + skips + disabled))
    [ $((skips + disabled)) -gt 0 ] && skipped_names+=("$name: $((skips + disabled)) of its cases")
    if [ "$bad" -gt 0 ] || [ "$status" -ne 0 ]; then
        [ "$bad" -eq 0 ] && failed=$((failed + 1))
        failed_names+=("$name")
        echo "FAILED: $name"
        # What failed and why, so that a run read only from its printed output can be judged.
        grep -E -A4 '(: Failure|^\[  FAILED  \] [A-Za-z])' "$(hx_result_file "$name").log" | head -60 | sed 's/^/  /'
    fi
}

run_gtest() {
    local name=$1 limit=$2 stem status
    shift 2
    stem=$(hx_result_file "$name")
    rm -f "$stem.xml"
    (
        [ -z "${HX_RUN_DIR:-}" ] || cd "$HX_RUN_DIR" || exit 1
        exec timeout -k 10 "$limit" "$@" --gtest_output="xml:${HX_XML_PREFIX:-}$stem.xml" </dev/null >"$stem.log" 2>&1
    )
    status=$?
    # A report in the log that the program's status does not carry (a sanitizer's) fails it.
    if [ "$status" -eq 0 ] && [ -n "${HX_FAIL_ON_LOG:-}" ] && grep -qE "$HX_FAIL_ON_LOG" "$stem.log"; then
        status=1
    fi
    count_gtest "$name" "$stem.xml" "$status"
    return "$status"
}
