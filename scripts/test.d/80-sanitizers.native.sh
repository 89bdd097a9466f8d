# Sourced in the native lane of scripts/test.sh: the whole native suite under AddressSanitizer
# with UndefinedBehaviorSanitizer (LeakSanitizer checks every program at exit), and the
# suites that run threads (the authentication worker, the supplicant, the simulator's own
# tests of two callers) under ThreadSanitizer. Only the test programs are built in these
# trees, in the background since the main builds (scripts/checked-trees.sh).
# The worker stress runs its full ten thousand cycles in the plain native run; here a
# fifth of them (and under TSan a fifth of the heartbeat ticks) keep the stage short.

sanitizer_run() {  # sanitizer_run <preset> <area>: one test program, counted like the others
    HX_FAIL_ON_LOG='^(==[0-9]+==ERROR|WARNING: ThreadSanitizer)|runtime error' \
        run_gtest "$1-native_$2" 1200 "build/$1/bin/native_$2"
}

stage_start "native suite under ASan+UBSan (${#native_areas[@]} programs)"
if check build-native-asan checked_tree_built native-asan; then
    for area in "${native_areas[@]}"; do
        HX_STRESS_WORKER_CYCLES=2000 \
        ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1" \
        UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
            sanitizer_run native-asan "$area"
    done
fi
stage_end "ASan+UBSan stage"

stage_start "thread suites under TSan (${thread_areas[*]})"
if check build-native-tsan checked_tree_built native-tsan; then
    for area in "${thread_areas[@]}"; do
        HX_STRESS_WORKER_CYCLES=2000 HX_STRESS_TICKS=20000 \
        TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" \
            sanitizer_run native-tsan "$area"
    done
fi
stage_end "TSan stage"
