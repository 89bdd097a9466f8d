# Sourced in each Windows lane of scripts/test.sh: the worked example of docs/hxctl.md (a
# batch file that joins a network with hxctl, keeps it as a profile and exports it) under
# Wine's cmd.exe (scripts/check-hxctl-example.sh).
if lane_runs; then
    stage_start "hxctl example on $preset"
    check "$preset/hxctl-example" scripts/check-hxctl-example.sh "$preset"
    stage_end
else
    lane_skip "$preset/hxctl-example"
fi
