# Sourced in the native lane of scripts/test.sh: every native benchmark (bench/, built with
# the native suite) runs once in a short mode, as a check that it still runs to its end, not
# as a judgement of its timings. A benchmark fails by its exit status (bench_psk ends with a
# failure when our pass phrase mapping disagrees with OpenSSL's, and must say on stderr that
# they agree), by a benchmark that reports an error, by reporting none, or by writing
# anything but its JSON report to stdout. Each one's figures stay in the results folder.
bench_run() {  # bench_run <program>
    local program=$1 json="$RESULTS/$(basename "$1").json" err="$RESULTS/$(basename "$1").stderr" status
    rm -f "$json" "$err"
    # The JSON report is the program's whole stdout; anything else it says goes to stderr.
    "$program" --benchmark_min_time=0.01 --benchmark_format=json >"$json" 2>"$err"
    status=$?
    cat "$err"
    [ "$status" -eq 0 ] || return 1
    if [ "$(head -c1 "$json")" != "{" ] || [ "$(tr -d '[:space:]' <"$json" | tail -c1)" != "}" ]; then
        echo "stdout holds more than the JSON report:"
        head -n 3 "$json"
        return 1
    fi
    if [[ $program == */bench_psk ]] && ! grep -q "agrees with OpenSSL's" "$err"; then
        echo "bench_psk did not report that both derivations agree"
        return 1
    fi
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
stage_end
