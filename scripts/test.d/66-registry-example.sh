# Sourced by scripts/test.sh: the administrators' worked example of docs/registry.md (a
# silent install, the example .reg file imported, the utility joins and lists the profiles)
# under Wine, on each Windows build that runs here (scripts/check-registry-example.sh).
stage_start "registry example"
check win64/registry-example scripts/check-registry-example.sh win64
if [ -n "$HX_RUNS_32BIT" ]; then
    check win32/registry-example scripts/check-registry-example.sh win32
else
    skip_32bit win32/registry-example
fi
stage_end "registry example"
