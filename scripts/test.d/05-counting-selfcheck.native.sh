# Sourced in the native lane of scripts/test.sh: the test command's own counting, checked on
# a program whose outcomes are known (tests/selfcheck): a case that skips itself is counted
# as skipped and not as passed; a failing case as failed beside a passing one; a program that
# runs no case, does not end within its time limit, crashes before its report, or exits with
# a failure status after a clean report, as a failure; and of two results of one name (two
# stages running side by side, say), the second is refused and the first one's report stays;
# a signal after a clean report counts the exit as skipped only where the caller says why.
# Each case is counted in a ledger of its own, apart from the real totals.
stage_start "the test command's own counting"
counted() {  # counted <expected "passed failed skipped"> <name> <seconds> <arguments...>
    local expected=$1 name=$2 limit=$3
    shift 3
    (
        HX_LEDGER=$(mktemp)
        run_gtest "$name" "$limit" build/native/bin/selfcheck_counting "$@" >/dev/null
        hx_ledger_expect "$expected" "$name"
    )
}
# Two programs of one name at once: one runs and passes, the other is refused, and the report
# left is the one of the program that ran.
counted_twice() {
    (
        HX_LEDGER=$(mktemp)
        local name=selfcheck-one-name-twice
        run_gtest "$name" 60 build/native/bin/selfcheck_counting --gtest_filter='Counting.Passes' >/dev/null &
        run_gtest "$name" 60 build/native/bin/selfcheck_counting --gtest_filter='Counting.Passes' >/dev/null &
        wait
        grep -q 'tests="1" failures="0"' "$(hx_result_file "$name").xml" || { echo "$name: the report is not the one of the program that ran"; exit 1; }
        hx_ledger_expect "1 1 0" "$name"
    )
}
# Told that a signal at the very end is the runtime's (the emulated i686 programs): the
# clean report's cases count and the exit is a skip; a failure status is a failure still.
counted_signal_at_exit() {
    (
        HX_LEDGER=$(mktemp)
        HX_SIGNAL_AT_EXIT_SKIPS="the self-check's"
        run_gtest selfcheck-signal-at-exit 60 bash -c '"$0" "$@"; kill -SEGV $$' build/native/bin/selfcheck_counting \
            --gtest_filter='Counting.Passes' >/dev/null
        hx_ledger_expect "1 0 1" selfcheck-signal-at-exit || exit 1
        run_gtest selfcheck-status-at-exit 60 build/native/bin/selfcheck_counting \
            --gtest_filter='Counting.DISABLED_PassesThenExitsWithFailure' --gtest_also_run_disabled_tests >/dev/null
        hx_ledger_expect "1 1 0" selfcheck-status-at-exit
    )
}
counting_selfcheck() {
    [ -x build/native/bin/selfcheck_counting ] || { echo "selfcheck_counting was not built"; return 1; }
    local also=--gtest_also_run_disabled_tests
    counted "1 0 1" selfcheck-pass-and-skip 60 --gtest_filter='Counting.Passes:Counting.SkipsItself' &&
        counted "1 1 0" selfcheck-pass-and-fail 60 --gtest_filter='Counting.Passes:Counting.DISABLED_Fails' $also &&
        counted "0 1 0" selfcheck-no-case 60 --gtest_filter='No.Such' &&
        counted "0 1 0" selfcheck-never-ends 3 --gtest_filter='Counting.DISABLED_NeverEnds' $also &&
        counted "0 1 0" selfcheck-crashes 60 --gtest_filter='Counting.DISABLED_Crashes' $also &&
        counted "1 1 0" selfcheck-clean-report-failure-status 60 \
            --gtest_filter='Counting.DISABLED_PassesThenExitsWithFailure' $also &&
        counted_twice &&
        counted_signal_at_exit
}
check counting-selfcheck counting_selfcheck
stage_end
