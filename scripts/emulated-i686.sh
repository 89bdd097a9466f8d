# Sourced by scripts/test.sh: where the kernel cannot execute 32-bit code, the i686 test
# programs that test in process run under 32-bit Wine emulated by qemu-i386. Emulation makes
# them several times slower, so they run in the background, at a low CPU priority, in a Wine
# prefix and an Xvfb of their own, while the other stages run; stage 98 waits for them and
# counts each one as it would count it in the foreground. Starting a process takes minutes
# there: the end-to-end programs, which wait on the wall clock for a utility started in
# another process, are counted as skipped, and so is each case of the other programs that
# starts a process (it skips itself, told by HX_EMULATED_32BIT). The stress program and the
# end of the session are stages 75 and 67.
#   start_emulated_i686    starts the programs, one after the other, in the background
#   emulated_i686_wait     waits for them and counts them (once)

emulated_i686_programs=()
emulated_i686_pid=""

start_emulated_i686() {
    local t name
    emulated_i686_programs=()
    for t in build/win32/bin/win_*.exe; do
        [ -f "$t" ] || continue
        name=$(basename "$t" .exe)
        case "$name" in
        win_stress | win_e2e_session) ;;
        win_e2e_*) skip "win32/$name" "end to end: its waits are wall-clock time, too slow under emulation" ;;
        *) emulated_i686_programs+=("$name") ;;
        esac
    done
    [ ${#emulated_i686_programs[@]} -gt 0 ] || return 0
    echo "== in-process i686 programs under emulated 32-bit Wine, in the background: ${emulated_i686_programs[*]}"
    rm -f "$RESULTS/win32-emulated.status"
    (
        renice -n 10 -p "$BASHPID" >/dev/null 2>&1
        # Tells the programs they run emulated: a case that starts another process, or whose
        # threads race each other for seconds on end, skips itself there.
        export HX_EMULATED_32BIT=1
        HX_FORCE_XVFB=1 hx_wine_setup build/win32 wineprefix-emulated
        local began
        for name in "${emulated_i686_programs[@]}"; do
            began=$(date +%s)
            HX_RUN_DIR=build/win32/bin HX_XML_PREFIX="Z:" run_gtest "win32/$name" 1200 "$HX_WINE" "$name.exe"
            echo "$name $? $(($(date +%s) - began))" >>"$RESULTS/win32-emulated.status"
        done
        hx_wine_teardown
    ) </dev/null >"$RESULTS/win32-emulated.log" 2>&1 &
    emulated_i686_pid=$!
    emulated_i686_began=$(date +%s)
}

emulated_i686_wait() {
    [ -n "$emulated_i686_pid" ] || return 0
    local waited=$(date +%s) name status seconds
    wait "$emulated_i686_pid"
    emulated_i686_pid=""
    echo "   waited $(($(date +%s) - waited)) s; they ran $(($(date +%s) - emulated_i686_began)) s in all"
    for name in "${emulated_i686_programs[@]}"; do
        status="" seconds=""
        read -r status seconds < <(sed -n "s/^$name \([0-9]*\) \([0-9]*\)$/\1 \2/p" "$RESULTS/win32-emulated.status" 2>/dev/null)
        count_gtest "win32/$name" "$(hx_result_file "win32/$name").xml" "${status:-1}"
        echo "   win32/$name: ${seconds:-?} s"
    done
}
