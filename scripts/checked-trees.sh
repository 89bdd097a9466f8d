# Sourced by scripts/test.sh: the three trees that check the native code again (ASan+UBSan,
# TSan, libFuzzer) and what each builds. They build in the background at the lowest CPU
# priority while the Windows suites run, which mostly wait on Wine's timers and get the
# processors whenever they want them; stages 80 and 90 wait for the tree they use.
#   start_checked_trees          starts the three builds, one after the other, in the background
#   checked_trees_wait           waits for those builds (once), saying how long
#   checked_tree_built <preset>  succeeds when that tree built, else shows its log

# The native test areas, and those whose tests start threads or the worker.
native_areas=()
thread_areas=()
for dir in tests/native/*/; do
    area=$(basename "$dir")
    compgen -G "$dir*.cpp" >/dev/null || continue
    native_areas+=("$area")
    grep -qE 'std::thread|AuthWorker' "$dir"*.cpp "$dir"*.h 2>/dev/null && thread_areas+=("$area")
done
fuzz_targets=()
for source in tests/fuzz/*.cpp; do
    fuzz_targets+=("$(basename "$source" .cpp)")
done

checked_tree_build() {  # checked_tree_build <preset> <target...>
    local preset=$1
    shift
    rm -f "$RESULTS/built-$preset"
    cmake --preset "$preset" >"$RESULTS/tree-configure-$preset.log" 2>&1 &&
        cmake --build --preset "$preset" -j "$JOBS" --target "$@" >"$RESULTS/tree-build-$preset.log" 2>&1 &&
        touch "$RESULTS/built-$preset"
}

start_checked_trees() {
    (
        renice -n 19 -p "$BASHPID" >/dev/null 2>&1
        checked_tree_build native-asan "${native_areas[@]/#/native_}"
        checked_tree_build native-tsan "${thread_areas[@]/#/native_}"
        checked_tree_build fuzz "${fuzz_targets[@]/#/fuzz_}"
    ) </dev/null >/dev/null 2>&1 &
    checked_trees_pid=$!
}

checked_trees_wait() {
    [ -n "${checked_trees_pid:-}" ] || return 0
    local began=$(date +%s)
    wait "$checked_trees_pid"
    checked_trees_pid=""
    echo "   waited $(($(date +%s) - began)) s for the checked trees' builds"
}

# (Its check is named build-<preset>, whose log is build-<preset>.log: the build's own logs
# are tree-*.log.)
checked_tree_built() {  # checked_tree_built <preset>
    local preset=$1 log="$RESULTS/tree-build-$1.log"
    [ -f "$RESULTS/built-$preset" ] && return 0
    echo "the $preset tree did not build:"
    tail -n 30 "$log" 2>/dev/null || tail -n 30 "$RESULTS/tree-configure-$preset.log"
    return 1
}
