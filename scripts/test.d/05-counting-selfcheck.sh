# Sourced by scripts/test.sh: the test command's own counting, checked on a program whose
# outcomes are known (tests/selfcheck): a case that skips itself is counted as skipped and
# not as passed, a failing case as failed beside a passing one, and a program that runs no
# case, or does not end within its time limit, counts as a failure. Each case is counted in a subshell, apart from the real totals.
echo "== the test command's own counting"
counted() {  # counted <expected "passed failed skipped"> <name> <seconds> <arguments...>
    local expected=$1 name=$2 limit=$3
    shift 3
    (
        passed=0 failed=0 skipped=0 failed_names=() skipped_names=()
        run_gtest "$name" "$limit" build/native/bin/selfcheck_counting "$@" >/dev/null
        [ "$passed $failed $skipped" = "$expected" ] && exit 0
        echo "$name: counted $passed passed, $failed failed, $skipped skipped; expected $expected"
        exit 1
    )
}
counting_selfcheck() {
    [ -x build/native/bin/selfcheck_counting ] || { echo "selfcheck_counting was not built"; return 1; }
    counted "1 0 1" selfcheck-pass-and-skip 60 --gtest_filter='Counting.Passes:Counting.SkipsItself' &&
        counted "1 1 0" selfcheck-pass-and-fail 60 --gtest_filter='Counting.Passes:Counting.DISABLED_Fails' \
            --gtest_also_run_disabled_tests &&
        counted "0 1 0" selfcheck-no-case 60 --gtest_filter='No.Such' &&
        counted "0 1 0" selfcheck-never-ends 3 --gtest_filter='Counting.DISABLED_NeverEnds' --gtest_also_run_disabled_tests
}
check counting-selfcheck counting_selfcheck
