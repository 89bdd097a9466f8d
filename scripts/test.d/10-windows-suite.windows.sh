# Sourced in each Windows lane of scripts/test.sh: every win_* program of the build under Wine
# in the lane's prefix and display (windows_suite), but the stress program (stage 75) and the
# end of the session (stage 67), which run in prefixes of their own. Results are named
# <preset>/<program>. Where 32-bit code runs only emulated, the i686 build's programs that
# test in process run that way instead (scripts/emulated-i686.sh).
if [ "$preset" = win32 ] && [ -n "$HX_EMULATES_32BIT" ]; then
    stage_start "Windows tests of win32 under emulated 32-bit Wine"
    run_emulated_i686
    stage_end
elif lane_runs; then
    stage_start "Windows tests of $preset under $([ "$preset" = win32 ] && echo "32-bit Wine" || echo wine64)"
    windows_suite
    stage_end
else
    for name in $(windows_programs); do lane_skip "$preset/$name"; done
fi
