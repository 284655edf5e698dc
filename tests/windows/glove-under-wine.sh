# What the scripts that run Vantrel.exe under Wine on the glove simulator share; sourced after
# `program` is set, with the name of the script's work folder:
#   . "$(dirname "$0")/glove-under-wine.sh" NAME
# Gives sim, screenshot, work, glove_link (COM1's link to the simulator's pseudo-terminal),
# sim_pid and app_pid (ended on exit, as is whatever more_cleanup does), fail and wait_for.
: "${VANTREL_WINE_SESSION:?run through tests/windows/run-tests}"
sim="$VANTREL_LINUX_BUILD/tools/glovesim/vantrel-glove-sim"
screenshot="$VANTREL_LINUX_BUILD/tools/screenshot/vantrel-screenshot"
work=$(mktemp -d "$VANTREL_WINE_SESSION/$1.XXXXXX")
glove_link="$VANTREL_WINE_SESSION/lines/glove"
sim_pid=
app_pid=
more_cleanup() { :; }
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
    rm -f "$glove_link"
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
