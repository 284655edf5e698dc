#!/usr/bin/env bash
# The glove as a mouse in the real Vantrel.exe under Wine, whose SendInput moves the X pointer:
# with a calibration in the registry and Calibration > Mouse turned on, the neutral pose leaves
# the pointer still and a tilt moves it its way; over the Exit button, the index bent presses
# it without clicking, and unplugging the glove lets go, which clicks it.
#   pointer-under-wine.sh Vantrel.exe      (run by tests/windows/run-tests)
set -euo pipefail
program=$1
. "$(dirname "$0")/glove-under-wine.sh" pointer
calibrate() {
    wine reg add "$key\\Gloves\\com1" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1
}
calibrate Thumb "200 60"
calibrate Index "190 70"
calibrate Middle "180 80"
calibrate Ring "170 90"
calibrate Roll "40 100 220"
calibrate Pitch "60 120 200"
open="200 190 180 170"
index_bent="200 70 180 170"
# A hand held for so long: fingers, then roll and pitch (the neutral pose unless given).
hold() {
    echo "$1 ${2:-100} ${3:-120} 0 0" >&3
    sleep "$4"
}
pointer() {
    xdotool getmouselocation | sed 's/x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/'
}

run_with_pose "$open 100 120 0 0"
# Calibration > Mouse, then its check box by its mnemonic.
# Wine opens menus and dialogs slowly on a busy machine: each step is given a second.
xdotool mousemove $(at 68 8) click 1
sleep 1
xdotool mousemove $(at 80 48) click 1
wait_for_window Mouse
xdotool windowfocus --sync "$found"
sleep 1
xdotool key alt+m
sleep 1
xdotool key Escape
sleep 1

xdotool mousemove 300 300
sleep 0.5
[ "$(pointer)" = "300 300" ] || fail "the pointer moved at rest: $(pointer)"
hold "$open" 220 120 1
hold "$open" 100 120 0.3
read -r x y <<<"$(pointer)"
[ "$x" -gt 350 ] && [ "$y" -eq 300 ] || fail "a tilt to the right moved the pointer to $x $y"
hold "$open" 100 60 0.5
hold "$open" 100 120 0.3
read -r x2 y2 <<<"$(pointer)"
[ "$y2" -lt 250 ] && [ "$x2" -eq "$x" ] || fail "a tilt forward moved the pointer to $x2 $y2"
echo "ok: a tilt moves the pointer its way, the neutral pose leaves it still"

# The Exit button's centre: pressed, it holds; let go, it ends the program.
xdotool mousemove $(at 496 349)
sleep 0.3
hold "$index_bent" 100 120 1
kill -0 "$app_pid" 2>/dev/null || fail "the index bent alone clicked Exit"
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null || true
sim_pid=
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "unplugging the glove did not let go of the button"
wait "$app_pid" || fail "exit status $?"
app_pid=
echo "ok: the index presses the button; unplugging the glove lets go"
