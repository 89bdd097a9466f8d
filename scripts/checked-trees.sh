# Sourced by scripts/test.sh: the two trees that check the native code again and what each
# builds: native-asan (clang, AddressSanitizer and UndefinedBehaviorSanitizer) the whole
# native suite and the libFuzzer targets, native-tsan (clang, ThreadSanitizer) the suites
# that run threads. They build one after the other in the background at a low CPU priority
# (the lowest where the i686 programs run natively; elsewhere beside the i686 build, or
# above it where nothing waits for it), beside the lanes, whose Windows programs mostly wait on Wine's timers and get the
# processors whenever they want them; the native lane's sanitizer and fuzz stages wait for
# the tree they use.
#   start_checked_trees [nice]   starts the builds in the background (at niceness 19 unless
#                                given)
#   checked_tree_built <preset>  waits for that tree's build; succeeds when it built, else
#                                shows its log

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

checked_tree_build() {  # checked_tree_build <preset> <target...>: its status in tree-<preset>.status
    local preset=$1
    shift
    if [ -n "${HX_NO_BUILD:-}" ]; then
        [ -f "build/$preset/CMakeCache.txt" ]
        echo $? >"$RESULTS/tree-$preset.status"
        return
    fi
    cmake --preset "$preset" >"$RESULTS/tree-configure-$preset.log" 2>&1 &&
        cmake --build --preset "$preset" -j "$JOBS" --target "$@" >"$RESULTS/tree-build-$preset.log" 2>&1
    echo $? >"$RESULTS/tree-$preset.status"
}

start_checked_trees() {
    local niceness=${1:-19}
    (
        renice -n "$niceness" -p "$BASHPID" >/dev/null 2>&1
        checked_tree_build native-asan "${native_areas[@]/#/native_}" "${fuzz_targets[@]/#/fuzz_}"
        checked_tree_build native-tsan "${thread_areas[@]/#/native_}"
    ) </dev/null >/dev/null 2>&1 &
}

# (Its check is named build-<preset>, whose log is build-<preset>.log: the build's own logs
# are tree-*.log.)
checked_tree_built() {  # checked_tree_built <preset>
    local preset=$1 began=$(date +%s)
    while [ ! -f "$RESULTS/tree-$preset.status" ]; do sleep 2; done
    echo "waited $(($(date +%s) - began)) s for the $preset tree's build"
    [ "$(cat "$RESULTS/tree-$preset.status")" = 0 ] && return 0
    echo "the $preset tree did not build:"
    tail -n 30 "$RESULTS/tree-build-$preset.log" 2>/dev/null || tail -n 30 "$RESULTS/tree-configure-$preset.log"
    return 1
}
