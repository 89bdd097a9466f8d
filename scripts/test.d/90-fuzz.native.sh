# Sourced in the native lane of scripts/test.sh: every libFuzzer target of tests/fuzz (built
# with clang, ASan and UBSan in the native-asan tree, scripts/checked-trees.sh) runs for a
# short while on a copy of its seed corpus, two at a time. A finding fails the check and
# leaves its input in the results folder; keep it as a seed once it is fixed. Longer runs by
# hand: build/native-asan/bin/fuzz_<name> <copy of tests/fuzz/corpus/<name>> -runs=10000000
HX_FUZZ_SECONDS=${HX_FUZZ_SECONDS:-10}

fuzz_run() {  # fuzz_run <name>: a short run on a copy of the corpus
    local name=$1 corpus="$RESULTS/fuzz-corpus-$1"
    rm -rf "$corpus"
    cp -r "tests/fuzz/corpus/$name" "$corpus"
    "build/native-asan/bin/fuzz_$name" "$corpus" -max_total_time="$HX_FUZZ_SECONDS" -print_final_stats=1 \
        -artifact_prefix="$RESULTS/fuzz-$name-" >"$RESULTS/fuzz-$name.log" 2>&1
}

stage_start "fuzzers, $HX_FUZZ_SECONDS s each (${fuzz_targets[*]})"
fuzz_targets_built() {  # the tree built, and with it every fuzz target
    local name
    checked_tree_built native-asan || return 1
    for name in "${fuzz_targets[@]}"; do
        [ -x "build/native-asan/bin/fuzz_$name" ] || { echo "no fuzz_$name"; return 1; }
    done
}
if check build-fuzz fuzz_targets_built; then
    # Two at a time: the machine this is made for has two processors. Waited for by their
    # ids: the lane's shell may have other children.
    fuzz_pids=()
    for name in "${fuzz_targets[@]}"; do
        check "fuzz-$name" fuzz_run "$name" &
        fuzz_pids+=($!)
        [ ${#fuzz_pids[@]} -lt 2 ] || { wait "${fuzz_pids[@]}"; fuzz_pids=(); }
    done
    [ ${#fuzz_pids[@]} -eq 0 ] || wait "${fuzz_pids[@]}"
    for name in "${fuzz_targets[@]}"; do
        runs=$(grep -m1 -oE 'stat::number_of_executed_units: [0-9]+' "$RESULTS/fuzz-$name.log" | grep -oE '[0-9]+$')
        echo "   fuzz_$name: ${runs:-?} executions"
    done
fi
stage_end "fuzz stage"
