# Sourced by scripts/test.sh: waits for the in-process i686 programs that run under emulated
# 32-bit Wine where the kernel cannot run 32-bit code (scripts/emulated-i686.sh, started after
# the builds), and counts them.
if [ -n "$emulated_i686_pid" ]; then
    stage_start "waiting for the in-process i686 programs under emulation"
    emulated_i686_wait
    stage_end "waited"
fi
