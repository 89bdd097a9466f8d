# Sourced in each Windows lane of scripts/test.sh: the administrators' worked example of
# docs/registry.md (a silent install, the example .reg file imported, the utility joins and
# lists the profiles) under Wine (scripts/check-registry-example.sh, which looks at the
# running utility with the x86_64 build's tools whichever build it runs).
if lane_runs; then
    stage_start "registry example on $preset"
    if built win64; then
        check "$preset/registry-example" scripts/check-registry-example.sh "$preset"
    else
        check "$preset/registry-example" false
    fi
    stage_end
else
    lane_skip "$preset/registry-example"
fi
