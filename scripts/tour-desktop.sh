# Sourced by scripts/run.sh and scripts/screenshots-scaled.sh, once the Wine set-up is done
# and from the build's bin folder: the utility in a virtual desktop with a taskbar (the
# window gets its frame and the tray icon shows), driven by hxtour, with pictures into
# $shots. Ending the script ends the utility and the Wine set-up.
#   tour_start <desktop name> <width>x<height>   starts HX88UUtil.exe on that desktop
#   step <hxtour step...>                        one step of the tour, which must succeed
#   shot <name> [seconds to wait first]          a picture of the desktop
#   tour_ended                                   the utility has ended by a step of the tour
utility=""
tour_finish() {
    if [ -n "$utility" ]; then kill "$utility" 2>/dev/null || true; fi
    hx_wine_teardown
}
trap tour_finish EXIT

tour_start() {
    tour_size=$2
    tour_desktop="explorer /desktop=$1,$tour_size"
    hx_wine $tour_desktop HX88UUtil.exe </dev/null >/dev/null 2>&1 &
    utility=$!
    sleep 3   # the first program makes the desktop; the next ones must find it there
}

step() {
    hx_wine $tour_desktop hxtour.exe "$@" </dev/null >/dev/null 2>"$ROOT/build/hxtour.err" && return 0
    echo "The tour stopped at: hxtour $*" >&2
    grep -v '^NOTE' "$ROOT/build/hxtour.err" >&2
    exit 1
}

# A busy machine paints late: the picture is taken once two looks half a second apart
# differ in less than 1 % of the pixels (a meter or a figure may still change), or after
# ten seconds.
shot() {
    sleep "${2:-1}"
    local picture="$shots/$1.png" look="$shots/.look.png" i differ
    local settled=$((${tour_size%x*} * ${tour_size#*x} / 100))
    import -window root -crop "$tour_size+0+0" +repage "$picture"
    for i in $(seq 1 20); do
        sleep 0.5
        import -window root -crop "$tour_size+0+0" +repage "$look"
        differ=$(compare -metric AE "$picture" "$look" null: 2>&1 >/dev/null) || true
        mv "$look" "$picture"
        awk -v differ="$differ" -v settled="$settled" 'BEGIN { exit !(differ + 0 < settled) }' && break
    done
    echo "saved $picture"
}

tour_ended() { utility=""; }
