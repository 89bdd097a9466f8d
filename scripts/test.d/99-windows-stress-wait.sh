# Sourced by scripts/test.sh: waits for the Windows stress program that stage 75 started.
if [ -n "${stress_pid:-}" ]; then
    stage_start=$(date +%s)
    echo "== waiting for the Windows stress run"
    wait "$stress_pid"
    count_gtest win_stress "$RESULTS/win_stress.xml" $?
    grep -E '^\[ +(OK|FAILED) +\]' "$RESULTS/win_stress.log" | sed 's/^/   /'
    echo "   waited $(( $(date +%s) - stage_start )) s"
fi
