# Sourced by scripts/test.sh: the stages' clocks, and the lanes that run stages side by side.
#   stage_start <title>         prints "== <title>" and starts the stage's clock
#   stage_end [label]           prints "   <label>: N s" and keeps the stage's start and
#                               seconds for the table
#   lane_start <lane> <command...>
#                               runs the command in a background shell (its output goes to
#                               $RESULTS/lane-<lane>.log); what it counts goes to the same
#                               ledger as the rest (scripts/results.sh)
#   lane_wait <lane>            waits for the lane and prints its output
#   lanes_wait                  waits for every lane, printing each one's output as it ends
#   lane_stages <kind> [part]   sources the stage files of a kind in name order: windows
#                               (NN-name.windows.sh), native (NN-name.native.sh) or after
#                               (NN-name.sh); of the windows ones, given a part, only those of
#                               it: "suite" (NN below 50) or "checks" (50 on)
#   stage_files_check           fails the run for each file of scripts/test.d whose name is
#                               none of those kinds (it would never run), and for each name
#                               in HX_STAGES that no stage file has
#   stage_selected <file>       whether the stage runs: every one, or those HX_STAGES names
#   stages_selected <kind> [part]
#                               whether any stage of that kind (and part) runs
#   stage_table                 the table of every stage's start and seconds, by start, also
#                               written to $RESULTS/stages.txt
HX_RUN_STARTED=${HX_RUN_STARTED:-$(date +%s)}
HX_LANE=main
declare -A HX_LANE_PIDS=()

stage_start() {
    HX_STAGE_TITLE=$*
    HX_STAGE_BEGAN=$(date +%s)
    echo "== $*"
}

stage_end() {
    local seconds=$(($(date +%s) - HX_STAGE_BEGAN))
    printf '%s\t%s\t%s\t%s\n' "$((HX_STAGE_BEGAN - HX_RUN_STARTED))" "$seconds" "$HX_LANE" "$HX_STAGE_TITLE" \
        >>"$RESULTS/stages.tsv"
    echo "   ${1:-$HX_STAGE_TITLE}: $seconds s"
}

lane_start() {
    local lane=$1
    shift
    (
        HX_LANE=$lane
        "$@"
        exit 0
    ) </dev/null >"$RESULTS/lane-$lane.log" 2>&1 &
    HX_LANE_PIDS[$lane]=$!
    echo "== lane $lane: started at $(($(date +%s) - HX_RUN_STARTED)) s, in the background ($RESULTS/lane-$lane.log)"
}

lane_wait() {
    local lane=$1 status
    [ -n "${HX_LANE_PIDS[$lane]:-}" ] || return 0
    wait "${HX_LANE_PIDS[$lane]}"
    status=$?
    unset "HX_LANE_PIDS[$lane]"
    echo "== lane $lane: ended at $(($(date +%s) - HX_RUN_STARTED)) s"
    sed 's/^/   /' "$RESULTS/lane-$lane.log"
    # A lane's shell that ended early (a stage that called exit, an unset variable) is a
    # failure of its own.
    [ "$status" -eq 0 ] || hx_record failed 1 "lane $lane" "its shell ended with $status"
}

lanes_wait() {
    local pid lane
    while [ ${#HX_LANE_PIDS[@]} -gt 0 ]; do
        wait -n -p pid "${HX_LANE_PIDS[@]}"
        for lane in "${!HX_LANE_PIDS[@]}"; do
            [ "${HX_LANE_PIDS[$lane]}" = "$pid" ] && lane_wait "$lane"
        done
    done
}

# The kind of a stage file by its name, or nothing for a name of no kind.
stage_kind() {  # stage_kind <file>
    local name=${1##*/}
    [[ $name =~ ^[0-9][0-9]-[A-Za-z0-9_-]+(\.(windows|native))?\.sh$ ]] || return 1
    echo "${BASH_REMATCH[2]:-after}"
}

# HX_STAGES="<name>..." runs only the stages of those names (a file's name up to its kind:
# "65-dpi" for 65-dpi.windows.sh), each where it runs in a whole run.
stage_selected() {  # stage_selected <file>
    local name=${1##*/}
    name=${name%.sh}
    name=${name%.windows}
    name=${name%.native}
    [ -z "${HX_STAGES:-}" ] || [[ " $HX_STAGES " == *" $name "* ]]
}

# The part of a build's Windows stages a stage file belongs to, by its number: "suite" below
# 50, "checks" from 50 on; each part has a lane of its own.
stage_part() {  # stage_part <file>
    local name=${1##*/}
    [ "$((10#${name:0:2}))" -lt 50 ] && echo suite || echo checks
}

# Whether a stage file is of that kind (and, given one, that part) and selected.
stage_in() {  # stage_in <file> <kind> [part]
    [ -f "$1" ] && [ "$(stage_kind "$1")" = "$2" ] && stage_selected "$1" &&
        { [ -z "${3:-}" ] || [ "$(stage_part "$1")" = "$3" ]; }
}

# Whether any stage of that kind (and part) runs (HX_STAGES may leave a lane with none: it
# then makes no prefix and no display).
stages_selected() {  # stages_selected <kind> [part]
    local stage
    for stage in scripts/test.d/*; do
        stage_in "$stage" "$@" && return 0
    done
    return 1
}

lane_stages() {  # lane_stages <kind> [part]
    local stage
    for stage in scripts/test.d/*; do
        stage_in "$stage" "$@" || continue
        source "$stage"
    done
}

stage_files_check() {
    local stage name found
    for stage in scripts/test.d/*; do
        stage_kind "$stage" >/dev/null && continue
        echo "FAILED: $stage: a stage file is named NN-name.windows.sh, NN-name.native.sh or NN-name.sh (docs/testing.md); this one would never run"
        hx_record failed 1 "stage file $stage" "its name is of no kind: it would never run"
    done
    for name in ${HX_STAGES:-}; do
        found=""
        for stage in scripts/test.d/"$name".sh scripts/test.d/"$name".windows.sh scripts/test.d/"$name".native.sh; do
            [ -f "$stage" ] && found=1
        done
        [ -n "$found" ] && continue
        echo "FAILED: HX_STAGES names $name, which no file of scripts/test.d is"
        hx_record failed 1 "stage $name" "HX_STAGES names it, and there is no such stage"
    done
    [ -z "${HX_STAGES:-}" ] || echo "Only the stages $HX_STAGES (HX_STAGES): the totals count those alone."
}

stage_table() {
    {
        printf '%-58s %-13s %7s %7s\n' stage lane "from s" seconds
        sort -n -k1,1 "$RESULTS/stages.tsv" 2>/dev/null |
            awk -F'\t' '{ printf "%-58s %-13s %7d %7d\n", substr($4, 1, 58), $3, $1, $2 }'
        printf '%-58s %-13s %7d %7d\n' "whole run" main 0 "$(($(date +%s) - HX_RUN_STARTED))"
    } | tee "$RESULTS/stages.txt"
}
