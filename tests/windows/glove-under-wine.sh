# What the scripts that run Vantrel.exe under Wine on the glove simulator share; sourced after
# `program` is set, with the name of the script's work folder:
#   . "$(dirname "$0")/glove-under-wine.sh" NAME
# Gives sim, screenshot, work, glove_link (COM1's link to the simulator's pseudo-terminal),
# sim_pid and app_pid (ended on exit, as is what more_cleanup ends), fail, wait_for and
# wait_for_window; at; run_with_pose and quit, for a run on a glove that holds the poses written to
# fd 3; key, where Vantrel.exe keeps its settings, removed on exit.
: "${VANTREL_WINE_SESSION:?run through tests/windows/run-tests}"
sim="$VANTREL_LINUX_BUILD/tools/glovesim/vantrel-glove-sim"
screenshot="$VANTREL_LINUX_BUILD/tools/screenshot/vantrel-screenshot"
work=$(mktemp -d "$VANTREL_WINE_SESSION/$1.XXXXXX")
glove_link="$VANTREL_WINE_SESSION/lines/glove"
sim_pid=
app_pid=
key='HKCU\Software\Vantrel\Vantrel'
more_cleanup() { :; }
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
    rm -f "$glove_link"
    wine reg delete "$key" /f >/dev/null 2>&1 || true
    more_cleanup
    return 0
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "--- Vantrel.exe said:"
    tr -d '\r' <"$work/program.log" | grep -v '^0x' || true
    exit 1
}
# Waits up to 20 s for a line in a log.
wait_for() {
    for _ in $(seq 200); do
        tr -d '\r' <"$1" | grep -q -- "$2" && return 0
        sleep 0.1
    done
    fail "no '$2' in $1"
}

# The shown window of that title, in `found`; waits up to 15 s.
wait_for_window() {
    found=
    for _ in $(seq 150); do
        found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
        [ -n "$found" ] && return 0
        sleep 0.1
    done
    fail "no window '$1'"
}

# A point of the main window (`window`), in its client's pixels below the menu bar.
at() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo $((X + $1)) $((Y + $2))
}

# Vantrel.exe on COM1, the glove holding one pose; waits until it shows.
run_with_pose() {
    rm -f "$work/poses" && mkfifo "$work/poses"
    "$sim" --poses <"$work/poses" >"$work/sim.path" 2>"$work/sim.log" &
    sim_pid=$!
    exec 3>"$work/poses"
    echo "$1" >&3
    for _ in $(seq 100); do [ -s "$work/sim.path" ] && break; sleep 0.05; done
    ln -sfn "$(head -n 1 "$work/sim.path")" "$glove_link"
    wine "$program" --verbose >"$work/program.log" 2>&1 &
    app_pid=$!
    wait_for_window "Vantrel Software"
    window=$found
    for _ in $(seq 200); do grep -q "the line was opened" "$work/sim.log" && break; sleep 0.1; done
    sleep 1.5
}
quit() {
    xdotool windowfocus --sync "$window" key ctrl+x
    for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    wait "$app_pid" || fail "exit status $?"
    app_pid=
    exec 3>&-
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=
}
