# Sourced by scripts/test.sh: waits for the Windows stress programs that stage 75 started
# and counts them (their counting ran in the background, apart from the totals here).
if [ ${#stress_pids[@]} -gt 0 ]; then
    stage_start "waiting for the Windows stress runs"
    for i in "${!stress_pids[@]}"; do
        preset=${stress_presets[$i]}
        wait "${stress_pids[$i]}"
        count_gtest "$preset/win_stress" "$RESULTS/$preset-win_stress.xml" $?
        grep -E '^\[ +(OK|FAILED) +\]' "$RESULTS/$preset-win_stress.log" | sed "s/^/   $preset: /"
    done
    stage_end "waited"
fi
