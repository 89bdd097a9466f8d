# Sourced by scripts/test.sh: where the kernel cannot execute 32-bit code, the i686 test
# programs that test in process run under 32-bit Wine emulated by qemu-i386, at a lower
# priority than the other lanes. Starting a process takes minutes there: the end-to-end
# programs, which wait on the wall clock for a utility started in another process, are
# counted as skipped, and so is each case of the other programs that starts a process (it
# skips itself, told by HX_EMULATED_32BIT). The stress program and the end of the session
# are stages 75 and 67.
#   run_emulated_i686    runs and counts them, two at a time
# HX_EMULATED_FIRST: the programs that take longest emulated, started first so that the two
# runners end close together (win_pages took 776 s of the 2,206 s of the eight programs
# that ended in an earlier run, the next longest 242 s).
HX_EMULATED_FIRST="win_pages"
run_emulated_i686() {
    local name programs=() queue="$RESULTS/emulated-i686.queue" runners=()
    for name in $(windows_programs); do
        case "$name" in
        win_e2e_*) skip "win32/$name" "end to end: its waits are wall-clock time, too slow under emulation" ;;
        *) programs+=("$name") ;;
        esac
    done
    # Emulated, they are bound by the processor rather than by timers: two runners, one per
    # processor, each taking the next program of one queue, the longest first. The first
    # runner uses the lane's prefix and display, the second a prefix and an Xvfb of its own
    # (the programs of one prefix share its registry and its desktop).
    {
        for name in $HX_EMULATED_FIRST; do
            [[ " ${programs[*]} " == *" $name "* ]] && echo "$name"
        done
        for name in "${programs[@]}"; do
            [[ " $HX_EMULATED_FIRST " == *" $name "* ]] || echo "$name"
        done
    } >"$queue"
    emulated_i686_runner wineprefix "$queue" &
    runners+=($!)
    emulated_i686_runner wineprefix-emulated "$queue" &
    runners+=($!)
    # Only the runners: the lane's Xvfb is a child of this shell too.
    wait "${runners[@]}"
}

emulated_i686_next() {  # emulated_i686_next <queue>: the first program of the queue, taken off it
    (
        flock 9
        head -n 1 "$1"
        sed -i 1d "$1"
    ) 9>"$1.lock"
}

emulated_i686_runner() {  # emulated_i686_runner <prefix name> <queue>
    local prefix=$1 queue=$2 name began
    (
        renice -n 10 -p "$BASHPID" >/dev/null 2>&1
        # Tells the programs they run emulated: a case that starts another process, or whose
        # threads race each other for seconds on end, skips itself there.
        export HX_EMULATED_32BIT=1
        # Under qemu-i386 a 32-bit Wine process may die at its very end, after writing its
        # whole report: win_control killed (status 137), win_sim by a segmentation fault of
        # the emulator (139), both programs whose cases take seconds. Its cases count; its
        # exit is counted as skipped, and judged where 32-bit code runs natively.
        HX_SIGNAL_AT_EXIT_SKIPS="32-bit Wine under qemu-i386 may die so at a process's end; judged where 32-bit code runs natively"
        if [ "$prefix" = wineprefix ]; then
            hx_wine_setup build/win32
        else
            hx_wine_fresh_prefix "build/win32/$prefix"
            HX_FORCE_XVFB=1 hx_wine_setup build/win32 "$prefix"
        fi
        while name=$(emulated_i686_next "$queue") && [ -n "$name" ]; do
            began=$(date +%s)
            HX_RUN_DIR=build/win32/bin HX_XML_PREFIX="Z:" run_gtest "win32/$name" 1200 "$HX_WINE" "$name.exe"
            echo "   win32/$name: $(($(date +%s) - began)) s ($prefix)"
        done
        hx_wine_teardown
    )
}
