# Sourced in the native lane of scripts/test.sh: every native test program
# (build/native/bin/native_*): the portable core, the stand-in libraries, the simulator, the
# supplicant.
stage_start "native tests"
for t in build/native/bin/native_*; do
    [ -x "$t" ] || continue
    run_gtest "$(basename "$t")" 900 "$t"
done
stage_end
