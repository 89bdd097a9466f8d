# Sourced by scripts/test.sh: the worked example of docs/hxctl.md (a batch file that joins a
# network with hxctl, keeps it as a profile and exports it) under Wine's cmd.exe, on each
# Windows build that runs here (scripts/check-hxctl-example.sh).
stage_start "hxctl example"
check win64/hxctl-example scripts/check-hxctl-example.sh win64
if [ -n "$HX_RUNS_32BIT" ]; then
    check win32/hxctl-example scripts/check-hxctl-example.sh win32
else
    skip_32bit win32/hxctl-example
fi
stage_end "hxctl example"
