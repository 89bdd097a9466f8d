# Sourced by scripts/test.sh: where the kernel cannot execute 32-bit code, the i686 test
# programs that test in process run under 32-bit Wine emulated by qemu-i386, in the win32
# lane's prefix and display, at a lower priority than the other lanes. Starting a process
# takes minutes there: the end-to-end programs, which wait on the wall clock for a utility
# started in another process, are counted as skipped, and so is each case of the other
# programs that starts a process (it skips itself, told by HX_EMULATED_32BIT). The stress
# program and the end of the session are stages 75 and 67.
#   run_emulated_i686    runs and counts them, one after the other
run_emulated_i686() {
    local name
    (
        renice -n 10 -p "$BASHPID" >/dev/null 2>&1
        # Tells the programs they run emulated: a case that starts another process, or whose
        # threads race each other for seconds on end, skips itself there.
        export HX_EMULATED_32BIT=1
        hx_wine_setup build/win32
        for name in $(windows_programs); do
            case "$name" in
            win_e2e_*) skip "win32/$name" "end to end: its waits are wall-clock time, too slow under emulation" ;;
            *) HX_RUN_DIR=build/win32/bin HX_XML_PREFIX="Z:" run_gtest "win32/$name" 1200 "$HX_WINE" "$name.exe" ;;
            esac
        done
        hx_wine_teardown
    )
}
