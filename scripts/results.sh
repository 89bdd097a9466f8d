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
# Each name's output goes to $RESULTS/<name>.log ("/" in a name becomes "-"). A name is used
# once in a run: a second check or program of the same name fails, and leaves the first
# one's log and report alone (stages that run side by side name their results by build).
# Counts go to a ledger file, one line each, so that stages running side by side in
# background shells add to the same totals:
#   hx_totals                          prints "<passed> <failed> <skipped>"
#   hx_summary                         prints what was skipped and what failed, then the totals
#   hx_ledger_expect <"P F S"> <name>  for the self-checks, which count into a ledger of their
#                                      own: true when its totals are those; removes it
HX_LEDGER=${HX_LEDGER:-$RESULTS/ledger.tsv}

# hx_record <passed|failed|skipped> <count> <name> [why]: one line of the ledger (a single
# short write, so lines from shells running side by side never mix).
hx_record() {
    [ "$2" -gt 0 ] || return 0
    printf '%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "${4:-}" >>"$HX_LEDGER"
}

hx_totals() {
    awk -F'\t' '{ n[$1] += $2 } END { printf "%d %d %d\n", n["passed"], n["failed"], n["skipped"] }' \
        "$HX_LEDGER" 2>/dev/null || echo "0 0 0"
}

hx_summary() {
    local totals
    awk -F'\t' '$1 == "skipped" { print "skipped: " $3 ($4 == "" ? "" : ": " $4) }' "$HX_LEDGER" 2>/dev/null
    awk -F'\t' '$1 == "failed" { print "failed: " $3 ($4 == "" ? "" : " (" $4 ")") }' "$HX_LEDGER" 2>/dev/null
    read -r -a totals < <(hx_totals)
    echo "${totals[0]} passed, ${totals[1]} failed, ${totals[2]} skipped"
}

hx_ledger_expect() {
    local totals
    totals=$(hx_totals)
    rm -f "$HX_LEDGER"
    [ "$totals" = "$1" ] && return 0
    echo "$2: counted $totals (passed failed skipped); expected $1"
    return 1
}

hx_result_file() { echo "$RESULTS/${1//\//-}"; }

# Claims a name for this run: false (and counted failed) when a check or program of this
# name ran already. The claim is the creation of its log, which only one shell can win.
hx_claim() {  # hx_claim <name>
    local log
    log="$(hx_result_file "$1").log"
    if ! (set -o noclobber; : >"$log") 2>/dev/null; then
        hx_record failed 1 "$1" "a second result of this name in one run"
        echo "FAILED: $1: a second result of this name in one run; the first one's log and report are left alone"
        return 1
    fi
}

check() {
    local name=$1 log
    shift
    hx_claim "$name" || return 1
    log="$(hx_result_file "$name").log"
    if "$@" >"$log" 2>&1; then
        hx_record passed 1 "$name"
    else
        hx_record failed 1 "$name"
        echo "FAILED: $name (see $log)"
        tail -n 20 "$log"
        return 1
    fi
}

skip() {
    hx_record skipped 1 "$1" "$2"
}

# The value of one attribute of the report's <testsuites> element.
hx_gtest_attribute() {  # hx_gtest_attribute <head> <name>
    sed -nE "s/.* $2=\"([0-9]+)\".*/\1/p" <<<"$1"
}

count_gtest() {
    local name=$1 xml=$2 status=$3
    if [ ! -s "$xml" ]; then
        if [ "$status" -eq 124 ]; then
            hx_record failed 1 "$name" "did not end within its time limit"
        else
            hx_record failed 1 "$name" "no report, exit $status"
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
        hx_record failed 1 "$name" "ran no test"
        echo "FAILED: $name ran no test"
        return
    fi
    hx_record passed $((ran - bad - skips)) "$name"
    hx_record skipped $((skips + disabled)) "$name" "$((skips + disabled)) of its cases"
    # Where the caller says a signal at the very end is the runtime's and not the program's
    # (HX_SIGNAL_AT_EXIT_SKIPS gives why), a clean, whole report followed by death by a
    # signal counts the exit as skipped: its cases count, its exit is not judged there.
    if [ "$bad" -eq 0 ] && [ "$status" -gt 128 ] && [ -n "${HX_SIGNAL_AT_EXIT_SKIPS:-}" ]; then
        hx_record skipped 1 "$name" "its exit, signal $((status - 128)) after a whole report: $HX_SIGNAL_AT_EXIT_SKIPS"
        echo "   $name: its exit not judged (signal $((status - 128)) after a whole report)"
        return
    fi
    if [ "$bad" -gt 0 ] || [ "$status" -ne 0 ]; then
        if [ "$bad" -gt 0 ]; then
            hx_record failed "$bad" "$name"
        else
            hx_record failed 1 "$name" "its cases passed, but it exited with $status"
        fi
        echo "FAILED: $name"
        # What failed and why, so that a run read only from its printed output can be judged.
        grep -E -A4 '(: Failure|^\[  FAILED  \] [A-Za-z])' "$(hx_result_file "$name").log" | head -60 | sed 's/^/  /'
    fi
}

run_gtest() {
    local name=$1 limit=$2 stem status
    shift 2
    hx_claim "$name" || return 1
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
