# Sourced by scripts/test.sh: every native benchmark (bench/, built with the native suite)
# runs once in a short mode, as a check that it still runs to its end, not as a judgement of
# its timings. A benchmark fails by its exit status (bench_psk ends with a failure when our
# pass phrase mapping disagrees with OpenSSL's), by a benchmark that reports an error, or by
# reporting none. Each one's figures stay in the results folder.
bench_run() {  # bench_run <program>
    local program=$1 json="$RESULTS/$(basename "$1").json"
    rm -f "$json"
    "$program" --benchmark_min_time=0.01 --benchmark_out="$json" --benchmark_out_format=json || return 1
    if ! grep -q '"name":' "$json" 2>/dev/null; then
        echo "no benchmark reported a result"
        return 1
    fi
    if grep -q '"error_occurred": true' "$json"; then
        grep '"error_message"' "$json"
        return 1
    fi
}

stage_start "benchmarks, one short run each"
bench_programs=(build/native/bin/bench_*)
if [ -x "${bench_programs[0]}" ]; then
    for program in "${bench_programs[@]}"; do
        check "$(basename "$program")" bench_run "$program"
    done
else
    check benchmarks-built false
fi
stage_end "benchmark stage"
